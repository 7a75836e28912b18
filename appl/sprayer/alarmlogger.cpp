#include "alarmlogger.h"

#include "alarmdefs.h"
#include "clock.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "logworker.h"

#include <cstdio>

namespace {

constexpr uint8_t kRotationLines = 50;
constexpr int kNameWidth = 33;

LogWorker* worker;

void resetCounts()
{
    datastoreSetUint8(DS_ALARM_COUNT_STATE, 0);
    datastoreSetUint16(DS_ALARM_COUNT_OTHER, 0);
    for (uint32_t id = DS_ALARM_COUNT_2; id <= DS_ALARM_COUNT_49; ++id)
        datastoreSetUint16(id, 0);
}

const LogWorkerConfig kConfig = {
    "/alarmlogTmp",
    "/alarmlogOld",
    "/alarmlog",
    "alarmlog",
    EV_ALARM_LOG_SAVED,
    EV_ALARM_LOG_EXPORTED,
    "open/create alarm log file failed - path: %s\n\r",
    "open/create backup alarm log file: %s\n\r",
    "Backup Alarm log failed.\n\r",
    "Create alarmlog.log file failed.\n\r",
    "No Alarm log exists!! - Alarm log file not generated.\n\r",
    "alarmlog.log file has been created!\n\r",
    true,
    resetCounts,
};

uint32_t countItem(uint32_t id)
{
    return (id >= 2 && id <= 49) ? 152 + id : static_cast<uint32_t>(DS_ALARM_COUNT_OTHER);
}

}  // namespace

std::string alarmLogNameField(uint32_t id)
{
    if (id == WRONG_HW)
        return "WRONG_HW" + std::string(15, ' ') + "\t\t\t ";
    const char* name = alarmName(id);
    if (name == nullptr)
        return "Unknown Alarm" + std::string(12, ' ');
    char field[64];
    snprintf(field, sizeof field, "%-*s", kNameWidth, name);
    return field;
}

void alarmLogCreate(const char* directory)
{
    if (worker == nullptr)
        worker = new LogWorker(kConfig, directory);
}

void alarmLogEnable(uint32_t on)
{
    if (worker != nullptr)
        worker->setEnabled(on != 0);
}

void alarmLogAlarm(uint32_t id)
{
    if (worker == nullptr || !worker->enabled())
        return;
    const QDate date = rtcGetQDate();
    const QTime time = rtcGetQTime();
    const uint32_t item = countItem(id);
    datastoreSetUint16(item, static_cast<uint16_t>(datastoreGetUint16(item) + 1));
    const unsigned count = datastoreGetUint16(item);
    char line[128];
    snprintf(line, sizeof line, "%s, %03u, %02d:%02d:%02d, %02d/%02d-%04d \r\n", alarmLogNameField(id).c_str(), count,
             time.hour(), time.minute(), time.second(), date.day(), date.month(), date.year());
    worker->queueLine(line);
    const uint8_t lines = static_cast<uint8_t>(datastoreGetUint8(DS_ALARM_COUNT_STATE) + 1);
    if (lines >= kRotationLines) {
        worker->queueRotation();
        datastoreSetUint8(DS_ALARM_COUNT_STATE, 0);
    } else {
        datastoreSetUint8(DS_ALARM_COUNT_STATE, lines);
    }
}

void alarmLogSetFlag()
{
    if (worker != nullptr)
        worker->requestBuild();
}

void alarmLogRequestExport()
{
    if (worker != nullptr)
        worker->requestExport();
}

void alarmLogRequestClear()
{
    if (worker != nullptr)
        worker->requestClear();
}

LogWorker* alarmLogWorker()
{
    return worker;
}
