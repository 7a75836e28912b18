#include "diagnosticstexts.h"

namespace ToolsViewWidgets {
namespace DiagnosticsTexts {

namespace {

constexpr uint32_t kWordSections = 32;
constexpr int kLineLength = 16;

}  // namespace

QString pulseText(const QString& format, int32_t count)
{
    return format.arg(static_cast<double>(count), 5, 'f', 0);
}

QString voltText(const QString& format, uint16_t millivolts)
{
    return format.arg(millivolts / 1000.0, 5, 'f', 1);
}

QString currentText(const QString& format, uint16_t hundredths)
{
    return format.arg(hundredths / 100.0, 5, 'f', 1);
}

QString sectionSwitchString(const uint16_t (&map)[SectionMapWords], uint32_t sections)
{
    // Bit i of the word is section i + 1; unsigned, so section 32 shifts cleanly.
    const uint32_t word = (static_cast<uint32_t>(map[0]) >> 1) | (static_cast<uint32_t>(map[1]) << 15) |
                          (static_cast<uint32_t>(map[2]) << 31);
    return statusWordString(word, sections);
}

QString statusWordString(uint32_t word, uint32_t sections)
{
    QString states;
    states.reserve(static_cast<int>(sections));
    for (uint32_t i = 0; i < sections; ++i)
        states.append(i < kWordSections && ((word >> i) & 1u) != 0 ? QLatin1Char('1') : QLatin1Char('0'));
    return states;
}

QString brokenIntoLines(const QString& states)
{
    QString lines;
    for (int start = 0; start < states.size(); start += kLineLength) {
        if (start > 0)
            lines.append(QLatin1Char('\n'));
        lines.append(states.mid(start, kLineLength));
    }
    return lines;
}

}  // namespace DiagnosticsTexts
}  // namespace ToolsViewWidgets
