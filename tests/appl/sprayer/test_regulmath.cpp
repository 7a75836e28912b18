#include "cycle_env.h"
#include "hbridge.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "regulmath.h"

#include <algorithm>
#include <cmath>

#include <doctest/doctest.h>

namespace {

uint32_t acceptConfig(uint32_t, uint32_t, uint32_t)
{
    return 1;
}

// A valve of span 300 (capacity 10, coarse 10), a dead band of 5 % and a
// minimum duty of 484 (6.0 V), on a system without bypass flow.
struct Valve {
    Valve()
    {
        setItem(DS_PULSE_COUNT_266, 0);
        setItem(DS_PULSE_COUNT_267, 0);
        setItem(DS_REG_VALVE_CAPACITY, 10);
        setItem(DS_COARSE_VALVE_CAL, 10);
        setItem(DS_REG_DEADBAND, 50);
        setItem(DS_MIN_REG_VOLTAGE, 60);
        setItem(DS_FINE_VALVE_CAL, 5);
        setItem(DS_REG_VALVE_TIME, 60);
        setItem(DS_REG_VALVE_TYPE, 0);
        takeHbridge();
    }
};

}  // namespace

TEST_CASE("rate, flow and width conversions round, cap and refuse a zero divisor")
{
    struct Case {
        uint32_t (*fn)(uint32_t, uint32_t, uint32_t);
        uint32_t a, b, c, expected;
    };
    const Case cases[] = {
        {flowFromRate, 1000, 1000, 10000, 1667},
        {flowFromRate, 1000, 0, 10000, 0},
        {flowFromRate, 1000, 1000, 0, 0},
        {flowFromRate, 65535, 65535, 65535, 99999},
        {rateFromFlow, 1667, 1000, 10000, 1000},
        {rateFromFlow, 1667, 0, 10000, 0},
        {rateFromFlow, 1667, 1000, 0, 0},
        {rateFromFlow, 99999, 1, 1, 99999},
        {rateFromFlowSmall, 10000, 1667, 1000, 1000},
        {rateFromFlowSmall, 1, 99999, 1, 9999},
        {rateFromFlowSmall, 0, 1667, 1000, 0},
        {rateFromFlowSmall, 10000, 1667, 0, 0},
    };
    for (const Case& c : cases) {
        INFO(c.a, ", ", c.b, ", ", c.c);
        CHECK(c.fn(c.a, c.b, c.c) == c.expected);
    }
}

TEST_CASE("shares between the measured and the sprayed flow")
{
    Valve valve;
    CHECK(regulMeasuredShare(100) == 100);  // no bypass known: unchanged
    setItem(DS_PULSE_COUNT_266, 1000);
    CHECK(regulMeasuredShare(100) == 100);  // B still 0
    setItem(DS_PULSE_COUNT_267, 250);
    CHECK(regulMeasuredShare(100) == 125);
    CHECK(regulSprayedShare(125) == 100);
    CHECK(regulSprayedShare(3) == 2);  // 2.4 rounds down
    CHECK(regulMeasuredShare(99999) == 99999);
    CHECK(regulMeasuredShare(90000) == 99999);
}

TEST_CASE("minimum duty and span follow the valve settings")
{
    Valve valve;
    CHECK(regulSpan() == 300);
    CHECK(regulMinDuty() == 484);
    setItem(DS_COARSE_VALVE_CAL, 19);
    CHECK(regulSpan() == 30);
    setItem(DS_MIN_REG_VOLTAGE, REG_FULL_VOLTAGE);
    setItem(DS_FINE_VALVE_CAL, 9);
    CHECK(regulMinDuty() == 484);
    setItem(DS_FINE_VALVE_CAL, 0);
    CHECK(regulMinDuty() == 0);
}

TEST_CASE("duty from a flow error: dead band, two slopes and full duty")
{
    Valve valve;
    // Reference flow 2000: dead band 100, knee 50 (valve time 6 s), mid 605.
    struct Case {
        uint32_t error, duty;
    };
    const Case cases[] = {
        {0, 0},     {99, 0},    // inside the dead band
        {100, 484},            // just outside: the minimum duty
        {125, 545}, {150, 605}, // first slope up to mid at the knee
        {275, 787},            // second slope
        {399, 967}, {400, 968}, {401, 968}, {60000, 968},
    };
    for (const Case& c : cases) {
        INFO("error ", c.error);
        CHECK(regulDutyFromError(c.error, 2000) == c.duty);
    }
}

