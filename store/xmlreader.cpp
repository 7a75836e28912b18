#include "xmlreader.h"

#include <cstring>

namespace {

enum class State { Beginning, Prolog, Content, Tag, Start, TextCheck, Text, TextEnd, EndTag, Complete };

// A fixed text field: never holds more than XML_MAX_FIELD characters.
struct Field {
    char text[XML_MAX_FIELD + 1];
    unsigned length;

    void clear() { length = 0; text[0] = '\0'; }
    bool assign(const char* from, unsigned count)
    {
        if (count > XML_MAX_FIELD)
            return false;
        std::memcpy(text, from, count);
        length = count;
        text[count] = '\0';
        return true;
    }
    bool append(const Field& other)
    {
        if (length + other.length > XML_MAX_FIELD)
            return false;
        std::memcpy(text + length, other.text, other.length + 1);
        length += other.length;
        return true;
    }
};

struct Reader {
    Field path;
    Field currentTag;
    Field attributes;
    State state = State::Beginning;
    const char* buffer = nullptr;
    uint32_t length = 0;
    uint32_t position = 0;
    uint32_t tagStart = 0;
    uint32_t textStart = 0;
    uint32_t textEnd = 0;
    const XmlElementHandler* elementHandlers = nullptr;
    uint16_t elementCount = 0;
    const XmlTextHandler* textHandlers = nullptr;
    uint16_t textCount = 0;
};

Reader reader;

// Index of the innermost element's '<' in the path.
unsigned innermostStart()
{
    unsigned i = reader.path.length;
    while (i > 0 && reader.path.text[i - 1] != '<')
        --i;
    return i > 0 ? i - 1 : 0;
}

// Closes the innermost element against the current end tag "</name>".
int pathPop()
{
    if (reader.path.length == 0)
        return XML_END_WITHOUT_OPEN;
    if (reader.path.text[0] != '<')
        return XML_BAD_PATH;
    const unsigned start = innermostStart();
    const char* open = reader.path.text + start;
    const unsigned openLength = reader.path.length - start;
    // "</B>" closes "<B>": the same bytes without the slash.
    const Field& tag = reader.currentTag;
    if (tag.length != openLength + 1 || tag.text[1] != '/' ||
        std::memcmp(tag.text + 2, open + 1, openLength - 1) != 0)
        return XML_END_MISMATCH;
    reader.path.length = start;
    reader.path.text[start] = '\0';
    if (reader.path.length == 0) {
        reader.state = State::Complete;
        return XML_COMPLETE;
    }
    const unsigned parent = innermostStart();
    reader.currentTag.assign(reader.path.text + parent, reader.path.length - parent);
    reader.state = State::Content;
    return -1;
}

bool skipAttribute(unsigned& skip)
{
    skip = 0;
    const Field& attr = reader.attributes;
    if (std::strncmp(attr.text, "skip", 4) != 0)
        return true;
    const char* equals = std::strchr(attr.text, '=');
    if (!equals || equals[1] != '"' || !std::strchr(equals + 2, '"'))
        return true;
    unsigned long value = 0;
    for (const char* digit = equals + 2; *digit >= '0' && *digit <= '9'; ++digit) {
        value = value * 10 + static_cast<unsigned>(*digit - '0');
        if (value > XML_MAX_SKIP)
            return false;
    }
    skip = static_cast<unsigned>(value);
    return true;
}

// Reads the tag that starts at tagStart; returns -1 to go on or a result code.
int readTag()
{
    if (reader.tagStart >= reader.length)
        return XML_INCOMPLETE;
    const char* gt = static_cast<const char*>(
        std::memchr(reader.buffer + reader.tagStart, '>', reader.length - reader.tagStart));
    if (!gt)
        return XML_INCOMPLETE;
    const uint32_t end = static_cast<uint32_t>(gt - reader.buffer);
    const char* tag = reader.buffer + reader.tagStart;
    const unsigned tagLength = end - reader.tagStart + 1;
    reader.position = end + 1;
    if (reader.buffer[end - 1] == '/' && end - 1 > reader.tagStart) {
        reader.state = State::Content;
        return -1;
    }
    const char* blank = static_cast<const char*>(std::memchr(tag, ' ', tagLength));
    if (blank) {
        const unsigned nameLength = static_cast<unsigned>(blank - tag);
        char name[XML_MAX_FIELD + 2];
        if (nameLength + 1 > XML_MAX_FIELD)
            return XML_BAD_PATH;
        std::memcpy(name, tag, nameLength);
        name[nameLength] = '>';
        if (!reader.currentTag.assign(name, nameLength + 1) ||
            !reader.attributes.assign(blank + 1, static_cast<unsigned>(gt - blank - 1)))
            return XML_BAD_PATH;
    } else {
        if (!reader.currentTag.assign(tag, tagLength))
            return XML_BAD_PATH;
        reader.attributes.clear();
    }
    if (tagLength > 1 && tag[1] == '/') {
        reader.state = State::EndTag;
        return -1;
    }
    if (!reader.path.append(reader.currentTag))
        return XML_BAD_PATH;
    unsigned skip = 0;
    if (!skipAttribute(skip))
        return XML_BAD_PATH;
    reader.textStart = end + 1;
    // A payload that reaches past the data is not read: the parse waits for more.
    reader.position = end + 1 + skip;
    reader.state = State::Start;
    return -1;
}

int runStartHandlers()
{
    bool called = false;
    for (uint16_t i = 0; i < reader.elementCount; ++i) {
        const XmlElementHandler& h = reader.elementHandlers[i];
        if (!(h.flags & XML_AT_START) || !xmlPathMatches(h.path, reader.path.text))
            continue;
        called = true;
        if (h.function && h.function() == 0)
            return XML_ABORTED;
    }
    reader.state = called ? State::Content : State::TextCheck;
    return -1;
}

int runEndHandlers()
{
    for (uint16_t i = 0; i < reader.elementCount; ++i) {
        const XmlElementHandler& h = reader.elementHandlers[i];
        if (!(h.flags & XML_AT_END) || !xmlPathMatches(h.path, reader.path.text))
            continue;
        const int closed = pathPop();
        if (closed > 0)
            return closed;
        if (h.function && h.function() == 0)
            return XML_ABORTED;
        // Only the first end handler runs: the element has left the path.
        return closed;
    }
    return pathPop();
}

// Compares the end tag after a text element's text; -1 to go on.
int readTextEnd()
{
    const uint32_t lt = reader.tagStart;
    if (lt + 1 >= reader.length)
        return XML_INCOMPLETE;
    if (reader.buffer[lt + 1] != '/')
        return XML_CHILD_IN_TEXT;
    // currentTag is "<name>": expect "</name>" byte for byte.
    const char* name = reader.currentTag.text + 1;
    const unsigned nameLength = reader.currentTag.length - 1;  // name and '>'
    for (unsigned i = 0; i < nameLength; ++i) {
        const uint32_t at = lt + 2 + i;
        if (at >= reader.length)
            return XML_INCOMPLETE;
        if (reader.buffer[at] != name[i])
            return XML_TEXT_END_MISMATCH;
    }
    reader.position = lt + 2 + nameLength;
    const char* first = reader.buffer + reader.textStart;
    const char* last = reader.buffer + reader.textEnd;
    // An empty text has its last byte one before the first.
    if (reader.textEnd + 1 == reader.textStart)
        last = first - 1;
    for (uint16_t i = 0; i < reader.textCount; ++i) {
        const XmlTextHandler& h = reader.textHandlers[i];
        if (!xmlPathMatches(h.path, reader.path.text))
            continue;
        if (h.function && h.function(first, last, reader.buffer) == 0)
            return XML_ABORTED;
    }
    // The end tag is the element's own: close it.
    char endTag[XML_MAX_FIELD + 2];
    endTag[0] = '<';
    endTag[1] = '/';
    std::memcpy(endTag + 2, name, nameLength);
    if (!reader.currentTag.assign(endTag, nameLength + 2))
        return XML_BAD_PATH;
    return pathPop();
}

int step()
{
    switch (reader.state) {
    case State::Prolog: {
        while (reader.position < reader.length && reader.buffer[reader.position] != '<')
            ++reader.position;
        if (reader.position + 1 >= reader.length)
            return XML_INCOMPLETE;
        if (reader.buffer[reader.position + 1] == '?') {
            const char* gt = static_cast<const char*>(std::memchr(
                reader.buffer + reader.position, '>', reader.length - reader.position));
            if (!gt)
                return XML_INCOMPLETE;
            reader.position = static_cast<uint32_t>(gt - reader.buffer) + 1;
        }
        reader.state = State::Content;
        return -1;
    }
    case State::Content: {
        while (reader.position < reader.length && reader.buffer[reader.position] != '<')
            ++reader.position;
        if (reader.position >= reader.length)
            return XML_INCOMPLETE;
        reader.tagStart = reader.position;
        reader.state = State::Tag;
        return -1;
    }
    case State::Tag:
        return readTag();
    case State::Start:
        return runStartHandlers();
    case State::TextCheck: {
        bool text = false;
        for (uint16_t i = 0; i < reader.textCount && !text; ++i)
            text = xmlPathMatches(reader.textHandlers[i].path, reader.path.text);
        reader.state = text ? State::Text : State::Content;
        return -1;
    }
    case State::Text: {
        if (reader.position >= reader.length)
            return XML_INCOMPLETE;
        const char* lt = static_cast<const char*>(
            std::memchr(reader.buffer + reader.position, '<', reader.length - reader.position));
        if (!lt) {
            reader.position = reader.length;
            return XML_INCOMPLETE;
        }
        reader.tagStart = static_cast<uint32_t>(lt - reader.buffer);
        reader.textEnd = reader.tagStart - 1;
        reader.state = State::TextEnd;
        return -1;
    }
    case State::TextEnd:
        return readTextEnd();
    case State::EndTag:
        return runEndHandlers();
    case State::Complete:
        return XML_COMPLETE;
    case State::Beginning:
        break;
    }
    return XML_BAD_STATE;
}

}  // namespace

