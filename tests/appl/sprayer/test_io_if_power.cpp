// The I/O interface on hardware 9: switched-power supervision and the low
// supply threshold of that profile. The supervision's ADC channels are
// registered once at the start and then stopped, so that the cases hand their
// readings to the callbacks themselves.
#include "io_if_console.h"

#include "threadfunc.h"

#include <atomic>
#include <string>
#include <thread>

using namespace io_iftest;

namespace {

// What the first switch to hardware 9 printed.
std::string hardware9Output;

void startHardware9()
{
    static const bool started = [] {
        console();
        hardware9Output = outputOf([] { io_ifSetHardwareId(9); });
        // The first temperature reading re-registers its channel; wait for it
        // before the channels are stopped.
        REQUIRE(waitFor([] { return io_ifGetTemperatureClass() != 11; }, 3000));
        threadfunc::sleep(100);
        Console::quietAdc();
        return true;
    }();
    (void)started;
}

}  // namespace

TEST_CASE("hardware 9 starts the temperature channel once")
{
    startHardware9();
    CHECK(hardware9Output.find("firstTimeTemperature") != std::string::npos);
    CHECK(io_ifGetTemperatureClass() == 0);
    const std::string again = outputOf([] { io_ifSetHardwareId(9); });
    CHECK(again.find("firstTimeTemperature") == std::string::npos);
    Console::quietAdc();
}

TEST_CASE("supply voltage on hardware 9 and above")
{
    startHardware9();
    resetOutputs();
    checkSupplyCases({
        {12, 343, 1, 7973}, {12, 344, -1, 7994}, {12, 400, 0, 9215}, {12, 344, -1, 7994},
        {9, 343, 1, 7973},  {9, 345, 0, 8016},
    });
}

TEST_CASE("lost switched power switches everything off and blocks switching on")
{
    startHardware9();
    resetOutputs();
    io_ifSetHardwareId(9);
    io_ifSupplyVoltageCallback(0, 400);
    io_ifCheckSwitchedPower(0, 400);
    const uint16_t map[1] = {sectionsOn({1, 2, 13})};
    io_ifSetSectionOutputs(3, map);
    io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1);

    // Ten low readings, one reading exactly 45 below (changes nothing), one more low.
    for (int i = 0; i < 10; ++i)
        io_ifCheckSwitchedPower(0, 354);
    io_ifCheckSwitchedPower(0, 355);
    CHECK(alarmIsActive(ALARM_SWITCH_POWER_LOW) == 0);
    CHECK(board().output(kOutputPins[0]) == 1);
    io_ifCheckSwitchedPower(0, 354);
    CHECK(alarmIsActive(ALARM_SWITCH_POWER_LOW) == 1);
    CHECK(io_ifSwitchedPowerLost() == 1);
    for (uint32_t pin : {kOutputPins[0], kOutputPins[1], kOutputPins[12], kMasterPin})
        CHECK(board().output(pin) == 0);

    CHECK(io_ifSetSectionOutputs(3, map) == 1);
    CHECK(board().output(kOutputPins[0]) == 0);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1) == 0);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_FILL, 1) == 0);
    CHECK(io_ifSetValveOutputs(IO_IF_VALVE_FILL, 0) == 1);

    io_ifCheckSwitchedPower(0, 355);
    CHECK(io_ifSwitchedPowerLost() == 1);
    io_ifCheckSwitchedPower(0, 356);
    CHECK(alarmIsActive(ALARM_SWITCH_POWER_LOW) == 0);
    CHECK(io_ifSwitchedPowerLost() == 0);
    CHECK(io_ifSetSectionOutputs(3, map) == 1);
    CHECK(board().output(kOutputPins[0]) == 1);

    SUBCASE("only a reading at 44 below or closer restarts the count")
    {
        for (int i = 0; i < 10; ++i)
            io_ifCheckSwitchedPower(0, 300);
        io_ifCheckSwitchedPower(0, 356);
        for (int i = 0; i < 10; ++i)
            io_ifCheckSwitchedPower(0, 300);
        CHECK(alarmIsActive(ALARM_SWITCH_POWER_LOW) == 0);
        io_ifCheckSwitchedPower(0, 300);
        CHECK(alarmIsActive(ALARM_SWITCH_POWER_LOW) == 1);
        io_ifCheckSwitchedPower(0, 400);
    }
}

TEST_CASE("outputs switched off from the ADC thread while the GUI thread drives them")
{
    startHardware9();
    resetOutputs();
    io_ifSetHardwareId(9);
    io_ifSupplyVoltageCallback(0, 400);
    std::atomic<bool> done{false};
    int leftOn = 0;
    std::thread adc([&] {
        for (int round = 0; round < 5000; ++round) {
            for (int i = 0; i < 11; ++i)
                io_ifCheckSwitchedPower(0, 300);
            // Lost power: nothing may be left on once the switch-off returned.
            for (uint32_t pin : kOutputPins)
                leftOn += board().output(pin) != 0 ? 1 : 0;
            leftOn += board().output(kMasterPin) != 0 ? 1 : 0;
            io_ifCheckSwitchedPower(0, 400);
        }
        done = true;
    });
    const uint16_t all[1] = {0x3FFE};
    while (!done) {
        io_ifSetSectionOutputs(3, all);
        io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 1);
    }
    adc.join();
    CHECK(leftOn == 0);
}
