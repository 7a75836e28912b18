// Fill-flow-meter calibration on the real datastore: the number through its
// quantity, the four steps of the automatic calibration with their helps and
// icons, the volume handed to the core, and leaving the page.
#include "calibration_page.h"
#include "configmachinecalfillflowsensor.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "screen_check.h"
#include "settingpage_drive.h"
#include "settingpagekit.h"

#include <doctest/doctest.h>

#include <QLabel>

using ToolsViewWidgets::ConfigMachineCalFillFlowSensor;
using ToolsViewWidgets::ToolsViewButtonBar;
using Help = ToolsViewWidgets::ConfigMachineCalFillFlowSensor;

namespace {

using FillPage = CalibrationPage<ConfigMachineCalFillFlowSensor>;

void fillMeterSetUp()
{
    ScreenFixture::setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    ScreenFixture::setItem(DS_FILL_FLOW_CAL_NUMBER, 650000);
    ScreenFixture::setItem(DS_PAGE_MODE, 4);
}

// The "Automatic Calibration" label (on one line or two), whatever step id it carries.
KestromPushButton* stepLabel(FillPage& f)
{
    for (KestromPushButton* button : f.page->findChildren<KestromPushButton*>())
        if (button->property("transparent").toBool() && button->text().replace('\n', ' ') == "Automatic Calibration")
            return button;
    FAIL("no Automatic Calibration label");
    return nullptr;
}

QLabel* pulseCount(FillPage& f)
{
    auto* label = f.page->findChild<QLabel*>("m_lblPulseCount");
    REQUIRE(label != nullptr);
    return label;
}

void closePopup()
{
    REQUIRE(currentPopup() != nullptr);
    tap(currentPopup());
    pumpEvents();
}

// The step label's help names the step's instruction; the pop-up is closed.
void checkStepHelp(FillPage& f, int id, const char* text)
{
    KestromPushButton* label = stepLabel(f);
    CHECK(label->id() == id);
    tapButton(label);
    REQUIRE(currentPopup() != nullptr);
    CHECK(popupTexts(currentPopup()).join("|").contains(text));
    closePopup();
}

void typeVolume(FillPage& f, const char* typed)
{
    tapButton(valueButton(f.page, 1));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, typed);
    keypadAccept(keypad);
}

}  // namespace

