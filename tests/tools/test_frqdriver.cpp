// PWM outputs and frequency inputs of benchtest on the stand-in devices.
#include "frqdriver.h"
#include "standin_devices.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Devices {
    TestRoot root;
    Devices() { frqdriverReset(); }
    ~Devices() { frqdriverReset(); }
    std::string log() const { return readTextFile(standinIoctlLogPath(root.dir())); }
};

struct Measurement {
    uint16_t input;
    uint32_t value0;
    uint32_t value1;
    uint8_t flags;
};
std::mutex gLock;
std::vector<Measurement> gMeasurements;

void recordMeasurement(uint16_t input, uint32_t value0, uint32_t value1, uint8_t flags)
{
    std::lock_guard<std::mutex> guard(gLock);
    gMeasurements.push_back({input, value0, value1, flags});
}

size_t measured()
{
    std::lock_guard<std::mutex> guard(gLock);
    return gMeasurements.size();
}

}  // namespace

TEST_CASE_FIXTURE(Devices, "a frequency change applies the last duty again")
{
    CHECK(pwmSetDutyCycle(2, 40));
    CHECK(pwmSetFrequency(2, 100));
    CHECK(pwmSetFrequency(1, 250));
    CHECK(log() == "/dev/pwm10 0x40045001 40\n"
                   "/dev/pwm10 0x40045002 100\n"
                   "/dev/pwm10 0x40045001 40\n"
                   "/dev/pwm9 0x40045002 250\n"
                   "/dev/pwm9 0x40045001 0\n");
}

TEST_CASE_FIXTURE(Devices, "indexes outside 0 to 3 fail without opening anything")
{
    REQUIRE(unlink((root.dir() + "/dev/pwm8").c_str()) == 0);
    for (int index : {4, -1, 100}) {
        CAPTURE(index);
        CHECK_FALSE(pwmSetDutyCycle(index, 10));
        CHECK_FALSE(pwmSetFrequency(index, 10));
        CHECK_FALSE(pwmOpen(index));
    }
    CHECK(log().empty());
}

TEST_CASE_FIXTURE(Devices, "a failed open is tried again on the next call")
{
    const std::string device = root.dir() + "/dev/pwm11";
    REQUIRE(unlink(device.c_str()) == 0);
    CHECK_FALSE(pwmOpen(3));
    CHECK_FALSE(pwmSetDutyCycle(3, 10));
    REQUIRE(writeTextFile(device, ""));
    CHECK(pwmSetDutyCycle(3, 10));
    CHECK(log() == "/dev/pwm11 0x40045001 10\n");
}

TEST_CASE_FIXTURE(Devices, "inputs open once; configuration and current value")
{
    CHECK(frqdriverOpenInput(65));
    REQUIRE(unlink(standinFrqDevicePath(root.dir(), 65).c_str()) == 0);
    CHECK(frqdriverOpenInput(65));  // already open: the device is not opened again
    CHECK_FALSE(frqdriverOpenInput(66));
    CHECK_FALSE(frqdriverConfigInput(66, 50, recordMeasurement));

    REQUIRE(standinSetFrqValue(root.dir(), 65, 0x1234));
    uint8_t value = 0;
    CHECK(frqdriverReadInput(65, &value));
    CHECK(value == 0x34);
    CHECK(frqdriverConfigInput(65, 50, nullptr));
    CHECK(log() == "/dev/frqdev65 0x8008d003 read\n/dev/frqdev65 0x4008d001 1 50\n");
}

