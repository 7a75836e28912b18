#pragma once
// The pressure log: one line with the working pressure every 10 s while
// spraying, in "presslogTmp.log" (current, rotated at 360 lines, one hour) and
// "presslogOld.log" (backup) of the log directory; on request joined into the
// readable "presslog.log" (EV_PRESSURE_LOG_SAVED). GUI thread, except the worker.
#include <cstdint>

class LogWorker;

// Creates the one logger and its worker (directory "pressurelogs" at start-up).
void pressureLogCreate(const char* directory);
void pressureLogEnable(uint32_t on);
// Queues one line: the pressure in display units and its unit text.
void pressureLogSample(float value, const char* unitText);
// Build of "presslog.log" (the viewer page on each showing).
void pressureLogSetFlag();
// Builds "presslog.log" and waits up to timeoutMs for it; true when built.
bool pressureLogBuildAndWait(int timeoutMs);
// The readable log's path, empty before pressureLogCreate.
const char* pressureLogReadablePath();
// The logger's worker, nullptr before pressureLogCreate.
LogWorker* pressureLogWorker();
