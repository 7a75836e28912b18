#include "vkinfo.h"

#include "cdebug.h"
#include "debugout.h"
#include "cfilefunc.h"
#include "filedesc.h"
#include "filefunc.h"
#include "sysroot.h"
#include "xmlreader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// The files are a few hundred bytes; anything far larger is not one of them.
constexpr uint32_t MAX_FILE_SIZE = 65536;
const char NO_ITEM_NUMBER[] = "000-000";
const char NO_OEM_NAME[] = "NA";
const char* const CATEGORY = "cInitFile";

DeviceInfoRecord records[VKINFO_FILE_COUNT] = {
    {"@vk_info.xml", 1000000, "VELMAR GENERAL DEVICE INFORMATION", 0, 0, "", "", -1, 0xFFFFFFFFu, -1, "", -1, -1},
    {"vr_info.xml", 1000000, "VELMAR GENERAL DEVICE INFORMATION", 0, 0, "", "", -1, 0xFFFFFFFFu, -1, "", -1, -1},
    {"oem_info.xml", 1000000, "VELMAR GENERAL OEM INFORMATION", 0, 0, "", "", -1, 0xFFFFFFFFu, -1, "", -1, -1},
};

DeviceInfoRecord* current = &records[0];
std::string directoryInUse;  // ends in '/', empty = none
bool haveDirectory = false;
bool customDirectory = false;
uint32_t dataValid = 0;
bool filesRead = false;

void copyField(char* field, size_t capacity, const char* first, const char* last)
{
    size_t length = xmlTextLength(first, last);
    if (length > capacity - 1)
        length = capacity - 1;
    std::memcpy(field, first, length);
    field[length] = '\0';
}

long readDecimal(const char* first, const char* last)
{
    char digits[32];
    copyField(digits, sizeof digits, first, last);
    return std::strtol(digits, nullptr, 10);
}

void resetRecord(DeviceInfoRecord& record)
{
    record.versionOk = 0;
    record.contentsOk = 0;
    std::strcpy(record.itemNumber, NO_ITEM_NUMBER);
    record.serialText[0] = '\0';
    record.serialLow = -1;
    record.serialHigh = 0xFFFFFFFFu;
    record.cvpId = -1;
    std::strcpy(record.oemName, NO_OEM_NAME);
    record.manufacturerCode = -1;
    record.ecuIdNumber = -1;
}

// "N.N.N" and nothing else; false leaves the version unread.
bool parseVersion(const char* first, const char* last, uint32_t& version)
{
    uint32_t parts[3] = {0, 0, 0};
    unsigned part = 0;
    bool digitSeen = false;
    for (const char* p = first; p <= last; ++p) {
        if (*p >= '0' && *p <= '9') {
            parts[part] = static_cast<uint16_t>(parts[part] * 10 + unsigned(*p - '0'));
            digitSeen = true;
        } else if (*p == '.' && digitSeen && part < 2) {
            ++part;
            digitSeen = false;
        } else {
            return false;
        }
    }
    if (part != 2 || !digitSeen)
        return false;
    version = parts[0] * 1000000u + parts[1] * 1000u + parts[2];
    return true;
}

int onVersion(const char* first, const char* last, const char*)
{
    uint32_t version = 0;
    if (parseVersion(first, last, version))
        current->versionOk = version >= current->minVersion;
    return 1;
}

int onContents(const char* first, const char* last, const char*)
{
    const size_t expected = std::strlen(current->expectedContents);
    current->contentsOk = xmlTextLength(first, last) >= expected &&
                          std::memcmp(first, current->expectedContents, expected) == 0;
    return 1;
}

int onItemNumber(const char* first, const char* last, const char*)
{
    if (std::strcmp(current->itemNumber, NO_ITEM_NUMBER) == 0)
        copyField(current->itemNumber, sizeof current->itemNumber, first, last);
    return 1;
}

int onSerialNumber(const char* first, const char* last, const char*)
{
    if (current->serialLow >= 0)
        return 1;
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t lowScale = 1;
    uint32_t highScale = 1;
    unsigned digits = 0;
    for (const char* p = last; p >= first && *p >= '0' && *p <= '9'; --p, ++digits) {
        const uint32_t digit = uint32_t(*p - '0');
        if (digits < 9) {
            low += digit * lowScale;
            lowScale *= 10;
        } else {
            high += digit * highScale;
            highScale *= 10;
        }
    }
    current->serialLow = static_cast<int32_t>(low);
    current->serialHigh = high;
    copyField(current->serialText, sizeof current->serialText, first, last);
    return 1;
}

int onCvpId(const char* first, const char* last, const char*)
{
    if (current->cvpId < 0)
        current->cvpId = static_cast<int16_t>(readDecimal(first, last));
    return 1;
}

int onOemName(const char* first, const char* last, const char*)
{
    copyField(current->oemName, sizeof current->oemName, first, last);
    return 1;
}

int onManufacturerCode(const char* first, const char* last, const char*)
{
    current->manufacturerCode = static_cast<int16_t>(readDecimal(first, last));
    return 1;
}

