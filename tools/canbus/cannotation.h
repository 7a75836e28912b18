#pragma once
// Frames in the cansend/candump notation: "123#0102" (3 hex digits: standard
// identifier), "18EFFFC0#0102" (8 hex digits: extended identifier, or an error
// frame when the error flag 0x20000000 is set), "123#" (no data), "123#R" or
// "123#R3" (remote request with its length), data bytes optionally separated
// by '.', and "_C" after 8 data bytes for a raw length code of 9 to 15.
#include <linux/can.h>
#include <string>

// Parses text into frame; false (frame unspecified) when the text is malformed.
bool canNotationParse(const std::string& text, struct can_frame& frame);

// The notation of a frame; a length code above 8 is written as 8 bytes and "_X".
std::string canNotationFormat(const struct can_frame& frame);
