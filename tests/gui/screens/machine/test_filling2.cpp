// Automatic filling page on the real datastore: its commands at the
// dispatcher, its posted events, page modes and progress.
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpagekit.h"
#include "toolsviewconfigfilling2.h"

#include <doctest/doctest.h>

#include <QProgressBar>
#include <QStackedWidget>

using ToolsViewWidgets::ToolsViewButtonBar;
using ToolsViewWidgets::ToolsViewConfigFilling2;

namespace {

// The page in a stack of its own, as its owners hold it: leaving it is a
// switch to the other page.
struct Filling2Page : ScreenFixture {
    explicit Filling2Page(bool menuInstance = true, uint32_t system = UNIT_SYSTEM_METRIC) : ScreenFixture(system)
    {
        setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
        setItem(DS_TANK_MAX_CONTENT, 3000);
        setItem(DS_DESIRED_CONTENT, 2500);
        setItem(DS_ACTUAL_CONTENT, 800);
        setItem(DS_PAGE_MODE, 1);
        stack = new QStackedWidget;
        other = new QWidget;
        stack->addWidget(other);
        page = new ToolsViewConfigFilling2(nullptr, menuInstance);
        stack->addWidget(page);
        place(stack, QPoint(0, 0), QSize(480, 272));
        stack->setCurrentWidget(page);
        pumpEvents();
        takeProcessCalls();
        takePostedEvents();
    }
    QWidget* named(const char* name) const { return page->findChild<QWidget*>(QString::fromLatin1(name)); }
    KestromPushButton* fillingButton() const { return page->findChild<KestromPushButton*>("m_fillingButton"); }
    QStackedWidget* stack;
    QWidget* other;
    ToolsViewConfigFilling2* page;
};

}  // namespace

TEST_CASE("automatic filling: pathways, page mode 3 while shown, home only in the settings menu")
{
    for (bool menu : {true, false}) {
        CAPTURE(menu);
        Filling2Page f(menu);
        CHECK(f.page->kit()->pathwayLabel()->text() ==
              (menu ? "Settings->Machine->Filling (2)" : "Operation->Filling (2)"));
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 3);
        CHECK(buttonBarButton(f.page, ToolsViewButtonBar::Next)->isVisible());
        CHECK(buttonBarButton(f.page, ToolsViewButtonBar::Home)->isVisible() == menu);

        // Leaving ends a running filling, closes it, and hands the page mode back.
        f.stack->setCurrentWidget(f.other);
        // Then the page-mode item's own change event, from the write after them.
        const std::vector<PostedEvent> posted = takePostedEvents();
        REQUIRE(posted.size() == 3);
        CHECK(posted.at(0) == PostedEvent{EV_TANK_FILLING_STOP, 0});
        CHECK(posted.at(1) == PostedEvent{EV_TANK_FILLING_CLOSE, 0});
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == (menu ? 4 : 0));
    }
}

TEST_CASE("automatic filling: the button starts whenever no filling runs, and stops a running one")
{
    struct Case {
        const char* name;
        bool activeBeforeSecond;
        uint32_t second;
    };
    const Case cases[] = {
        {"the core reports filling: the second press stops", true, EV_TANK_FILLING_STOP},
        {"the core never reports filling: the second press starts again", false, EV_TANK_FILLING_START},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Filling2Page f;
        tapButton(f.fillingButton());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_TANK_FILLING_START, 0}});
        f.setItem(DS_FILLING_ACTIVE, c.activeBeforeSecond);
        tapButton(f.fillingButton());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{c.second, 0}});
    }
    SUBCASE("after a filling that ended by itself the next press starts")
    {
        Filling2Page f;
        tapButton(f.fillingButton());  // start, toggle on
        f.setItem(DS_FILLING_ACTIVE, 1);
        f.tick100ms();
        f.setItem(DS_FILLING_ACTIVE, 0);  // done
        tapButton(f.fillingButton());  // toggle off, but nothing runs
        tapButton(f.fillingButton());
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{
                                        {EV_TANK_FILLING_START, 0}, {EV_TANK_FILLING_START, 0}, {EV_TANK_FILLING_START, 0}});
    }
}

