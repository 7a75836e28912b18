#include "pulsinput.h"

#include "cdebug.h"
#include "clock.h"
#include "dshooks.h"
#include "kernel.h"

#include <cstdint>
#include <cstring>

namespace {

enum CounterKind { KIND_RATE, KIND_TOTAL, KIND_RUNTIME };

struct PulsInput {
    uint32_t count;
    uint32_t lastTime;  // ticks in mode 0, ms in mode 1
    uint32_t prevTime;
    uint32_t mode;
    uint32_t accumulator;
    uint32_t countDown;
    uint32_t accumulatorSeen;
};

struct Counter {
    uint32_t units;
    uint32_t remainder;
    uint32_t running;
    uint32_t countSeen;
    uint32_t refTime;
    uint32_t config[9];
};

struct CounterRow {
    uint8_t input;
    uint8_t kind;
    uint8_t clearValues;
    uint16_t writableMask;  // bit k: configuration word k may be written through the store
};

struct Trip {
    int32_t remainder;
    int32_t units;
    uint32_t baseRemainderSeen;
    uint32_t baseUnitsSeen;
    uint32_t running;
};

struct TripRow {
    uint8_t base;
    uint8_t direction;  // 0 adds, 1 subtracts, 2 follows
    uint8_t clearValues;
};

const uint16_t kAllWords = 0x1FF;
const CounterRow kCounters[PULS_COUNTER_COUNT + 1] = {
    {0, KIND_RATE, 0, kAllWords},  {1, KIND_TOTAL, 0, kAllWords}, {1, KIND_RATE, 1, kAllWords},
    {2, KIND_TOTAL, 0, kAllWords}, {2, KIND_RATE, 1, kAllWords},  {1, KIND_TOTAL, 0, kAllWords},
    {2, KIND_TOTAL, 0, kAllWords}, {1, KIND_TOTAL, 0, kAllWords}, {3, KIND_TOTAL, 0, kAllWords},
    {4, KIND_TOTAL, 0, kAllWords}, {5, KIND_TOTAL, 0, kAllWords}, {3, KIND_RATE, 1, kAllWords},
    {3, KIND_TOTAL, 0, kAllWords}, {4, KIND_RATE, 1, kAllWords},  {4, KIND_TOTAL, 0, kAllWords},
    {5, KIND_RATE, 1, kAllWords},  {5, KIND_TOTAL, 0, kAllWords}, {6, KIND_RATE, 1, kAllWords},
    {6, KIND_TOTAL, 0, kAllWords}, {0, KIND_TOTAL, 0, kAllWords}, {0, KIND_TOTAL, 0, kAllWords},
    {0, KIND_RUNTIME, 0, kAllWords},
};

const TripRow kTrips[PULS_TRIP_COUNT + 1] = {
    {0, 0, 0},  {1, 0, 0},  {2, 2, 1},  {3, 0, 0},  {4, 2, 1},  {5, 0, 0},  {5, 0, 0},  {5, 0, 0},
    {5, 1, 0},  {6, 0, 0},  {7, 0, 0},  {8, 0, 0},  {9, 0, 0},  {10, 0, 0}, {19, 0, 0}, {19, 0, 0},
    {19, 0, 0}, {20, 0, 0}, {20, 0, 0}, {20, 0, 0}, {21, 0, 0}, {21, 0, 0}, {21, 0, 0},
};

const uint32_t kPulseDefaults[9] = {0, 100, 8000, 0, 0, 0, 0, 1000, 1000};
const uint32_t kRuntimeDefaults[9] = {0, 1, 2100000000, 0, 0, 0, 0, 1000, 1};
const uint32_t kMaxUnitSize = 2100000000;

PulsInput inputs[PULS_INPUT_COUNT];
Counter counters[PULS_COUNTER_COUNT + 1];
Trip trips[PULS_TRIP_COUNT + 1];

// Trace lines of the update paths, each at most once per second.
struct TraceGate {
    bool used = false;
    uint32_t last = 0;
    bool open()
    {
        const uint32_t now = clockGetMs();
        if (used && static_cast<int32_t>(now - last) < 1000)
            return false;
        used = true;
        last = now;
        return true;
    }
};
TraceGate inputTrace, counterTrace, generatorTrace, tripTrace, tripValueTrace;

bool validCounter(uint32_t c) { return c >= 1 && c <= PULS_COUNTER_COUNT; }
bool validTrip(uint32_t t) { return t >= 1 && t <= PULS_TRIP_COUNT; }

void readInput(uint32_t input, uint32_t* count, uint32_t* lastTime)
{
    KernelCriticalSection cs;
    *count = inputs[input].count;
    *lastTime = inputs[input].lastTime;
}

uint32_t inputLastTimeMs(const PulsInput& in, uint32_t lastTime)
{
    return in.mode == 0 ? clockTicksToMs(lastTime) : lastTime;
}

// A unit size or time base of 0 would divide by zero in the update.
void guardDivisors(Counter& counter)
{
    if (counter.config[7] == 0)
        counter.config[7] = 1;
    if (counter.config[8] == 0)
        counter.config[8] = 1;
}

void storeConfig(Counter& counter, const uint32_t* words)
{
    memcpy(counter.config, words, sizeof counter.config);
    guardDivisors(counter);
}

void updateAccumulator(PulsInput& in)
{
    KernelCriticalSection cs;
    const uint32_t growth = in.count - in.accumulatorSeen;
    in.accumulator = in.countDown ? in.accumulator - growth : in.accumulator + growth;
    in.accumulatorSeen = in.count;
}

uint32_t truncateToU32(float x)
{
    if (x >= 4294967296.0f)
        return 0xFFFFFFFFu;
    if (x <= 0.0f)
        return 0;
    return static_cast<uint32_t>(x);
}

int32_t saturateToI32(int64_t x)
{
    return x > INT32_MAX ? INT32_MAX : x < INT32_MIN ? INT32_MIN : static_cast<int32_t>(x);
}

uint32_t roundToU32(float x)
{
    return truncateToU32(x + 0.5f);
}

void takeBaseSeen(uint32_t t)
{
    const Counter& base = counters[kTrips[t].base];
    trips[t].baseRemainderSeen = base.remainder;
    trips[t].baseUnitsSeen = base.units;
}

uint32_t resetCounter(uint32_t c)
{
    Counter& counter = counters[c];
    if (counter.running)
        return 0;
    counter.running = 1;
    const PulsInput& in = inputs[kCounters[c].input];
    uint32_t prevTime;
    {
        KernelCriticalSection cs;
        counter.countSeen = in.count;
        prevTime = in.prevTime;
    }
    counter.refTime = in.mode == 0 ? clockGetMs() : prevTime;
    return 0;
}

uint32_t clearCounter(uint32_t c)
{
    Counter& counter = counters[c];
    if (!counter.running)
        return 0;
    if (kCounters[c].kind == KIND_TOTAL)
        counter.remainder += CalculateBaseCounter(0, c, nullptr, 1);
    counter.running = 0;
    if (kCounters[c].clearValues) {
        counter.units = 0;
        counter.remainder = 0;
    }
    return 0;
}

uint32_t updateCounter(uint32_t c)
{
    Counter& counter = counters[c];
    const CounterRow& row = kCounters[c];
    const PulsInput& in = inputs[row.input];
    const uint32_t now = clockGetMs();
    uint32_t result = 0;

    if (row.kind == KIND_RUNTIME) {
        if (counter.running) {
            counter.remainder += now - counter.refTime;
            counter.refTime = now;
        }
    } else if (row.kind == KIND_TOTAL) {
        counter.remainder += CalculateBaseCounter(0, c, nullptr, 0);
    } else {
        uint32_t count, lastTime;
        readInput(row.input, &count, &lastTime);
        const uint32_t lastMs = inputLastTimeMs(in, lastTime);
        if (static_cast<int32_t>(counter.refTime - lastMs) > 0)
            counter.refTime = lastMs;
        uint32_t elapsed = 0;
        const float x = static_cast<float>(CalculateBaseCounter(1, c, &elapsed, 0));
        if (elapsed >= 1 && counter.running) {
            const float timeBase = static_cast<float>(counter.config[8]);
            const float span = static_cast<float>(elapsed);
            switch (counter.config[0] & 0xFF) {
            case 0:
                counter.remainder = roundToU32(x * span / timeBase);
                counter.units = 0;
                break;
            case 1:
                counter.remainder = roundToU32(x * timeBase / span);
                counter.units = 0;
                break;
            case 2:
                counter.remainder += roundToU32(x * span / timeBase);
                break;
            case 3:
                counter.remainder += roundToU32(x * timeBase / span);
                break;
            default:
                // The time-out and the unit carry still apply.
                result = 3;
                break;
            }
        }
        uint32_t prevTime;
        {
            KernelCriticalSection cs;
            prevTime = in.prevTime;
        }
        const uint32_t t = in.mode == 1 ? prevTime : now;
        const uint32_t timeout = counter.config[2];
        if (static_cast<int64_t>(static_cast<int32_t>(t - counter.refTime)) > static_cast<int64_t>(timeout)) {
            counter.remainder = 0;
            counter.units = 0;
            {
                KernelCriticalSection cs;
                counter.countSeen = in.count;
            }
            counter.refTime = t - timeout - 1;
        }
    }

    if (!counter.running)
        return 8;

    // Integer division: a float quotient can round above the remainder for large
    // values and wrap it.
    const uint32_t unitSize = counter.config[7] ? counter.config[7] : 1;
    const uint32_t q = counter.remainder / unitSize;
    counter.units += q;
    counter.remainder -= q * unitSize;

    if (counterTrace.open())
        CDEBUG_LOG(CDebugLevel::DEB, "cUpdate", "PULSTIMER_ID = %d = %s, unit = %d, base = %d",
                   static_cast<int>(c), "", static_cast<int>(counter.units),
                   static_cast<int>(counter.remainder));
    return result;
}

uint32_t updateTrip(uint32_t t)
{
    Trip& trip = trips[t];
    const Counter& base = counters[kTrips[t].base];
    const uint32_t unitSize = base.config[7];
    if (unitSize == 0 || unitSize > kMaxUnitSize)
        return 10;
    if (!trip.running)
        return 0;

    uint32_t result = 0;
    float unitsDiff = static_cast<float>(base.units) - static_cast<float>(trip.baseUnitsSeen);
    if (unitsDiff > 2100000000.0f)
        unitsDiff = 2100000000.0f;
    if (unitsDiff < -2100000000.0f)
        unitsDiff = -2100000000.0f;
    // Trip values come from the store as they are: the sums are taken in 64 bits
    // and the totals held at the ends of their range instead of wrapping.
    int64_t dUnits = static_cast<int32_t>(unitsDiff);
    int64_t dRemainder;
    if (base.remainder < trip.baseRemainderSeen) {
        // The base carried its remainder into units since: one unit is borrowed,
        // or as many as the carry took when the remainder seen held more than a
        // unit (a stopped counter keeps such a remainder, and it is stored so).
        const int64_t fall = int64_t{trip.baseRemainderSeen} - base.remainder;
        const int64_t borrowed = (fall + unitSize - 1) / unitSize;
        if (dUnits < borrowed) {
            result = 7;
            dRemainder = 0;
        } else {
            dUnits -= borrowed;
            dRemainder = borrowed * unitSize - fall;
        }
    } else {
        dRemainder = int64_t{base.remainder} - trip.baseRemainderSeen;
    }
    trip.baseRemainderSeen = base.remainder;
    trip.baseUnitsSeen = base.units;

    const int64_t size = unitSize;
    int64_t remainder = trip.remainder;
    int64_t units = trip.units;
    switch (kTrips[t].direction) {
    case 0:
        remainder += dRemainder;
        units += dUnits;
        if (remainder >= size) {
            units += remainder / size;
            remainder %= size;
        }
        break;
    case 1:
        remainder -= dRemainder;
        units -= dUnits;
        if (remainder >= size || remainder <= -size) {
            units += remainder / size;
            remainder %= size;
        }
        break;
    default:
        remainder = static_cast<int32_t>(base.remainder);
        units = static_cast<int32_t>(base.units);
        break;
    }
    trip.remainder = saturateToI32(remainder);
    trip.units = saturateToI32(units);

    if (tripTrace.open())
        CDEBUG_LOG(CDebugLevel::DEB, "cUpdate", "TRIP_COUNTER_ID = %d = %s, unit = %d, base = %d",
                   static_cast<int>(t), "", static_cast<int>(trip.units), static_cast<int>(trip.remainder));
    return result;
}

// Runs fn on every trip whose base is counter c.
template <class Fn>
void forTripsOn(uint32_t c, Fn fn)
{
    for (uint32_t t = 1; t <= PULS_TRIP_COUNT; ++t)
        if (kTrips[t].base == c)
            fn(t);
}

}  // namespace

