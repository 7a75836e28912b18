// The machine settings menu over the real datastore: its buttons and the pages
// they open, the filling pair's next, back and home from every depth (the
// menus on the way left on their top pages), a language change, and the menu
// at 480x272.
#include "configmachinealarms.h"
#include "configmachinecalibrations.h"
#include "configmachinecalpressure.h"
#include "configmachinecalpresssensormaxpressure.h"
#include "configmachinecalpresssensormaxpressure2.h"
#include "configmachineimplparam.h"
#include "cpopupmessage.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "toolsviewconfigfilling.h"
#include "toolsviewconfigfilling2.h"
#include "toolsviewconfigmachine.h"
#include "toolsviewconfigoperation.h"

#include <QSignalSpy>
#include <QStackedWidget>
#include <QTranslator>

using namespace ToolsViewWidgets;

namespace {

struct MachineMenu {
    MachineMenu()
    {
        f.setItem(DS_PRESSURE_SENSOR_PRESENT, 1);
        f.setItem(DS_PRESSURE_SENSOR_MAX, 2500);
        menu = new ToolsViewConfigMachine;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
    }
    ~MachineMenu() { dismissPopups(); }

    QStackedWidget* stack() const { return menu->pageStack(); }
    QWidget* top() const { return menu->pageStack()->widget(0); }
    QWidget* current() const { return menu->pageStack()->currentWidget(); }
    KestromPushButton* button(QWidget* page, const char* name) const
    {
        auto* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
        CAPTURE(name);
        REQUIRE(found != nullptr);
        return found;
    }

    ScreenFixture f;
    ToolsViewConfigMachine* menu;
};

// Where a page's own button bar is: a menu's bar is on its top page.
QWidget* barOwner(QWidget* page)
{
    auto* stack = page->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return stack != nullptr ? stack->widget(0) : page;
}

struct ButtonCase {
    const char* name;
    const char* text;
    int index;
    const char* pageClass;
    const char* pathway;
};

const ButtonCase kButtons[] = {
    {"m_fillingButton", "Filling", 1, "ToolsViewWidgets::ToolsViewConfigFilling", "Settings->Machine->Filling (1)"},
    {"m_operationButton", "Operation", 3, "ToolsViewWidgets::ToolsViewConfigOperation",
     "Settings->Machine->Operation"},
    {"m_implParamButton", "Implement Parameters", 4, "ToolsViewWidgets::ConfigMachineImplParam",
     "...Machine->Implement Parameters"},
    {"m_calibrationsButton", "Calibrations", 5, "ToolsViewWidgets::ConfigMachineCalibrations",
     "Settings->Machine->Calibrations"},
    {"m_alarmsButton", "Alarms", 6, "ToolsViewWidgets::ConfigMachineAlarms", "Settings->Machine->Alarms"},
};

}  // namespace

