#include "cfgdt_if.h"

#include "cdebug.h"
#include "cfgfile.h"
#include "datastore.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filefunc.h"
#include "nozpreset.h"
#include "storage.h"
#include "toolsmisc.h"
#include "vkinfo.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr char kImplementName[] = "KESTROM_SPRAYER";
constexpr char kSystemDescription[] = "KESTROM";
constexpr uint16_t kMinSetupVersion = 100;
constexpr uint32_t kOwnerProcess = 2;
constexpr uint32_t kApplyAlways = 1;
constexpr uint32_t kEntrySectionCount = 13;
constexpr uint32_t kEntryTips = 44;
constexpr uint32_t kEntryFirstPreset = 45;
constexpr uint32_t kEntryPartNumberFlag = 52;
constexpr uint32_t kPartNumberLength = 10;

struct ItemEntry {
    uint32_t entry;
    uint32_t item;
    int32_t defaultValue;
    int32_t divisor;
};

// Entries 0 to 43 and 50, 51, 53 to 56; 52 follows the part number, 44 to 49 are callbacks.
constexpr ItemEntry kItemEntries[] = {
    {0, DS_ALARM_MIN_TANK_CONTENT, 0, 1},
    {1, DS_TANK_MAX_CONTENT, 5000, 0},
    {2, DS_TANK_MIN_CONTENT, 0, 0},
    {3, DS_AUTO_FILL_OFFSET, 0, 0},
    {4, DS_FLOW_SENSOR_PRESENT, 1, 0},
    {5, DS_FILL_FLOW_SENSOR_PRESENT, 0, 0},
    {6, DS_PRESSURE_SENSOR_PRESENT, 0, 0},
    {7, DS_TANK_SENSOR_PRESENT, 0, 0},
    {8, DS_REG_VALVE_TYPE, 1, 0},
    {9, DS_SECTION_VALVE_TYPE, 0, 0},
    {10, DS_VALVE_OPTION_21, 0, 0},
    {11, DS_AUTO_FILLING_ENABLED, 0, 0},
    {12, DS_CIRCULATION_MODE, 0, 0},
    {13, DS_NUMBER_OF_SECTIONS, 9, 0},
    {14, DS_MIN_REG_PRESSURE, 60, 0},
    {15, DS_MAX_REG_PRESSURE, 2500, 0},
    {16, DS_REG_VALVE_TIME, 60, 0},
    {17, DS_MIN_REG_VOLTAGE, 35, 0},
    {18, DS_REG_DEADBAND, 15, 0},
    {19, DS_DEFAULT_VALVE_POSITION, 0, 0},
    {20, DS_REG_VALVE_CAPACITY, 121, 0},
    {21, DS_REG_START_DELAY, 3, 0},
    {22, DS_LOW_FLOW_LIMIT, 100, 0},
    {23, DS_LOW_FLOW_LIMIT_2, 100, 0},
    {24, DS_HIGH_FLOW_LIMIT, 2000, 0},
    {25, DS_HIGH_FLOW_LIMIT_2, 2000, 0},
    {26, DS_FILL_FLOW_CAL_NUMBER, 650000, 0},
    {27, DS_PRESSURE_SENSOR_ZERO, 0, 0},
    {28, DS_PRESSURE_SENSOR_MAX, 2500, 0},
    {29, DS_TANK_CAL_EMPTY, 0, 0},
    {30, DS_TANK_CAL_MIN, 40, 0},
    {31, DS_TANK_CAL_MAX, 1023, 0},
    {32, DS_COARSE_VALVE_CAL, 14, 0},
    {33, DS_FINE_VALVE_CAL, 6, 0},
    {34, DS_TIP_SPACING, 500, 0},
    {35, DS_RESTRICTOR_PLATE_FLOW, 600, 0},
    {36, DS_REG_SETTING_71, 258, 0},
    {37, DS_SPEED_CAL_NUMBER, 0, 0},
    {38, DS_FLOW_CAL_NUMBER, 650000, 0},
    {39, DS_PHYS_SECTION_SWITCHES_CFG, 9, 0},
    {40, DS_KEY_BEEP, 1, 0},
    {41, DS_SETTINGS_PASSWORD, 6048, 0},
    {42, DS_CLEAR_TOTALS_CODE, 2753, 0},
    {43, DS_UNIT_SYSTEM, 0, 0},
    {50, DS_LANGUAGE_ID, 2057, 0},
    {51, DS_TOUCH_OPERATION, 0, 0},
    {54, DS_HW_13_SECTIONS_CFG, 0, 0},
    {55, DS_CROSS_CHECK_PERCENT, 10, 0},
    {56, DS_DISPLAY_RATE_SMOOTHING, 5, 0},
};
constexpr ItemEntry kTurfUnitsEntry = {53, DS_TURF_UNITS, 0, 0};