TEST_CASE("fill flow: the four steps with their rows, helps, icon and events")
{
    struct Units {
        uint32_t system;
        const char* number;
        const char* minimum;
        const char* volumeUnit;
        const char* shot;
    };
    const Units systems[] = {
        {UNIT_SYSTEM_METRIC, "650.000 p/l", "minimum 100 liters", "l", "metric"},
        {UNIT_SYSTEM_US, "2,460.518 p/gal", "minimum 25 gallons", "gal", "us"},
    };
    for (const Units& u : systems) {
        CAPTURE(u.system);
        FillPage f(u.system, fillMeterSetUp);
        const std::string shot = u.shot;
        CHECK(pathwayText(f.page) == "...Calibrations->Fill Flow Sensor");
        CHECK(valueButton(f.page, 0)->text() == u.number);
        CHECK_FALSE(valueButton(f.page, 1)->isVisible());
        CHECK_FALSE(pulseCount(f)->isVisible());
        checkStepHelp(f, Help::AutomaticHelp, "Follow the series of instructions displayed.");
        CHECK_SCREEN(f.screen(), ("fill_idle_" + shot).c_str());

        // Armed: the step-1 instruction at once, the procedure selected and reset.
        tapButton(f.button("m_calibrateButton"));
        REQUIRE(currentPopup() != nullptr);
        CHECK(popupTexts(currentPopup()).join("|").contains(
            QString("Prepare to collect the 'medium' via the Fill Flow Sensor (%1). Press the Start Spraying icon to "
                    "begin calibration.")
                .arg(u.minimum)));
        closePopup();
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
        CHECK(datastoreGetUint16(DS_FLOW_CAL_METER) == 1);
        CHECK(datastoreGetUint16(DS_FLOW_CAL_STATE) == 2);
        CHECK(eventsOf(takePostedEvents(), EV_CAL_RESET) == std::vector<PostedEvent>{{EV_CAL_RESET, 0}});
        CHECK_FALSE(f.button("m_calibrateButton")->isVisible());
        CHECK(showsIcon(f.button("m_startStopButton"), ":/images/section_on.svg"));
        checkStepHelp(f, Help::ArmedHelp, "Press the Start Spraying icon to begin calibration.");
        CHECK_SCREEN(f.screen(), ("fill_armed_" + shot).c_str());

        // Counting: the pulse count in the number row's place, the stop icon.
        tapButton(f.button("m_startStopButton"));
        CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE) == std::vector<PostedEvent>{{EV_CAL_MASTER_VALVE, 0}});
        CHECK(showsIcon(f.button("m_startStopButton"), ":/images/section_off.svg"));
        CHECK(pulseCount(f)->isVisible());
        CHECK_FALSE(valueButton(f.page, 0)->isVisible());
        f.setItem(DS_MASTER_VALVE_CAL, 1);  // as the core answers
        f.setItem(DS_CAL_PULSE_COUNT, 12345);  // as the core counts
        f.tick100ms();
        CHECK(pulseCount(f)->text() == "12345 p");
        checkStepHelp(f, Help::CountingHelp, "When desired amount has been collected, press the Stop Spraying icon.");
        CHECK_SCREEN(f.screen(), ("fill_counting_" + shot).c_str());

        // Volume entry: "Done" waits for a volume.
        tapButton(f.button("m_startStopButton"));
        CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE) == std::vector<PostedEvent>{{EV_CAL_MASTER_VALVE, 0}});
        CHECK_FALSE(f.button("m_startStopButton")->isVisible());
        CHECK(f.button("m_doneButton")->isVisible());
        CHECK_FALSE(f.button("m_doneButton")->isEnabled());
        CHECK(valueButton(f.page, 1)->isVisible());
        checkStepHelp(f, Help::VolumeEntryHelp, "Enter the collected volume. Press \"Done\" when complete.");
        tapButton(valueButton(f.page, 1));
        CHECK(keypadTitled(shownKeypad(), QString("Collected Volume (%1)").arg(u.system ? "gallon" : "liter")));
        keypadCancel(shownKeypad());
        CHECK_FALSE(f.button("m_doneButton")->isEnabled());
        CHECK_SCREEN(f.screen(), ("fill_volume_entry_" + shot).c_str());
        typeVolume(f, "1.15");
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_CAL_VOLUME, u.system ? 435u : 115u}});
        CHECK(valueButton(f.page, 1)->text() == QString("1.15 %1").arg(u.volumeUnit));
        CHECK(f.button("m_doneButton")->isEnabled());

        // The core here has not seen the posted reset: the volume command
        // restarted its procedure, which cleared the count.
        f.setItem(DS_CAL_PULSE_COUNT, 12345);
        tapButton(f.button("m_doneButton"));
        CHECK(eventsOf(takePostedEvents(), EV_CAL_VOLUME_ENTERED) ==
              std::vector<PostedEvent>{{EV_CAL_VOLUME_ENTERED, 0}});
        CHECK(f.button("m_calibrateButton")->isVisible());
        CHECK(valueButton(f.page, 0)->isVisible());
        CHECK_FALSE(valueButton(f.page, 1)->isVisible());
        CHECK(stepLabel(f)->id() == Help::AutomaticHelp);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
    }
}

TEST_CASE("fill flow: Done posts the volume only with more than 10 pulses")
{
    for (uint32_t pulses : {0u, 10u, 11u}) {
        CAPTURE(pulses);
        FillPage f(UNIT_SYSTEM_METRIC, fillMeterSetUp);
        tapButton(f.button("m_calibrateButton"));
        closePopup();
        tapButton(f.button("m_startStopButton"));
        f.setItem(DS_MASTER_VALVE_CAL, 1);
        tapButton(f.button("m_startStopButton"));
        typeVolume(f, "2");
        f.setItem(DS_CAL_PULSE_COUNT, pulses);
        takePostedEvents();
        tapButton(f.button("m_doneButton"));
        CHECK(eventsOf(takePostedEvents(), EV_CAL_VOLUME_ENTERED).size() == (pulses > 10 ? 1u : 0u));
        CHECK(f.button("m_calibrateButton")->isVisible());
    }
}