TEST_CASE("duty where the slopes would divide by zero")
{
    Valve valve;
    SUBCASE("valve time 1 s makes the knee the whole span")
    {
        setItem(DS_REG_VALVE_TIME, 10);
        CHECK(regulDutyFromError(399, 2000) == 605);
        CHECK(regulDutyFromError(400, 2000) == 968);
        CHECK(regulDutyFromError(5000, 2000) == 968);
    }
    SUBCASE("no valve capacity: no span, the valve creeps at the minimum duty")
    {
        setItem(DS_REG_VALVE_CAPACITY, 0);
        CHECK(regulDutyFromError(99, 2000) == 0);
        CHECK(regulDutyFromError(100, 2000) == 484);
        CHECK(regulDutyFromError(5000, 2000) == 484);
        setItem(DS_MIN_REG_VOLTAGE, REG_FULL_VOLTAGE);
        setItem(DS_FINE_VALVE_CAL, 0);
        CHECK(regulDutyFromError(5000, 2000) == 1);
    }
}

TEST_CASE("duty in full-voltage mode: one slope, never 0 outside the dead band")
{
    Valve valve;
    setItem(DS_MIN_REG_VOLTAGE, REG_FULL_VOLTAGE);
    setItem(DS_FINE_VALVE_CAL, 0);
    CHECK(regulDutyFromError(99, 2000) == 0);
    CHECK(regulDutyFromError(100, 2000) == 1);
    CHECK(regulDutyFromError(250, 2000) == 484);
    CHECK(regulDutyFromError(400, 2000) == 968);
    setItem(DS_FINE_VALVE_CAL, 9);
    CHECK(regulDutyFromError(100, 2000) == 484);
}

TEST_CASE("the dead band and the error are taken on the measured share")
{
    Valve valve;
    setItem(DS_PULSE_COUNT_266, 1000);
    setItem(DS_PULSE_COUNT_267, 1000);
    // Reference 2000 becomes 4000 (dead band 200); error 99 becomes 198.
    CHECK(regulDutyFromError(99, 2000) == 0);
    CHECK(regulDutyFromError(100, 2000) == 484);
}

