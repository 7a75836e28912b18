#pragma once
// The board's character devices in a stand-in root, as the production-test
// program's device operations see them: dev/pwm8..dev/pwm11 and the frequency
// inputs dev/frqdev<N> are plain files. A frequency input's file is the queue of
// its 12-byte measurement records (three little-endian words); <file>.value
// holds its current-value record. Every ioctl made on them is logged in
// var/log/ioctl.log. The FPGA's frequency channels are fed through the register
// file.
#include <cstdint>
#include <string>

// Lays out dev/pwm8..dev/pwm11 and dev/frqdev65 (empty).
bool standinCreateDevices(const std::string& dir);

std::string standinFrqDevicePath(const std::string& dir, int input);
// Appends one measurement record to the input's queue (creating the device).
bool standinQueueFrqRecord(const std::string& dir, int input, uint32_t value0, uint32_t value1, uint32_t flags);
// Sets the value word of the input's current-value record.
bool standinSetFrqValue(const std::string& dir, int input, uint32_t value);
// The ioctl log: one line "<device> 0x<request> <argument>" per call.
std::string standinIoctlLogPath(const std::string& dir);

// Hands a data word to FPGA frequency channel 0..17: writes its data register and
// raises its interrupt-status bit. False while the channel's previous word has
// not been taken (its bit is still set), so nothing is overwritten.
bool standinFeedFpgaFrequency(const std::string& dir, int channel, uint32_t word);
