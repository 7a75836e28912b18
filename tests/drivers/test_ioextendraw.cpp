// Raw register access by bank, the bitstream's identity, the output reset, and
// the size check of the mapped register file.
#include "ioextend.h"
#include "standin_board.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <algorithm>

#include <unistd.h>
#include <utility>
#include <vector>

namespace {

struct Board {
    TestRoot root;
    Board() { REQUIRE(ioextend_Init() == 1); }
    uint32_t reg(uint32_t offset) const { return standinReadFpgaRegister(root.dir(), offset); }
    void set(uint32_t offset, uint32_t value) const { REQUIRE(standinWriteFpgaRegister(root.dir(), offset, value)); }
};

std::vector<std::pair<uint32_t, uint32_t>> gWrites;
void recordWrite(uint32_t offset, uint32_t value)
{
    gWrites.emplace_back(offset, value);
}

}  // namespace

// Must run before any test maps the device: the children inherit the module state.
TEST_CASE("raw access before ioextend_Init ends the program with its text")
{
    struct Case {
        void (*call)();
        const char* text;
    };
    const Case cases[] = {
        {[] { ioextend_ioWriteRegister(1, 0, 1); }, "Validate failed: ioextend_ioWriteRegister()"},
        {[] { ioextend_ioReadRegister(1, 0); }, "Validate failed: ioextend_ioReadRegister()"},
        {[] { ioextend_GetVersion(nullptr, nullptr, nullptr); }, "Validate failed: ioextend_GetVersion()"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        std::string err;
        CHECK(runInChild([&] { c.call(); return 0; }, &err, ChildOutput::StderrOnly) == 1);
        CHECK(err.find(c.text) == 0);
    }
}

TEST_CASE("a register file of the wrong size is refused as a failed mapping")
{
    TestRoot root;
    for (off_t size : {off_t(0x1000), off_t(0x1FFFC), off_t(0x20004)}) {
        CAPTURE(size);
        REQUIRE(truncate(root.path("/dev/uio0").c_str(), size) == 0);
        std::string err;
        CHECK(runInChild([] { ioextend_Init(); ioextend_ioEnableFrequencyInputIrq(1); return 0; }, &err,
                         ChildOutput::StderrOnly) == 1);
        CHECK(err.find("/dev/uio0: map") == 0);
    }
    REQUIRE(truncate(root.path("/dev/uio0").c_str(), IOEXTEND_MAP_SIZE) == 0);
    CHECK(runInChild([] { return ioextend_Init() == 1 ? 0 : 2; }, nullptr) == 0);
}

TEST_CASE_FIXTURE(Board, "banks 1 to 4 are the PWM, frequency, general I/O and fourth blocks")
{
    struct Case {
        uint32_t bank;
        uint16_t offset;
        uint32_t mapOffset;
    };
    const Case cases[] = {
        {1, 0x54, IOEXTEND_PWM_BLOCK + 0x54},
        {2, 0x123, IOEXTEND_FRQ_BLOCK + 0x120},  // the two low bits are dropped
        {3, 0x24, IOEXTEND_GENERAL_BLOCK + 0x24},
        {4, 0x04, 0x0004},
        {1, 0x1FFF, IOEXTEND_PWM_BLOCK + 0x1FFC},
    };
    for (const Case& c : cases) {
        CAPTURE(c.bank);
        CAPTURE(c.offset);
        const uint32_t value = 0xA5000000u | c.mapOffset;
        ioextend_ioWriteRegister(c.bank, c.offset, value);
        CHECK(reg(c.mapOffset) == value);
        set(c.mapOffset, ~value);
        CHECK(ioextend_ioReadRegister(c.bank, c.offset) == ~value);
    }
}

TEST_CASE_FIXTURE(Board, "other banks and offsets beyond a bank reach no register")
{
    set(0x0000, 0x0843);
    set(IOEXTEND_FRQ_BLOCK, 0x11);  // where bank 1's offset 0x2000 would land
    ioextend_SetRegisterWriteHook(recordWrite);
    gWrites.clear();
    ioextend_ioWriteRegister(0, 0, 0xDEAD);
    ioextend_ioWriteRegister(5, 0, 0xDEAD);
    ioextend_ioWriteRegister(1, 0x2000, 0xDEAD);
    ioextend_ioWriteRegister(4, 0xFFFF, 0xDEAD);
    ioextend_SetRegisterWriteHook(nullptr);
    CHECK(gWrites.empty());
    CHECK(reg(IOEXTEND_FRQ_BLOCK) == 0x11);
    CHECK(ioextend_ioReadRegister(0, 0) == 0);
    CHECK(ioextend_ioReadRegister(5, 0) == 0);
    CHECK(ioextend_ioReadRegister(1, 0x2000) == 0);
    CHECK(ioextend_ioReadRegister(4, 0) == 0x0843);
}

TEST_CASE_FIXTURE(Board, "the output reset zeroes exactly the listed words in order")
{
    for (uint32_t offset = 0; offset < 0x8000; offset += 4)
        set(offset, 0xFFFFFFFFu);
    std::vector<uint32_t> expected;
    for (uint32_t offset : {0x00, 0x04, 0x10, 0x14, 0x20, 0x24, 0x30, 0x34, 0x40, 0x44, 0x50, 0x54})
        expected.push_back(IOEXTEND_PWM_BLOCK + offset);
    for (uint32_t offset : {0x00, 0x04, 0x08})
        expected.push_back(IOEXTEND_FRQ_BLOCK + offset);
    for (uint32_t k = 0; k <= 17; ++k) {
        expected.push_back(IOEXTEND_FRQ_BLOCK + 0x10 + 16 * k);
        expected.push_back(IOEXTEND_FRQ_BLOCK + 0x14 + 16 * k);
    }
    for (uint32_t offset : {0x00, 0x04, 0x10, 0x14, 0x20, 0x24})
        expected.push_back(IOEXTEND_GENERAL_BLOCK + offset);
    REQUIRE(expected.size() == 12 + 39 + 6);

    ioextend_SetRegisterWriteHook(recordWrite);
    gWrites.clear();
    ioextend_ResetOutputs();
    ioextend_SetRegisterWriteHook(nullptr);
    std::vector<uint32_t> written;
    for (const auto& w : gWrites) {
        written.push_back(w.first);
        CHECK(w.second == 0);
    }
    CHECK(written == expected);
    for (uint32_t offset = 0; offset < 0x8000; offset += 4) {
        const bool listed = std::find(expected.begin(), expected.end(), offset) != expected.end();
        // The interrupt status clears only the bits written as 1, as the FPGA does.
        const bool cleared = listed && offset != IOEXTEND_FRQ_BLOCK + IOEXTEND_FRQ_IRQSTAT;
        CAPTURE(offset);
        CHECK(reg(offset) == (cleared ? 0u : 0xFFFFFFFFu));
    }
}

TEST_CASE_FIXTURE(Board, "version, build date and time of the bitstream")
{
    set(0x0000, 0xFFFF0843u);  // bits 31-16 ignored
    uint8_t major = 0, minor = 0, patch = 0;
    CHECK(ioextend_GetVersion(&major, &minor, &patch));
    CHECK(major == 1);
    CHECK(minor == 2);
    CHECK(patch == 3);
    major = minor = 0;
    CHECK_FALSE(ioextend_GetVersion(&major, &minor, nullptr));
    CHECK(major == 1);
    CHECK(minor == 2);

    // 12 Jul 2021 10:16, with the ignored bits 31 and 15-11 set.
    const uint32_t word = (12u << 26) | (7u << 22) | (21u << 16) | (10u << 6) | 16u | 0x80000000u | 0xF800u;
    set(0x0004, word);
    IoextendBuildDate date = {};
    IoextendBuildTime time = {1, 1, 1};
    CHECK(ioextend_GetBuildDateTime(&date, &time));
    CHECK(date.day == 12);
    CHECK(date.month == 7);
    CHECK(date.year == 2021);
    CHECK(time.hour == 10);
    CHECK(time.minute == 16);
    CHECK(time.second == 0);
    CHECK(ioextend_GetBuildDateTime(nullptr, &time));
    CHECK(ioextend_GetBuildDateTime(&date, nullptr));
    CHECK(std::string(ioextend_GetName()) == "unsupported");
}
