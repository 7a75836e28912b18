#include "alarm.h"
#include "alarmdefs.h"
#include "cfgdt_if.h"
#include "clock.h"
#include "cycle_env.h"
#include "eventids.h"
#include "io_if.h"
#include "nozpreset.h"
#include "processcycle.h"
#include "processstate.h"
#include "pulsinput.h"
#include "sectrix.h"
#include "filelogger.h"
#include "test_capture.h"
#include "test_wait.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <cstring>
#include <filesystem>

namespace {

using Events = std::vector<std::pair<uint32_t, uint32_t>>;

// The board, the alarms and a cycle as at power-up; no sensor fitted.
struct Cycle {
    Cycle()
    {
        cycleenv::workDir();
        static const bool ioStarted = io_ifInit() != 0 || true;
        (void)ioStarted;
        processInitAlarms();
        processCycleReset();
        const std::pair<uint32_t, uint32_t> settings[] = {
            {DS_PRESSURE_SENSOR_PRESENT, 0}, {DS_FLOW_SENSOR_PRESENT, 0}, {DS_TANK_SENSOR_PRESENT, 0},
            {DS_FILL_FLOW_SENSOR_PRESENT, 0}, {DS_SPRAYING_ACTIVE, 0},    {DS_MASTER_SWITCH, 0},
            {DS_DENSITY_FACTOR, 1000},        {DS_SPEED_SOURCE, 3},        {DS_SPEED_CAL_NUMBER, 0},
            {DS_AUTOMATIC_REGULATION, 0},     {DS_CORE_FLAG_18, 0},        {DS_SECTION_VALVE_BEHAVIOR, 0},
            {DS_STATUS_BITS, 0},              {DS_REGULATION_MODE, 0},     {DS_AUTO_FILLING_ENABLED, 0},
            {DS_FILLING_ACTIVE, 0},
        };
        for (const auto& s : settings)
            setItem(s.first, s.second);
        for (uint32_t id : {SPRAY_NO_FLOW_PULSES, SPRAY_LIQ_ADC_PRESS_LOW, SPRAY_DENSITY_NOT_1, SPRAY_BELOW_MIN_SPEED,
                            SPRAY_WORKING_PRESS_BASED, SPRAY_TANK_ALMOST_EMPTY, CAN_SPEED_LOST})
            alarmEnable(id, 1);
        timerStop(EV_OWNER_PROCEDURE, EV_SPRAY_STOP_DELAY);
        takeEvents();
    }
    ~Cycle()
    {
        timerStop(EV_OWNER_PROCEDURE, EV_SPRAY_STOP_DELAY);
        clockUseReal();
    }
};

void setBlock(uint32_t id, uint16_t word0)
{
    const uint16_t block[7] = {word0, 0, 0, 0, 0, 0, 0};
    REQUIRE(datastoreSetData(id, block) == DS_OK);
}

// The events of these ids among those posted since the last take (the store's
// change events and the board's inputs come along too).
Events takeOnly(std::initializer_list<uint32_t> ids)
{
    Events only;
    for (const auto& e : takeEvents()) {
        for (uint32_t id : ids)
            if (e.first == id)
                only.push_back(e);
    }
    return only;
}

Events takeSectionValves()
{
    return takeOnly({EV_SECTION_VALVES});
}

Events takeFillValve()
{
    return takeOnly({EV_FILL_VALVE_OPEN, EV_FILL_VALVE_CLOSE});
}

void passes(int count)
{
    for (int i = 0; i < count; ++i)
        processMeasurementStep();
}

}  // namespace

