#include "cfgfile.h"

#include "datastore.h"
#include "filedesc.h"
#include "filefunc.h"
#include "mempool.h"
#include "xmlreader.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t IMPLEMENT_NAME_MAX = 32;
constexpr size_t SYSTEM_DESCRIPTION_MAX = 64;
constexpr size_t SETUP_VERSION_MAX = 12;
constexpr size_t TEXT_FIELD_MAX = 32;
constexpr uint32_t WRITE_BUFFER_SIZE = 102400;
constexpr size_t LINE_BUFFER_SIZE = 256;

const char FILE_VERSION[] = "1.0.0";
const char FILE_CONTENTS[] = "VELMAR STANDARD CONFIGURATION DATA";

struct Entry {
    bool defined;
    uint32_t itemId;
    int32_t valueRead;
    int32_t defaultValue;
    int32_t scale;
    uint32_t applyMode;
    uint8_t isRead;
    CfgSetSubParam setSubParam;
    CfgGetSubParam getSubParam;
    uint32_t callbackArg;
};

// A number read from the file, with whether it was present and fitted its field.
struct Number {
    int64_t value;
    bool present;
};

struct Context {
    std::string implementName;
    std::string systemDescription;
    uint16_t minSetupVersion = 0;
    std::vector<Entry> table;
    std::string setupVersion;
    std::string changeId;
    std::string descriptionAtMmi;
    std::string changeIdRead;
    std::string descriptionRead;

    bool versionMatched;
    bool contentsMatched;
    bool implementMatched;
    bool descriptionMatched;
    bool applicationAccepted;
    bool setupVersionAccepted;

    bool headerToggle;
    bool applicationsToggle;
    bool applicationToggle;
    bool paramToggle;

    Number paramId;
    Number paramData;
    Number subId;
    Number subData;
    bool subParamsHandled;
};

Context ctx;

bool beginsWith(const char* first, const char* last, const std::string& expected)
{
    const size_t length = xmlTextLength(first, last);
    return length >= expected.size() && std::memcmp(first, expected.data(), expected.size()) == 0;
}

std::string firstBytes(const char* first, const char* last, size_t limit)
{
    const size_t length = xmlTextLength(first, last);
    return std::string(first, length < limit ? length : limit);
}

// Decimal number of at most maxLength bytes within [low, high]; otherwise not present.
Number readNumber(const char* first, const char* last, size_t maxLength, int64_t low, int64_t high)
{
    const size_t length = xmlTextLength(first, last);
    if (length > maxLength)
        return {0, false};
    char digits[32];
    std::memcpy(digits, first, length);
    digits[length] = '\0';
    errno = 0;
    const long long value = std::strtoll(digits, nullptr, 10);
    if (errno == ERANGE || value < low || value > high)
        return {0, false};
    return {value, true};
}

void clearParam()
{
    ctx.paramId.present = false;
    ctx.paramData.present = false;
}

void clearSubParam()
{
    ctx.subId.present = false;
    ctx.subData.present = false;
}

bool headerComplete()
{
    return ctx.versionMatched && ctx.contentsMatched && ctx.applicationAccepted &&
           ctx.setupVersionAccepted;
}

float itemLimit(uint32_t bits)
{
    float limit;
    std::memcpy(&limit, &bits, sizeof limit);
    return limit;
}

// ---- element handlers: each runs at the start and at the end tag ----

int onHeader()
{
    ctx.headerToggle = !ctx.headerToggle;
    return ctx.headerToggle || (ctx.versionMatched && ctx.contentsMatched);
}

int onApplications()
{
    ctx.applicationsToggle = !ctx.applicationsToggle;
    return ctx.applicationsToggle || ctx.applicationAccepted;
}

int onApplication()
{
    ctx.applicationToggle = !ctx.applicationToggle;
    if (ctx.applicationToggle)
        return 1;
    if (ctx.implementMatched && ctx.descriptionMatched) {
        ctx.applicationAccepted = true;
    } else {
        ctx.implementMatched = false;
        ctx.descriptionMatched = false;
    }
    return 1;
}

