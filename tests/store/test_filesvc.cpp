#include "filesvc.h"

#include "mempool.h"
#include "test_root.h"

#include <doctest/doctest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Pool 1 serves the transfer buffers.
struct Pool {
    alignas(8) static unsigned char region[65536];
    Pool() { REQUIRE(memInit(region, sizeof region, 0) == 1); }
};
alignas(8) unsigned char Pool::region[65536];

class Message {
public:
    Message& u8(uint8_t v) { mBytes.push_back(v); return *this; }
    Message& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            mBytes.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    Message& name(const std::string& text)
    {
        mBytes.push_back(uint8_t(text.size()));
        mBytes.insert(mBytes.end(), text.begin(), text.end());
        return *this;
    }
    Message& data(const std::string& text)
    {
        mBytes.insert(mBytes.end(), text.begin(), text.end());
        return *this;
    }
    uint8_t length() const { return uint8_t(mBytes.size() - FILESVC_PAYLOAD); }
    const uint8_t* bytes() const { return mBytes.data(); }

private:
    std::vector<uint8_t> mBytes{0, 0, 0};
};

struct Answer {
    uint8_t status;
    std::vector<uint8_t> results;
    uint32_t u32(size_t at) const
    {
        return uint32_t(results.at(at)) | uint32_t(results.at(at + 1)) << 8 |
               uint32_t(results.at(at + 2)) << 16 | uint32_t(results.at(at + 3)) << 24;
    }
};

Answer run(uint16_t id, const Message& message)
{
    FileSvcResponse response;
    REQUIRE(fileSvcRequest(FILESVC_EXECUTE, id, message.length(), message.bytes(), &response) == 1);
    const uint16_t answerId = uint16_t(response.message[0] | response.message[1] << 8);
    CHECK(answerId == id + 1);
    CHECK(response.size == response.message[2] + 3);
    return {response.message[3], std::vector<uint8_t>(response.message + FILESVC_RESULTS,
                                                      response.message + response.size)};
}

}  // namespace

