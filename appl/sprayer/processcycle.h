#pragma once
// The steps of the 66 ms process tick: spraying state and master valve,
// section state and outputs, the remote switch inputs, the automatic fill
// valve, the tank content, and on the working screen the measurement step
// (flow, pressure, rate, speed with the CAN speed's supervision, distance and
// area, the process alarms and the developer trace). GUI thread only.
#include <cstdint>

// Spraying := master switch and, in automatic regulation, a target, a boost,
// the minimum speed and open tips. Posts the change and the master valve.
void processUpdateSprayState(uint32_t force);
// Section state from the touch mask, the switches or the Sectrix controller;
// the master switch from its inputs.
void processUpdateSectionState();
// Section outputs after the section state (id: the event that runs the step).
void processUpdateSectionOutputs(uint32_t id);
// Posts EV_SECTION_VALVES with mode << 24 OR map.
void processPostSectionOutputs(uint32_t mode, uint32_t map);
void processCheckSwitchInputs();
void processUpdateFillValve();
void processUpdateTankContent();
// Flow, pressure, rate, speed, counters and alarms of the working screen (the
// dispatcher reads the sensor inputs after it).
void processMeasurementStep();

// The speed input of a source (0..3 pulse counters, 4 the CAN speed): 1 when
// read, 0 when source 4 has no valid reading (reading 0) or the source is unknown.
uint32_t processGetSpeedInput(uint32_t source, uint32_t* reading, uint32_t* second);
// Moves whole units of unit from the accumulator into the pulse counter's value.
void processFoldAccumulator(uint32_t counter, uint32_t* accumulator, uint32_t unit);

// Change callbacks of DS_FILL_FLOW_CAL_NUMBER and of DS_PULSE_COUNT_266/267.
uint32_t processFillFlowCalChanged(uint32_t id, const void* value, uint32_t size, uint16_t type);
uint32_t processPulseRatioChanged(uint32_t id, const void* value, uint32_t size, uint16_t type);

// Back to the power-up state of the cycle (filters, speed source, run-on, CAN speed).
void processCycleReset();
// The speed source the measurement step reads now.
uint32_t processSpeedSourceInUse();
