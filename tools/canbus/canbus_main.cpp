// canbus: sends and dumps frames on the stand-in CAN bus of a system root, in
// the cansend/candump notation, to play a CAN node against the console or to
// watch what it sends.
#include "canstandin.h"
#include "cannotation.h"
#include "sysroot.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/socket.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

volatile sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

int usage(FILE* out, int status)
{
    std::fprintf(out,
                 "usage: canbus [-r ROOT] send <interface> FRAME... [-g MS]\n"
                 "       canbus [-r ROOT] dump <interface> [-n COUNT] [-t MS]\n"
                 "The bus lies in ROOT/run/can/<interface>/ (ROOT defaults to CONSOLE_SYSROOT).\n"
                 "FRAME: 123#0102 (standard), 18EFFFC0#0005000000 (extended), 123# (no data),\n"
                 "       123#R or 123#R2 (remote request), 20000040#0000000000000000 (error\n"
                 "       frame: error flag in an 8-digit identifier), 123#0102030405060708_C\n"
                 "       (raw length code C above 8).\n"
                 "send: -g MS waits MS milliseconds between frames.\n"
                 "dump: prints \"(seconds) <interface> FRAME\" per frame; stops after COUNT\n"
                 "      frames or MS milliseconds when given, else on a signal.\n");
    return status;
}

double monotonicSeconds()
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void sleepMs(long ms)
{
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR && !stopRequested) {
    }
}

bool parseCount(const char* text, long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    return errno == 0 && end != text && *end == '\0' && value >= 0;
}

// The interface's bus, or -1 after saying why it could not be opened.
int openBus(const std::string& interfaceName)
{
    const int fd = canstandinOpen(interfaceName);
    if (fd < 0)
        std::fprintf(stderr, "canbus: cannot open %s: %s\n", canstandinDir(interfaceName).c_str(),
                     std::strerror(errno));
    return fd;
}

int sendFrames(const std::string& interfaceName, const std::vector<std::string>& args)
{
    long gapMs = 0;
    std::vector<struct can_frame> frames;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-g") {
            if (i + 1 >= args.size() || !parseCount(args[i + 1].c_str(), gapMs))
                return usage(stderr, 2);
            ++i;
            continue;
        }
        struct can_frame frame;
        if (!canNotationParse(args[i], frame)) {
            std::fprintf(stderr, "canbus: bad frame '%s'\n", args[i].c_str());
            return 2;
        }
        frames.push_back(frame);
    }
    if (frames.empty())
        return usage(stderr, 2);
    const int fd = openBus(interfaceName);
    if (fd < 0)
        return 1;
    int status = 0;
    for (size_t i = 0; i < frames.size() && !stopRequested; ++i) {
        if (i > 0 && gapMs > 0)
            sleepMs(gapMs);
        if (canstandinWrite(fd, &frames[i], sizeof frames[i]) < 0) {
            std::fprintf(stderr, "canbus: send failed: %s\n", std::strerror(errno));
            status = 1;
            break;
        }
    }
    canstandinClose(fd);
    return status;
}

int dumpFrames(const std::string& interfaceName, const std::vector<std::string>& args)
{
    long countLimit = -1;
    long timeLimitMs = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        long* target = args[i] == "-n" ? &countLimit : args[i] == "-t" ? &timeLimitMs : nullptr;
        if (!target || i + 1 >= args.size() || !parseCount(args[i + 1].c_str(), *target))
            return usage(stderr, 2);
        ++i;
    }
    const int fd = openBus(interfaceName);
    if (fd < 0)
        return 1;
    const double start = monotonicSeconds();
    long received = 0;
    while (!stopRequested && (countLimit < 0 || received < countLimit)) {
        int waitMs = 1000;
        if (timeLimitMs >= 0) {
            const long left = timeLimitMs - static_cast<long>((monotonicSeconds() - start) * 1000.0);
            if (left <= 0)
                break;
            waitMs = left < waitMs ? static_cast<int>(left) : waitMs;
        }
        struct pollfd watch = {fd, POLLIN, 0};
        const int ready = ::poll(&watch, 1, waitMs);
        if (ready <= 0)
            continue;
        struct can_frame frame;
        const ssize_t size = ::recv(fd, &frame, sizeof frame, 0);
        if (size != static_cast<ssize_t>(sizeof frame))
            continue;
        std::printf("(%.6f) %s %s\n", monotonicSeconds() - start, interfaceName.c_str(),
                    canNotationFormat(frame).c_str());
        std::fflush(stdout);
        ++received;
    }
    canstandinClose(fd);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help"))
        return usage(stdout, 0);
    if (args.size() >= 2 && args[0] == "-r") {
        setenv("CONSOLE_SYSROOT", args[1].c_str(), 1);
        args.erase(args.begin(), args.begin() + 2);
    }
    sysrootReload();
    if (!sysrootActive()) {
        std::fprintf(stderr, "canbus: no stand-in root: set CONSOLE_SYSROOT or give -r ROOT\n");
        return 2;
    }
    if (args.size() < 2)
        return usage(stderr, 2);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const std::string command = args[0];
    const std::string interfaceName = args[1];
    const std::vector<std::string> rest(args.begin() + 2, args.end());
    if (command == "send")
        return sendFrames(interfaceName, rest);
    if (command == "dump")
        return dumpFrames(interfaceName, rest);
    return usage(stderr, 2);
}