TEST_CASE_FIXTURE(Devices, "the poll thread hands each record to its input's callback, the first dropped")
{
    {
        std::lock_guard<std::mutex> guard(gLock);
        gMeasurements.clear();
    }
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 99, 99, 0));  // stale: dropped at start
    REQUIRE(frqdriverConfigInput(65, 100, recordMeasurement));
    CHECK(frqdriverInit());
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 10, 20, 0x4));
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 11, 21, 0x1));
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 12, 22, 0x2 | 0x8));
    REQUIRE(waitFor([] { return measured() >= 3; }, 3000));

    // An input added while the thread runs is watched as well.
    REQUIRE(standinQueueFrqRecord(root.dir(), 70, 0, 0, 0));
    REQUIRE(frqdriverConfigInput(70, 50, recordMeasurement));
    REQUIRE(waitFor([&] {
        static bool queued = false;
        if (!queued)
            queued = standinQueueFrqRecord(root.dir(), 70, 7, 8, 0x7);
        return measured() >= 4;
    }, 3000));
    usleep(50000);
    std::lock_guard<std::mutex> guard(gLock);
    REQUIRE(gMeasurements.size() == 4);
    struct Expected {
        uint16_t input;
        uint32_t value0;
        uint8_t flags;
    };
    const Expected expected[] = {{65, 10, 0x1}, {65, 11, 0x2}, {65, 12, 0x4}, {70, 7, 0x7}};
    for (size_t i = 0; i < 4; ++i) {
        CAPTURE(i);
        CHECK(gMeasurements[i].input == expected[i].input);
        CHECK(gMeasurements[i].value0 == expected[i].value0);
        CHECK(gMeasurements[i].value1 == expected[i].value0 + 10 - (i == 3 ? 9 : 0));
        CHECK(gMeasurements[i].flags == expected[i].flags);
    }
}

TEST_CASE_FIXTURE(Devices, "inputs opened and configured while the poll thread runs are safe")
{
    CHECK(frqdriverInit());
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        while (!stop) {
            uint8_t value;
            frqdriverReadInput(65, &value);
            usleep(1000);
        }
    });
    for (int round = 0; round < 20; ++round) {
        for (int input = 100; input < 110; ++input) {
            REQUIRE(writeTextFile(standinFrqDevicePath(root.dir(), input), ""));
            CHECK(frqdriverConfigInput(static_cast<uint16_t>(input), 10, recordMeasurement));
        }
        frqdriverReset();
    }
    stop = true;
    reader.join();
}

namespace {
// The descriptors of this process that are open on the file.
int openDescriptorsOn(const std::string& file)
{
    int count = 0;
    char target[4096];
    for (int fd = 0; fd < 1024; ++fd) {
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<size_t>(n)) == file)
            ++count;
    }
    return count;
}

std::mutex gHoldLock;
std::condition_variable gHoldChanged;
bool gInCallback = false;
bool gRelease = false;

// Stays in the poll thread's pass until released.
void holdingCallback(uint16_t, uint32_t, uint32_t, uint8_t)
{
    std::unique_lock<std::mutex> lock(gHoldLock);
    gInCallback = true;
    gHoldChanged.notify_all();
    gHoldChanged.wait(lock, [] { return gRelease; });
}
}  // namespace

TEST_CASE_FIXTURE(Devices, "a reset closes no descriptor the poll thread is still using")
{
    const std::string device = standinFrqDevicePath(root.dir(), 65);
    REQUIRE(frqdriverConfigInput(65, 100, holdingCallback));
    CHECK(frqdriverInit());
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 1, 2, 0));  // the first is dropped
    REQUIRE(standinQueueFrqRecord(root.dir(), 65, 3, 4, 0));
    {
        std::unique_lock<std::mutex> lock(gHoldLock);
        REQUIRE(gHoldChanged.wait_for(lock, std::chrono::seconds(5), [] { return gInCallback; }));
    }
    REQUIRE(openDescriptorsOn(device) == 1);

    std::atomic<bool> resetDone{false};
    std::thread resetter([&] {
        frqdriverReset();
        resetDone = true;
    });
    // While the thread is in its pass the descriptor stays open (its number
    // cannot go to another device) and the reset waits.
    usleep(200000);
    CHECK(openDescriptorsOn(device) == 1);
    CHECK_FALSE(resetDone.load());
    {
        std::lock_guard<std::mutex> lock(gHoldLock);
        gRelease = true;
    }
    gHoldChanged.notify_all();
    resetter.join();
    CHECK(openDescriptorsOn(device) == 0);
}
