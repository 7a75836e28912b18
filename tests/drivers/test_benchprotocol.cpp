// The production-test face of the framed link: responder over a pseudo-terminal,
// and the requester, the reply retry and garbage handling over the in-memory port.
#include "clock.h"
#include "comlinux.h"
#include "comport.h"
#include "doubles/memcom.h"
#include "seriallink.h"
#include "standin_serial.h"
#include "test_frame.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <poll.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Handlers offered every request: an identification-like command 0x0000 (L = 1,
// reply 0x0001 A0 0F), a command 0x0300 (L = 0) that claims its frame but never
// completes, and 0x0400 (L = 0) that completes without a reply frame.
std::vector<uint32_t> gExecuted;
int identifyHandler(BenchRequest request, BenchReply* reply)
{
    if (request.command != 0x0000)
        return 0;
    switch (request.phase) {
    case BENCH_PHASE_CHECK_COMMAND:
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
        break;
    case BENCH_PHASE_CHECK_LENGTH:
        reply->status = BENCH_REPLY_LENGTH_REFUSED;
        if (request.length == 1)
            reply->status = BENCH_REPLY_LENGTH_ACCEPTED;
        break;
    default: {
        gExecuted.push_back(request.command);
        REQUIRE(request.frameSize == 6);
        const uint8_t answer[2] = {160, 15};
        benchSetReplyFrame(reply, 0x0001, answer, 2);
        break;
    }
    }
    return 1;
}

int otherHandler(BenchRequest request, BenchReply* reply)
{
    if (request.command != 0x0300 && request.command != 0x0400)
        return 0;
    if (request.phase == BENCH_PHASE_CHECK_COMMAND)
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
    else if (request.phase == BENCH_PHASE_CHECK_LENGTH)
        reply->status = request.length == 0 ? BENCH_REPLY_LENGTH_ACCEPTED : BENCH_REPLY_LENGTH_REFUSED;
    else {
        gExecuted.push_back(request.command);
        if (request.command == 0x0400)
            reply->status = BENCH_REPLY_DONE;
    }
    return 1;
}

int foreignHandler(BenchRequest request, BenchReply*)
{
    return request.command == 0x7777 ? 1 : 0;
}

std::string readAvailable(int fd, int waitMs)
{
    std::string out;
    struct pollfd p{fd, POLLIN, 0};
    while (poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN)) {
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        out.append(buffer, static_cast<size_t>(got));
    }
    return out;
}

// The far end of port 0 on a pseudo-terminal, and the protocol ticking as the
// main loop does.
struct PtyFixture {
    TestRoot root;
    StandinSerial serial;
    PtyFixture()
    {
        REQUIRE(serial.create(root.dir()));
        REQUIRE(comportInit() == 1);
        REQUIRE(comportRegister(0, comLinuxDriver, 1000, 8000, nullptr, nullptr, 0) == 1);
        REQUIRE(benchBindPort(0) == 1);
        serialLinkClearHandlers();
        REQUIRE(benchRegisterHandler(identifyHandler) == 1);
        REQUIRE(benchRegisterHandler(otherHandler) == 1);
        gExecuted.clear();
    }
    ~PtyFixture()
    {
        serialLinkClearHandlers();
        clockUseReal();
        comportClose(0);
    }
    void send(const std::string& data)
    {
        REQUIRE(write(serial.master(0), data.data(), data.size()) == ssize_t(data.size()));
    }
    // Ticks until `expected` bytes came back (or about 2 s passed), then a little
    // longer to catch anything extra.
    std::string answer(size_t expected)
    {
        std::string out;
        for (int i = 0; i < 200 && out.size() < expected; ++i) {
            benchProtocolTick();
            out += readAvailable(serial.master(0), 10);
        }
        for (int i = 0; i < 5; ++i) {
            benchProtocolTick();
            out += readAvailable(serial.master(0), 10);
        }
        return out;
    }
};

}  // namespace