TEST_CASE("the basic set and the payload length rules")
{
    struct Case { uint16_t id; uint8_t length; uint32_t basic; uint32_t valid; };
    const Case cases[] = {
        {0x1500, 1, 1, 1}, {0x1500, 2, 1, 0}, {0x1506, 1, 1, 0}, {0x1506, 81, 1, 1},
        {0x1506, 82, 1, 0}, {0x150E, 82, 1, 1}, {0x151C, 9, 1, 0}, {0x151C, 100, 1, 1},
        {0x151E, 0, 1, 1}, {0x1522, 2, 1, 1}, {0x1524, 2, 0, 1}, {0x1544, 2, 0, 1},
        {0x1554, 1, 0, 0}, {0x1556, 5, 1, 1}, {0x1501, 1, 0, 0}, {0x152A, 4, 0, 0},
        {0x1558, 0, 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        CAPTURE(int(c.length));
        FileSvcResponse response;
        CHECK(fileSvcRequest(FILESVC_IS_BASIC, c.id, c.length, nullptr, &response) == c.basic);
        CHECK(fileSvcRequest(FILESVC_CHECK_LENGTH, c.id, c.length, nullptr, &response) == c.valid);
    }
    FileSvcResponse response;
    CHECK(fileSvcRequest(FILESVC_EXECUTE, 0x152A, 4, nullptr, &response) == 0);
    CHECK(response.verdict == FILESVC_UNKNOWN);
}

TEST_CASE("failing operations answer their row's status with zeroed results")
{
    TestRoot root;
    Pool pool;
    const std::string missing = root.path("/nothing/here.txt");
    struct Case { uint16_t id; Message message; uint8_t status; };
    const Case cases[] = {
        {0x1508, Message().name(missing), 5},
        {0x150A, Message().u32(999), 6},
        {0x150C, Message().u32(999), 7},
        {0x150E, Message().name("no/such/a").name("no/such/b"), 8},
        {0x1512, Message().u32(999), 10},
        {0x1516, Message().u32(999).u32(0), 11},
        {0x1518, Message().u32(999), 11},
        {0x151E, Message(), 12},
        {0x1522, Message().name(missing), 13},
        {0x1526, Message().u32(999).u32(0), 15},
        {0x1530, Message().u32(999), 16},
        {0x1546, Message(), 18},
        {0x1550, Message().name("no/such/a").name("no/such/b"), 20},
        // A name whose length byte claims more than the payload carries.
        {0x1508, Message().u8(40).data("short"), 5},
        {0x1524, Message().name(missing), 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        const Answer answer = run(c.id, c.message);
        CHECK(answer.status == c.status);
        for (uint8_t byte : answer.results)
            CHECK(byte == 0);
    }
}

TEST_CASE("a file is read in blocks of 100 bytes")
{
    TestRoot root;
    Pool pool;
    fileSvcReset();
    std::string content;
    for (int i = 0; i < 250; ++i)
        content += char('a' + i % 26);
    const std::string path = root.path("/data.bin");
    REQUIRE(writeTextFile(path, content));

    const Answer opened = run(0x1508, Message().name(path));
    REQUIRE(opened.status == 0);
    const uint32_t handle = opened.u32(0);

    const Answer start = run(0x1514, Message().u32(handle).u32(1000));
    CHECK(start.status == 0);
    CHECK(start.u32(0) == 3);
    CHECK(run(0x1514, Message().u32(handle).u32(1000)).status == 11);

    std::string received;
    for (uint32_t block = 0; block < 3; ++block) {
        const Answer answer = run(0x1516, Message().u32(handle).u32(block));
        REQUIRE(answer.status == 0);
        CHECK(answer.u32(0) == block);
        const uint8_t length = answer.results.at(4);
        CHECK(length == (block < 2 ? 100 : 50));
        received.append(answer.results.begin() + 5, answer.results.begin() + 5 + length);
    }
    CHECK(received == content);
    const Answer beyond = run(0x1516, Message().u32(handle).u32(3));
    CHECK(beyond.status == 0);
    CHECK(beyond.results.at(4) == 0);
    CHECK(run(0x1516, Message().u32(handle + 1).u32(0)).status == 11);
    CHECK(run(0x1518, Message().u32(handle + 1)).status == 11);
    CHECK(run(0x1518, Message().u32(handle)).status == 0);
    CHECK(run(0x1516, Message().u32(handle).u32(0)).status == 11);

    // A maximum below the file size limits the transfer.
    REQUIRE(run(0x1514, Message().u32(handle).u32(120)).u32(0) == 2);
    CHECK(run(0x1516, Message().u32(handle).u32(1)).results.at(4) == 20);
    CHECK(run(0x1518, Message().u32(handle)).status == 0);
    CHECK(run(0x150A, Message().u32(handle)).status == 0);
}

TEST_CASE("a block write takes its blocks in order and writes them at the finish")
{
    TestRoot root;
    Pool pool;
    fileSvcReset();
    const std::string path = root.path("/written.txt");
    const Answer opened = run(0x1506, Message().name(path));
    REQUIRE(opened.status == 0);
    const uint32_t handle = opened.u32(0);

    CHECK(run(0x151A, Message().u32(handle).u32(2).u32(0)).status == 0);
    CHECK(run(0x151A, Message().u32(handle).u32(2).u32(0)).status == 12);
    CHECK(run(0x151E, Message()).status == 12);
    CHECK(run(0x151C, Message().u32(handle).u32(1).u8(3).data("xyz")).status == 12);
    CHECK(run(0x151C, Message().u32(handle + 1).u32(0).u8(3).data("xyz")).status == 12);
    // The length byte claims more data than the block carries.
    CHECK(run(0x151C, Message().u32(handle).u32(0).u8(50).data("hello")).status == 12);

    const Answer first = run(0x151C, Message().u32(handle).u32(0).u8(6).data("hello "));
    CHECK(first.status == 0);
    CHECK(first.u32(0) == 1);
    CHECK(first.results.at(4) == 0);
    const Answer last = run(0x151C, Message().u32(handle).u32(1).u8(5).data("world"));
    CHECK(last.u32(0) == 2);
    CHECK(last.results.at(4) == 1);
    CHECK(run(0x151E, Message()).status == 0);
    CHECK(run(0x150A, Message().u32(handle)).status == 0);
    CHECK(readTextFile(path) == "hello world");
}

TEST_CASE("a text line travels out and in")
{
    TestRoot root;
    Pool pool;
    fileSvcReset();
    const std::string path = root.path("/lines.txt");
    REQUIRE(writeTextFile(path, "first line\r\nsecond\r\n"));
    const uint32_t reader = run(0x1508, Message().name(path)).u32(0);
    const Answer start = run(0x1532, Message().u32(reader).u8(40));
    REQUIRE(start.status == 0);
    CHECK(start.u32(0) == 1);
    const Answer block = run(0x1534, Message().u32(reader).u32(0));
    CHECK(std::string(block.results.begin() + 5, block.results.end()) == "first line");
    CHECK(run(0x1536, Message().u32(reader)).status == 0);
    CHECK(run(0x150A, Message().u32(reader)).status == 0);

    const std::string target = root.path("/out.txt");
    const uint32_t writer = run(0x1506, Message().name(target)).u32(0);
    CHECK(run(0x1538, Message().u32(writer).u32(1).u32(0)).status == 0);
    CHECK(run(0x153A, Message().u32(writer).u32(0).u8(4).data("abcd")).status == 0);
    CHECK(run(0x153C, Message()).status == 0);
    CHECK(run(0x153E, Message().u32(writer).u8('!')).status == 0);
    CHECK(run(0x150A, Message().u32(writer)).status == 0);
    CHECK(readTextFile(target) == "abcd\r\n!");
}