TEST_CASE("near the target: what a step moves, a dead band that holds the least step, and when to step")
{
    Valve valve;
    // Capacity 10 l/min over the full travel of 6 s at full duty; least duty 484.
    CHECK(regulStepFlow(968, 6000) == 1000);
    CHECK(regulStepFlow(484, 100) == 8);
    CHECK(regulStepFlow(0, 100) == 0);
    CHECK(regulDeadBand(2000) == 100);

    SUBCASE("a valve whose least step would cross the whole band gets a band that holds it")
    {
        // 999 l/min in 1 s: 20 ms at the least duty move 999, more than the band of 100 either side.
        setItem(DS_REG_VALVE_CAPACITY, 999);
        setItem(DS_REG_VALVE_TIME, 10);
        CHECK(regulDeadBand(2000) == 500);
        CHECK(regulDutyFromError(499, 2000) == 0);
        CHECK(regulDutyFromError(500, 2000) != 0);
    }
    SUBCASE("first-start settings, 65 l/ha at 4 km/h: a tick at the least duty crosses the band, a step does not")
    {
        setItem(DS_REG_VALVE_CAPACITY, 121);
        setItem(DS_REG_VALVE_TIME, 60);
        setItem(DS_MIN_REG_VOLTAGE, 35);
        setItem(DS_REG_DEADBAND, 15);
        setItem(DS_COARSE_VALVE_CAL, 14);
        setItem(DS_FINE_VALVE_CAL, 6);
        const uint32_t flow = 1177;  // 65.4 l/ha x 4 km/h x 27 m
        const uint32_t band = regulDeadBand(flow);
        CHECK(band == 17);
        const uint32_t least = regulMinDuty();
        CHECK(regulStepFlow(least, REG_TICK_MS) > 2 * band);
        const uint32_t error = band + 5;
        const uint32_t duty = regulDutyFromError(error, flow);
        REQUIRE(duty >= least);
        REQUIRE(duty < least + 10);
        const uint32_t ms = regulDriveTime(duty, error, flow, 1000);
        CHECK(ms >= REG_MIN_PULSE_MS);
        CHECK(ms < REG_TICK_MS);
        // The step moves the flow by the error, and no further than back into the band.
        CHECK(regulStepFlow(duty, ms) <= error);
        CHECK(regulStepFlow(duty, ms) + band >= error);
    }
    SUBCASE("drive on far from the target, step near it, after what the valve showed of itself")
    {
        // A fast valve (1 s): the knee is the whole span (300); a tick near the least duty moves 50.
        setItem(DS_REG_VALVE_TIME, 10);
        struct Case {
            uint32_t err, response, ms;
        };
        const Case cases[] = {
            {120, 1000, 240},  // three ticks would move 150 before the flow shows it: a step of 240 ms
            {200, 1000, 0},    // three ticks move less than the error: on
            {200, 2000, 185},  // a valve that moved twice its figures: a shorter step
            {110, 500, 0},     // one that moved half of them: on
            {450, 4000, 0},    // beyond the knee: on, whatever the valve showed
        };
        for (const Case& c : cases) {
            CAPTURE(c.err);
            CAPTURE(c.response);
            const uint32_t duty = regulDutyFromError(c.err, 2000);
            REQUIRE(duty != 0);
            // The step's time is for the duty the error gives.
            const uint32_t expected =
                c.ms == 0 ? 0 : static_cast<uint32_t>(100ull * c.err * 1000 / (regulStepFlow(duty, 100) * c.response));
            CHECK(regulDriveTime(duty, c.err, 2000, c.response) == expected);
            CHECK(expected == doctest::Approx(c.ms).epsilon(0.05));
        }
        // The shortest step, and the longest: the measurement's lag and one tick.
        CHECK(regulDriveTime(484, 5, 2000, 1000) == REG_MIN_PULSE_MS);
        CHECK(regulDriveTime(484, 140, 2000, 1000) <= REG_TICK_MS * (1 + REG_MEASURE_LAG_TICKS));
    }
}

TEST_CASE("valve primitives send the driver's tuples")
{
    Valve valve;
    using C = cycleenv::HbridgeCall;
    SUBCASE("normal mode drives a continuous duty")
    {
        regulValveDrive(0, REG_DIR_INCREASE, 1000);
        regulValveDrive(0, REG_DIR_DECREASE, 500);
        regulValveDrive(1, REG_DIR_INCREASE, 0);
        regulValveDrive(0, 7, 300);
        CHECK(takeHbridge() == std::vector<C>{C{0, 1, 0, 0, 968}, C{0, 2, 0, 0, 500}, C{1, 1, 0, 0, 0},
                                             C{0, 0, 0, 0, 300}});
    }
    SUBCASE("a reversed valve swaps the directions")
    {
        setItem(DS_REG_VALVE_TYPE, 1);
        regulValveDrive(0, REG_DIR_INCREASE, 1000);
        regulValvePulse(0, REG_DIR_DECREASE, 250);
        CHECK(takeHbridge() == std::vector<C>{C{0, 2, 0, 0, 968}, C{0, 1, 250, 0, 968}});
    }
    SUBCASE("full-voltage mode drives steps of a 128-step pattern, at least 16")
    {
        setItem(DS_MIN_REG_VOLTAGE, REG_FULL_VOLTAGE);
        struct Case {
            uint32_t value, steps;
        };
        for (const Case c : {Case{1000, 128}, Case{1500, 128}, Case{500, 64}, Case{125, 16}, Case{100, 16},
                             Case{50, 16}}) {
            INFO("value ", c.value);
            regulValveDrive(0, REG_DIR_INCREASE, c.value);
            CHECK(takeHbridge() == std::vector<C>{C{0, 1, c.steps, 128, 968}});
        }
        regulValveDrive(0, REG_DIR_INCREASE, 0);
        CHECK(takeHbridge() == std::vector<C>{C{0, 1, 0, 0, 0}});
    }
    SUBCASE("a pulse runs at full duty; a pulse of 0 ms stops")
    {
        regulValvePulse(1, REG_DIR_INCREASE, 6000);
        regulValvePulse(0, REG_DIR_DECREASE, 0);
        CHECK(takeHbridge() == std::vector<C>{C{1, 1, 6000, 0, 968}, C{0, 2, 0, 0, 0}});
    }
}

