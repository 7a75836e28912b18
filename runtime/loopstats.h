#pragma once
// Timing of the main cycle: the shortest and longest interval between two passes
// (counted once the clock has passed 10 s) and the mean interval over the last
// 10 s. The process core calls loopStatsUpdate on every 100 ms tick.
#include <cstdint>

struct LoopStats {
    uint32_t minimum;  // ms, 99999 until measured
    uint32_t maximum;  // ms, 0 until measured
    uint32_t mean;     // ms over the last 10 s, 0 until the clock has passed 10 s
};

void loopStatsUpdate();
void loopStatsGet(LoopStats* out);
// Forgets minimum and maximum.
void loopStatsReset();
