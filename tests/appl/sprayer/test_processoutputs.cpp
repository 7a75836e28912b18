// The dispatcher's output commands on the stand-in board: the diagnostics
// page's single sections and output test, and power-down (backlight, page mode
// and every output off at once, the system shut down only after the wait). The
// wait runs on the manual clock; the shutdown command is only recorded under
// the stand-in root. Power-down ends the program's console: it comes last.
#include <doctest/doctest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

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
#include "processstate.h"
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

// The store, the console port and the I/O started on the stand-in board; once per program.
StandinFpga& startBoard()
{
    static StandinFpga* board = [] {
        coreTestWorkDir();
        REQUIRE(datastoreInit(2) == 0);
        comportInit();
        comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0);
        comportOpen(0, 7, 3, 2, 0);
        processInitAlarms();
        REQUIRE(dsStore(DS_NUMBER_OF_SECTIONS, 9) == 0);
        REQUIRE(dsStore(DS_PHYS_SECTION_SWITCHES, 9) == 0);
        io_ifInit();
        return new StandinFpga(sysrootDir());
    }();
    return *board;
}

std::vector<uint16_t> sectionBlock()
{
    uint16_t words[SECTION_MASK_WORDS] = {};
    datastoreGetData(DS_SECTION_STATE_BLOCK, words);
    return std::vector<uint16_t>(words, words + SECTION_MASK_WORDS);
}

}  // namespace

TEST_CASE("diagnostics: single sections and the output test on the section-state block")
{
    StandinFpga& board = startBoard();
    REQUIRE(board.ok());
    const uint16_t start[SECTION_MASK_WORDS] = {0x0010, 0, 0, 0, 0, 0, 0x8000};
    REQUIRE(datastoreSetData(DS_SECTION_STATE_BLOCK, start) == 0);

    processEvent(EV_DIAG_SECTION_ON, 3);
    CHECK(sectionBlock() == std::vector<uint16_t>{0x0018, 0, 0, 0, 0, 0, 0x8000});
    processEvent(EV_DIAG_SECTION_OFF, 4);
    CHECK(sectionBlock() == std::vector<uint16_t>{0x0008, 0, 0, 0, 0, 0, 0x8000});
    processEvent(EV_DIAG_SECTION_ON, 17);
    CHECK(sectionBlock() == std::vector<uint16_t>{0x0008, 0x0002, 0, 0, 0, 0, 0x8000});
    // Section numbers outside the block leave it as it is.
    const uint32_t outside[] = {0, 112, 5000, 0xFFFFFFFF};
    for (uint32_t section : outside) {
        CAPTURE(section);
        processEvent(EV_DIAG_SECTION_ON, section);
        processEvent(EV_DIAG_SECTION_OFF, section);
        CHECK(sectionBlock() == std::vector<uint16_t>{0x0008, 0x0002, 0, 0, 0, 0, 0x8000});
    }

    REQUIRE(dsStore(DS_TEST_VALVE_PWM, 300) == 0);
    processEvent(EV_DIAG_OUTPUT_TEST_BEGIN, 0);
    CHECK(sectionBlock() == std::vector<uint16_t>{0x0000, 0x0002, 0, 0, 0, 0, 0x8000});
    CHECK(dsValue(DS_TEST_VALVE_PWM) == 0);

    processEvent(EV_DIAG_MASTER_VALVE, 1);
    processEvent(EV_DIAG_FILL_VALVE, 1);
    CHECK(board.output(kMasterPin) == 1);
    CHECK(board.output(kFillPin) == 1);
    // The end of the test sets sections 1..9 again and closes both valves.
    processEvent(EV_DIAG_OUTPUT_TEST_END, 0);
    CHECK(sectionBlock() == std::vector<uint16_t>{0x03FE, 0x0002, 0, 0, 0, 0, 0x8000});
    CHECK(board.output(kMasterPin) == 0);
    CHECK(board.output(kFillPin) == 0);
}

TEST_CASE("the fill valve commands need the value 11")
{
    StandinFpga& board = startBoard();
    processEvent(EV_FILL_VALVE_OPEN, 10);
    CHECK(board.output(kFillPin) == 0);
    processEvent(EV_FILL_VALVE_OPEN, 11);
    CHECK(board.output(kFillPin) == 1);
    processEvent(EV_FILL_VALVE_CLOSE, 1);
    CHECK(board.output(kFillPin) == 1);
    processEvent(EV_FILL_VALVE_CLOSE, 11);
    CHECK(board.output(kFillPin) == 0);
}

TEST_CASE("power-down switches everything off, waits 5000 ms, then shuts the system down")
{
    StandinFpga& board = startBoard();
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
    // The outputs go off before the wait: fill and master first, then the sections,
    // each a write of its own, so wait for the last of them.
    const auto allOff = [&] {
        for (uint32_t pin : kSectionPins)
            if (board.output(pin) != 0)
                return false;
        return board.output(kFillPin) == 0 && board.output(kMasterPin) == 0;
    };
    CHECK(waitFor(allOff, 3000));

    clockAdvanceMs(POWER_DOWN_WAIT_MS - 1);
    threadfunc::sleep(200);
    CHECK_FALSE(returned.load());
    CHECK_FALSE(shutdownRecorded());

    // The wait is armed just after the outputs go off, possibly after the first
    // advance above: keep the clock moving until it ends, never before 5000 ms.
    for (uint32_t step = 0; step < 2 * POWER_DOWN_WAIT_MS && !returned.load(); ++step) {
        clockAdvanceMs(1);
        threadfunc::sleep(1);
    }
    CHECK(waitFor([&] { return returned.load(); }, 3000));
    gui.join();
    CHECK(shutdownRecorded());
    clockUseReal();
    CHECK(capture.text().find("BACKLIGHT Off") != std::string::npos);
}
