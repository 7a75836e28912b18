#include "clock.h"
#include "cmdrunner.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {
long long monotonicNs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

long long realtimeSeconds()
{
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec;
}

void useTimeZone(const char* zone)
{
    setenv("TZ", zone, 1);
    tzset();
}

// Sets the program's wall clock (under a system root only) to a local time.
void setWallClock(int year, int month, int day, int hour, int minute, int second)
{
    struct tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    struct timespec when = {};
    when.tv_sec = mktime(&local);
    REQUIRE(cmdSetWallClock(when));
}

std::atomic<int> hookRuns{0};
void countHook()
{
    hookRuns.fetch_add(1);
}
}  // namespace

TEST_CASE("the first reading of the clock is the start of the program")
{
    CHECK(clockStart() < 50u);
    CHECK(clockTicksToMs(1234) == 1234u);
}

TEST_CASE("real time: the millisecond clock follows CLOCK_MONOTONIC over 1.5 s")
{
    const long long before0 = monotonicNs();
    const uint32_t t0 = clockGetMs();
    const long long after0 = monotonicNs();
    usleep(1500000);
    const long long before1 = monotonicNs();
    const uint32_t t1 = clockGetMs();
    const uint32_t ticks = clockGetTicks();
    const long long after1 = monotonicNs();
    const long long shortest = (before1 - after0) / 1000000;
    const long long longest = (after1 - before0) / 1000000;
    const long long measured = static_cast<int32_t>(t1 - t0);
    CAPTURE(shortest);
    CAPTURE(longest);
    CAPTURE(measured);
    CHECK(measured >= 1500);
    CHECK(measured >= shortest - 1);
    CHECK(measured <= longest + 1);
    CHECK(static_cast<int32_t>(ticks - t1) >= 0);
    CHECK(static_cast<int32_t>(ticks - t1) <= longest - shortest + 1);

    const uint32_t us = clockGetUs();
    const uint32_t ms = clockGetMs();
    CHECK(static_cast<int32_t>(ms - us / 1000) >= 0);
    CHECK(static_cast<int32_t>(ms - us / 1000) < 100);
    const uint32_t rawBefore = static_cast<uint32_t>(monotonicNs() / 1000);
    const uint32_t raw = clockGetRawUs();
    const uint32_t rawAfter = static_cast<uint32_t>(monotonicNs() / 1000);
    CHECK(static_cast<int32_t>(raw - rawBefore) >= 0);
    CHECK(static_cast<int32_t>(rawAfter - raw) >= 0);
}

TEST_CASE("the manual clock stands still, advances on request and never goes back")
{
    clockAddAdvanceHook(countHook);
    clockAddAdvanceHook(countHook);  // registered once
    const int hooksBefore = hookRuns.load();

    clockUseManual();
    const uint32_t frozen = clockGetMs();
    int32_t seconds = 0;
    int32_t nanoseconds = 0;
    usleep(30000);
    CHECK(clockGetMs() == frozen);
    clockAdvanceMs(5000);
    CHECK(clockGetMs() == frozen + 5000);
    CHECK(hookRuns.load() == hooksBefore + 1);
    clockAdvanceMs(1);
    clockGetElapsed(&seconds, &nanoseconds);
    // Component by component: the nanosecond part may be negative.
    CHECK(nanoseconds > -1000000000);
    CHECK(nanoseconds < 1000000000);
    const long long elapsedNs = static_cast<long long>(seconds) * 1000000000LL + nanoseconds;
    CHECK(static_cast<uint32_t>(elapsedNs / 1000000) == frozen + 5001);
    CHECK(clockGetUs() / 1000 == frozen + 5001);

    clockUseReal();
    const uint32_t resumed = clockGetMs();
    CHECK(static_cast<int32_t>(resumed - (frozen + 5001)) >= 0);
    CHECK(static_cast<int32_t>(resumed - (frozen + 5001)) < 1000);
    usleep(20000);
    CHECK(static_cast<int32_t>(clockGetMs() - resumed) >= 20);
    clockAdvanceMs(1000);  // no effect on the real clock
    CHECK(static_cast<int32_t>(clockGetMs() - resumed) < 1000);
    CHECK(hookRuns.load() == hooksBefore + 2);
}

