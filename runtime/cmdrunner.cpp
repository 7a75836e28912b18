#include "cmdrunner.h"

#include "sysroot.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {
std::mutex logLock;
std::atomic<long long> clockOffsetNs{0};

long long toNs(const struct timespec& ts)
{
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct timespec fromNs(long long ns)
{
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(ns / 1000000000LL);
    ts.tv_nsec = static_cast<long>(ns % 1000000000LL);
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1000000000L;
        ts.tv_sec -= 1;
    }
    return ts;
}

bool recordCommand(const std::string& line)
{
    const std::string dir = sysrootPath("/var/log");
    ::mkdir(sysrootPath("/var").c_str(), 0755);
    ::mkdir(dir.c_str(), 0755);
    std::lock_guard<std::mutex> guard(logLock);
    FILE* log = std::fopen(cmdLogPath().c_str(), "a");
    if (!log)
        return false;
    const bool written = std::fprintf(log, "%s\n", line.c_str()) > 0;
    return std::fclose(log) == 0 && written;
}
}  // namespace

std::string cmdLogPath()
{
    return sysrootActive() ? sysrootPath("/var/log/commands.log") : std::string();
}

int cmdRun(const std::string& commandLine)
{
    if (sysrootActive())
        return recordCommand(commandLine) ? 0 : -1;
    const int status = std::system(commandLine.c_str());
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool cmdSetWallClock(const struct timespec& when)
{
    if (sysrootActive()) {
        struct timespec real;
        clock_gettime(CLOCK_REALTIME, &real);
        clockOffsetNs.store(toNs(when) - toNs(real));
        return true;
    }
    return clock_settime(CLOCK_REALTIME, &when) == 0;
}

struct timespec cmdWallClockNow()
{
    struct timespec real;
    clock_gettime(CLOCK_REALTIME, &real);
    return fromNs(toNs(real) + clockOffsetNs.load());
}
