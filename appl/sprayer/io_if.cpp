#include "io_if.h"

#include "adc128s.h"
#include "alarm.h"
#include "alarmdefs.h"
#include "beep.h"
#include "cdebug.h"
#include "clock.h"
#include "datastore.h"
#include "debugcon.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filelogger.h"
#include "frequencycal.h"
#include "gpiodrv.h"
#include "hbridge.h"
#include "ioextend.h"
#include "kernel.h"
#include "pulsinput.h"
#include "threadfunc.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace {

// Owner handed with every event this module posts.
const int kEventOwner = 2;

const uint16_t kSectionOutputs[IO_IF_MAX_SECTIONS] = {0x1004, 0x1006, 0x1008, 0x100A, 0x100C, 0x100E, 0x1010,
                                                       0x1012, 0x1014, 0x1018, 0x101A, 0x101C, 0x1016};
const uint16_t kSectionFeedback[IO_IF_MAX_SECTIONS] = {0x1043, 0x1044, 0x1045, 0x1046, 0x1047, 0x1048, 0x1049,
                                                        0x104A, 0x104B, 0x104D, 0x104E, 0x104F, 0x104C};
const uint16_t kSwitches9[] = {0x1020, 0x101F, 0x1022, 0x1021, 0x1024, 0x1023, 0x1026, 0x1025, 0x1028};
const uint16_t kSwitches5[] = {0x101F, 0x1022, 0x1021, 0x1024, 0x1023};
const uint16_t kSwitches7[] = {0x1020, 0x101F, 0x1022, 0x1021, 0x1024, 0x1023, 0x1026};

const uint16_t kMasterOutput = 0x1002;
const uint16_t kFillOutput = 0x1016;
const uint16_t kMasterFeedback = 0x1042;
const uint16_t kFillFeedback = 0x104C;
const uint16_t kRemoteMaster = 0x102A;
const uint16_t kFrequency1 = 0x1051;
const uint16_t kFrequency2 = 0x104F;
const uint16_t kFrequency5 = 0x1050;
const uint16_t kKeyPins[4] = {0x101F, 0x1020, 0x1022, 0x1021};
const uint32_t kKeyEvents[4] = {EV_SECTION_MASK_EXTEND_LEFT, EV_SECTION_MASK_CLEAR_LEFT, EV_SECTION_MASK_EXTEND_RIGHT,
                                EV_SECTION_MASK_CLEAR_RIGHT};

const uint32_t kPwmValve = 44;
const uint32_t kPwmBacklight = 48;
const uint32_t kBacklightTristate = 65;
const uint32_t kBridgeStatusA = 49;
const uint32_t kBridgeStatusB = 50;

const uint32_t kSupplyChannel = 0;
const uint32_t kSwitchedPowerChannel = 2;
const uint32_t kTemperatureChannel = 3;
const uint32_t kPressureChannel = 4;
const uint32_t kTankChannel = 5;

const uint32_t kErrorCheckDelayMs = 1000;
const int kUpdatePeriodMs = 20;
const uint32_t kUpdateMissMs = 30;
const uint32_t kTimerWrapUs = 2097152;
const uint32_t kSwitchMapEntries = IO_IF_MAX_SECTIONS;

struct FrequencyInputState {
    uint32_t noPulseStep;
    uint32_t periodMs;
    uint8_t fresh;
    uint8_t wraps;
};

struct SectionErrorState {
    std::atomic<uint8_t> highError{0};
    std::atomic<uint8_t> lowError{0};
    std::atomic<uint32_t> timeMs{0};
};

struct IoIfState {
    std::atomic<uint16_t> supplyRaw{0};
    std::map<uint32_t, FrequencyInputState> frequencyInputs;
    FrequencyCal* flowFrequency = nullptr;
    std::atomic<float> frequency2Hz{0.0f};
    std::atomic<float> frequency5Hz{0.0f};
    uint8_t bridgeEnabled = 0;
    uint16_t pwmFrequency = 0;
    uint32_t temperatureThresholds[10] = {156, 183, 213, 245, 280, 317, 355, 394, 433, 472};
    KernelHandle errorMailbox = nullptr;
    KernelHandle outputMutex = nullptr;
    uint32_t commandedSectionMask = 0;
    SectionErrorState sectionErrors[IO_IF_MAX_SECTIONS];
    uint16_t masterCommand = 0;
    uint16_t fillCommand = 0;
    std::atomic<uint8_t> masterHighError{0};
    std::atomic<uint8_t> masterLowError{0};
    std::atomic<uint8_t> fillHighError{0};
    std::atomic<uint8_t> fillLowError{0};
    std::atomic<uint32_t> masterErrorTimeMs{0};
    std::atomic<uint32_t> fillErrorTimeMs{0};
    std::atomic<uint16_t> masterSwitchPin{0};
    std::atomic<uint8_t> switchedPowerLost{0};
    uint32_t switchedPowerLowCount = 0;
    KernelHandle errorCheckTimer = nullptr;
    std::atomic<uint8_t> keyInputsEnabled{0};
    uint16_t keyPins[4] = {0, 0, 0, 0};
    uint8_t keyLevels[4] = {0, 0, 0, 0};
    uint16_t centredSectionPins[IO_IF_MAX_SECTIONS] = {};
    uint32_t initTimeMs = 0;
};

