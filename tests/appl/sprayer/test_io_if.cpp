// The I/O interface on the stand-in board, on a hardware profile without
// switched-power and temperature supervision.
#include "io_if_console.h"

#include "clock.h"
#include "filelogger.h"
#include "standin_board.h"
#include "threadfunc.h"
#include "toolsmisc.h"

#include <algorithm>
#include <regex>

using namespace io_iftest;

TEST_CASE("start-up configures every step on the stand-in board")
{
    CHECK(console().initResult == 1);
    CHECK(board().mode(kMasterPin) == StandinFpga::PinMode::Output);
    CHECK(board().pwm(48).enabled);
    CHECK(board().pwm(48).frequencyHz == 500);
    CHECK(board().tristateEnabled(65));
    CHECK(board().output(56) == 1);
    CHECK(board().output(58) == 1);
    CHECK(board().mode(81) == StandinFpga::PinMode::Frequency);
    CHECK(board().mode(80) == StandinFpga::PinMode::Frequency);
}

TEST_CASE("section outputs follow commands and read back through the loops")
{
    resetOutputs();
    const uint16_t map[1] = {sectionsOn({1, 3, 13})};
    CHECK(io_ifSetSectionOutputs(3, map) == 1);
    for (uint32_t section = 1; section <= 13; ++section) {
        CAPTURE(section);
        CHECK(board().output(kOutputPins[section - 1]) == (map[0] >> section & 1));
    }
    CHECK(io_ifGetCommandedSectionMask() == 0x1005u);

    board().mirror();
    uint16_t feedback[1] = {0xFFFF};
    CHECK(io_ifReadSectionFeedback(0, feedback) == 1);
    // Bits above section 13 are left as they were.
    CHECK(feedback[0] == (map[0] | 0xC001));

    SUBCASE("modes other than 0 and 3 change nothing")
    {
        const uint16_t none[1] = {0};
        for (uint32_t mode : {1u, 2u, 4u}) {
            CHECK(io_ifSetSectionOutputs(mode, none) == 0);
            CHECK(board().output(kOutputPins[0]) == 1);
        }
        CHECK(io_ifSetSectionOutputs(0, nullptr) == 0);
        CHECK(io_ifReadSectionFeedback(1, feedback) == 0);
        CHECK(io_ifReadSectionFeedback(0, nullptr) == 0);
    }
    SUBCASE("fewer sections leave the pins above the count alone")
    {
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 2);
        const uint16_t none[1] = {0};
        CHECK(io_ifSetSectionOutputs(0, none) == 1);
        CHECK(board().output(kOutputPins[0]) == 0);
        CHECK(board().output(kOutputPins[2]) == 1);
    }
}

TEST_CASE("section numbers above 13 are ignored")
{
    resetOutputs(40);
    // Words beyond the first would belong to sections 16 and up.
    const uint16_t map[3] = {0xFFFF, 0xFFFF, 0xFFFF};
    CHECK(io_ifSetSectionOutputs(3, map) == 1);
    CHECK(io_ifGetCommandedSectionMask() == 0x1FFFu);
    board().mirror();
    uint16_t feedback[3] = {0, 0x1234, 0x5678};
    CHECK(io_ifReadSectionFeedback(0, feedback) == 1);
    CHECK(feedback[0] == 0x3FFE);
    CHECK(feedback[1] == 0x1234);
    CHECK(feedback[2] == 0x5678);
    board().breakLoop(kOutputPins[4], false);
    const std::string output = outputOf([] { io_ifCheckOutputs(); });
    CHECK(output == "errorCheck_io_if: low err 4\n");
}

TEST_CASE("valve outputs drive the fill and master pins")
{
    resetOutputs();
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_FILL, 1) == 1);
    CHECK(board().output(kFillPin) == 1);
    CHECK(board().output(kMasterPin) == 0);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1) == 1);
    CHECK(board().output(kMasterPin) == 1);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_FILL | IO_IF_VALVE_MASTER, 0) == 1);
    CHECK(board().output(kFillPin) == 0);
    CHECK(board().output(kMasterPin) == 0);
    CHECK(io_ifSetValveOutputs(0x0100, 1) == 0);
}

