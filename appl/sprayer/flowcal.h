#pragma once
// Flow meter and pressure sensor calibration. Three state machines, one active
// at a time by DS_FLOW_CAL_STATE (0 main meter by rate, 1 main meter by
// collected volume, 2 fill meter by collected volume), advanced one step per
// event in the GUI thread. None of them times out: a run waits for the operator
// or EV_CAL_RESET.
#include <cstdint>

enum : uint32_t {
    FLOW_CAL_NUMBER_MIN = 10000,
    FLOW_CAL_NUMBER_MAX = 4900000,
};

// At process start: resets the selected machine.
void flowCalInit();
// From the dispatcher's common tail: one step of the selected machine.
void flowCalHandleEvent(uint32_t id);
// EV_SET_PRESSURE_CAL_MAX: the sensor span from the raw reading at the reference
// pressure; 1 when the span was set.
uint32_t pressureSpanCal();

// The machines themselves; reset starts the machine afresh.
void flowCalByRateStep(uint32_t id, uint32_t reset);
void flowCalByVolumeStep(uint32_t id, uint32_t reset);
void fillFlowCalByVolumeStep(uint32_t id, uint32_t reset);

// State of each machine (0..8), for the calibration pages and tests.
uint32_t flowCalByRateState();
uint32_t flowCalByVolumeState();
uint32_t fillFlowCalByVolumeState();

// The new calibration number by rate: (flow x calibration + m/2) / m, computed
// wide so that a large calibration number cannot wrap; m must not be 0.
uint64_t flowCalByRateResult(uint32_t flow, uint32_t calibration, uint32_t m);
