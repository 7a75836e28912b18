#pragma once
// Integer moving average over a buffer the caller owns. Options: a zero hold
// (after that many zero samples in a row the average drops to 0 at once) and a
// jump limit (a sample that differs from the average by more than that percentage
// refills the whole buffer with it).
#include <cstdint>

struct MovingAverage {
    uint32_t* buffer;
    uint16_t size;
    uint16_t zeroHold;
    uint16_t jumpPercent;
    uint16_t rounding;
    uint16_t index;
    uint32_t sum;
    uint32_t average;
    uint16_t zeroCount;
};

// Binds the buffer of size samples (all expected 0); without a buffer the filter
// has size 0 and only answers its stored average. The flag has no effect.
void movingAverageInit(MovingAverage* filter, uint32_t* buffer, uint16_t size, uint32_t flag);
// 0 switches an option off.
void movingAverageSetOptions(MovingAverage* filter, uint16_t zeroHold, uint16_t jumpPercent);
// Adds a sample; the new average, rounded.
uint32_t movingAverageUpdate(MovingAverage* filter, uint32_t sample);