TEST_CASE("the output error check compares the feedback with the commands")
{
    struct Case {
        const char* name;
        uint32_t loopPin;  // output whose loop is broken
        bool stuckLevel;   // level its feedback then holds
        bool commandOn;
        bool alarmEnabled;
        bool autoFilling;
        const char* trace;
        uint32_t alarm;    // 0: none raised
    };
    const Case cases[] = {
        {"section stuck off, on", kOutputPins[2], false, true, true, true, "errorCheck_io_if: low err 2\n",
         SECTIONS_OUTPUT_ERROR},
        {"section stuck off, alarm off", kOutputPins[2], false, true, false, true, "errorCheck_io_if: low err 2\n",
         0},
        {"section stuck on, off", kOutputPins[0], true, false, false, true, "errorCheck_io_if: hi err 0\n",
         SECTIONS_OUTPUT_ERROR},
        {"section 13 stuck on", kOutputPins[12], true, false, true, false, "errorCheck_io_if: hi err 12\n",
         SECTIONS_OUTPUT_ERROR},
        {"master stuck off, on", kMasterPin, false, true, true, true, "", ALARM_MASTER_VALVE_OUTPUT_ERROR},
        {"master stuck off, alarm off", kMasterPin, false, true, false, true, "", 0},
        {"master stuck on, off", kMasterPin, true, false, false, true, "", ALARM_MASTER_VALVE_OUTPUT_ERROR},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        resetOutputs(c.loopPin == kOutputPins[12] ? 13 : 12);
        datastoreSetBool(DS_SECTION_ALARM_ENABLED, c.alarmEnabled);
        datastoreSetBool(DS_AUTO_FILLING_ENABLED, c.autoFilling);
        board().breakLoop(c.loopPin, c.stuckLevel);
        if (c.loopPin == kMasterPin) {
            io_ifSetValveOutputs(IO_IF_VALVE_MASTER, c.commandOn);
        } else {
            uint16_t map[1] = {0};
            for (uint32_t i = 0; i < 13; ++i)
                if (kOutputPins[i] == c.loopPin && c.commandOn)
                    map[0] = sectionsOn({i + 1});
            io_ifSetSectionOutputs(3, map);
        }
        const std::string trace = outputOf([] { io_ifCheckOutputs(); });
        CHECK(trace == c.trace);
        for (uint32_t alarm = SECTIONS_OUTPUT_ERROR; alarm <= ALARM_FILL_VALVE_OUTPUT_ERROR; ++alarm)
            CHECK(alarmIsActive(alarm) == (alarm == c.alarm ? 1u : 0u));
    }
}

TEST_CASE("the fill valve is checked only with automatic filling")
{
    struct Case {
        bool autoFilling;
        bool commandOn;
        bool stuckLevel;
        uint32_t flags;
        uint32_t alarm;
    };
    const Case cases[] = {
        {true, false, true, 1, 1},
        {true, true, false, 2, 1},
        {false, false, true, 0, 0},
        {false, true, false, 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.autoFilling);
        CAPTURE(c.commandOn);
        resetOutputs(12);
        datastoreSetBool(DS_AUTO_FILLING_ENABLED, c.autoFilling);
        board().breakLoop(kFillPin, c.stuckLevel);
        io_ifSetValveOutputs(IO_IF_VALVE_FILL, c.commandOn);
        io_ifCheckOutputs();
        CHECK(io_ifGetValveErrors(IO_IF_VALVE_FILL) == c.flags);
        CHECK(alarmIsActive(ALARM_FILL_VALVE_OUTPUT_ERROR) == c.alarm);
        CHECK(alarmIsActive(ALARM_MASTER_VALVE_OUTPUT_ERROR) == 0);
    }
}

