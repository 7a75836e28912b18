#pragma once
// Set-up of the sprayer's 21 pulse counters and their unit factors, which follow
// the calibration numbers in the datastore: counters 2 and 5 carry the flow
// factor, the pair of the selected speed source the speed factor. Runs in the
// GUI thread.
#include <cstdint>

// Hands the change callbacks below and the one-counter set-up to the parameter
// store; called at start-up before the store starts.
void pulsupdtRegister();

// Sets up counters 1 to 21 and clears their values and trips; for a new
// datastore. 0, or the first set-up error (which stops the set-up at that counter).
uint32_t pulsupdtInitPulsCounters();
// Sets up one counter from its record; 0 or the set-up error.
uint32_t pulsupdtInitSpecificPulsCounters(uint32_t id);
// The periodic counter update of the 100 ms tick; the low 16 bits of its result.
uint32_t pulsupdtUpdate();

// Change callbacks of the calibration items (id, new value, size, type); each
// returns 0. They work from the item's stored value, so that a refused value
// leaves the factors as they were.
// DS_SPEED_CAL_NUMBER_A/_B, DS_SPEED_CAL_NUMBER, DS_SPEED_SOURCE,
// DS_PULSE_SETTING_123, DS_RUN_COUNT_274: the speed factor of the selected source.
uint32_t pulsupdtSpeedSourceChanged(uint32_t id, const void* value, uint32_t size, uint16_t type);
// DS_FLOW_CAL_NUMBER (u32): flow factor 10^9 / calibration number.
uint32_t pulsupdtNewFlowCal(uint32_t id, const void* value, uint32_t size, uint16_t type);
// DS_SPRAYER_MODE_FACTOR (u16): flow factor corrected by the sprayer-mode factor,
// a percentage: 10^11 / (factor x calibration number), so that 100 gives what
// the calibration number alone gives.
uint32_t pulsupdtNewFlowCalCorr(uint32_t id, const void* value, uint32_t size, uint16_t type);
// DS_NH3_DENSITY_FACTOR (u16): flow factor corrected by the NH3 density factor;
// a factor of 0 changes nothing.
uint32_t pulsupdtNewFlowCalNH3Corr(uint32_t id, const void* value, uint32_t size, uint16_t type);
