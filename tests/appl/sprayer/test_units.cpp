#include "movingaverage.h"
#include "unitquantities.h"
#include "units.h"

#include "coretables_env.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// The quantity table as start-up leaves it, in the metric system.
struct Units : CoreEnv {
    Units()
    {
        REQUIRE(processInitUnits() == 1);
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
    }
    ~Units() { unitSetSystem(UNIT_SYSTEM_METRIC); }
};

}  // namespace

TEST_CASE("unit conversion: factors, groups, rounding and limits")
{
    Units env;

    SUBCASE("the speed example: 20.00 km/h shows 20.0 metric and 12.4 mph")
    {
        CHECK(unitBaseToDisplay(UQ_ACTUAL_SPEED, 2000) == 200);
        CHECK(unitGetDecimals(UQ_ACTUAL_SPEED) == 1);
        REQUIRE(unitSetSystem(UNIT_SYSTEM_IMPERIAL) == 1);
        CHECK(unitBaseToDisplay(UQ_ACTUAL_SPEED, 2000) == 124);
    }

    SUBCASE("factors of the units people check by hand")
    {
        struct Case {
            uint32_t from, to;
            int32_t count;
            double factor;  // size of one `from` in `to`
        };
        const Case cases[] = {
            {41, 38, 1000000, 0.44704},        // mph in m/s
            {127, 126, 1000000, 0.0689475909}, // psi in bar
            {57, 45, 1000000, 3.785411784},    // US gal in l
            {32, 26, 1000, 4046.8564224},      // acre in m2
            {7, 2, 1000000, 0.45359237},       // lb in kg
            {37, 41, 1000000, 1 / 1.609344},   // km/h in mph
            {111, 105, 1000, 407.458333333},   // US gal/1000 ft2 in l/ha
        };
        for (const Case& c : cases) {
            CAPTURE(c.from);
            CHECK(unitConvert(c.count, c.from, 1, c.to, 1) == static_cast<int32_t>(std::lround(c.count * c.factor)));
            CHECK(unitConvert(-c.count, c.from, 1, c.to, 1) == -static_cast<int32_t>(std::lround(c.count * c.factor)));
        }
        CHECK(unitConvert(1, 32, 1, 26, 10000000) == 2147483647);  // clamps, see below
        CHECK(unitConvert(100, 32, 1, 26, 1) == 404686);
    }

    SUBCASE("across groups, or with a unit outside every group, the result is 0")
    {
        CHECK(unitConvert(1000, 2, 1, 16, 1) == 0);    // kg to m
        CHECK(unitConvert(1000, 126, 1, 131, 1) == 0); // bar to l/min
        for (uint32_t unit : {0u, 12u, 13u, 22u, 128u, 129u, 157u, 1000u}) {
            CAPTURE(unit);
            CHECK(unitGetGroup(unit) == UNIT_NO_GROUP);
            CHECK(unitConvert(1000, unit, 1, unit, 1) == 0);
        }
        CHECK(unitGetGroup(1) == 0);
        CHECK(unitGetGroup(11) == 0);
        CHECK(unitGetGroup(156) == 15);
    }

    SUBCASE("half steps round away from zero; results stick at the 32-bit limits")
    {
        CHECK(unitConvert(5, 16, 10, 16, 1) == 1);   // 0.5 m
        CHECK(unitConvert(-5, 16, 10, 16, 1) == -1);
        CHECK(unitConvert(4, 16, 10, 16, 1) == 0);
        CHECK(unitConvert(-4, 16, 10, 16, 1) == 0);
        CHECK(unitConvert(15, 16, 10, 16, 1) == 2);
        CHECK(unitConvert(-15, 16, 10, 16, 1) == -2);
        CHECK(unitConvert(2147483647, 17, 1, 14, 1) == 2147483647);  // km to mm
        CHECK(unitConvert(-2147483647 - 1, 17, 1, 14, 1) == -2147483647 - 1);
        CHECK(unitConvert(2147483647, 16, 1, 16, 1) == 2147483647);
        CHECK(unitConvert(-2147483647 - 1, 16, 1, 16, 1) == -2147483647 - 1);
    }

    SUBCASE("the unit system")
    {
        CHECK(unitSetSystem(UNIT_SYSTEM_US) == 1);
        CHECK(unitSetSystem(3) == 0);
        CHECK(unitGetSystem() == UNIT_SYSTEM_US);
        CHECK(unitGetScale(UQ_RATE_TURF) == 100);
        CHECK(unitGetDisplayUnit(UQ_RATE_TURF) == 111);
    }

    SUBCASE("decimals of the display follow its scale")
    {
        struct Case {
            uint32_t q, decimals;
        };
        const Case cases[] = {{UQ_REG_VALVE_CAPACITY, 0}, {UQ_ACTUAL_SPEED, 1}, {UQ_RUN_AREA, 2},
                              {UQ_DENSITY, 3},            {UQ_TABLE_SIZE, 0},   {1000, 0}};
        for (const Case& c : cases) {
            CAPTURE(c.q);
            CHECK(unitGetDecimals(c.q) == c.decimals);
        }
    }
}

