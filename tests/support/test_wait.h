#pragma once
// Waiting in real-time tests: polls a condition until it holds or time is up.
#include <chrono>
#include <functional>
#include <thread>

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
