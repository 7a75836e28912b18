#include "ioextend.h"

#include "cdebug.h"
#include "sysroot.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const kDevicePath = "/dev/uio0";
const uint32_t kIdCount = 84;
const uint32_t kFrqChannels = 18;
const uint32_t kFirstFrqId = 66;
const uint32_t kPwmBaseHz = 15000000;

struct IoRecord {
    uint32_t mode;
    IoFrequencyCallback callback;
    uint32_t userValue;
};

IoRecord ioTable[kIdCount];
uint32_t pwmShadow[5];
volatile uint32_t* mapBase = nullptr;
bool mapped = false;
// The device file the map shows: a start that finds the same one keeps it.
dev_t mappedDevice = 0;
ino_t mappedInode = 0;
bool traceEnabled = true;

// Read-modify-write sequences of the core's I/O thread and the H-bridge task
// share the control, direction and output registers.
std::mutex registerLock;

uint32_t regRead(uint32_t offset)
{
    return mapBase[offset / 4];
}

void deviceWrite(uint32_t offset, uint32_t value)
{
    mapBase[offset / 4] = value;
}

// A plain file in place of the device: the interrupt-status register keeps the
// FPGA's write-one-to-clear behaviour so the driver's own sequences stay exact.
void standinWrite(uint32_t offset, uint32_t value)
{
    if (offset == IOEXTEND_FRQ_BLOCK + IOEXTEND_FRQ_IRQSTAT)
        mapBase[offset / 4] = mapBase[offset / 4] & ~value;
    else
        mapBase[offset / 4] = value;
}

void (*deviceOrStandinWrite)(uint32_t, uint32_t) = deviceWrite;
IoRegisterWriteHook writeHook = nullptr;

void regWrite(uint32_t offset, uint32_t value)
{
    deviceOrStandinWrite(offset, value);
    if (writeHook)
        writeHook(offset, value);
}

void regModify(uint32_t offset, uint32_t bits, bool set)
{
    std::lock_guard<std::mutex> guard(registerLock);
    uint32_t value = regRead(offset);
    regWrite(offset, set ? (value | bits) : (value & ~bits));
}

void validate(const char* text)
{
    if (!mapped) {
        perror(text);
        exit(1);
    }
}

uint32_t frqReg(uint32_t offset)
{
    return IOEXTEND_FRQ_BLOCK + offset;
}

// The interrupt-status register clears the bits written as 1. Writing back what
// was read would clear every other channel's pending request (and, read with a
// bit cleared, leave the wanted one pending): write only the bits to clear.
void clearIrqBits(uint32_t bits)
{
    std::lock_guard<std::mutex> guard(registerLock);
    regWrite(frqReg(IOEXTEND_FRQ_IRQSTAT), bits);
}

uint32_t pwmReg(uint32_t offset)
{
    return IOEXTEND_PWM_BLOCK + offset;
}

uint32_t gpReg(uint32_t id, uint32_t loOffset, uint32_t hiOffset, uint32_t* bit)
{
    if (id <= 30) {
        *bit = 1u << (id - 1);
        return IOEXTEND_GENERAL_BLOCK + loOffset;
    }
    *bit = 1u << (id - 31);
    return IOEXTEND_GENERAL_BLOCK + hiOffset;
}

bool isGeneralPin(uint32_t id) { return id >= 1 && id <= 43; }
bool isPwmChannel(uint32_t id) { return id >= 44 && id <= 48; }
bool isPlainOutput(uint32_t id) { return id >= 55 && id <= 64; }
bool isPlainInput(uint32_t id) { return id >= 49 && id <= 54; }
bool isFrequencyInput(uint32_t id) { return id >= kFirstFrqId && id < kFirstFrqId + kFrqChannels; }

void splitWord(uint32_t word, uint32_t* flagA, uint32_t* flagB, uint32_t* count9, uint32_t* count21)
{
    *flagA = (word >> 31) & 1u;
    *flagB = (word >> 30) & 1u;
    *count9 = word & 0x1FFu;
    *count21 = (word >> 9) & 0x1FFFFFu;
}

// Bank numbers of the raw access, in map offsets.
const uint32_t kBankBase[] = {IOEXTEND_PWM_BLOCK, IOEXTEND_FRQ_BLOCK, IOEXTEND_GENERAL_BLOCK, 0x0000};

