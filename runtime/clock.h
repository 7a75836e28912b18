#pragma once
// The program's clocks. One monotonic millisecond clock (one tick = 1 ms) is the
// time base of every timeout, timer and statistic; the wall-clock functions read
// and set the local time and date through the command runner, so that under a
// system root only the program's own wall clock moves.
//
// Millisecond readings are uint32_t and wrap after about 49 days; compare two of
// them as a signed difference: (int32_t)(later - earlier).
#include <QDate>
#include <QTime>
#include <cstdint>
#include <ctime>

// ---- Monotonic clock (relative to the base, taken at the first reading) ----

// Monotonic time minus the base, component by component: the nanosecond part is
// not normalised and may be negative.
void clockGetElapsed(int32_t* seconds, int32_t* nanoseconds);
// Milliseconds since the base.
uint32_t clockGetMs();
// Same as clockGetMs: one tick is one millisecond.
uint32_t clockGetTicks();
// Takes the base (when not yet taken) and returns clockGetMs; called once at start-up.
uint32_t clockStart();
// Ticks are milliseconds: returned unchanged.
uint32_t clockTicksToMs(uint32_t ticks);
// Microseconds since the base (wraps after about 71 minutes).
uint32_t clockGetUs();
// Microseconds of the monotonic source itself, not relative to the base.
uint32_t clockGetRawUs();

// ---- Test seam for the monotonic clock ----
// Tests drive time without sleeping. Every reading above, and therefore every
// software timer (threadfunc.h) and kernel alarm, follows the selected source.
// The event timers (evtimer.h) are Qt timers and keep to Qt's own clock.
//
//   clockUseManual();        // time stands still from now on
//   clockAdvanceMs(5000);    // 5 s pass at once; due timers fire
//   clockUseReal();          // back to CLOCK_MONOTONIC, without a jump backwards
//
// clockSetSource installs any function that returns a monotonic time; nullptr
// selects CLOCK_MONOTONIC. Switching sources never makes the reading go back.
using ClockSource = struct timespec (*)();
void clockSetSource(ClockSource source);
// Manual source: frozen at the current reading until clockAdvanceMs moves it.
void clockUseManual();
// Moves the manual source forward (no effect on another source) and runs the
// advance hooks, which wake waiters such as the timer thread.
void clockAdvanceMs(uint32_t ms);
// Back to CLOCK_MONOTONIC.
void clockUseReal();
// Registers a function run after each clockAdvanceMs (at most 16; duplicates are
// ignored). Hooks must not block.
void clockAddAdvanceHook(void (*hook)());

// ---- Wall clock (local time) ----

// Time of day in this byte order; packed: hour bits 0-7, minute 8-15, second 16-23.
struct RtcTime {
    uint8_t hour;    // 0-23
    uint8_t minute;  // 0-59
    uint8_t second;  // 0-59
};

struct RtcDate {
    uint8_t day;      // 1-31
    uint8_t month;    // 1-12
    uint16_t year;    // rtcGetDate: full year (2024); rtcSetDate: years since 1998 (26)
    uint8_t weekday;  // 0 = Sunday ... 6 = Saturday; ignored by rtcSetDate
};

inline uint32_t rtcPackTime(const RtcTime& time)
{
    return static_cast<uint32_t>(time.hour) | (static_cast<uint32_t>(time.minute) << 8) |
           (static_cast<uint32_t>(time.second) << 16);
}

inline RtcTime rtcUnpackTime(uint32_t packed)
{
    RtcTime time;
    time.hour = static_cast<uint8_t>(packed & 0xFF);
    time.minute = static_cast<uint8_t>((packed >> 8) & 0xFF);
    time.second = static_cast<uint8_t>((packed >> 16) & 0xFF);
    return time;
}

// Current local time of day, packed as above.
uint32_t rtcGetTime();
// Sets the local time of day, keeping the date and the sub-second part.
// Returns 1 when the clock was set, 0 for an invalid time or when setting failed.
int rtcSetTime(const RtcTime& time);
// Current local date (full year).
void rtcGetDate(RtcDate* date);
// Sets the local date (year since 1998), keeping the time of day. Returns 1 when
// the clock was set, 0 for an invalid date or when setting failed.
int rtcSetDate(const RtcDate& date);

// Writes the time by pattern: 'h' hour, 'm' minute, 's' second as two digits, any
// other character copied; nullptr means "h:m:s". The destination needs two
// characters per letter, one per other character, plus the terminating zero.
// Returns 1, or 0 when the destination is null.
int rtcTimeToText(char* destination, const RtcTime& time, const char* pattern);
int rtcGetTimeText(char* destination, const char* pattern);
// Writes the date by pattern: 'd' day, 'm' month, 'y' year modulo 100, 'c' century
// as two digits, any other character copied; nullptr means "d.m.cy".
// The year must be the full year. Returns 1, or 0 when the destination is null.
int rtcDateToText(char* destination, const RtcDate& date, const char* pattern);
int rtcGetDateText(char* destination, const char* pattern);

// Qt forms for the GUI's date and time settings and the log writers.
QTime rtcGetQTime();
QDate rtcGetQDate();
// Set the time of day (date) and store it in the hardware clock by running
// "/sbin/hwclock --systohc" then "/etc/init.d/save-rtc.sh". Return 1 when the
// clock was set; 0, with neither command run, for an invalid value or when the
// clock could not be set (e.g. without the right to do so).
int rtcSetQTime(const QTime& time);
int rtcSetQDate(const QDate& date);