TEST_CASE("pressure from the sensor: zero point, full scale and the low-reading alarm")
{
    Cycle cycle;
    setItem(DS_PRESSURE_SENSOR_PRESENT, 1);
    setItem(DS_PRESSURE_SENSOR_ZERO, 100);
    setItem(DS_PRESSURE_SENSOR_MAX, 1000);
    struct Case {
        uint32_t raw, pressure, lowAlarm;
    };
    // round((raw - zero) x max / (1023 - zero)); raw + 20 below the zero point is a broken sensor.
    for (const Case c : {Case{100, 0, 0}, Case{1023, 1000, 0}, Case{561, 499, 0}, Case{562, 501, 0},
                         Case{80, 0, 0}, Case{79, 0, 1}, Case{0, 0, 1}, Case{120, 22, 0}}) {
        CAPTURE(c.raw);
        setItem(DS_LIVE_PRESSURE_RAW, c.raw);
        passes(3);  // through the raw reading's filter
        CHECK(getItem(DS_LIVE_PRESSURE) == c.pressure);
        CHECK(alarmIsActive(SPRAY_LIQ_ADC_PRESS_LOW) == c.lowAlarm);
    }
}

TEST_CASE("process alarms follow their conditions on every pass")
{
    Cycle cycle;
    SUBCASE("density other than 1.000")
    {
        setItem(DS_DENSITY_FACTOR, 1001);
        passes(1);
        CHECK(alarmIsActive(SPRAY_DENSITY_NOT_1) == 1);
        setItem(DS_DENSITY_FACTOR, 1000);
        passes(1);
        CHECK(alarmIsActive(SPRAY_DENSITY_NOT_1) == 0);
    }
    SUBCASE("below the minimum speed only with the master on")
    {
        setItem(DS_MIN_SPEED, 3);  // 3 km/h
        passes(1);
        CHECK(alarmIsActive(SPRAY_BELOW_MIN_SPEED) == 0);
        setItem(DS_MASTER_SWITCH, 1);
        passes(1);
        CHECK(alarmIsActive(SPRAY_BELOW_MIN_SPEED) == 1);
        setItem(DS_MASTER_SWITCH, 0);
        passes(1);
        CHECK(alarmIsActive(SPRAY_BELOW_MIN_SPEED) == 0);
    }
    SUBCASE("no flow pulses with a flow sensor regulating")
    {
        setItem(DS_FLOW_SENSOR_PRESENT, 1);
        setItem(DS_REGULATION_MODE, 1);
        passes(1);
        CHECK(getItem(DS_RUN_COUNT_268) == 0);
        CHECK(alarmIsActive(SPRAY_NO_FLOW_PULSES) == 1);
        setItem(DS_REGULATION_MODE, 0);
        passes(1);
        CHECK(alarmIsActive(SPRAY_NO_FLOW_PULSES) == 0);
    }
    SUBCASE("tank almost empty")
    {
        setItem(DS_ALARM_MIN_TANK_CONTENT, 50);
        pulsSetCounterMode(8, 49, 0);
        passes(1);
        CHECK(getItem(DS_ACTUAL_CONTENT) == 49);
        CHECK(alarmIsActive(SPRAY_TANK_ALMOST_EMPTY) == 1);
        pulsSetCounterMode(8, 50, 0);
        passes(1);
        CHECK(alarmIsActive(SPRAY_TANK_ALMOST_EMPTY) == 0);
    }
}

