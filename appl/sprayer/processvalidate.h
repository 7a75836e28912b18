#pragma once
// Validation of the stored parameters at start-up: every persistent item is
// brought into its valid range (or to its default on a first run), the
// volatile items get their start values.
#include <cstdint>

// initAll: the store was created afresh; every item takes its default and the
// configuration file is read.
void ValidateData(uint8_t initAll);