int onEcuId(const char* first, const char* last, const char*)
{
    current->ecuIdNumber = static_cast<int32_t>(readDecimal(first, last));
    return 1;
}

const XmlTextHandler textHandlers[] = {
    {"<FILE><HEADER><VERSION>", onVersion},
    {"<FILE><HEADER><CONTENTS>", onContents},
    {"<FILE><ECU_INFO><ECU_INFO_OWNER><ITEM_NUMBER>", onItemNumber},
    {"<FILE><ECU_INFO><ECU_INFO_OWNER><SERIAL_NUMBER>", onSerialNumber},
    {"<FILE><ECU_INFO><CVP_ID>", onCvpId},
    {"<FILE><ECU_INFO><ISO11783><OEM_NAME>", onOemName},
    {"<FILE><ECU_INFO><ISO11783><MANUFACTURER_CODE>", onManufacturerCode},
    {"<FILE><ECU_INFO><ISO11783><ECU_ID>", onEcuId},
    {"<FILE><ECU_INFO><ISO11783_ECU_ID><OEM_NAME>", onOemName},
    {"<FILE><ECU_INFO><ISO11783_ECU_ID><MANUFACTURER_CODE>", onManufacturerCode},
    {"<FILE><ECU_INFO><ISO11783_ECU_ID><ID_NUMBER>", onEcuId},
};

std::string searchDirectory(unsigned index)
{
    static const char* const fixed[] = {
        "/usr/local/velmar/storage/share/",
        "/usr/local/velmar/greyfell/data/",
        "/usr/local/velmar/ostrand/data/",
    };
    static const char* const home[] = {
        "~/.velmar/storage/share/",
        "~/.velmar/greyfell/data/",
        "~/.velmar/ostrand/data/",
    };
    return index < 3 ? sysrootPath(fixed[index]) : expandPath(home[index - 3]);
}

// Reads one file into memory and parses it; false when it could not be parsed.
bool parseRecordFile(const std::string& path, bool& opened)
{
    opened = false;
    const int fd = fileOpenRead(path.c_str());
    uint32_t size = 0;
    if (fd < 0 || !fileSize(fd, &size)) {
        if (fd >= 0)
            fileClose(fd);
        CDEBUG_LOG(CDebugLevel::WAR, CATEGORY, "file open failed!!! = %s", path.c_str());
        return false;
    }
    opened = true;
    bool parsed = false;
    if (size <= MAX_FILE_SIZE) {
        std::unique_ptr<char[]> data(new char[size > 0 ? size : 1]);
        if (fileRead(fd, data.get(), size)) {
            xmlReaderRestart();
            xmlReaderSetElementHandlers(nullptr, 0);
            xmlReaderSetTextHandlers(textHandlers, sizeof textHandlers / sizeof textHandlers[0]);
            parsed = xmlReaderParse(data.get(), size) == XML_COMPLETE;
        }
    }
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "filename = %s, size = %d", path.c_str(), int(size));
    fileClose(fd);
    return parsed;
}

const char* validText(uint32_t ok)
{
    return ok ? "Valid    " : "Not valid";
}

}  // namespace

uint32_t vkinfoSetFilepath(const char* directory)
{
    if (customDirectory) {
        CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "nullified");
        customDirectory = false;
        haveDirectory = false;
        directoryInUse.clear();
    }
    if (directory && directory[0] != '\0') {
        directoryInUse = std::string(directory) + "/";
        haveDirectory = true;
        customDirectory = true;
        CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "filepath = %s", directoryInUse.c_str());
        return 1;
    }
    if (haveDirectory)
        return 1;
    for (unsigned i = 0; i < 6 && !haveDirectory; ++i) {
        const std::string candidate = searchDirectory(i);
        for (const DeviceInfoRecord& record : records) {
            if (fileExists(candidate + record.fileName)) {
                directoryInUse = candidate;
                haveDirectory = true;
                break;
            }
        }
    }
    return 1;
}

uint32_t vkinfoInit()
{
    if (!haveDirectory)
        vkinfoSetFilepath(nullptr);
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "@VK_info:");
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "vkinfoInit() filepath: %s", directoryInUse.c_str());
    dataValid = 0;
    uint32_t result = 0;
    for (uint32_t index = 0; index < VKINFO_FILE_COUNT; ++index) {
        current = &records[index];
        resetRecord(*current);
        const std::string path = directoryInUse + current->fileName;
        bool opened = false;
        const bool parsed = parseRecordFile(path, opened);
        if (opened) {
            CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "File index %i, name %s, Parser done: %s", int(index),
                       current->fileName, parsed ? "Ok" : "Error");
            if (index != VKINFO_OEM)
                result = 1;
            if (!parsed || !current->contentsOk || !current->versionOk)
                result = 0;
        }
        CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "File index %i, name %s, path = %s, retval %s", int(index),
                   current->fileName, path.c_str(), result ? "Ok" : "Error");
        DumpFileData(index);
    }
    dataValid = result;
    filesRead = true;
    return dataValid;
}

uint32_t vkinfoEnsureRead()
{
    return filesRead ? dataValid : vkinfoInit();
}