TEST_CASE("machine menu: each button opens its page, whose back returns and whose home leaves once")
{
    MachineMenu m;
    CHECK(pathwayText(m.top()) == "Settings->Machine");
    CHECK(m.stack()->count() == 7);
    CHECK(qobject_cast<ToolsViewConfigFilling2*>(m.stack()->widget(2)) == m.menu->fillingPage2());
    CHECK(buttonBarButton(m.top(), ToolsViewButtonBar::Back)->isVisible());
    CHECK_FALSE(buttonBarButton(m.top(), ToolsViewButtonBar::Next)->isVisible());
    CHECK(buttonBarButton(m.top(), ToolsViewButtonBar::Home)->isVisible());
    QSignalSpy home(m.menu, &ToolsViewConfigMachine::ShowHomeView);
    QSignalSpy back(m.menu, &ToolsViewConfigMachine::goBack);

    for (const ButtonCase& c : kButtons) {
        CAPTURE(c.name);
        KestromPushButton* button = m.button(m.top(), c.name);
        CHECK(button->text() == c.text);
        CHECK(button->id() == c.index);
        CHECK(button->minimumSize() == GuiGeometry::menuButtonSize());
        tapButton(button);
        REQUIRE(m.stack()->currentIndex() == c.index);
        CHECK(m.current()->metaObject()->className() == QString(c.pageClass));
        CHECK(pathwayText(barOwner(m.current())) == c.pathway);
        // The menu's own pages all have their way home.
        CHECK(buttonBarButton(barOwner(m.current()), ToolsViewButtonBar::Home)->isVisible());

        tapButtonBar(barOwner(m.current()), ToolsViewButtonBar::Back);
        CHECK(m.stack()->currentIndex() == 0);
        tapButton(button);
        tapButtonBar(barOwner(m.current()), ToolsViewButtonBar::Home);
        CHECK(m.stack()->currentIndex() == 0);
        REQUIRE(home.count() == 1);
        CHECK(home.takeFirst().at(0).toInt() == ToolsViewButtonBar::Home);
    }
    CHECK(back.isEmpty());

    // The menu's own bar: back goes up a level, home leaves, next (hidden) does nothing.
    tapButtonBar(m.top(), ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
    m.menu->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(back.count() == 1);
    CHECK(home.isEmpty());
    CHECK(m.stack()->currentIndex() == 0);
    tapButtonBar(m.top(), ToolsViewButtonBar::Home);
    CHECK(home.count() == 1);
    CHECK(m.stack()->currentIndex() == 0);
}

TEST_CASE("machine menu: next on the filling pair toggles it; next elsewhere does nothing")
{
    MachineMenu m;
    // The filling page offers its second page with a fill-flow sensor.
    m.f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    tapButton(m.button(m.top(), "m_fillingButton"));
    REQUIRE(m.current() == m.menu->fillingPage());
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    REQUIRE(m.current() == m.menu->fillingPage2());
    CHECK(pathwayText(m.current()) == "Settings->Machine->Filling (2)");
    CHECK(buttonBarButton(m.current(), ToolsViewButtonBar::Home)->isVisible());
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    CHECK(m.current() == m.menu->fillingPage());
    // Back and home from the second page as from the first.
    tapButtonBar(m.current(), ToolsViewButtonBar::Next);
    tapButtonBar(m.current(), ToolsViewButtonBar::Back);
    CHECK(m.stack()->currentIndex() == 0);

    // The other pages' and menus' next (and a stray request) change nothing.
    m.menu->showNextPage();
    CHECK(m.stack()->currentIndex() == 0);
    for (const ButtonCase& c : kButtons) {
        if (c.index == 1)
            continue;
        CAPTURE(c.name);
        tapButton(m.button(m.top(), c.name));
        m.menu->showNextPage();
        CHECK(m.stack()->currentIndex() == c.index);
        tapButtonBar(barOwner(m.current()), ToolsViewButtonBar::Back);
    }
}

TEST_CASE("machine menu: home from the span run page leaves every menu on the way on its top page")
{
    MachineMenu m;
    ConfigMachineCalibrations* calibrations = m.menu->calibrationsMenu();
    ConfigMachineCalPressure* pressure = calibrations->pressureMenu();
    QSignalSpy pressureHome(pressure, &ConfigMachineCalPressure::ShowHomeView);
    QSignalSpy calibrationsHome(calibrations, &ConfigMachineCalibrations::ShowHomeView);
    QSignalSpy machineHome(m.menu, &ToolsViewConfigMachine::ShowHomeView);

    for (int visit = 0; visit < 2; ++visit) {
        CAPTURE(visit);
        // Down by touch: machine -> calibrations -> pressure -> span settings -> span run.
        tapButton(m.button(m.top(), "m_calibrationsButton"));
        tapButton(m.button(calibrations->pageStack()->widget(0), "m_pressureSensorButton"));
        tapButton(m.button(pressure->pageStack()->widget(0), "m_maxPressureButton"));
        tapButton(m.button(pressure->spanSettingsPage(), "m_calibrateButton"));
        dismissPopups();
        REQUIRE(pressure->pageStack()->currentWidget() == pressure->spanRunPage());
        REQUIRE(calibrations->pageStack()->currentWidget() == pressure);
        REQUIRE(m.current() == calibrations);

        tapButtonBar(pressure->spanRunPage(), ToolsViewButtonBar::Home);
        CHECK(pressure->pageStack()->currentIndex() == 0);
        CHECK(calibrations->pageStack()->currentIndex() == 0);
        CHECK(m.stack()->currentIndex() == 0);
        CHECK(pressureHome.count() == 1);
        CHECK(calibrationsHome.count() == 1);
        REQUIRE(machineHome.count() == 1);
        CHECK(machineHome.takeFirst().at(0).toInt() == ToolsViewButtonBar::Home);
        pressureHome.clear();
        calibrationsHome.clear();
    }
}

namespace {

// Marks every text of the machine menu's own context, so a shown text tells
// whether the menu set it again.
class MarkedMenuTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "ToolsViewWidgets::ToolsViewConfigMachine")
            return QString();
        return QStringLiteral("\u00ab") + QString::fromUtf8(source) + QStringLiteral("\u00bb");
    }
    bool isEmpty() const override { return false; }
};

QString marked(const char* text)
{
    return QStringLiteral("\u00ab") + QString::fromLatin1(text) + QStringLiteral("\u00bb");
}

}  // namespace

TEST_CASE("machine menu: a language change sets the pathway and the buttons again, shown or hidden")
{
    for (bool shown : {true, false}) {
        CAPTURE(shown);
        MachineMenu m;
        if (!shown)
            tapButton(m.button(m.top(), "m_alarmsButton"));
        MarkedMenuTexts language;
        QCoreApplication::installTranslator(&language);
        pumpEvents();
        CHECK(pathwayText(m.top()) == marked("Settings") + "->" + marked("Machine"));
        for (const ButtonCase& c : kButtons)
            CHECK(m.button(m.top(), c.name)->text().replace('\n', ' ') == marked(c.text));
        QCoreApplication::removeTranslator(&language);
        pumpEvents();
        CHECK(pathwayText(m.top()) == "Settings->Machine");
        for (const ButtonCase& c : kButtons)
            CHECK(m.button(m.top(), c.name)->text() == c.text);
    }
}

TEST_CASE("machine menu at 480x272")
{
    MachineMenu m;
    CHECK_SCREEN(m.f.screen(), "machine_menu");
}
