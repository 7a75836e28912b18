#include "units.h"

#include "datastore.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

struct UnitGroup {
    uint32_t first;
    uint32_t last;
    const double* factors;  // size of each unit in the group's reference unit
};

constexpr double kMass[] = {0.001,        1,           1000,        6.47989e-05, 0.0283495231, 0.0311034768,
                            0.45359237,   6.35029318,  907.18474,   1016.0469088, 453.59237};
constexpr double kLength[] = {0.001, 0.01, 1, 1000, 0.0254, 0.3048, 0.9144, 1609.344};
constexpr double kArea[] = {1e-06,      0.0001,      1,        10000, 1000000,       0.00064516,
                            0.09290304, 0.83612736, 4046.8564224, 2589988.110336, 92.90304};
constexpr double kSpeed[] = {0.2777777778, 1, 0.001, 0.3048, 0.44704};
constexpr double kVolume[] = {0.001,        1,           1,           1000,         0.016387064, 28.316846592,
                              0.0284130625, 0.56826125,  4.54609,     4.54609,      454.609,     0.0295735296,
                              0.473176473,  3.785411784, 3.785411784, 378.5411784,  35.2390701669};
constexpr double kMassPerArea[] = {1,            0.0001,       1e-07,       0.1,         4.8824276364,
                                   0.0001120851, 0.2471053815, 0.2241702312, 0.251070659, 0.1120851};
constexpr double kMassFlow[] = {1,            0.0002777778, 0.0166666667, 0.2777777778,  0.0001259979, 0.0075598728,
                                0.2519957611, 0.2822352524, 16.6666666667, 15.119745666, 16.934115144, 7.5598728333};
constexpr double kAreaPerTime[] = {1, 0.0166666667, 0.0002777778, 2.7777777778, 1.124126784, 0.0258064};
constexpr double kTime[] = {0.001, 1, 60, 3600, 86400};
constexpr double kVolumePerArea[] = {10,           1,             1000,         11.2336330363, 9.3539562289,
                                     1123.36330363, 935.39562289, 407.458333333, 489.337055063};
constexpr double kDensity[] = {1,            0.001,        0.0160184634, 0.7982109813, 0.0997763287,
                               0.0009977637, 0.9586114185, 0.1198264273, 0.0011982643};
constexpr double kPressure[] = {1, 0.0689475909};
constexpr double kVolumeFlow[] = {0.06,        1,             60,           1000,         4.546090002,
                                  272.76540012, 454.6090002, 3.7854117848, 227.124707088, 378.54117848};
constexpr double kPulsesPerVolume[] = {1, 0.2199692483, 0.2641720524};
constexpr double kPulsesPerLength[] = {1, 0.01, 3.280839895, 0.010936133};
constexpr double kGroup15[] = {0.001, 1, 4.4742914531, 4.172702226};

#define UNIT_GROUP(first, factors) {first, first + sizeof factors / sizeof factors[0] - 1, factors}
constexpr UnitGroup kGroups[] = {
    UNIT_GROUP(1, kMass),           UNIT_GROUP(14, kLength),         UNIT_GROUP(24, kArea),
    UNIT_GROUP(37, kSpeed),         UNIT_GROUP(44, kVolume),         UNIT_GROUP(63, kMassPerArea),
    UNIT_GROUP(75, kMassFlow),      UNIT_GROUP(89, kAreaPerTime),    UNIT_GROUP(97, kTime),
    UNIT_GROUP(104, kVolumePerArea), UNIT_GROUP(115, kDensity),      UNIT_GROUP(126, kPressure),
    UNIT_GROUP(130, kVolumeFlow),   UNIT_GROUP(142, kPulsesPerVolume), UNIT_GROUP(147, kPulsesPerLength),
    UNIT_GROUP(153, kGroup15),
};
#undef UNIT_GROUP
constexpr uint32_t kGroupCount = sizeof kGroups / sizeof kGroups[0];
static_assert(kGroupCount == 16, "16 unit groups");

struct UnitQuantity {
    uint32_t valid;
    uint32_t item;
    uint32_t baseUnit;
    uint16_t baseScale;
    uint32_t unit[3];
    uint16_t scale[3];
};

std::vector<UnitQuantity> gTable;
uint32_t gSystem = UNIT_SYSTEM_METRIC;

double factorOf(uint32_t unit)
{
    const uint32_t group = unitGetGroup(unit);
    return group == UNIT_NO_GROUP ? 0.0 : kGroups[group].factors[unit - kGroups[group].first];
}

const UnitQuantity* validQuantity(uint32_t q)
{
    return (q < gTable.size() && gTable[q].valid) ? &gTable[q] : nullptr;
}

