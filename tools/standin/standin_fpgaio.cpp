#include "standin_fpgaio.h"

#include "standin_board.h"

#include <chrono>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The extender's register map, as the board presents it.
const uint32_t kMapSize = 0x20000;
const uint32_t kGeneral = 0x6000;
const uint32_t kPwm = 0x2000;
const uint32_t kFrq = 0x4000;
const uint32_t kGpDirLo = kGeneral + 0x00;
const uint32_t kGpDirHi = kGeneral + 0x04;
const uint32_t kGpInLo = kGeneral + 0x10;
const uint32_t kGpInHi = kGeneral + 0x14;
const uint32_t kGpOutLo = kGeneral + 0x20;
const uint32_t kGpOutHi = kGeneral + 0x24;
const uint32_t kPwmControl = kPwm + 0x00;
const uint32_t kPwmInOut = kPwm + 0x04;
const uint32_t kPwmPeriod0 = kPwm + 0x10;
const uint32_t kPwmDuty0 = kPwm + 0x14;
const uint32_t kFrqGenCtrl = kFrq + 0x00;
const uint32_t kFrqIrqStat = kFrq + 0x04;
const uint32_t kFrqPinVal = kFrq + 0x08;
const uint32_t kFrqData0 = kFrq + 0x14;
const uint32_t kPwmBaseHz = 15000000;
const uint32_t kFirstFrq = 66;
const uint32_t kFrqCount = 18;

// The boom's wiring: each section output (1..13, the 13th being the fill
// valve's pin) and the master valve, with its feedback input.
struct Loop {
    uint32_t output;
    uint32_t feedback;
};
const Loop kLoops[] = {
    {4, 67},  {6, 68},  {8, 69},  {10, 70}, {12, 71}, {14, 72}, {16, 73},
    {18, 74}, {20, 75}, {24, 77}, {26, 78}, {28, 79}, {22, 76}, {2, 66},
};
const size_t kLoopCount = sizeof kLoops / sizeof kLoops[0];

bool isGeneral(uint32_t pin) { return pin >= 1 && pin <= 43; }
bool isPwmChannel(uint32_t pin) { return pin >= 44 && pin <= 48; }
bool isPlainInput(uint32_t pin) { return pin >= 49 && pin <= 54; }
bool isPlainOutput(uint32_t pin) { return pin >= 55 && pin <= 64; }
bool isFrequency(uint32_t pin) { return pin >= kFirstFrq && pin < kFirstFrq + kFrqCount; }

// Register and bit of a general pin in the block whose low register is lo.
uint32_t generalBit(uint32_t pin, uint32_t lo, uint32_t hi, uint32_t* offset)
{
    if (pin <= 30) {
        *offset = lo;
        return 1u << (pin - 1);
    }
    *offset = hi;
    return 1u << (pin - 31);
}

