#include "frqdriver.h"

#include "devops.h"
#include "kernel.h"
#include "threadfunc.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPwmCount = 4;
const char* const kPwmDevices[kPwmCount] = {"/dev/pwm8", "/dev/pwm9", "/dev/pwm10", "/dev/pwm11"};
int gPwmFd[kPwmCount] = {-1, -1, -1, -1};
uint8_t gPwmDuty[kPwmCount] = {};

struct FrqInput {
    int fd;
    FrqCallback callback;
    bool discardFirst;
};

// The inputs are opened and configured from the caller's thread while the poll
// thread may run: every access goes under the lock, and each change bumps the
// generation so that the thread rebuilds its poll set.
std::mutex gInputLock;
std::map<int, FrqInput> gInputs;
uint32_t gGeneration = 0;
int gWake[2] = {-1, -1};
bool gThreadStarted = false;
// Descriptors of forgotten inputs: the poll thread may be polling or reading
// them, so it closes them itself between two passes; the reset waits for that.
std::vector<int> gRetired;
std::condition_variable gRetiredClosed;

void wakeThread()
{
    if (gWake[1] >= 0) {
        const char byte = 0;
        if (write(gWake[1], &byte, 1) < 0 && errno != EAGAIN)
            perror("frqdriver: wake");
    }
}

// The text followed directly by the system error (perror would put ": " between).
void printSystemError(const char* text)
{
    std::fprintf(stderr, "%s%s\n", text, std::strerror(errno));
}

uint8_t rebuildFlags(uint32_t recordFlags)
{
    return static_cast<uint8_t>(((recordFlags >> 2) & 1u) | ((recordFlags & 1u) << 1) |
                                (((recordFlags >> 1) & 1u) << 2));
}

struct PollSlot {
    int number;
    FrqCallback callback;
};

// Copies the map into the poll set, dropping the first record of new inputs.
uint32_t buildPollSet(std::vector<struct pollfd>* fds, std::vector<PollSlot>* slots)
{
    std::lock_guard<std::mutex> guard(gInputLock);
    fds->clear();
    slots->clear();
    for (auto& entry : gInputs) {
        FrqInput& input = entry.second;
        if (input.discardFirst) {
            FrqRecord dropped;
            devopsIoctl(input.fd, DEVOPS_FRQ_READ_RECORD, reinterpret_cast<unsigned long>(&dropped));
            input.discardFirst = false;
        }
        fds->push_back({input.fd, POLLIN | POLLPRI, 0});
        slots->push_back({entry.first, input.callback});
    }
    fds->push_back({gWake[0], POLLIN, 0});
    return gGeneration;
}

bool mapChanged(uint32_t generation, bool* empty)
{
    std::lock_guard<std::mutex> guard(gInputLock);
    *empty = gInputs.empty();
    return generation != gGeneration;
}

// On the poll thread, outside a pass over its poll set.
void closeRetired()
{
    std::lock_guard<std::mutex> guard(gInputLock);
    if (gRetired.empty())
        return;
    for (int fd : gRetired)
        devopsClose(fd);
    gRetired.clear();
    gRetiredClosed.notify_all();
}

void frqdriverInterruptThread(void*)
{
    threadfunc::setThreadName("frq-inputs");
    std::vector<struct pollfd> fds;
    std::vector<PollSlot> slots;
    for (;;) {
        closeRetired();
        bool empty = false;
        mapChanged(0, &empty);
        if (empty) {
            threadfunc::sleep(100);
            continue;
        }
        const uint32_t generation = buildPollSet(&fds, &slots);
        bool changed = false;
        while (!changed) {
            const int ready = devopsPoll(fds.data(), fds.size(), 5000);
            if (ready < 0) {
                if (errno != EINTR)
                    printSystemError("frqdriver:InterruptThread poll(), watch: ");
                threadfunc::sleep(100);
            } else if (ready == 0) {
                std::printf("frqdriver:InterruptThread poll(), timeout (5 seconds) \n\r");
            } else {
                if (fds.back().revents & POLLIN) {
                    char drain[64];
                    while (read(gWake[0], drain, sizeof drain) > 0) {
                    }
                }
                bool faulty = false;
                for (size_t i = 0; i + 1 < fds.size(); ++i) {
                    faulty = faulty || (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL));
                    if (!(fds[i].revents & (POLLIN | POLLPRI)))
                        continue;
                    FrqRecord record;
                    if (devopsIoctl(fds[i].fd, DEVOPS_FRQ_READ_RECORD, reinterpret_cast<unsigned long>(&record)) < 0) {
                        printSystemError("frqdriver:InterruptThread ioctl(), watch: ");
                        faulty = true;
                    } else if (slots[i].callback) {
                        slots[i].callback(static_cast<uint16_t>(slots[i].number), record.value0, record.value1,
                                          rebuildFlags(record.flags));
                    }
                }
                // A device in error, or one that signals a record it then does not
                // give, stays ready: do not turn that into a spin.
                if (faulty)
                    threadfunc::sleep(100);
            }
            changed = mapChanged(generation, &empty);
        }
    }
}

