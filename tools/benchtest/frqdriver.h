#pragma once
// The PWM outputs "/dev/pwm8".."/dev/pwm11" (index 0..3) and the numbered
// frequency inputs "/dev/frqdev<N>" of the board's kernel, driven through
// ioctls (devops.h). Devices are opened on first use and stay open. A poll
// thread hands every measurement of a configured input to its callback.
#include <cstdint>

// Called on the poll thread with the input number, the two measurement words and
// the flags: record bit 2 -> bit 0, bit 0 -> bit 1, bit 1 -> bit 2.
typedef void (*FrqCallback)(uint16_t input, uint32_t value0, uint32_t value1, uint8_t flags);

// -> true when the device of index 0..3 is open (a failed open is tried again on
// the next call); false for any other index.
bool pwmOpen(int index);
// -> false for an index outside 0..3 or a device that cannot be opened.
bool pwmSetDutyCycle(int index, uint8_t duty);
// Sets the frequency, then applies the last duty again.
bool pwmSetFrequency(int index, uint16_t frequency);

// -> true when the input is open (opened now or before).
bool frqdriverOpenInput(int number);
// Configures the input with the parameter and stores the callback (may be null).
bool frqdriverConfigInput(uint16_t number, uint16_t parameter, FrqCallback callback);
// Reads the input's current value (the low byte of the value word).
bool frqdriverReadInput(uint16_t number, uint8_t* out);
// Starts the poll thread once. -> true.
bool frqdriverInit();

// Closes every device and forgets the inputs, so that a test starts from nothing.
// The poll thread, once started, keeps running and sees an empty map; it closes
// the inputs' descriptors itself once it has left its pass over them, and the
// reset returns after that. Not to be called from an input's callback.
void frqdriverReset();
