#pragma once
// The input and output test pages: pulse readings, the regulating valve driven
// in a chosen direction, valves and single sections switched by hand.
#include <cstdint>

void processDiagnosticIo(uint32_t id, uint32_t value);
