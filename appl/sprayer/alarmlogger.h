#pragma once
// The alarm log: one line for every alarm put on display, with its name, its
// running occurrence count and the console's date and time, in the files
// "alarmlogTmp.log" (current, rotated at 50 lines) and "alarmlogOld.log"
// (backup) of the log directory. On request the readable "alarmlog.log" is
// built (EV_ALARM_LOG_SAVED), exported to the USB stick (EV_ALARM_LOG_EXPORTED)
// or everything is deleted and the counts reset. GUI thread, except the worker.
#include <cstdint>
#include <string>

class LogWorker;

// Creates the one logger and its worker (directory "alarmlogs" at start-up).
void alarmLogCreate(const char* directory);
void alarmLogEnable(uint32_t on);
// Counts and queues the line of a shown alarm; nothing while disabled.
void alarmLogAlarm(uint32_t id);
// Build of "alarmlog.log" (the viewer page on each showing).
void alarmLogSetFlag();
// Build, then copy to the stick (EV_EXPORT_ALARM_LOG).
void alarmLogRequestExport();
// Delete every alarm-log file and reset the counts (EV_ALARM_LOG_REQUEST).
void alarmLogRequestClear();
// The name field of a line: the name padded to 33 characters.
std::string alarmLogNameField(uint32_t id);
// The logger's worker, nullptr before alarmLogCreate.
LogWorker* alarmLogWorker();
