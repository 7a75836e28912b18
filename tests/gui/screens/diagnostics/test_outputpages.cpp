// The two output test pages with the core in the process on the stand-in
// board: test mode and its events on show and hide, the duty cycle, valves and
// sections as commands to the core, the fifteen-section limit, the commanded
// outputs on the board's pins, and the pages' screens.
#include "configdiagnosticstestoutputs.h"
#include "configdiagnosticstestoutputs2.h"
#include "cpopupmessage.h"
#include "diagnostics_drive.h"
#include "eventids.h"
#include "screen_check.h"
#include "screen_drive.h"

#include <QLineEdit>
#include <QSignalSpy>

using namespace ToolsViewWidgets;

namespace {

constexpr uint32_t kMasterPin = 2;
constexpr uint32_t kFillPin = 22;

uint32_t sectionPin(uint32_t section)
{
    return 2 + 2 * section;
}

struct OutputPages {
    ConfigDiagnosticsTestOutputs* one = new ConfigDiagnosticsTestOutputs;
    ConfigDiagnosticsTestOutputs2* two = new ConfigDiagnosticsTestOutputs2;
    QStackedWidget* stack;

    explicit OutputPages(ScreenFixture& f) : stack(pageStack(f, {one, two})) {}
};

QAbstractButton* keyWithText(NumericKeypadWidget* keypad, const QString& text)
{
    for (QAbstractButton* key : keypad->findChildren<QAbstractButton*>())
        if (key->text() == text)
            return key;
    return nullptr;
}

// Enters a duty on the keypad of Test Outputs (1), with the sign key for a negative one.
void enterDuty(QWidget* page, const QString& magnitude, bool negative)
{
    tapButton(named<KestromPushButton>(page, "m_liqValvePwmValue"));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, magnitude);
    if (negative)
        tapButton(keyWithText(keypad, "-/+"));
    keypadAccept(keypad);
}

std::vector<PostedEvent> sectionCalls(const std::vector<PostedEvent>& calls)
{
    return onlyEvents(calls, {EV_DIAG_SECTION_ON, EV_DIAG_SECTION_OFF});
}

}  // namespace

