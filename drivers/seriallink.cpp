#include "seriallink.h"

#include "clock.h"
#include "comport.h"

#include <cstring>

namespace {

constexpr uint32_t kHeader = 3;
constexpr uint32_t kFrameMax = kHeader + 255 + 2;

enum ReceiveState : uint32_t { IDLE, COMMAND, LENGTH, PAYLOAD, CHECKSUM };

// One frame being received, by either receiver.
struct FrameReceiver {
    uint32_t state = IDLE;
    uint8_t buffer[kFrameMax] = {};
    uint32_t index = 0;
    uint32_t lastByteMs = 0;

    uint32_t length() const { return buffer[2]; }
    uint16_t command() const { return static_cast<uint16_t>(buffer[0] | (buffer[1] << 8)); }
    void reset()
    {
        state = IDLE;
        index = 0;
    }
    // The received frame without its checksum.
    void toFrame(CommandFrame* frame) const
    {
        frame->command = command();
        frame->length = buffer[2];
        std::memcpy(frame->payload, buffer + kHeader, length());
    }
    bool checksumMatches() const
    {
        const uint32_t at = kHeader + length();
        const uint16_t sent = static_cast<uint16_t>(buffer[at] | (buffer[at + 1] << 8));
        return serialLinkChecksum(buffer, at) == sent;
    }
};

uint32_t gPort = 0;
CommandHandler gHandlers[SERIALLINK_HANDLERS] = {};
uint32_t gHandlerCount = 0;

FrameReceiver gCommand;
CommandHandler gOwner = nullptr;

// Answer receiver of the requesting side.
enum AnswerState : uint32_t { ANSWER_NONE, ANSWER_STATUS, ANSWER_FRAME };
uint32_t gAnswerState = ANSWER_NONE;
uint8_t gStatusBytes[2] = {};
uint32_t gStatusCount = 0;
uint32_t gAnswerDeadline = 0;
uint32_t gExpectFrame = 0;
uint16_t gExpectedCommand = 0;
FrameReceiver gAnswer;

bool later(uint32_t now, uint32_t deadline)
{
    return static_cast<int32_t>(now - deadline) > 0;
}

bool gapExceeded(const FrameReceiver& rx, uint32_t now)
{
    return rx.state != IDLE && later(now, rx.lastByteMs + SERIALLINK_BYTE_GAP_MS);
}

bool validStatus(uint16_t code)
{
    switch (code) {
    case COMMAND_STATUS_OK:
    case COMMAND_STATUS_BAD_LENGTH:
    case COMMAND_STATUS_FAILED:
    case COMMAND_STATUS_TIMEOUT:
    case COMMAND_STATUS_UNKNOWN:
    case COMMAND_STATUS_CHECKSUM:
        return true;
    default:
        return false;
    }
}

// Ends the frame being received with a status sent and the input flushed.
uint16_t abandon(FrameReceiver& rx, uint16_t status)
{
    rx.reset();
    serialLinkSendStatus(status);
    serialLinkFlush();
    return status;
}

// Stores one byte of a frame and moves the state on; returns true when the
// checksum bytes are complete.
bool takeFrameByte(FrameReceiver& rx, uint8_t byte, uint32_t now)
{
    rx.lastByteMs = now;
    rx.buffer[rx.index++] = byte;
    switch (rx.state) {
    case IDLE:
        rx.state = COMMAND;
        return false;
    case COMMAND:
        if (rx.index == 2)
            rx.state = LENGTH;
        return false;
    case LENGTH:
        rx.state = rx.length() == 0 ? CHECKSUM : PAYLOAD;
        return false;
    case PAYLOAD:
        if (rx.index == kHeader + rx.length())
            rx.state = CHECKSUM;
        return false;
    default:
        return rx.index == kHeader + rx.length() + 2;
    }
}

uint32_t sendCommandFrame(const CommandFrame& frame)
{
    uint8_t bytes[kFrameMax];
    bytes[0] = static_cast<uint8_t>(frame.command);
    bytes[1] = static_cast<uint8_t>(frame.command >> 8);
    bytes[2] = frame.length;
    std::memcpy(bytes + kHeader, frame.payload, frame.length);
    return serialLinkSendFrame(kHeader + frame.length, bytes);
}

CommandHandler findOwner(const CommandFrame& request)
{
    CommandReply reply;
    for (uint32_t i = 0; i < gHandlerCount; ++i) {
        if (gHandlers[i](COMMAND_PHASE_CHECK, &request, &reply))
            return gHandlers[i];
    }
    return nullptr;
}

uint16_t execute()
{
    CommandFrame request;
    gCommand.toFrame(&request);
    gCommand.reset();
    CommandReply reply;
    if (!gOwner(COMMAND_PHASE_EXECUTE, &request, &reply) || reply.status != COMMAND_STATUS_OK) {
        serialLinkSendStatus(COMMAND_STATUS_FAILED);
        return COMMAND_STATUS_FAILED;
    }
    serialLinkSendStatus(COMMAND_STATUS_OK);
    if (reply.hasFrame)
        sendCommandFrame(reply.frame);
    return COMMAND_STATUS_OK;
}

}  // namespace

uint32_t serialLinkInit(uint32_t port)
{
    gPort = port;
    gCommand.reset();
    gAnswerState = ANSWER_NONE;
    return comportOpen(port, 3, 3, 2, 0);
}

