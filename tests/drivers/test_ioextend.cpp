#include "ioextend.h"
#include "standin_board.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <functional>
#include <unistd.h>
#include <vector>

namespace {

const uint32_t kPwm = IOEXTEND_PWM_BLOCK;
const uint32_t kFrq = IOEXTEND_FRQ_BLOCK;
const uint32_t kGp = IOEXTEND_GENERAL_BLOCK;

struct Board {
    TestRoot root;
    uint32_t reg(uint32_t offset) const { return standinReadFpgaRegister(root.dir(), offset); }
    void set(uint32_t offset, uint32_t value) const { REQUIRE(standinWriteFpgaRegister(root.dir(), offset, value)); }
};

struct Report {
    uint32_t word;
    uint32_t user;
};
std::vector<Report> reports;
void recordReport(uint32_t word, uint32_t user)
{
    reports.push_back({word, user});
}

}  // namespace

// Must run before any test maps the device: the children inherit the module state.
TEST_CASE("use before ioextend_Init ends the program with the operation's text")
{
    struct Case {
        void (*call)();
        const char* text;
    };
    const Case cases[] = {
        {[] { ioextend_ioSet(1, 1); }, "Validate failed: ioextend_ioSet()"},
        {[] { ioextend_Update(); }, "Validate failed: ioextend_Update()"},
        {[] { ioextend_ioConfigPWM(44, 500); }, "Validate failed: ioextend_ioConfigPWM()"},
        {[] { ioextend_ioConfig(66, 3, 50, nullptr, 0); }, "Validate failed: ioextend_ioConfig()"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        std::string err;
        CHECK(runInChild([&] { c.call(); return 0; }, &err, ChildOutput::StderrOnly) == 1);
        CHECK(err.find(c.text) == 0);
    }
}

TEST_CASE("mode and PWM enable before ioextend_Init refuse without touching the device")
{
    std::string err;
    CHECK(runInChild(
              [] {
                  const int refused = ioextend_ioSetMode(5, 1) == 0 && ioextend_ioSetMode(60, 2) == 0 &&
                                      ioextend_ioEnablePWM(44) == 0 && ioextend_ioEnablePWM(56) == 0;
                  return refused ? 7 : 3;
              },
              &err, ChildOutput::StderrOnly) == 7);
}

TEST_CASE("a missing device ends ioextend_Init")
{
    TestRoot root;
    REQUIRE(unlink((root.dir() + "/dev/uio0").c_str()) == 0);
    std::string err;
    CHECK(runInChild([] { ioextend_Init(); return 0; }, &err, ChildOutput::StderrOnly) == 1);
    CHECK(err.find("/dev/uio0: open") == 0);
}

TEST_CASE("PWM periods and duty cycles against the register file")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);

    struct PeriodCase {
        uint32_t id, frequency, offset, period;
    };
    const PeriodCase periods[] = {
        {44, 1500, 0x10, 10000}, {48, 500, 0x50, 30000}, {48, 15000, 0x50, 1000},
        {44, 24, 0x10, 0},       {44, 1501, 0x10, 0},     {45, 25, 0x20, 600000},
        {47, 1000, 0x40, 15000}, {46, 333, 0x30, 45045},
    };
    for (const PeriodCase& c : periods) {
        CAPTURE(c.id);
        CAPTURE(c.frequency);
        board.set(kPwm + c.offset, 0xDEADBEEF);
        CHECK(ioextend_ioConfigPWM(c.id, c.frequency) == 1);
        CHECK(board.reg(kPwm + c.offset) == c.period);
        // the channel is switched to PWM on the way
        CHECK((board.reg(kPwm + IOEXTEND_PWM_CONTROL) & (1u << (c.id - 44))) != 0);
    }
    CHECK(ioextend_ioConfigPWM(43, 500) == 0);
    CHECK(ioextend_ioConfigPWM(49, 500) == 0);

    REQUIRE(ioextend_ioConfigPWM(48, 500) == 1);
    REQUIRE(ioextend_ioConfigPWM(44, 1500) == 1);
    struct DutyCase {
        uint32_t id, duty, inverted, offset, expected;
    };
    const DutyCase duties[] = {
        {48, 1000, 1, 0x54, 0x80000000u | 30000},
        {48, 500, 0, 0x54, 15000},
        {48, 0, 1, 0x54, 0x80000000u},
        {44, 968, 0, 0x14, 9680},
        {44, 1, 0, 0x14, 10},
        // beyond full scale the on-time stays at the period, the polarity flag untouched
        {44, 5000, 0, 0x14, 10000},
        {48, 0xFFFFFFFF, 0, 0x54, 30000},
    };
    for (const DutyCase& c : duties) {
        CAPTURE(c.id);
        CAPTURE(c.duty);
        CHECK(ioextend_ioSetPWMdutyCycle(c.id, c.duty, c.inverted) == 1);
        CHECK(board.reg(kPwm + c.offset) == c.expected);
    }
    CHECK(ioextend_ioSetPWMdutyCycle(49, 500, 0) == 0);
}