// ---- Inputs ----

void pulsInit()
{
    {
        KernelCriticalSection cs;
        memset(inputs, 0, sizeof inputs);
    }
    const uint32_t now = clockGetMs();
    for (uint32_t c = 0; c <= PULS_COUNTER_COUNT; ++c) {
        Counter& counter = counters[c];
        counter.units = 0;
        counter.remainder = 0;
        counter.running = 0;
        counter.refTime = now;
    }
    pulsResetCounter(0);
    for (uint32_t c = 0; c <= PULS_COUNTER_COUNT; ++c) {
        const uint32_t* defaults = kCounters[c].kind == KIND_RUNTIME ? kRuntimeDefaults : kPulseDefaults;
        memcpy(counters[c].config, defaults, sizeof counters[c].config);
    }
    for (uint32_t t = 0; t <= PULS_TRIP_COUNT; ++t) {
        trips[t] = Trip{};
        trips[t].running = 1;
        takeBaseSeen(t);
    }
    pulsRegisterDatastoreRecords();
}

uint32_t pulsSetInputMode(uint32_t input, uint32_t mode)
{
    if (input >= PULS_INPUT_COUNT || mode > 1)
        return 13;
    KernelCriticalSection cs;
    inputs[input].mode = mode;
    inputs[input].prevTime = inputs[input].lastTime;
    return 0;
}

