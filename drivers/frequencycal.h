#pragma once
// Frequency from a pulse count measured over a known period, with a time-out:
// one thread adds measurements, another reads the frequency.
#include "threadfunc.h"

#include <cstdint>

class FrequencyCal {
public:
    // factor scales count per period to hertz (1000000 for periods in microseconds).
    FrequencyCal(uint32_t timeoutMs, float factor);
    virtual ~FrequencyCal();

    // Stores the measurement with the current time; a period of 0 is ignored.
    void addMeasurement(uint32_t count, uint32_t period);
    // count * factor / period; 0 once timeoutMs have passed since the last
    // measurement or when not above 1000 / timeoutMs.
    float frequency();

private:
    uint32_t mLastTime;
    uint32_t mCount;
    uint32_t mPeriod;
    uint32_t mTimeoutMs;
    float mFactor;
    float mMinimum;
    threadfunc::mutex mLock;
};
