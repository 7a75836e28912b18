#pragma once
// The 8-channel 10-bit ADC through the hwmon interface: a reader task polls each
// configured channel at its own period, keeps the last reading and hands every
// new reading to the channel's callback (on the reader task).
#include <cstdint>
#include <cstdio>

// Called with the user value given at configuration and the new reading.
typedef void (*AdcCallback)(uint32_t userValue, uint16_t reading);

// Clears the channel records, writes `maximum` to in_max and starts the reader
// task. Returns 1 when in_max was written. `minimum` is not used.
int SetMinMax(uint32_t minimum, uint32_t maximum);
// Period 0 stops the channel. Channels outside 0..7 give 0.
int adc128sConfig(int channel, uint32_t periodMs, AdcCallback callback, uint32_t userValue);
// The last reading; 1 when it differs from the one returned by the previous
// call for the channel (the first call always reports), else 0.
int adc128sRead(int channel, uint16_t* value);
// Opens the channel's in<N>_input; ends the program when that fails.
FILE* OpenAdcChannel(int channel);
// The reader task's body.
void adc128sReadLoop(uint32_t argument);
// The production-test program runs the driver without its log lines.
void adc128sSetLogEnabled(bool enabled);
