// Supervision of the Sectrix controller, with the controller played on the
// stand-in CAN bus and the console's own CAN receive thread feeding the link.
// Time runs on the manual clock: the link's 5000 ms supervision is advanced, not waited.
#include <doctest/doctest.h>

#include <memory>

#include <QCoreApplication>

#include "../../drivers/can_peer.h"
#include "alarm.h"
#include "alarmdefs.h"
#include "canio.h"
#include "clock.h"
#include "comport.h"
#include "conout.h"
#include "core_env.h"
#include "datastore.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "io_if.h"
#include "kernel.h"
#include "processcan.h"
#include "sectrix.h"
#include "sectrixsupervision.h"
#include "socketcan.h"
#include "standin_fpgaio.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_wait.h"

namespace {

// Box with 9 section switches: the extender pins of switches 1..9.
const uint32_t kSwitchPins[9] = {0x20, 0x1F, 0x22, 0x21, 0x24, 0x23, 0x26, 0x25, 0x28};

// Channel 0 on the stand-in bus, the link started and the receive thread
// running; the unit's peer sends the controller's frames; the I/O started on
// the stand-in board, whose switch inputs the test sets; the debug port on the
// standard output. Once per program.
struct Bus {
    Bus()
    {
        coreTestWorkDir();
        REQUIRE(datastoreInit(2) == 0);
        comportInit();
        comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0);
        comportOpen(0, 7, 3, 2, 0);
        comselectInit(0);
        debugSetLevel(0);
        processInitAlarms();
        REQUIRE(dsStore(DS_NUMBER_OF_SECTIONS, 9) == 0);
        REQUIRE(dsStore(DS_PHYS_SECTION_SWITCHES, 9) == 0);
        io_ifInit();
        board = std::make_unique<StandinFpga>(sysrootDir());
        REQUIRE(board->ok());
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, 0, 0) == 1);
        unit = std::make_unique<CanPeer>("can0");
        REQUIRE(unit->isOpen());
        clockUseManual();
        REQUIRE(sectrixDataLinkInit(0) == 1);
        REQUIRE(kernelTaskCreateStack(20, canReceiveTask, CAN_ROLE_SECTRIX, 65536, __FILE__, __LINE__) != 0);
    }
    std::unique_ptr<CanPeer> unit;
    std::unique_ptr<StandinFpga> board;
};

Bus& bus()
{
    static Bus* instance = new Bus();
    return *instance;
}

// The unit sends one frame; returns once the console has read it. The receive
// thread hands it to the link after that: callers wait for its effect.
void unitSends(std::initializer_list<int> bytes)
{
    const uint32_t before = canioGetReceivedCount();
    REQUIRE(bus().unit->send(rawFrame(SECTRIX_ID_UNIT | CAN_EFF_FLAG, bytes)));
    REQUIRE(waitFor([before] { return canioGetReceivedCount() != before; }, 5000));
}

void linkUp()
{
    unitSends({0x55});
    REQUIRE(waitFor([] { return sectrixLinkIsLost() == 1; }, 5000));
}

// 6 s without a frame of the unit. The link's supervision alarm fires on the
// timer thread and the link task handles it: waited for.
void linkDown()
{
    for (int i = 0; i < 6; ++i)
        clockAdvanceMs(1000);
    REQUIRE(waitFor([] { return sectrixLinkIsLost() == 0; }, 5000));
    bus().unit->drain();
}

void unitAutomatic()
{
    unitSends({0x02, 0x03});
    unitSends({0x00, 0x00, 0x00, 0x00});
    unitSends({0x00, 0x00, 0x00, 0x00});
    // Active only once the second status frame has confirmed the switch.
    REQUIRE(waitFor([] { return sectrixIsActive() == 1; }, 5000));
}

void unitManual()
{
    unitSends({0x02, 0x02});
    REQUIRE(waitFor([] { return sectrixIsActive() == 0; }, 5000));
}

void switchesOn(uint32_t count)
{
    for (uint32_t i = 0; i < 9; ++i)
        REQUIRE(bus().board->setInput(kSwitchPins[i], i < count));
}

// Debug-port output of one supervision tick.
std::string tickOutput()
{
    StdoutCapture capture(coreTestWorkDir() + "/tick.output");
    sectrixSupervisionTick();
    std::fflush(stdout);
    return capture.text();
}

size_t countText(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

void master(uint32_t on)
{
    REQUIRE(dsStore(DS_MASTER_SWITCH, on) == 0);
}

// Back to a lost link, no alarm and nothing seen.
void startOver()
{
    bus();
    if (sectrixLinkIsLost() != 0)
        linkDown();
    const uint32_t alarms[] = {SECTRIX_LOST, SECTRIX_MAN_MODE, SECTRIX_AUTO_MODE};
    for (uint32_t alarm : alarms)
        alarmClear(alarm);
    sectrixSupervisionReset();
    master(0);
    switchesOn(0);
}

}  // namespace

