#pragma once
// fpgaprobe: prints the FPGA bitstream's build date (-d), build time (-t) and
// version (-v), or counts pulses on the frequency inputs of ids 79, 80 and 81
// (-c) and prints the running totals once a second.
#include <cstdint>

// The program. Returns the exit status (1 after the usage text, 0 after the
// outputs); in the pulse-count mode it never returns.
int fpgaprobeMain(int argc, char** argv);

// The frequency-record callback handed to the FPGA extender (user value = id).
void fpgaprobeFrequencyCallback(uint32_t data, uint32_t id);
