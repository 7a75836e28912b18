// The board's side of the FPGA register file: what the player writes where the
// extender driver reads it, and the boom's loops.
#include "standin_board.h"
#include "standin_fpgaio.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>

namespace {

const uint32_t kGpInLo = 0x6010;
const uint32_t kGpInHi = 0x6014;
const uint32_t kGpOutLo = 0x6020;
const uint32_t kGpOutHi = 0x6024;
const uint32_t kPwmControl = 0x2000;
const uint32_t kPwmInOut = 0x2004;
const uint32_t kFrqIrqStat = 0x4004;
const uint32_t kFrqPinVal = 0x4008;

}  // namespace

TEST_CASE("input levels land in the registers the driver reads")
{
    TestRoot root;
    StandinFpga board(root.dir());
    REQUIRE(board.ok());
    board.stopLoops();
    struct Case {
        uint32_t pin;
        uint32_t offset;
        uint32_t bit;
        bool setMeansHigh;
    };
    const Case cases[] = {
        {5, kGpInLo, 1u << 4, true},    {30, kGpInLo, 1u << 29, true}, {31, kGpInHi, 1u << 0, true},
        {42, kGpInHi, 1u << 11, true},  {50, kPwmInOut, 1u << 1, true}, {67, kFrqPinVal, 1u << 1, false},
        {83, kFrqPinVal, 1u << 17, false},
    };
    for (const Case& c : cases) {
        CAPTURE(c.pin);
        CHECK(board.setInput(c.pin, true));
        CHECK(((standinReadFpgaRegister(root.dir(), c.offset) & c.bit) != 0) == c.setMeansHigh);
        CHECK(board.setInput(c.pin, false));
        CHECK(((standinReadFpgaRegister(root.dir(), c.offset) & c.bit) != 0) == !c.setMeansHigh);
    }
    CHECK_FALSE(board.setInput(44, true));
    CHECK_FALSE(board.setInput(60, true));
}

TEST_CASE("outputs, modes and PWM are read from the registers the driver writes")
{
    TestRoot root;
    StandinFpga board(root.dir());
    board.stopLoops();
    REQUIRE(standinWriteFpgaRegister(root.dir(), kGpOutLo, 1u << 3));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kGpOutHi, 1u << 2));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmInOut, 1u << 17));
    CHECK(board.output(4) == 1);
    CHECK(board.output(5) == 0);
    CHECK(board.output(33) == 1);
    CHECK(board.output(56) == 1);
    CHECK(board.output(55) == 0);
    CHECK(board.output(67) == -1);

    REQUIRE(standinWriteFpgaRegister(root.dir(), 0x6000, 1u << 3));
    REQUIRE(standinWriteFpgaRegister(root.dir(), kPwmControl, (1u << 4) | (1u << 8) | (1u << 14) | (1u << 16)));
    REQUIRE(standinWriteFpgaRegister(root.dir(), 0x4000, 1u << 15));
    CHECK(board.mode(4) == StandinFpga::PinMode::Output);
    CHECK(board.mode(5) == StandinFpga::PinMode::Input);
    CHECK(board.mode(48) == StandinFpga::PinMode::Pwm);
    CHECK(board.mode(44) == StandinFpga::PinMode::Unknown);
    CHECK(board.mode(55) == StandinFpga::PinMode::Pwm);
    CHECK(board.mode(56) == StandinFpga::PinMode::Output);
    CHECK(board.mode(81) == StandinFpga::PinMode::Frequency);
    CHECK(board.mode(80) == StandinFpga::PinMode::Input);
    CHECK(board.bridgeControl(45));
    CHECK_FALSE(board.bridgeControl(46));
    CHECK(board.tristateEnabled(65));
    CHECK_FALSE(board.tristateEnabled(59));

    // Channel 48 at 8000 Hz (1875 ticks), 430 per mille, polarity flag set.
    REQUIRE(standinWriteFpgaRegister(root.dir(), 0x2010 + 0x40, 1875));
    REQUIRE(standinWriteFpgaRegister(root.dir(), 0x2014 + 0x40, 0x80000000u | 806));
    const StandinFpga::PwmState pwm = board.pwm(48);
    CHECK(pwm.enabled);
    CHECK(pwm.periodTicks == 1875);
    CHECK(pwm.frequencyHz == 8000);
    CHECK(pwm.dutyPerMille == 430);
    CHECK(pwm.inverted);
    CHECK(board.pwm(44).frequencyHz == 0);
}

TEST_CASE("frequency reports are posted with their pending flag")
{
    TestRoot root;
    StandinFpga board(root.dir());
    CHECK(StandinFpga::reportWord(3, 40000, true) == (3u | (40000u << 9) | (1u << 30)));
    CHECK(StandinFpga::reportWord(0x3FF, 0x3FFFFF, false) == (0x1FFu | (0x1FFFFFu << 9)));
    REQUIRE(board.report(81, 0x1234));
    CHECK(standinReadFpgaRegister(root.dir(), 0x4014 + 0x10 * 15) == 0x1234u);
    CHECK(board.reportPending(81));
    CHECK_FALSE(board.reportPending(80));
    // The driver takes a report by clearing its flag.
    REQUIRE(standinWriteFpgaRegister(root.dir(), kFrqIrqStat, 0));
    CHECK_FALSE(board.reportPending(81));
    CHECK_FALSE(board.report(65, 1));
}

TEST_CASE("the boom loops outputs back to their feedback until a loop is broken")
{
    TestRoot root;
    StandinFpga board(root.dir());
    struct Loop {
        uint32_t output;
        uint32_t feedback;
    };
    const Loop loops[] = {{4, 67}, {28, 79}, {22, 76}, {2, 66}};
    auto feedbackHigh = [&](uint32_t feedback) {
        return (standinReadFpgaRegister(root.dir(), kFrqPinVal) & (1u << (feedback - 66))) == 0;
    };
    for (const Loop& loop : loops) {
        CAPTURE(loop.output);
        const uint32_t offset = loop.output <= 30 ? kGpOutLo : kGpOutHi;
        const uint32_t bit = loop.output <= 30 ? 1u << (loop.output - 1) : 1u << (loop.output - 31);
        REQUIRE(standinWriteFpgaRegister(root.dir(), offset, bit));
        CHECK(waitFor([&] { return feedbackHigh(loop.feedback); }, 2000));
        REQUIRE(board.breakLoop(loop.output, false));
        CHECK_FALSE(feedbackHigh(loop.feedback));
        REQUIRE(standinWriteFpgaRegister(root.dir(), offset, 0));
        REQUIRE(board.breakLoop(loop.output, true));
        CHECK(feedbackHigh(loop.feedback));
        REQUIRE(board.restoreLoop(loop.output));
        CHECK_FALSE(feedbackHigh(loop.feedback));
    }
    CHECK_FALSE(board.breakLoop(5, true));
    CHECK_FALSE(board.restoreLoop(66));
}

TEST_CASE("the power-button line")
{
    TestRoot root;
    REQUIRE(standinSetPowerButton(root.dir(), true));
    CHECK(readTextFile(standinGpioValuePath(root.dir(), 153)) == "1\n");
    REQUIRE(standinSetPowerButton(root.dir(), false));
    CHECK(readTextFile(standinGpioValuePath(root.dir(), 153)) == "0\n");
}