int onParam()
{
    if (!headerComplete())
        return 0;
    ctx.paramToggle = !ctx.paramToggle;
    if (ctx.paramToggle)
        return 1;
    if (ctx.paramId.present && ctx.paramData.present && ctx.paramId.value < int64_t(ctx.table.size())) {
        Entry& entry = ctx.table[size_t(ctx.paramId.value)];
        int64_t value = ctx.paramData.value;
        if (entry.scale != 0)
            value *= entry.scale;
        const float lower = itemLimit(datastoreGetMin(entry.itemId));
        const float upper = itemLimit(datastoreGetMax(entry.itemId));
        bool accepted = value >= INT32_MIN && value <= INT32_MAX;
        if (accepted && lower != 0.0f && upper != 0.0f) {
            const float asFloat = static_cast<float>(static_cast<int32_t>(value));
            accepted = lower <= asFloat && asFloat <= upper;
        }
        if (accepted) {
            entry.valueRead = static_cast<int32_t>(value);
            entry.isRead = 1;
        } else {
            entry.isRead = 0;
        }
    }
    clearParam();
    ctx.subParamsHandled = false;
    return 1;
}

int onSubParam()
{
    if (!headerComplete())
        return 0;
    ctx.paramToggle = !ctx.paramToggle;
    if (!ctx.paramToggle)
        return 1;
    if (!ctx.paramId.present && !ctx.subParamsHandled) {
        clearSubParam();
        return 1;
    }
    if (ctx.subId.present && ctx.subData.present && ctx.paramId.value < int64_t(ctx.table.size())) {
        Entry& entry = ctx.table[size_t(ctx.paramId.value)];
        if (entry.setSubParam) {
            entry.isRead = entry.setSubParam(entry.callbackArg, uint32_t(ctx.subId.value),
                                             static_cast<int32_t>(ctx.subData.value)) != 0;
            ctx.subParamsHandled = true;
        }
        clearParam();
    } else {
        clearParam();
        ctx.subParamsHandled = false;
    }
    clearSubParam();
    return 1;
}

// ---- text handlers ----

int onVersion(const char* first, const char* last, const char*)
{
    ctx.versionMatched = beginsWith(first, last, FILE_VERSION);
    return 1;
}

int onContents(const char* first, const char* last, const char*)
{
    ctx.contentsMatched = beginsWith(first, last, FILE_CONTENTS);
    return 1;
}

int onDescription(const char* first, const char* last, const char*)
{
    ctx.descriptionRead = firstBytes(first, last, TEXT_FIELD_MAX);
    return 1;
}

int onImplementName(const char* first, const char* last, const char*)
{
    ctx.implementMatched = beginsWith(first, last, ctx.implementName);
    return 1;
}

int onSystemDescription(const char* first, const char* last, const char*)
{
    ctx.descriptionMatched = beginsWith(first, last, ctx.systemDescription);
    return 1;
}

int onSetupVersion(const char* first, const char* last, const char*)
{
    if (xmlTextLength(first, last) > SETUP_VERSION_MAX)
        return 0;
    uint64_t number = 0;
    for (const char* p = first; p <= last; ++p)
        if (*p >= '0' && *p <= '9')
            number = number * 10 + uint64_t(*p - '0');
    if (number < ctx.minSetupVersion)
        return 0;
    ctx.setupVersionAccepted = true;
    return 1;
}

int onChangeId(const char* first, const char* last, const char*)
{
    ctx.changeIdRead = firstBytes(first, last, TEXT_FIELD_MAX);
    return 1;
}

int onParamId(const char* first, const char* last, const char*)
{
    ctx.paramId = readNumber(first, last, 11, 0, UINT16_MAX);
    return 1;
}

int onParamData(const char* first, const char* last, const char*)
{
    ctx.paramData = readNumber(first, last, 11, INT32_MIN, INT32_MAX);
    return 1;
}

