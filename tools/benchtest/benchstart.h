#pragma once
// benchtest's start-up and main loop: the platform's settings, the services of
// the board, the protocol on serial port 0 and the handlers of every test
// command; then the protocol runs every 10 ms for ever.
#include <cstdint>

// Settings of a platform number (all numbers without an entry take the default).
struct BenchPlatformSettings {
    uint32_t gpioMask;           // lines opened by the GPIO driver
    uint32_t canChannels;        // channels initialised
    uint8_t canInterface[6];     // channel -> N of "can<N>"
    bool comPort2;               // serial port 2 opened
    bool fpgaCommands;           // the FPGA register commands offered
};

BenchPlatformSettings benchPlatformSettings(int platform);

// The program's start-up and loop; never returns.
[[noreturn]] void benchtestMain();