TEST_CASE("pins, outputs, bridge and tristate bits")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);

    // general pins: direction, output and input
    REQUIRE(ioextend_ioConfig(5, 1, 0, nullptr, 0) == 1);
    REQUIRE(ioextend_ioConfig(35, 1, 0, nullptr, 0) == 1);
    CHECK(board.reg(kGp + IOEXTEND_GP_DIR_LO) == (1u << 4));
    CHECK(board.reg(kGp + IOEXTEND_GP_DIR_HI) == (1u << 4));
    CHECK(ioextend_ioSet(5, 1) == 1);
    CHECK(ioextend_ioSet(35, 7) == 1);
    CHECK(board.reg(kGp + IOEXTEND_GP_OUT_LO) == (1u << 4));
    CHECK(board.reg(kGp + IOEXTEND_GP_OUT_HI) == (1u << 4));
    CHECK(ioextend_ioSet(5, 0) == 1);
    CHECK(board.reg(kGp + IOEXTEND_GP_OUT_LO) == 0);
    board.set(kGp + IOEXTEND_GP_IN_LO, 0xFFFFFFFF);
    CHECK(ioextend_ioRead(5) == 0);  // an output reads 0 whatever the level
    REQUIRE(ioextend_ioConfig(6, 0, 0, nullptr, 0) == 1);
    CHECK(ioextend_ioRead(6) == 1);
    CHECK(ioextend_ioSet(6, 1) == 0);  // inputs are not set
    CHECK(ioextend_ioSetMode(7, 2) == 0);
    CHECK(ioextend_ioSetMode(0, 0) == 0);

    // plain outputs and PWM mode
    REQUIRE(ioextend_ioConfig(56, 2, 0, nullptr, 0) == 1);
    CHECK((board.reg(kPwm + IOEXTEND_PWM_CONTROL) & (1u << 17)) != 0);
    CHECK(ioextend_ioSet(56, 1) == 0);
    REQUIRE(ioextend_ioConfig(64, 1, 0, nullptr, 0) == 1);
    CHECK(ioextend_ioSet(64, 1) == 1);
    CHECK(board.reg(kPwm + IOEXTEND_PWM_INOUT) == (1u << 25));
    board.set(kPwm + IOEXTEND_PWM_INOUT, (1u << 25) | (1u << 3));
    CHECK(ioextend_ioRead(52) == 1);
    CHECK(ioextend_ioRead(51) == 0);

    // ids 44..47 are not taken as PWM through the generic configuration
    CHECK(ioextend_ioConfig(45, 2, 0, nullptr, 0) == 0);
    CHECK(ioextend_ioConfig(50, 9, 0, nullptr, 0) == 0);

    board.set(kPwm + IOEXTEND_PWM_CONTROL, 0);
    struct BitCase {
        int (*fn)(uint32_t, uint32_t);
        uint32_t id, value, bit;
        int result;
    };
    const BitCase bits[] = {
        {ioextend_ioBridegeControl, 44, 1, 8, 1},  {ioextend_ioBridegeControl, 45, 1, 8, 1},
        {ioextend_ioBridegeControl, 47, 1, 9, 1},  {ioextend_ioBridegeControl, 48, 1, 0, 0},
        {ioextend_ioTristateControl, 59, 0, 12, 1}, {ioextend_ioTristateControl, 64, 0, 13, 1},
        {ioextend_ioTristateControl, 65, 0, 14, 1}, {ioextend_ioTristateControl, 60, 0, 0, 0},
    };
    for (const BitCase& c : bits) {
        CAPTURE(c.id);
        const uint32_t before = board.reg(kPwm + IOEXTEND_PWM_CONTROL);
        CHECK(c.fn(c.id, c.value) == c.result);
        const uint32_t after = board.reg(kPwm + IOEXTEND_PWM_CONTROL);
        if (c.result)
            CHECK(after == (before | (1u << c.bit)));
        else
            CHECK(after == before);
    }
    CHECK(ioextend_ioBridegeControl(44, 0) == 1);
    CHECK(ioextend_ioTristateControl(65, 1) == 1);
    CHECK(board.reg(kPwm + IOEXTEND_PWM_CONTROL) == ((1u << 9) | (1u << 12) | (1u << 13)));
}

