#include "standin_sectrix.h"

#include "canstandin.h"
#include "sectrix.h"
#include "standin_can.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/can.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum : uint8_t { TYPE_STATUS = 0, TYPE_REQUEST = 1, TYPE_MODE = 2, TYPE_VERSION = 10 };

// Frames taken per wake-up, so that a flood of the console cannot hold up the reports.
constexpr int kFramesPerWake = 64;

const char kUsage[] = "? sectrix on|off|auto|manual|allow <hex>|status";

uint8_t lowByte(uint32_t value, int byte)
{
    return static_cast<uint8_t>(value >> (8 * byte));
}

// 1 to 4 hex digits, with or without "0x".
bool parseStatusWord(std::string text, uint16_t& word)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    if (text.empty() || text.size() > 4)
        return false;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    word = static_cast<uint16_t>(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

}  // namespace

StandinSectrix::StandinSectrix(const std::string& root) : mBusDir(standinCanDir(root, kInterface))
{
}

StandinSectrix::~StandinSectrix()
{
    stop();
}

bool StandinSectrix::start()
{
    if (mThread.joinable())
        return true;
    const int fd = canstandinOpenDir(mBusDir);
    if (fd < 0)
        return false;
    if (::pipe2(mWake, O_CLOEXEC | O_NONBLOCK) != 0) {
        canstandinClose(fd);
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(mLock);
        mFd = fd;
        mStop = false;
        if (mState.on)
            sendPowerOn();
    }
    mThread = std::thread(&StandinSectrix::run, this);
    return true;
}

void StandinSectrix::stop()
{
    if (!mThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mLock);
        mStop = true;
    }
    const char wake = 0;
    if (::write(mWake[1], &wake, 1) != 1)
        std::perror("standin sectrix: wake");
    mThread.join();
    for (int& fd : mWake) {
        ::close(fd);
        fd = -1;
    }
    std::lock_guard<std::mutex> guard(mLock);
    canstandinClose(mFd);
    mFd = -1;
}

void StandinSectrix::run()
{
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::milliseconds(kReportMs);
    auto next = Clock::now() + period;
    for (;;) {
        auto now = Clock::now();
        if (now >= next) {
            {
                std::lock_guard<std::mutex> guard(mLock);
                if (mState.on)
                    sendReports();
            }
            next += period;
            if (next <= now)
                next = now + period;  // late: no catching up
        }
        // Rounded up, so that a wait never ends just short of the report.
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(next - now).count();
        struct pollfd watch[2] = {{mFd, POLLIN, 0}, {mWake[0], POLLIN, 0}};
        const int ready = ::poll(watch, 2, static_cast<int>((left + 999) / 1000));
        if (ready < 0 && errno != EINTR) {
            std::perror("standin sectrix: poll");
            return;
        }
        if (ready > 0 && watch[1].revents != 0) {
            char drained[16];
            while (::read(mWake[0], drained, sizeof drained) > 0) {
            }
            std::lock_guard<std::mutex> guard(mLock);
            if (mStop)
                return;
        }
        if (ready > 0 && (watch[0].revents & POLLNVAL)) {
            std::fprintf(stderr, "standin sectrix: the bus socket is gone\n");
            return;
        }
        // A pending socket error is taken by the next recv, which clears it.
        if (ready > 0 && (watch[0].revents & (POLLIN | POLLERR)))
            receive();
    }
}

void StandinSectrix::receive()
{
    for (int taken = 0; taken < kFramesPerWake; ++taken) {
        struct can_frame frame;
        const ssize_t n = ::recv(mFd, &frame, sizeof frame, MSG_DONTWAIT);
        if (n < 0)
            return;
        const bool console = n == static_cast<ssize_t>(sizeof frame) && (frame.can_id & CAN_EFF_FLAG) &&
                             !(frame.can_id & (CAN_RTR_FLAG | CAN_ERR_FLAG)) &&
                             (frame.can_id & CAN_EFF_MASK) == SECTRIX_ID_CONSOLE;
        if (!console)
            continue;
        std::lock_guard<std::mutex> guard(mLock);
        handleFrame(frame.data, std::min<uint8_t>(frame.can_dlc, CAN_MAX_DLEN));
    }
}

