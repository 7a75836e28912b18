// The operation settings page over the real datastore and dispatcher: rate
// step, speed source choice, simulated and minimum speed, help and navigation.
#include "eventids.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "toolsviewconfigoperation.h"
#include "unitquantities.h"
#include "units.h"

#include <QSignalSpy>

using ToolsViewWidgets::ToolsViewConfigOperation;

namespace {

enum { RateStepRow = 0, SpeedSourceRow = 1, SimSpeedRow = 2, MinSpeedRow = 3 };

// The page as the machine settings menu shows it, built over the stored items.
ToolsViewConfigOperation* showPage(ScreenFixture& f)
{
    auto* page = new ToolsViewConfigOperation(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takePostedEvents();
    takeProcessCalls();
    return page;
}

void setSpeeds(ScreenFixture& f)
{
    f.setItem(DS_APPL_RATE_STEP, 5);
    f.setItem(DS_SIM_SPEED, 80);
    f.setItem(DS_MIN_SPEED, 15);
}

}  // namespace

TEST_CASE("operation page: pathway, rows and screenshots in metric and imperial")
{
    for (uint32_t system : {UNIT_SYSTEM_METRIC, UNIT_SYSTEM_IMPERIAL}) {
        CAPTURE(system);
        ScreenFixture f(system);
        setSpeeds(f);
        f.setItem(DS_SPEED_SOURCE, ToolsViewConfigOperation::Simulated);
        auto* page = showPage(f);
        CHECK(pathwayText(page) == "Settings->Machine->Operation");
        CHECK(labelButton(page, RateStepRow)->text().replace('\n', ' ') == "Application Rate Step");
        CHECK(labelButton(page, SpeedSourceRow)->text() == "Speed Source");
        CHECK(labelButton(page, SimSpeedRow)->text() == "Simulate Speed");
        CHECK(labelButton(page, MinSpeedRow)->text() == "Minimum Speed");
        CHECK(page->findChild<KestromPushButton*>("m_applRateBoostValue")->text() == "5%");
        CHECK(page->findChild<KestromPushButton*>("m_speedSourceSelection")->text() == "Simulated");
        if (system == UNIT_SYSTEM_METRIC) {
            CHECK(page->findChild<KestromPushButton*>("m_simSpeedValue")->text() == "8.0 km/h");
            CHECK(valueButton(page, MinSpeedRow)->text() == "1.5 km/h");
            CHECK_SCREEN(f.screen(), "operation_metric");
        } else {
            CHECK(page->findChild<KestromPushButton*>("m_simSpeedValue")->text() == "5.0 mph");
            CHECK(valueButton(page, MinSpeedRow)->text() == "0.9 mph");
            CHECK_SCREEN(f.screen(), "operation_imperial");
        }
        CHECK(showsIcon(labelButton(page, RateStepRow), ":/images/Target_boost.svg"));
        CHECK(showsIcon(labelButton(page, MinSpeedRow), ":/images/speed_vehicle_forward.svg"));
    }
}

TEST_CASE("operation page: the rate step keypad takes 1 to 20 and writes every commit")
{
    ScreenFixture f;
    setSpeeds(f);
    f.setItem(DS_APPL_RATE_STEP, 7);
    auto* page = showPage(f);
    KestromPushButton* value = page->findChild<KestromPushButton*>("m_applRateBoostValue");
    CHECK(value->text() == "7%");

    StoreWriteRecorder writes;
    tapButton(value);
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    CHECK(keypadTitled(keypad, "Application Rate Step (%)"));
    CHECK_SCREEN(f.screen(), "operation_rate_step_keypad");

    SUBCASE("out of range entries are refused")
    {
        for (const char* entry : {"21", "0"}) {
            CAPTURE(entry);
            keypadType(shownKeypad(), entry);
            keypadAccept(shownKeypad());
            CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
            tapPopupButton(currentPopup(), "OK");
            CHECK(StoreWriteRecorder::take(DS_APPL_RATE_STEP).empty());
        }
    }
    SUBCASE("the stored step is written again")
    {
        keypadType(keypad, "7");
        keypadAccept(keypad);
        CHECK(StoreWriteRecorder::take(DS_APPL_RATE_STEP) == std::vector<uint32_t>{7});
        CHECK(value->text() == "7%");
    }
    SUBCASE("a fraction is dropped from the stored and the shown step alike")
    {
        keypadType(keypad, "12.9");
        keypadAccept(keypad);
        CHECK(datastoreGetUint16(DS_APPL_RATE_STEP) == 12);
        CHECK(value->text() == "12%");
    }
}

TEST_CASE("operation page: choosing the speed source")
{
    struct Case {
        uint32_t stored;
        int chosen;
        uint32_t storedAfter;
        std::vector<PostedEvent> posted;
        const char* text;
        const char* icon;
        bool simSpeedEnabled;
    };
    const Case cases[] = {
        {2, ToolsViewConfigOperation::Implement, 2, {}, "Implement", ":/images/speed_wheel.svg", false},
        {2, ToolsViewConfigOperation::Simulated, 3, {{EV_SET_SPEED_SOURCE, 3}}, "Simulated",
         ":/images/speed_simulated.svg", true},
        {3, ToolsViewConfigOperation::CanSpeed, 4, {{EV_SET_SPEED_SOURCE, 4}}, "CAN Speed", ":/images/gps.svg", false},
        {4, ToolsViewConfigOperation::Implement, 2, {{EV_SET_SPEED_SOURCE, 2}}, "Implement",
         ":/images/speed_wheel.svg", false},
        {0, ToolsViewConfigOperation::Simulated, 3, {{EV_SET_SPEED_SOURCE, 3}}, "Simulated",
         ":/images/speed_simulated.svg", true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.stored);
        CAPTURE(c.chosen);
        ScreenFixture f;
        setSpeeds(f);
        f.setItem(DS_SPEED_SOURCE, c.stored);
        auto* page = showPage(f);
        KestromPushButton* value = page->findChild<KestromPushButton*>("m_speedSourceSelection");
        // Text changed by hand: the row must be refreshed also when nothing is written.
        value->setText(QString());
        StoreWriteRecorder writes;
        tapButton(value);
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        // A stored source other than the wheel or CAN is offered as simulated.
        const int current = c.stored == 2 || c.stored == 4 ? static_cast<int>(c.stored) : 3;
        CHECK(gridOption(grid, current)->property("hasHighlightedBorder").toBool());
        chooseGridOption(grid, c.chosen);
        CHECK(shownButtonGrid() == nullptr);
        CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == c.storedAfter);
        CHECK(StoreWriteRecorder::take(DS_SPEED_SOURCE).size() == (c.stored == c.storedAfter ? 0u : 1u));
        CHECK(takePostedEvents() == c.posted);
        CHECK(value->text() == c.text);
        CHECK(showsIcon(labelButton(page, SpeedSourceRow), c.icon));
        CHECK(page->findChild<KestromPushButton*>("m_simSpeedValue")->isEnabled() == c.simSpeedEnabled);
    }
}

