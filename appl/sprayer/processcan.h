#pragma once
// The CAN receiver of the process: one thread that takes every frame of
// channel 0 and hands the extended ones to the link the bus is used for.
#include "canio.h"

#include <cstdint>

enum CanRole : uint32_t {
    CAN_ROLE_SECTRIX = 0,   // boom-section controller link
    CAN_ROLE_FLOW_LINK = 1, // CAN flow messages
};

// One frame: standard (11-bit) frames are dropped; extended ones go to the
// Sectrix link (role 0) or the CAN flow link (role 1).
void canReceiveDispatch(uint32_t role, const CanFrame& frame);
// Thread body, endless: waits for frames of channel 0 and dispatches them.
void canReceiveTask(uint32_t role);