void StandinSectrix::handleFrame(const uint8_t* data, uint8_t dlc)
{
    if (!mState.on)
        return;
    ++mState.framesReceived;
    if (dlc >= 4 && data[0] == TYPE_STATUS) {
        mState.sectionStates = data[1] | uint32_t(data[2]) << 8 | uint32_t(data[3]) << 16;
    } else if (dlc >= 2 && data[0] == TYPE_MODE) {
        // The console holds its request for 100 ms: one request, one change.
        const bool request = (data[1] & 1) != 0;
        if (request && !mState.modeRequestHeld) {
            mState.automatic = !mState.automatic;
            send({TYPE_MODE, uint8_t(mState.automatic ? 1 : 0)});
        }
        mState.modeRequestHeld = request;
    }
}

void StandinSectrix::send(std::initializer_list<uint8_t> bytes)
{
    struct can_frame frame;
    std::memset(&frame, 0, sizeof frame);
    frame.can_id = SECTRIX_ID_UNIT | CAN_EFF_FLAG;
    frame.can_dlc = CAN_MAX_DLEN;
    std::memset(frame.data, 0xFF, sizeof frame.data);  // unused bytes, as J1939 fills them
    std::copy(bytes.begin(), bytes.end(), frame.data);
    // Nobody else on the bus is no fault of the unit's.
    canstandinWrite(mFd, &frame, sizeof frame);
}

void StandinSectrix::sendReports()
{
    send({TYPE_STATUS, lowByte(mState.statusWord, 0), lowByte(mState.statusWord, 1)});
    send({TYPE_MODE, uint8_t(mState.automatic ? 1 : 0)});
}

// A unit that comes on tells its version and asks the console to identify itself.
void StandinSectrix::sendPowerOn()
{
    send({TYPE_VERSION, lowByte(kVersionWord, 0), lowByte(kVersionWord, 1), lowByte(kVersionValue, 0),
          lowByte(kVersionValue, 1), lowByte(kVersionValue, 2), lowByte(kVersionValue, 3)});
    send({TYPE_REQUEST});
    sendReports();
}

void StandinSectrix::setOn(bool on)
{
    std::lock_guard<std::mutex> guard(mLock);
    if (mState.on == on)
        return;
    mState.on = on;
    mState.modeRequestHeld = false;
    if (on && mFd >= 0)
        sendPowerOn();
}

void StandinSectrix::setAutomatic(bool automatic)
{
    std::lock_guard<std::mutex> guard(mLock);
    mState.automatic = automatic;
    if (mState.on && mFd >= 0)
        send({TYPE_MODE, uint8_t(automatic ? 1 : 0)});
}

SectrixUnitState StandinSectrix::state() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mState;
}

bool StandinSectrix::handles(const std::string& line)
{
    std::istringstream in(line);
    std::string word;
    in >> word;
    return word == "sectrix";
}

std::string StandinSectrix::statusLine() const
{
    std::lock_guard<std::mutex> guard(mLock);
    char text[120];
    std::snprintf(text, sizeof text,
                  "sectrix %s, %s, status word %04X, console sections %06X, %u frames received",
                  mState.on ? "on" : "off", mState.automatic ? "automatic" : "manual", mState.statusWord,
                  mState.sectionStates, mState.framesReceived);
    return text;
}

std::string StandinSectrix::command(const std::string& line)
{
    std::istringstream in(line);
    std::string word, argument, value, extra;
    in >> word >> argument >> value >> extra;
    if (word != "sectrix" || !extra.empty())
        return kUsage;
    if (argument == "allow") {
        uint16_t statusWord = 0;
        if (!parseStatusWord(value, statusWord))
            return "? sectrix allow takes the status word in hex, 0 to FFFF";
        std::lock_guard<std::mutex> guard(mLock);
        mState.statusWord = statusWord;
        if (mState.on && mFd >= 0)
            send({TYPE_STATUS, lowByte(statusWord, 0), lowByte(statusWord, 1)});
        char text[40];
        std::snprintf(text, sizeof text, "sectrix status word %04X", statusWord);
        return text;
    }
    if (!value.empty())
        return kUsage;
    if (argument == "on" || argument == "off") {
        setOn(argument == "on");
        return "sectrix " + argument;
    }
    if (argument == "auto" || argument == "manual") {
        setAutomatic(argument == "auto");
        return argument == "auto" ? "sectrix automatic" : "sectrix manual";
    }
    if (argument == "status")
        return statusLine();
    return kUsage;
}
