#include "seriallink.h"

#include "clock.h"
#include "comport.h"

#include <cstring>

namespace {

constexpr uint32_t kHeader = 3;
constexpr uint32_t kFrameMax = kHeader + 255 + 2;
static_assert(kFrameMax == BENCH_RECEIVE_BUFFER, "handlers may read the whole receive buffer");

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
    bool checksumMatches() const
    {
        const uint32_t at = kHeader + length();
        const uint16_t sent = static_cast<uint16_t>(buffer[at] | (buffer[at + 1] << 8));
        return benchChecksum(buffer, at) == sent;
    }
};

// A table slot holds a handler of either face.
struct HandlerSlot {
    BenchHandler bench;
    CommandHandler link;
};

uint32_t gPort = 0;
HandlerSlot gHandlers[SERIALLINK_HANDLERS] = {};
uint32_t gHandlerCount = 0;

FrameReceiver gCommand;
uint8_t gReplyBuffer[BENCH_REPLY_BUFFER] = {};
BenchReply gReply = {};

// A reply frame whose write failed, kept apart from the reply record: the next
// request resets that record before its handler runs, and a retry from it
// would send a frame of nothing.
struct PendingReply {
    bool waiting = false;
    uint8_t buffer[BENCH_REPLY_BUFFER] = {};
    BenchReply record = {};
};
PendingReply gPending;

void keepForRetry(const BenchReply& reply)
{
    if (reply.replyLength > BENCH_REPLY_BUFFER - 2)
        return;  // a record no send can take
    std::memcpy(gPending.buffer, reply.buffer, reply.replyLength);
    gPending.record = reply;
    gPending.record.buffer = gPending.buffer;
    gPending.waiting = true;
}

// Answer receiver of the requesting side. The status word is complete only when
// both of its bytes are in: any value, 0x0000 included, may come from the peer.
struct AnswerReceiver {
    bool outstanding = false;
    uint8_t statusBytes[2] = {};
    uint32_t statusCount = 0;
    uint32_t deadline = 0;
    bool expectFrame = false;
    uint16_t replyCode = 0;
    uint8_t minLength = 0;
    uint8_t maxLength = 255;
    void* replyCopy = nullptr;
    void* context = nullptr;
    FrameReceiver rx;
};
AnswerReceiver gAnswer;

bool later(uint32_t now, uint32_t deadline)
{
    return static_cast<int32_t>(now - deadline) > 0;
}

bool gapExceeded(const FrameReceiver& rx, uint32_t now)
{
    return rx.state != IDLE && later(now, rx.lastByteMs + SERIALLINK_BYTE_GAP_MS);
}

bool responderStatus(uint16_t code)
{
    switch (code) {
    case BENCH_STATUS_OK:
    case BENCH_STATUS_BAD_LENGTH:
    case BENCH_STATUS_FAILED:
    case BENCH_STATUS_TIMEOUT:
    case BENCH_STATUS_UNKNOWN:
    case BENCH_STATUS_CHECKSUM:
        return true;
    default:
        return false;
    }
}

