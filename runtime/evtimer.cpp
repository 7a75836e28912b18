#include "evtimer.h"

#include "cdebug.h"
#include "eventqueue.h"

#include <QCoreApplication>
#include <QThread>
#include <climits>

namespace {

constexpr int kTimerCount = 16;

// Made on first use in the main thread and kept for the life of the process, so
// that no timer outlives the event dispatcher it is registered with.
CEvTimer* timers()
{
    static CEvTimer* all = new CEvTimer[kTimerCount];
    return all;
}

bool inMainThread(const char* what)
{
    const QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() == app->thread())
        return true;
    CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "%s refused: event timers run only in the main thread", what);
    return false;
}

} // namespace

CEvTimer::CEvTimer() : eventId(0), owner(2), value(0)
{
    // Regulation pulses end on one-shot timers: keep them to the millisecond.
    setTimerType(Qt::PreciseTimer);
    connect(this, &QTimer::timeout, this, &CEvTimer::expired);
}

void CEvTimer::expired()
{
    eventPost(owner, eventId, value);
}

int timerStart(int owner, uint32_t id, uint32_t value, uint32_t ms, bool singleShot)
{
    if (!inMainThread("timer start"))
        return 0;
    CEvTimer* all = timers();
    CEvTimer* chosen = nullptr;
    for (int i = 0; i < kTimerCount && chosen == nullptr; ++i) {
        if (all[i].eventId == id)
            chosen = &all[i];
    }
    for (int i = 0; i < kTimerCount && chosen == nullptr; ++i) {
        if (!all[i].isActive())
            chosen = &all[i];
    }
    if (chosen == nullptr)
        return 0;
    chosen->stop();
    chosen->setSingleShot(singleShot);
    chosen->eventId = id;
    chosen->owner = owner;
    chosen->value = value;
    chosen->setInterval(ms > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(ms));
    chosen->start();
    return 1;
}

int timerStartOneShotWithValue(int owner, uint32_t id, uint32_t value, uint32_t ms)
{
    return owner > 2 ? 0 : timerStart(owner, id, value, ms, true);
}

int timerStartOneShot(int owner, uint32_t id, uint32_t ms)
{
    return timerStartOneShotWithValue(owner, id, 0, ms);
}

int timerStartPeriodicWithValue(int owner, uint32_t id, uint32_t value, uint32_t ms)
{
    if (owner > 2)
        return 0;
    if (ms == 0)
        return timerStop(owner, id);
    return timerStart(owner, id, value, ms, false);
}

int timerStartPeriodic(int owner, uint32_t id, uint32_t ms)
{
    return timerStartPeriodicWithValue(owner, id, 0, ms);
}

int timerStop(int owner, uint32_t id)
{
    if (owner > 2 || !inMainThread("timer stop"))
        return 0;
    CEvTimer* all = timers();
    for (int i = 0; i < kTimerCount; ++i) {
        if (all[i].eventId == id) {
            all[i].stop();
            return 1;
        }
    }
    return 0;
}

int timerActiveInterval(uint32_t id)
{
    CEvTimer* all = timers();
    for (int i = 0; i < kTimerCount; ++i) {
        if (all[i].eventId == id)
            return all[i].isActive() ? all[i].interval() : -1;
    }
    return -1;
}

void evTimerInit() {}