int loopIndex(uint32_t outputPin)
{
    for (size_t i = 0; i < kLoopCount; ++i)
        if (kLoops[i].output == outputPin)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

StandinFpga::StandinFpga(const std::string& root)
{
    const std::string path = root + "/dev/uio0";
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    void* base = mmap(nullptr, kMapSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    if (base == MAP_FAILED)
        return;
    mBase = static_cast<volatile uint32_t*>(base);
    startLoops();
}

StandinFpga::~StandinFpga()
{
    stopLoops();
    if (mBase)
        munmap(const_cast<uint32_t*>(mBase), kMapSize);
}

uint32_t StandinFpga::read(uint32_t offset) const
{
    return __atomic_load_n(&mBase[offset / 4], __ATOMIC_SEQ_CST);
}

// The console changes other bits of the same registers: only the bits named change.
void StandinFpga::setBits(uint32_t offset, uint32_t bits, bool on)
{
    if (on)
        __atomic_fetch_or(&mBase[offset / 4], bits, __ATOMIC_SEQ_CST);
    else
        __atomic_fetch_and(&mBase[offset / 4], ~bits, __ATOMIC_SEQ_CST);
}

bool StandinFpga::setInput(uint32_t pin, bool level)
{
    if (!ok())
        return false;
    if (isGeneral(pin)) {
        uint32_t offset;
        const uint32_t bit = generalBit(pin, kGpInLo, kGpInHi, &offset);
        setBits(offset, bit, level);
    } else if (isPlainInput(pin)) {
        setBits(kPwmInOut, 1u << (pin - 49), level);
    } else if (isFrequency(pin)) {
        // The pin-value register reads a set bit as a low level.
        setBits(kFrqPinVal, 1u << (pin - kFirstFrq), !level);
    } else {
        return false;
    }
    return true;
}

int StandinFpga::output(uint32_t pin) const
{
    if (!ok())
        return -1;
    if (isGeneral(pin)) {
        uint32_t offset;
        const uint32_t bit = generalBit(pin, kGpOutLo, kGpOutHi, &offset);
        return (read(offset) & bit) ? 1 : 0;
    }
    if (isPlainOutput(pin))
        return (read(kPwmInOut) & (1u << (16 + pin - 55))) ? 1 : 0;
    return -1;
}

StandinFpga::PinMode StandinFpga::mode(uint32_t pin) const
{
    if (!ok())
        return PinMode::Unknown;
    if (isGeneral(pin)) {
        uint32_t offset;
        const uint32_t bit = generalBit(pin, kGpDirLo, kGpDirHi, &offset);
        return (read(offset) & bit) ? PinMode::Output : PinMode::Input;
    }
    if (isPwmChannel(pin))
        return (read(kPwmControl) & (1u << (pin - 44))) ? PinMode::Pwm : PinMode::Unknown;
    if (isPlainOutput(pin))
        return (read(kPwmControl) & (1u << (16 + pin - 55))) ? PinMode::Pwm : PinMode::Output;
    if (isPlainInput(pin))
        return PinMode::Input;
    if (isFrequency(pin))
        return (read(kFrqGenCtrl) & (1u << (pin - kFirstFrq))) ? PinMode::Frequency : PinMode::Input;
    return PinMode::Unknown;
}

StandinFpga::PwmState StandinFpga::pwm(uint32_t channel) const
{
    PwmState state = {false, 0, 0, 0, false};
    if (!ok() || !isPwmChannel(channel))
        return state;
    const uint32_t k = channel - 44;
    state.enabled = (read(kPwmControl) & (1u << k)) != 0;
    state.periodTicks = read(kPwmPeriod0 + 0x10 * k);
    const uint32_t duty = read(kPwmDuty0 + 0x10 * k);
    state.inverted = (duty & 0x80000000u) != 0;
    if (state.periodTicks) {
        state.frequencyHz = (kPwmBaseHz + state.periodTicks / 2) / state.periodTicks;
        const uint64_t onTime = duty & 0x7FFFFFFFu;
        state.dutyPerMille = static_cast<uint32_t>((onTime * 1000 + state.periodTicks / 2) / state.periodTicks);
    }
    return state;
}

bool StandinFpga::bridgeControl(uint32_t channel) const
{
    if (!ok())
        return false;
    if (channel == 44 || channel == 45)
        return (read(kPwmControl) & (1u << 8)) != 0;
    if (channel == 46 || channel == 47)
        return (read(kPwmControl) & (1u << 9)) != 0;
    return false;
}

bool StandinFpga::tristateEnabled(uint32_t line) const
{
    if (!ok())
        return false;
    const uint32_t bit = line == 59 ? 12 : line == 64 ? 13 : line == 65 ? 14 : 0;
    return bit != 0 && (read(kPwmControl) & (1u << bit)) != 0;
}

uint32_t StandinFpga::reportWord(uint32_t count, uint32_t timeUs, bool wrapped)
{
    return (count & 0x1FFu) | ((timeUs & 0x1FFFFFu) << 9) | (wrapped ? 1u << 30 : 0u);
}

bool StandinFpga::report(uint32_t pin, uint32_t word)
{
    if (!ok() || !isFrequency(pin))
        return false;
    const uint32_t k = pin - kFirstFrq;
    __atomic_store_n(&mBase[(kFrqData0 + 0x10 * k) / 4], word, __ATOMIC_SEQ_CST);
    setBits(kFrqIrqStat, 1u << k, true);
    return true;
}

bool StandinFpga::reportPending(uint32_t pin) const
{
    return ok() && isFrequency(pin) && (read(kFrqIrqStat) & (1u << (pin - kFirstFrq))) != 0;
}

void StandinFpga::mirror()
{
    if (!ok())
        return;
    std::lock_guard<std::mutex> guard(mLoopLock);
    for (size_t i = 0; i < kLoopCount; ++i) {
        const bool level = mLoopState[i] == 0 ? output(kLoops[i].output) == 1 : mLoopState[i] == 2;
        setInput(kLoops[i].feedback, level);
    }
}

bool StandinFpga::breakLoop(uint32_t outputPin, bool stuckLevel)
{
    const int index = loopIndex(outputPin);
    if (index < 0)
        return false;
    {
        std::lock_guard<std::mutex> guard(mLoopLock);
        mLoopState[index] = stuckLevel ? 2 : 1;
    }
    mirror();
    return true;
}

bool StandinFpga::restoreLoop(uint32_t outputPin)
{
    const int index = loopIndex(outputPin);
    if (index < 0)
        return false;
    {
        std::lock_guard<std::mutex> guard(mLoopLock);
        mLoopState[index] = 0;
    }
    mirror();
    return true;
}

void StandinFpga::loopThread()
{
    std::unique_lock<std::mutex> guard(mWakeLock);
    while (!mStop) {
        guard.unlock();
        mirror();
        guard.lock();
        mWake.wait_for(guard, std::chrono::milliseconds(1), [this] { return mStop; });
    }
}

void StandinFpga::startLoops()
{
    if (!ok() || mThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mStop = false;
    }
    mirror();
    mThread = std::thread(&StandinFpga::loopThread, this);
}

void StandinFpga::stopLoops()
{
    if (!mThread.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(mWakeLock);
        mStop = true;
    }
    mWake.notify_all();
    mThread.join();
}

bool standinSetPowerButton(const std::string& root, bool pressed)
{
    return standinSetGpio(root, 153, pressed ? "1\n" : "0\n");
}
