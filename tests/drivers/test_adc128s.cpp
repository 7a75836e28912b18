#include "adc128s.h"
#include "hwrevision.h"
#include "standin_board.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Measures the revision in a child (the result is kept per process) and prints it.
int detectInChild()
{
    SetMinMax(0, 1023);
    uint32_t revision = 99;
    char text[16];
    memset(text, 'x', sizeof text);
    const int found = hwRevisionDetect(&revision, text);
    printf("result %d %u %s\n", found, revision, text);
    // a buffer sized to the text is enough: nothing is written past its end
    for (size_t i = strlen(text) + 1; i < sizeof text; ++i)
        if (text[i] != 'x')
            return 6;
    // later calls give the stored result without measuring
    uint32_t again = 99;
    return (hwRevisionDetect(&again, nullptr) == found && again == revision) ? 0 : 5;
}

std::atomic<int> lastReading{-1};
std::atomic<int> readings{0};
void onReading(uint32_t userValue, uint16_t reading)
{
    if (userValue == 44) {
        lastReading = reading;
        ++readings;
    }
}

bool waitForReading(int value)
{
    for (int i = 0; i < 300 && lastReading.load() != value; ++i)
        usleep(10000);
    return lastReading.load() == value;
}

}  // namespace

// Children first: the module state (and the reader task) is per process.
TEST_CASE("the hardware revision from the divider on channel 1")
{
    struct Case {
        unsigned raw;
        const char* expected;
    };
    const Case cases[] = {
        {511, "result 1 23 0.23\n"},
        {1023, "result 1 47 0.47\n"},
        {0, "result 1 0 0.00\n"},
        {2000, "result 0 0 NOT DEF.\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        TestRoot root;
        REQUIRE(standinSetAdc(root.dir(), 1, c.raw));
        std::string output;
        CHECK(runInChild(detectInChild, &output) == 0);
        CHECK(output == "hw ver. raw: " + std::to_string(c.raw) + "\n" + c.expected);
    }
}

TEST_CASE("the revision table")
{
    struct Case {
        uint32_t raw;
        int found;
        uint32_t revision;
    };
    const Case cases[] = {
        {0, 1, 0},     {6, 1, 0},     {7, 1, 1},     {226, 1, 12},  {227, 1, 13},
        {511, 1, 23},  {512, 1, 24},  {968, 1, 42},  {1016, 1, 46}, {1017, 1, 47},
        {1023, 1, 47}, {1024, 0, 77}, {65535, 0, 77},
    };
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        uint32_t revision = 77;
        CHECK(hwRevisionLookup(c.raw, &revision) == c.found);
        CHECK(revision == c.revision);
    }
}

TEST_CASE("use before SetMinMax and missing files end the program")
{
    TestRoot root;
    std::string output;
    CHECK(runInChild([] { return adc128sConfig(0, 100, nullptr, 0); }, &output) == 1);
    CHECK(output.find("Validate failed: adc128sConfig()") == 0);

    REQUIRE(unlink((root.dir() + "/sys/class/hwmon/hwmon1/device/in5_input").c_str()) == 0);
    output.clear();
    CHECK(runInChild(
              [] {
                  SetMinMax(0, 1023);
                  adc128sConfig(5, 10, nullptr, 0);
                  sleep(3);
                  return 0;
              },
              &output) == 1);
    CHECK(output.find("OpenAdcChannel") != std::string::npos);

    REQUIRE(unlink((root.dir() + "/sys/class/hwmon/hwmon1/device/in_max").c_str()) == 0);
    REQUIRE(mkdir((root.dir() + "/sys/class/hwmon/hwmon1/device/in_max").c_str(), 0755) == 0);
    output.clear();
    CHECK(runInChild([] { return SetMinMax(0, 1023) + 10; }, &output) == 1);
    CHECK(output.find("/sys/class/hwmon/hwmon1/device/in_max") != std::string::npos);
}

TEST_CASE("channels are read at their period and report each new reading")
{
    TestRoot root;
    const std::string dir = root.dir();
    REQUIRE(writeTextFile(dir + "/sys/class/hwmon/hwmon1/device/in_max", "0"));
    CHECK(SetMinMax(0, 1023) == 1);
    CHECK(readTextFile(dir + "/sys/class/hwmon/hwmon1/device/in_max") == "1023");

    uint16_t value = 77;
    CHECK(adc128sRead(2, &value) == 1);  // the first read reports, even for 0
    CHECK(value == 0);
    CHECK(adc128sRead(2, &value) == 0);

    REQUIRE(standinSetAdc(dir, 4, 300));
    REQUIRE(adc128sConfig(4, 50, onReading, 44) == 1);
    CHECK(waitForReading(300));
    CHECK(adc128sRead(4, &value) == 1);
    CHECK(value == 300);
    CHECK(adc128sRead(4, &value) == 0);
    REQUIRE(standinSetAdc(dir, 4, 70000));  // cut to 16 bits
    CHECK(waitForReading(70000 & 0xFFFF));
    CHECK(adc128sRead(4, &value) == 1);
    CHECK(value == (70000 & 0xFFFF));

    // period 0 stops the channel
    REQUIRE(adc128sConfig(4, 0, onReading, 44) == 1);
    usleep(150000);
    const int before = readings.load();
    REQUIRE(standinSetAdc(dir, 4, 12));
    usleep(300000);
    CHECK(readings.load() == before);
    CHECK(lastReading.load() != 12);

    for (const int channel : {8, -1, 100, -2147483647 - 1}) {
        CAPTURE(channel);
        value = 1234;
        CHECK(adc128sConfig(channel, 50, onReading, 44) == 0);
        CHECK(adc128sRead(channel, &value) == 0);
        CHECK(value == 1234);
    }
}

TEST_CASE("a channel configured while the reader sleeps is read at its first due time")
{
    TestRoot root;
    REQUIRE(SetMinMax(0, 1023) == 1);  // every channel off: the reader sleeps its full second
    usleep(200000);
    REQUIRE(standinSetAdc(root.dir(), 6, 611));
    lastReading = -1;
    const auto start = std::chrono::steady_clock::now();
    REQUIRE(adc128sConfig(6, 50, onReading, 44) == 1);
    CHECK(waitForReading(611));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    CHECK(took.count() < 500);
    REQUIRE(adc128sConfig(6, 0, nullptr, 0) == 1);
}

TEST_CASE("a channel that keeps failing to read does not keep the reader busy")
{
    TestRoot root;
    const std::string path = root.dir() + "/sys/class/hwmon/hwmon1/device/in3_input";
    REQUIRE(unlink(path.c_str()) == 0);
    REQUIRE(mkdir(path.c_str(), 0755) == 0);  // opens, but every read fails
    REQUIRE(SetMinMax(0, 1023) == 1);
    REQUIRE(adc128sConfig(3, 1, onReading, 3) == 1);
    const double start = processCpuSeconds();
    usleep(500000);
    CHECK(processCpuSeconds() - start < 0.25);
    uint16_t value = 0;
    adc128sRead(3, &value);
    CHECK(value == 0);
    REQUIRE(adc128sConfig(3, 0, nullptr, 0) == 1);
}
