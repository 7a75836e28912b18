#include "debugcon.h"

#include "canio.h"
#include "cantrace.h"
#include "cdebug.h"
#include "checksum.h"
#include "comport.h"
#include "kernel.h"

#include <atomic>
#include <cstring>

namespace {

// Letter machine states.
enum LetterState : uint16_t {
    IDLE = 0,
    KEY_HANDLER = 20,
    SERVICE_S = 100,
    SERVICE_SD = 101,
    PING_P = 110,
    PING_PI = 111,
    PING_PIN = 112,
    BAUD_B = 120,
    BAUD_BA = 121,
    BAUD_BAU = 122,
    BAUD_BAUD = 123,
    TRACE_C = 130,
    TRACE_CD = 131,
};

std::atomic<uint32_t> gPort{0};
std::atomic<DebugKeyHandler> gKeyHandler{nullptr};
std::atomic<DebugModeFunction> gModeFunction{nullptr};
std::atomic<DebugServiceFunction> gServiceFunction{nullptr};
uint16_t gIdentWord1 = 0;
uint16_t gIdentWord2 = 0;
uint32_t gIdentValue = 0;
const char* const* gIdentStrings = nullptr;
// Survives between service calls, so a word may be split over several ticks.
uint16_t gLetterState = IDLE;

bool identificationComplete()
{
    return gIdentWord1 != 0 && gIdentWord2 != 0 && gServiceFunction.load() != nullptr;
}

void putU16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void putU32(uint8_t* at, uint32_t value)
{
    putU16(at, static_cast<uint16_t>(value));
    putU16(at + 2, static_cast<uint16_t>(value >> 16));
}

void sendIdentification()
{
    constexpr size_t kStringsEnd = 254;
    constexpr int kMaxStrings = 10;
    uint8_t record[256];
    record[0] = 0x02;
    record[1] = 0x01;
    putU16(record + 3, gIdentWord1);
    putU16(record + 5, gIdentWord2);
    putU32(record + 7, gIdentValue);
    size_t pos = 11;
    for (int i = 0; gIdentStrings && i < kMaxStrings && gIdentStrings[i]; ++i) {
        const size_t length = std::strlen(gIdentStrings[i]) + 1;
        if (pos + length > kStringsEnd)
            break;
        std::memcpy(record + pos, gIdentStrings[i], length);
        pos += length;
    }
    record[2] = static_cast<uint8_t>(pos - 3);
    record[pos] = checksum8(record, pos);
    ++pos;
    comportWrite(gPort, record, static_cast<uint16_t>(pos));
}

uint32_t writeToDebugPort(const uint8_t* data, uint16_t length)
{
    return comportWrite(gPort, data, length);
}

void drainDebugPort()
{
    while (comportTxPending(gPort) != 0)
        kernelDelay(1);
}

constexpr DebugOutput kConsoleOutput = {writeToDebugPort, drainDebugPort};

uint16_t stepLetter(uint16_t state, uint8_t c)
{
    switch (state) {
    case IDLE:
        switch (c) {
        case 'a': return KEY_HANDLER;
        case 'b': return BAUD_B;
        case 'c': return TRACE_C;
        case 'p': return PING_P;
        case 's': return SERVICE_S;
        default: return IDLE;
        }
    case KEY_HANDLER: {
        DebugKeyHandler handler = gKeyHandler;
        if (handler == nullptr || handler(c) != 0)
            return IDLE;
        return KEY_HANDLER;
    }
    case SERVICE_S:
        return c == 'd' ? SERVICE_SD : IDLE;
    case SERVICE_SD:
        if (identificationComplete()) {
            if (c >= '0' && c <= '9')
                debugServiceRequest(static_cast<uint32_t>(c - '0') + 1);
            else if (c == 'i')
                debugServiceRequest(0);
        }
        return IDLE;
    case PING_P:
        return c == 'i' ? PING_PI : IDLE;
    case PING_PI:
        return c == 'n' ? PING_PIN : IDLE;
    case PING_PIN:
        if (c == 'g')
            comportPrintf(gPort, 0, "PING\r\n");
        return IDLE;
    case BAUD_B:
        return c == 'a' ? BAUD_BA : IDLE;
    case BAUD_BA:
        return c == 'u' ? BAUD_BAU : IDLE;
    case BAUD_BAU:
        return c == 'd' ? BAUD_BAUD : IDLE;
    case BAUD_BAUD:
        if (c >= '1' && c <= '5')
            comportOpen(gPort, static_cast<uint32_t>(c - '1') + 3, 3, 2, 0);
        return IDLE;
    case TRACE_C:
        return c == 'd' ? TRACE_CD : IDLE;
    case TRACE_CD:
        if (c == 'e')
            canioSetFrameHook(nullptr);
        else if (c == 't')
            canioSetFrameHook(debugCanTraceText);
        else if (c == 'b')
            canioSetFrameHook(debugCanTraceBinary);
        return IDLE;
    default:
        return IDLE;
    }
}

}  // namespace

void comselectInit(uint32_t port)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "comselectInit com = %d", static_cast<int>(port));
    gPort = port;
    debugSetOutput(&kConsoleOutput);
}

uint32_t debugGetPort()
{
    return gPort;
}

void debugSetKeyHandler(DebugKeyHandler handler)
{
    gKeyHandler = handler;
}

void debugSetModeFunction(DebugModeFunction function)
{
    gModeFunction = function;
}

void debugSetServiceIdentification(uint16_t word1, uint16_t word2, uint32_t value,
                                   const char* const* strings)
{
    gIdentWord1 = word1;
    gIdentWord2 = word2;
    gIdentValue = value;
    gIdentStrings = strings;
}

void debugSetServiceFunction(DebugServiceFunction function)
{
    gServiceFunction = function;
}

void debugServiceRequest(uint32_t index)
{
    if (!identificationComplete())
        return;
    if (index == 0)
        sendIdentification();
    else if (index <= 10)
        gServiceFunction.load()(index - 1, gIdentWord2, gIdentWord1);
}

void debugConsoleService(uint32_t)
{
    const uint32_t mode = debugGetMode();
    if (mode == 2) {
        DebugModeFunction function = gModeFunction;
        if (function)
            function(gPort);
        return;
    }
    if (mode != 0)
        return;
    // Takes what is waiting now; later bytes wait for the next call.
    const uint32_t port = gPort;
    for (uint32_t waiting = comportRxCount(port); waiting > 0; --waiting)
        gLetterState = stepLetter(gLetterState, comportGetByte(port));
}
