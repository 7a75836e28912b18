#include "cantrace.h"

#include "checksum.h"
#include "clock.h"
#include "comport.h"
#include "debugcon.h"
#include "threadfunc.h"

#include <cstdio>

namespace {

// Skipping state of one trace.
struct TraceSkip {
    uint32_t skipping = 0;
    uint16_t txSkipped = 0;
    uint16_t rxSkipped = 0;
    uint16_t threshold = 0;
};

TraceSkip gBinary;
TraceSkip gText;

// Frame hooks run on the receive thread and on every sending thread.
threadfunc::mutex& traceMutex()
{
    static threadfunc::mutex lock;
    return lock;
}

void startSkipping(TraceSkip& skip, uint32_t port, uint32_t margin)
{
    const uint32_t pending = comportTxPending(port);
    skip.skipping = 1;
    skip.threshold = static_cast<uint16_t>(pending > margin ? pending - margin : 0);
}

// While skipping: counts the frame and decides whether it may be traced now;
// sendReport sends the skip record or line.
template <typename SendReport>
bool mayTrace(TraceSkip& skip, uint32_t port, uint32_t transmitted, SendReport sendReport)
{
    if (!skip.skipping)
        return true;
    if (transmitted)
        ++skip.txSkipped;
    else
        ++skip.rxSkipped;
    if (comportTxPending(port) > skip.threshold)
        return false;
    if (!sendReport())
        return false;
    skip.skipping = 0;
    skip.txSkipped = 0;
    skip.rxSkipped = 0;
    return true;
}

size_t buildBinary(const CanFrame& frame, uint32_t transmitted, uint32_t now, uint8_t* out)
{
    const uint8_t n = frame.dlc <= 8 ? frame.dlc : 8;
    size_t pos = 0;
    out[pos++] = 0x02;
    out[pos++] = 0x03;
    out[pos++] = static_cast<uint8_t>((frame.extended ? 9 : 7) + n);
    for (int i = 0; i < 4; ++i)
        out[pos++] = static_cast<uint8_t>(now >> (8 * i));
    out[pos++] = static_cast<uint8_t>(n | (frame.extended ? 0x10 : 0) | (transmitted ? 0x20 : 0));
    const int idBytes = frame.extended ? 4 : 2;
    for (int i = 0; i < idBytes; ++i)
        out[pos++] = static_cast<uint8_t>(frame.id >> (8 * i));
    for (uint8_t i = 0; i < n; ++i)
        out[pos++] = frame.data[i];
    out[pos] = checksum8(out, pos);
    return pos + 1;
}

}  // namespace

void debugCanTraceBinary(const CanFrame* frame, uint32_t transmitted, uint32_t)
{
    if (frame == nullptr)
        return;
    const uint32_t port = debugGetPort();
    threadfunc::mutex& lock = traceMutex();
    lock.lock();
    auto sendSkipRecord = [port]() {
        uint8_t record[8] = {0x02, 0x04, 0x04,
                             static_cast<uint8_t>(gBinary.rxSkipped),
                             static_cast<uint8_t>(gBinary.rxSkipped >> 8),
                             static_cast<uint8_t>(gBinary.txSkipped),
                             static_cast<uint8_t>(gBinary.txSkipped >> 8), 0};
        record[7] = checksum8(record, 7);
        return comportWrite(port, record, sizeof record) != 0;
    };
    if (mayTrace(gBinary, port, transmitted, sendSkipRecord)) {
        uint8_t record[24];
        const size_t length = buildBinary(*frame, transmitted, clockGetMs(), record);
        if (!comportWrite(port, record, static_cast<uint16_t>(length)))
            startSkipping(gBinary, port, 30);
    }
    lock.unlock();
}

void debugCanTraceText(const CanFrame* frame, uint32_t transmitted, uint32_t)
{
    if (frame == nullptr)
        return;
    const uint32_t port = debugGetPort();
    const uint32_t now = clockGetMs();
    threadfunc::mutex& lock = traceMutex();
    lock.lock();
    auto sendSkipLine = [port, now]() {
        return comportPrintf(port, 0, "%8lu Frames skipped: Rx: %u, Tx: %u\n",
                             static_cast<unsigned long>(now), gText.rxSkipped,
                             gText.txSkipped) != 0;
    };
    if (mayTrace(gText, port, transmitted, sendSkipLine)) {
        char line[64];
        int length = std::snprintf(line, sizeof line, "%8lu %s %8lX",
                                   static_cast<unsigned long>(now), transmitted ? "Tx" : "Rx",
                                   static_cast<unsigned long>(frame->id));
        const uint8_t n = frame->dlc <= 8 ? frame->dlc : 8;
        for (uint8_t i = 0; i < n; ++i)
            length += std::snprintf(line + length, sizeof line - length, " %02X", frame->data[i]);
        length += std::snprintf(line + length, sizeof line - length, "\n");
        if (!comportWrite(port, reinterpret_cast<const uint8_t*>(line),
                          static_cast<uint16_t>(length)))
            startSkipping(gText, port, 150);
    }
    lock.unlock();
}