TEST_CASE("spray state in manual regulation: the master switch alone; changes are posted once")
{
    Cycle cycle;
    setItem(DS_SPRAY_STOP_DELAY_S, 5);
    setItem(DS_MASTER_SWITCH, 1);
    processUpdateSprayState(0);
    CHECK(getItem(DS_SPRAYING_ACTIVE) == 1);
    Events events = takeEvents();
    CHECK(posted(events, EV_SPRAYING_CHANGED, 1));
    CHECK(posted(events, EV_MASTER_VALVE, 1));
    CHECK(timerActiveInterval(EV_SPRAY_STOP_DELAY) == -1);

    processUpdateSprayState(0);
    events = takeEvents();
    CHECK_FALSE(postedId(events, EV_SPRAYING_CHANGED));
    processUpdateSprayState(1);
    events = takeEvents();
    CHECK(posted(events, EV_SPRAYING_CHANGED, 1));
    CHECK(posted(events, EV_MASTER_VALVE, 1));

    setItem(DS_MASTER_SWITCH, 0);
    processUpdateSprayState(0);
    CHECK(getItem(DS_SPRAYING_ACTIVE) == 0);
    events = takeEvents();
    CHECK(posted(events, EV_SPRAYING_CHANGED, 0));
    CHECK(posted(events, EV_MASTER_VALVE, 0));
    CHECK(timerActiveInterval(EV_SPRAY_STOP_DELAY) == 5000);

    SUBCASE("no stop delay while item 18 is set")
    {
        setItem(DS_CORE_FLAG_18, 1);
        setItem(DS_MASTER_SWITCH, 1);
        processUpdateSprayState(0);
        setItem(DS_MASTER_SWITCH, 0);
        processUpdateSprayState(0);
        CHECK(timerActiveInterval(EV_SPRAY_STOP_DELAY) == -1);
        setItem(DS_CORE_FLAG_18, 0);
    }
}

TEST_CASE("section outputs follow the section block, or hold closed after the stop delay")
{
    Cycle cycle;
    setBlock(DS_SECTION_BLOCK_262, 0x000E);
    SUBCASE("plain section valves: mode 3 always")
    {
        processUpdateSectionOutputs(EV_PROCESS_TICK);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 3u << 24 | 0x0E}});
        uint16_t state[7];
        datastoreGetData(DS_SECTION_STATE_BLOCK, state);
        CHECK(state[0] == 0x0E);
    }
    SUBCASE("section valves that close with spraying")
    {
        setItem(DS_SECTION_VALVE_BEHAVIOR, 1);
        processUpdateSectionOutputs(EV_PROCESS_TICK);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 1u << 24}, {EV_SECTION_VALVES, 0x0E}});
        processUpdateSectionOutputs(EV_SPRAY_STOP_DELAY);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 0}});
        processUpdateSectionOutputs(EV_PROCESS_TICK);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 0}});
        setItem(DS_SPRAYING_ACTIVE, 1);
        processUpdateSectionOutputs(EV_PROCESS_TICK);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 3u << 24 | 0x0E}});
        setItem(DS_SPRAYING_ACTIVE, 0);
        processUpdateSectionOutputs(EV_PROCESS_TICK);
        CHECK(takeSectionValves() == Events{{EV_SECTION_VALVES, 1u << 24}, {EV_SECTION_VALVES, 0x0E}});
    }
}

TEST_CASE("remote switch inputs are posted on every call with the end sections")
{
    Cycle cycle;
    setItem(DS_NUMBER_OF_SECTIONS, 9);
    setBlock(DS_SECTION_STATE_BLOCK, static_cast<uint16_t>(1u << 1 | 1u << 9));
    struct Case {
        uint32_t status, spraying, masterArgument;
    };
    for (const Case c : {Case{0x2000 | 0x4000, 0, 0x101}, Case{0x2000 | 0x4000, 1, 0x202}, Case{0x2000, 0, 0x100},
                         Case{0x4000, 1, 0x002}, Case{0, 0, 0}}) {
        CAPTURE(c.status);
        setItem(DS_STATUS_BITS, c.status);
        setItem(DS_SPRAYING_ACTIVE, c.spraying);
        takeEvents();
        processCheckSwitchInputs();
        const Events events = takeEvents();
        CHECK(posted(events, (c.status & 0x2000) ? EV_INPUT_ON : EV_INPUT_OFF, 5));
        CHECK(posted(events, (c.status & 0x4000) ? EV_INPUT_ON : EV_INPUT_OFF, 4));
        CHECK(posted(events, EV_MASTER_INPUTS, c.masterArgument));
    }
}