struct HardwareProfile {
    std::atomic<uint16_t> lowSupplyThreshold{709};
    std::atomic<uint32_t> temperatureClass{11};
    uint32_t postedTemperatureClass = 11;
    uint8_t temperatureRearmPending = 1;
    std::atomic<float> supplyMillivoltsPerCount{13.394946f};
    std::atomic<uint32_t> ioHardwareId{4};
    uint8_t fuseMonitorPending = 1;
    uint8_t temperatureStartPending = 1;
    uint8_t backlightReconfigPending = 1;
};

IoIfState state;
HardwareProfile profile;
// The frequency-input table is rebuilt by a repeated start-up while the input
// loop reads it.
std::mutex frequencyLock;
bool threadsStarted = false;

bool isFpga(uint16_t id)
{
    return (id & IO_IF_CLASS_MASK) == IO_IF_CLASS_FPGA;
}

uint32_t pinOf(uint16_t id)
{
    return id & IO_IF_PIN_MASK;
}

uint32_t sectionCount(uint32_t n)
{
    return std::min(n, static_cast<uint32_t>(IO_IF_MAX_SECTIONS));
}

bool sectionBit(const uint16_t* map, uint32_t section)
{
    return (map[section / 16] >> (section % 16)) & 1u;
}

void setSectionBit(uint16_t* map, uint32_t section, bool on)
{
    const uint16_t bit = static_cast<uint16_t>(1u << (section % 16));
    if (on)
        map[section / 16] |= bit;
    else
        map[section / 16] &= static_cast<uint16_t>(~bit);
}

// Holds outputMutex for a scope: the pin writes and the commanded states
// change together, whichever thread switches.
struct OutputLock {
    OutputLock() { kernelSemaphoreWait(&state.outputMutex); }
    ~OutputLock() { kernelSemaphoreSignal(&state.outputMutex); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;
};

void restartErrorCheck()
{
    kernelAlarmStart(&state.errorCheckTimer, kErrorCheckDelayMs, 1);
}

void raiseUnlessActive(uint32_t alarm)
{
    if (!alarmIsActive(alarm))
        alarmRaise(alarm);
}

uint32_t frequencyBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A repeated start-up forgets the inputs it no longer configures.
void resetFrequencyInputs()
{
    std::lock_guard<std::mutex> guard(frequencyLock);
    state.frequencyInputs.clear();
}

void addFrequencyInput(uint32_t key)
{
    std::lock_guard<std::mutex> guard(frequencyLock);
    state.frequencyInputs[key] = FrequencyInputState{100, 0, 0, 0};
}

// Duty from a linear brightness term: computed in double, narrowed to float,
// rounded by adding 0.5 before truncation.
float roundedTerm(double value)
{
    return static_cast<float>(value) + 0.5f;
}

// One valve of the output error check. The low error counts only with the
// alarm enabled; true when a flag was set in this pass.
bool checkValve(bool commanded, bool feedback, bool lowEnabled, std::atomic<uint8_t>& highError,
                std::atomic<uint8_t>& lowError, std::atomic<uint32_t>& timeMs, uint32_t now)
{
    if (commanded == feedback) {
        if (commanded)
            highError = 0;
        else
            lowError = 0;
        return false;
    }
    timeMs = now;
    if (!commanded) {
        highError = 1;
        return true;
    }
    if (lowEnabled) {
        lowError = 1;
        return true;
    }
    return false;
}

}  // namespace

