#pragma once
// Serial service console on the debug port (chosen by comselectInit), which it
// also makes the output of the debug gate (debugout.h). The letter console
// reads the debug port on every service call and understands the words "ping",
// "baud1".."baud5", "cde"/"cdt"/"cdb" (CAN trace off, text, binary),
// "sdi"/"sd0".."sd9" (service requests) and "a" followed by whatever the key
// handler takes.
#include <cstdint>

#include "debugout.h"

// Gets the characters typed after "a"; returns non-zero when its sequence is done.
typedef uint32_t (*DebugKeyHandler)(uint32_t character);
// Mode-2 function: called with the debug port on each service call in mode 2.
typedef void (*DebugModeFunction)(uint32_t port);
// Service function: (request 0..9, identification word 2, identification word 1).
typedef void (*DebugServiceFunction)(uint32_t request, uint16_t word2, uint16_t word1);

// Makes port the debug port and installs the console as the debug output.
void comselectInit(uint32_t port);
uint32_t debugGetPort();

void debugSetKeyHandler(DebugKeyHandler handler);
// Console mode (debugSetMode): 0 runs the letter console, 2 the mode-2 function.
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