TEST_CASE("fill valve: manual bits, filling without sensors, and the 10 s run-on")
{
    Cycle cycle;
    clockUseManual();
    SUBCASE("status bit 0x40 hands the valve to bit 0x80")
    {
        setItem(DS_STATUS_BITS, 0x40 | 0x80);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_OPEN, 11}});
        processUpdateFillValve();
        CHECK(takeFillValve().empty());
        setItem(DS_STATUS_BITS, 0x40);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_CLOSE, 11}});
    }
    SUBCASE("no tank or fill-flow sensor: the valve follows filling")
    {
        setItem(DS_FILLING_ACTIVE, 1);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_OPEN, 11}});
        setItem(DS_FILLING_ACTIVE, 0);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_CLOSE, 11}});
    }
    SUBCASE("with a sensor and no automatic filling the valve runs on for 10 s")
    {
        setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
        setItem(DS_DESIRED_CONTENT, 1000);
        setItem(DS_AUTO_FILL_OFFSET, 100);
        setItem(DS_ACTUAL_CONTENT, 900);
        setItem(DS_FILLING_ACTIVE, 1);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_OPEN, 11}});
        setItem(DS_FILLING_ACTIVE, 0);
        clockAdvanceMs(9999);
        processUpdateFillValve();
        CHECK(takeFillValve().empty());
        clockAdvanceMs(1);
        processUpdateFillValve();
        CHECK(takeFillValve() == Events{{EV_FILL_VALVE_CLOSE, 11}});
    }
}

TEST_CASE("tank content without a level sensor, and what it still covers")
{
    Cycle cycle;
    setItem(DS_AUTOMATIC_REGULATION, 0);
    setItem(DS_REG_RUNTIME_240, 2000);  // 200 l/ha
    setItem(DS_RUN_COUNT_274, 20000);   // 20 m
    SUBCASE("counter 8 alone")
    {
        pulsSetCounterMode(8, 1500, 0);
        pulsSetCounterMode(9, 300, 0);
        processUpdateTankContent();
        CHECK(getItem(DS_ACTUAL_CONTENT) == 1500);
        CHECK(getItem(DS_RUN_AREA) == 750);      // 7.50 ha
        CHECK(getItem(DS_RUN_DISTANCE) == 3750); // 7.5 ha over 20 m
    }
    SUBCASE("with a fill-flow sensor counters 8 and 9; a negative sum reads 0 and stops them")
    {
        setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
        pulsSetCounterMode(8, 1500, 0);
        pulsSetCounterMode(9, 300, 0);
        processUpdateTankContent();
        CHECK(getItem(DS_ACTUAL_CONTENT) == 1800);
        pulsSetCounterMode(8, -500, 0);
        pulsSetCounterMode(9, 100, 0);
        processUpdateTankContent();
        CHECK(getItem(DS_ACTUAL_CONTENT) == 0);
        int32_t value = 1;
        pulsGetTripValueBase(8, &value);
        CHECK(value == 0);
    }
    SUBCASE("no rate or no width: nothing covered, no distance")
    {
        pulsSetCounterMode(8, 1500, 0);
        setItem(DS_REG_RUNTIME_240, 0);
        processUpdateTankContent();
        CHECK(getItem(DS_RUN_AREA) == 0);
        setItem(DS_REG_RUNTIME_240, 1);
        setItem(DS_RUN_COUNT_274, 0);
        processUpdateTankContent();
        CHECK(getItem(DS_RUN_DISTANCE) == 0);
        setItem(DS_RUN_COUNT_274, 1);
        processUpdateTankContent();
        CHECK(getItem(DS_RUN_DISTANCE) == 9999);
    }
}

