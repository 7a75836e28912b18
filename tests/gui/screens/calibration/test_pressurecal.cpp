// The liquid pressure sensor's calibration: the menu with its zero page, span
// settings page and span run page, over the real datastore and the core's
// dispatcher (no core threads), with the debug text and the dispatcher calls
// recorded.
#include "calibration_drive.h"
#include "configmachinecalpressure.h"
#include "configmachinecalpresssensormaxpressure.h"
#include "configmachinecalpresssensormaxpressure2.h"
#include "configmachinecalpresssensornopressure.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpagekit.h"

#include "settingpage_drive.h"

#include <doctest/doctest.h>

#include <QProgressBar>
#include <QSignalSpy>
#include <QStackedWidget>

using namespace ToolsViewWidgets;

namespace {

struct PressureMenu {
    ScreenFixture f;
    ConfigMachineCalPressure* menu;
    QStackedWidget* stack;

    PressureMenu()
    {
        f.setItem(DS_PRESSURE_SENSOR_MAX, 2500);
        f.setItem(DS_REF_PRESSURE, 50);
        f.setItem(DS_PRESSURE_SENSOR_ZERO, 100);
        menu = new ConfigMachineCalPressure;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        stack = menu->pageStack();
        takeDebugText();
        takeProcessCalls();
    }
    ~PressureMenu() { dismissPopups(); }

    KestromPushButton* button(QWidget* page, const char* name) const
    {
        auto* found = page->findChild<KestromPushButton*>(name);
        REQUIRE(found != nullptr);
        return found;
    }
    void open(const char* menuButton) { tapButton(button(stack->widget(0), menuButton)); }
    // Opens the span run page as the operator does: "Calibrate" on the settings page.
    void startSpanRun()
    {
        open("m_maxPressureButton");
        tapButton(button(menu->spanSettingsPage(), "m_calibrateButton"));
        dismissPopups();
        REQUIRE(stack->currentWidget() == menu->spanRunPage());
    }
    uint16_t bits() const { return datastoreGetUint16(DS_MANUAL_PRESSURE_BITS); }
};

}  // namespace

TEST_CASE("pressure menu: its buttons open the pages, back and home return to the buttons, next switches the span pair")
{
    PressureMenu m;
    QSignalSpy home(m.menu, &ConfigMachineCalPressure::ShowHomeView);
    QSignalSpy back(m.menu, &ConfigMachineCalPressure::goBack);
    CHECK(pathwayText(m.stack->widget(0)) == "...Calibrations->Liquid Pressure Sensor");

    struct Case {
        const char* button;
        QWidget* page;
        const char* pathway;
    };
    const Case cases[] = {
        {"m_noPressureButton", m.menu->zeroPage(), "...Liquid Pressure Sensor->No Pressure"},
        {"m_maxPressureButton", m.menu->spanSettingsPage(), "...Liquid Pressure Sensor->Maximum Pressure (1)"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.button);
        m.open(c.button);
        CHECK(m.stack->currentWidget() == c.page);
        CHECK(pathwayText(c.page) == c.pathway);
        tapButtonBar(c.page, ToolsViewButtonBar::Back);
        CHECK(m.stack->currentIndex() == 0);
        m.open(c.button);
        tapButtonBar(c.page, ToolsViewButtonBar::Home);
        CHECK(m.stack->currentIndex() == 0);
        CHECK(home.takeFirst() == QList<QVariant>{2});
    }
    // The run page leaves through its buttons as well.
    m.startSpanRun();
    CHECK(pathwayText(m.menu->spanRunPage()) == "...Liquid Pressure Sensor->Maximum Pressure (2)");
    tapButtonBar(m.menu->spanRunPage(), ToolsViewButtonBar::Home);
    CHECK(m.stack->currentIndex() == 0);
    CHECK(home.takeFirst() == QList<QVariant>{2});
    m.startSpanRun();
    tapButtonBar(m.menu->spanRunPage(), ToolsViewButtonBar::Back);
    CHECK(m.stack->currentIndex() == 0);
    CHECK(home.isEmpty());

    // next only toggles within the span pair.
    m.menu->showNextPage();
    CHECK(m.stack->currentIndex() == 0);
    m.stack->setCurrentWidget(m.menu->spanSettingsPage());
    m.menu->showNextPage();
    CHECK(m.stack->currentWidget() == m.menu->spanRunPage());
    m.menu->showNextPage();
    CHECK(m.stack->currentWidget() == m.menu->spanSettingsPage());

    // Home on the menu's own page leaves it as well; back goes up a level.
    m.stack->setCurrentIndex(0);
    tapButtonBar(m.stack->widget(0), ToolsViewButtonBar::Home);
    CHECK(home.takeFirst() == QList<QVariant>{2});
    tapButtonBar(m.stack->widget(0), ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
}

TEST_CASE("zero point: the raw reading becomes the zero, a reading the zero's limits refuse is reported")
{
    struct Case {
        uint16_t raw;
        uint16_t zeroAfter;
        const char* debug;
        const char* message;
    };
    const Case cases[] = {
        {120, 120, "LiqPressCal empty = 120 \r\n", "Calibration complete."},
        {305, 305, "LiqPressCal empty = 305 \r\n", "Calibration complete."},
        {0, 0, "LiqPressCal empty = 0 \r\n", "Calibration complete."},
        {400, 80, "LiqPressCal empty = 80 \r\n", "Calibration failed. The sensor value is out of range."},
        {306, 80, "LiqPressCal empty = 80 \r\n", "Calibration failed. The sensor value is out of range."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        PressureMenu m;
        m.f.setItem(DS_PRESSURE_SENSOR_ZERO, 80);
        m.f.setItem(DS_LIVE_PRESSURE_RAW, c.raw);
        m.open("m_noPressureButton");
        takeDebugText();
        tapButton(m.button(m.menu->zeroPage(), "m_calibrateButton"));
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_PRESSURE_CAL_EMPTY, 0}});
        CHECK(datastoreGetUint16(DS_PRESSURE_SENSOR_ZERO) == c.zeroAfter);
        CHECK(takeDebugText() == c.debug);
        // An empty title: the message alone.
        CHECK(takeShownMessage() == QStringList{c.message});
        CHECK(m.stack->currentIndex() == 0);
    }
}

