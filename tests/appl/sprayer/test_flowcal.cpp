#include "flowcal.h"

#include "datastore.h"
#include "eventids.h"
#include "pulsinput.h"

#include "procedures_env.h"

namespace {

// The selected machine reset, the store as a calibration page leaves it.
struct FlowCalEnv : ProcEnv {
    explicit FlowCalEnv(uint32_t machine)
    {
        alarmClear(SPRAY_CALIB_ERROR);
        setDs(DS_STATUS_BITS, 0);
        setDs(DS_MASTER_SWITCH, 0);
        setDs(DS_AUTO_FILLING_ENABLED, 0);
        setDs(DS_FLOW_CAL_NUMBER, 1000000);
        setDs(DS_FILL_FLOW_CAL_NUMBER, 1000000);
        setDs(DS_FLOW_CAL_STATE, machine);
        flowCalInit();
        takeCoreEvents();
        takeTrace();
    }
};

// Drives the by-rate machine to "master off" with the given measured flow.
void runByRateUntilMasterOff(uint32_t liveAmount, uint32_t nozzles)
{
    flowCalHandleEvent(EV_CAL_MASTER_VALVE);
    setDs(DS_STATUS_BITS, 1);
    flowCalHandleEvent(EV_TICK_100MS);
    REQUIRE(flowCalByRateState() == 3);
    setDs(DS_REG_RUNTIME_239, nozzles);
    setDs(DS_LIVE_AMOUNT, liveAmount);
    flowCalHandleEvent(EV_CAL_TICK);
    setDs(DS_STATUS_BITS, 0);
    flowCalHandleEvent(EV_TICK_100MS);
    REQUIRE(flowCalByRateState() == 4);
}

void setTrip(uint32_t counter, int32_t value)
{
    REQUIRE(pulsSetCounterMode(counter, value, 0) == 0);
}

}  // namespace

TEST_CASE("flow calibration by rate: the new number is computed without wrapping")
{
    struct Case {
        uint32_t flow, calibration, m;
        uint64_t result;
    };
    const Case cases[] = {
        {1000, 4300000, 1000, 4300000},  // 4.3e9 does not fit in 32 bits
        {120, 1000000, 100, 1200000},
        {3, 10000, 7, 4286},             // rounded to the nearest
        {9999, 4900000, 1, 48995100000ull},
    };
    for (const Case& c : cases) {
        CAPTURE(c.flow);
        CHECK(flowCalByRateResult(c.flow, c.calibration, c.m) == c.result);
    }
}

TEST_CASE("flow calibration by rate: a complete run stores the new number")
{
    FlowCalEnv env(0);
    runByRateUntilMasterOff(481, 4);
    CHECK(datastoreGetUint16(DS_FLOW_CAL_RATE_VALUE) == 120);  // (481 + 2) / 4
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 0);
    auto events = takeCoreEvents();
    CHECK(hasEvent(events, EV_SET_REGUL_MODE, 1));
    CHECK(hasEvent(events, EV_CAL_STATUS_B, 1));

    setDs(DS_FLOW_CAL_RATE_VALUE, 100);  // the operator measured 1.00 l/min
    flowCalHandleEvent(EV_CAL_STEP);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 1200000);
    CHECK(flowCalByRateState() == 8);
    flowCalHandleEvent(EV_TICK_100MS);
    CHECK(flowCalByRateState() == 1);
    events = takeCoreEvents();
    CHECK(hasEvent(events, EV_CAL_STATUS_B, 0));
    CHECK(hasEvent(events, EV_CAL_STATUS_A, 1));
    CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 0);
    CHECK(takeTrace() ==
          "FlowCalR wait start -> wait master\n\r"
          "FlowCalR wait master -> busy\n\r"
          "FlowCalR busy -> Master off\n\r"
          "FlowCalR master off - new value\n\r"
          "FlowCalR master off - new value Temp = 1200000 cal = 1000000 Prev = 120 New = 100\n\r"
          "FlowCalR done\n\r");
}

