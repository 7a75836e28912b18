#pragma once
// Com driver of the serial devices "/dev/ttyO%i" (index 0..3, the driver
// argument). Keeps its own receive rings, filled by one reader thread that waits
// on every open device with select(); configures a device through /bin/stty.
// The shared state (wake pipe, lock, reader thread) is set up once, however many
// ports register with the driver.
#include "comport.h"

uint32_t comLinuxDriver(ComDriverCommand* block, uint32_t deviceIndex);
