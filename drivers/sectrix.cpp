#include "sectrix.h"

#include "eventqueue.h"
#include "kernel.h"
#include "threadfunc.h"

#include <atomic>

namespace {

constexpr uint32_t periodMs = 1000;
constexpr uint32_t modeReleaseMs = 100;
constexpr uint32_t supervisionMs = 5000;
constexpr uint32_t versionValidMs = 1000;
constexpr int mailboxDepth = 20;
constexpr int linkTaskPriority = 20;
constexpr int eventOwner = 2;

constexpr uint8_t typeStatus = 0;
constexpr uint8_t typeRequest = 1;
constexpr uint8_t typeMode = 2;
constexpr uint8_t typeVersion = 10;

// Confirmations a switch to automatic needs before it counts.
constexpr uint8_t autoConfirmations = 2;

struct SectrixLinkState {
    uint32_t statusWord = 0;
    uint8_t autoMode = 0;
    uint8_t autoConfirmCount = 0;
    uint16_t versionWord = 0;
    uint32_t versionValue = 0;
    uint8_t versionReceived = 0;
    KernelHandle rxLock = nullptr;  // guards the fields above
    uint8_t requestedMode = 0;
    uint32_t sectionStates = 0;
    KernelHandle txLock = nullptr;  // guards requestedMode and sectionStates
    std::atomic<uint32_t> channel{0};
    KernelHandle modeAlarm = nullptr;
    KernelHandle statusAlarm = nullptr;
    KernelHandle mailbox = nullptr;
    uint32_t started = 0;
    KernelHandle supervisionAlarm = nullptr;
    KernelHandle versionAlarm = nullptr;
};

SectrixLinkState linkState;
// 1 until the first frame of the unit and again 5000 ms after the last one.
std::atomic<uint32_t> linkLost{1};

// Lock order where both are held: rxLock, then txLock.
class Lock {
public:
    explicit Lock(KernelHandle& semaphore) : mSemaphore(semaphore) { kernelSemaphoreWait(&mSemaphore); }
    ~Lock() { kernelSemaphoreSignal(&mSemaphore); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    KernelHandle& mSemaphore;
};

void sendFrame(const uint8_t* bytes, uint8_t length)
{
    CanFrame frame{};
    frame.id = SECTRIX_ID_CONSOLE;
    frame.extended = 1;
    frame.dlc = length;
    for (uint8_t i = 0; i < length; ++i)
        frame.data[i] = bytes[i];
    canioTransmitFrame(linkState.channel.load(), &frame);
}

void sendModeFrame(uint32_t code)
{
    if (linkLost.load()) {
        kernelAlarmStart(&linkState.modeAlarm, periodMs, SECTRIX_CODE_MODE_PERIOD);
        return;
    }
    uint8_t toggle = 0;
    {
        Lock rx(linkState.rxLock);
        Lock tx(linkState.txLock);
        toggle = code == SECTRIX_CODE_MODE_PERIOD && linkState.autoMode != linkState.requestedMode;
    }
    const uint8_t bytes[] = {typeMode, toggle};
    sendFrame(bytes, sizeof bytes);
    if (toggle)
        kernelAlarmStart(&linkState.modeAlarm, modeReleaseMs, SECTRIX_CODE_MODE_RELEASE);
    else
        kernelAlarmStart(&linkState.modeAlarm, periodMs, SECTRIX_CODE_MODE_PERIOD);
}

void sendStatusFrame()
{
    if (!linkLost.load()) {
        uint32_t states = 0;
        {
            Lock tx(linkState.txLock);
            states = linkState.sectionStates;
        }
        const uint8_t bytes[] = {typeStatus,
                                 static_cast<uint8_t>(states),
                                 static_cast<uint8_t>(states >> 8),
                                 static_cast<uint8_t>(states >> 16),
                                 0,
                                 0x80,
                                 0xFF};
        sendFrame(bytes, sizeof bytes);
    }
    kernelAlarmStart(&linkState.statusAlarm, periodMs, SECTRIX_CODE_STATUS_PERIOD);
}

void sectrixLinkTask(uint32_t)
{
    threadfunc::setThreadName("sectrix-link");
    for (;;)
        sectrixLinkEvent(kernelMailboxWait(&linkState.mailbox));
}

void onStatusMessage(const CanFrame& frame)
{
    if (frame.dlc < 4)
        return;
    const uint32_t word = frame.data[1] | (static_cast<uint32_t>(frame.data[2]) << 8);
    Lock rx(linkState.rxLock);
    if (word != linkState.statusWord) {
        linkState.statusWord = word;
        eventPost(eventOwner, EV_SECTRIX_WORD_CHANGED, word);
    }
    if (linkState.autoConfirmCount != 0 && --linkState.autoConfirmCount == 0)
        eventPost(eventOwner, EV_SECTRIX_MODE_CHANGED, linkState.autoMode);
}

void onModeMessage(const CanFrame& frame)
{
    const uint8_t automatic = frame.data[1] & 1;
    Lock rx(linkState.rxLock);
    Lock tx(linkState.txLock);
    if (automatic == linkState.autoMode)
        return;
    linkState.autoMode = automatic;
    linkState.requestedMode = automatic;
    if (automatic) {
        linkState.autoConfirmCount = autoConfirmations;
    } else {
        linkState.autoConfirmCount = 0;
        eventPost(eventOwner, EV_SECTRIX_MODE_CHANGED, 0);
    }
}

void onVersionMessage(const CanFrame& frame)
{
    {
        Lock rx(linkState.rxLock);
        linkState.versionReceived = 1;
        linkState.versionWord = static_cast<uint16_t>(frame.data[1] | (frame.data[2] << 8));
        linkState.versionValue = frame.data[3] | (static_cast<uint32_t>(frame.data[4]) << 8) |
                            (static_cast<uint32_t>(frame.data[5]) << 16) |
                            (static_cast<uint32_t>(frame.data[6]) << 24);
    }
    kernelAlarmStart(&linkState.versionAlarm, versionValidMs, SECTRIX_CODE_VERSION_EXPIRY);
}

}  // namespace

uint32_t sectrixDataLinkInit(uint32_t channel)
{
    linkState.channel = channel;
    linkLost = 1;
    if (!linkState.started) {
        kernelSemaphoreCreate(&linkState.rxLock, 1);
        kernelSemaphoreCreate(&linkState.txLock, 1);
        kernelMailboxCreate(&linkState.mailbox, mailboxDepth);
        kernelAlarmCreate(&linkState.supervisionAlarm, &linkState.mailbox);
        kernelAlarmCreate(&linkState.modeAlarm, &linkState.mailbox);
        kernelAlarmCreate(&linkState.statusAlarm, &linkState.mailbox);
        kernelAlarmCreate(&linkState.versionAlarm, &linkState.mailbox);
        kernelTaskCreate(linkTaskPriority, sectrixLinkTask, 0, __FILE__, __LINE__);
        linkState.started = 1;
    }
    sectrixLinkEvent(SECTRIX_CODE_MODE_PERIOD);
    sectrixLinkEvent(SECTRIX_CODE_STATUS_PERIOD);
    return 1;
}

void sectrixLinkEvent(uint32_t code)
{
    switch (code) {
    case SECTRIX_CODE_SUPERVISION_TIMEOUT:
        linkLost = 1;
        eventPost(eventOwner, EV_SECTRIX_LINK_LOST, 0);
        break;
    case SECTRIX_CODE_MODE_RELEASE:
    case SECTRIX_CODE_MODE_PERIOD:
        sendModeFrame(code);
        break;
    case SECTRIX_CODE_STATUS_PERIOD:
        sendStatusFrame();
        break;
    case SECTRIX_CODE_VERSION_EXPIRY: {
        Lock rx(linkState.rxLock);
        linkState.versionReceived = 0;
        break;
    }
    default:
        break;
    }
}

uint32_t sectrixOnCanFrame(const CanFrame* frame)
{
    if (!frame || frame->id != SECTRIX_ID_UNIT)
        return 0;
    switch (frame->data[0]) {
    case typeStatus:
        onStatusMessage(*frame);
        break;
    case typeRequest: {
        static const uint8_t reply[] = {typeRequest, 0x00, 0x02, 0x61};
        sendFrame(reply, sizeof reply);
        break;
    }
    case typeMode:
        onModeMessage(*frame);
        break;
    case typeVersion:
        onVersionMessage(*frame);
        break;
    default:
        break;
    }
    kernelAlarmStart(&linkState.supervisionAlarm, supervisionMs, SECTRIX_CODE_SUPERVISION_TIMEOUT);
    if (linkLost.exchange(0) == 1)
        eventPost(eventOwner, EV_SECTRIX_LINK_RESTORED, 0);
    return 1;
}

void sectrixSetSectionStates(uint32_t states)
{
    {
        Lock tx(linkState.txLock);
        if (states == linkState.sectionStates)
            return;
        linkState.sectionStates = states;
    }
    sectrixLinkEvent(SECTRIX_CODE_STATUS_PERIOD);
}

void sectrixRequestMode(uint8_t mode)
{
    {
        Lock tx(linkState.txLock);
        if (mode == linkState.requestedMode)
            return;
        linkState.requestedMode = mode;
    }
    sectrixLinkEvent(SECTRIX_CODE_MODE_PERIOD);
}

uint32_t sectrixLinkIsLost()
{
    return linkLost.load() ? 0 : 1;
}

uint32_t sectrixGetStatusWord()
{
    Lock rx(linkState.rxLock);
    return linkState.statusWord;
}

uint32_t sectrixIsActive()
{
    Lock rx(linkState.rxLock);
    return linkState.autoMode == 1 && linkState.autoConfirmCount == 0;
}

uint32_t sectrixGetVersion(uint16_t* word, uint32_t* value)
{
    Lock rx(linkState.rxLock);
    if (word)
        *word = linkState.versionWord;
    if (value)
        *value = linkState.versionValue;
    return linkState.versionReceived;
}

uint32_t sectrixHandleEvent(uint32_t, uint32_t)
{
    return 1;
}
