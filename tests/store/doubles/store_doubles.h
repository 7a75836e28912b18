#pragma once
// Test doubles of the process core's functions that the parameter store
// calls: the change hooks and the counter set-up. Every call is recorded for
// the tests to check once registerStoreDoubles has handed them to the store.
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

// Registers the doubles as the store's change hooks and counter set-up.
void registerStoreDoubles();
