#pragma once
// Rate regulation: the state machine that drives the regulating valve.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// At process start.
void regulInit();
// Entry from the dispatcher's common tail.
void regulHandleEvent(uint32_t id, uint32_t arg);
