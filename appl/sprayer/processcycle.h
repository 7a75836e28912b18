#pragma once
// Process cycle steps: spraying state, sections, switch inputs, fill valve, tank content and the measurement step.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// Spraying state and master valve.
void processUpdateSprayState(uint32_t force);
// Section state from the touch mask, the switches or the Sectrix controller.
void processUpdateSectionState();
// Section outputs after the section state.
void processUpdateSectionOutputs(uint32_t id);
// Posts EV_SECTION_VALVES with mode << 24 OR map.
void processPostSectionOutputs(uint32_t mode, uint32_t map);
// Remote switch inputs.
void processCheckSwitchInputs();
// Automatic fill valve.
void processUpdateFillValve();
// Tank content from the counters.
void processUpdateTankContent();
// Flow, pressure, speed, rates, counters and alarms of the working screen (the sensor inputs are read by the dispatcher after it).
void processMeasurementStep();
// Change hooks of DS_FILL_FLOW_CAL_NUMBER and of DS_PULSE_COUNT_266/267 (store hook signature).
uint32_t processFillFlowCalChanged(uint32_t id, const void* value, uint32_t size, uint16_t type);
uint32_t processPulseRatioChanged(uint32_t id, const void* value, uint32_t size, uint16_t type);