TEST_CASE("output pages: test mode and its begin and end events on show and hide")
{
    BoardFixture f;
    f.setItem(DS_AUTO_FILLING_ENABLED, 0);
    OutputPages pages(f);
    takePostedEvents();
    const std::vector<uint32_t> testEvents = {EV_DIAG_OUTPUT_TEST_BEGIN, EV_DIAG_OUTPUT_TEST_END};

    showIndex(pages.stack, 1);
    CHECK(pageMode() == 1);
    CHECK(onlyEvents(takePostedEvents(), testEvents) == std::vector<PostedEvent>{{EV_DIAG_OUTPUT_TEST_BEGIN, 0}});
    CHECK(pathwayOf(pages.one) == "...Settings->Diagnostics->Test Outputs (1)");
    // The fill valve only with automatic filling.
    CHECK_FALSE(named<KestromPushButton>(pages.one, "m_fillValveValue")->isVisible());
    CHECK_FALSE(rowLabel(pages.one, 2)->isVisible());

    // Next: the core leaves test mode before it enters it again.
    showIndex(pages.stack, 2);
    CHECK(onlyEvents(takePostedEvents(), testEvents) ==
          std::vector<PostedEvent>{{EV_DIAG_OUTPUT_TEST_END, 0}, {EV_DIAG_OUTPUT_TEST_BEGIN, 0}});
    CHECK(pageMode() == 1);
    CHECK(pathwayOf(pages.two) == "...Settings->Diagnostics->Test Outputs (2)");

    showIndex(pages.stack, 0);
    CHECK(onlyEvents(takePostedEvents(), testEvents) == std::vector<PostedEvent>{{EV_DIAG_OUTPUT_TEST_END, 0}});
    CHECK(pageMode() == 4);

    f.setItem(DS_AUTO_FILLING_ENABLED, 1);
    showIndex(pages.stack, 1);
    CHECK(named<KestromPushButton>(pages.one, "m_fillValveValue")->isVisible());
    CHECK(rowLabel(pages.one, 2)->isVisible());

    for (QWidget* page : {static_cast<QWidget*>(pages.one), static_cast<QWidget*>(pages.two)}) {
        showIndex(pages.stack, page == pages.one ? 1 : 2);
        QSignalSpy back(page, SIGNAL(goBack()));
        QSignalSpy next(page, SIGNAL(nextPage()));
        QSignalSpy home(page, SIGNAL(ShowHomeView(int)));
        tapButtonBar(page, ToolsViewButtonBar::Next);
        tapButtonBar(page, ToolsViewButtonBar::Back);
        tapButtonBar(page, ToolsViewButtonBar::Home);
        CHECK(next.count() == 1);
        CHECK(back.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
    }
}

TEST_CASE("output page 1: the duty cycle's entries and their effects")
{
    BoardFixture f;
    OutputPages pages(f);
    showIndex(pages.stack, 1);
    // Test mode starts with the valve at rest: no sign on a duty of 0.
    CHECK(buttonText(pages.one, "m_liqValvePwmValue") == "0%");

    struct Case {
        const char* magnitude;
        bool negative;
        uint32_t command;
        uint16_t item;
        const char* shown;
    };
    const Case cases[] = {
        {"50", true, EV_DIAG_LIQ_VALVE_PWM, 500, "-50%"},
        {"37.9", false, EV_DIAG_LIQ_VALVE_PWM_SET, 370, "37%"},
        {"100", true, EV_DIAG_LIQ_VALVE_PWM, 1000, "-100%"},
        {"0", true, EV_DIAG_LIQ_VALVE_PWM_SET, 0, "0%"},
        {"0.5", true, EV_DIAG_LIQ_VALVE_PWM, 0, "0%"},
        {"100", false, EV_DIAG_LIQ_VALVE_PWM_SET, 1000, "100%"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.magnitude);
        CAPTURE(c.negative);
        takeProcessCalls();
        enterDuty(pages.one, c.magnitude, c.negative);
        CHECK(onlyEvents(takeProcessCalls(), {EV_DIAG_LIQ_VALVE_PWM, EV_DIAG_LIQ_VALVE_PWM_SET}) ==
              std::vector<PostedEvent>{{c.command, 0}});
        CHECK(datastoreGetUint16(DS_TEST_VALVE_PWM) == c.item);
        CHECK(buttonText(pages.one, "m_liqValvePwmValue") == c.shown);
    }

    // The keypad opens on the magnitude of a negative duty.
    enterDuty(pages.one, "50", true);
    tapButton(named<KestromPushButton>(pages.one, "m_liqValvePwmValue"));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    CHECK(keypad->entry()->text() == "50");
    CHECK_SCREEN(f.screen(), "test_outputs_1_duty_keypad");
    keypadCancel(keypad);

    // Outside -100 .. 100 nothing reaches the core.
    takeProcessCalls();
    tapButton(named<KestromPushButton>(pages.one, "m_liqValvePwmValue"));
    keypad = shownKeypad();
    keypadType(keypad, "101");
    keypadAccept(keypad);
    COverlayInterface* refused = currentPopup();
    REQUIRE(refused != nullptr);
    CHECK(popupTexts(refused).join(' ').contains("Invalid value!"));
    tapPopupButton(refused, "OK");
    // The keypad comes back for another try.
    NumericKeypadWidget* again = shownKeypad();
    REQUIRE(again != nullptr);
    keypadCancel(again);
    CHECK(currentPopup() == nullptr);
    CHECK(onlyEvents(takeProcessCalls(), {EV_DIAG_LIQ_VALVE_PWM, EV_DIAG_LIQ_VALVE_PWM_SET}).empty());
    CHECK(datastoreGetUint16(DS_TEST_VALVE_PWM) == 500);
}

TEST_CASE("output page 1: master and fill valves open and close on the board while the page is up")
{
    BoardFixture f;
    f.setItem(DS_AUTO_FILLING_ENABLED, 1);
    OutputPages pages(f);
    showIndex(pages.stack, 1);
    takeProcessCalls();

    struct Case {
        const char* value;
        uint32_t command;
        uint32_t pin;
    };
    const Case cases[] = {{"m_masterValveValue", EV_DIAG_MASTER_VALVE, kMasterPin},
                          {"m_fillValveValue", EV_DIAG_FILL_VALVE, kFillPin}};
    for (const Case& c : cases) {
        CAPTURE(c.value);
        CHECK(buttonText(pages.one, c.value) == "Close");
        tapButton(named<KestromPushButton>(pages.one, c.value));
        chooseGridOption(shownButtonGrid(), 1);
        CHECK(onlyEvents(takeProcessCalls(), {c.command}) == std::vector<PostedEvent>{{c.command, 1}});
        CHECK(buttonText(pages.one, c.value) == "Open");
        CHECK(boardPins().output(c.pin) == 1);
    }
    CHECK_SCREEN(f.screen(), "test_outputs_1_valves_open");

    tapButton(named<KestromPushButton>(pages.one, "m_masterValveValue"));
    chooseGridOption(shownButtonGrid(), 0);
    CHECK(onlyEvents(takeProcessCalls(), {EV_DIAG_MASTER_VALVE}) ==
          std::vector<PostedEvent>{{EV_DIAG_MASTER_VALVE, 0}});
    CHECK(buttonText(pages.one, "m_masterValveValue") == "Close");
    CHECK(boardPins().output(kMasterPin) == 0);
    CHECK(boardPins().output(kFillPin) == 1);

    // Leaving ends test mode: the core closes both valves.
    showIndex(pages.stack, 0);
    CHECK(boardPins().output(kFillPin) == 0);
    CHECK(boardPins().output(kMasterPin) == 0);
    // The page's own states start over at the next show.
    showIndex(pages.stack, 1);
    CHECK(buttonText(pages.one, "m_fillValveValue") == "Close");
}

TEST_CASE("output page 2: single sections and all off, on the board, never past fifteen")
{
    BoardFixture f;
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);
    f.setItem(DS_PHYS_SECTION_SWITCHES, 9);
    OutputPages pages(f);
    showIndex(pages.stack, 2);
    CHECK(pages.two->sectionButtonCount() == 9);
    CHECK(buttonText(pages.two, "m_sectionNumberValue") == "1");
    CHECK(buttonText(pages.two, "m_sectionStateValue") == "Off");
    takeProcessCalls();

    tapButton(named<KestromPushButton>(pages.two, "m_sectionNumberValue"));
    ButtonGridWidget* grid = shownButtonGrid();
    REQUIRE(grid != nullptr);
    CHECK(gridOption(grid, 2)->text() == "#3\nOFF");
    chooseGridOption(grid, 2);
    CHECK(buttonText(pages.two, "m_sectionNumberValue") == "3");
    tapButton(named<KestromPushButton>(pages.two, "m_sectionStateValue"));
    chooseGridOption(shownButtonGrid(), 1);
    CHECK(sectionCalls(takeProcessCalls()) == std::vector<PostedEvent>{{EV_DIAG_SECTION_ON, 3}});
    CHECK(buttonText(pages.two, "m_sectionStateValue") == "On");
    pumpEvents();
    CHECK(boardPins().output(sectionPin(3)) == 1);
    CHECK(boardPins().output(sectionPin(2)) == 0);

    // The section grid marks what the page switched on.
    tapButton(named<KestromPushButton>(pages.two, "m_sectionNumberValue"));
    grid = shownButtonGrid();
    CHECK(gridOption(grid, 2)->text() == "#3\nON");
    CHECK(gridOption(grid, 0)->text() == "#1\nOFF");
    CHECK_SCREEN(f.screen(), "test_outputs_2_nine_sections_grid");
    chooseGridOption(grid, 2);
    CHECK_SCREEN(f.screen(), "test_outputs_2_section_on");

    tapButton(named<KestromPushButton>(pages.two, "m_allSectionsOffValue"));
    std::vector<PostedEvent> expected;
    for (uint32_t n = 1; n <= 9; ++n)
        expected.push_back({EV_DIAG_SECTION_OFF, n});
    CHECK(sectionCalls(takeProcessCalls()) == expected);
    CHECK(buttonText(pages.two, "m_sectionStateValue") == "Off");
    pumpEvents();
    CHECK(boardPins().output(sectionPin(3)) == 0);
}

