// The stand-in Sectrix unit: its frames on the bus, its control lines, and the
// unit played against the console's own link, with channel 0 on the stand-in
// bus and a receive thread handing extended frames to the link as the process
// core's CAN receive task does. The link's supervision is driven through the
// manual clock; the unit itself keeps real time, as a device on the bus would.
#include "../drivers/can_peer.h"
#include "canio.h"
#include "clock.h"
#include "eventqueue.h"
#include "sectrix.h"
#include "socketcan.h"
#include "standin_sectrix.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::string kUnitId = "18EFFFC0#";

// The console's side: the link on channel 0 of a root of its own, fed by a
// receive thread, and the unit on the same bus.
class ConsoleBench {
public:
    ConsoleBench()
    {
        static int argc = 1;
        static char name[] = "test_standin_sectrix";
        static char* argv[] = {name, nullptr};
        mApp = std::make_unique<QCoreApplication>(argc, argv);
        eventRegistryInit();
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, 0, 0) == 1);
        mReceiver = std::thread([this] {
            CanFrame frame{};
            while (!mStop) {
                if (canioReceiveFrame(0, &frame) != 1)
                    sleepMilliseconds(1);  // port closed: do not spin until told to stop
                else if (frame.extended)
                    sectrixOnCanFrame(&frame);
            }
        });
        REQUIRE(sectrixDataLinkInit(0) == 1);
        unit = std::make_unique<StandinSectrix>(mRoot.dir());
        REQUIRE(unit->start());
    }
    ~ConsoleBench()
    {
        unit.reset();
        mStop = true;
        canioClose(0);
        mReceiver.join();
    }

    std::unique_ptr<StandinSectrix> unit;

private:
    TestRoot mRoot;
    std::unique_ptr<QCoreApplication> mApp;
    std::atomic<bool> mStop{false};
    std::thread mReceiver;
};

ConsoleBench& bench()
{
    static ConsoleBench instance;
    return instance;
}

bool linkUp()
{
    return sectrixLinkIsLost() == 1;  // the getter's name has the inverted sense
}

// The unit's frames among the next ones on the peer's bus within ms.
std::vector<std::string> unitFrames(CanPeer& peer, long ms)
{
    std::vector<std::string> frames;
    const long long end = monotonicMs() + ms;
    for (long long left = ms; left > 0; left = end - monotonicMs()) {
        const std::string text = peer.receiveText(static_cast<int>(left));
        if (text.rfind(kUnitId, 0) == 0)
            frames.push_back(text.substr(kUnitId.size()));
    }
    return frames;
}

size_t countPrefix(const std::vector<std::string>& frames, const std::string& prefix)
{
    size_t count = 0;
    for (const std::string& frame : frames)
        count += frame.rfind(prefix, 0) == 0;
    return count;
}

// Waits until the console has handled every frame in flight.
void waitForQuietBus()
{
    uint32_t last = canioGetReceivedCount();
    for (int i = 0; i < 100; ++i) {
        sleepMilliseconds(100);
        const uint32_t now = canioGetReceivedCount();
        if (now == last)
            return;
        last = now;
    }
    FAIL("the console kept receiving");
}

}  // namespace

