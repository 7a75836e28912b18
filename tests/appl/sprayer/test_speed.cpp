#include "speed.h"

#include "clock.h"
#include "datastore.h"
#include "eventids.h"
#include "pulsinput.h"
#include "tickhook.h"
#include "unitquantities.h"

#include "procedures_env.h"

#include <tuple>
#include <vector>

namespace {

using Report = std::tuple<uint32_t, uint32_t, uint32_t>;

std::vector<Report>& reports()
{
    static std::vector<Report> list;
    return list;
}

uint32_t recordReport(uint32_t input, uint32_t pulses, uint32_t periodMs)
{
    reports().emplace_back(input, pulses, periodMs);
    return 0;
}

struct SpeedEnv : ProcEnv {
    SpeedEnv()
    {
        reports().clear();
        simSpeedSetPulseSink(recordReport);
    }
    ~SpeedEnv() { simSpeedSetPulseSink(nullptr); }
};

}  // namespace

TEST_CASE("simulated speed: one pulse per centimetre, rounded")
{
    SpeedEnv env;
    struct Case {
        uint32_t kmhX10, pulses;
    };
    const Case cases[] = {{100, 278}, {0, 0}, {1, 3}, {36, 100}, {250, 694}, {655, 1819}};
    for (const Case& c : cases) {
        CAPTURE(c.kmhX10);
        simSpeedSet(c.kmhX10);
        CHECK(simSpeedPulsesPerSecond() == c.pulses);
    }
}

// One step of the generator, ms after the previous one.
void tickAfter(uint32_t ms)
{
    clockAdvanceMs(ms);
    simSpeedTick();
}

TEST_CASE("simulated speed: reports on input 6, the first one after a standstill covers it")
{
    SpeedEnv env;
    clockUseManual();
    simSpeedSet(100);
    tickAfter(1000);
    simSpeedSet(0);
    tickAfter(1000);
    tickAfter(1000);
    tickAfter(1000);
    simSpeedSet(100);
    tickAfter(1000);
    tickAfter(1000);
    const std::vector<Report> expected = {
        Report{6, 278, 1000}, Report{6, 0, 1000}, Report{6, 0, 2000},
        Report{6, 0, 3000},   Report{6, 278, 3000}, Report{6, 278, 1000},
    };
    CHECK(reports() == expected);
    clockUseReal();
}

TEST_CASE("simulated speed: a step that comes late or not at all loses no ground")
{
    SpeedEnv env;
    clockUseManual();
    simSpeedSet(100);  // 278 pulses a second
    tickAfter(1000);
    reports().clear();
    // Late, early, then two steps in one (the main thread held up past a step),
    // then punctual again: the pulses follow the time.
    const uint32_t steps[] = {1250, 750, 2000, 999, 1001, 1000};
    uint32_t pulses = 0, ms = 0;
    for (uint32_t step : steps) {
        tickAfter(step);
        ms += step;
        CAPTURE(step);
        REQUIRE(!reports().empty());
        CHECK(std::get<2>(reports().back()) == step);
        pulses += std::get<1>(reports().back());
    }
    CHECK(ms == 7000);
    CHECK(pulses == 7 * 278);
    CHECK(std::get<1>(reports()[2]) == 556);
    clockUseReal();
}

TEST_CASE("simulated speed: the generator runs on the 1 s tick and feeds the pulse input")
{
    SpeedEnv env;
    simSpeedSetPulseSink(nullptr);
    setDs(DS_SIM_SPEED, 100);
    tickHookInit();
    speedInit();
    const uint32_t before = pulsGetInputCount(SPEED_SIM_INPUT);
    clockUseManual();
    tickHookRun(EV_TICK_100MS, 0);
    CHECK(pulsGetInputCount(SPEED_SIM_INPUT) == before);
    tickHookRun(EV_TICK_1S, 0);
    CHECK(pulsGetInputCount(SPEED_SIM_INPUT) == before + 278);

    setDs(DS_SIM_SPEED, 200);
    speedHandleEvent(EV_SIM_SPEED_CHANGED, 0);
    clockAdvanceMs(1000);
    tickHookRun(EV_TICK_1S, 0);
    CHECK(pulsGetInputCount(SPEED_SIM_INPUT) == before + 278 + 556);
    clockUseReal();
    tickHookInit();
}