bool xmlPathMatches(const char* handlerPath, const char* elementPath)
{
    if (!handlerPath || !elementPath)
        return true;
    const size_t a = std::strlen(handlerPath);
    const size_t b = std::strlen(elementPath);
    if (a == 0 || b == 0)
        return true;
    const size_t tail = a < b ? a : b;
    return std::memcmp(handlerPath + a - tail, elementPath + b - tail, tail) == 0;
}

void xmlReaderReset()
{
    xmlReaderRestart();
    reader.elementHandlers = nullptr;
    reader.elementCount = 0;
    reader.textHandlers = nullptr;
    reader.textCount = 0;
}

void xmlReaderRestart()
{
    reader.state = State::Beginning;
    reader.path.clear();
    reader.currentTag.clear();
    reader.attributes.clear();
    reader.buffer = nullptr;
    reader.length = 0;
    reader.position = 0;
}

int xmlReaderSetElementHandlers(const XmlElementHandler* table, uint16_t count)
{
    reader.elementHandlers = table;
    reader.elementCount = table ? count : 0;
    return 1;
}

int xmlReaderSetTextHandlers(const XmlTextHandler* table, uint16_t count)
{
    reader.textHandlers = table;
    reader.textCount = table ? count : 0;
    return 1;
}

int xmlReaderParse(const char* buffer, uint32_t length)
{
    if (reader.state == State::Beginning) {
        if (!buffer)
            return XML_NO_BUFFER;
        reader.path.clear();
        reader.position = 0;
        reader.buffer = buffer;
        reader.state = State::Prolog;
    }
    // Only the buffer of the first call is used; later calls extend its length.
    reader.length = length;
    for (;;) {
        const int result = step();
        if (result >= 0)
            return result;
    }
}
