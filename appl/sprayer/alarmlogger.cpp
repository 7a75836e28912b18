#include "alarmlogger.h"

void alarmLogCreate(const char*)
{
}

void alarmLogEnable(uint32_t)
{
}

void alarmLogAlarm(uint32_t)
{
}

void alarmLogRequestExport()
{
}

void alarmLogRequestClear()
{
}
