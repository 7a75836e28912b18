#pragma once
// Power-down: backlight off, the regulation shut out, every valve and section
// off, then after a fixed wait the system is powered off. Never returns to
// normal operation. Blocks the calling (GUI) thread for the wait.
#include <cstdint>

enum : uint32_t { POWER_DOWN_WAIT_MS = 5000 };

void processPowerDown();
