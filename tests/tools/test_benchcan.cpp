// The CAN test on the stand-in bus: the test frame, the answer task, and
// selectors for channels the platform lacks.
#include "../drivers/can_peer.h"
#include "bench_env.h"
#include "benchcan.h"
#include "benchsystem.h"
#include "canio.h"
#include "socketcan.h"

namespace {

void openCan()
{
    static bool opened = false;
    if (!opened) {
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, 0, 500) == 1);
        benchCanSetChannelCount(1);
        opened = true;
    }
}

struct CanBench : BenchFixture {
    CanBench() : BenchFixture({benchHandleCan}) { openCan(); }
};

// The CAN test after another command whose frames are longer.
struct CanAndClockBench : BenchFixture {
    CanAndClockBench() : BenchFixture({benchHandleCan, benchHandleRtc}) { openCan(); }
};

const char* const kTestFrame = "00000037#0001020304050607";
const char* const kAnswer = "00000000#0001020304050607";

}  // namespace

TEST_CASE_FIXTURE(CanBench, "every frame after the start gets one answer until the stop")
{
    CanPeer peer("can0");
    REQUIRE(peer.isOpen());
    CHECK(exchange(0x0900, bytes({0, 9})) == okStatus());
    CHECK(peer.receiveText(1000) == kTestFrame);

    for (int i = 0; i < 3; ++i)
        REQUIRE(peer.send(rawFrame(0x100 + i, {i})));
    for (int i = 0; i < 3; ++i)
        CHECK(peer.receiveText(1000) == kAnswer);
    CHECK(peer.receiveText(200).empty());

    CHECK(exchange(0x0901, bytes({0})) == okStatus());
    sleepMilliseconds(20);
    REQUIRE(peer.send(rawFrame(0x200, {1})));
    CHECK(peer.receiveText(300).empty());
}

TEST_CASE_FIXTURE(CanBench, "channels the platform lacks are never used")
{
    CanPeer peer("can0");
    CanPeer other("can1");
    REQUIRE(peer.isOpen());
    REQUIRE(other.isOpen());

    // One channel: selector 1 is refused and sends nothing.
    CHECK(exchange(0x0900, bytes({1, 2})) == bytes({0x10, 0x0F}));
    CHECK(exchange(0x0900, bytes({2, 9})) == bytes({0x10, 0x0F}));
    CHECK(other.receiveText(200).empty());
    CHECK(peer.receiveText(0).empty());

    // Other selectors send the request's own bytes on the channels there are;
    // the selected channel itself does not exist, so no answers start.
    CHECK(exchange(0x0900, bytes({7, 9})) == okStatus());
    CHECK(peer.receiveText(1000) == "00000037#00090207091B0000");
    CHECK(exchange(0x0900, bytes({12, 9})) == okStatus());
    CHECK(peer.receiveText(1000) == "00000037#0009020C09200000");
    CHECK(exchange(0x0901, bytes({12})) == okStatus());
    CHECK(exchange(0x0901, bytes({200})) == okStatus());
    CHECK(other.receiveText(200).empty());
}

TEST_CASE_FIXTURE(CanAndClockBench, "the eighth data byte is the one an earlier, longer request left in the receive buffer")
{
    CanPeer peer("can0");
    REQUIRE(peer.isOpen());
    // Setting the clock to 1 November 2021 (year field 23) leaves its month,
    // 0B, as the eighth byte of the receive buffer.
    CHECK(exchange(0x0D00, bytes({13, 5, 9, 1, 11, 23, 0, 1})) == okStatus());
    CHECK(exchange(0x0900, bytes({7, 9})) == okStatus());
    CHECK(peer.receiveText(1000) == "00000037#00090207091B000B");
    // Shorter requests in between leave it in place.
    CHECK(exchange(0x0901, bytes({12})) == okStatus());
    CHECK(exchange(0x0900, bytes({12, 9})) == okStatus());
    CHECK(peer.receiveText(1000) == "00000037#0009020C0920000B");
}