TEST_CASE("without a trusted meter the volume counter integrates the used flow, also over a long gap")
{
    Cycle cycle;
    clockUseManual();
    setItem(DS_MASTER_SWITCH, 1);
    processUpdateSprayState(0);  // manual regulation: spraying with the master
    setItem(DS_REGULATION_MODE, 0);  // pressure-based: no meter count
    setItem(DS_RUN_COUNT_270, 0);
    processUpdateTankContent();  // the pass time from which the next one counts
    uint32_t before = 0;
    pulsGetCounterParam(5, &before);

    setItem(DS_RUN_COUNT_270, 10000);  // 100 l/min
    clockAdvanceMs(66);
    processUpdateTankContent();  // 660000 of 6000000 per litre: nothing whole yet
    uint32_t value = 0;
    pulsGetCounterParam(5, &value);
    CHECK(value == before);

    // Ten minutes on another page: 6e9, more than 32 bits hold.
    clockAdvanceMs(600000);
    processUpdateTankContent();
    pulsGetCounterParam(5, &value);
    CHECK(value == before + 1000);  // the 0.11 l of the short pass stay in the accumulator
    setItem(DS_MASTER_SWITCH, 0);
    processUpdateSprayState(0);
}

namespace {
// The running flag of a trip counter.
uint32_t tripRunning(uint32_t trip)
{
    int32_t record[3] = {};
    pulsDsGetTrip(trip, record);
    return static_cast<uint32_t>(record[2]);
}

// Sections 1 and 2 on, ten tips each 500 mm apart.
void twoSectionsOn()
{
    setItem(DS_NUMBER_OF_SECTIONS, 2);
    setItem(DS_TIP_SPACING, 500);
    cfgdtSetSectionTips(1, 10);
    cfgdtSetSectionTips(2, 10);
    setBlock(DS_SECTION_STATE_BLOCK, 0x0006);
}

uint32_t counterUnits(uint32_t counter)
{
    uint32_t units = 0;
    pulsGetCounterParam(counter, &units);
    return units;
}
}  // namespace

TEST_CASE("while tips spray the trips run and the distance and area of the speed input are folded into their counters")
{
    Cycle cycle;
    clockUseManual();
    twoSectionsOn();
    const uint32_t width = cfgdtSumSectionWidth(std::vector<uint16_t>{0x0006, 0, 0, 0, 0, 0, 0}.data());
    REQUIRE(width == 10000);  // 20 tips 500 mm apart

    setItem(DS_SPRAYING_ACTIVE, 0);
    passes(1);  // the simulated source's counters taken into use
    for (uint32_t trip = 14; trip <= 22; ++trip) {
        CAPTURE(trip);
        CHECK(tripRunning(trip) == 0);
    }
    CHECK(getItem(DS_REG_RUNTIME_239) == 0);
    CHECK(getItem(DS_RUN_COUNT_274) == 0);

    setItem(DS_SPRAYING_ACTIVE, 1);
    clockAdvanceMs(66);
    passes(1);
    for (uint32_t trip = 14; trip <= 22; ++trip) {
        CAPTURE(trip);
        CHECK(tripRunning(trip) == 1);
    }
    CHECK(getItem(DS_REG_RUNTIME_239) == 20);
    CHECK(getItem(DS_RUN_COUNT_274) == width);

    // Each pass the simulated source's second counter moves 5000: d = 500000,
    // five whole units of distance; the area d / 100 x width = 5e7 folds only
    // once the accumulator passes 1e8.
    const uint32_t distance = counterUnits(19);
    const uint32_t area = counterUnits(20);
    const uint32_t expectedArea[] = {0, 0, 1, 1, 2};
    for (uint32_t pass = 1; pass <= 5; ++pass) {
        CAPTURE(pass);
        pulsSetCounterParam(18, counterUnits(18) + 5000);
        clockAdvanceMs(66);
        passes(1);
        CHECK(counterUnits(19) == distance + 5 * pass);
        CHECK(counterUnits(20) == area + expectedArea[pass - 1]);
    }

    // A pass at the same clock reading adds nothing; its ground counts at the next pass.
    pulsSetCounterParam(18, counterUnits(18) + 5000);
    passes(1);
    CHECK(counterUnits(19) == distance + 25);
    clockAdvanceMs(66);
    passes(1);
    CHECK(counterUnits(19) == distance + 30);

    setItem(DS_SPRAYING_ACTIVE, 0);
    clockAdvanceMs(66);
    passes(1);
    for (uint32_t trip = 14; trip <= 22; ++trip) {
        CAPTURE(trip);
        CHECK(tripRunning(trip) == 0);
    }
}