TEST_CASE("a high error blocks switching on, never switching off")
{
    resetOutputs();
    board().breakLoop(kOutputPins[1], true);
    board().breakLoop(kMasterPin, true);
    io_ifCheckOutputs();
    CHECK(io_ifGetSectionError(2).highError == 1);
    CHECK(io_ifGetValveErrors(IO_IF_VALVE_MASTER) == 1);

    const uint16_t all[1] = {sectionsOn({1, 2, 3})};
    CHECK(io_ifSetSectionOutputs(3, all) == 1);
    CHECK(board().output(kOutputPins[0]) == 1);
    CHECK(board().output(kOutputPins[1]) == 0);
    CHECK(io_ifGetCommandedSectionMask() == 0x5u);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1) == 0);
    CHECK(board().output(kMasterPin) == 0);
    // Both valves at once: the refused master fails the request, the fill valve still switches.
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_FILL | IO_IF_VALVE_MASTER, 1) == 0);
    CHECK(board().output(kFillPin) == 1);
    CHECK(board().output(kMasterPin) == 0);

    const uint16_t none[1] = {0};
    CHECK(io_ifSetSectionOutputs(0, none) == 1);
    CHECK(board().output(kOutputPins[0]) == 0);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_MASTER | IO_IF_VALVE_FILL, 0) == 1);
    CHECK(board().output(kFillPin) == 0);
}

TEST_CASE("the error check runs 1000 ms after the last output change")
{
    resetOutputs();
    clockUseManual();
    board().breakLoop(kOutputPins[5], false);
    const uint16_t map[1] = {sectionsOn({6})};
    io_ifSetSectionOutputs(3, map);
    clockAdvanceMs(600);
    // A change restarts the time.
    io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1);
    clockAdvanceMs(999);
    threadfunc::sleep(100);
    CHECK(io_ifGetSectionError(6).lowError == 0);
    CHECK(alarmIsActive(SECTIONS_OUTPUT_ERROR) == 0);
    clockAdvanceMs(1);
    CHECK(waitFor([] { return alarmIsActive(SECTIONS_OUTPUT_ERROR) == 1; }, 3000));
    CHECK(io_ifGetSectionError(6).lowError == 1);
    CHECK(alarmIsActive(ALARM_MASTER_VALVE_OUTPUT_ERROR) == 0);
    clockUseReal();
}

TEST_CASE("a broken loop raises its alarm a second later in real time")
{
    resetOutputs();
    board().breakLoop(kMasterPin, true);
    io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 0);
    CHECK(waitFor([] { return alarmIsActive(ALARM_MASTER_VALVE_OUTPUT_ERROR) == 1; }, 5000));
    CHECK(io_ifGetValveErrors(IO_IF_VALVE_MASTER) == 1);
}

TEST_CASE("physical section switches by switch box")
{
    struct Case {
        uint8_t switches;
        uint16_t sections;
        std::vector<uint32_t> pinsOn;
        uint16_t expected;
    };
    // Switch k of a box sets bit k; boxes other than 5 and 7 use the 9-switch pins.
    const Case cases[] = {
        {5, 8, {31, 35}, sectionsOn({1, 5})},
        {5, 3, {31, 35}, sectionsOn({1})},
        {7, 7, {32, 38}, sectionsOn({1, 7})},
        {9, 9, {32, 40}, sectionsOn({1, 9})},
        {6, 8, {31, 34}, sectionsOn({2, 3})},
        {3, 13, {32, 34, 36}, sectionsOn({1, 3})},
        // A switch count beyond the table reads the nine pins it has.
        {255, 99, {40}, sectionsOn({9})},
    };
    for (const Case& c : cases) {
        CAPTURE(static_cast<int>(c.switches));
        CAPTURE(c.sections);
        resetOutputs();
        datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, c.switches);
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, c.sections);
        for (uint32_t pin = 31; pin <= 40; ++pin)
            board().setInput(pin, false);
        for (uint32_t pin : c.pinsOn)
            board().setInput(pin, true);
        uint16_t map[1] = {0x8001};
        CHECK(io_ifReadInputs(map) == 1);
        CHECK(map[0] == (c.expected | 0x8001));
        // Switches off clear their bits again.
        for (uint32_t pin : c.pinsOn)
            board().setInput(pin, false);
        io_ifReadInputs(map);
        CHECK(map[0] == 0x8001);
    }
    for (uint32_t pin = 31; pin <= 40; ++pin)
        board().setInput(pin, false);
    CHECK(io_ifReadInputs(nullptr) == 0);
}