uint32_t pulsInputPulse(uint32_t input)
{
    if (input >= PULS_INPUT_COUNT)
        return 13;
    KernelCriticalSection cs;
    if (inputs[input].mode != 0)
        return 13;
    inputs[input].count += 1;
    inputs[input].lastTime = clockGetTicks();
    return 0;
}

uint32_t pulsSetExternalPulsCountNew(uint32_t input, uint32_t count, uint32_t timeDelta)
{
    if (input >= PULS_INPUT_COUNT)
        return 13;
    uint32_t total;
    {
        KernelCriticalSection cs;
        PulsInput& in = inputs[input];
        if (in.mode != 1)
            return 13;
        in.prevTime = in.lastTime + timeDelta;
        if (count == 0)
            return 0;
        in.lastTime = in.prevTime;
        in.count += count;
        total = in.count;
    }
    if (inputTrace.open())
        CDEBUG_LOG(CDebugLevel::DEB, "cUpdate", "id = %d = %s , value = %d", static_cast<int>(input), "",
                   static_cast<int>(total));
    return 0;
}

uint32_t pulsSetExternalPulsCount(uint32_t input, uint32_t count, uint32_t timeDelta)
{
    return pulsSetExternalPulsCountNew(input, count, timeDelta);
}

uint32_t pulsGetInputCount(uint32_t input)
{
    if (input >= PULS_INPUT_COUNT)
        return 0;
    KernelCriticalSection cs;
    return inputs[input].count;
}

