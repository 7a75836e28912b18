#include "cmdrunner.h"
#include "gpiodrv.h"
#include "standin_board.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// One board for the tests that open the lines: the driver opens them once per program.
TestRoot& board()
{
    static TestRoot root;
    static bool opened = false;
    if (!opened) {
        opened = true;
        gpioDrvInit(0xFFFFFF);
    }
    return root;
}

std::string lineText(int line)
{
    return readTextFile(standinGpioValuePath(board().dir(), line));
}

class Recorder {
public:
    void add(uint8_t value)
    {
        std::lock_guard<std::mutex> guard(mLock);
        mValues.push_back(value);
        mChanged.notify_all();
    }
    // Waits until the last reported value equals `value`.
    bool waitFor(uint8_t value)
    {
        std::unique_lock<std::mutex> guard(mLock);
        return mChanged.wait_for(guard, std::chrono::seconds(3),
                                 [&] { return !mValues.empty() && mValues.back() == value; });
    }
    std::vector<uint8_t> values()
    {
        std::lock_guard<std::mutex> guard(mLock);
        return mValues;
    }

private:
    std::mutex mLock;
    std::condition_variable mChanged;
    std::vector<uint8_t> mValues;
};

Recorder powerButton;
Recorder ignition;
Recorder tap;

}  // namespace

// The children must start before this program opens the lines itself.
TEST_CASE("a missing implement status line is reported and the driver goes on")
{
    TestRoot root;
    REQUIRE(removeTree(root.dir() + "/sys/class/gpio/gpio65"));
    std::string output;
    const int status = runInChild(
        [] {
            gpioDrvInit(0x1DCFF);
            gpioDrvPowerRelay(1);
            return (gpioDrvOpenedMask() == 0x1DCFF) ? 7 : 3;
        },
        &output);
    CHECK(status == 7);
    CHECK(output.find("Should not open implement status detection input\n\r") != std::string::npos);
    CHECK(readTextFile(standinGpioValuePath(root.dir(), 100)) == "0");
}

TEST_CASE("any other missing line ends the program at start")
{
    TestRoot root;
    REQUIRE(removeTree(root.dir() + "/sys/class/gpio/gpio141"));
    std::string output;
    const int status = runInChild(
        [] {
            gpioDrvInit(0xDCFF);
            return 0;
        },
        &output);
    CHECK(status == 255);
    CHECK(output.find("/sys/class/gpio/gpio141/value") != std::string::npos);
}

TEST_CASE("a watched line that keeps signalling without a readable value does not keep the watch busy")
{
    TestRoot root;
    const std::string fifo = standinGpioValuePath(root.dir(), 153);
    REQUIRE(unlink(fifo.c_str()) == 0);
    REQUIRE(mkfifo(fifo.c_str(), 0644) == 0);
    static std::string fifoPath;
    fifoPath = fifo;
    std::string output;
    const int status = runInChild(
        [] {
            // A line that is no plain file is watched by poll; once its last
            // writer is gone it reports a hang-up on every poll and never reads.
            const int writer = open(fifoPath.c_str(), O_RDWR);
            gpioDrvInit(GPIO_MASK_POWER_BUTTON);
            gpioDrvSetPowerButtonCallback([](uint8_t) {});
            usleep(100000);
            close(writer);
            const double before = processCpuSeconds();
            usleep(1000000);
            const double used = processCpuSeconds() - before;
            printf("cpu %.3f\n", used);
            return used < 0.3 ? 0 : 9;
        },
        &output);
    CAPTURE(output);
    CHECK(status == 0);
}

