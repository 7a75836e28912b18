#pragma once
// Rate regulation: holds the applied rate at its target by driving the
// regulating valve on H-bridge channel 0, and an air pressure that follows the
// liquid pressure on channel 1. A state machine advanced one step per event in
// the GUI thread; it supervises the rate, speed, flow and pressure alarms and
// publishes the displayed rate and the target.
#include <cstdint>

enum RegulState : uint32_t {
    REG_MANUAL = 0,
    REG_WAIT_START = 1,
    REG_REGULATING = 2,
    REG_STOPPED = 3,
    REG_STOP_DELAY = 4,
    REG_ANTICIPATE = 5,
    REG_ANTICIPATE_PULSE = 6,
    REG_PARK_DELAY = 7,
    REG_PARK_CLOSE = 8,
    REG_PARK_OPEN = 9,
    REG_PARKED = 10,
    REG_IDLE_PRESSURE = 11,
};

// At process start: the valve channels and the anticipation's counters.
void regulInit();
// Entry from the dispatcher's common tail (the 100 ms tick arrives as EV_REGULATION_TICK).
void regulHandleEvent(uint32_t id, uint32_t arg);
// One step of the state machine, without the alarm supervision.
void regulStep(uint32_t id, uint32_t arg);
RegulState regulGetState();

// Enables the regulation's alarms: the sensor alarms with on, the regulating
// ones with on and regulating; the two air and liquid "too high" ones never.
void regulEnableAlarms(uint32_t on, uint32_t regulating);
// 12 raises SPRAY_MIN_REG_PRESS, 13 SPRAY_MAX_REG_PRESS (each clearing the
// other, held 5000 ms after the last call); anything else clears both.
void regulPressureLimitAlarm(uint32_t id);

// Channel 1: direction and duty that bring the air pressure to the target for
// the liquid pressure; no row selected leaves the channel off.
void regulAirPressureControl(uint32_t* dir, uint32_t* duty);
// Air target (bar x 100) for a liquid pressure on the selected row; 0 when no row is selected.
uint32_t regulAirTarget(uint32_t liquidPressure);

// Anticipation: the valve pre-set while stopped, from the last spraying period.
void regulAnticipationReset();
void regulSprayingChanged(uint32_t on);
void regulAnticipationPulse(uint32_t* dir, uint32_t* width);
// Average speed (km/h x 100) of the last spraying period; 0 unknown.
uint16_t regulAverageSpeed();