TEST_CASE("a 9-switch box with ten or more sections follows the section-switch map")
{
    resetOutputs();
    struct Case {
        uint16_t sections;
        uint32_t item;
    };
    const Case cases[] = {{10, DS_SECTION_SWITCH_MAP_1},
                          {11, DS_SECTION_SWITCH_MAP_2},
                          {12, DS_SECTION_SWITCH_MAP_3},
                          {13, DS_SECTION_SWITCH_MAP_4},
                          {40, DS_SECTION_SWITCH_MAP_4}};
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        uint32_t map[13] = {};
        // Switch 2 (pin 31) controls sections 3 and the last one within 13.
        const uint32_t last = std::min<uint32_t>(c.sections, 13);
        map[2] = 2;
        map[last - 1] = 2;
        map[0] = 1;
        for (uint32_t item = DS_SECTION_SWITCH_MAP_1; item <= DS_SECTION_SWITCH_MAP_4; ++item) {
            uint32_t other[13] = {};
            REQUIRE(datastoreSetData(item, item == c.item ? map : other) == 0);
        }
        datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 9);
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, c.sections);
        board().setInput(31, true);
        uint16_t sections[1] = {0};
        CHECK(io_ifReadInputs(sections) == 1);
        CHECK(sections[0] == sectionsOn({3, last}));
        board().setInput(31, false);
    }
    CHECK(io_ifSectionSwitchMapSize(0) == 52u);
    CHECK(datastoreGetSize(DS_SECTION_SWITCH_MAP_1) == io_ifSectionSwitchMapSize(0));
}

TEST_CASE("digital inputs by logical id")
{
    resetOutputs();
    // Frequency input 2 (pin 79) is also the feedback of output 28: the
    // board's wiring loop would overwrite the level set here within a millisecond.
    struct LoopsHeld {
        LoopsHeld() { board().stopLoops(); }
        ~LoopsHeld() { board().startLoops(); }
    } loopsHeld;
    struct Case {
        uint16_t logicalId;
        uint32_t pin;
        uint32_t whenHigh;
        uint32_t whenLow;
    };
    const Case cases[] = {
        {IO_IF_INPUT_FREQUENCY_1, 81, 1, 0},   {IO_IF_INPUT_FREQUENCY_2, 79, 1, 0},
        {IO_IF_INPUT_FREQUENCY_5, 80, 1, 0},   {IO_IF_INPUT_MASTER_SWITCH, 37, 1, 0},
        {IO_IF_INPUT_REMOTE_MASTER, 42, 0, 1}, {3, 81, 0, 0},
        {0x2000, 37, 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.logicalId);
        board().setInput(c.pin, true);
        CHECK(io_ifGetDigitalInput(c.logicalId) == c.whenHigh);
        board().setInput(c.pin, false);
        CHECK(io_ifGetDigitalInput(c.logicalId) == c.whenLow);
    }
    CHECK(io_ifGetInput(0x2025) == 0);
    CHECK(io_ifSetOutput(0x2002, 1) == 0);
    CHECK(ConfigIO(0x0005, 1, 0, 0) == 1);
    CHECK(ConfigIO(0x3005, 1, 0, 0) == 0);
}

