#include "pressurelogger.h"

#include "clock.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "logworker.h"

#include <cstdio>
#include <string>

namespace {

constexpr uint16_t kRotationLines = 360;

LogWorker* worker;
std::string readable;

const LogWorkerConfig kConfig = {
    "/presslogTmp",
    "/presslogOld",
    "/presslog",
    nullptr,
    EV_PRESSURE_LOG_SAVED,
    EV_PRESSURE_LOG_EXPORTED,
    "open/create Press log file failed - path: %s\n\r",
    "open/create backup pressure log file: %s\n\r",
    "Backup Press log failed.\n\r",
    "Create presslog.log file failed.\n\r",
    "No Press log exists!! - Press log file not generated.\n\r",
    "presslog.log file has been created!\n\r",
    false,
    nullptr,
};

}  // namespace

void pressureLogCreate(const char* directory)
{
    if (worker != nullptr)
        return;
    worker = new LogWorker(kConfig, directory);
    readable = worker->readablePath();
}

void pressureLogEnable(uint32_t on)
{
    if (worker != nullptr)
        worker->setEnabled(on != 0);
}

void pressureLogSample(float value, const char* unitText)
{
    if (worker == nullptr || !worker->enabled())
        return;
    const QDate date = rtcGetQDate();
    const QTime time = rtcGetQTime();
    char line[128];
    snprintf(line, sizeof line, "%.1f %s, %02d:%02d:%02d, %02d/%02d-%04d;\r\n", static_cast<double>(value),
             unitText ? unitText : "", time.hour(), time.minute(), time.second(), date.day(), date.month(),
             date.year());
    worker->queueLine(line);
    const uint16_t lines = static_cast<uint16_t>(datastoreGetUint16(DS_ALARM_LOG_VALUE) + 1);
    if (lines >= kRotationLines) {
        worker->queueRotation();
        datastoreSetUint16(DS_ALARM_LOG_VALUE, 0);
    } else {
        datastoreSetUint16(DS_ALARM_LOG_VALUE, lines);
    }
}

void pressureLogSetFlag()
{
    if (worker != nullptr)
        worker->requestBuild();
}

bool pressureLogBuildAndWait(int timeoutMs)
{
    return worker != nullptr && worker->buildAndWait(timeoutMs);
}

const char* pressureLogReadablePath()
{
    return readable.c_str();
}

LogWorker* pressureLogWorker()
{
    return worker;
}
