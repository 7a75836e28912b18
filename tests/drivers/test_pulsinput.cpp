#include "clock.h"
#include "frequencycal.h"
#include "pulsinput.h"

#include <doctest/doctest.h>

#include <cstring>
#include <string>

namespace {

struct ManualClock {
    ManualClock() { clockUseManual(); }
    ~ManualClock() { clockUseReal(); }
};

struct CounterState {
    uint32_t units;
    uint32_t remainder;
};

CounterState state(uint32_t counter)
{
    CounterState s{};
    REQUIRE(pulsGetCounterValue(counter, &s.units, nullptr) == 0);
    REQUIRE(pulsGetCounterRemainder(counter, &s.remainder, nullptr) == 0);
    return s;
}

// Hands counts to an input that takes them from outside, 100 ms after the last.
void handIn(uint32_t input, uint32_t count)
{
    REQUIRE(pulsSetExternalPulsCountNew(input, count, 100) == 0);
}

}  // namespace

TEST_CASE("a total counter scales each consumed difference")
{
    ManualClock clock;
    struct Case {
        const char* name;
        uint32_t pulses, c3, c4, c5, c6, c7;
        uint32_t units, remainder;
    };
    const Case cases[] = {
        {"plain multiplier", 10, 100, 0, 0, 0, 100000, 0, 1000},
        {"deduction per mille", 10, 100, 100, 0, 0, 100000, 0, 900},
        {"pulses and counts added", 10, 3, 0, 2, 5, 100000, 0, 41},
        {"deduction above 1000 gives 0", 10, 100, 1500, 0, 0, 100000, 0, 0},
        {"unit carry", 25, 100, 0, 0, 0, 1000, 2, 500},
        {"bracket wraps in 32 bits", 1, 0xFFFFFFFF, 0, 0, 2, 100000, 0, 1},
        {"float truncation", 3, 1, 500, 0, 0, 100000, 0, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        pulsInit();
        REQUIRE(pulsSetInputMode(1, 1) == 0);
        REQUIRE(pulsInitCounter(1, 0, 100, 8000, c.c3, c.c4, c.c5, c.c6, c.c7, 1000) == 0);
        handIn(1, c.pulses);
        clockAdvanceMs(150);
        CHECK(pulsUpdateCounter(1) == 0);
        const CounterState s = state(1);
        CHECK(s.units == c.units);
        CHECK(s.remainder == c.remainder);
    }
}

TEST_CASE("after a reset a total counter consumes pulses whatever the handed-in time, also across the clock's wrap")
{
    ManualClock clock;
    struct Case {
        std::string name;
        uint32_t nowAt;      // the program's clock is moved on to this reading first (0: as it is)
        int32_t reference;   // handed-in time at the reset, relative to the program's clock
        bool consumedAtOnce; // else only once the minimum interval (100 ms) has passed
    };
    const Case cases[] = {
        {"reference 1 ms ahead", 0, 1, true},
        {"reference 50 ms ahead", 0, 50, true},
        {"reference 1000 s ahead", 0, 1000000, true},
        {"reference as old as the minimum interval", 0, -100, true},
        {"reference younger than the minimum interval", 0, -50, false},
        {"reference ahead across the wrap", 0xFFFFFFF0u, 0x20, true},
        {"reference younger across the wrap", 0x10u, -0x50, false},
        {"reference older across the wrap", 0x60u, -0x200, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        if (c.nowAt != 0)
            clockAdvanceMs(c.nowAt - clockGetMs());
        pulsInit();
        REQUIRE(pulsSetInputMode(1, 1) == 0);
        REQUIRE(pulsInitCounter(1, 0, 100, 8000, 100, 0, 0, 0, 100000, 1000) == 0);
        const uint32_t reference = clockGetMs() + static_cast<uint32_t>(c.reference);
        // A hand-over without counts sets the input's time alone.
        REQUIRE(pulsSetExternalPulsCountNew(1, 0, reference) == 0);
        REQUIRE(pulsClearCounter(1) == 0);
        REQUIRE(pulsResetCounter(1) == 0);
        REQUIRE(pulsSetExternalPulsCountNew(1, 7, 0) == 0);
        CHECK(pulsUpdateCounter(1) == 0);
        CHECK(state(1).remainder == (c.consumedAtOnce ? 700u : 0u));
        clockAdvanceMs(100);
        CHECK(pulsUpdateCounter(1) == 0);
        CHECK(state(1).remainder == 700);
        REQUIRE(pulsSetExternalPulsCountNew(1, 3, 0) == 0);
        clockAdvanceMs(100);
        CHECK(pulsUpdateCounter(1) == 0);
        CHECK(state(1).remainder == 1000);
    }
}

TEST_CASE("consumptions wait for the minimum interval and nothing is lost")
{
    ManualClock clock;
    pulsInit();
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    REQUIRE(pulsInitCounter(1, 0, 100, 8000, 1, 0, 0, 0, 1000, 1000) == 0);
    handIn(1, 7);
    clockAdvanceMs(50);
    pulsUpdateCounter(1);
    CHECK(state(1).remainder == 0);
    handIn(1, 5);
    clockAdvanceMs(60);
    pulsUpdateCounter(1);
    CHECK(state(1).remainder == 12);
}

TEST_CASE("with the default configuration no counter ever grows")
{
    ManualClock clock;
    pulsInit();
    for (uint32_t input = 1; input < PULS_INPUT_COUNT; ++input)
        REQUIRE(pulsSetInputMode(input, 1) == 0);
    for (int round = 0; round < 20; ++round) {
        for (uint32_t input = 1; input < PULS_INPUT_COUNT; ++input)
            handIn(input, 1000);
        clockAdvanceMs(150);
        CHECK(pulsUpdateCounter(0) == 0);
    }
    for (uint32_t c = 1; c <= 20; ++c) {
        CAPTURE(c);
        const CounterState s = state(c);
        CHECK(s.units == 0);
        CHECK(s.remainder == 0);
    }
}

TEST_CASE("the running-time counter adds elapsed milliseconds")
{
    ManualClock clock;
    pulsInit();
    const uint32_t start = clockGetMs();
    clockAdvanceMs(2500);
    const uint32_t elapsed = clockGetMs() - start;  // the clock may round the step by 1 ms
    REQUIRE(elapsed >= 2499);
    CHECK(pulsUpdateCounter(21) == 0);
    CHECK(state(21).units == 2);
    CHECK(state(21).remainder == elapsed - 2000);
    REQUIRE(pulsClearCounter(21) == 0);
    clockAdvanceMs(5000);
    CHECK(pulsUpdateCounter(21) == 8);
    CHECK(state(21).units == 2);
}

TEST_CASE("a rate counter follows the pulse rate and drops to 0 after its time-out")
{
    ManualClock clock;
    pulsInit();
    // counter 11 is the rate of input 3; pulses per second in base counts
    REQUIRE(pulsInitCounter(11, 1, 100, 2000, 1, 0, 0, 0, 1000000, 1000) == 0);
    clockAdvanceMs(500);
    for (int i = 0; i < 10; ++i)
        REQUIRE(pulsInputPulse(3) == 0);
    CHECK(pulsUpdateCounter(11) == 0);
    CHECK(state(11).remainder == 20);

    clockAdvanceMs(1990);
    pulsUpdateCounter(11);
    CHECK(state(11).remainder == 20);
    clockAdvanceMs(20);
    pulsUpdateCounter(11);
    CHECK(state(11).remainder == 0);

    // the first rate after the silence is taken over the time-out and the gap:
    // 5 pulses over 2001 + 490 ms
    clockAdvanceMs(490);
    for (int i = 0; i < 5; ++i)
        REQUIRE(pulsInputPulse(3) == 0);
    pulsUpdateCounter(11);
    CHECK(state(11).remainder == 2);
}

TEST_CASE("a rate mode above 3 from the store is reported; the carry and the time-out still apply")
{
    ManualClock clock;
    pulsInit();
    // counter 11 is the rate of input 3; the store brings mode 4 and a remainder of 2500
    const uint32_t record[12] = {4, 100, 2000, 1, 0, 0, 0, 1000, 1000, 0, 0, 2500};
    REQUIRE(pulsDsSetCounterConfig(11, record) == 1);
    clockAdvanceMs(500);
    for (int i = 0; i < 10; ++i)
        REQUIRE(pulsInputPulse(3) == 0);
    CHECK(pulsUpdateCounter(11) == 3);
    CHECK(state(11).units == 2);
    CHECK(state(11).remainder == 500);

    clockAdvanceMs(2100);
    CHECK(pulsUpdateCounter(11) == 0);
    CHECK(state(11).units == 0);
    CHECK(state(11).remainder == 0);
}

TEST_CASE("trips count a unit borrowed across a carry once and refuse a remainder going back")
{
    ManualClock clock;
    pulsInit();
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    REQUIRE(pulsInitCounter(1, 0, 100, 8000, 1, 0, 0, 0, 1000, 1000) == 0);
    REQUIRE(pulsSetCounterAux(1, 900) == 0);
    REQUIRE(pulsSetCounterUnits(1, 5) == 0);
    int32_t value = -1;
    REQUIRE(pulsGetTripValueUnit(1, &value) == 0);
    CHECK(value == 0);  // the set-up itself is not counted

    handIn(1, 200);
    clockAdvanceMs(150);
    REQUIRE(pulsUpdateCounter(1) == 0);
    REQUIRE(state(1).units == 6);
    REQUIRE(state(1).remainder == 100);
    CHECK(UpdateTripCounter(1) == 0);
    CHECK(pulsGetTripValueUnit(1, &value) == 0);
    CHECK(value == 200);
    CHECK(pulsGetTripValueBase(1, &value) == 0);
    CHECK(value == 0);

    // a jump of the base units is counted by the trips
    REQUIRE(pulsSetCounterParam(1, 9) == 0);
    CHECK(pulsGetTripValueBase(1, &value) == 0);
    CHECK(value == 3);

    // rate counter 4 (input 2) under trip 4: the rate falls back without a unit
    REQUIRE(pulsInitCounter(4, 1, 100, 2000, 1, 0, 0, 0, 1000000, 1000) == 0);
    clockAdvanceMs(400);
    for (int i = 0; i < 10; ++i)
        REQUIRE(pulsInputPulse(2) == 0);
    REQUIRE(pulsUpdateCounter(4) == 0);
    REQUIRE(state(4).remainder > 0);
    CHECK(UpdateTripCounter(4) == 0);
    clockAdvanceMs(2100);
    pulsUpdateCounter(4);
    REQUIRE(state(4).remainder == 0);
    CHECK(UpdateTripCounter(4) == 7);
}

TEST_CASE("a subtracting trip keeps its remainder within one unit")
{
    ManualClock clock;
    pulsInit();
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    // counter 5 totals input 1; trip 8 subtracts it
    REQUIRE(pulsInitCounter(5, 0, 100, 8000, 1, 0, 0, 0, 1000, 1000) == 0);
    handIn(1, 2300);
    clockAdvanceMs(150);
    REQUIRE(pulsUpdateCounter(5) == 0);
    int32_t units = 0, remainder = 0;
    REQUIRE(pulsGetTripValueBase(8, &units) == 0);
    REQUIRE(pulsGetTripValueUnit(8, &remainder) == 0);
    CHECK(units == -2);
    CHECK(remainder == -300);
    REQUIRE(pulsGetTripValueBase(5, &units) == 0);
    CHECK(units == 2);
}

TEST_CASE("configurations loaded from the store cannot make a counter divide by zero")
{
    ManualClock clock;
    pulsInit();
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    uint32_t record[12] = {1, 0, 8000, 5, 0, 0, 0, 0, 0, 0, 3, 4};
    CHECK(pulsDsSetCounterConfig(2, record) == 1);
    CHECK(pulsDsSetCounterConfig(1, record) == 1);
    uint32_t unitSize = 0;
    REQUIRE(pulsGetCounterUnitSize(1, &unitSize) == 0);
    CHECK(unitSize == 1);
    handIn(1, 10);
    clockAdvanceMs(150);
    CHECK(pulsUpdateCounter(1) == 0);
    CHECK(pulsUpdateCounter(2) == 0);
    CHECK(state(1).units == 3 + 4 + 50);
    CHECK(state(1).remainder == 0);

    REQUIRE(pulsInitCounter(3, 0, 1, 1, 1, 0, 0, 0, 0, 0) == 0);
    uint32_t words[12];
    memset(words, 0xFF, sizeof words);
    CHECK(pulsDsGetCounterConfig(3, words) == 1);
    CHECK(words[7] == 1);
    CHECK(words[8] == 1);
    CHECK(words[9] == 0);
    CHECK(pulsDsGetCounterConfig(3, words) == 0);  // unchanged copy
}

TEST_CASE("trip records go to the store and come back")
{
    ManualClock clock;
    pulsInit();
    const int32_t stored[3] = {250, 17, 0};
    CHECK(pulsDsTripSize(5) == 12);
    CHECK(pulsDsConfigSize(5) == 48);
    CHECK(pulsDsSetTrip(6, stored) == 1);
    int32_t copy[3] = {0, 0, 1};
    CHECK(pulsDsGetTrip(6, copy) == 1);
    CHECK(copy[0] == 250);
    CHECK(copy[1] == 17);
    CHECK(copy[2] == 0);
    CHECK(pulsDsGetTrip(6, copy) == 0);
    // a stopped trip does not follow its base
    REQUIRE(pulsSetCounterParam(5, 40) == 0);
    int32_t units = 0;
    REQUIRE(pulsGetTripValueBase(6, &units) == 0);
    CHECK(units == 17);
    REQUIRE(pulsResetTrip(6) == 0);
    REQUIRE(pulsSetCounterParam(5, 42) == 0);
    REQUIRE(pulsGetTripValueBase(6, &units) == 0);
    CHECK(units == 19);
}

TEST_CASE("records from the store are taken as stored, whatever the unit size at load")
{
    ManualClock clock;
    struct Case {
        int32_t remainder, units;
    };
    // Loaded before their base counter's record, as the store loads them: the
    // base still has the start-up unit size of 1000 then, and its record brings
    // the largest one.
    const Case cases[] = {
        {999, -3}, {2500, 17}, {-2500, 17}, {700000, 3}, {2099999999, INT32_MAX}, {-2099999999, INT32_MIN},
    };
    const uint32_t base[12] = {0, 100, 8000, 1, 0, 0, 0, 2100000000, 1000, 0, 0, 0};
    for (const Case& c : cases) {
        CAPTURE(c.remainder);
        pulsInit();
        const int32_t stored[3] = {c.remainder, c.units, 1};
        REQUIRE(pulsDsSetTrip(5, stored) == 1);
        REQUIRE(pulsDsSetCounterConfig(5, base) == 1);
        int32_t loaded[3] = {};
        pulsDsGetTrip(5, loaded);
        CHECK(loaded[0] == c.remainder);
        CHECK(loaded[1] == c.units);
        CHECK(loaded[2] == 1);
    }

    // A counter record as stored, also with a remainder of whole units (a
    // stopped counter keeps one); its carry at the next update is no count.
    pulsInit();
    const uint32_t record[12] = {0, 100, 8000, 1, 0, 0, 0, 1000, 1000, 0, 5, 123456};
    REQUIRE(pulsDsSetCounterConfig(5, record) == 1);
    CHECK(state(5).units == 5);
    CHECK(state(5).remainder == 123456);
    int32_t tripUnits = 0, tripRemainder = 0;
    REQUIRE(pulsGetTripValueBase(5, &tripUnits) == 0);
    CHECK(tripUnits == 0);  // the load is no count
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    handIn(1, 7);
    clockAdvanceMs(150);
    REQUIRE(pulsUpdateCounter(5) == 0);
    CHECK(state(5).units == 128);
    CHECK(state(5).remainder == 463);
    CHECK(UpdateTripCounter(5) == 0);
    REQUIRE(pulsGetTripValueBase(5, &tripUnits) == 0);
    REQUIRE(pulsGetTripValueUnit(5, &tripRemainder) == 0);
    CHECK(tripUnits == 0);
    CHECK(tripRemainder == 7);
}

TEST_CASE("a restart keeps the volume totals: trips in millionths of a litre load before their base's unit size")
{
    ManualClock clock;
    pulsInit();
    // The store's order: the trip states of the job, campaign and lifetime
    // volume, then the record of their base counter 5 (litres of 10^6 sub-units).
    const int32_t volume[3] = {700000, 3, 1};
    for (uint32_t trip : {5u, 6u, 7u})
        REQUIRE(pulsDsSetTrip(trip, volume) == 1);
    const uint32_t base[12] = {1, 200, 1000, 1538, 0, 0, 0, 1000000, 60000, 0, 42, 900000};
    REQUIRE(pulsDsSetCounterConfig(5, base) == 1);
    CHECK(state(5).units == 42);
    CHECK(state(5).remainder == 900000);
    for (uint32_t trip : {5u, 6u, 7u}) {
        CAPTURE(trip);
        int32_t loaded[3] = {};
        pulsDsGetTrip(trip, loaded);
        CHECK(loaded[0] == 700000);
        CHECK(loaded[1] == 3);
    }

    // 0.4 l more: the base and every trip carry with the unit size set up now.
    REQUIRE(pulsSetInputMode(1, 1) == 0);
    REQUIRE(pulsResetCounter(5) == 0);
    handIn(1, 260);  // x 1538 = 399880 sub-units
    clockAdvanceMs(300);
    REQUIRE(pulsUpdateCounter(5) == 0);
    CHECK(state(5).units == 43);
    CHECK(state(5).remainder == 299880);
    for (uint32_t trip : {5u, 6u, 7u}) {
        CAPTURE(trip);
        int32_t units = 0, remainder = 0;
        REQUIRE(pulsGetTripValueBase(trip, &units) == 0);
        REQUIRE(pulsGetTripValueUnit(trip, &remainder) == 0);
        CHECK(units == 4);
        CHECK(remainder == 99880);
    }
}

TEST_CASE("numbers out of range are refused without a change")
{
    ManualClock clock;
    pulsInit();
    uint32_t out = 0;
    int32_t value = 0;
    struct Case {
        const char* name;
        uint32_t result, expected;
    };
    const Case cases[] = {
        {"counter 22", pulsResetCounter(22), 1},
        {"clear counter 22", pulsClearCounter(22), 1},
        {"update counter 22", pulsUpdateCounter(22), 1},
        {"rate mode 4", pulsInitCounter(3, 4, 1, 1, 1, 1, 1, 1, 1, 1), 2},
        {"input 7 mode", pulsSetInputMode(7, 0), 13},
        {"mode 2", pulsSetInputMode(0, 2), 13},
        {"pulse on input 7", pulsInputPulse(7), 13},
        {"external count in mode 0", pulsSetExternalPulsCountNew(2, 5, 10), 13},
        {"direction of input 7", pulsSetInputDirection(7, 1), 4},
        {"accumulator of input 7", pulsUpdateInputAccumulator(7), 4},
        {"trip 23 reset", pulsResetTrip(23), 6},
        {"trip 23 clear", pulsClearTrip(23), 6},
        {"value selector 2", pulsGetTripValue(1, 2, &value), 6},
        {"unit size of counter 0", pulsGetCounterUnitSize(0, &out), 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(c.result == c.expected);
    }
    uint32_t unitSize = 0;
    REQUIRE(pulsGetCounterUnitSize(3, &unitSize) == 0);
    CHECK(unitSize == 1000);
    CHECK(pulsGetInputCount(2) == 0);
    CHECK(pulsGetInputCount(9) == 0);
}

TEST_CASE("the input accumulator counts up and down")
{
    ManualClock clock;
    pulsInit();
    for (int i = 0; i < 5; ++i)
        REQUIRE(pulsInputPulse(4) == 0);
    REQUIRE(pulsSetInputDirection(4, 1) == 0);
    for (int i = 0; i < 3; ++i)
        REQUIRE(pulsInputPulse(4) == 0);
    uint32_t accumulator = 0;
    REQUIRE(pulsUpdateInputAccumulator(4, &accumulator) == 0);
    CHECK(accumulator == 2);
    CHECK(pulsGetInputCount(4) == 8);
}

TEST_CASE("FrequencyCal gives hertz above its minimum until the time-out")
{
    ManualClock clock;
    FrequencyCal cal(1000, 1000000.0f);
    CHECK(cal.frequency() == 0.0f);
    cal.addMeasurement(1, 1000000);
    CHECK(cal.frequency() == 0.0f);  // 1 Hz is not above 1000 / 1000 ms
    cal.addMeasurement(2, 1000000);
    CHECK(cal.frequency() == doctest::Approx(2.0));
    cal.addMeasurement(7, 0);  // ignored
    CHECK(cal.frequency() == doctest::Approx(2.0));
    clockAdvanceMs(990);
    CHECK(cal.frequency() == doctest::Approx(2.0));
    clockAdvanceMs(20);
    CHECK(cal.frequency() == 0.0f);
    cal.addMeasurement(300, 100000);
    CHECK(cal.frequency() == doctest::Approx(3000.0));
}
