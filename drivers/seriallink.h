#pragma once
// Framed command link on a serial port. A frame is: command (u16 LE), payload
// length L (u8), L payload bytes, checksum (u16 LE) = 16-bit sum of the L + 3
// bytes before it. Frames are answered with status words, sent as the code's low
// byte and then 0x0F. More than 1000 ms between two bytes of a frame ends it with
// the time-out status and a flush of the input.
//
// One module serves two users of the same protocol: the console's link on its
// register port (serialLink...) and the production-test program's responder and
// requester (bench...). Both share the port, the handler table, the command
// receiver and the answer receiver.
//
// The command receiver offers each frame to up to 25 handlers in table order, in
// three phases; the answer receiver waits, on the requesting side, for the status
// and the reply frame of a request.
#include <cstdint>

enum CommandStatus : uint16_t {
    COMMAND_STATUS_OK = 0x0F00,
    COMMAND_STATUS_BAD_LENGTH = 0x0F02,
    COMMAND_STATUS_FAILED = 0x0F10,
    COMMAND_STATUS_TIMEOUT = 0x0F20,
    COMMAND_STATUS_UNKNOWN = 0x0F40,
    COMMAND_STATUS_CHECKSUM = 0x0F80,
};

constexpr uint32_t SERIALLINK_BYTE_GAP_MS = 1000;
constexpr uint32_t SERIALLINK_ANSWER_MS = 3000;
constexpr uint32_t SERIALLINK_HANDLERS = 25;

// A frame without its checksum, which is computed on sending and checked on receipt.
struct CommandFrame {
    uint16_t command = 0;
    uint8_t length = 0;
    uint8_t payload[255] = {};
};

// Phases in which a handler is offered a request.
enum CommandPhase : uint32_t {
    COMMAND_PHASE_CHECK = 0,   // is the command one of the handler's own?
    COMMAND_PHASE_LENGTH = 1,  // is the length right? status OK or BAD_LENGTH
    COMMAND_PHASE_EXECUTE = 2, // act; status OK or FAILED, optionally a reply frame
};

// What a handler hands back in the length and execute phases.
struct CommandReply {
    uint16_t status = COMMAND_STATUS_FAILED;
    uint32_t hasFrame = 0;  // execute: send `frame` after the OK status
    CommandFrame frame;
};

// Returns non-zero when the request's command is the handler's own (in every
// phase). Each phase is offered to the handlers in table order until one
// returns non-zero, so a handler sees the later phases of its own commands only.
typedef uint32_t (*CommandHandler)(uint32_t phase, const CommandFrame* request,
                                   CommandReply* reply);

// Binds the link to the port and configures it for 9600 baud, 8 data bits, no
// parity, 1 stop bit. -> the comportOpen result.
uint32_t serialLinkInit(uint32_t port);
// Discards every byte waiting on the link port.
void serialLinkFlush();
// 1 when bytes are waiting on the link port.
uint32_t serialLinkHasInput();
// Sends one of the six status codes; any other code sends nothing. -> comportWrite result.
uint32_t serialLinkSendStatus(uint16_t code);
// Appends the checksum of the first `length` bytes of `frame` behind them and
// writes length + 2 bytes. `frame` needs room for the two checksum bytes.
uint32_t serialLinkSendFrame(uint32_t length, uint8_t* frame);
uint16_t serialLinkChecksum(const uint8_t* data, uint32_t length);

// Adds a handler to the table. -> 1, or 0 when the table is full.
uint32_t serialLinkRegisterHandler(CommandHandler handler);
// Empties the handler table (of both kinds of handler) and the command receiver.
void serialLinkClearHandlers();

// Command receiver: takes the waiting bytes and, when a frame ends, sends its
// status (and the reply frame of the handler). Call it periodically.
// -> the status sent, or 0 while no frame has ended.
uint16_t serialLinkReceive();

// Requesting side: sends the request (payload length + 5 bytes) and starts the
// 3000 ms wait for its answer. -> comportWrite result.
uint32_t serialLinkSendRequest(const CommandFrame* request, uint32_t expectReplyFrame);
// Takes the waiting bytes of the answer. -> 0 while it is incomplete; else 1 with
// the status in *status (TIMEOUT when the answer did not come in time, CHECKSUM
// for a reply frame with a wrong checksum, UNKNOWN for a reply frame of another
// command, FAILED for a status word that is none of the six) and, for OK with a
// reply frame, the frame in *answer.
uint32_t serialLinkReceiveAnswer(CommandFrame* answer, uint16_t* status);

// ---- The production-test program's face of the link ----

