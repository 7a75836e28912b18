#pragma once
// The process core's command and cycle dispatcher. Every event of the chain and
// every setting a page commits (same EV_ ids) runs one case here; a common tail
// then hands the event to the regulation, the tank procedures and the flow
// calibration. GUI thread only.
#include <cstdint>

// 1 only for EV_PROCESS_START when the I/O start failed; 0 otherwise.
uint32_t processEvent(uint32_t id, uint32_t value);

// Where the common tail hands each event. Tests wrap an entry to watch it.
struct ProcessEventTail {
    void (*regulation)(uint32_t id, uint32_t arg);
    void (*tankProcedures)(uint32_t id);
    void (*flowCalibration)(uint32_t id);
};
ProcessEventTail& processEventTail();

// Sees every call (id and value, in order) before the id's own case; it must
// not change what the call does. Null by default; tests install a recorder.
typedef void (*ProcessEventObserver)(uint32_t id, uint32_t value);
ProcessEventObserver& processEventObserver();
