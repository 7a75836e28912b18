#include "pagevalues.h"

#include "datastore.h"
#include "units.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace PageValues {

namespace {

constexpr double kMicro = 1000000.0;
constexpr int64_t kMicroUnits = 1000000;

int32_t clampToInt32(double value)
{
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// typed x factor in millionths, exact for the keypad's decimal entries: the
// nearest millionth of the double is the number the operator typed.
bool scaledMicros(double typed, uint32_t factor, int64_t* micros, int32_t* clamped)
{
    if (std::isnan(typed)) {
        *clamped = 0;
        return false;
    }
    const double product = typed * static_cast<double>(factor);
    if (std::fabs(product) >= 2147483648.0) {
        *clamped = clampToInt32(product);
        return false;
    }
    *micros = static_cast<int64_t>(std::llround(typed * kMicro)) * static_cast<int64_t>(factor);
    return true;
}

}  // namespace

int32_t displayInteger(double typed, uint32_t factor)
{
    int64_t micros = 0;
    int32_t clamped = 0;
    if (!scaledMicros(typed, factor, &micros, &clamped))
        return clamped;
    // Integer division truncates toward zero.
    return static_cast<int32_t>(micros / kMicroUnits);
}

int32_t displayIntegerRounded(double typed, uint32_t factor)
{
    int64_t micros = 0;
    int32_t clamped = 0;
    if (!scaledMicros(typed, factor, &micros, &clamped))
        return clamped;
    return static_cast<int32_t>((micros + kMicroUnits / 2) / kMicroUnits);
}

int32_t baseFromTyped(uint32_t q, double typed)
{
    return baseFromTyped(q, q, typed);
}

int32_t baseFromTyped(uint32_t scaleQuantity, uint32_t conversionQuantity, double typed)
{
    return unitDisplayToBase(conversionQuantity, displayInteger(typed, unitGetScale(scaleQuantity)));
}

namespace {

double perScale(uint32_t q, int32_t display)
{
    const uint32_t scale = unitGetScale(q);
    return scale == 0 ? 0.0 : static_cast<double>(display) / static_cast<double>(scale);
}

}  // namespace

double displayFromBase(uint32_t q, int32_t base)
{
    return perScale(q, unitBaseToDisplay(q, base));
}

double itemDisplayValue(uint32_t q)
{
    return perScale(q, unitGetItemValue(q));
}

namespace {

double limitOf(uint32_t bits)
{
    float limit = 0.0f;
    std::memcpy(&limit, &bits, sizeof limit);
    return static_cast<double>(limit);
}

}  // namespace

double itemMinimum(uint32_t item)
{
    return limitOf(datastoreGetMin(item));
}

double itemMaximum(uint32_t item)
{
    return limitOf(datastoreGetMax(item));
}

double itemDisplayMinimum(uint32_t q)
{
    return perScale(q, unitGetItemMin(q));
}

double itemDisplayMaximum(uint32_t q)
{
    return perScale(q, unitGetItemMax(q));
}

int decimals(uint32_t q)
{
    return static_cast<int>(unitGetDecimals(q));
}

}  // namespace PageValues
