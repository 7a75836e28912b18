// Filling page 1 on the real datastore, its commands seen at the dispatcher.
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpagekit.h"
#include "toolsviewconfigfilling.h"

#include <doctest/doctest.h>

using ToolsViewWidgets::ToolsViewButtonBar;
using ToolsViewWidgets::ToolsViewConfigFilling;

namespace {

struct FillingPage : ScreenFixture {
    explicit FillingPage(bool menuInstance = true, uint32_t system = UNIT_SYSTEM_METRIC,
                         bool tankSensor = false, bool fillFlowSensor = false)
        : ScreenFixture(system)
    {
        setItem(DS_TANK_SENSOR_PRESENT, tankSensor);
        setItem(DS_FILL_FLOW_SENSOR_PRESENT, fillFlowSensor);
        setItem(DS_TANK_MAX_CONTENT, 3000);
        setItem(DS_ACTUAL_CONTENT, 1200);
        setItem(DS_DENSITY_CORRECTION, 1320);
        setItem(DS_DENSITY_FACTOR, 1000);
        setItem(DS_TARGET_RATE, 1500);
        page = new ToolsViewConfigFilling(nullptr, menuInstance);
        place(page, QPoint(0, 0), QSize(480, 272));
        takeProcessCalls();
    }
    KestromPushButton* button(const char* name) const
    {
        return page->findChild<KestromPushButton*>(QString::fromLatin1(name));
    }
    KestromPushButton* labelButton(int id) const
    {
        for (KestromPushButton* b : page->findChildren<KestromPushButton*>())
            if (b->property("transparent").toBool() && b->id() == id)
                return b;
        return nullptr;
    }
    KestromPushButton* fullTankButton() const
    {
        for (KestromPushButton* b : page->findChildren<KestromPushButton*>())
            if (b->text() == "Full Tank" && !b->property("transparent").toBool())
                return b;
        return nullptr;
    }
    ToolsViewConfigFilling* page;
};

}  // namespace

TEST_CASE("filling page: the sensors decide Full Tank, the content entry and the way to automatic filling")
{
    struct Case {
        const char* name;
        bool tankSensor;
        bool fillFlowSensor;
        bool fullTank;
        bool contentEditable;
        bool next;
    };
    const Case cases[] = {
        {"neither", false, false, true, true, false},
        {"fill-flow only", false, true, false, true, true},
        {"tank sensor", true, false, false, false, true},
        {"both", true, true, false, false, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        FillingPage f(true, UNIT_SYSTEM_METRIC, c.tankSensor, c.fillFlowSensor);
        REQUIRE(f.fullTankButton() != nullptr);
        CHECK(f.fullTankButton()->isVisible() == c.fullTank);
        CHECK(f.labelButton(1)->isVisible() == c.fullTank);
        CHECK(f.button("m_tankContentValue")->isEnabled() == c.contentEditable);
        CHECK(buttonBarButton(f.page, ToolsViewButtonBar::Next)->isVisible() == c.next);
        CHECK(buttonBarButton(f.page, ToolsViewButtonBar::Back)->isVisible());
    }
}

TEST_CASE("filling page: pathways, and home only in the settings menu")
{
    for (bool menu : {true, false}) {
        CAPTURE(menu);
        FillingPage f(menu);
        CHECK(f.page->kit()->pathwayLabel()->text() ==
              (menu ? "Settings->Machine->Filling (1)" : "Operation->Filling (1)"));
        CHECK(buttonBarButton(f.page, ToolsViewButtonBar::Home)->isVisible() == menu);
    }
}

TEST_CASE("filling page: tank content by hand and reloaded to the full tank")
{
    FillingPage f;
    CHECK(f.button("m_tankContentValue")->text() == "1,200 l");

    tapButton(f.fullTankButton());
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_TANK_CONTENT, 3000}});
    CHECK(datastoreGetUint16(DS_ACTUAL_CONTENT) == 3000);

    tapButton(f.button("m_tankContentValue"));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    CHECK(keypad->findChild<QLabel*>()->text() == "Actual Content (l)");
    keypadType(keypad, "0");
    keypadAccept(keypad);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_TANK_CONTENT, 0}});
    CHECK(f.button("m_tankContentValue")->text() == "0 l");

    SUBCASE("more than the full tank is refused")
    {
        tapButton(f.button("m_tankContentValue"));
        keypad = shownKeypad();
        keypadType(keypad, "3001");
        keypadAccept(keypad);
        CHECK(takeProcessCalls().empty());
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
        tapPopupButton(currentPopup(), "OK");
    }
    SUBCASE("US gallons: typed gallons are stored as litres")
    {
        REQUIRE(unitTableStart(UNIT_SYSTEM_US));
        tapButton(f.button("m_tankContentValue"));
        keypad = shownKeypad();
        CHECK(keypad->findChild<QLabel*>()->text() == "Actual Content (gal)");
        keypadType(keypad, "100");
        keypadAccept(keypad);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_TANK_CONTENT, 379}});
    }
}

