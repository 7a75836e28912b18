// Feeds arbitrary bytes to the XML reader, once whole and once in growing pieces,
// with handlers on every kind of path so that every state is reached.
#include "xmlreader.h"

#include "fuzz_root.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {
int keepGoing() { return 1; }
int touchText(const char* first, const char* last, const char* buffer)
{
    // Reads every delivered byte so that the sanitizer sees any range outside the input.
    volatile char sink = 0;
    for (const char* p = first; p <= last; ++p)
        sink = static_cast<char>(sink ^ *p);
    return buffer != nullptr;
}
const XmlElementHandler elements[] = {
    {"<FILE><HEADER>", keepGoing, XML_AT_START | XML_AT_END},
    {"<SETUP>", keepGoing, XML_AT_END},
};
const XmlTextHandler texts[] = {
    {"<VERSION>", touchText},
    {"<PARAM>", touchText},
    {"<FILE><HEADER><CONTENTS>", touchText},
};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzUseTemporaryRoot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> copy(data, data + size);
    xmlReaderReset();
    xmlReaderSetElementHandlers(elements, 2);
    xmlReaderSetTextHandlers(texts, 3);
    xmlReaderParse(copy.data(), static_cast<uint32_t>(copy.size()));

    xmlReaderRestart();
    int result = XML_INCOMPLETE;
    for (uint32_t length = 1; length <= copy.size() && result == XML_INCOMPLETE; length += 7)
        result = xmlReaderParse(copy.data(), length);
    return 0;
}
