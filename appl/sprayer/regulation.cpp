#include "regulation.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "cfgdt_if.h"
#include "clock.h"
#include "datastore.h"
#include "debugout.h"
#include "eventids.h"
#include "evtimer.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "pulsinput.h"
#include "regulmath.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kStopDelayMs = 5000;
constexpr uint32_t kAnticipateMs = 300000;
constexpr uint32_t kParkDelayMs = 600000;
constexpr uint32_t kPressureLimitHoldMs = 5000;
constexpr uint32_t kTimerMarginMs = 10;
// Idle-pressure regulation works on a fixed nominal boom: 54 nozzles of 0.6966 l/min.
constexpr uint32_t kIdleNozzles = 54;
constexpr uint32_t kIdleRefFlow = 6966;
constexpr uint32_t kTripDistance = 14;
constexpr uint32_t kTripTime = 20;

struct Regulation {
    RegulState state;
    uint32_t startDelayDone;
    uint32_t alarmsOn;
    uint32_t manualDir0;
    uint32_t manualDir1;
    uint16_t holdCount;
    uint32_t holdDir;
    uint16_t avgSpeed;
    uint32_t lastFlow;
    uint32_t distanceBase;
    uint32_t timeBase;
    uint32_t waitTicks;        // ticks still to wait for the measured flow to show the moves
    uint32_t response = 1000;  // per mille: how far the valve moves the flow against its figures
    uint32_t responseFlow;     // the measured flow the response was seen at (0: not seen yet)
    bool drivingOn;            // channel 0 drives on near the target without a limit
    // The moves since the regulation last stood still, until the measured flow shows them:
    uint32_t moveExpected;     // the measured flow they are to move (0: none)
    uint32_t moveFlowBefore;   // the measured flow before them
    int32_t moveSign;          // +1 to raise the flow, -1 to lower it
    bool moveMixed;            // moves both ways
    uint32_t moveWidth;        // the working width before them
};

// What one step may teach of the valve's response, and its bounds (per mille).
constexpr uint32_t kResponseMin = 250;
constexpr uint32_t kResponseMax = 4000;

Regulation reg;

// Air-pressure rows: targets t0..t2, then liquid thresholds p0..p2 (bar x 100);
// [table][row], row 0 selected by item value 7 down to row 3 by 4.
const uint16_t kAirTable[2][4][6] = {
    {{100, 130, 150, 150, 200, 250}, {70, 100, 130, 150, 300, 400}, {50, 70, 80, 130, 250, 350},
     {30, 50, 70, 110, 200, 400}},
    {{100, 130, 150, 100, 150, 200}, {80, 130, 150, 100, 250, 350}, {80, 100, 130, 150, 300, 400},
     {50, 80, 100, 150, 250, 400}},
};

uint32_t item(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}

void storeIfChanged(uint32_t id, uint32_t value)
{
    if (item(id) != value)
        datastoreSetFromUint32(id, value);
}

void startStateTimer(uint32_t ms)
{
    timerStartOneShot(EV_OWNER_PROCEDURE, EV_REG_STATE_TIMER, ms);
}

uint32_t tripBase(uint32_t trip)
{
    int32_t value = 0;
    pulsGetTripValueBase(trip, &value);
    return static_cast<uint32_t>(value);
}

void bothChannelsOff()
{
    regulDriveOutputs(0, REG_DIR_NONE, 0);
    regulDriveOutputs(1, REG_DIR_NONE, 0);
}

// Raised when `raise`, cleared when `clear`, else left as it is.
void alarmHysteresis(uint32_t id, bool raise, bool clear)
{
    if (raise)
        alarmRaise(id);
    else if (clear)
        alarmClear(id);
}

void alarmSet(uint32_t id, bool on)
{
    if (on)
        alarmRaise(id);
    else
        alarmClear(id);
}

const uint16_t* airRow()
{
    const uint32_t table = item(DS_CORE_MODE_28);
    const uint32_t rowItem = item(DS_CORE_MODE_29);
    if (table > 1 || rowItem < 4 || rowItem > 7)
        return nullptr;
    return kAirTable[table][7 - rowItem];
}