bool bankOffset(uint32_t bank, uint16_t offset, uint32_t* mapOffset)
{
    if (bank < 1 || bank > 4 || offset >= IOEXTEND_BANK_SIZE)
        return false;
    *mapOffset = kBankBase[bank - 1] + (offset & ~3u);
    return true;
}

const uint32_t kVersionWord = 0x0000;
const uint32_t kBuildWord = 0x0004;

}  // namespace

void ioextend_SetTraceEnabled(bool enabled)
{
    traceEnabled = enabled;
}

int ioextend_Init()
{
    const std::string path = sysrootPath(kDevicePath);
    int fd = open(path.c_str(), O_RDWR);
    if (fd < 0) {
        perror("/dev/uio0: open");
        exit(1);
    }
    // A register file shorter than the map would end the process with a bus
    // error at the first access past its end: refuse it as a failed mapping.
    struct stat info;
    const bool known = fstat(fd, &info) == 0;
    const bool standin = known && S_ISREG(info.st_mode);
    if (standin && info.st_size != static_cast<off_t>(IOEXTEND_MAP_SIZE)) {
        errno = EINVAL;
        perror("/dev/uio0: map");
        exit(1);
    }
    // Mapped once: every start of the process core calls this again. Another
    // device file (a new stand-in board) takes the old map's place in one
    // step, so a thread reading registers never meets an unmapped address.
    if (mapped && known && info.st_dev == mappedDevice && info.st_ino == mappedInode) {
        close(fd);
        return 1;
    }
    void* const at = mapped ? const_cast<uint32_t*>(mapBase) : nullptr;
    void* base = mmap(at, IOEXTEND_MAP_SIZE, PROT_READ | PROT_WRITE, MAP_SHARED | (mapped ? MAP_FIXED : 0), fd, 0);
    if (base == MAP_FAILED) {
        perror("/dev/uio0: map");
        exit(1);
    }
    deviceOrStandinWrite = standin ? standinWrite : deviceWrite;
    close(fd);
    mappedDevice = known ? info.st_dev : 0;
    mappedInode = known ? info.st_ino : 0;
    mapBase = static_cast<volatile uint32_t*>(base);
    mapped = true;
    return 1;
}

// These two do not end the program when used before ioextend_Init, but they
// must not touch the registers that are not mapped yet.
int ioextend_ioSetMode(uint32_t id, uint32_t mode)
{
    if (!mapped)
        return 0;
    if (isGeneralPin(id)) {
        if (mode > 1)
            return 0;
        uint32_t bit;
        uint32_t reg = gpReg(id, IOEXTEND_GP_DIR_LO, IOEXTEND_GP_DIR_HI, &bit);
        regModify(reg, bit, mode == 1);
    } else if (isFrequencyInput(id) || isPlainInput(id)) {
        if (mode != 0)
            return 0;
    } else if (isPlainOutput(id)) {
        if (mode != 1 && mode != 2)
            return 0;
        regModify(pwmReg(IOEXTEND_PWM_CONTROL), 1u << (16 + id - 55), mode == 2);
    } else if (id != 48) {
        return 0;
    }
    ioTable[id].mode = mode;
    return 1;
}

int ioextend_ioEnablePWM(uint32_t id)
{
    if (!mapped)
        return 0;
    uint32_t bit;
    if (isPwmChannel(id))
        bit = 1u << (id - 44);
    else if (isPlainOutput(id))
        bit = 1u << (16 + id - 55);
    else
        return 0;
    regModify(pwmReg(IOEXTEND_PWM_CONTROL), bit, true);
    ioTable[id].mode = 2;
    return 1;
}

int ioextend_ioSetSlotTime(uint32_t id, uint32_t time)
{
    validate("Validate failed: ioextend_ioSetSlotTime()");
    if (!isFrequencyInput(id) || time < 2 || time > 400)
        return 0;
    regWrite(frqReg(IOEXTEND_FRQ_CTRL0 + 0x10 * (id - kFirstFrqId)), time);
    return 1;
}

