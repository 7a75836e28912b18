#pragma once
// Tank calibration, tank content and filling.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// At process start.
void tankProceduresInit(uint32_t newStore);
// From the dispatcher's common tail, with a tank or fill-flow sensor.
void tankProceduresHandleEvent(uint32_t id);
// Tank content from the level sensor.
uint16_t tankContentFromLevel();
