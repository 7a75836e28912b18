#include "cmdrunner.h"

#include "sysroot.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
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

// What the kernel takes for CLOCK_REALTIME: no time before 1970, no nanosecond
// field outside one second, and room left for thirty years of uptime in its
// 64-bit nanosecond clock (so nothing past April 2232). The stand-in keeps
// its offset in the same nanoseconds and refuses the same times.
bool settableTime(const struct timespec& when)
{
    constexpr long long kNsPerSecond = 1000000000LL;
    constexpr long long kUptimeSeconds = 30LL * 365 * 86400;
    constexpr long long kLastSecond = std::numeric_limits<long long>::max() / kNsPerSecond - kUptimeSeconds;
    return when.tv_sec >= 0 && static_cast<long long>(when.tv_sec) < kLastSecond && when.tv_nsec >= 0 &&
           when.tv_nsec < kNsPerSecond;
}

std::string utcText(time_t seconds)
{
    struct tm utc = {};
    char text[64] = "?";
    if (gmtime_r(&seconds, &utc))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
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

std::string scriptPath()
{
    return sysrootPath("/run/commands.script");
}

struct Scripted {
    int status = 0;
    std::string output;
};

// The entry scripted for the line (status 0 and no output when there is none).
Scripted scripted(const std::string& commandLine)
{
    Scripted result;
    // cmdScript appends under the lock: never read an entry half written.
    std::lock_guard<std::mutex> guard(logLock);
    std::ifstream file(scriptPath());
    std::string line;
    bool inEntry = false;
    while (std::getline(file, line)) {
        if (line.compare(0, 2, "> ") == 0) {
            if (inEntry)
                result.output += line.substr(2) + "\n";
            continue;
        }
        const size_t blank = line.find(' ');
        inEntry = blank != std::string::npos && line.compare(blank + 1, std::string::npos, commandLine) == 0;
        if (inEntry) {
            result.status = std::atoi(line.substr(0, blank).c_str());
            result.output.clear();
        }
    }
    return result;
}

}  // namespace

std::string cmdLogPath()
{
    return sysrootActive() ? sysrootPath("/var/log/commands.log") : std::string();
}

int cmdRun(const std::string& commandLine)
{
    if (sysrootActive())
        return recordCommand(commandLine) ? scripted(commandLine).status : -1;
    const int status = std::system(commandLine.c_str());
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int cmdRunRead(const std::string& commandLine, std::string* output, size_t maxBytes)
{
    output->clear();
    if (sysrootActive()) {
        if (!recordCommand(commandLine))
            return -1;
        const Scripted entry = scripted(commandLine);
        *output = entry.output.substr(0, maxBytes);
        return entry.status;
    }
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[256];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (output->size() < maxBytes)
            output->append(buffer, std::min(got, maxBytes - output->size()));
    }
    const int status = pclose(pipe);
    if (status == -1)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool cmdScript(const std::string& commandLine, int status, const std::string& output)
{
    if (!sysrootActive())
        return false;
    ::mkdir(sysrootPath("/run").c_str(), 0755);
    std::lock_guard<std::mutex> guard(logLock);
    FILE* file = std::fopen(scriptPath().c_str(), "a");
    if (!file)
        return false;
    bool written = std::fprintf(file, "%d %s\n", status, commandLine.c_str()) > 0;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        written = std::fprintf(file, "> %s\n", output.substr(start, end - start).c_str()) > 0 && written;
        start = end + 1;
    }
    return std::fclose(file) == 0 && written;
}

bool cmdSetWallClock(const struct timespec& when)
{
    if (sysrootActive()) {
        if (!settableTime(when)) {
            recordCommand("clock_settime " + utcText(when.tv_sec) + " refused: " + std::strerror(EINVAL) +
                          "; the clock keeps its time");
            errno = EINVAL;
            return false;
        }
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