TEST_CASE("sensor inputs reach the datastore")
{
    resetOutputs();
    struct Case {
        unsigned raw;
        uint16_t scaled;
    };
    const Case cases[] = {{1023, 2004}, {0, 0}, {511, 1001}, {1, 2}};
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        REQUIRE(standinSetAdc(console().root, 4, c.raw));
        REQUIRE(standinSetAdc(console().root, 5, 1023 - c.raw));
        CHECK(waitFor(
            [&] {
                io_ifReadSensorInputs();
                return datastoreGetUint16(DS_LIVE_PRESSURE_RAW) == c.raw &&
                       datastoreGetUint16(DS_LIVE_TANK_SENSOR) == 1023 - c.raw;
            },
            3000));
        CHECK(datastoreGetUint16(DS_ANALOG_INPUT_A) == c.scaled);
    }
    CHECK(datastoreGetUint16(DS_ANALOG_INPUT_B) == 2004 - 2);

    board().setInput(81, true);
    board().setInput(79, false);
    board().setInput(80, true);
    io_ifReadSensorInputs();
    CHECK(datastoreGetUint16(DS_DIGITAL_INPUT_BITS) == 0x5);
    // Unchanged values are not written again: no change event follows.
    takeEvents();
    io_ifReadSensorInputs();
    CHECK(countEvent(takeEvents(), 285) == 0);
}

TEST_CASE("supply voltage: alarm 52 and millivolts")
{
    resetOutputs();
    checkSupplyCases({
        {4, 708, 1, 9983}, {4, 709, -1, 9997}, {4, 710, 0, 10010},
        {4, 709, -1, 9997}, {1, 708, 1, 9983}, {7, 710, 0, 10010},
    });
    io_ifSetHardwareId(4);
    io_ifSupplyVoltageCallback(0, 1023);
    CHECK(io_ifGetSupplyVoltage() == 14203);
}

TEST_CASE("unknown hardware ids keep the profile")
{
    resetOutputs();
    io_ifSetHardwareId(4);
    for (uint32_t id : {0u, 3u, 8u}) {
        CAPTURE(id);
        const std::string output = outputOf([id] { io_ifSetHardwareId(id); });
        CHECK(output == "io_ifSetHardwareId unknown hw id: " + std::to_string(id) + "\n\r");
        io_ifSupplyVoltageCallback(0, 708);
        CHECK(alarmIsActive(ALARM_SUPPLY_VOLTAGE_LOW) == 1);
        io_ifSupplyVoltageCallback(0, 710);
        CHECK(alarmIsActive(ALARM_SUPPLY_VOLTAGE_LOW) == 0);
    }
    io_ifSetHardwareId(4);
}

TEST_CASE("backlight duty by hardware and board temperature")
{
    resetOutputs();
    // Before any temperature reading (the class stays 11 until one arrives).
    REQUIRE(io_ifGetTemperatureClass() == 11);
    struct Case {
        uint32_t hardware;
        uint32_t brightness;
        uint32_t duty;
    };
    const Case cases[] = {{4, 800, 112}, {4, 250, 379}, {4, 1000, 15}, {2, 500, 258},
                          {5, 800, 430}, {5, 250, 650}, {7, 1000, 350}};
    for (const Case& c : cases) {
        CAPTURE(c.hardware);
        CAPTURE(c.brightness);
        io_ifSetHardwareId(c.hardware);
        io_ifSetBacklightDutyCycle(c.brightness);
        const StandinFpga::PwmState pwm = board().pwm(48);
        CHECK(pwm.dutyPerMille == c.duty);
        CHECK(pwm.inverted);
        // Newer hardware moves the backlight to 8000 Hz on its first call.
        CHECK(pwm.frequencyHz == (c.hardware <= 4 ? 500u : 8000u));
    }
    const std::string output = outputOf([] { CHECK(io_ifBacklightOff() == 1); });
    CHECK(output == "BACKLIGHT Off \n\r");
    CHECK(board().pwm(48).dutyPerMille == 1000);
}

