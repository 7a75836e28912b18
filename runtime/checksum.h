#pragma once
// The additive 8-bit checksum of the serial records (register link, CAN trace,
// identification record): the sum of the bytes, carries dropped.
#include <cstddef>
#include <cstdint>

inline uint8_t checksum8(const uint8_t* data, size_t length)
{
    uint8_t sum = 0;
    for (size_t i = 0; i < length; ++i)
        sum = static_cast<uint8_t>(sum + data[i]);
    return sum;
}
