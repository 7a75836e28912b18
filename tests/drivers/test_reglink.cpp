#include "clock.h"
#include "comlinux.h"
#include "comport.h"
#include "datastore.h"
#include "doubles/memcom.h"
#include "reglink.h"
#include "seriallink.h"
#include "standin_serial.h"
#include "test_root.h"
#include "version.h"

#include <doctest/doctest.h>

#include <functional>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// Request with its 8-bit sum appended.
std::string request(std::initializer_list<int> values)
{
    std::string out = bytes(values);
    uint8_t sum = 0;
    for (char c : out)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    return out + static_cast<char>(sum);
}

std::string readMaster(int fd, size_t count, int rounds)
{
    std::string got;
    for (int i = 0; i < rounds && got.size() < count; ++i) {
        struct pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            char buffer[64];
            ssize_t n = read(fd, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, static_cast<size_t>(n));
        }
    }
    return got;
}

// The register link on port 2 over the stand-in's pseudo-terminal.
struct LinkFixture {
    TestRoot root;
    StandinSerial serial;
    LinkFixture()
    {
        REQUIRE(serial.create(root.dir()));
        REQUIRE(comportInit() == 1);
        REQUIRE(comportRegister(2, comLinuxDriver, 1000, 8000, nullptr, nullptr, 2) == 1);
        REQUIRE(serialLinkInit(2) == 1);
        REQUIRE(datastoreInit(2) == 0);
        regLinkInit();
    }
    // Sends a request from the far end, runs one tick and returns the answer.
    std::string exchange(const std::string& requestBytes, size_t answerLength)
    {
        const int master = serial.master(2);
        REQUIRE(write(master, requestBytes.data(), requestBytes.size()) ==
                static_cast<ssize_t>(requestBytes.size()));
        for (int i = 0; i < 400 && comportRxCount(2) < requestBytes.size(); ++i)
            usleep(5000);
        REQUIRE(comportRxCount(2) == requestBytes.size());
        regLinkPoll(2);
        regLinkService(2);
        CHECK(comportRxCount(2) == 0);
        // A silent case waits a little for bytes that must not come.
        return readMaster(master, answerLength ? answerLength : 1, answerLength ? 200 : 10);
    }
};

}  // namespace

TEST_CASE_FIXTURE(LinkFixture, "register link requests and answers over the serial port")
{
    struct Case {
        const char* name;
        std::function<void()> setUp;
        std::string request;
        std::string answer;
        std::function<void()> after;
    };
    const uint32_t version = versionGetNumber();
    const std::vector<Case> cases = {
        {"read 290: 3725 s is 1 h 2 min", [] { datastoreSetUint32(9, 3725); },
         request({0x22, 0x01, 0x00}), bytes({0x00, 0x01, 0x22, 0x02, 0x01, 0x02, 0x28}), nullptr},
        {"read 290: 256 h or more is 255 h 59 min", [] { datastoreSetUint32(9, 256 * 3600 + 61); },
         request({0x22, 0x01, 0x00}), bytes({0x00, 0x01, 0x22, 0x02, 0xFF, 0x3B, 0x5F}), nullptr},
        {"read 286: 70000 is limited to 65535", [] { datastoreSetUint32(6, 70000); },
         request({0x1E, 0x01, 0x00}), bytes({0x00, 0x01, 0x1E, 0x02, 0xFF, 0xFF, 0x1F}), nullptr},
        {"read 288: item 10 as two bytes", [] { datastoreSetUint32(10, 0x1234); },
         request({0x20, 0x01, 0x00}), bytes({0x00, 0x01, 0x20, 0x02, 0x12, 0x34, 0x69}), nullptr},
        {"read 287: item 7 as four bytes", [] { datastoreSetUint32(7, 0x01020304); },
         request({0x1F, 0x01, 0x00}),
         bytes({0x00, 0x01, 0x1F, 0x04, 0x01, 0x02, 0x03, 0x04, 0x2E}), nullptr},
        {"read 289: the flag as one byte", [] { datastoreSetBool(8, 1); },
         request({0x21, 0x01, 0x00}), bytes({0x00, 0x01, 0x21, 0x01, 0x01, 0x24}), nullptr},
        {"read 92: the version number", nullptr, request({0x5C, 0x00, 0x00}),
         bytes({0x00, 0x00, 0x5C, 0x02, static_cast<int>(version >> 8), static_cast<int>(version & 0xFF),
                static_cast<int>((0x5E + (version >> 8) + (version & 0xFF)) & 0xFF)}),
         nullptr},
        {"write 210 = 12 sets item 5 to 1200", [] { datastoreSetUint32(5, 0); },
         request({0xD2, 0x00, 0x02, 0x0C, 0x00}), bytes({0x00}),
         [] { CHECK(datastoreGetUint32(5) == 1200); }},
        {"write 210 with four bytes stores them as they are", [] { datastoreSetUint32(5, 0); },
         request({0xD2, 0x00, 0x04, 0x78, 0x56, 0x34, 0x12}), bytes({0x00}),
         [] { CHECK(datastoreGetUint32(5) == 0x12345678); }},
        {"write 210 with three bytes is dropped", [] { datastoreSetUint32(5, 7); },
         request({0xD2, 0x00, 0x03, 1, 2, 3}), "", [] { CHECK(datastoreGetUint32(5) == 7); }},
        {"read of an unknown id", nullptr, request({0x64, 0x00, 0x00}), bytes({0x80}), nullptr},
        {"write to 211", nullptr, request({0xD3, 0x00, 0x02, 0x01, 0x00}), bytes({0x80}), nullptr},
        {"bad checksum", nullptr, bytes({0x22, 0x01, 0x00, 0x24}), bytes({0x20}), nullptr},
        {"length byte 5: no reply, the rest discarded", nullptr,
         bytes({0x22, 0x01, 0x05, 0x22, 0x01, 0x00, 0x23}), "", nullptr},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        if (c.setUp)
            c.setUp();
        CHECK(exchange(c.request, c.answer.size()) == c.answer);
        if (c.after)
            c.after();
        // The link is aligned for the next request.
        datastoreSetUint32(9, 3725);
        CHECK(exchange(request({0x22, 0x01, 0x00}), 7) ==
              bytes({0x00, 0x01, 0x22, 0x02, 0x01, 0x02, 0x28}));
    }
}

