#pragma once
// Device-information files: "@vk_info.xml" and "vr_info.xml" written at
// production and "oem_info.xml" of the machine builder. Read once at start-up;
// the getters give the item number (which selects the application defaults)
// and the ISO 11783 identity with a fixed precedence between the files.
#include <cstddef>
#include <cstdint>

enum VkinfoFile { VKINFO_DEVICE = 0, VKINFO_VR = 1, VKINFO_OEM = 2, VKINFO_FILE_COUNT = 3 };

// Finds the directory, reads the three files, sets and returns the valid flag.
uint32_t vkinfoInit();
// Reads the files when no read has happened yet (the store's migration needs the
// item number before the process start-up reads them); returns the valid flag.
uint32_t vkinfoEnsureRead();
// With a directory: use it (a '/' is appended). With null or "": search the list.
uint32_t vkinfoSetFilepath(const char* directory);

uint32_t vkinfoGetItemNumber(char* destination, size_t size);
const char* vkinfoGetItemNumberText();
const char* vkinfoGetOemNameText();
uint32_t vkinfoGetOemName(char* destination, size_t size);
uint32_t vkinfoGetManufacturerCode();
uint32_t vkinfoGetEcuIdNumber();

// Logs one record; prints the summary on the service console.
void DumpFileData(uint32_t index);
void vkinfoDump();

// Read-only view of one record, for the dumps and for tests.
struct DeviceInfoRecord {
    const char* fileName;
    uint32_t minVersion;
    const char* expectedContents;
    uint32_t versionOk;
    uint32_t contentsOk;
    char itemNumber[31];
    char serialText[31];
    int32_t serialLow;
    uint32_t serialHigh;
    int16_t cvpId;
    char oemName[32];
    int16_t manufacturerCode;
    int32_t ecuIdNumber;
};
const DeviceInfoRecord* vkinfoRecord(uint32_t index);
