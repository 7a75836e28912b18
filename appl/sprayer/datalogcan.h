#pragma once
// CAN flow link and the physical-section-switch file.
// Placeholder entry points: they do nothing yet.
#include "canio.h"

#include <cstdint>

// Starts the CAN flow-message sender; 1.
uint32_t datalogCanStart(uint32_t channel);
// A received extended frame; 1 when it is the flow link's.
uint32_t datalogCanReceive(const CanFrame* frame);
// The value of the next flow message.
void datalogCanSetValue(uint32_t value);
// Loads the file's two values into the datastore, once; 1.
uint32_t sectionSwitchFileInit(const char* path);
// Writes the switch count and the 13-section flag; 1 when the file could be opened.
uint32_t sectionSwitchFileWrite(uint32_t count, uint32_t flag);
