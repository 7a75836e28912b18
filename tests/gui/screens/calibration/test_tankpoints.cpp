// The tank-level point calibrations (empty, minimum, maximum) as one table of
// pages, reached from the tank-level menu, over the real datastore and the
// core's dispatcher (no core threads).
#include "calibration_drive.h"
#include "configmachinecaltanklevel.h"
#include "configmachinecaltanklevelsensorpoints.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "greyfellcommon.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"

#include "settingpage_drive.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

struct PointPage {
    const char* name;
    const char* menuButton;
    const char* pathway;
    uint32_t command;
    uint32_t item;
    const char* completion;
    bool hasContent;
};

const PointPage kPages[] = {
    {"empty", "m_emptyTankButton", "...Tank Level Sensor->Empty Tank", EV_SET_TANK_CAL_EMPTY, DS_TANK_CAL_EMPTY,
     "Calibration complete.", false},
    {"minimum", "m_minTankLevelButton", "...Tank Level Sensor->Minimum Tank Level", EV_SET_TANK_CAL_MIN,
     DS_TANK_CAL_MIN, "Calibration Complete.", true},
    {"maximum", "m_maxTankLevelButton", "...Tank Level Sensor->Maximum Tank Level", EV_SET_TANK_CAL_MAX,
     DS_TANK_CAL_MAX, "Calibration complete.", true},
};

struct TankMenu {
    ScreenFixture f;
    ConfigMachineCalTankLevel* menu;
    QStackedWidget* stack;

    explicit TankMenu(uint32_t units = UNIT_SYSTEM_METRIC) : f(units)
    {
        QDir(GreyfellCommon::usbRootPath()).removeRecursively();
        f.setItem(DS_TANK_CAL_EMPTY, 20);
        f.setItem(DS_TANK_CAL_MIN, 60);
        f.setItem(DS_TANK_CAL_MAX, 900);
        f.setItem(DS_TANK_MIN_CONTENT, 150);
        f.setItem(DS_TANK_MAX_CONTENT, 3000);
        menu = new ConfigMachineCalTankLevel;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        stack = menu->pageStack();
        takeProcessCalls();
    }
    ~TankMenu() { dismissPopups(); }

    void open(const char* button)
    {
        auto* found = stack->widget(0)->findChild<KestromPushButton*>(button);
        REQUIRE(found != nullptr);
        tapButton(found);
    }
    QWidget* shown() const { return stack->currentWidget(); }
};

}  // namespace

TEST_CASE("tank points: Calibrate stores the live reading as the page's point and returns to the menu")
{
    for (const PointPage& p : kPages) {
        CAPTURE(p.name);
        TankMenu m;
        m.f.setItem(DS_LIVE_TANK_SENSOR, 240);
        QSignalSpy home(m.menu, &ConfigMachineCalTankLevel::ShowHomeView);
        m.open(p.menuButton);
        QWidget* page = m.shown();
        CHECK(pathwayText(page) == p.pathway);
        tapButton(page->findChild<KestromPushButton*>("m_calibrateButton"));
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{p.command, 0}});
        CHECK(datastoreGetUint16(p.item) == 240);
        CHECK(takeShownMessage() == QStringList{p.completion});
        CHECK(m.stack->currentIndex() == 0);

        m.open(p.menuButton);
        tapButtonBar(page, ToolsViewButtonBar::Back);
        CHECK(m.stack->currentIndex() == 0);
        m.open(p.menuButton);
        tapButtonBar(page, ToolsViewButtonBar::Home);
        CHECK(m.stack->currentIndex() == 0);
        CHECK(home.count() == 1);
    }
}

TEST_CASE("tank points: a reading outside the point's limits is reported as a failure and the point kept")
{
    struct Case {
        const PointPage& page;
        uint16_t raw;
        uint16_t kept;
    };
    const Case cases[] = {{kPages[0], 400, 20}, {kPages[0], 301, 20}, {kPages[1], 0, 60},
                          {kPages[1], 501, 60}, {kPages[2], 1024, 900}, {kPages[2], 0, 900}};
    for (const Case& c : cases) {
        CAPTURE(c.page.name);
        CAPTURE(c.raw);
        TankMenu m;
        m.f.setItem(DS_LIVE_TANK_SENSOR, c.raw);
        m.open(c.page.menuButton);
        tapButton(m.shown()->findChild<KestromPushButton*>("m_calibrateButton"));
        CHECK(datastoreGetUint16(c.page.item) == c.kept);
        CHECK(takeShownMessage() == QStringList{"Calibration failed. The sensor value is out of range."});
        CHECK(m.stack->currentIndex() == 0);
    }
}

TEST_CASE("tank points: the bar follows the reading while shown; the content in whole display units")
{
    struct Case {
        uint32_t units;
        const char* minimum;
        const char* maximum;
    };
    // 150 l and 3000 l; 39.6 and 792.5 US gallons.
    const Case cases[] = {{UNIT_SYSTEM_METRIC, "150 l", "3,000 l"}, {UNIT_SYSTEM_US, "40 gal", "793 gal"}};
    for (const Case& c : cases) {
        CAPTURE(c.units);
        TankMenu m(c.units);
        m.f.setItem(DS_LIVE_TANK_SENSOR, 100);
        for (const PointPage& p : kPages) {
            CAPTURE(p.name);
            m.open(p.menuButton);
            QWidget* page = m.shown();
            auto* bar = page->findChild<QProgressBar*>("m_sensorBar");
            m.f.tick100ms();
            CHECK(bar->value() == 100);
            auto* content = page->findChild<QLabel*>("m_tankContentValue");
            CHECK((content != nullptr) == p.hasContent);
            if (content != nullptr)
                CHECK(content->text() == (p.item == DS_TANK_CAL_MIN ? c.minimum : c.maximum));
            tapButtonBar(page, ToolsViewButtonBar::Back);
            m.f.setItem(DS_LIVE_TANK_SENSOR, 700);
            m.f.tick100ms();
            CHECK(bar->value() == 100);
            m.f.setItem(DS_LIVE_TANK_SENSOR, 100);
        }
    }
}

TEST_CASE("tank points: the helps of each page")
{
    struct Case {
        int page;
        HelpCase help;
    };
    const Case cases[] = {
        {0, {0, "Automatic Calibration", "Make sure there is NO water on tank level sensor."}},
        {1, {0, "Automatic Calibration", "Fill the tank to the minimum level with water."}},
        {1, {1, "Minimum Tank Level", "Shows the tank content for the minimum level calibration."}},
        {2, {0, "Automatic Calibration", "Fill the tank to the maximum level with water."}},
        {2, {1, "Maximum Tank Level", "Shows the tank content for the maximum level calibration."}},
    };
    TankMenu m;
    for (const Case& c : cases) {
        CAPTURE(kPages[c.page].name);
        CAPTURE(c.help.id);
        m.open(kPages[c.page].menuButton);
        tapButton(labelButton(m.shown(), c.help.id));
        checkShownHelp(c.help);
        tapButtonBar(m.shown(), ToolsViewButtonBar::Back);
    }
}

TEST_CASE("screens: the three tank-point pages at 480x272")
{
    TankMenu m;
    m.f.setItem(DS_LIVE_TANK_SENSOR, 420);
    const char* shots[] = {"tank_point_empty", "tank_point_minimum", "tank_point_maximum"};
    for (int i = 0; i < 3; ++i) {
        m.open(kPages[i].menuButton);
        m.f.tick100ms();
        CHECK_SCREEN(m.f.screen(), shots[i]);
        tapButtonBar(m.shown(), ToolsViewButtonBar::Back);
    }
}
