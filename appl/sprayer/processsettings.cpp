#include "processsettings.h"

#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processsections.h"
#include "processstate.h"
#include "pulsinput.h"
#include "speed.h"

#include <cmath>

namespace {

enum : uint32_t { SPEED_SOURCE_SIMULATED = 3, NH3_PRESET_SIZE = 7 };

}  // namespace

void processSetSensorPresence(uint32_t id, uint32_t on)
{
    if (id == EV_SET_FLOW_SENSOR_PRESENT) {
        dsStore(DS_FLOW_SENSOR_PRESENT, on);
        if (on == 0) {
            dsStore(DS_PRESSURE_SENSOR_PRESENT, 1);
            dsStore(DS_REGULATION_MODE, 0);
        }
    } else if (id == EV_SET_PRESSURE_SENSOR_PRESENT) {
        dsStore(DS_PRESSURE_SENSOR_PRESENT, on);
        if (on == 0) {
            dsStore(DS_FLOW_SENSOR_PRESENT, 1);
            dsStore(DS_REGULATION_MODE, 1);
            dsStore(DS_IDLE_PRESSURE, 0);
        }
    }
}

void processSetSprayerMode(uint32_t nh3)
{
    const uint32_t mode = nh3 != 0 ? 1 : 0;
    dsStore(DS_NH3_MODE, mode);
    dsStore(DS_CROP_SPRAYER_MODE, mode == 0 ? 1 : 0);
    dsStore(DS_CORE_FLAG_121, mode == 0 ? 1 : 0);
    nozpresetSetDensityMode(mode);
    const uint32_t cleared[] = {DS_APPL_RATE_1,        DS_APPL_RATE_2,        DS_APPL_RATE_3,
                                DS_COMMAND_VALUE_141, DS_COMMAND_VALUE_142, DS_TARGET_RATE};
    for (uint32_t item : cleared)
        dsStore(item, 0);
    eventPost(EV_OWNER_PERIODIC, EV_SET_TANK_CONTENT, 0);
    eventPost(EV_OWNER_PERIODIC, EV_SET_FLOW_CAL, 10000);
    if (mode == 0) {
        dsStore(DS_REG_VALVE_TYPE, 1);
        return;
    }
    dsStore(DS_FLOW_SENSOR_PRESENT, 1);
    dsStore(DS_FILL_FLOW_SENSOR_PRESENT, 0);
    dsStore(DS_TANK_SENSOR_PRESENT, 0);
    dsStore(DS_SECTION_VALVE_TYPE, 0);
    dsStore(DS_REG_VALVE_TYPE, 0);
    dsStore(DS_AUTO_FILLING_ENABLED, 0);
    dsStore(DS_REGULATION_MODE, 1);
    dsStore(DS_CIRCULATION_MODE, 0);
    nozpresetSetNozzleSizeIx(0, NH3_PRESET_SIZE);
}

void processApplyImportedConfig()
{
    if (dsValue(DS_CIRCULATION_MODE) != 0 || dsValue(DS_REG_SETTING_43) != 0)
        dsStore(DS_IDLE_PRESSURE, 0);
    dsStore(DS_ACTIVE_SECTIONS, dsValue(DS_NUMBER_OF_SECTIONS));
    if (dsValue(DS_NUMBER_OF_SECTIONS) == 13) {
        // The 13th section output is the fill valve's.
        dsStore(DS_AUTO_FILLING_ENABLED, 0);
        dsStore(DS_FILL_FLOW_SENSOR_PRESENT, 0);
    }
    processUpdateMaxSections();
}

SpeedSourceCounters processSpeedSourceCounters(uint32_t source)
{
    switch (source) {
    case 0: return {13, 14};
    case 1: return {11, 12};
    case 2: return {15, 16};
    case 3: return {17, 18};
    case 4: return {22, 22};
    default: return {15, 16};
    }
}

void processSelectSpeedSource(uint32_t source, uint32_t store)
{
    const SpeedSourceCounters previous = processSpeedSourceCounters(dsValue(DS_SPEED_SOURCE));
    pulsClearCounter(previous.first);
    pulsClearCounter(previous.second);
    const SpeedSourceCounters next = processSpeedSourceCounters(source);
    pulsResetCounter(next.first);
    pulsResetCounter(next.second);
    if (store != 0) {
        dsStore(DS_SPEED_SOURCE, source);
        processState().useCanSpeedAgain = 1;
    }
}

void processUpdateCounters()
{
    struct CounterItem {
        uint32_t counter;
        uint32_t item;
    };
    static constexpr CounterItem kCounters[] = {
        {5, DS_TOTAL_VOLUME},     {6, DS_CAMPAIGN_VOLUME},     {7, DS_JOB_VOLUME},
        {14, DS_TOTAL_DISTANCE},  {15, DS_CAMPAIGN_DISTANCE},  {16, DS_JOB_DISTANCE},
        {17, DS_TOTAL_AREA},      {18, DS_CAMPAIGN_AREA},      {19, DS_JOB_AREA},
        {20, DS_TOTAL_TIME},      {21, DS_CAMPAIGN_TIME},      {22, DS_JOB_TIME},
    };
    // The items hold whole litres, metres, 1/100 ha and seconds: the trips'
    // units, not the remainder below one unit.
    for (const CounterItem& entry : kCounters) {
        int32_t value = 0;
        if (pulsGetTripValueBase(entry.counter, &value) == 0)
            dsStoreIfChanged(entry.item, static_cast<uint32_t>(value));
    }
    // Speed calibration drives on the implement wheel (source 2): its raw pulse
    // counter holds the pulses since EV_SPEED_CAL restarted it (the source's
    // speed counters count distance, and the start does not clear them).
    uint32_t pulses = 0;
    if (pulsGetCounterParam(speedCalibrationCounter(2), &pulses) == 0)
        dsStoreIfChanged(DS_SPEED_CAL_PULSES, pulses);
}

void processLinkValues(uint32_t id)
{
    if (id == EV_TICK_500MS) {
        dsStoreIfChanged(DS_LINK_VALUE_C, dsValue(DS_REG_RUNTIME_240) * 100);
        dsStoreIfChanged(DS_LINK_VALUE_B, dsValue(DS_RUN_COUNT_274) / 10);
        dsStoreIfChanged(DS_LINK_VALUE_D, dsValue(DS_JOB_AREA));
        dsStoreIfChanged(DS_LINK_FLAG, dsValue(DS_MASTER_SWITCH));
        dsStoreIfChanged(DS_LINK_TIME_S, dsValue(DS_JOB_TIME));
    } else if (id == EV_ITEM5_CHANGED) {
        const uint32_t rate = static_cast<uint32_t>(std::lround(dsValue(DS_LINK_VALUE_A) / 100.0));
        eventPost(EV_OWNER_PERIODIC, EV_TARGET_RATE_CHANGED, rate);
    }
}
