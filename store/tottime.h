#pragma once
// The never-decreasing total operating time: a text file ("tottime.dat" in the
// shared data directory) holding the total in seconds, rewritten every 5000 ms
// from the counting item plus an offset, so that a reset or a restart of the
// item never lowers the recorded total.
#include <cstdint>

// Seeds offset and last total from the file and the item, starts the update
// task. Returns 1.
uint32_t totalTimeFileInit(const char* path, uint32_t itemId);
// Ends the update task (program end, and tests).
void totalTimeFileStop();
// The total read from the text of a file: the leading decimal digits of the
// length bytes (no terminator needed); 0 without digits.
uint32_t totalTimeParse(const char* text, uint32_t length);