TEST_CASE("outputs write their level, inverted and with a line feed as the line wants")
{
    board();
    struct Case {
        const char* name;
        void (*set)(uint32_t);
        uint32_t level;
        int line;
        const char* text;
    };
    const Case cases[] = {
        {"power relay on", gpioDrvPowerRelay, 1, 100, "0"},
        {"power relay off", gpioDrvPowerRelay, 0, 100, "1"},
        {"power relay 2", gpioDrvPowerRelay, 2, 100, "0"},
        {"buzzer high on", gpioDrvBuzzerHigh, 1, 141, "1"},
        {"buzzer high off", gpioDrvBuzzerHigh, 0, 141, "0"},
        {"buzzer low wide value", gpioDrvBuzzerLow, 12, 140, "12"},
        {"buzzer low after a wider value", gpioDrvBuzzerLow, 1, 140, "1"},
        {"backlight on", gpioDrvBacklightOn, 1, 10, "0\n"},
        {"backlight off", gpioDrvBacklightOn, 0, 10, "1\n"},
        {"bridge enable", gpioDrvBridgeEnable, 1, 95, "0\n"},
        {"usb 1 supply off", gpioDrvUSB1_EN, 0, 149, "1\n"},
        {"gpio 106", gpioDrvSetGPIO106, 1, 106, "0\n"},
        {"gpio 55", gpioDrvSetGPIO55, 0, 55, "1\n"},
        {"gpio 64", gpioDrvSetGPIO64, 1, 64, "0\n"},
        {"gpio 136", gpioDrvSetGPIO136, 1, 136, "0"},
        {"gpio 102 through its own open", gpioDrvSetGPIO102, 1, 102, "1\n"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        c.set(c.level);
        CHECK(lineText(c.line) == c.text);
    }
}

TEST_CASE("inputs read the value file's number")
{
    const std::string dir = board().dir();
    struct Case {
        int (*read)();
        int line;
        const char* text;
        int value;
    };
    const Case cases[] = {
        {gpioDrvReadPowerButtonSense, 153, "1\n", 1}, {gpioDrvReadPowerButtonSense, 153, "", 0},
        {gpioDrvReadIgnitionSense, 152, "0\n", 0},     {gpioDrvReadGPIO105, 105, "1", 1},
        {gpioDrvReadUSB2_status, 137, "1\n", 1},       {gpioDrvReadImplementStatus, 65, "1\n", 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.line);
        CAPTURE(c.text);
        REQUIRE(standinSetGpio(dir, c.line, c.text));
        CHECK(c.read() == c.value);
    }
    REQUIRE(standinSetGpio(dir, 153, "0\n"));
}

TEST_CASE("the watch thread hands changes of a watched line to its handler")
{
    const std::string dir = board().dir();
    REQUIRE(standinSetGpio(dir, 153, "0\n"));
    REQUIRE(standinSetGpio(dir, 152, "0\n"));
    gpioDrvSetPowerButtonCallback([](uint8_t value) { powerButton.add(value); });
    usleep(100 * 1000);  // the registration takes effect from the watch's next round
    REQUIRE(standinSetGpio(dir, 153, "1\n"));
    CHECK(powerButton.waitFor(1));
    REQUIRE(standinSetGpio(dir, 153, "0\n"));
    CHECK(powerButton.waitFor(0));

    gpioDrvSetIgnitionCallback([](uint8_t value) { ignition.add(value); });
    usleep(100 * 1000);
    REQUIRE(standinSetGpio(dir, 152, "1\n"));
    CHECK(ignition.waitFor(1));
    const std::vector<uint8_t> presses = powerButton.values();
    CHECK(presses == std::vector<uint8_t>{1, 0});  // the ignition change is not a press
}

TEST_CASE("a short tap right after an unchanged watch event reports both edges")
{
    const std::string dir = board().dir();
    REQUIRE(standinSetGpio(dir, 153, "0\n"));
    gpioDrvSetPowerButtonCallback([](uint8_t value) { tap.add(value); });
    usleep(100 * 1000);
    // Off the device the watch reads the line's file when it is woken, so a tap
    // whose press and release both pass while the machine is too busy to run the
    // watch thread goes unseen: most taps, not every one, must come through.
    const int taps = 8;
    int seen = 0;
    for (int round = 0; round < taps; ++round) {
        const size_t before = tap.values().size();
        // A bounce that leaves the line as it was wakes the watch without a change.
        REQUIRE(standinSetGpio(dir, 153, "0\n"));
        usleep(5 * 1000);
        REQUIRE(standinSetGpio(dir, 153, "1\n"));
        usleep(15 * 1000);
        REQUIRE(standinSetGpio(dir, 153, "0\n"));
        usleep(100 * 1000);
        seen += tap.values().size() == before + 2 ? 1 : 0;
    }
    CHECK(seen >= taps - 3);
    // Whatever came is whole taps: a press, then its release.
    const std::vector<uint8_t> values = tap.values();
    CHECK(values.size() % 2 == 0);
    for (size_t i = 0; i < values.size(); ++i) {
        CAPTURE(i);
        CHECK(values[i] == (i % 2 == 0 ? 1 : 0));
    }
}

TEST_CASE("generic access and power off")
{
    const std::string dir = board().dir();
    gpioDrvSetGPIOGeneric(106, 1);
    CHECK(lineText(106) == "1\n");
    CHECK(gpioDrvGetGPIOGeneric(106));
    gpioDrvToggleGPIOGeneric(106);
    CHECK(lineText(106) == "0\n");
    CHECK_FALSE(gpioDrvGetGPIOGeneric(106));
    CHECK_FALSE(gpioDrvGetGPIOGeneric(999));
    gpioDrvSetGPIOGeneric(999, 1);

    // a second initialisation opens nothing: a missing line does not end the program
    REQUIRE(removeTree(dir + "/sys/class/gpio/gpio24"));
    gpioDrvInit(0xFFFFFF);

    gpioDrvPowerOff(1);
    CHECK(readTextFile(cmdLogPath()).find("shutdown") == std::string::npos);
    gpioDrvPowerOff(0);
    CHECK(readTextFile(cmdLogPath()) == "shutdown -hP -t 0 0\n");
}