TEST_CASE("flow calibration by rate: a large calibration number gives the right result")
{
    FlowCalEnv env(0);
    setDs(DS_FLOW_CAL_NUMBER, 4300000);
    runByRateUntilMasterOff(1000, 1);
    setDs(DS_FLOW_CAL_RATE_VALUE, 1000);
    flowCalHandleEvent(EV_CAL_STEP);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 4300000);
    CHECK(flowCalByRateState() == 8);
    CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 0);
}

TEST_CASE("flow calibration by rate: refusals")
{
    FlowCalEnv env(0);

    SUBCASE("a result outside the limits keeps the number and shows the measured flow")
    {
        struct Case {
            uint32_t calibration, entered;
        };
        // 120 / 1 x 1e6 is too high; 120 / 9999 x 20000 too low.
        const Case cases[] = {{1000000, 1}, {20000, 9999}};
        for (const Case& c : cases) {
            CAPTURE(c.entered);
            setDs(DS_FLOW_CAL_NUMBER, c.calibration);
            runByRateUntilMasterOff(481, 4);
            setDs(DS_FLOW_CAL_RATE_VALUE, c.entered);
            flowCalHandleEvent(EV_CAL_STEP);
            CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == c.calibration);
            CHECK(datastoreGetUint16(DS_FLOW_CAL_RATE_VALUE) == 120);
            CHECK(flowCalByRateState() == 4);
            CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 1);
            alarmClear(SPRAY_CALIB_ERROR);
            flowCalHandleEvent(EV_CAL_RESET);
        }
    }

    SUBCASE("no open nozzle: the flow reads 0 and no value can be taken")
    {
        runByRateUntilMasterOff(481, 0);
        CHECK(datastoreGetUint16(DS_FLOW_CAL_RATE_VALUE) == 0);
        setDs(DS_FLOW_CAL_RATE_VALUE, 100);
        takeTrace();
        flowCalHandleEvent(EV_CAL_STEP);
        CHECK(flowCalByRateState() == 4);
        CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 1000000);
        CHECK(takeTrace().empty());
    }

    SUBCASE("an entry of 0 does nothing; reset aborts the run")
    {
        runByRateUntilMasterOff(481, 4);
        setDs(DS_FLOW_CAL_RATE_VALUE, 0);
        flowCalHandleEvent(EV_CAL_STEP);
        CHECK(flowCalByRateState() == 4);
        CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 0);
        takeCoreEvents();
        flowCalHandleEvent(EV_CAL_RESET);
        CHECK(flowCalByRateState() == 1);
        CHECK(hasEvent(takeCoreEvents(), EV_CAL_STATUS_B, 0));
    }
}

TEST_CASE("flow calibration by volume: pulses over the collected volume")
{
    FlowCalEnv env(1);
    setTrip(1, 500);
    flowCalHandleEvent(EV_CAL_MASTER_VALVE);
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 1);
    CHECK(hasEvent(takeCoreEvents(), EV_SET_REGUL_MODE, 1));
    flowCalHandleEvent(EV_CAL_TICK);
    CHECK(flowCalByVolumeState() == 2);
    setDs(DS_MASTER_SWITCH, 1);
    flowCalHandleEvent(EV_CAL_TICK);
    REQUIRE(flowCalByVolumeState() == 3);

    setTrip(1, 3500);
    flowCalHandleEvent(EV_CAL_TICK);
    setTrip(1, 200);  // reset during the run: that tick adds nothing
    flowCalHandleEvent(EV_CAL_TICK);
    setTrip(1, 3700);
    flowCalHandleEvent(EV_CAL_TICK);
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 6500);

    setDs(DS_MASTER_SWITCH, 0);
    flowCalHandleEvent(EV_TICK_100MS);
    REQUIRE(flowCalByVolumeState() == 6);
    flowCalHandleEvent(EV_CAL_VOLUME_ENTERED);  // no volume yet: keeps waiting
    CHECK(flowCalByVolumeState() == 6);
    setDs(DS_CAL_COLLECTED_VOLUME, 1000);  // 10.00 l
    flowCalHandleEvent(EV_CAL_VOLUME_ENTERED);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 650000);
    flowCalHandleEvent(EV_TICK_100MS);
    CHECK(flowCalByVolumeState() == 1);
    CHECK(hasEvent(takeCoreEvents(), EV_CAL_STATUS_A, 1));
    CHECK(takeTrace() ==
          "FlowCalV wait start -> wait master\n\r"
          "FlowCalV wait master -> busy\n\r"
          "FlowCalV stop pressed\n\r"
          "FlowCalV volume ready CP=650000 PC=6500 CV=1000\n\r"
          "FlowCalV done\n\r");

    flowCalHandleEvent(EV_CAL_RESET);
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 0);
}

