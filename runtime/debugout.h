#pragma once
// Gate of the debug output: a 16-bit category mask (initially 1), a
// suppression level and the console mode decide whether a text is printed; the
// text is formatted in the shared print buffer and handed to the output that
// the serial service console installs. Until an output is installed, passing
// texts go nowhere.
#include <cstdarg>
#include <cstdint>

struct DebugOutput {
    // Writes a block; 1 when it was accepted.
    uint32_t (*write)(const uint8_t* data, uint16_t length);
    // Returns once every accepted byte has left.
    void (*drain)();
};

// Installs the output (the table must outlive its use); null removes it.
void debugSetOutput(const DebugOutput* output);

void debugSetMask(uint16_t mask);
uint16_t debugGetMask();
// Levels 0..2 are stored (only 0 lets output through) -> 1; above 2 -> 0, unchanged.
uint32_t debugSetLevel(uint32_t level);
// 0 = letter console and debug output; any non-zero mode (the console's port
// given to another use) silences the debug output.
void debugSetMode(uint32_t mode);
uint32_t debugGetMode();
// True when output of this category passes the gate now.
bool debugCategoryEnabled(uint32_t category);

// -> 1 without output when the gate is closed; else the print's result: 1 when
// the output accepted the text, 0 when it refused it, the text was too long or
// no output is installed. wait = 1 returns once an accepted text has left.
uint32_t debugVPrintf(uint32_t wait, uint32_t category, const char* format, va_list arguments);
uint32_t debugPrintfCategory(uint32_t wait, uint32_t category, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
uint32_t debugPrintf(uint32_t wait, const char* format, ...) __attribute__((format(printf, 2, 3)));
// -> 0 when the mode or the suppression level closes the gate or no output is
// installed, else the output's write result (low byte).
uint32_t debugWrite(const uint8_t* data, uint16_t length);
