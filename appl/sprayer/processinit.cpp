#include "processinit.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "alarmlogger.h"
#include "canio.h"
#include "cntexport.h"
#include "pdfreport.h"
#include "counters.h"
#include "cdebug.h"
#include "comport.h"
#include "datalogcan.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filefunc.h"
#include "hwrevision.h"
#include "io_if.h"
#include "kernel.h"
#include "pressurelogger.h"
#include "processcan.h"
#include "processdebugkeys.h"
#include "processevent.h"
#include "processhandler.h"
#include "unitquantities.h"
#include "processvalidate.h"
#include "pulsupdt.h"
#include "reglink.h"
#include "sectrix.h"
#include "seriallink.h"
#include "storage.h"
#include "threadfunc.h"
#include "toolsmisc.h"
#include "tottime.h"
#include "version.h"
#include "vkinfo.h"
#include "xmlreader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>

namespace {

enum : uint32_t {
    SERIAL_PORT_2 = 2,
    BAUD_115200 = 7,
    CAN_CHANNEL = 0,
    CAN_BIT_RATE_ROW = 3,
    CAN_TASK_PRIORITY = 20,
    HW_TASK_PRIORITY = 99,
    BRIGHTNESS_MIN = 25,
    BRIGHTNESS_MAX = 100,
    OLDEST_SUPPORTED_HW = 3,
    // Both threads reach driver code that formats and logs text; the runtime's
    // minimum stack is too tight for that.
    TASK_STACK_BYTES = 65536,
};

struct PeriodicEvent {
    uint32_t id;
    uint32_t ms;
};

// Started in this order; EV_TICK_100MS_AUX and EV_TICK_250MS have no handler.
constexpr PeriodicEvent kPeriodicEvents[] = {
    {EV_TICK_100MS_AUX, 100}, {EV_TICK_10S, 10000}, {EV_TICK_1S, 1000},
    {EV_TICK_500MS, 500},     {EV_TICK_250MS, 250}, {EV_TICK_100MS, 100},
};
constexpr PeriodicEvent kFlowReportEvent = {EV_TICK_50MS, 50};

std::atomic<int32_t> gHardwareId{-1};

void startPeriodicEvents()
{
    for (const PeriodicEvent& event : kPeriodicEvents)
        timerStartPeriodic(EV_OWNER_PERIODIC, event.id, event.ms);
    if (dsValue(DS_FLOW_PRINTOUT_ENABLED) != 0 || dsValue(DS_CAN_FLOW_MESSAGES_ENABLED) != 0)
        timerStartPeriodic(EV_OWNER_PERIODIC, kFlowReportEvent.id, kFlowReportEvent.ms);
}

void createShareDir(const std::string& share)
{
    if (isDirectory(share))
        return;
    makePath(share);
    std::printf("Creating share dir: %s\n", share.c_str());
    std::fflush(stdout);
}

// Port 2 carries either the flow printout or the framed register link.
void chooseSerialPort2Role()
{
    if (dsValue(DS_FLOW_PRINTOUT_ENABLED) != 0) {
        comportOpen(SERIAL_PORT_2, BAUD_115200, 3, 2, 0);
    } else {
        serialLinkInit(SERIAL_PORT_2);
        regLinkInit();
    }
}

// The bus serves either the CAN flow messages or the Sectrix controller.
uint32_t chooseCanRole()
{
    const uint32_t timingFailed = canioSetBitTiming(CAN_CHANNEL, CAN_BIT_RATE_ROW) == 0 ? 1 : 0;
    uint32_t role = CAN_ROLE_SECTRIX;
    if (dsValue(DS_CAN_FLOW_MESSAGES_ENABLED) != 0) {
        datalogCanStart(CAN_CHANNEL);
        role = CAN_ROLE_FLOW_LINK;
    } else {
        sectrixDataLinkInit(CAN_CHANNEL);
    }
    kernelTaskCreateStack(CAN_TASK_PRIORITY, canReceiveTask, role, TASK_STACK_BYTES, "process", __LINE__);
    return timingFailed;
}

// Only one application rate is shown per step; 1..3 are valid.
void checkApplicationRateNumber()
{
    const uint32_t number = dsValue(DS_APPL_RATE_NUMBER);
    if (number == 0 || number > 3)
        dsStore(DS_APPL_RATE_NUMBER, 1);
}

// A missing sensor decides the regulation mode; with neither it ends flow-based.
void regulationModeFromSensors()
{
    if (dsValue(DS_FLOW_SENSOR_PRESENT) == 0)
        dsStore(DS_REGULATION_MODE, 0);
    if (dsValue(DS_PRESSURE_SENSOR_PRESENT) == 0)
        dsStore(DS_REGULATION_MODE, 1);
}

}  // namespace

