#pragma once
// Pulse inputs, scaled counters and trip counters. Seven inputs (0..6) count
// pulses; 21 counters (1..21) turn them into totals, rates or running time, split
// into whole units and a remainder of base counts; 22 trips (1..22) follow their
// base counters. Counter number 0 (trip 0) means "all" where stated.
//
// Results: 0 done; 1 counter or trip number out of range; 2 rate mode above 3;
// 3 rate mode above 3 found by the update; 4 input number out of range;
// 6 trip number out of range or unknown value selector; 7 base remainder went
// down without a whole unit added; 8 counter not running; 10 base counter has no
// usable unit size; 13 bad input or mode.
#include <cstdint>

enum : uint32_t {
    PULS_INPUT_COUNT = 7,
    PULS_COUNTER_COUNT = 21,
    PULS_TRIP_COUNT = 22,
};

// ---- Inputs ----
void pulsInit();
// mode 0 counts single pulse events (pulsInputPulse), 1 takes counts handed in.
uint32_t pulsSetInputMode(uint32_t input, uint32_t mode);
uint32_t pulsInputPulse(uint32_t input);
uint32_t pulsSetExternalPulsCountNew(uint32_t input, uint32_t count, uint32_t timeDelta);
uint32_t pulsSetExternalPulsCount(uint32_t input, uint32_t count, uint32_t timeDelta);
uint32_t pulsGetInputCount(uint32_t input);
// Bring the up/down accumulator up to date; the direction then counts down when
// `down` is non-zero. The accumulator is written to `accumulator` when given.
uint32_t pulsSetInputDirection(uint32_t input, uint32_t down);
uint32_t pulsUpdateInputAccumulator(uint32_t input, uint32_t* accumulator = nullptr);

// ---- Counters ----
uint32_t pulsResetCounter(uint32_t counter);
uint32_t pulsClearCounter(uint32_t counter);
uint32_t pulsGetResetFlag(uint32_t counter, uint32_t* running);
// c0 rate mode, c1 minimum ms between consumptions, c2 rate time-out ms, c3
// multiplier per pulse, c4 deduction per mille, c5 pulses added per difference,
// c6 base counts added per consumption, c7 base counts per unit, c8 time base.
uint32_t pulsInitCounter(uint32_t counter, uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3,
                         uint32_t c4, uint32_t c5, uint32_t c6, uint32_t c7, uint32_t c8);
uint32_t pulsSetCounterUnit(uint32_t counter, uint32_t multiplier);
uint32_t pulsSetCounterFactor(uint32_t counter, uint32_t perMille);
uint32_t pulsGetCounterUnitSize(uint32_t counter, uint32_t* unitSize);
uint32_t pulsGetCounterParam(uint32_t counter, uint32_t* units);
uint32_t pulsGetCounterValue(uint32_t counter, uint32_t* units, float* unitsFloat);
uint32_t pulsGetCounterRemainder(uint32_t counter, uint32_t* remainder, float* remainderFloat);
uint32_t pulsSetCounterParam(uint32_t counter, uint32_t units);
uint32_t pulsSetCounterUnits(uint32_t counter, uint32_t units);
uint32_t pulsSetCounterAux(uint32_t counter, uint32_t remainder);
uint32_t pulsClearCounterParam(uint32_t counter);
uint32_t pulsClearCounterAux(uint32_t counter);
uint32_t pulsUpdateCounter(uint32_t counter);
// The scaled count since the last consumption of the counter.
uint32_t CalculateBaseCounter(uint32_t useEdgeTime, uint32_t counter, uint32_t* elapsed, uint32_t force);

// ---- Trips ----
uint32_t pulsResetTrip(uint32_t trip);
uint32_t pulsClearTrip(uint32_t trip);
uint32_t UpdateTripCounter(uint32_t trip);
// which: 0 remainder, 1 units.
uint32_t pulsGetTripValue(uint32_t trip, uint32_t which, int32_t* value);
uint32_t pulsGetTripValueUnit(uint32_t trip, int32_t* value);
uint32_t pulsGetTripValueUnit(uint32_t trip, int32_t* value, float* valueFloat);
uint32_t pulsGetTripValueBase(uint32_t trip, int32_t* value);
uint32_t pulsGetTripValueBase(uint32_t trip, int32_t* value, float* valueFloat);
uint32_t pulsSetCounterMode(uint32_t trip, int32_t units, int32_t remainder);
uint32_t pulsStopCounter(uint32_t trip);

// ---- Datastore record callbacks (argument: trip or counter number) ----
// Makes the functions below the store's pulse-counter records; pulsInit does it.
void pulsRegisterDatastoreRecords();
// Trip record: {remainder, units, running}; counter record: c0..c8, 0, units, remainder.
uint32_t pulsDsTripSize(uint32_t trip);
uint32_t pulsDsGetTrip(uint32_t trip, void* buffer);
uint32_t pulsDsSetTrip(uint32_t trip, const void* value);
uint32_t pulsDsConfigSize(uint32_t counter);
uint32_t pulsDsGetCounterConfig(uint32_t counter, void* buffer);
uint32_t pulsDsSetCounterConfig(uint32_t counter, const void* value);
