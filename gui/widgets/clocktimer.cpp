#include "clocktimer.h"

#include "clock.h"

#include <mutex>
#include <set>

namespace {

// Every live timer, for the clock's advance hook, which may run in any thread.
std::mutex& registryLock()
{
    static std::mutex lock;
    return lock;
}

std::set<ClockTimer*>& registry()
{
    static std::set<ClockTimer*> timers;
    return timers;
}

}  // namespace

ClockTimer::ClockTimer(QObject* parent) : QObject(parent)
{
    static const bool hooked = [] {
        clockAddAdvanceHook(&ClockTimer::clockAdvanced);
        return true;
    }();
    (void)hooked;
    mTimer.setSingleShot(true);
    connect(&mTimer, &QTimer::timeout, this, &ClockTimer::check);
    std::lock_guard<std::mutex> guard(registryLock());
    registry().insert(this);
}

ClockTimer::~ClockTimer()
{
    std::lock_guard<std::mutex> guard(registryLock());
    registry().erase(this);
}

void ClockTimer::clockAdvanced()
{
    std::lock_guard<std::mutex> guard(registryLock());
    for (ClockTimer* timer : registry())
        QMetaObject::invokeMethod(timer, "check", Qt::QueuedConnection);
}

void ClockTimer::start(int ms)
{
    if (ms < 0)
        ms = 0;
    mDeadline = clockGetMs() + static_cast<uint32_t>(ms);
    mActive = true;
    mTimer.start(ms);
}

void ClockTimer::stop()
{
    mActive = false;
    mTimer.stop();
}

int ClockTimer::remainingMs() const
{
    if (!mActive)
        return 0;
    const int32_t left = static_cast<int32_t>(mDeadline - clockGetMs());
    return left > 0 ? left : 0;
}

void ClockTimer::check()
{
    if (!mActive)
        return;
    const int left = remainingMs();
    if (left > 0) {
        // Early: the real timer ran ahead of a stopped or slow clock.
        mTimer.start(left);
        return;
    }
    stop();
    emit timeout();
}
