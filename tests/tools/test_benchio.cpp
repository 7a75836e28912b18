// The FPGA register and board I/O commands, request by request.
#include "bench_env.h"
#include "benchfpga.h"
#include "benchio.h"
#include "frqdriver.h"
#include "gpiodrv.h"
#include "ioextend.h"
#include "standin_board.h"
#include "standin_devices.h"
#include "test_wait.h"
#include "adc128s.h"

namespace {

struct IoBench : BenchFixture {
    IoBench() : BenchFixture({benchHandleFpga, benchHandleIo})
    {
        static bool gpioOpened = false;
        if (!gpioOpened) {
            gpioDrvInit(0xFFFFFFFFu);
            gpioOpened = true;
        }
        frqdriverReset();
        writeTextFile(standinIoctlLogPath(root.dir()), "");
    }
    ~IoBench() { frqdriverReset(); }
    uint32_t reg(uint32_t offset) const { return standinReadFpgaRegister(root.dir(), offset); }
    std::string gpio(int line) const { return readTextFile(standinGpioValuePath(root.dir(), line)); }
    void makeLine(int line, const std::string& text) const
    {
        REQUIRE(makeDirs(root.dir() + "/sys/class/gpio/gpio" + std::to_string(line)));
        REQUIRE(standinSetGpio(root.dir(), line, text));
    }
};

}  // namespace

TEST_CASE_FIXTURE(IoBench, "FPGA registers are written and read only inside the listed ranges")
{
    REQUIRE(standinWriteFpgaRegister(root.dir(), IOEXTEND_PWM_BLOCK + 0x58, 0x11));
    REQUIRE(standinWriteFpgaRegister(root.dir(), 0x0000, 0x0843));
    struct Case {
        const char* name;
        uint16_t command;
        std::string payload;
        std::string reply;
    };
    const Case cases[] = {
        {"bank 1 beyond 0x54", 0x2300, bytes({1, 0x58, 0, 0x78, 0x56, 0x34, 0x12}),
         frame(0x2301, bytes({1, 0x58, 0, 0}))},
        {"bank 1 at 0x54", 0x2300, bytes({1, 0x54, 0, 0x78, 0x56, 0x34, 0x12}), frame(0x2301, bytes({1, 0x54, 0, 1}))},
        {"bank 2 at 0x124", 0x2300, bytes({2, 0x24, 1, 9, 0, 0, 0}), frame(0x2301, bytes({2, 0x24, 1, 1}))},
        {"bank 5", 0x2302, bytes({5, 0, 0}), frame(0x2303, bytes({5, 0, 0, 0, 0, 0, 0, 0}))},
        {"bank 0", 0x2302, bytes({0, 4, 0}), frame(0x2303, bytes({0, 4, 0, 0, 0, 0, 0, 0}))},
        {"bank 4 beyond 4", 0x2302, bytes({4, 8, 0}), frame(0x2303, bytes({4, 8, 0, 0, 0, 0, 0, 0}))},
        {"the version word", 0x2302, bytes({4, 0, 0}), frame(0x2303, bytes({4, 0, 0, 0x43, 0x08, 0, 0, 1}))},
        {"the word just written", 0x2302, bytes({1, 0x54, 0}),
         frame(0x2303, bytes({1, 0x54, 0, 0x78, 0x56, 0x34, 0x12, 1}))},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        CHECK(exchange(c.command, c.payload) == okStatus() + c.reply);
    }
    CHECK(reg(IOEXTEND_PWM_BLOCK + 0x58) == 0x11);
    CHECK(reg(IOEXTEND_PWM_BLOCK + 0x54) == 0x12345678u);
    CHECK(reg(IOEXTEND_FRQ_BLOCK + 0x124) == 9);
    CHECK(exchange(0x2300, bytes({1, 0, 0})) == bytes({0x02, 0x0F}));
}

TEST_CASE_FIXTURE(IoBench, "named outputs drive their line and, up to 200, the line of the same number")
{
    makeLine(8, "0\n");
    CHECK(exchange(0x0702, bytes({8, 1})) == okStatus());
    CHECK(gpio(140) == "1");    // the buzzer-low operation
    CHECK(gpio(8) == "1\n");    // and line 8 itself
    CHECK(exchange(0x0702, bytes({16, 1})) == okStatus());
    CHECK(gpio(100) == "0");    // the power relay is inverted

    CHECK(exchange(0x0702, bytes({18, 1})) == okStatus());
    CHECK(commands().empty());
    CHECK(exchange(0x0702, bytes({18, 0})) == okStatus());
    CHECK(commands() == "shutdown -hP -t 0 0\n");

    makeLine(201, "0\n");
    CHECK(exchange(0x0703, bytes({201, 1})) == okStatus());
    CHECK(gpio(201) == "0\n");
    CHECK(exchange(0x0703, bytes({150, 1})) == okStatus());
    CHECK(gpio(150) == "1\n");
}

