#include "clock.h"
#include "comport.h"
#include "doubles/memcom.h"
#include "seriallink.h"
#include "test_frame.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kPort = 2;

struct LinkFixture {
    LinkFixture()
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kPort, memcomDriver, 100, 100, nullptr, nullptr, kPort) == 1);
        REQUIRE(serialLinkInit(kPort) == 1);
        serialLinkClearHandlers();
        clockUseManual();
    }
    ~LinkFixture()
    {
        serialLinkClearHandlers();
        clockUseReal();
    }
    std::string output() { return memcomTakeOutput(kPort); }
};

// Echo handler: command 0x0101 takes a payload of 2 bytes and answers a frame of
// command 0x0101 with the bytes swapped; command 0x0102 takes none and fails.
std::vector<std::string> gExecuted;
uint32_t echoHandler(uint32_t phase, const CommandFrame* request, CommandReply* reply)
{
    if (request->command != 0x0101 && request->command != 0x0102)
        return 0;
    if (phase == COMMAND_PHASE_LENGTH) {
        const uint8_t wanted = request->command == 0x0101 ? 2 : 0;
        reply->status = request->length == wanted ? COMMAND_STATUS_OK : COMMAND_STATUS_BAD_LENGTH;
    } else if (phase == COMMAND_PHASE_EXECUTE) {
        gExecuted.push_back(std::string(reinterpret_cast<const char*>(request->payload), request->length));
        if (request->command == 0x0102) {
            reply->status = COMMAND_STATUS_FAILED;
            return 1;
        }
        reply->status = COMMAND_STATUS_OK;
        reply->hasFrame = 1;
        reply->frame.command = 0x0101;
        reply->frame.length = 2;
        reply->frame.payload[0] = request->payload[1];
        reply->frame.payload[1] = request->payload[0];
    }
    return 1;
}

uint32_t otherHandler(uint32_t, const CommandFrame* request, CommandReply* reply)
{
    if (request->command != 0x0200)
        return 0;
    reply->status = COMMAND_STATUS_OK;
    return 1;
}

}  // namespace

TEST_CASE_FIXTURE(LinkFixture, "binding configures 9600 baud, 8 data bits, no parity, 1 stop bit")
{
    const std::vector<ComPortConfig> configs = memcomConfigs(kPort);
    REQUIRE(configs.size() == 1);
    CHECK(configs[0].baud == 3);
    CHECK(configs[0].dataBits == 3);
    CHECK(configs[0].parity == 2);
    CHECK(configs[0].stopBits == 0);
}

TEST_CASE_FIXTURE(LinkFixture, "status words")
{
    struct Case {
        uint16_t code;
        uint32_t result;
        std::string sent;
    };
    const Case cases[] = {
        {0x0F00, 1, bytes({0x00, 0x0F})}, {0x0F02, 1, bytes({0x02, 0x0F})},
        {0x0F10, 1, bytes({0x10, 0x0F})}, {0x0F20, 1, bytes({0x20, 0x0F})},
        {0x0F40, 1, bytes({0x40, 0x0F})}, {0x0F80, 1, bytes({0x80, 0x0F})},
        {0x0F01, 0, ""}, {0x0E20, 0, ""}, {0x0000, 0, ""}, {0xFFFF, 0, ""}, {0x0F82, 0, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.code);
        CHECK(serialLinkSendStatus(c.code) == c.result);
        CHECK(output() == c.sent);
    }
}

TEST_CASE_FIXTURE(LinkFixture, "frames carry a 16-bit sum of all bytes before it")
{
    uint8_t big[300] = {};
    for (int i = 0; i < 258; ++i)
        big[i] = 0xFF;
    CHECK(serialLinkChecksum(big, 258) == static_cast<uint16_t>(258 * 0xFF));  // no 8-bit count
    CHECK(serialLinkChecksum(big, 0) == 0);

    uint8_t small[8] = {0x34, 0x12, 0x03, 0xFF, 0xFF, 0x01};
    CHECK(serialLinkSendFrame(6, small) == 1);
    CHECK(output() == bytes({0x34, 0x12, 0x03, 0xFF, 0xFF, 0x01, 0x48, 0x02}));
}

