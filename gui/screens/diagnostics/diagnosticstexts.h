#pragma once
// The value texts of the diagnostics test pages: pulse counts, supply voltage,
// sensor currents and the strings of section states (one "1" or "0" per
// section, section 1 first), and the line breaks that keep a long section
// string inside its value widget.
#include <QString>

#include <cstdint>

namespace ToolsViewWidgets {
namespace DiagnosticsTexts {

// Words of a section bitmap as io_ifReadInputs fills it: bit n (word n / 16,
// bit n % 16) is section n, bit 0 is no section. 112 bits, as the section
// state block, so that no section the interface can report lies outside it.
enum : uint32_t { SectionMapWords = 7 };

// format is the page's tr("%1 p"): the count right-aligned in five places
// (wider numbers are never cut), no decimals.
QString pulseText(const QString& format, int32_t count);
// format is tr("%1 V"): millivolts as volts with one decimal and a point in
// every language, five places.
QString voltText(const QString& format, uint16_t millivolts);
// format is tr("%L1 mA"): hundredths of a milliampere with one decimal and the
// locale's separator, five places.
QString currentText(const QString& format, uint16_t hundredths);

// sections characters: "1" where the section's switch is on. Sections past
// the 32nd always read "0".
QString sectionSwitchString(const uint16_t (&map)[SectionMapWords], uint32_t sections);
// sections characters: "1" where bit i of the word (section i + 1) is set.
// Sections past the 32nd always read "0".
QString statusWordString(uint32_t word, uint32_t sections);

// The string broken into lines of 16 characters for display.
QString brokenIntoLines(const QString& states);

}  // namespace DiagnosticsTexts
}  // namespace ToolsViewWidgets
