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

// Written under the global critical section: the debug console may set it too.
uint32_t gPulsesPerSecond = 0;
// The generator's own state, main thread only.
uint32_t gStandstillMs = 0;
bool gTicked = false;
uint32_t gLastTickMs = 0;
uint32_t gPulseCarry = 0;  // pulse-milliseconds short of a whole pulse
SimSpeedPulseSink gSink = pulsSetExternalPulsCount;

struct CanSpeed {
    uint32_t lastValue;
    uint32_t lastMs;
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

}  // namespace

void simSpeedSetPulseSink(SimSpeedPulseSink sink)
{
    gSink = sink != nullptr ? sink : pulsSetExternalPulsCount;
}

uint32_t speedCalibrationCounter(uint32_t source)
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

void speedInit()
{
    {
        KernelCriticalSection cs;
        gPulsesPerSecond = 0;
    }
    gTicked = false;
    gStandstillMs = 0;
    gPulseCarry = 0;
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
    // The pulses follow the time since the previous step, not the step count:
    // a step that comes late, or one that a held-up main thread never gives,
    // loses no ground.
    const uint32_t now = clockGetMs();
    const uint32_t elapsed = gTicked ? now - gLastTickMs : 1000;
    gTicked = true;
    gLastTickMs = now;
    const uint32_t perSecond = simSpeedPulsesPerSecond();
    if (perSecond == 0) {
        gStandstillMs += elapsed;
        gPulseCarry = 0;
        gSink(SPEED_SIM_INPUT, 0, gStandstillMs);
        return;
    }
    const uint64_t pulseMs = static_cast<uint64_t>(perSecond) * elapsed + gPulseCarry;
    gPulseCarry = static_cast<uint32_t>(pulseMs % 1000);
    const uint32_t period = gStandstillMs != 0 ? gStandstillMs : elapsed;
    gStandstillMs = 0;
    gSink(SPEED_SIM_INPUT, static_cast<uint32_t>(pulseMs / 1000), period);
}

void canSpeedAccumulate(uint32_t takeBaseline)
{
    if (takeBaseline == 0)
        return;
    uint32_t value = 0;
    sectrixGetVersion(nullptr, &value);
    gCan.lastValue = value;
    gCan.lastMs = clockGetMs();
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
        if (pulsGetCounterParam(speedCalibrationCounter(source), &pulses) != 0 || pulses <= 99)
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