TEST_CASE("a hotter board never gets a brighter backlight than its class allows")
{
    resetOutputs();
    {
        struct Hot {
            uint16_t raw;
            uint32_t temperatureClass;
            uint32_t dutyAt800;
        };
        const Hot hot[] = {{0, 0, 204}, {156, 0, 204}, {157, 1, 204}, {183, 1, 204}, {184, 2, 204},
                           {280, 4, 204}, {281, 5, 219}, {472, 9, 394}, {1023, 9, 394}};
        io_ifSetHardwareId(5);
        for (const Hot& h : hot) {
            CAPTURE(h.raw);
            io_ifTemperatureCallback(0, h.raw);
            CHECK(io_ifGetTemperatureClass() == h.temperatureClass);
            io_ifSetBacklightDutyCycle(800);
            CHECK(board().pwm(48).dutyPerMille == h.dutyAt800);
        }
        io_ifSetHardwareId(4);
    }
}

TEST_CASE("a new temperature class posts the hardware-version event")
{
    resetOutputs();
    io_ifTemperatureCallback(0, 100);
    takeEvents();
    struct Case {
        uint16_t raw;
        size_t posts;
    };
    const Case cases[] = {{150, 0}, {200, 1}, {213, 0}, {214, 1}, {100, 1}, {90, 0}};
    for (const Case& c : cases) {
        CAPTURE(c.raw);
        io_ifTemperatureCallback(0, c.raw);
        const auto events = waitForEvent(330, c.posts ? 3000 : 100);
        CHECK(countEvent(events, 330) == c.posts);
    }
}

TEST_CASE("frequency reports set the period handed to the pulse input")
{
    resetOutputs();
    const uint32_t wrap = StandinFpga::reportWord(0, 0, true);
    const uint32_t empty = StandinFpga::reportWord(0, 0, false);
    struct Step {
        uint32_t word;
        uint32_t periodMs;
    };
    const std::vector<Step> steps = {
        {StandinFpga::reportWord(3, 40000, false), 40},
        {wrap, 100},
        {wrap, 200},
        {wrap, 300},
        {StandinFpga::reportWord(5, 123456, false), 123 + 6291},
        {empty, 100},
        {empty, 200},
        {empty, 300},
        {StandinFpga::reportWord(1, 1500, false), 2},
        {StandinFpga::reportWord(1, 1499, false), 1},
    };
    for (uint32_t key : {1u, 5u}) {
        CAPTURE(key);
        // A report with pulses starts from a known state.
        io_ifFrequencyCallback(StandinFpga::reportWord(1, 1000, false), key);
        for (size_t i = 0; i < steps.size(); ++i) {
            CAPTURE(i);
            io_ifFrequencyCallback(steps[i].word, key);
            CHECK(io_ifGetFrequencyPeriodMs(key) == steps[i].periodMs);
        }
    }

    SUBCASE("wraps saturate at 255")
    {
        for (int i = 0; i < 300; ++i)
            io_ifFrequencyCallback(wrap, 5);
        io_ifFrequencyCallback(StandinFpga::reportWord(1, 0x1FFFFF, false), 5);
        CHECK(io_ifGetFrequencyPeriodMs(5) == 2097u + 255u * 2097152u / 1000u);
    }
    SUBCASE("an unknown key is printed and dropped")
    {
        const std::string output =
            outputOf([] { io_ifFrequencyCallback(StandinFpga::reportWord(4, 1000, false), 3); });
        CHECK(output == "io_if: error param32 not found: 3 \n\r");
        CHECK(io_ifGetFrequencyPeriodMs(3) == 0);
    }
}

TEST_CASE("io_ifGetFrequency hands back a float's bits")
{
    resetOutputs();
    io_ifFrequencyCallback(StandinFpga::reportWord(50, 100000, false), 1);
    io_ifFrequencyCallback(StandinFpga::reportWord(10, 100000, false), 5);
    CHECK(frequencyOf(1) == doctest::Approx(500.0f));
    CHECK(frequencyOf(4) == doctest::Approx(100.0f));
    CHECK(io_ifGetFrequency(3) == 0);
    io_ifFrequencyCallback(StandinFpga::reportWord(10, 0, false), 5);
    CHECK(frequencyOf(4) == 0.0f);
}