void io_ifCheckOutputs()
{
    const uint32_t n = sectionCount(datastoreGetUint16(DS_NUMBER_OF_SECTIONS));
    const bool enabled = datastoreGetBool(DS_SECTION_ALARM_ENABLED) != 0;
    const bool autoFilling = datastoreGetBool(DS_AUTO_FILLING_ENABLED) != 0;
    bool highFound = false;
    bool lowFound = false;
    bool masterFlagged = false;
    bool fillFlagged = false;
    {
        OutputLock lock;
        const uint32_t now = clockGetMs();
        for (uint32_t i = 1; i <= n; ++i) {
            SectionErrorState& error = state.sectionErrors[i - 1];
            const bool commanded = (state.commandedSectionMask >> (i - 1)) & 1u;
            const bool feedback = io_ifGetInput(kSectionFeedback[i - 1]) != 0;
            if (commanded == feedback) {
                if (commanded)
                    error.highError = 0;
                else
                    error.lowError = 0;
                continue;
            }
            error.timeMs = now;
            if (!commanded) {
                error.highError = 1;
                highFound = true;
                debugPrintf(0, "errorCheck_io_if: hi err %u\n", i - 1);
            } else {
                error.lowError = 1;
                lowFound = true;
                debugPrintf(0, "errorCheck_io_if: low err %u\n", i - 1);
            }
        }
        masterFlagged = checkValve(state.masterCommand != 0, io_ifGetInput(kMasterFeedback) != 0, enabled,
                                   state.masterHighError, state.masterLowError, state.masterErrorTimeMs, now);
        if (autoFilling) {
            fillFlagged = checkValve(state.fillCommand != 0, io_ifGetInput(kFillFeedback) != 0, enabled,
                                     state.fillHighError, state.fillLowError, state.fillErrorTimeMs, now);
        } else if (state.fillCommand != 0) {
            state.fillHighError = 0;
        } else {
            state.fillLowError = 0;
        }
    }
    if (highFound || (lowFound && enabled))
        raiseUnlessActive(SECTIONS_OUTPUT_ERROR);
    if (masterFlagged)
        raiseUnlessActive(ALARM_MASTER_VALVE_OUTPUT_ERROR);
    if (fillFlagged)
        raiseUnlessActive(ALARM_FILL_VALVE_OUTPUT_ERROR);
}

namespace {

void scanKeys()
{
    for (int key = 0; key < 4; ++key) {
        const uint8_t level = static_cast<uint8_t>(io_ifGetInput(state.keyPins[key]));
        if (state.keyLevels[key] != 0 && level == 0)
            eventPost(kEventOwner, kKeyEvents[key], 0);
        state.keyLevels[key] = level;
    }
}

void switchEverythingOff()
{
    const uint16_t none[1] = {0};
    io_ifSetSectionOutputs(0, none);
    io_ifSetValveOutputs(IO_IF_VALVE_FILL, 0);
    io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 0);
}

}  // namespace

uint32_t ConfigIO(uint16_t id, uint32_t kind, uint32_t key, uint32_t parameter)
{
    if ((id & IO_IF_CLASS_MASK) == 0)
        return 1;
    if (!isFpga(id))
        return 0;
    if (ioextend_ioConfig(pinOf(id), kind, parameter, io_ifFrequencyCallback, key))
        return 1;
    CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "ioDevDirect error %X %X %u %lu", static_cast<unsigned>(id),
               static_cast<unsigned>(pinOf(id)), static_cast<unsigned>(kind), static_cast<unsigned long>(key));
    return 0;
}

uint32_t io_ifSetOutput(uint16_t id, uint16_t level)
{
    if (!isFpga(id))
        return 0;
    return ioextend_ioSet(pinOf(id), level & 0xFF) ? 1 : 0;
}

uint32_t io_ifGetInput(uint16_t id)
{
    if (!isFpga(id))
        return 0;
    return static_cast<uint32_t>(ioextend_ioRead(pinOf(id)));
}

uint32_t io_ifGetDigitalInput(uint16_t logicalId)
{
    switch (logicalId) {
    case IO_IF_INPUT_FREQUENCY_1:
        return io_ifGetInput(kFrequency1);
    case IO_IF_INPUT_FREQUENCY_2:
        return io_ifGetInput(kFrequency2);
    case IO_IF_INPUT_FREQUENCY_5:
        return io_ifGetInput(kFrequency5);
    case IO_IF_INPUT_MASTER_SWITCH:
        return io_ifGetInput(state.masterSwitchPin.load());
    case IO_IF_INPUT_REMOTE_MASTER:
        return io_ifGetInput(kRemoteMaster) == 0 ? 1 : 0;
    default:
        return 0;
    }
}

