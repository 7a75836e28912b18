#include "processvalidate.h"

#include "cdebug.h"
#include "cfgdt_if.h"
#include "dsvalue.h"
#include "dsvcappl.h"
#include "eventids.h"
#include "units.h"

#include <cstring>

namespace {

struct Range {
    uint32_t id;
    uint32_t min;
    uint32_t max;
    uint32_t def;
};

constexpr uint32_t kBoolDefault0[] = {
    DS_DENSITY_TYPE, DS_CORE_FLAG_13, DS_FILL_FLOW_SENSOR_PRESENT, DS_PRESSURE_SENSOR_PRESENT,
    DS_TANK_SENSOR_PRESENT, DS_CORE_FLAG_18, DS_SECTION_VALVE_TYPE, DS_VALVE_OPTION_21,
    DS_AUTO_FILLING_ENABLED, DS_CORE_FLAG_132, DS_NH3_MODE, DS_TOUCH_OPERATION, DS_TURF_UNITS,
    DS_PART_NUMBER_FLAG, DS_FLOW_PRINTOUT_ENABLED, DS_CAN_FLOW_MESSAGES_ENABLED, DS_HW_13_SECTIONS,
    DS_NIGHT_MODE,
};

constexpr uint32_t kBoolDefault1[] = {
    DS_FLOW_SENSOR_PRESENT, DS_REG_VALVE_TYPE, DS_REGULATION_MODE, DS_AUTOMATIC_REGULATION,
    DS_ALARMS_IN_MANUAL_MODE, DS_SECTION_VALVE_BEHAVIOR, DS_METRIC_UNITS, DS_KEY_BEEP,
    DS_SECTION_ALARM_ENABLED,
};

constexpr Range kRanges[] = {
    {DS_LANGUAGE_ID, 0, 65535, 9},
    {DS_DEBUG_LEVEL, 0, 3, 2},
    {DS_CIRCULATION_MODE, 0, 3, 0},
    {DS_CORE_MODE_28, 0, 2, 0},
    {DS_CORE_MODE_29, 0, 4, 2},
    {DS_FLOW_CAL_STATE, 0, 3, 1},
    {DS_FLOW_CAL_METER, 0, 2, 0},
    {DS_NUMBER_OF_SECTIONS, 1, 99, 9},
    {DS_SPRAY_STOP_DELAY_S, 0, 20, 0},
    {DS_TANK_MIN_CONTENT, 0, 1000, 0},
    {DS_AUTO_FILL_OFFSET, 0, 500, 0},
    {DS_MIN_REG_PRESSURE, 0, 200, 60},
    {DS_MAX_REG_PRESSURE, 0, 5000, 2500},
    {DS_REG_VALVE_TIME, 10, 600, 60},
    {DS_MIN_REG_VOLTAGE, 0, 120, 35},
    {DS_REG_DEADBAND, 10, 600, 15},
    {DS_LOW_FLOW_LIMIT, 0, 999, 100},
    {DS_REG_SETTING_42, 0, 200, 0},
    {DS_REG_SETTING_43, 0, 100, 0},
    {DS_DEFAULT_VALVE_POSITION, 0, 100, 0},
    {DS_REG_VALVE_CAPACITY, 0, 999, 121},
    {DS_REG_START_DELAY, 0, 99, 3},
    {DS_MIN_SPEED, 0, 999, 0},
    {DS_CROSS_CHECK_PERCENT, 0, 50, 10},
    {DS_PRESSURE_SENSOR_ZERO, 0, 305, 0},
    {DS_PRESSURE_SENSOR_MAX, 100, 5000, 2500},
    {DS_TANK_CAL_EMPTY, 0, 300, 0},
    {DS_TANK_CAL_MIN, 1, 500, 40},
    {DS_TANK_CAL_MAX, 1, 1023, 1023},
    {DS_SENSOR2_ZERO, 0, 305, 205},
    {DS_SENSOR2_SPAN, 100, 1000, 250},
    {DS_COARSE_VALVE_CAL, 0, 19, 14},
    {DS_FINE_VALVE_CAL, 0, 9, 6},
    {DS_REG_SETTING_64, 0, 199, 199},
    {DS_SETTINGS_PASSWORD, 1000, 9999, 6048},
    {DS_DENSITY_CORRECTION, 800, 2000, 1000},
    {DS_IDLE_PRESSURE, 0, 5000, 0},
    {DS_PHYS_SECTION_SWITCHES, 5, 13, 9},
};

constexpr Range kContentRanges[] = {
    {DS_TANK_MAX_CONTENT, 0, 65000, 5000},
    {DS_DESIRED_CONTENT, 0, 65000, 0},
    {DS_ACTUAL_CONTENT, 0, 65000, 0},
};

constexpr Range kLaterRanges[] = {
    {DS_ALARM_MIN_TANK_CONTENT, 0, 65000, 0},
    {DS_CURRENT_TIP_PRESET, 0, 4, 0},
    {DS_TIP_SPACING, 10, 19999, 500},
    {DS_RESTRICTOR_PLATE_FLOW, 0, 9999, 600},
    {DS_REG_SETTING_71, 0, 9999, 258},
    {DS_BOOST_PERCENT, 10, 190, 100},
    {DS_APPL_RATE_STEP, 1, 20, 5},
    {DS_TANK_CAL_STEPS, 1, 65535, 200},
    {DS_MANUAL_REG_SPEED, 50, 1000, 1000},
    {DS_UNIT_SYSTEM, 0, 2, 0},
    {DS_SIM_SPEED, 0, 999, 0},
    {DS_PREVIOUS_JOB_NUMBER, 0, 9, 0},
    {DS_TARGET_RATE, 0, 65535, 2580},
    {DS_DISPLAY_RATE_SMOOTHING, 0, 25, 5},
    {DS_ACTIVE_SECTIONS, 1, 99, 9},
    {DS_SPEED_CAL_NUMBER_A, 0, SPEED_CAL_NUMBER_VALID_MAX, 0},
    {DS_SPEED_CAL_NUMBER_B, 0, SPEED_CAL_NUMBER_VALID_MAX, 0},
    {DS_SPEED_CAL_NUMBER, 0, SPEED_CAL_NUMBER_VALID_MAX, 0},
    {DS_SPEED_SOURCE, 0, 4, 2},
    {DS_FLOW_CAL_NUMBER, 10000, 4900000, 650000},
    {DS_FILL_FLOW_CAL_NUMBER, 10000, 4900000, 650000},
    {DS_BRIGHTNESS, 25, 100, 80},
    {DS_NIGHT_BRIGHTNESS, 25, 100, 40},
    {DS_DAY_BRIGHTNESS, 25, 100, 80},
    {DS_DAY_STYLE, 0, 5, 0},
    {DS_NIGHT_STYLE, 0, 5, 1},
    {DS_ALARM_LOG_VALUE, 0, 65535, 0},
    {DS_ALARM_COUNT_STATE, 0, 255, 0},
};

enum : uint32_t {
    ALARM_COUNTERS_FIRST = DS_ALARM_COUNT_OTHER,
    ALARM_COUNTERS_LAST = DS_ALARM_COUNT_49,
    CONFIG_READ_AT_START = 334,
    SECTION_BLOCK_WORDS = 7,
    SWITCH_MAPS = 4,
};

// Start values of the volatile items, set at every start.
constexpr Range kVolatile[] = {
    {DS_DIGITAL_INPUT_BITS, 0, 0, 255},
    {225, 0, 0, 0}, {226, 0, 0, 0}, {227, 0, 0, 0}, {228, 0, 0, 0}, {229, 0, 0, 0}, {230, 0, 0, 0},
    {DS_FILLING_FLAG_232, 0, 0, 0}, {DS_SAVED_HOLD_BIT, 0, 0, 0}, {DS_RUN_FLAG_307, 0, 0, 0},
    {233, 0, 0, 0}, {234, 0, 0, 0}, {235, 0, 0, 0},
    {DS_REF_PRESSURE, 0, 0, 50}, {DS_SENSOR2_REFERENCE, 0, 0, 200},
    {238, 0, 0, 0}, {239, 0, 0, 0}, {240, 0, 0, 0}, {241, 0, 0, 0}, {242, 0, 0, 0},
    {DS_BOOST_PERCENT, 0, 0, 100}, {DS_FILL_PROGRESS, 0, 0, 0},
    {DS_CALC_SPEED, 0, 0, 60}, {DS_CALC_PRESSURE, 0, 0, 20},
    {247, 0, 0, 0}, {248, 0, 0, 0}, {249, 0, 0, 0}, {250, 0, 0, 0}, {251, 0, 0, 0}, {252, 0, 0, 0}, {253, 0, 0, 0},
    {DS_ANALOG_INPUT_A, 0, 0, 0}, {DS_ANALOG_INPUT_B, 0, 0, 0},
    {268, 0, 0, 0}, {269, 0, 0, 0}, {270, 0, 0, 0}, {271, 0, 0, 0}, {272, 0, 0, 0}, {273, 0, 0, 0}, {274, 0, 0, 0},
    {DS_LIVE_PRESSURE_2, 0, 0, 0}, {DS_RUN_VALUE_276, 0, 0, 0}, {DS_RUN_VALUE_277, 0, 0, 0},
};

void validateBool(uint32_t id, uint32_t def, uint32_t force)
{
    const uint32_t stored = dsStoredValue(id);
    dsvcapplValidateBool(id, def, force != 0 || stored > 1 ? 1 : 0);
}

// The validator of the item's stored width; a stored value outside the range
// takes the default even where the item's own limits are wider or narrower.
void validate(const Range& range, uint32_t force)
{
    const uint32_t stored = dsStoredValue(range.id);
    if (stored < range.min || stored > range.max)
        force = 1;
    switch (datastoreGetType(range.id)) {
    case DS_TYPE_BOOL:
        validateBool(range.id, range.def, force);
        break;
    case DS_TYPE_UINT8:
    case DS_TYPE_UCHAR:
        dsvcapplValidateUint8(range.id, static_cast<uint8_t>(range.min), static_cast<uint8_t>(range.max),
                              static_cast<uint8_t>(range.def), force);
        break;
    case DS_TYPE_UINT16:
        dsvcapplValidateUint16(range.id, static_cast<uint16_t>(range.min), static_cast<uint16_t>(range.max),
                               static_cast<uint16_t>(range.def), force);
        break;
    default:
        dsvcapplValidateUint32(range.id, range.min, range.max, range.def, force);
        break;
    }
}

void setSectionBlock(uint32_t id, uint16_t word)
{
    uint16_t block[SECTION_BLOCK_WORDS];
    for (uint16_t& w : block)
        w = word;
    datastoreSetData(id, block);
}

void setDefaultSwitchMaps()
{
    for (uint32_t map = 0; map < SWITCH_MAPS; ++map) {
        uint32_t words[DSVCAPPL_SECTION_MAP_WORDS];
        std::memcpy(words, dsvcapplSectionMaps[map], sizeof(words));
        datastoreSetData(DS_SECTION_SWITCH_MAP_1 + map, words);
    }
}

}  // namespace

