#include "processdebugkeys.h"

#include "debugcon.h"
#include "dsvalue.h"

#include <cstring>

namespace {

// State word: the sequence in the high byte, the characters taken in the low byte.
enum : uint16_t {
    KEYS_IDLE = 0,
    KEYS_MASK = 0x0100,
    KEYS_MODE = 0x0200,
    KEYS_MASK_ALL = 0x0300,
    KEYS_MASK_LOOP = 0x0400,
};

const char* const kMaskPrefix = "dmask";
const char* const kModePrefix = "amode";
const char* const kAllTail = "ll";
const char* const kLoopTail = "oop";

uint16_t gState = KEYS_IDLE;

uint32_t finish()
{
    gState = KEYS_IDLE;
    return 1;
}

uint32_t applyMask(uint16_t mask)
{
    if (mask != debugGetMask()) {
        debugSetMask(mask);
        dsStore(DS_DEBUG_MASK, mask);
    }
    return finish();
}

uint32_t maskSelector(uint32_t ch)
{
    const uint16_t current = debugGetMask();
    switch (ch) {
    case '0': return applyMask(0);
    case '1': return applyMask(current | 0x0001);
    case '2': return applyMask(current | 0x0008);
    case '3': return applyMask(current | 0x0010);
    case 'x': return applyMask(0x8000);
    case 'a': gState = KEYS_MASK_ALL; return 0;
    case 'l': gState = KEYS_MASK_LOOP; return 0;
    default: return finish();
    }
}

// A word after the selector letter: its last letter decides, a wrong middle letter ends it.
uint32_t maskTail(uint32_t ch, const char* tail, uint16_t mask)
{
    const size_t taken = gState & 0xFF;
    const size_t last = std::strlen(tail) - 1;
    if (taken < last) {
        if (ch != static_cast<unsigned char>(tail[taken]))
            return finish();
        ++gState;
        return 0;
    }
    if (ch == static_cast<unsigned char>(tail[last]))
        return applyMask(mask);
    return finish();
}

uint32_t alarmModeFinal(uint32_t ch)
{
    if (ch != 'M' && ch != 'm')
        return finish();
    dsStore(DS_ALARMS_IN_MANUAL_MODE, ch == 'M' ? 1 : 0);
    debugPrintf(0, "Use alarms in manual mode = %d\r\n", static_cast<int>(dsValue(DS_ALARMS_IN_MANUAL_MODE)));
    return finish();
}

// The five-letter start of a sequence; the sixth character goes to `final`.
uint32_t prefix(uint32_t ch, const char* word, uint32_t (*final)(uint32_t))
{
    const size_t taken = gState & 0xFF;
    if (taken == std::strlen(word))
        return final(ch);
    if (ch != static_cast<unsigned char>(word[taken]))
        return finish();
    ++gState;
    return 0;
}

}  // namespace

uint32_t processDebugKeyHandler(uint32_t ch)
{
    switch (gState & 0xFF00) {
    case KEYS_MASK:
        return prefix(ch, kMaskPrefix, maskSelector);
    case KEYS_MODE:
        return prefix(ch, kModePrefix, alarmModeFinal);
    case KEYS_MASK_ALL:
        return maskTail(ch, kAllTail, 0xFFFF);
    case KEYS_MASK_LOOP:
        return maskTail(ch, kLoopTail, static_cast<uint16_t>(debugGetMask() | 0x0002));
    default:
        break;
    }
    if (ch == static_cast<unsigned char>(kMaskPrefix[0])) {
        gState = KEYS_MASK | 1;
        return 0;
    }
    if (ch == static_cast<unsigned char>(kModePrefix[0])) {
        gState = KEYS_MODE | 1;
        return 0;
    }
    return finish();
}
