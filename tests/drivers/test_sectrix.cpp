// The Sectrix link played through the stand-in bus: a peer on can0 acts as the
// unit, a receive thread hands channel 0's extended frames to the link as the
// console's receive thread does. Most cases drive the link's alarms with the
// manual clock; the last ones run on the real clock to check the wiring.
#include "can_peer.h"
#include "canio.h"
#include "clock.h"
#include "eventqueue.h"
#include "sectrix.h"
#include "socketcan.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

TestRoot& programRoot()
{
    static TestRoot root;
    return root;
}

std::mutex eventLock;
std::vector<std::pair<uint32_t, uint32_t>> events;

void recordEvent(uint32_t id, uint32_t value)
{
    std::lock_guard<std::mutex> guard(eventLock);
    events.emplace_back(id, value);
}

// Channel 0 on the stand-in bus with a receive thread feeding the link, the
// event queue delivering into `events`, and the unit's peer socket.
class LinkBench {
public:
    LinkBench()
    {
        programRoot();
        static int argc = 1;
        static char name[] = "test_sectrix";
        static char* argv[] = {name, nullptr};
        mApp = std::make_unique<QCoreApplication>(argc, argv);
        eventRegistryInit();
        eventSetCallback(recordEvent);
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, 0, 0) == 1);
        unit = std::make_unique<CanPeer>("can0");
        REQUIRE(unit->isOpen());
        mReceiver = std::thread([this] {
            CanFrame frame{};
            while (!mStop) {
                if (canioReceiveFrame(0, &frame) != 1)
                    sleepMilliseconds(1);  // port closed: do not spin until told to stop
                else if (frame.extended)
                    sectrixOnCanFrame(&frame);
            }
        });
    }
    ~LinkBench()
    {
        mStop = true;
        canioClose(0);
        mReceiver.join();
    }

    std::unique_ptr<CanPeer> unit;

private:
    std::unique_ptr<QCoreApplication> mApp;
    std::atomic<bool> mStop{false};
    std::thread mReceiver;
};

LinkBench& bench()
{
    static LinkBench instance;
    return instance;
}

// Delivers queued events for `ms` of real time.
void pumpEvents(long ms)
{
    const long long end = monotonicMs() + ms;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        sleepMilliseconds(2);
    } while (monotonicMs() < end);
}

std::vector<std::pair<uint32_t, uint32_t>> takeEvents(long pumpMs = 150)
{
    pumpEvents(pumpMs);
    std::lock_guard<std::mutex> guard(eventLock);
    return std::exchange(events, {});
}

bool hasEvent(const std::vector<std::pair<uint32_t, uint32_t>>& list, uint32_t id, uint32_t value)
{
    for (const auto& event : list)
        if (event.first == id && event.second == value)
            return true;
    return false;
}

size_t countEvent(const std::vector<std::pair<uint32_t, uint32_t>>& list, uint32_t id)
{
    size_t count = 0;
    for (const auto& event : list)
        count += event.first == id;
    return count;
}

// Frames the console put on the bus within `ms` of real time.
std::vector<std::string> sentFrames(long ms = 200)
{
    std::vector<std::string> frames;
    const long long end = monotonicMs() + ms;
    for (;;) {
        const long long left = end - monotonicMs();
        if (left <= 0)
            return frames;
        const std::string text = bench().unit->receiveText(static_cast<int>(left));
        if (!text.empty())
            frames.push_back(text);
    }
}

// The unit sends one frame; returns once the link has handled it.
void unitSends(std::initializer_list<int> bytes)
{
    REQUIRE(bench().unit->send(rawFrame(SECTRIX_ID_UNIT | CAN_EFF_FLAG, bytes)));
    const uint32_t before = canioGetReceivedCount();
    for (int i = 0; i < 200 && canioGetReceivedCount() == before; ++i)
        sleepMilliseconds(2);
    sleepMilliseconds(20);
}

// Moves the manual clock in steps, collecting what the console sends after each.
std::vector<std::vector<std::string>> advanceInSteps(int steps, uint32_t stepMs)
{
    std::vector<std::vector<std::string>> sent;
    for (int i = 0; i < steps; ++i) {
        clockAdvanceMs(stepMs);
        sent.push_back(sentFrames(200));
    }
    return sent;
}

const std::string statusFrame5 = "18EFC0B4#000500000080FF";
const std::string modeIdle = "18EFC0B4#0200";
const std::string modeToggle = "18EFC0B4#0201";
const std::string requestReply = "18EFC0B4#01000261";

// The mode frames among what was sent.
std::vector<std::string> modeFrames(const std::vector<std::string>& frames)
{
    std::vector<std::string> modes;
    for (const std::string& frame : frames)
        if (frame.rfind("18EFC0B4#02", 0) == 0)
            modes.push_back(frame);
    return modes;
}

