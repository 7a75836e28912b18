#pragma once
// The 50 ms flow report of the working screen: one CSV line on serial port 2
// when the flow printout is on, else the target flow per nozzle for the CAN
// flow messages.
#include <cstdint>

void processFlowPrintTick();
// The target flow per nozzle (l/min x 100 x 100) of the sections now on.
uint32_t processFlowPerNozzle();
