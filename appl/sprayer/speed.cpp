#include "speed.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "clock.h"
#include "datastore.h"
#include "dsvalue.h"
#include "eventids.h"
#include "kernel.h"
#include "pulsinput.h"
#include "sectrix.h"
#include "tickhook.h"
#include "unitquantities.h"
#include "units.h"

namespace {

constexpr uint32_t kCanSpeedCounter = 22;
constexpr uint32_t kFirstCarry = 10000;
constexpr uint32_t kSecondCarry = 1000000;

// Written under the global critical section: the debug console may set it too.
uint32_t gPulsesPerSecond = 0;
uint32_t gStandstillSeconds = 0;
SimSpeedPulseSink gSink = pulsSetExternalPulsCount;

struct CanSpeed {
    uint32_t lastValue;
    uint32_t lastMs;
    uint32_t first;
    uint32_t second;
};
CanSpeed gCan = {};

uint32_t calibrationItem(uint32_t source)
{
    switch (source) {
    case 0:
        return DS_SPEED_CAL_NUMBER_B;
    case 1:
        return DS_SPEED_CAL_NUMBER_A;
    default:
        return DS_SPEED_CAL_NUMBER;
    }
}

uint32_t calibrationQuantity(uint32_t source)
{
    switch (source) {
    case 0:
        return UQ_SPEED_CAL_B;
    case 1:
        return UQ_SPEED_CAL_A;
    default:
        return UQ_SPEED_CAL;
    }
}

uint32_t calibrationCounter(uint32_t source)
{
    switch (source) {
    case 0:
        return 9;
    case 1:
        return 8;
    default:
        return 10;
    }
}

uint32_t pulseSetting()
{
    switch (datastoreGetType(DS_PULSE_SETTING_123)) {
    case DS_TYPE_UINT16:
        return datastoreGetUint16(DS_PULSE_SETTING_123);
    case DS_TYPE_UINT32:
        return datastoreGetUint32(DS_PULSE_SETTING_123);
    default:
        return 0;
    }
}

void carryInto(uint32_t* accumulator, uint32_t unit)
{
    if (*accumulator <= unit)
        return;
    uint32_t param = 0;
    if (pulsGetCounterParam(kCanSpeedCounter, &param) != 0)
        param = 0;
    pulsSetCounterParam(kCanSpeedCounter, param + *accumulator / unit);
    *accumulator %= unit;
}

}  // namespace

void simSpeedSetPulseSink(SimSpeedPulseSink sink)
{
    gSink = sink != nullptr ? sink : pulsSetExternalPulsCount;
}

void speedInit()
{
    {
        KernelCriticalSection cs;
        gPulsesPerSecond = 0;
    }
    tickHookRegister(1, simSpeedTick);
    simSpeedSet(dsValue(DS_SIM_SPEED));
    pulsSetInputMode(SPEED_SIM_INPUT, 1);
}

void simSpeedSet(uint32_t v)
{
    // One pulse per centimetre: km/h x 10 -> cm/s.
    const float cmPerSecondX10 = static_cast<float>(static_cast<double>(v) * 100.0 * 1000.0 / 3600.0);
    const uint32_t pulses = static_cast<uint32_t>(cmPerSecondX10 / 10.0f + 0.5f);
    KernelCriticalSection cs;
    gPulsesPerSecond = pulses;
}

uint32_t simSpeedPulsesPerSecond()
{
    KernelCriticalSection cs;
    return gPulsesPerSecond;
}

void simSpeedTick()
{
    const uint32_t pulses = simSpeedPulsesPerSecond();
    if (pulses == 0) {
        ++gStandstillSeconds;
        gSink(SPEED_SIM_INPUT, 0, gStandstillSeconds * 1000);
    } else if (gStandstillSeconds == 0) {
        gSink(SPEED_SIM_INPUT, pulses, 1000);
    } else {
        gSink(SPEED_SIM_INPUT, pulses, gStandstillSeconds * 1000);
        gStandstillSeconds = 0;
    }
}

void canSpeedAccumulate(uint32_t takeBaseline)
{
    uint32_t value = 0;
    const uint32_t now = clockGetMs();
    if (takeBaseline != 0) {
        sectrixGetVersion(nullptr, &value);
        gCan.lastValue = value;
        gCan.lastMs = now;
        return;
    }
    const uint32_t setting = pulseSetting();
    if (now == gCan.lastMs || sectrixGetVersion(nullptr, &value) == 0)
        return;
    gCan.lastMs = now;
    const int32_t step = static_cast<int32_t>(value - gCan.lastValue);
    gCan.lastValue = value;
    const uint32_t d = step > 0 ? static_cast<uint32_t>(step) * 10 : 0;
    gCan.first += d;
    gCan.second += static_cast<uint32_t>(static_cast<uint64_t>(d) * setting / 10);
    carryInto(&gCan.first, kFirstCarry);
    carryInto(&gCan.second, kSecondCarry);
}

void canSpeedBaseline(uint32_t* value, uint32_t* ms)
{
    *value = gCan.lastValue;
    *ms = gCan.lastMs;
}

void speedHandleEvent(uint32_t id, uint32_t arg)
{
    const uint32_t source = dsValue(DS_SPEED_SOURCE);
    switch (id) {
    case EV_SET_SPEED_SOURCE:
        if (arg == 4 && source != 4)
            canSpeedAccumulate(1);
        datastoreSetUint8(DS_SPEED_SOURCE, static_cast<uint8_t>(arg));
        break;
    case EV_SPEED_257:
        datastoreSetUint32(calibrationItem(source), arg);
        break;
    case EV_SPEED_CAL:
        for (uint32_t counter : {9u, 8u, 10u}) {
            pulsClearCounterParam(counter);
            pulsClearCounterAux(counter);
        }
        break;
    case EV_SPEED_259: {
        uint32_t pulses = 0;
        if (pulsGetCounterParam(calibrationCounter(source), &pulses) != 0 || pulses <= 99)
            pulses = 0;
        // A count beyond the item's limits is refused by the store: the operator is told.
        if (unitSetItemFromDisplay(calibrationQuantity(source), static_cast<int32_t>(pulses)) != 0)
            alarmRaise(SPRAY_CALIB_ERROR);
        break;
    }
    case EV_SIM_SPEED_CHANGED:
        simSpeedSet(dsValue(DS_SIM_SPEED));
        break;
    default:
        break;
    }
}