// Lets the link run out of supervision so the next case starts lost.
void letLinkGoLost()
{
    advanceInSteps(6, 1000);
    bench().unit->drain();
    takeEvents(50);
    REQUIRE(sectrixLinkIsLost() == 0);
}

}  // namespace

TEST_CASE("before the first frame of the unit the console sends nothing")
{
    bench();
    clockUseManual();
    CHECK(sectrixDataLinkInit(0) == 1);
    sectrixSetSectionStates(0x5);
    CHECK(sentFrames().empty());
    for (const auto& step : advanceInSteps(7, 1000))
        CHECK(step.empty());
    CHECK(sectrixLinkIsLost() == 0);
    CHECK(countEvent(takeEvents(), EV_SECTRIX_LINK_LOST) == 0);
}

TEST_CASE("the first frame restores the link; status and mode frames follow every 1000 ms")
{
    bench();
    unitSends({0x55});  // a type the link does not know still counts as a sign of life
    CHECK(hasEvent(takeEvents(), EV_SECTRIX_LINK_RESTORED, 0));
    CHECK(sectrixLinkIsLost() == 1);
    CHECK(sentFrames(100).empty());  // the periodic frames wait for their alarms

    const auto steps = advanceInSteps(3, 1000);
    for (const auto& step : steps) {
        REQUIRE(step.size() == 2);
        CHECK(std::count(step.begin(), step.end(), statusFrame5) == 1);
        CHECK(std::count(step.begin(), step.end(), modeIdle) == 1);
    }

    SUBCASE("5000 ms without a frame of the unit loses the link and silences the console")
    {
        advanceInSteps(2, 1000);  // 5000 ms since the unit's frame
        CHECK(hasEvent(takeEvents(), EV_SECTRIX_LINK_LOST, 0));
        CHECK(sectrixLinkIsLost() == 0);
        bench().unit->drain();
        for (const auto& step : advanceInSteps(3, 1000))
            CHECK(step.empty());

        unitSends({0x00, 0x00, 0x00, 0x00});
        CHECK(hasEvent(takeEvents(), EV_SECTRIX_LINK_RESTORED, 0));
        const auto resumed = advanceInSteps(1, 1000);
        CHECK(std::count(resumed[0].begin(), resumed[0].end(), statusFrame5) == 1);
    }
    SUBCASE("a frame of the unit restarts the supervision")
    {
        for (int i = 0; i < 3; ++i) {
            unitSends({0x55});
            advanceInSteps(4, 1000);
        }
        CHECK(countEvent(takeEvents(), EV_SECTRIX_LINK_LOST) == 0);
        CHECK(sectrixLinkIsLost() == 1);
    }
    letLinkGoLost();
}

TEST_CASE("frames of other identifiers are refused and do not count as signs of life")
{
    bench();
    struct Case {
        uint32_t id;
        uint8_t extended;
    };
    const Case cases[] = {{0x18EFFFC1, 1}, {0x18EFC0B4, 1}, {0x0CEFFFC0, 1}, {0x7C0, 0}};
    for (const Case& c : cases) {
        CAPTURE(c.id);
        CanFrame frame{};
        frame.id = c.id;
        frame.extended = c.extended;
        frame.dlc = 4;
        CHECK(sectrixOnCanFrame(&frame) == 0);
    }
    CHECK(sectrixLinkIsLost() == 0);
    CHECK(countEvent(takeEvents(), EV_SECTRIX_LINK_RESTORED) == 0);
}

TEST_CASE("a request of the unit is answered at once")
{
    bench();
    unitSends({0x01});
    CHECK(sentFrames(200) == std::vector<std::string>{requestReply});
    letLinkGoLost();
}

TEST_CASE("section states go out at once when they change")
{
    bench();
    unitSends({0x55});
    sectrixSetSectionStates(0x123456);
    CHECK(sentFrames() == std::vector<std::string>{"18EFC0B4#005634120080FF"});
    sectrixSetSectionStates(0x123456);
    CHECK(sentFrames().empty());
    sectrixSetSectionStates(0xAB000005);  // only the low 24 bits are sent
    CHECK(sentFrames() == std::vector<std::string>{statusFrame5});
    sectrixSetSectionStates(0x5);
    CHECK(sentFrames() == std::vector<std::string>{statusFrame5});
    letLinkGoLost();
}