int onSubParamId(const char* first, const char* last, const char*)
{
    ctx.subId = readNumber(first, last, 19, 0, UINT16_MAX);
    return 1;
}

int onSubParamData(const char* first, const char* last, const char*)
{
    ctx.subData = readNumber(first, last, 19, INT32_MIN, UINT32_MAX);
    return 1;
}

const XmlElementHandler elementHandlers[] = {
    {"<FILE><HEADER>", onHeader, XML_AT_START | XML_AT_END},
    {"<FILE><SUPPORTED_APPLICATIONS>", onApplications, XML_AT_START | XML_AT_END},
    {"<FILE><SUPPORTED_APPLICATIONS><APPLICATION>", onApplication, XML_AT_START | XML_AT_END},
    {"<FILE><SETUP><PARAM>", onParam, XML_AT_START | XML_AT_END},
    {"<FILE><SETUP><PARAM><SUB_PARAM>", onSubParam, XML_AT_START | XML_AT_END},
};

const XmlTextHandler textHandlers[] = {
    {"<FILE><HEADER><VERSION>", onVersion},
    {"<FILE><HEADER><CONTENTS>", onContents},
    {"<FILE><HEADER><DESCRIPTION_AT_MMI>", onDescription},
    {"<FILE><SUPPORTED_APPLICATIONS><APPLICATION><IMPLEMENT_NAME>", onImplementName},
    {"<FILE><SUPPORTED_APPLICATIONS><APPLICATION><SYSTEM_DESCRIPTION>", onSystemDescription},
    {"<FILE><SETUP><INFO><SETUP_VERSION>", onSetupVersion},
    {"<FILE><SETUP><INFO><CHANGE_ID>", onChangeId},
    {"<FILE><SETUP><PARAM><ID>", onParamId},
    {"<FILE><SETUP><PARAM><DATA>", onParamData},
    {"<FILE><SETUP><PARAM><SUB_PARAM><ID>", onSubParamId},
    {"<FILE><SETUP><PARAM><SUB_PARAM><DATA>", onSubParamData},
};

void resetReadState()
{
    for (Entry& entry : ctx.table)
        entry.isRead = 0;
    ctx.versionMatched = ctx.contentsMatched = false;
    ctx.implementMatched = ctx.descriptionMatched = false;
    ctx.applicationAccepted = ctx.setupVersionAccepted = false;
    ctx.headerToggle = ctx.applicationsToggle = ctx.applicationToggle = ctx.paramToggle = false;
    clearParam();
    clearSubParam();
    ctx.subParamsHandled = false;
}

// Reads the whole file into a block of pool 1 and parses it in place.
bool parseFile(const char* path)
{
    const int fd = fileOpenRead(path);
    if (fd < 0)
        return false;
    uint32_t size = 0;
    bool parsed = false;
    if (fileSize(fd, &size) && size <= CFG_MAX_FILE_SIZE) {
        const MemHandle block = memAlloc(size > 0 ? size : 1);
        char* data = static_cast<char*>(memHandleToPtr(block));
        if (data && fileRead(fd, data, size)) {
            resetReadState();
            xmlReaderRestart();
            xmlReaderSetElementHandlers(elementHandlers, sizeof elementHandlers / sizeof elementHandlers[0]);
            xmlReaderSetTextHandlers(textHandlers, sizeof textHandlers / sizeof textHandlers[0]);
            parsed = xmlReaderParse(data, size) == XML_COMPLETE;
        }
        if (block)
            memFree(block);
    }
    fileClose(fd);
    return parsed;
}

void applyValues()
{
    const bool firstRun = datastoreIsFirstRun() != 0;
    for (const Entry& entry : ctx.table) {
        if (!entry.defined)
            continue;
        if (entry.applyMode == CFG_APPLY_ALWAYS || (entry.applyMode == CFG_APPLY_FIRST_RUN && firstRun)) {
            const int32_t value = entry.isRead ? entry.valueRead : entry.defaultValue;
            datastoreSetFromUint32(entry.itemId, static_cast<uint32_t>(value));
        }
    }
}