TEST_CASE("filling page: density type and factor")
{
    FillingPage f;
    f.setItem(DS_DENSITY_TYPE, 1);
    tapButton(f.button("m_densityTypeSelection"));
    SUBCASE("water: density 1000, trace Off, the factor cannot be opened")
    {
        chooseGridOption(shownButtonGrid(), 0);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_DENSITY, 1000}});
        CHECK(takeDebugText() == "Density Corr = Off\r\n");
        CHECK(f.button("m_densityTypeSelection")->text() == "Water");
        KestromPushButton* factor = f.button("m_densityFactorValue");
        CHECK_FALSE(factor->isEnabled());
        f.page->editDensityFactor();
        CHECK(shownKeypad() == nullptr);
    }
    SUBCASE("fertilizer outside NH3 mode: the kept density, trace On")
    {
        chooseGridOption(shownButtonGrid(), 1);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_DENSITY, 1320}});
        CHECK(takeDebugText() == "Density Corr = On\r\n");
        CHECK(f.button("m_densityFactorValue")->isEnabled());
        CHECK(f.button("m_densityFactorValue")->text() == "1.320");
    }
    SUBCASE("fertilizer in NH3 mode sends no density")
    {
        f.setItem(DS_NH3_MODE, 1);
        chooseGridOption(shownButtonGrid(), 1);
        CHECK(takeProcessCalls().empty());
        CHECK(takeDebugText() == "Density Corr = On\r\n");
    }
}

TEST_CASE("filling page: a fertilizer's density factor is sent, kept and the rate recomputed")
{
    struct Case {
        const char* typed;
        bool fertilizer;
        uint32_t stored;
        uint16_t kept;
    };
    const Case cases[] = {
        {"1.25", true, 1250, 1250},
        // Exactly as typed: not 1000, water.
        {"1.001", true, 1001, 1001},
        {"1.15", false, 1150, 1320},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        FillingPage f;
        f.setItem(DS_DENSITY_TYPE, c.fertilizer);
        // The factor button is open only for a fertilizer; the commit itself is tested for both.
        f.page->retranslate();
        if (c.fertilizer) {
            tapButton(f.button("m_densityFactorValue"));
            NumericKeypadWidget* keypad = shownKeypad();
            REQUIRE(keypad != nullptr);
            CHECK(keypad->findChild<QLabel*>()->text() == "Density Factor");
            keypadType(keypad, c.typed);
            keypadAccept(keypad);
        } else {
            f.page->commitDensityFactor(QString::fromLatin1(c.typed).toDouble());
        }
        CHECK(takeProcessCalls() ==
              std::vector<PostedEvent>{{EV_SET_DENSITY, c.stored}, {EV_TARGET_RATE_CHANGED, 1500}});
        CHECK(datastoreGetUint16(DS_DENSITY_FACTOR) == c.stored);
        CHECK(datastoreGetUint16(DS_DENSITY_CORRECTION) == c.kept);
    }
}

TEST_CASE("filling page: help texts fill in the range and the unit")
{
    FillingPage f;
    tapButton(f.labelButton(0));
    CHECK(popupTexts(currentPopup()).join("|").contains("Range is 0 through 3,000 liter."));
    tap(currentPopup());
    pumpEvents();
    tapButton(f.labelButton(3));
    CHECK(popupTexts(currentPopup()).join("|").contains("Range is 0.800 through 2.000 kg/l."));
    tap(currentPopup());
    pumpEvents();
    f.page->showHelp(9);
    pumpEvents();
    REQUIRE(currentPopup() != nullptr);
    CHECK(popupTexts(currentPopup()).isEmpty());
    tap(currentPopup());
    pumpEvents();
    CHECK(currentPopup() == nullptr);
}

TEST_CASE("filling page: screenshots")
{
    SUBCASE("menu instance, metric")
    {
        FillingPage f(true);
        CHECK_SCREEN(f.screen(), "filling1_menu_metric");
    }
    SUBCASE("working-screen instance, US, fill-flow sensor")
    {
        FillingPage f(false, UNIT_SYSTEM_US, false, true);
        CHECK_SCREEN(f.screen(), "filling1_working_us");
    }
    SUBCASE("density grid open")
    {
        FillingPage f(true);
        tapButton(f.button("m_densityTypeSelection"));
        CHECK_SCREEN(f.screen(), "filling1_density_grid");
    }
    SUBCASE("content keypad open, US")
    {
        FillingPage f(false, UNIT_SYSTEM_US);
        tapButton(f.button("m_tankContentValue"));
        CHECK_SCREEN(f.screen(), "filling1_keypad_us");
    }
}
