#include "canstandin.h"

#include "sysroot.h"
#include "threadfunc.h"
#include "toolsmisc.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct StandinSocket {
    std::string dir;
    int dirFd;
    std::string name;
};

std::mutex registryLock;
std::map<int, StandinSocket> registry;
std::atomic<unsigned> socketSerial{0};

// A peer's queue that stays full this long loses the frame.
constexpr int fullQueueRetries = 2;
constexpr int fullQueueWaitMs = 1;

// Address of a file in the bus directory. Paths too long for sun_path go
// through the directory's descriptor instead.
bool makeAddress(const StandinSocket& bus, const std::string& name, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::string path = bus.dir + "/" + name;
    if (path.size() >= sizeof address.sun_path)
        path = "/proc/self/fd/" + std::to_string(bus.dirFd) + "/" + name;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

void sendToPeer(int fd, const StandinSocket& bus, const std::string& peer, const void* frame,
                size_t size)
{
    sockaddr_un address;
    if (!makeAddress(bus, peer, address))
        return;
    for (int attempt = 0; attempt <= fullQueueRetries; ++attempt) {
        const ssize_t sent = ::sendto(fd, frame, size, MSG_DONTWAIT | MSG_NOSIGNAL,
                                      reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (sent >= 0)
            return;
        if (errno == ECONNREFUSED) {
            // Nobody is bound there any more: a socket left behind by a dead process.
            ::unlinkat(bus.dirFd, peer.c_str(), 0);
            return;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return;
        if (attempt < fullQueueRetries)
            threadfunc::sleep(fullQueueWaitMs);
    }
}

// The socket registered for fd; with forget set it is also taken out of the registry.
bool lookUpSocket(int fd, bool forget, StandinSocket& bus)
{
    std::lock_guard<std::mutex> guard(registryLock);
    auto it = registry.find(fd);
    if (it == registry.end()) {
        errno = EBADF;
        return false;
    }
    bus = it->second;
    if (forget)
        registry.erase(it);
    return true;
}

}  // namespace

std::string canstandinDir(const std::string& interfaceName)
{
    return sysrootPath("/run/can/" + interfaceName);
}

int canstandinOpen(const std::string& interfaceName)
{
    if (interfaceName.empty() || interfaceName.find('/') != std::string::npos) {
        errno = EINVAL;
        return -1;
    }
    return canstandinOpenDir(canstandinDir(interfaceName));
}

int canstandinOpenDir(const std::string& busDir)
{
    StandinSocket bus;
    bus.dir = busDir;
    if (!makeDirs(bus.dir))
        return -1;
    bus.dirFd = ::open(bus.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (bus.dirFd < 0)
        return -1;
    bus.name = "s" + std::to_string(::getpid()) + "." + std::to_string(++socketSerial);

    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int error = fd < 0 ? errno : 0;
    sockaddr_un address;
    if (fd >= 0 && !makeAddress(bus, bus.name, address))
        error = ENAMETOOLONG;
    else if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        error = errno;
    if (error != 0) {
        if (fd >= 0)
            ::close(fd);
        ::close(bus.dirFd);
        errno = error;
        return -1;
    }
    std::lock_guard<std::mutex> guard(registryLock);
    registry[fd] = bus;
    return fd;
}

ssize_t canstandinWrite(int fd, const void* frame, size_t size)
{
    StandinSocket bus;
    if (!lookUpSocket(fd, false, bus))
        return -1;
    DIR* dir = ::opendir(bus.dir.c_str());
    if (!dir)
        return -1;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_type != DT_SOCK && entry->d_type != DT_UNKNOWN)
            continue;
        if (bus.name == entry->d_name)
            continue;
        sendToPeer(fd, bus, entry->d_name, frame, size);
    }
    ::closedir(dir);
    return static_cast<ssize_t>(size);
}

int canstandinClose(int fd)
{
    StandinSocket bus;
    if (!lookUpSocket(fd, true, bus))
        return -1;
    ::unlinkat(bus.dirFd, bus.name.c_str(), 0);
    ::close(bus.dirFd);
    return ::close(fd);
}
