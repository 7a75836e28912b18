// Records the calls of the process core's functions made by the store.
#include <cstring>
#include <mutex>

#include "store_doubles.h"

#include "dshooks.h"
#include "dsvcappl.h"

namespace {
std::mutex lock;
std::vector<HookCall> hookCalls;
std::vector<uint32_t> counterSetups;

uint32_t record(const char* hook, uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    std::lock_guard<std::mutex> guard(lock);
    const uint8_t* bytes = static_cast<const uint8_t*>(value);
    hookCalls.push_back(HookCall{hook, id, std::vector<uint8_t>(bytes, bytes + size), type});
    return 0;
}

uint32_t pulsupdtInitSpecificPulsCounters(uint32_t counter)
{
    std::lock_guard<std::mutex> guard(lock);
    counterSetups.push_back(counter);
    return 0;
}

uint32_t pulsupdtNewFlowCal(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("pulsupdtNewFlowCal", id, value, size, type);
}

uint32_t pulsupdtNewFlowCalCorr(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("pulsupdtNewFlowCalCorr", id, value, size, type);
}

uint32_t pulsupdtNewFlowCalNH3Corr(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("pulsupdtNewFlowCalNH3Corr", id, value, size, type);
}

uint32_t pulsupdtSpeedSourceChanged(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("pulsupdtSpeedSourceChanged", id, value, size, type);
}

uint32_t processFillFlowCalChanged(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("processFillFlowCalChanged", id, value, size, type);
}

uint32_t processPulseRatioChanged(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return record("processPulseRatioChanged", id, value, size, type);
}
} // namespace

std::vector<HookCall> takeHookCalls()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<HookCall> calls;
    calls.swap(hookCalls);
    return calls;
}

std::vector<uint32_t> takeCounterSetups()
{
    std::lock_guard<std::mutex> guard(lock);
    std::vector<uint32_t> calls;
    calls.swap(counterSetups);
    return calls;
}

void registerStoreDoubles()
{
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, pulsupdtNewFlowCal);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_CORR, pulsupdtNewFlowCalCorr);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_NH3_CORR, pulsupdtNewFlowCalNH3Corr);
    datastoreRegisterChangeHook(DS_HOOK_SPEED_SOURCE_CHANGED, pulsupdtSpeedSourceChanged);
    datastoreRegisterChangeHook(DS_HOOK_FILL_FLOW_CAL_CHANGED, processFillFlowCalChanged);
    datastoreRegisterChangeHook(DS_HOOK_PULSE_RATIO_CHANGED, processPulseRatioChanged);
    dsvcapplRegisterCounterSetup(pulsupdtInitSpecificPulsCounters);
}