// The valve's response at the measured flow flow: once it has been seen, in
// proportion to the flow, as a valve sharing the pump's flow with the nozzles
// moves a small flow less than a large one.
uint32_t responseAt(uint32_t flow)
{
    if (reg.responseFlow == 0 || flow == 0)
        return reg.response;
    const uint64_t r = uint64_t{reg.response} * flow / reg.responseFlow;
    return static_cast<uint32_t>(std::clamp<uint64_t>(r, kResponseMin, kResponseMax));
}

// Forgets the moves in flight: the regulation starts afresh, or has stopped pacing.
void stopPacing()
{
    reg.waitTicks = 0;
    reg.moveExpected = 0;
    reg.drivingOn = false;
}

// Adds a drive to the moves the measured flow is still to show.
void expectMove(uint32_t duty, uint32_t ms, int32_t sign, uint32_t flow)
{
    if (reg.moveExpected == 0) {
        reg.moveFlowBefore = flow;
        reg.moveSign = sign;
        reg.moveWidth = item(DS_RUN_COUNT_274);
        reg.moveMixed = false;
    }
    reg.moveMixed = reg.moveMixed || sign != reg.moveSign;
    const uint64_t expected = uint64_t{regulStepFlow(duty, ms)} * responseAt(flow) / 1000;
    reg.moveExpected += std::max<uint32_t>(1, static_cast<uint32_t>(expected));
}

// The valve's response judged once the measured flow shows the moves since the
// regulation last stood still: how much of the expected move came. A move no
// larger than the flow's own wobble (the dead band) teaches little, a large one
// much; moves both ways, or over which the sections changed, teach nothing.
void learnResponse(uint32_t flow, uint32_t band)
{
    const double expected = reg.moveExpected;
    reg.moveExpected = 0;
    if (expected == 0 || reg.moveMixed || item(DS_RUN_COUNT_274) != reg.moveWidth || flow == 0 ||
        reg.moveFlowBefore == 0)
        return;
    const double moved = (static_cast<double>(flow) - reg.moveFlowBefore) * reg.moveSign;
    const double seen = std::clamp(moved / expected, 0.25, 4.0);
    const double wobble = 2.0 * band;
    const double weight = expected * expected / (expected * expected + wobble * wobble);
    if (reg.responseFlow == 0)
        reg.responseFlow = reg.moveFlowBefore;
    const double response = reg.response * std::pow(seen, weight);
    reg.response = static_cast<uint32_t>(std::clamp(response, double{kResponseMin}, double{kResponseMax}));
}

// Paces channel 0's drive at duty for the flow error (wanted - measured, in
// measured flow; flow is the measured flow). Far from the target it drives on
// (*ms 0). Near it, it drives on only while the moves the measured flow has
// not shown yet stay short of the error; then it waits for them, and one step
// of *ms is to move the flow by what is left, after which it waits again. So
// no correction is made twice, and each wait ends with what the valve truly
// did. Called on every step while regulating, inside the dead band (duty 0)
// too, so that the wait runs on ticks.
uint32_t paceDrive(uint32_t duty, int32_t error, uint32_t ref, uint32_t flow, bool tick, uint32_t* ms)
{
    *ms = 0;
    if (item(DS_MIN_REG_VOLTAGE) == REG_FULL_VOLTAGE)
        return duty;
    if (tick && reg.waitTicks != 0 && --reg.waitTicks == 0)
        learnResponse(flow, regulDeadBand(ref));
    const uint32_t size = static_cast<uint32_t>(error < 0 ? -error : error);
    const int32_t sign = error < 0 ? -1 : 1;
    const bool far = size >= regulDeadBand(ref) + regulKnee();
    const uint32_t response = responseAt(flow);
    if (duty != 0)
        *ms = regulDriveTime(duty, size, ref, response);
    if (duty != 0 && *ms == 0) {
        // Far from the target a move in flight is not waited for.
        if (reg.waitTicks != 0 && !far)
            return 0;
        if (tick)
            expectMove(duty, REG_TICK_MS, sign, flow);
        reg.waitTicks = 0;
        reg.drivingOn = true;
        return duty;
    }
    if (reg.drivingOn) {
        reg.drivingOn = false;
        reg.waitTicks = REG_MEASURE_LAG_TICKS;
        *ms = 0;
        return 0;
    }
    if (duty == 0 || reg.waitTicks != 0) {
        *ms = 0;
        return 0;
    }
    // The step's own ticks, then the measurement's lag.
    expectMove(duty, *ms, sign, flow);
    reg.waitTicks = (*ms + REG_TICK_MS - 1) / REG_TICK_MS + REG_MEASURE_LAG_TICKS;
    return duty;
}

