#pragma once
// Functions of the layers above the store that catalogue items call: the
// process core's change hooks and the drivers' pulse-counter records. The
// owners register them at start-up, before the store is initialised. An item
// whose function is not registered behaves as an item without one; the first
// such call is logged (level WAR, category "cDefault"), not silently dropped.
#include <cstdint>

#include "dscatalogue.h"

// Change hooks by the process core function they take.
enum DsChangeHook : uint32_t {
    DS_HOOK_NEW_FLOW_CAL = 0,      // pulsupdtNewFlowCal: DS_FLOW_CAL_NUMBER
    DS_HOOK_NEW_FLOW_CAL_CORR,     // pulsupdtNewFlowCalCorr: DS_SPRAYER_MODE_FACTOR
    DS_HOOK_NEW_FLOW_CAL_NH3_CORR, // pulsupdtNewFlowCalNH3Corr: DS_NH3_DENSITY_FACTOR
    DS_HOOK_SPEED_SOURCE_CHANGED,  // pulsupdtSpeedSourceChanged: speed calibration and source items
    DS_HOOK_FILL_FLOW_CAL_CHANGED, // processFillFlowCalChanged: DS_FILL_FLOW_CAL_NUMBER
    DS_HOOK_PULSE_RATIO_CHANGED,   // processPulseRatioChanged: DS_PULSE_COUNT_266 and 267
    DS_HOOK_COUNT,
};

// Binds hook to every item of the slot; null unbinds. -> 1, 0 for a slot out of range.
uint32_t datastoreRegisterChangeHook(DsChangeHook slot, DsHookFunc hook);

// Calls the hook registered for slot -> its result, 0 when none is registered.
uint32_t dsCallChangeHook(DsChangeHook slot, uint32_t id, const void* value, uint32_t size, uint16_t type);

// The catalogue's change hook of a slot: one function per slot, so that items
// sharing a slot share a hook.
template <DsChangeHook slot>
uint32_t dsChangeHook(uint32_t id, const void* value, uint32_t size, uint16_t type)
{
    return dsCallChangeHook(slot, id, value, size, type);
}

// Record sizes of the pulse-counter items; part of the store image layout.
enum : uint32_t {
    DS_COUNTER_STATE_SIZE = 12,  // trip: remainder, units, running
    DS_COUNTER_RECORD_SIZE = 48, // counter: c0..c8, 0, units, remainder
};

// Served by the pulse-counter module; the argument is the trip or counter number.
// get fills the buffer and returns nonzero when the value changed; load hands a
// value loaded from the store back.
struct DsCounterRecordFuncs {
    DsReadFunc getState;
    DsLoadFunc loadState;
    DsReadFunc getRecord;
    DsLoadFunc loadRecord;
};

// The table must outlive its use; null unregisters.
void datastoreRegisterCounterRecords(const DsCounterRecordFuncs* funcs);

// The catalogue's callbacks of the pulse-counter items.
uint32_t dsCounterStateSize(uint32_t trip);
uint32_t dsCounterStateGet(uint32_t trip, void* buffer);
uint32_t dsCounterStateLoad(uint32_t trip, const void* value);
uint32_t dsCounterRecordSize(uint32_t counter);
uint32_t dsCounterRecordGet(uint32_t counter, void* buffer);
uint32_t dsCounterRecordLoad(uint32_t counter, const void* value);
