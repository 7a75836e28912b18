// The three regulation details pages over the real datastore and the core's
// commands: every value goes out in the item's own integer unit and is shown
// as the core stored it.
#include "configoemregulationdetails.h"
#include "configoemregulationdetails2.h"
#include "configoemregulationdetails3.h"
#include "eventids.h"
#include "installer_drive.h"
#include "screen_check.h"
#include "units.h"

#include <QLocale>
#include <QSignalSpy>

using ToolsViewWidgets::ConfigOemRegulationDetails;
using ToolsViewWidgets::ConfigOemRegulationDetails2;
using ToolsViewWidgets::ConfigOemRegulationDetails3;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

// The three pages on one screen, one shown at a time.
struct RegulationPages {
    explicit RegulationPages(ScreenFixture& f)
    {
        pages[0] = showInstallerPage<ConfigOemRegulationDetails>(f);
        pages[1] = showInstallerPage<ConfigOemRegulationDetails2>(f);
        pages[2] = showInstallerPage<ConfigOemRegulationDetails3>(f);
        show(1);
    }
    QWidget* show(int number)
    {
        for (QWidget* page : pages)
            page->hide();
        pumpEvents();
        pages[number - 1]->show();
        pumpEvents();
        return pages[number - 1];
    }
    QWidget* pages[3];
};

KestromPushButton* value(QWidget* page, const char* name)
{
    auto* button = page->findChild<KestromPushButton*>(name);
    REQUIRE(button != nullptr);
    return button;
}

// A row: stored value and its text, the keypad's title and refused range, an
// entry, the command it gives and the text afterwards.
struct RowCase {
    int page;
    const char* button;
    uint32_t item;
    uint32_t stored;
    const char* shown;
    const char* title;
    const char* refused;
    const char* range;
    const char* entry;
    uint32_t command;
    uint32_t sent;
    const char* shownAfter;
};

void checkRow(RegulationPages& pages, const RowCase& c)
{
    CAPTURE(c.button);
    ScreenFixture::setItem(c.item, c.stored);
    QWidget* page = pages.show(c.page);
    KestromPushButton* button = value(page, c.button);
    // Only the unit rows re-read on show; a language change redraws every row.
    QEvent change(QEvent::LanguageChange);
    QApplication::sendEvent(page, &change);
    CHECK(button->text() == c.shown);

    tapButton(button);
    CHECK(keypadTitled(shownKeypad(), c.title));
    CHECK(refusedRangeMessage(c.refused).contains(c.range));
    CHECK(takeProcessCalls().empty());

    tapButton(button);
    keypadType(shownKeypad(), c.entry);
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{c.command, c.sent}});
    CHECK(datastoreGetUint16(c.item) == c.sent);
    CHECK(button->text() == c.shownAfter);
}

}  // namespace

