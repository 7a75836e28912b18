// The automatic filling page with the process core's filling procedure in the
// same process: the button starts the core's filling, the page follows what
// the core reports, the next press stops it, and leaving the page ends it.
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "tank.h"
#include "toolsviewconfigfilling2.h"

#include <doctest/doctest.h>

#include <QProgressBar>
#include <QStackedWidget>

using ToolsViewWidgets::ToolsViewConfigFilling2;

TEST_CASE("automatic filling runs the core's filling from the page and ends it when the page is left")
{
    guiApplication();
    REQUIRE(coreStartInProcess());
    ScreenFixture f;
    f.setItem(DS_FILL_FLOW_SENSOR_PRESENT, 1);
    f.setItem(DS_TANK_MAX_CONTENT, 3000);
    f.setItem(DS_DESIRED_CONTENT, 2500);
    f.setItem(DS_ACTUAL_CONTENT, 500);
    auto* stack = new QStackedWidget;
    QWidget* other = new QWidget;
    stack->addWidget(other);
    auto* page = new ToolsViewConfigFilling2(nullptr, false);
    stack->addWidget(page);
    f.place(stack, QPoint(0, 0), QSize(480, 272));
    stack->setCurrentWidget(page);
    pumpEvents();
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 3);
    // The core's procedure steps on its cycle before the operator presses.
    runCoreEvent(EV_PROCESS_TICK, 0);
    REQUIRE(tankFillingState() == 1);

    auto* button = page->findChild<KestromPushButton*>("m_fillingButton");
    auto* bar = page->findChild<QProgressBar*>("m_fillProgress");
    tapButton(button);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 1);
    CHECK(tankFillingState() == 2);
    f.tick100ms();
    CHECK(bar->isVisible());

    tapButton(button);
    // The core clears the flag on its next step.
    runCoreEvent(EV_PROCESS_TICK, 0);
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 0);
    f.tick100ms();
    CHECK_FALSE(bar->isVisible());

    runCoreEvent(EV_PROCESS_TICK, 0);
    tapButton(button);  // fills again
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 1);
    stack->setCurrentWidget(other);
    pumpEvents();
    CHECK(datastoreGetBool(DS_FILLING_ACTIVE) == 0);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 0);
}
