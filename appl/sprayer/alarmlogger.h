#pragma once
// Alarm log: shown alarms written to files in a log directory.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// Creates the logger.
void alarmLogCreate(const char* directory);
// Recording on or off.
void alarmLogEnable(uint32_t on);
// Records a shown alarm.
void alarmLogAlarm(uint32_t id);
// EV_EXPORT_ALARM_LOG.
void alarmLogRequestExport();
// EV_ALARM_LOG_REQUEST.
void alarmLogRequestClear();