TEST_CASE("regulation turns pressure-based below the low-flow limit and back only 20 % above it")
{
    Cycle cycle;
    clockUseManual();
    twoSectionsOn();
    setItem(DS_SPRAYING_ACTIVE, 1);
    setItem(DS_REGULATION_MODE, 1);
    setItem(DS_PRESSURE_SENSOR_PRESENT, 1);
    setItem(DS_CROP_SPRAYER_MODE, 1);
    setItem(DS_CURRENT_TIP_PRESET, 0);
    REQUIRE(nozpresetSetNozzleType(0, 1) == 1);
    setItem(DS_LOW_FLOW_LIMIT, 100);     // 1.00 l/min x 10
    setItem(DS_FLOW_CAL_NUMBER, 600000);  // 600 pulses per litre: 10 x Hz in l/min x 100
    setItem(DS_RUN_FLAG_230, 0);
    struct Case {
        uint32_t hertz;
        uint32_t flag;
    };
    // Set below 1000, cleared only at 1200 or above (the first flow fills the filter from 0).
    const Case cases[] = {{130, 0}, {100, 0}, {99, 1}, {110, 1}, {119, 1}, {120, 0}, {110, 0}, {99, 1}};
    for (const Case& c : cases) {
        CAPTURE(c.hertz);
        for (int pass = 0; pass < 3; ++pass) {  // through the meter flow's filter
            io_ifFrequencyCallback(c.hertz | (1000000u << 9), 1);
            processMeasurementStep();
        }
        CHECK(getItem(DS_RUN_COUNT_268) == c.hertz * 10);
        CHECK(getItem(DS_RUN_FLAG_230) == c.flag);
        CHECK(alarmIsActive(SPRAY_WORKING_PRESS_BASED) == c.flag);
    }
    setItem(DS_SPRAYING_ACTIVE, 0);
    setItem(DS_REGULATION_MODE, 0);
    setItem(DS_PRESSURE_SENSOR_PRESENT, 0);
}

TEST_CASE("speed inputs of the sources and the accumulator fold")
{
    Cycle cycle;
    const uint32_t pairs[4][2] = {{13, 14}, {11, 12}, {15, 16}, {17, 18}};
    for (uint32_t source = 0; source < 4; ++source) {
        CAPTURE(source);
        pulsSetCounterParam(pairs[source][0], 100 + source);
        pulsSetCounterParam(pairs[source][1], 200 + source);
        uint32_t reading = 0, second = 0;
        CHECK(processGetSpeedInput(source, &reading, &second) == 1);
        CHECK(reading == 100 + source);
        CHECK(second == 200 + source);
    }
    uint32_t reading = 7, second = 8;
    CHECK(processGetSpeedInput(5, &reading, &second) == 0);
    CHECK(reading == 7);
    CHECK(second == 8);

    pulsSetCounterParam(19, 10);
    uint32_t accumulator = 250123;
    processFoldAccumulator(19, &accumulator, 100000);
    uint32_t value = 0;
    pulsGetCounterParam(19, &value);
    CHECK(value == 12);
    CHECK(accumulator == 50123);
}

namespace {
void sendCanSpeed(uint16_t raw)
{
    CanFrame frame{};
    frame.id = SECTRIX_ID_UNIT;
    frame.extended = 1;
    frame.dlc = 8;
    frame.data[0] = 10;
    frame.data[1] = static_cast<uint8_t>(raw & 0xFF);
    frame.data[2] = static_cast<uint8_t>(raw >> 8);
    REQUIRE(sectrixOnCanFrame(&frame) == 1);
}
}  // namespace