TEST_CASE("frequency inputs: slot times, pin levels and data words")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);

    struct SlotCase {
        uint32_t id, time;
        int result;
    };
    const SlotCase slots[] = {{83, 400, 1}, {66, 2, 1}, {66, 1, 0}, {66, 401, 0}, {65, 100, 0}, {84, 100, 0}};
    for (const SlotCase& c : slots) {
        CAPTURE(c.id);
        CAPTURE(c.time);
        board.set(kFrq + 0x10 + 0x10 * 17, 0);
        board.set(kFrq + 0x10, 0);
        CHECK(ioextend_ioSetSlotTime(c.id, c.time) == c.result);
        if (c.result)
            CHECK(board.reg(kFrq + 0x10 + 0x10 * (c.id - 66)) == c.time);
    }
    CHECK(board.reg(0x4120) == 0);
    REQUIRE(ioextend_ioSetSlotTime(83, 400) == 1);
    CHECK(board.reg(0x4120) == 400);

    board.set(kFrq + IOEXTEND_FRQ_PINVAL, 1u << 13);
    CHECK(ioextend_ioRead(79) == 0);
    CHECK(ioextend_ioRead(80) == 1);

    uint32_t a, b, c9, c21;
    board.set(kFrq + 0xE4, 0x80000000u | (0x12345u << 9) | 0x1AB);
    board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, (1u << 13) | (1u << 14));
    CHECK(ioextend_ioGetFrequencyData(79, 1, &a, &b, &c9, &c21) == 1);
    CHECK(a == 1);
    CHECK(b == 0);
    CHECK(c9 == 0x1AB);
    CHECK(c21 == 0x12345);
    CHECK(ioextend_ioGetFrequencyData(65, 1, &a, &b, &c9, &c21) == 0);
    CHECK((a | b | c9 | c21) == 0);

    CHECK(ioextend_ioInterpretFrequencyData(0x40000000u | (0x1FFFFFu << 9), &a, &b, &c9, &c21) == 1);
    CHECK(a == 0);
    CHECK(b == 1);
    CHECK(c9 == 0);
    CHECK(c21 == 0x1FFFFF);

    uint32_t pending = 77, status = 0;
    board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, 1u << 2);
    CHECK(ioextend_ioGetIrqStatus(68, &pending, &status) == 1);
    CHECK(pending == 1);
    CHECK(status == (1u << 2));
    pending = 77;
    CHECK(ioextend_ioGetIrqStatus(10, &pending, &status) == 0);
    CHECK(pending == 77);

    CHECK(ioextend_ioEnableFrequencyInputIrq(1) == 1);
    CHECK(board.reg(kFrq + IOEXTEND_FRQ_GENCTRL) == 0x80000000u);
}

