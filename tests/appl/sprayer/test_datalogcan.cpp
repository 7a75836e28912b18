#include "datalogcan.h"

#include "eventids.h"
#include "processcan.h"
#include "socketcan.h"

#include "../../drivers/can_peer.h"
#include "coretables_env.h"

#include <algorithm>
#include <atomic>
#include <memory>
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

// Frames the node sees within ms of real time, delivering events meanwhile.
std::vector<std::pair<long long, std::string>> framesWithin(long ms)
{
    std::vector<std::pair<long long, std::string>> frames;
    const long long end = monotonicMs() + ms;
    while (monotonicMs() < end) {
        QCoreApplication::processEvents();
        struct can_frame frame;
        if (bench().node->receive(frame, 5))
            frames.emplace_back(monotonicMs(), frameText(frame));
    }
    return frames;
}

bool eventSeen(const std::vector<PostedEvent>& events, uint32_t id)
{
    return std::any_of(events.begin(), events.end(), [id](const PostedEvent& e) { return e.first == id; });
}

}  // namespace

TEST_CASE("flow link: frames every 50 ms while the node answers, none before or after")
{
    clockUseReal();
    bench();
    REQUIRE(datalogCanStart(0) == 1);
    datalogCanSetValue(12000);  // 1.2 l/min per nozzle
    takeCoreEvents();

    // Another identifier is not the link's frame; another first byte is ignored.
    CanFrame other = {};
    other.id = 0x18EFC0F9;
    other.extended = 1;
    other.dlc = 1;
    other.data[0] = 20;
    CHECK(datalogCanReceive(&other) == 0);
    REQUIRE(bench().node->send(kOtherAnswer));
    CHECK(framesWithin(300).empty());
    CHECK_FALSE(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    CHECK(datalogCanIsLost() == 1);

    // Answers for 5 s: frames at a steady 50 ms.
    std::vector<std::pair<long long, std::string>> frames;
    long long lastAnswer = 0;
    for (int second = 0; second < 5; ++second) {
        REQUIRE(bench().node->send(kAnswer));
        lastAnswer = monotonicMs();
        auto more = framesWithin(1000);
        frames.insert(frames.end(), more.begin(), more.end());
    }
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    REQUIRE(frames.size() >= 50);
    std::vector<long long> gaps;
    for (size_t i = 0; i < frames.size(); ++i) {
        CHECK(frames[i].second == "18EFF8C0#3400002EE0");
        if (i > 0)
            gaps.push_back(frames[i].first - frames[i - 1].first);
    }
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const long long median = gaps[gaps.size() / 2];
    CHECK(median >= 40);
    CHECK(median <= 60);

    // Only answers with the first byte 20 keep the link alive: sending stops
    // 5000 ms after the last one.
    datalogCanSetValue(0x01020304);
    std::vector<std::pair<long long, std::string>> tail;
    for (int second = 0; second < 7; ++second) {
        REQUIRE(bench().node->send(kOtherAnswer));
        auto more = framesWithin(1000);
        tail.insert(tail.end(), more.begin(), more.end());
    }
    REQUIRE_FALSE(tail.empty());
    CHECK(tail.back().second == "18EFF8C0#3401020304");  // one already queued may carry the old value
    const long long stoppedAfter = tail.back().first - lastAnswer;
    CHECK(stoppedAfter >= 4700);
    CHECK(stoppedAfter <= 5600);
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_LOST));
    CHECK(datalogCanIsLost() == 1);

    // The next answer connects again.
    REQUIRE(bench().node->send(kAnswer));
    CHECK_FALSE(framesWithin(300).empty());
    CHECK(eventSeen(takeCoreEvents(), EV_PULSANO_CAN_CONNECTED));
    CHECK(datalogCanIsLost() == 0);

    // A new start marks the link lost: sending stops at once.
    REQUIRE(datalogCanStart(0) == 1);
    CHECK(datalogCanIsLost() == 1);
    framesWithin(100);
    CHECK(framesWithin(300).empty());
}
