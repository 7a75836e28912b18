#include "processcycle.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "cfgdt_if.h"
#include "clock.h"
#include "counters.h"
#include "datastore.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filelogger.h"
#include "io_if.h"
#include "movingaverage.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processsettings.h"
#include "processstate.h"
#include "pulsinput.h"
#include "regulmath.h"
#include "sectrix.h"
#include "tank.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kWords = 7;
constexpr uint32_t kCanSpeedSource = 4;
constexpr uint32_t kCanSpeedRawLimit = 27777;
constexpr uint32_t kCanSpeedSettleMs = 5000;
constexpr uint32_t kFillRunOnMs = 10000;
constexpr uint32_t kVolumeCounter = 5;
constexpr uint32_t kVolumeUnit = 6000000;       // l/min x 100 times ms in one litre
constexpr uint32_t kDistanceUnit = 100000;
constexpr uint32_t kAreaUnit = 100000000;
constexpr uint32_t kDistanceCounter = 19;
constexpr uint32_t kAreaCounter = 20;
constexpr uint32_t kFirstTrip = 14;
constexpr uint32_t kLastTrip = 22;
constexpr uint16_t kInputFirstSwitch = 0x2000;
constexpr uint16_t kInputLastSwitch = 0x4000;
constexpr uint16_t kInputFillManual = 0x40;
constexpr uint16_t kInputFillOpen = 0x80;
constexpr uint16_t kMasterInput = 0x4000;
constexpr uint16_t kMasterEnableInput = 0x8000;
constexpr uint32_t kShortSlots = 3;
constexpr uint32_t kLongSlots = 15;

struct Filter {
    MovingAverage average;
    uint32_t buffer[kLongSlots];
    void init(uint16_t size)
    {
        std::memset(buffer, 0, sizeof buffer);
        movingAverageInit(&average, buffer, size, 0);
    }
    uint32_t update(uint32_t sample) { return movingAverageUpdate(&average, sample); }
};

struct Cycle {
    uint32_t speedSource;
    uint32_t previousSecond;
    uint32_t previousDistanceCount;
    uint32_t previousPassMs;
    uint32_t canSpeedValid;
    uint32_t canSpeedValidSinceMs;
    uint32_t distanceAccumulator;
    uint32_t areaAccumulator;
    uint32_t volumeAccumulator;
    uint32_t tankPassMs;
    bool filtersMade;
    Filter meterFlow;
    Filter usedFlow;
    Filter pressure;
    Filter rate;
    Filter rawPressure;
    uint32_t lastMasterValve;
    uint32_t lastSprayPosted;
    bool holdSections;
    uint32_t lastFillValve;
    uint32_t fillRunOnEndMs;
};

// The CAN speed counts as valid since 5000 ms before the clock's start, so
// that one present from the start is used at once.
Cycle powerUpCycle()
{
    Cycle fresh{};
    fresh.canSpeedValid = 1;
    fresh.canSpeedValidSinceMs = 0u - kCanSpeedSettleMs;
    return fresh;
}

Cycle cycle = powerUpCycle();

uint32_t item(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}

void storeIfChanged(uint32_t id, uint32_t value)
{
    if (item(id) != value)
        datastoreSetFromUint32(id, value);
}

void readBlock(uint32_t id, uint16_t* words)
{
    datastoreGetData(id, words);
}

void storeBlockIfChanged(uint32_t id, const uint16_t* words)
{
    uint16_t current[kWords];
    readBlock(id, current);
    if (std::memcmp(current, words, sizeof current) != 0)
        datastoreSetData(id, words);
}

bool sectionOn(const uint16_t* map, uint32_t section)
{
    return section / 16 < kWords && (map[section / 16] & (1u << (section % 16))) != 0;
}

// Sections 1..32 of a map as a word with bit i - 1 for section i, as the Sectrix link counts them.
uint32_t sectionsAsWord(const uint16_t* map)
{
    uint32_t word = 0;
    for (uint32_t section = 1; section <= 32; ++section) {
        if (sectionOn(map, section))
            word |= 1u << (section - 1);
    }
    return word;
}

