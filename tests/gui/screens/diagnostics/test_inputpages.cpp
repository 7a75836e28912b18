// The three input test pages over the real datastore and the core on the
// stand-in board: titles, the core's test mode while they are up, the pulse counts' reset, the value formats, the
// fill-flow row, help texts and their screens.
#include "configdiagnosticstestinputs.h"
#include "configdiagnosticstestinputs2.h"
#include "configdiagnosticstestinputs3.h"
#include "cpopupmessage.h"
#include "diagnosticstexts.h"
#include "diagnostics_drive.h"
#include "eventids.h"
#include "pulsinput.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "test_wait.h"

#include <QSignalSpy>

using namespace ToolsViewWidgets;

namespace {

struct InputPages {
    ConfigDiagnosticsTestInputs* one = new ConfigDiagnosticsTestInputs;
    ConfigDiagnosticsTestInputs2* two = new ConfigDiagnosticsTestInputs2;
    ConfigDiagnosticsTestInputs3* three = new ConfigDiagnosticsTestInputs3;
    QStackedWidget* stack;

    explicit InputPages(ScreenFixture& f) : stack(pageStack(f, {one, two, three})) {}
};

}  // namespace

TEST_CASE("input pages: titles, labels without pictures, and the bar's three buttons")
{
    BoardFixture f;
    InputPages pages(f);
    struct Case {
        QWidget* page;
        const char* title;
        QStringList labels;
    };
    const Case cases[] = {
        {pages.one, "...Settings->Diagnostics->Test Inputs (1)",
         {"Implement Wheel Sensor", "Tractor Wheel Sensor", "Supply Voltage", "Flow Sensor"}},
        {pages.two, "...Settings->Diagnostics->Test Inputs (2)",
         {"Fill Flow Sensor", "Liquid Pressure Sensor", "Tank Level Sensor", "Remote Master Signal"}},
        {pages.three, "...Settings->Diagnostics->Test Inputs (3)", {"Master Switch", "Section Switches"}},
    };
    for (int i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        CAPTURE(c.title);
        showIndex(pages.stack, i + 1);
        CHECK(pathwayOf(c.page) == c.title);
        for (int row = 0; row < c.labels.size(); ++row) {
            KestromPushButton* label = rowLabel(c.page, row);
            REQUIRE(label != nullptr);
            CHECK(label->text() == c.labels.at(row));
            CHECK(label->icon().isNull());
        }
        for (int id : {ToolsViewButtonBar::Back, ToolsViewButtonBar::Next, ToolsViewButtonBar::Home})
            CHECK(buttonBarButton(c.page, id)->isVisible());
    }
}

