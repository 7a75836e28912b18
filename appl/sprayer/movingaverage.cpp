#include "movingaverage.h"

void movingAverageInit(MovingAverage* filter, uint32_t* buffer, uint16_t size, uint32_t /*flag*/)
{
    *filter = MovingAverage{};
    filter->buffer = buffer;
    if (buffer != nullptr) {
        filter->size = size;
        filter->rounding = static_cast<uint16_t>(size / 2);
    }
}

void movingAverageSetOptions(MovingAverage* filter, uint16_t zeroHold, uint16_t jumpPercent)
{
    filter->zeroHold = zeroHold;
    filter->jumpPercent = jumpPercent;
}

namespace {

void fill(MovingAverage* filter, uint32_t sample)
{
    for (uint16_t i = 0; i < filter->size; ++i)
        filter->buffer[i] = sample;
    filter->sum = static_cast<uint32_t>(filter->size) * sample;
}

// The jump test is skipped while the average is 0: there is no base for a percentage.
bool isJump(const MovingAverage* filter, uint32_t sample)
{
    if (filter->jumpPercent == 0 || filter->average == 0)
        return false;
    const uint64_t difference = sample > filter->average ? sample - filter->average : filter->average - sample;
    return difference * 100 / filter->average > filter->jumpPercent;
}

}  // namespace

uint32_t movingAverageUpdate(MovingAverage* filter, uint32_t sample)
{
    if (filter->size == 0)
        return filter->average;
    filter->index = static_cast<uint16_t>((filter->index + 1) % filter->size);
    if (isJump(filter, sample))
        fill(filter, sample);
    filter->sum = filter->sum + sample - filter->buffer[filter->index];
    filter->buffer[filter->index] = sample;
    if (filter->zeroHold != 0) {
        if (sample != 0) {
            filter->zeroCount = filter->zeroHold;
        } else {
            const uint16_t before = filter->zeroCount;
            if (before > 0)
                --filter->zeroCount;
            if (before <= 1)
                fill(filter, 0);
        }
    }
    filter->average = (filter->rounding + filter->sum) / filter->size;
    return filter->average;
}
