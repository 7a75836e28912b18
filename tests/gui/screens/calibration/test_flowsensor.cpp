// The flow-meter calibration pair on the real datastore: the number in pulses
// per litre in every unit system, the flow limits through their quantities,
// the start of a calibration by volume and every way off the second page.
#include "calibration_page.h"
#include "configmachinecalflowsensor.h"
#include "configmachinecalflowsensor2.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "screen_check.h"
#include "settingpage_drive.h"
#include "settingpagekit.h"

#include <doctest/doctest.h>

#include <QLabel>

using ToolsViewWidgets::ConfigMachineCalFlowSensor;
using ToolsViewWidgets::ConfigMachineCalFlowSensor2;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

using Pair = FlowPair<ConfigMachineCalFlowSensor, ConfigMachineCalFlowSensor2>;

void flowMeterSetUp()
{
    ScreenFixture::setItem(DS_FLOW_CAL_NUMBER, 650000);
    ScreenFixture::setItem(DS_LOW_FLOW_LIMIT, 25);
    ScreenFixture::setItem(DS_HIGH_FLOW_LIMIT, 2000);
    ScreenFixture::setItem(DS_PAGE_MODE, 4);
}

QLabel* pulseCount(QWidget* page)
{
    auto* label = page->findChild<QLabel*>("m_lblPulseCount");
    REQUIRE(label != nullptr);
    return label;
}

KestromPushButton* named(QWidget* page, const char* name)
{
    auto* button = page->findChild<KestromPushButton*>(name);
    REQUIRE(button != nullptr);
    return button;
}

// The help or instruction on the screen is touched away.
void closePopup()
{
    REQUIRE(currentPopup() != nullptr);
    tap(currentPopup());
    pumpEvents();
    CHECK(currentPopup() == nullptr);
}

// Types an entry on the keypad of a value button; false when it was refused.
bool enter(KestromPushButton* value, const char* typed)
{
    tapButton(value);
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, typed);
    keypadAccept(keypad);
    if (currentPopup() != nullptr && popupTexts(currentPopup()).join("|").contains("Invalid value!")) {
        tapPopupButton(currentPopup(), "OK");
        return false;
    }
    return true;
}

}  // namespace

TEST_CASE("flow meter: the calibration number is typed in pulses per litre, written always")
{
    struct Case {
        const char* typed;
        bool accepted;
        uint32_t stored;
    };
    const Case cases[] = {
        {"4900", true, 4900000}, {"4900.001", false, 650000}, {"9.999", false, 650000},
        {"16.002", true, 16002}, {"10", true, 10000},         {"650", true, 650000},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.typed));
        Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
        StoreWriteRecorder writes;
        CHECK(enter(valueButton(f.first, 0), c.typed) == c.accepted);
        CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == c.stored);
        // An unchanged number is written too.
        CHECK(StoreWriteRecorder::take(DS_FLOW_CAL_NUMBER).size() == (c.accepted ? 1u : 0u));
    }
}

TEST_CASE("flow meter: pulses per litre in every unit system, the limits and the minimum volume in the system's units")
{
    struct Case {
        uint32_t system;
        const char* low;
        const char* high;
        const char* minimumVolume;
        const char* flowRange;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, "2.5 l/min", "200.0 l/min", "minimum 100 liters", "Range is 0.0 through 99.9 liters/minute."},
        {UNIT_SYSTEM_IMPERIAL, "0.5 gal/min", "44.0 gal/min", "minimum 25 gallons",
         "Range is 0.0 through 22.0 gallons/minute."},
        {UNIT_SYSTEM_US, "0.7 gal/min", "52.8 gal/min", "minimum 25 gallons", "Range is 0.0 through 26.4 gallons/minute."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.system);
        Pair f(c.system, flowMeterSetUp);
        CHECK(pathwayText(f.first) == "...Calibrations->Flow Sensor");
        CHECK(valueButton(f.first, 0)->text() == "650.000 p/l");
        CHECK(valueButton(f.first, 1)->text() == c.low);
        CHECK(valueButton(f.first, 2)->text() == c.high);
        CHECK_FALSE(buttonBarButton(f.first, ToolsViewButtonBar::Next)->isVisible());

        const HelpCase helps[] = {
            {0, "Calibration Number", "1 liter of water through the flow sensor"},
            {0, "Calibration Number", "Range is 10.000 through 4,900.000 pulses."},
            {1, "Low Flow Limit", c.flowRange},
            {3, "Automatic Calibration", "Follow the series of instructions displayed."},
        };
        for (const HelpCase& h : helps) {
            tapButton(labelButton(f.first, h.id));
            checkShownHelp(h);
        }
        tapButton(valueButton(f.first, 0));
        CHECK(keypadTitled(shownKeypad(), "Calibration Number (p/l)"));
        keypadCancel(shownKeypad());
        tapButton(valueButton(f.first, 2));
        CHECK(keypadTitled(shownKeypad(), QString("High Flow Limit (%1)").arg(c.system ? "gal/min" : "l/min")));
        keypadCancel(shownKeypad());

        tapButton(named(f.first, "m_calibrateButton"));
        REQUIRE(currentPopup() != nullptr);
        CHECK(popupTexts(currentPopup()).join("|").contains(c.minimumVolume));
        closePopup();
        if (c.system != UNIT_SYSTEM_IMPERIAL) {
            f.stack->setCurrentWidget(f.first);
            pumpEvents();
            CHECK_SCREEN(f.screen(), c.system == UNIT_SYSTEM_METRIC ? "flow_idle_metric" : "flow_idle_us");
        }
    }
}