uint32_t mapAsArgument(const uint16_t* map)
{
    return (static_cast<uint32_t>(map[0]) | static_cast<uint32_t>(map[1]) << 16) & 0x00FFFFFF;
}

// Adds the whole units of the accumulator to the pulse counter's value; returns what is left.
uint32_t foldUnits(uint32_t counter, uint64_t accumulator, uint32_t unit)
{
    uint32_t value = 0;
    pulsGetCounterParam(counter, &value);
    pulsSetCounterParam(counter, value + static_cast<uint32_t>(accumulator / unit));
    return static_cast<uint32_t>(accumulator % unit);
}

void alarmSet(uint32_t id, bool on)
{
    if (on)
        alarmRaise(id);
    else
        alarmClear(id);
}

void makeFilters()
{
    if (cycle.filtersMade)
        return;
    cycle.meterFlow.init(kShortSlots);
    cycle.rawPressure.init(kShortSlots);
    cycle.usedFlow.init(kLongSlots);
    cycle.pressure.init(kLongSlots);
    cycle.rate.init(kLongSlots);
    cycle.filtersMade = true;
}

float frequencyOf(uint32_t which)
{
    const uint32_t bits = io_ifGetFrequency(which);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The CAN speed's raw value; false when the controller's message is missing or out of range.
bool readCanSpeed(uint32_t* raw, uint32_t* second)
{
    uint16_t value = 0;
    uint32_t secondValue = 0;
    const bool received = sectrixGetVersion(&value, &secondValue) != 0;
    *raw = value;
    *second = secondValue;
    return received && value <= kCanSpeedRawLimit;
}

// The CAN speed is back or no longer wanted: its alarm ends (with the line
// given) and the operator is asked once whether to use it again.
void canSpeedBack(const char* line)
{
    if (alarmIsActive(CAN_SPEED_LOST)) {
        alarmClear(CAN_SPEED_LOST);
        printf("%s", line);
    }
    ProcessState& state = processState();
    if (state.canSpeedBackPosted == 0) {
        eventPost(EV_OWNER_PERIODIC, EV_CAN_SPEED_BACK, 0);
        state.canSpeedBackPosted = 1;
    }
}

// Chooses the speed source: the configured one, or the fallback while a CAN
// speed is missing, settling, or not yet confirmed by the operator.
uint32_t chooseSpeedSource()
{
    ProcessState& state = processState();
    const uint32_t fallback = item(DS_SPEED_CAL_NUMBER) == 0 ? 3 : 2;
    const uint32_t configured = item(DS_SPEED_SOURCE);
    const uint32_t now = clockGetMs();
    if (configured != kCanSpeedSource) {
        canSpeedBack("CAN speed lost alarm deactivate new speed source\n");
        return state.useCanSpeedAgain != 0 ? configured : fallback;
    }

    uint32_t raw = 0;
    uint32_t second = 0;
    if (!readCanSpeed(&raw, &second)) {
        // Raised again while not active (a disabled alarm never is); told once per loss.
        if (cycle.canSpeedValid != 0 || !alarmIsActive(CAN_SPEED_LOST))
            alarmRaise(CAN_SPEED_LOST);
        if (cycle.canSpeedValid != 0)
            printf("CAN speed lost alarm activate \n");
        cycle.canSpeedValid = 0;
    } else if (cycle.canSpeedValid == 0) {
        cycle.canSpeedValid = 1;
        cycle.canSpeedValidSinceMs = now;
    }
    if (cycle.canSpeedValid == 0 || now - cycle.canSpeedValidSinceMs <= kCanSpeedSettleMs) {
        state.useCanSpeedAgain = 0;
        state.canSpeedBackPosted = 0;
        return fallback;
    }
    canSpeedBack("CAN speed lost alarm deactivate \n");
    return state.useCanSpeedAgain != 0 ? kCanSpeedSource : fallback;
}

void speedStep(uint32_t width)
{
    uint32_t reading = 0;
    uint32_t second = cycle.previousSecond;
    processGetSpeedInput(cycle.speedSource, &reading, &second);
    const uint32_t delta = second - cycle.previousSecond;
    const uint32_t chosen = chooseSpeedSource();
    if (chosen != cycle.speedSource) {
        processSelectSpeedSource(chosen, 0);
        cycle.speedSource = chosen;
        processGetSpeedInput(chosen, &reading, &second);
    }
    cycle.previousSecond = second;
    storeIfChanged(DS_RUN_VALUE_276, reading);
    const uint32_t count = item(DS_RUN_VALUE_277) + delta;
    storeIfChanged(DS_RUN_VALUE_277, count);

    const int32_t moved = static_cast<int32_t>(count - cycle.previousDistanceCount);
    const uint32_t d = moved > 0 ? static_cast<uint32_t>(moved) * 100 : 0;
    const uint32_t now = clockGetMs();
    // Ground is taken once per clock reading. A pass at the same reading (the
    // main thread held up, then two ticks at once) leaves its ground to the
    // next pass instead of dropping it.
    if (now != cycle.previousPassMs) {
        cycle.previousDistanceCount = count;
        cycle.distanceAccumulator += d;
        // Formed so that no product leaves 32 bits.
        uint32_t area;
        if (d > 40000)
            area = (d / 100) * width;
        else if (width > 50000)
            area = (width / 100) * d;
        else
            area = d * width / 100;
        cycle.areaAccumulator += area;
        if (cycle.distanceAccumulator > kDistanceUnit)
            processFoldAccumulator(kDistanceCounter, &cycle.distanceAccumulator, kDistanceUnit);
        if (cycle.areaAccumulator > kAreaUnit)
            processFoldAccumulator(kAreaCounter, &cycle.areaAccumulator, kAreaUnit);
    }
    storeIfChanged(DS_LIVE_SPEED, static_cast<uint16_t>(reading));
    cycle.previousPassMs = now;
}

// The flag that regulation follows the pressure instead of a flow too small to measure.
void updatePressureBasedFlag(uint32_t meterFlow)
{
    const bool set = item(DS_RUN_FLAG_230) != 0;
    const uint32_t limit = item(DS_LOW_FLOW_LIMIT) * (set ? 12 : 10);
    const bool on = item(DS_REGULATION_MODE) != 0 && item(DS_PRESSURE_SENSOR_PRESENT) != 0 &&
                    item(DS_REG_RUNTIME_239) != 0 && nozpresetGetNozzleType(item(DS_CURRENT_TIP_PRESET)) != 0 &&
                    item(DS_CROP_SPRAYER_MODE) != 0 && meterFlow < limit;
    storeIfChanged(DS_RUN_FLAG_230, on ? 1 : 0);
}

void processAlarmChecks()
{
    alarmSet(SPRAY_NO_FLOW_PULSES,
             item(DS_FLOW_SENSOR_PRESENT) != 0 && item(DS_REGULATION_MODE) != 0 && item(DS_RUN_COUNT_268) == 0);
    alarmSet(SPRAY_DENSITY_NOT_1, item(DS_DENSITY_FACTOR) != 1000);
    alarmSet(SPRAY_BELOW_MIN_SPEED, item(DS_MASTER_SWITCH) != 0 && static_cast<int32_t>(item(DS_LIVE_SPEED)) <
                                                                       static_cast<int32_t>(item(DS_MIN_SPEED) * 10));
    alarmSet(SPRAY_WORKING_PRESS_BASED, item(DS_RUN_FLAG_230) != 0);
    alarmSet(SPRAY_TANK_ALMOST_EMPTY, item(DS_ACTUAL_CONTENT) < item(DS_ALARM_MIN_TANK_CONTENT));
}

}  // namespace