int openInput(int number)
{
    std::lock_guard<std::mutex> guard(gInputLock);
    auto it = gInputs.find(number);
    if (it != gInputs.end())
        return it->second.fd;
    const std::string path = "/dev/frqdev" + std::to_string(number);
    const int fd = devopsOpen(path.c_str(), O_RDWR);
    if (fd < 0)
        return -1;
    gInputs[number] = FrqInput{fd, nullptr, true};
    ++gGeneration;
    return fd;
}

}  // namespace

bool pwmOpen(int index)
{
    if (index < 0 || index >= kPwmCount)
        return false;
    if (gPwmFd[index] < 0)
        gPwmFd[index] = devopsOpen(kPwmDevices[index], O_RDWR);
    return gPwmFd[index] >= 0;
}

bool pwmSetDutyCycle(int index, uint8_t duty)
{
    if (!pwmOpen(index))
        return false;
    if (devopsIoctl(gPwmFd[index], DEVOPS_PWM_SET_DUTY, duty) < 0)
        return false;
    gPwmDuty[index] = duty;
    return true;
}

bool pwmSetFrequency(int index, uint16_t frequency)
{
    if (!pwmOpen(index))
        return false;
    if (devopsIoctl(gPwmFd[index], DEVOPS_PWM_SET_FREQUENCY, frequency) < 0)
        return false;
    return pwmSetDutyCycle(index, gPwmDuty[index]);
}

bool frqdriverOpenInput(int number)
{
    const bool opened = openInput(number) >= 0;
    if (opened)
        wakeThread();
    return opened;
}

bool frqdriverConfigInput(uint16_t number, uint16_t parameter, FrqCallback callback)
{
    const int fd = openInput(number);
    if (fd < 0)
        return false;
    FrqConfig config = {1, parameter};
    if (devopsIoctl(fd, DEVOPS_FRQ_CONFIGURE, reinterpret_cast<unsigned long>(&config)) < 0)
        return false;
    {
        std::lock_guard<std::mutex> guard(gInputLock);
        auto it = gInputs.find(number);
        if (it == gInputs.end())
            return false;
        it->second.callback = callback;
        ++gGeneration;
    }
    wakeThread();
    return true;
}

bool frqdriverReadInput(uint16_t number, uint8_t* out)
{
    const int fd = openInput(number);
    if (fd < 0 || out == nullptr)
        return false;
    FrqValue value = {};
    if (devopsIoctl(fd, DEVOPS_FRQ_READ_VALUE, reinterpret_cast<unsigned long>(&value)) < 0)
        return false;
    *out = static_cast<uint8_t>(value.value & 0xFF);
    return true;
}

bool frqdriverInit()
{
    std::lock_guard<std::mutex> guard(gInputLock);
    if (gThreadStarted)
        return true;
    if (pipe2(gWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        perror("frqdriver: pipe");
        return true;
    }
    gThreadStarted = kernelTaskCreateEx(8, 3072, frqdriverInterruptThread, nullptr, __FILE__, __LINE__) == 1;
    return true;
}

void frqdriverReset()
{
    for (int index = 0; index < kPwmCount; ++index) {
        if (gPwmFd[index] >= 0)
            devopsClose(gPwmFd[index]);
        gPwmFd[index] = -1;
        gPwmDuty[index] = 0;
    }
    std::unique_lock<std::mutex> lock(gInputLock);
    for (auto& entry : gInputs) {
        if (gThreadStarted)
            gRetired.push_back(entry.second.fd);
        else
            devopsClose(entry.second.fd);
    }
    gInputs.clear();
    ++gGeneration;
    lock.unlock();
    wakeThread();
    lock.lock();
    gRetiredClosed.wait(lock, [] { return gRetired.empty(); });
}
