#pragma once
// Units and display precision. Every datastore value is an integer in a fixed
// base unit and scale (speed km/h x 100, rates l/ha x 10, ...). A unit quantity
// binds a datastore item to its base unit and scale and to a display unit and
// scale per unit system (0 metric, 1 imperial, 2 US); the conversions between the
// two round half away from zero and stick at the signed 32-bit limits.
//
// Units 1 to 156 fall into 16 groups (mass, length, area, ...); a conversion is
// only defined inside one group. Built once at start-up, read in the GUI thread.
#include <cstdint>

enum : uint32_t {
    UNIT_SYSTEM_METRIC = 0,
    UNIT_SYSTEM_IMPERIAL = 1,
    UNIT_SYSTEM_US = 2,
    UNIT_NO_GROUP = 255,
};

// Replaces the quantity table by count empty records; 1, or 0 when it cannot be
// allocated (the table is then empty).
uint32_t unitCreateTable(uint32_t count);
// Defines quantity q; a quantity whose four units are not of one group is kept
// invalid. Ids beyond the table are ignored.
void unitDefineQuantity(uint32_t q, uint32_t item, uint32_t baseUnit, uint16_t baseScale, uint32_t unit0,
                        uint16_t scale0, uint32_t unit1, uint16_t scale1, uint32_t unit2, uint16_t scale2);

uint32_t unitGetSystem();
// 1, or 0 with the system unchanged when s is not 0, 1 or 2.
uint32_t unitSetSystem(uint32_t s);

// Display scale (1, 10, 100, 1000) of q in the current system; 0 for an unknown quantity.
uint32_t unitGetScale(uint32_t q);
// Decimals of the display: 0 for scale 1, 1 for 10, 2 for 100, 3 for 1000.
uint32_t unitGetDecimals(uint32_t q);
// Display unit id of q in the current system; 0 for an unknown quantity.
uint32_t unitGetDisplayUnit(uint32_t q);

// Base value to display value and back; 0 for an unknown or invalid quantity.
int32_t unitBaseToDisplay(uint32_t q, int32_t v);
int32_t unitDisplayToBase(uint32_t q, int32_t v);

// Stores a display value into q's item; the store's result, or q when q is
// unknown or invalid.
uint32_t unitSetItemFromDisplay(uint32_t q, int32_t v);
// q's item value, lower limit and upper limit in display units; 0 for an
// unknown or invalid quantity.
int32_t unitGetItemValue(uint32_t q);
int32_t unitGetItemMin(uint32_t q);
int32_t unitGetItemMax(uint32_t q);

// Group 0..15 of a unit, UNIT_NO_GROUP for an id outside every group.
uint32_t unitGetGroup(uint32_t unit);
// 1 when both units lie in one group.
uint32_t unitSameGroup(uint32_t a, uint32_t b);
// v / fromScale x factor(from) / factor(to) x toScale, rounded half away from
// zero and clamped to the 32-bit range; 0 across groups or with a zero scale.
int32_t unitConvert(int32_t v, uint32_t fromUnit, uint32_t fromScale, uint32_t toUnit, uint32_t toScale);