// The export text, built in one buffer of pool 1; stops for good once full.
class TextBuffer {
public:
    TextBuffer() : mHandle(memCalloc(1, WRITE_BUFFER_SIZE)) {}
    ~TextBuffer()
    {
        if (mHandle)
            memFree(mHandle);
    }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    bool valid() const { return mHandle != 0; }
    bool overflowed() const { return mOverflowed; }
    const char* data() const { return static_cast<const char*>(memHandleToPtr(mHandle)); }
    uint32_t length() const { return mLength; }

    void line(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (mOverflowed)
            return;
        char text[LINE_BUFFER_SIZE];
        va_list args;
        va_start(args, format);
        const int written = std::vsnprintf(text, sizeof text - 2, format, args);
        va_end(args);
        if (written < 0 || size_t(written) >= sizeof text - 2) {
            mOverflowed = true;
            return;
        }
        std::memcpy(text + written, "\n\r", 2);
        const uint32_t length = uint32_t(written) + 2;
        if (mLength + length >= WRITE_BUFFER_SIZE) {
            mOverflowed = true;
            return;
        }
        std::memcpy(static_cast<char*>(memHandleToPtr(mHandle)) + mLength, text, length);
        mLength += length;
    }

private:
    MemHandle mHandle;
    uint32_t mLength = 0;
    bool mOverflowed = false;
};

void writeEntry(TextBuffer& text, uint32_t index, const Entry& entry)
{
    text.line("<PARAM>");
    text.line("<ID>%u</ID>", index);
    if (entry.getSubParam) {
        int32_t value = 0;
        for (uint32_t sub = 0; entry.getSubParam(entry.callbackArg, sub, &value); ++sub) {
            text.line("<SUB_PARAM>");
            text.line("<ID>%u</ID>", sub);
            text.line("<DATA>%d</DATA>", value);
            text.line("</SUB_PARAM>");
        }
    } else {
        int32_t value = datastoreGetAsInt32(entry.itemId);
        if (entry.scale != 0 && !(value == INT32_MIN && entry.scale == -1))
            value /= entry.scale;
        text.line("<DATA>%d</DATA>", value);
    }
    text.line("</PARAM>");
}

uint32_t copyText(const std::string& text, char* destination, size_t size)
{
    if (!destination || size == 0)
        return 1;
    const size_t length = text.size() < size ? text.size() : size - 1;
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
    return 1;
}

Entry* entryAt(uint32_t index)
{
    return index < ctx.table.size() ? &ctx.table[index] : nullptr;
}

}  // namespace

uint32_t cfgFileSetHeader(const char* implementName, const char* systemDescription,
                          uint16_t minSetupVersion, uint16_t entryCount)
{
    ctx.table.clear();
    if (!implementName || !systemDescription || std::strlen(implementName) > IMPLEMENT_NAME_MAX ||
        std::strlen(systemDescription) > SYSTEM_DESCRIPTION_MAX || entryCount == 0)
        return 0;
    ctx.implementName = implementName;
    ctx.systemDescription = systemDescription;
    ctx.minSetupVersion = minSetupVersion;
    ctx.setupVersion = FILE_VERSION;
    ctx.changeId = FILE_VERSION;
    ctx.descriptionAtMmi = "CFGFILE";
    ctx.table.assign(entryCount, Entry{});
    return 1;
}

uint32_t cfgFileDefineItemParam(uint32_t index, uint32_t itemId, int32_t defaultValue, int32_t scale,
                                uint32_t applyMode)
{
    Entry* entry = entryAt(index);
    if (!entry)
        return 0;
    *entry = Entry{};
    entry->defined = true;
    entry->itemId = itemId;
    entry->defaultValue = defaultValue;
    entry->scale = scale;
    entry->applyMode = applyMode;
    return 1;
}