void processCycleReset()
{
    cycle = powerUpCycle();
}

uint32_t processSpeedSourceInUse()
{
    return cycle.speedSource;
}

void processPostSectionOutputs(uint32_t mode, uint32_t map)
{
    eventPost(EV_OWNER_PROCEDURE, EV_SECTION_VALVES, mode << 24 | map);
}

void processUpdateSprayState(uint32_t force)
{
    const uint32_t master = item(DS_MASTER_SWITCH);
    bool spraying = master != 0;
    if (spraying && item(DS_AUTOMATIC_REGULATION) != 0) {
        uint16_t block[kWords];
        readBlock(DS_SECTION_STATE_BLOCK, block);
        uint32_t tips = cfgdtSumSectionTips(block);
        if (tips == 0) {
            readBlock(DS_SECTION_BLOCK_262, block);
            tips = cfgdtSumSectionTips(block);
        }
        spraying = nozpresetTargetRate(item(DS_CURRENT_TIP_PRESET)) != 0 && item(DS_BOOST_PERCENT) != 0 &&
                   static_cast<int32_t>(item(DS_LIVE_SPEED)) >= static_cast<int32_t>(item(DS_MIN_SPEED) * 10) &&
                   tips != 0;
    }
    const uint32_t state = spraying ? 1 : 0;
    if (state == item(DS_SPRAYING_ACTIVE) && force == 0)
        return;
    datastoreSetFromUint32(DS_SPRAYING_ACTIVE, state);
    eventPost(EV_OWNER_PROCEDURE, EV_SPRAYING_CHANGED, state);
    if (state != cycle.lastMasterValve || force != 0) {
        eventPost(EV_OWNER_PROCEDURE, EV_MASTER_VALVE, state);
        cycle.lastMasterValve = state;
    }
    cycle.lastSprayPosted = state;
    timerStop(EV_OWNER_PROCEDURE, EV_SPRAY_STOP_DELAY);
    if (state == 0 && item(DS_CORE_FLAG_18) == 0)
        timerStartOneShot(EV_OWNER_PROCEDURE, EV_SPRAY_STOP_DELAY, item(DS_SPRAY_STOP_DELAY_S) * 1000);
}

