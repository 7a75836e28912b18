#pragma once
// Numbers of the settings pages: a value as the operator typed it into the
// stored integer, and stored integers into the display values, ranges and
// decimals that a page shows and hands to its keypad. Free of widgets.
#include <cstdint>

namespace PageValues {

// The display integer of a keypad entry: typed x factor (a unit quantity's
// display scale or a page's fixed factor such as 10 for tenths), truncated
// toward zero as the decimal number typed, so that 1.15 at 100 is 115 and
// not 114 from binary rounding; further digits are cut (12.36 at 10 is 123).
// The keypad gives at most six decimals. Clamped to the 32-bit range.
int32_t displayInteger(double typed, uint32_t factor);
// The commits that round: typed x factor + 0.5, then truncated toward zero,
// again on the decimal number typed (12.345 at 100 is 1235).
int32_t displayIntegerRounded(double typed, uint32_t factor);

// A keypad entry for quantity q converted to q's base units: the display
// integer at q's scale, then display to base through q.
int32_t baseFromTyped(uint32_t q, double typed);
// The same with the scale of one quantity and the conversion of another (the
// pages whose content shows with one quantity's decimals and converts through
// another's units).
int32_t baseFromTyped(uint32_t scaleQuantity, uint32_t conversionQuantity, double typed);

// A base value of q's units as q shows it: converted, divided by q's scale.
double displayFromBase(uint32_t q, int32_t base);
// q's item value, and the item's store limits, as q shows them.
double itemDisplayValue(uint32_t q);
double itemDisplayMinimum(uint32_t q);
double itemDisplayMaximum(uint32_t q);
// An item's own store limits as numbers (the store hands them out as the bit
// patterns of floats); 0 for an unknown item.
double itemMinimum(uint32_t item);
double itemMaximum(uint32_t item);
// Decimals of q's display (0 for an unknown quantity).
int decimals(uint32_t q);

}  // namespace PageValues
