#include "cmdrunner.h"
#include "comlinux.h"
#include "comport.h"
#include "conout.h"
#include "doubles/memcom.h"
#include "standin_serial.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool waitForRx(uint32_t port, uint32_t count)
{
    for (int i = 0; i < 400; ++i) {
        if (comportRxCount(port) >= count)
            return true;
        usleep(5000);
    }
    return false;
}

std::string takeRx(uint32_t port)
{
    std::string bytes;
    for (uint32_t n = comportRxCount(port); n > 0; --n)
        bytes += static_cast<char>(comportGetByte(port));
    return bytes;
}

std::string readMaster(int fd, size_t count)
{
    std::string bytes;
    for (int i = 0; i < 200 && bytes.size() < count; ++i) {
        struct pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 10) > 0 && (p.revents & POLLIN)) {
            char buffer[256];
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got > 0)
                bytes.append(buffer, static_cast<size_t>(got));
        }
    }
    return bytes;
}

void writeMaster(int fd, const std::string& bytes)
{
    REQUIRE(write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
}

uint32_t writeText(uint32_t port, const std::string& text)
{
    return comportWrite(port, reinterpret_cast<const uint8_t*>(text.data()),
                        static_cast<uint16_t>(text.size()));
}

}  // namespace

TEST_CASE("the Linux driver configures through stty and moves bytes both ways")
{
    TestRoot root;
    StandinSerial serial;
    REQUIRE(serial.create(root.dir()));
    REQUIRE(comportInit() == 1);
    ComPortHandler rx = comportRxByte, tx = comportTxNext;
    REQUIRE(comportRegister(2, comLinuxDriver, 1000, 8000, &rx, &tx, 2) == 1);
    CHECK((rx == nullptr));
    CHECK((tx == nullptr));

    SUBCASE("configuration line")
    {
        CHECK(comportOpen(2, 3, 3, 2, 0) == 1);
        CHECK(comportOpen(2, 7, 3, 2, 0) == 1);
        CHECK(comportOpen(2, 0, 0, 0, 1) == 1);
        const std::string device = root.path("/dev/ttyO2");
        CHECK(readTextFile(cmdLogPath()) ==
              "/bin/stty -F " + device + " 9600 cs8 -cstopb -parenb  raw -echo -echoe -echok\n"
              "/bin/stty -F " + device + " 115200 cs8 -cstopb -parenb  raw -echo -echoe -echok\n"
              "/bin/stty -F " + device + " 1200 cs5 cstopb parenb -parodd raw -echo -echoe -echok\n");
    }

    SUBCASE("bytes from the far end arrive, written bytes leave")
    {
        REQUIRE(comportOpen(2, 3, 3, 2, 0) == 1);
        const std::string incoming("\x01\x00\xFFhello", 8);
        writeMaster(serial.master(2), incoming);
        REQUIRE(waitForRx(2, 8));
        CHECK(takeRx(2) == incoming);
        CHECK(comportRxCount(2) == 0);

        const std::string outgoing("\x00\x7Fout\r\n", 7);
        CHECK(writeText(2, outgoing) == 1);
        CHECK(readMaster(serial.master(2), outgoing.size()) == outgoing);
        CHECK(comportTxPending(2) == 0);
    }

    SUBCASE("a full receive ring drops the oldest bytes")
    {
        REQUIRE(comportRegister(2, comLinuxDriver, 4, 8000, nullptr, nullptr, 2) == 1);
        REQUIRE(comportOpen(2, 3, 3, 2, 0) == 1);
        writeMaster(serial.master(2), "abcdef");
        REQUIRE(waitForRx(2, 4));
        usleep(100000);  // the reader takes the last two as well
        CHECK(takeRx(2) == "cdef");
    }
}