uint32_t pulsSetInputDirection(uint32_t input, uint32_t down)
{
    if (input >= PULS_INPUT_COUNT)
        return 4;
    updateAccumulator(inputs[input]);
    KernelCriticalSection cs;
    inputs[input].countDown = down;
    return 0;
}

uint32_t pulsUpdateInputAccumulator(uint32_t input, uint32_t* accumulator)
{
    if (input >= PULS_INPUT_COUNT)
        return 4;
    updateAccumulator(inputs[input]);
    if (accumulator) {
        KernelCriticalSection cs;
        *accumulator = inputs[input].accumulator;
    }
    return 0;
}

// ---- Counters ----

uint32_t pulsResetCounter(uint32_t counter)
{
    if (counter == 0) {
        for (uint32_t c = 1; c <= PULS_COUNTER_COUNT; ++c)
            resetCounter(c);
        return 0;
    }
    if (!validCounter(counter))
        return 1;
    return resetCounter(counter);
}

uint32_t pulsClearCounter(uint32_t counter)
{
    if (counter == 0) {
        for (uint32_t c = 1; c <= PULS_COUNTER_COUNT; ++c)
            clearCounter(c);
        return 0;
    }
    if (!validCounter(counter))
        return 1;
    return clearCounter(counter);
}

uint32_t pulsGetResetFlag(uint32_t counter, uint32_t* running)
{
    if (!validCounter(counter))
        return 1;
    *running = counters[counter].running;
    return 0;
}

