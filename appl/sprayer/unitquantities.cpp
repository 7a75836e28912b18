#include "unitquantities.h"

#include "units.h"

namespace {

struct QuantityDefinition {
    uint32_t id;
    uint32_t item;
    uint32_t baseUnit;
    uint16_t baseScale;
    uint32_t unit[3];
    uint16_t scale[3];
};

// In the order of the ids, except that 68 follows 48 and 67 follows 58.
constexpr QuantityDefinition kQuantities[] = {
    {UQ_LENGTH_274, 274, 14, 1, {16, 19, 19}, {10, 10, 10}},
    {UQ_SIMULATED_SPEED, 118, 37, 10, {37, 41, 41}, {10, 10, 10}},
    {UQ_MIN_REG_PRESSURE, 37, 126, 100, {126, 127, 127}, {10, 10, 10}},
    {UQ_MAX_REG_PRESSURE, 38, 126, 100, {126, 127, 127}, {10, 10, 10}},
    {UQ_REG_VALVE_CAPACITY, 45, 131, 1, {131, 134, 137}, {1, 1, 1}},
    {UQ_MIN_SPEED, 47, 37, 10, {37, 41, 41}, {10, 10, 10}},
    {UQ_TANK_MAX_CONTENT, 34, 45, 1, {45, 52, 57}, {1, 1, 1}},
    {UQ_TANK_MIN_CONTENT, 35, 45, 1, {45, 52, 57}, {1, 1, 1}},
    {UQ_FILL_MIN_CONTENT, 61, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_FILL_DESIRED_CONTENT, 65, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_TANK_ACTUAL_CONTENT, 66, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_TANK_CONTENT_MASS, 314, 2, 1, {2, 7, 7}, {1, 1, 1}},
    {UQ_DENSITY, 67, 115, 1000, {115, 119, 122}, {1000, 1000, 1000}},
    {UQ_TIP_SPACING, 69, 14, 1, {15, 18, 18}, {10, 10, 10}},
    {UQ_RESTRICTOR_PLATE_FLOW, 70, 131, 100, {131, 134, 137}, {100, 100, 100}},
    {UQ_ACTUAL_RATE, 241, 105, 10, {105, 107, 108}, {1, 10, 10}},
    {UQ_TARGET_RATE, 242, 105, 10, {105, 107, 108}, {1, 10, 10}},
    {UQ_CALC_SPEED, 245, 37, 10, {37, 41, 41}, {10, 10, 10}},
    {UQ_CALC_PRESSURE, 246, 126, 10, {126, 127, 127}, {10, 10, 10}},
    {UQ_ACTUAL_SPEED, 250, 37, 100, {37, 41, 41}, {10, 10, 10}},
    {UQ_PRESSURE_251, 251, 126, 100, {126, 127, 127}, {10, 10, 10}},
    {UQ_ACTUAL_FLOW, 271, 131, 100, {131, 134, 137}, {10, 10, 10}},
    {UQ_ACTUAL_PRESSURE, 275, 126, 100, {126, 127, 127}, {10, 10, 10}},
    {UQ_RUN_AREA, 272, 27, 100, {27, 32, 32}, {100, 100, 100}},
    {UQ_RUN_DISTANCE, 273, 16, 1, {16, 19, 19}, {1, 1, 1}},
    {UQ_LOW_FLOW_LIMIT, 49, 131, 10, {131, 134, 137}, {10, 10, 10}},
    {UQ_LOW_FLOW_LIMIT_2, 50, 131, 10, {131, 134, 137}, {10, 10, 10}},
    {UQ_HIGH_FLOW_LIMIT, 51, 131, 10, {131, 134, 137}, {10, 10, 10}},
    {UQ_HIGH_FLOW_LIMIT_2, 52, 131, 10, {131, 134, 137}, {10, 10, 10}},
    {UQ_FLOW_CAL_NUMBER, 134, 142, 1000, {142, 143, 144}, {1000, 1000, 1000}},
    {UQ_FILL_FLOW_CAL_NUMBER, 212, 142, 1000, {142, 143, 144}, {1000, 1000, 1000}},
    {UQ_PRESSURE_SENSOR_MAX, 55, 126, 100, {126, 127, 127}, {100, 100, 100}},
    {UQ_REFERENCE_PRESSURE, 236, 126, 10, {126, 127, 127}, {10, 10, 10}},
    {UQ_AUTO_FILL_OFFSET, 36, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_SPEED_CAL_A, 114, 148, 1, {148, 150, 150}, {1, 1, 1}},
    {UQ_SPEED_CAL_B, 115, 148, 1, {148, 150, 150}, {1, 1, 1}},
    {UQ_SPEED_CAL, 116, 148, 1, {148, 150, 150}, {1, 1, 1}},
    {UQ_COLLECTED_VOLUME, 264, 46, 100, {46, 53, 58}, {100, 100, 100}},
    {UQ_VOLUME_254, 254, 46, 100, {46, 53, 58}, {100, 100, 100}},
    {UQ_VOLUME_255, 255, 46, 100, {46, 53, 58}, {100, 100, 100}},
    {UQ_NOZZLE_REF_FLOW, 279, 131, 1000, {131, 134, 137}, {100, 100, 100}},
    {UQ_NOZZLE_REF_PRESSURE, 280, 126, 100, {126, 127, 127}, {100, 10, 10}},
    {UQ_RATE_281, 281, 105, 10, {105, 107, 108}, {1, 1, 1}},
    {UQ_RATE_TURF, 322, 105, 10, {105, 112, 111}, {1, 100, 100}},
    {UQ_RATE_MASS, 309, 64, 10, {64, 68, 68}, {1, 10, 10}},
    {UQ_NOZZLE_REF_FLOW_2, 279, 131, 100, {131, 134, 137}, {100, 100, 100}},
    {UQ_MASS_FLOW, 310, 77, 100, {77, 80, 80}, {10, 10, 10}},
    {UQ_JOB_AREA, 282, 27, 100, {27, 32, 32}, {100, 100, 100}},
    {UQ_AREA_TURF, 323, 27, 100, {27, 34, 34}, {100, 100, 100}},
    {UQ_JOB_DISTANCE, 283, 16, 1, {16, 19, 19}, {1, 1, 1}},
    {UQ_JOB_VOLUME, 284, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_JOB_MASS, 311, 2, 1, {2, 7, 7}, {1, 1, 1}},
    {UQ_WORK_RATE, 286, 92, 100, {92, 93, 93}, {100, 100, 100}},
    {UQ_WIDTH_292, 292, 14, 1, {15, 18, 18}, {10, 10, 10}},
    {UQ_APPL_RATE_1, 137, 105, 10, {105, 107, 108}, {10, 10, 10}},
    {UQ_APPL_RATE_2, 138, 105, 10, {105, 107, 108}, {10, 10, 10}},
    {UQ_APPL_RATE_3, 139, 105, 10, {105, 107, 108}, {10, 10, 10}},
    {UQ_RATE_141, 141, 105, 10, {105, 107, 108}, {10, 10, 10}},
    {UQ_RATE_142, 142, 105, 10, {105, 107, 108}, {10, 10, 10}},
    {UQ_MASS_RATE_316, 316, 64, 10, {64, 68, 68}, {10, 10, 10}},
    {UQ_CAMPAIGN_AREA, 298, 27, 100, {27, 32, 32}, {100, 100, 100}},
    {UQ_CAMPAIGN_DISTANCE, 299, 16, 1, {16, 19, 19}, {1, 1, 1}},
    {UQ_CAMPAIGN_VOLUME, 300, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_CAMPAIGN_MASS, 312, 2, 1, {2, 7, 7}, {1, 1, 1}},
    {UQ_TOTAL_AREA, 302, 27, 100, {27, 32, 32}, {100, 100, 100}},
    {UQ_TOTAL_DISTANCE, 303, 16, 1, {16, 19, 19}, {1, 1, 1}},
    {UQ_TOTAL_VOLUME, 304, 46, 1, {46, 53, 58}, {1, 1, 1}},
    {UQ_TOTAL_MASS, 313, 2, 1, {2, 7, 7}, {1, 1, 1}},
    {UQ_IDLE_PRESSURE, 145, 126, 100, {126, 127, 127}, {100, 100, 100}},
};

}  // namespace

uint32_t processInitUnits()
{
    if (unitCreateTable(UQ_TABLE_SIZE) == 0)
        return 0;
    for (const QuantityDefinition& q : kQuantities) {
        unitDefineQuantity(q.id, q.item, q.baseUnit, q.baseScale, q.unit[0], q.scale[0], q.unit[1], q.scale[1],
                           q.unit[2], q.scale[2]);
    }
    return 1;
}