uint16_t gTips[CFGDT_TIP_TABLE_SIZE];
bool gTipsSet = false;

// Sub-parameters of the file being read, applied once it is accepted.
struct PendingValue {
    uint32_t entry;
    uint32_t sub;
    int32_t value;
};
std::vector<PendingValue> gPending;

uint32_t sectionCount()
{
    return datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
}

// Sections that exist and have a place in the table.
uint32_t usableSections()
{
    const uint32_t count = sectionCount();
    return count < CFGDT_TIP_TABLE_SIZE ? count : CFGDT_TIP_TABLE_SIZE - 1;
}

bool validSection(uint32_t i)
{
    return i < CFGDT_TIP_TABLE_SIZE && i <= sectionCount();
}

void storeTips()
{
    datastoreSetData(DS_BOOM_SECTION_TABLE, gTips);
}

bool sectionSelected(const uint16_t* bitmap, uint32_t i)
{
    return (bitmap[i / 16] >> (i % 16)) & 1u;
}

uint32_t defineItem(const ItemEntry& e)
{
    return cfgFileDefineItemParam(e.entry, e.item, e.defaultValue, e.divisor, kApplyAlways);
}

uint32_t partNumberDefault()
{
    char partNumber[kPartNumberLength + 1] = {};
    if (vkinfoGetItemNumber(partNumber, sizeof partNumber) == 0)
        return cfgdtPartNumberFlagDefault(nullptr);
    partNumber[kPartNumberLength] = '\0';
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "PartNo = %s", partNumber);
    return cfgdtPartNumberFlagDefault(partNumber);
}

void applyTips(uint32_t sub, int32_t value)
{
    int32_t fileSections = 0;
    if (cfgFileGetParamValue(kEntrySectionCount, &fileSections) != 0 &&
        static_cast<uint32_t>(fileSections) != sectionCount())
        datastoreSetUint16(DS_NUMBER_OF_SECTIONS, static_cast<uint16_t>(fileSections));
    cfgdtSetSectionTips(sub, static_cast<uint32_t>(value) & 0xFFFF);
}

void applyPreset(uint32_t preset, uint32_t sub, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value) & 0xFFFF;
    if (sub == 0)
        nozpresetSetNozzleType(preset, v);
    else
        nozpresetSetNozzleSizeIx(preset, v);
}

void applyPending()
{
    for (const PendingValue& pending : gPending) {
        if (pending.entry == kEntryTips)
            applyTips(pending.sub, pending.value);
        else
            applyPreset(pending.entry - kEntryFirstPreset, pending.sub, pending.value);
    }
    gPending.clear();
}

void checkSectionSwitches()
{
    const uint32_t sections = sectionCount();
    const uint32_t switches = datastoreGetUint8(DS_PHYS_SECTION_SWITCHES);
    if (sections <= switches)
        return;
    std::printf("ConfigurationReadIn - Actual boom sections = %u, Physical HW section switches = %u\n\r",
                static_cast<unsigned>(sections), static_cast<unsigned>(switches));
    std::fflush(stdout);
    eventPost(kOwnerProcess, EV_SET_NUMBER_OF_SECTIONS, switches);
}

}  // namespace

std::string cfgdtConfigFilePath()
{
    return pathJoin(clShareDir(), "config", "cfgfile.xml");
}

uint32_t cfgdtPartNumberFlagDefault(const char* partNumber)
{
    if (partNumber == nullptr)
        return 0;
    for (const char* known : {"512-201", "512-202", "512-203", "512-204"}) {
        if (std::strncmp(partNumber, known, kPartNumberLength) == 0)
            return 1;
    }
    return 0;
}

uint32_t ConfigurationSetupInit()
{
    if (cfgFileSetHeader(kImplementName, kSystemDescription, kMinSetupVersion, CFGDT_ENTRY_COUNT) == 0)
        return 0;
    for (const ItemEntry& entry : kItemEntries) {
        if (defineItem(entry) == 0)
            return 0;
    }
    const ItemEntry partNumberFlag = {kEntryPartNumberFlag, DS_PART_NUMBER_FLAG,
                                      static_cast<int32_t>(partNumberDefault()), 0};
    if (defineItem(partNumberFlag) == 0 || defineItem(kTurfUnitsEntry) == 0)
        return 0;
    if (cfgFileDefineCallbackParam(kEntryTips, cfgdtSetSectionTipsParam, cfgdtGetSectionTipsParam, 0) == 0)
        return 0;
    for (uint32_t preset = 0; preset < NOZPRESET_COUNT; ++preset) {
        if (cfgFileDefineCallbackParam(kEntryFirstPreset + preset, cfgdtSetNozzlePresetParam,
                                       cfgdtGetNozzlePresetParam, preset) == 0)
            return 0;
    }
    return 1;
}

