#pragma once
// Framed command link on a serial port. A frame is: command (u16 LE), payload
// length L (u8), L payload bytes, checksum (u16 LE) = 16-bit sum of the L + 3
// bytes before it. Frames are answered with status words, sent as the code's low
// byte and then 0x0F. More than 1000 ms between two bytes of a frame ends it with
// the time-out status and a flush of the input.
//
// The command receiver offers each frame to up to 25 handlers in table order, in
// three phases; the answer receiver waits, on the requesting side, for the status
// and the reply frame of a request sent with serialLinkSendRequest.
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
// phase); only the handler that claimed the command sees the later phases.
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
// Empties the handler table.
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
// command) and, for OK with a reply frame, the frame in *answer.
uint32_t serialLinkReceiveAnswer(CommandFrame* answer, uint16_t* status);