TEST_CASE_FIXTURE(PtyFixture, "the responder answers byte for byte")
{
    std::string badSum = frame(0x0000, bytes({0}));
    badSum.back() = static_cast<char>(badSum.back() + 1);
    struct Case {
        const char* name;
        std::string request;
        std::string reply;
        size_t executed;
    };
    const Case cases[] = {
        {"identification with its reply frame", bytes({0x00, 0x00, 0x01, 0x00, 0x01, 0x00}),
         bytes({0x00, 0x0F, 0x01, 0x00, 0x02, 0xA0, 0x0F, 0xB2, 0x00}), 1},
        {"wrong length answered after the length byte", bytes({0x00, 0x00, 0x02}), bytes({0x02, 0x0F}), 0},
        {"no handler for the command", bytes({0x00, 0x0B}), bytes({0x40, 0x0F}), 0},
        {"wrong checksum executes nothing", badSum, bytes({0x80, 0x0F}), 0},
        {"no handler completes", frame(0x0300, ""), bytes({0x10, 0x0F}), 1},
        {"completed without a reply frame", frame(0x0400, ""), bytes({0x00, 0x0F}), 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        gExecuted.clear();
        send(c.request);
        CHECK(answer(c.reply.size()) == c.reply);
        CHECK(gExecuted.size() == c.executed);
    }
}

TEST_CASE_FIXTURE(PtyFixture, "silence of more than 1000 ms inside a frame is answered once")
{
    clockUseManual();
    send(bytes({0x00, 0x00}));
    CHECK(answer(2).empty());
    clockAdvanceMs(1000);
    CHECK(answer(2).empty());
    clockAdvanceMs(1);
    CHECK(answer(2) == bytes({0x20, 0x0F}));
    clockAdvanceMs(5000);
    CHECK(answer(2).empty());
    // The next byte starts a new frame.
    send(bytes({0x00, 0x00, 0x01, 0x00, 0x01, 0x00}));
    CHECK(answer(9) == bytes({0x00, 0x0F, 0x01, 0x00, 0x02, 0xA0, 0x0F, 0xB2, 0x00}));
}

TEST_CASE_FIXTURE(PtyFixture, "the table holds 25 handlers; the 26th is dropped")
{
    serialLinkClearHandlers();
    for (uint32_t i = 0; i < 25; ++i)
        CHECK(benchRegisterHandler(foreignHandler) == 1);
    CHECK(benchRegisterHandler(identifyHandler) == 0);
    send(bytes({0x00, 0x00, 0x01, 0x00, 0x01, 0x00}));
    CHECK(answer(2) == bytes({0x40, 0x0F}));
}

namespace {

constexpr uint32_t kPort = 1;

struct MemFixture {
    MemFixture()
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort) == 1);
        REQUIRE(benchBindPort(kPort) == 1);
        serialLinkClearHandlers();
        benchResetIdle();
        clockUseManual();
        gExecuted.clear();
    }
    ~MemFixture()
    {
        serialLinkClearHandlers();
        clockUseReal();
    }
    std::string output() { return memcomTakeOutput(kPort); }
};

}  // namespace

TEST_CASE_FIXTURE(MemFixture, "binding configures 115200 baud, 8 data bits, no parity, 1 stop bit")
{
    const std::vector<ComPortConfig> configs = memcomConfigs(kPort);
    REQUIRE(configs.size() == 1);
    CHECK(configs[0].baud == 7);
    CHECK(configs[0].dataBits == 3);
    CHECK(configs[0].parity == 2);
    CHECK(configs[0].stopBits == 0);
}

TEST_CASE_FIXTURE(MemFixture, "only the six responder codes are sent")
{
    const uint16_t sent[] = {0x0F00, 0x0F02, 0x0F10, 0x0F20, 0x0F40, 0x0F80};
    const uint16_t refused[] = {0x0F82, 0x0F84, 0x0F86, 0x0F88, 0x0000, 0x0F01, 0xFFFF, 0x0E00};
    for (uint16_t code : sent) {
        CAPTURE(code);
        CHECK(benchSendStatus(code) == 1);
        CHECK(output() == bytes({code & 0xFF, 0x0F}));
    }
    for (uint16_t code : refused) {
        CAPTURE(code);
        CHECK(benchSendStatus(code) == 0);
        CHECK(output().empty());
    }
}

