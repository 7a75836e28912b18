// Timing of the event queue as the main thread sees it:
//   1. lateness of the periodic 100 ms tick against its ideal schedule and the
//      spread of the interval between two ticks (median, 99th percentile, max);
//   2. the cost of one eventPost from a worker thread to its delivery in the
//      handler, one event at a time, and per event in a burst from the main thread.
// Usage: runtime_bench_eventqueue [seconds of ticks, default 60]
#include "clock.h"
#include "eventqueue.h"
#include "kernel.h"
#include "threadfunc.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kTick = 5;
constexpr uint32_t kPing = 77;
constexpr uint32_t kBurst = 78;
constexpr uint32_t kPings = 20000;
constexpr uint32_t kBurstEvents = 200000;

std::vector<uint32_t> gTickUs;
std::vector<uint32_t> gPingUs;
uint32_t gBurstSeen = 0;
KernelHandle gPingDone = nullptr;

void handler(uint32_t id, uint32_t value)
{
    const uint32_t now = clockGetUs();
    if (id == kTick) {
        gTickUs.push_back(now);
    } else if (id == kPing) {
        gPingUs.push_back(now - value);
        kernelSemaphoreSignal(&gPingDone);
    } else if (id == kBurst) {
        if (++gBurstSeen == kBurstEvents)
            QCoreApplication::quit();
    }
}

void pinger(uint32_t)
{
    for (uint32_t i = 0; i < kPings; ++i) {
        eventPost(2, kPing, clockGetUs());
        kernelSemaphoreWait(&gPingDone);
    }
    eventPost(2, 0, 0);
}

void report(const char* what, std::vector<double> samples)
{
    if (samples.empty()) {
        std::printf("%-44s no samples\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    const double median = samples[samples.size() / 2];
    const double p99 = samples[std::min(samples.size() - 1, samples.size() * 99 / 100)];
    std::printf("%-44s n=%-7zu median %9.3f  p99 %9.3f  max %9.3f  (ms)\n", what, samples.size(), median, p99,
                samples.back());
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    QCoreApplication app(argc, argv);
    eventRegistryInit();
    eventSetCallback(handler);
    kernelSemaphoreCreate(&gPingDone, 0);

    // 1. The 100 ms tick.
    gTickUs.reserve(seconds * 10 + 16);
    uint32_t startUs = 0;
    QTimer::singleShot(0, [&] {
        startUs = clockGetUs();
        timerStartPeriodic(2, kTick, 100);
    });
    QTimer::singleShot(seconds * 1000 + 50, [] {
        timerStop(2, kTick);
        QCoreApplication::quit();
    });
    app.exec();
    std::vector<double> lateness, interval;
    for (size_t k = 0; k < gTickUs.size(); ++k) {
        lateness.push_back((static_cast<int32_t>(gTickUs[k] - startUs) - int32_t(k + 1) * 100000) / 1000.0);
        if (k > 0)
            interval.push_back(std::abs(static_cast<int32_t>(gTickUs[k] - gTickUs[k - 1]) - 100000) / 1000.0);
    }
    std::printf("100 ms tick over %d s (%zu ticks, %.2f per second)\n", seconds, gTickUs.size(),
                gTickUs.size() / double(seconds));
    report("  lateness against the ideal schedule", lateness);
    report("  |interval - 100 ms| between ticks", interval);

    // 2a. One event at a time from a worker thread to the handler.
    gPingUs.reserve(kPings);
    kernelTaskCreate(99, pinger, 0, __FILE__, __LINE__);
    eventSetCallback([](uint32_t id, uint32_t value) {
        if (id == 0)
            QCoreApplication::quit();
        else
            handler(id, value);
    });
    app.exec();
    std::vector<double> ping;
    for (uint32_t us : gPingUs)
        ping.push_back(us / 1000.0);
    report("eventPost (worker) to handler, one at a time", ping);

    // 2b. A burst from the main thread: total time per event.
    eventSetCallback(handler);
    const uint32_t burstStart = clockGetUs();
    for (uint32_t i = 0; i < kBurstEvents; ++i)
        eventPost(2, kBurst, i);
    const uint32_t posted = clockGetUs();
    app.exec();
    const uint32_t delivered = clockGetUs();
    std::printf("burst of %u events from the main thread: post %.3f us/event, post to last delivery %.3f us/event\n",
                kBurstEvents, (posted - burstStart) / double(kBurstEvents),
                (delivered - burstStart) / double(kBurstEvents));
    return 0;
}