TEST_CASE("the Linux driver serves several ports with one reader")
{
    TestRoot root;
    StandinSerial serial;
    REQUIRE(serial.create(root.dir()));
    REQUIRE(comportInit() == 1);
    REQUIRE(comportRegister(2, comLinuxDriver, 100, 100, nullptr, nullptr, 2) == 1);
    REQUIRE(comportOpen(2, 3, 3, 2, 0) == 1);
    writeMaster(serial.master(2), "tw");
    REQUIRE(waitForRx(2, 2));

    // A second registration leaves the first port as it was.
    REQUIRE(comportRegister(0, comLinuxDriver, 100, 100, nullptr, nullptr, 0) == 1);
    REQUIRE(comportOpen(0, 7, 3, 2, 0) == 1);
    CHECK(comportRxCount(2) == 2);
    writeMaster(serial.master(0), "zero");
    writeMaster(serial.master(2), "o");
    REQUIRE(waitForRx(0, 4));
    REQUIRE(waitForRx(2, 3));
    CHECK(takeRx(0) == "zero");
    CHECK(takeRx(2) == "two");

    CHECK(writeText(0, "to0") == 1);
    CHECK(writeText(2, "to2") == 1);
    CHECK(readMaster(serial.master(0), 3) == "to0");
    CHECK(readMaster(serial.master(2), 3) == "to2");
}

TEST_CASE("a hung-up device does not keep the reader busy")
{
    TestRoot root;
    StandinSerial serial;
    REQUIRE(serial.create(root.dir()));
    REQUIRE(comportInit() == 1);
    REQUIRE(comportRegister(2, comLinuxDriver, 100, 100, nullptr, nullptr, 2) == 1);
    REQUIRE(comportOpen(2, 3, 3, 2, 0) == 1);
    writeMaster(serial.master(2), "x");
    REQUIRE(waitForRx(2, 1));

    serial.close();  // the far end hangs up
    usleep(50000);
    const double before = processCpuSeconds();
    usleep(300000);
    CHECK(processCpuSeconds() - before < 0.1);
    CHECK(takeRx(2) == "x");
    CHECK(writeText(2, "lost") == 0);
}

