#include "dsvcappl.h"

#include <atomic>
#include <cstring>

#include "cdebug.h"
#include "datastore.h"
#include "dsvctrl.h"
#include "vkinfo.h"

const uint32_t dsvcapplSectionMaps[4][DSVCAPPL_SECTION_MAP_WORDS] = {
    {1, 2, 3, 4, 5, 5, 6, 7, 8, 9, 9, 9, 9},
    {1, 2, 3, 4, 4, 5, 6, 6, 7, 8, 9, 9, 9},
    {1, 2, 3, 4, 4, 5, 5, 6, 6, 7, 8, 9, 9},
    {1, 2, 3, 3, 4, 4, 5, 6, 6, 7, 7, 8, 9},
};

namespace {

uint32_t deviceInfoPartNumber(char* partNumber, uint32_t size)
{
    vkinfoEnsureRead();
    return vkinfoGetItemNumber(partNumber, size);
}

DsvcapplPartNumberReader partNumberReader = deviceInfoPartNumber;
std::atomic<DsvcapplCounterSetup> gCounterSetup{nullptr};

// Its result is not used: the migration goes on either way.
void setUpCounter(uint32_t counter)
{
    const DsvcapplCounterSetup setup = gCounterSetup;
    if (setup != nullptr)
        setup(counter);
    else
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "pulse counter %u not set up: no counter set-up registered",
                   counter);
}

void setUint16Range(uint32_t first, uint32_t last, uint16_t value)
{
    for (uint32_t id = first; id <= last; ++id)
        datastoreSetUint16(id, value);
}

uint32_t variantFlag()
{
    char partNumber[DSVCAPPL_PART_NUMBER_SIZE] = {};
    if (partNumberReader(partNumber, sizeof partNumber) == 0)
        return 0;
    partNumber[sizeof partNumber - 1] = '\0';
    return dsvcapplPartNumberFlag(partNumber);
}

} // namespace

void dsvcapplSetPartNumberReader(DsvcapplPartNumberReader reader)
{
    partNumberReader = reader != nullptr ? reader : deviceInfoPartNumber;
}

void dsvcapplRegisterCounterSetup(DsvcapplCounterSetup setup)
{
    gCounterSetup = setup;
}

uint32_t dsvcapplPartNumberFlag(const char* partNumber)
{
    static const char* const variants[] = {"512-201", "512-202", "512-203"};
    for (const char* variant : variants) {
        if (std::strcmp(partNumber, variant) == 0)
            return 1;
    }
    return 0;
}

uint32_t dsvcapplSetDefaultValues(uint32_t prev)
{
    uint32_t initAll = 0;
    if (prev <= 4) {
        initAll = 1;
    } else if (prev < DSVCTRL_VERSION) {
        // Each step brings the image one version further; they run in a row.
        switch (prev) {
        case 5:
            datastoreSetUint16(DS_DAY_STYLE, 1);
            datastoreSetBool(DS_SECTION_ALARM_ENABLED, 1);
            [[fallthrough]];
        case 6:
            datastoreSetBool(DS_TOUCH_OPERATION, 0);
            [[fallthrough]];
        case 7:
            setUint16Range(DS_ALARM_COUNT_OTHER, DS_ALARM_COUNT_49, 0);
            datastoreSetUint8(DS_ALARM_COUNT_STATE, 0);
            [[fallthrough]];
        case 8:
            datastoreSetUint16(DS_IDLE_PRESSURE, 0);
            [[fallthrough]];
        case 9:
            datastoreSetBool(DS_TURF_UNITS, 0);
            [[fallthrough]];
        case 10:
            datastoreSetBool(DS_PART_NUMBER_FLAG, variantFlag());
            [[fallthrough]];
        case 11:
            datastoreSetBool(DS_HW_13_SECTIONS, 0);
            datastoreSetBool(DS_FLOW_PRINTOUT_ENABLED, 0);
            datastoreSetBool(DS_CAN_FLOW_MESSAGES_ENABLED, 0);
            [[fallthrough]];
        case 12:
            setUpCounter(4);
            setUpCounter(6);
            [[fallthrough]];
        default:
            for (uint32_t map = 0; map < 4; ++map) {
                uint8_t bytes[DSVCAPPL_SECTION_MAP_WORDS * 4];
                for (uint32_t word = 0; word < DSVCAPPL_SECTION_MAP_WORDS; ++word) {
                    const uint32_t v = dsvcapplSectionMaps[map][word];
                    for (uint32_t b = 0; b < 4; ++b)
                        bytes[word * 4 + b] = static_cast<uint8_t>(v >> (8 * b));
                }
                datastoreSetData(DS_SECTION_SWITCH_MAP_1 + map, bytes);
            }
            datastoreSetUint16(DS_ALARM_LOG_VALUE, 0);
            break;
        }
    }
    // A store migration is rare and worth seeing in every log.
    CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "PrevVer: %u, CurVer: %u, InitAll: %s", prev,
               static_cast<unsigned>(DSVCTRL_VERSION), initAll != 0 ? "Yes" : "No");
    return initAll;
}

uint16_t dsvcapplValidateUint16(uint32_t id, uint16_t min, uint16_t max, uint16_t def, uint32_t force)
{
    return datastoreGetUint16Checked(id, min, max, def, force);
}

uint32_t dsvcapplValidateUint32(uint32_t id, uint32_t min, uint32_t max, uint32_t def, uint32_t force)
{
    return datastoreGetUint32Checked(id, min, max, def, force);
}

uint8_t dsvcapplValidateUint8(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force)
{
    return datastoreGetUint8Checked(id, min, max, def, force);
}

void dsvcapplValidateBool(uint32_t id, uint32_t def, uint32_t force)
{
    datastoreGetBoolChecked(id, def, force);
}
