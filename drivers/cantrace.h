#pragma once
// CAN frame traces on the debug port, installed as the CAN layer's frame hook.
// Binary record: 02 03 L, milliseconds (u32 LE), flags (bits 0-3 data length,
// bit 4 extended id, bit 5 sent), id (2 or 4 bytes LE), data, 8-bit sum.
// Text line: "%8lu %s %8lX" then " %02X" per data byte and "\n".
// When the port refuses a record the trace skips frames, counting them, until
// the port has drained, and then reports the count in a skip record or line.
#include "canio.h"

#include <cstdint>

void debugCanTraceBinary(const CanFrame* frame, uint32_t transmitted, uint32_t count);
void debugCanTraceText(const CanFrame* frame, uint32_t transmitted, uint32_t count);
