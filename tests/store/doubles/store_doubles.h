#pragma once
// Test doubles of the modules that the parameter store calls: the process
// core's change hooks and counter set-up, and the pulse-counter record
// callbacks. Every call is recorded for the tests to check.
#include <cstdint>
#include <string>
#include <vector>

struct HookCall {
    std::string hook;
    uint32_t id;
    std::vector<uint8_t> value;
    uint16_t type;
};

std::vector<HookCall> takeHookCalls();
std::vector<uint32_t> takeCounterSetups();

// Pulse-counter records as the pulse-input module would hold them.
struct CounterLoad {
    std::string kind; // "trip" or "config"
    uint32_t counter;
    std::vector<uint8_t> record;
};
void setTripRecord(uint32_t trip, uint32_t remainder, uint32_t units, uint32_t running);
void setConfigRecord(uint32_t counter, const uint32_t (&words)[12]);
std::vector<CounterLoad> takeCounterLoads();
void clearCounterRecords();