// Channel 0 while regulating; the effective target goes to *shown when the
// flow is inside the dead band.
void regulateChannel0(uint32_t target, uint32_t* shown, bool tick)
{
    const uint32_t v = item(DS_LIVE_SPEED);
    const uint32_t w = item(DS_RUN_COUNT_274);
    const uint32_t q = item(DS_RUN_COUNT_270);
    const bool crop = item(DS_CROP_SPRAYER_MODE) != 0;
    const uint32_t pMin = crop ? item(DS_MIN_REG_PRESSURE) : 0;
    const uint32_t pMax = crop ? item(DS_MAX_REG_PRESSURE) : 0;
    const uint32_t rate = item(DS_REG_RUNTIME_240);
    const uint32_t pressure = item(DS_LIVE_PRESSURE);
    const bool densityOne = item(DS_DENSITY_FACTOR) == 1000;

    uint32_t dir = REG_DIR_NONE;
    uint32_t duty = 0;
    uint32_t driveMs = 0;
    bool paced = false;
    if (v == 0 || item(DS_REG_RUNTIME_239) == 0) {
        // No speed or no open nozzle: nothing to regulate.
    } else if (alarmIsActive(SPRAY_NO_FLOW_PULSES) && item(DS_RUN_FLAG_230) == 0) {
        dir = REG_DIR_INCREASE;
        duty = regulMinDuty();
    } else if (alarmIsActive(SPRAY_LIQ_ADC_PRESS_LOW) && item(DS_REGULATION_MODE) == 0) {
        // Pressure-based regulation without a valid pressure reading.
    } else {
        uint32_t effective = target;
        bool limited = false;
        if (item(DS_PULSE_COUNT_266) == 0 && crop) {
            if (item(DS_PRESSURE_SENSOR_PRESENT) != 0) {
                if (pMax != 0 && pressure > pMax && target > rate) {
                    regulPressureLimitAlarm(SPRAY_MAX_REG_PRESS);
                    dir = REG_DIR_DECREASE;
                    duty = regulMinDuty();
                    limited = true;
                } else if (pMin != 0 && pressure < pMin && target < rate && densityOne) {
                    regulPressureLimitAlarm(SPRAY_MIN_REG_PRESS);
                    dir = REG_DIR_INCREASE;
                    duty = alarmIsActive(SPRAY_LIQ_ADC_PRESS_LOW) ? 0 : regulMinDuty();
                    limited = true;
                }
            }
        } else {
            const bool lowFlowBase = item(DS_REGULATION_MODE) != 0 && item(DS_RUN_FLAG_230) == 0 &&
                                     item(DS_CORE_FLAG_121) != 0;
            const uint32_t base = lowFlowBase ? item(DS_LOW_FLOW_LIMIT) * 10 : 0;
            const uint32_t rLow = rateFromFlow(base, v, w);
            const uint32_t rMin = regulRateAtPressure(pMin, v, w);
            if (rLow > rMin) {
                effective = std::max(rLow, target);
            } else if (target < rMin && densityOne) {
                regulPressureLimitAlarm(SPRAY_MIN_REG_PRESS);
                effective = rMin;
            }
            if (pMax != 0) {
                const uint32_t rMax = regulRateAtPressure(pMax, v, w);
                if (rMax < effective) {
                    regulPressureLimitAlarm(SPRAY_MAX_REG_PRESS);
                    effective = rMax;
                }
            }
        }
        if (!limited) {
            const uint32_t wanted = flowFromRate(effective, v, w);
            dir = q < wanted ? REG_DIR_INCREASE : REG_DIR_DECREASE;
            const uint32_t error = q < wanted ? wanted - q : q - wanted;
            duty = regulDutyFromError(error, wanted);
            if (duty == 0)
                *shown = effective;
            duty = paceDrive(duty, static_cast<int32_t>(regulMeasuredShare(error)) * (q < wanted ? 1 : -1),
                             regulMeasuredShare(wanted), regulMeasuredShare(q), tick, &driveMs);
            paced = true;
        }
    }
    // Drives of other kinds leave nothing to judge the valve by.
    if (!paced)
        stopPacing();

    uint32_t dir1 = REG_DIR_NONE;
    uint32_t duty1 = 0;
    if (item(DS_CORE_FLAG_13) != 0) {
        if (nozpresetGetNozzleType(item(DS_CURRENT_TIP_PRESET)) == 0) {
            regulAirPressureControl(&dir1, &duty1);
        } else {
            dir1 = reg.manualDir1;
            duty1 = REG_DUTY_FULL;
        }
    }
    if (driveMs == 0 || duty == 0)
        regulDriveOutputs(0, dir, duty);
    else
        regulDriveOutputsFor(0, dir, duty, driveMs);
    regulDriveOutputs(1, dir1, duty1);
}

