#pragma once
// The counter values that the campaign, totals and jobs pages show: a counter
// item's raw value in the display units of its quantity, hours and minutes of
// a working time, the unit word by unit system, turf and NH3 flags, and the
// start time of a job record. The words themselves are each page's own tr()
// texts (handed in as CounterUnitWords), so that every page keeps its context.
#include <QString>

#include <cstdint>

namespace ToolsViewWidgets {

// The page's translations of the unit words.
struct CounterUnitWords {
    QString hectare;
    QString thousandSquareFeet;
    QString acre;
    QString liter;
    QString gallon;
    QString kilogram;
    QString pound;
    QString meter;
    QString feet;
};

namespace CounterTexts {

// Imperial (1) and US (2) show imperial words; every other system reads as metric.
bool isMetric(uint32_t unitSystem);

// The area counter raw (1/100 ha) in display units: converted with the turf
// quantity when turf is set, else with areaQuantity, then divided by the
// display scale of areaQuantity.
double areaValue(uint32_t raw, uint32_t areaQuantity, bool turf);
// The volume counter raw (litres) as a mass when nh3 is set, else as a volume,
// divided by the display scale of volumeQuantity.
double amountValue(uint32_t raw, uint32_t volumeQuantity, uint32_t massQuantity, bool nh3);
// A counter through one quantity, divided by its display scale.
double quantityValue(uint32_t raw, uint32_t quantity);

QString areaUnit(const CounterUnitWords& words, uint32_t unitSystem, bool turf);
QString amountUnit(const CounterUnitWords& words, uint32_t unitSystem, bool nh3);
QString distanceUnit(const CounterUnitWords& words, uint32_t unitSystem);

// format is the page's "%L1 %2": the value in fixed notation with decimals, then the unit.
QString valueText(const QString& format, double value, int decimals, const QString& unit);
// format is the page's "%1h %2m": whole hours and whole minutes of seconds.
QString timeText(const QString& format, uint32_t seconds);

// The start time of job index job in the whole DS_JOB_DATA block (size bytes):
// empty for a job outside the block, a job not started (0.0) or a value that
// is no time at all; else the local time as "d MMM yy hh:mm" in the locale.
QString jobStartText(const unsigned char* block, uint32_t size, uint32_t job);
// The same read from the store.
QString storedJobStartText(uint32_t job);

}  // namespace CounterTexts
}  // namespace ToolsViewWidgets