void processUpdateSectionState()
{
    ProcessState& state = processState();
    uint16_t source[kWords] = {};
    if (item(DS_TOUCH_OPERATION) != 0 || state.sectionsFromMask != 0)
        std::memcpy(source, state.touchSectionMask, sizeof source);
    else
        io_ifReadInputs(source);

    uint16_t block[kWords] = {};
    if (sectrixLinkIsLost() != 0 && sectrixIsActive() != 0) {
        const uint32_t status = sectrixGetStatusWord();
        uint16_t controller[kWords] = {};
        for (uint32_t section = 1; section <= 32; ++section) {
            if ((status & (1u << (section - 1))) != 0)
                controller[section / 16] = static_cast<uint16_t>(controller[section / 16] | 1u << (section % 16));
        }
        for (uint32_t w = 0; w < 3; ++w)
            block[w] = static_cast<uint16_t>(source[w] & controller[w]);
    } else {
        std::memcpy(block, source, sizeof block);
    }
    storeBlockIfChanged(DS_SECTION_BLOCK_262, block);

    uint16_t feedback[kWords] = {};
    io_ifReadSectionFeedback(0, feedback);
    storeBlockIfChanged(DS_SECTION_STATE_BLOCK, feedback);

    const uint32_t masterInput =
        item(DS_TOUCH_OPERATION) != 0 ? item(DS_SOFT_MASTER_SWITCH) : io_ifGetDigitalInput(kMasterInput);
    const uint32_t master = masterInput != 0 && io_ifGetDigitalInput(kMasterEnableInput) != 0 ? 1 : 0;
    state.lastMasterState = static_cast<uint8_t>(master);
    const uint32_t page = item(DS_PAGE_MODE);
    // On the filling page and the home view the master can only be switched off.
    if (master != item(DS_MASTER_SWITCH) && (master == 0 || (page != 3 && page != 4))) {
        datastoreSetFromUint32(DS_MASTER_SWITCH, master);
        fileLoggerSetEnabled(static_cast<int>(master));
    }
    sectrixSetSectionStates(item(DS_MASTER_SWITCH) != 0 ? sectionsAsWord(feedback) : 0);
}

