#pragma once
// Debug output and service console on the debug port (chosen by comselectInit).
// Output is filtered by a 16-bit category mask (initially 1) and silenced by a
// non-zero suppression level or console mode. The letter console reads the debug
// port on every service call and understands the words "ping", "baud1".."baud5",
// "cde"/"cdt"/"cdb" (CAN trace off, text, binary), "sdi"/"sd0".."sd9" (service
// requests) and "a" followed by whatever the key handler takes.
#include <cstdarg>
#include <cstdint>

// Gets the characters typed after "a"; returns non-zero when its sequence is done.
typedef uint32_t (*DebugKeyHandler)(uint32_t character);
// Mode-2 function: called with the debug port on each service call in mode 2.
typedef void (*DebugModeFunction)(uint32_t port);
// Service function: (request 0..9, identification word 2, identification word 1).
typedef void (*DebugServiceFunction)(uint32_t request, uint16_t word2, uint16_t word1);

// Makes port the debug port.
void comselectInit(uint32_t port);
uint32_t debugGetPort();

void debugSetMask(uint16_t mask);
uint16_t debugGetMask();
// Levels 0..2 are stored (only 0 lets output through) -> 1; above 2 -> 0, unchanged.
uint32_t debugSetLevel(uint32_t level);
// True when output of this category would reach the debug port now.
bool debugCategoryEnabled(uint32_t category);

// -> 1 without output when silenced or filtered, else the comportVPrintf result.
uint32_t debugVPrintf(uint32_t wait, uint32_t category, const char* format, va_list arguments);
uint32_t debugPrintfCategory(uint32_t wait, uint32_t category, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
uint32_t debugPrintf(uint32_t wait, const char* format, ...) __attribute__((format(printf, 2, 3)));
// -> 0 when silenced, else the comportWrite result.
uint32_t debugWrite(const uint8_t* data, uint16_t length);

void debugSetKeyHandler(DebugKeyHandler handler);
// 0 = letter console and debug output; 2 = mode-2 function; any non-zero mode
// silences the debug output.
void debugSetMode(uint32_t mode);
void debugSetModeFunction(DebugModeFunction function);
// Service identification: the two words, the value and a null-terminated list
// of strings (may be null); the requests need both words and the function set.
void debugSetServiceIdentification(uint16_t word1, uint16_t word2, uint32_t value,
                                   const char* const* strings);
void debugSetServiceFunction(DebugServiceFunction function);

// 0 sends the identification record on the debug port; 1..10 call the service
// function with index - 1. Nothing unless the identification is complete.
void debugServiceRequest(uint32_t index);
// Runs the letter console (mode 0) or the mode-2 function (mode 2). Called on
// every 100 ms tick with the current time.
void debugConsoleService(uint32_t now);
