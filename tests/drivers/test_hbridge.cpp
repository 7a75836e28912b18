#include "clock.h"
#include "hbridge.h"
#include "ioextend.h"
#include "standin_board.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <mutex>
#include <unistd.h>
#include <vector>

namespace {

struct Output {
    uint32_t setting;
    uint32_t duty;
    uint32_t direction;
};

std::mutex outputLock;
std::vector<Output> outputs;

uint32_t recordOutput(uint32_t setting, uint32_t duty, uint32_t direction)
{
    std::lock_guard<std::mutex> guard(outputLock);
    outputs.push_back({setting, duty, direction});
    return 1;
}

std::string outputText()
{
    std::string text;
    for (const Output& o : outputs)
        text += (text.empty() ? "" : " ") + std::to_string(o.setting) + "/" + std::to_string(o.duty) + "/" +
                std::to_string(o.direction);
    return text;
}

// The outputs since the last call as "setting/duty/direction" separated by
// spaces. Outputs of the H-bridge task may arrive a little later: when
// `expected` is given, waits up to 2 s of real time for them.
std::string takeOutputs(const std::string& expected = "")
{
    for (int i = 0; i < 200 && !expected.empty(); ++i) {
        {
            std::lock_guard<std::mutex> guard(outputLock);
            if (outputText() == expected)
                break;
        }
        usleep(10000);
    }
    std::lock_guard<std::mutex> guard(outputLock);
    const std::string text = outputText();
    outputs.clear();
    return text;
}

// Lets time pass and gives the timer thread and the H-bridge task a moment.
void pass(uint32_t ms)
{
    clockAdvanceMs(ms);
    usleep(20000);
}

// Channel 0 with a recording output on manual time.
struct Bridge {
    Bridge()
    {
        clockUseManual();
        REQUIRE(hbridgeInit() == 1);
        REQUIRE(hbridgeSetCallback(0, recordOutput) == 1);
        REQUIRE(hbridgeConfigChannel(0, 65535, 65535, 250) == 1);
        REQUIRE(hbridgeSetPolarity(0, 0, 0) == 1);
        hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 0, 0, 0);  // forget an earlier kick position
        takeOutputs();
    }
    ~Bridge()
    {
        hbridgeSetDutyCycle(0, HBRIDGE_STOP, 0, 0, 0);
        clockUseReal();
    }
};

}  // namespace

TEST_CASE("configuration with an output callback")
{
    Bridge bridge;
    CHECK(hbridgeConfigChannel(0, 65535, 65535, 250) == 1);
    CHECK(takeOutputs() == "250/0/0");
    CHECK(hbridgeSetCallback(0, nullptr) == 0);
    CHECK(hbridgeSetCallback(0, recordOutput) == 1);
}

TEST_CASE("a forward drive runs for its on-time")
{
    Bridge bridge;
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 500, 0, 968) == 1);
    CHECK(takeOutputs() == "250/968/1");
    pass(490);
    CHECK(takeOutputs() == "");
    pass(20);
    CHECK(takeOutputs("250/0/1") == "250/0/1");
    pass(2000);
    CHECK(takeOutputs() == "");
}

TEST_CASE("a reverse drive starts with a kick of the full limit")
{
    Bridge bridge;
    REQUIRE(hbridgeSetPolarity(0, 3000, 1000) == 1);
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_REVERSE, 500, 0, 968) == 1);
    CHECK(takeOutputs() == "250/1000/0");
    pass(2990);
    CHECK(takeOutputs() == "");
    pass(20);
    CHECK(takeOutputs("250/968/0") == "250/968/0");
    pass(3000);
    CHECK(takeOutputs() == "");  // no on-time limit after a kick

    // back to forward: no kick; reverse again: a full kick again
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 0, 0, 968) == 1);
    CHECK(takeOutputs() == "250/968/1");
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_REVERSE, 0, 0, 500) == 1);
    CHECK(takeOutputs() == "250/1000/0");
    pass(3010);
    CHECK(takeOutputs("250/500/0") == "250/500/0");

    // a reverse drive without duty does not kick
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 0, 0, 968) == 1);
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_REVERSE, 0, 0, 0) == 1);
    CHECK(takeOutputs() == "250/968/1 250/0/0");
}

TEST_CASE("stop cancels a pending step")
{
    Bridge bridge;
    REQUIRE(hbridgeSetPolarity(0, 3000, 1000) == 1);
    struct Case {
        const char* name;
        uint32_t command, time;
        const char* first;
    };
    const Case cases[] = {
        {"kick", HBRIDGE_REVERSE, 0, "250/1000/0"},
        {"on-time", HBRIDGE_FORWARD, 500, "250/968/1"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 0, 0, 0);
        takeOutputs();
        REQUIRE(hbridgeSetDutyCycle(0, c.command, c.time, 0, 968) == 1);
        CHECK(takeOutputs() == c.first);
        pass(100);
        CHECK(hbridgeSetDutyCycle(0, 7, 500, 0, 968) == 1);  // any other command stops
        CHECK(takeOutputs() == "250/0/1");
        pass(4000);
        CHECK(takeOutputs() == "");
    }
}

TEST_CASE("a fixed-ratio drive applies its duty; channels above 1 are refused")
{
    Bridge bridge;
    CHECK(hbridgeSetDutyCycle(0, HBRIDGE_FORWARD, 16, 128, 968) == 1);
    CHECK(takeOutputs() == "250/968/1");
    pass(1000);
    CHECK(takeOutputs() == "");

    CHECK(hbridgeSetDutyCycle(2, HBRIDGE_FORWARD, 500, 0, 968) == 0);
    CHECK(hbridgeSetCallback(2, recordOutput) == 0);
    CHECK(hbridgeSetPolarity(2, 100, 100) == 0);
    CHECK(hbridgeConfigChannel(2, 44, 55, 1000) == 0);
    pass(600);
    CHECK(takeOutputs() == "");
}

TEST_CASE("without a callback the FPGA extender drives the bridge")
{
    TestRoot root;
    REQUIRE(ioextend_Init() == 1);
    REQUIRE(hbridgeInit() == 1);
    // ids 44..47 take PWM only through the PWM configuration, so the generic step reports 0
    CHECK(hbridgeConfigChannel(1, 46, 55, 1000) == 0);
    const std::string dir = root.dir();
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + 0x30) == 15000);

    REQUIRE(hbridgeSetDutyCycle(1, HBRIDGE_FORWARD, 0, 0, 500) == 1);
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + 0x34) == (0x80000000u | 7500));
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + IOEXTEND_PWM_INOUT) == (1u << 16));

    REQUIRE(hbridgeSetPolarity(1, 200, 1000) == 1);
    REQUIRE(hbridgeSetDutyCycle(1, HBRIDGE_REVERSE, 0, 0, 500) == 1);
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + 0x34) == 15000);
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + IOEXTEND_PWM_INOUT) == 0);
    // the kick ends on the H-bridge task in real time
    uint32_t duty = 0;
    for (int i = 0; i < 200 && duty != 7500; ++i) {
        usleep(10000);
        duty = standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + 0x34);
    }
    CHECK(duty == 7500);
    REQUIRE(hbridgeSetDutyCycle(1, HBRIDGE_STOP, 0, 0, 0) == 1);
    CHECK(standinReadFpgaRegister(dir, IOEXTEND_PWM_BLOCK + 0x34) == 0x80000000u);
}