TEST_CASE("CAN speed: used at once from the start; after a loss only after 5 s valid and the operator's yes")
{
    Cycle cycle;
    clockUseManual();
    sectrixDataLinkInit(0);
    setItem(DS_SPEED_SOURCE, 4);
    processState().useCanSpeedAgain = 1;
    processState().canSpeedBackPosted = 1;
    StdoutCapture out(cycleenv::workDir() + "/canspeed.txt");

    sendCanSpeed(1000);
    passes(1);
    CHECK(processSpeedSourceInUse() == 4);
    CHECK(getItem(DS_LIVE_SPEED) == 360);
    CHECK(alarmIsActive(CAN_SPEED_LOST) == 0);

    sendCanSpeed(27778);  // out of range: lost
    passes(1);
    CHECK(alarmIsActive(CAN_SPEED_LOST) == 1);
    CHECK(processSpeedSourceInUse() == 3);
    CHECK(out.peek().find("CAN speed lost alarm activate \n") != std::string::npos);

    sendCanSpeed(1000);
    passes(1);  // first valid reading: the clock starts
    takeEvents();
    for (int step = 0; step < 10; ++step) {
        clockAdvanceMs(500);
        sendCanSpeed(1000);
        passes(1);
        CAPTURE(step);
        CHECK(processSpeedSourceInUse() == 3);
        CHECK(alarmIsActive(CAN_SPEED_LOST) == 1);  // 5000 ms are not more than 5000 ms
    }
    CHECK_FALSE(postedId(takeEvents(), EV_CAN_SPEED_BACK));
    clockAdvanceMs(1);
    sendCanSpeed(1000);
    passes(1);
    CHECK(alarmIsActive(CAN_SPEED_LOST) == 0);
    CHECK(out.peek().find("CAN speed lost alarm deactivate \n") != std::string::npos);
    CHECK(posted(takeEvents(), EV_CAN_SPEED_BACK, 0));
    CHECK(processSpeedSourceInUse() == 3);
    passes(2);
    CHECK_FALSE(postedId(takeEvents(), EV_CAN_SPEED_BACK));
    CHECK(processSpeedSourceInUse() == 3);

    processState().useCanSpeedAgain = 1;  // the operator said yes (EV_USE_CAN_SPEED_AGAIN)
    sendCanSpeed(1000);
    passes(1);
    CHECK(processSpeedSourceInUse() == 4);
    CHECK(getItem(DS_LIVE_SPEED) == 360);
    setItem(DS_SPEED_SOURCE, 3);
}

TEST_CASE("CAN speed lost is told once per loss, also while its alarm is disabled")
{
    Cycle cycle;
    clockUseManual();
    sectrixDataLinkInit(0);
    setItem(DS_SPEED_SOURCE, 4);
    processState().useCanSpeedAgain = 1;
    processState().canSpeedBackPosted = 1;
    alarmEnable(CAN_SPEED_LOST, 0);
    StdoutCapture out(cycleenv::workDir() + "/canspeedonce.txt");
    const auto told = [&] {
        size_t n = 0;
        const std::string text = out.peek();
        for (size_t at = text.find("CAN speed lost alarm activate"); at != std::string::npos;
             at = text.find("CAN speed lost alarm activate", at + 1))
            ++n;
        return n;
    };

    sendCanSpeed(1000);
    passes(1);
    sendCanSpeed(27778);
    passes(6);
    CHECK(alarmIsActive(CAN_SPEED_LOST) == 0);
    CHECK(processSpeedSourceInUse() == 3);
    CHECK(told() == 1);

    sendCanSpeed(1000);
    passes(1);
    sendCanSpeed(27778);
    passes(3);
    CHECK(told() == 2);

    alarmEnable(CAN_SPEED_LOST, 1);
    setItem(DS_SPEED_SOURCE, 3);
}