TEST_CASE("input pages: the core is in test mode while one is up; next moves on, back and home go")
{
    BoardFixture f;
    InputPages pages(f);
    f.setItem(DS_PAGE_MODE, 0);
    showIndex(pages.stack, 1);
    CHECK(pageMode() == 1);
    // The page left writes 4 before the page shown writes 1.
    showIndex(pages.stack, 2);
    CHECK(pageMode() == 1);
    showIndex(pages.stack, 3);
    CHECK(pageMode() == 1);
    showIndex(pages.stack, 0);
    CHECK(pageMode() == 4);

    QWidget* all[] = {pages.one, pages.two, pages.three};
    for (int i = 0; i < 3; ++i) {
        CAPTURE(i);
        showIndex(pages.stack, i + 1);
        QSignalSpy back(all[i], SIGNAL(goBack()));
        QSignalSpy next(all[i], SIGNAL(nextPage()));
        QSignalSpy home(all[i], SIGNAL(ShowHomeView(int)));
        tapButtonBar(all[i], ToolsViewButtonBar::Next);
        tapButtonBar(all[i], ToolsViewButtonBar::Back);
        tapButtonBar(all[i], ToolsViewButtonBar::Home);
        CHECK(next.count() == 1);
        CHECK(back.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
    }
}

TEST_CASE("input pages: pressing any pulse count asks the core to restart every count")
{
    BoardFixture f;
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    InputPages pages(f);
    showIndex(pages.stack, 1);
    takePostedEvents();
    struct Case {
        int index;
        QWidget* page;
        const char* value;
        bool clears;
    };
    const Case cases[] = {
        {1, pages.one, "m_implementWheelValue", true}, {1, pages.one, "m_tractorWheelValue", true},
        {1, pages.one, "m_flowSensorValue", true},     {1, pages.one, "m_supplyVoltageValue", false},
        {2, pages.two, "m_fillFlowSensorValue", true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.value);
        showIndex(pages.stack, c.index);
        takePostedEvents();
        tapButton(named<KestromPushButton>(c.page, c.value));
        const std::vector<PostedEvent> expected =
            c.clears ? std::vector<PostedEvent>{{EV_DIAG_CLEAR_PULSE_COUNT, 0}} : std::vector<PostedEvent>{};
        CHECK(onlyEvents(takePostedEvents(), {EV_DIAG_CLEAR_PULSE_COUNT}) == expected);
    }
}

TEST_CASE("input pages: counts, currents and switches in their formats, refreshed every 100 ms")
{
    BoardFixture f;
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);
    InputPages pages(f);
    showIndex(pages.stack, 1);
    f.setItem(DS_TEST_PULSES_A, 250000);
    f.setItem(DS_TEST_PULSES_B, 7);
    f.setItem(DS_SUPPLY_VOLTAGE, 123456);  // the flow sensor's count in test mode
    f.setItem(DS_TEST_PULSES_C, 99999);
    f.setItem(DS_ANALOG_INPUT_A, 1260);
    f.setItem(DS_ANALOG_INPUT_B, 2000);
    CHECK(buttonText(pages.one, "m_implementWheelValue") == "    0 p");
    f.tick100ms();
    CHECK(buttonText(pages.one, "m_implementWheelValue") == "250000 p");
    CHECK(buttonText(pages.one, "m_tractorWheelValue") == "    7 p");
    CHECK(buttonText(pages.one, "m_flowSensorValue") == "123456 p");
    CHECK(buttonText(pages.one, "m_supplyVoltageValue").endsWith(" V"));
    CHECK_SCREEN(f.screen(), "test_inputs_1_large_counts");

    showIndex(pages.stack, 2);
    CHECK(buttonText(pages.two, "m_fillFlowSensorValue") == "99999 p");
    CHECK(labelText(pages.two, "m_lblLiqPressSensorValue") == " 12.6 mA");
    CHECK(labelText(pages.two, "m_lblTankLevelSensorValue") == " 20.0 mA");
    CHECK(QStringList{"On", "Off"}.contains(labelText(pages.two, "m_lblMasterInputValue")));
    CHECK_SCREEN(f.screen(), "test_inputs_2");

    showIndex(pages.stack, 3);
    CHECK(labelText(pages.three, "m_lblSectionSwitchesValue").size() == 9);
    f.setItem(DS_NUMBER_OF_SECTIONS, 40);
    f.tick100ms();
    // Forty sections in lines of sixteen, the switches of the bare board off.
    CHECK(labelText(pages.three, "m_lblSectionSwitchesValue") ==
          QString(16, '0') + "\n" + QString(16, '0') + "\n" + QString(8, '0'));
    CHECK_SCREEN(f.screen(), "test_inputs_3_forty_sections");
}

TEST_CASE("input page 2: the fill-flow row follows the sensor's presence at each show")
{
    BoardFixture f;
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 0);
    InputPages pages(f);
    showIndex(pages.stack, 2);
    auto* value = named<KestromPushButton>(pages.two, "m_fillFlowSensorValue");
    CHECK_FALSE(value->isVisible());
    CHECK_FALSE(rowLabel(pages.two, 0)->isVisible());
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    f.tick100ms();
    CHECK_FALSE(value->isVisible());
    showIndex(pages.stack, 3);
    showIndex(pages.stack, 2);
    CHECK(value->isVisible());
    CHECK(rowLabel(pages.two, 0)->isVisible());
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 0);
    showIndex(pages.stack, 1);
    showIndex(pages.stack, 2);
    CHECK_FALSE(value->isVisible());
}

TEST_CASE("input pages: each label shows its help")
{
    BoardFixture f;
    InputPages pages(f);
    const QString sensorHelp = "Test the sensor by activating it and watching the pulse count increase.\nTo reset "
                               "all Test Input pulse counts to 0, press pulse value.";
    struct Case {
        int index;
        QWidget* page;
        int row;
        QString title;
        QString text;
    };
    const Case cases[] = {
        {1, pages.one, 0, "Implement Wheel Sensor", sensorHelp},
        {1, pages.one, 2, "Supply Voltage", "Shows the given supply voltage."},
        {1, pages.one, 3, "Flow Sensor", sensorHelp},
        {2, pages.two, 1, "Liquid Pressure Sensor",
         "Test the sensor by activating it and watching the value increase or decrease along with the pressure."},
        {2, pages.two, 3, "Remote Master Signal",
         "Test the signal by pushing the remote master on/off switch. Watch that the on/off status is reflected on "
         "screen."},
        {3, pages.three, 1, "Section Switches",
         "Test by flipping the Section Switches on/off. Watch that the on/off status is reflected on screen.\n1 = "
         "Section On\n0 = Section Off"},
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
        CHECK(currentPopup() == nullptr);
    }
}

