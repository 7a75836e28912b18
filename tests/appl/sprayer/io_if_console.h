#pragma once
// The I/O interface's tests against the stand-in board: the real FPGA, ADC and
// GPIO drivers on the program's stand-in root, with the boom's feedback loops
// played by the board. One start-up serves every case of a program (its
// threads run for the whole program); cases that need another set-up change
// the datastore items that the functions read on every call.
#include "io_if.h"

#include "adc128s.h"
#include "alarm.h"
#include "alarmdefs.h"
#include "cdebug.h"
#include "comport.h"
#include "conout.h"
#include "datastore.h"
#include "debugcon.h"
#include "eventqueue.h"
#include "standin_fpgaio.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"
#include "threadfunc.h"

#include <QCoreApplication>
#include <doctest/doctest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace io_iftest {

// Extender pins of the sections' outputs and feedback inputs, section 1 first.
inline const uint32_t kOutputPins[13] = {4, 6, 8, 10, 12, 14, 16, 18, 20, 24, 26, 28, 22};
inline const uint32_t kFeedbackPins[13] = {67, 68, 69, 70, 71, 72, 73, 74, 75, 77, 78, 79, 76};
inline const uint32_t kMasterPin = 2;
inline const uint32_t kFillPin = 22;

inline std::vector<std::pair<uint32_t, uint32_t>>& delivered()
{
    static std::vector<std::pair<uint32_t, uint32_t>> events;
    return events;
}

inline void recordEvent(uint32_t id, uint32_t value)
{
    delivered().emplace_back(id, value);
}

struct Console {
    Console() : root(sysrootDir())
    {
        static int argc = 1;
        static char name[] = "io_iftest";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        CDebug& logger = CDebug::getInstance();
        writeTextFile(logger.rulesFilePath(), "[rules]\ncInit.debug=true\ncIo.debug=true\n");
        logger.readFilterRules();
        REQUIRE(datastoreInit(2) == 0);
        eventSetCallback(recordEvent);
        comportInit();
        comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0);
        comportOpen(0, 7, 3, 2, 0);
        comselectInit(0);
        processInitAlarms();
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 13);
        datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 3);
        initResult = io_ifInit();
        board.reset(new StandinFpga(root));
        quietAdc();
    }

    // The supply and sensor cases hand their readings to the callbacks
    // themselves: the ADC reader must not interleave the file's readings.
    static void quietAdc()
    {
        for (int channel : {0, 2, 3})
            adc128sConfig(channel, 0, nullptr, 0);
    }

    // A start-up again (it clears the error flags). The ADC reader opens the
    // sensor channels again within their 50 ms period: waited for, so that no
    // channel is opened after the program's root is gone.
    static uint32_t restart()
    {
        const uint32_t result = io_ifInit();
        quietAdc();
        threadfunc::sleep(150);
        return result;
    }

    std::string root;
    QCoreApplication* app;
    std::unique_ptr<StandinFpga> board;
    uint32_t initResult = 0;
};

inline Console& console()
{
    static Console* instance = new Console();
    return *instance;
}

inline StandinFpga& board()
{
    return *console().board;
}

inline std::vector<std::pair<uint32_t, uint32_t>> takeEvents()
{
    QCoreApplication::processEvents();
    std::vector<std::pair<uint32_t, uint32_t>> taken;
    taken.swap(delivered());
    return taken;
}

inline size_t countEvent(const std::vector<std::pair<uint32_t, uint32_t>>& events, uint32_t id)
{
    size_t n = 0;
    for (const auto& event : events)
        n += event.first == id ? 1 : 0;
    return n;
}

// Waits until the event has been delivered; the events seen are returned.
inline std::vector<std::pair<uint32_t, uint32_t>> waitForEvent(uint32_t id, int timeoutMs = 3000)
{
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    waitFor(
        [&] {
            for (const auto& event : takeEvents())
                seen.push_back(event);
            return countEvent(seen, id) > 0;
        },
        timeoutMs);
    return seen;
}

