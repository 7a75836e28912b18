#pragma once
// Speed source, speed-sensor calibration and simulated speed.
//
// DS_SPEED_SOURCE: 0 and 1 the two speed-sensor inputs, 2 the implement wheel
// sensor, 3 simulated, 4 speed over CAN. The simulated-speed generator feeds
// pulse input 6 once a second (one pulse per centimetre).
#include <cstdint>

enum : uint32_t {
    SPEED_SIM_INPUT = 6,
};

// At process start: no simulated pulses, the generator on the 1 s tick hook
// list, the rate from DS_SIM_SPEED, input 6 taking handed-in counts.
void speedInit();
// Events 256..260 (source, calibration number, calibration start/cancel, take
// the calibration result, simulated speed changed); other ids do nothing.
void speedHandleEvent(uint32_t id, uint32_t arg);
// The pulse counter that counts a source's raw sensor pulses for its
// calibration (cleared by EV_SPEED_CAL, taken by EV_SPEED_259): 9 for source 0,
// 8 for source 1, 10 for the implement wheel and any other source.
uint32_t speedCalibrationCounter(uint32_t source);
// v in km/h x 10.
void simSpeedSet(uint32_t v);
// Simulated pulses per second as last set.
uint32_t simSpeedPulsesPerSecond();
// The 1 s generator step: hands (input 6, pulses, period ms) to the pulse input,
// the pulses of the time since the previous step (1 s for the first). The first
// period after a standstill covers the whole standstill.
void simSpeedTick();
// 1: takes the baseline of the CAN speed source (the Sectrix link's message 10
// value and the ms clock). 0 does nothing: the accumulation step it names would
// carry the CAN increments into pulse counter 22, which does not exist (the
// counters are 1 to 21), and nothing in the core drives it, so it is left out.
void canSpeedAccumulate(uint32_t takeBaseline);
// The CAN source's last value and the ms clock of its last step.
void canSpeedBaseline(uint32_t* value, uint32_t* ms);

// Where the generator hands its reports; pulsSetExternalPulsCount by default,
// null restores it.
typedef uint32_t (*SimSpeedPulseSink)(uint32_t input, uint32_t pulses, uint32_t periodMs);
void simSpeedSetPulseSink(SimSpeedPulseSink sink);
