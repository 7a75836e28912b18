// The calibrations menu over the real datastore: the sensor buttons by the
// presence items on each show, the pages they open, the flow-meter pair, back
// and home, and the menu at 480x272 with every sensor and with none.
#include "configmachinecalfillflowsensor.h"
#include "configmachinecalflowsensor.h"
#include "configmachinecalflowsensor2.h"
#include "configmachinecalibrations.h"
#include "configmachinecalimplspeedsensor.h"
#include "configmachinecalpressure.h"
#include "configmachinecaltanklevel.h"
#include "dscatalogue.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"

#include <QSignalSpy>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

KestromPushButton* menuButton(QWidget* menu, const char* name)
{
    auto* button = menu->findChild<KestromPushButton*>(QString::fromLatin1(name));
    REQUIRE(button != nullptr);
    return button;
}

void setSensors(bool flow, bool fillFlow, bool pressure, bool tank)
{
    ScreenFixture::setItem(DS_FLOW_SENSOR_PRESENT, flow);
    ScreenFixture::setItem(DS_FILL_FLOW_SENSOR_PRESENT, fillFlow);
    ScreenFixture::setItem(DS_PRESSURE_SENSOR_PRESENT, pressure);
    ScreenFixture::setItem(DS_TANK_SENSOR_PRESENT, tank);
}

// Where a page's own button bar is: a menu's bar is on its top page.
QWidget* barOwner(QWidget* page)
{
    auto* stack = page->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return stack != nullptr ? stack->widget(0) : page;
}

// The menu shown again by the program, as the machine menu's stack shows it.
void showAgain(QWidget* menu)
{
    menu->hide();
    menu->show();
    pumpEvents();
}

}  // namespace

TEST_CASE("calibrations menu: a sensor's button shows by its presence item from the next show on")
{
    ScreenFixture f;
    setSensors(false, false, false, false);
    auto* menu = new ConfigMachineCalibrations;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    CHECK(pathwayText(menu->pageStack()->widget(0)) == "Settings->Machine->Calibrations");

    struct Case {
        uint32_t item;
        const char* button;
        const char* text;
    };
    const Case cases[] = {{DS_FLOW_SENSOR_PRESENT, "m_flowSensorButton", "Flow Sensor"},
                          {DS_FILL_FLOW_SENSOR_PRESENT, "m_fillFlowSensorButton", "Fill Flow Sensor"},
                          {DS_PRESSURE_SENSOR_PRESENT, "m_pressureSensorButton", "Liquid Pressure Sensor"},
                          {DS_TANK_SENSOR_PRESENT, "m_tankLevelSensorButton", "Tank Level Sensor"}};
    KestromPushButton* speed = menuButton(menu, "m_speedSensorButton");
    CHECK(speed->text() == "Implement Speed Sensor");
    CHECK(speed->isVisible());
    for (const Case& c : cases)
        CHECK_FALSE(menuButton(menu, c.button)->isVisible());

    for (const Case& c : cases) {
        CAPTURE(c.button);
        setSensors(false, false, false, false);
        f.setItem(c.item, 1);
        // The item alone changes nothing on the menu shown; the next show does.
        CHECK_FALSE(menuButton(menu, c.button)->isVisible());
        showAgain(menu);
        KestromPushButton* button = menuButton(menu, c.button);
        CHECK(button->isVisible());
        CHECK(button->text() == c.text);
        CHECK(button->minimumSize() == GuiGeometry::menuButtonSize());
        CHECK(speed->isVisible());
        for (const Case& other : cases)
            if (other.item != c.item)
                CHECK_FALSE(menuButton(menu, other.button)->isVisible());
    }
}

TEST_CASE("calibrations menu: each button opens its page; back returns, home resets and passes on once")
{
    ScreenFixture f;
    setSensors(true, true, true, true);
    auto* menu = new ConfigMachineCalibrations;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    QStackedWidget* stack = menu->pageStack();
    QSignalSpy home(menu, &ConfigMachineCalibrations::ShowHomeView);
    QSignalSpy back(menu, &ConfigMachineCalibrations::goBack);

    struct Case {
        const char* button;
        QWidget* page;
    };
    const Case cases[] = {{"m_flowSensorButton", menu->flowPage()},
                          {"m_pressureSensorButton", menu->pressureMenu()},
                          {"m_speedSensorButton", menu->speedPage()},
                          {"m_tankLevelSensorButton", menu->tankLevelMenu()},
                          {"m_fillFlowSensorButton", menu->fillFlowPage()}};
    for (const Case& c : cases) {
        CAPTURE(c.button);
        tapButton(menuButton(menu, c.button));
        CHECK(stack->currentWidget() == c.page);
        tapButtonBar(barOwner(c.page), ToolsViewButtonBar::Back);
        CHECK(stack->currentIndex() == 0);
        tapButton(menuButton(menu, c.button));
        tapButtonBar(barOwner(c.page), ToolsViewButtonBar::Home);
        CHECK(stack->currentIndex() == 0);
        REQUIRE(home.count() == 1);
        CHECK(home.takeFirst().at(0).toInt() == ToolsViewButtonBar::Home);
    }
    CHECK(back.count() == 0);
    tapButtonBar(stack->widget(0), ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
    CHECK_FALSE(buttonBarButton(stack->widget(0), ToolsViewButtonBar::Next)->isVisible());
}

TEST_CASE("calibrations menu: the flow-meter pair's next toggles it; next does nothing elsewhere")
{
    ScreenFixture f;
    setSensors(true, false, false, false);
    auto* menu = new ConfigMachineCalibrations;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    QStackedWidget* stack = menu->pageStack();
    tapButton(menuButton(menu, "m_flowSensorButton"));
    // The flow page asks for its second page when a calibration by volume starts.
    emit menu->flowPage()->nextPage();
    CHECK(stack->currentWidget() == menu->flowPage2());
    emit menu->flowPage2()->nextPage();
    CHECK(stack->currentWidget() == menu->flowPage());
    menu->showTopPage();
    menu->showNextPage();
    CHECK(stack->currentIndex() == 0);
    tapButton(menuButton(menu, "m_speedSensorButton"));
    menu->showNextPage();
    CHECK(stack->currentWidget() == menu->speedPage());
}

TEST_CASE("calibrations menu at 480x272 with every sensor and with the speed sensor only")
{
    for (bool all : {true, false}) {
        ScreenFixture f;
        setSensors(all, all, all, all);
        auto* menu = new ConfigMachineCalibrations;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        CHECK_SCREEN(f.screen(), all ? "calibrations_menu_all" : "calibrations_menu_speed_only");
    }
}