TEST_CASE("regulation details, metric: rows, keypad ranges, commands and read-back")
{
    ScreenFixture f;
    RegulationPages pages(f);
    const RowCase cases[] = {
        {1, "m_btnMinRegPressureValue", DS_MIN_REG_PRESSURE, 100, "1.0 bar", "Minimum Regulation Pressure (bar)",
         "2.1", "between 0 and 2 bar", "1.5", EV_SET_MIN_REG_PRESSURE, 150, "1.5 bar"},
        {1, "m_btnMaxRegPressureValue", DS_MAX_REG_PRESSURE, 2000, "20.0 bar", "Maximum Regulation Pressure (bar)",
         "50.1", "between 0 and 50 bar", "50", EV_SET_MAX_REG_PRESSURE, 5000, "50.0 bar"},
        {1, "m_btnRegValveTimeValue", DS_REG_VALVE_TIME, 60, "6.0 sec", "Regulation Valve Time (sec)", "0.9",
         "between 1 and 60 seconds", "12.5", EV_SET_REG_VALVE_TIME, 125, "12.5 sec"},
        {1, "m_btnMinRegVoltageValue", DS_MIN_REG_VOLTAGE, 35, "3.5 V", "Minimum Regulation Voltage (V)", "12.1",
         "between 0 and 12 volt", "7.3", EV_SET_MIN_REG_VOLTAGE, 73, "7.3 V"},
        {2, "m_btnRegDeadbandValue", DS_REG_DEADBAND, 15, "1.5%", "Regulation Deadband (%)", "0.9",
         "between 1 and 60 %", "2.5", EV_SET_REG_DEADBAND, 25, "2.5%"},
        {2, "m_btnRegValveCapacityValue", DS_REG_VALVE_CAPACITY, 121, "121 l/min", "Regulation Valve Capacity (l/min)",
         "1000", "between 0 and 999 liters/minute", "150", EV_SET_REG_VALVE_CAPACITY, 150, "150 l/min"},
        {2, "m_btnRegStartDelayValue", DS_REG_START_DELAY, 3, "0.3 sec", "Regulation Start Delay (sec)", "10",
         "between 0 and 9.9 seconds", "2.5", EV_SET_REG_START_DELAY, 25, "2.5 sec"},
        {2, "m_btnManRegSpeedValue", DS_MANUAL_REG_SPEED, 1000, "100.0%", "Manual Regulation Speed (%)", "4.9",
         "between 5 and 100 %", "55.5", EV_SET_MAN_REG_SPEED, 555, "55.5%"},
        {3, "m_btnRestrictorPlateFlowValue", DS_RESTRICTOR_PLATE_FLOW, 600, "6.00 l/min",
         "Restrictor Plate Flow (liters/minute)", "100", "between 0 and 99.99 l/min", "12.34", EV_SET_RESTRICTOR_FLOW,
         1234, "12.34 l/min"},
        {3, "m_btnDefaultValvePositionValue", DS_DEFAULT_VALVE_POSITION, 0, "0%", "Default Valve Position (%)", "101",
         "between 0 and 100 %", "35", EV_SET_DEFAULT_VALVE_POSITION, 35, "35%"},
    };
    for (const RowCase& c : cases)
        checkRow(pages, c);
}

TEST_CASE("regulation details, imperial and US: pressures in psi, flows in gallons")
{
    struct SystemCase {
        uint32_t system;
        const char* capacityRange;
        const char* restrictorRange;
    };
    for (const SystemCase& s : {SystemCase{UNIT_SYSTEM_IMPERIAL, "between 0 and 220 gallons/minute",
                                           "between 0 and 21.99 gal/min"},
                                SystemCase{UNIT_SYSTEM_US, "between 0 and 264 gallons/minute",
                                           "between 0 and 26.41 gal/min"}}) {
        CAPTURE(s.system);
        ScreenFixture f(s.system);
        RegulationPages pages(f);
        QWidget* page1 = pages.show(1);
        tapButton(value(page1, "m_btnMinRegPressureValue"));
        CHECK_SCREEN(f.screen(), s.system == UNIT_SYSTEM_US ? "regulation_details1_pressure_keypad_us"
                                                            : "regulation_details1_pressure_keypad_imperial");
        CHECK(refusedRangeMessage("29.1").contains("between 0 and 29 psi"));
        tapButton(value(page1, "m_btnMaxRegPressureValue"));
        CHECK(refusedRangeMessage("725.3").contains("between 0 and 725.2 psi"));
        // The store keeps hundredths of a bar: 100.0 psi comes back as 99.9.
        tapButton(value(page1, "m_btnMaxRegPressureValue"));
        keypadType(shownKeypad(), "100.0");
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_MAX_REG_PRESSURE, 689}});
        CHECK(value(page1, "m_btnMaxRegPressureValue")->text() == "99.9 psi");

        QWidget* page2 = pages.show(2);
        tapButton(value(page2, "m_btnRegValveCapacityValue"));
        CHECK(keypadTitled(shownKeypad(), "Regulation Valve Capacity (gal/min)"));
        CHECK(refusedRangeMessage("999").contains(s.capacityRange));
        QWidget* page3 = pages.show(3);
        tapButton(value(page3, "m_btnRestrictorPlateFlowValue"));
        CHECK(keypadTitled(shownKeypad(), "Restrictor Plate Flow (gallons/minute)"));
        CHECK(refusedRangeMessage("99").contains(s.restrictorRange));
        CHECK(takeProcessCalls().empty());
    }
}

