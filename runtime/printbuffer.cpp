#include "printbuffer.h"

#include "threadfunc.h"

#include <cstdio>
#include <cstring>

namespace {

char gPrintBuffer[PRINT_BUFFER_SIZE];

threadfunc::mutex& printMutex()
{
    static threadfunc::mutex lock;
    return lock;
}

}  // namespace

uint32_t printBufferVWrite(const char* format, va_list arguments, PrintBufferWriter writer, const void* context)
{
    if (format == nullptr || writer == nullptr || std::strlen(format) >= PRINT_MAX_TEXT)
        return 0;
    threadfunc::mutex& lock = printMutex();
    lock.lock();
    uint32_t result = 0;
    const int length = std::vsnprintf(gPrintBuffer, sizeof gPrintBuffer, format, arguments);
    if (length >= 0 && static_cast<size_t>(length) <= PRINT_MAX_TEXT)
        result = writer(context, reinterpret_cast<const uint8_t*>(gPrintBuffer), static_cast<uint16_t>(length));
    lock.unlock();
    return result;
}