TEST_CASE("fill flow: back and home reset the core at once and leave the mode, unless a run has just completed")
{
    struct Case {
        const char* name;
        int bar;
        int stepsBefore;  // 0 armed, 1 counting, 2 volume entry
        bool completedRunBefore;
    };
    const Case cases[] = {
        {"back while armed", ToolsViewButtonBar::Back, 0, false},
        {"back while counting", ToolsViewButtonBar::Back, 1, false},
        {"home in volume entry", ToolsViewButtonBar::Home, 2, false},
        {"back while counting, after a completed run", ToolsViewButtonBar::Back, 1, true},
        {"home while armed, after a completed run", ToolsViewButtonBar::Home, 0, true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        FillPage f(UNIT_SYSTEM_METRIC, fillMeterSetUp);
        std::vector<int> homes;
        int backs = 0;
        QObject::connect(f.page, &ConfigMachineCalFillFlowSensor::ShowHomeView, [&](int id) { homes.push_back(id); });
        QObject::connect(f.page, &ConfigMachineCalFillFlowSensor::goBack, [&] { ++backs; });
        auto run = [&](int steps) {
            tapButton(f.button("m_calibrateButton"));
            closePopup();
            for (int i = 0; i < steps; ++i) {
                tapButton(f.button("m_startStopButton"));
                f.setItem(DS_MASTER_VALVE_CAL, i == 0 ? 1 : 0);
            }
        };
        if (c.completedRunBefore) {
            run(2);
            typeVolume(f, "1");
            f.setItem(DS_CAL_PULSE_COUNT, 500);
            tapButton(f.button("m_doneButton"));
        }
        run(c.stepsBefore);
        takeProcessCalls();
        tapButtonBar(f.page, c.bar);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_CAL_RESET, 0}});
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
        CHECK(backs == (c.bar == ToolsViewButtonBar::Back ? 1 : 0));
        CHECK(homes == (c.bar == ToolsViewButtonBar::Home ? std::vector<int>{2} : std::vector<int>{}));
    }
    SUBCASE("after a completed run, leaving sends nothing: the queued volume is not undone")
    {
        FillPage f(UNIT_SYSTEM_METRIC, fillMeterSetUp);
        tapButton(f.button("m_calibrateButton"));
        closePopup();
        tapButton(f.button("m_startStopButton"));
        f.setItem(DS_MASTER_VALVE_CAL, 1);
        tapButton(f.button("m_startStopButton"));
        typeVolume(f, "1");
        f.setItem(DS_CAL_PULSE_COUNT, 500);
        tapButton(f.button("m_doneButton"));
        takeProcessCalls();
        tapButtonBar(f.page, ToolsViewButtonBar::Back);
        CHECK(takeProcessCalls().empty());
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
        // Shown again, the page is idle and a leave resets once more.
        f.leave();
        f.enter();
        tapButtonBar(f.page, ToolsViewButtonBar::Home);
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_CAL_RESET, 0}});
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    }
}

TEST_CASE("fill flow: the number is written through its quantity; helps of the rows")
{
    struct Case {
        uint32_t system;
        const char* typed;
        uint32_t stored;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, "16.002", 16002},
        {UNIT_SYSTEM_METRIC, "4900", 4900000},
        {UNIT_SYSTEM_US, "2460.518", 650000},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.typed));
        FillPage f(c.system, fillMeterSetUp);
        tapButton(valueButton(f.page, 0));
        NumericKeypadWidget* keypad = shownKeypad();
        CHECK(keypadTitled(keypad, QString("Calibration Number (%1)").arg(c.system ? "p/gal" : "p/l")));
        keypadType(keypad, c.typed);
        keypadAccept(keypad);
        CHECK(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == c.stored);
    }
    FillPage f(UNIT_SYSTEM_IMPERIAL, fillMeterSetUp);
    const HelpCase numberHelps[] = {
        {Help::NumberHelp, "Calibration Number", "running 1 gallon of water"},
        {Help::NumberHelp, "Calibration Number", "Range is 45.461 through 22,275.841 pulses."},
    };
    for (const HelpCase& h : numberHelps) {
        tapButton(labelButton(f.page, h.id));
        checkShownHelp(h);
    }
    tapButton(f.button("m_calibrateButton"));
    closePopup();
    tapButton(f.button("m_startStopButton"));
    tapButton(labelButton(f.page, Help::PulseCountHelp));
    checkShownHelp({Help::PulseCountHelp, "Pulse Count", "Minimum of 10 pulses needed to do a calibration."});
    f.setItem(DS_MASTER_VALVE_CAL, 1);
    tapButton(f.button("m_startStopButton"));
    tapButton(labelButton(f.page, Help::VolumeHelp));
    checkShownHelp({Help::VolumeHelp, "Collected Volume", "Range is 0.00 through 2,199.69 gallon."});
}
