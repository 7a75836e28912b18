#pragma once
// Sixteen event timers, each posting its bound event (eventPost) once or
// periodically. One event id is served by at most one timer: starting an id
// again restarts its timer with the new interval, mode and value. The timers
// belong to the main thread; start and stop them there (calls from any other
// thread are refused with 0).
//
// Owners: 2 for the process core's ticks and timers, 1 for the regulation; any
// owner above 2 is refused, otherwise it is only carried along to eventPost.
#include <QTimer>
#include <cstdint>

class CEvTimer : public QTimer {
    Q_OBJECT
public:
    CEvTimer();

    uint32_t eventId;  // bound event, 0 until first use
    int owner;
    uint32_t value;

public slots:
    // Posts the bound event with the timer's owner and value.
    void expired();
};

// The common start: reuse the timer bound to the id (running or not), else the
// first inactive timer. 1 when started; 0 when all 16 run for other ids.
int timerStart(int owner, uint32_t id, uint32_t value, uint32_t ms, bool singleShot);
// Results: 1 started, 0 for owner > 2, no free timer, or a call off the main thread.
int timerStartOneShotWithValue(int owner, uint32_t id, uint32_t value, uint32_t ms);
int timerStartOneShot(int owner, uint32_t id, uint32_t ms);
// ms 0 stops the id's timer instead and returns timerStop's result.
int timerStartPeriodicWithValue(int owner, uint32_t id, uint32_t value, uint32_t ms);
int timerStartPeriodic(int owner, uint32_t id, uint32_t ms);
// 1 when a timer bound to the id was stopped (it stays bound); 0 for owner > 2 or no such timer.
int timerStop(int owner, uint32_t id);
// Interval in ms of the running timer bound to the id; -1 when none runs.
int timerActiveInterval(uint32_t id);
// Start-up hook; nothing to do.
void evTimerInit();
