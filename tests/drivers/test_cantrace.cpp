#include "cantrace.h"
#include "clock.h"
#include "comport.h"
#include "debugcon.h"
#include "doubles/memcom.h"

#include <doctest/doctest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kPort = 3;

struct TraceFixture {
    uint32_t now = 0;
    TraceFixture()
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kPort, memcomDriver, 1000, 8000, nullptr, nullptr, kPort) == 1);
        comselectInit(kPort);
        clockUseManual();
        now = clockGetMs();
    }
    ~TraceFixture() { clockUseReal(); }
    std::string output() { return memcomTakeOutput(kPort); }
};

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

std::string withSum(std::string record)
{
    uint8_t sum = 0;
    for (char c : record)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    return record + static_cast<char>(sum);
}

std::string msBytes(uint32_t ms)
{
    return bytes({static_cast<int>(ms & 0xFF), static_cast<int>((ms >> 8) & 0xFF),
                  static_cast<int>((ms >> 16) & 0xFF), static_cast<int>(ms >> 24)});
}

std::string textLine(uint32_t ms, const char* direction, uint32_t id, const std::string& data)
{
    char line[128];
    int length = std::snprintf(line, sizeof line, "%8lu %s %8lX", static_cast<unsigned long>(ms),
                               direction, static_cast<unsigned long>(id));
    for (char c : data)
        length += std::snprintf(line + length, sizeof line - length, " %02X",
                                static_cast<uint8_t>(c));
    return std::string(line) + "\n";
}

}  // namespace

TEST_CASE_FIXTURE(TraceFixture, "binary trace records")
{
    struct Case {
        const char* name;
        CanFrame frame;
        uint32_t transmitted;
        std::string expected;  // without the sum
    };
    const std::vector<Case> cases = {
        {"extended, eight bytes, received",
         {0x18EFFFC0, 1, 8, {1, 2, 3, 4, 5, 6, 7, 8}}, 0,
         bytes({2, 3, 17}) + msBytes(now) + bytes({0x18, 0xC0, 0xFF, 0xEF, 0x18, 1, 2, 3, 4, 5, 6, 7, 8})},
        {"standard, no data, received",
         {0x123, 0, 0, {}}, 0,
         bytes({2, 3, 7}) + msBytes(now) + bytes({0x00, 0x23, 0x01})},
        {"standard, two bytes, sent",
         {0x7FF, 0, 2, {0xAA, 0x55}}, 1,
         bytes({2, 3, 9}) + msBytes(now) + bytes({0x22, 0xFF, 0x07, 0xAA, 0x55})},
        {"a length above 8 is cut to 8",
         {0x1, 1, 15, {9, 9, 9, 9, 9, 9, 9, 9}}, 1,
         bytes({2, 3, 17}) + msBytes(now) + bytes({0x38, 1, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9, 9})},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        debugCanTraceBinary(&c.frame, c.transmitted, 1);
        const std::string record = output();
        CHECK(record == withSum(c.expected));
    }
    CHECK(withSum(cases[0].expected).size() == 21);
    CHECK(withSum(cases[1].expected).size() == 11);
}

TEST_CASE_FIXTURE(TraceFixture, "text trace lines")
{
    const CanFrame ext{0x18EFFFC0, 1, 3, {0x0A, 0xFF, 0x00}};
    debugCanTraceText(&ext, 0, 1);
    CHECK(output() == textLine(now, "Rx", 0x18EFFFC0, bytes({0x0A, 0xFF, 0x00})));
    CHECK(textLine(now, "Rx", 0x18EFFFC0, "").substr(8) == " Rx 18EFFFC0\n");

    const CanFrame std0{0x12, 0, 0, {}};
    debugCanTraceText(&std0, 1, 2);
    CHECK(output() == textLine(now, "Tx", 0x12, ""));
    CHECK(textLine(now, "Tx", 0x12, "").substr(8) == " Tx       12\n");
}

TEST_CASE_FIXTURE(TraceFixture, "the binary trace skips frames while the port is full")
{
    const CanFrame frame{0x100, 0, 1, {0x42}};
    const std::string record = withSum(bytes({2, 3, 8}) + msBytes(now) + bytes({0x01, 0x00, 0x01, 0x42}));

    memcomSetRefuse(kPort, true, 200);
    debugCanTraceBinary(&frame, 0, 1);  // refused: skipping from here, threshold 170
    debugCanTraceBinary(&frame, 1, 2);
    memcomSetRefuse(kPort, false, 171);  // written again, but still above the threshold
    debugCanTraceBinary(&frame, 0, 3);
    CHECK(output().empty());

    memcomSetRefuse(kPort, false, 170);
    debugCanTraceBinary(&frame, 0, 4);
    // Skipped: received 2 (the second and the fourth frame count), sent 1.
    CHECK(output() == withSum(bytes({2, 4, 4, 2, 0, 1, 0})) + record);

    debugCanTraceBinary(&frame, 0, 5);
    CHECK(output() == record);
}

TEST_CASE_FIXTURE(TraceFixture, "the text trace skips frames and then reports them")
{
    const CanFrame frame{0x100, 0, 1, {0x42}};
    memcomSetRefuse(kPort, true, 100);  // at most the margin: threshold 0
    debugCanTraceText(&frame, 1, 1);
    memcomSetRefuse(kPort, false, 1);
    debugCanTraceText(&frame, 1, 2);
    debugCanTraceText(&frame, 0, 3);
    CHECK(output().empty());

    memcomSetRefuse(kPort, false, 0);
    debugCanTraceText(&frame, 1, 4);
    char skip[64];
    std::snprintf(skip, sizeof skip, "%8lu Frames skipped: Rx: 1, Tx: 2\n",
                  static_cast<unsigned long>(now));
    CHECK(output() == std::string(skip) + textLine(now, "Tx", 0x100, bytes({0x42})));
}
