#include "canio.h"
#include "comport.h"
#include "debugcon.h"
#include "doubles/memcom.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

constexpr uint32_t kPort = 1;

// A CAN channel whose driver takes every frame, so that a transmitted frame
// passes the frame hook.
uint32_t canDriver(CanDriverCommand* command, uint32_t)
{
    switch (command->command) {
    case CAN_CMD_OPEN:
    case CAN_CMD_SEND:
    case CAN_CMD_BIT_TIMING:
    case CAN_CMD_BLOCKING_MODE:
        return 1;
    case CAN_CMD_READ_FUNCTION:
        command->argument.pointer = nullptr;
        return 1;
    default:
        return 1;
    }
}

// Debug port on an in-memory driver; the letter machine back in its idle state.
struct ConsoleFixture {
    TestRoot root;
    ConsoleFixture()
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kPort, memcomDriver, 1000, 8000, nullptr, nullptr, kPort) == 1);
        comselectInit(kPort);
        debugSetMode(0);
        debugSetLevel(0);
        debugSetMask(1);
        debugSetKeyHandler(nullptr);
        debugSetServiceIdentification(0, 0, 0, nullptr);
        debugSetServiceFunction(nullptr);
        type("\n");  // any state with no key handler returns to idle
        canioSetFrameHook(nullptr);
        memcomTakeOutput(kPort);
    }
    void type(const std::string& letters)
    {
        memcomFeed(kPort, letters);
        debugConsoleService(0);
        CHECK(memcomWaiting(kPort) == 0);
    }
    std::string output() { return memcomTakeOutput(kPort); }
};

std::string gKeys;
uint32_t keyHandler(uint32_t character)
{
    gKeys += static_cast<char>(character);
    return character == 'z' ? 1 : 0;
}

struct ServiceCall {
    uint32_t request;
    uint16_t word2;
    uint16_t word1;
};
std::vector<ServiceCall> gServiceCalls;
void serviceFunction(uint32_t request, uint16_t word2, uint16_t word1)
{
    gServiceCalls.push_back({request, word2, word1});
}

uint32_t gModeCalls = 0;
uint32_t gModePort = 99;
void modeFunction(uint32_t port)
{
    ++gModeCalls;
    gModePort = port;
}

}  // namespace

TEST_CASE_FIXTURE(ConsoleFixture, "the letter console answers ping and nothing else")
{
    struct Case {
        const char* letters;
        const char* answer;
    };
    const Case cases[] = {
        {"ping", "PING\r\n"},
        {"pping", ""},
        {"pinx", ""},
        {"pinng", ""},
        {"xyping", "PING\r\n"},
        {"pingping", "PING\r\nPING\r\n"},
        {"PING", ""},
        {"pin\ng", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.letters);
        type(c.letters);
        CHECK(output() == c.answer);
        type("\n");
    }
}

TEST_CASE_FIXTURE(ConsoleFixture, "a word may be split over several service calls")
{
    type("pi");
    CHECK(output().empty());
    type("n");
    type("g");
    CHECK(output() == "PING\r\n");
}

TEST_CASE_FIXTURE(ConsoleFixture, "baud1 to baud5 reopen the debug port")
{
    for (uint32_t digit = 1; digit <= 5; ++digit) {
        CAPTURE(digit);
        type("baud" + std::to_string(digit));
        const std::vector<ComPortConfig> configs = memcomConfigs(kPort);
        REQUIRE(configs.size() == digit);
        CHECK(configs.back().baud == digit + 2);
        CHECK(configs.back().dataBits == 3);
        CHECK(configs.back().parity == 2);
        CHECK(configs.back().stopBits == 0);
    }
    for (const char* word : {"baud0", "baud6", "bauds", "bad1", "baaud1"}) {
        CAPTURE(word);
        type(word);
        CHECK(memcomConfigs(kPort).size() == 5);
    }
    CHECK(output().empty());
}

TEST_CASE_FIXTURE(ConsoleFixture, "cdt, cdb and cde switch the CAN trace")
{
    REQUIRE(canioInit(1) == 1);
    REQUIRE(canioInitChannel(0, canDriver, 0, 0) == 1);
    CanFrame frame{0x18EFFFC0, 1, 2, {0xAB, 0x01}};

    type("cdt");
    REQUIRE(canioTransmitFrame(0, &frame) != 0);
    const std::string text = output();
    CHECK(text.find(" Tx 18EFFFC0 AB 01\n") != std::string::npos);

    type("cdb");
    REQUIRE(canioTransmitFrame(0, &frame) != 0);
    const std::string binary = output();
    REQUIRE(binary.size() == 15);
    CHECK(binary.substr(0, 3) == std::string("\x02\x03\x0B", 3));

    type("cde");
    REQUIRE(canioTransmitFrame(0, &frame) != 0);
    CHECK(output().empty());

    type("cdx");
    REQUIRE(canioTransmitFrame(0, &frame) != 0);
    CHECK(output().empty());
    canioSetFrameHook(nullptr);
}

TEST_CASE_FIXTURE(ConsoleFixture, "after a, characters go to the key handler until it is done")
{
    gKeys.clear();
    type("aping");  // no key handler: the p is dropped with the a
    CHECK(output().empty());
    type("\n");

    debugSetKeyHandler(keyHandler);
    type("aXYz");
    CHECK(gKeys == "XYz");
    type("ping");
    CHECK(gKeys == "XYz");
    CHECK(output() == "PING\r\n");
    debugSetKeyHandler(nullptr);
}

