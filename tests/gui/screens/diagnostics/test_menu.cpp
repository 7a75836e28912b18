// The diagnostics menu with the core in the process: its buttons and pages,
// next through the test pages, home from any page back to the top page, and
// the two log saves with exactly one result each, only for a save asked for.
#include "configdiagnostics.h"
#include "cpopupmessage.h"
#include "diagnostics_drive.h"
#include "eventids.h"
#include "greyfellcommon.h"
#include "screen_check.h"
#include "screen_drive.h"

#include <QDir>
#include <QSignalSpy>

using namespace ToolsViewWidgets;

namespace {

// The USB stick of the program's stand-in board: a directory at the mount path.
struct UsbStick {
    UsbStick() { REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath())); }
    ~UsbStick() { QDir(GreyfellCommon::usbRootPath()).removeRecursively(); }
};

ConfigDiagnostics* placedMenu(ScreenFixture& f)
{
    auto* menu = new ConfigDiagnostics;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    return menu;
}

}  // namespace

TEST_CASE("diagnostics menu: buttons open their pages, next moves through the test pages, home returns to the top")
{
    BoardFixture f;
    QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    ConfigDiagnostics* menu = placedMenu(f);
    QStackedWidget* stack = menu->pageStack();
    QWidget* top = stack->widget(0);
    CHECK(pathwayOf(top) == "Settings->Diagnostics");
    CHECK_FALSE(buttonBarButton(top, ToolsViewButtonBar::Next)->isVisible());
    CHECK_FALSE(named<KestromPushButton>(top, "m_saveAlarmLogButton")->isEnabled());
    CHECK_FALSE(named<KestromPushButton>(top, "m_savePressureLogButton")->isEnabled());
    CHECK_SCREEN(f.screen(), "diagnostics_menu_no_stick");

    struct Case {
        const char* button;
        const char* text;
        const char* page;
    };
    const Case cases[] = {
        {"m_testInputsButton", "Test Inputs", "ConfigDiagnosticsTestInputs"},
        {"m_testOutputsButton", "Test Outputs", "ConfigDiagnosticsTestOutputs"},
        {"m_testSectrixButton", "Test Sectrix", "ConfigDiagnosticsTestAbsc"},
        {"m_pressureLogButton", "Pressure Log", "DataLogPressure"},
        {"m_alarmLogButton", "Alarm Log", "DataLogAlarms"},
    };
    QSignalSpy home(menu, SIGNAL(ShowHomeView(int)));
    for (const Case& c : cases) {
        CAPTURE(c.button);
        CHECK(buttonText(top, c.button) == c.text);
        tapButton(named<KestromPushButton>(top, c.button));
        QWidget* page = stack->currentWidget();
        CHECK(page->metaObject()->className() == QString("ToolsViewWidgets::") + c.page);
        // Home leaves the stack on the top page before the parent hears of it.
        QObject::connect(menu, &ConfigDiagnostics::ShowHomeView, menu,
                         [stack] { CHECK(stack->currentIndex() == 0); });
        tapButtonBar(page, ToolsViewButtonBar::Home);
        CHECK(stack->currentIndex() == 0);
        QObject::disconnect(menu, &ConfigDiagnostics::ShowHomeView, menu, nullptr);
    }
    CHECK(home.count() == 5);
    CHECK(pageMode() == 4);

    // Inputs 1 -> 2 -> 3 -> 1, outputs 1 <-> 2; back returns to the top page.
    const int inputs[] = {1, 2, 3, 1};
    stack->setCurrentIndex(1);
    pumpEvents();
    for (int i = 1; i < 4; ++i) {
        tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Next);
        CHECK(stack->currentIndex() == inputs[i]);
        CHECK(pageMode() == 1);
    }
    tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Back);
    CHECK(stack->currentIndex() == 0);
    CHECK(pageMode() == 4);
    tapButton(named<KestromPushButton>(top, "m_testOutputsButton"));
    tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Next);
    CHECK(stack->currentIndex() == 5);
    tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Next);
    CHECK(stack->currentIndex() == 4);
    tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Back);
    CHECK(stack->currentIndex() == 0);

    QSignalSpy back(menu, SIGNAL(goBack()));
    tapButtonBar(top, ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
}

TEST_CASE("diagnostics menu: the log saves post their request and show one result each, only when asked for")
{
    BoardFixture f;
    UsbStick stick;
    ConfigDiagnostics* menu = placedMenu(f);
    QWidget* top = menu->pageStack()->widget(0);
    CHECK_SCREEN(f.screen(), "diagnostics_menu_stick");

    struct Case {
        const char* button;
        uint32_t request;
        bool ok;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {"m_saveAlarmLogButton", EV_EXPORT_ALARM_LOG, true, "Log Data Saved",
         "The log data has been saved on the USB drive."},
        {"m_saveAlarmLogButton", EV_EXPORT_ALARM_LOG, false, "Log Data Not Saved",
         "An error occurred while saving the log data."},
        {"m_savePressureLogButton", EV_EXPORT_PRESSURE_LOG, true, "Pressure Log Data Saved",
         "The pressure log data has been saved on the USB drive."},
        {"m_savePressureLogButton", EV_EXPORT_PRESSURE_LOG, false, "Pressure Log Data Not Saved",
         "An error occurred while saving the pressure log data."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.title);
        const auto answer = [&](bool ok) {
            if (c.request == EV_EXPORT_ALARM_LOG)
                f.hub()->eventLogDataExported(ok);
            else
                f.hub()->eventPressureLogExported(ok);
            pumpEvents();
        };
        // An answer to a save started elsewhere shows nothing.
        answer(true);
        CHECK(currentPopup() == nullptr);

        // The menu's request goes to the core, which answers on its own; the
        // test answers as well, so a result is sure to come.
        auto* save = named<KestromPushButton>(top, c.button);
        REQUIRE(save->isEnabled());
        tapButton(save);
        const std::vector<PostedEvent> posted = onlyEvents(takePostedEvents(), {c.request});
        CHECK(posted == std::vector<PostedEvent>{{c.request, 0}});
        COverlayInterface* shown = currentPopup();
        if (shown == nullptr) {
            answer(c.ok);
            auto* message = qobject_cast<CPopupMessage*>(currentPopup());
            REQUIRE(message != nullptr);
            CHECK(popupTexts(message) == QStringList{c.title, c.text});
            shown = message;
        }
        // One result only: later answers show nothing.
        answer(c.ok);
        f.clock.advance(9100);
        CHECK(currentPopup() == nullptr);
        answer(!c.ok);
        CHECK(currentPopup() == nullptr);
    }
}