TEST_CASE("change callbacks set the fill-flow units and the volume counter's factor")
{
    Cycle cycle;
    uint32_t words[12];
    setItem(DS_PULSE_COUNT_266, 3000);
    setItem(DS_PULSE_COUNT_267, 1000);
    processPulseRatioChanged(DS_PULSE_COUNT_266, nullptr, 4, 8);
    pulsDsGetCounterConfig(5, words);
    CHECK(words[4] == 250);
    setItem(DS_PULSE_COUNT_266, 0);
    setItem(DS_PULSE_COUNT_267, 0);
    processPulseRatioChanged(DS_PULSE_COUNT_266, nullptr, 4, 8);
    pulsDsGetCounterConfig(5, words);
    CHECK(words[4] == 0);

    REQUIRE(datastoreSetUint32(DS_FILL_FLOW_CAL_NUMBER, 650000) == DS_OK);
    const uint32_t calibration = 650000;
    processFillFlowCalChanged(DS_FILL_FLOW_CAL_NUMBER, &calibration, 4, 8);
    pulsDsGetCounterConfig(4, words);
    CHECK(words[3] == 1538);
    pulsDsGetCounterConfig(6, words);
    CHECK(words[3] == 1538);
    // A refused calibration leaves the item as it was, and the hook, handed the
    // violated limit, keeps the factor of what the item holds.
    CHECK(datastoreSetUint32(DS_FILL_FLOW_CAL_NUMBER, 6500000) != DS_OK);
    REQUIRE(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == 650000);
    const uint32_t limit = 4900000;
    processFillFlowCalChanged(DS_FILL_FLOW_CAL_NUMBER, &limit, 4, 8);
    pulsDsGetCounterConfig(4, words);
    CHECK(words[3] == 1538);
    pulsDsGetCounterConfig(6, words);
    CHECK(words[3] == 1538);
}

namespace {
std::string loggedText(const std::string& dir)
{
    std::string all;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        all += readTextFile(entry.path().string());
    return all;
}
}  // namespace

TEST_CASE("master switch from the touch master; the developer trace is kept only while it is on")
{
    Cycle cycle;
    const std::string dir = cycleenv::workDir() + "/vrlog";
    std::filesystem::create_directories(dir);
    fileLoggerCreate(dir.c_str());
    setItem(DS_TOUCH_OPERATION, 1);
    setItem(DS_PAGE_MODE, 0);
    setItem(DS_SOFT_MASTER_SWITCH, 0);
    processUpdateSectionState();
    CHECK(getItem(DS_MASTER_SWITCH) == 0);
    passes(3);
    threadfunc::sleep(400);  // the logger's writer passes every 100 ms
    CHECK(loggedText(dir).empty());

    setItem(DS_SOFT_MASTER_SWITCH, 1);
    processUpdateSectionState();
    CHECK(getItem(DS_MASTER_SWITCH) == 1);
    passes(1);
    CHECK(waitFor([&] { return loggedText(dir).find("speed,") != std::string::npos; }, 3000));
    const std::string text = loggedText(dir);
    for (const char* line : {"flow0,", "flow,", "pressure,", "speed,"})
        CHECK(text.find(line) != std::string::npos);

    SUBCASE("on the filling page the master can be switched off but not on")
    {
        setItem(DS_PAGE_MODE, 3);
        setItem(DS_SOFT_MASTER_SWITCH, 0);
        processUpdateSectionState();
        CHECK(getItem(DS_MASTER_SWITCH) == 0);
        setItem(DS_SOFT_MASTER_SWITCH, 1);
        processUpdateSectionState();
        CHECK(getItem(DS_MASTER_SWITCH) == 0);
        setItem(DS_PAGE_MODE, 0);
        processUpdateSectionState();
        CHECK(getItem(DS_MASTER_SWITCH) == 1);
    }
    setItem(DS_SOFT_MASTER_SWITCH, 0);
    processUpdateSectionState();
    setItem(DS_TOUCH_OPERATION, 0);
}
