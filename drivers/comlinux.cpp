#include "comlinux.h"

#include "cmdrunner.h"
#include "kernel.h"
#include "sysroot.h"
#include "threadfunc.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/select.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr uint32_t kDeviceCount = 4;
constexpr uint32_t kReaderPriority = 30;
constexpr uint32_t kReaderStack = 3072;

struct ComLinuxPort {
    int readFd = -1;
    int writeFd = -1;
    std::string name;
    uint16_t size = 0, readIndex = 0, writeIndex = 0, count = 0;
    std::unique_ptr<uint8_t[]> ring;
};

// The reader thread never ends: the state it shares lives as long as the
// process, so that no static destructor takes it away from under the reader
// while the program exits.
struct DriverState {
    ComLinuxPort devices[kDeviceCount];
    // Read descriptors taken out of use while the reader may be waiting on them:
    // the reader closes them once its select() has returned, so that it never
    // waits on a closed (or reused) descriptor.
    std::vector<int> retired;
    threadfunc::mutex lock;
};

DriverState& driverState()
{
    static DriverState* state = new DriverState;
    return *state;
}

ComLinuxPort (&gDevices)[kDeviceCount] = driverState().devices;
std::vector<int>& gRetired = driverState().retired;
int gWakePipe[2] = {-1, -1};
bool gStarted = false;

threadfunc::mutex& driverLock()
{
    return driverState().lock;
}

class DriverLock {
public:
    DriverLock() { driverLock().lock(); }
    ~DriverLock() { driverLock().unlock(); }
    DriverLock(const DriverLock&) = delete;
    DriverLock& operator=(const DriverLock&) = delete;
};

void wakeReader()
{
    const char zero = 0;
    if (::write(gWakePipe[1], &zero, 1) < 0 && errno != EAGAIN)
        perror("COM wake");
}

void closeDevice(ComLinuxPort& dev)
{
    if (dev.readFd >= 0) {
        gRetired.push_back(dev.readFd);
        wakeReader();
    }
    if (dev.writeFd >= 0)
        ::close(dev.writeFd);
    dev.readFd = -1;
    dev.writeFd = -1;
}