uint32_t pulsInitCounter(uint32_t counter, uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3,
                         uint32_t c4, uint32_t c5, uint32_t c6, uint32_t c7, uint32_t c8)
{
    if (!validCounter(counter))
        return 1;
    if (c0 > 3)
        return 2;
    const uint32_t words[9] = {c0, c1, c2, c3, c4, c5, c6, c7, c8};
    storeConfig(counters[counter], words);
    return 0;
}

uint32_t pulsSetCounterUnit(uint32_t counter, uint32_t multiplier)
{
    if (!validCounter(counter))
        return 1;
    counters[counter].config[3] = multiplier;
    return 0;
}

uint32_t pulsSetCounterFactor(uint32_t counter, uint32_t perMille)
{
    if (!validCounter(counter))
        return 1;
    counters[counter].config[4] = perMille;
    return 0;
}

uint32_t pulsGetCounterUnitSize(uint32_t counter, uint32_t* unitSize)
{
    if (!validCounter(counter))
        return 1;
    *unitSize = counters[counter].config[7];
    return 0;
}

uint32_t pulsGetCounterParam(uint32_t counter, uint32_t* units)
{
    if (!validCounter(counter))
        return 1;
    *units = counters[counter].units;
    return 0;
}

uint32_t pulsGetCounterValue(uint32_t counter, uint32_t* units, float* unitsFloat)
{
    const uint32_t value = validCounter(counter) ? counters[counter].units : 0;
    if (units)
        *units = value;
    if (unitsFloat)
        *unitsFloat = static_cast<float>(value);
    return validCounter(counter) ? 0 : 1;
}

uint32_t pulsGetCounterRemainder(uint32_t counter, uint32_t* remainder, float* remainderFloat)
{
    const uint32_t value = validCounter(counter) ? counters[counter].remainder : 0;
    if (remainder)
        *remainder = value;
    if (remainderFloat)
        *remainderFloat = static_cast<float>(value);
    return validCounter(counter) ? 0 : 1;
}

uint32_t pulsSetCounterParam(uint32_t counter, uint32_t units)
{
    if (!validCounter(counter))
        return 1;
    counters[counter].units = units;
    forTripsOn(counter, [](uint32_t t) { updateTrip(t); });
    return 0;
}

uint32_t pulsSetCounterUnits(uint32_t counter, uint32_t units)
{
    if (!validCounter(counter))
        return 1;
    forTripsOn(counter, [units](uint32_t t) {
        updateTrip(t);
        trips[t].baseUnitsSeen = units;
    });
    counters[counter].units = units;
    return 0;
}

uint32_t pulsSetCounterAux(uint32_t counter, uint32_t remainder)
{
    if (!validCounter(counter))
        return 1;
    forTripsOn(counter, [remainder](uint32_t t) {
        updateTrip(t);
        trips[t].baseRemainderSeen = remainder;
    });
    counters[counter].remainder = remainder;
    return 0;
}

uint32_t pulsClearCounterParam(uint32_t counter)
{
    return pulsSetCounterUnits(counter, 0);
}

uint32_t pulsClearCounterAux(uint32_t counter)
{
    return pulsSetCounterAux(counter, 0);
}

