// Feeds arbitrary bytes to both receivers of the framed link: the command
// receiver (responder) and the answer receiver (requester). The first byte picks
// the receiver and how the bytes are split into polls; every other byte of that
// control stream moves the clock. Afterwards each receiver must still work: a
// valid request is answered, and an outstanding wait ends by its deadline.
#include "clock.h"
#include "comport.h"
#include "memcom.h"
#include "seriallink.h"

#include "fuzz_root.h"
#include "../support/test_frame.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr uint32_t kPort = 1;

// Claims commands 0x0000 (L = 1, reply frame) and 0x0100 (any L, echoes up to
// 100 payload bytes).
int fuzzHandler(BenchRequest request, BenchReply* reply)
{
    if (request.command != 0x0000 && request.command != 0x0100)
        return 0;
    if (request.phase == BENCH_PHASE_CHECK_COMMAND) {
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
    } else if (request.phase == BENCH_PHASE_CHECK_LENGTH) {
        reply->status = BENCH_REPLY_LENGTH_REFUSED;
        if (request.command == 0x0100 || request.length == 1)
            reply->status = BENCH_REPLY_LENGTH_ACCEPTED;
    } else if (request.command == 0x0000) {
        const uint8_t answer[2] = {160, 15};
        benchSetReplyFrame(reply, 0x0001, answer, 2);
    } else {
        const uint8_t length = static_cast<uint8_t>(request.length > 100 ? 100 : request.length);
        benchSetReplyFrame(reply, 0x0101, request.frame + 3, length);
    }
    return 1;
}

void setUp()
{
    clockUseManual();
    comportInit();
    memcomReset();
    comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort);
    benchBindPort(kPort);
    benchRegisterHandler(fuzzHandler);
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void fuzzResponder(const uint8_t* data, size_t size, uint8_t control)
{
    size_t chunk = 1 + control % 17;
    for (size_t at = 0; at < size; at += chunk) {
        const size_t n = size - at < chunk ? size - at : chunk;
        memcomFeed(kPort, std::string(reinterpret_cast<const char*>(data + at), n));
        benchProtocolTick();
        clockAdvanceMs(data[at] < 8 ? 600u * data[at] : 1u);
    }
    // A tick stops after a frame ends; the bytes behind it start the next one.
    while (memcomWaiting(kPort) > 0)
        benchProtocolTick();
    clockAdvanceMs(1001);
    benchProtocolTick();
    memcomTakeOutput(kPort);
    memcomFeed(kPort, frame(0x0000, std::string(1, '\0')));
    benchProtocolTick();
    const std::string expected = std::string("\x00\x0F", 2) + frame(0x0001, "\xA0\x0F");
    require(memcomTakeOutput(kPort) == expected);
}

void fuzzRequester(const uint8_t* data, size_t size, uint8_t control)
{
    uint8_t request[4] = {0x00, 0x01, 0x01, 0x2A};
    uint8_t copy[300];
    const uint8_t* replyData = nullptr;
    uint16_t status = 0;
    void* context = nullptr;
    benchResetIdle();
    const uint8_t minLength = control & 0x0F;
    const uint8_t maxLength = static_cast<uint8_t>(minLength + (control >> 4) * 16);
    require(benchRequest(request, (control & 0x80) ? copy : nullptr, copy, 0x0101, minLength, maxLength) == 1);
    bool ended = false;
    const size_t chunk = 1 + control % 13;
    for (size_t at = 0; at < size && !ended; at += chunk) {
        const size_t n = size - at < chunk ? size - at : chunk;
        memcomFeed(kPort, std::string(reinterpret_cast<const char*>(data + at), n));
        ended = benchPollReply(&replyData, &status, &context) == 1;
        clockAdvanceMs(data[at] < 8 ? 500u * data[at] : 1u);
    }
    if (!ended) {
        // Status within 3000 ms, then at most 1000 ms between two frame bytes.
        clockAdvanceMs(3001);
        ended = benchPollReply(&replyData, &status, &context) == 1;
        if (!ended) {
            clockAdvanceMs(1001);
            ended = benchPollReply(&replyData, &status, &context) == 1;
        }
    }
    require(ended && benchIsIdle() == 1);
    require(context == copy);
    require(replyData == nullptr || (status == BENCH_STATUS_OK && replyData[2] >= minLength &&
                                     replyData[2] <= maxLength));

    // The console link's face of the same receiver.
    CommandFrame linkRequest;
    linkRequest.command = 0x0100;
    CommandFrame answer;
    memcomTakeOutput(kPort);
    serialLinkFlush();
    require(serialLinkSendRequest(&linkRequest, control & 1) == 1);
    memcomFeed(kPort, std::string(reinterpret_cast<const char*>(data), size));
    if (serialLinkReceiveAnswer(&answer, &status) == 0) {
        clockAdvanceMs(3001);
        if (serialLinkReceiveAnswer(&answer, &status) == 0) {
            clockAdvanceMs(1001);
            require(serialLinkReceiveAnswer(&answer, &status) == 1);
        }
    }
    serialLinkFlush();
    memcomTakeOutput(kPort);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzUseTemporaryRoot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (setUp(), true);
    (void)ready;
    if (size < 1)
        return 0;
    memcomReset();  // the port keeps every block written: start each input afresh
    const uint8_t control = data[0];
    if (control & 0x40)
        fuzzRequester(data + 1, size - 1, control);
    else
        fuzzResponder(data + 1, size - 1, control);
    return 0;
}