TEST_CASE("flow meter: the flow limits are written through their quantities, truncated as typed")
{
    struct Case {
        uint32_t system;
        int row;
        const char* typed;
        uint32_t item;
        uint32_t stored;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, 1, "2.3", DS_LOW_FLOW_LIMIT, 23},
        {UNIT_SYSTEM_METRIC, 2, "120.59", DS_HIGH_FLOW_LIMIT, 1205},
        {UNIT_SYSTEM_US, 2, "10", DS_HIGH_FLOW_LIMIT, 379},  // 10 US gal/min = 37.85 l/min
        {UNIT_SYSTEM_IMPERIAL, 1, "1", DS_LOW_FLOW_LIMIT, 45},  // 1 imperial gal/min = 4.546 l/min
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.typed));
        Pair f(c.system, flowMeterSetUp);
        CHECK(enter(valueButton(f.first, c.row), c.typed));
        CHECK(datastoreGetUint16(c.item) == c.stored);
    }
}

TEST_CASE("flow meter: Calibrate shows step 1, selects the main meter's procedure by volume and turns the page")
{
    for (uint32_t master : {0u, 1u}) {
        CAPTURE(master);
        Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
        f.setItem(DS_MASTER_SWITCH, master);
        f.setItem(DS_FLOW_CAL_METER, 1);
        f.setItem(DS_FLOW_CAL_STATE, 2);
        tapButton(named(f.first, "m_calibrateButton"));
        CHECK(popupTexts(currentPopup()).join("|").contains("Turn on Master Switch to start calibration."));
        closePopup();
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
        CHECK(datastoreGetUint16(DS_FLOW_CAL_METER) == 0);
        CHECK(datastoreGetUint16(DS_FLOW_CAL_STATE) == 1);
        CHECK(eventsOf(takePostedEvents(), EV_CAL_RESET) == std::vector<PostedEvent>{{EV_CAL_RESET, 0}});
        CHECK(f.current() == f.second);
        CHECK(pathwayText(f.second) == "...Calibrations->Flow Sensor");
    }
}

TEST_CASE("flow meter by volume: the master switch starts and stops the count, the volume goes to the core")
{
    Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
    tapButton(named(f.first, "m_calibrateButton"));
    closePopup();
    takePostedEvents();
    KestromPushButton* volume = valueButton(f.second, 1);
    CHECK_FALSE(volume->isEnabled());
    CHECK(volume->text() == "0 l");
    CHECK(showsIcon(named(f.second, "m_masterIndicator"), ":/images/section_off.svg"));

    f.setItem(DS_MASTER_SWITCH, 1);
    f.tick100ms();
    CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE) == std::vector<PostedEvent>{{EV_CAL_MASTER_VALVE, 0}});
    CHECK(showsIcon(named(f.second, "m_masterIndicator"), ":/images/section_on.svg"));
    f.setItem(DS_MASTER_VALVE_CAL, 1);  // as the core answers
    f.setItem(DS_CAL_PULSE_COUNT, 1234);
    f.tick100ms();
    CHECK(pulseCount(f.second)->text() == "1,234 p");
    CHECK(takePostedEvents().empty());
    CHECK_FALSE(volume->isEnabled());
    CHECK_SCREEN(f.screen(), "flow_counting_metric");

    f.setItem(DS_MASTER_SWITCH, 0);
    f.tick100ms();
    CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE) == std::vector<PostedEvent>{{EV_CAL_MASTER_VALVE, 0}});
    CHECK(volume->isEnabled());
    CHECK(showsIcon(named(f.second, "m_masterIndicator"), ":/images/section_off.svg"));
    CHECK_SCREEN(f.screen(), "flow_volume_metric");

    // Switched on again, the core does not count on: nothing is posted.
    f.setItem(DS_MASTER_SWITCH, 1);
    f.tick100ms();
    CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE).empty());
    f.setItem(DS_MASTER_SWITCH, 0);
    f.tick100ms();
    takePostedEvents();

    tapButton(volume);
    NumericKeypadWidget* keypad = shownKeypad();
    CHECK(keypadTitled(keypad, "Collected Volume (l)"));
    keypadType(keypad, "1.15");
    keypadAccept(keypad);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_CAL_VOLUME, 115}});
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    CHECK(f.current() == f.first);
    CHECK(volume->text() == "0 l");
    CHECK_FALSE(volume->isEnabled());
}