TEST_CASE("zero page: the bar follows the raw reading while shown and stands still while hidden; its help")
{
    PressureMenu m;
    m.f.setItem(DS_LIVE_PRESSURE_RAW, 333);
    auto* page = new ConfigMachineCalPressSensorNoPressure;
    auto* bar = page->findChild<QProgressBar*>("m_sensorBar");
    CHECK(bar->maximum() == 1024);
    CHECK(bar->value() == 333);  // read when built
    m.open("m_noPressureButton");
    auto* shownBar = m.menu->zeroPage()->findChild<QProgressBar*>("m_sensorBar");
    m.f.setItem(DS_LIVE_PRESSURE_RAW, 512);
    m.f.tick100ms();
    CHECK(shownBar->value() == 512);
    tapButtonBar(m.menu->zeroPage(), ToolsViewButtonBar::Back);
    m.f.setItem(DS_LIVE_PRESSURE_RAW, 700);
    m.f.tick100ms();
    CHECK(shownBar->value() == 512);
    delete page;

    m.open("m_noPressureButton");
    tapButton(labelButton(m.menu->zeroPage(), 0));
    checkShownHelp({0, "No Pressure Calibration", "Make sure NO pressure is applied to the liquid pressure sensor."});
}

TEST_CASE("span settings: the maximum pressure rounds, the reference truncates, both sent as commands")
{
    PressureMenu m;
    m.open("m_maxPressureButton");
    ConfigMachineCalPressSensorMaxPressure* page = m.menu->spanSettingsPage();
    KestromPushButton* maxValue = m.button(page, "m_maxPressureValue");
    KestromPushButton* refValue = m.button(page, "m_refPressureValue");
    CHECK(maxValue->text() == "25.00 bar");
    CHECK(refValue->text() == "5.0 bar");

    struct Case {
        KestromPushButton* value;
        const char* title;
        const char* typed;
        PostedEvent call;
        uint32_t item;
        const char* shown;
    };
    const Case cases[] = {
        {maxValue, "Maximum Pressure (bar)", "12.345", {183, 1235}, DS_PRESSURE_SENSOR_MAX, "12.35 bar"},
        {maxValue, "Maximum Pressure (bar)", "12.344", {183, 1234}, DS_PRESSURE_SENSOR_MAX, "12.34 bar"},
        {refValue, "Reference Pressure (bar)", "4.99", {184, 49}, DS_REF_PRESSURE, "4.9 bar"},
        {refValue, "Reference Pressure (bar)", "4.9", {184, 49}, DS_REF_PRESSURE, "4.9 bar"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        tapButton(c.value);
        NumericKeypadWidget* keypad = shownKeypad();
        CHECK(keypadTitled(keypad, c.title));
        keypadType(keypad, QString::fromLatin1(c.typed));
        keypadAccept(keypad);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{c.call});
        CHECK(datastoreGetUint16(c.item) == c.call.second);
        CHECK(c.value->text() == c.shown);
    }

    const HelpCase helps[] = {
        {0, "Maximum Pressure", "Range is 1.00 through 50.00 bar."},
        {1, "Reference Pressure", "Range is 1.0 through 50.0 bar."},
        {2, "Automatic Calibration", "automatic calibration establishes the calibration."},
    };
    for (const HelpCase& h : helps) {
        CAPTURE(h.id);
        tapButton(labelButton(page, h.id));
        checkShownHelp(h);
    }
}

