#pragma once
// Test helpers for the CAN stand-in bus: a peer node on an interface's bus, a
// capture of the log output, and the short notation of a raw frame.
#include "canstandin.h"
#include "cdebug.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <linux/can.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

inline void sleepMilliseconds(long ms)
{
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

inline long long monotonicMs()
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// "18EFC0B4#000500000080FF" for an extended frame, "700#01" for a standard one.
inline std::string frameText(const struct can_frame& frame)
{
    char text[48];
    int length = (frame.can_id & CAN_EFF_FLAG)
                     ? std::snprintf(text, sizeof text, "%08X#", frame.can_id & CAN_EFF_MASK)
                     : std::snprintf(text, sizeof text, "%03X#", frame.can_id & CAN_SFF_MASK);
    for (int i = 0; i < frame.can_dlc && i < 8; ++i)
        length += std::snprintf(text + length, sizeof text - length, "%02X", frame.data[i]);
    return std::string(text, static_cast<size_t>(length));
}

inline struct can_frame rawFrame(canid_t canId, std::initializer_list<int> bytes, int dlc = -1)
{
    struct can_frame frame;
    std::memset(&frame, 0, sizeof frame);
    frame.can_id = canId;
    int i = 0;
    for (int b : bytes)
        frame.data[i++] = static_cast<__u8>(b);
    frame.can_dlc = static_cast<__u8>(dlc < 0 ? i : dlc);
    return frame;
}

// Another node on the stand-in bus of one interface.
class CanPeer {
public:
    explicit CanPeer(const std::string& interfaceName) : mFd(canstandinOpen(interfaceName)) {}
    ~CanPeer()
    {
        if (mFd >= 0)
            canstandinClose(mFd);
    }
    CanPeer(const CanPeer&) = delete;
    CanPeer& operator=(const CanPeer&) = delete;

    bool isOpen() const { return mFd >= 0; }
    bool send(const struct can_frame& frame)
    {
        return canstandinWrite(mFd, &frame, sizeof frame) == static_cast<ssize_t>(sizeof frame);
    }
    // Waits up to timeoutMs for the next frame.
    bool receive(struct can_frame& frame, int timeoutMs)
    {
        struct pollfd watch = {mFd, POLLIN, 0};
        if (::poll(&watch, 1, timeoutMs) <= 0)
            return false;
        return ::recv(mFd, &frame, sizeof frame, 0) == static_cast<ssize_t>(sizeof frame);
    }
    // The next frame's text, or "" when none came within timeoutMs.
    std::string receiveText(int timeoutMs)
    {
        struct can_frame frame;
        return receive(frame, timeoutMs) ? frameText(frame) : std::string();
    }
    // Discards every frame waiting now.
    void drain()
    {
        struct can_frame frame;
        while (receive(frame, 0)) {
        }
    }

private:
    int mFd;
};

// Standard output into a file of the test root for as long as it lives.
// Keep assertions outside its lifetime: their reports go to standard output too.
class OutputCapture : public StdoutCapture {
public:
    explicit OutputCapture(const TestRoot& root) : StdoutCapture(root.dir() + "/tmp/stdout.capture") {}

    // True once text appears in the output, within timeoutMs.
    bool waitFor(const std::string& wanted, long timeoutMs) const
    {
        const long long end = monotonicMs() + timeoutMs;
        while (peek().find(wanted) == std::string::npos) {
            if (monotonicMs() > end)
                return false;
            sleepMilliseconds(10);
        }
        return true;
    }
};

// Occurrences of needle in text.
inline size_t countOf(const std::string& text, const std::string& needle)
{
    size_t count = 0;
    for (size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1))
        ++count;
    return count;
}

// Turns on info lines of every category through the logger's options file.
inline void enableInfoLogging()
{
    CDebug& logger = CDebug::getInstance();
    const std::string path = logger.configFilePath();
    makeDirs(pathDirName(path));
    writeTextFile(path, "info=1\n");
    logger.readConfig();
}