TEST_CASE("a source of its own drives the clock")
{
    static std::atomic<long long> fakeNs{7000000000LL};
    clockSetSource([]() {
        struct timespec ts;
        ts.tv_sec = static_cast<time_t>(fakeNs.load() / 1000000000LL);
        ts.tv_nsec = static_cast<long>(fakeNs.load() % 1000000000LL);
        return ts;
    });
    const uint32_t start = clockGetMs();
    fakeNs.fetch_add(250000000LL);
    CHECK(clockGetMs() == start + 250);
    fakeNs.fetch_add(1500000000LL);
    CHECK(clockGetMs() == start + 1750);
    clockSetSource(nullptr);
    CHECK(static_cast<int32_t>(clockGetMs() - (start + 1750)) >= 0);
}

TEST_CASE("time of day packs hour, minute and second from the low byte up")
{
    TestRoot root;
    useTimeZone("UTC");
    struct Case {
        int hour, minute, second;
    };
    const Case cases[] = {{13, 5, 9}, {0, 0, 0}, {23, 59, 58}};
    for (const Case& c : cases) {
        setWallClock(2024, 3, 3, c.hour, c.minute, c.second);
        const uint32_t packed = rtcGetTime();
        CAPTURE(packed);
        CHECK((packed & 0xFF) == static_cast<uint32_t>(c.hour));
        CHECK(((packed >> 8) & 0xFF) == static_cast<uint32_t>(c.minute));
        CHECK(((packed >> 16) & 0xFF) == static_cast<uint32_t>(c.second));
        CHECK((packed >> 24) == 0);
    }
    const RtcTime time = rtcUnpackTime(0x0009050D);
    CHECK(time.hour == 13);
    CHECK(time.minute == 5);
    CHECK(time.second == 9);
    CHECK(rtcPackTime(time) == 0x0009050Du);
}

TEST_CASE("time and date as text by pattern")
{
    struct TimeCase {
        RtcTime time;
        const char* pattern;
        const char* expected;
    };
    const TimeCase times[] = {
        {{7, 5, 9}, "h:m:s", "07:05:09"},
        {{7, 5, 9}, "h.m", "07.05"},
        {{7, 5, 9}, nullptr, "07:05:09"},
        {{23, 0, 59}, "[s-m-h]", "[59-00-23]"},
        {{1, 2, 3}, "", ""},
    };
    for (const TimeCase& c : times) {
        CAPTURE(c.expected);
        char text[32];
        std::memset(text, 'X', sizeof text);
        CHECK(rtcTimeToText(text, c.time, c.pattern) == 1);
        CHECK(std::string(text) == c.expected);
    }
    struct DateCase {
        RtcDate date;
        const char* pattern;
        const char* expected;
    };
    const DateCase dates[] = {
        {{3, 3, 2024, 0}, "d.m.cy", "03.03.2024"},
        {{3, 3, 2024, 0}, "d/m/y", "03/03/24"},
        {{31, 12, 1999, 5}, "cy-m-d", "1999-12-31"},
        {{1, 1, 2005, 6}, "y", "05"},
    };
    for (const DateCase& c : dates) {
        CAPTURE(c.expected);
        char text[32];
        std::memset(text, 'X', sizeof text);
        CHECK(rtcDateToText(text, c.date, c.pattern) == 1);
        CHECK(std::string(text) == c.expected);
    }
    CHECK(rtcTimeToText(nullptr, RtcTime{1, 2, 3}, "h") == 0);
    CHECK(rtcDateToText(nullptr, RtcDate{1, 2, 2003, 0}, "d") == 0);

    TestRoot root;
    useTimeZone("UTC");
    setWallClock(2024, 3, 3, 7, 5, 9);
    char text[32];
    CHECK(rtcGetTimeText(text, "h.m") == 1);
    CHECK(std::string(text) == "07.05");
    CHECK(rtcGetDateText(text, "d/m/y") == 1);
    CHECK(std::string(text) == "03/03/24");
}

TEST_CASE("date and time are read in local time")
{
    TestRoot root;
    useTimeZone("UTC");
    setWallClock(2024, 3, 3, 13, 5, 9);  // a Sunday
    RtcDate date = {};
    rtcGetDate(&date);
    CHECK(date.day == 3);
    CHECK(date.month == 3);
    CHECK(date.year == 2024);
    CHECK(date.weekday == 0);
    CHECK(rtcGetQDate() == QDate(2024, 3, 3));
    const QTime now = rtcGetQTime();
    CHECK(now.hour() == 13);
    CHECK(now.minute() == 5);

    useTimeZone("Europe/Berlin");  // 14:05 local in winter
    CHECK((rtcGetTime() & 0xFF) == 14u);
    CHECK(rtcGetQTime().hour() == 14);
    useTimeZone("UTC");
}