void ValidateData(uint8_t initAll)
{
    const uint32_t force = initAll != 0 ? 1 : 0;
    for (uint32_t id : kBoolDefault0)
        validateBool(id, 0, force);
    for (uint32_t id : kBoolDefault1)
        validateBool(id, 1, force);
    for (const Range& range : kRanges)
        validate(range, force);

    const bool nh3 = dsStoredValue(DS_NH3_MODE) != 0;
    validateBool(DS_CROP_SPRAYER_MODE, nh3 ? 0 : 1, force);
    validate(nh3 ? Range{DS_DENSITY_FACTOR, 300, 1100, 500} : Range{DS_DENSITY_FACTOR, 800, 2000, 1000}, force);
    validate(nh3 ? Range{DS_SPRAYER_MODE_FACTOR, 1000, 35000, 20000} : Range{DS_SPRAYER_MODE_FACTOR, 1, 200, 100},
             force);
    for (const Range& range : kContentRanges)
        validate(range, force);
    for (const Range& range : kLaterRanges)
        validate(range, force);
    for (uint32_t id = ALARM_COUNTERS_FIRST; id <= ALARM_COUNTERS_LAST; ++id)
        validate(Range{id, 0, 65535, 0}, force);

    if (initAll != 0)
        setDefaultSwitchMaps();

    for (const Range& start : kVolatile)
        dsStore(start.id, start.def);
    setSectionBlock(DS_SECTION_STATE_BLOCK, 0xFFFF);
    setSectionBlock(DS_SECTION_BLOCK_263, 0);

    // Manual regulation shows as bit 0 of the pressure bits.
    const uint32_t bits = dsValue(DS_MANUAL_PRESSURE_BITS);
    dsStore(DS_MANUAL_PRESSURE_BITS, (bits & ~1u) | (dsValue(DS_AUTOMATIC_REGULATION) == 0 ? 1u : 0u));

    unitSetSystem(dsValue(DS_UNIT_SYSTEM));

    if (initAll != 0) {
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "InitAll");
        ConfigurationReadIn(CONFIG_READ_AT_START);
        dsStore(DS_ACTIVE_SECTIONS, dsValue(DS_NUMBER_OF_SECTIONS));
    } else {
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "no InitAll");
    }
    dsStore(DS_RUN_FLAG_327, 0);
    dsStore(DS_RUN_FLAG_328, 0);
}