uint32_t io_ifInit()
{
    uint32_t result = 1;

    ioextend_Init();
    hbridgeSetCallback(0, io_ifHbridgeOutput);
    state.initTimeMs = clockGetMs();

    uint32_t n = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    const uint32_t s = datastoreGetUint8(DS_PHYS_SECTION_SWITCHES);
    state.keyInputsEnabled = 0;
    if (s == 5 || s == 7) {
        state.masterSwitchPin = 0x1025;
    } else if (s == 9) {
        state.masterSwitchPin = 0x1027;
        n = std::max(n, 11u);
    } else {
        state.masterSwitchPin = 0x1025;
        std::copy(kKeyPins, kKeyPins + 4, state.keyPins);
        state.keyInputsEnabled = 1;
    }

    result &= SetMinMax(0, 1023) ? 1 : 0;
    result &= adc128sConfig(kPressureChannel, 50, nullptr, 0) ? 1 : 0;
    result &= adc128sConfig(kTankChannel, 50, nullptr, 0) ? 1 : 0;
    result &= adc128sConfig(kSupplyChannel, 1000, io_ifSupplyVoltageCallback, 0) ? 1 : 0;

    resetFrequencyInputs();
    result &= ConfigIO(kFrequency1, 3, 1, 50);
    addFrequencyInput(1);
    if (!state.flowFrequency)
        state.flowFrequency = new FrequencyCal(1000, 1000000.0f);
    if (n <= 11) {
        result &= ConfigIO(kFrequency2, 3, 2, 100);
        addFrequencyInput(2);
    }
    result &= ConfigIO(kFrequency5, 3, 5, 100);
    addFrequencyInput(5);

    for (uint16_t pin : {0x1027, 0x1020, 0x101F, 0x1022, 0x1021, 0x1024, 0x1023, 0x1026, 0x1025, 0x1028})
        result &= ConfigIO(pin, 0, 0, 0);
    result &= ConfigIO(0x1037, 2, 0, 0);
    result &= ConfigIO(0x1039, 2, 0, 0);
    for (uint16_t pin : {0x1038, 0x103A}) {
        result &= ConfigIO(pin, 1, 0, 0);
        result &= io_ifSetOutput(pin, 1);
    }
    result &= ConfigIO(kMasterOutput, 1, 0, 0);
    if (n <= 12)
        result &= ConfigIO(kFillOutput, 1, 0, 0);

    const uint32_t pins = sectionCount(n);
    for (uint32_t i = 0; i < pins; ++i)
        result &= ConfigIO(kSectionOutputs[i], 1, 0, 0);
    result &= ConfigIO(kMasterFeedback, 0, 0, 0);
    result &= ConfigIO(kRemoteMaster, 0, 0, 0);
    for (uint32_t i = 0; i < pins; ++i)
        result &= ConfigIO(kSectionFeedback[i], 0, 0, 0);
    if (n <= 12)
        result &= ConfigIO(kFillFeedback, 0, 0, 0);

    io_ifSetNumberOfSections();
    if (!threadsStarted)
        result &= kernelTaskCreate(12, update_io_if, 0, __FILE__, __LINE__) ? 1 : 0;
    result &= ioextend_ioEnableFrequencyInputIrq(1) ? 1 : 0;
    result &= ConfigIO(0x1030, 2, 0, 0);
    result &= ioextend_ioConfigPWM(kPwmBacklight, 500) ? 1 : 0;
    result &= ioextend_ioTristateControl(kBacklightTristate, 0) ? 1 : 0;

    gpioDrvInit(0xDCFF);
    gpioDrvBuzzerHigh(0);
    gpioDrvBuzzerLow(0);
    gpioDrvBridgeEnable(1);
    gpioDrvPowerRelay(1);
    gpioDrvSetPowerButtonCallback(io_ifPowerButtonCallback);
    beepInit();

    for (SectionErrorState& error : state.sectionErrors) {
        error.highError = 0;
        error.lowError = 0;
        error.timeMs = 0;
    }
    state.masterHighError = 0;
    state.masterLowError = 0;
    state.fillHighError = 0;
    state.fillLowError = 0;
    state.masterErrorTimeMs = 0;
    state.fillErrorTimeMs = 0;
    if (!threadsStarted) {
        result &= kernelSemaphoreCreate(&state.outputMutex, 1) ? 1 : 0;
        result &= kernelMailboxCreate(&state.errorMailbox, 20) ? 1 : 0;
        result &= kernelAlarmCreate(&state.errorCheckTimer, &state.errorMailbox) ? 1 : 0;
        result &= kernelTaskCreate(99, errorCheck_io_if, 0, __FILE__, __LINE__) ? 1 : 0;
        threadsStarted = true;
    }

    if (result == 0)
        CDEBUG_LOG(CDebugLevel::WAR, "cIo", "retval = %d", static_cast<int>(result));
    return result;
}