int32_t processHardwareId()
{
    return gHardwareId.load();
}

uint32_t SetBrightness()
{
    // Within 25..100 and within the item's own limits, so that the value
    // brought into range can be stored back.
    const DsItemDescriptor* item = datastoreDescriptor(DS_BRIGHTNESS);
    uint32_t lowest = BRIGHTNESS_MIN;
    uint32_t highest = BRIGHTNESS_MAX;
    if (item != nullptr && item->maximum > item->minimum) {
        lowest = std::max(lowest, static_cast<uint32_t>(std::ceil(item->minimum)));
        highest = std::min(highest, static_cast<uint32_t>(item->maximum));
    }
    const uint32_t stored = dsStoredValue(DS_BRIGHTNESS);
    const uint32_t brightness = std::min(std::max(stored, lowest), highest);
    if (brightness != stored)
        dsStore(DS_BRIGHTNESS, brightness);
    if (gHardwareId.load() < 0)
        return 0;
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "%d %%", static_cast<int>(brightness));
    io_ifSetBacklightDutyCycle(brightness * 10);
    return 0;
}

void hardwareVersionTask(uint32_t)
{
    threadfunc::setThreadName("hw-version");
    uint32_t id = 0;
    char text[16] = {};
    if (hwRevisionDetect(&id, text) != 0) {
        gHardwareId.store(static_cast<int32_t>(id));
        io_ifSetHardwareId(id);
        eventPost(EV_OWNER_PERIODIC, EV_HW_VERSION_KNOWN, 0);
        if (id > OLDEST_SUPPORTED_HW)
            return;
    }
    alarmRaise(WRONG_HW);
}

uint32_t processInit()
{
    evTimerInit();
    tickHookInit();
    dsStore(DS_DEBUG_MASK, 1);
    debugSetMask(static_cast<uint16_t>(dsValue(DS_DEBUG_MASK)));
    xmlReaderReset();
    const uint32_t firstRun = datastoreIsFirstRun();
    if (vkinfoInit() == 0)
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "device information file cannot be read correctly");
    if (firstRun != 0)
        pulsupdtInitPulsCounters();
    ValidateData(static_cast<uint8_t>(firstRun));

    const std::string share = clShareDir();
    createShareDir(share);
    sectionSwitchFileInit(pathJoin(share, "noOfPhysicalSectionSwitch").c_str());
    startPeriodicEvents();
    debugSetKeyHandler(processDebugKeyHandler);
    debugSetLevel(dsValue(DS_DEBUG_LEVEL));
    std::printf("%s. Version %s Build %s (%s)\r\n", "Velmar KSN Sprayer", versionGetString(), "00000",
                "#$#DEVELOPER#$#");
    std::fflush(stdout);

    processInitUnits();
    processInitAlarms();
    eventSetCallback(processHandleEvent);
    chooseSerialPort2Role();

    uint32_t result = processEvent(EV_PROCESS_START, firstRun);
    processEvent(EV_DENSITY_CHANGED, dsValue(DS_DENSITY_FACTOR));
    SetBrightness();
    totalTimeFileInit(pathJoin(share, "tottime.dat").c_str(), DS_TOTAL_TIME);
    if (chooseCanRole() != 0)
        result = 1;
    checkApplicationRateNumber();
    regulationModeFromSensors();
    alarmLogCreate("alarmlogs");
    alarmLogEnable(1);
    pressureLogCreate("pressurelogs");
    pressureLogEnable(1);
    tripCntSetExports(tripCntSavePdf, cntExportCsv);
    kernelTaskCreateStack(HW_TASK_PRIORITY, hardwareVersionTask, 0, TASK_STACK_BYTES, "process", __LINE__);
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "end");
    return result;
}