TEST_CASE("ioextend_Update reports each pending channel with a callback and clears its bit only")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);
    reports.clear();

    board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, 0);
    REQUIRE(ioextend_ioConfig(66, 3, 50, recordReport, 1) == 1);
    REQUIRE(ioextend_ioConfig(81, 3, 100, recordReport, 81) == 1);
    CHECK(board.reg(kFrq + IOEXTEND_FRQ_GENCTRL) == ((1u << 0) | (1u << 15)));
    CHECK(board.reg(kFrq + 0x10) == 50);
    CHECK(board.reg(kFrq + 0x10 + 0x10 * 15) == 100);
    CHECK(ioextend_ioConfig(70, 3, 1, recordReport, 70) == 0);

    board.set(kFrq + 0x14, 0x1111);
    board.set(kFrq + 0x14 + 0x10 * 15, 0x2222);
    board.set(kFrq + 0x14 + 0x10 * 3, 0x3333);
    // channel 3 has no callback: its pending bit stays for whoever polls it
    board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, (1u << 15) | (1u << 3));
    ioextend_Update();
    REQUIRE(reports.size() == 1);
    CHECK(reports[0].word == 0x2222);
    CHECK(reports[0].user == 81);
    CHECK(board.reg(kFrq + IOEXTEND_FRQ_IRQSTAT) == (1u << 3));

    reports.clear();
    board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, (1u << 15) | (1u << 0));
    ioextend_Update();
    REQUIRE(reports.size() == 2);
    CHECK(reports[0].user == 1);  // ascending channel order
    CHECK(reports[0].word == 0x1111);
    CHECK(reports[1].user == 81);
    CHECK(board.reg(kFrq + IOEXTEND_FRQ_IRQSTAT) == 0);

    reports.clear();
    ioextend_Update();
    CHECK(reports.empty());
}

TEST_CASE("ioextend_GenericHBridgeSet configures a bridge and reports a refused step")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);
    CHECK(ioextend_GenericHBridgeSet(55, 57, 60, 61, 46, 1000) == 1);
    const uint32_t control = board.reg(kPwm + IOEXTEND_PWM_CONTROL);
    CHECK((control & ((1u << 16) | (1u << 18))) == ((1u << 16) | (1u << 18)));
    CHECK((control & (1u << 9)) != 0);
    CHECK(board.reg(kPwm + 0x30) == 15000);
    CHECK(board.reg(kPwm + IOEXTEND_PWM_INOUT) == ((1u << 21) | (1u << 22)));
    CHECK(ioextend_GenericHBridgeSet(55, 57, 60, 61, 49, 1000) == 0);
}

TEST_CASE("clearing one channel's interrupt request leaves the other channels pending")
{
    Board board;
    REQUIRE(ioextend_Init() == 1);
    const uint32_t others = (1u << 1) | (1u << 7);
    uint32_t a, b, c9, c21;
    struct Case {
        const char* name;
        std::function<void()> clear;
        uint32_t cleared;
    };
    const Case cases[] = {
        {"set-up of the input", [] { ioextend_ioConfig(70, 3, 50, recordReport, 70); }, 1u << 4},
        {"reading with clear", [&] { ioextend_ioGetFrequencyData(70, 1, &a, &b, &c9, &c21); }, 1u << 4},
        {"clear request", [] { ioextend_ioClearIrqReq(1u << 4); }, 1u << 4},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        board.set(kFrq + IOEXTEND_FRQ_IRQSTAT, others | c.cleared);
        c.clear();
        CHECK(board.reg(kFrq + IOEXTEND_FRQ_IRQSTAT) == others);
    }
}

namespace {
// Mappings of this process that show the file.
int mappingsOf(const std::string& file)
{
    const std::string maps = readTextFile("/proc/self/maps");
    int count = 0;
    for (size_t at = maps.find(file); at != std::string::npos; at = maps.find(file, at + 1))
        ++count;
    return count;
}
}  // namespace

TEST_CASE("the register file is mapped once however often the core starts; a new board replaces the map")
{
    Board first;
    const std::string firstDevice = first.root.dir() + "/dev/uio0";
    for (int start = 0; start < 200; ++start)
        REQUIRE(ioextend_Init() == 1);
    CHECK(mappingsOf(firstDevice) == 1);
    CHECK(ioextend_ioSetSlotTime(66, 50) == 1);
    CHECK(first.reg(kFrq + 0x10) == 50);

    Board second;
    const std::string secondDevice = second.root.dir() + "/dev/uio0";
    REQUIRE(ioextend_Init() == 1);
    REQUIRE(ioextend_Init() == 1);
    CHECK(mappingsOf(firstDevice) == 0);
    CHECK(mappingsOf(secondDevice) == 1);
    CHECK(ioextend_ioSetSlotTime(66, 70) == 1);
    CHECK(second.reg(kFrq + 0x10) == 70);
    CHECK(first.reg(kFrq + 0x10) == 50);
}