void processUpdateSectionOutputs(uint32_t id)
{
    uint16_t block[kWords];
    readBlock(DS_SECTION_BLOCK_262, block);
    const bool spraying = item(DS_SPRAYING_ACTIVE) != 0;
    if (item(DS_SECTION_VALVE_BEHAVIOR) == 0 || spraying) {
        if (spraying)
            cycle.holdSections = false;
        processPostSectionOutputs(3, mapAsArgument(block));
        storeBlockIfChanged(DS_SECTION_STATE_BLOCK, block);
        return;
    }
    if (id == EV_SPRAY_STOP_DELAY)
        cycle.holdSections = true;
    if (cycle.holdSections) {
        processPostSectionOutputs(0, 0);
        return;
    }
    processPostSectionOutputs(1, 0);
    processPostSectionOutputs(0, mapAsArgument(block));
    storeBlockIfChanged(DS_SECTION_STATE_BLOCK, block);
}

void processCheckSwitchInputs()
{
    const uint32_t status = item(DS_STATUS_BITS);
    const bool firstInput = (status & kInputFirstSwitch) != 0;
    const bool lastInput = (status & kInputLastSwitch) != 0;
    eventPost(EV_OWNER_PROCEDURE, firstInput ? EV_INPUT_ON : EV_INPUT_OFF, 5);
    eventPost(EV_OWNER_PROCEDURE, lastInput ? EV_INPUT_ON : EV_INPUT_OFF, 4);
    uint16_t block[kWords];
    readBlock(DS_SECTION_STATE_BLOCK, block);
    const uint32_t first = firstInput && sectionOn(block, 1) ? 1 : 0;
    const uint32_t last = lastInput && sectionOn(block, item(DS_NUMBER_OF_SECTIONS)) ? 1 : 0;
    const uint32_t argument = item(DS_SPRAYING_ACTIVE) != 0 ? (first << 9 | last << 1) : (first << 8 | last);
    eventPost(EV_OWNER_PROCEDURE, EV_MASTER_INPUTS, argument);
}

void processUpdateFillValve()
{
    const uint32_t status = item(DS_STATUS_BITS);
    const uint32_t now = clockGetMs();
    uint32_t wanted;
    if ((status & kInputFillManual) != 0) {
        wanted = (status & kInputFillOpen) != 0 ? 1 : 0;
    } else {
        const uint32_t filling = item(DS_FILLING_ACTIVE);
        if (filling != 0 && static_cast<int32_t>(item(DS_ACTUAL_CONTENT)) >=
                                static_cast<int32_t>(item(DS_DESIRED_CONTENT)) -
                                    static_cast<int32_t>(item(DS_AUTO_FILL_OFFSET)))
            cycle.fillRunOnEndMs = now + kFillRunOnMs;
        const bool noSensor = item(DS_TANK_SENSOR_PRESENT) == 0 && item(DS_FILL_FLOW_SENSOR_PRESENT) == 0;
        if (noSensor || item(DS_AUTO_FILLING_ENABLED) != 0)
            wanted = filling != 0 ? 1 : 0;
        else
            wanted = static_cast<int32_t>(cycle.fillRunOnEndMs - now) > 0 ? 1 : 0;
    }
    if (wanted == cycle.lastFillValve)
        return;
    eventPost(EV_OWNER_PROCEDURE, wanted != 0 ? EV_FILL_VALVE_OPEN : EV_FILL_VALVE_CLOSE, 11);
    cycle.lastFillValve = wanted;
}