int ioextend_ioConfig(uint32_t id, uint32_t kind, uint32_t slotTime, IoFrequencyCallback callback,
                      uint32_t userValue)
{
    validate("Validate failed: ioextend_ioConfig()");
    switch (kind) {
    case 0:
    case 1:
        return ioextend_ioSetMode(id, kind);
    case 2:
        return ioextend_ioSetMode(id, 2) && ioextend_ioEnablePWM(id);
    case 3: {
        if (!ioextend_ioSetSlotTime(id, slotTime))
            return 0;
        ioTable[id].callback = callback;
        ioTable[id].userValue = userValue;
        const uint32_t bit = 1u << (id - kFirstFrqId);
        clearIrqBits(bit);
        regModify(frqReg(IOEXTEND_FRQ_GENCTRL), bit, true);
        return 1;
    }
    default:
        return 0;
    }
}

int ioextend_ioRead(uint32_t id)
{
    validate("Validate failed: ioextend_ioRead()");
    if (isGeneralPin(id)) {
        if (ioTable[id].mode != 0)
            return 0;
        uint32_t bit;
        uint32_t reg = gpReg(id, IOEXTEND_GP_IN_LO, IOEXTEND_GP_IN_HI, &bit);
        return (regRead(reg) & bit) ? 1 : 0;
    }
    if (isFrequencyInput(id))
        return (regRead(frqReg(IOEXTEND_FRQ_PINVAL)) & (1u << (id - kFirstFrqId))) ? 0 : 1;
    if (isPlainInput(id))
        return (regRead(pwmReg(IOEXTEND_PWM_INOUT)) & (1u << (id - 49))) ? 1 : 0;
    return 0;
}

int ioextend_ioSet(uint32_t id, uint32_t value)
{
    validate("Validate failed: ioextend_ioSet()");
    if (isGeneralPin(id) && ioTable[id].mode == 1) {
        uint32_t bit;
        uint32_t reg = gpReg(id, IOEXTEND_GP_OUT_LO, IOEXTEND_GP_OUT_HI, &bit);
        regModify(reg, bit, value != 0);
        return 1;
    }
    if (isPlainOutput(id) && ioTable[id].mode == 1) {
        regModify(pwmReg(IOEXTEND_PWM_INOUT), 1u << (16 + id - 55), value != 0);
        return 1;
    }
    return 0;
}

int ioextend_ioConfigPWM(uint32_t id, uint32_t frequency)
{
    validate("Validate failed: ioextend_ioConfigPWM()");
    if (!isPwmChannel(id))
        return 0;
    const uint32_t maxFrequency = (id == 48) ? 15000 : 1500;
    uint32_t period = 0;
    if (frequency >= 25 && frequency <= maxFrequency)
        period = static_cast<uint32_t>(static_cast<float>(kPwmBaseHz) / static_cast<float>(frequency) + 0.5f);
    if (ioTable[id].mode != 2)
        ioextend_ioEnablePWM(id);
    const uint32_t k = id - 44;
    regWrite(pwmReg(IOEXTEND_PWM_PERIOD0 + 0x10 * k), period);
    pwmShadow[k] = period;
    return 1;
}

int ioextend_ioSetPWMdutyCycle(uint32_t id, uint32_t dutyPerMille, uint32_t inverted)
{
    validate("Validate failed: ioextend_ioSetPWMdutyCycle()");
    if (!isPwmChannel(id) || ioTable[id].mode != 2)
        return 0;
    // Above 1000 per mille the on-time would outgrow the period and reach the polarity flag.
    if (dutyPerMille > 1000)
        dutyPerMille = 1000;
    const uint32_t k = id - 44;
    uint32_t onTime = static_cast<uint32_t>(dutyPerMille * static_cast<double>(pwmShadow[k]) / 1000.0 + 0.5);
    onTime &= 0x7FFFFFFFu;
    if (inverted)
        onTime |= 0x80000000u;
    regWrite(pwmReg(IOEXTEND_PWM_DUTY0 + 0x10 * k), onTime);
    return 1;
}

int ioextend_ioBridegeControl(uint32_t id, uint32_t on)
{
    validate("Validate failed: ioextend_ioBridegeControl()");
    uint32_t bit;
    if (id == 44 || id == 45)
        bit = 1u << 8;
    else if (id == 46 || id == 47)
        bit = 1u << 9;
    else
        return 0;
    regModify(pwmReg(IOEXTEND_PWM_CONTROL), bit, on != 0);
    return 1;
}