int32_t roundAndClamp(double x, bool negative)
{
    x += negative ? -0.5 : 0.5;
    if (x < -2147483648.0)
        return INT32_MIN;
    if (x > 2147483647.0)
        return INT32_MAX;
    return static_cast<int32_t>(x);
}

// A datastore limit is a float; an item without a range has 0 for both.
int32_t limitAsInt(uint32_t bits)
{
    float limit;
    std::memcpy(&limit, &bits, sizeof limit);
    return roundAndClamp(limit, limit < 0.0f);
}

}  // namespace

uint32_t unitCreateTable(uint32_t count)
{
    gTable.clear();
    gTable.shrink_to_fit();
    try {
        gTable.assign(count, UnitQuantity{});
    } catch (const std::bad_alloc&) {
        gTable.clear();
        return 0;
    }
    return 1;
}

void unitDefineQuantity(uint32_t q, uint32_t item, uint32_t baseUnit, uint16_t baseScale, uint32_t unit0,
                        uint16_t scale0, uint32_t unit1, uint16_t scale1, uint32_t unit2, uint16_t scale2)
{
    if (q >= gTable.size())
        return;
    UnitQuantity& record = gTable[q];
    record = UnitQuantity{0, item, baseUnit, baseScale, {unit0, unit1, unit2}, {scale0, scale1, scale2}};
    record.valid = (unitSameGroup(baseUnit, unit0) && unitSameGroup(baseUnit, unit1) &&
                    unitSameGroup(baseUnit, unit2)) ? 1 : 0;
}

uint32_t unitGetSystem()
{
    return gSystem;
}

uint32_t unitSetSystem(uint32_t s)
{
    if (s > UNIT_SYSTEM_US)
        return 0;
    gSystem = s;
    return 1;
}

uint32_t unitGetScale(uint32_t q)
{
    return q < gTable.size() ? gTable[q].scale[gSystem] : 0;
}

uint32_t unitGetDecimals(uint32_t q)
{
    uint32_t decimals = 0;
    for (uint32_t scale = unitGetScale(q); scale >= 10; scale /= 10)
        ++decimals;
    return decimals;
}

uint32_t unitGetDisplayUnit(uint32_t q)
{
    return q < gTable.size() ? gTable[q].unit[gSystem] : 0;
}

int32_t unitBaseToDisplay(uint32_t q, int32_t v)
{
    const UnitQuantity* record = validQuantity(q);
    if (record == nullptr)
        return 0;
    return unitConvert(v, record->baseUnit, record->baseScale, record->unit[gSystem], record->scale[gSystem]);
}

int32_t unitDisplayToBase(uint32_t q, int32_t v)
{
    const UnitQuantity* record = validQuantity(q);
    if (record == nullptr)
        return 0;
    return unitConvert(v, record->unit[gSystem], record->scale[gSystem], record->baseUnit, record->baseScale);
}

uint32_t unitSetItemFromDisplay(uint32_t q, int32_t v)
{
    const UnitQuantity* record = validQuantity(q);
    if (record == nullptr)
        return q;
    return datastoreSetFromUint32(record->item, static_cast<uint32_t>(unitDisplayToBase(q, v)));
}

int32_t unitGetItemValue(uint32_t q)
{
    const UnitQuantity* record = validQuantity(q);
    return record == nullptr ? 0 : unitBaseToDisplay(q, datastoreGetAsInt32(record->item));
}

int32_t unitGetItemMin(uint32_t q)
{
    const UnitQuantity* record = validQuantity(q);
    return record == nullptr ? 0 : unitBaseToDisplay(q, limitAsInt(datastoreGetMin(record->item)));
}

int32_t unitGetItemMax(uint32_t q)
{
    const UnitQuantity* record = validQuantity(q);
    return record == nullptr ? 0 : unitBaseToDisplay(q, limitAsInt(datastoreGetMax(record->item)));
}

uint32_t unitGetGroup(uint32_t unit)
{
    for (uint32_t group = 0; group < kGroupCount; ++group) {
        if (unit >= kGroups[group].first && unit <= kGroups[group].last)
            return group;
    }
    return UNIT_NO_GROUP;
}

uint32_t unitSameGroup(uint32_t a, uint32_t b)
{
    const uint32_t group = unitGetGroup(a);
    return (group != UNIT_NO_GROUP && group == unitGetGroup(b)) ? 1 : 0;
}

int32_t unitConvert(int32_t v, uint32_t fromUnit, uint32_t fromScale, uint32_t toUnit, uint32_t toScale)
{
    if (!unitSameGroup(fromUnit, toUnit) || fromScale == 0)
        return 0;
    const double x = static_cast<double>(v) / fromScale * factorOf(fromUnit) / factorOf(toUnit) * toScale;
    return roundAndClamp(x, v < 0);
}
