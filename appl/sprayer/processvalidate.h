#pragma once
// Validation of the stored parameters at start-up: every persistent item is
// brought into its valid range (or to its default on a first run), the
// volatile items get their start values.
#include <cstdint>

// The highest speed calibration number (pulses per 100 m) that survives the
// start-up validation: a larger stored number is reset to 0 at the next start,
// although the store itself takes up to 65000.
enum : uint32_t { SPEED_CAL_NUMBER_VALID_MAX = 40000 };

// initAll: the store was created afresh; every item takes its default and the
// configuration file is read.
void ValidateData(uint8_t initAll);