void stepIdlePressure()
{
    const uint32_t idle = item(DS_IDLE_PRESSURE);
    const uint32_t pressure = item(DS_LIVE_PRESSURE_2);
    const uint32_t fi = regulFlowAtPressure(idle, kIdleNozzles, kIdleRefFlow);
    const uint32_t fp = regulFlowAtPressure(pressure, kIdleNozzles, kIdleRefFlow);
    uint32_t dir = REG_DIR_NONE;
    uint32_t error = 0;
    if (fp < fi && pressure < item(DS_MAX_REG_PRESSURE)) {
        dir = REG_DIR_INCREASE;
        error = fi - fp;
    }
    const uint32_t duty = regulDutyFromError(error, fi);
    regulDriveOutputs(0, dir, duty);
    regulDriveOutputs(1, REG_DIR_NONE, 0);

    if (item(DS_RUN_FLAG_327) == 1 && item(DS_RUN_FLAG_328) == 0) {
        reg.state = REG_PARK_CLOSE;
        startStateTimer(kTimerMarginMs);
    } else if (dir != REG_DIR_NONE && dir == reg.holdDir && duty != 0) {
        // Driving one way for twice the full travel time: the valve is at its stop; park it.
        if (static_cast<int32_t>(90 * reg.holdCount) <= static_cast<int32_t>(200 * item(DS_REG_VALVE_TIME))) {
            ++reg.holdCount;
        } else {
            reg.holdCount = 0;
            reg.state = REG_PARK_CLOSE;
            startStateTimer(kTimerMarginMs);
        }
    } else {
        reg.holdCount = 0;
    }
    reg.holdDir = dir;
}

