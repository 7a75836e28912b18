#include "benchcan.h"

#include "benchcommand.h"
#include "canio.h"
#include "kernel.h"
#include "threadfunc.h"

#include <atomic>

namespace {

constexpr uint32_t kAnswerChannels = 10;

std::atomic<uint32_t> gChannelCount{1};
std::atomic<bool> gAnswerFlag[kAnswerChannels];
bool gTaskStarted[kAnswerChannels] = {};

CanFrame testFrame(uint32_t id)
{
    CanFrame frame = {};
    frame.id = id;
    frame.extended = 1;
    frame.dlc = 8;
    for (uint8_t i = 0; i < 8; ++i)
        frame.data[i] = i;
    return frame;
}

bool present(uint32_t channel)
{
    return channel < gChannelCount.load();
}

void setAnswerFlag(uint32_t channel, bool on)
{
    if (channel < kAnswerChannels)
        gAnswerFlag[channel] = on;
}

// The driver reports no count of waiting frames: each answered channel has its
// own task waiting in the channel's receive.
void startAnswerTask(uint32_t channel)
{
    if (channel < kAnswerChannels && !gTaskStarted[channel])
        gTaskStarted[channel] = kernelTaskCreateStack(99, sercanTask, channel, 300, "sercan.cpp", __LINE__) == 1;
}

}  // namespace

void benchCanSetChannelCount(uint32_t count)
{
    gChannelCount = count;
}

void sercanTask(uint32_t channel)
{
    threadfunc::setThreadName("bench-can");
    const CanFrame answer = testFrame(0);
    for (;;) {
        CanFrame received;
        if (!canioReceiveFrame(channel, &received)) {
            threadfunc::sleep(5);
            continue;
        }
        if (gAnswerFlag[channel])
            canioTransmitFrame(channel, &answer);
    }
}

int benchHandleCan(BenchRequest request, BenchReply* reply)
{
    static const BenchCommandLength commands[] = {{0x0900, 2}, {0x0901, 1}};
    const BenchClaim claim = benchClaim(request, reply, commands, 2);
    if (claim != BENCH_EXECUTE)
        return claim;
    const uint8_t selector = benchPayload8(request, 0);
    if (request.command == 0x0901) {
        setAnswerFlag(selector, false);
        benchDone(reply);
        return 1;
    }
    // Selectors 0 to 2 name one channel; any other sends on channels 0 to 2.
    if (selector <= 2 && !present(selector)) {
        reply->status = BENCH_REPLY_COMMAND_FOREIGN;
        return 1;
    }
    CanFrame frame = testFrame(0x37);
    if (selector <= 2) {
        canioTransmitFrame(selector, &frame);
    } else {
        // The seven bytes of this request, then the receive buffer's next byte:
        // what an earlier, longer request left there.
        static_assert(BENCH_RECEIVE_BUFFER >= 8, "eight data bytes come from the receive buffer");
        for (uint32_t i = 0; i < 8; ++i)
            frame.data[i] = request.frame[i];
        for (uint32_t channel = 0; channel <= 2 && present(channel); ++channel)
            canioTransmitFrame(channel, &frame);
    }
    const uint8_t rateIndex = benchPayload8(request, 1);
    if (rateIndex <= 5 && present(selector))
        canioSetBitTiming(selector, rateIndex);
    if (present(selector)) {
        startAnswerTask(selector);
        setAnswerFlag(selector, true);
    }
    benchDone(reply);
    return 1;
}