namespace {
constexpr uint32_t kMemPort = 1;

struct MemLinkFixture {
    MemLinkFixture()
    {
        REQUIRE(comportInit() == 1);
        memcomReset();
        REQUIRE(comportRegister(kMemPort, memcomDriver, 100, 100, nullptr, nullptr, kMemPort) == 1);
        REQUIRE(datastoreInit(2) == 0);
        regLinkInit();
        clockUseManual();
    }
    ~MemLinkFixture() { clockUseReal(); }
    std::string tick(const std::string& incoming)
    {
        memcomFeed(kMemPort, incoming);
        regLinkPoll(kMemPort);
        regLinkService(kMemPort);
        return memcomTakeOutput(kMemPort);
    }
};
}  // namespace

TEST_CASE_FIXTURE(MemLinkFixture, "a partly received request is dropped after a gap of more than 1000 ms")
{
    datastoreSetUint32(9, 3725);
    const std::string read290 = request({0x22, 0x01, 0x00});
    const std::string answer = bytes({0x00, 0x01, 0x22, 0x02, 0x01, 0x02, 0x28});

    SUBCASE("a gap of 1000 ms still joins the bytes")
    {
        CHECK(tick(read290.substr(0, 2)).empty());
        clockAdvanceMs(1000);
        CHECK(tick(read290.substr(2)) == answer);
    }
    SUBCASE("after 1001 ms a new request starts")
    {
        CHECK(tick(read290.substr(0, 2)).empty());
        clockAdvanceMs(1001);
        CHECK(tick(read290) == answer);
        CHECK(tick(read290) == answer);
    }
    SUBCASE("a lone stray byte does not shift later requests")
    {
        CHECK(tick(bytes({0x55})).empty());
        clockAdvanceMs(1500);
        CHECK(tick(read290) == answer);
    }
}

TEST_CASE_FIXTURE(MemLinkFixture, "one pending request at a time; failed answers are repeated")
{
    datastoreSetUint32(9, 3725);
    datastoreSetUint32(6, 5);
    const std::string answer290 = bytes({0x00, 0x01, 0x22, 0x02, 0x01, 0x02, 0x28});

    memcomFeed(kMemPort, request({0x22, 0x01, 0x00}) + request({0x1E, 0x01, 0x00}));
    regLinkPoll(kMemPort);
    regLinkService(kMemPort);
    CHECK(memcomTakeOutput(kMemPort) == answer290);
    regLinkService(kMemPort);
    CHECK(memcomTakeOutput(kMemPort).empty());  // the second request was dropped

    memcomFeed(kMemPort, request({0x22, 0x01, 0x00}));
    regLinkPoll(kMemPort);
    memcomSetRefuse(kMemPort, true, 0);
    regLinkService(kMemPort);
    memcomSetRefuse(kMemPort, false, 0);
    CHECK(memcomTakeOutput(kMemPort).empty());
    regLinkService(kMemPort);
    CHECK(memcomTakeOutput(kMemPort) == answer290);
}