TEST_CASE_FIXTURE(MemFixture, "a reply frame whose send failed is sent again on the next tick")
{
    REQUIRE(benchRegisterHandler(identifyHandler) == 1);
    memcomSetRefuse(kPort, true, 0);
    memcomFeed(kPort, frame(0x0000, bytes({7})));
    benchProtocolTick();
    CHECK(output().empty());
    CHECK(gExecuted.size() == 1);
    benchProtocolTick();
    CHECK(output().empty());
    memcomSetRefuse(kPort, false, 0);
    benchProtocolTick();
    CHECK(output() == frame(0x0001, bytes({0xA0, 0x0F})));
    benchProtocolTick();
    CHECK(output().empty());
    CHECK(gExecuted.size() == 1);
}

TEST_CASE_FIXTURE(MemFixture, "a reply frame still unsent when the next request runs is never sent empty")
{
    REQUIRE(benchRegisterHandler(identifyHandler) == 1);
    REQUIRE(benchRegisterHandler(otherHandler) == 1);
    const std::string identifyAnswer = frame(0x0001, bytes({0xA0, 0x0F}));
    memcomSetRefuse(kPort, true, 0);
    memcomFeed(kPort, frame(0x0000, bytes({7})));
    benchProtocolTick();

    SUBCASE("a request answered by its status alone drops the old frame")
    {
        memcomFeed(kPort, frame(0x0400, ""));
        benchProtocolTick();  // the retry fails again, then 0x0400 runs
        memcomSetRefuse(kPort, false, 0);
        for (int tick = 0; tick < 3; ++tick)
            benchProtocolTick();
        CHECK(output().empty());
    }
    SUBCASE("a request with a reply frame replaces the old one")
    {
        memcomFeed(kPort, frame(0x0000, bytes({8})));
        benchProtocolTick();
        memcomSetRefuse(kPort, false, 0);
        for (int tick = 0; tick < 3; ++tick)
            benchProtocolTick();
        CHECK(output() == identifyAnswer);
    }
    SUBCASE("a frame cut short by the bench leaves the retry in place")
    {
        memcomFeed(kPort, frame(0x0400, "").substr(0, 2));
        benchProtocolTick();
        memcomSetRefuse(kPort, false, 0);
        benchProtocolTick();
        CHECK(output() == identifyAnswer);
        clockAdvanceMs(1001);
        benchProtocolTick();
        CHECK(output() == bytes({0x20, 0x0F}));
    }
}

TEST_CASE_FIXTURE(MemFixture, "garbage, truncated frames and oversized lengths never wedge the responder")
{
    REQUIRE(benchRegisterHandler(identifyHandler) == 1);
    REQUIRE(benchRegisterHandler(otherHandler) == 1);
    std::mt19937 random(20261210);
    const std::string valid = frame(0x0000, bytes({1}));
    for (int round = 0; round < 300; ++round) {
        std::string junk;
        const size_t size = random() % 300;
        for (size_t i = 0; i < size; ++i)
            junk += static_cast<char>(random() % 4 == 0 ? 0 : random());
        if (round % 3 == 0)
            junk = valid.substr(0, random() % valid.size()) + junk;  // a frame cut short
        if (round % 5 == 0)
            junk += bytes({0x00, 0x00, 0xFF}) + std::string(255, '\x01');  // oversized length
        memcomFeed(kPort, junk);
        for (int tick = 0; tick < 4; ++tick)
            benchProtocolTick();
        clockAdvanceMs(1001);
        benchProtocolTick();
        output();
        gExecuted.clear();
        memcomFeed(kPort, valid);
        benchProtocolTick();
        CAPTURE(round);
        REQUIRE(output() == bytes({0x00, 0x0F}) + frame(0x0001, bytes({0xA0, 0x0F})));
    }
}

