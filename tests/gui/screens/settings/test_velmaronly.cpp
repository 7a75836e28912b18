// The maker-service page over the real datastore: the switch count with its
// keypad limits, the 13-section flag that needs nine switches, the switch
// rows, the fixed English texts and the event that rewrites the core's
// section-switch file.
#include "settingpage_drive.h"
#include "configvelmaronly.h"
#include "eventids.h"
#include "screen_check.h"
#include "screen_fixture.h"

#include <QLocale>
#include <QSignalSpy>

using ToolsViewWidgets::ConfigVelmarOnly;

namespace {

struct Maker : ScreenFixture {
    Maker()
    {
        setItem(DS_FLOW_PRINTOUT_ENABLED, 0);
        setItem(DS_CAN_FLOW_MESSAGES_ENABLED, 0);
        setItem(DS_PHYS_SECTION_SWITCHES, 9);
        setItem(DS_HW_13_SECTIONS, 1);
        makerPage = new ConfigVelmarOnly(page());
        place(makerPage, QPoint(0, 0), QSize(480, 272));
        takePostedEvents();
    }
    KestromPushButton* value(int row) const { return valueButton(makerPage, row); }
    void enterSwitches(const char* typed)
    {
        tapButton(value(ConfigVelmarOnly::SwitchesRow));
        REQUIRE(shownKeypad() != nullptr);
        keypadType(shownKeypad(), typed);
        keypadAccept(shownKeypad());
    }

    ConfigVelmarOnly* makerPage;
};

}  // namespace

TEST_CASE("maker-service page: fixed English texts, values and the screenshot")
{
    Maker f;
    CHECK(pathwayText(f.makerPage) == "Settings->Velmar Only menu");
    const char* const labels[] = {"Comport printout", "CAN message emit", "Physical sec. switches",
                                  "HW support 13 sections"};
    const char* const values[] = {"No", "No", "9", "Yes"};
    for (int row = 0; row < ConfigVelmarOnly::RowCount; ++row) {
        CAPTURE(row);
        CHECK(labelButton(f.makerPage, row)->text() == labels[row]);
        CHECK(f.value(row)->text() == values[row]);
    }
    CHECK(f.value(ConfigVelmarOnly::ThirteenSectionsRow)->isEnabled());
    CHECK_SCREEN(f.screen(), "velmaronly");

    // Never translated: a language change leaves the English texts and reads the values again.
    f.setItem(DS_FLOW_PRINTOUT_ENABLED, 1);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(f.makerPage, &change);
    CHECK(labelButton(f.makerPage, 0)->text() == "Comport printout");
    CHECK(f.value(ConfigVelmarOnly::PrintoutRow)->text() == "Yes");
    pinLocaleAndTimeZone();
}

TEST_CASE("maker-service page: the number of physical switches and the 13-section flag")
{
    struct Case {
        const char* typed;
        uint32_t switches;
        uint32_t thirteen;  // flag afterwards, from 1 before
        bool enabled;       // the 13-section button
    };
    const Case cases[] = {
        {"8", 8, 0, false},
        {"3", 3, 0, false},
        {"9", 9, 1, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        Maker f;
        f.enterSwitches(c.typed);
        CHECK(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) == c.switches);
        CHECK(datastoreGetBool(DS_HW_13_SECTIONS) == c.thirteen);
        CHECK(f.value(ConfigVelmarOnly::SwitchesRow)->text() == QString::number(c.switches));
        CHECK(f.value(ConfigVelmarOnly::ThirteenSectionsRow)->text() == (c.thirteen ? "Yes" : "No"));
        CHECK(f.value(ConfigVelmarOnly::ThirteenSectionsRow)->isEnabled() == c.enabled);
        CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_PHYS_SWITCHES_CHANGED, 0}});
    }
}

TEST_CASE("maker-service page: the keypad refuses fewer than 3 and more than 9 switches")
{
    Maker f;
    tapButton(f.value(ConfigVelmarOnly::SwitchesRow));
    REQUIRE(shownKeypad() != nullptr);
    CHECK(keypadTitled(shownKeypad(), "Physical section switches"));
    CHECK_SCREEN(f.screen(), "velmaronly_keypad");
    for (const char* typed : {"10", "2"}) {
        CAPTURE(typed);
        keypadType(shownKeypad(), typed);
        keypadAccept(shownKeypad());
        CHECK(popupTexts(currentPopup()).join(" ").contains("Invalid value!"));
        tapPopupButton(currentPopup(), "OK");
    }
    CHECK(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) == 9);
    CHECK(takePostedEvents().empty());
}

TEST_CASE("maker-service page: switch rows toggle; only the 13-section flag tells the core")
{
    struct Case {
        int row;
        uint32_t item;
        std::vector<PostedEvent> posted;
    };
    const Case cases[] = {
        {ConfigVelmarOnly::PrintoutRow, DS_FLOW_PRINTOUT_ENABLED, {}},
        {ConfigVelmarOnly::CanMessageRow, DS_CAN_FLOW_MESSAGES_ENABLED, {}},
        {ConfigVelmarOnly::ThirteenSectionsRow, DS_HW_13_SECTIONS, {{EV_PHYS_SWITCHES_CHANGED, 0}}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.row);
        Maker f;
        const bool before = datastoreGetBool(c.item);
        tapButton(f.value(c.row));
        CHECK(datastoreGetBool(c.item) == !before);
        CHECK(f.value(c.row)->text() == (before ? "No" : "Yes"));
        CHECK(takePostedEvents() == c.posted);
        tapButton(f.value(c.row));
        CHECK(datastoreGetBool(c.item) == before);
        takePostedEvents();
    }
    // Any other row changes nothing.
    Maker f;
    f.makerPage->togglePresenceState(ConfigVelmarOnly::SwitchesRow);
    CHECK(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) == 9);
    CHECK(takePostedEvents().empty());
}

TEST_CASE("maker-service page: help titles differ from the labels; the button bar")
{
    Maker f;
    const HelpCase cases[] = {
        {0, "Comport printout", "regulation and flow specific information is send out on the console comport."},
        {1, "CAN flow message emit", "the Quorin will emit flow specific CAN messages."},
        {2, "No of physical switches", "the number of physical section switches mounted on the HW."},
        {3, "HW supports 13 sections", "'Fill flow input/output' or 'Tank level input'."},
    };
    for (const HelpCase& c : cases) {
        CAPTURE(c.id);
        tapButton(labelButton(f.makerPage, c.id));
        checkShownHelp(c);
    }

    QSignalSpy back(f.makerPage, &ConfigVelmarOnly::goBack);
    QSignalSpy home(f.makerPage, &ConfigVelmarOnly::ShowHomeView);
    QSignalSpy next(f.makerPage, &ConfigVelmarOnly::nextPage);
    CHECK_FALSE(buttonBarButton(f.makerPage, ToolsViewWidgets::ToolsViewButtonBar::Next)->isVisible());
    f.makerPage->handleButtonBarPressed(ToolsViewWidgets::ToolsViewButtonBar::Next);
    tapButtonBar(f.makerPage, ToolsViewWidgets::ToolsViewButtonBar::Back);
    tapButtonBar(f.makerPage, ToolsViewWidgets::ToolsViewButtonBar::Home);
    CHECK(back.size() == 1);
    REQUIRE(home.size() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
    CHECK(next.empty());
}
