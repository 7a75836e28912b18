#pragma once
// The configuration data file: the XML exchange format of the installer
// configuration. A parameter table ties each numbered PARAM of the file to a
// datastore item or to a pair of sub-parameter functions of the process core.
// Single-instance module state; reads and writes run one at a time.
#include <cstddef>
#include <cstdint>

typedef uint32_t (*CfgSetSubParam)(uint32_t argument, uint32_t subId, int32_t value);
typedef uint32_t (*CfgGetSubParam)(uint32_t argument, uint32_t subId, int32_t* value);

enum CfgApplyMode : uint32_t {
    CFG_APPLY_NEVER = 0,
    CFG_APPLY_ALWAYS = 1,      // written to the item after every read
    CFG_APPLY_FIRST_RUN = 2,   // written only on the datastore's very first run
};

// Longest file the reader takes; larger files are refused unread.
constexpr uint32_t CFG_MAX_FILE_SIZE = 102400;

uint32_t cfgFileSetHeader(const char* implementName, const char* systemDescription,
                          uint16_t minSetupVersion, uint16_t entryCount);
uint32_t cfgFileDefineItemParam(uint32_t index, uint32_t itemId, int32_t defaultValue, int32_t scale,
                                uint32_t applyMode);
uint32_t cfgFileDefineCallbackParam(uint32_t index, CfgSetSubParam set, CfgGetSubParam get,
                                    uint32_t argument);

// 1 when the whole file was accepted; the apply step runs in every case.
uint32_t cfgFileRead(const char* path);
// 1 when the whole text was written to path (the file is replaced), else 0.
uint32_t cfgFileWrite(const char* path);

uint32_t cfgFileGetParamValue(uint32_t index, int32_t* value);
uint32_t cfgFileGetParamDefault(uint32_t index, int32_t* value);
uint32_t cfgFileIsParamRead(uint32_t index);
uint32_t cfgFileGetDescription(char* destination, size_t size);
uint32_t cfgFileGetChangeId(char* destination, size_t size);
uint32_t cfgFileSetSetupVersion(const char* text);
uint32_t cfgFileSetChangeId(const char* text);
uint32_t cfgFileSetDescription(const char* text);
