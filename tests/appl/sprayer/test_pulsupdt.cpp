#include "pulsupdt.h"

#include "coretables_env.h"
#include "clock.h"
#include "comport.h"
#include "conout.h"
#include "debugcon.h"
#include "pulsinput.h"
#include "test_capture.h"

#include <cstring>

namespace {

constexpr uint32_t kDefaultFlowCal = 650000;

// The counter set-up words w0..w8 as the pulse-counter module holds them.
struct Record {
    uint32_t w[9];
};

Record recordOf(uint32_t counter)
{
    uint32_t raw[12] = {};
    pulsDsGetCounterConfig(counter, raw);
    Record record;
    std::memcpy(record.w, raw, sizeof record.w);
    return record;
}

uint32_t unitOf(uint32_t counter)
{
    return recordOf(counter).w[3];
}

// Serial port 0 on standard output, as the platform start-up leaves it.
void openConsolePort()
{
    static const bool open = [] {
        return comportInit() == 1 && comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0) == 1 &&
               comportOpen(0, 7, 3, 2, 0) == 1;
    }();
    REQUIRE(open);
    comselectInit(0);
}

struct Counters : CoreEnv {
    Counters()
    {
        openConsolePort();
        pulsupdtRegister();
        REQUIRE(pulsupdtInitPulsCounters() == 0);
        REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, kDefaultFlowCal) == DS_OK);
    }
};

}  // namespace

TEST_CASE("pulse counters: the set-up of counters 1 to 21")
{
    Counters env;
    // Words w1, w2, w3, w7, w8; w0 is 1 and w4 to w6 are 0 for every counter.
    struct Row {
        uint32_t counter, w1, w2, w3, w7, w8;
    };
    const Row rows[] = {
        {1, 500, 1000, 1, 1, 60000},     {2, 50, 1000, 0, 100, 600},       {3, 500, 1000, 1, 1, 60000},
        {4, 100, 1000, 0, 100, 600},     {5, 200, 1000, 0, 1000000, 60000}, {6, 200, 1000, 0, 1000000, 60000},
        {7, 1, 1000, 1, 1, 60000},       {8, 500, 1000, 1, 1, 60000},      {9, 200, 1000, 1, 1, 60000},
        {10, 200, 1000, 1, 1, 60000},    {11, 200, 500, 0, 10, 360},       {12, 200, 1000, 0, 10, 60000},
        {13, 200, 2000, 0, 10, 360},     {14, 200, 1000, 0, 10, 60000},    {15, 200, 2000, 0, 10, 360},
        {16, 200, 1000, 0, 10, 60000},   {17, 200, 2000, 100, 10, 360},    {18, 200, 1000, 100, 10, 60000},
        {19, 1, 1000, 1, 1000, 60000},   {20, 1, 1000, 1, 100000000, 60000}, {21, 200, 1000, 1, 1000, 60000},
    };
    // Counters 2 and 5 carry the flow factor set after the set-up; read the fresh records.
    REQUIRE(pulsupdtInitPulsCounters() == 0);
    for (const Row& row : rows) {
        CAPTURE(row.counter);
        const Record r = recordOf(row.counter);
        const uint32_t expected[9] = {1, row.w1, row.w2, row.w3, 0, 0, 0, row.w7, row.w8};
        for (int w = 0; w < 9; ++w) {
            CAPTURE(w);
            CHECK(r.w[w] == expected[w]);
        }
    }

    SUBCASE("the set-up clears the counters and starts trips 5 to 8")
    {
        REQUIRE(pulsSetCounterParam(3, 1234) == 0);
        REQUIRE(pulsupdtInitPulsCounters() == 0);
        uint32_t units = 99;
        CHECK(pulsGetCounterParam(3, &units) == 0);
        CHECK(units == 0);
        for (uint32_t trip : {5u, 6u, 7u, 8u}) {
            CAPTURE(trip);
            uint32_t state[3] = {};  // remainder, units, running
            pulsDsGetTrip(trip, state);
            CHECK(state[2] == 1);
        }
    }

    SUBCASE("one counter's set-up replaces its record; an unknown id prints its error on port 0")
    {
        pulsSetCounterUnit(13, 777);
        std::string printed;
        {
            StdoutCapture output(coreTestWorkDir() + "/pulsupdt.out");
            CHECK(pulsupdtInitSpecificPulsCounters(13) == 0);
            CHECK(pulsupdtInitSpecificPulsCounters(22) == 1);
            printed = output.text();
        }
        CHECK(unitOf(13) == 0);
        CHECK(printed.find("pulsupdtInitSpecificPulsCounters() reports error 1 on Id 22\n\r") != std::string::npos);
        CHECK(printed.find("reports error 1 on Id 13") == std::string::npos);
    }
}