void processUpdateTankContent()
{
    const uint32_t now = clockGetMs();
    const uint32_t elapsed = now - cycle.tankPassMs;
    cycle.tankPassMs = now;
    if (cycle.lastSprayPosted == 0) {
        pulsClearCounter(kVolumeCounter);
    } else if (item(DS_REGULATION_MODE) != 0 && item(DS_RUN_FLAG_230) == 0) {
        pulsResetCounter(kVolumeCounter);
    } else {
        // No meter to trust: the volume follows the flow the regulation uses.
        // In 64 bits: after a while on another page one pass can hold more
        // flow x time than 32 bits do.
        pulsClearCounter(kVolumeCounter);
        const uint64_t volume =
            cycle.volumeAccumulator + static_cast<uint64_t>(item(DS_RUN_COUNT_270)) * elapsed;
        cycle.volumeAccumulator = volume > kVolumeUnit ? foldUnits(kVolumeCounter, volume, kVolumeUnit)
                                                       : static_cast<uint32_t>(volume);
    }

    int32_t content = 0;
    if (item(DS_TANK_SENSOR_PRESENT) != 0) {
        tankContentFromLevel();
        content = processState().tankReading;
    } else {
        int32_t tank = 0;
        pulsGetTripValueBase(8, &tank);
        const bool fillFlow = item(DS_FILL_FLOW_SENSOR_PRESENT) != 0;
        if (fillFlow) {
            int32_t filled = 0;
            pulsGetTripValueBase(9, &filled);
            tank += filled;
        }
        if (tank < 0) {
            pulsStopCounter(8);
            if (fillFlow)
                pulsStopCounter(9);
            tank = 0;
        }
        content = tank;
    }
    storeIfChanged(DS_ACTUAL_CONTENT, static_cast<uint32_t>(content));

    const uint32_t rate = item(DS_AUTOMATIC_REGULATION) != 0 ? item(DS_LIVE_TARGET_RATE) : item(DS_REG_RUNTIME_240);
    const uint32_t area = rate == 0 ? 0 : (static_cast<uint32_t>(content) * 1000 + rate / 2) / rate;
    storeIfChanged(DS_RUN_AREA, area);
    const uint32_t width = item(DS_RUN_COUNT_274);
    uint32_t distance = 0;
    if (width != 0) {
        const double metres = static_cast<double>(area) * 100000.0 / width;
        distance = metres > 9999.0 ? 9999 : static_cast<uint32_t>(metres);
    }
    storeIfChanged(DS_RUN_DISTANCE, distance);
}

uint32_t processGetSpeedInput(uint32_t source, uint32_t* reading, uint32_t* second)
{
    static const uint32_t kCounters[4][2] = {{13, 14}, {11, 12}, {15, 16}, {17, 18}};
    if (source < 4) {
        pulsGetCounterParam(kCounters[source][0], reading);
        pulsGetCounterParam(kCounters[source][1], second);
        return 1;
    }
    if (source != kCanSpeedSource)
        return 0;
    uint32_t raw = 0;
    const bool valid = readCanSpeed(&raw, second);
    *reading = valid ? raw * 36 / 100 : 0;
    return valid ? 1 : 0;
}

void processFoldAccumulator(uint32_t counter, uint32_t* accumulator, uint32_t unit)
{
    *accumulator = foldUnits(counter, *accumulator, unit);
}

// The store hands a refused value's violated limit to the hook: the factor
// follows what the item holds.
uint32_t processFillFlowCalChanged(uint32_t, const void*, uint32_t, uint16_t)
{
    const uint32_t calibration = item(DS_FILL_FLOW_CAL_NUMBER);
    const uint32_t unit = calibration == 0 ? 0 : static_cast<uint32_t>(std::lround(1e9 / calibration));
    pulsSetCounterUnit(4, unit);
    pulsSetCounterUnit(6, unit);
    return 0;
}

uint32_t processPulseRatioChanged(uint32_t, const void*, uint32_t, uint16_t)
{
    const uint64_t a = item(DS_PULSE_COUNT_266);
    const uint64_t b = item(DS_PULSE_COUNT_267);
    pulsSetCounterFactor(kVolumeCounter, a + b == 0 ? 0 : static_cast<uint32_t>(b * 1000 / (a + b)));
    return 0;
}