uint32_t io_ifSetSectionOutputs(uint32_t mode, const uint16_t* sectionMap)
{
    if ((mode != 0 && mode != 3) || !sectionMap)
        return 0;
    const uint32_t n = sectionCount(datastoreGetUint16(DS_NUMBER_OF_SECTIONS));
    uint32_t result = 1;
    OutputLock lock;
    const bool powerLost = state.switchedPowerLost != 0;
    uint32_t mask = 0;
    for (uint32_t i = 1; i <= n; ++i) {
        const uint16_t pin = kSectionOutputs[i - 1];
        if (!sectionBit(sectionMap, i)) {
            result &= io_ifSetOutput(pin, 0);
        } else if (!state.sectionErrors[i - 1].highError && !powerLost) {
            result &= io_ifSetOutput(pin, 1);
            mask |= 1u << (i - 1);
        }
    }
    if (mask != state.commandedSectionMask) {
        state.commandedSectionMask = mask;
        restartErrorCheck();
    }
    return result;
}

uint32_t io_ifSetValveOutputs(uint16_t mask, uint16_t level)
{
    struct Valve {
        uint16_t bit;
        uint16_t pin;
        std::atomic<uint8_t>* highError;
        uint16_t* command;
    };
    const Valve valves[] = {
        {IO_IF_VALVE_FILL, kFillOutput, &state.fillHighError, &state.fillCommand},
        {IO_IF_VALVE_MASTER, kMasterOutput, &state.masterHighError, &state.masterCommand},
    };
    // A refused switch-on fails the whole request, whichever valve it was.
    uint32_t result = (mask & (IO_IF_VALVE_FILL | IO_IF_VALVE_MASTER)) ? 1 : 0;
    OutputLock lock;
    for (const Valve& valve : valves) {
        if (!(mask & valve.bit))
            continue;
        if (level != 0 && (valve.highError->load() || state.switchedPowerLost)) {
            result = 0;
            continue;
        }
        result &= io_ifSetOutput(valve.pin, level);
        *valve.command = level;
        restartErrorCheck();
    }
    return result;
}

uint32_t io_ifReadInputs(uint16_t* sectionMap)
{
    if (!sectionMap)
        return 0;
    const uint32_t n = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    const uint32_t s = datastoreGetUint8(DS_PHYS_SECTION_SWITCHES);
    if (n == 0 || s == 0)
        return 1;
    if (s == 9 && n >= 10) {
        const uint32_t item = n == 10 ? DS_SECTION_SWITCH_MAP_1
                              : n == 11 ? DS_SECTION_SWITCH_MAP_2
                              : n == 12 ? DS_SECTION_SWITCH_MAP_3
                                        : DS_SECTION_SWITCH_MAP_4;
        uint32_t switchOf[kSwitchMapEntries] = {};
        datastoreGetData(item, switchOf);
        const uint32_t sections = sectionCount(n);
        for (uint32_t sw = 1; sw <= 9; ++sw) {
            const bool on = io_ifGetInput(kSwitches9[sw - 1]) != 0;
            for (uint32_t j = 1; j <= sections; ++j)
                if (switchOf[j - 1] == sw)
                    setSectionBit(sectionMap, j, on);
        }
        return 1;
    }
    const uint16_t* table = kSwitches9;
    uint32_t tableLength = sizeof kSwitches9 / sizeof kSwitches9[0];
    if (s == 5) {
        table = kSwitches5;
        tableLength = sizeof kSwitches5 / sizeof kSwitches5[0];
    } else if (s == 7) {
        table = kSwitches7;
        tableLength = sizeof kSwitches7 / sizeof kSwitches7[0];
    }
    const uint32_t switches = std::min({n, s, tableLength});
    for (uint32_t k = 1; k <= switches; ++k)
        setSectionBit(sectionMap, k, io_ifGetInput(table[k - 1]) != 0);
    return 1;
}

uint32_t io_ifReadSectionFeedback(uint32_t mode, uint16_t* sectionMap)
{
    if ((mode != 0 && mode != 3) || !sectionMap)
        return 0;
    const uint32_t n = sectionCount(datastoreGetUint16(DS_NUMBER_OF_SECTIONS));
    for (uint32_t i = 1; i <= n; ++i)
        setSectionBit(sectionMap, i, io_ifGetInput(kSectionFeedback[i - 1]) != 0);
    return 1;
}

