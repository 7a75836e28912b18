#pragma once
// Display and touch commands of the bench: 0x2400 shows test image N with the
// external viewer, 0x2402 closes it; 0x2500 starts the touch calibration tool,
// 0x2502 reads the ten calibration values it wrote (reply 0x2503: ten u16 and a
// result, 1 when exactly ten numbers were found).
#include "seriallink.h"

#include <cstddef>
#include <cstdint>

int benchHandleDisplay(BenchRequest request, BenchReply* reply);
int benchHandleTouch(BenchRequest request, BenchReply* reply);

// Scans text for up to ten numbers: non-digits are skipped, and each run of up
// to eight digits is one number (a longer run goes on as the next number).
// -> the count found; values[] holds them, zeros behind.
size_t benchParseCalibration(const char* text, size_t length, uint16_t values[10]);