TEST_CASE("the input loop takes the board's frequency reports")
{
    resetOutputs();
    REQUIRE(board().report(81, StandinFpga::reportWord(25, 50000, false)));
    CHECK(waitFor([] { return !board().reportPending(81); }, 3000));
    CHECK(frequencyOf(1) == doctest::Approx(500.0f));
    CHECK(io_ifGetFrequencyPeriodMs(1) == 50);
}

TEST_CASE("key pins post their events on falling edges only")
{
    resetOutputs();
    const struct {
        uint32_t pin;
        uint32_t event;
    } keys[] = {{31, 318}, {32, 317}, {34, 320}, {33, 319}};
    for (const auto& key : keys) {
        CAPTURE(key.pin);
        board().setInput(key.pin, true);
        threadfunc::sleep(100);
        CHECK(takeEvents().empty());
        board().setInput(key.pin, false);
        const auto events = waitForEvent(key.event);
        CHECK(countEvent(events, key.event) == 1);
        threadfunc::sleep(100);
        CHECK(countEvent(takeEvents(), key.event) == 0);
    }
}

TEST_CASE("the power-button line posts pressed and released")
{
    resetOutputs();
    REQUIRE(standinSetPowerButton(console().root, true));
    auto events = waitForEvent(346);
    CHECK(countEvent(events, 346) == 1);
    CHECK(countEvent(events, 347) == 0);
    REQUIRE(standinSetPowerButton(console().root, false));
    events = waitForEvent(347);
    CHECK(countEvent(events, 347) == 1);
}

TEST_CASE("the H-bridge output drives PWM 44")
{
    resetOutputs();
    datastoreSetBool(DS_FLOW_PRINTOUT_ENABLED, 1);
    CHECK(io_ifHbridgeOutput(500, 300, 1) == 1);
    StandinFpga::PwmState pwm = board().pwm(44);
    CHECK(board().bridgeControl(44));
    CHECK(pwm.frequencyHz == 500);
    CHECK(pwm.dutyPerMille == 300);
    CHECK(pwm.inverted);
    CHECK(datastoreGetUint16(DS_LINK_VALVE_PWM) == 300);
    CHECK(datastoreGetBool(DS_LINK_VALVE_DIRECTION) == 1);

    datastoreSetBool(DS_FLOW_PRINTOUT_ENABLED, 0);
    CHECK(io_ifHbridgeOutput(1000, 968, 0) == 1);
    pwm = board().pwm(44);
    CHECK(pwm.frequencyHz == 1000);
    CHECK(pwm.dutyPerMille == 968);
    CHECK_FALSE(pwm.inverted);
    CHECK(datastoreGetUint16(DS_LINK_VALVE_PWM) == 300);
}

TEST_CASE("power-off goes through the command runner")
{
    console();
    io_ifPowerOff();
    CHECK(readTextFile(console().root + "/var/log/commands.log").find("shutdown -hP -t 0 0\n") !=
          std::string::npos);
}

TEST_CASE("centred section pins by section count")
{
    resetOutputs();
    struct Case {
        uint16_t sections;
        std::vector<uint16_t> pins;
    };
    const Case cases[] = {
        {9, {0x1008, 0x100A, 0x100C, 0x100E, 0x1010, 0x1012, 0x1014, 0x1018, 0x101A}},
        {1, {0x1010}},
        {2, {0x100E, 0x1012}},
        {12, {0x1004, 0x1006, 0x1008, 0x100A, 0x100C, 0x100E, 0x1012, 0x1014, 0x1018, 0x101A, 0x101C, 0x1016}},
        {13, {0x1004, 0x1006, 0x1008, 0x100A, 0x100C, 0x100E, 0x1010, 0x1012, 0x1014, 0x1018, 0x101A, 0x101C,
              0x1016}},
        {99, {0x1004, 0x1006, 0x1008, 0x100A, 0x100C, 0x100E, 0x1010, 0x1012, 0x1014, 0x1018, 0x101A, 0x101C,
              0x1016}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.sections);
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, c.sections);
        io_ifSetNumberOfSections();
        uint16_t pins[13];
        io_ifGetCentredSectionPins(pins);
        std::vector<uint16_t> expected = c.pins;
        expected.resize(13, 0);
        CHECK(std::vector<uint16_t>(pins, pins + 13) == expected);
    }
}