void io_ifReadSensorInputs()
{
    const struct {
        int channel;
        uint32_t rawItem;
        uint32_t scaledItem;
    } sensors[] = {
        {kPressureChannel, DS_LIVE_PRESSURE_RAW, DS_ANALOG_INPUT_A},
        {kTankChannel, DS_LIVE_TANK_SENSOR, DS_ANALOG_INPUT_B},
    };
    for (const auto& sensor : sensors) {
        uint16_t raw = 0;
        if (!adc128sRead(sensor.channel, &raw))
            continue;
        io_ifSetItemIfChanged(sensor.rawItem, raw);
        io_ifSetItemIfChanged(sensor.scaledItem, static_cast<uint16_t>((2004u * raw + 511u) / 1023u));
    }
    uint16_t bits = 0;
    if (io_ifGetInput(kFrequency1) == 1)
        bits |= 1u << 0;
    if (io_ifGetInput(kFrequency2) == 1)
        bits |= 1u << 1;
    if (io_ifGetInput(kFrequency5) == 1)
        bits |= 1u << 2;
    io_ifSetItemIfChanged(DS_DIGITAL_INPUT_BITS, bits);
}

uint32_t io_ifGetFrequency(uint32_t which)
{
    switch (which) {
    case 1:
        return frequencyBits(state.flowFrequency ? state.flowFrequency->frequency() : 0.0f);
    case 2:
        return frequencyBits(state.frequency2Hz.load());
    case 4:
        return frequencyBits(state.frequency5Hz.load());
    default:
        return 0;
    }
}

uint16_t io_ifGetSupplyVoltage()
{
    const float millivolts = static_cast<float>(state.supplyRaw.load()) * profile.supplyMillivoltsPerCount.load();
    return static_cast<uint16_t>(static_cast<uint32_t>(millivolts) + 500);
}

void io_ifSetBacklightDutyCycle(uint32_t brightness)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cIo", "BACKLIGHT 1: Duty = %i", static_cast<int>(brightness));
    const double b = brightness;
    int duty;
    if (profile.ioHardwareId <= 4) {
        duty = static_cast<int>(roundedTerm(500.0 - 0.485 * b));
    } else {
        if (profile.backlightReconfigPending) {
            profile.backlightReconfigPending = 0;
            ioextend_ioConfigPWM(kPwmBacklight, 8000);
            ioextend_ioTristateControl(kBacklightTristate, 0);
        }
        const uint32_t temperatureClass = profile.temperatureClass;
        if (temperatureClass > 9) {
            duty = static_cast<int>(roundedTerm(750.0 - 0.4 * b));
        } else {
            // A hotter board never gets a brighter backlight than its class allows.
            const float linear = roundedTerm(977.0 - 0.9667 * b);
            const float floor = roundedTerm(43.75 * temperatureClass);
            duty = static_cast<int>(std::max(linear, floor));
        }
    }
    CDEBUG_LOG(CDebugLevel::DEB, "cIo", "BACKLIGHT 2: Duty = %i", duty);
    ioextend_ioSetPWMdutyCycle(kPwmBacklight, static_cast<uint32_t>(std::max(duty, 0)), 1);
}

uint32_t io_ifBacklightOff()
{
    printf("BACKLIGHT Off \n\r");
    fflush(stdout);
    return ioextend_ioSetPWMdutyCycle(kPwmBacklight, 1000, 1) ? 1 : 0;
}

void io_ifSetHardwareId(uint32_t id)
{
    profile.ioHardwareId = id;
    const uint32_t c = std::min(id, 9u);
    switch (c) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
        profile.lowSupplyThreshold = 709;
        profile.supplyMillivoltsPerCount = 13.394946f;
        break;
    case 9:
        profile.lowSupplyThreshold = 344;
        profile.supplyMillivoltsPerCount = 21.787769f;
        if (profile.fuseMonitorPending && adc128sConfig(kSwitchedPowerChannel, 1000, io_ifCheckSwitchedPower, 0))
            profile.fuseMonitorPending = 0;
        if (profile.temperatureStartPending) {
            printf("firstTimeTemperature\n\r");
            fflush(stdout);
            if (adc128sConfig(kTemperatureChannel, 1, io_ifTemperatureCallback, 0))
                profile.temperatureStartPending = 0;
        }
        break;
    default:
        debugPrintf(0, "io_ifSetHardwareId unknown hw id: %lu\n\r", static_cast<unsigned long>(c));
        break;
    }
}

void io_ifSetNumberOfSections()
{
    const uint32_t m = sectionCount(datastoreGetUint16(DS_NUMBER_OF_SECTIONS));
    const uint32_t start = 6 - m / 2;
    uint16_t* pins = state.centredSectionPins;
    for (uint32_t j = 0; j < IO_IF_MAX_SECTIONS; ++j) {
        if (j >= m) {
            pins[j] = 0;
            continue;
        }
        uint32_t index = start + j;
        // An even count leaves the centre output free.
        if (index >= 6 && m % 2 == 0)
            ++index;
        pins[j] = kSectionOutputs[index];
    }
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "%04X %04X %04X %04X %04X %04X %04X %04X %04X %04X %04X %04X %04X",
               pins[0], pins[1], pins[2], pins[3], pins[4], pins[5], pins[6], pins[7], pins[8], pins[9], pins[10],
               pins[11], pins[12]);
}

