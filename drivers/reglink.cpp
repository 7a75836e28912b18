#include "reglink.h"

#include "checksum.h"
#include "clock.h"
#include "comport.h"
#include "datastore.h"
#include "version.h"

#include <cstring>

namespace {

constexpr uint32_t kReceiveSize = 99;
constexpr uint8_t kHeaderLength = 3;
constexpr uint8_t kLongestFrame = 8;
constexpr uint32_t kSendSize = 16;
constexpr uint32_t kMaxData = 4;

// Items served.
constexpr uint32_t kItemValueA = 5;
constexpr uint32_t kItemValueB = 6;
constexpr uint32_t kItemValueC = 7;
constexpr uint32_t kItemFlag = 8;
constexpr uint32_t kItemTime = 9;
constexpr uint32_t kItemValueD = 10;

uint8_t gReceive[kReceiveSize];
uint8_t gIndex = 0;
uint8_t gExpected = kLongestFrame;
uint32_t gLastByteMs = 0;

struct PendingRequest {
    uint16_t id = 0;  // 0 = none
    uint8_t length = 0;
    uint8_t data[kMaxData] = {};
};
PendingRequest gPending;

uint8_t gSend[kSendSize];

uint16_t requestId(const uint8_t* frame)
{
    return static_cast<uint16_t>(frame[0] | (frame[1] << 8));
}

bool isReadId(uint16_t id)
{
    return id == REGLINK_ID_VERSION || (id >= REGLINK_ID_VALUE_B && id <= REGLINK_ID_TIME);
}

uint32_t limit16(uint32_t value)
{
    return value > 0xFFFF ? 0xFFFF : value;
}

// The value of a read request and the length of its data frame.
uint32_t readValue(uint16_t id, uint32_t* kind)
{
    *kind = 2;
    switch (id) {
    case REGLINK_ID_VERSION:
        return versionGetNumber();
    case REGLINK_ID_VALUE_B:
        return limit16(datastoreGetUint32(kItemValueB));
    case REGLINK_ID_VALUE_C:
        *kind = 4;
        return datastoreGetUint32(kItemValueC);
    case REGLINK_ID_VALUE_D:
        return limit16(datastoreGetUint32(kItemValueD));
    case REGLINK_ID_FLAG:
        *kind = 1;
        return datastoreGetBool(kItemFlag) ? 1 : 0;
    case REGLINK_ID_TIME: {
        const uint32_t seconds = datastoreGetUint32(kItemTime);
        uint32_t hours = seconds / 3600;
        uint32_t minutes = (seconds % 3600) / 60;
        if (hours > 255) {
            hours = 255;
            minutes = 59;
        }
        return (hours << 8) | minutes;
    }
    default:
        *kind = 0;
        return 0;
    }
}

void discardWaiting(uint32_t port)
{
    for (uint32_t waiting = comportRxCount(port); waiting > 0; --waiting)
        comportGetByte(port);
}

void sendByte(uint8_t value, uint32_t port)
{
    regLinkReply(0, 0, value, port);
}

}  // namespace

void regLinkInit()
{
    gIndex = 0;
    gExpected = kLongestFrame;
    gPending = PendingRequest{};
}

uint32_t regLinkSend(uint32_t length, const uint8_t* data, uint32_t port)
{
    if (length > kSendSize)
        length = kSendSize;
    std::memcpy(gSend, data, length);
    return comportWrite(port, gSend, static_cast<uint16_t>(length));
}

uint8_t regLinkChecksum(const uint8_t* frame)
{
    return checksum8(frame, static_cast<uint32_t>(frame[2]) + kHeaderLength);
}

