#pragma once
// Board I/O commands of the bench: 0x0600 ADC channel, 0x0700/0x0701 PWM outputs
// (platforms 3 and 4 only), 0x0702 named outputs, 0x0703/0x0704 GPIO lines by
// number, 0x0800 named inputs.
#include "seriallink.h"

int benchHandleIo(BenchRequest request, BenchReply* reply);