uint32_t ConfigurationReadIn(uint32_t reason)
{
    if (reason != CFGDT_READ_STARTUP && reason != CFGDT_READ_IMPORT)
        return 0;
    uint32_t result = 0;
    if (ConfigurationSetupInit() != 0) {
        const std::string path = cfgdtConfigFilePath();
        gPending.clear();
        if (cfgFileRead(path.c_str()) != 0) {
            CDEBUG_LOG(CDebugLevel::INF, "cDefault", "file found: %s", path.c_str());
            applyPending();
            result = 1;
        } else if (fileExists(path)) {
            CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "file not accepted!!!: %s", path.c_str());
            removeRegularFile(path);
        } else {
            CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "file not found!!!: %s", path.c_str());
        }
        // Nothing of a refused file reaches the tip table or the presets.
        gPending.clear();
    }
    checkSectionSwitches();
    return result;
}

uint32_t ConfigurationWrite(const char* path)
{
    if (path == nullptr || ConfigurationSetupInit() == 0)
        return 0;
    return cfgFileWrite(path) != 0 ? 1 : 0;
}

void cfgdtInitSectionTips(uint32_t reset)
{
    if (!reset || gTipsSet) {
        datastoreGetData(DS_BOOM_SECTION_TABLE, gTips);
        return;
    }
    for (uint32_t i = 1; i <= usableSections(); ++i)
        gTips[i] = CFGDT_DEFAULT_TIPS;
    storeTips();
}

void cfgdtSetSectionTips(uint32_t i, uint32_t n)
{
    if (!validSection(i))
        return;
    gTips[i] = static_cast<uint16_t>(n);
    storeTips();
    gTipsSet = true;
}

uint16_t cfgdtGetSectionTips(uint32_t i)
{
    return validSection(i) ? gTips[i] : 0;
}

uint16_t cfgdtSumSectionTips(const uint16_t* bitmap)
{
    uint16_t sum = 0;
    for (uint32_t i = 1; bitmap != nullptr && i <= usableSections(); ++i) {
        if (sectionSelected(bitmap, i))
            sum = static_cast<uint16_t>(sum + gTips[i]);
    }
    return sum;
}

uint16_t cfgdtGetSectionWidth(uint32_t i)
{
    return validSection(i) ? static_cast<uint16_t>(gTips[i] * datastoreGetUint16(DS_TIP_SPACING)) : 0;
}

uint32_t cfgdtSumSectionWidth(const uint16_t* bitmap)
{
    const uint32_t spacing = datastoreGetUint16(DS_TIP_SPACING);
    uint32_t sum = 0;
    for (uint32_t i = 1; bitmap != nullptr && i <= usableSections(); ++i) {
        if (sectionSelected(bitmap, i))
            sum += gTips[i] * spacing;
    }
    return sum;
}

uint32_t cfgdtGetSectionTipsParam(uint32_t, uint32_t sub, int32_t* value)
{
    if (value == nullptr || !validSection(sub))
        return 0;
    *value = gTips[sub];
    return 1;
}

uint32_t cfgdtSetSectionTipsParam(uint32_t, uint32_t sub, int32_t value)
{
    if (sub >= CFGDT_TIP_TABLE_SIZE)
        return 0;
    gPending.push_back({kEntryTips, sub, value});
    return 1;
}

uint32_t cfgdtGetNozzlePresetParam(uint32_t preset, uint32_t sub, int32_t* value)
{
    if (value == nullptr || preset >= NOZPRESET_COUNT || sub > 1)
        return 0;
    *value = static_cast<int32_t>(sub == 0 ? nozpresetGetNozzleType(preset) : nozpresetGetNozzleSizeIx(preset));
    return 1;
}

uint32_t cfgdtSetNozzlePresetParam(uint32_t preset, uint32_t sub, int32_t value)
{
    if (preset >= NOZPRESET_COUNT || sub > 1)
        return 0;
    gPending.push_back({kEntryFirstPreset + preset, sub, value});
    return 1;
}
