// Pulse-counter records served to the store's record items, until the
// pulse-input module is part of the build.
#include <cstring>
#include <mutex>

#include "store_doubles.h"

namespace {
constexpr uint32_t tripWords = 3;
constexpr uint32_t configWords = 12;
constexpr uint32_t counters = 23;

std::mutex lock;
uint32_t trips[counters][tripWords];
uint32_t configs[counters][configWords];
std::vector<CounterLoad> loads;

uint32_t refresh(const uint32_t* record, uint32_t words, void* buffer)
{
    const size_t size = words * sizeof(uint32_t);
    const bool changed = std::memcmp(buffer, record, size) != 0;
    std::memcpy(buffer, record, size);
    return changed ? 1 : 0;
}
} // namespace

void setTripRecord(uint32_t trip, uint32_t remainder, uint32_t units, uint32_t running)
{
    std::lock_guard<std::mutex> guard(lock);
    trips[trip][0] = remainder;
    trips[trip][1] = units;
    trips[trip][2] = running;
}

void setConfigRecord(uint32_t counter, const uint32_t (&words)[12])
{
    std::lock_guard<std::mutex> guard(lock);
    std::memcpy(configs[counter], words, sizeof words);
}

std::vector<CounterLoad> takeCounterLoads()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<CounterLoad> taken;
    taken.swap(loads);
    return taken;
}

void clearCounterRecords()
{
    std::lock_guard<std::mutex> guard(lock);
    std::memset(trips, 0, sizeof trips);
    std::memset(configs, 0, sizeof configs);
    loads.clear();
}

uint32_t pulsDsTripSize(uint32_t)
{
    return tripWords * sizeof(uint32_t);
}

uint32_t pulsDsConfigSize(uint32_t)
{
    return configWords * sizeof(uint32_t);
}

uint32_t pulsDsGetTrip(uint32_t trip, void* buffer)
{
    std::lock_guard<std::mutex> guard(lock);
    return trip < counters ? refresh(trips[trip], tripWords, buffer) : 0;
}

uint32_t pulsDsGetCounterConfig(uint32_t counter, void* buffer)
{
    std::lock_guard<std::mutex> guard(lock);
    return counter < counters ? refresh(configs[counter], configWords, buffer) : 0;
}

uint32_t pulsDsSetTrip(uint32_t trip, const void* value)
{
    std::lock_guard<std::mutex> guard(lock);
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    loads.push_back(CounterLoad{"trip", trip, std::vector<uint8_t>(bytes, bytes + tripWords * 4)});
    if (trip < counters)
        std::memcpy(trips[trip], value, tripWords * 4);
    return 0;
}

uint32_t pulsDsSetCounterConfig(uint32_t counter, const void* value)
{
    std::lock_guard<std::mutex> guard(lock);
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    loads.push_back(CounterLoad{"config", counter, std::vector<uint8_t>(bytes, bytes + configWords * 4)});
    if (counter < counters)
        std::memcpy(configs[counter], value, configWords * 4);
    return 0;
}
