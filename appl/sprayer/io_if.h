#pragma once
// The process core's door to the console's hardware: boom sections, master and
// fill valves, the regulating valve, the backlight, section switches, key
// inputs, output feedback lines, frequency inputs, analogue sensors, supply
// voltage, board temperature and the power button.
//
// Pins are 16-bit I/O ids: bits 12-15 the device class (0x1000 the FPGA
// extender, pin number in bits 0-11; 0 a pin that is not present), any other
// class is refused. Results: 1 success, 0 failure unless stated otherwise.
//
// Section maps are arrays of 16-bit words with section n in bit n % 16 of word
// n / 16; only sections 1 to 13 have pins, so only word 0 is read or written.
#include <cstdint>

enum : uint16_t {
    IO_IF_CLASS_MASK = 0xF000,
    IO_IF_CLASS_FPGA = 0x1000,
    IO_IF_PIN_MASK = 0x0FFF,
};

// Sections with an output and a feedback pin.
enum : uint32_t { IO_IF_MAX_SECTIONS = 13 };

// Valve bits of io_ifSetValveOutputs.
enum : uint16_t {
    IO_IF_VALVE_FILL = 0x0001,
    IO_IF_VALVE_MASTER = 0x1000,
};

// Logical digital inputs of io_ifGetDigitalInput.
enum : uint16_t {
    IO_IF_INPUT_FREQUENCY_1 = 1,
    IO_IF_INPUT_FREQUENCY_2 = 2,
    IO_IF_INPUT_FREQUENCY_5 = 4,
    IO_IF_INPUT_MASTER_SWITCH = 0x4000,
    IO_IF_INPUT_REMOTE_MASTER = 0x8000,
};

// Start-up: FPGA, ADC, frequency inputs, pins by section count, the two
// threads, GPIO lines and buzzer. The AND of every configuration result.
// The threads and kernel objects are created by the first call only.
uint32_t io_ifInit();

// Configures one pin: kind 0 input, 1 output, 2 pin-specific, 3 frequency
// input (key and slot parameter go to the frequency callback's set-up).
uint32_t ConfigIO(uint16_t id, uint32_t kind, uint32_t key, uint32_t parameter);
uint32_t io_ifSetOutput(uint16_t id, uint16_t state);
uint32_t io_ifGetInput(uint16_t id);
uint32_t io_ifGetDigitalInput(uint16_t logicalId);

// Mode 0 or 3: each section 1..min(n, 13) follows its bit; a section blocked by
// a high error or lost switched power is not switched on. Other modes: 0.
uint32_t io_ifSetSectionOutputs(uint32_t mode, const uint16_t* sectionMap);
// Fill valve and/or master valve to state; switching on is refused (result 0)
// while the valve has a high error or switched power is lost.
uint32_t io_ifSetValveOutputs(uint16_t mask, uint16_t state);
// Physical section switches into bits 1..n of the map; 0 for a null map.
uint32_t io_ifReadInputs(uint16_t* sectionMap);
// Section feedback lines into bits 1..n; 0 for a mode other than 0 or 3 or a null map.
uint32_t io_ifReadSectionFeedback(uint32_t mode, uint16_t* sectionMap);
// Pressure and tank sensors and three digital levels into the datastore.
void io_ifReadSensorInputs();

// 1 flow meter, 2 and 4 the other frequency inputs, in Hz: the float's bits.
uint32_t io_ifGetFrequency(uint32_t which);
// Supply voltage in millivolts.
uint16_t io_ifGetSupplyVoltage();
// Brightness in per mille (250..1000).
void io_ifSetBacklightDutyCycle(uint32_t brightness);
uint32_t io_ifBacklightOff();
// Selects the hardware profile (thresholds, scale, switched-power and
// temperature supervision on hardware 9 and above).
void io_ifSetHardwareId(uint32_t id);
// Builds and logs the centred section pin layout.
void io_ifSetNumberOfSections();
// Shuts the system down.
void io_ifPowerOff();
void io_ifSetItemIfChanged(uint32_t item, uint16_t value);
// Size of the section-switch map items.
uint32_t io_ifSectionSwitchMapSize(uint32_t argument);

// Callbacks installed for the drivers.
uint32_t io_ifHbridgeOutput(uint32_t frequency, uint32_t duty, uint32_t direction);
void io_ifFrequencyCallback(uint32_t report, uint32_t key);
void io_ifSupplyVoltageCallback(uint32_t argument, uint16_t raw);
void io_ifCheckSwitchedPower(uint32_t argument, uint16_t raw);
void io_ifTemperatureCallback(uint32_t argument, uint16_t raw);
void io_ifPowerButtonCallback(uint8_t state);

// The two threads: the 20 ms input loop and the output error check, which
// runs io_ifCheckOutputs 1000 ms after the last change of a commanded output.
void update_io_if(uint32_t argument);
void errorCheck_io_if(uint32_t argument);
// One pass of the output error check: feedback against the commanded states,
// error flags, the trace lines and alarms 49 to 51.
void io_ifCheckOutputs();

// ---- Inspection of the module's state (diagnostics and tests) ----

struct IoIfSectionError {
    uint8_t highError;
    uint8_t lowError;
    uint32_t timeMs;
};

// Pins of the start-up layout log, 0 past the section count.
void io_ifGetCentredSectionPins(uint16_t pins[IO_IF_MAX_SECTIONS]);
// Error flags of section 1..13; zeros for other numbers.
IoIfSectionError io_ifGetSectionError(uint32_t section);
// Bit i set: section i + 1 is driven on.
uint32_t io_ifGetCommandedSectionMask();
// Bits 0 high, 1 low error of the valve (IO_IF_VALVE_FILL or IO_IF_VALVE_MASTER).
uint32_t io_ifGetValveErrors(uint16_t valve);
// Period last handed to the pulse input of key 1, 2 or 5; 0 for other keys.
uint32_t io_ifGetFrequencyPeriodMs(uint32_t key);
// 1 while switched power is lost.
uint32_t io_ifSwitchedPowerLost();
// Board temperature class 0..9, 11 before the first reading.
uint32_t io_ifGetTemperatureClass();