// Runs the state's own work for this step and makes its transitions.
void actOnState(uint32_t id, bool spraying, uint32_t target, uint32_t* shown)
{
    const bool stateTimer = id == EV_REG_STATE_TIMER;
    switch (reg.state) {
    case REG_MANUAL:
        if (item(DS_AUTOMATIC_REGULATION) != 0) {
            reg.state = REG_WAIT_START;
            break;
        }
        if (!spraying) {
            if (reg.alarmsOn != 0) {
                regulEnableAlarms(0, 0);
                reg.alarmsOn = 0;
            }
        } else if (reg.alarmsOn == 0 && item(DS_TANK_SHAPE_CAL_ACTIVE) == 0) {
            regulEnableAlarms(item(DS_ALARMS_IN_MANUAL_MODE), 0);
            reg.alarmsOn = 1;
        }
        regulDriveOutputs(0, reg.manualDir0, item(DS_MANUAL_REG_SPEED));
        regulDriveOutputs(1, reg.manualDir1, item(DS_MANUAL_REG_SPEED));
        break;
    case REG_WAIT_START:
        if (!spraying) {
            reg.state = REG_STOPPED;
        } else if (reg.startDelayDone != 0) {
            startStateTimer(kStopDelayMs);
            stopPacing();
            reg.state = REG_REGULATING;
        } else {
            bothChannelsOff();
        }
        break;
    case REG_REGULATING:
        if (!spraying) {
            reg.state = item(DS_IDLE_PRESSURE) != 0 ? REG_IDLE_PRESSURE : REG_STOPPED;
            break;
        }
        if (stateTimer && item(DS_MASTER_VALVE_CAL) == 0 && item(DS_TANK_SHAPE_CAL_ACTIVE) == 0) {
            regulEnableAlarms(1, 1);
            reg.alarmsOn = 1;
        }
        regulateChannel0(target, shown, id == EV_REGULATION_TICK);
        break;
    case REG_STOPPED:
        startStateTimer(kStopDelayMs);
        bothChannelsOff();
        reg.state = REG_STOP_DELAY;
        break;
    case REG_STOP_DELAY:
        if (spraying) {
            reg.state = REG_WAIT_START;
        } else if (stateTimer) {
            startStateTimer(kAnticipateMs);
            reg.state = REG_ANTICIPATE;
        }
        break;
    case REG_ANTICIPATE:
        if (spraying) {
            reg.state = REG_WAIT_START;
        } else if (stateTimer) {
            reg.state = REG_PARK_DELAY;
        } else if (item(DS_SECTION_VALVE_TYPE) == 0) {
            uint32_t dir = REG_DIR_NONE;
            uint32_t width = 0;
            regulAnticipationPulse(&dir, &width);
            if (width != 0) {
                debugPrintf(0, "%8lu - Anticipa: Dir: %d PulsWidth: %u\n\r", static_cast<unsigned long>(clockGetMs()),
                            static_cast<int>(dir), static_cast<unsigned>(width));
                regulPulseOutputs(0, dir, width);
                timerStartOneShot(EV_OWNER_PROCEDURE, EV_REG_PULSE_DONE, width + kTimerMarginMs);
                reg.state = REG_ANTICIPATE_PULSE;
            }
        }
        break;
    case REG_ANTICIPATE_PULSE:
        if (spraying)
            reg.state = REG_WAIT_START;
        else if (stateTimer)
            reg.state = REG_PARK_DELAY;
        else if (id == EV_REG_PULSE_DONE)
            reg.state = REG_ANTICIPATE;
        break;
    case REG_PARK_DELAY:
        startStateTimer(kParkDelayMs);
        bothChannelsOff();
        reg.state = REG_PARK_CLOSE;
        break;
    case REG_PARK_CLOSE:
        if (spraying) {
            reg.state = REG_WAIT_START;
        } else if (stateTimer) {
            const uint16_t ms = static_cast<uint16_t>(item(DS_REG_VALVE_TIME) * 100);
            regulPulseOutputs(0, REG_DIR_DECREASE, ms);
            startStateTimer(ms + kTimerMarginMs);
            reg.state = REG_PARK_OPEN;
        }
        break;
    case REG_PARK_OPEN:
        if (spraying) {
            reg.state = REG_WAIT_START;
        } else if (stateTimer) {
            regulPulseOutputs(0, REG_DIR_INCREASE,
                              static_cast<uint16_t>(item(DS_REG_VALVE_TIME) * item(DS_DEFAULT_VALVE_POSITION)));
            reg.state = REG_PARKED;
        }
        break;
    case REG_PARKED:
        if (spraying)
            reg.state = REG_WAIT_START;
        break;
    case REG_IDLE_PRESSURE:
        if (spraying) {
            reg.state = REG_WAIT_START;
            reg.holdCount = 0;
        } else {
            stepIdlePressure();
        }
        break;
    }
}

