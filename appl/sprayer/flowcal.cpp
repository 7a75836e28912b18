#include "flowcal.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "datastore.h"
#include "debugout.h"
#include "dsvalue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "pulsinput.h"

#include <algorithm>

namespace {

constexpr int kOwner = 2;
constexpr uint32_t kMainCounter = 1;
constexpr uint32_t kFillCounter = 3;
constexpr uint32_t kFillValveArg = 11;
constexpr uint32_t kMaxNozzleFlow = 9999;
// A span below this many raw steps would make the sensor maximum meaningless.
constexpr uint32_t kMinSpanRaw = 152;

struct ByRate {
    uint32_t state;
    uint16_t flow;
};

struct ByVolume {
    uint32_t state;
    int32_t last;
};

ByRate gRate = {};
ByVolume gMain = {};
ByVolume gFill = {};

bool masterValveOpen()
{
    return (dsValue(DS_STATUS_BITS) & 1u) != 0;
}

bool autoFilling()
{
    return dsValue(DS_AUTO_FILLING_ENABLED) != 0;
}

int32_t tripValue(uint32_t counter)
{
    int32_t value = 0;
    if (pulsGetTripValueBase(counter, &value) != 0)
        value = 0;
    return value;
}

// Adds the pulses since the last tick; a counter that wrapped or was reset adds nothing.
void countPulses(ByVolume& machine, uint32_t counter)
{
    const int32_t t = tripValue(counter);
    const int32_t diff = static_cast<int32_t>(static_cast<uint32_t>(t) - static_cast<uint32_t>(machine.last));
    if (diff > 0)
        datastoreSetUint32(DS_CAL_PULSE_COUNT, dsValue(DS_CAL_PULSE_COUNT) + static_cast<uint32_t>(diff));
    machine.last = t;
}

// pulses / volume x 100000, rounded; 0 volume is never passed in.
uint32_t numberFromVolume(uint32_t pulses, uint32_t volume)
{
    const float ratio = static_cast<float>(pulses) / static_cast<float>(volume);
    const double number = static_cast<double>(ratio) * 100000.0 + 0.5;
    return number >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(number);
}

// The store refuses a result outside the item's limits; the operator is told.
void storeVolumeResult(uint32_t item, uint32_t number)
{
    if (datastoreSetUint32(item, number) != 0)
        alarmRaise(SPRAY_CALIB_ERROR);
}

}  // namespace

uint64_t flowCalByRateResult(uint32_t flow, uint32_t calibration, uint32_t m)
{
    return (static_cast<uint64_t>(flow) * calibration + m / 2) / m;
}

uint32_t flowCalByRateState()
{
    return gRate.state;
}

uint32_t flowCalByVolumeState()
{
    return gMain.state;
}

uint32_t fillFlowCalByVolumeState()
{
    return gFill.state;
}