TEST_CASE_FIXTURE(LinkFixture, "the command receiver answers each frame once")
{
    gExecuted.clear();
    REQUIRE(serialLinkRegisterHandler(otherHandler) == 1);
    REQUIRE(serialLinkRegisterHandler(echoHandler) == 1);

    struct Case {
        const char* name;
        std::string incoming;
        uint16_t result;
        std::string answer;
        size_t executed;
    };
    std::string badSum = frame(0x0101, bytes({1, 2}));
    badSum.back() = static_cast<char>(badSum.back() + 1);
    const std::vector<Case> cases = {
        {"executed with a reply frame", frame(0x0101, bytes({1, 2})), 0x0F00,
         statusWord(0x0F00) + frame(0x0101, bytes({2, 1})), 1},
        {"executed without success", frame(0x0102, ""), 0x0F10, statusWord(0x0F10), 1},
        {"unknown command", frame(0x0300, bytes({1, 2})), 0x0F40, statusWord(0x0F40), 0},
        {"wrong length", frame(0x0101, bytes({1, 2, 3})), 0x0F02, statusWord(0x0F02), 0},
        {"bad checksum", badSum, 0x0F80, statusWord(0x0F80), 0},
        {"second handler in the table", frame(0x0200, ""), 0x0F00, statusWord(0x0F00), 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        gExecuted.clear();
        memcomFeed(kPort, c.incoming);
        CHECK(serialLinkReceive() == c.result);
        CHECK(output() == c.answer);
        CHECK(gExecuted.size() == c.executed);
        CHECK(serialLinkHasInput() == 0);
    }
}

TEST_CASE_FIXTURE(LinkFixture, "a frame may arrive over several calls; a call that finds a gap over 1000 ms ends it")
{
    REQUIRE(serialLinkRegisterHandler(echoHandler) == 1);
    const std::string request = frame(0x0101, bytes({5, 6}));

    SUBCASE("gaps up to 1000 ms")
    {
        for (size_t i = 0; i + 1 < request.size(); ++i) {
            memcomFeed(kPort, request.substr(i, 1));
            CHECK(serialLinkReceive() == 0);
            clockAdvanceMs(1000);
        }
        memcomFeed(kPort, request.substr(request.size() - 1));
        CHECK(serialLinkReceive() == 0x0F00);
        CHECK(output() == statusWord(0x0F00) + frame(0x0101, bytes({6, 5})));
    }
    SUBCASE("1001 ms after the last byte")
    {
        memcomFeed(kPort, request.substr(0, 4));
        CHECK(serialLinkReceive() == 0);
        clockAdvanceMs(1000);
        CHECK(serialLinkReceive() == 0);
        clockAdvanceMs(1);
        CHECK(serialLinkReceive() == 0x0F20);
        CHECK(output() == statusWord(0x0F20));
        memcomFeed(kPort, request);
        CHECK(serialLinkReceive() == 0x0F00);
    }
    SUBCASE("bytes waiting at a late call came in time")
    {
        memcomFeed(kPort, request.substr(0, 4));
        CHECK(serialLinkReceive() == 0);
        memcomFeed(kPort, request.substr(4));
        clockAdvanceMs(1001);
        CHECK(serialLinkReceive() == 0x0F00);
    }
    SUBCASE("an idle receiver never times out")
    {
        clockAdvanceMs(5000);
        CHECK(serialLinkReceive() == 0);
        CHECK(output().empty());
    }
}

TEST_CASE_FIXTURE(LinkFixture, "the handler table holds 25 entries")
{
    for (uint32_t i = 0; i < SERIALLINK_HANDLERS; ++i)
        CHECK(serialLinkRegisterHandler(otherHandler) == 1);
    CHECK(serialLinkRegisterHandler(echoHandler) == 0);
    memcomFeed(kPort, frame(0x0101, bytes({1, 2})));
    CHECK(serialLinkReceive() == 0x0F40);
}

TEST_CASE_FIXTURE(LinkFixture, "the requesting side waits for status and reply frame")
{
    CommandFrame requestFrame;
    requestFrame.command = 0x0101;
    requestFrame.length = 2;
    requestFrame.payload[0] = 7;
    requestFrame.payload[1] = 8;
    CommandFrame answer;
    uint16_t code = 0;

    SUBCASE("status and frame")
    {
        REQUIRE(serialLinkSendRequest(&requestFrame, 1) == 1);
        CHECK(output() == frame(0x0101, bytes({7, 8})));
        memcomFeed(kPort, statusWord(0x0F00) + frame(0x0101, bytes({8, 7})).substr(0, 4));
        CHECK(serialLinkReceiveAnswer(&answer, &code) == 0);
        clockAdvanceMs(900);
        memcomFeed(kPort, frame(0x0101, bytes({8, 7})).substr(4));
        REQUIRE(serialLinkReceiveAnswer(&answer, &code) == 1);
        CHECK(code == 0x0F00);
        CHECK(answer.command == 0x0101);
        REQUIRE(answer.length == 2);
        CHECK(answer.payload[0] == 8);
        CHECK(answer.payload[1] == 7);
    }
    SUBCASE("a refusing status ends the wait")
    {
        REQUIRE(serialLinkSendRequest(&requestFrame, 1) == 1);
        memcomFeed(kPort, statusWord(0x0F40));
        REQUIRE(serialLinkReceiveAnswer(&answer, &code) == 1);
        CHECK(code == 0x0F40);
    }
    SUBCASE("no answer within 3000 ms")
    {
        REQUIRE(serialLinkSendRequest(&requestFrame, 0) == 1);
        clockAdvanceMs(3000);
        CHECK(serialLinkReceiveAnswer(&answer, &code) == 0);
        clockAdvanceMs(1);
        REQUIRE(serialLinkReceiveAnswer(&answer, &code) == 1);
        CHECK(code == 0x0F20);
    }
    SUBCASE("a reply frame with a bad sum")
    {
        REQUIRE(serialLinkSendRequest(&requestFrame, 1) == 1);
        std::string reply = frame(0x0101, bytes({8, 7}));
        reply.back() = static_cast<char>(reply.back() ^ 1);
        memcomFeed(kPort, statusWord(0x0F00) + reply);
        REQUIRE(serialLinkReceiveAnswer(&answer, &code) == 1);
        CHECK(code == 0x0F80);
    }
}
