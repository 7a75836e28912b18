#pragma once
// Flow meter and pressure sensor calibration.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// At process start.
void flowCalInit();
// From the dispatcher's common tail.
void flowCalHandleEvent(uint32_t id);
// EV_SET_PRESSURE_CAL_MAX; 1 when the span was set.
uint32_t pressureSpanCal();
