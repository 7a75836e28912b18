#include "dscatalogue.h"

#include "dsnvmem.h"
#include "pulsinput.h"

uint32_t dsLoadThroughHook(uint32_t, const void*)
{
    return 0;
}

namespace {

enum Storage : uint32_t { FILE = 0, RAM = 1 };

constexpr uint32_t counterRefreshMs = 10000;

constexpr DsItemDescriptor item(uint32_t id, uint32_t type, float minimum, float maximum, Storage storage,
                      uint32_t event = 0, DsHookFunc hook = nullptr)
{
    DsItemDescriptor d{};
    d.id = id;
    d.type = type;
    d.minimum = minimum;
    d.maximum = maximum;
    d.notPersistent = storage == RAM ? 1 : 0;
    d.backend = storage == RAM ? 0u : uint32_t{DS_NV_STORE_BACKEND};
    d.changeHook = hook;
    d.changeEvent = event;
    return d;
}

constexpr DsItemDescriptor block(uint32_t id, DsSizeFunc size, Storage storage, uint32_t event = 0)
{
    DsItemDescriptor d = item(id, DS_TYPE_BLOCK, 0.0f, 0.0f, storage, event);
    d.sizeFunc = size;
    return d;
}

constexpr DsItemDescriptor counterItem(uint32_t id, uint32_t counter, DsSizeFunc size, DsReadFunc refresh,
                             DsLoadFunc load)
{
    DsItemDescriptor d = item(id, DS_TYPE_RECORD, 0.0f, 0.0f, FILE);
    d.sizeFunc = size;
    d.readOnly = 1;
    d.refreshPeriod = counterRefreshMs;
    d.refreshFunc = refresh;
    d.loadFunc = load;
    d.callbackArg = counter;
    d.hookMode = 1;
    return d;
}

constexpr DsItemDescriptor counterState(uint32_t id, uint32_t counter)
{
    return counterItem(id, counter, pulsDsTripSize, pulsDsGetTrip, pulsDsSetTrip);
}

constexpr DsItemDescriptor counterRecord(uint32_t id, uint32_t counter)
{
    return counterItem(id, counter, pulsDsConfigSize, pulsDsGetCounterConfig, pulsDsSetCounterConfig);
}

// The layout items share the counters' refresh group, without callbacks of their own.
constexpr DsItemDescriptor versionItem(DsItemDescriptor d)
{
    d.refreshPeriod = counterRefreshMs;
    return d;
}

constexpr uint32_t size14(uint32_t) { return 14; }
constexpr uint32_t size30(uint32_t) { return 30; }
constexpr uint32_t size49(uint32_t) { return 49; }
constexpr uint32_t size52(uint32_t) { return 52; }
constexpr uint32_t size198(uint32_t) { return 198; }
constexpr uint32_t size264(uint32_t) { return 264; }
constexpr uint32_t size402(uint32_t) { return 402; }

} // namespace

