// The kit's pop-ups on the console's screen, as the operator sees them over a
// page: keypad, button grid, a long help text and an alarm that comes while a
// keypad is open. Each passes the screenshot check (every text inside its
// widget, nothing outside the screen).
#include "alarmpopuplistener.h"
#include "beep.h"
#include "buttongridwidget.h"
#include "coverlaymanager.h"
#include "cpopupmessage.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "screen_check.h"
#include "screen_fixture.h"

#include <doctest/doctest.h>

namespace {

void openCentred(QWidget* popup, QWidget* page)
{
    popup->move(page->mapToGlobal(GuiGeometry::centeredPosition(popup->width(), popup->height())));
    popup->show();
    pumpEvents();
}

}  // namespace

TEST_CASE("the keypad over a page")
{
    ScreenFixture f;
    auto* keypad = new NumericKeypadWidget("Target rate l/ha", f.page());
    keypad->setValue(200);
    keypad->setRange(10, 2000, 0, "l/ha");
    openCentred(keypad, f.page());
    CHECK_SCREEN(f.screen(), "kit_keypad");

    SUBCASE("with a long title")
    {
        keypad->close();
        keypad->setTitle("Minimum regulation pressure (bar)");
        openCentred(keypad, f.page());
        CHECK(keypad->size() == GuiGeometry::popupOffset());
        CHECK_SCREEN(f.screen(), "kit_keypad_long_title");
    }
}

TEST_CASE("the button grid over a page, both of its pages")
{
    ScreenFixture f;
    auto* grid = new ButtonGridWidget(f.page());
    int id = 0;
    for (const char* text : {"Implement wheel", "CAN speed", "Simulated speed", "Radar", "GPS receiver",
                             "Tractor wheel", "Tractor radar"}) {
        auto* option = new KestromPushButton(id++, nullptr);
        option->setText(text);
        REQUIRE(grid->addButton(option));
    }
    REQUIRE(grid->layoutPage());
    grid->setHighlightedButton(2);
    openCentred(grid, f.page());
    REQUIRE(grid->pageCount() == 2);
    CHECK_SCREEN(f.screen(), "kit_grid_page1");
    tap(grid->pageButtons(1).last());
    CHECK_SCREEN(f.screen(), "kit_grid_page2");
}

TEST_CASE("a long help text over a page")
{
    ScreenFixture f;
    QString text;
    for (int line = 1; line <= 14; ++line)
        text += QString("Line %1 of the help text that explains the setting.\n").arg(line);
    CPopupMessage* help =
        CPopupMessage::showInformation("Nozzle spacing and section widths of the implement boom", text + "The end.");
    pumpEvents();
    CHECK_SCREEN(f.screen(), "kit_help_long");
    help->dismiss();
    pumpEvents();
}

TEST_CASE("an alarm that comes while the keypad is open")
{
    ScreenFixture f;
    auto* keypad = new NumericKeypadWidget("Tank content l", f.page());
    keypad->setValue(1200);
    openCentred(keypad, f.page());
    KSMPopupListener::PopupListener::instance();
    f.hub()->eventAlarmActivate(9);
    pumpEvents();
    CHECK_FALSE(keypad->isVisible());
    CHECK_SCREEN(f.screen(), "kit_alarm_over_keypad");
    f.hub()->eventAlarmDeactivate(9);
    pumpEvents();
}
