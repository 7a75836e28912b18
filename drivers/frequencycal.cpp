#include "frequencycal.h"

#include "clock.h"

#include <cmath>

FrequencyCal::FrequencyCal(uint32_t timeoutMs, float factor)
    : mLastTime(0), mCount(0), mPeriod(1), mTimeoutMs(timeoutMs), mFactor(factor),
      mMinimum(timeoutMs ? 1000.0f / static_cast<float>(timeoutMs) : INFINITY)
{
}

FrequencyCal::~FrequencyCal() = default;

void FrequencyCal::addMeasurement(uint32_t count, uint32_t period)
{
    if (period == 0)
        return;
    mLock.lock();
    mLastTime = clockGetMs();
    mCount = count;
    mPeriod = period;
    mLock.unlock();
}

float FrequencyCal::frequency()
{
    mLock.lock();
    const uint32_t lastTime = mLastTime;
    const uint32_t count = mCount;
    const uint32_t period = mPeriod;
    mLock.unlock();
    if (static_cast<int32_t>(lastTime + mTimeoutMs - clockGetMs()) <= 0)
        return 0.0f;
    const float f = static_cast<float>(count) * mFactor / static_cast<float>(period);
    return f <= mMinimum ? 0.0f : f;
}