const DsItemDescriptor dsCatalogue[DS_ITEM_COUNT] = {
    item(0, DS_TYPE_UINT32, 0.0f, 0.0f, FILE), // DS_NVMEM_INIT_MARKER
    versionItem(block(1, size49, FILE)), // DS_APPLICATION_PATH
    versionItem(item(2, DS_TYPE_UINT16, 0.0f, 0.0f, FILE)), // DS_STORE_VERSION
    versionItem(item(3, DS_TYPE_UINT16, 0.0f, 0.0f, FILE)), // DS_STORE_REVISION
    item(4, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_LANGUAGE_ID
    item(5, DS_TYPE_UINT32, 0.0f, 0.0f, FILE, 282 /* EV_ITEM5_CHANGED */), // DS_LINK_VALUE_A
    item(6, DS_TYPE_UINT32, 0.0f, 0.0f, FILE), // DS_LINK_VALUE_B
    item(7, DS_TYPE_UINT32, 0.0f, 0.0f, FILE), // DS_LINK_VALUE_C
    item(8, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_LINK_FLAG
    item(9, DS_TYPE_UINT32, 0.0f, 0.0f, FILE), // DS_LINK_TIME_S
    item(10, DS_TYPE_UINT32, 0.0f, 0.0f, FILE), // DS_LINK_VALUE_D
    item(11, DS_TYPE_UINT16, 0.0f, 0.0f, FILE, 268 /* EV_DEBUG_LEVEL_CHANGED */), // DS_DEBUG_LEVEL
    item(12, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_DENSITY_TYPE
    item(13, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CORE_FLAG_13
    item(14, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_FLOW_SENSOR_PRESENT
    item(15, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_FILL_FLOW_SENSOR_PRESENT
    item(16, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_PRESSURE_SENSOR_PRESENT
    item(17, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_TANK_SENSOR_PRESENT
    item(18, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CORE_FLAG_18
    item(19, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_REG_VALVE_TYPE
    item(20, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_SECTION_VALVE_TYPE
    item(21, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_VALVE_OPTION_21
    item(22, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_AUTO_FILLING_ENABLED
    item(23, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_REGULATION_MODE
    item(24, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_AUTOMATIC_REGULATION
    item(25, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_SECTION_VALVE_BEHAVIOR
    item(26, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_ALARMS_IN_MANUAL_MODE
    item(27, DS_TYPE_UINT16, 0.0f, 3.0f, FILE), // DS_CIRCULATION_MODE
    item(28, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_CORE_MODE_28
    item(29, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_CORE_MODE_29
    item(30, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_FLOW_CAL_STATE
    item(31, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_FLOW_CAL_METER
    item(32, DS_TYPE_UINT16, 1.0f, 99.0f, FILE, 151 /* EV_BOOM_SECTIONS_CHANGED */), // DS_NUMBER_OF_SECTIONS
    item(33, DS_TYPE_UINT16, 0.0f, 20.0f, FILE), // DS_SPRAY_STOP_DELAY_S
    item(34, DS_TYPE_UINT16, 0.0f, 65000.0f, FILE), // DS_TANK_MAX_CONTENT
    item(35, DS_TYPE_UINT16, 0.0f, 1000.0f, FILE), // DS_TANK_MIN_CONTENT
    item(36, DS_TYPE_UINT16, 0.0f, 500.0f, FILE), // DS_AUTO_FILL_OFFSET
    item(37, DS_TYPE_UINT16, 0.0f, 200.0f, FILE), // DS_MIN_REG_PRESSURE
    item(38, DS_TYPE_UINT16, 0.0f, 5000.0f, FILE), // DS_MAX_REG_PRESSURE
    item(39, DS_TYPE_UINT16, 10.0f, 600.0f, FILE), // DS_REG_VALVE_TIME
    item(40, DS_TYPE_UINT16, 0.0f, 120.0f, FILE), // DS_MIN_REG_VOLTAGE
    item(41, DS_TYPE_UINT16, 10.0f, 600.0f, FILE), // DS_REG_DEADBAND
    item(42, DS_TYPE_UINT16, 0.0f, 200.0f, FILE), // DS_REG_SETTING_42
    item(43, DS_TYPE_UINT16, 0.0f, 100.0f, FILE), // DS_REG_SETTING_43
    item(44, DS_TYPE_UINT16, 0.0f, 100.0f, FILE), // DS_DEFAULT_VALVE_POSITION
    item(45, DS_TYPE_UINT16, 0.0f, 999.0f, FILE), // DS_REG_VALVE_CAPACITY
    item(46, DS_TYPE_UINT16, 0.0f, 99.0f, FILE), // DS_REG_START_DELAY
    item(47, DS_TYPE_UINT16, 0.0f, 999.0f, FILE), // DS_MIN_SPEED
    item(48, DS_TYPE_UINT16, 0.0f, 50.0f, FILE), // DS_CROSS_CHECK_PERCENT
    item(49, DS_TYPE_UINT16, 0.0f, 999.0f, FILE), // DS_LOW_FLOW_LIMIT
    item(50, DS_TYPE_UINT16, 0.0f, 999.0f, FILE), // DS_LOW_FLOW_LIMIT_2
    item(51, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_HIGH_FLOW_LIMIT
    item(52, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_HIGH_FLOW_LIMIT_2
    item(53, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_SPARE_53
    item(54, DS_TYPE_UINT16, 0.0f, 305.0f, FILE), // DS_PRESSURE_SENSOR_ZERO
    item(55, DS_TYPE_UINT16, 100.0f, 5000.0f, FILE), // DS_PRESSURE_SENSOR_MAX
    item(56, DS_TYPE_UINT16, 0.0f, 300.0f, FILE), // DS_TANK_CAL_EMPTY
    item(57, DS_TYPE_UINT16, 1.0f, 500.0f, FILE), // DS_TANK_CAL_MIN
    item(58, DS_TYPE_UINT16, 1.0f, 1023.0f, FILE), // DS_TANK_CAL_MAX
    item(59, DS_TYPE_UINT16, 0.0f, 305.0f, FILE), // DS_SENSOR2_ZERO
    item(60, DS_TYPE_UINT16, 100.0f, 1000.0f, FILE), // DS_SENSOR2_SPAN
    item(61, DS_TYPE_UINT16, 0.0f, 65000.0f, FILE), // DS_ALARM_MIN_TANK_CONTENT
    item(62, DS_TYPE_UINT16, 0.0f, 19.0f, FILE), // DS_COARSE_VALVE_CAL
    item(63, DS_TYPE_UINT16, 0.0f, 9.0f, FILE), // DS_FINE_VALVE_CAL
    item(64, DS_TYPE_UINT16, 0.0f, 199.0f, FILE), // DS_REG_SETTING_64
    item(65, DS_TYPE_UINT16, 0.0f, 65000.0f, FILE), // DS_DESIRED_CONTENT
    item(66, DS_TYPE_UINT16, 0.0f, 65000.0f, FILE), // DS_ACTUAL_CONTENT
    item(67, DS_TYPE_UINT16, 0.0f, 0.0f, FILE, 327 /* EV_DENSITY_CHANGED */), // DS_DENSITY_FACTOR
    item(68, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_CURRENT_TIP_PRESET
    item(69, DS_TYPE_UINT16, 10.0f, 19999.0f, FILE, 203 /* EV_NOZZLE_SPACING_CHANGED */), // DS_TIP_SPACING
    item(70, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_RESTRICTOR_PLATE_FLOW
    item(71, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_REG_SETTING_71
    item(72, DS_TYPE_UINT16, 1.0f, 20.0f, FILE), // DS_APPL_RATE_STEP
    item(73, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_TANK_CAL_STEPS
    item(74, DS_TYPE_UINT16, 0.0f, 0.0f, FILE, 0, pulsupdtNewFlowCalCorr), // DS_SPRAYER_MODE_FACTOR
    item(75, DS_TYPE_UINT16, 50.0f, 1000.0f, FILE), // DS_MANUAL_REG_SPEED
    block(76, size30, FILE), // DS_TIP_PRESET_TABLE
    block(77, size198, FILE), // DS_BOOM_SECTION_TABLE
    counterState(78, 14), // DS_COUNTER_14_STATE
    counterState(79, 15), // DS_COUNTER_15_STATE
    counterState(80, 16), // DS_COUNTER_16_STATE
    counterState(81, 17), // DS_COUNTER_17_STATE
    counterState(82, 18), // DS_COUNTER_18_STATE
    counterState(83, 19), // DS_COUNTER_19_STATE
    counterState(84, 5), // DS_COUNTER_5_STATE
    counterState(85, 6), // DS_COUNTER_6_STATE
    counterState(86, 7), // DS_COUNTER_7_STATE
    counterState(87, 8), // DS_COUNTER_8_STATE
    counterState(88, 9), // DS_COUNTER_9_STATE
    counterState(89, 20), // DS_COUNTER_20_STATE
    counterState(90, 21), // DS_COUNTER_21_STATE
    counterState(91, 22), // DS_COUNTER_22_STATE
    counterRecord(92, 1), // DS_COUNTER_1_RECORD
    counterRecord(93, 2), // DS_COUNTER_2_RECORD
    counterRecord(94, 3), // DS_COUNTER_3_RECORD
    counterRecord(95, 4), // DS_COUNTER_4_RECORD
    counterRecord(96, 5), // DS_COUNTER_5_RECORD
    counterRecord(97, 6), // DS_COUNTER_6_RECORD
    counterRecord(98, 8), // DS_COUNTER_8_RECORD
    counterRecord(99, 11), // DS_COUNTER_11_RECORD
    counterRecord(100, 12), // DS_COUNTER_12_RECORD
    counterRecord(101, 9), // DS_COUNTER_9_RECORD
    counterRecord(102, 13), // DS_COUNTER_13_RECORD
    counterRecord(103, 14), // DS_COUNTER_14_RECORD
    counterRecord(104, 10), // DS_COUNTER_10_RECORD
    counterRecord(105, 15), // DS_COUNTER_15_RECORD
    counterRecord(106, 16), // DS_COUNTER_16_RECORD
    counterRecord(107, 17), // DS_COUNTER_17_RECORD
    counterRecord(108, 18), // DS_COUNTER_18_RECORD
    counterRecord(109, 19), // DS_COUNTER_19_RECORD
    counterRecord(110, 20), // DS_COUNTER_20_RECORD
    counterRecord(111, 21), // DS_COUNTER_21_RECORD
    item(112, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_DEBUG_MASK
    item(113, DS_TYPE_UINT16, 0.0f, 2.0f, FILE), // DS_UNIT_SYSTEM
    item(114, DS_TYPE_UINT32, 0.0f, 65000.0f, FILE, 0, pulsupdtSpeedSourceChanged), // DS_SPEED_CAL_NUMBER_A
    item(115, DS_TYPE_UINT32, 0.0f, 65000.0f, FILE, 0, pulsupdtSpeedSourceChanged), // DS_SPEED_CAL_NUMBER_B
    item(116, DS_TYPE_UINT32, 0.0f, 65000.0f, FILE, 0, pulsupdtSpeedSourceChanged), // DS_SPEED_CAL_NUMBER
    item(117, DS_TYPE_UINT8, 0.0f, 0.0f, FILE, 0, pulsupdtSpeedSourceChanged), // DS_SPEED_SOURCE
    item(118, DS_TYPE_UINT16, 0.0f, 999.0f, FILE), // DS_SIM_SPEED
    block(119, size198, FILE, 204 /* EV_ITEM119_CHANGED */), // DS_BLOCK_119
    block(120, size402, FILE), // DS_TANK_SHAPE_TABLE
    item(121, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CORE_FLAG_121
    item(122, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CROP_SPRAYER_MODE
    item(123, DS_TYPE_UINT32, 0.0f, 0.0f, FILE, 0, pulsupdtSpeedSourceChanged), // DS_PULSE_SETTING_123
    item(124, DS_TYPE_UINT8, 40.0f, 100.0f, FILE, 330 /* EV_HW_VERSION_KNOWN */), // DS_BRIGHTNESS
    item(125, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ACTIVE_JOB_NUMBER
    item(126, DS_TYPE_UINT16, 0.0f, 0.0f, FILE, 271 /* EV_JOB_NUMBER_CHANGED */), // DS_JOB_NUMBER_REQUEST
    block(127, size264, FILE), // DS_JOB_DATA
    item(128, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_METRIC_UNITS
    item(129, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CIRCULATION_ON
    item(130, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_PREVIOUS_JOB_NUMBER
    item(131, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_TARGET_RATE
    item(132, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CORE_FLAG_132
    item(133, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_NH3_MODE
    item(134, DS_TYPE_UINT32, 10000.0f, 4900000.0f, FILE, 0, pulsupdtNewFlowCal), // DS_FLOW_CAL_NUMBER
    item(135, DS_TYPE_UINT16, 0.0f, 0.0f, FILE, 0, pulsupdtNewFlowCalNH3Corr), // DS_NH3_DENSITY_FACTOR
    item(136, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_APPL_RATE_NUMBER
    item(137, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_APPL_RATE_1
    item(138, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_APPL_RATE_2
    item(139, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_APPL_RATE_3
    item(140, DS_TYPE_UINT16, 800.0f, 2000.0f, FILE), // DS_DENSITY_CORRECTION
    item(141, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_COMMAND_VALUE_141
    item(142, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_COMMAND_VALUE_142
    item(143, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_TOP_INFO_LEFT
    item(144, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_TOP_INFO_RIGHT
    item(145, DS_TYPE_UINT16, 0.0f, 5000.0f, FILE), // DS_IDLE_PRESSURE
    item(146, DS_TYPE_UINT8, 3.0f, 255.0f, FILE), // DS_PHYS_SECTION_SWITCHES_CFG
    item(147, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_KEY_BEEP
    item(148, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_SETTINGS_PASSWORD
    item(149, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_CLEAR_TOTALS_CODE
    item(150, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_DAY_STYLE
    item(151, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_SECTION_ALARM_ENABLED
    item(152, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_TOUCH_OPERATION
    item(153, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_OTHER
    item(154, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_2
    item(155, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_3
    item(156, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_4
    item(157, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_5
    item(158, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_6
    item(159, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_7
    item(160, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_8
    item(161, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_9
    item(162, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_10
    item(163, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_11
    item(164, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_12
    item(165, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_13
    item(166, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_14
    item(167, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_15
    item(168, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_16
    item(169, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_17
    item(170, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_18
    item(171, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_19
    item(172, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_20
    item(173, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_21
    item(174, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_22
    item(175, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_23
    item(176, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_24
    item(177, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_25
    item(178, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_26
    item(179, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_27
    item(180, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_28
    item(181, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_29
    item(182, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_30
    item(183, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_31
    item(184, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_32
    item(185, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_33
    item(186, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_34
    item(187, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_35
    item(188, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_36
    item(189, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_37
    item(190, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_38
    item(191, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_39
    item(192, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_40
    item(193, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_41
    item(194, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_42
    item(195, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_43
    item(196, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_44
    item(197, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_45
    item(198, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_46
    item(199, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_47
    item(200, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_48
    item(201, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_49
    item(202, DS_TYPE_UINT8, 0.0f, 0.0f, FILE), // DS_ALARM_COUNT_STATE
    counterState(203, 10), // DS_COUNTER_10_STATE
    counterRecord(204, 7), // DS_COUNTER_7_RECORD
    item(205, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_TURF_UNITS
    item(206, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_PART_NUMBER_FLAG
    item(207, DS_TYPE_UINT16, 0.0f, 25.0f, FILE), // DS_DISPLAY_RATE_SMOOTHING
    item(208, DS_TYPE_UINT16, 1.0f, 99.0f, FILE), // DS_ACTIVE_SECTIONS
    item(209, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_FLOW_PRINTOUT_ENABLED
    item(210, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_CAN_FLOW_MESSAGES_ENABLED
    item(211, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_HW_13_SECTIONS_CFG
    item(212, DS_TYPE_UINT32, 10000.0f, 4900000.0f, FILE, 0, processFillFlowCalChanged), // DS_FILL_FLOW_CAL_NUMBER
    item(213, DS_TYPE_BOOL, 0.0f, 1.0f, FILE), // DS_NIGHT_MODE
    item(214, DS_TYPE_UINT8, 40.0f, 100.0f, FILE), // DS_NIGHT_BRIGHTNESS
    item(215, DS_TYPE_UINT16, 0.0f, 9999.0f, FILE), // DS_NIGHT_STYLE
    item(216, DS_TYPE_UINT8, 40.0f, 100.0f, FILE), // DS_DAY_BRIGHTNESS
    item(217, DS_TYPE_UINT8, 3.0f, 255.0f, FILE), // DS_PHYS_SECTION_SWITCHES
    block(218, size52, FILE), // DS_SECTION_SWITCH_MAP_1
    block(219, size52, FILE), // DS_SECTION_SWITCH_MAP_2
    block(220, size52, FILE), // DS_SECTION_SWITCH_MAP_3
    block(221, size52, FILE), // DS_SECTION_SWITCH_MAP_4
    item(222, DS_TYPE_UINT16, 0.0f, 0.0f, FILE), // DS_ALARM_LOG_VALUE
    item(223, DS_TYPE_BOOL, 0.0f, 0.0f, FILE), // DS_HW_13_SECTIONS
    item(224, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 285 /* EV_ITEMS_224_257_258_CHANGED */), // DS_DIGITAL_INPUT_BITS
    item(225, DS_TYPE_BOOL, 0.0f, 0.0f, RAM, 80 /* EV_PARAM_CHANGED_80 */), // DS_TANK_SHAPE_CAL_ACTIVE
    item(226, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_MASTER_VALVE_CAL
    item(227, DS_TYPE_BOOL, 0.0f, 0.0f, RAM, 82 /* EV_KEY_BEEP_CHECK */), // DS_FILLING_ACTIVE
    item(228, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_228
    item(229, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_SPRAYING_ACTIVE
    item(230, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_230
    item(231, DS_TYPE_BOOL, 0.0f, 0.0f, RAM, 264 /* EV_MASTER_STATE_CHANGED */), // DS_MASTER_SWITCH
    item(232, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_FILLING_FLAG_232
    item(233, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_PRESSURE_RAW
    item(234, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_TANK_SENSOR
    item(235, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_SENSOR2_RAW
    item(236, DS_TYPE_UINT16, 10.0f, 500.0f, RAM), // DS_REF_PRESSURE
    item(237, DS_TYPE_UINT16, 50.0f, 500.0f, RAM), // DS_SENSOR2_REFERENCE
    item(238, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_TANK_CAL_PROGRESS
    item(239, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_REG_RUNTIME_239
    item(240, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_REG_RUNTIME_240
    item(241, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_FLOW
    item(242, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_TARGET_RATE
    item(243, DS_TYPE_UINT16, 10.0f, 190.0f, RAM), // DS_BOOST_PERCENT
    item(244, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_FILL_PROGRESS
    item(245, DS_TYPE_UINT16, 0.0f, 9999.0f, RAM), // DS_CALC_SPEED
    item(246, DS_TYPE_UINT16, 0.0f, 9999.0f, RAM), // DS_CALC_PRESSURE
    item(247, DS_TYPE_UINT16, 0.0f, 9999.0f, RAM), // DS_FLOW_CAL_RATE_VALUE
    item(248, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_RUN_VALUE_248
    item(249, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_TIP_PRESET_SELECTION
    item(250, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_SPEED
    item(251, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_PRESSURE
    item(252, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_RUN_VALUE_252
    item(253, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_RUN_VALUE_253
    item(254, DS_TYPE_UINT16, 0.0f, 65000.0f, RAM), // DS_RUN_VALUE_254
    item(255, DS_TYPE_UINT16, 0.0f, 65000.0f, RAM), // DS_RUN_VALUE_255
    item(256, DS_TYPE_UINT16, 1.0f, 200.0f, RAM), // DS_RUN_VALUE_256
    item(257, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 285 /* EV_ITEMS_224_257_258_CHANGED */), // DS_ANALOG_INPUT_A
    item(258, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 285 /* EV_ITEMS_224_257_258_CHANGED */), // DS_ANALOG_INPUT_B
    item(259, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 84 /* EV_MANUAL_REG_CHANGED */), // DS_MANUAL_PRESSURE_BITS
    item(260, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 85 /* EV_INPUTS_CHANGED */), // DS_STATUS_BITS
    block(261, size14, RAM, 86 /* EV_SECTION_STATES_CHANGED */), // DS_SECTION_STATE_BLOCK
    block(262, size14, RAM, 332 /* EV_ITEM262_CHANGED */), // DS_SECTION_BLOCK_262
    block(263, size14, RAM), // DS_SECTION_BLOCK_263
    item(264, DS_TYPE_UINT32, 0.0f, 999999.0f, RAM, 111 /* EV_ITEM264_CHANGED */), // DS_CAL_COLLECTED_VOLUME
    item(265, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAL_PULSE_COUNT
    item(266, DS_TYPE_UINT32, 0.0f, 0.0f, RAM, 0, processPulseRatioChanged), // DS_PULSE_COUNT_266
    item(267, DS_TYPE_UINT32, 0.0f, 0.0f, RAM, 0, processPulseRatioChanged), // DS_PULSE_COUNT_267
    item(268, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_COUNT_268
    item(269, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_COUNT_269
    item(270, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_COUNT_270
    item(271, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_LIVE_AMOUNT
    item(272, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_AREA
    item(273, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_DISTANCE
    item(274, DS_TYPE_UINT32, 0.0f, 0.0f, RAM, 0, pulsupdtSpeedSourceChanged), // DS_RUN_COUNT_274
    item(275, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_PRESSURE_2
    item(276, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_RUN_VALUE_276
    item(277, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_RUN_VALUE_277
    item(278, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 239 /* EV_LIQ_VALVE_PWM_CHANGED */), // DS_TEST_VALVE_PWM
    item(279, DS_TYPE_UINT32, 0.0f, 99999.0f, RAM), // DS_TIP_REF_FLOW
    item(280, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_TIP_PRESSURE
    item(281, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_SPARE_281
    item(282, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_JOB_AREA
    item(283, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_JOB_DISTANCE
    item(284, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_JOB_VOLUME
    item(285, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_JOB_TIME
    item(286, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_SPARE_286
    item(287, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_SPARE_287
    item(288, DS_TYPE_UINT16, 0.0f, 9999.0f, RAM), // DS_LAST_PASSWORD
    item(289, DS_TYPE_UINT16, 0.0f, 0.0f, RAM, 262 /* EV_DIAG_MODE_CHANGED */), // DS_PAGE_MODE
    item(290, DS_TYPE_BOOL, 0.0f, 1.0f, RAM, 263 /* EV_ITEM290_CHANGED */), // DS_EVENT_FLAG_290
    item(291, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_SPEED_CAL_PULSES
    item(292, DS_TYPE_UINT16, 0.0f, 20000.0f, RAM), // DS_RUN_VALUE_292
    item(293, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_TEST_PULSES_A
    item(294, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_TEST_PULSES_B
    item(295, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_TEST_VALUE_295
    item(296, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_SUPPLY_VOLTAGE
    item(297, DS_TYPE_SINT32, 0.0f, 0.0f, RAM), // DS_TEST_PULSES_C
    item(298, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAMPAIGN_AREA
    item(299, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAMPAIGN_DISTANCE
    item(300, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAMPAIGN_VOLUME
    item(301, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAMPAIGN_TIME
    item(302, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_TOTAL_AREA
    item(303, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_TOTAL_DISTANCE
    item(304, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_TOTAL_VOLUME
    item(305, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_TOTAL_TIME
    item(306, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_SAVED_HOLD_BIT
    item(307, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_307
    item(308, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_308
    item(309, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_RATE
    item(310, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_LIVE_VALUE_310
    item(311, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_JOB_MASS
    item(312, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_CAMPAIGN_MASS
    item(313, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_TOTAL_MASS
    item(314, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_CONTENT_MASS
    item(315, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RATE_CHANGED_FLAG
    item(316, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_SPARE_316
    item(317, DS_TYPE_BOOL, 0.0f, 0.0f, RAM, 205 /* EV_WIDTH_CHECK_CHANGED */), // DS_EVENT_FLAG_317
    item(318, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_SPARE_318
    item(319, DS_TYPE_BOOL, 0.0f, 0.0f, RAM, 333 /* EV_SCREENSHOT_ENABLE_CHANGED */), // DS_SCREENSHOT_ENABLED
    item(320, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_SOFT_MASTER_SWITCH
    item(321, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_REG_VALUE_321
    item(322, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LIVE_RATE_2
    item(323, DS_TYPE_UINT32, 0.0f, 0.0f, RAM), // DS_AREA_COUNTER_323
    item(324, DS_TYPE_UINT16, 1.0f, 13.0f, RAM), // DS_MAX_SECTIONS
    item(325, DS_TYPE_UINT16, 0.0f, 0.0f, RAM), // DS_LINK_VALVE_PWM
    item(326, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_LINK_VALVE_DIRECTION
    item(327, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_327
    item(328, DS_TYPE_BOOL, 0.0f, 0.0f, RAM), // DS_RUN_FLAG_328
};

const DsItemDefault dsItemDefaults[DS_ITEM_COUNT] = {
    {DS_DEFAULT_NONE, 0, 0, 0}, // 0
    {DS_DEFAULT_NONE, 0, 0, 0}, // 1
    {DS_DEFAULT_NONE, 0, 0, 0}, // 2
    {DS_DEFAULT_NONE, 0, 0, 0}, // 3
    {DS_DEFAULT_VALIDATED, 9, 0, 65535}, // 4
    {DS_DEFAULT_NONE, 0, 0, 0}, // 5
    {DS_DEFAULT_NONE, 0, 0, 0}, // 6
    {DS_DEFAULT_NONE, 0, 0, 0}, // 7
    {DS_DEFAULT_NONE, 0, 0, 0}, // 8
    {DS_DEFAULT_NONE, 0, 0, 0}, // 9
    {DS_DEFAULT_NONE, 0, 0, 0}, // 10
    {DS_DEFAULT_VALIDATED, 2, 0, 3}, // 11
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 12
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 13
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 14
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 15
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 16
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 17
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 18
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 19
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 20
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 21
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 22
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 23
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 24
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 25
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 26
    {DS_DEFAULT_VALIDATED, 0, 0, 3}, // 27
    {DS_DEFAULT_VALIDATED, 0, 0, 2}, // 28
    {DS_DEFAULT_VALIDATED, 2, 0, 4}, // 29
    {DS_DEFAULT_VALIDATED, 1, 0, 3}, // 30
    {DS_DEFAULT_VALIDATED, 0, 0, 2}, // 31
    {DS_DEFAULT_VALIDATED, 9, 1, 99}, // 32
    {DS_DEFAULT_VALIDATED, 0, 0, 20}, // 33
    {DS_DEFAULT_VALIDATED, 5000, 0, 65000}, // 34
    {DS_DEFAULT_VALIDATED, 0, 0, 1000}, // 35
    {DS_DEFAULT_VALIDATED, 0, 0, 500}, // 36
    {DS_DEFAULT_VALIDATED, 60, 0, 200}, // 37
    {DS_DEFAULT_VALIDATED, 2500, 0, 5000}, // 38
    {DS_DEFAULT_VALIDATED, 60, 10, 600}, // 39
    {DS_DEFAULT_VALIDATED, 35, 0, 120}, // 40
    {DS_DEFAULT_VALIDATED, 15, 10, 600}, // 41
    {DS_DEFAULT_VALIDATED, 0, 0, 200}, // 42
    {DS_DEFAULT_VALIDATED, 0, 0, 100}, // 43
    {DS_DEFAULT_VALIDATED, 0, 0, 100}, // 44
    {DS_DEFAULT_VALIDATED, 121, 0, 999}, // 45
    {DS_DEFAULT_VALIDATED, 3, 0, 99}, // 46
    {DS_DEFAULT_VALIDATED, 0, 0, 999}, // 47
    {DS_DEFAULT_VALIDATED, 10, 0, 50}, // 48
    {DS_DEFAULT_VALIDATED, 100, 0, 999}, // 49
    {DS_DEFAULT_NONE, 0, 0, 0}, // 50
    {DS_DEFAULT_NONE, 0, 0, 0}, // 51
    {DS_DEFAULT_NONE, 0, 0, 0}, // 52
    {DS_DEFAULT_NONE, 0, 0, 0}, // 53
    {DS_DEFAULT_VALIDATED, 0, 0, 305}, // 54
    {DS_DEFAULT_VALIDATED, 2500, 100, 5000}, // 55
    {DS_DEFAULT_VALIDATED, 0, 0, 300}, // 56
    {DS_DEFAULT_VALIDATED, 40, 1, 500}, // 57
    {DS_DEFAULT_VALIDATED, 1023, 1, 1023}, // 58
    {DS_DEFAULT_VALIDATED, 205, 0, 305}, // 59
    {DS_DEFAULT_VALIDATED, 250, 100, 1000}, // 60
    {DS_DEFAULT_VALIDATED, 0, 0, 65000}, // 61
    {DS_DEFAULT_VALIDATED, 14, 0, 19}, // 62
    {DS_DEFAULT_VALIDATED, 6, 0, 9}, // 63
    {DS_DEFAULT_VALIDATED, 199, 0, 199}, // 64
    {DS_DEFAULT_VALIDATED, 0, 0, 65000}, // 65
    {DS_DEFAULT_VALIDATED, 0, 0, 65000}, // 66
    {DS_DEFAULT_VALIDATED, 500, 300, 1100}, // 67
    {DS_DEFAULT_VALIDATED, 0, 0, 4}, // 68
    {DS_DEFAULT_VALIDATED, 500, 10, 19999}, // 69
    {DS_DEFAULT_VALIDATED, 600, 0, 9999}, // 70
    {DS_DEFAULT_VALIDATED, 258, 0, 9999}, // 71
    {DS_DEFAULT_VALIDATED, 5, 1, 20}, // 72
    {DS_DEFAULT_VALIDATED, 200, 1, 65535}, // 73
    {DS_DEFAULT_VALIDATED, 20000, 1000, 35000}, // 74
    {DS_DEFAULT_VALIDATED, 1000, 50, 1000}, // 75
    {DS_DEFAULT_NONE, 0, 0, 0}, // 76
    {DS_DEFAULT_NONE, 0, 0, 0}, // 77
    {DS_DEFAULT_NONE, 0, 0, 0}, // 78
    {DS_DEFAULT_NONE, 0, 0, 0}, // 79
    {DS_DEFAULT_NONE, 0, 0, 0}, // 80
    {DS_DEFAULT_NONE, 0, 0, 0}, // 81
    {DS_DEFAULT_NONE, 0, 0, 0}, // 82
    {DS_DEFAULT_NONE, 0, 0, 0}, // 83
    {DS_DEFAULT_NONE, 0, 0, 0}, // 84
    {DS_DEFAULT_NONE, 0, 0, 0}, // 85
    {DS_DEFAULT_NONE, 0, 0, 0}, // 86
    {DS_DEFAULT_NONE, 0, 0, 0}, // 87
    {DS_DEFAULT_NONE, 0, 0, 0}, // 88
    {DS_DEFAULT_NONE, 0, 0, 0}, // 89
    {DS_DEFAULT_NONE, 0, 0, 0}, // 90
    {DS_DEFAULT_NONE, 0, 0, 0}, // 91
    {DS_DEFAULT_NONE, 0, 0, 0}, // 92
    {DS_DEFAULT_NONE, 0, 0, 0}, // 93
    {DS_DEFAULT_NONE, 0, 0, 0}, // 94
    {DS_DEFAULT_NONE, 0, 0, 0}, // 95
    {DS_DEFAULT_NONE, 0, 0, 0}, // 96
    {DS_DEFAULT_NONE, 0, 0, 0}, // 97
    {DS_DEFAULT_NONE, 0, 0, 0}, // 98
    {DS_DEFAULT_NONE, 0, 0, 0}, // 99
    {DS_DEFAULT_NONE, 0, 0, 0}, // 100
    {DS_DEFAULT_NONE, 0, 0, 0}, // 101
    {DS_DEFAULT_NONE, 0, 0, 0}, // 102
    {DS_DEFAULT_NONE, 0, 0, 0}, // 103
    {DS_DEFAULT_NONE, 0, 0, 0}, // 104
    {DS_DEFAULT_NONE, 0, 0, 0}, // 105
    {DS_DEFAULT_NONE, 0, 0, 0}, // 106
    {DS_DEFAULT_NONE, 0, 0, 0}, // 107
    {DS_DEFAULT_NONE, 0, 0, 0}, // 108
    {DS_DEFAULT_NONE, 0, 0, 0}, // 109
    {DS_DEFAULT_NONE, 0, 0, 0}, // 110
    {DS_DEFAULT_NONE, 0, 0, 0}, // 111
    {DS_DEFAULT_NONE, 0, 0, 0}, // 112
    {DS_DEFAULT_VALIDATED, 0, 0, 2}, // 113
    {DS_DEFAULT_VALIDATED, 0, 0, 40000}, // 114
    {DS_DEFAULT_VALIDATED, 0, 0, 40000}, // 115
    {DS_DEFAULT_VALIDATED, 0, 0, 40000}, // 116
    {DS_DEFAULT_VALIDATED, 2, 0, 4}, // 117
    {DS_DEFAULT_VALIDATED, 0, 0, 999}, // 118
    {DS_DEFAULT_NONE, 0, 0, 0}, // 119
    {DS_DEFAULT_NONE, 0, 0, 0}, // 120
    {DS_DEFAULT_NONE, 0, 0, 0}, // 121
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 122
    {DS_DEFAULT_NONE, 0, 0, 0}, // 123
    {DS_DEFAULT_VALIDATED, 80, 25, 100}, // 124
    {DS_DEFAULT_NONE, 0, 0, 0}, // 125
    {DS_DEFAULT_NONE, 0, 0, 0}, // 126
    {DS_DEFAULT_NONE, 0, 0, 0}, // 127
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 128
    {DS_DEFAULT_NONE, 0, 0, 0}, // 129
    {DS_DEFAULT_VALIDATED, 0, 0, 9}, // 130
    {DS_DEFAULT_VALIDATED, 2580, 0, 65535}, // 131
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 132
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 133
    {DS_DEFAULT_VALIDATED, 650000, 10000, 4900000}, // 134
    {DS_DEFAULT_NONE, 0, 0, 0}, // 135
    {DS_DEFAULT_NONE, 0, 0, 0}, // 136
    {DS_DEFAULT_NONE, 0, 0, 0}, // 137
    {DS_DEFAULT_NONE, 0, 0, 0}, // 138
    {DS_DEFAULT_NONE, 0, 0, 0}, // 139
    {DS_DEFAULT_VALIDATED, 1000, 800, 2000}, // 140
    {DS_DEFAULT_NONE, 0, 0, 0}, // 141
    {DS_DEFAULT_NONE, 0, 0, 0}, // 142
    {DS_DEFAULT_NONE, 0, 0, 0}, // 143
    {DS_DEFAULT_NONE, 0, 0, 0}, // 144
    {DS_DEFAULT_VALIDATED, 0, 0, 5000}, // 145
    {DS_DEFAULT_NONE, 0, 0, 0}, // 146
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 147
    {DS_DEFAULT_VALIDATED, 6048, 1000, 9999}, // 148
    {DS_DEFAULT_PLAIN, 2753, 0, 0}, // 149
    {DS_DEFAULT_VALIDATED, 0, 0, 5}, // 150
    {DS_DEFAULT_PLAIN, 1, 0, 0}, // 151
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 152
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 153
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 154
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 155
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 156
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 157
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 158
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 159
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 160
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 161
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 162
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 163
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 164
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 165
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 166
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 167
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 168
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 169
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 170
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 171
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 172
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 173
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 174
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 175
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 176
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 177
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 178
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 179
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 180
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 181
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 182
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 183
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 184
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 185
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 186
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 187
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 188
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 189
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 190
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 191
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 192
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 193
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 194
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 195
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 196
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 197
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 198
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 199
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 200
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 201
    {DS_DEFAULT_VALIDATED, 0, 0, 255}, // 202
    {DS_DEFAULT_NONE, 0, 0, 0}, // 203
    {DS_DEFAULT_NONE, 0, 0, 0}, // 204
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 205
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 206
    {DS_DEFAULT_VALIDATED, 5, 0, 25}, // 207
    {DS_DEFAULT_VALIDATED, 9, 1, 99}, // 208
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 209
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 210
    {DS_DEFAULT_NONE, 0, 0, 0}, // 211
    {DS_DEFAULT_VALIDATED, 650000, 10000, 4900000}, // 212
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 213
    {DS_DEFAULT_VALIDATED, 40, 25, 100}, // 214
    {DS_DEFAULT_VALIDATED, 1, 0, 5}, // 215
    {DS_DEFAULT_VALIDATED, 80, 25, 100}, // 216
    {DS_DEFAULT_VALIDATED, 9, 5, 13}, // 217
    {DS_DEFAULT_NONE, 0, 0, 0}, // 218
    {DS_DEFAULT_NONE, 0, 0, 0}, // 219
    {DS_DEFAULT_NONE, 0, 0, 0}, // 220
    {DS_DEFAULT_NONE, 0, 0, 0}, // 221
    {DS_DEFAULT_VALIDATED, 0, 0, 65535}, // 222
    {DS_DEFAULT_PLAIN, 0, 0, 0}, // 223
    {DS_DEFAULT_AT_START, 255, 0, 0}, // 224
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 225
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 226
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 227
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 228
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 229
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 230
    {DS_DEFAULT_NONE, 0, 0, 0}, // 231
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 232
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 233
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 234
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 235
    {DS_DEFAULT_AT_START, 50, 0, 0}, // 236
    {DS_DEFAULT_AT_START, 200, 0, 0}, // 237
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 238
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 239
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 240
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 241
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 242
    {DS_DEFAULT_VALIDATED, 100, 10, 190}, // 243
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 244
    {DS_DEFAULT_AT_START, 60, 0, 0}, // 245
    {DS_DEFAULT_AT_START, 20, 0, 0}, // 246
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 247
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 248
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 249
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 250
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 251
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 252
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 253
    {DS_DEFAULT_NONE, 0, 0, 0}, // 254
    {DS_DEFAULT_NONE, 0, 0, 0}, // 255
    {DS_DEFAULT_NONE, 0, 0, 0}, // 256
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 257
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 258
    {DS_DEFAULT_NONE, 0, 0, 0}, // 259
    {DS_DEFAULT_NONE, 0, 0, 0}, // 260
    {DS_DEFAULT_NONE, 0, 0, 0}, // 261
    {DS_DEFAULT_NONE, 0, 0, 0}, // 262
    {DS_DEFAULT_NONE, 0, 0, 0}, // 263
    {DS_DEFAULT_NONE, 0, 0, 0}, // 264
    {DS_DEFAULT_NONE, 0, 0, 0}, // 265
    {DS_DEFAULT_NONE, 0, 0, 0}, // 266
    {DS_DEFAULT_NONE, 0, 0, 0}, // 267
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 268
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 269
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 270
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 271
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 272
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 273
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 274
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 275
    {DS_DEFAULT_NONE, 0, 0, 0}, // 276
    {DS_DEFAULT_NONE, 0, 0, 0}, // 277
    {DS_DEFAULT_NONE, 0, 0, 0}, // 278
    {DS_DEFAULT_NONE, 0, 0, 0}, // 279
    {DS_DEFAULT_NONE, 0, 0, 0}, // 280
    {DS_DEFAULT_NONE, 0, 0, 0}, // 281
    {DS_DEFAULT_NONE, 0, 0, 0}, // 282
    {DS_DEFAULT_NONE, 0, 0, 0}, // 283
    {DS_DEFAULT_NONE, 0, 0, 0}, // 284
    {DS_DEFAULT_NONE, 0, 0, 0}, // 285
    {DS_DEFAULT_NONE, 0, 0, 0}, // 286
    {DS_DEFAULT_NONE, 0, 0, 0}, // 287
    {DS_DEFAULT_NONE, 0, 0, 0}, // 288
    {DS_DEFAULT_NONE, 0, 0, 0}, // 289
    {DS_DEFAULT_NONE, 0, 0, 0}, // 290
    {DS_DEFAULT_NONE, 0, 0, 0}, // 291
    {DS_DEFAULT_NONE, 0, 0, 0}, // 292
    {DS_DEFAULT_NONE, 0, 0, 0}, // 293
    {DS_DEFAULT_NONE, 0, 0, 0}, // 294
    {DS_DEFAULT_NONE, 0, 0, 0}, // 295
    {DS_DEFAULT_NONE, 0, 0, 0}, // 296
    {DS_DEFAULT_NONE, 0, 0, 0}, // 297
    {DS_DEFAULT_NONE, 0, 0, 0}, // 298
    {DS_DEFAULT_NONE, 0, 0, 0}, // 299
    {DS_DEFAULT_NONE, 0, 0, 0}, // 300
    {DS_DEFAULT_NONE, 0, 0, 0}, // 301
    {DS_DEFAULT_NONE, 0, 0, 0}, // 302
    {DS_DEFAULT_NONE, 0, 0, 0}, // 303
    {DS_DEFAULT_NONE, 0, 0, 0}, // 304
    {DS_DEFAULT_NONE, 0, 0, 0}, // 305
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 306
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 307
    {DS_DEFAULT_NONE, 0, 0, 0}, // 308
    {DS_DEFAULT_NONE, 0, 0, 0}, // 309
    {DS_DEFAULT_NONE, 0, 0, 0}, // 310
    {DS_DEFAULT_NONE, 0, 0, 0}, // 311
    {DS_DEFAULT_NONE, 0, 0, 0}, // 312
    {DS_DEFAULT_NONE, 0, 0, 0}, // 313
    {DS_DEFAULT_NONE, 0, 0, 0}, // 314
    {DS_DEFAULT_NONE, 0, 0, 0}, // 315
    {DS_DEFAULT_NONE, 0, 0, 0}, // 316
    {DS_DEFAULT_NONE, 0, 0, 0}, // 317
    {DS_DEFAULT_NONE, 0, 0, 0}, // 318
    {DS_DEFAULT_NONE, 0, 0, 0}, // 319
    {DS_DEFAULT_NONE, 0, 0, 0}, // 320
    {DS_DEFAULT_NONE, 0, 0, 0}, // 321
    {DS_DEFAULT_NONE, 0, 0, 0}, // 322
    {DS_DEFAULT_NONE, 0, 0, 0}, // 323
    {DS_DEFAULT_NONE, 0, 0, 0}, // 324
    {DS_DEFAULT_NONE, 0, 0, 0}, // 325
    {DS_DEFAULT_NONE, 0, 0, 0}, // 326
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 327
    {DS_DEFAULT_AT_START, 0, 0, 0}, // 328
};
