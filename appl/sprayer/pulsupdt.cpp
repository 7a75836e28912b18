#include "pulsupdt.h"

#include "comport.h"
#include "datastore.h"
#include "debugcon.h"
#include "dshooks.h"
#include "dsvcappl.h"
#include "pulsinput.h"

#include <initializer_list>

namespace {

constexpr uint32_t kRefreshGroupCounters = 10000;
constexpr uint32_t kSimulatedSpeedSource = 3;
constexpr uint32_t kSimulatedSpeedFactor = 100;
constexpr uint32_t kFlowCounters[] = {2, 5};

struct CounterRecord {
    uint32_t w[9];
};

// Overrides of the default record {1, 1, 1000, 1, 0, 0, 0, 1, 60000}, by counter id.
CounterRecord recordOf(uint32_t id)
{
    CounterRecord r = {{1, 1, 1000, 1, 0, 0, 0, 1, 60000}};
    uint32_t* w = r.w;
    switch (id) {
    case 1: case 3: case 8: w[1] = 500; break;
    case 2: w[1] = 50; w[3] = 0; w[7] = 100; w[8] = 600; break;
    case 4: w[1] = 100; w[3] = 0; w[7] = 100; w[8] = 600; break;
    case 5: case 6: w[1] = 200; w[3] = 0; w[7] = 1000000; break;
    case 9: case 10: w[1] = 200; break;
    case 11: w[1] = 200; w[2] = 500; w[3] = 0; w[7] = 10; w[8] = 360; break;
    case 12: case 14: case 16: w[1] = 200; w[3] = 0; w[7] = 10; break;
    case 13: case 15: w[1] = 200; w[2] = 2000; w[3] = 0; w[7] = 10; w[8] = 360; break;
    case 17: w[1] = 200; w[2] = 2000; w[3] = 100; w[7] = 10; w[8] = 360; break;
    case 18: w[1] = 200; w[3] = 100; w[7] = 10; break;
    case 19: w[7] = 1000; break;
    case 20: w[7] = 100000000; break;
    case 21: w[1] = 200; w[7] = 1000; break;
    default: break;
    }
    return r;
}

uint32_t initCounter(uint32_t id)
{
    const CounterRecord r = recordOf(id);
    return pulsInitCounter(id, r.w[0] & 0xFF, r.w[1], r.w[2], r.w[3], r.w[4], r.w[5], r.w[6], r.w[7], r.w[8]) &
           0xFFFF;
}

// Rounded division in 64 bits; 0 for a divisor of 0 (counting stops instead of
// a division by zero). Results beyond 32 bits stick at the limit.
uint32_t roundedQuotient(uint64_t dividend, uint64_t divisor)
{
    if (divisor == 0)
        return 0;
    const uint64_t quotient = (dividend + divisor / 2) / divisor;
    return quotient > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(quotient);
}

void setFlowFactor(uint32_t factor)
{
    for (uint32_t counter : kFlowCounters)
        pulsSetCounterUnit(counter, factor);
}

// The item's value as stored. The store also calls the hooks for a value it
// refuses, handing over the violated limit: a factor taken from that would no
// longer match the calibration number the store keeps.
uint32_t storedValue(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}

struct SpeedSource {
    uint32_t item;  // 0: simulated
    uint32_t counters[2];
};

SpeedSource speedSourceOf(uint32_t source)
{
    switch (source) {
    case 0: return {DS_SPEED_CAL_NUMBER_B, {13, 14}};
    case 1: return {DS_SPEED_CAL_NUMBER_A, {11, 12}};
    case kSimulatedSpeedSource: return {0, {17, 18}};
    default: return {DS_SPEED_CAL_NUMBER, {15, 16}};
    }
}

}  // namespace

void pulsupdtRegister()
{
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, pulsupdtNewFlowCal);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_CORR, pulsupdtNewFlowCalCorr);
    datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL_NH3_CORR, pulsupdtNewFlowCalNH3Corr);
    datastoreRegisterChangeHook(DS_HOOK_SPEED_SOURCE_CHANGED, pulsupdtSpeedSourceChanged);
    dsvcapplRegisterCounterSetup(pulsupdtInitSpecificPulsCounters);
}