uint32_t pulsUpdateCounter(uint32_t counter)
{
    if (counter == 0) {
        for (uint32_t c = 1; c <= PULS_COUNTER_COUNT; ++c)
            updateCounter(c);
        return 0;
    }
    if (!validCounter(counter))
        return 1;
    return updateCounter(counter);
}

uint32_t CalculateBaseCounter(uint32_t useEdgeTime, uint32_t c, uint32_t* elapsedOut, uint32_t force)
{
    uint32_t dummy;
    uint32_t& outElapsed = elapsedOut ? *elapsedOut : dummy;
    outElapsed = 0;
    if (!validCounter(c))
        return 0;
    Counter& counter = counters[c];
    if (!force && !counter.running)
        return 0;
    const uint32_t input = kCounters[c].input;
    uint32_t count, lastTime;
    readInput(input, &count, &lastTime);
    lastTime = inputLastTimeMs(inputs[input], lastTime);

    const uint32_t now = clockGetMs();
    // Unsigned: a reference ahead of the time compared with (handed-in times run
    // ahead of the program's clock) counts as long past, so the pulses are taken
    // in and the reference moves back to the time used.
    const uint32_t elapsed = (useEdgeTime ? lastTime : now) - counter.refTime;
    if (!force && elapsed < counter.config[1])
        return 0;

    const uint32_t delta = count - counter.countSeen;
    if (delta == 0)
        return 0;
    counter.countSeen = count;
    counter.refTime = useEdgeTime ? lastTime : now;

    const uint32_t bracket = (delta + counter.config[5]) * counter.config[3] + counter.config[6];
    const float scaled =
        static_cast<float>(bracket) * (1000.0f - static_cast<float>(counter.config[4])) / 1000.0f;
    const uint32_t result = truncateToU32(scaled);
    outElapsed = elapsed;

    if (generatorTrace.open())
        CDEBUG_LOG(CDebugLevel::DEB, "cUpdate", "PULSGENERATOR_ID = %d = %s, count = %d", static_cast<int>(c),
                   "", static_cast<int>(count));
    return result;
}

// ---- Trips ----

uint32_t pulsResetTrip(uint32_t trip)
{
    if (trip > PULS_TRIP_COUNT)
        return 6;
    const uint32_t first = trip ? trip : 1;
    const uint32_t last = trip ? trip : PULS_TRIP_COUNT;
    for (uint32_t t = first; t <= last; ++t) {
        if (trips[t].running)
            continue;
        takeBaseSeen(t);
        trips[t].running = 1;
    }
    return 0;
}

uint32_t pulsClearTrip(uint32_t trip)
{
    if (trip > PULS_TRIP_COUNT)
        return 6;
    const uint32_t first = trip ? trip : 1;
    const uint32_t last = trip ? trip : PULS_TRIP_COUNT;
    for (uint32_t t = first; t <= last; ++t) {
        if (!trips[t].running)
            continue;
        updateTrip(t);
        if (kTrips[t].clearValues) {
            trips[t].remainder = 0;
            trips[t].units = 0;
        }
        trips[t].running = 0;
    }
    return 0;
}

uint32_t UpdateTripCounter(uint32_t trip)
{
    if (trip == 0) {
        uint32_t result = 0;
        for (uint32_t t = 1; t <= PULS_TRIP_COUNT; ++t) {
            const uint32_t r = updateTrip(t);
            if (r && !result)
                result = r;
        }
        return result;
    }
    if (!validTrip(trip))
        return 1;
    return updateTrip(trip);
}

uint32_t pulsGetTripValue(uint32_t trip, uint32_t which, int32_t* value)
{
    if (!validTrip(trip))
        return 1;
    if (which > 1)
        return 6;
    updateTrip(trip);
    *value = which == 0 ? trips[trip].remainder : trips[trip].units;
    if (tripValueTrace.open())
        CDEBUG_LOG(CDebugLevel::DEB, "cUpdate", "%d = %s = %d", static_cast<int>(trip), "",
                   static_cast<int>(*value));
    return 0;
}

