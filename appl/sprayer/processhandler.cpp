#include "processhandler.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "alarmlogger.h"
#include "beep.h"
#include "clock.h"
#include "counters.h"
#include "datalogcan.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "pdfpressurelog.h"
#include "platform.h"
#include "pressurelogger.h"
#include "processevent.h"
#include "processinit.h"
#include "pulsupdt.h"
#include "reglink.h"
#include "sectrix.h"
#include "sectrixsupervision.h"
#include "unitquantities.h"
#include "units.h"

namespace {

enum : uint32_t { REGISTER_LINK_PORT = 2, SLOW_TICK_MS = 7, LOOP_TRACE_CATEGORY = 0x0002 };

void sectrixLink(uint32_t id, uint32_t arg)
{
    sectrixHandleEvent(id, arg);
}

void processEventLink(uint32_t id, uint32_t arg)
{
    processEvent(id, arg);
}

void countersLink(uint32_t id, uint32_t arg)
{
    tripCntHandleEvent(id, arg);
}

EventChainLink gChain[EVENT_CHAIN_LINKS] = {
    sectrixLink, tickHookRun, processEventLink, countersLink, eventSignalsHandleEvent,
};

// The main tick, timed in three stages; a slow pass is reported.
void tick100ms()
{
    const uint32_t t0 = clockGetMs();
    platformUpdate();
    const uint32_t t1 = clockGetMs();
    pulsupdtUpdate();
    loopStatsUpdate();
    const uint32_t t2 = clockGetMs();
    alarmUpdate();
    const uint32_t t3 = clockGetMs();
    if (t3 - t0 > SLOW_TICK_MS)
        debugPrintf(0, "1,%lu,%lu,%lu,%lu\r\n", static_cast<unsigned long>(t0), static_cast<unsigned long>(t1 - t0),
                    static_cast<unsigned long>(t2 - t1), static_cast<unsigned long>(t3 - t2));
    // With the flow printout port 2 is not the register link's.
    if (dsValue(DS_FLOW_PRINTOUT_ENABLED) == 0) {
        regLinkPoll(REGISTER_LINK_PORT);
        regLinkService(REGISTER_LINK_PORT);
    }
}

void tick1s()
{
    LoopStats stats = {};
    loopStatsGet(&stats);
    debugPrintfCategory(0, LOOP_TRACE_CATEGORY, "%7lu Main: min: %2lu max: %2lu avg: %2lu \r\n",
                        static_cast<unsigned long>(clockGetMs()), static_cast<unsigned long>(stats.minimum),
                        static_cast<unsigned long>(stats.maximum), static_cast<unsigned long>(stats.mean));
}

void pressureSample()
{
    if (dsValue(DS_SPRAYING_ACTIVE) == 0 || dsValue(DS_LIVE_PRESSURE_2) == 0)
        return;
    const uint32_t scale = unitGetScale(UQ_ACTUAL_PRESSURE);
    const float value =
        static_cast<float>(unitGetItemValue(UQ_ACTUAL_PRESSURE)) / static_cast<float>(scale != 0 ? scale : 1);
    pressureLogSample(value, unitGetSystem() == 0 ? "bar" : "psi");
}

void ownTreatment(uint32_t id, uint32_t arg)
{
    switch (id) {
    case EV_TICK_100MS:
        tick100ms();
        break;
    case EV_TICK_500MS:
        sectrixSupervisionTick();
        break;
    case EV_TICK_1S:
        tick1s();
        break;
    case EV_ALARM_SHOWN: {
        const uint16_t bits = static_cast<uint16_t>(dsValue(DS_MANUAL_PRESSURE_BITS));
        if ((bits & 0x0006) != 0)
            dsStore(DS_MANUAL_PRESSURE_BITS, bits & 0xFFF9);
        alarmLogAlarm(arg);
        break;
    }
    case EV_KEY_BEEP_CHECK:
        if (dsValue(DS_FILLING_ACTIVE) == 0 && dsValue(DS_FILLING_FLAG_232) != 0)
            beepStart(2, 1);
        break;
    case EV_MASTER_OFF:
        dsStore(DS_MASTER_SWITCH, 0);
        debugPrintf(0, "Master State %s\n\r", "Off");
        break;
    case EV_DISABLE_DENSITY_ALARMS:
        alarmEnable(SPRAY_DENSITY_NOT_1, 0);
        alarmEnable(SPRAY_WORKING_PRESS_BASED, 0);
        break;
    case EV_HW_VERSION_KNOWN:
        SetBrightness();
        break;
    case EV_EXPORT_ALARM_LOG:
        alarmLogRequestExport();
        break;
    case EV_ALARM_LOG_REQUEST:
        alarmLogRequestClear();
        break;
    case EV_PHYS_SWITCHES_CHANGED:
        sectionSwitchFileWrite(dsValue(DS_PHYS_SECTION_SWITCHES), dsValue(DS_HW_13_SECTIONS));
        break;
    case EV_EXPORT_PRESSURE_LOG:
        eventPost(EV_OWNER_PERIODIC, EV_PRESSURE_LOG_EXPORTED, pressureLogSavePdf() ? 1 : 0);
        break;
    case EV_TICK_10S:
        pressureSample();
        break;
    default:
        break;
    }
}

}  // namespace

EventChainLink* processEventChain()
{
    return gChain;
}

void processHandleEvent(uint32_t id, uint32_t arg)
{
    ownTreatment(id, arg);
    for (EventChainLink link : gChain)
        link(id, arg);
}