// The text without the logger's lines. The logger's writer thread prints
// them whenever it gets to them, so during a capture lines of earlier calls
// and of other threads may land between the action's own. Each is written in
// one piece, as is each printf of the trace, so none splits another.
inline std::string withoutLoggerLines(const std::string& text)
{
    // "[<time> <level>][<line>][<category>] <file> - <function>() - <text>"
    static const std::regex line(R"(\[[^\]\n]*\]\[ *[0-9]+\]\[[^\]\n]*\] [^\n]* - [^\n]*\(\) - [^\n]*\n)");
    return std::regex_replace(text, line, "");
}

// Standard output of an action (the console's trace and the debug port),
// without the logger's lines.
template <typename Action>
inline std::string outputOf(Action action)
{
    StdoutCapture capture(console().root + "/tmp/io_if.output");
    action();
    std::fflush(stdout);
    return withoutLoggerLines(capture.text());
}

// A fresh output state: every loop connected, all outputs off, error flags
// and the output alarms cleared, the default set-up items.
inline void resetOutputs(uint32_t sections = 13)
{
    console();
    for (uint32_t pin : kOutputPins)
        board().restoreLoop(pin);
    board().restoreLoop(kMasterPin);
    datastoreSetUint16(DS_NUMBER_OF_SECTIONS, static_cast<uint16_t>(sections));
    datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 3);
    datastoreSetBool(DS_SECTION_ALARM_ENABLED, 1);
    datastoreSetBool(DS_AUTO_FILLING_ENABLED, 1);
    const uint16_t none[1] = {0};
    io_ifSetSectionOutputs(0, none);
    io_ifSetValveOutputs(IO_IF_VALVE_FILL | IO_IF_VALVE_MASTER, 0);
    board().mirror();
    for (uint32_t alarm = SECTIONS_OUTPUT_ERROR; alarm <= ALARM_SWITCH_POWER_LOW; ++alarm)
        alarmClear(alarm);
    // A pass with every loop closed clears the low flags; the high flags
    // latch until the next start-up, which clears them.
    io_ifCheckOutputs();
    bool latched = io_ifGetValveErrors(IO_IF_VALVE_FILL) || io_ifGetValveErrors(IO_IF_VALVE_MASTER);
    for (uint32_t section = 1; section <= 13; ++section)
        latched = latched || io_ifGetSectionError(section).highError;
    if (latched)
        Console::restart();
    takeEvents();
}

inline uint16_t sectionsOn(std::initializer_list<uint32_t> sections)
{
    uint16_t map = 0;
    for (uint32_t section : sections)
        map |= static_cast<uint16_t>(1u << section);
    return map;
}

// A supply reading on a hardware profile, the low-supply alarm after it and
// the millivolts then reported.
struct SupplyCase {
    uint32_t hardware;
    uint16_t raw;
    int alarmAfter;  // 1 raised, 0 cleared, -1 as before
    uint16_t millivolts;
};

inline void checkSupplyCases(std::initializer_list<SupplyCase> cases)
{
    uint32_t before = alarmIsActive(ALARM_SUPPLY_VOLTAGE_LOW);
    for (const SupplyCase& c : cases) {
        CAPTURE(c.hardware);
        CAPTURE(c.raw);
        io_ifSetHardwareId(c.hardware);
        // A new profile may register supervision channels: their readings are the cases' own.
        Console::quietAdc();
        io_ifSupplyVoltageCallback(0, c.raw);
        const uint32_t expected = c.alarmAfter < 0 ? before : static_cast<uint32_t>(c.alarmAfter);
        CHECK(alarmIsActive(ALARM_SUPPLY_VOLTAGE_LOW) == expected);
        CHECK(io_ifGetSupplyVoltage() == c.millivolts);
        before = expected;
    }
}

inline float frequencyOf(uint32_t which)
{
    const uint32_t bits = io_ifGetFrequency(which);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace io_iftest
