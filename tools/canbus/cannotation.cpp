#include "cannotation.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parseHex(const std::string& text, canid_t& value)
{
    value = 0;
    for (char c : text) {
        const int digit = hexValue(c);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<canid_t>(digit);
    }
    return !text.empty();
}

bool parseIdentifier(const std::string& text, canid_t& canId)
{
    canid_t value = 0;
    if (!parseHex(text, value))
        return false;
    if (text.size() == 3) {
        canId = value & CAN_SFF_MASK;
        return value <= CAN_SFF_MASK;
    }
    if (text.size() != 8)
        return false;
    if (value & CAN_ERR_FLAG) {
        canId = (value & CAN_ERR_MASK) | CAN_ERR_FLAG;
        return (value & (CAN_EFF_FLAG | CAN_RTR_FLAG)) == 0;
    }
    canId = (value & CAN_EFF_MASK) | CAN_EFF_FLAG;
    return (value & ~CAN_EFF_MASK) == 0;
}

bool parseData(const std::string& text, struct can_frame& frame)
{
    size_t pos = 0;
    while (pos < text.size() && text[pos] != '_') {
        if (text[pos] == '.') {
            ++pos;
            continue;
        }
        if (frame.can_dlc >= CAN_MAX_DLEN || pos + 1 >= text.size())
            return false;
        const int high = hexValue(text[pos]);
        const int low = hexValue(text[pos + 1]);
        if (high < 0 || low < 0)
            return false;
        frame.data[frame.can_dlc++] = static_cast<__u8>(high * 16 + low);
        pos += 2;
    }
    if (pos == text.size())
        return true;
    // "_X": a raw length code of 9 to 15, only after all eight data bytes.
    if (frame.can_dlc != CAN_MAX_DLEN || pos + 2 != text.size())
        return false;
    const int code = hexValue(text[pos + 1]);
    if (code <= CAN_MAX_DLEN)
        return false;
    frame.can_dlc = static_cast<__u8>(code);
    return true;
}

}  // namespace

bool canNotationParse(const std::string& text, struct can_frame& frame)
{
    std::memset(&frame, 0, sizeof frame);
    const size_t hash = text.find('#');
    if (hash == std::string::npos || !parseIdentifier(text.substr(0, hash), frame.can_id))
        return false;
    const std::string rest = text.substr(hash + 1);
    if (!rest.empty() && (rest[0] == 'R' || rest[0] == 'r')) {
        if (frame.can_id & CAN_ERR_FLAG)
            return false;
        frame.can_id |= CAN_RTR_FLAG;
        if (rest.size() == 1)
            return true;
        if (rest.size() != 2 || rest[1] < '0' || rest[1] > '8')
            return false;
        frame.can_dlc = static_cast<__u8>(rest[1] - '0');
        return true;
    }
    return parseData(rest, frame);
}

std::string canNotationFormat(const struct can_frame& frame)
{
    char text[64];
    int length = 0;
    if (frame.can_id & CAN_ERR_FLAG)
        length = std::snprintf(text, sizeof text, "%08X#", (frame.can_id & CAN_ERR_MASK) | CAN_ERR_FLAG);
    else if (frame.can_id & CAN_EFF_FLAG)
        length = std::snprintf(text, sizeof text, "%08X#", frame.can_id & CAN_EFF_MASK);
    else
        length = std::snprintf(text, sizeof text, "%03X#", frame.can_id & CAN_SFF_MASK);
    std::string result(text, static_cast<size_t>(length));
    const int shown = frame.can_dlc > CAN_MAX_DLEN ? CAN_MAX_DLEN : frame.can_dlc;
    if (frame.can_id & CAN_RTR_FLAG) {
        result += 'R';
        if (shown > 0)
            result += static_cast<char>('0' + shown);
        return result;
    }
    for (int i = 0; i < shown; ++i) {
        std::snprintf(text, sizeof text, "%02X", frame.data[i]);
        result += text;
    }
    if (frame.can_dlc > CAN_MAX_DLEN) {
        std::snprintf(text, sizeof text, "_%X", frame.can_dlc & 0xF);
        result += text;
    }
    return result;
}
