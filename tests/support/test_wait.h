#pragma once
// Waiting and timing in real-time tests.
#include <chrono>
#include <functional>
#include <sys/resource.h>
#include <thread>

// CPU time used by the whole process so far, in seconds: the measure of a
// loop that must wait instead of spinning.
inline double processCpuSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Polls a condition until it holds or time is up.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