TEST_CASE("output page 2: fifteen sections at most, whatever the configuration claims")
{
    BoardFixture f;
    struct Case {
        uint16_t sections;
        uint8_t switches;
        int buttons;
        uint32_t allOff;
    };
    const Case cases[] = {{15, 15, 15, 15}, {20, 20, 15, 15}, {99, 255, 15, 15}, {12, 20, 12, 15}, {9, 5, 5, 5}};
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        CAPTURE(static_cast<int>(c.switches));
        f.setItem(DS_NUMBER_OF_SECTIONS, c.sections);
        f.setItem(DS_PHYS_SECTION_SWITCHES, c.switches);
        OutputPages pages(f);
        showIndex(pages.stack, 2);
        CHECK(pages.two->sectionButtonCount() == c.buttons);
        takeProcessCalls();
        tapButton(named<KestromPushButton>(pages.two, "m_allSectionsOffValue"));
        std::vector<PostedEvent> expected;
        for (uint32_t n = 1; n <= c.allOff; ++n)
            expected.push_back({EV_DIAG_SECTION_OFF, n});
        CHECK(sectionCalls(takeProcessCalls()) == expected);

        // The last section offered can be switched; the grid pages through all of them.
        tapButton(named<KestromPushButton>(pages.two, "m_sectionNumberValue"));
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        CHECK(gridOption(grid, c.buttons) == nullptr);
        chooseGridOption(grid, c.buttons - 1);
        tapButton(named<KestromPushButton>(pages.two, "m_sectionStateValue"));
        chooseGridOption(shownButtonGrid(), 1);
        CHECK(sectionCalls(takeProcessCalls()) ==
              std::vector<PostedEvent>{{EV_DIAG_SECTION_ON, static_cast<uint32_t>(c.buttons)}});
        if (c.buttons == 15) {
            tapButton(named<KestromPushButton>(pages.two, "m_sectionNumberValue"));
            CHECK_SCREEN(f.screen(), "test_outputs_2_fifteen_sections_grid");
            chooseGridOption(shownButtonGrid(), 0);
        }
        showIndex(pages.stack, 0);
        delete pages.stack;
    }
}

