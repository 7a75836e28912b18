#include "benchcommand.h"

BenchClaim benchClaim(const BenchRequest& request, BenchReply* reply, const BenchCommandLength* table,
                      size_t count)
{
    const BenchCommandLength* entry = nullptr;
    for (size_t i = 0; i < count && !entry; ++i) {
        if (table[i].command == request.command)
            entry = &table[i];
    }
    if (!entry)
        return BENCH_NOT_OURS;
    switch (request.phase) {
    case BENCH_PHASE_CHECK_COMMAND:
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
        return BENCH_CHECKED;
    case BENCH_PHASE_CHECK_LENGTH:
        reply->status = BENCH_REPLY_LENGTH_REFUSED;
        if (request.length == entry->length)
            reply->status = BENCH_REPLY_LENGTH_ACCEPTED;
        return BENCH_CHECKED;
    default:
        return BENCH_EXECUTE;
    }
}

uint8_t benchPayload8(const BenchRequest& request, size_t at)
{
    return request.frame[3 + at];
}

uint16_t benchPayload16(const BenchRequest& request, size_t at)
{
    return static_cast<uint16_t>(benchPayload8(request, at) | (benchPayload8(request, at + 1) << 8));
}

uint32_t benchPayload32(const BenchRequest& request, size_t at)
{
    return static_cast<uint32_t>(benchPayload16(request, at)) |
           (static_cast<uint32_t>(benchPayload16(request, at + 2)) << 16);
}

void benchPut16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void benchPut32(uint8_t* at, uint32_t value)
{
    benchPut16(at, static_cast<uint16_t>(value));
    benchPut16(at + 2, static_cast<uint16_t>(value >> 16));
}