TEST_CASE("setting date and time keeps the other part, in any time zone")
{
    struct Case {
        const char* zone;
    };
    const Case zones[] = {{"UTC"}, {"Europe/Berlin"}, {"America/New_York"}};
    for (const Case& z : zones) {
        CAPTURE(z.zone);
        TestRoot root;
        useTimeZone(z.zone);
        setWallClock(2023, 6, 15, 10, 20, 30);

        // Year as years since 1998.
        RtcDate date = {29, 2, 26, 0};
        CHECK(rtcSetDate(date) == 1);
        CHECK(rtcGetQDate() == QDate(2024, 2, 29));
        QTime kept = rtcGetQTime();
        CHECK(kept.hour() == 10);
        CHECK(kept.minute() == 20);

        RtcTime time = {7, 5, 9};
        CHECK(rtcSetTime(time) == 1);
        CHECK(rtcGetQDate() == QDate(2024, 2, 29));
        kept = rtcGetQTime();
        CHECK(kept.hour() == 7);
        CHECK(kept.minute() == 5);
    }
    useTimeZone("UTC");
}

TEST_CASE("setting date and time from the settings stores the hardware clock; the machine's clock is untouched")
{
    TestRoot root;
    useTimeZone("UTC");
    const long long machineBefore = realtimeSeconds();
    setWallClock(2023, 6, 15, 10, 20, 30);

    CHECK(rtcSetQDate(QDate(2024, 2, 29)) == 1);
    CHECK(readTextFile(cmdLogPath()) == "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n");
    CHECK(rtcGetQDate() == QDate(2024, 2, 29));
    const QTime kept = rtcGetQTime();
    CHECK(kept.hour() == 10);
    CHECK(kept.minute() == 20);

    CHECK(rtcSetQTime(QTime(13, 5, 9)) == 1);
    CHECK(readTextFile(cmdLogPath()) ==
          "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n"
          "/sbin/hwclock --systohc\n/etc/init.d/save-rtc.sh\n");
    CHECK(rtcGetQDate() == QDate(2024, 2, 29));
    const uint32_t packed = rtcGetTime();
    CHECK((packed & 0xFFFF) == 0x050Du);
    CHECK(((packed >> 16) & 0xFF) <= 10u);

    const struct timespec wall = cmdWallClockNow();
    struct tm local = {};
    const time_t wallSeconds = wall.tv_sec;
    gmtime_r(&wallSeconds, &local);
    CHECK(local.tm_year + 1900 == 2024);
    CHECK(local.tm_mon + 1 == 2);
    CHECK(local.tm_mday == 29);
    const long long machineAfter = realtimeSeconds();
    CHECK(machineAfter - machineBefore >= 0);
    CHECK(machineAfter - machineBefore < 120);
}

TEST_CASE("invalid dates and times are refused and no command runs")
{
    TestRoot root;
    useTimeZone("UTC");
    setWallClock(2023, 6, 15, 10, 20, 30);
    CHECK(rtcSetQTime(QTime()) == 0);
    CHECK(rtcSetQDate(QDate()) == 0);
    CHECK(rtcSetQDate(QDate(1997, 12, 31)) == 0);
    struct DateCase {
        RtcDate date;
    };
    const DateCase dates[] = {{{29, 2, 25, 0}},  // 2023 is no leap year
                              {{31, 4, 26, 0}}, {{0, 1, 26, 0}}, {{1, 13, 26, 0}}, {{1, 0, 26, 0}}};
    for (const DateCase& c : dates) {
        CAPTURE(static_cast<int>(c.date.day));
        CAPTURE(static_cast<int>(c.date.month));
        CHECK(rtcSetDate(c.date) == 0);
    }
    const RtcTime times[] = {{24, 0, 0}, {0, 60, 0}, {0, 0, 60}};
    for (const RtcTime& t : times)
        CHECK(rtcSetTime(t) == 0);
    CHECK(rtcGetQDate() == QDate(2023, 6, 15));
    CHECK(rtcGetQTime().hour() == 10);
    CHECK(readTextFile(cmdLogPath()).empty());
}