TEST_CASE_FIXTURE(IoBench, "lines, named inputs and ADC channels are read back")
{
    makeLine(201, "1\n");
    REQUIRE(standinSetGpio(root.dir(), 153, "1\n"));
    REQUIRE(standinSetGpio(root.dir(), 24, "0\n"));
    REQUIRE(standinSetGpio(root.dir(), 150, "1\n"));
    struct Case {
        uint16_t command;
        int id;
        std::string reply;
    };
    const Case cases[] = {
        {0x0704, 150, frame(0x0705, bytes({150, 1}))}, {0x0704, 201, frame(0x0705, bytes({201, 0}))},
        {0x0800, 17, frame(0x0801, bytes({17, 1}))},   {0x0800, 10, frame(0x0801, bytes({10, 0}))},
        {0x0800, 12, frame(0x0801, bytes({12, 0}))},   {0x0800, 99, frame(0x0801, bytes({99, 0}))},
        {0x0600, 9, frame(0x0601, bytes({9, 0, 0}))},
    };
    for (const Case& c : cases) {
        CAPTURE(c.command);
        CAPTURE(c.id);
        CHECK(exchange(c.command, bytes({c.id})) == okStatus() + c.reply);
    }

    REQUIRE(standinSetAdc(root.dir(), 3, 0x234));
    SetMinMax(0, 0x3FF);
    adc128sConfig(3, 10, nullptr, 0);
    CHECK(waitFor([&] { return exchange(0x0600, bytes({3})) == okStatus() + frame(0x0601, bytes({3, 0x34, 0x02})); },
                  2000));
}

TEST_CASE_FIXTURE(IoBench, "PWM commands exist on platforms 3 and 4 only")
{
    setPlatform(benchPlatformName(1));
    CHECK(exchange(0x0700, bytes({22, 0xE8, 0x03, 50})) == bytes({0x40, 0x0F}));
    CHECK(exchange(0x0701, bytes({23})) == bytes({0x40, 0x0F}));

    setPlatform(benchPlatformName(4));
    CHECK(exchange(0x0701, bytes({23})) == okStatus());
    CHECK(exchange(0x0700, bytes({22, 0xE8, 0x03, 50})) == okStatus());  // id 22 is platform 3's only
    CHECK(exchange(0x0701, bytes({23, 0})) == bytes({0x02, 0x0F}));
    CHECK(readTextFile(standinIoctlLogPath(root.dir())) == "/dev/pwm10 0x40045002 100\n/dev/pwm10 0x40045001 0\n"
                                                           "/dev/pwm10 0x40045001 0\n");

    writeTextFile(standinIoctlLogPath(root.dir()), "");
    setPlatform(benchPlatformName(3));
    CHECK(exchange(0x0700, bytes({22, 0xE8, 0x03, 50})) == okStatus());
    CHECK(readTextFile(standinIoctlLogPath(root.dir())) == "/dev/pwm9 0x40045002 1000\n/dev/pwm9 0x40045001 0\n"
                                                           "/dev/pwm9 0x40045001 50\n");
}

TEST_CASE_FIXTURE(IoBench, "input 24 is the frequency input's value on platform 4")
{
    REQUIRE(standinSetFrqValue(root.dir(), 65, 0x101));
    REQUIRE(standinSetGpio(root.dir(), 65, "0\n"));
    setPlatform(benchPlatformName(4));
    CHECK(exchange(0x0800, bytes({24})) == okStatus() + frame(0x0801, bytes({24, 1})));
    REQUIRE(standinSetFrqValue(root.dir(), 65, 0x100));
    CHECK(exchange(0x0800, bytes({24})) == okStatus() + frame(0x0801, bytes({24, 0})));
    setPlatform("");
    REQUIRE(standinSetGpio(root.dir(), 65, "1\n"));
    CHECK(exchange(0x0800, bytes({24})) == okStatus() + frame(0x0801, bytes({24, 1})));
}