TEST_CASE("the unit's frames on the bus: reports, power-on and silence")
{
    TestRoot root;
    CanPeer peer("can0");
    REQUIRE(peer.isOpen());
    StandinSectrix unit(root.dir());
    REQUIRE(unit.start());
    // Switched on, it tells its version, asks for the console and reports at once.
    const std::vector<std::string> powerOn = {"0A020102000100FF", "01FFFFFFFFFFFFFF", "00FFFFFFFFFFFFFF",
                                              "0200FFFFFFFFFFFF"};
    // A busy machine may let a periodic report follow within the window.
    const std::vector<std::string> first = unitFrames(peer, 100);
    REQUIRE(first.size() >= 4);
    CHECK(std::vector<std::string>(first.begin(), first.begin() + 4) == powerOn);

    const double cpuBefore = processCpuSeconds();
    const std::vector<std::string> periodic = unitFrames(peer, 1200);
    CHECK(processCpuSeconds() - cpuBefore < 0.3);  // waiting, not spinning
    const size_t reports = countPrefix(periodic, "00FFFF");
    CHECK(reports >= 2);
    CHECK(reports <= 8);
    CHECK(countPrefix(periodic, "0200") == reports);

    CHECK(unit.command("sectrix allow 1ff") == "sectrix status word 01FF");
    CHECK(unit.command("sectrix auto") == "sectrix automatic");
    const std::vector<std::string> changed = unitFrames(peer, 100);
    CHECK(countPrefix(changed, "00FF01FFFFFFFFFF") >= 1);
    CHECK(countPrefix(changed, "0201FFFFFFFFFFFF") >= 1);

    CHECK(unit.command("sectrix off") == "sectrix off");
    peer.drain();
    CHECK(unitFrames(peer, 700).empty());
    CHECK(unit.command("sectrix on") == "sectrix on");
    const std::vector<std::string> back = unitFrames(peer, 100);
    REQUIRE(back.size() >= 4);
    CHECK(std::vector<std::string>(back.begin(), back.begin() + 4) ==
          std::vector<std::string>{powerOn[0], powerOn[1], "00FF01FFFFFFFFFF", "0201FFFFFFFFFFFF"});

    // Frames of other nodes and identifiers are none of its business.
    peer.send(rawFrame(SECTRIX_ID_CONSOLE | CAN_EFF_FLAG, {0x00, 0x07, 0x00, 0x00, 0x00, 0x80, 0xFF}));
    peer.send(rawFrame(0x18EFC0B5 | CAN_EFF_FLAG, {0x00, 0x01, 0x00, 0x00}));
    peer.send(rawFrame(0x0B4, {0x00, 0x02, 0x00, 0x00}));
    CHECK(waitFor([&] { return unit.state().sectionStates == 0x7; }, 2000));
    sleepMilliseconds(100);
    CHECK(unit.state().sectionStates == 0x7);
    CHECK(unit.state().framesReceived == 1);
    unit.stop();
    peer.drain();
    CHECK(unitFrames(peer, 400).empty());
}

TEST_CASE("control lines")
{
    TestRoot root;
    StandinSectrix unit(root.dir());  // not started: the lines still set the unit up

    CHECK(StandinSectrix::handles("sectrix status"));
    CHECK(StandinSectrix::handles("  sectrix"));
    CHECK_FALSE(StandinSectrix::handles("sectrixon"));
    CHECK_FALSE(StandinSectrix::handles("speed 8"));
    CHECK_FALSE(StandinSectrix::handles(""));

    CHECK(unit.command("sectrix status") ==
          "sectrix on, manual, status word FFFF, console sections 000000, 0 frames received");

    struct Case {
        const char* line;
        const char* answer;  // nullptr: refused with a line starting with "?"
    };
    const Case cases[] = {
        {"sectrix", nullptr},
        {"sectrix bogus", nullptr},
        {"sectrix on now", nullptr},
        {"sectrix status 1", nullptr},
        {"sectrix allow", nullptr},
        {"sectrix allow xyz", nullptr},
        {"sectrix allow 0x", nullptr},
        {"sectrix allow 10000", nullptr},
        {"sectrix allow -1", nullptr},
        {"sectrix allow 1ff 2", nullptr},
        {"speed 8", nullptr},
        {"sectrix allow 0x1ff", "sectrix status word 01FF"},
        {"sectrix allow 0", "sectrix status word 0000"},
        {"  sectrix   allow  A5c3 ", "sectrix status word A5C3"},
        {"sectrix auto", "sectrix automatic"},
        {"sectrix off", "sectrix off"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.line);
        const std::string answer = unit.command(c.line);
        if (c.answer)
            CHECK(answer == c.answer);
        else
            CHECK(answer.rfind("?", 0) == 0);
    }
    // The refused lines changed nothing.
    CHECK(unit.command("sectrix status") ==
          "sectrix off, automatic, status word A5C3, console sections 000000, 0 frames received");
    CHECK(unit.command("sectrix manual") == "sectrix manual");
    CHECK(unit.command("sectrix on") == "sectrix on");
    const SectrixUnitState state = unit.state();
    CHECK(state.on);
    CHECK_FALSE(state.automatic);
    CHECK(state.statusWord == 0xA5C3);
}

