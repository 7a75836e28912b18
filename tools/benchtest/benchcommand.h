#pragma once
// The three-phase pattern shared by benchtest's handlers: a handler lists its
// commands with the payload length each takes; phases 0 and 1 are answered from
// that list, and phase 2 is the handler's own work.
#include "seriallink.h"

#include <cstddef>
#include <cstdint>

struct BenchCommandLength {
    uint16_t command;
    uint8_t length;
};

enum BenchClaim {
    BENCH_NOT_OURS = 0,  // the handler returns 0
    BENCH_CHECKED = 1,   // phase 0 or 1 answered: the handler returns 1
    BENCH_EXECUTE = 2,   // phase 2: the handler acts and returns 1
};

BenchClaim benchClaim(const BenchRequest& request, BenchReply* reply, const BenchCommandLength* table,
                      size_t count);

// Little-endian payload fields of a request in phase 2 (the length was checked).
uint8_t benchPayload8(const BenchRequest& request, size_t at);
uint16_t benchPayload16(const BenchRequest& request, size_t at);
uint32_t benchPayload32(const BenchRequest& request, size_t at);

// Little-endian fields of a reply payload being built.
void benchPut16(uint8_t* at, uint16_t value);
void benchPut32(uint8_t* at, uint32_t value);

// Executed, answered with the OK status only.
inline void benchDone(BenchReply* reply)
{
    reply->status = BENCH_REPLY_DONE;
}