void flowCalByRateStep(uint32_t id, uint32_t reset)
{
    if (reset != 0 || id == EV_CAL_RESET || gRate.state == 0) {
        eventPost(kOwner, EV_CAL_STATUS_B, 0);
        gRate.flow = 0;
        gRate.state = 1;
        return;
    }
    switch (gRate.state) {
    case 1:
        if (id == EV_CAL_MASTER_VALVE) {
            debugPrintf(0, "FlowCalR wait start -> wait master\n\r");
            eventPost(kOwner, EV_SET_REGUL_MODE, 1);
            eventPost(kOwner, EV_CAL_STATUS_B, 1);
            datastoreSetBool(DS_MASTER_VALVE_CAL, 1);
            datastoreSetUint16(DS_FLOW_CAL_RATE_VALUE, 0);
            gRate.state = 2;
        }
        break;
    case 2:
        if (masterValveOpen()) {
            debugPrintf(0, "FlowCalR wait master -> busy\n\r");
            gRate.state = 3;
        }
        break;
    case 3:
        if (id == EV_CAL_TICK) {
            const uint32_t n = dsValue(DS_REG_RUNTIME_239);
            const uint32_t flow = n == 0 ? 0 : std::min((dsValue(DS_LIVE_AMOUNT) + n / 2) / n, kMaxNozzleFlow);
            gRate.flow = static_cast<uint16_t>(flow);
            datastoreSetUint16(DS_FLOW_CAL_RATE_VALUE, static_cast<uint16_t>(flow));
        } else if (!masterValveOpen()) {
            datastoreSetBool(DS_MASTER_VALVE_CAL, 0);
            gRate.state = 4;
            debugPrintf(0, "FlowCalR busy -> Master off\n\r");
        }
        break;
    case 4: {
        if (id != EV_CAL_STEP || gRate.flow == 0)
            break;
        debugPrintf(0, "FlowCalR master off - new value\n\r");
        const uint32_t m = dsValue(DS_FLOW_CAL_RATE_VALUE);
        if (m == 0)
            break;
        const uint32_t old = dsValue(DS_FLOW_CAL_NUMBER);
        const uint64_t result = flowCalByRateResult(gRate.flow, old, m);
        debugPrintf(0, "FlowCalR master off - new value Temp = %lu cal = %u Prev = %u New = %u\n\r",
                    static_cast<unsigned long>(result), old, static_cast<unsigned>(gRate.flow), m);
        if (result >= FLOW_CAL_NUMBER_MIN && result <= FLOW_CAL_NUMBER_MAX &&
            datastoreSetUint32(DS_FLOW_CAL_NUMBER, static_cast<uint32_t>(result)) == 0) {
            gRate.state = 8;
            gRate.flow = 0;
        } else {
            datastoreSetUint16(DS_FLOW_CAL_RATE_VALUE, gRate.flow);
            alarmRaise(SPRAY_CALIB_ERROR);
        }
        break;
    }
    case 8:
        eventPost(kOwner, EV_CAL_STATUS_B, 0);
        eventPost(kOwner, EV_CAL_STATUS_A, 1);
        gRate.state = 1;
        debugPrintf(0, "FlowCalR done\n\r");
        break;
    default:
        break;
    }
}

void flowCalByVolumeStep(uint32_t id, uint32_t reset)
{
    if (reset != 0 || id == EV_CAL_RESET || gMain.state == 0) {
        gMain.state = 1;
        datastoreSetBool(DS_MASTER_VALVE_CAL, 0);
        datastoreSetUint32(DS_CAL_COLLECTED_VOLUME, 0);
        datastoreSetUint32(DS_CAL_PULSE_COUNT, 0);
        return;
    }
    switch (gMain.state) {
    case 1:
        if (id == EV_CAL_MASTER_VALVE) {
            debugPrintf(0, "FlowCalV wait start -> wait master\n\r");
            eventPost(kOwner, EV_SET_REGUL_MODE, 1);
            datastoreSetBool(DS_MASTER_VALVE_CAL, 1);
            gMain.last = tripValue(kMainCounter);
            gMain.state = 2;
        }
        break;
    case 2:
        if (dsValue(DS_MASTER_SWITCH) != 0) {
            gMain.state = 3;
            debugPrintf(0, "FlowCalV wait master -> busy\n\r");
        }
        break;
    case 3:
        if (id == EV_CAL_TICK) {
            countPulses(gMain, kMainCounter);
        } else if (dsValue(DS_MASTER_SWITCH) == 0 && gMain.last != 0) {
            gMain.state = 6;
            debugPrintf(0, "FlowCalV stop pressed\n\r");
        }
        break;
    case 6: {
        const uint32_t volume = dsValue(DS_CAL_COLLECTED_VOLUME);
        if (id != EV_CAL_VOLUME_ENTERED || volume == 0)
            break;
        const uint32_t pulses = dsValue(DS_CAL_PULSE_COUNT);
        const uint32_t number = numberFromVolume(pulses, volume);
        storeVolumeResult(DS_FLOW_CAL_NUMBER, number);
        gMain.state = 8;
        gMain.last = 0;
        debugPrintf(0, "FlowCalV volume ready CP=%lu PC=%lu CV=%lu\n\r", static_cast<unsigned long>(number),
                    static_cast<unsigned long>(pulses), static_cast<unsigned long>(volume));
        break;
    }
    case 8:
        eventPost(kOwner, EV_CAL_STATUS_A, 1);
        gMain.state = 1;
        debugPrintf(0, "FlowCalV done\n\r");
        break;
    default:
        break;
    }
}