int ioextend_ioTristateControl(uint32_t id, uint32_t value)
{
    validate("Validate failed: ioextend_ioTristateControl()");
    uint32_t bit;
    if (id == 59)
        bit = 1u << 12;
    else if (id == 64)
        bit = 1u << 13;
    else if (id == 65)
        bit = 1u << 14;
    else
        return 0;
    regModify(pwmReg(IOEXTEND_PWM_CONTROL), bit, value == 0);
    return 1;
}

int ioextend_ioEnableFrequencyInputIrq(uint32_t on)
{
    validate("Validate failed: ioextend_ioEnableFrequencyInputIrq()");
    regModify(frqReg(IOEXTEND_FRQ_GENCTRL), 1u << 31, on != 0);
    return 1;
}

int ioextend_ioGetIrqStatus(uint32_t id, uint32_t* pending, uint32_t* status)
{
    validate("Validate failed: ioextend_ioGetIrqStatus()");
    const uint32_t value = regRead(frqReg(IOEXTEND_FRQ_IRQSTAT));
    *status = value;
    if (!isFrequencyInput(id))
        return 0;
    *pending = (value >> (id - kFirstFrqId)) & 1u;
    return 1;
}

int ioextend_ioClearIrqReq(uint32_t mask)
{
    validate("Validate failed: ioextend_ioClearIrqReq()");
    clearIrqBits(mask);
    return 1;
}

int ioextend_ioGetFrequencyData(uint32_t id, uint32_t clear, uint32_t* flagA, uint32_t* flagB,
                                uint32_t* count9, uint32_t* count21)
{
    validate("Validate failed: ioextend_ioGetFrequencyData()");
    if (!isFrequencyInput(id)) {
        *flagA = *flagB = *count9 = *count21 = 0;
        return 0;
    }
    const uint32_t k = id - kFirstFrqId;
    const uint32_t word = regRead(frqReg(IOEXTEND_FRQ_DATA0 + 0x10 * k));
    if (clear)
        clearIrqBits(1u << k);
    splitWord(word, flagA, flagB, count9, count21);
    return 1;
}

int ioextend_ioInterpretFrequencyData(uint32_t word, uint32_t* flagA, uint32_t* flagB,
                                      uint32_t* count9, uint32_t* count21)
{
    validate("Validate failed: ioextend_ioInterpretFrequencyData()");
    splitWord(word, flagA, flagB, count9, count21);
    return 1;
}

void ioextend_Update()
{
    validate("Validate failed: ioextend_Update()");
    for (uint32_t k = 0; k < kFrqChannels; ++k) {
        const IoRecord& record = ioTable[kFirstFrqId + k];
        if (!record.callback)
            continue;
        const uint32_t bit = 1u << k;
        if (!(regRead(frqReg(IOEXTEND_FRQ_IRQSTAT)) & bit))
            continue;
        const uint32_t word = regRead(frqReg(IOEXTEND_FRQ_DATA0 + 0x10 * k));
        clearIrqBits(bit);
        record.callback(word, record.userValue);
        if (traceEnabled)
            CDEBUG_LOG(CDebugLevel::DEB, "cIo", " id = %d, value = %d", static_cast<int>(kFirstFrqId + k),
                       static_cast<int>(record.userValue));
    }
}

void ioextend_DumpFrequencyRegisters()
{
    if (!mapped)
        return;
    printf("FRQ: FRQ_GENCTRL = %8x,FRQ_IRQSTAT = %8x,FRQ_PINVAL = %8x, FRQ_CTRL13 = %8x, "
           "FRQ_DATA13 = %8x, FRQ_CTRL14 = %8x, FRQ_DATA14 = %8x\n\r",
           regRead(frqReg(IOEXTEND_FRQ_GENCTRL)), regRead(frqReg(IOEXTEND_FRQ_IRQSTAT)),
           regRead(frqReg(IOEXTEND_FRQ_PINVAL)), regRead(frqReg(IOEXTEND_FRQ_CTRL0 + 0x10 * 13)),
           regRead(frqReg(IOEXTEND_FRQ_DATA0 + 0x10 * 13)), regRead(frqReg(IOEXTEND_FRQ_CTRL0 + 0x10 * 14)),
           regRead(frqReg(IOEXTEND_FRQ_DATA0 + 0x10 * 14)));
}

