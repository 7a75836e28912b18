// Start-up of the I/O interface by section count and switch box. Each start-up
// runs in a child process of its own on a fresh stand-in board; the board's
// register file keeps what the child configured for the checks.
#include "io_if.h"

#include "cdebug.h"
#include "datastore.h"
#include "ioextend.h"
#include "standin_fpgaio.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

namespace {

using Mode = StandinFpga::PinMode;

struct StartUp {
    int status;
    std::string output;
};

// io_ifInit in a child with the given items; its status is the init result.
StartUp startInChild(uint16_t sections, uint8_t switches)
{
    StartUp start;
    start.status = runInChild(
        [&] {
            CDebug& logger = CDebug::getInstance();
            writeTextFile(logger.rulesFilePath(), "[rules]\ncInit.debug=true\n");
            logger.readFilterRules();
            if (datastoreInit(2) != 0)
                return 90;
            datastoreSetUint16(DS_NUMBER_OF_SECTIONS, sections);
            datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, switches);
            const int result = static_cast<int>(io_ifInit());
            if (sections == 13) {
                // Section 13 drives the fill valve's pin.
                const uint16_t map[1] = {1u << 13};
                io_ifSetSectionOutputs(3, map);
            }
            logger.shutdown();
            return result;
        },
        &start.output);
    return start;
}

}  // namespace

TEST_CASE("pins are set up by section count")
{
    struct Case {
        uint16_t sections;
        uint8_t switches;
        uint32_t lastSectionOutput;   // highest section output configured (0: none above 8)
        Mode fillOutput;              // pin 0x1016
        Mode fillFeedback;            // pin 0x104C
        Mode frequency2;              // pin 0x104F
        int fillOutputLevel;
    };
    const Case cases[] = {
        {8, 3, 8, Mode::Output, Mode::Input, Mode::Frequency, 0},
        // A 9-switch box raises the set-up to 11 sections.
        {8, 9, 11, Mode::Output, Mode::Input, Mode::Frequency, 0},
        {11, 3, 11, Mode::Output, Mode::Input, Mode::Frequency, 0},
        {12, 3, 12, Mode::Output, Mode::Input, Mode::Input, 0},
        {13, 3, 13, Mode::Output, Mode::Input, Mode::Input, 1},
        {40, 5, 13, Mode::Output, Mode::Input, Mode::Input, 0},
    };
    const uint32_t outputs[13] = {4, 6, 8, 10, 12, 14, 16, 18, 20, 24, 26, 28, 22};
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        CAPTURE(static_cast<int>(c.switches));
        TestRoot root;
        const StartUp start = startInChild(c.sections, c.switches);
        CHECK(start.status == 1);
        StandinFpga board(root.dir());
        board.stopLoops();
        for (uint32_t section = 1; section <= 12; ++section) {
            CAPTURE(section);
            CHECK(board.mode(outputs[section - 1]) == (section <= c.lastSectionOutput ? Mode::Output : Mode::Input));
        }
        CHECK(board.mode(22) == c.fillOutput);
        CHECK(board.mode(76) == c.fillFeedback);
        CHECK(board.mode(79) == c.frequency2);
        CHECK(board.output(22) == c.fillOutputLevel);
        CHECK(board.mode(81) == Mode::Frequency);
        CHECK(board.mode(80) == Mode::Frequency);
        CHECK(board.mode(2) == Mode::Output);
        for (uint32_t pin : {55u, 57u})
            CHECK(board.mode(pin) == Mode::Pwm);
        for (uint32_t pin : {56u, 58u}) {
            CHECK(board.mode(pin) == Mode::Output);
            CHECK(board.output(pin) == 1);
        }
        CHECK(board.pwm(48).enabled);
        CHECK(board.pwm(48).frequencyHz == 500);
        CHECK(board.tristateEnabled(65));
    }
}

TEST_CASE("the centred pin layout is logged at start-up")
{
    struct Case {
        uint16_t sections;
        const char* line;
    };
    const Case cases[] = {
        {9, "1008 100A 100C 100E 1010 1012 1014 1018 101A 0000 0000 0000 0000"},
        {4, "100C 100E 1012 1014 0000 0000 0000 0000 0000 0000 0000 0000 0000"},
        {13, "1004 1006 1008 100A 100C 100E 1010 1012 1014 1018 101A 101C 1016"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        TestRoot root;
        const StartUp start = startInChild(c.sections, 3);
        CHECK(start.status == 1);
        CHECK(start.output.find(c.line) != std::string::npos);
        CHECK(start.output.find("retval = ") == std::string::npos);
    }
}

TEST_CASE("a refused pin configuration is logged")
{
    TestRoot root;
    std::string output;
    // Pin 0x41 is no frequency input.
    const int status = runInChild(
        [] {
            CDebug& logger = CDebug::getInstance();
            writeTextFile(logger.rulesFilePath(), "[rules]\ncDefault.warning=true\n");
            logger.readFilterRules();
            ioextend_Init();
            const int configured = static_cast<int>(ConfigIO(0x1041, 3, 9, 50));
            logger.shutdown();
            return configured;
        },
        &output);
    CHECK(status == 0);
    CHECK(output.find("ioDevDirect error 1041 41 3 9") != std::string::npos);
}