TEST_CASE("input page 3: master switch and section switches as the board's pins set them")
{
    BoardFixture f;
    InputPages pages(f);
    auto* sections = named<QLabel>(pages.three, "m_lblSectionSwitchesValue");
    const auto shownSwitches = [&] { return sections->text().remove('\n'); };
    // Switches 1 and 3 of the nine-switch box on, the master switch off.
    for (uint32_t pin = 31; pin <= 40; ++pin)
        boardPins().setInput(pin, pin == 32 || pin == 34);

    struct Case {
        uint16_t sections;
        uint8_t switches;
        QString expected;
    };
    // Boxes other than five and seven switches read the nine pins.
    const Case cases[] = {
        {9, 9, "101000000"},
        {40, 60, "101" + QString(37, '0')},
        // Sixty sections and sixty switches: the interface reports what it has pins for.
        {60, 60, "101" + QString(57, '0')},
        {99, 255, "101" + QString(96, '0')},
    };
    showIndex(pages.stack, 3);
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        f.setItem(DS_NUMBER_OF_SECTIONS, c.sections);
        f.setItem(DS_PHYS_SECTION_SWITCHES, c.switches);
        f.tick100ms();
        CAPTURE(shownSwitches().toStdString());
        CHECK(shownSwitches() == c.expected);
        CHECK(labelText(pages.three, "m_lblMasterInputValue") == "Off");
    }
    f.setItem(DS_NUMBER_OF_SECTIONS, 60);
    f.tick100ms();
    CHECK_SCREEN(f.screen(), "test_inputs_3_sixty_sections");

    // The master switch's pins (one of them doubles as switch 8 of the nine-switch box).
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);
    f.setItem(DS_PHYS_SECTION_SWITCHES, 9);
    boardPins().setInput(34, false);
    boardPins().setInput(37, true);
    boardPins().setInput(39, true);
    f.tick100ms();
    CHECK(labelText(pages.three, "m_lblMasterInputValue") == "On");
    CHECK(shownSwitches().startsWith("1000000"));
    CHECK_SCREEN(f.screen(), "test_inputs_3_nine_sections");
    for (uint32_t pin = 31; pin <= 40; ++pin)
        boardPins().setInput(pin, false);
}

TEST_CASE("input page 1: the flow sensor's pulses count in test mode and restart at 0 when pressed")
{
    BoardFixture f;
    InputPages pages(f);
    showIndex(pages.stack, 1);
    REQUIRE(pageMode() == 1);
    runCoreEvent(EV_DIAG_CLEAR_PULSE_COUNT, 0);
    runCoreEvent(EV_TICK_500MS, 0);
    f.tick100ms();
    CHECK(buttonText(pages.one, "m_flowSensorValue") == "    0 p");

    // The flow meter's input (frequency pin 81) reports pulses; the core's
    // input loop takes them within a few of its 20 ms passes.
    // The counters take the pulses on the core's 100 ms step, timed by the manual clock.
    const auto counted = [&] {
        f.tick100ms();
        runCoreEvent(EV_TICK_100MS, 0);
        runCoreEvent(EV_TICK_500MS, 0);
        return datastoreGetSint32(DS_SUPPLY_VOLTAGE) >= 40;
    };
    for (int i = 0; i < 4; ++i) {
        REQUIRE(boardPins().report(81, StandinFpga::reportWord(10, 100000, false)));
        REQUIRE(waitFor([] { return !boardPins().reportPending(81); }, 2000));
    }
    REQUIRE(waitFor(counted, 2000));
    f.tick100ms();
    const QString shown = buttonText(pages.one, "m_flowSensorValue");
    CHECK(shown == DiagnosticsTexts::pulseText("%1 p", datastoreGetSint32(DS_SUPPLY_VOLTAGE)));
    CHECK(shown != "    0 p");

    tapButton(named<KestromPushButton>(pages.one, "m_flowSensorValue"));
    runCoreEvent(EV_TICK_500MS, 0);
    f.tick100ms();
    CHECK(datastoreGetSint32(DS_SUPPLY_VOLTAGE) == 0);
    CHECK(buttonText(pages.one, "m_flowSensorValue") == "    0 p");
    // The flow meter's own counter, which the volume counting follows, goes on.
    uint32_t meterPulses = 0;
    REQUIRE(pulsGetCounterParam(1, &meterPulses) == 0);
    CHECK(meterPulses >= 40);
    // New pulses count from the new start.
    REQUIRE(boardPins().report(81, StandinFpga::reportWord(10, 100000, false)));
    REQUIRE(waitFor([] { return !boardPins().reportPending(81); }, 2000));
    REQUIRE(waitFor(
        [&] {
            f.tick100ms();
            runCoreEvent(EV_TICK_100MS, 0);
            runCoreEvent(EV_TICK_500MS, 0);
            return datastoreGetSint32(DS_SUPPLY_VOLTAGE) >= 10;
        },
        2000));
    CHECK(datastoreGetSint32(DS_SUPPLY_VOLTAGE) < 40);
    showIndex(pages.stack, 0);
}
