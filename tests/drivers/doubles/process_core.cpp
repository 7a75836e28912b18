// Test double of the process core (see process_core.h).
#include "process_core.h"

#include "datastore.h"
#include "debugcon.h"
#include "dshooks.h"
#include "dsvcappl.h"
#include "eventqueue.h"
#include "platform.h"
#include "reglink.h"
#include "sectrix.h"

#include <map>
#include <mutex>

namespace {

constexpr uint32_t kEventTick100ms = 5;
constexpr uint32_t kOwnerCore = 2;
constexpr uint32_t kRegisterLinkPort = 2;

struct PeriodicEvent {
    uint32_t id;
    uint32_t ms;
};
// Started by the core in this order; id 4 (50 ms) only with the flow printout
// or the CAN flow messages.
constexpr PeriodicEvent kPeriodicEvents[] = {
    {331, 100}, {360, 10000}, {9, 1000}, {8, 500}, {7, 250}, {5, 100},
};
constexpr PeriodicEvent kFlowEvent = {4, 50};

std::mutex gLock;
std::vector<std::pair<uint32_t, uint32_t>> gEvents;
std::map<uint32_t, uint32_t> gCounts;
std::vector<CoreHookCall> gHookCalls;
std::vector<uint32_t> gCounterSetups;
void (*gObserver)(uint32_t, uint32_t) = nullptr;

uint32_t recordHook(const char* hook, uint32_t id)
{
    std::lock_guard<std::mutex> guard(gLock);
    gHookCalls.push_back(CoreHookCall{hook, id});
    return 0;
}

bool flowEventWanted()
{
    return datastoreGetBool(DS_FLOW_PRINTOUT_ENABLED) != 0 || datastoreGetBool(DS_CAN_FLOW_MESSAGES_ENABLED) != 0;
}

}  // namespace

void coreEventHandler(uint32_t id, uint32_t value)
{
    {
        std::lock_guard<std::mutex> guard(gLock);
        gEvents.emplace_back(id, value);
        ++gCounts[id];
    }
    sectrixHandleEvent(id, value);
    tickHookRun(id, value);
    if (id == kEventTick100ms) {
        platformUpdate();
        loopStatsUpdate();
        if (datastoreGetBool(DS_FLOW_PRINTOUT_ENABLED) == 0) {
            regLinkPoll(kRegisterLinkPort);
            regLinkService(kRegisterLinkPort);
        }
    }
    if (gObserver != nullptr)
        gObserver(id, value);
}

void coreStart()
{
    tickHookInit();
    evTimerInit();
    debugSetMask(datastoreGetUint16(DS_DEBUG_MASK));
    debugSetLevel(datastoreGetUint16(DS_DEBUG_LEVEL));
    eventSetCallback(coreEventHandler);
    for (const PeriodicEvent& event : kPeriodicEvents)
        timerStartPeriodic(kOwnerCore, event.id, event.ms);
    if (flowEventWanted())
        timerStartPeriodic(kOwnerCore, kFlowEvent.id, kFlowEvent.ms);
}

void coreStop()
{
    for (const PeriodicEvent& event : kPeriodicEvents)
        timerStop(kOwnerCore, event.id);
    timerStop(kOwnerCore, kFlowEvent.id);
}

std::vector<std::pair<uint32_t, uint32_t>> coreTakeEvents()
{
    std::lock_guard<std::mutex> guard(gLock);
    std::vector<std::pair<uint32_t, uint32_t>> taken;
    taken.swap(gEvents);
    return taken;
}

uint32_t coreEventCount(uint32_t id)
{
    std::lock_guard<std::mutex> guard(gLock);
    const auto found = gCounts.find(id);
    return found == gCounts.end() ? 0 : found->second;
}

void coreResetCounts()
{
    std::lock_guard<std::mutex> guard(gLock);
    gCounts.clear();
}

void coreSetEventObserver(void (*observer)(uint32_t id, uint32_t value))
{
    gObserver = observer;
}

std::vector<CoreHookCall> coreTakeHookCalls()
{
    std::lock_guard<std::mutex> guard(gLock);
    std::vector<CoreHookCall> taken;
    taken.swap(gHookCalls);
    return taken;
}

std::vector<uint32_t> coreTakeCounterSetups()
{
    std::lock_guard<std::mutex> guard(gLock);
    std::vector<uint32_t> taken;
    taken.swap(gCounterSetups);
    return taken;
}

// ---- Functions of the core that the parameter store calls ----

namespace {

uint32_t pulsupdtInitSpecificPulsCounters(uint32_t counter)
{
    std::lock_guard<std::mutex> guard(gLock);
    gCounterSetups.push_back(counter);
    return 0;
}

uint32_t pulsupdtNewFlowCal(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("pulsupdtNewFlowCal", id);
}

uint32_t pulsupdtNewFlowCalCorr(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("pulsupdtNewFlowCalCorr", id);
}

uint32_t pulsupdtNewFlowCalNH3Corr(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("pulsupdtNewFlowCalNH3Corr", id);
}

uint32_t pulsupdtSpeedSourceChanged(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("pulsupdtSpeedSourceChanged", id);
}

uint32_t processFillFlowCalChanged(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("processFillFlowCalChanged", id);
}

uint32_t processPulseRatioChanged(uint32_t id, const void*, uint32_t, uint16_t)
{
    return recordHook("processPulseRatioChanged", id);
}

}  // namespace

void coreRegister()
{
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, pulsupdtNewFlowCal);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_CORR, pulsupdtNewFlowCalCorr);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_NH3_CORR, pulsupdtNewFlowCalNH3Corr);
    datastoreRegisterChangeHook(DS_HOOK_SPEED_SOURCE_CHANGED, pulsupdtSpeedSourceChanged);
    datastoreRegisterChangeHook(DS_HOOK_FILL_FLOW_CAL_CHANGED, processFillFlowCalChanged);
    datastoreRegisterChangeHook(DS_HOOK_PULSE_RATIO_CHANGED, processPulseRatioChanged);
    dsvcapplRegisterCounterSetup(pulsupdtInitSpecificPulsCounters);
}