void fillFlowCalByVolumeStep(uint32_t id, uint32_t reset)
{
    if (reset != 0 || id == EV_CAL_RESET || gFill.state == 0) {
        gFill.state = 1;
        datastoreSetBool(DS_MASTER_VALVE_CAL, 0);
        datastoreSetUint32(DS_CAL_COLLECTED_VOLUME, 0);
        datastoreSetUint32(DS_CAL_PULSE_COUNT, 0);
        if (autoFilling())
            eventPost(kOwner, EV_FILL_VALVE_CLOSE, kFillValveArg);
        return;
    }
    switch (gFill.state) {
    case 1:
        if (id == EV_CAL_MASTER_VALVE) {
            eventPost(kOwner, EV_SET_REGUL_MODE, 1);
            if (autoFilling())
                eventPost(kOwner, EV_FILL_VALVE_OPEN, kFillValveArg);
            datastoreSetBool(DS_MASTER_VALVE_CAL, 1);
            gFill.last = tripValue(kFillCounter);
            gFill.state = 3;
        }
        break;
    case 3:
        if (id == EV_CAL_TICK) {
            countPulses(gFill, kFillCounter);
        } else if (id == EV_CAL_MASTER_VALVE) {
            datastoreSetBool(DS_MASTER_VALVE_CAL, 0);
            if (autoFilling())
                eventPost(kOwner, EV_FILL_VALVE_CLOSE, kFillValveArg);
            gFill.state = 6;
        }
        break;
    case 6: {
        const uint32_t volume = dsValue(DS_CAL_COLLECTED_VOLUME);
        if (id != EV_CAL_VOLUME_ENTERED || volume == 0)
            break;
        storeVolumeResult(DS_FILL_FLOW_CAL_NUMBER, numberFromVolume(dsValue(DS_CAL_PULSE_COUNT), volume));
        gFill.state = 8;
        gFill.last = 0;
        break;
    }
    case 8:
        eventPost(kOwner, EV_CAL_STATUS_A, 1);
        gFill.state = 1;
        break;
    default:
        break;
    }
}

namespace {

void stepSelected(uint32_t id, uint32_t reset)
{
    switch (dsValue(DS_FLOW_CAL_STATE)) {
    case 0:
        flowCalByRateStep(id, reset);
        break;
    case 1:
        flowCalByVolumeStep(id, reset);
        break;
    case 2:
        fillFlowCalByVolumeStep(id, reset);
        break;
    default:
        break;
    }
}

}  // namespace

void flowCalInit()
{
    stepSelected(0, 1);
}

void flowCalHandleEvent(uint32_t id)
{
    stepSelected(id, 0);
}

uint32_t pressureSpanCal()
{
    const uint32_t r = dsValue(DS_LIVE_PRESSURE_RAW);
    const uint32_t z = dsValue(DS_PRESSURE_SENSOR_ZERO);
    const uint32_t reference = dsValue(DS_REF_PRESSURE);
    uint32_t result = 0;
    if (r > z + kMinSpanRaw) {
        const uint32_t d = r - z;
        const uint32_t maximum = (d / 2 + (1023 - z) * 10 * reference) / d;
        result = datastoreSetUint16(DS_PRESSURE_SENSOR_MAX, static_cast<uint16_t>(maximum)) == 0 ? 1 : 0;
    }
    debugPrintf(0, "CalLiqPressMax %u %u %u %u\r\n", r, z, reference, dsValue(DS_PRESSURE_SENSOR_MAX));
    return result;
}
