#include "debugout.h"

#include "printbuffer.h"

#include <atomic>

namespace {

std::atomic<const DebugOutput*> gOutput{nullptr};
std::atomic<uint32_t> gMode{0};
std::atomic<uint32_t> gSuppression{0};
std::atomic<uint16_t> gMask{1};

bool gateOpen()
{
    return gMode == 0 && gSuppression == 0;
}

uint32_t writeToOutput(const void* context, const uint8_t* text, uint16_t length)
{
    return static_cast<const DebugOutput*>(context)->write(text, length);
}

}  // namespace

void debugSetOutput(const DebugOutput* output)
{
    gOutput = output;
}

void debugSetMask(uint16_t mask)
{
    gMask = mask;
}

uint16_t debugGetMask()
{
    return gMask;
}

uint32_t debugSetLevel(uint32_t level)
{
    if (level > 2)
        return 0;
    gSuppression = level;
    return 1;
}

void debugSetMode(uint32_t mode)
{
    gMode = mode;
}

uint32_t debugGetMode()
{
    return gMode;
}

bool debugCategoryEnabled(uint32_t category)
{
    return gateOpen() && (category & gMask) != 0;
}

uint32_t debugVPrintf(uint32_t wait, uint32_t category, const char* format, va_list arguments)
{
    if (!debugCategoryEnabled(category))
        return 1;
    const DebugOutput* output = gOutput;
    if (output == nullptr || output->write == nullptr)
        return 0;
    const uint32_t result =
        printBufferVWrite(format, arguments, writeToOutput, output);
    if (wait == 1 && result && output->drain != nullptr)
        output->drain();
    return result;
}

uint32_t debugPrintfCategory(uint32_t wait, uint32_t category, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const uint32_t result = debugVPrintf(wait, category, format, arguments);
    va_end(arguments);
    return result;
}

uint32_t debugPrintf(uint32_t wait, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const uint32_t result = debugVPrintf(wait, 1, format, arguments);
    va_end(arguments);
    return result;
}

uint32_t debugWrite(const uint8_t* data, uint16_t length)
{
    if (!gateOpen())
        return 0;
    const DebugOutput* output = gOutput;
    if (output == nullptr || output->write == nullptr)
        return 0;
    return output->write(data, length) & 0xFF;
}