void processMeasurementStep()
{
    makeFilters();
    const bool spraying = item(DS_SPRAYING_ACTIVE) != 0;
    uint16_t block[kWords];
    readBlock(DS_SECTION_STATE_BLOCK, block);
    const uint32_t tipsOn = spraying ? cfgdtSumSectionTips(block) : 0;
    const uint32_t width = spraying ? cfgdtSumSectionWidth(block) : 0;
    const uint32_t bypass = regulBypassFlow(block);
    const uint32_t refTotal = nozzleRefFlowTotal(tipsOn);
    storeIfChanged(DS_REG_RUNTIME_239, tipsOn);
    storeIfChanged(DS_RUN_COUNT_274, width);
    storeIfChanged(DS_PULSE_SETTING_123, width);
    storeIfChanged(DS_PULSE_COUNT_267, bypass);
    storeIfChanged(DS_PULSE_COUNT_266, refTotal);

    const uint32_t now = clockGetMs();
    const float calibration = static_cast<float>(item(DS_FLOW_CAL_NUMBER)) / 1000.0f;
    const float flow0 = calibration == 0.0f ? 0.0f : frequencyOf(1) * 60.0f * 100.0f / calibration;
    const uint32_t meterFlow = cycle.meterFlow.update(static_cast<uint32_t>(flow0));
    fileLoggerPrintf("flow0,%lu,%f\n\r", static_cast<unsigned long>(now), static_cast<double>(flow0));
    fileLoggerPrintf("flow,%lu,%li\n\r", static_cast<unsigned long>(now), static_cast<long>(meterFlow));
    const uint32_t sprayedFlow = regulSprayedShare(meterFlow);

    const bool pressureSensor = item(DS_PRESSURE_SENSOR_PRESENT) != 0;
    uint32_t pressure;
    if (pressureSensor) {
        const uint32_t raw = cycle.rawPressure.update(item(DS_LIVE_PRESSURE_RAW));
        const uint32_t zero = item(DS_PRESSURE_SENSOR_ZERO);
        alarmSet(SPRAY_LIQ_ADC_PRESS_LOW, raw + 20 < zero);
        pressure = raw <= zero ? 0
                               : static_cast<uint32_t>(std::lround(static_cast<double>(raw - zero) *
                                                                   item(DS_PRESSURE_SENSOR_MAX) / (1023 - zero)));
    } else {
        pressure = pressureFromFlow(sprayedFlow, tipsOn, refTotal);
    }

    const uint32_t flowAtPressure = regulFlowAtPressure(pressureSensor ? pressure : 0, tipsOn, refTotal);
    const uint32_t deviation =
        sprayedFlow == 0 ? 0
                         : (flowAtPressure > sprayedFlow ? flowAtPressure - sprayedFlow : sprayedFlow - flowAtPressure) *
                               100 / sprayedFlow;
    storeIfChanged(DS_RUN_VALUE_253, deviation);

    updatePressureBasedFlag(meterFlow);

    const bool meterRegulates =
        item(DS_FLOW_SENSOR_PRESENT) != 0 && item(DS_REGULATION_MODE) != 0 && item(DS_RUN_FLAG_230) == 0;
    const uint32_t flowUsed = meterRegulates ? sprayedFlow : flowAtPressure;
    const uint32_t rate = spraying ? rateFromFlow(flowUsed, item(DS_LIVE_SPEED), width) : 0;

    const uint32_t averageFlow = cycle.usedFlow.update(flowUsed);
    const uint32_t averagePressure = cycle.pressure.update(pressure);
    const uint32_t averageRate = cycle.rate.update(rate);
    fileLoggerPrintf("pressure,%lu,%u\n\r", static_cast<unsigned long>(now), static_cast<unsigned>(pressure));
    fileLoggerPrintf("speed,%lu,%u\n\r", static_cast<unsigned long>(now), static_cast<unsigned>(item(DS_LIVE_SPEED)));
    storeIfChanged(DS_LIVE_PRESSURE, pressure);
    storeIfChanged(DS_LIVE_PRESSURE_2, averagePressure);
    storeIfChanged(DS_RUN_COUNT_270, flowUsed);
    storeIfChanged(DS_LIVE_AMOUNT, averageFlow);
    storeIfChanged(DS_RUN_COUNT_268, meterFlow);
    storeIfChanged(DS_RUN_COUNT_269, flowAtPressure);
    storeIfChanged(DS_REG_RUNTIME_240, averageRate);

    for (uint32_t trip = kFirstTrip; trip <= kLastTrip; ++trip) {
        if (tipsOn != 0)
            pulsResetTrip(trip);
        else
            pulsClearTrip(trip);
    }
    if (tipsOn != 0)
        tripCntStampJobStart();
    processUpdateTankContent();

    speedStep(width);
    processAlarmChecks();
}
