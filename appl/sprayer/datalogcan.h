#pragma once
// CAN flow link: while the nozzle-control node answers, the target flow per
// open nozzle goes out every 50 ms as an extended frame, so that the two can be
// set up together. It replaces the boom-section controller link on its channel.
//
// Three threads meet here: the GUI thread sets the value, the CAN receive
// thread hands in answers and (re)starts the alarms, the module's own task sends.
// Also here: the small file that keeps the number of physical section switches
// and the 13-section flag.
#include "canio.h"

#include <cstdint>

enum : uint32_t {
    DATALOG_CAN_TX_ID = 0x18EFF8C0,
    DATALOG_CAN_RX_ID = 0x18EFC0F8,
    DATALOG_CAN_ANSWER = 20,
    DATALOG_CAN_TX_FIRST_BYTE = 0x34,
    DATALOG_CAN_SEND_MS = 50,
    DATALOG_CAN_SUPERVISION_MS = 5000,
};

// Stores the channel and marks the link lost; the first call creates the
// value lock, the mailbox, the two alarms and the sending task. 1.
uint32_t datalogCanStart(uint32_t channel);
// A received frame; 0 when it is not the answer identifier, else 1. Only an
// answer whose first byte is 20 connects the link and keeps it alive.
uint32_t datalogCanReceive(const CanFrame* frame);
// The value of the next flow message: l/min x 10000 per open nozzle.
void datalogCanSetValue(uint32_t value);
// 1 while no answer came within the supervision time.
uint32_t datalogCanIsLost();

// Loads the file's two values into DS_PHYS_SECTION_SWITCHES and
// DS_HW_13_SECTIONS, or creates the file from the configured values; once. 1.
uint32_t sectionSwitchFileInit(const char* path);
// Writes "count;flag;" from offset 0; 1 when the file could be opened. Nothing
// before sectionSwitchFileInit.
uint32_t sectionSwitchFileWrite(uint32_t count, uint32_t flag);
// Reads "count;flag;" from a text of length bytes: the number before the first
// ";" and the one between the first and the last ";". 1 with both values, 0
// (values untouched) for a text without two ";" or with a number of more than
// 11 characters.
uint32_t sectionSwitchParse(const char* text, uint32_t length, uint32_t* count, uint32_t* flag);
