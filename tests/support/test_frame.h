#pragma once
// Bytes on the wire of the framed link, as a peer sends them: a frame is the
// command (u16 LE), the payload length, the payload and the 16-bit sum of all
// bytes before it; a status word is its two bytes, low byte first.
#include <cstdint>
#include <initializer_list>
#include <string>

inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

inline std::string frame(uint16_t command, const std::string& payload)
{
    std::string out = bytes({command & 0xFF, command >> 8, static_cast<int>(payload.size())}) + payload;
    uint16_t sum = 0;
    for (char c : out)
        sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
    return out + bytes({sum & 0xFF, sum >> 8});
}

inline std::string statusWord(uint16_t code)
{
    return bytes({code & 0xFF, code >> 8});
}
