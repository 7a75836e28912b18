#include "datalogcan.h"

#include "eventids.h"
#include "processcan.h"
#include "socketcan.h"

#include "../../drivers/can_peer.h"
#include "coretables_env.h"
#include "test_wait.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Channel 0 on the stand-in bus, a receive thread handing frames to the flow
// link as the process's CAN receiver does, and the nozzle-control node's socket.
class FlowLinkBench {
public:
    FlowLinkBench()
    {
        coreTablesStart();
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, 0, 0) == 1);
        node = std::make_unique<CanPeer>("can0");
        REQUIRE(node->isOpen());
        mReceiver = std::thread([this] {
            CanFrame frame{};
            while (!mStop) {
                if (canioReceiveFrame(0, &frame) != 1)
                    sleepMilliseconds(1);
                else
                    canReceiveDispatch(CAN_ROLE_FLOW_LINK, frame);
            }
        });
    }
    ~FlowLinkBench()
    {
        mStop = true;
        canioClose(0);
        mReceiver.join();
    }

    std::unique_ptr<CanPeer> node;

private:
    std::atomic<bool> mStop{false};
    std::thread mReceiver;
};

FlowLinkBench& bench()
{
    static FlowLinkBench instance;
    return instance;
}

const struct can_frame kAnswer = rawFrame(0x18EFC0F8 | CAN_EFF_FLAG, {20, 0, 0, 0});
const struct can_frame kOtherAnswer = rawFrame(0x18EFC0F8 | CAN_EFF_FLAG, {21, 0, 0, 0});

CanFrame answer(uint8_t firstByte)
{
    CanFrame frame = {};
    frame.id = DATALOG_CAN_RX_ID;
    frame.extended = 1;
    frame.dlc = 4;
    frame.data[0] = firstByte;
    return frame;
}

// The next frame the node sees, "" when none comes within waitMs of real time.
std::string nextFrame(int waitMs)
{
    struct can_frame frame;
    return bench().node->receive(frame, waitMs) ? frameText(frame) : std::string();
}

// Moves the manual clock on and returns the frame that tick sends ("" for none).
// The short pause lets the sending task arm its next tick before time moves again.
std::string advanceAndTake(uint32_t ms, int waitMs)
{
    clockAdvanceMs(ms);
    const std::string frame = nextFrame(waitMs);
    sleepMilliseconds(5);
    return frame;
}

bool eventSeen(const std::vector<PostedEvent>& events, uint32_t id)
{
    return std::any_of(events.begin(), events.end(), [id](const PostedEvent& e) { return e.first == id; });
}

}  // namespace

TEST_CASE("flow link: a frame every 50 ms from the first answer until 5000 ms pass without one")
{
    clockUseManual();
    bench();
    REQUIRE(datalogCanStart(0) == 1);
    datalogCanSetValue(12000);  // 1.2 l/min per nozzle
    takeCoreEvents();

    // Another identifier is not the link's frame; another first byte is ignored.
    CanFrame other = answer(DATALOG_CAN_ANSWER);
    other.id = 0x18EFC0F9;
    CHECK(datalogCanReceive(&other) == 0);
    const CanFrame wrongByte = answer(21);
    CHECK(datalogCanReceive(&wrongByte) == 1);
    CHECK(advanceAndTake(100, 100).empty());
    CHECK(datalogCanIsLost() == 1);
    CHECK_FALSE(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));

    // The first answer connects; a second one 25 ms later restarts the supervision.
    const CanFrame good = answer(DATALOG_CAN_ANSWER);
    CHECK(datalogCanReceive(&good) == 1);
    CHECK(datalogCanIsLost() == 0);
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    CHECK(advanceAndTake(25, 50).empty());
    CHECK(datalogCanReceive(&good) == 1);
    CHECK(advanceAndTake(25, 2000) == "18EFF8C0#3400002EE0");

    // Ticks at 100 .. 5000 ms after the first answer: one frame each, the
    // latest value in it; the answers with another first byte keep nothing alive.
    datalogCanSetValue(0x01020304);
    for (uint32_t ms = 100; ms <= 5000; ms += 50) {
        CAPTURE(ms);
        CHECK(datalogCanReceive(&wrongByte) == 1);
        REQUIRE(advanceAndTake(50, 2000) == "18EFF8C0#3401020304");
    }
    CHECK(nextFrame(20).empty());
    CHECK_FALSE(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_LOST));

    // 5000 ms after the last answer the link is lost; the ticks go on without frames.
    clockAdvanceMs(25);
    CHECK(waitFor([] { return datalogCanIsLost() == 1; }, 2000));
    for (int tick = 0; tick < 3; ++tick)
        CHECK(advanceAndTake(50, 100).empty());
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_LOST));

    // The next answer connects again: the frames come back at the next tick.
    CHECK(datalogCanReceive(&good) == 1);
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    CHECK(advanceAndTake(50, 2000) == "18EFF8C0#3401020304");

    // A new start marks the link lost: sending stops at once.
    REQUIRE(datalogCanStart(0) == 1);
    CHECK(datalogCanIsLost() == 1);
    for (int tick = 0; tick < 3; ++tick)
        CHECK(advanceAndTake(50, 100).empty());
}

TEST_CASE("flow link on the bus: the receive thread hands the node's answers to the link")
{
    clockUseReal();
    bench();
    REQUIRE(datalogCanStart(0) == 1);
    datalogCanSetValue(12000);
    takeCoreEvents();

    REQUIRE(bench().node->send(kOtherAnswer));
    CHECK(nextFrame(300).empty());
    CHECK(datalogCanIsLost() == 1);

    REQUIRE(bench().node->send(kAnswer));
    int frames = 0;
    for (std::string frame = nextFrame(1000); !frame.empty() && frames < 5; frame = nextFrame(1000)) {
        CHECK(frame == "18EFF8C0#3400002EE0");
        ++frames;
    }
    CHECK(frames == 5);
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    REQUIRE(datalogCanStart(0) == 1);
}