uint32_t pulsupdtInitPulsCounters()
{
    uint32_t result = 0;
    for (uint32_t id = 1; id <= PULS_COUNTER_COUNT; ++id) {
        result = initCounter(id);
        if (result == 0)
            result = pulsClearCounterParam(id) & 0xFFFF;
        if (result == 0)
            result = pulsClearCounterAux(id) & 0xFFFF;
        if (result != 0) {
            comportPrintf(0, 0, "pulsupdtInitPulsCounters() reports error %u on Id %u\n\r",
                          static_cast<unsigned>(result), static_cast<unsigned>(id));
            break;
        }
    }
    pulsClearCounter(19);
    pulsClearCounter(20);
    for (uint32_t trip : {14u, 15u, 16u, 17u, 18u, 19u, 5u, 6u, 7u, 8u, 9u, 20u, 21u, 22u})
        pulsSetCounterMode(trip, 0, 0);
    for (uint32_t trip : {5u, 6u, 7u, 8u})
        pulsResetTrip(trip);
    datastoreRefreshItems(kRefreshGroupCounters);
    debugPrintf(0, "pulsupdtInitPulsCounters() end\r\n");
    return result;
}

uint32_t pulsupdtInitSpecificPulsCounters(uint32_t id)
{
    const uint32_t result = initCounter(id);
    if (result != 0) {
        comportPrintf(0, 0, "pulsupdtInitSpecificPulsCounters() reports error %u on Id %u\n\r",
                      static_cast<unsigned>(result), static_cast<unsigned>(id));
    }
    datastoreRefreshItems(kRefreshGroupCounters);
    debugPrintf(0, "pulsupdtInitSpecificPulsCounters() counter: %u, end\r\n", static_cast<unsigned>(id));
    return result;
}

uint32_t pulsupdtUpdate()
{
    return pulsUpdateCounter(0) & 0xFFFF;
}

uint32_t pulsupdtSpeedSourceChanged(uint32_t, const void*, uint32_t, uint16_t)
{
    const SpeedSource source = speedSourceOf(datastoreGetUint8(DS_SPEED_SOURCE));
    const uint32_t factor = source.item == 0 ? kSimulatedSpeedFactor
                                             : roundedQuotient(1000000, datastoreGetUint32(source.item));
    for (uint32_t counter : source.counters)
        pulsSetCounterUnit(counter, factor);
    return 0;
}

uint32_t pulsupdtNewFlowCal(uint32_t id, const void*, uint32_t, uint16_t)
{
    const uint32_t calibration = storedValue(id);
    const uint32_t factor = roundedQuotient(1000000000, calibration);
    setFlowFactor(factor);
    debugPrintf(0, "pulsupdtNewFlowCal(%lu) FC=%lu F=%lu\r\n", static_cast<unsigned long>(id),
                static_cast<unsigned long>(calibration), static_cast<unsigned long>(factor));
    return 0;
}

uint32_t pulsupdtNewFlowCalCorr(uint32_t id, const void*, uint32_t, uint16_t)
{
    // The mode factor is a percentage (crop default 100): at 100 the counters
    // must keep the units the calibration number alone gives them, millionths
    // of a litre per pulse, so the quotient is taken of 10^9 x 100 in one
    // rounded step.
    const uint32_t k = storedValue(id);
    const uint64_t product = static_cast<uint64_t>(k) * datastoreGetUint32(DS_FLOW_CAL_NUMBER);
    const uint32_t factor = roundedQuotient(100000000000ULL, product);
    setFlowFactor(factor);
    debugPrintf(0, "pulsupdtNewFlowCalCorr(%lu) C=%u FC=%llu F=%lu\r\n", static_cast<unsigned long>(id),
                static_cast<unsigned>(k), static_cast<unsigned long long>(product),
                static_cast<unsigned long>(factor));
    return 0;
}

uint32_t pulsupdtNewFlowCalNH3Corr(uint32_t id, const void*, uint32_t, uint16_t)
{
    const uint32_t k = storedValue(id);
    if (k == 0) {
        debugPrintf(0, "pulsupdtNewFlowCalNH3Corr(%lu) Error\r\n", static_cast<unsigned long>(id));
        return 0;
    }
    const uint64_t corrected = (static_cast<uint64_t>(datastoreGetUint32(DS_FLOW_CAL_NUMBER)) * 1000 + k / 2) / k;
    const uint32_t factor = roundedQuotient(1000000000, corrected);
    setFlowFactor(factor);
    debugPrintf(0, "pulsupdtNewFlowCalNH3Corr(%lu) C=%u FC=%llu F=%lu\r\n", static_cast<unsigned long>(id),
                static_cast<unsigned>(k), static_cast<unsigned long long>(corrected),
                static_cast<unsigned long>(factor));
    return 0;
}