const char* vkinfoGetItemNumberText()
{
    if (std::strcmp(records[VKINFO_VR].itemNumber, NO_ITEM_NUMBER) != 0)
        return records[VKINFO_VR].itemNumber;
    return records[VKINFO_DEVICE].itemNumber;
}

uint32_t vkinfoGetItemNumber(char* destination, size_t size)
{
    if (destination && size > 0) {
        std::strncpy(destination, vkinfoGetItemNumberText(), size - 1);
        destination[size - 1] = '\0';
    }
    return dataValid;
}

const char* vkinfoGetOemNameText()
{
    if (!dataValid)
        return "";
    for (int index = VKINFO_OEM; index >= 0; --index)
        if (std::strcmp(records[index].oemName, NO_OEM_NAME) != 0)
            return records[index].oemName;
    return "";
}

uint32_t vkinfoGetOemName(char* destination, size_t size)
{
    const char* name = vkinfoGetOemNameText();
    const bool found = name[0] != '\0';
    if (destination && size > 0) {
        std::strncpy(destination, found ? name : "---", size - 1);
        destination[size - 1] = '\0';
    }
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "name = %s", found ? name : "---");
    return found ? 1 : 0;
}

uint32_t vkinfoGetManufacturerCode()
{
    if (!dataValid)
        return 0;
    for (int index = VKINFO_OEM; index >= 0; --index)
        if (records[index].manufacturerCode >= 0)
            return uint32_t(records[index].manufacturerCode);
    return 0;
}

uint32_t vkinfoGetEcuIdNumber()
{
    if (!dataValid)
        return 0;
    for (int index = VKINFO_OEM; index >= 0; --index)
        if (records[index].ecuIdNumber >= 0)
            return uint32_t(records[index].ecuIdNumber);
    return 0;
}

const DeviceInfoRecord* vkinfoRecord(uint32_t index)
{
    return index < VKINFO_FILE_COUNT ? &records[index] : nullptr;
}

void DumpFileData(uint32_t index)
{
    if (index >= VKINFO_FILE_COUNT)
        return;
    const DeviceInfoRecord& r = records[index];
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "Data read from %s", r.fileName);
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Version      : %s", validText(r.versionOk));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Contents     : %s", validText(r.contentsOk));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Item Number  : %s", r.itemNumber);
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Serial NumStr: %s", r.serialText);
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Serial Number: %7lu", static_cast<unsigned long>(uint32_t(r.serialLow)));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Serial Number: (OwnerSerNoHi) %lu,  (OwnerSerNo) %09lu",
               static_cast<unsigned long>(r.serialHigh), static_cast<unsigned long>(uint32_t(r.serialLow)));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  Corvane+ Id: %7i", int(r.cvpId));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "  ISO11783 data:");
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "    OEM Name         : %s", r.oemName);
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "    Manufacturer code: %7i", int(r.manufacturerCode));
    CDEBUG_LOG(CDebugLevel::LOG, CATEGORY, "    ECU Id number    : %7li", long(r.ecuIdNumber));
}

void vkinfoDump()
{
    const DeviceInfoRecord& vk = records[VKINFO_DEVICE];
    const DeviceInfoRecord& vr = records[VKINFO_VR];
    const DeviceInfoRecord& oem = records[VKINFO_OEM];
    const DeviceInfoRecord& serialSource = vr.serialLow >= 0 ? vr : vk;
    const unsigned long serialHigh = serialSource.serialLow >= 0 ? serialSource.serialHigh : 0;
    const unsigned long serialLow = serialSource.serialLow >= 0 ? uint32_t(serialSource.serialLow) : 0;
    const int cvp = vr.cvpId >= 0 ? vr.cvpId : (vk.cvpId >= 0 ? vk.cvpId : 0);
    debugPrintf(0, "Data read from @vk_info.xml and oem_info.xml\r\n");
    debugPrintf(0, "  Data         : %s\r\n", validText(dataValid));
    debugPrintf(0, "  Version      : VR: %s, VK: %s, OEM: %s\r\n", validText(vr.versionOk),
                validText(vk.versionOk), validText(oem.versionOk));
    debugPrintf(0, "  Contents     : VR: %s, VK: %s, OEM: %s\r\n", validText(vr.contentsOk),
                validText(vk.contentsOk), validText(oem.contentsOk));
    debugPrintf(0, "  Item Number  : %s\r\n", vkinfoGetItemNumberText());
    debugPrintf(0, "  Serial NumStr: %s\r\n", vr.serialText[0] ? vr.serialText : vk.serialText);
    debugPrintf(0, "  Serial Number: %lu%09lu\r\n", serialHigh, serialLow);
    debugPrintf(0, "  Corvane+ Id: %7u\r\n", unsigned(cvp));
    debugPrintf(0, "  ISO11783 data:\r\n");
    debugPrintf(0, "    OEM Name         : %s\r\n", vkinfoGetOemNameText());
    debugPrintf(0, "    Manufacturer code: %7u\r\n", unsigned(vkinfoGetManufacturerCode()));
    debugPrintf(0, "    ECU Id number    : %7lu\r\n", static_cast<unsigned long>(vkinfoGetEcuIdNumber()));
}
