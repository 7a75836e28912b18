#pragma once
// The console board's own devices in a stand-in root: the FPGA register file,
// the GPIO value files and the ADC's hwmon files. Whoever plays the board
// writes the inputs through the helpers below.
#include <cstdint>
#include <string>

// Lays out dev/uio0 (0x20000 zero bytes), the value file of every GPIO line the
// console uses (holding "0\n") and in0_input..in7_input ("0\n") with in_max.
bool standinCreateBoard(const std::string& dir);

std::string standinGpioValuePath(const std::string& dir, int line);
std::string standinAdcInputPath(const std::string& dir, int channel);

// Replaces a GPIO value file's content (e.g. "1\n").
bool standinSetGpio(const std::string& dir, int line, const std::string& text);
// Writes the decimal reading of an ADC channel.
bool standinSetAdc(const std::string& dir, int channel, unsigned value);
// Reads and writes a 32-bit register of the FPGA register file at a byte offset.
bool standinWriteFpgaRegister(const std::string& dir, uint32_t offset, uint32_t value);
uint32_t standinReadFpgaRegister(const std::string& dir, uint32_t offset);
