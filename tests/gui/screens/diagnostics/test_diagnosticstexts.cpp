// The value texts of the test pages: number formats and section strings.
#include "diagnosticstexts.h"

#include <doctest/doctest.h>

#include <QLocale>
#include <QString>

using namespace ToolsViewWidgets::DiagnosticsTexts;

TEST_CASE("pulse counts, supply voltage and sensor currents")
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CHECK(pulseText("%1 p", 7) == "    7 p");
    CHECK(pulseText("%1 p", 0) == "    0 p");
    CHECK(pulseText("%1 p", 250000) == "250000 p");
    CHECK(pulseText("%1 p", 2147483647) == "2147483647 p");
    CHECK(voltText("%1 V", 13800) == " 13.8 V");
    CHECK(voltText("%1 V", 65535) == " 65.5 V");
    CHECK(voltText("%1 V", 500) == "  0.5 V");
    CHECK(currentText("%L1 mA", 1260) == " 12.6 mA");
    CHECK(currentText("%L1 mA", 0) == "  0.0 mA");

    // A German console: the current takes the comma, the voltage keeps its point.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CHECK(voltText("%1 V", 13800) == " 13.8 V");
    CHECK(currentText("%L1 mA", 1260) == " 12,6 mA");
    CHECK(pulseText("%1 p", 250000) == "250000 p");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

TEST_CASE("section switch strings from the interface's bitmap")
{
    struct Case {
        uint16_t map[SectionMapWords];
        uint32_t sections;
        const char* expected;
    };
    // Bit n of the map is section n; bit 0 is no section.
    const Case cases[] = {
        {{0x000A}, 9, "101000000"},
        {{0x000B}, 9, "101000000"},
        {{0x03FE}, 9, "111111111"},
        {{0x0000}, 1, "0"},
        {{0x0400}, 9, "000000000"},
        {{0x8000, 0x0001}, 16, "0000000000000011"},
        // Section 32 sits in bit 0 of word 2.
        {{0x0000, 0x0000, 0x0001}, 32, "00000000000000000000000000000001"},
        {{0x0000, 0x0000, 0x0000}, 0, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.expected);
        CHECK(sectionSwitchString(c.map, c.sections) == c.expected);
    }

    // Every bit of all seven words set, 99 sections: 32 "1", the rest "0".
    uint16_t all[SectionMapWords];
    for (uint16_t& word : all)
        word = 0xFFFF;
    const QString many = sectionSwitchString(all, 99);
    CHECK(many == QString(32, '1') + QString(67, '0'));
    uint16_t nine[SectionMapWords] = {0x000A};
    const QString forty = sectionSwitchString(nine, 40);
    CHECK(forty.size() == 40);
    CHECK(forty.startsWith("101000000"));
    CHECK(forty.right(8) == "00000000");
}

TEST_CASE("status word strings and their lines")
{
    CHECK(statusWordString(0x5, 9) == "101000000");
    CHECK(statusWordString(0xFFFFFFFF, 34) == QString(32, '1') + "00");
    CHECK(statusWordString(0x80000000, 32) == QString(31, '0') + "1");
    CHECK(statusWordString(0x1FF, 0).isEmpty());

    CHECK(brokenIntoLines("101000000") == "101000000");
    CHECK(brokenIntoLines(QString(16, '1')) == QString(16, '1'));
    CHECK(brokenIntoLines(QString(16, '1') + "0") == QString(16, '1') + "\n0");
    CHECK(brokenIntoLines(QString(40, '0')).split('\n').size() == 3);
    CHECK(brokenIntoLines(QString()).isEmpty());
}
