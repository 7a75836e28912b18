#include "clock.h"

#include "cmdrunner.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {
constexpr long long kNsPerSec = 1000000000LL;

struct timespec realSource()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts;
}

long long toNs(const struct timespec& ts)
{
    return static_cast<long long>(ts.tv_sec) * kNsPerSec + ts.tv_nsec;
}

struct timespec fromNs(long long ns)
{
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(ns / kNsPerSec);
    ts.tv_nsec = static_cast<long>(ns % kNsPerSec);
    return ts;
}

std::atomic<long long> manualNs{0};

struct timespec manualSource()
{
    return fromNs(manualNs.load());
}

// One lock keeps the source, its offset and the base consistent; a switch of the
// source adds an offset so that readings continue where they were.
std::mutex sourceLock;
ClockSource source = realSource;
long long sourceOffsetNs = 0;
bool baseTaken = false;
struct timespec base;

long long readingNsLocked()
{
    return toNs(source()) + sourceOffsetNs;
}

struct timespec readingLocked()
{
    const struct timespec ts = fromNs(readingNsLocked());
    if (!baseTaken) {
        base = ts;
        baseTaken = true;
    }
    return ts;
}

void switchSourceLocked(ClockSource next)
{
    const long long current = readingNsLocked();
    source = next;
    sourceOffsetNs = current - toNs(source());
}

std::mutex hookLock;
constexpr int kMaxHooks = 16;
void (*hooks[kMaxHooks])() = {};
int hookCount = 0;
}  // namespace

void clockGetElapsed(int32_t* seconds, int32_t* nanoseconds)
{
    std::lock_guard<std::mutex> guard(sourceLock);
    const struct timespec now = readingLocked();
    if (seconds)
        *seconds = static_cast<int32_t>(now.tv_sec - base.tv_sec);
    if (nanoseconds)
        *nanoseconds = static_cast<int32_t>(now.tv_nsec - base.tv_nsec);
}

namespace {
// Nanoseconds since the base, so that milliseconds and microseconds round alike.
long long elapsedNs()
{
    std::lock_guard<std::mutex> guard(sourceLock);
    const long long now = toNs(readingLocked());  // takes the base on the first reading
    return now - toNs(base);
}
}  // namespace

uint32_t clockGetMs()
{
    return static_cast<uint32_t>(elapsedNs() / 1000000);
}

uint32_t clockGetTicks()
{
    return clockGetMs();
}

uint32_t clockStart()
{
    return clockGetMs();
}

uint32_t clockTicksToMs(uint32_t ticks)
{
    return ticks;
}

uint32_t clockGetUs()
{
    return static_cast<uint32_t>(elapsedNs() / 1000);
}

uint32_t clockGetRawUs()
{
    std::lock_guard<std::mutex> guard(sourceLock);
    return static_cast<uint32_t>(readingNsLocked() / 1000);
}

void clockSetSource(ClockSource next)
{
    std::lock_guard<std::mutex> guard(sourceLock);
    switchSourceLocked(next ? next : realSource);
}

void clockUseManual()
{
    std::lock_guard<std::mutex> guard(sourceLock);
    manualNs.store(readingNsLocked());
    source = manualSource;
    sourceOffsetNs = 0;
}

void clockAdvanceMs(uint32_t ms)
{
    {
        std::lock_guard<std::mutex> guard(sourceLock);
        if (source != manualSource)
            return;
        manualNs.fetch_add(static_cast<long long>(ms) * 1000000LL);
    }
    void (*toRun[kMaxHooks])() = {};
    int count = 0;
    {
        std::lock_guard<std::mutex> guard(hookLock);
        count = hookCount;
        for (int i = 0; i < count; ++i)
            toRun[i] = hooks[i];
    }
    for (int i = 0; i < count; ++i)
        toRun[i]();
}

void clockUseReal()
{
    clockSetSource(nullptr);
}

void clockAddAdvanceHook(void (*hook)())
{
    if (!hook)
        return;
    std::lock_guard<std::mutex> guard(hookLock);
    for (int i = 0; i < hookCount; ++i)
        if (hooks[i] == hook)
            return;
    if (hookCount < kMaxHooks)
        hooks[hookCount++] = hook;
}

// ---- Wall clock ----

namespace {
bool localNow(struct tm* local, long* nanoseconds)
{
    const struct timespec now = cmdWallClockNow();
    if (nanoseconds)
        *nanoseconds = now.tv_nsec;
    const time_t seconds = now.tv_sec;
    return localtime_r(&seconds, local) != nullptr;
}

// Sets the wall clock to the local broken-down time, keeping the given sub-second part.
bool setLocal(struct tm* local, long nanoseconds)
{
    local->tm_isdst = -1;
    const time_t seconds = mktime(local);
    if (seconds == static_cast<time_t>(-1))
        return false;
    struct timespec when;
    when.tv_sec = seconds;
    when.tv_nsec = nanoseconds;
    return cmdSetWallClock(when);
}

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

void appendTwoDigits(char*& out, unsigned value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02u", value);
    for (const char* c = digits; *c; ++c)
        *out++ = *c;
}

void storeHardwareClock()
{
    // Their results are the operating system's business: the clock is already set.
    cmdRun("/sbin/hwclock --systohc");
    cmdRun("/etc/init.d/save-rtc.sh");
}
}  // namespace