void superviseAlarms()
{
    const uint32_t target = regulBoostedTarget();
    const uint32_t cross = item(DS_CROSS_CHECK_PERCENT);
    const uint32_t preset = item(DS_CURRENT_TIP_PRESET);
    const bool pressureSensor = item(DS_PRESSURE_SENSOR_PRESENT) != 0;
    const bool flowSensor = item(DS_FLOW_SENSOR_PRESENT) != 0;
    const bool crop = item(DS_CROP_SPRAYER_MODE) != 0;

    alarmSet(SPRAY_PRESS_FLOW_CROSS_CHECK,
             pressureSensor && flowSensor && item(DS_REGULATION_MODE) != 0 && item(DS_RUN_FLAG_230) == 0 &&
                 item(DS_RUN_FLAG_228) == 0 && !alarmIsActive(SPRAY_LIQ_ADC_PRESS_LOW) && crop && cross != 0 &&
                 cross < item(DS_RUN_VALUE_253));

    if (item(DS_CORE_FLAG_121) == 0 && ((flowSensor && !pressureSensor) || !crop)) {
        const uint32_t flow = item(DS_RUN_COUNT_268);
        const uint32_t limit = item(DS_LOW_FLOW_LIMIT);
        alarmHysteresis(SPRAY_LOW_FLOW, flow < limit * 10, flow > limit * 11);
    } else {
        alarmClear(SPRAY_LOW_FLOW);
    }

    if (pressureSensor && crop) {
        const uint32_t pMin = nozpresetPressureLimit(preset, 0);
        const uint32_t pMax = nozpresetPressureLimit(preset, 1);
        const uint32_t p = item(DS_LIVE_PRESSURE);
        alarmHysteresis(SPRAY_PRESS_TOO_LOW, p < pMin, p > pMin * 11 / 10);
        if (pMax == 0)
            alarmClear(SPRAY_PRESS_TOO_HIGH);
        else
            alarmHysteresis(SPRAY_PRESS_TOO_HIGH, p > pMax, p < pMax * 9 / 10);
    }

    if (item(DS_LIVE_SPEED) == 0) {
        alarmRaise(SPRAY_NO_WHEEL_PULSES);
        alarmClear(SPRAY_ACT_RATE_TOO_LOW);
        alarmClear(SPRAY_ACT_RATE_TOO_HIGH);
        return;
    }
    alarmClear(SPRAY_NO_WHEEL_PULSES);
    const uint32_t rate = item(DS_REG_RUNTIME_240);
    if (target < rate * 9 / 10) {
        // The rate cannot come down while the pressure is held at its minimum.
        alarmSet(SPRAY_ACT_RATE_TOO_HIGH, !alarmIsActive(SPRAY_MIN_REG_PRESS));
        alarmClear(SPRAY_ACT_RATE_TOO_LOW);
    } else if (target > rate * 11 / 10) {
        alarmSet(SPRAY_ACT_RATE_TOO_LOW, !alarmIsActive(SPRAY_MAX_REG_PRESS));
        alarmClear(SPRAY_ACT_RATE_TOO_HIGH);
    } else {
        alarmClear(SPRAY_ACT_RATE_TOO_LOW);
        alarmClear(SPRAY_ACT_RATE_TOO_HIGH);
    }
}

}  // namespace

RegulState regulGetState()
{
    return reg.state;
}

uint16_t regulAverageSpeed()
{
    return reg.avgSpeed;
}

void regulInit()
{
    reg.response = 1000;
    reg.responseFlow = 0;
    stopPacing();
    regulHbridgeSetup(0);
    if (item(DS_RUN_FLAG_308) != 0)
        regulHbridgeSetup(1);
    regulAnticipationReset();
}

void regulEnableAlarms(uint32_t on, uint32_t regulating)
{
    for (uint32_t id : {SPRAY_NO_FLOW_PULSES, SPRAY_LIQ_ADC_PRESS_LOW, SPRAY_AIR_ADC_PRESS_LOW,
                        SPRAY_WORKING_PRESS_BASED, SPRAY_TANK_ALMOST_EMPTY})
        alarmEnable(id, on);
    const uint32_t both = on != 0 && regulating != 0 ? 1 : 0;
    alarmEnable(SPRAY_LOW_FLOW, both);
    for (uint32_t id = SPRAY_ACT_RATE_TOO_LOW; id <= SPRAY_AIR_PRESS_TOO_LOW; ++id)
        alarmEnable(id, both);
    alarmEnable(SPRAY_LIQ_PRESS_TOO_LOW, both);
    alarmEnable(SPRAY_NO_WHEEL_PULSES, both);
    alarmEnable(SPRAY_AIR_PRESS_TOO_HIGH, 0);
    alarmEnable(SPRAY_LIQ_PRESS_TOO_HIGH, 0);
}