TEST_CASE("status words and automatic mode from the unit")
{
    bench();
    unitSends({0x00, 0x34, 0x12, 0x00});
    auto got = takeEvents();
    CHECK(hasEvent(got, EV_SECTRIX_WORD_CHANGED, 0x1234));
    CHECK(sectrixGetStatusWord() == 0x1234);
    unitSends({0x00, 0x34, 0x12, 0x00});
    CHECK(countEvent(takeEvents(), EV_SECTRIX_WORD_CHANGED) == 0);
    unitSends({0x00, 0x99, 0x99});  // DLC 3: no status word
    CHECK(sectrixGetStatusWord() == 0x1234);

    unitSends({0x02, 0x03});  // only bit 0 counts: automatic
    CHECK(sectrixIsActive() == 0);
    CHECK(countEvent(takeEvents(), EV_SECTRIX_MODE_CHANGED) == 0);
    unitSends({0x00, 0x34, 0x12, 0x00});
    CHECK(sectrixIsActive() == 0);
    unitSends({0x00, 0x34, 0x12});  // DLC 3 does not confirm
    CHECK(sectrixIsActive() == 0);
    CHECK(countEvent(takeEvents(), EV_SECTRIX_MODE_CHANGED) == 0);
    unitSends({0x00, 0x34, 0x12, 0x00});
    CHECK(sectrixIsActive() == 1);
    got = takeEvents();
    CHECK(hasEvent(got, EV_SECTRIX_MODE_CHANGED, 1));
    CHECK(countEvent(got, EV_SECTRIX_MODE_CHANGED) == 1);

    unitSends({0x02, 0x02});  // bit 0 clear: manual at once
    CHECK(sectrixIsActive() == 0);
    CHECK(hasEvent(takeEvents(), EV_SECTRIX_MODE_CHANGED, 0));
    letLinkGoLost();
}

TEST_CASE("a mode request toggles until the unit reports the mode")
{
    bench();
    unitSends({0x02, 0x00});
    advanceInSteps(1, 1000);
    bench().unit->drain();
    sectrixRequestMode(1);
    CHECK(sentFrames() == std::vector<std::string>{modeToggle});
    CHECK(modeFrames(advanceInSteps(1, 100)[0]) == std::vector<std::string>{modeIdle});
    // The pair repeats every 1100 ms: toggle 1000 ms after the release, release 100 ms later.
    auto steps = advanceInSteps(1, 1000);
    CHECK(modeFrames(steps[0]) == std::vector<std::string>{modeToggle});
    CHECK(modeFrames(advanceInSteps(1, 100)[0]) == std::vector<std::string>{modeIdle});

    unitSends({0x02, 0x01});
    bench().unit->drain();
    steps = advanceInSteps(3, 1000);
    for (const auto& step : steps)
        CHECK(modeFrames(step) == std::vector<std::string>{modeIdle});
    unitSends({0x02, 0x00});
    takeEvents(50);
    letLinkGoLost();
}

TEST_CASE("a version message is valid for 1000 ms after the last one")
{
    bench();
    uint16_t word = 0;
    uint32_t value = 0;
    unitSends({0x0A, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12});
    CHECK(sectrixGetVersion(&word, &value) == 1);
    CHECK(word == 0x1234);
    CHECK(value == 0x12345678u);
    CHECK(sectrixGetVersion(nullptr, nullptr) == 1);

    advanceInSteps(1, 600);
    unitSends({0x0A, 0x01, 0x00, 0x02, 0x00, 0x00, 0x00});
    advanceInSteps(1, 600);
    CHECK(sectrixGetVersion(&word, &value) == 1);
    CHECK(word == 1);
    CHECK(value == 2);
    advanceInSteps(1, 500);
    CHECK(sectrixGetVersion(&word, &value) == 0);
    CHECK(word == 1);  // the values stay readable
    letLinkGoLost();
}

TEST_CASE("on the real clock the link restores, sends each second and times out")
{
    bench();
    clockUseReal();
    sectrixSetSectionStates(0x5);
    bench().unit->drain();
    takeEvents(50);

    unitSends({0x55});
    const long long restoredAt = monotonicMs();
    CHECK(hasEvent(takeEvents(100), EV_SECTRIX_LINK_RESTORED, 0));
    std::vector<long long> statusTimes;
    const long long end = restoredAt + 2300;
    while (monotonicMs() < end) {
        const std::string text = bench().unit->receiveText(static_cast<int>(end - monotonicMs()));
        if (text == statusFrame5)
            statusTimes.push_back(monotonicMs());
    }
    REQUIRE(statusTimes.size() >= 2);
    // Generous margins: the reading thread is an ordinary one on a shared machine.
    CHECK(statusTimes[0] - restoredAt <= 1300);
    CHECK(statusTimes[1] - statusTimes[0] >= 700);
    CHECK(statusTimes[1] - statusTimes[0] <= 1300);

    // 5000 ms after the unit's frame the link is lost and the console falls silent.
    pumpEvents(5000 - (monotonicMs() - restoredAt) + 300);
    CHECK(sectrixLinkIsLost() == 0);
    CHECK(hasEvent(takeEvents(50), EV_SECTRIX_LINK_LOST, 0));
    bench().unit->drain();
    CHECK(sentFrames(1200).empty());
}