uint32_t rtcGetTime()
{
    struct tm local = {};
    if (!localNow(&local, nullptr))
        return 0;
    RtcTime time;
    time.hour = static_cast<uint8_t>(local.tm_hour);
    time.minute = static_cast<uint8_t>(local.tm_min);
    time.second = static_cast<uint8_t>(local.tm_sec);
    return rtcPackTime(time);
}

int rtcSetTime(const RtcTime& time)
{
    if (time.hour > 23 || time.minute > 59 || time.second > 59)
        return 0;
    struct tm local = {};
    long nanoseconds = 0;
    if (!localNow(&local, &nanoseconds))
        return 0;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    return setLocal(&local, nanoseconds) ? 1 : 0;
}

void rtcGetDate(RtcDate* date)
{
    if (!date)
        return;
    struct tm local = {};
    if (!localNow(&local, nullptr))
        local = tm{};
    date->day = static_cast<uint8_t>(local.tm_mday);
    date->month = static_cast<uint8_t>(local.tm_mon + 1);
    date->year = static_cast<uint16_t>(local.tm_year + 1900);
    date->weekday = static_cast<uint8_t>(local.tm_wday);
}

int rtcSetDate(const RtcDate& date)
{
    const int year = 1998 + date.year;
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > daysInMonth(year, date.month))
        return 0;
    struct tm local = {};
    long nanoseconds = 0;
    if (!localNow(&local, &nanoseconds))
        return 0;
    local.tm_mday = date.day;
    local.tm_mon = date.month - 1;
    local.tm_year = year - 1900;
    return setLocal(&local, nanoseconds) ? 1 : 0;
}

int rtcTimeToText(char* destination, const RtcTime& time, const char* pattern)
{
    if (!destination)
        return 0;
    if (!pattern)
        pattern = "h:m:s";
    char* out = destination;
    for (const char* p = pattern; *p; ++p) {
        switch (*p) {
        case 'h': appendTwoDigits(out, time.hour); break;
        case 'm': appendTwoDigits(out, time.minute); break;
        case 's': appendTwoDigits(out, time.second); break;
        default: *out++ = *p; break;
        }
    }
    *out = '\0';
    return 1;
}

int rtcGetTimeText(char* destination, const char* pattern)
{
    return rtcTimeToText(destination, rtcUnpackTime(rtcGetTime()), pattern);
}

int rtcDateToText(char* destination, const RtcDate& date, const char* pattern)
{
    if (!destination)
        return 0;
    if (!pattern)
        pattern = "d.m.cy";
    char* out = destination;
    for (const char* p = pattern; *p; ++p) {
        switch (*p) {
        case 'd': appendTwoDigits(out, date.day); break;
        case 'm': appendTwoDigits(out, date.month); break;
        case 'y': appendTwoDigits(out, date.year % 100u); break;
        case 'c': appendTwoDigits(out, date.year / 100u); break;
        default: *out++ = *p; break;
        }
    }
    *out = '\0';
    return 1;
}

int rtcGetDateText(char* destination, const char* pattern)
{
    RtcDate date;
    rtcGetDate(&date);
    return rtcDateToText(destination, date, pattern);
}

QTime rtcGetQTime()
{
    struct tm local = {};
    if (!localNow(&local, nullptr))
        return QTime(0, 0, 0);
    return QTime(local.tm_hour, local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

QDate rtcGetQDate()
{
    struct tm local = {};
    if (!localNow(&local, nullptr))
        return QDate();
    return QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

int rtcSetQTime(const QTime& time)
{
    if (!time.isValid())
        return 0;
    RtcTime rtc;
    rtc.hour = static_cast<uint8_t>(time.hour());
    rtc.minute = static_cast<uint8_t>(time.minute());
    rtc.second = static_cast<uint8_t>(time.second());
    if (!rtcSetTime(rtc))
        return 0;
    storeHardwareClock();
    return 1;
}

int rtcSetQDate(const QDate& date)
{
    if (!date.isValid() || date.year() < 1998 || date.year() > 1998 + 0xFFFF)
        return 0;
    RtcDate rtc;
    rtc.day = static_cast<uint8_t>(date.day());
    rtc.month = static_cast<uint8_t>(date.month());
    rtc.year = static_cast<uint16_t>(date.year() - 1998);
    rtc.weekday = static_cast<uint8_t>(date.dayOfWeek() % 7);
    if (!rtcSetDate(rtc))
        return 0;
    storeHardwareClock();
    return 1;
}