uint32_t cfgFileDefineCallbackParam(uint32_t index, CfgSetSubParam set, CfgGetSubParam get,
                                    uint32_t argument)
{
    Entry* entry = entryAt(index);
    if (!entry)
        return 0;
    *entry = Entry{};
    entry->defined = true;
    entry->setSubParam = set;
    entry->getSubParam = get;
    entry->callbackArg = argument;
    return 1;
}

uint32_t cfgFileRead(const char* path)
{
    if (ctx.table.empty())
        return 0;
    const bool accepted = path && parseFile(path);
    applyValues();
    return accepted ? 1 : 0;
}

uint32_t cfgFileWrite(const char* path)
{
    if (ctx.table.empty() || !path)
        return 0;
    TextBuffer text;
    if (!text.valid())
        return 0;
    text.line("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    text.line("<FILE>");
    text.line("<HEADER>");
    text.line("<VERSION>%s</VERSION>", FILE_VERSION);
    text.line("<CONTENTS>%s</CONTENTS>", FILE_CONTENTS);
    text.line("<DESCRIPTION_AT_MMI>%s</DESCRIPTION_AT_MMI>", ctx.descriptionAtMmi.c_str());
    text.line("</HEADER>");
    text.line("<SUPPORTED_APPLICATIONS>");
    text.line("<APPLICATION>");
    text.line("<IMPLEMENT_NAME>%s</IMPLEMENT_NAME>", ctx.implementName.c_str());
    text.line("<SYSTEM_DESCRIPTION>%s</SYSTEM_DESCRIPTION>", ctx.systemDescription.c_str());
    text.line("</APPLICATION>");
    text.line("</SUPPORTED_APPLICATIONS>");
    if (text.overflowed())
        return 0;
    text.line("<SETUP>");
    text.line("<INFO>");
    text.line("<SETUP_VERSION>%s</SETUP_VERSION>", ctx.setupVersion.c_str());
    text.line("<CHANGE_ID>%s</CHANGE_ID>", ctx.changeId.c_str());
    text.line("</INFO>");
    for (uint32_t index = 0; index < ctx.table.size(); ++index)
        if (ctx.table[index].defined)
            writeEntry(text, index, ctx.table[index]);
    text.line("</SETUP>");
    text.line("</FILE>");
    if (text.overflowed())
        return 0;
    return fileReplace(path, text.data(), text.length()) ? 1 : 0;
}

uint32_t cfgFileGetParamValue(uint32_t index, int32_t* value)
{
    const Entry* entry = entryAt(index);
    if (!entry || !value)
        return 0;
    *value = entry->isRead ? entry->valueRead : entry->defaultValue;
    return 1;
}

uint32_t cfgFileGetParamDefault(uint32_t index, int32_t* value)
{
    const Entry* entry = entryAt(index);
    if (!entry || !value)
        return 0;
    *value = entry->defaultValue;
    return 1;
}

uint32_t cfgFileIsParamRead(uint32_t index)
{
    const Entry* entry = entryAt(index);
    return entry ? entry->isRead : 0;
}

uint32_t cfgFileGetDescription(char* destination, size_t size)
{
    return copyText(ctx.descriptionRead, destination, size);
}

uint32_t cfgFileGetChangeId(char* destination, size_t size)
{
    return copyText(ctx.changeIdRead, destination, size);
}

uint32_t cfgFileSetSetupVersion(const char* text)
{
    if (!text || std::strlen(text) > SETUP_VERSION_MAX)
        return 0;
    ctx.setupVersion = text;
    return 1;
}

uint32_t cfgFileSetChangeId(const char* text)
{
    if (!text || std::strlen(text) > TEXT_FIELD_MAX)
        return 0;
    ctx.changeId = text;
    return 1;
}

uint32_t cfgFileSetDescription(const char* text)
{
    if (!text || std::strlen(text) > TEXT_FIELD_MAX)
        return 0;
    ctx.descriptionAtMmi = text;
    return 1;
}