TEST_CASE("flow calibration by volume: a result above the item's maximum is refused and reported")
{
    FlowCalEnv env(1);
    setTrip(1, 1);
    flowCalHandleEvent(EV_CAL_MASTER_VALVE);
    setDs(DS_MASTER_SWITCH, 1);
    flowCalHandleEvent(EV_TICK_100MS);
    setTrip(1, 65001);
    flowCalHandleEvent(EV_CAL_TICK);
    setDs(DS_MASTER_SWITCH, 0);
    flowCalHandleEvent(EV_TICK_100MS);
    setDs(DS_CAL_COLLECTED_VOLUME, 1000);
    flowCalHandleEvent(EV_CAL_VOLUME_ENTERED);  // 65000 pulses / 10.00 l = 6.5 million
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 1000000);
    CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 1);
    CHECK(takeTrace().find("CP=6500000 PC=65000 CV=1000") != std::string::npos);
}

TEST_CASE("fill flow calibration by volume: the run starts at once and a second press ends it")
{
    for (uint32_t autoFill : {0u, 1u}) {
        CAPTURE(autoFill);
        FlowCalEnv env(2);
        setDs(DS_AUTO_FILLING_ENABLED, autoFill);
        setTrip(3, 100);
        flowCalHandleEvent(EV_CAL_MASTER_VALVE);
        CHECK(fillFlowCalByVolumeState() == 3);
        auto events = takeCoreEvents();
        CHECK(hasEvent(events, EV_SET_REGUL_MODE, 1));
        CHECK(hasEvent(events, EV_FILL_VALVE_OPEN, 11) == (autoFill == 1));
        setTrip(3, 2100);
        flowCalHandleEvent(EV_CAL_TICK);
        flowCalHandleEvent(EV_CAL_MASTER_VALVE);
        CHECK(fillFlowCalByVolumeState() == 6);
        CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 0);
        CHECK(hasEvent(takeCoreEvents(), EV_FILL_VALVE_CLOSE, 11) == (autoFill == 1));
        setDs(DS_CAL_COLLECTED_VOLUME, 500);  // 2000 pulses / 5.00 l
        flowCalHandleEvent(EV_CAL_VOLUME_ENTERED);
        CHECK(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == 400000);
        CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 1000000);
        flowCalHandleEvent(EV_TICK_100MS);
        CHECK(fillFlowCalByVolumeState() == 1);
        CHECK(hasEvent(takeCoreEvents(), EV_CAL_STATUS_A, 1));
        CHECK(takeTrace().empty());
        flowCalHandleEvent(EV_CAL_RESET);
        CHECK(hasEvent(takeCoreEvents(), EV_FILL_VALVE_CLOSE, 11) == (autoFill == 1));
    }
}

TEST_CASE("pressure span: set only well above the zero point")
{
    ProcEnv env;
    setDs(DS_PRESSURE_SENSOR_ZERO, 100);
    setDs(DS_REF_PRESSURE, 50);
    setDs(DS_PRESSURE_SENSOR_MAX, 1000);

    setDs(DS_LIVE_PRESSURE_RAW, 252);  // zero + 152: too close
    CHECK(pressureSpanCal() == 0);
    CHECK(datastoreGetUint16(DS_PRESSURE_SENSOR_MAX) == 1000);
    CHECK(takeTrace() == "CalLiqPressMax 252 100 50 1000\r\n");

    setDs(DS_LIVE_PRESSURE_RAW, 600);
    CHECK(pressureSpanCal() == 1);
    CHECK(datastoreGetUint16(DS_PRESSURE_SENSOR_MAX) == 923);  // (250 + 923 x 500) / 500
    CHECK(takeTrace() == "CalLiqPressMax 600 100 50 923\r\n");
}