enum BenchStatus : uint16_t {
    BENCH_STATUS_OK = 0x0F00,
    BENCH_STATUS_BAD_LENGTH = 0x0F02,
    BENCH_STATUS_FAILED = 0x0F10,
    BENCH_STATUS_TIMEOUT = 0x0F20,
    BENCH_STATUS_UNKNOWN = 0x0F40,
    BENCH_STATUS_CHECKSUM = 0x0F80,
    // Requester side only; never sent.
    BENCH_STATUS_REPLY_CHECKSUM = 0x0F82,
    BENCH_STATUS_REPLY_TIMEOUT = 0x0F84,
    BENCH_STATUS_REPLY_COMMAND = 0x0F86,
    BENCH_STATUS_REPLY_LENGTH = 0x0F88,
};

enum BenchPhase : uint32_t {
    BENCH_PHASE_CHECK_COMMAND = 0,
    BENCH_PHASE_CHECK_LENGTH = 1,
    BENCH_PHASE_EXECUTE = 2,
};

// What a handler writes into BenchReply::status.
enum BenchReplyStatus : uint32_t {
    BENCH_REPLY_COMMAND_ACCEPTED = 0,  // phase 0
    BENCH_REPLY_COMMAND_FOREIGN = 1,   // phase 0
    BENCH_REPLY_LENGTH_ACCEPTED = 2,   // phase 1
    BENCH_REPLY_LENGTH_REFUSED = 3,    // phase 1, written first by every length check
    BENCH_REPLY_DONE = 4,              // phase 2, no reply frame
    BENCH_REPLY_FRAME = 5,             // phase 2, reply frame ready in the buffer
};

// Room of the reply buffer: the largest frame and its checksum.
constexpr uint32_t BENCH_REPLY_BUFFER = 3 + 255 + 2;
// Room of the receive buffer, the same. A new frame overwrites it from its
// first byte on and nothing clears it, so beyond a frame it still holds what
// earlier, longer frames left.
constexpr uint32_t BENCH_RECEIVE_BUFFER = 3 + 255 + 2;

struct BenchRequest {
    uint32_t phase;
    uint32_t command;
    uint16_t length;           // the received L
    uint16_t frameSize;        // L + 5; phase 2 only
    const uint8_t* frame;      // the receive buffer (BENCH_RECEIVE_BUFFER bytes) from the
                               // frame's first byte; phase 2 only
};

struct BenchReply {
    uint32_t status;
    uint32_t replyCode;
    uint16_t replyLength;      // bytes of the buffer sent before the checksum
    uint8_t* buffer;           // BENCH_REPLY_BUFFER bytes
};

// Returns non-zero when the command is one of the handler's own, whatever the
// outcome of its check.
typedef int (*BenchHandler)(BenchRequest request, BenchReply* reply);

// Binds the protocol to the port: 115200 baud, 8 data bits, no parity, 1 stop bit.
// -> the comportOpen result.
uint32_t benchBindPort(uint32_t port);
// -> 1 when stored, 0 when the table already holds 25 handlers.
uint32_t benchRegisterHandler(BenchHandler handler);
// Resends a reply frame whose last send failed, then runs the receiver and sends
// the reply frame it prepared. The answer of a newly executed request replaces a
// reply frame still unsent. Called every 10 ms. -> 1.
uint32_t benchProtocolTick();
// Runs the command receiver once over the waiting bytes. -> 1 when a reply frame
// is ready in *reply to be sent, else 0.
uint32_t benchReceiveFrame(BenchReply* reply);
// Offers the request to the handlers in table order. -> the first non-zero
// handler result, or 0.
int benchDispatch(BenchRequest request, BenchReply* reply);
// Appends the checksum of the reply's bytes and writes them. -> non-zero when sent.
uint32_t benchSendFrame(BenchReply reply);
// Sends one of the six responder codes; any other code sends nothing and gives 0.
uint32_t benchSendStatus(uint16_t status);
// 16-bit sum of `count` bytes.
uint16_t benchChecksum(const uint8_t* bytes, uint32_t count);
// For handlers: writes the reply frame's code, length and payload into the reply
// buffer and sets status 5. -> 1, or 0 when the payload does not fit.
uint32_t benchSetReplyFrame(BenchReply* reply, uint16_t code, const uint8_t* payload,
                            uint8_t length);

// Requester side. `frame` holds command, L and L payload bytes; the checksum is
// computed here. When `replyCopy` is given a reply frame is expected after the
// OK status and is copied there (room for maxLength + 5 bytes); `context` comes
// back from benchPollReply. A reply frame must carry `replyCode` and a length
// from `minLength` to `maxLength`. -> the port write result.
uint32_t benchRequest(const uint8_t* frame, void* replyCopy, void* context, uint16_t replyCode,
                      uint8_t minLength, uint8_t maxLength);
// Runs the answer receiver. -> 1 when the wait has ended: *status holds the
// final status (one of the ten codes; any other word becomes FAILED), *replyData
// the received reply frame (null without one) and *context the request's context.
uint32_t benchPollReply(const uint8_t** replyData, uint16_t* status, void** context);
// 1 when no request is outstanding.
uint32_t benchIsIdle();
// Drops any outstanding request. -> 1.
uint32_t benchResetIdle();
