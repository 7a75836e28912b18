#pragma once
// Register-access serial link: an outside device reads a few console values and
// writes one over a serial port; the console always answers.
// Request: id (u16 LE), data length n (0..4, 0 = read), n data bytes (LE),
// 8-bit sum of the bytes before it. Immediate replies: 0x20 bad checksum, 0x80
// unknown id. regLinkService answers the one pending request: 0x00, then for a
// read the data frame (id MSB first, length, value MSB first, 8-bit sum).
// A partly received request is discarded when more than 1000 ms pass between
// two of its bytes, so a lost byte cannot misalign the link.
#include <cstdint>

// Request ids.
constexpr uint16_t REGLINK_ID_VERSION = 92;
constexpr uint16_t REGLINK_ID_WRITE_A = 210;
constexpr uint16_t REGLINK_ID_VALUE_B = 286;
constexpr uint16_t REGLINK_ID_VALUE_C = 287;
constexpr uint16_t REGLINK_ID_VALUE_D = 288;
constexpr uint16_t REGLINK_ID_FLAG = 289;
constexpr uint16_t REGLINK_ID_TIME = 290;

// Reply bytes.
constexpr uint8_t REGLINK_ACCEPTED = 0x00;
constexpr uint8_t REGLINK_BAD_WRITE = 0x12;
constexpr uint8_t REGLINK_NAK = 0x20;
constexpr uint8_t REGLINK_REFUSED = 0x80;

// Largest gap between two bytes of one request.
constexpr uint32_t REGLINK_BYTE_GAP_MS = 1000;

// Empties the receiver (and the pending request).
void regLinkInit();
// Assembles and checks the waiting bytes into requests; sends the immediate replies.
void regLinkPoll(uint32_t port);
// Answers the pending request; a failed write is repeated on the next call.
void regLinkService(uint32_t port);

// Helpers.
// Copies up to 16 bytes into the send buffer and writes them. -> comportWrite result.
uint32_t regLinkSend(uint32_t length, const uint8_t* data, uint32_t port);
// 8-bit sum of the first frame[2] + 3 bytes.
uint8_t regLinkChecksum(const uint8_t* frame);
// kind 0 sends the byte value; kinds 1, 2 and 4 send the data frame of that length.
// -> comportWrite result (0 for another kind).
uint32_t regLinkReply(uint16_t id, uint32_t kind, uint32_t value, uint32_t port);
// Fills the pending slot unless it is taken or the length exceeds 4. -> 1 when filled.
uint32_t regLinkSetPending(uint32_t length, const uint8_t* data, uint16_t id);
// Classify a complete request and queue it when it is served: -> the immediate
// reply byte, or REGLINK_NO_REPLY (queued, or dropped without reply).
constexpr int REGLINK_NO_REPLY = -1;
int regLinkReadRequest(const uint8_t* frame);
int regLinkWriteRequest(const uint8_t* frame);
