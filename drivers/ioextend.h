#pragma once
// FPGA input/output extender: general-purpose pins, PWM outputs with H-bridge
// control, plain inputs and outputs and 18 frequency inputs, reached through
// the mapped user-space I/O device. Results: 1 success, 0 refused.
#include <cstdint>

// Called by ioextend_Update with the channel's frequency data word and the user
// value given at configuration.
typedef void (*IoFrequencyCallback)(uint32_t dataWord, uint32_t userValue);

// Size of the mapped device and the offsets of its register blocks.
enum : uint32_t {
    IOEXTEND_MAP_SIZE = 0x20000,
    IOEXTEND_GENERAL_BLOCK = 0x6000,
    IOEXTEND_PWM_BLOCK = 0x2000,
    IOEXTEND_FRQ_BLOCK = 0x4000,
};

// Register offsets inside the blocks.
enum : uint32_t {
    IOEXTEND_GP_DIR_LO = 0x00,
    IOEXTEND_GP_DIR_HI = 0x04,
    IOEXTEND_GP_IN_LO = 0x10,
    IOEXTEND_GP_IN_HI = 0x14,
    IOEXTEND_GP_OUT_LO = 0x20,
    IOEXTEND_GP_OUT_HI = 0x24,
    IOEXTEND_PWM_CONTROL = 0x00,
    IOEXTEND_PWM_INOUT = 0x04,
    IOEXTEND_PWM_PERIOD0 = 0x10,  // + 0x10 per channel
    IOEXTEND_PWM_DUTY0 = 0x14,    // + 0x10 per channel
    IOEXTEND_FRQ_GENCTRL = 0x00,
    IOEXTEND_FRQ_IRQSTAT = 0x04,
    IOEXTEND_FRQ_PINVAL = 0x08,
    IOEXTEND_FRQ_CTRL0 = 0x10,  // + 0x10 per channel
    IOEXTEND_FRQ_DATA0 = 0x14,  // + 0x10 per channel
};

int ioextend_Init();
int ioextend_ioConfig(uint32_t id, uint32_t kind, uint32_t slotTime, IoFrequencyCallback callback,
                      uint32_t userValue);
int ioextend_ioSetMode(uint32_t id, uint32_t mode);
int ioextend_ioEnablePWM(uint32_t id);
int ioextend_ioSetSlotTime(uint32_t id, uint32_t time);
int ioextend_ioRead(uint32_t id);
int ioextend_ioSet(uint32_t id, uint32_t value);
int ioextend_ioConfigPWM(uint32_t id, uint32_t frequency);
int ioextend_ioSetPWMdutyCycle(uint32_t id, uint32_t dutyPerMille, uint32_t inverted);
int ioextend_ioBridegeControl(uint32_t id, uint32_t on);
int ioextend_ioTristateControl(uint32_t id, uint32_t value);
int ioextend_ioEnableFrequencyInputIrq(uint32_t on);
int ioextend_ioGetIrqStatus(uint32_t id, uint32_t* pending, uint32_t* status);
int ioextend_ioClearIrqReq(uint32_t mask);
int ioextend_ioGetFrequencyData(uint32_t id, uint32_t clear, uint32_t* flagA, uint32_t* flagB,
                                uint32_t* count9, uint32_t* count21);
int ioextend_ioInterpretFrequencyData(uint32_t word, uint32_t* flagA, uint32_t* flagB,
                                      uint32_t* count9, uint32_t* count21);
void ioextend_Update();
void ioextend_DumpFrequencyRegisters();
int ioextend_GenericHBridgeSet(uint32_t idA, uint32_t idB, uint32_t idC, uint32_t idD,
                               uint32_t pwmId, uint32_t frequency);

// ---- Raw access by bank, the bitstream's identity and the output reset ----
// Banks 1..4 are the PWM and output block, the frequency block, the general I/O
// block and the fourth block (bitstream version at byte 0, build word at byte 4).
// Byte offsets select the word offset / 4; an offset at or beyond the bank's
// size reaches no register (a write does nothing, a read gives 0), nor does any
// other bank. Used before ioextend_Init, each ends the program like the others.
constexpr uint32_t IOEXTEND_BANK_SIZE = 0x2000;

struct IoextendBuildDate {
    uint8_t day;
    uint8_t month;
    uint16_t year;  // full year
};

struct IoextendBuildTime {
    uint8_t hour;
    uint8_t minute;
    uint8_t second;  // always 0
};

void ioextend_ioWriteRegister(uint32_t bank, uint16_t offset, uint32_t value);
uint32_t ioextend_ioReadRegister(uint32_t bank, uint16_t offset);
// Fills each given pointer from one read of the version word; false when any
// pointer is null.
bool ioextend_GetVersion(uint8_t* major, uint8_t* minor, uint8_t* patch);
// Fills the given records from one read of the build word. -> true.
bool ioextend_GetBuildDateTime(IoextendBuildDate* date, IoextendBuildTime* time);
// -> "unsupported".
const char* ioextend_GetName();
// Writes 0 to every output, PWM and frequency control word of banks 1 to 3.
void ioextend_ResetOutputs();

// Sees every register write (map offset, value) after it was made: for tracing
// and tests; null removes it.
typedef void (*IoRegisterWriteHook)(uint32_t mapOffset, uint32_t value);
void ioextend_SetRegisterWriteHook(IoRegisterWriteHook hook);

// The production-test program and the probe tool run without the update trace
// and the fatal line of ioextend_GenericHBridgeSet.
void ioextend_SetTraceEnabled(bool enabled);
