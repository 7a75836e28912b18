#pragma once
// The service port's mode switch: the port starts as the service console
// (mode 0) and can be switched to the framed protocol's responder (mode 1) or to
// a registered mode-2 function. For 2000 ms after the first start the console's
// character reader may answer a PING; afterwards the configured mode is taken.
// The reader that decides the next mode is handed in by the program.
#include "seriallink.h"

#include <cstdint>

// Reads the port's waiting characters. `modeConfigured` tells whether a non-zero
// mode is configured. -> the mode to run next.
typedef uint32_t (*ServicePortReader)(uint32_t port, uint32_t modeConfigured);
typedef void (*ServicePortModeFunction)(uint32_t port);

constexpr uint32_t SERVICEPORT_PING_WINDOW_MS = 2000;

// Remembers the port and binds the responder to it; the first call also opens the
// PING window and registers the identification handler.
void servicePortInit(uint32_t port, BenchHandler identification);
// Runs the current mode once; call it periodically.
void servicePortUpdate();
void servicePortSetReader(ServicePortReader reader);
void servicePortSetModeFunction(ServicePortModeFunction function);
// The mode taken when the PING window closes (initially 0).
void servicePortSetConfiguredMode(uint32_t mode);
uint32_t servicePortMode();
// Writes to the service port while it is the plain console (mode 0, no mode
// configured). -> 1 when written, else 0.
uint32_t servicePortWrite(const uint8_t* data, uint16_t length);

// The service port's number (initially 1).
uint32_t benchGetServicePortNumber();
void benchSetServicePortNumber(uint32_t port);
