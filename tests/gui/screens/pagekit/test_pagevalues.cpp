// The commit rule of every settings page: the value as typed, times the scale,
// cut in decimal; and the display values a page derives from unit quantities.
#include "datastore.h"
#include "dscatalogue.h"
#include "pagevalues.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <limits>

TEST_CASE("a keypad entry becomes the display integer the operator typed")
{
    struct Case {
        double typed;
        uint32_t factor;
        bool rounds;
        int32_t expected;
    };
    const Case cases[] = {
        // Binary rounding never stores an exactly typed value one step low.
        {1.15, 100, false, 115},
        {16.002, 1000, false, 16002},
        {2.01, 100, false, 201},
        {1.001, 1000, false, 1001},
        {0.29, 100, false, 29},
        {8.2, 10, false, 82},
        // Digits beyond the scale are cut, toward zero.
        {12.36, 10, false, 123},
        {4.99, 10, false, 49},
        {-4.99, 10, false, -49},
        {-1.15, 100, false, -115},
        {0.0, 1000, false, 0},
        {42.0, 1, false, 42},
        // The rounding commits add a half first.
        {12.345, 100, true, 1235},
        {12.344, 100, true, 1234},
        {4.99, 10, true, 50},
        {0.05, 10, true, 1},
        // Out of the 32-bit range: held at its ends.
        {3.0e9, 1, false, std::numeric_limits<int32_t>::max()},
        {-3.0e9, 10, false, std::numeric_limits<int32_t>::min()},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        CAPTURE(c.factor);
        CAPTURE(c.rounds);
        const int32_t result = c.rounds ? PageValues::displayIntegerRounded(c.typed, c.factor)
                                        : PageValues::displayInteger(c.typed, c.factor);
        CHECK(result == c.expected);
    }
}

TEST_CASE("display values, limits and base values go through the unit quantity")
{
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(processInitUnits() == 1);
    REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);

    SUBCASE("simulated speed: km/h x 10 in store and on screen")
    {
        REQUIRE(datastoreSetUint16(DS_SIM_SPEED, 123) == 0);
        CHECK(PageValues::itemDisplayValue(UQ_SIMULATED_SPEED) == doctest::Approx(12.3));
        CHECK(PageValues::itemDisplayMinimum(UQ_SIMULATED_SPEED) == doctest::Approx(0.0));
        CHECK(PageValues::itemDisplayMaximum(UQ_SIMULATED_SPEED) == doctest::Approx(99.9));
        CHECK(PageValues::decimals(UQ_SIMULATED_SPEED) == 1);
        CHECK(PageValues::baseFromTyped(UQ_SIMULATED_SPEED, 8.2) == 82);
    }
    SUBCASE("density: kg/l x 1000; a factor of 1.001 is not water")
    {
        CHECK(PageValues::decimals(UQ_DENSITY) == 3);
        CHECK(PageValues::baseFromTyped(UQ_DENSITY, 1.001) == 1001);
        CHECK(PageValues::displayFromBase(UQ_DENSITY, 1250) == doctest::Approx(1.25));
    }
    SUBCASE("US gallons: the scale of one quantity and the conversion of another")
    {
        REQUIRE(unitSetSystem(UNIT_SYSTEM_US) == 1);
        // 100 gal typed is 379 l in store (3.785 l a gallon, to the nearest litre).
        CHECK(PageValues::baseFromTyped(UQ_TANK_MAX_CONTENT, UQ_TANK_ACTUAL_CONTENT, 100.0) == 379);
        CHECK(PageValues::displayFromBase(UQ_TANK_MAX_CONTENT, 3785) == doctest::Approx(1000.0));
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
    }
    SUBCASE("an item's own store limits are numbers, not the floats' bit patterns")
    {
        CHECK(PageValues::itemMinimum(DS_FLOW_CAL_NUMBER) == 10000.0);
        CHECK(PageValues::itemMaximum(DS_FLOW_CAL_NUMBER) == 4900000.0);
        CHECK(PageValues::itemMaximum(DS_SPEED_CAL_NUMBER) == 65000.0);
        CHECK(PageValues::itemMinimum(100000) == 0.0);
    }
    SUBCASE("an unknown quantity shows 0 and has no decimals")
    {
        CHECK(PageValues::itemDisplayValue(999) == 0.0);
        CHECK(PageValues::decimals(999) == 0);
    }
}