TEST_CASE("a lost link is an alarm only once it was up with the master switch on")
{
    startOver();
    SUBCASE("never up: nothing to miss")
    {
        master(1);
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
    }
    SUBCASE("up and lost with the master switch off: no alarm, then or later with the master on")
    {
        linkUp();
        sectrixSupervisionTick();
        linkDown();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
        master(1);
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
    }
    SUBCASE("up with the master on, then lost: raised; cleared on the first tick the link is back")
    {
        master(1);
        linkUp();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
        linkDown();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 1);
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 1);
        linkUp();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
    }
    SUBCASE("up with the master on, master off, then lost: no alarm")
    {
        master(1);
        linkUp();
        sectrixSupervisionTick();
        master(0);
        linkDown();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_LOST) == 0);
    }
}

TEST_CASE("manual mode after automatic mode with the master on is an alarm")
{
    startOver();
    master(1);
    linkUp();
    SUBCASE("manual from the start raises nothing")
    {
        unitManual();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 0);
    }
    SUBCASE("automatic, then manual: raised; automatic again clears it")
    {
        unitAutomatic();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 0);
        unitManual();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 1);
        unitAutomatic();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 0);
    }
    SUBCASE("the master switched off forgets automatic mode and clears the alarm")
    {
        unitAutomatic();
        sectrixSupervisionTick();
        unitManual();
        sectrixSupervisionTick();
        REQUIRE(alarmIsActive(SECTRIX_MAN_MODE) == 1);
        master(0);
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 0);
        master(1);
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_MAN_MODE) == 0);
    }
}

TEST_CASE("automatic mode wants every section switch on")
{
    startOver();
    master(1);
    linkUp();
    unitAutomatic();
    switchesOn(8);
    std::string printed = tickOutput() + tickOutput();
    CHECK(alarmIsActive(SECTRIX_AUTO_MODE) == 1);
    CHECK(countText(printed, "Auto mode alarm  8, 9 \n") == 1);
    SUBCASE("the ninth switch clears it")
    {
        switchesOn(9);
        printed = tickOutput() + tickOutput();
        CHECK(alarmIsActive(SECTRIX_AUTO_MODE) == 0);
        CHECK(countText(printed, "Auto mode alarm Deactivate \n") == 1);
    }
    SUBCASE("a lost link leaves the alarm as it is")
    {
        switchesOn(9);
        linkDown();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_AUTO_MODE) == 1);
    }
    SUBCASE("manual mode clears it")
    {
        unitManual();
        sectrixSupervisionTick();
        CHECK(alarmIsActive(SECTRIX_AUTO_MODE) == 0);
    }
}

TEST_CASE("each raise and clear prints its line once")
{
    startOver();
    master(1);
    linkUp();
    CHECK(tickOutput().empty());
    linkDown();
    const std::string lost = tickOutput() + tickOutput();
    CHECK(countText(lost, "Sectrix lost alarm activate \n") == 1);
    linkUp();
    const std::string back = tickOutput() + tickOutput();
    CHECK(countText(back, "Sectrix lost alarm deactivate \n") == 1);
    unitAutomatic();
    switchesOn(9);
    tickOutput();
    unitManual();
    CHECK(countText(tickOutput() + tickOutput(), "Man mode alarm activate \n") == 1);
    unitAutomatic();
    CHECK(countText(tickOutput() + tickOutput(), "Man mode alarm Deactivate \n") == 1);
}

TEST_CASE("a standard-identifier frame never reaches the links")
{
    startOver();
    REQUIRE(sectrixLinkIsLost() == 0);
    // The unit's identifier, but as an 11-bit frame: dropped before the link.
    CanFrame standard{SECTRIX_ID_UNIT, 0, 1, {0x55}};
    canReceiveDispatch(CAN_ROLE_SECTRIX, standard);
    CHECK(sectrixLinkIsLost() == 0);
    CanFrame extended{SECTRIX_ID_UNIT, 1, 1, {0x55}};
    canReceiveDispatch(CAN_ROLE_SECTRIX, extended);
    CHECK(sectrixLinkIsLost() == 1);
    // On the bus: a standard frame from the unit's peer changes nothing either.
    linkDown();
    const uint32_t before = canioGetReceivedCount();
    REQUIRE(bus().unit->send(rawFrame(0x7C0, {0x55})));
    for (int i = 0; i < 500 && canioGetReceivedCount() == before; ++i)
        sleepMilliseconds(2);
    sleepMilliseconds(20);
    CHECK(canioGetReceivedCount() > before);
    CHECK(sectrixLinkIsLost() == 0);
}