void serialLinkFlush()
{
    for (uint32_t waiting = comportRxCount(gPort); waiting > 0; --waiting)
        comportGetByte(gPort);
}

uint32_t serialLinkHasInput()
{
    return comportRxCount(gPort) != 0 ? 1 : 0;
}

uint32_t serialLinkSendStatus(uint16_t code)
{
    if (!validStatus(code))
        return 0;
    const uint8_t bytes[2] = {static_cast<uint8_t>(code), 0x0F};
    return comportWrite(gPort, bytes, sizeof bytes);
}

uint32_t serialLinkSendFrame(uint32_t length, uint8_t* frame)
{
    if (frame == nullptr || length > kFrameMax - 2)
        return 0;
    const uint16_t sum = serialLinkChecksum(frame, length);
    frame[length] = static_cast<uint8_t>(sum);
    frame[length + 1] = static_cast<uint8_t>(sum >> 8);
    return comportWrite(gPort, frame, static_cast<uint16_t>(length + 2));
}

uint16_t serialLinkChecksum(const uint8_t* data, uint32_t length)
{
    uint16_t sum = 0;
    for (uint32_t i = 0; i < length; ++i)
        sum = static_cast<uint16_t>(sum + data[i]);
    return sum;
}

uint32_t serialLinkRegisterHandler(CommandHandler handler)
{
    if (handler == nullptr || gHandlerCount >= SERIALLINK_HANDLERS)
        return 0;
    gHandlers[gHandlerCount++] = handler;
    return 1;
}

void serialLinkClearHandlers()
{
    gHandlerCount = 0;
    gOwner = nullptr;
    gCommand.reset();
}

uint16_t serialLinkReceive()
{
    const uint32_t now = clockGetMs();
    if (gapExceeded(gCommand, now))
        return abandon(gCommand, COMMAND_STATUS_TIMEOUT);
    for (uint32_t waiting = comportRxCount(gPort); waiting > 0; --waiting) {
        const uint8_t byte = comportGetByte(gPort);
        const uint32_t before = gCommand.state;
        const bool complete = takeFrameByte(gCommand, byte, now);
        if (before == COMMAND && gCommand.state == LENGTH) {
            CommandFrame request;
            gCommand.toFrame(&request);
            request.length = 0;
            gOwner = findOwner(request);
            if (gOwner == nullptr)
                return abandon(gCommand, COMMAND_STATUS_UNKNOWN);
        } else if (before == LENGTH) {
            CommandFrame request;
            request.command = gCommand.command();
            request.length = gCommand.buffer[2];
            CommandReply reply;
            reply.status = COMMAND_STATUS_BAD_LENGTH;
            if (!gOwner(COMMAND_PHASE_LENGTH, &request, &reply) ||
                reply.status != COMMAND_STATUS_OK)
                return abandon(gCommand, COMMAND_STATUS_BAD_LENGTH);
        }
        if (complete) {
            if (!gCommand.checksumMatches())
                return abandon(gCommand, COMMAND_STATUS_CHECKSUM);
            return execute();
        }
    }
    return 0;
}

uint32_t serialLinkSendRequest(const CommandFrame* request, uint32_t expectReplyFrame)
{
    if (request == nullptr)
        return 0;
    const uint32_t result = sendCommandFrame(*request);
    if (result) {
        gAnswerState = ANSWER_STATUS;
        gStatusCount = 0;
        gAnswer.reset();
        gExpectFrame = expectReplyFrame;
        gExpectedCommand = request->command;
        gAnswerDeadline = clockGetMs() + SERIALLINK_ANSWER_MS;
    }
    return result;
}

uint32_t serialLinkReceiveAnswer(CommandFrame* answer, uint16_t* status)
{
    uint16_t result = 0;
    if (gAnswerState == ANSWER_NONE) {
        result = COMMAND_STATUS_FAILED;
    } else {
        const uint32_t now = clockGetMs();
        for (uint32_t waiting = comportRxCount(gPort); waiting > 0 && result == 0; --waiting) {
            const uint8_t byte = comportGetByte(gPort);
            if (gAnswerState == ANSWER_STATUS) {
                gStatusBytes[gStatusCount++] = byte;
                if (gStatusCount < 2)
                    continue;
                const uint16_t code = static_cast<uint16_t>(gStatusBytes[0] | (gStatusBytes[1] << 8));
                if (code != COMMAND_STATUS_OK || !gExpectFrame)
                    result = code;
                else
                    gAnswerState = ANSWER_FRAME;
            } else if (takeFrameByte(gAnswer, byte, now)) {
                if (!gAnswer.checksumMatches()) {
                    result = COMMAND_STATUS_CHECKSUM;
                } else if (gAnswer.command() != gExpectedCommand) {
                    result = COMMAND_STATUS_UNKNOWN;
                } else {
                    if (answer)
                        gAnswer.toFrame(answer);
                    result = COMMAND_STATUS_OK;
                }
            }
        }
        if (result == 0 && (later(now, gAnswerDeadline) || gapExceeded(gAnswer, now))) {
            result = COMMAND_STATUS_TIMEOUT;
            serialLinkFlush();
        }
    }
    if (result == 0)
        return 0;
    gAnswerState = ANSWER_NONE;
    gAnswer.reset();
    if (status)
        *status = result;
    return 1;
}
