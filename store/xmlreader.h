#pragma once
// Event-driven reader for the console's own XML files. It walks a text held in
// memory once, keeps the path of open elements ("<FILE><HEADER>") and calls the
// caller's handlers for registered paths. One reader per process, not reentrant.
#include <cstddef>
#include <cstdint>

// Called at the start and/or end tag of a matching element; 0 aborts the parse.
struct XmlElementHandler {
    const char* path;
    int (*function)();
    uint16_t flags;  // XML_AT_START, XML_AT_END or both
};

// Called with the raw, undecoded text of a matching element: first byte, last
// byte (one before first when empty) and the start of the buffer; 0 aborts.
struct XmlTextHandler {
    const char* path;
    int (*function)(const char* first, const char* last, const char* buffer);
};

// Length of a text handed to a text handler.
inline size_t xmlTextLength(const char* first, const char* last)
{
    return last >= first ? static_cast<size_t>(last - first + 1) : 0;
}

enum : uint16_t { XML_AT_START = 1, XML_AT_END = 2 };

enum XmlResult {
    XML_COMPLETE = 0,
    XML_TEXT_END_MISMATCH = 3,
    XML_CHILD_IN_TEXT = 4,
    XML_NO_BUFFER = 7,
    XML_INCOMPLETE = 8,
    XML_END_WITHOUT_OPEN = 11,
    XML_END_MISMATCH = 13,
    XML_BAD_PATH = 14,
    XML_BAD_STATE = 16,
    XML_ABORTED = 17,
};

// Longest element path, tag or attribute text the reader accepts; longer ones
// and skip values above XML_MAX_SKIP make the document malformed (XML_BAD_PATH).
constexpr unsigned XML_MAX_FIELD = 199;
constexpr unsigned XML_MAX_SKIP = 32767;

void xmlReaderReset();
void xmlReaderRestart();
int xmlReaderSetElementHandlers(const XmlElementHandler* table, uint16_t count);
int xmlReaderSetTextHandlers(const XmlTextHandler* table, uint16_t count);

// Parses until the document is complete or an error. After XML_INCOMPLETE a
// further call with a larger length continues over the buffer of the first call.
int xmlReaderParse(const char* buffer, uint32_t length);

// True when the shorter of the two paths is a tail of the longer; an empty path
// matches everything.
bool xmlPathMatches(const char* handlerPath, const char* elementPath);