TEST_CASE("the console's link sees the unit's status word, version and automatic mode")
{
    StandinSectrix& unit = *bench().unit;
    REQUIRE(waitFor(linkUp, 3000));
    CHECK(waitFor([] { return sectrixGetStatusWord() == 0xFFFF; }, 2000));
    CHECK(sectrixIsActive() == 0);
    uint16_t versionWord = 0;
    uint32_t versionValue = 0;
    sectrixGetVersion(&versionWord, &versionValue);
    CHECK(versionWord == StandinSectrix::kVersionWord);
    CHECK(versionValue == StandinSectrix::kVersionValue);

    CHECK(unit.command("sectrix allow 1ff") == "sectrix status word 01FF");
    CHECK(waitFor([] { return sectrixGetStatusWord() == 0x1FF; }, 2000));
    CHECK(unit.command("sectrix auto") == "sectrix automatic");
    CHECK(waitFor([] { return sectrixIsActive() == 1; }, 3000));
    CHECK(unit.command("sectrix manual") == "sectrix manual");
    CHECK(waitFor([] { return sectrixIsActive() == 0; }, 2000));
    CHECK(linkUp());
}

TEST_CASE("the unit keeps the section states the console sends")
{
    StandinSectrix& unit = *bench().unit;
    REQUIRE(waitFor(linkUp, 3000));
    const uint32_t before = unit.state().framesReceived;
    sectrixSetSectionStates(0x155);
    CHECK(waitFor([&] { return unit.state().sectionStates == 0x155; }, 2000));
    sectrixSetSectionStates(0xABCDEF12);  // the frame holds 24 bits
    CHECK(waitFor([&] { return unit.state().sectionStates == 0xCDEF12; }, 2000));
    CHECK(unit.state().framesReceived >= before + 2);
    const std::string status = unit.command("sectrix status");
    CHECK(status.find("console sections CDEF12") != std::string::npos);
}

TEST_CASE("a mode request of the console flips the unit's mode once")
{
    StandinSectrix& unit = *bench().unit;
    REQUIRE(waitFor(linkUp, 3000));
    REQUIRE_FALSE(unit.state().automatic);

    sectrixRequestMode(1);
    CHECK(waitFor([&] { return unit.state().automatic; }, 2000));
    CHECK(waitFor([] { return sectrixIsActive() == 1; }, 3000));
    // The console releases its request 100 ms later and then only sends its idle
    // mode frames: the unit stays in the mode it was asked for.
    CHECK(waitFor([&] { return !unit.state().modeRequestHeld; }, 2000));
    sleepMilliseconds(1200);
    CHECK(unit.state().automatic);
    CHECK(unit.command("sectrix status").rfind("sectrix on, automatic,", 0) == 0);

    sectrixRequestMode(0);
    CHECK(waitFor([&] { return !unit.state().automatic; }, 2000));
    CHECK(waitFor([] { return sectrixIsActive() == 0; }, 2000));
    CHECK(waitFor([&] { return !unit.state().modeRequestHeld; }, 2000));
}

TEST_CASE("a unit switched off is lost to the console after 5000 ms and found again when on")
{
    StandinSectrix& unit = *bench().unit;
    REQUIRE(waitFor(linkUp, 3000));
    clockUseManual();
    CHECK(unit.command("sectrix off") == "sectrix off");
    waitForQuietBus();
    const uint32_t received = unit.state().framesReceived;

    clockAdvanceMs(4900);
    sleepMilliseconds(200);
    CHECK(linkUp());
    clockAdvanceMs(200);
    CHECK(waitFor([] { return !linkUp(); }, 2000));
    // Switched off, it took none of the console's frames of those seconds.
    CHECK(unit.state().framesReceived == received);

    CHECK(unit.command("sectrix on") == "sectrix on");
    CHECK(waitFor(linkUp, 2000));
    // The console answers the request the unit makes when it comes on.
    CHECK(waitFor([&] { return unit.state().framesReceived > received; }, 2000));
    clockUseReal();
}
