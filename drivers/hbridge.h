#pragma once
// Two H-bridge outputs (channels 0 and 1), each a PWM line in per mille plus a
// direction line, driven through the FPGA extender or through an installed
// output callback. Timed steps (end of a reverse kick, end of an on-time) run on
// the H-bridge task, woken by kernel alarms.
#include <cstdint>

// Drives a channel's outputs: (PWM setting, duty per mille, direction 1 forward
// / 0 reverse). At configuration it is called with duty and direction 0 and
// bit 0 of its result tells success.
typedef uint32_t (*HbridgeOutput)(uint32_t pwmSetting, uint32_t duty, uint32_t direction);

enum : uint32_t { HBRIDGE_STOP = 0, HBRIDGE_REVERSE = 1, HBRIDGE_FORWARD = 2 };

// Creates the mailbox, the alarms and the task on the first call; returns 1.
int hbridgeInit();
// 1 when a callback was installed; null (back to the FPGA outputs) or a
// channel above 1 gives 0.
int hbridgeSetCallback(uint32_t channel, HbridgeOutput callback);
int hbridgeConfigChannel(uint32_t channel, uint32_t pwmLine, uint32_t directionLine, uint32_t pwmSetting);
// The longest reverse kick (ms) and the duty applied during a kick.
int hbridgeSetPolarity(uint32_t channel, uint32_t kickTimeLimit, uint32_t kickDuty);
// command: 1 reverse, 2 forward, anything else stop. With cycleCount 0, time is
// an on-time in ms (0 = no limit); else it is the on-count of a cycle.
int hbridgeSetDutyCycle(uint32_t channel, uint32_t command, uint32_t time, uint32_t cycleCount, uint32_t duty);
void hbridgeApply(HbridgeOutput callback, uint32_t pwmLine, uint32_t duty, uint32_t direction, uint32_t pwmSetting);
// The H-bridge task's body.
void hbridgeTask(uint32_t argument);
