#include "devopsstandin.h"

#include "devops.h"
#include "sysroot.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct StandinDevice {
    std::string devicePath;
    std::string filePath;
};

std::mutex gLock;
std::map<int, StandinDevice> gDevices;
std::mutex gLogLock;

bool lookup(int fd, StandinDevice* device)
{
    std::lock_guard<std::mutex> guard(gLock);
    auto it = gDevices.find(fd);
    if (it == gDevices.end())
        return false;
    *device = it->second;
    return true;
}

void record(const std::string& device, unsigned long request, const std::string& argument)
{
    std::lock_guard<std::mutex> guard(gLogLock);
    FILE* log = std::fopen(devopsStandinLogPath().c_str(), "a");
    if (!log)
        return;
    std::fprintf(log, "%s 0x%08lx %s\n", device.c_str(), request, argument.c_str());
    std::fclose(log);
}

// A queued record waits behind the descriptor's read position.
bool recordWaiting(int fd)
{
    struct stat info;
    const off_t position = lseek(fd, 0, SEEK_CUR);
    return fstat(fd, &info) == 0 && position >= 0 &&
           info.st_size - position >= static_cast<off_t>(sizeof(FrqRecord));
}

int readRecord(int fd, FrqRecord* out)
{
    const off_t position = lseek(fd, 0, SEEK_CUR);
    if (read(fd, out, sizeof *out) == static_cast<ssize_t>(sizeof *out))
        return 0;
    lseek(fd, position, SEEK_SET);
    errno = EAGAIN;
    return -1;
}

void readValue(const std::string& filePath, FrqValue* out)
{
    *out = FrqValue{};
    FILE* file = std::fopen((filePath + ".value").c_str(), "rb");
    if (!file)
        return;
    if (std::fread(out, sizeof *out, 1, file) != 1)
        *out = FrqValue{};
    std::fclose(file);
}

long long nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000LL + ts.tv_nsec / 1000000;
}

}  // namespace

std::string devopsStandinLogPath()
{
    return sysrootPath("/var/log/ioctl.log");
}

int devopsStandinOpen(const char* devicePath, int flags)
{
    const std::string filePath = sysrootPath(devicePath);
    const int fd = ::open(filePath.c_str(), (flags & ~O_CREAT) | O_CLOEXEC);
    if (fd < 0)
        return -1;
    std::lock_guard<std::mutex> guard(gLock);
    gDevices[fd] = StandinDevice{devicePath, filePath};
    return fd;
}

int devopsStandinOwns(int fd)
{
    std::lock_guard<std::mutex> guard(gLock);
    return gDevices.count(fd) ? 1 : 0;
}

int devopsStandinIoctl(int fd, unsigned long request, unsigned long argument)
{
    StandinDevice device;
    if (!lookup(fd, &device)) {
        errno = EBADF;
        return -1;
    }
    switch (request) {
    case DEVOPS_PWM_SET_DUTY:
    case DEVOPS_PWM_SET_FREQUENCY:
        record(device.devicePath, request, std::to_string(argument));
        return 0;
    case DEVOPS_FRQ_CONFIGURE: {
        const FrqConfig* config = reinterpret_cast<const FrqConfig*>(argument);
        record(device.devicePath, request, std::to_string(config->enable) + " " + std::to_string(config->parameter));
        return 0;
    }
    case DEVOPS_FRQ_READ_RECORD:
        record(device.devicePath, request, "read");
        return readRecord(fd, reinterpret_cast<FrqRecord*>(argument));
    case DEVOPS_FRQ_READ_VALUE:
        record(device.devicePath, request, "read");
        readValue(device.filePath, reinterpret_cast<FrqValue*>(argument));
        return 0;
    default:
        record(device.devicePath, request, std::to_string(argument));
        errno = ENOTTY;
        return -1;
    }
}

int devopsStandinPoll(struct pollfd* fds, nfds_t count, int timeoutMs)
{
    // Plain files are always readable to poll(2): the stand-in devices are
    // readable while a record waits, and a write to their files wakes the wait.
    const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch < 0)
        return -1;
    std::vector<struct pollfd> real(fds, fds + count);
    std::vector<bool> standin(count, false);
    for (nfds_t i = 0; i < count; ++i) {
        StandinDevice device;
        if (lookup(fds[i].fd, &device)) {
            standin[i] = true;
            real[i].fd = -1;
            inotify_add_watch(watch, device.filePath.c_str(), IN_MODIFY);
        }
    }
    real.push_back({watch, POLLIN, 0});
    const long long end = nowMs() + timeoutMs;
    int result = 0;
    for (;;) {
        int ready = 0;
        for (nfds_t i = 0; i < count; ++i) {
            fds[i].revents = 0;
            if (standin[i] && recordWaiting(fds[i].fd))
                fds[i].revents = static_cast<short>(fds[i].events & (POLLIN | POLLPRI));
            ready += fds[i].revents ? 1 : 0;
        }
        const long long left = timeoutMs < 0 ? -1 : end - nowMs();
        const int wait = ready > 0 ? 0 : (timeoutMs < 0 ? -1 : static_cast<int>(left > 0 ? left : 0));
        const int got = ::poll(real.data(), real.size(), wait);
        if (got < 0) {
            result = -1;
            break;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (!standin[i]) {
                fds[i].revents = real[i].revents;
                ready += fds[i].revents ? 1 : 0;
            }
        }
        if (real.back().revents & POLLIN) {
            char events[1024];
            while (read(watch, events, sizeof events) > 0) {
            }
        }
        if (ready > 0 || (timeoutMs >= 0 && nowMs() >= end)) {
            result = ready;
            break;
        }
    }
    const int saved = errno;
    close(watch);
    errno = saved;
    return result;
}

int devopsStandinClose(int fd)
{
    {
        std::lock_guard<std::mutex> guard(gLock);
        gDevices.erase(fd);
    }
    return ::close(fd);
}
