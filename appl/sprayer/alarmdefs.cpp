#include "alarmdefs.h"

#include "alarm.h"
#include "datastore.h"

namespace {

constexpr uint32_t kOwnerProcess = 2;

const char* const kNames[ALARM_MAX_ID + 1] = {
    nullptr,
    "SPRAY_NO_FLOW_PULSES",
    "SPRAY_LIQ_ADC_PRESS_LOW",
    "SPRAY_AIR_ADC_PRESS_LOW",
    "SPRAY_CALIB_ERROR",
    "SPRAY_DENSITY_NOT_1",
    "SPRAY_BELOW_MIN_SPEED",
    "SPRAY_WORKING_PRESS_BASED",
    "SPRAY_LOW_FLOW",
    "SPRAY_TANK_ALMOST_EMPTY",
    "SPRAY_ACT_RATE_TOO_LOW",
    "SPRAY_ACT_RATE_TOO_HIGH",
    "SPRAY_MIN_REG_PRESS",
    "SPRAY_MAX_REG_PRESS",
    "SPRAY_PRESS_TOO_LOW",
    "SPRAY_PRESS_TOO_HIGH",
    "SPRAY_PRESS_FLOW_CROSS_CHECK",
    "SPRAY_AIR_PRESS_TOO_LOW",
    "SPRAY_AIR_PRESS_TOO_HIGH",
    "SPRAY_LIQ_PRESS_TOO_LOW",
    "SPRAY_LIQ_PRESS_TOO_HIGH",
    "SPRAY_NO_WHEEL_PULSES",
    "SPRAY_NO_FLOW_PULSES_CAUTION",
    "PRESSURE_REF_CALIB_START",
    "PRESSURE_MAX_CALIB_START",
    "TANK_SENSOR_EMPTY_CALIB_START",
    "TANK_SENSOR_MIN_LEVEL_CALIB_START",
    "TANK_SENSOR_MAX_LEVEL_CALIB_START",
    "TANK_SENSOR_SHAPE_CAL_INFO",
    "TANK_SENSOR_SHAPE_CAL_DONE",
    "WRONG_PASSWORD",
    "WORK_MODE_NOT_POSSIBLE",
    "IN_WORKING_MODE",
    "FILESYSTEM_OUT_OF_MEMORY",
    "FILESYSTEM_SAVE_ERROR",
    "SIMUL_SPEED_IS_ACTIVE",
    "CAN_SPEED_LOST",
    "USE_SWITCHBOX_CONTROLS",
    "SWITCHBOX_SECTIONS_ERROR",
    "OUTPUT_OVERLOADED",
    "CONFIRM_ACTIVE_TRIP_COUNTER",
    "NH3_NO_VQ318_SUPPORT",
    "MISMATCH_SPACING_AND_WIDTH",
    "PAIRING_SWITCHBOX_ERROR",
    "PAIRING_SECTRIX_ERROR",
    "SECTRIX_LOST",
    "SECTRIX_MAN_MODE",
    "SECTRIX_AUTO_MODE",
    "WRONG_HW",
    "SECTIONS_OUTPUT_ERROR",
    "ALARM_MASTER_VALVE_OUTPUT_ERROR",
    "ALARM_FILL_VALVE_OUTPUT_ERROR",
    "ALARM_SUPPLY_VOLTAGE_LOW",
    "ALARM_SWITCH_POWER_LOW",
};

struct AlarmDefinition {
    uint32_t id;
    uint8_t priority;
    uint32_t delayMs;
    uint16_t repeatMs;
    uint32_t enabled;
    uint32_t ackClears;
};

// In id order, except that 33 and 34 come before 32. Alarm 5 takes its enabled
// and acknowledge-clears flags from the NH3 mode instead; 43 and 44 are never defined.
constexpr AlarmDefinition kDefinitions[] = {
    {SPRAY_NO_FLOW_PULSES, 1, 5000, 0, 0, 0},
    {SPRAY_LIQ_ADC_PRESS_LOW, 1, 0, 0, 0, 0},
    {SPRAY_AIR_ADC_PRESS_LOW, 1, 0, 0, 0, 0},
    {SPRAY_CALIB_ERROR, 1, 0, 0, 1, 1},
    {SPRAY_DENSITY_NOT_1, 2, 0, 0, 1, 0},
    {SPRAY_BELOW_MIN_SPEED, 1, 1000, 0, 1, 0},
    {SPRAY_WORKING_PRESS_BASED, 1, 3000, 0, 0, 0},
    {SPRAY_LOW_FLOW, 1, 3000, 0, 0, 0},
    {SPRAY_TANK_ALMOST_EMPTY, 1, 0, 0, 0, 0},
    {SPRAY_ACT_RATE_TOO_LOW, 1, 10000, 0, 0, 0},
    {SPRAY_ACT_RATE_TOO_HIGH, 1, 10000, 0, 0, 0},
    {SPRAY_MIN_REG_PRESS, 1, 1000, 0, 0, 0},
    {SPRAY_MAX_REG_PRESS, 1, 1000, 0, 0, 0},
    {SPRAY_PRESS_TOO_LOW, 1, 3000, 0, 0, 0},
    {SPRAY_PRESS_TOO_HIGH, 1, 3000, 0, 0, 0},
    {SPRAY_PRESS_FLOW_CROSS_CHECK, 1, 5000, 0, 0, 0},
    {SPRAY_AIR_PRESS_TOO_LOW, 1, 30000, 0, 0, 0},
    {SPRAY_AIR_PRESS_TOO_HIGH, 1, 30000, 0, 0, 0},
    {SPRAY_LIQ_PRESS_TOO_LOW, 1, 3000, 0, 0, 0},
    {SPRAY_LIQ_PRESS_TOO_HIGH, 1, 3000, 0, 0, 0},
    {SPRAY_NO_WHEEL_PULSES, 1, 10000, 0, 0, 0},
    {SPRAY_NO_FLOW_PULSES_CAUTION, 1, 0, 0, 0, 0},
    {PRESSURE_REF_CALIB_START, 1, 0, 0, 1, 1},
    {PRESSURE_MAX_CALIB_START, 1, 0, 0, 1, 1},
    {TANK_SENSOR_EMPTY_CALIB_START, 1, 0, 0, 1, 1},
    {TANK_SENSOR_MIN_LEVEL_CALIB_START, 1, 0, 0, 1, 1},
    {TANK_SENSOR_MAX_LEVEL_CALIB_START, 1, 0, 0, 1, 1},
    {TANK_SENSOR_SHAPE_CAL_INFO, 1, 0, 0, 1, 1},
    {TANK_SENSOR_SHAPE_CAL_DONE, 1, 0, 0, 1, 1},
    {WRONG_PASSWORD, 1, 0, 0, 1, 1},
    {WORK_MODE_NOT_POSSIBLE, 8, 0, 500, 1, 0},
    {FILESYSTEM_OUT_OF_MEMORY, 5, 0, 0, 1, 1},
    {FILESYSTEM_SAVE_ERROR, 5, 0, 0, 1, 1},
    {IN_WORKING_MODE, 7, 0, 0, 1, 1},
    {SIMUL_SPEED_IS_ACTIVE, 7, 2000, 0, 1, 1},
    {CAN_SPEED_LOST, 7, 0, 0, 1, 0},
    {USE_SWITCHBOX_CONTROLS, 8, 0, 0, 1, 1},
    {SWITCHBOX_SECTIONS_ERROR, 8, 0, 0, 1, 1},
    {OUTPUT_OVERLOADED, 1, 0, 0, 1, 1},
    {CONFIRM_ACTIVE_TRIP_COUNTER, 9, 0, 0, 1, 1},
    {NH3_NO_VQ318_SUPPORT, 1, 0, 0, 1, 0},
    {MISMATCH_SPACING_AND_WIDTH, 1, 0, 60000, 1, 0},
    {SECTRIX_LOST, 7, 0, 0, 1, 0},
    {SECTRIX_MAN_MODE, 8, 0, 0, 1, 0},
    {SECTRIX_AUTO_MODE, 8, 0, 0, 1, 0},
    {WRONG_HW, 1, 0, 500, 1, 0},
    {SECTIONS_OUTPUT_ERROR, 5, 0, 60000, 1, 0},
    {ALARM_MASTER_VALVE_OUTPUT_ERROR, 5, 0, 60000, 1, 0},
    {ALARM_FILL_VALVE_OUTPUT_ERROR, 5, 0, 60000, 1, 0},
    {ALARM_SUPPLY_VOLTAGE_LOW, 5, 10000, 60000, 1, 0},
    {ALARM_SWITCH_POWER_LOW, 5, 0, 60000, 1, 0},
};

}  // namespace

const char* alarmName(uint32_t id)
{
    return (id >= 1 && id <= ALARM_MAX_ID) ? kNames[id] : nullptr;
}

void processInitAlarms()
{
    alarmInit(kOwnerProcess);
    const uint32_t nh3Mode = datastoreGetBool(DS_NH3_MODE) != 0 ? 1 : 0;
    for (const AlarmDefinition& alarm : kDefinitions) {
        if (alarm.id == SPRAY_DENSITY_NOT_1)
            alarmDefine(alarm.id, alarm.priority, alarm.delayMs, 0, alarm.repeatMs, 0, 1 - nh3Mode, nh3Mode);
        else
            alarmDefine(alarm.id, alarm.priority, alarm.delayMs, 0, alarm.repeatMs, 0, alarm.enabled,
                        alarm.ackClears);
    }
}