// Ends the frame being received with a status sent and the input flushed.
uint16_t abandon(FrameReceiver& rx, uint16_t status)
{
    rx.reset();
    benchSendStatus(status);
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

// A console-link handler seen through the bench's three phases.
int dispatchLinkHandler(CommandHandler handler, const BenchRequest& request, BenchReply* reply)
{
    CommandFrame frame;
    frame.command = static_cast<uint16_t>(request.command);
    if (request.phase != BENCH_PHASE_CHECK_COMMAND)
        frame.length = static_cast<uint8_t>(request.length);
    if (request.phase == BENCH_PHASE_EXECUTE)
        std::memcpy(frame.payload, request.frame + kHeader, frame.length);
    CommandReply answer;
    if (request.phase == BENCH_PHASE_CHECK_LENGTH)
        answer.status = COMMAND_STATUS_BAD_LENGTH;
    if (!handler(request.phase, &frame, &answer))
        return 0;
    switch (request.phase) {
    case BENCH_PHASE_CHECK_COMMAND:
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
        break;
    case BENCH_PHASE_CHECK_LENGTH:
        reply->status = answer.status == COMMAND_STATUS_OK ? BENCH_REPLY_LENGTH_ACCEPTED
                                                           : BENCH_REPLY_LENGTH_REFUSED;
        break;
    default:
        if (answer.status != COMMAND_STATUS_OK)
            reply->status = BENCH_REPLY_COMMAND_FOREIGN;
        else if (!answer.hasFrame)
            reply->status = BENCH_REPLY_DONE;
        else
            benchSetReplyFrame(reply, answer.frame.command, answer.frame.payload, answer.frame.length);
        break;
    }
    return 1;
}

bool offer(uint32_t phase, BenchReply* reply, uint32_t acceptedStatus)
{
    BenchRequest request = {};
    request.phase = phase;
    request.command = gCommand.command();
    request.length = static_cast<uint16_t>(phase == BENCH_PHASE_CHECK_COMMAND ? 0 : gCommand.length());
    reply->status = BENCH_REPLY_COMMAND_FOREIGN;
    return benchDispatch(request, reply) != 0 && reply->status == acceptedStatus;
}

// Phase 2 on the complete frame. -> the status sent.
uint16_t execute(BenchReply* reply, bool* frameReady)
{
    BenchRequest request = {};
    request.phase = BENCH_PHASE_EXECUTE;
    request.command = gCommand.command();
    request.length = static_cast<uint16_t>(gCommand.length());
    request.frameSize = static_cast<uint16_t>(gCommand.length() + kHeader + 2);
    request.frame = gCommand.buffer;
    reply->status = BENCH_REPLY_COMMAND_FOREIGN;
    reply->replyLength = 0;
    const bool done = benchDispatch(request, reply) != 0 &&
                      (reply->status == BENCH_REPLY_DONE || reply->status == BENCH_REPLY_FRAME);
    gCommand.reset();
    const uint16_t status = done ? BENCH_STATUS_OK : BENCH_STATUS_FAILED;
    benchSendStatus(status);
    *frameReady = done && reply->status == BENCH_REPLY_FRAME;
    return status;
}

// The command receiver over the bytes waiting now. -> the status sent, 0 while
// no frame has ended; *frameReady when the reply frame in *reply is to follow.
uint16_t receiveCommand(BenchReply* reply, bool* frameReady)
{
    *frameReady = false;
    const uint32_t now = clockGetMs();
    const uint32_t received = comportRxCount(gPort);
    // The gap is judged on the bytes: a tick that comes late still takes the
    // bytes that arrived in time.
    if (received == 0 && gapExceeded(gCommand, now))
        return abandon(gCommand, BENCH_STATUS_TIMEOUT);
    for (uint32_t waiting = received; waiting > 0; --waiting) {
        const uint8_t byte = comportGetByte(gPort);
        const uint32_t before = gCommand.state;
        const bool complete = takeFrameByte(gCommand, byte, now);
        if (before == COMMAND && gCommand.state == LENGTH) {
            if (!offer(BENCH_PHASE_CHECK_COMMAND, reply, BENCH_REPLY_COMMAND_ACCEPTED))
                return abandon(gCommand, BENCH_STATUS_UNKNOWN);
        } else if (before == LENGTH) {
            if (!offer(BENCH_PHASE_CHECK_LENGTH, reply, BENCH_REPLY_LENGTH_ACCEPTED))
                return abandon(gCommand, BENCH_STATUS_BAD_LENGTH);
        }
        if (complete) {
            if (!gCommand.checksumMatches())
                return abandon(gCommand, BENCH_STATUS_CHECKSUM);
            return execute(reply, frameReady);
        }
    }
    return 0;
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

void startRequest(bool expectFrame, uint16_t replyCode, uint8_t minLength, uint8_t maxLength,
                  void* replyCopy, void* context)
{
    gAnswer.outstanding = true;
    gAnswer.statusCount = 0;
    gAnswer.rx.reset();
    gAnswer.expectFrame = expectFrame;
    gAnswer.replyCode = replyCode;
    gAnswer.minLength = minLength;
    gAnswer.maxLength = maxLength;
    gAnswer.replyCopy = replyCopy;
    gAnswer.context = context;
    gAnswer.deadline = clockGetMs() + SERIALLINK_ANSWER_MS;
}

// One byte of the reply frame. -> 0 while the frame goes on, else its final status.
uint16_t takeReplyByte(uint8_t byte, uint32_t now)
{
    FrameReceiver& rx = gAnswer.rx;
    const uint32_t before = rx.state;
    const bool complete = takeFrameByte(rx, byte, now);
    if (before == COMMAND && rx.state == LENGTH && rx.command() != gAnswer.replyCode)
        return BENCH_STATUS_REPLY_COMMAND;
    if (before == LENGTH && (rx.length() < gAnswer.minLength || rx.length() > gAnswer.maxLength))
        return BENCH_STATUS_REPLY_LENGTH;
    if (complete)
        return rx.checksumMatches() ? BENCH_STATUS_OK : BENCH_STATUS_REPLY_CHECKSUM;
    return 0;
}

// Runs the answer receiver. -> true when the wait has ended, with its status.
bool receiveAnswer(uint16_t* final)
{
    if (!gAnswer.outstanding) {
        *final = BENCH_STATUS_FAILED;
        return true;
    }
    const uint32_t now = clockGetMs();
    bool ended = false;
    uint16_t status = BENCH_STATUS_REPLY_TIMEOUT;
    const uint32_t received = comportRxCount(gPort);
    // After the status, the reply frame falls under the gap rule from its first
    // byte on; as on the responding side, bytes waiting were in time.
    const bool awaitingFrame = gAnswer.statusCount == 2 &&
                               later(now, gAnswer.rx.lastByteMs + SERIALLINK_BYTE_GAP_MS);
    if (received == 0 && (gapExceeded(gAnswer.rx, now) || awaitingFrame))
        ended = true;
    for (uint32_t waiting = received; waiting > 0 && !ended; --waiting) {
        const uint8_t byte = comportGetByte(gPort);
        if (gAnswer.statusCount < 2) {
            gAnswer.statusBytes[gAnswer.statusCount++] = byte;
            gAnswer.rx.lastByteMs = now;
            if (gAnswer.statusCount < 2)
                continue;
            status = static_cast<uint16_t>(gAnswer.statusBytes[0] | (gAnswer.statusBytes[1] << 8));
            ended = status != BENCH_STATUS_OK || !gAnswer.expectFrame;
        } else {
            status = takeReplyByte(byte, now);
            ended = status != 0;
        }
    }
    if (!ended && gAnswer.statusCount < 2 && later(now, gAnswer.deadline)) {
        ended = true;
        status = BENCH_STATUS_REPLY_TIMEOUT;
    }
    if (!ended)
        return false;
    gAnswer.outstanding = false;
    if (!responderStatus(status) && status != BENCH_STATUS_REPLY_CHECKSUM &&
        status != BENCH_STATUS_REPLY_TIMEOUT && status != BENCH_STATUS_REPLY_COMMAND &&
        status != BENCH_STATUS_REPLY_LENGTH)
        status = BENCH_STATUS_FAILED;
    // Whatever follows a broken answer belongs to no request.
    if (status != BENCH_STATUS_OK)
        serialLinkFlush();
    *final = status;
    return true;
}

bool answerHasFrame(uint16_t status)
{
    return status == BENCH_STATUS_OK && gAnswer.expectFrame;
}

}  // namespace

uint32_t serialLinkInit(uint32_t port)
{
    gPort = port;
    gCommand.reset();
    gAnswer.outstanding = false;
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
    return benchSendStatus(code);
}

uint32_t serialLinkSendFrame(uint32_t length, uint8_t* frame)
{
    if (frame == nullptr || length > kFrameMax - 2)
        return 0;
    const uint16_t sum = benchChecksum(frame, length);
    frame[length] = static_cast<uint8_t>(sum);
    frame[length + 1] = static_cast<uint8_t>(sum >> 8);
    return comportWrite(gPort, frame, static_cast<uint16_t>(length + 2));
}

uint16_t serialLinkChecksum(const uint8_t* data, uint32_t length)
{
    return benchChecksum(data, length);
}

uint32_t serialLinkRegisterHandler(CommandHandler handler)
{
    if (handler == nullptr || gHandlerCount >= SERIALLINK_HANDLERS)
        return 0;
    gHandlers[gHandlerCount++] = HandlerSlot{nullptr, handler};
    return 1;
}

void serialLinkClearHandlers()
{
    gHandlerCount = 0;
    gCommand.reset();
    gPending.waiting = false;
}

uint16_t serialLinkReceive()
{
    BenchReply reply = {};
    reply.buffer = gReplyBuffer;
    bool frameReady = false;
    const uint16_t status = receiveCommand(&reply, &frameReady);
    if (frameReady)
        benchSendFrame(reply);
    return status;
}

uint32_t serialLinkSendRequest(const CommandFrame* request, uint32_t expectReplyFrame)
{
    if (request == nullptr)
        return 0;
    const uint32_t result = sendCommandFrame(*request);
    if (result)
        startRequest(expectReplyFrame != 0, request->command, 0, 255, nullptr, nullptr);
    return result;
}

uint32_t serialLinkReceiveAnswer(CommandFrame* answer, uint16_t* status)
{
    uint16_t final = 0;
    if (!receiveAnswer(&final))
        return 0;
    if (answer && answerHasFrame(final)) {
        answer->command = gAnswer.rx.command();
        answer->length = static_cast<uint8_t>(gAnswer.rx.length());
        std::memcpy(answer->payload, gAnswer.rx.buffer + kHeader, answer->length);
    }
    gAnswer.rx.reset();
    switch (final) {
    case BENCH_STATUS_REPLY_TIMEOUT:
        final = COMMAND_STATUS_TIMEOUT;
        break;
    case BENCH_STATUS_REPLY_CHECKSUM:
        final = COMMAND_STATUS_CHECKSUM;
        break;
    case BENCH_STATUS_REPLY_COMMAND:
        final = COMMAND_STATUS_UNKNOWN;
        break;
    case BENCH_STATUS_REPLY_LENGTH:
        final = COMMAND_STATUS_BAD_LENGTH;
        break;
    default:
        break;
    }
    if (status)
        *status = final;
    return 1;
}

uint32_t benchBindPort(uint32_t port)
{
    gPort = port;
    gCommand.reset();
    gAnswer.outstanding = false;
    gPending.waiting = false;
    return comportOpen(port, 7, 3, 2, 0);
}

uint32_t benchRegisterHandler(BenchHandler handler)
{
    if (handler == nullptr || gHandlerCount >= SERIALLINK_HANDLERS)
        return 0;
    gHandlers[gHandlerCount++] = HandlerSlot{handler, nullptr};
    return 1;
}

uint32_t benchProtocolTick()
{
    gReply.buffer = gReplyBuffer;
    if (gPending.waiting)
        gPending.waiting = benchSendFrame(gPending.record) == 0;
    bool frameReady = false;
    const uint16_t status = receiveCommand(&gReply, &frameReady);
    // The bench reads the answer to its newest request: an executed request's
    // answer replaces a reply frame still unsent.
    if (status == BENCH_STATUS_OK || status == BENCH_STATUS_FAILED)
        gPending.waiting = false;
    if (frameReady && !benchSendFrame(gReply))
        keepForRetry(gReply);
    return 1;
}

uint32_t benchReceiveFrame(BenchReply* reply)
{
    if (reply == nullptr || reply->buffer == nullptr)
        return 0;
    bool frameReady = false;
    receiveCommand(reply, &frameReady);
    return frameReady ? 1 : 0;
}

int benchDispatch(BenchRequest request, BenchReply* reply)
{
    for (uint32_t i = 0; i < gHandlerCount; ++i) {
        const HandlerSlot& slot = gHandlers[i];
        const int result = slot.bench ? slot.bench(request, reply)
                                      : dispatchLinkHandler(slot.link, request, reply);
        if (result != 0)
            return result;
    }
    return 0;
}

uint32_t benchSendFrame(BenchReply reply)
{
    if (reply.buffer == nullptr || reply.replyLength > BENCH_REPLY_BUFFER - 2)
        return 0;
    return serialLinkSendFrame(reply.replyLength, reply.buffer);
}

uint32_t benchSendStatus(uint16_t status)
{
    if (!responderStatus(status))
        return 0;
    const uint8_t bytes[2] = {static_cast<uint8_t>(status), static_cast<uint8_t>(status >> 8)};
    return comportWrite(gPort, bytes, sizeof bytes);
}

uint16_t benchChecksum(const uint8_t* bytes, uint32_t count)
{
    uint16_t sum = 0;
    for (uint32_t i = 0; i < count; ++i)
        sum = static_cast<uint16_t>(sum + bytes[i]);
    return sum;
}

uint32_t benchSetReplyFrame(BenchReply* reply, uint16_t code, const uint8_t* payload, uint8_t length)
{
    if (reply == nullptr || reply->buffer == nullptr || kHeader + length + 2u > BENCH_REPLY_BUFFER)
        return 0;
    reply->buffer[0] = static_cast<uint8_t>(code);
    reply->buffer[1] = static_cast<uint8_t>(code >> 8);
    reply->buffer[2] = length;
    if (length > 0)
        std::memcpy(reply->buffer + kHeader, payload, length);
    reply->replyCode = code;
    reply->replyLength = static_cast<uint16_t>(kHeader + length);
    reply->status = BENCH_REPLY_FRAME;
    return 1;
}

uint32_t benchRequest(const uint8_t* frame, void* replyCopy, void* context, uint16_t replyCode,
                      uint8_t minLength, uint8_t maxLength)
{
    if (frame == nullptr)
        return 0;
    uint8_t bytes[kFrameMax];
    const uint32_t length = kHeader + frame[2];
    std::memcpy(bytes, frame, length);
    const uint32_t result = serialLinkSendFrame(length, bytes);
    if (result)
        startRequest(replyCopy != nullptr, replyCode, minLength, maxLength, replyCopy, context);
    return result;
}

uint32_t benchPollReply(const uint8_t** replyData, uint16_t* status, void** context)
{
    void* const requestContext = gAnswer.outstanding ? gAnswer.context : nullptr;
    uint16_t final = 0;
    if (!receiveAnswer(&final))
        return 0;
    const bool hasFrame = answerHasFrame(final) && gAnswer.replyCopy != nullptr;
    if (hasFrame)
        std::memcpy(gAnswer.replyCopy, gAnswer.rx.buffer, kHeader + gAnswer.rx.length() + 2);
    if (replyData)
        *replyData = hasFrame ? gAnswer.rx.buffer : nullptr;
    if (status)
        *status = final;
    if (context)
        *context = requestContext;
    gAnswer.replyCopy = nullptr;
    gAnswer.context = nullptr;
    return 1;
}

uint32_t benchIsIdle()
{
    return gAnswer.outstanding ? 0 : 1;
}

uint32_t benchResetIdle()
{
    gAnswer.outstanding = false;
    gAnswer.rx.reset();
    return 1;
}