void io_ifPowerOff()
{
    gpioDrvPowerOff(0);
}

void io_ifSetItemIfChanged(uint32_t item, uint16_t value)
{
    if (datastoreGetUint16(item) != value)
        datastoreSetUint16(item, value);
}

uint32_t io_ifSectionSwitchMapSize(uint32_t)
{
    return kSwitchMapEntries * sizeof(uint32_t);
}

uint32_t io_ifHbridgeOutput(uint32_t frequency, uint32_t duty, uint32_t direction)
{
    if (!state.bridgeEnabled) {
        state.bridgeEnabled = 1;
        ioextend_ioBridegeControl(kPwmValve, 1);
    }
    if (frequency != state.pwmFrequency) {
        ioextend_ioConfigPWM(kPwmValve, frequency);
        state.pwmFrequency = static_cast<uint16_t>(frequency);
    }
    const bool failedA = ioextend_ioRead(kBridgeStatusA) == 0;
    const bool failedB = ioextend_ioRead(kBridgeStatusB) == 0;
    if (failedA || failedB)
        fileLoggerPrintf("pwm_err,%lu,%c %c\n\r", static_cast<unsigned long>(clockGetMs()), failedA ? 'A' : ' ',
                         failedB ? 'B' : ' ');
    ioextend_ioSetPWMdutyCycle(kPwmValve, duty, direction);
    if (datastoreGetBool(DS_FLOW_PRINTOUT_ENABLED)) {
        datastoreSetUint16(DS_LINK_VALVE_PWM, static_cast<uint16_t>(duty));
        datastoreSetBool(DS_LINK_VALVE_DIRECTION, direction != 0);
    }
    const int signedDuty = direction != 0 ? static_cast<int>(duty) : -static_cast<int>(duty);
    fileLoggerPrintf("pwm,%lu,%i\n\r", static_cast<unsigned long>(clockGetMs()), signedDuty);
    return 1;
}

void io_ifFrequencyCallback(uint32_t report, uint32_t key)
{
    const uint32_t count = report & 0x1FFu;
    const uint32_t timeUs = (report >> 9) & 0x1FFFFFu;
    const bool wrapped = (report >> 30) & 1u;

    if (key == 1) {
        if (state.flowFrequency)
            state.flowFrequency->addMeasurement(count, timeUs);
    } else if (key == 2 || key == 5) {
        const float hz = timeUs == 0 ? 0.0f : static_cast<float>(count) * 1000000.0f / static_cast<float>(timeUs);
        (key == 2 ? state.frequency2Hz : state.frequency5Hz) = hz;
    }

    uint32_t periodMs;
    {
        std::lock_guard<std::mutex> guard(frequencyLock);
        auto entry = state.frequencyInputs.find(key);
        if (entry == state.frequencyInputs.end()) {
            printf("io_if: error param32 not found: %u \n\r", static_cast<unsigned>(key));
            fflush(stdout);
            return;
        }
        FrequencyInputState& input = entry->second;
        if (wrapped && timeUs == 0 && input.wraps < 255)
            ++input.wraps;
        if (count > 0 && timeUs > 0) {
            input.periodMs = static_cast<uint32_t>(timeUs / 1000.0 + 0.5) + (input.wraps * kTimerWrapUs) / 1000u;
            input.fresh = 1;
            input.wraps = 0;
        } else if (input.fresh) {
            input.periodMs = input.noPulseStep;
            input.fresh = 0;
        } else {
            input.periodMs += input.noPulseStep;
        }
        periodMs = input.periodMs;
    }
    pulsSetExternalPulsCount(key, count, periodMs);
}

void io_ifSupplyVoltageCallback(uint32_t, uint16_t raw)
{
    const uint16_t threshold = profile.lowSupplyThreshold;
    if (raw < threshold)
        raiseUnlessActive(ALARM_SUPPLY_VOLTAGE_LOW);
    else if (raw > threshold && alarmIsActive(ALARM_SUPPLY_VOLTAGE_LOW))
        alarmClear(ALARM_SUPPLY_VOLTAGE_LOW);
    state.supplyRaw = raw;
}

