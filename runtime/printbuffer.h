#pragma once
// The one buffer that formatted serial output is built in, shared by every
// thread and every port: a text is formatted and handed on while the buffer is
// held, so two threads never interleave their texts.
#include <cstdarg>
#include <cstdint>

enum : uint32_t {
    PRINT_BUFFER_SIZE = 252,
    PRINT_MAX_TEXT = 250,
};

// Takes the formatted text; its result is the result of the print.
typedef uint32_t (*PrintBufferWriter)(const void* context, const uint8_t* text, uint16_t length);

// A format of PRINT_MAX_TEXT characters or more, or a text longer than
// PRINT_MAX_TEXT characters, writes nothing -> 0; else the writer's result.
uint32_t printBufferVWrite(const char* format, va_list arguments, PrintBufferWriter writer, const void* context);