TEST_CASE("operation page: a stored source of 0 shows as simulated while the simulated speed stays locked")
{
    ScreenFixture f;
    setSpeeds(f);
    f.setItem(DS_SPEED_SOURCE, 0);
    auto* page = showPage(f);
    CHECK(page->findChild<KestromPushButton*>("m_speedSourceSelection")->text() == "Simulated");
    CHECK(showsIcon(labelButton(page, SpeedSourceRow), ":/images/speed_simulated.svg"));
    KestromPushButton* simSpeed = page->findChild<KestromPushButton*>("m_simSpeedValue");
    CHECK_FALSE(simSpeed->isEnabled());
    tap(simSpeed);
    pumpEvents();
    CHECK(shownKeypad() == nullptr);
    page->editSimSpeed();
    CHECK(shownKeypad() == nullptr);

    tapButton(page->findChild<KestromPushButton*>("m_speedSourceSelection"));
    CHECK_SCREEN(f.screen(), "operation_speed_source_grid");
}

TEST_CASE("operation page: simulated speed rounds, minimum speed truncates, titles by unit system")
{
    struct Case {
        uint32_t system;
        const char* unit;
    };
    for (const Case& c : {Case{UNIT_SYSTEM_METRIC, "km/h"}, Case{UNIT_SYSTEM_IMPERIAL, "mph"},
                          Case{UNIT_SYSTEM_US, "mph"}}) {
        CAPTURE(c.system);
        ScreenFixture f(c.system);
        setSpeeds(f);
        f.setItem(DS_SPEED_SOURCE, ToolsViewConfigOperation::Simulated);
        auto* page = showPage(f);

        tapButton(page->findChild<KestromPushButton*>("m_simSpeedValue"));
        CHECK(keypadTitled(shownKeypad(), QStringLiteral("Simulate Speed (%1)").arg(c.unit)));
        keypadCancel(shownKeypad());
        tapButton(valueButton(page, MinSpeedRow));
        CHECK(keypadTitled(shownKeypad(), QStringLiteral("Minimum Speed (%1)").arg(c.unit)));
        keypadCancel(shownKeypad());
    }

    ScreenFixture f;
    setSpeeds(f);
    f.setItem(DS_SPEED_SOURCE, ToolsViewConfigOperation::Simulated);
    auto* page = showPage(f);
    REQUIRE(unitGetScale(UQ_SIMULATED_SPEED) == 10);
    REQUIRE(unitGetScale(UQ_MIN_SPEED) == 10);

    tapButton(page->findChild<KestromPushButton*>("m_simSpeedValue"));
    keypadType(shownKeypad(), "12.36");
    keypadAccept(shownKeypad());
    CHECK(datastoreGetUint16(DS_SIM_SPEED) == 124);
    CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_SIM_SPEED_CHANGED, 0}});
    CHECK(takeProcessCalls().empty());
    CHECK(page->findChild<KestromPushButton*>("m_simSpeedValue")->text() == "12.4 km/h");

    tapButton(valueButton(page, MinSpeedRow));
    CHECK_SCREEN(f.screen(), "operation_min_speed_keypad");
    keypadType(shownKeypad(), "12.36");
    keypadAccept(shownKeypad());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_MINIMUM_SPEED, 123}});
    CHECK(datastoreGetUint16(DS_MIN_SPEED) == 123);
    CHECK(valueButton(page, MinSpeedRow)->text() == "12.3 km/h");
    const std::vector<PostedEvent> posted = takePostedEvents();
    CAPTURE(posted.size());
    CHECK_FALSE(hasEvent(posted, EV_SET_MINIMUM_SPEED, 123));
}

TEST_CASE("operation page: help texts and the button bar")
{
    ScreenFixture f;
    setSpeeds(f);
    auto* page = showPage(f);

    const HelpCase cases[] = {
        {0, "Application Rate Step", "\"boost\" of the active application rate"},
        {1, "Speed Source", "from the CAN, an Implement or a Simulated source."},
        {2, "Simulate Speed", "Range is 0.0 through 99.9 kilometers/hour."},
        {3, "Minimum Speed", "switch the main valve off. Range is 0.0 through 99.9 kilometers/hour."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();

    QSignalSpy back(page, &ToolsViewConfigOperation::goBack);
    QSignalSpy home(page, &ToolsViewConfigOperation::ShowHomeView);
    CHECK_FALSE(buttonBarButton(page, ToolsViewWidgets::ToolsViewButtonBar::Next)->isVisible());
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Home);
    CHECK(back.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}