void reopen(ComLinuxPort& dev)
{
    if (dev.readFd < 0) {
        dev.readFd = ::open(dev.name.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        wakeReader();
    }
    if (dev.writeFd < 0)
        dev.writeFd = ::open(dev.name.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

// Stores one received byte; a full ring drops its oldest byte.
void storeByte(ComLinuxPort& dev, uint8_t byte)
{
    if (!dev.ring || dev.size == 0)
        return;
    dev.ring[dev.writeIndex] = byte;
    dev.writeIndex = static_cast<uint16_t>((dev.writeIndex + 1) % dev.size);
    ++dev.count;
    if (dev.count > dev.size) {
        dev.count = dev.size;
        dev.readIndex = static_cast<uint16_t>((dev.readIndex + 1) % dev.size);
    }
}

// Drains one device that select() reported readable. A hung-up device (end of
// file or an error) is closed, so that select() does not report it again at
// once; the next use of the port reopens it.
void drainDevice(ComLinuxPort& dev, int fd)
{
    DriverLock lock;
    if (dev.readFd != fd)
        return;
    for (;;) {
        uint8_t byte;
        ssize_t got = ::read(fd, &byte, 1);
        if (got == 1) {
            storeByte(dev, byte);
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        ::close(dev.readFd);
        dev.readFd = -1;
        return;
    }
}

void comLinuxReader(void*)
{
    threadfunc::setThreadName("serial-reader");
    for (;;) {
        fd_set readSet;
        FD_ZERO(&readSet);
        int fds[kDeviceCount];
        int highest = gWakePipe[0];
        FD_SET(gWakePipe[0], &readSet);
        {
            DriverLock lock;
            for (uint32_t i = 0; i < kDeviceCount; ++i) {
                fds[i] = gDevices[i].readFd;
                if (fds[i] >= 0) {
                    FD_SET(fds[i], &readSet);
                    if (fds[i] > highest)
                        highest = fds[i];
                }
            }
        }
        const int ready = ::select(highest + 1, &readSet, nullptr, nullptr, nullptr);
        {
            DriverLock lock;
            for (int fd : gRetired)
                ::close(fd);
            gRetired.clear();
        }
        if (ready < 0) {
            puts("COM select failed");
            kernelDelay(1000);
            continue;
        }
        for (uint32_t i = 0; i < kDeviceCount; ++i) {
            if (fds[i] >= 0 && FD_ISSET(fds[i], &readSet))
                drainDevice(gDevices[i], fds[i]);
        }
        if (FD_ISSET(gWakePipe[0], &readSet)) {
            char wake[16];
            while (::read(gWakePipe[0], wake, sizeof wake) > 0) {
            }
        }
    }
}

std::string deviceName(uint32_t index)
{
    char name[20];
    std::snprintf(name, sizeof name, "/dev/ttyO%u", index);
    return sysrootPath(name);
}

// Shared state, once per process: wake pipe and reader thread.
void startDriver()
{
    if (::pipe2(gWakePipe, O_NONBLOCK | O_CLOEXEC) != 0) {
        perror("COM pipe main");
        std::exit(1);
    }
    kernelTaskCreateEx(kReaderPriority, kReaderStack, comLinuxReader, nullptr, __FILE__,
                       __LINE__);
    gStarted = true;
}

const char* baudWord(uint32_t code)
{
    static const char* const words[] = {"1200", "2400", "4800", "9600", "19200", "38400", "57600"};
    return code < 7 ? words[code] : "115200";
}

uint32_t configure(ComLinuxPort& dev, const ComPortConfig* config)
{
    if (config == nullptr)
        return 0;
    closeDevice(dev);
    const int dataBits = config->dataBits <= 3 ? static_cast<int>(config->dataBits) + 5 : 8;
    const bool parity = config->parity <= 1;
    char line[256];
    std::snprintf(line, sizeof line, "/bin/stty -F %s %s cs%i %s %s %s raw -echo -echoe -echok",
                  dev.name.c_str(), baudWord(config->baud), dataBits,
                  config->stopBits == 1 ? "cstopb" : "-cstopb", parity ? "parenb" : "-parenb",
                  parity ? "-parodd" : "");
    cmdRun(line);
    reopen(dev);
    return 1;
}

}  // namespace

uint32_t comLinuxDriver(ComDriverCommand* block, uint32_t deviceIndex)
{
    if (block == nullptr || deviceIndex >= kDeviceCount)
        return 0;
    DriverLock lock;
    ComLinuxPort& dev = gDevices[deviceIndex];
    switch (block->code) {
    case COM_CMD_INIT:
        if (!gStarted)
            startDriver();
        closeDevice(dev);
        dev.name = deviceName(deviceIndex);
        dev.ring.reset();
        dev.size = dev.readIndex = dev.writeIndex = dev.count = 0;
        wakeReader();
        return 1;
    case COM_CMD_INFO:
        *reinterpret_cast<ComDriverInfo*>(block->param) = ComDriverInfo{};
        return 1;
    case COM_CMD_FLUSH:
        dev.readIndex = dev.writeIndex = dev.count = 0;
        return 1;
    case COM_CMD_TX_BUFFER:
        return 1;
    case COM_CMD_STATUS:
        *reinterpret_cast<uint32_t*>(block->param) = 0;
        return 1;
    case COM_CMD_CONFIGURE:
        if (!gStarted)
            return 0;
        return configure(dev, reinterpret_cast<const ComPortConfig*>(block->param));
    case COM_CMD_RX_BUFFER: {
        if (!gStarted)
            return 0;
        reopen(dev);
        const uint16_t size = block->param > 0 && block->param <= 0xFFFF
                                  ? static_cast<uint16_t>(block->param)
                                  : 1;
        dev.ring.reset(new (std::nothrow) uint8_t[size]);
        dev.size = dev.ring ? size : 0;
        dev.readIndex = dev.writeIndex = dev.count = 0;
        block->param = dev.size;
        return dev.ring ? 1 : 0;
    }
    case COM_CMD_RX_COUNT:
        block->param = dev.count;
        return 1;
    case COM_CMD_TX_PENDING:
        block->param = 0;
        return 1;
    case COM_CMD_GET_BYTE:
        if (!gStarted)
            return 0;
        reopen(dev);
        if (dev.count == 0)
            return 0;
        block->param = dev.ring[dev.readIndex];
        dev.readIndex = static_cast<uint16_t>((dev.readIndex + 1) % dev.size);
        --dev.count;
        return 1;
    case COM_CMD_SEND_BLOCK: {
        if (!gStarted)
            return 0;
        reopen(dev);
        const ComSendBlock* send = reinterpret_cast<const ComSendBlock*>(block->param);
        if (dev.writeFd < 0 || send == nullptr)
            return 0;
        if (send->length == 0)
            return 1;
        ssize_t written = ::write(dev.writeFd, send->data, send->length);
        return written == static_cast<ssize_t>(send->length) ? 1 : 0;
    }
    default:
        return 0;
    }
}
