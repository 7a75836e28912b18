#pragma once
// Pressure log: pressure samples written to files in a log directory.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// Creates the logger.
void pressureLogCreate(const char* directory);
// Recording on or off.
void pressureLogEnable(uint32_t on);
// Records one sample in display units.
void pressureLogSample(float value, const char* unitText);
