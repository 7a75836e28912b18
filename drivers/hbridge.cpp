#include "hbridge.h"

#include "cdebug.h"
#include "ioextend.h"
#include "kernel.h"
#include "threadfunc.h"

#include <algorithm>
#include <mutex>

namespace {

struct HbridgeChannel {
    uint16_t kickTimeLimit;
    uint16_t kickDuty;
    HbridgeOutput callback;
    uint16_t pwmLine;
    uint16_t directionLine;
    uint16_t directionOutput;
    uint16_t pwmSetting;
    uint16_t forwardKickPosition;
    uint32_t reverse;
    uint16_t lastDuty;
    uint16_t kickPosition;
    uint16_t onTime;
    uint16_t onCount;
    uint16_t cycleCount;
    uint16_t cycleCounter;
    KernelHandle alarm;
};

const uint32_t kChannels = 2;
const uint32_t kTaskStack = 65536;

KernelHandle mailbox = nullptr;
HbridgeChannel channels[kChannels];
bool initialised = false;
// Commands and the task's timed steps both change a channel's step state.
std::mutex stepLock;

void apply(const HbridgeChannel& ch, uint32_t duty)
{
    hbridgeApply(ch.callback, ch.pwmLine, duty, ch.directionOutput, ch.pwmSetting);
}

void startAlarm(HbridgeChannel& ch, uint32_t ms, uint32_t code)
{
    if (ch.alarm)
        kernelAlarmStart(&ch.alarm, ms, static_cast<int>(code));
}

void handleCode(uint32_t code)
{
    if (code >= kChannels)
        return;
    std::lock_guard<std::mutex> guard(stepLock);
    HbridgeChannel& ch = channels[code];
    if (ch.lastDuty == 0)
        return;
    if (ch.kickPosition != 0)
        apply(ch, ch.lastDuty);
    else if (ch.onTime != 0)
        apply(ch, 0);
}

}  // namespace

int hbridgeInit()
{
    if (initialised)
        return 1;
    initialised = true;
    kernelMailboxCreate(&mailbox, 20);
    for (HbridgeChannel& ch : channels)
        kernelAlarmCreate(&ch.alarm, &mailbox);
    kernelTaskCreateStack(99, hbridgeTask, 0, kTaskStack, __FILE__, __LINE__);
    return 1;
}

int hbridgeSetCallback(uint32_t channel, HbridgeOutput callback)
{
    if (channel >= kChannels)
        return 0;
    std::lock_guard<std::mutex> guard(stepLock);
    channels[channel].callback = callback;
    return callback ? 1 : 0;
}

int hbridgeConfigChannel(uint32_t channel, uint32_t pwmLine, uint32_t directionLine, uint32_t pwmSetting)
{
    if (channel >= kChannels)
        return 0;
    HbridgeChannel& ch = channels[channel];
    ch.pwmLine = static_cast<uint16_t>(pwmLine);
    ch.directionLine = static_cast<uint16_t>(directionLine);
    if (ch.callback) {
        ch.pwmSetting = static_cast<uint16_t>(pwmSetting);
        return static_cast<int>(ch.callback(ch.pwmSetting, 0, 0) & 1u);
    }
    int result = ioextend_ioConfig(ch.pwmLine, 2, 100, nullptr, 0);
    result &= ioextend_ioConfig(ch.directionLine, 1, 100, nullptr, 0);
    result &= ioextend_ioConfigPWM(ch.pwmLine, pwmSetting);
    return result;
}

int hbridgeSetPolarity(uint32_t channel, uint32_t kickTimeLimit, uint32_t kickDuty)
{
    if (channel >= kChannels)
        return 0;
    kernelCriticalSectionEnter();
    channels[channel].kickTimeLimit = static_cast<uint16_t>(kickTimeLimit);
    channels[channel].kickDuty = static_cast<uint16_t>(kickDuty);
    kernelCriticalSectionLeave();
    return 1;
}

int hbridgeSetDutyCycle(uint32_t channel, uint32_t command, uint32_t time, uint32_t cycleCount, uint32_t duty)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cHbridge", "retval = %d, index = %d, command = %d, duty = %d",
               channel < kChannels ? 1 : 0, static_cast<int>(channel), static_cast<int>(command),
               static_cast<int>(duty));
    if (channel >= kChannels)
        return 0;
    std::lock_guard<std::mutex> guard(stepLock);
    HbridgeChannel& ch = channels[channel];
    ch.lastDuty = 0;
    if (ch.alarm)
        kernelAlarmStop(&ch.alarm);

    kernelCriticalSectionEnter();
    const uint16_t limit = ch.kickTimeLimit;
    const uint16_t kickDuty = ch.kickDuty;
    kernelCriticalSectionLeave();

    ch.kickPosition = std::min(ch.kickPosition, limit);
    ch.forwardKickPosition = ch.reverse ? static_cast<uint16_t>(limit - ch.kickPosition) : ch.kickPosition;
    ch.reverse = 0;

    bool kickWanted = false;
    if (command == HBRIDGE_REVERSE || command == HBRIDGE_FORWARD) {
        ch.reverse = command == HBRIDGE_REVERSE ? 1 : 0;
        if (cycleCount == 0) {
            ch.onTime = static_cast<uint16_t>(time);
            ch.onCount = 0;
            ch.cycleCount = 0;
            ch.cycleCounter = 0;
        } else {
            ch.onTime = 0;
            ch.onCount = static_cast<uint16_t>(time);
            ch.cycleCount = static_cast<uint16_t>(cycleCount);
        }
        kickWanted = duty != 0;
    } else {
        duty = 0;
        ch.onTime = 0;
        ch.onCount = 0;
        ch.cycleCount = 0;
        ch.cycleCounter = 0;
    }

    ch.kickPosition = ch.reverse ? static_cast<uint16_t>(limit - ch.forwardKickPosition) : ch.forwardKickPosition;
    ch.directionOutput = static_cast<uint16_t>(1 - ch.reverse);
    if (!ch.callback)
        ioextend_ioSet(ch.directionLine, ch.directionOutput);

    if (kickWanted && ch.kickPosition != 0) {
        apply(ch, kickDuty);
        startAlarm(ch, ch.kickPosition, channel);
    } else if (ch.cycleCount != 0 && ch.cycleCounter > ch.onCount) {
        apply(ch, 0);
    } else {
        apply(ch, duty);
        if (ch.onTime != 0)
            startAlarm(ch, ch.onTime, channel);
    }
    ch.lastDuty = static_cast<uint16_t>(duty);
    return 1;
}

void hbridgeApply(HbridgeOutput callback, uint32_t pwmLine, uint32_t duty, uint32_t direction, uint32_t pwmSetting)
{
    if (callback)
        callback(pwmSetting, duty, direction);
    else
        ioextend_ioSetPWMdutyCycle(pwmLine, duty, direction);
}

void hbridgeTask(uint32_t)
{
    threadfunc::setThreadName("hbridge");
    for (;;)
        handleCode(kernelMailboxWait(&mailbox));
}
