#pragma once
// System commands of the bench: identification (0x0000), taking and releasing
// the serial console (0x2900, 0x2901), USB sticks (0x2600), the real-time clock
// (0x0D00 set, 0x0D01 read) and the Ethernet interfaces (0x2700). Shell commands
// go through the command runner.
#include "seriallink.h"

int benchHandleIdentify(BenchRequest request, BenchReply* reply);
int benchHandleConsoleRelease(BenchRequest request, BenchReply* reply);
int benchHandleUsb(BenchRequest request, BenchReply* reply);
int benchHandleRtc(BenchRequest request, BenchReply* reply);
int benchHandleEthernet(BenchRequest request, BenchReply* reply);

// The commands that give the service console to benchtest (also run at start-up).
void benchTakeConsole();