TEST_CASE("span settings in psi: units in texts, keypad and help")
{
    ScreenFixture f(UNIT_SYSTEM_US);
    f.setItem(DS_PRESSURE_SENSOR_MAX, 2500);
    f.setItem(DS_REF_PRESSURE, 50);
    auto* page = new ConfigMachineCalPressSensorMaxPressure;
    f.place(page, QPoint(0, 0), QSize(480, 272));
    CHECK(page->findChild<KestromPushButton*>("m_maxPressureValue")->text().endsWith(" psi"));
    tapButton(page->findChild<KestromPushButton*>("m_refPressureValue"));
    CHECK(keypadTitled(shownKeypad(), "Reference Pressure (psi)"));
}

TEST_CASE("span calibration start: manual regulation, alarms in manual mode off, the run page after the instructions")
{
    for (uint16_t before : {uint16_t{0}, uint16_t{1}}) {
        CAPTURE(before);
        PressureMenu m;
        m.f.setItem(DS_MANUAL_PRESSURE_BITS, before);
        m.f.setItem(DS_ALARMS_IN_MANUAL_MODE, 1);
        m.f.setItem(DS_SAVED_HOLD_BIT, 1 - before);
        m.open("m_maxPressureButton");
        takeDebugText();
        tapButton(m.button(m.menu->spanSettingsPage(), "m_calibrateButton"));
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == PageMode::Calibration);
        CHECK(m.bits() == 1);
        CHECK(datastoreGetBool(DS_SAVED_HOLD_BIT) == before);
        CHECK(datastoreGetBool(DS_ALARMS_IN_MANUAL_MODE) == 0);
        CHECK(takeDebugText() == (before ? "goto LiqPressCal M=1\r\n" : "goto LiqPressCal M=0\r\n"));
        CHECK(m.stack->currentWidget() == m.menu->spanRunPage());
        checkShownHelp({3, "Calibrate", "the pressure could build and damage the system."});
    }
}

TEST_CASE("span run: Done has the core compute the maximum pressure from raw, zero and reference")
{
    struct Case {
        uint16_t raw;
        uint16_t maxAfter;
        const char* debug;
    };
    const Case cases[] = {
        {800, 659, "CalLiqPressMax 800 100 50 659\r\n"},
        {253, 3016, "CalLiqPressMax 253 100 50 3016\r\n"},
        {252, 2500, "CalLiqPressMax 252 100 50 2500\r\n"},  // not above zero + 152
    };
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        PressureMenu m;
        m.startSpanRun();
        m.f.setItem(DS_LIVE_PRESSURE_RAW, c.raw);
        takeDebugText();
        takeProcessCalls();
        tapButton(m.button(m.menu->spanRunPage(), "m_doneButton"));
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_PRESSURE_CAL_MAX, 0}});
        CHECK(datastoreGetUint16(DS_PRESSURE_SENSOR_MAX) == c.maxAfter);
        CHECK(takeDebugText() == std::string(c.debug) + "LiqPressCal End 0 1\r\n");
        // The settings page again, showing the new maximum.
        CHECK(m.stack->currentWidget() == m.menu->spanSettingsPage());
        CHECK(m.button(m.menu->spanSettingsPage(), "m_maxPressureValue")->text() ==
              QString("%L1 bar").arg(c.maxAfter / 100.0, 0, 'f', 2));
    }
}

TEST_CASE("span run left by Done, back or home: manual regulation as before, master off, page mode 4")
{
    const int ways[] = {-1, ToolsViewButtonBar::Back, ToolsViewButtonBar::Home};
    for (int way : ways) {
        for (uint16_t before : {uint16_t{0}, uint16_t{1}}) {
            CAPTURE(way);
            CAPTURE(before);
            PressureMenu m;
            m.f.setItem(DS_MANUAL_PRESSURE_BITS, before);
            m.f.setItem(DS_LIVE_PRESSURE_RAW, 200);
            m.startSpanRun();
            m.f.setItem(DS_MASTER_SWITCH, 1);
            takeDebugText();
            ConfigMachineCalPressSensorMaxPressure2* run = m.menu->spanRunPage();
            if (way < 0)
                tapButton(m.button(run, "m_doneButton"));
            else
                tapButtonBar(run, way);
            const std::string debug = takeDebugText();
            CHECK(debug.find(before ? "LiqPressCal End 1 1\r\n" : "LiqPressCal End 0 1\r\n") != std::string::npos);
            CHECK(m.bits() == before);
            CHECK(datastoreGetBool(DS_SAVED_HOLD_BIT) == 0);
            CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
            CHECK(datastoreGetUint16(DS_PAGE_MODE) == PageMode::Home);
            CHECK(datastoreGetBool(DS_ALARMS_IN_MANUAL_MODE) == 0);
        }
    }
}

