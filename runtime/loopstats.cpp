#include "loopstats.h"

#include "clock.h"

#include <mutex>

namespace {

constexpr uint32_t kNoMinimum = 99999;
constexpr uint32_t kRing = 10;

struct State {
    std::mutex lock;
    bool started = false;
    uint32_t previous = 0;
    uint32_t minimum = kNoMinimum;
    uint32_t maximum = 0;
    uint32_t mean = 0;
    uint32_t passes = 0;
    uint32_t lastSecond = 0;
    uint32_t ringIndex = 0;
    uint32_t ring[kRing] = {};
};

State& state()
{
    static State s;
    return s;
}

} // namespace

void loopStatsUpdate()
{
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    const uint32_t now = clockGetMs();
    uint32_t interval = 0;
    const bool firstPass = !s.started;
    if (firstPass) {
        s.started = true;
        s.previous = now;
        s.minimum = kNoMinimum;
        s.maximum = 0;
    } else {
        interval = now - s.previous;
    }
    ++s.passes;
    const uint32_t second = now / 1000;
    // The first pass has no interval: a 0 there would stand as the minimum.
    if (second > 9 && !firstPass) {
        if (interval < s.minimum)
            s.minimum = interval;
        else if (interval > s.maximum)
            s.maximum = interval;
    }
    if (second > s.lastSecond) {
        s.ringIndex = (s.ringIndex + 1) % kRing;
        const uint32_t inWindow = s.passes - s.ring[s.ringIndex];
        if (second > 9 && inWindow != 0)
            s.mean = 10000 / inWindow;
        s.ring[s.ringIndex] = s.passes;
        s.lastSecond = second;
    }
    s.previous = now;
}

void loopStatsGet(LoopStats* out)
{
    if (out == nullptr)
        return;
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    out->minimum = s.minimum;
    out->maximum = s.maximum;
    out->mean = s.mean;
}

void loopStatsReset()
{
    State& s = state();
    std::lock_guard<std::mutex> guard(s.lock);
    s.minimum = kNoMinimum;
    s.maximum = 0;
}
