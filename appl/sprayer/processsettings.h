#pragma once
// Settings of the process that change more than one item: sensor presence,
// sprayer mode, an imported configuration, the speed source, and the counter
// and register-link values copied out of the pulse counters. GUI thread only.
#include <cstdint>

// Keeps at least one of the flow and pressure sensors (id EV_SET_FLOW_SENSOR_PRESENT
// or EV_SET_PRESSURE_SENSOR_PRESENT).
void processSetSensorPresence(uint32_t id, uint32_t on);
// 0 crop sprayer, 1 NH3.
void processSetSprayerMode(uint32_t nh3);
void processApplyImportedConfig();
// Counters of the stored source cleared, those of the new source reset; with
// store set the source is stored and the CAN speed may be used again.
void processSelectSpeedSource(uint32_t source, uint32_t store);
// The two pulse counters of a speed source.
struct SpeedSourceCounters {
    uint32_t first;
    uint32_t second;
};
SpeedSourceCounters processSpeedSourceCounters(uint32_t source);
// Job, campaign and total counters and the speed-calibration pulses into their items.
void processUpdateCounters();
// Register-link values on EV_TICK_500MS; the target rate from the link on EV_ITEM5_CHANGED.
void processLinkValues(uint32_t id);