TEST_CASE("output pages: each label shows its help")
{
    BoardFixture f;
    f.setItem(DS_AUTO_FILLING_ENABLED, 1);
    OutputPages pages(f);
    struct Case {
        int index;
        QWidget* page;
        int row;
        QString title;
        QString text;
    };
    const Case cases[] = {
        {1, pages.one, 0, "Liquid Valve PWM Duty Cycle",
         "Value is used to test the regulation valve at different percentages of duty cycle. 100% equals full "
         "speed. Range is -100% through 100%."},
        {1, pages.one, 2, "Fill Valve", "Select if the Fill Valve is open or closed."},
        {2, pages.two, 0, "Section Number",
         "Selects the section number. Sections are numbered from left to right while facing in the machine's "
         "forward direction."},
        {2, pages.two, 2, "All Sections Off", "Sets all section valves to \"Off\"."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.title.toStdString());
        showIndex(pages.stack, c.index);
        tapButton(rowLabel(c.page, c.row));
        auto* popup = qobject_cast<CPopupMessage*>(currentPopup());
        REQUIRE(popup != nullptr);
        CHECK(popupTexts(popup) == QStringList{c.title, c.text});
        tap(popup);
        pumpEvents();
    }
    showIndex(pages.stack, 1);
    CHECK_SCREEN(f.screen(), "test_outputs_1");
}