TEST_CASE("span run arrows: the pressure moves only while a finger holds an arrow")
{
    PressureMenu m;
    m.startSpanRun();
    ConfigMachineCalPressSensorMaxPressure2* run = m.menu->spanRunPage();
    KestromPushButton* up = m.button(run, "m_upButton");
    KestromPushButton* down = m.button(run, "m_downButton");
    CHECK(up->width() >= GuiGeometry::menuButtonSize().width());
    CHECK(up->height() >= 60);

    touchPress(up);
    CHECK(m.bits() == 0x3);
    touchRelease(up);
    CHECK(m.bits() == 0x1);
    touchPress(down);
    CHECK(m.bits() == 0x5);
    touchRelease(down);
    CHECK(m.bits() == 0x1);

    // The finger slides 60 px off the arrow, beyond its 50 px margin: the change stops at once.
    for (KestromPushButton* arrow : {up, down}) {
        CAPTURE(arrow->objectName().toStdString());
        touchPress(arrow);
        CHECK(m.bits() != 0x1);
        const QPoint off(arrow->width() / 2, arrow->height() + 60);
        touchMove(arrow, off);
        CHECK(m.bits() == 0x1);
        touchRelease(arrow, off);
        CHECK(m.bits() == 0x1);
    }

    // Leaving the page while a bit is still set (an alarm took the finger's
    // release) ends the change as well.
    m.f.setItem(DS_MANUAL_PRESSURE_BITS, 0x3);
    tapButtonBar(run, ToolsViewButtonBar::Back);
    CHECK(m.bits() == 0);
    // A page hidden by its menu's owner stops the change too, and keeps manual regulation.
    m.startSpanRun();
    m.f.setItem(DS_MANUAL_PRESSURE_BITS, 0x5);
    m.stack->setCurrentIndex(0);
    pumpEvents();
    CHECK(m.bits() == 0x1);
}

TEST_CASE("span run: the master indicator follows the master switch within 100 ms; the raw bar too")
{
    PressureMenu m;
    m.startSpanRun();
    ConfigMachineCalPressSensorMaxPressure2* run = m.menu->spanRunPage();
    KestromPushButton* master = m.button(run, "m_masterValveButton");
    auto* bar = run->findChild<QProgressBar*>("m_sensorBar");
    CHECK(showsIcon(master, ":/images/section_off.svg"));
    m.f.setItem(DS_MASTER_SWITCH, 1);
    m.f.setItem(DS_LIVE_PRESSURE_RAW, 640);
    m.f.tick100ms();
    CHECK(showsIcon(master, ":/images/section_on.svg"));
    CHECK(bar->value() == 640);
    m.f.setItem(DS_MASTER_SWITCH, 0);
    tapButton(master);
    CHECK(showsIcon(master, ":/images/section_off.svg"));
    tapButton(labelButton(run, 0));
    checkShownHelp({0, "Complete Calibration", "Apply constant reference pressure to the sensor."});
}

TEST_CASE("screens: pressure menu, zero page, span settings and span run at 480x272")
{
    PressureMenu m;
    m.f.setItem(DS_LIVE_PRESSURE_RAW, 300);
    CHECK_SCREEN(m.f.screen(), "pressure_menu");
    m.open("m_noPressureButton");
    m.f.tick100ms();
    CHECK_SCREEN(m.f.screen(), "pressure_zero");
    tapButtonBar(m.menu->zeroPage(), ToolsViewButtonBar::Back);
    m.open("m_maxPressureButton");
    CHECK_SCREEN(m.f.screen(), "pressure_span_settings");
    tapButton(m.button(m.menu->spanSettingsPage(), "m_calibrateButton"));
    CHECK_SCREEN(m.f.screen(), "pressure_span_instructions");
    dismissPopups();
    m.f.setItem(DS_MASTER_SWITCH, 1);
    m.f.tick100ms();
    CHECK_SCREEN(m.f.screen(), "pressure_span_run");
}