TEST_CASE("unit quantities: every quantity round-trips without drift in every system")
{
    Units env;
    const int32_t samples[] = {0, 1, -1, 7, 123, 2580, 99999, -4321, 1234567};
    uint32_t defined = 0;
    for (uint32_t q = 1; q < UQ_TABLE_SIZE; ++q) {
        for (uint32_t system = 0; system < 3; ++system) {
            REQUIRE(unitSetSystem(system) == 1);
            CAPTURE(q);
            CAPTURE(system);
            const uint32_t scale = unitGetScale(q);
            REQUIRE((scale == 1 || scale == 10 || scale == 100 || scale == 1000));
            const int32_t shownOfMillion = unitBaseToDisplay(q, 1000000);
            REQUIRE(shownOfMillion > 0);  // the quantity is defined and valid
            for (int32_t base : samples) {
                CAPTURE(base);
                const int32_t shown = unitBaseToDisplay(q, base);
                const int32_t stored = unitDisplayToBase(q, shown);
                // One edit cycle may move the value by the display's resolution; the
                // next ones never move it again.
                CHECK(unitBaseToDisplay(q, stored) == shown);
                CHECK(unitDisplayToBase(q, unitBaseToDisplay(q, stored)) == stored);
                // The display never differs from the exact value by more than half a step.
                const double exact = static_cast<double>(base) * shownOfMillion / 1000000.0;
                CHECK(std::fabs(shown - exact) <= 0.5 + std::fabs(base) * 1e-6 + 1e-9);
            }
        }
        ++defined;
    }
    CHECK(defined == 69);
}

TEST_CASE("unit quantities: items, limits and shared items")
{
    Units env;

    SUBCASE("quantities 41 and 46 show one stored value through different base scales")
    {
        REQUIRE(datastoreSetUint32(DS_TIP_REF_FLOW, 1234) == DS_OK);
        CHECK(unitGetItemValue(UQ_NOZZLE_REF_FLOW) == 123);     // 1.234 l/min at two decimals
        CHECK(unitGetItemValue(UQ_NOZZLE_REF_FLOW_2) == 1234);  // 12.34 l/min
    }

    SUBCASE("a display value is stored in base units, and the limits are shown in display units")
    {
        REQUIRE(unitSetSystem(UNIT_SYSTEM_IMPERIAL) == 1);
        CHECK(unitSetItemFromDisplay(UQ_SIMULATED_SPEED, 62) == DS_OK);  // 6.2 mph
        CHECK(datastoreGetUint16(DS_SIM_SPEED) == 100);                  // 10.0 km/h
        CHECK(unitGetItemValue(UQ_SIMULATED_SPEED) == 62);
        CHECK(unitGetItemMin(UQ_SIMULATED_SPEED) == 0);
        CHECK(unitGetItemMax(UQ_SIMULATED_SPEED) == 621);  // 99.9 km/h
        // Above the item's range: refused, nothing stored.
        CHECK(unitSetItemFromDisplay(UQ_SIMULATED_SPEED, 700) == DS_ERR_ABOVE_MAX);
        CHECK(datastoreGetUint16(DS_SIM_SPEED) == 100);
    }

    SUBCASE("unknown and invalid quantities convert to 0")
    {
        for (uint32_t q : {0u, 70u, 1000u}) {
            CAPTURE(q);
            CHECK(unitBaseToDisplay(q, 100) == 0);
            CHECK(unitDisplayToBase(q, 100) == 0);
            CHECK(unitGetItemValue(q) == 0);
            CHECK(unitSetItemFromDisplay(q, 100) == q);
        }
        // Units of different groups leave the record invalid.
        unitDefineQuantity(UQ_IDLE_PRESSURE, 145, 126, 100, 126, 100, 131, 100, 127, 100);
        CHECK(unitBaseToDisplay(UQ_IDLE_PRESSURE, 100) == 0);
        CHECK(unitSetItemFromDisplay(UQ_IDLE_PRESSURE, 100) == UQ_IDLE_PRESSURE);
    }
}

TEST_CASE("moving average")
{
    std::vector<uint32_t> buffer(16, 0);
    MovingAverage filter;
    movingAverageInit(&filter, buffer.data(), 16, 0);

    SUBCASE("a constant after zeros rises by a sixteenth a sample and then holds")
    {
        const uint32_t c = 1600;
        for (uint32_t n = 1; n <= 16; ++n)
            CHECK(movingAverageUpdate(&filter, c) == n * c / 16);
        for (int n = 0; n < 20; ++n)
            CHECK(movingAverageUpdate(&filter, c) == c);
    }

    SUBCASE("the average is rounded")
    {
        CHECK(movingAverageUpdate(&filter, 8) == 1);   // 0.5
        CHECK(movingAverageUpdate(&filter, 7) == 1);   // 0.94
        CHECK(movingAverageUpdate(&filter, 8) == 1);   // 1.44
        CHECK(movingAverageUpdate(&filter, 1) == 2);   // 1.5
    }

    SUBCASE("the zero hold clears the average after the given number of zeros")
    {
        movingAverageSetOptions(&filter, 3, 0);
        for (int n = 0; n < 16; ++n)
            movingAverageUpdate(&filter, 1600);
        CHECK(movingAverageUpdate(&filter, 0) == 1500);
        CHECK(movingAverageUpdate(&filter, 0) == 1400);
        CHECK(movingAverageUpdate(&filter, 0) == 0);
        CHECK(movingAverageUpdate(&filter, 1600) == 100);
    }

    SUBCASE("a jump beyond the limit refills the buffer; a zero average skips the test")
    {
        movingAverageSetOptions(&filter, 0, 50);
        CHECK(movingAverageUpdate(&filter, 1600) == 100);  // average was 0: no jump
        for (int n = 0; n < 15; ++n)
            movingAverageUpdate(&filter, 1600);
        CHECK(movingAverageUpdate(&filter, 2000) == 1625);  // 25 %: averaged
        CHECK(movingAverageUpdate(&filter, 4000) == 4000);  // more than 50 %: taken at once
        CHECK(movingAverageUpdate(&filter, 0) == 0);        // 100 %: taken at once
    }

    SUBCASE("without a buffer the filter only answers its average")
    {
        MovingAverage empty;
        movingAverageInit(&empty, nullptr, 16, 0);
        CHECK(empty.size == 0);
        CHECK(movingAverageUpdate(&empty, 500) == 0);
    }
}
