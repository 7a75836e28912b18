#pragma once
// Speed source, speed calibration and simulated speed.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// At process start.
void speedInit();
// Speed commands of the dispatcher.
void speedHandleEvent(uint32_t id, uint32_t arg);