TEST_CASE("the H-bridge output traces its duty and the bridge faults")
{
    resetOutputs();
    const std::string dir = console().root + "/tmp/vrlog";
    REQUIRE(makeDirs(dir));
    REQUIRE(fileLoggerCreate(dir.c_str()) == 1);
    fileLoggerSetEnabled(1);
    struct Case {
        bool statusA;  // level of the bridge status inputs 49 and 50; 0 is a fault
        bool statusB;
        uint32_t duty;
        uint32_t direction;
    };
    const Case cases[] = {{true, true, 300, 1}, {false, true, 200, 0}, {true, false, 968, 1}, {false, false, 0, 0}};
    for (const Case& c : cases) {
        board().setInput(49, c.statusA);
        board().setInput(50, c.statusB);
        CHECK(io_ifHbridgeOutput(500, c.duty, c.direction) == 1);
    }
    const std::string expected = "pwm,T,300\n\r"
                                 "pwm_err,T,A  \n\r"
                                 "pwm,T,-200\n\r"
                                 "pwm_err,T,  B\n\r"
                                 "pwm,T,968\n\r"
                                 "pwm_err,T,A B\n\r"
                                 "pwm,T,0\n\r";
    std::string trace;
    waitFor(
        [&] {
            trace = std::regex_replace(readTextFile(dir + "/fileLog00001.log"), std::regex(",[0-9]+,"), ",T,");
            return trace.size() >= expected.size();
        },
        5000);
    CHECK(trace == expected);
    fileLoggerSetEnabled(0);
}

TEST_CASE("switch boxes of 5, 7 and 9 switches have no key inputs and their own master switch pin")
{
    resetOutputs();
    struct Case {
        uint8_t switches;
        uint32_t masterPin;
        bool keys;
    };
    const Case cases[] = {{9, 39, false}, {5, 37, false}, {7, 37, false}, {6, 37, true}};
    for (const Case& c : cases) {
        CAPTURE(static_cast<int>(c.switches));
        datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, c.switches);
        REQUIRE(Console::restart() == 1);
        for (uint32_t pin : {37u, 39u}) {
            board().setInput(pin, true);
            CHECK(io_ifGetDigitalInput(IO_IF_INPUT_MASTER_SWITCH) == (pin == c.masterPin ? 1u : 0u));
            board().setInput(pin, false);
        }
        board().setInput(31, true);
        threadfunc::sleep(100);
        takeEvents();
        board().setInput(31, false);
        const auto events = waitForEvent(318, c.keys ? 3000 : 200);
        CHECK(countEvent(events, 318) == (c.keys ? 1u : 0u));
    }
    datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 3);
    REQUIRE(Console::restart() == 1);
}

TEST_CASE("the input loop logs its late passes")
{
    resetOutputs();
    CDebug& logger = CDebug::getInstance();
    writeTextFile(logger.rulesFilePath(), "[rules]\ncInit.debug=true\ncIo.debug=true\ncDefault.info=true\n");
    logger.readFilterRules();
    StdoutCapture capture(console().root + "/tmp/io_if.late");
    clockUseManual();
    threadfunc::sleep(100);
    // One pass starts 31 ms after the one before it.
    clockAdvanceMs(31);
    const bool logged =
        waitFor([&] { return capture.peek().find("io_if update: mist 1 of ") != std::string::npos; }, 3000);
    clockUseReal();
    const std::string output = capture.text();
    CHECK(logged);
    CHECK(output.find("io_if update: mist 2") == std::string::npos);
    writeTextFile(logger.rulesFilePath(), "[rules]\ncInit.debug=true\ncIo.debug=true\n");
    logger.readFilterRules();
}