TEST_CASE_FIXTURE(MemFixture, "the requester waits for status and reply frame")
{
    const std::string request = frame(0x0600, bytes({3})).substr(0, 4);
    uint8_t copy[300] = {};
    int context = 0;
    const uint8_t* replyData = nullptr;
    uint16_t status = 0;
    void* back = nullptr;

    SUBCASE("a reply frame within its limits")
    {
        CHECK(benchIsIdle() == 1);
        REQUIRE(benchRequest(reinterpret_cast<const uint8_t*>(request.data()), copy, &context, 0x0601, 3, 3) == 1);
        CHECK(output() == frame(0x0600, bytes({3})));
        CHECK(benchIsIdle() == 0);
        const std::string answer = bytes({0x00, 0x0F}) + frame(0x0601, bytes({3, 0x34, 0x12}));
        memcomFeed(kPort, answer.substr(0, 5));
        CHECK(benchPollReply(&replyData, &status, &back) == 0);
        clockAdvanceMs(1000);
        memcomFeed(kPort, answer.substr(5));
        REQUIRE(benchPollReply(&replyData, &status, &back) == 1);
        CHECK(status == BENCH_STATUS_OK);
        CHECK(back == &context);
        REQUIRE(replyData != nullptr);
        CHECK(std::string(reinterpret_cast<const char*>(replyData), 8) == answer.substr(2));
        CHECK(std::string(reinterpret_cast<const char*>(copy), 8) == answer.substr(2));
        CHECK(benchIsIdle() == 1);
    }

    struct Case {
        const char* name;
        std::string answer;
        uint32_t advanceMs;
        uint16_t status;
    };
    std::string badSum = frame(0x0601, bytes({3, 0, 0}));
    badSum.back() = static_cast<char>(badSum.back() ^ 1);
    const Case cases[] = {
        {"a refusing status", bytes({0x40, 0x0F}), 0, BENCH_STATUS_UNKNOWN},
        {"another command", bytes({0x00, 0x0F}) + frame(0x0701, bytes({3, 0, 0})), 0, BENCH_STATUS_REPLY_COMMAND},
        {"a length above the range", bytes({0x00, 0x0F}) + frame(0x0601, bytes({3, 0, 0, 0})), 0,
         BENCH_STATUS_REPLY_LENGTH},
        {"a wrong checksum", bytes({0x00, 0x0F}) + badSum, 0, BENCH_STATUS_REPLY_CHECKSUM},
        {"no status within 3000 ms", bytes({0x00}), 3001, BENCH_STATUS_REPLY_TIMEOUT},
        {"no reply frame after the status", bytes({0x00, 0x0F}), 1001, BENCH_STATUS_REPLY_TIMEOUT},
        {"a gap inside the reply frame", bytes({0x00, 0x0F, 0x01, 0x06}), 1001, BENCH_STATUS_REPLY_TIMEOUT},
        {"a status word that is no status", bytes({0x34, 0x12}), 0, BENCH_STATUS_FAILED},
    };
    for (const Case& c : cases) {
        SUBCASE(c.name)
        {
            REQUIRE(benchRequest(reinterpret_cast<const uint8_t*>(request.data()), copy, &context, 0x0601, 3, 3) == 1);
            output();
            memcomFeed(kPort, c.answer);
            if (c.advanceMs) {
                CHECK(benchPollReply(&replyData, &status, &back) == 0);
                clockAdvanceMs(c.advanceMs);
            }
            REQUIRE(benchPollReply(&replyData, &status, &back) == 1);
            CHECK(status == c.status);
            CHECK(replyData == nullptr);
            CHECK(benchIsIdle() == 1);
        }
    }
}

