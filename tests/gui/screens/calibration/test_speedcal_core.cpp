// The speed sensor calibration with the process core in the same process: the
// page's start restarts the core's implement-wheel count, the core's count
// reaches the page while it is up, and "Done" stores it.
#include "calibration_page.h"
#include "configmachinecalimplspeedsensor.h"
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "pulsinput.h"
#include "settingpage_drive.h"
#include "speed.h"

#include <doctest/doctest.h>

using ToolsViewWidgets::ConfigMachineCalImplSpeedSensor;

namespace {

using SpeedPage = CalibrationPage<ConfigMachineCalImplSpeedSensor>;

void speedSetUp()
{
    ScreenFixture::setItem(DS_SPEED_SOURCE, 3);
    ScreenFixture::setItem(DS_SPEED_CAL_NUMBER, 1000);
}

void wheelPulses(uint32_t pulses)
{
    REQUIRE(pulsSetCounterUnits(speedCalibrationCounter(2), pulses) == 0);
}

}  // namespace

TEST_CASE("speed calibration through the core: the count starts at the press and Done stores it")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    SpeedPage f(UNIT_SYSTEM_IMPERIAL, speedSetUp);
    wheelPulses(321);  // driven before the calibration
    runCoreEvent(EV_TICK_500MS, 0);
    REQUIRE(datastoreGetSint32(DS_SPEED_CAL_PULSES) == 321);
    tapButton(f.button("m_calibrateButton"));
    runCoreEvent(EV_TICK_500MS, 0);
    CHECK(datastoreGetSint32(DS_SPEED_CAL_PULSES) == 0);
    wheelPulses(500);
    runCoreEvent(EV_TICK_500MS, 0);
    f.tick100ms();
    CHECK(valueButton(f.page, 0)->text() == "547");
    tapButton(f.button("m_doneButton"));
    CHECK(datastoreGetUint32(DS_SPEED_CAL_NUMBER) == 547);
    CHECK(datastoreGetUint8(DS_SPEED_SOURCE) == 3);
}