TEST_CASE("outputs reach only the channels that were set up")
{
    Valve valve;
    using C = cycleenv::HbridgeCall;
    REQUIRE(hbridgeSetCallback(0, acceptConfig) == 1);
    REQUIRE(hbridgeSetCallback(1, acceptConfig) == 1);
    setItem(DS_REG_SETTING_42, 12);

    regulHbridgeSetup(0);
    CHECK(regulChannelPresent(0));
    CHECK_FALSE(regulChannelPresent(1));
    regulDriveOutputs(3, REG_DIR_INCREASE, 968);
    regulDriveOutputs(1, REG_DIR_INCREASE, 968);
    regulPulseOutputs(2, REG_DIR_INCREASE, 100);
    CHECK(takeHbridge() == std::vector<C>{C{0, 1, 0, 0, 968}});

    regulHbridgeSetup(1);
    regulPulseOutputs(3, REG_DIR_DECREASE, 100);
    regulDriveOutputs(1, REG_DIR_DECREASE, 10);
    CHECK(takeHbridge() == std::vector<C>{C{0, 2, 100, 0, 968}, C{1, 2, 100, 0, 968}, C{1, 2, 0, 0, 10}});

    regulSetValveOffset(155);
    CHECK(getItem(DS_REG_SETTING_42) == 15);
    hbridgeSetCallback(0, nullptr);
    hbridgeSetCallback(1, nullptr);
}

TEST_CASE("bypass flow of circulation and return valves over the configured sections")
{
    Valve valve;
    // Sections 1 to 4 configured, 1 and 2 open.
    const uint16_t configured[7] = {0x1E, 0, 0, 0, 0, 0, 0};
    REQUIRE(datastoreSetData(DS_SECTION_BLOCK_263, configured) == DS_OK);
    const uint16_t open[7] = {0x06, 0, 0, 0, 0, 0, 0};
    setItem(DS_RESTRICTOR_PLATE_FLOW, 50);
    setItem(DS_REG_SETTING_71, 30);
    setItem(DS_RUN_FLAG_230, 0);
    struct Case {
        uint32_t circulation, mode, returnValves, option21, expected;
    };
    const Case cases[] = {
        {1, 2, 0, 0, 200},  // every configured section circulates through its plate
        {1, 1, 0, 0, 100},  // only the open ones
        {1, 0, 0, 0, 0},
        {0, 2, 0, 0, 0},
        {0, 0, 1, 1, 60},   // closed sections return through their return valves
        {1, 1, 1, 1, 160},
    };
    for (const Case& c : cases) {
        CAPTURE(c.circulation);
        CAPTURE(c.mode);
        CAPTURE(c.returnValves);
        setItem(DS_CIRCULATION_ON, c.circulation);
        setItem(DS_CIRCULATION_MODE, c.mode);
        setItem(DS_SECTION_VALVE_TYPE, c.returnValves);
        setItem(DS_VALVE_OPTION_21, c.option21);
        CHECK(regulBypassFlow(open) == c.expected);
    }
    // Return valves do not count while the pressure-based flag is set.
    setItem(DS_RUN_FLAG_230, 1);
    CHECK(regulBypassFlow(open) == 100);
    setItem(DS_RUN_FLAG_230, 0);
    setItem(DS_SECTION_VALVE_TYPE, 0);
    setItem(DS_CIRCULATION_ON, 0);
}

