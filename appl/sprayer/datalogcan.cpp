#include "datalogcan.h"

#include "cfilefunc.h"
#include "datastore.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filedesc.h"
#include "filefunc.h"
#include "kernel.h"
#include "threadfunc.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kOwner = 2;
constexpr int kTaskPriority = 20;
constexpr int kMailboxDepth = 20;
constexpr int kMsgSupervision = 0;
constexpr int kMsgSendTick = 1;
constexpr size_t kMaxNumberChars = 11;
constexpr size_t kMaxFileBytes = 64;

KernelHandle gValueLock = nullptr;
KernelHandle gMailbox = nullptr;
KernelHandle gSendAlarm = nullptr;
KernelHandle gSupervisionAlarm = nullptr;
uint32_t gValue = 0;
std::atomic<uint32_t> gChannel{0};
std::atomic<uint32_t> gLost{1};
bool gStarted = false;

uint32_t readValue()
{
    kernelSemaphoreWait(&gValueLock);
    const uint32_t value = gValue;
    kernelSemaphoreSignal(&gValueLock);
    return value;
}

void sendFlowFrame()
{
    const uint32_t value = readValue();
    CanFrame frame = {};
    frame.id = DATALOG_CAN_TX_ID;
    frame.extended = 1;
    frame.dlc = 5;
    frame.data[0] = DATALOG_CAN_TX_FIRST_BYTE;
    frame.data[1] = static_cast<uint8_t>(value >> 24);
    frame.data[2] = static_cast<uint8_t>(value >> 16);
    frame.data[3] = static_cast<uint8_t>(value >> 8);
    frame.data[4] = static_cast<uint8_t>(value);
    canioTransmitFrame(gChannel.load(), &frame);
}

void datalogCanTask(uint32_t)
{
    threadfunc::setThreadName("can-flowmsg");
    for (;;) {
        const int message = kernelMailboxWait(&gMailbox);
        if (message == kMsgSupervision) {
            gLost.store(1);
            eventPost(kOwner, EV_PULSANO_CAN_LOST, 0);
        } else if (message == kMsgSendTick) {
            if (gLost.load() == 0)
                sendFlowFrame();
            kernelAlarmStart(&gSendAlarm, DATALOG_CAN_SEND_MS, kMsgSendTick);
        }
    }
}

}  // namespace

uint32_t datalogCanStart(uint32_t channel)
{
    gChannel.store(channel);
    gLost.store(1);
    if (gStarted)
        return 1;
    gStarted = true;
    kernelSemaphoreCreate(&gValueLock, 1);
    kernelMailboxCreate(&gMailbox, kMailboxDepth);
    kernelAlarmCreate(&gSendAlarm, &gMailbox);
    kernelAlarmCreate(&gSupervisionAlarm, &gMailbox);
    kernelTaskCreate(kTaskPriority, datalogCanTask, 0, __FILE__, __LINE__);
    return 1;
}

uint32_t datalogCanReceive(const CanFrame* frame)
{
    if (frame == nullptr || frame->id != DATALOG_CAN_RX_ID)
        return 0;
    if (frame->dlc >= 1 && frame->data[0] == DATALOG_CAN_ANSWER && gStarted) {
        kernelAlarmStart(&gSupervisionAlarm, DATALOG_CAN_SUPERVISION_MS, kMsgSupervision);
        if (gLost.load() != 0) {
            kernelAlarmStart(&gSendAlarm, DATALOG_CAN_SEND_MS, kMsgSendTick);
            eventPost(kOwner, EV_PULSANO_CAN_CONNECTED, 0);
            gLost.store(0);
        }
    }
    return 1;
}

void datalogCanSetValue(uint32_t value)
{
    kernelSemaphoreWait(&gValueLock);
    gValue = value;
    kernelSemaphoreSignal(&gValueLock);
}

uint32_t datalogCanIsLost()
{
    return gLost.load();
}

// ---- Section-switch file ----

namespace {

std::string gSwitchFilePath;
bool gSwitchFileReady = false;

// Copies [begin, end) as a terminated number text and converts it; false when it is too long.
bool takeNumber(const char* begin, const char* end, uint32_t* value)
{
    const size_t length = static_cast<size_t>(end - begin);
    if (length > kMaxNumberChars)
        return false;
    char number[kMaxNumberChars + 1];
    std::memcpy(number, begin, length);
    number[length] = '\0';
    *value = static_cast<uint32_t>(std::strtol(number, nullptr, 10));
    return true;
}

}  // namespace

uint32_t sectionSwitchParse(const char* text, uint32_t length, uint32_t* count, uint32_t* flag)
{
    const char* end = text + length;
    const char* first = static_cast<const char*>(std::memchr(text, ';', length));
    if (first == nullptr)
        return 0;
    const char* last = first;
    for (const char* p = end; p > first + 1;) {
        --p;
        if (*p == ';') {
            last = p;
            break;
        }
    }
    if (last == first)
        return 0;
    uint32_t a = 0, b = 0;
    if (!takeNumber(text, first, &a) || !takeNumber(first + 1, last, &b))
        return 0;
    *count = a;
    *flag = b;
    return 1;
}

uint32_t sectionSwitchFileInit(const char* path)
{
    if (gSwitchFileReady || path == nullptr)
        return 1;
    gSwitchFilePath = path;
    if (fileExists(gSwitchFilePath)) {
        char text[kMaxFileBytes] = {};
        const size_t length = fileReadAll(gSwitchFilePath, text, sizeof text);
        uint32_t count = 0, flag = 0;
        if (length > 0 && sectionSwitchParse(text, static_cast<uint32_t>(length), &count, &flag) == 1) {
            datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, static_cast<uint8_t>(count));
            datastoreSetBool(DS_HW_13_SECTIONS, static_cast<uint8_t>(flag));
        }
    } else {
        const uint32_t count = dsValue(DS_PHYS_SECTION_SWITCHES_CFG);
        const uint32_t flag = dsValue(DS_HW_13_SECTIONS_CFG);
        datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, static_cast<uint8_t>(count));
        datastoreSetBool(DS_HW_13_SECTIONS, static_cast<uint8_t>(flag));
        char text[32];
        const int length = std::snprintf(text, sizeof text, "%02d;%01d;", static_cast<int>(count), static_cast<int>(flag));
        const int fd = fileOpenWrite(gSwitchFilePath.c_str());
        if (fd >= 0) {
            fileWrite(fd, text, static_cast<size_t>(length));
            fileClose(fd);
        }
    }
    gSwitchFileReady = true;
    return 1;
}

uint32_t sectionSwitchFileWrite(uint32_t count, uint32_t flag)
{
    if (!gSwitchFileReady)
        return 0;
    const int fd = fileOpenWrite(gSwitchFilePath.c_str());
    if (fd < 0)
        return 0;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%d;%d;", static_cast<int>(count), static_cast<int>(flag));
    fileSeek(fd, 0);
    fileWrite(fd, text, static_cast<size_t>(length));
    fileFlush(fd);
    fileClose(fd);
    return 1;
}
