// Power-down on the stand-in board: backlight, page mode and every output off
// at once, the system shut down only after the wait. The wait runs on the
// manual clock; the shutdown command is only recorded under the stand-in root.
#include <doctest/doctest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "alarmdefs.h"
#include "cmdrunner.h"
#include "core_env.h"
#include "clock.h"
#include "comport.h"
#include "conout.h"
#include "datastore.h"
#include "dsvalue.h"
#include "eventids.h"
#include "io_if.h"
#include "processevent.h"
#include "processpower.h"
#include "standin_fpgaio.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"
#include "threadfunc.h"

namespace {

// Extender pins of the section outputs (section 1 first), the master and the fill valve.
const uint32_t kSectionPins[9] = {0x04, 0x06, 0x08, 0x0A, 0x0C, 0x0E, 0x10, 0x12, 0x14};
const uint32_t kMasterPin = 0x02;
const uint32_t kFillPin = 0x16;

bool shutdownRecorded()
{
    return readTextFile(cmdLogPath()).find("shutdown -hP -t 0 0") != std::string::npos;
}

}  // namespace

TEST_CASE("power-down switches everything off, waits 5000 ms, then shuts the system down")
{
    coreTestWorkDir();
    REQUIRE(datastoreInit(2) == 0);
    comportInit();
    comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0);
    comportOpen(0, 7, 3, 2, 0);
    processInitAlarms();
    REQUIRE(dsStore(DS_NUMBER_OF_SECTIONS, 9) == 0);
    REQUIRE(dsStore(DS_PHYS_SECTION_SWITCHES, 9) == 0);
    io_ifInit();
    StandinFpga board(sysrootDir());
    REQUIRE(board.ok());

    const uint16_t all[7] = {0x03FE, 0, 0, 0, 0, 0, 0};
    io_ifSetSectionOutputs(3, all);
    io_ifSetValveOutputs(IO_IF_VALVE_FILL | IO_IF_VALVE_MASTER, 1);
    for (uint32_t pin : kSectionPins)
        REQUIRE(board.output(pin) == 1);
    REQUIRE(board.output(kMasterPin) == 1);
    REQUIRE(board.output(kFillPin) == 1);
    REQUIRE(dsStore(DS_PAGE_MODE, 0) == 0);
    REQUIRE_FALSE(shutdownRecorded());

    clockUseManual();
    StdoutCapture capture(coreTestWorkDir() + "/power.output");
    std::atomic<bool> returned{false};
    std::thread gui([&] {
        processEvent(EV_POWER_DOWN, 0);
        returned = true;
    });
    REQUIRE(waitFor([] { return dsValue(DS_PAGE_MODE) == 1; }, 3000));
    // The outputs go off before the wait.
    CHECK(waitFor([&] { return board.output(kFillPin) == 0 && board.output(kMasterPin) == 0; }, 3000));
    for (uint32_t pin : kSectionPins) {
        CAPTURE(pin);
        CHECK(board.output(pin) == 0);
    }

    clockAdvanceMs(POWER_DOWN_WAIT_MS - 1);
    threadfunc::sleep(200);
    CHECK_FALSE(returned.load());
    CHECK_FALSE(shutdownRecorded());

    clockAdvanceMs(1);
    CHECK(waitFor([&] { return returned.load(); }, 3000));
    gui.join();
    CHECK(shutdownRecorded());
    clockUseReal();
    CHECK(capture.text().find("BACKLIGHT Off") != std::string::npos);
}