TEST_CASE("regulation details: commits cut toward zero, the valve time and voltage round")
{
    ScreenFixture f;
    RegulationPages pages(f);
    auto* page1 = static_cast<ConfigOemRegulationDetails*>(pages.pages[0]);
    auto* page2 = static_cast<ConfigOemRegulationDetails2*>(pages.pages[1]);
    auto* page3 = static_cast<ConfigOemRegulationDetails3*>(pages.pages[2]);
    page1->commitRegValveTime(12.45);
    page1->commitMinRegVoltage(3.06);
    page1->commitMinRegPressure(1.15);
    page2->commitRegDeadband(2.59);
    page2->commitRegStartDelay(-1.0);
    page3->commitRestrictorPlateFlow(1.15);
    page3->commitDefaultValvePosition(35.9);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_REG_VALVE_TIME, 125},
                                                         {EV_SET_MIN_REG_VOLTAGE, 31},
                                                         {EV_SET_MIN_REG_PRESSURE, 110},
                                                         {EV_SET_REG_DEADBAND, 25},
                                                         {EV_SET_REG_START_DELAY, 0},
                                                         {EV_SET_RESTRICTOR_FLOW, 115},
                                                         {EV_SET_DEFAULT_VALVE_POSITION, 35}});
    // No limits between the rows: a minimum above the maximum is stored.
    page1->commitMaxRegPressure(1.0);
    page1->commitMinRegPressure(2.0);
    CHECK(datastoreGetUint16(DS_MIN_REG_PRESSURE) == 200);
    CHECK(datastoreGetUint16(DS_MAX_REG_PRESSURE) == 100);
    // A value the store refuses leaves the item, and the text shows what is stored.
    f.setItem(DS_REG_VALVE_TIME, 60);
    page1->commitRegValveTime(0.5);
    CHECK(datastoreGetUint16(DS_REG_VALVE_TIME) == 60);
    CHECK(value(page1, "m_btnRegValveTimeValue")->text() == "6.0 sec");
}

TEST_CASE("regulation details: unit rows follow the unit system on show, fixed rows keep their point")
{
    ScreenFixture f;
    f.setItem(DS_MIN_REG_PRESSURE, 150);
    f.setItem(DS_REG_VALVE_TIME, 60);
    f.setItem(DS_MIN_REG_VOLTAGE, 35);
    f.setItem(DS_REG_START_DELAY, 3);
    f.setItem(DS_REG_VALVE_CAPACITY, 100);
    RegulationPages pages(f);
    QWidget* page1 = pages.show(1);
    CHECK(value(page1, "m_btnMinRegPressureValue")->text() == "1.5 bar");

    unitSetSystem(UNIT_SYSTEM_IMPERIAL);
    page1 = pages.show(1);
    CHECK(value(page1, "m_btnMinRegPressureValue")->text() == "21.8 psi");
    CHECK(value(page1, "m_btnRegValveTimeValue")->text() == "6.0 sec");
    QWidget* page2 = pages.show(2);
    CHECK(value(page2, "m_btnRegValveCapacityValue")->text() == "22 gal/min");
    unitSetSystem(UNIT_SYSTEM_METRIC);

    // The voltage and the start delay are written with a point in every language.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (QWidget* page : pages.pages) {
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(page, &change);
    }
    CHECK(value(page1, "m_btnRegValveTimeValue")->text() == "6,0 sec");
    CHECK(value(page1, "m_btnMinRegVoltageValue")->text() == "3.5 V");
    CHECK(value(page2, "m_btnRegStartDelayValue")->text() == "0.3 sec");
    CHECK(value(page1, "m_btnMinRegPressureValue")->text() == "1,5 bar");
    pinLocaleAndTimeZone();
}