TEST_CASE("formatted print keeps to the shared buffer")
{
    REQUIRE(comportInit() == 1);
    memcomReset();
    REQUIRE(comportRegister(1, memcomDriver, 100, 100, nullptr, nullptr, 1) == 1);

    struct Case {
        const char* name;
        std::string format;
        std::string argument;
        uint32_t result;
    };
    const std::string x249(249, 'x');
    const std::vector<Case> cases = {
        {"format of 249 characters", x249, "", 1},
        {"format of 250 characters", std::string(250, 'x'), "", 0},
        {"format of 300 characters", std::string(300, 'x'), "", 0},
        {"text of exactly 250 characters", "%s", std::string(250, 'y'), 1},
        {"text of 251 characters", "%s", std::string(251, 'y'), 0},
        {"text far beyond the buffer", "%s", std::string(5000, 'y'), 0},
        {"format of 249 characters grows to 250", std::string(247, 'x') + "%s", "zzz", 1},
        {"format of 249 characters grows to 251", std::string(247, 'x') + "%s", "zzzz", 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        memcomTakeOutput(1);
        const uint32_t result = comportPrintf(1, 0, c.format.c_str(), c.argument.c_str());
        CHECK(result == c.result);
        const std::string sent = memcomTakeOutput(1);
        if (c.result) {
            char expected[6000];
            std::snprintf(expected, sizeof expected, c.format.c_str(), c.argument.c_str());
            CHECK(sent == expected);
        } else {
            CHECK(sent.empty());
        }
    }
}

TEST_CASE("formatted print from many threads gives whole lines")
{
    REQUIRE(comportInit() == 1);
    memcomReset();
    REQUIRE(comportRegister(3, memcomDriver, 100, 100, nullptr, nullptr, 3) == 1);

    constexpr int kThreads = 6;
    constexpr int kLines = 300;
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures]() {
            const std::string pad(40 + t * 20, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) {
                if (comportPrintf(3, 0, "T%d L%d %s\n", t, i, pad.c_str()) != 1)
                    ++failures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    CHECK(failures == 0);

    const std::vector<std::string> blocks = memcomBlocks(3);
    REQUIRE(blocks.size() == static_cast<size_t>(kThreads * kLines));
    std::vector<int> nextLine(kThreads, 0);
    for (const std::string& block : blocks) {
        int t = -1, i = -1, used = 0;
        REQUIRE(std::sscanf(block.c_str(), "T%d L%d %n", &t, &i, &used) == 2);
        REQUIRE(t >= 0);
        REQUIRE(t < kThreads);
        const std::string pad(40 + t * 20, static_cast<char>('a' + t));
        CHECK(block == "T" + std::to_string(t) + " L" + std::to_string(i) + " " + pad + "\n");
        CHECK(i == nextLine[t]);
        nextLine[t] = i + 1;
    }
}

TEST_CASE("unregistered ports and port numbers out of range answer 0")
{
    REQUIRE(comportInit() == 1);
    memcomReset();
    memcomFeed(0, "abc");
    const uint8_t byte = 'x';
    uint32_t status = 0;
    for (uint32_t port : {0u, 4u, 100u}) {
        CAPTURE(port);
        CHECK(comportOpen(port, 3, 3, 2, 0) == 0);
        CHECK(comportRxCount(port) == 0);
        CHECK(comportGetByte(port) == 0);
        CHECK(comportWrite(port, &byte, 1) == 0);
        CHECK(comportTxPending(port) == 0);
        CHECK(comportFlush(port) == 0);
        CHECK(comportPrintf(port, 1, "text") == 0);
        CHECK(comportReadStatus(port, &status) == 0);
        CHECK(comportRegister(port, nullptr, 10, 10, nullptr, nullptr, 0) == 0);
    }
    CHECK(comportRegister(4, memcomDriver, 10, 10, nullptr, nullptr, 0) == 0);
    // A port that was closed is unregistered again.
    REQUIRE(comportRegister(0, memcomDriver, 10, 10, nullptr, nullptr, 0) == 1);
    CHECK(comportRxCount(0) == 3);
    CHECK(comportClose(0) == 1);
    CHECK(comportRxCount(0) == 0);
    CHECK(comportWrite(0, &byte, 1) == 0);
}

namespace {
// A byte-moving driver as interrupt glue would drive it.
struct RingDriver {
    std::string source;  // bytes the hardware will deliver
    std::string sent;    // bytes the hardware sent
    uint32_t starts = 0, finishes = 0;
    uint32_t status = 0;
};
RingDriver gRing;

uint32_t ringReceive(uint8_t* byte)
{
    if (gRing.source.empty())
        return 0;
    *byte = static_cast<uint8_t>(gRing.source[0]);
    gRing.source.erase(0, 1);
    return 1;
}

uint32_t ringSend(uint8_t* byte)
{
    gRing.sent += static_cast<char>(*byte);
    return 1;
}

uint32_t ringDriver(ComDriverCommand* block, uint32_t)
{
    switch (block->code) {
    case COM_CMD_INIT:
    case COM_CMD_CONFIGURE:
    case COM_CMD_FLUSH:
        return 1;
    case COM_CMD_INFO:
        *reinterpret_cast<ComDriverInfo*>(block->param) = ComDriverInfo{0, ringReceive, ringSend};
        return 1;
    case COM_CMD_TX_START:
        ++gRing.starts;
        return ringSend(reinterpret_cast<uint8_t*>(block->param));
    case COM_CMD_TX_DONE:
        ++gRing.finishes;
        return 1;
    case COM_CMD_STATUS:
        *reinterpret_cast<uint32_t*>(block->param) = gRing.status;
        return 1;
    default:
        return 0;
    }
}
}  // namespace

TEST_CASE("ring mode keeps the layer's own rings")
{
    REQUIRE(comportInit() == 1);
    gRing = RingDriver{};
    ComPortHandler rx = nullptr, tx = nullptr;
    REQUIRE(comportRegister(1, ringDriver, 4, 5, &rx, &tx, 0) == 1);
    CHECK((rx == comportRxByte));
    CHECK((tx == comportTxNext));

    SUBCASE("sending")
    {
        CHECK(writeText(1, "abc") == 0);  // not opened yet
        REQUIRE(comportOpen(1, 3, 3, 2, 0) == 1);
        CHECK(writeText(1, "abc") == 1);
        CHECK(gRing.starts == 1);
        CHECK(gRing.sent == "a");
        CHECK(comportTxPending(1) == 3);
        CHECK(writeText(1, "def") == 0);  // two places free
        CHECK(comportGetErrors(1) == COM_ERROR_TX);
        CHECK(comportGetErrors(1) == 0);
        CHECK(writeText(1, "de") == 1);  // wraps at the ring end
        CHECK(gRing.starts == 1);
        for (int i = 0; i < 5; ++i)
            comportTxNext(1);
        CHECK(gRing.sent == "abcde");
        CHECK(gRing.finishes == 1);
        CHECK(comportTxPending(1) == 0);
        CHECK(writeText(1, "fg") == 1);  // idle transmitter starts again
        CHECK(gRing.starts == 2);
        comportTxNext(1);
        comportTxNext(1);
        CHECK(gRing.sent == "abcdefg");
    }

    SUBCASE("receiving, overflow and wrap")
    {
        gRing.source = "123456";
        for (int i = 0; i < 6; ++i)
            comportRxByte(1);
        CHECK(comportRxCount(1) == 4);
        CHECK(comportGetErrors(1) == COM_ERROR_RX_OVERFLOW);
        CHECK(comportGetByte(1) == '1');
        CHECK(comportGetByte(1) == '2');
        gRing.source = "78";
        comportRxByte(1);
        comportRxByte(1);
        std::string got;
        while (comportRxCount(1) > 0)
            got += static_cast<char>(comportGetByte(1));
        CHECK(got == "3478");
        CHECK(comportGetByte(1) == 0);
    }

    SUBCASE("error bits of the status word are collected, readiness bits are not")
    {
        gRing.status = COM_STATUS_RX_READY | COM_STATUS_TX_READY | 0x10;
        uint32_t status = 0;
        CHECK(comportReadStatus(1, &status) == 1);
        CHECK(status == gRing.status);
        CHECK(comportGetErrors(1) == 0x10);
    }

    SUBCASE("flush empties both rings")
    {
        REQUIRE(comportOpen(1, 3, 3, 2, 0) == 1);
        gRing.source = "xy";
        comportRxByte(1);
        comportRxByte(1);
        writeText(1, "ab");
        CHECK(comportFlush(1) == 1);
        CHECK(comportRxCount(1) == 0);
        CHECK(comportTxPending(1) == 0);
    }
}

TEST_CASE("the standard-output driver prints every block and never receives")
{
    TestRoot root;
    REQUIRE(comportInit() == 1);
    REQUIRE(comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0) == 1);
    CHECK(comportOpen(0, 7, 3, 2, 0) == 1);

    StdoutCapture capture(root.dir() + "/stdout.txt");
    const uint32_t text = writeText(0, std::string("text\0", 5));
    const uint32_t binary = writeText(0, std::string("\x02\x00\x03", 3));
    const uint32_t printed = comportPrintf(0, 1, "%s %d\n\r", "line", 7);
    const uint32_t waiting = comportRxCount(0);
    const uint8_t byte = comportGetByte(0);
    const std::string printedBytes = capture.text();

    CHECK(text == 1);
    CHECK(binary == 1);
    CHECK(printed == 1);
    CHECK(waiting == 0);
    CHECK(byte == 0);
    CHECK(printedBytes.size() == 15);
    CHECK(printedBytes == std::string("text\x02\x00\x03line 7\n\r", 15));
}