void io_ifCheckSwitchedPower(uint32_t, uint16_t raw)
{
    const int32_t supply = state.supplyRaw.load();
    const int32_t reading = raw;
    if (reading < supply - 45) {
        if (alarmIsActive(ALARM_SWITCH_POWER_LOW))
            return;
        if (++state.switchedPowerLowCount == 11) {
            alarmRaise(ALARM_SWITCH_POWER_LOW);
            state.switchedPowerLost = 1;
            switchEverythingOff();
        }
    } else if (reading >= supply - 44) {
        if (alarmIsActive(ALARM_SWITCH_POWER_LOW))
            alarmClear(ALARM_SWITCH_POWER_LOW);
        // Recovery frees the outputs even when the alarm was disabled and never became active.
        state.switchedPowerLost = 0;
        state.switchedPowerLowCount = 0;
    }
}

void io_ifTemperatureCallback(uint32_t, uint16_t raw)
{
    uint32_t temperatureClass = 9;
    if (raw <= state.temperatureThresholds[0]) {
        temperatureClass = 0;
    } else {
        for (uint32_t i = 1; i <= 9; ++i) {
            if (state.temperatureThresholds[i] >= raw) {
                temperatureClass = i;
                break;
            }
        }
    }
    profile.temperatureClass = temperatureClass;
    if (temperatureClass != profile.postedTemperatureClass) {
        profile.postedTemperatureClass = temperatureClass;
        eventPost(kEventOwner, EV_HW_VERSION_KNOWN, 0);
    }
    if (profile.temperatureRearmPending && adc128sConfig(kTemperatureChannel, 10000, io_ifTemperatureCallback, 0))
        profile.temperatureRearmPending = 0;
}

void io_ifPowerButtonCallback(uint8_t level)
{
    eventPost(kEventOwner, level != 0 ? EV_POWER_BUTTON_PRESSED : EV_POWER_BUTTON_RELEASED, 0);
}

void update_io_if(uint32_t)
{
    threadfunc::setThreadName("io-update");
    uint16_t passes = 0;
    uint16_t misses = 0;
    bool first = true;
    uint32_t previousStart = 0;
    for (;;) {
        const uint32_t start = clockGetMs();
        ioextend_Update();
        if (state.keyInputsEnabled)
            scanKeys();

        if (!first && static_cast<int32_t>(start - previousStart) > static_cast<int32_t>(kUpdateMissMs))
            ++misses;
        first = false;
        previousStart = start;
        if (misses == 0 || passes <= 49) {
            ++passes;
        } else {
            CDEBUG_LOG(CDebugLevel::INF, "cDefault", "io_if update: mist %u of %u", static_cast<unsigned>(misses),
                       static_cast<unsigned>(passes));
            passes = 0;
            misses = 0;
        }
        threadfunc::sleep(kUpdatePeriodMs);
    }
}

void errorCheck_io_if(uint32_t)
{
    threadfunc::setThreadName("io-watchdog");
    for (;;) {
        kernelMailboxWait(&state.errorMailbox);
        io_ifCheckOutputs();
    }
}

void io_ifGetCentredSectionPins(uint16_t pins[IO_IF_MAX_SECTIONS])
{
    std::copy(state.centredSectionPins, state.centredSectionPins + IO_IF_MAX_SECTIONS, pins);
}

IoIfSectionError io_ifGetSectionError(uint32_t section)
{
    if (section < 1 || section > IO_IF_MAX_SECTIONS)
        return IoIfSectionError{0, 0, 0};
    const SectionErrorState& error = state.sectionErrors[section - 1];
    return IoIfSectionError{error.highError.load(), error.lowError.load(), error.timeMs.load()};
}

uint32_t io_ifGetCommandedSectionMask()
{
    OutputLock lock;
    return state.commandedSectionMask;
}

uint32_t io_ifGetValveErrors(uint16_t valve)
{
    if (valve == IO_IF_VALVE_FILL)
        return (state.fillHighError ? 1u : 0u) | (state.fillLowError ? 2u : 0u);
    if (valve == IO_IF_VALVE_MASTER)
        return (state.masterHighError ? 1u : 0u) | (state.masterLowError ? 2u : 0u);
    return 0;
}

uint32_t io_ifGetFrequencyPeriodMs(uint32_t key)
{
    std::lock_guard<std::mutex> guard(frequencyLock);
    auto entry = state.frequencyInputs.find(key);
    return entry == state.frequencyInputs.end() ? 0 : entry->second.periodMs;
}

uint32_t io_ifSwitchedPowerLost()
{
    return state.switchedPowerLost;
}

uint32_t io_ifGetTemperatureClass()
{
    return profile.temperatureClass;
}