TEST_CASE("conversions over the current nozzle preset: the square-root law around the reference pressure")
{
    Valve valve;
    nozinfoInit(1);
    nozpresetInit(1);
    setItem(DS_CURRENT_TIP_PRESET, 0);
    setItem(DS_DENSITY_FACTOR, 1000);
    const uint32_t pref = nozpresetRefPressure(0);
    REQUIRE(pref != 0);
    CHECK(regulFlowAtPressure(pref, 10, 1000) == 1000);
    CHECK(regulFlowAtPressure(4 * pref, 10, 1000) == 2000);
    CHECK(regulFlowAtPressure(0, 10, 1000) == 0);
    CHECK(regulFlowAtPressure(pref, 0, 1000) == 0);  // no open nozzle
    CHECK(pressureFromFlow(1000, 10, 1000) == pref);
    CHECK(pressureFromFlow(2000, 10, 1000) == std::min<uint32_t>(4 * pref, 9999));
    CHECK(pressureFromFlow(2000, 0, 1000) == 0);
    CHECK(pressureFromFlow(2000, 10, 0) == 0);
    // A denser liquid passes less at the same pressure.
    setItem(DS_DENSITY_FACTOR, 4000);
    CHECK(regulFlowAtPressure(4 * pref, 10, 1000) == 1000);
    setItem(DS_DENSITY_FACTOR, 1000);

    const uint32_t target = nozpresetTargetRate(0);
    REQUIRE(target != 0);
    CHECK(regulPresetTarget() == target);
    setItem(DS_BOOST_PERCENT, 150);
    CHECK(regulBoostedTarget() == (target * 150 + 50) / 100);
    setItem(DS_BOOST_PERCENT, 100);
    CHECK(regulBoostedTarget() == target);
    CHECK(nozzleRefFlowTotal(20) == (20 * nozpresetSystemRefFlow(0) + 5) / 10);
    CHECK(nozzleRefFlowTotal(0) == 0);
}

// What the screens are promised of the three conversions, computed here from
// that promise: pressure = density x reference pressure x (flow / reference)^2
// / 1000 + 0.5 in single precision, truncated, at most 9999, 0 without nozzles
// or reference; flow per nozzle = rate x speed x spacing / 6 000 000 in floating
// point; the reference flow of v nozzles = (v x reference flow + 5) / 10. The
// core rounds the flow to the nearest unit (1666.67 gives 1667 where a plain
// quotient would give 1666) and caps it at 99999: the core's values hold.
TEST_CASE("the screens' conversions: pressure for a flow, flow from a rate, scaled reference flow")
{
    Valve valve;
    nozinfoInit(1);
    nozpresetInit(1);
    setItem(DS_CURRENT_TIP_PRESET, 0);
    const uint32_t pref = nozpresetRefPressure(0);
    REQUIRE(pref != 0);
    const struct {
        uint32_t flow, nozzles, reference, density;
    } pressures[] = {{1000, 10, 1000, 1000}, {1500, 10, 1000, 1000}, {700, 10, 1000, 1000}, {2000, 10, 1000, 1200},
                     {1000, 0, 1000, 1000},  {1000, 10, 0, 1000},    {100000, 10, 10, 1000}, {1, 1, 3, 1000}};
    for (const auto& c : pressures) {
        INFO(c.flow, ", ", c.nozzles, ", ", c.reference, ", ", c.density);
        setItem(DS_DENSITY_FACTOR, c.density);
        uint32_t promised = 0;
        if (c.nozzles != 0 && c.reference != 0) {
            const float ratio = float(c.flow) / float(c.reference);
            const float p = float(c.density) * float(pref) * ratio * ratio / 1000.0f + 0.5f;
            promised = p >= 9999.0f ? 9999 : uint32_t(p);
        }
        CHECK(pressureFromFlow(c.flow, c.nozzles, c.reference) == promised);
    }
    setItem(DS_DENSITY_FACTOR, 1000);

    const struct {
        uint32_t rate, speed, spacing, core;
    } flows[] = {{1000, 1000, 10000, 1667}, {1500, 800, 500, 100}, {2000, 1234, 500, 206},
                 {65535, 65535, 65535, 99999}, {1000, 0, 500, 0}, {1000, 800, 0, 0}};
    for (const auto& c : flows) {
        INFO(c.rate, ", ", c.speed, ", ", c.spacing);
        const double quotient = double(c.rate) * double(c.speed) * double(c.spacing) / 6000000.0;
        CHECK(flowFromRate(c.rate, c.speed, c.spacing) == c.core);
        // Within half a unit of the quotient, or at the cap.
        CHECK((c.core == 99999 || std::abs(double(c.core) - quotient) <= 0.5));
    }

    for (uint32_t v : {0u, 1u, 7u, 54u, 99u}) {
        INFO(v);
        CHECK(nozzleRefFlowTotal(v) == (v * nozpresetSystemRefFlow(0) + 5) / 10);
    }
}
