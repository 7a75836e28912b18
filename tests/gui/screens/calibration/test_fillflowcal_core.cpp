// The fill-flow-meter calibration with the process core in the same process:
// the page drives the core's fill-flow procedure through its four steps, with
// automatic filling the fill valve opens and closes with the count, and a page
// left in a second run closes the valve at once.
#include "calibration_page.h"
#include "configmachinecalfillflowsensor.h"
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "flowcal.h"
#include "pulsinput.h"
#include "settingpage_drive.h"

#include <doctest/doctest.h>

using ToolsViewWidgets::ConfigMachineCalFillFlowSensor;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

using FillPage = CalibrationPage<ConfigMachineCalFillFlowSensor>;

constexpr uint32_t kFillCounter = 3;
constexpr uint32_t kFillValveArgument = 11;

void fillMeterSetUp()
{
    ScreenFixture::setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    ScreenFixture::setItem(DS_FILL_FLOW_CAL_NUMBER, 650000);
    ScreenFixture::setItem(DS_AUTO_FILLING_ENABLED, 1);
    ScreenFixture::setItem(DS_FLOW_CAL_STATE, 0);
}

void setFillPulses(int32_t pulses)
{
    REQUIRE(pulsSetCounterMode(kFillCounter, pulses, 0) == 0);
}

void calTick()
{
    runCoreEvent(EV_CAL_TICK, 0);
}

void press(FillPage& f, const char* name)
{
    tapButton(f.button(name));
    if (currentPopup() != nullptr) {
        tap(currentPopup());
        pumpEvents();
    }
}

// Calibrate, start, count the pulses, stop: the page waits for the volume.
void countRun(FillPage& f, int32_t from, int32_t pulses)
{
    setFillPulses(from);
    press(f, "m_calibrateButton");
    press(f, "m_startStopButton");
    calTick();
    setFillPulses(from + pulses);
    calTick();
    press(f, "m_startStopButton");
}

void enterVolume(FillPage& f, const char* typed)
{
    tapButton(valueButton(f.page, 1));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, typed);
    keypadAccept(keypad);
}

}  // namespace

TEST_CASE("fill flow through the core: a run opens and closes the fill valve and stores the new number")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    FillPage f(UNIT_SYSTEM_METRIC, fillMeterSetUp);
    setFillPulses(1000);
    press(f, "m_calibrateButton");
    CHECK(hasEvent(takePostedEvents(), EV_FILL_VALVE_CLOSE, kFillValveArgument));
    CHECK(fillFlowCalByVolumeState() == 1);

    press(f, "m_startStopButton");
    const std::vector<PostedEvent> started = takePostedEvents();
    CHECK(hasEvent(started, EV_FILL_VALVE_OPEN, kFillValveArgument));
    CHECK(hasEvent(started, EV_SET_REGUL_MODE, 1));
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 1);
    setFillPulses(1230);
    calTick();
    f.tick100ms();
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 230);

    press(f, "m_startStopButton");
    CHECK(hasEvent(takePostedEvents(), EV_FILL_VALVE_CLOSE, kFillValveArgument));
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 0);
    enterVolume(f, "1.15");
    CHECK(datastoreGetUint32(DS_CAL_COLLECTED_VOLUME) == 115);
    press(f, "m_doneButton");
    // 230 pulses over 1.15 l: 200 pulses a litre.
    CHECK(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == 200000);
    f.tick100ms();
    CHECK(valueButton(f.page, 0)->text() == "200.000 p/l");

    // Leaving right after the completed run leaves the core's result alone.
    takeProcessCalls();
    tapButtonBar(f.page, ToolsViewButtonBar::Back);
    CHECK(takeProcessCalls().empty());
    CHECK(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == 200000);
}

TEST_CASE("fill flow through the core: leaving a second run while counting closes the fill valve at once")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    FillPage f(UNIT_SYSTEM_METRIC, fillMeterSetUp);
    countRun(f, 2000, 400);
    enterVolume(f, "2");
    press(f, "m_doneButton");
    REQUIRE(datastoreGetUint32(DS_FILL_FLOW_CAL_NUMBER) == 200000);
    calTick();  // the procedure reports and waits for a start again

    // The second run counts with the fill valve open.
    setFillPulses(3000);
    press(f, "m_calibrateButton");
    press(f, "m_startStopButton");
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 1);
    takePostedEvents();
    tapButtonBar(f.page, ToolsViewButtonBar::Back);
    CHECK(hasEvent(takePostedEvents(), EV_FILL_VALVE_CLOSE, kFillValveArgument));
    CHECK(datastoreGetBool(DS_MASTER_VALVE_CAL) == 0);
    CHECK(fillFlowCalByVolumeState() == 1);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    // Nothing counts any more.
    setFillPulses(3500);
    calTick();
    CHECK(datastoreGetUint32(DS_CAL_PULSE_COUNT) == 0);
}