TEST_CASE("pulse counters: flow factors follow the calibration items")
{
    Counters env;

    SUBCASE("the default flow calibration gives 1538 on counters 2 and 5")
    {
        CHECK(unitOf(2) == 1538);
        CHECK(unitOf(5) == 1538);
        REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 4900000) == DS_OK);
        CHECK(unitOf(2) == 204);
        CHECK(unitOf(5) == 204);
    }

    SUBCASE("a calibration number the store refuses leaves the factor of the one it keeps")
    {
        REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 6500000) == DS_ERR_ABOVE_MAX);
        CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == kDefaultFlowCal);
        CHECK(unitOf(2) == 1538);
        CHECK(unitOf(5) == 1538);
        REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 9999) == DS_ERR_BELOW_MIN);
        CHECK(unitOf(2) == 1538);
    }

    SUBCASE("the sprayer-mode correction is a percentage of the calibration number, in 64 bits")
    {
        struct Case {
            uint16_t k;
            uint32_t calibration;
            uint32_t factor;
        };
        const Case cases[] = {
            {100, 650000, 1538},    // the default: what the calibration number alone gives
            {100, 4900000, 204},
            {110, 650000, 1399},    // 10^11 / 71500000 = 1398.6
            {1, 650000, 153846},    // 10^11 / 650000
            {3, 650000, 51282},
            {20000, 650000, 8},     // 1.3 x 10^10 fits only in 64 bits
            {7000, 4900000, 3},
            {0, 650000, 0},         // no division by zero
        };
        for (const Case& c : cases) {
            CAPTURE(c.k);
            REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, c.calibration) == DS_OK);
            REQUIRE(datastoreSetUint16(DS_SPRAYER_MODE_FACTOR, c.k) == DS_OK);
            CHECK(unitOf(2) == c.factor);
            CHECK(unitOf(5) == c.factor);
        }
    }

    SUBCASE("the NH3 density correction divides the calibration number, in 64 bits")
    {
        struct Case {
            uint16_t k;
            uint32_t calibration;
            uint32_t factor;
        };
        const Case cases[] = {
            {1000, 650000, 1538},  // factor 1.000
            {500, 650000, 769},    // 10^9 / 1300000
            {2000, 650000, 3077},
            {1000, 4900000, 204},  // 4.9 x 10^9 fits only in 64 bits (wrapped: 1653)
        };
        for (const Case& c : cases) {
            CAPTURE(c.k);
            CAPTURE(c.calibration);
            REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, c.calibration) == DS_OK);
            REQUIRE(datastoreSetUint16(DS_NH3_DENSITY_FACTOR, c.k) == DS_OK);
            CHECK(unitOf(2) == c.factor);
            CHECK(unitOf(5) == c.factor);
        }
        // A factor of 0 changes nothing.
        REQUIRE(datastoreSetUint16(DS_NH3_DENSITY_FACTOR, 0) == DS_OK);
        CHECK(unitOf(2) == 204);
    }
}

