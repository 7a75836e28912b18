// The flow-meter calibration by volume with the process core in the same
// process: the pages start the core's procedure, the master switch starts and
// stops its count on the 66 ms calibration tick, and the collected volume
// gives the new calibration number that the first page then shows.
#include "calibration_page.h"
#include "configmachinecalflowsensor.h"
#include "configmachinecalflowsensor2.h"
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "flowcal.h"
#include "pulsinput.h"
#include "screen_check.h"
#include "settingpage_drive.h"

#include <doctest/doctest.h>

#include <QLabel>

#include <algorithm>
#include <string>

using ToolsViewWidgets::ConfigMachineCalFlowSensor;
using ToolsViewWidgets::ConfigMachineCalFlowSensor2;

namespace {

using Pair = FlowPair<ConfigMachineCalFlowSensor, ConfigMachineCalFlowSensor2>;

constexpr uint32_t kMainFlowCounter = 1;

void flowMeterSetUp()
{
    ScreenFixture::setItem(DS_FLOW_SENSOR_PRESENT, 1);
    ScreenFixture::setItem(DS_FLOW_CAL_NUMBER, 650000);
    ScreenFixture::setItem(DS_MASTER_SWITCH, 0);
    ScreenFixture::setItem(DS_FLOW_CAL_STATE, 0);
}

// The main flow meter's pulse counter as the core reads it.
void setFlowPulses(int32_t pulses)
{
    REQUIRE(pulsSetCounterMode(kMainFlowCounter, pulses, 0) == 0);
}

// One 66 ms calibration tick through the core.
void calTick()
{
    runCoreEvent(EV_CAL_TICK, 0);
}

void startCalibration(Pair& f)
{
    tapButton(f.first->findChild<KestromPushButton*>("m_calibrateButton"));
    REQUIRE(currentPopup() != nullptr);
    tap(currentPopup());
    pumpEvents();
    REQUIRE(f.current() == f.second);
}

void enterVolume(Pair& f, const char* typed)
{
    tapButton(valueButton(f.second, 1));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, typed);
    keypadAccept(keypad);
}

// The procedure's own lines of the debug text, one a line without the
// carriage returns (the store's hooks print between them).
std::string flowCalTrace(const std::string& text)
{
    std::string lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        if (line.rfind("FlowCalV", 0) == 0)
            lines += line + "\n";
        start = end + 1;
    }
    return lines;
}

QString shownCount(Pair& f)
{
    return f.second->findChild<QLabel*>("m_lblPulseCount")->text();
}

}  // namespace

TEST_CASE("flow meter by volume through the core: count while the master is on, new number from the volume")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
    setFlowPulses(5000);
    startCalibration(f);
    CHECK(datastoreGetUint16(DS_FLOW_CAL_METER) == 0);
    CHECK(datastoreGetUint16(DS_FLOW_CAL_STATE) == 1);
    CHECK(hasEvent(takePostedEvents(), EV_CAL_RESET, 0));
    CHECK(flowCalByVolumeState() == 1);
    takeDebugText();

    f.setItem(DS_MASTER_SWITCH, 1);
    f.tick100ms();
    CHECK(hasEvent(takePostedEvents(), EV_CAL_MASTER_VALVE, 0));
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 1);
    calTick();  // the procedure finds the master on
    for (int32_t pulses : {5040, 5075, 5100}) {
        setFlowPulses(pulses);
        calTick();
    }
    f.tick100ms();
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 100);
    CHECK(shownCount(f) == "100 p");
    CHECK_FALSE(valueButton(f.second, 1)->isEnabled());

    f.setItem(DS_MASTER_SWITCH, 0);
    f.tick100ms();
    CHECK(valueButton(f.second, 1)->isEnabled());
    setFlowPulses(5200);  // after the stop nothing more counts
    calTick();
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 100);

    enterVolume(f, "2.00");
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 50000);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    REQUIRE(f.current() == f.first);
    f.tick100ms();
    CHECK(valueButton(f.first, 0)->text() == "50.000 p/l");
    calTick();
    CHECK(flowCalTrace(takeDebugText()) ==
          "FlowCalV wait start -> wait master\n"
          "FlowCalV wait master -> busy\n"
          "FlowCalV stop pressed\n"
          "FlowCalV volume ready CP=50000 PC=100 CV=200\n"
          "FlowCalV done\n");
    CHECK(flowCalByVolumeState() == 1);
}

TEST_CASE("flow meter by volume through the core: 10 pulses give no new number, 11 do")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    struct Case {
        int32_t pulses;
        uint32_t number;
    };
    const Case cases[] = {{10, 650000}, {11, 55000}};
    for (const Case& c : cases) {
        CAPTURE(c.pulses);
        Pair f(UNIT_SYSTEM_METRIC, flowMeterSetUp);
        setFlowPulses(100);
        startCalibration(f);
        f.setItem(DS_MASTER_SWITCH, 1);
        f.tick100ms();
        calTick();
        setFlowPulses(100 + c.pulses);
        calTick();
        f.setItem(DS_MASTER_SWITCH, 0);
        f.tick100ms();
        enterVolume(f, "0.2");
        calTick();
        CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == c.number);
        CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    }
}

TEST_CASE("flow meter by volume through the core: a master already on counts from the first refresh")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    Pair f(UNIT_SYSTEM_US, flowMeterSetUp);
    setFlowPulses(700);
    f.setItem(DS_MASTER_SWITCH, 1);
    startCalibration(f);
    takePostedEvents();
    f.tick100ms();
    CHECK(hasEvent(takePostedEvents(), EV_CAL_MASTER_VALVE, 0));
    calTick();
    setFlowPulses(1350);
    calTick();
    f.tick100ms();
    CHECK(shownCount(f) == "650 p");
    CHECK_SCREEN(f.screen(), "flow_counting_core_us");

    // Cancel resets the core's procedure and leaves with the master off.
    tapButton(f.second->findChild<KestromPushButton*>("m_cancelButton"));
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 0);
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 0);
    CHECK(datastoreGetBool(DS_MASTER_SWITCH) == 0);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    CHECK(f.current() == f.first);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 650000);
}
