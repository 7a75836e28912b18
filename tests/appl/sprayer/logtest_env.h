#pragma once
// Shared helpers of the alarm-log and pressure-log tests: the console's clock
// set to a known moment, the log files read as lines, the USB stick plugged
// and pulled, and the posted results waited for.
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

#include <QDate>
#include <QTime>

#include "clock.h"
#include "coretables_env.h"
#include "test_root.h"
#include "test_wait.h"

inline std::vector<std::string> fileLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string text = readTextFile(path);
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

inline std::string stickDir()
{
    const char* root = getenv("CONSOLE_SYSROOT");
    return std::string(root ? root : "") + "/media/sda1";
}

inline void plugStick()
{
    removeTree(stickDir());
    mkdir(stickDir().c_str(), 0755);
}

inline void pullStick()
{
    removeTree(stickDir());
}

// 9 December 2026, 09:55:00 on the console's clock.
inline void setConsoleClock()
{
    REQUIRE(rtcSetQDate(QDate(2026, 12, 9)) == 1);
    REQUIRE(rtcSetQTime(QTime(9, 55, 0)) == 1);
}

// Waits until the event id has been posted; its argument, -1 when it never came.
inline int64_t waitEvent(uint32_t id, int timeoutMs = 5000)
{
    int64_t value = -1;
    waitFor(
        [&] {
            for (const PostedEvent& event : takeCoreEvents()) {
                if (event.first == id && value < 0)
                    value = event.second;
            }
            return value >= 0;
        },
        timeoutMs);
    return value;
}