TEST_CASE("pulse counters: the mode factor at its default leaves flow and volume as the calibration gives them")
{
    Counters env;
    // The flow meter's pulses handed in as the I/O loop hands them: 650 per
    // litre (the stand-in sprayer's meter, calibration number 650000), 20 l/min.
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    REQUIRE(pulsResetCounter(0) == 0);
    // The calibration entered anew: its hook sets the factor the set-up cleared.
    REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, kDefaultFlowCal + 1) == DS_OK);
    REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, kDefaultFlowCal) == DS_OK);
    REQUIRE(unitOf(5) == 1538);
    constexpr uint32_t kPulsesPerStep = 650 * 20 / 600;  // 100 ms at 20 l/min
    const auto pump = [](int steps) {
        for (int i = 0; i < steps; ++i) {
            clockAdvanceMs(100);
            pulsSetExternalPulsCountNew(1, kPulsesPerStep, 100);
            pulsupdtUpdate();
        }
    };
    // The job volume (trip 7 on counter 5, millionths of a litre) and the flow counter.
    const auto volume = [] {
        int32_t units = 0, remainder = 0;
        pulsGetTripValueBase(7, &units);
        pulsGetTripValueUnit(7, &remainder);
        return units + remainder / 1e6;
    };
    const auto flow = [] {
        uint32_t units = 0;
        float remainder = 0;
        uint32_t base = 0;
        pulsGetCounterParam(2, &units);
        pulsGetCounterRemainder(2, &base, &remainder);
        return units * 100.0 + base;
    };
    constexpr int kSteps = 3000;  // 5 minutes
    constexpr double kPumped = kPulsesPerStep * kSteps / 650.0;

    pump(kSteps);
    const double before = volume();
    const double flowBefore = flow();
    CHECK(before == doctest::Approx(kPumped).epsilon(0.001));
    REQUIRE(flowBefore > 0);

    // What a change of the liquid unit writes in crop mode at the default correction.
    REQUIRE(datastoreSetUint16(DS_SPRAYER_MODE_FACTOR, 100) == DS_OK);
    pump(kSteps);
    CHECK(volume() - before == doctest::Approx(kPumped).epsilon(0.001));
    CHECK(flow() == doctest::Approx(flowBefore).epsilon(0.01));
    MESSAGE("pumped " << kPumped << " l twice; counted " << before << " l, then " << volume() - before
                      << " l; flow counter " << flowBefore << " then " << flow());
}

TEST_CASE("pulse counters: the speed factor goes to the selected source's pair")
{
    Counters env;
    struct Case {
        uint8_t source;
        uint32_t item;  // 0: simulated
        uint32_t first, second;
    };
    const Case cases[] = {
        {0, DS_SPEED_CAL_NUMBER_B, 13, 14}, {1, DS_SPEED_CAL_NUMBER_A, 11, 12}, {2, DS_SPEED_CAL_NUMBER, 15, 16},
        {3, 0, 17, 18},                     {4, DS_SPEED_CAL_NUMBER, 15, 16},   {200, DS_SPEED_CAL_NUMBER, 15, 16},
    };
    for (const Case& c : cases) {
        CAPTURE(c.source);
        REQUIRE(pulsupdtInitPulsCounters() == 0);
        REQUIRE(datastoreSetUint8(DS_SPEED_SOURCE, c.source) == DS_OK);
        if (c.item == 0) {
            CHECK(unitOf(c.first) == 100);
            CHECK(unitOf(c.second) == 100);
            continue;
        }
        REQUIRE(datastoreSetUint32(c.item, 3000) == DS_OK);
        CHECK(unitOf(c.first) == 333);   // 10^6 / 3000, rounded
        CHECK(unitOf(c.second) == 333);
        REQUIRE(datastoreSetUint32(c.item, 0) == DS_OK);
        CHECK(unitOf(c.first) == 0);
        CHECK(unitOf(c.second) == 0);
        REQUIRE(datastoreSetUint32(c.item, 1999) == DS_OK);
        CHECK(unitOf(c.first) == 500);  // 500.25
        // The pairs of the other sources keep their set-up.
        for (uint32_t counter : {11u, 12u, 13u, 14u, 15u, 16u}) {
            if (counter != c.first && counter != c.second)
                CHECK(unitOf(counter) == 0);
        }
    }
}
