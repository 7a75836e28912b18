#include "dshooks.h"

#include "cdebug.h"

#include <atomic>

namespace {

constexpr const char* kHookNames[DS_HOOK_COUNT] = {
    "pulsupdtNewFlowCal",         "pulsupdtNewFlowCalCorr",    "pulsupdtNewFlowCalNH3Corr",
    "pulsupdtSpeedSourceChanged", "processFillFlowCalChanged", "processPulseRatioChanged",
};

std::atomic<DsHookFunc> gHooks[DS_HOOK_COUNT] = {};
// Set once the missing hook of the slot has been logged; cleared by a registration.
std::atomic<bool> gHookMissingLogged[DS_HOOK_COUNT] = {};

std::atomic<const DsCounterRecordFuncs*> gCounterRecords{nullptr};
std::atomic<bool> gCounterRecordsMissingLogged{false};

const DsCounterRecordFuncs* counterRecords(uint32_t number)
{
    const DsCounterRecordFuncs* funcs = gCounterRecords;
    if (funcs == nullptr && !gCounterRecordsMissingLogged.exchange(true))
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "pulse-counter records not registered, counter %u left out",
                   number);
    return funcs;
}

}  // namespace

uint32_t datastoreRegisterChangeHook(DsChangeHook slot, DsHookFunc hook)
{
    if (slot >= DS_HOOK_COUNT)
        return 0;
    gHooks[slot] = hook;
    gHookMissingLogged[slot] = false;
    return 1;
}

uint32_t dsCallChangeHook(DsChangeHook slot, uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    if (slot >= DS_HOOK_COUNT)
        return 0;
    const DsHookFunc hook = gHooks[slot];
    if (hook != nullptr)
        return hook(id, value, size, type);
    if (!gHookMissingLogged[slot].exchange(true))
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "item %u: change hook %s not registered, change not handed on",
                   id, kHookNames[slot]);
    return 0;
}

void datastoreRegisterCounterRecords(const DsCounterRecordFuncs* funcs)
{
    gCounterRecords = funcs;
    gCounterRecordsMissingLogged = false;
}

uint32_t dsCounterStateSize(uint32_t)
{
    return DS_COUNTER_STATE_SIZE;
}

uint32_t dsCounterStateGet(uint32_t trip, void* buffer)
{
    const DsCounterRecordFuncs* funcs = counterRecords(trip);
    return funcs != nullptr && funcs->getState != nullptr ? funcs->getState(trip, buffer) : 0;
}

uint32_t dsCounterStateLoad(uint32_t trip, const void* value)
{
    const DsCounterRecordFuncs* funcs = counterRecords(trip);
    return funcs != nullptr && funcs->loadState != nullptr ? funcs->loadState(trip, value) : 0;
}

uint32_t dsCounterRecordSize(uint32_t)
{
    return DS_COUNTER_RECORD_SIZE;
}

uint32_t dsCounterRecordGet(uint32_t counter, void* buffer)
{
    const DsCounterRecordFuncs* funcs = counterRecords(counter);
    return funcs != nullptr && funcs->getRecord != nullptr ? funcs->getRecord(counter, buffer) : 0;
}

uint32_t dsCounterRecordLoad(uint32_t counter, const void* value)
{
    const DsCounterRecordFuncs* funcs = counterRecords(counter);
    return funcs != nullptr && funcs->loadRecord != nullptr ? funcs->loadRecord(counter, value) : 0;
}
