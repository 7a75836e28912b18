#include "processevent.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "cfgdt_if.h"
#include "counters.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filelogger.h"
#include "flowcal.h"
#include "io_if.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processcalc.h"
#include "processcycle.h"
#include "processdiag.h"
#include "processflowprint.h"
#include "processpower.h"
#include "processsections.h"
#include "processsettings.h"
#include "processstate.h"
#include "pulsinput.h"
#include "regulation.h"
#include "regulmath.h"
#include "speed.h"
#include "sysroot.h"
#include "tank.h"

namespace {

enum : uint32_t {
    PAGE_WORKING = 0,
    PAGE_DIAGNOSTICS = 1,
    PAGE_CALIBRATION = 2,
    PAGE_FILLING = 3,
    PAGE_HOME = 4,
    PROCESS_TICK_MS = 66,
    FILL_VALVE_COMMAND = 11,
    BOOST_MIN = 10,
    BOOST_MAX = 190,
};

const char* const kDeveloperLogDir = "/media/sda1/vrlog";

uint32_t pageMode()
{
    return dsValue(DS_PAGE_MODE);
}

// The cycle steps that keep spraying, sections and outputs in line with the switches.
void sprayAndSectionSteps()
{
    processUpdateSprayState(0);
    processUpdateSectionState();
    processUpdateSectionOutputs(EV_PROCESS_TICK);
}

void processTick()
{
    switch (pageMode()) {
    case PAGE_WORKING:
        sprayAndSectionSteps();
        processCheckSwitchInputs();
        processUpdateFillValve();
        processMeasurementStep();
        break;
    case PAGE_CALIBRATION:
        sprayAndSectionSteps();
        processCheckSwitchInputs();
        break;
    case PAGE_FILLING:
        processUpdateFillValve();
        processUpdateTankContent();
        break;
    case PAGE_HOME:
        sprayAndSectionSteps();
        break;
    default:
        break;
    }
    io_ifReadSensorInputs();
}

uint32_t processStart(uint32_t firstRun)
{
    ProcessState& state = processState();
    if (io_ifInit() == 0)
        state.ioInitFailed = 1;
    const uint32_t switches = dsValue(DS_PHYS_SECTION_SWITCHES);
    state.sectionsFromMask = (switches != 5 && switches != 7 && switches != 9) ? 1 : 0;
    fileLoggerCreate(sysrootPath(kDeveloperLogDir).c_str());
    const uint32_t inputs[] = {1, 4, 3, 5, 2};
    for (uint32_t input : inputs)
        pulsSetInputMode(input, 1);
    tripCntInit(firstRun != 0);
    timerStartPeriodic(EV_OWNER_PROCEDURE, EV_PROCESS_TICK, PROCESS_TICK_MS);
    timerStartPeriodic(EV_OWNER_PROCEDURE, EV_CAL_TICK, PROCESS_TICK_MS);
    cfgdtInitSectionTips(firstRun);
    nozinfoInit(firstRun);
    nozpresetInit(firstRun);
    nozpresetSetDensityMode(dsValue(DS_NH3_MODE));
    nozinfoSetReferenceMode(dsValue(DS_METRIC_UNITS) == 0 ? 1 : 0);
    dsStore(DS_RUN_FLAG_228, nozpresetGetNozzleType(dsValue(DS_CURRENT_TIP_PRESET)) == 0 ? 1 : 0);
    processSetAllSectionsAvailable();
    regulInit();
    tankProceduresInit(firstRun);
    dsStore(DS_RUN_FLAG_228, 0);
    dsStore(DS_PAGE_MODE, PAGE_WORKING);
    flowCalInit();
    speedInit();
    dsStore(DS_DEBUG_LEVEL, 0);
    dsStore(DS_ALARMS_IN_MANUAL_MODE, 1);
    if (firstRun != 0)
        processApplyImportedConfig();
    for (uint16_t& word : state.touchSectionMask)
        word = 0xFFFF;
    processUpdateMaxSections();
    return state.ioInitFailed != 0 ? 1 : 0;
}

void tick500ms()
{
    switch (pageMode()) {
    case PAGE_WORKING:
        processUpdateCounters();
        processLinkValues(EV_TICK_500MS);
        break;
    case PAGE_DIAGNOSTICS:
        processDiagnosticIo(EV_TICK_500MS, 0);
        break;
    case PAGE_CALIBRATION:
        processUpdateCounters();
        break;
    default:
        break;
    }
}

void tick1s()
{
    const uint32_t page = pageMode();
    if (page == PAGE_WORKING || page == PAGE_FILLING) {
        processState().tankReading = tankContentFromLevel();
    } else if (page == PAGE_HOME) {
        if (processState().lastMasterState != 0)
            alarmRaise(WORK_MODE_NOT_POSSIBLE);
        else
            alarmClear(WORK_MODE_NOT_POSSIBLE);
    }
}

// A setting whose value goes into the item as it is, under the store's range check.
struct ItemCommand {
    uint32_t id;
    uint32_t item;
};

constexpr ItemCommand kItemCommands[] = {
    {EV_SET_TANK_SENSOR_PRESENT, DS_TANK_SENSOR_PRESENT},
    {EV_SET_FILL_FLOW_SENSOR_PRESENT, DS_FILL_FLOW_SENSOR_PRESENT},
    {EV_SET_ITEM13, DS_CORE_FLAG_13},
    {EV_SET_REG_VALVE_TYPE, DS_REG_VALVE_TYPE},
    {EV_SET_SECTION_VALVE_TYPE, DS_SECTION_VALVE_TYPE},
    {EV_SET_AUTO_FILLING, DS_AUTO_FILLING_ENABLED},
    {EV_SET_REGUL_MODE, DS_REGULATION_MODE},
    {EV_SET_SECTION_VALVE_BEHAVIOR, DS_SECTION_VALVE_BEHAVIOR},
    {EV_SET_MIN_REG_PRESSURE, DS_MIN_REG_PRESSURE},
    {EV_SET_MAX_REG_PRESSURE, DS_MAX_REG_PRESSURE},
    {EV_SET_REG_VALVE_TIME, DS_REG_VALVE_TIME},
    {EV_SET_MIN_REG_VOLTAGE, DS_MIN_REG_VOLTAGE},
    {EV_SET_REG_DEADBAND, DS_REG_DEADBAND},
    {EV_SET_DEFAULT_VALVE_POSITION, DS_DEFAULT_VALVE_POSITION},
    {EV_SET_REG_VALVE_CAPACITY, DS_REG_VALVE_CAPACITY},
    {EV_SET_REG_START_DELAY, DS_REG_START_DELAY},
    {EV_SET_MINIMUM_SPEED, DS_MIN_SPEED},
    {EV_SET_CROSS_CHECK, DS_CROSS_CHECK_PERCENT},
    {EV_SET_ITEM49, DS_LOW_FLOW_LIMIT},
    {EV_SET_ITEM51, DS_HIGH_FLOW_LIMIT},
    {EV_SET_REG_ROUGH, DS_COARSE_VALVE_CAL},
    {EV_SET_REG_FINE, DS_FINE_VALVE_CAL},
    {EV_SET_RESTRICTOR_FLOW, DS_RESTRICTOR_PLATE_FLOW},
    {EV_SET_MAN_REG_SPEED, DS_MANUAL_REG_SPEED},
    {EV_SET_RATE_SMOOTHING, DS_DISPLAY_RATE_SMOOTHING},
    {EV_SET_ITEM28, DS_CORE_MODE_28},
    {EV_SET_ITEM29, DS_CORE_MODE_29},
    {EV_SET_TANK_MIN_CONTENT, DS_TANK_MIN_CONTENT},
    {EV_SET_AUTO_FILL_OFFSET, DS_AUTO_FILL_OFFSET},
    {EV_SET_MIN_TANK_CONTENT, DS_ALARM_MIN_TANK_CONTENT},
    {EV_SET_DESIRED_CONTENT, DS_DESIRED_CONTENT},
    {EV_SET_ITEM54, DS_PRESSURE_SENSOR_ZERO},
    {EV_SET_PRESSURE_REF, DS_PRESSURE_SENSOR_MAX},
    {EV_SET_PRESSURE_MAX, DS_REF_PRESSURE},
    {EV_SET_ITEM56, DS_TANK_CAL_EMPTY},
    {EV_SET_ITEM57, DS_TANK_CAL_MIN},
    {EV_SET_ITEM58, DS_TANK_CAL_MAX},
    {EV_SET_ITEM212, DS_FILL_FLOW_CAL_NUMBER},
    {EV_SET_CAL_VOLUME, DS_CAL_COLLECTED_VOLUME},
    {EV_SET_ITEM33, DS_SPRAY_STOP_DELAY_S},
    {EV_SET_EDIT_PRESET, DS_TIP_PRESET_SELECTION},
    {EV_SET_ITEM247, DS_FLOW_CAL_RATE_VALUE},
    {EV_DEBUG_LEVEL_2, DS_DEBUG_LEVEL},
    {EV_DEBUG_LEVEL_0, DS_DEBUG_LEVEL},
    {EV_DEBUG_LEVEL_1, DS_DEBUG_LEVEL},
};

bool storeItemCommand(uint32_t id, uint32_t value)
{
    for (const ItemCommand& command : kItemCommands) {
        if (command.id != id)
            continue;
        if (id == EV_DEBUG_LEVEL_2)
            value = 2;
        else if (id == EV_DEBUG_LEVEL_0)
            value = 0;
        else if (id == EV_DEBUG_LEVEL_1)
            value = 1;
        dsStore(command.item, value);
        return true;
    }
    return false;
}

void setTankContent(uint32_t value)
{
    dsStore(DS_ACTUAL_CONTENT, value);
    pulsSetCounterMode(8, value, 0);
    debugPrintf(0, "SetTankVolAct = %lu DS=%u\r\n", static_cast<unsigned long>(value),
                static_cast<unsigned>(dsValue(DS_ACTUAL_CONTENT)));
}

void setTankMaxContent(uint32_t value)
{
    dsStore(DS_TANK_MAX_CONTENT, value);
    const uint32_t maximum = dsValue(DS_TANK_MAX_CONTENT);
    if (dsValue(DS_ACTUAL_CONTENT) > maximum) {
        dsStore(DS_ACTUAL_CONTENT, maximum);
        pulsSetCounterMode(8, maximum, 0);
    }
}

// Circulation or a bypass share leaves no idle pressure.
void setWithIdlePressureRule(uint32_t item, uint32_t value)
{
    dsStore(item, value);
    if (value != 0)
        dsStore(DS_IDLE_PRESSURE, 0);
}

// DS_RUN_VALUE_256 corrected by the ratio of two readings; a zero divisor leaves it as it is.
void correctItem256()
{
    const int32_t divisor = static_cast<int16_t>(dsValue(DS_RUN_VALUE_255));
    if (divisor == 0)
        return;
    const int32_t measured = static_cast<int16_t>(dsValue(DS_RUN_VALUE_254));
    const int32_t current = static_cast<int16_t>(dsValue(DS_RUN_VALUE_256));
    const int32_t corrected = current + (measured - divisor) * 100 / divisor;
    dsStore(DS_RUN_VALUE_256, static_cast<uint16_t>(corrected));
}

void widthCheckAlarm()
{
    if (dsValue(DS_EVENT_FLAG_317) != 0 && dsValue(DS_CROP_SPRAYER_MODE) != 0)
        alarmRaise(MISMATCH_SPACING_AND_WIDTH);
    else
        alarmClear(MISMATCH_SPACING_AND_WIDTH);
}

void counterCommand(uint32_t id)
{
    switch (id) {
    case EV_CLEAR_JOB_COUNTERS:
        tripCntClearJob();
        processUpdateCounters();
        break;
    case EV_JOB_NUMBER_CHANGED:
        tripCntSelectJob();
        processUpdateCounters();
        break;
    case EV_COUNTERS_272:
        tripCntSaveJob();
        break;
    case EV_COUNTERS_273:
    case EV_COUNTER_TIMER:
        tripCntStaggeredSave();
        break;
    case EV_CLEAR_TOTAL_COUNTERS:
        for (uint32_t counter : {5u, 20u, 17u, 14u})
            pulsStopCounter(counter);
        processUpdateCounters();
        break;
    case EV_CLEAR_CAMPAIGN_COUNTERS:
        for (uint32_t counter : {6u, 21u, 18u, 15u})
            pulsStopCounter(counter);
        processUpdateCounters();
        break;
    default:
        break;
    }
}

// One case of the dispatcher; the common tail follows in processEvent.
uint32_t runCase(uint32_t id, uint32_t value)
{
    if (storeItemCommand(id, value))
        return 0;
    switch (id) {
    case EV_PROCESS_START:
        return processStart(value);
    case EV_PROCESS_TICK:
        processTick();
        break;
    case EV_TICK_50MS:
        if (pageMode() == PAGE_WORKING)
            processFlowPrintTick();
        break;
    case EV_TICK_500MS:
        tick500ms();
        break;
    case EV_TICK_1S:
        tick1s();
        break;
    case EV_SPRAY_STOP_DELAY:
        processUpdateSectionState();
        processUpdateSectionOutputs(EV_SPRAY_STOP_DELAY);
        break;
    case EV_MANUAL_REG_CHANGED:
    case EV_INPUTS_CHANGED:
        processUpdateSprayState(0);
        break;
    case EV_SPRAY_STATE_CHECK:
        processUpdateSprayState(1);
        break;
    case EV_POWER_DOWN:
        processPowerDown();
        break;
    case EV_SECTION_MASK_CLEAR_LEFT:
    case EV_SECTION_MASK_EXTEND_LEFT:
    case EV_SECTION_MASK_CLEAR_RIGHT:
    case EV_SECTION_MASK_EXTEND_RIGHT:
    case EV_SECTION_MASK_TOGGLE:
        processTouchMaskCommand(id, value);
        break;
    case EV_SET_SPRAYER_MODE:
        processSetSprayerMode(value);
        break;
    case EV_SET_FLOW_SENSOR_PRESENT:
    case EV_SET_PRESSURE_SENSOR_PRESENT:
        processSetSensorPresence(id, value);
        break;
    case EV_SET_CIRCULATION:
        setWithIdlePressureRule(DS_CIRCULATION_MODE, value);
        break;
    case EV_SET_ITEM43:
        setWithIdlePressureRule(DS_REG_SETTING_43, value);
        break;
    case EV_SET_TANK_MAX_CONTENT:
        setTankMaxContent(value);
        break;
    case EV_SET_TANK_CONTENT:
        setTankContent(value);
        break;
    case EV_SET_PRESSURE_CAL_EMPTY:
        dsStore(DS_PRESSURE_SENSOR_ZERO, dsValue(DS_LIVE_PRESSURE_RAW));
        debugPrintf(0, "LiqPressCal empty = %u \r\n", static_cast<unsigned>(dsValue(DS_PRESSURE_SENSOR_ZERO)));
        break;
    case EV_SET_PRESSURE_CAL_MAX:
        pressureSpanCal();
        break;
    case EV_SET_TANK_CAL_EMPTY:
        dsStore(DS_TANK_CAL_EMPTY, dsValue(DS_LIVE_TANK_SENSOR));
        break;
    case EV_SET_TANK_CAL_MIN:
        dsStore(DS_TANK_CAL_MIN, dsValue(DS_LIVE_TANK_SENSOR));
        break;
    case EV_SET_TANK_CAL_MAX:
        dsStore(DS_TANK_CAL_MAX, dsValue(DS_LIVE_TANK_SENSOR));
        break;
    case EV_SET_FLOW_CAL:
        dsStore(DS_FLOW_CAL_NUMBER, value);
        debugPrintf(0, "ImplIf Flow Cal = %lu\r\n", static_cast<unsigned long>(dsValue(DS_FLOW_CAL_NUMBER)));
        break;
    case EV_ITEM167_ACTION:
        regulSetValveOffset(value * 10);
        break;
    case EV_SET_NUMBER_OF_SECTIONS:
        dsStore(DS_NUMBER_OF_SECTIONS, value);
        processSetAllSectionsAvailable();
        break;
    case EV_ITEM248_UP:
        if (dsValue(DS_RUN_VALUE_248) < dsValue(DS_NUMBER_OF_SECTIONS))
            dsStore(DS_RUN_VALUE_248, dsValue(DS_RUN_VALUE_248) + 1);
        break;
    case EV_ITEM248_DOWN:
        if (dsValue(DS_RUN_VALUE_248) > 1)
            dsStore(DS_RUN_VALUE_248, dsValue(DS_RUN_VALUE_248) - 1);
        break;
    case EV_SET_ITEM248:
        dsStore(DS_RUN_VALUE_248, value);
        dsStore(DS_RUN_VALUE_292, cfgdtGetSectionWidth(dsValue(DS_RUN_VALUE_248)));
        break;
    case EV_SET_SECTION_WIDTH:
        cfgdtSetSectionTips(value >> 16, value & 0xFFFF);
        debugPrintf(0, "SetSectWidth = %u\r\n", static_cast<unsigned>(value & 0xFFFF));
        break;
    case EV_CONFIG_IMPORTED:
        processApplyImportedConfig();
        break;
    case EV_SET_DENSITY:
        dsStore(DS_DENSITY_FACTOR, value);
        processCalcSpeedPressure(CALC_REPEAT_LAST);
        break;
    case EV_SET_ITEM245:
        dsStore(DS_CALC_SPEED, value);
        processCalcSpeedPressure(CALC_SPEED_TO_PRESSURE);
        break;
    case EV_SET_ITEM246:
        dsStore(DS_CALC_PRESSURE, value);
        processCalcSpeedPressure(CALC_PRESSURE_TO_SPEED);
        break;
    case EV_DENSITY_CHANGED:
        if (dsValue(DS_NH3_MODE) != 0)
            dsStore(DS_NH3_DENSITY_FACTOR, dsValue(DS_DENSITY_FACTOR));
        break;
    case EV_SET_LIQUID_UNIT:
        if (dsValue(DS_NH3_MODE) == 0)
            dsStore(DS_SPRAYER_MODE_FACTOR, dsValue(DS_RUN_VALUE_256));
        break;
    case EV_SET_ITEM256:
        correctItem256();
        break;
    case EV_SET_NOZZLE_SPACING:
        if (value != 0) {
            dsStore(DS_TIP_SPACING, value);
            debugPrintf(0, "SetNozzleSpacing = %u\r\n", static_cast<unsigned>(value));
        }
        break;
    case EV_SET_PRESET_NOZZLE_TYPE:
        nozpresetSetNozzleType(dsValue(DS_TIP_PRESET_SELECTION), value);
        break;
    case EV_SELECT_NOZZLE_PRESET:
        dsStore(DS_CURRENT_TIP_PRESET, value);
        dsStore(DS_RUN_FLAG_228, nozpresetGetNozzleType(dsValue(DS_CURRENT_TIP_PRESET)) == 0 ? 1 : 0);
        break;
    case EV_TARGET_RATE_CHANGED:
        nozpresetSetNozzleTargetRate(dsValue(DS_CURRENT_TIP_PRESET), value);
        processCalcSpeedPressure(CALC_REPEAT_LAST);
        break;
    case EV_SET_PRESET_TARGET_RATE:
        nozpresetSetNozzleTargetRate(dsValue(DS_TIP_PRESET_SELECTION), value);
        break;
    case EV_SET_BOOST: {
        const uint32_t boost = value < BOOST_MIN ? BOOST_MIN : (value > BOOST_MAX ? BOOST_MAX : value);
        dsStore(DS_BOOST_PERCENT, boost);
        break;
    }
    case EV_MASTER_VALVE:
        io_ifSetValveOutputs(IO_IF_VALVE_MASTER, static_cast<uint16_t>(value & 0xFFFF));
        break;
    case EV_SECTION_VALVES: {
        const uint16_t map[2] = {static_cast<uint16_t>(value & 0xFFFF), static_cast<uint16_t>((value >> 16) & 0xFF)};
        io_ifSetSectionOutputs((value >> 24) & 0xF, map);
        break;
    }
    case EV_FILL_VALVE_OPEN:
    case EV_FILL_VALVE_CLOSE:
        if (value == FILL_VALVE_COMMAND)
            io_ifSetValveOutputs(IO_IF_VALVE_FILL, id == EV_FILL_VALVE_OPEN ? 1 : 0);
        break;
    case EV_DIAG_CLEAR_PULSE_COUNT:
    case EV_DIAG_OUTPUT_TEST_BEGIN:
    case EV_DIAG_OUTPUT_TEST_END:
    case EV_LIQ_VALVE_PWM_CHANGED:
    case EV_DIAG_LIQ_VALVE_PWM:
    case EV_DIAG_LIQ_VALVE_PWM_SET:
    case EV_DIAG_FILL_VALVE:
    case EV_DIAG_MASTER_VALVE:
    case EV_DIAG_SECTION_ON:
    case EV_DIAG_SECTION_OFF:
        processDiagnosticIo(id, value);
        break;
    case EV_SET_SPEED_SOURCE:
        processSelectSpeedSource(value, 1);
        speedHandleEvent(id, value);
        break;
    case EV_SPEED_257:
    case EV_SPEED_CAL:
    case EV_SPEED_259:
    case EV_SIM_SPEED_CHANGED:
        speedHandleEvent(id, value);
        break;
    case EV_USE_CAN_SPEED_AGAIN:
        processState().useCanSpeedAgain = 1;
        break;
    case EV_CLEAR_JOB_COUNTERS:
    case EV_JOB_NUMBER_CHANGED:
    case EV_COUNTERS_272:
    case EV_COUNTERS_273:
    case EV_COUNTER_TIMER:
    case EV_CLEAR_TOTAL_COUNTERS:
    case EV_CLEAR_CAMPAIGN_COUNTERS:
        counterCommand(id);
        break;
    case EV_ITEM5_CHANGED:
        processLinkValues(EV_ITEM5_CHANGED);
        break;
    case EV_DEBUG_LEVEL_CHANGED:
        debugSetLevel(dsValue(DS_DEBUG_LEVEL));
        break;
    case EV_WIDTH_CHECK_CHANGED:
        widthCheckAlarm();
        break;
    case EV_STOP_SPRAYING_ALARM:
        alarmRaise(IN_WORKING_MODE);
        break;
    case EV_WORK_SCREEN_SHOWN:
        if (dsValue(DS_SPEED_SOURCE) == 3)
            alarmRaise(SIMUL_SPEED_IS_ACTIVE);
        break;
    case EV_MASTER_STATE_CHANGED:
        dsStore(DS_EVENT_FLAG_290, dsValue(DS_MASTER_SWITCH));
        break;
    case EV_PULSANO_CAN_CONNECTED:
        debugPrintf(0, "PULSANO is now CAN connected!!\r\n");
        break;
    case EV_PULSANO_CAN_LOST:
        debugPrintf(0, "PULSANO CAN connection is lost!!\r\n");
        break;
    default:
        break;
    }
    return 0;
}

ProcessEventTail gTail = {regulHandleEvent, tankProceduresHandleEvent, flowCalHandleEvent};
ProcessEventObserver gObserver = nullptr;

}  // namespace

ProcessEventTail& processEventTail()
{
    return gTail;
}

ProcessEventObserver& processEventObserver()
{
    return gObserver;
}

uint32_t processEvent(uint32_t id, uint32_t value)
{
    if (gObserver != nullptr)
        gObserver(id, value);
    const uint32_t result = runCase(id, value);
    // The regulation has its own 66 ms tick only through the main tick, and
    // none at all while the diagnostics page drives the outputs.
    if (pageMode() != PAGE_DIAGNOSTICS && id != EV_REGULATION_TICK)
        gTail.regulation(id == EV_TICK_100MS ? EV_REGULATION_TICK : id, value);
    if (dsValue(DS_TANK_SENSOR_PRESENT) != 0 || dsValue(DS_FILL_FLOW_SENSOR_PRESENT) != 0)
        gTail.tankProcedures(id);
    gTail.flowCalibration(id);
    if (id == EV_CAL_VOLUME_ENTERED && dsValue(DS_NH3_MODE) != 0)
        dsStore(DS_NH3_DENSITY_FACTOR, dsValue(DS_DENSITY_FACTOR));
    return result;
}