uint32_t pulsGetTripValueUnit(uint32_t trip, int32_t* value)
{
    return pulsGetTripValueUnit(trip, value, nullptr);
}

uint32_t pulsGetTripValueUnit(uint32_t trip, int32_t* value, float* valueFloat)
{
    const uint32_t result = pulsGetTripValue(trip, 0, value);
    if (result == 0 && valueFloat)
        *valueFloat = static_cast<float>(*value);
    return result;
}

uint32_t pulsGetTripValueBase(uint32_t trip, int32_t* value)
{
    return pulsGetTripValueBase(trip, value, nullptr);
}

uint32_t pulsGetTripValueBase(uint32_t trip, int32_t* value, float* valueFloat)
{
    const uint32_t result = pulsGetTripValue(trip, 1, value);
    if (result == 0 && valueFloat)
        *valueFloat = static_cast<float>(*value);
    return result;
}

uint32_t pulsSetCounterMode(uint32_t trip, int32_t units, int32_t remainder)
{
    if (!validTrip(trip))
        return 1;
    updateTrip(trip);
    trips[trip].units = units;
    trips[trip].remainder = remainder;
    return 0;
}

uint32_t pulsStopCounter(uint32_t trip)
{
    return pulsSetCounterMode(trip, 0, 0);
}

// ---- Datastore record callbacks ----

uint32_t pulsDsTripSize(uint32_t)
{
    return DS_COUNTER_STATE_SIZE;
}

uint32_t pulsDsGetTrip(uint32_t trip, void* buffer)
{
    if (!validTrip(trip) || !buffer)
        return 0;
    const uint32_t result = updateTrip(trip);
    const int32_t record[3] = {trips[trip].remainder, trips[trip].units,
                               static_cast<int32_t>(trips[trip].running)};
    const bool changed = result == 0 && memcmp(record, buffer, sizeof record) != 0;
    memcpy(buffer, record, sizeof record);
    return changed ? 1 : 0;
}

// Units and remainder are taken as stored. The remainder is in the base
// counter's sub-units, whose size the core sets up only after the trips are
// loaded: carrying it here would divide by a size that is not yet the right one.
uint32_t pulsDsSetTrip(uint32_t trip, const void* value)
{
    if (!validTrip(trip) || !value)
        return 0;
    int32_t record[3];
    memcpy(record, value, sizeof record);
    pulsSetCounterMode(trip, record[1], record[0]);
    trips[trip].running = static_cast<uint32_t>(record[2]);
    return 1;
}

uint32_t pulsDsConfigSize(uint32_t)
{
    return DS_COUNTER_RECORD_SIZE;
}

uint32_t pulsDsGetCounterConfig(uint32_t counter, void* buffer)
{
    if (!validCounter(counter) || !buffer)
        return 0;
    uint32_t record[12];
    memcpy(record, counters[counter].config, sizeof counters[counter].config);
    record[9] = 0;
    record[10] = counters[counter].units;
    record[11] = counters[counter].remainder;
    const bool changed = memcmp(record, buffer, sizeof record) != 0;
    memcpy(buffer, record, sizeof record);
    return changed ? 1 : 0;
}

uint32_t pulsDsSetCounterConfig(uint32_t counter, const void* value)
{
    if (!validCounter(counter) || !value)
        return 0;
    uint32_t record[12];
    memcpy(record, value, sizeof record);
    Counter& target = counters[counter];
    for (uint32_t k = 0; k < 9; ++k)
        if (kCounters[counter].writableMask & (1u << k))
            target.config[k] = record[k];
    guardDivisors(target);
    // Units and remainder as stored (a stopped counter keeps a remainder of a
    // whole unit or more); the trips on this counter do not count the load.
    pulsSetCounterAux(counter, record[11]);
    pulsSetCounterUnits(counter, record[10]);
    return 1;
}

void pulsRegisterDatastoreRecords()
{
    static const DsCounterRecordFuncs kRecords = {pulsDsGetTrip, pulsDsSetTrip, pulsDsGetCounterConfig,
                                                  pulsDsSetCounterConfig};
    datastoreRegisterCounterRecords(&kRecords);
}