uint32_t regLinkReply(uint16_t id, uint32_t kind, uint32_t value, uint32_t port)
{
    uint8_t frame[kSendSize];
    if (kind == 0) {
        frame[0] = static_cast<uint8_t>(value);
        return regLinkSend(1, frame, port);
    }
    if (kind != 1 && kind != 2 && kind != 4)
        return 0;
    frame[0] = static_cast<uint8_t>(id >> 8);
    frame[1] = static_cast<uint8_t>(id);
    frame[2] = static_cast<uint8_t>(kind);
    for (uint32_t i = 0; i < kind; ++i)
        frame[3 + i] = static_cast<uint8_t>(value >> (8 * (kind - 1 - i)));
    frame[3 + kind] = regLinkChecksum(frame);
    return regLinkSend(kind + 4, frame, port);
}

uint32_t regLinkSetPending(uint32_t length, const uint8_t* data, uint16_t id)
{
    if (gPending.id != 0 || length > kMaxData)
        return 0;
    gPending.id = id;
    gPending.length = static_cast<uint8_t>(length);
    if (length > 0)
        std::memcpy(gPending.data, data, length);
    return 1;
}

int regLinkReadRequest(const uint8_t* frame)
{
    const uint16_t id = requestId(frame);
    if (!isReadId(id))
        return REGLINK_REFUSED;
    regLinkSetPending(0, nullptr, id);
    return REGLINK_NO_REPLY;
}

int regLinkWriteRequest(const uint8_t* frame)
{
    const uint16_t id = requestId(frame);
    if (id != REGLINK_ID_WRITE_A)
        return REGLINK_REFUSED;
    const uint8_t length = frame[2];
    if (length == 2 || length == 4)
        regLinkSetPending(length, frame + kHeaderLength, id);
    return REGLINK_NO_REPLY;
}

void regLinkPoll(uint32_t port)
{
    const uint32_t now = clockGetMs();
    for (uint32_t waiting = comportRxCount(port); waiting > 0; --waiting) {
        const uint8_t byte = comportGetByte(port);
        if (gIndex > 0 && static_cast<int32_t>(now - gLastByteMs) > static_cast<int32_t>(REGLINK_BYTE_GAP_MS)) {
            gIndex = 0;
            gExpected = kLongestFrame;
        }
        gLastByteMs = now;
        if (gIndex < kReceiveSize)
            gReceive[gIndex++] = byte;
        if (gIndex < gExpected) {
            if (gIndex == kHeaderLength) {
                gExpected = static_cast<uint8_t>(gReceive[2] + 4);
                if (gReceive[2] > kMaxData) {
                    gIndex = 0;
                    gExpected = kLongestFrame;
                    discardWaiting(port);
                    return;
                }
            }
            continue;
        }
        gIndex = 0;
        const uint8_t length = gReceive[2];
        if (regLinkChecksum(gReceive) != gReceive[kHeaderLength + length]) {
            sendByte(REGLINK_NAK, port);
            continue;
        }
        const int reply = length == 0 ? regLinkReadRequest(gReceive) : regLinkWriteRequest(gReceive);
        if (reply != REGLINK_NO_REPLY)
            sendByte(static_cast<uint8_t>(reply), port);
    }
}

void regLinkService(uint32_t port)
{
    if (gPending.id == 0)
        return;
    if (gPending.id == REGLINK_ID_WRITE_A) {
        uint8_t reply = REGLINK_BAD_WRITE;
        const uint8_t* d = gPending.data;
        if (gPending.length == 2) {
            datastoreSetUint32(kItemValueA, static_cast<uint32_t>(d[0] | (d[1] << 8)) * 100);
            reply = REGLINK_ACCEPTED;
        } else if (gPending.length == 4) {
            datastoreSetUint32(kItemValueA, static_cast<uint32_t>(d[0]) | (static_cast<uint32_t>(d[1]) << 8) |
                                                (static_cast<uint32_t>(d[2]) << 16) |
                                                (static_cast<uint32_t>(d[3]) << 24));
            reply = REGLINK_ACCEPTED;
        }
        if (regLinkReply(0, 0, reply, port))
            gPending.id = 0;
        return;
    }
    uint32_t kind = 0;
    const uint32_t value = readValue(gPending.id, &kind);
    if (regLinkReply(0, 0, REGLINK_ACCEPTED, port) && regLinkReply(gPending.id, kind, value, port))
        gPending.id = 0;
}