int ioextend_GenericHBridgeSet(uint32_t idA, uint32_t idB, uint32_t idC, uint32_t idD,
                               uint32_t pwmId, uint32_t frequency)
{
    int retVal = ioextend_ioConfig(idA, 2, 0, nullptr, 0);
    retVal &= ioextend_ioConfig(idB, 2, 0, nullptr, 0);
    retVal &= ioextend_ioConfig(idC, 1, 0, nullptr, 0);
    retVal &= ioextend_ioConfig(idD, 1, 0, nullptr, 0);
    retVal &= ioextend_ioConfigPWM(pwmId, frequency);
    retVal &= ioextend_ioBridegeControl(pwmId, 1);
    retVal &= ioextend_ioSet(idC, 1);
    retVal &= ioextend_ioSet(idD, 1);
    if (!retVal) {
        if (traceEnabled)
            CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "reason( retVal ) - ");
        return 0;
    }
    return 1;
}

void ioextend_ioWriteRegister(uint32_t bank, uint16_t offset, uint32_t value)
{
    validate("Validate failed: ioextend_ioWriteRegister()");
    uint32_t mapOffset;
    if (bankOffset(bank, offset, &mapOffset))
        regWrite(mapOffset, value);
}

uint32_t ioextend_ioReadRegister(uint32_t bank, uint16_t offset)
{
    validate("Validate failed: ioextend_ioReadRegister()");
    uint32_t mapOffset;
    return bankOffset(bank, offset, &mapOffset) ? regRead(mapOffset) : 0;
}

bool ioextend_GetVersion(uint8_t* major, uint8_t* minor, uint8_t* patch)
{
    validate("Validate failed: ioextend_GetVersion()");
    const uint32_t word = regRead(kVersionWord);
    if (major)
        *major = static_cast<uint8_t>((word & 0xF800u) >> 11);
    if (minor)
        *minor = static_cast<uint8_t>((word & 0x07E0u) >> 5);
    if (patch)
        *patch = static_cast<uint8_t>(word & 0x001Fu);
    return major && minor && patch;
}

bool ioextend_GetBuildDateTime(IoextendBuildDate* date, IoextendBuildTime* time)
{
    validate("Validate failed: ioextend_GetBuildDateTime()");
    const uint32_t word = regRead(kBuildWord);
    if (date) {
        date->day = static_cast<uint8_t>((word & 0x7C000000u) >> 26);
        date->month = static_cast<uint8_t>((word & 0x03C00000u) >> 22);
        date->year = static_cast<uint16_t>(((word & 0x003F0000u) >> 16) + 2000);
    }
    if (time) {
        time->hour = static_cast<uint8_t>((word & 0x000007C0u) >> 6);
        time->minute = static_cast<uint8_t>(word & 0x0000003Fu);
        time->second = 0;
    }
    return true;
}

const char* ioextend_GetName()
{
    return "unsupported";
}

void ioextend_ResetOutputs()
{
    static const uint16_t bank1[] = {0x00, 0x04, 0x10, 0x14, 0x20, 0x24, 0x30, 0x34, 0x40, 0x44, 0x50, 0x54};
    static const uint16_t bank3[] = {0x00, 0x04, 0x10, 0x14, 0x20, 0x24};
    for (uint16_t offset : bank1)
        ioextend_ioWriteRegister(1, offset, 0);
    for (uint16_t offset : {0x00, 0x04, 0x08})
        ioextend_ioWriteRegister(2, offset, 0);
    for (uint16_t k = 0; k <= 17; ++k) {
        ioextend_ioWriteRegister(2, static_cast<uint16_t>(0x10 + 16 * k), 0);
        ioextend_ioWriteRegister(2, static_cast<uint16_t>(0x14 + 16 * k), 0);
    }
    for (uint16_t offset : bank3)
        ioextend_ioWriteRegister(3, offset, 0);
}

void ioextend_SetRegisterWriteHook(IoRegisterWriteHook hook)
{
    writeHook = hook;
}