TEST_CASE("automatic filling: the progress row shows only while filling and follows the core within 100 ms")
{
    Filling2Page f;
    auto* bar = f.page->findChild<QProgressBar*>("m_fillProgress");
    REQUIRE(bar != nullptr);
    QWidget* start = f.named("m_lblFillStart");
    QWidget* full = f.named("m_lblFillFull");
    CHECK_FALSE(bar->isVisible());
    CHECK_FALSE(start->isVisible());

    f.setItem(DS_FILLING_ACTIVE, 1);
    f.setItem(DS_FILL_PROGRESS, 40);
    f.setItem(DS_ACTUAL_CONTENT, 1900);
    f.tick100ms();
    CHECK(bar->isVisible());
    CHECK(start->isVisible());
    CHECK(full->isVisible());
    CHECK(bar->value() == 40);
    CHECK(f.page->findChild<QLabel*>("m_lblTankContentValue")->text() == "1,900 l");
    CHECK_SCREEN(f.screen(), "filling2_filling_metric");

    f.setItem(DS_FILL_PROGRESS, 75);
    f.tick100ms();
    CHECK(bar->value() == 75);

    f.setItem(DS_FILLING_ACTIVE, 0);
    f.tick100ms();
    CHECK_FALSE(bar->isVisible());
    CHECK_FALSE(full->isVisible());
}

TEST_CASE("automatic filling: desired content up to the full tank")
{
    struct Case {
        uint32_t system;
        const char* title;
        const char* typed;
        uint32_t sent;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, "Desired Content (l)", "2000", 2000},
        {UNIT_SYSTEM_US, "Desired Content (gal)", "500", 1893},
    };
    for (const Case& c : cases) {
        CAPTURE(c.title);
        Filling2Page f(true, c.system);
        tapButton(f.page->findChild<KestromPushButton*>("m_tankContentValue"));
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        CHECK(keypad->findChild<QLabel*>()->text() == c.title);
        keypadType(keypad, c.typed);
        keypadAccept(keypad);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_DESIRED_CONTENT, c.sent}});
    }
    SUBCASE("more than the full tank is refused")
    {
        Filling2Page f;
        tapButton(f.page->findChild<KestromPushButton*>("m_tankContentValue"));
        keypadType(shownKeypad(), "3001");
        keypadAccept(shownKeypad());
        CHECK(takeProcessCalls().empty());
        tapPopupButton(currentPopup(), "OK");
        keypadCancel(shownKeypad());
    }
}

TEST_CASE("automatic filling: help")
{
    Filling2Page f;
    f.page->showHelp(1);
    pumpEvents();
    CHECK(popupTexts(currentPopup()).join("|").contains("Range is 0 through 3,000 liter."));
    tap(currentPopup());
    pumpEvents();
    f.page->showHelp(5);
    pumpEvents();
    REQUIRE(currentPopup() != nullptr);
    CHECK(popupTexts(currentPopup()).isEmpty());
    tap(currentPopup());
    pumpEvents();
}

TEST_CASE("automatic filling: screenshots")
{
    SUBCASE("menu instance, metric")
    {
        Filling2Page f(true);
        CHECK_SCREEN(f.screen(), "filling2_menu_metric");
    }
    SUBCASE("working-screen instance, US")
    {
        Filling2Page f(false, UNIT_SYSTEM_US);
        CHECK_SCREEN(f.screen(), "filling2_working_us");
    }
    SUBCASE("desired-content keypad open")
    {
        Filling2Page f(false);
        tapButton(f.page->findChild<KestromPushButton*>("m_tankContentValue"));
        CHECK_SCREEN(f.screen(), "filling2_keypad_metric");
    }
}