TEST_CASE("regulation details: help texts, the button bar and the pathway")
{
    ScreenFixture f;
    RegulationPages pages(f);
    struct PageHelp {
        int page;
        HelpCase help;
    };
    const PageHelp cases[] = {
        {1, {0, "Minimum Regulation Pressure", "regulation system. Range is 0.0 through 2.0 bar."}},
        {1, {1, "Maximum Regulation Pressure", "Range is 0.0 through 50.0 bar."}},
        {1, {2, "Regulation Valve Time", "Range is 1.0 through 60.0 seconds."}},
        {1, {3, "Minimum Regulation Voltage", "Range is 0.0 through 12.0 volt."}},
        {2, {0, "Regulation Deadband", "lower than the encoded deadband (percent of the target rate)."}},
        {2, {1, "Regulation Valve Capacity", "Range is 0 through 999 liters/minute."}},
        {2, {2, "Regulation Start Delay", "Range is 0.0 through 9.9 seconds."}},
        {2, {3, "Manual Regulation Speed", "should move in manual operation."}},
        {3, {0, "Restrictor Plate Flow", "(Circulation). Range is 0.00 through 99.99 l/min."}},
        {3, {1, "Default Valve Position", "Range is 0 through 100 %. 15 minutes after Master Switch"}},
    };
    for (const PageHelp& c : cases) {
        CAPTURE(c.page);
        CAPTURE(c.help.id);
        QWidget* page = pages.show(c.page);
        tapButton(labelButton(page, c.help.id));
        checkShownHelp(c.help);
    }
    static_cast<ConfigOemRegulationDetails*>(pages.pages[0])->showHelp(4);
    checkShownEmptyHelp();
    static_cast<ConfigOemRegulationDetails2*>(pages.pages[1])->showHelp(-1);
    checkShownEmptyHelp();
    static_cast<ConfigOemRegulationDetails3*>(pages.pages[2])->showHelp(2);
    checkShownEmptyHelp();

    const char* const titles[] = {"Regulation Details (1)", "Regulation Details (2)", "Regulation Details (3)"};
    for (int number = 1; number <= 3; ++number) {
        CAPTURE(number);
        QWidget* page = pages.show(number);
        CHECK(pathwayText(page) == QString("Settings->OEM->%1").arg(titles[number - 1]));
        CHECK(labelButton(page, 0)->icon().isNull());
        QSignalSpy back(page, SIGNAL(goBack()));
        QSignalSpy next(page, SIGNAL(nextPage()));
        QSignalSpy home(page, SIGNAL(ShowHomeView(int)));
        tapButtonBar(page, ToolsViewButtonBar::Next);
        tapButtonBar(page, ToolsViewButtonBar::Back);
        tapButtonBar(page, ToolsViewButtonBar::Home);
        CHECK(next.count() == 1);
        CHECK(back.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
    }
}

TEST_CASE("regulation details: screenshots in metric and US units")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_US}) {
        CAPTURE(system);
        ScreenFixture f(system);
        f.setItem(DS_MIN_REG_PRESSURE, 200);
        f.setItem(DS_MAX_REG_PRESSURE, 5000);
        f.setItem(DS_REG_VALVE_TIME, 600);
        f.setItem(DS_MIN_REG_VOLTAGE, 120);
        f.setItem(DS_REG_DEADBAND, 600);
        f.setItem(DS_REG_VALVE_CAPACITY, 999);
        f.setItem(DS_REG_START_DELAY, 99);
        f.setItem(DS_MANUAL_REG_SPEED, 1000);
        f.setItem(DS_RESTRICTOR_PLATE_FLOW, 9999);
        f.setItem(DS_DEFAULT_VALVE_POSITION, 100);
        RegulationPages pages(f);
        const std::string suffix = system == UNIT_SYSTEM_METRIC ? "_metric" : "_us";
        for (int number = 1; number <= 3; ++number) {
            pages.show(number);
            CHECK_SCREEN(f.screen(), QString::fromStdString("regulation_details" + std::to_string(number) + suffix));
        }
        if (system == UNIT_SYSTEM_METRIC) {
            tapButton(value(pages.show(2), "m_btnRegValveCapacityValue"));
            CHECK_SCREEN(f.screen(), "regulation_details2_capacity_keypad");
            keypadCancel(shownKeypad());
        }
    }
}