void regulPressureLimitAlarm(uint32_t id)
{
    if (id == SPRAY_MIN_REG_PRESS || id == SPRAY_MAX_REG_PRESS) {
        alarmRaise(id);
        alarmClear(id == SPRAY_MIN_REG_PRESS ? SPRAY_MAX_REG_PRESS : SPRAY_MIN_REG_PRESS);
        timerStartOneShot(EV_OWNER_PROCEDURE, EV_REG_ALARM_DELAY, kPressureLimitHoldMs);
        return;
    }
    alarmClear(SPRAY_MIN_REG_PRESS);
    alarmClear(SPRAY_MAX_REG_PRESS);
}

uint32_t regulAirTarget(uint32_t p)
{
    const uint16_t* row = airRow();
    if (row == nullptr)
        return 0;
    if (p < row[3])
        return row[0];
    if (p >= row[5])
        return row[2];
    const int32_t i = p < row[4] ? 1 : 2;
    const int32_t t0 = row[i - 1], t1 = row[i];
    const int32_t p0 = row[3 + i - 1], p1 = row[3 + i];
    return static_cast<uint32_t>(t0 + (t1 - t0) * (static_cast<int32_t>(p) - p0) / (p1 - p0));
}

void regulAirPressureControl(uint32_t* dir, uint32_t* duty)
{
    *dir = REG_DIR_NONE;
    *duty = 0;
    const uint16_t* row = airRow();
    if (row == nullptr)
        return;
    const uint32_t p = item(DS_LIVE_PRESSURE);
    alarmSet(SPRAY_LIQ_PRESS_TOO_LOW, p < row[3]);
    alarmSet(SPRAY_LIQ_PRESS_TOO_HIGH, p >= row[5]);

    const uint32_t target = std::min(regulAirTarget(p), item(DS_SENSOR2_SPAN));
    const uint32_t air = item(DS_RUN_VALUE_252);
    uint32_t direction = air < target ? REG_DIR_INCREASE : REG_DIR_DECREASE;
    const uint32_t diff = air < target ? target - air : air - target;
    const uint32_t rel = target == 0 ? 0 : (diff * 1000 + target / 2) / target;
    if (rel < item(DS_REG_DEADBAND)) {
        direction = REG_DIR_NONE;
    } else {
        // Far from a small target rel runs to millions: the product needs 64 bits.
        *duty = static_cast<uint32_t>(
            std::min<uint64_t>(uint64_t{rel} * REG_DUTY_FULL * item(DS_REG_SETTING_64) / 10000, REG_DUTY_FULL));
    }
    *dir = direction;
    alarmSet(SPRAY_AIR_PRESS_TOO_LOW, direction == REG_DIR_INCREASE);
    alarmSet(SPRAY_AIR_PRESS_TOO_HIGH, direction == REG_DIR_DECREASE);
}

void regulAnticipationReset()
{
    reg.avgSpeed = 0;
    reg.lastFlow = 0;
    reg.distanceBase = tripBase(kTripDistance);
    reg.timeBase = tripBase(kTripTime);
}

void regulSprayingChanged(uint32_t on)
{
    if (on != 0) {
        reg.distanceBase = tripBase(kTripDistance);
        reg.timeBase = tripBase(kTripTime);
        return;
    }
    const int32_t dd = static_cast<int32_t>(tripBase(kTripDistance) - reg.distanceBase);
    const int32_t dt = static_cast<int32_t>(tripBase(kTripTime) - reg.timeBase);
    if (dt > 20 && dd > 0) {
        const int64_t s = (static_cast<int64_t>(dd) * 360 + dt / 2) / dt;
        reg.avgSpeed = s <= 9999 ? static_cast<uint16_t>(s) : 0;
    }
}