TEST_CASE_FIXTURE(ConsoleFixture, "service requests need the whole identification")
{
    gServiceCalls.clear();
    type("sd3sdi");
    CHECK(gServiceCalls.empty());
    CHECK(output().empty());

    debugSetServiceFunction(serviceFunction);
    debugSetServiceIdentification(0x1234, 0, 7, nullptr);
    type("sd3");
    CHECK(gServiceCalls.empty());

    debugSetServiceIdentification(0x1234, 0xABCD, 0x01020304, nullptr);
    type("sd0sd9sd3");
    REQUIRE(gServiceCalls.size() == 3);
    CHECK(gServiceCalls[0].request == 0);
    CHECK(gServiceCalls[1].request == 9);
    CHECK(gServiceCalls[2].request == 3);
    CHECK(gServiceCalls[2].word2 == 0xABCD);
    CHECK(gServiceCalls[2].word1 == 0x1234);
    debugServiceRequest(11);
    CHECK(gServiceCalls.size() == 3);

    type("sdi");
    const std::string record = output();
    const std::string head("\x02\x01\x08\x34\x12\xCD\xAB\x04\x03\x02\x01", 11);
    REQUIRE(record.size() == 12);
    CHECK(record.substr(0, 11) == head);
    uint8_t sum = 0;
    for (char c : head)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    CHECK(static_cast<uint8_t>(record[11]) == sum);
}

TEST_CASE_FIXTURE(ConsoleFixture, "the identification record carries the strings that fit")
{
    debugSetServiceFunction(serviceFunction);
    const std::string long1(150, 'L');
    const std::string long2(100, 'M');
    struct Case {
        const char* name;
        std::vector<std::string> strings;
        size_t kept;
    };
    const std::vector<Case> cases = {
        {"two short", {"ab", "c"}, 2},
        {"eleven strings: ten kept", std::vector<std::string>(11, "s"), 10},
        {"second string would pass byte 254", {long1, long2}, 1},
        {"second string ends at byte 253", {long1, std::string(91, 'N')}, 2},
        {"second string would end at byte 254", {long1, std::string(92, 'N')}, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        std::vector<const char*> list;
        for (const std::string& s : c.strings)
            list.push_back(s.c_str());
        list.push_back(nullptr);
        debugSetServiceIdentification(1, 2, 3, list.data());
        debugServiceRequest(0);
        const std::string record = output();
        std::string expectedStrings;
        for (size_t i = 0; i < c.kept; ++i)
            expectedStrings += c.strings[i] + std::string(1, '\0');
        REQUIRE(record.size() == 11 + expectedStrings.size() + 1);
        CHECK(static_cast<uint8_t>(record[2]) == 8 + expectedStrings.size());
        CHECK(record.substr(11, expectedStrings.size()) == expectedStrings);
        uint8_t sum = 0;
        for (size_t i = 0; i + 1 < record.size(); ++i)
            sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(record[i]));
        CHECK(static_cast<uint8_t>(record.back()) == sum);
    }
}

TEST_CASE_FIXTURE(ConsoleFixture, "debug output is filtered by mask, level and mode")
{
    struct Case {
        const char* name;
        uint16_t mask;
        uint32_t level;
        uint32_t mode;
        uint32_t category;
        bool printed;
    };
    const Case cases[] = {
        {"category 1 with the initial mask", 1, 0, 0, 1, true},
        {"category 2 with the initial mask", 1, 0, 0, 2, false},
        {"category 2 with mask 6", 6, 0, 0, 2, true},
        {"suppressed by level 1", 0xFFFF, 1, 0, 1, false},
        {"suppressed by level 2", 0xFFFF, 2, 0, 1, false},
        {"silenced by mode 2", 0xFFFF, 0, 2, 1, false},
        {"silenced by mode 1", 0xFFFF, 0, 1, 1, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        debugSetMask(c.mask);
        REQUIRE(debugSetLevel(c.level) == 1);
        debugSetMode(c.mode);
        CHECK(debugPrintfCategory(0, c.category, "value %d\n", 42) == 1);
        CHECK(output() == (c.printed ? "value 42\n" : ""));
        const uint8_t bytes[2] = {'o', 'k'};
        CHECK(debugWrite(bytes, 2) == ((c.level == 0 && c.mode == 0) ? 1u : 0u));
        output();
    }
    debugSetMode(0);
    debugSetMask(1);
    REQUIRE(debugSetLevel(0) == 1);
    CHECK(debugPrintf(0, "%s", "plain\n") == 1);
    CHECK(output() == "plain\n");
}

TEST_CASE_FIXTURE(ConsoleFixture, "a level above 2 is refused and the old one kept")
{
    REQUIRE(debugSetLevel(1) == 1);
    CHECK(debugSetLevel(3) == 0);
    CHECK(debugPrintf(0, "hidden") == 1);
    CHECK(output().empty());
    REQUIRE(debugSetLevel(0) == 1);
    CHECK(debugSetLevel(300) == 0);
    CHECK(debugPrintf(0, "shown") == 1);
    CHECK(output() == "shown");
}

TEST_CASE_FIXTURE(ConsoleFixture, "mode 2 hands each service call to the mode function")
{
    gModeCalls = 0;
    debugSetModeFunction(modeFunction);
    debugSetMode(2);
    memcomFeed(kPort, "ping");
    debugConsoleService(0);
    debugConsoleService(100);
    CHECK(gModeCalls == 2);
    CHECK(gModePort == kPort);
    CHECK(memcomWaiting(kPort) == 4);  // the letters are left to the mode function
    debugSetMode(0);
    debugSetModeFunction(nullptr);
    debugConsoleService(200);
    CHECK(output() == "PING\r\n");
}