TEST_CASE("flow meter by volume: a new number only from more than 10 pulses")
{
    struct Case {
        uint32_t system;
        uint32_t pulses;
        const char* typed;
        uint32_t volume;
        bool entered;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, 10, "2", 200, false},
        {UNIT_SYSTEM_METRIC, 11, "2", 200, true},
        {UNIT_SYSTEM_US, 100, "1", 379, true},  // 1 US gallon in hundredths of a litre
        {UNIT_SYSTEM_METRIC, 0, "5", 500, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.pulses);
        Pair f(c.system, flowMeterSetUp);
        f.stack->setCurrentWidget(f.second);
        f.setItem(DS_CAL_PULSE_COUNT, c.pulses);
        f.setItem(DS_MASTER_SWITCH, 1);
        f.tick100ms();
        f.setItem(DS_MASTER_SWITCH, 0);
        f.tick100ms();
        takePostedEvents();
        REQUIRE(enter(valueButton(f.second, 1), c.typed));
        CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_CAL_VOLUME, c.volume}});
        CHECK(eventsOf(takePostedEvents(), EV_CAL_VOLUME_ENTERED).size() == (c.entered ? 1u : 0u));
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
        CHECK(f.current() == f.first);
    }
}

TEST_CASE("flow meter by volume: Cancel and every bar button reset, leave the mode and switch the master off")
{
    struct Case {
        const char* name;
        int barButton;  // -1: Cancel
        bool toMenu;
        std::vector<int> homes;
    };
    const Case cases[] = {
        {"Cancel", -1, false, {}},
        {"back", ToolsViewButtonBar::Back, true, {}},
        {"home", ToolsViewButtonBar::Home, true, {2}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
        tapButton(named(f.first, "m_calibrateButton"));
        closePopup();
        f.setItem(DS_MASTER_SWITCH, 1);
        f.tick100ms();
        takePostedEvents();
        if (c.barButton < 0)
            tapButton(named(f.second, "m_cancelButton"));
        else
            tapButtonBar(f.second, c.barButton);
        CHECK(eventsOf(takePostedEvents(), EV_CAL_RESET) == std::vector<PostedEvent>{{EV_CAL_RESET, 0}});
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
        CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
        CHECK(showsIcon(named(f.second, "m_masterIndicator"), ":/images/section_off.svg"));
        CHECK_FALSE(valueButton(f.second, 1)->isEnabled());
        CHECK(f.current() == (c.toMenu ? f.menu : static_cast<QWidget*>(f.first)));
        CHECK(f.homes == c.homes);
    }
    SUBCASE("next, though hidden, cancels as well")
    {
        Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
        f.stack->setCurrentWidget(f.second);
        pumpEvents();
        takePostedEvents();
        f.second->handleButtonBarPressed(ToolsViewButtonBar::Next);
        CHECK(eventsOf(takePostedEvents(), EV_CAL_RESET).size() == 1);
        CHECK(f.current() == f.first);
    }
}

TEST_CASE("flow meter by volume: page texts and helps in US units")
{
    Pair f(UNIT_SYSTEM_US, flowMeterSetUp);
    f.stack->setCurrentWidget(f.second);
    pumpEvents();
    CHECK(valueButton(f.second, 1)->text() == "0 gal");
    const HelpCase helps[] = {
        {0, "Pulse Count", "Minimum of 10 pulses needed to do a calibration."},
        {1, "Collected Volume", "Range is 0.00 through 2,641.72 gallon."},
    };
    for (const HelpCase& h : helps) {
        tapButton(labelButton(f.second, h.id));
        checkShownHelp(h);
    }
    f.setItem(DS_MASTER_SWITCH, 1);
    f.setItem(DS_CAL_PULSE_COUNT, 4321);
    f.tick100ms();
    CHECK_SCREEN(f.screen(), "flow_counting_us");
    f.setItem(DS_MASTER_SWITCH, 0);
    f.tick100ms();
    tapButton(valueButton(f.second, 1));
    CHECK(keypadTitled(shownKeypad(), "Collected Volume (gal)"));
    CHECK_SCREEN(f.screen(), "flow_volume_keypad_us");
}

TEST_CASE("flow meter by volume: the remembered master state survives leaving the page")
{
    Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
    tapButton(named(f.first, "m_calibrateButton"));
    closePopup();
    f.setItem(DS_MASTER_SWITCH, 1);
    f.tick100ms();
    tapButton(named(f.second, "m_cancelButton"));
    REQUIRE(f.current() == f.first);
    takePostedEvents();

    // The cancel switched the master off while the page went: the next showing
    // takes that as the master going off and offers the volume at once.
    tapButton(named(f.first, "m_calibrateButton"));
    closePopup();
    CHECK_FALSE(valueButton(f.second, 1)->isEnabled());
    f.tick100ms();
    CHECK(valueButton(f.second, 1)->isEnabled());
    CHECK(eventsOf(takePostedEvents(), EV_CAL_MASTER_VALVE).empty());
    // Unchanged, the master leaves the row as it is.
    f.tick100ms(3);
    CHECK(valueButton(f.second, 1)->isEnabled());
}
