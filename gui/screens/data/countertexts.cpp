#include "countertexts.h"

#include "counters.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "unitquantities.h"
#include "units.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <vector>

namespace ToolsViewWidgets {
namespace CounterTexts {

namespace {

// The conversions work on signed values: a counter beyond their range sticks
// at the top instead of turning negative.
int32_t convertible(uint32_t raw)
{
    return raw > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                            : static_cast<int32_t>(raw);
}

double divideByScale(int32_t display, uint32_t scaleQuantity)
{
    const uint32_t scale = unitGetScale(scaleQuantity);
    return static_cast<double>(display) / static_cast<double>(scale == 0 ? 1 : scale);
}

}  // namespace

bool isMetric(uint32_t unitSystem)
{
    return unitSystem != UNIT_SYSTEM_IMPERIAL && unitSystem != UNIT_SYSTEM_US;
}

double areaValue(uint32_t raw, uint32_t areaQuantity, bool turf)
{
    const uint32_t conversion = turf ? static_cast<uint32_t>(UQ_AREA_TURF) : areaQuantity;
    return divideByScale(unitBaseToDisplay(conversion, convertible(raw)), areaQuantity);
}

double amountValue(uint32_t raw, uint32_t volumeQuantity, uint32_t massQuantity, bool nh3)
{
    return divideByScale(unitBaseToDisplay(nh3 ? massQuantity : volumeQuantity, convertible(raw)), volumeQuantity);
}

double quantityValue(uint32_t raw, uint32_t quantity)
{
    return divideByScale(unitBaseToDisplay(quantity, convertible(raw)), quantity);
}

QString areaUnit(const CounterUnitWords& words, uint32_t unitSystem, bool turf)
{
    if (isMetric(unitSystem))
        return words.hectare;
    return turf ? words.thousandSquareFeet : words.acre;
}

QString amountUnit(const CounterUnitWords& words, uint32_t unitSystem, bool nh3)
{
    if (isMetric(unitSystem))
        return nh3 ? words.kilogram : words.liter;
    return nh3 ? words.pound : words.gallon;
}

QString distanceUnit(const CounterUnitWords& words, uint32_t unitSystem)
{
    return isMetric(unitSystem) ? words.meter : words.feet;
}

QString valueText(const QString& format, double value, int decimals, const QString& unit)
{
    return format.arg(value, 0, 'f', decimals).arg(unit);
}

QString timeText(const QString& format, uint32_t seconds)
{
    return format.arg(seconds / 3600U).arg((seconds % 3600U) / 60U);
}

QString jobStartText(const unsigned char* block, uint32_t size, uint32_t job)
{
    const size_t offset = static_cast<size_t>(job) * sizeof(JobRecord) + offsetof(JobRecord, startTimeMs);
    if (block == nullptr || job >= TRIPCNT_JOB_COUNT || offset + sizeof(double) > size)
        return QString();
    double startMs = 0.0;
    std::memcpy(&startMs, block + offset, sizeof startMs);
    // 0.0 is a job not started; anything that is not a time since 1970 in
    // whole seconds of 32 bits is a damaged record, shown as not started.
    const double seconds = startMs / 1000.0;
    if (startMs == 0.0 || !std::isfinite(seconds) || seconds < 0.0 || seconds > static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return QString();
    const QDateTime start = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(static_cast<uint32_t>(seconds)), Qt::LocalTime);
    return QLocale().toString(start, QStringLiteral("d MMM yy hh:mm"));
}

QString storedJobStartText(uint32_t job)
{
    const uint32_t size = datastoreGetSize(DS_JOB_DATA);
    std::vector<unsigned char> block(size);
    if (size == 0 || datastoreGetData(DS_JOB_DATA, block.data()) != 0)
        return QString();
    return jobStartText(block.data(), size, job);
}

}  // namespace CounterTexts
}  // namespace ToolsViewWidgets