TEST_CASE("speed source: calibration number and calibration result go to the source's own item")
{
    SpeedEnv env;
    struct Case {
        uint32_t source, item, counter;
    };
    const Case cases[] = {
        {0, DS_SPEED_CAL_NUMBER_B, 9},
        {1, DS_SPEED_CAL_NUMBER_A, 8},
        {2, DS_SPEED_CAL_NUMBER, 10},
        {3, DS_SPEED_CAL_NUMBER, 10},
    };
    for (const Case& c : cases) {
        CAPTURE(c.source);
        speedHandleEvent(EV_SET_SPEED_SOURCE, c.source);
        REQUIRE(datastoreGetUint8(DS_SPEED_SOURCE) == c.source);

        speedHandleEvent(EV_SPEED_257, 1234);
        CHECK(datastoreGetUint32(c.item) == 1234);

        // The counted pulses become the calibration number; 99 or fewer count as none.
        REQUIRE(pulsSetCounterParam(c.counter, 650) == 0);
        speedHandleEvent(EV_SPEED_259, 0);
        CHECK(datastoreGetUint32(c.item) == 650);
        REQUIRE(pulsSetCounterParam(c.counter, 99) == 0);
        speedHandleEvent(EV_SPEED_259, 0);
        CHECK(datastoreGetUint32(c.item) == 0);
        REQUIRE(pulsSetCounterParam(c.counter, 100) == 0);
        speedHandleEvent(EV_SPEED_259, 0);
        CHECK(datastoreGetUint32(c.item) == 100);
        CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 0);

        // A count above the item's limit keeps the number and raises the calibration alarm.
        REQUIRE(pulsSetCounterParam(c.counter, 65001) == 0);
        speedHandleEvent(EV_SPEED_259, 0);
        CHECK(datastoreGetUint32(c.item) == 100);
        CHECK(alarmIsActive(SPRAY_CALIB_ERROR) == 1);
        alarmClear(SPRAY_CALIB_ERROR);
    }
}

TEST_CASE("speed calibration start clears the counted pulses of all three sensors")
{
    SpeedEnv env;
    for (uint32_t counter : {8u, 9u, 10u})
        REQUIRE(pulsSetCounterParam(counter, 500) == 0);
    speedHandleEvent(EV_SPEED_CAL, 0);
    for (uint32_t counter : {8u, 9u, 10u}) {
        uint32_t value = 1;
        REQUIRE(pulsGetCounterParam(counter, &value) == 0);
        CHECK(value == 0);
    }
}

TEST_CASE("switching to the CAN speed source takes the baseline once")
{
    SpeedEnv env;
    speedHandleEvent(EV_SET_SPEED_SOURCE, 2);
    clockAdvanceMs(1000);
    const uint32_t first = clockGetMs();
    speedHandleEvent(EV_SET_SPEED_SOURCE, 4);
    uint32_t value = 1, ms = 0;
    canSpeedBaseline(&value, &ms);
    CHECK(ms == first);
    clockAdvanceMs(500);
    speedHandleEvent(EV_SET_SPEED_SOURCE, 4);
    canSpeedBaseline(&value, &ms);
    CHECK(ms == first);
    CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == 4);

    speedHandleEvent(EV_SET_SPEED_SOURCE, 0);
    clockAdvanceMs(500);
    speedHandleEvent(EV_SET_SPEED_SOURCE, 4);
    canSpeedBaseline(&value, &ms);
    CHECK(ms == first + 1000);
    speedHandleEvent(EV_SET_SPEED_SOURCE, 0);

    // The accumulation step is left out: it moves neither the baseline nor a counter.
    uint32_t counters[22] = {};
    for (uint32_t c = 1; c <= 21; ++c)
        REQUIRE(pulsGetCounterParam(c, &counters[c]) == 0);
    clockAdvanceMs(700);
    canSpeedAccumulate(0);
    canSpeedBaseline(&value, &ms);
    CHECK(ms == first + 1000);
    for (uint32_t c = 1; c <= 21; ++c) {
        uint32_t now = 0;
        REQUIRE(pulsGetCounterParam(c, &now) == 0);
        CHECK(now == counters[c]);
    }
}
