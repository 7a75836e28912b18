// The alarm settings page over the real datastore and dispatcher.
#include "configmachinealarms.h"
#include "eventids.h"
#include "pagevalues.h"
#include "unitquantities.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "units.h"

#include <QSignalSpy>

using ToolsViewWidgets::ConfigMachineAlarms;

namespace {

ConfigMachineAlarms* showPage(ScreenFixture& f)
{
    auto* page = new ConfigMachineAlarms(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takeProcessCalls();
    return page;
}

void setAlarms(ScreenFixture& f, uint32_t fullTank)
{
    f.setItem(DS_NH3_MODE, 0);
    f.setItem(DS_TANK_MAX_CONTENT, fullTank);
    f.setItem(DS_ALARM_MIN_TANK_CONTENT, 0);
    f.setItem(DS_CROSS_CHECK_PERCENT, 10);
    f.setItem(DS_SECTION_ALARM_ENABLED, 1);
}

KestromPushButton* button(ConfigMachineAlarms* page, const char* name)
{
    return page->findChild<KestromPushButton*>(name);
}

}  // namespace

TEST_CASE("alarm page: rows and screenshots in metric and imperial")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_IMPERIAL}) {
        CAPTURE(system);
        ScreenFixture f(system);
        setAlarms(f, 3000);
        auto* page = showPage(f);
        CHECK(pathwayText(page) == "Settings->Machine->Alarms");
        CHECK(button(page, "m_crossCheckValue")->text() == "10%");
        CHECK(button(page, "m_sectionAlarmValue")->text() == "Enabled");
        CHECK(button(page, "m_minTankContentValue")->text() == (system == UNIT_SYSTEM_METRIC ? "0 l" : "0 gal"));
        CHECK_SCREEN(f.screen(), system == UNIT_SYSTEM_METRIC ? "alarms_metric" : "alarms_imperial");
    }
}

TEST_CASE("alarm page: cross check, minimum content and section alarm")
{
    ScreenFixture f;
    setAlarms(f, 3000);
    auto* page = showPage(f);

    tapButton(button(page, "m_crossCheckValue"));
    CHECK(keypadTitled(shownKeypad(), "Flow/Pressure Cross Check (%)"));
    keypadType(shownKeypad(), "12.7");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_CROSS_CHECK, 12}});
    CHECK(button(page, "m_crossCheckValue")->text() == "12%");

    tapButton(button(page, "m_minTankContentValue"));
    CHECK(keypadTitled(shownKeypad(), "Minimum Tank Content (l)"));
    CHECK_SCREEN(f.screen(), "alarms_min_content_keypad");
    keypadType(shownKeypad(), "3001");
    keypadAccept(shownKeypad());
    CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
    tapPopupButton(currentPopup(), "OK");
    keypadType(shownKeypad(), "250");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_MIN_TANK_CONTENT, 250}});
    CHECK(datastoreGetUint16(DS_ALARM_MIN_TANK_CONTENT) == 250);
    CHECK(button(page, "m_minTankContentValue")->text() == "250 l");

    StoreWriteRecorder writes;
    tapButton(button(page, "m_sectionAlarmValue"));
    CHECK(gridOption(shownButtonGrid(), 1)->property("hasHighlightedBorder").toBool());
    CHECK_SCREEN(f.screen(), "alarms_section_grid");
    chooseGridOption(shownButtonGrid(), 0);
    CHECK(StoreWriteRecorder::take(DS_SECTION_ALARM_ENABLED) == std::vector<uint32_t>{0});
    CHECK(takeProcessCalls().empty());
    CHECK(button(page, "m_sectionAlarmValue")->text() == "Disabled");
}

TEST_CASE("alarm page: an empty full tank allows only 0")
{
    ScreenFixture f;
    setAlarms(f, 0);
    auto* page = showPage(f);
    tapButton(button(page, "m_minTankContentValue"));
    keypadType(shownKeypad(), "1");
    keypadAccept(shownKeypad());
    CHECK(popupTexts(currentPopup()).contains("Invalid value!"));
    tapPopupButton(currentPopup(), "OK");
    keypadType(shownKeypad(), "0");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_MIN_TANK_CONTENT, 0}});
}

TEST_CASE("alarm page: help texts, and NH3 mode on the next show")
{
    ScreenFixture f;
    setAlarms(f, 3000);
    auto* page = showPage(f);
    const HelpCase cases[] = {
        {0, "Minimum Tank Content", "Range is 0 through 3,000 liter."},
        {1, "Flow/Pressure Cross Check", "both flow and liquid pressure sensors are installed."},
        {2, "Section Output Low", "yet no load is sensed from that section."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        page->showHelp(c.id);
        checkShownHelp(c);
    }
    page->showHelp(3);
    checkShownEmptyHelp();

    // In NH3 mode the item and its limit are read through the mass quantity.
    page->hide();
    f.setItem(DS_NH3_MODE, 1);
    f.setItem(DS_ALARM_MIN_TANK_CONTENT, 400);
    page->show();
    pumpEvents();
    const double mass = PageValues::displayFromBase(UQ_TANK_CONTENT_MASS, 400);
    CHECK(button(page, "m_minTankContentValue")->text() == QStringLiteral("%L1 l").arg(mass, 0, 'f', 0));
    tapButton(button(page, "m_minTankContentValue"));
    keypadType(shownKeypad(), "100");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() ==
          std::vector<PostedEvent>{{EV_SET_MIN_TANK_CONTENT,
                                    static_cast<uint32_t>(PageValues::baseFromTyped(UQ_TANK_CONTENT_MASS, 100.0))}});

    QSignalSpy back(page, &ConfigMachineAlarms::goBack);
    QSignalSpy home(page, &ConfigMachineAlarms::ShowHomeView);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
    CHECK(back.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