void regulAnticipationPulse(uint32_t* dir, uint32_t* width)
{
    *dir = REG_DIR_NONE;
    *width = 0;
    uint16_t sections[7];
    datastoreGetData(DS_SECTION_STATE_BLOCK, sections);
    const uint32_t sectionWidth = cfgdtSumSectionWidth(sections);
    if (reg.avgSpeed == 0 || reg.lastFlow == 0 || sectionWidth == 0)
        return;
    const uint32_t need = regulMeasuredShare(flowFromRate(regulBoostedTarget(), reg.avgSpeed, sectionWidth));
    const uint32_t diff = need > reg.lastFlow ? need - reg.lastFlow : reg.lastFlow - need;
    if (diff == 0)
        return;
    *dir = need > reg.lastFlow ? REG_DIR_INCREASE : REG_DIR_DECREASE;
    const uint32_t capacity = item(DS_REG_VALVE_CAPACITY);
    // A change far beyond the valve's capacity asks for more than a 16-bit pulse
    // width: it gets the longest pulse, not the wrapped rest.
    *width = capacity == 0 ? 0
                           : static_cast<uint32_t>(std::min<uint64_t>(
                                 uint64_t{diff} * (item(DS_REG_VALVE_TIME) * item(DS_REG_SETTING_43)) /
                                     (capacity * 100),
                                 UINT16_MAX));
    reg.lastFlow = need;
}

void regulStep(uint32_t id, uint32_t arg)
{
    const RegulState prev = reg.state;
    const bool spraying = item(DS_SPRAYING_ACTIVE) != 0;
    uint32_t shown = item(DS_REG_RUNTIME_240);
    const uint32_t presetTarget = regulPresetTarget();
    const uint32_t target = regulBoostedTarget();
    if (item(DS_AUTOMATIC_REGULATION) == 0)
        reg.state = REG_MANUAL;

    if (id == EV_SPRAYING_CHANGED) {
        regulSprayingChanged(arg);
        reg.startDelayDone = 0;
        if (arg != 0)
            timerStartOneShot(EV_OWNER_PROCEDURE, EV_REG_START_DELAY_DONE, item(DS_REG_START_DELAY) * 100);
        else
            timerStop(EV_OWNER_PROCEDURE, EV_REG_START_DELAY_DONE);
    } else if (id == EV_REG_DEFAULT_POSITION) {
        regulPulseOutputs(0, REG_DIR_INCREASE,
                          static_cast<uint16_t>(item(DS_REG_VALVE_TIME) * item(DS_DEFAULT_VALVE_POSITION)));
    } else if (id == EV_REG_START_DELAY_DONE) {
        reg.startDelayDone = 1;
    }

    if (spraying)
        reg.lastFlow = regulMeasuredShare(item(DS_RUN_COUNT_270));

    const RegulState entered = reg.state;
    actOnState(id, spraying, target, &shown);
    // Stopping and parking start at once: their first work belongs to the step that enters them.
    if (reg.state != entered && (reg.state == REG_STOPPED || reg.state == REG_PARK_DELAY))
        actOnState(id, spraying, target, &shown);

    if (reg.state != prev && (prev == REG_MANUAL || prev == REG_REGULATING)) {
        regulEnableAlarms(0, 0);
        reg.alarmsOn = 0;
    }

    storeIfChanged(DS_LIVE_FLOW, shown);
    storeIfChanged(DS_LIVE_TARGET_RATE, target);
    storeIfChanged(DS_REG_VALUE_321, presetTarget);
}

void regulHandleEvent(uint32_t id, uint32_t arg)
{
    switch (id) {
    case EV_REG_ALARM_DELAY:
        regulPressureLimitAlarm(0);
        return;
    case EV_MANUAL_REG_CHANGED: {
        const uint32_t bits = item(DS_MANUAL_PRESSURE_BITS);
        datastoreSetFromUint32(DS_AUTOMATIC_REGULATION, (bits & 1) == 0 ? 1 : 0);
        if ((bits & 1) != 0) {
            reg.manualDir0 = (bits & 2) != 0 ? REG_DIR_INCREASE : (bits & 4) != 0 ? REG_DIR_DECREASE : REG_DIR_NONE;
            reg.manualDir1 = (bits & 8) != 0 ? REG_DIR_INCREASE : (bits & 16) != 0 ? REG_DIR_DECREASE : REG_DIR_NONE;
        }
        return;
    }
    case EV_REG_DEFAULT_POSITION:
        regulStep(id, arg);
        return;
    case EV_REGULATION_TICK:
    case EV_REG_START_DELAY_DONE:
    case EV_REG_STATE_TIMER:
    case EV_REG_PULSE_DONE:
    case EV_SPRAYING_CHANGED:
        regulStep(id, arg);
        superviseAlarms();
        return;
    default:
        return;
    }
}