TEST_CASE_FIXTURE(MemFixture, "a tick or poll that comes late still takes the bytes that came in time")
{
    // The responder: the rest of the frame came at once, but the loop was held up.
    REQUIRE(benchRegisterHandler(identifyHandler) == 1);
    const std::string request = frame(0x0000, bytes({7}));
    memcomFeed(kPort, request.substr(0, 2));
    benchProtocolTick();
    memcomFeed(kPort, request.substr(2));
    clockAdvanceMs(1500);
    benchProtocolTick();
    CHECK(output() == bytes({0x00, 0x0F}) + frame(0x0001, bytes({0xA0, 0x0F})));
    // Silence after that is still a gap.
    memcomFeed(kPort, request.substr(0, 2));
    benchProtocolTick();
    clockAdvanceMs(1001);
    benchProtocolTick();
    CHECK(output() == bytes({0x20, 0x0F}));

    // The requester: status and reply frame waited while the caller was away.
    uint8_t copy[300] = {};
    const uint8_t* replyData = nullptr;
    uint16_t status = 0;
    void* back = nullptr;
    const std::string ask = frame(0x0600, bytes({3})).substr(0, 4);
    REQUIRE(benchRequest(reinterpret_cast<const uint8_t*>(ask.data()), copy, nullptr, 0x0601, 3, 3) == 1);
    const std::string answer = bytes({0x00, 0x0F}) + frame(0x0601, bytes({3, 0x34, 0x12}));
    memcomFeed(kPort, answer.substr(0, 4));
    CHECK(benchPollReply(&replyData, &status, &back) == 0);
    memcomFeed(kPort, answer.substr(4));
    clockAdvanceMs(1500);
    REQUIRE(benchPollReply(&replyData, &status, &back) == 1);
    CHECK(status == BENCH_STATUS_OK);
    REQUIRE(replyData != nullptr);
    CHECK(std::string(reinterpret_cast<const char*>(replyData), 8) == answer.substr(2));
}

TEST_CASE_FIXTURE(MemFixture, "a status word 0x0000 ends the wait and nothing behind it is stored")
{
    const std::string request = frame(0x0600, bytes({3})).substr(0, 4);
    uint8_t copy[300] = {};
    const uint8_t* replyData = nullptr;
    uint16_t status = 0;
    void* back = nullptr;
    REQUIRE(benchRequest(reinterpret_cast<const uint8_t*>(request.data()), copy, nullptr, 0x0601, 3, 3) == 1);
    memcomFeed(kPort, bytes({0x00, 0x00}) + std::string(90, '\x5A'));
    REQUIRE(benchPollReply(&replyData, &status, &back) == 1);
    CHECK(status == BENCH_STATUS_FAILED);
    CHECK(memcomWaiting(kPort) == 0);
    CHECK(benchIsIdle() == 1);

    // The console link's face of the same receiver.
    CommandFrame requestFrame;
    requestFrame.command = 0x0101;
    CommandFrame answer;
    REQUIRE(serialLinkSendRequest(&requestFrame, 1) == 1);
    memcomFeed(kPort, bytes({0x00, 0x00}) + std::string(90, '\x5A'));
    REQUIRE(serialLinkReceiveAnswer(&answer, &status) == 1);
    CHECK(status == COMMAND_STATUS_FAILED);
    CHECK(memcomWaiting(kPort) == 0);
}

TEST_CASE_FIXTURE(MemFixture, "a status-only request ends with the status")
{
    const std::string request = frame(0x0702, bytes({8, 1})).substr(0, 5);
    const uint8_t* replyData = nullptr;
    uint16_t status = 0;
    void* back = nullptr;
    int context = 0;
    REQUIRE(benchRequest(reinterpret_cast<const uint8_t*>(request.data()), nullptr, &context, 0, 0, 0) == 1);
    memcomFeed(kPort, bytes({0x00, 0x0F}));
    REQUIRE(benchPollReply(&replyData, &status, &back) == 1);
    CHECK(status == BENCH_STATUS_OK);
    CHECK(replyData == nullptr);
    CHECK(back == &context);
    CHECK(benchResetIdle() == 1);
}
