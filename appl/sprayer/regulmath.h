#pragma once
// Regulation maths and the regulating valve's outputs: fixed-point conversions
// between flow, rate and pressure, the valve duty from a flow error, and the
// valve primitives over the H-bridge driver. GUI thread only.
//
// Units: rates l/ha x 10, flows l/min x 100, speed km/h x 100, width mm,
// pressures bar x 100, times ms. H-bridge duty 0..968 (968 = full).
// Regulation direction: 1 increase the rate, 2 decrease it, 0 off.
#include <cstdint>

enum : uint32_t {
    REG_DUTY_FULL = 968,
    REG_DIR_NONE = 0,
    REG_DIR_INCREASE = 1,
    REG_DIR_DECREASE = 2,
    // DS_MIN_REG_VOLTAGE of 12.0 V selects full-voltage drive with on/off patterns.
    REG_FULL_VOLTAGE = 120,
    // The regulation's tick, and the ticks until a move of the valve shows in the
    // measured flow: the meter's 50 ms report window and its average over three
    // 66 ms passes.
    REG_TICK_MS = 100,
    REG_MEASURE_LAG_TICKS = 2,
    // The shortest drive that still moves a valve motor.
    REG_MIN_PULSE_MS = 20,
};

// Where the valve commands go: hbridgeSetDutyCycle(channel, command, time,
// pattern, duty) unless another function is installed (nullptr restores the
// driver). Lets the commands be watched without a bridge.
typedef int (*RegulHbridgeCommand)(uint32_t channel, uint32_t command, uint32_t time, uint32_t pattern,
                                   uint32_t duty);
void regulSetHbridgeCommand(RegulHbridgeCommand command);

// ---- Valve outputs ----
// H-bridge command for a regulation direction, after the valve's wiring (DS_REG_VALVE_TYPE).
uint32_t regulValveDirection(uint32_t dir);
// One full-duty pulse of ms milliseconds, ended by the driver.
void regulValvePulse(uint32_t channel, uint32_t dir, uint32_t ms);
// Continuous drive at value (duty, or per mille of the pattern in full-voltage mode); 0 stops.
void regulValveDrive(uint32_t channel, uint32_t dir, uint32_t value);
// Drive at duty for ms milliseconds, ended by the driver.
void regulValveDriveFor(uint32_t channel, uint32_t dir, uint32_t duty, uint32_t ms);
// mode 0 channel 0, 1 channel 1, 3 both.
void regulHbridgeSetup(uint32_t mode);
// Channel-0 duty offset: DS_REG_SETTING_42 := v / 10, handed to the bridge.
void regulSetValveOffset(uint32_t v);
// selector 0 channel 0, 1 channel 1, 3 both; channels not set up are skipped.
void regulDriveOutputs(uint32_t selector, uint32_t dir, uint32_t value);
void regulPulseOutputs(uint32_t selector, uint32_t dir, uint32_t ms);
// regulValveDriveFor on the selected channels.
void regulDriveOutputsFor(uint32_t selector, uint32_t dir, uint32_t duty, uint32_t ms);
// Whether regulHbridgeSetup set up the channel.
bool regulChannelPresent(uint32_t channel);

// ---- Duty ----
uint32_t regulMinDuty();
// The flow error that gives full duty.
uint16_t regulSpan();
// v scaled from the sprayed flow to the measured flow (which includes the bypass), and back.
uint32_t regulMeasuredShare(uint32_t v);
uint32_t regulSprayedShare(uint32_t v);
// The measured flow the valve moves when driven at duty for ms: its capacity
// over its full travel time (DS_REG_VALVE_CAPACITY, DS_REG_VALVE_TIME), in
// proportion to the duty.
uint32_t regulStepFlow(uint32_t duty, uint32_t ms);
// The dead band (measured flow) at the reference flow ref: DS_REG_DEADBAND per
// mille of it, but never less than half of what the shortest drive at the
// least duty moves, so that one such step from outside lands inside.
uint32_t regulDeadBand(uint32_t ref);
// Duty for a flow error err at the reference flow ref; 0 inside the dead band.
uint32_t regulDutyFromError(uint32_t err, uint32_t ref);
// The error beyond the dead band over which the duty rises from the least to
// the middle one: the span over the valve time in seconds.
uint32_t regulKnee();
// How to drive at duty for a measured flow error err at the reference flow ref
// in this tick, for a valve that moves response per mille of what its figures
// say: 0 on without a limit, else the milliseconds of a step at duty that moves
// the flow by the error (REG_MIN_PULSE_MS up to the ticks that the measurement
// lags and one). The regulation sees a move only REG_MEASURE_LAG_TICKS later:
// near the target (within the knee) it drives on only while the moves until
// then stay short of the error, and after a step it waits for the measured flow.
uint32_t regulDriveTime(uint32_t duty, uint32_t err, uint32_t ref, uint32_t response);

// ---- Conversions (0 for a zero divisor, capped instead of overflowing) ----
uint32_t flowFromRate(uint32_t rate, uint32_t speed, uint32_t width);
uint32_t rateFromFlow(uint32_t flow, uint32_t speed, uint32_t width);
uint32_t rateFromFlowSmall(uint32_t width, uint32_t flow, uint32_t speed);

// ---- Conversions over the current nozzle preset ----
// Flow of n nozzles of reference flow qref at pressure p (0 without nozzles).
uint32_t regulFlowAtPressure(uint32_t p, uint32_t n, uint32_t qref);
// Pressure at which n nozzles of reference flow qref pass flow q.
uint32_t pressureFromFlow(uint32_t q, uint32_t n, uint32_t qref);
// Rate reached at pressure p with the open nozzles.
uint32_t regulRateAtPressure(uint32_t p, uint32_t speed, uint32_t width);
// The current preset's target rate, and with the boost applied.
uint32_t regulPresetTarget();
uint32_t regulBoostedTarget();
// Reference flow of `tips` nozzles of the current preset.
uint32_t nozzleRefFlowTotal(uint32_t tips);
// Flow through the meter that reaches no open nozzle, for the open sections of
// the seven-word section map (bit i % 16 of word i / 16 is section i).
uint32_t regulBypassFlow(const uint16_t* openSections);
