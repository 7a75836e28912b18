#include "regulmath.h"

#include "cfgdt_if.h"
#include "datastore.h"
#include "hbridge.h"
#include "nozinfo.h"
#include "nozpreset.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t channelPresent[2];
RegulHbridgeCommand hbridgeCommand = hbridgeSetDutyCycle;

uint32_t item(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}

bool fullVoltageMode()
{
    return item(DS_MIN_REG_VOLTAGE) == REG_FULL_VOLTAGE;
}

// Single-precision result rounded half up and held at the cap.
uint32_t roundCapped(float value, uint32_t cap)
{
    const float rounded = value + 0.5f;
    if (rounded >= static_cast<float>(cap))
        return cap;
    return rounded <= 0.0f ? 0 : static_cast<uint32_t>(rounded);
}

bool selects(uint32_t selector, uint32_t channel)
{
    return (selector == channel || selector == 3) && channelPresent[channel] != 0;
}

}  // namespace

void regulSetHbridgeCommand(RegulHbridgeCommand command)
{
    hbridgeCommand = command ? command : hbridgeSetDutyCycle;
}

uint32_t regulValveDirection(uint32_t dir)
{
    const bool reversed = item(DS_REG_VALVE_TYPE) != 0;
    if (dir == REG_DIR_INCREASE)
        return reversed ? HBRIDGE_FORWARD : HBRIDGE_REVERSE;
    if (dir == REG_DIR_DECREASE)
        return reversed ? HBRIDGE_REVERSE : HBRIDGE_FORWARD;
    return HBRIDGE_STOP;
}

void regulValvePulse(uint32_t channel, uint32_t dir, uint32_t ms)
{
    hbridgeCommand(channel, regulValveDirection(dir), ms, 0, ms != 0 ? static_cast<uint32_t>(REG_DUTY_FULL) : 0u);
}

void regulValveDrive(uint32_t channel, uint32_t dir, uint32_t value)
{
    const uint32_t command = regulValveDirection(dir);
    if (value == 0) {
        hbridgeCommand(channel, command, 0, 0, 0);
        return;
    }
    if (fullVoltageMode()) {
        // On-steps out of a 128-step pattern at full duty; fewer than 16 would not move the valve.
        constexpr uint32_t kSteps = 128;
        const uint32_t on = value > 1000 ? kSteps : std::max<uint32_t>(value * kSteps / 1000, 16);
        hbridgeCommand(channel, command, on, kSteps, REG_DUTY_FULL);
        return;
    }
    hbridgeCommand(channel, command, 0, 0, std::min<uint32_t>(value, REG_DUTY_FULL));
}

void regulValveDriveFor(uint32_t channel, uint32_t dir, uint32_t duty, uint32_t ms)
{
    const uint32_t value = std::min<uint32_t>(duty, REG_DUTY_FULL);
    hbridgeCommand(channel, regulValveDirection(dir), value != 0 ? ms : 0, 0, value);
}

void regulHbridgeSetup(uint32_t mode)
{
    hbridgeInit();
    for (uint32_t channel = 0; channel < 2; ++channel) {
        if (mode == channel || mode == 3) {
            hbridgeConfigChannel(channel, 65535, 65535, 250);
            channelPresent[channel] = 1;
        }
    }
    hbridgeSetPolarity(0, item(DS_REG_SETTING_42) * 10, REG_DUTY_FULL);
}

void regulSetValveOffset(uint32_t v)
{
    datastoreSetFromUint32(DS_REG_SETTING_42, v / 10);
    hbridgeSetPolarity(0, v, REG_DUTY_FULL);
}

void regulDriveOutputs(uint32_t selector, uint32_t dir, uint32_t value)
{
    for (uint32_t channel = 0; channel < 2; ++channel) {
        if (selects(selector, channel))
            regulValveDrive(channel, dir, value);
    }
}

void regulPulseOutputs(uint32_t selector, uint32_t dir, uint32_t ms)
{
    for (uint32_t channel = 0; channel < 2; ++channel) {
        if (selects(selector, channel))
            regulValvePulse(channel, dir, ms);
    }
}

void regulDriveOutputsFor(uint32_t selector, uint32_t dir, uint32_t duty, uint32_t ms)
{
    for (uint32_t channel = 0; channel < 2; ++channel) {
        if (selects(selector, channel))
            regulValveDriveFor(channel, dir, duty, ms);
    }
}

bool regulChannelPresent(uint32_t channel)
{
    return channel < 2 && channelPresent[channel] != 0;
}

uint32_t regulMinDuty()
{
    if (fullVoltageMode())
        return item(DS_FINE_VALVE_CAL) * REG_DUTY_FULL / 18;
    return (item(DS_MIN_REG_VOLTAGE) * REG_DUTY_FULL + 60) / 120;
}

uint16_t regulSpan()
{
    const uint32_t coarse = std::min<uint32_t>(item(DS_COARSE_VALVE_CAL), 19);
    return static_cast<uint16_t>((20 - coarse) * item(DS_REG_VALVE_CAPACITY) * 3);
}

namespace {

uint32_t share(uint32_t v, bool measured)
{
    const uint32_t a = item(DS_PULSE_COUNT_266);
    const uint32_t b = item(DS_PULSE_COUNT_267);
    if (a == 0 || b == 0)
        return v;
    const float sum = static_cast<float>(a) + static_cast<float>(b);
    const float value = measured ? static_cast<float>(v) * sum / static_cast<float>(a)
                                 : static_cast<float>(v) * static_cast<float>(a) / sum;
    return roundCapped(value, 99999);
}

}  // namespace

uint32_t regulMeasuredShare(uint32_t v)
{
    return share(v, true);
}

uint32_t regulSprayedShare(uint32_t v)
{
    return share(v, false);
}

uint32_t regulStepFlow(uint32_t duty, uint32_t ms)
{
    const uint64_t travelMs = uint64_t{std::max<uint32_t>(item(DS_REG_VALVE_TIME), 10)} * 100;
    const uint64_t capacity = uint64_t{item(DS_REG_VALVE_CAPACITY)} * 100;  // l/min x 100
    return static_cast<uint32_t>(capacity * std::min<uint32_t>(duty, REG_DUTY_FULL) * ms / (REG_DUTY_FULL * travelMs));
}

uint32_t regulDeadBand(uint32_t ref)
{
    const uint32_t band = static_cast<uint16_t>(item(DS_REG_DEADBAND) * ref / 1000);
    // A valve that one least step moves further than the whole band would step
    // over it from one side to the other for ever.
    const uint32_t leastStep = regulStepFlow(regulMinDuty(), REG_MIN_PULSE_MS);
    return std::max(band, (leastStep + 1) / 2);
}

uint32_t regulKnee()
{
    return static_cast<uint16_t>(regulSpan() * 10 / std::max<uint32_t>(item(DS_REG_VALVE_TIME), 10));
}

uint32_t regulDriveTime(uint32_t duty, uint32_t err, uint32_t ref, uint32_t response)
{
    const uint64_t perTick = uint64_t{regulStepFlow(duty, REG_TICK_MS)} * response / 1000;
    if (perTick == 0 || err >= regulDeadBand(ref) + regulKnee() || perTick * (1 + REG_MEASURE_LAG_TICKS) <= err)
        return 0;
    return static_cast<uint32_t>(std::clamp<uint64_t>(uint64_t{REG_TICK_MS} * err / perTick, REG_MIN_PULSE_MS,
                                                      REG_TICK_MS * (1 + REG_MEASURE_LAG_TICKS)));
}

uint32_t regulDutyFromError(uint32_t err, uint32_t ref)
{
    const uint32_t span = regulSpan();
    const uint32_t e = regulMeasuredShare(err);
    const uint32_t dead = regulDeadBand(regulMeasuredShare(ref));
    if (e < dead)
        return 0;
    const uint32_t lo = regulMinDuty();
    const bool fullVoltage = fullVoltageMode();
    // Without a valve capacity there is no slope to follow: creep at the least duty.
    if (span == 0)
        return fullVoltage && lo == 0 ? 1 : std::min<uint32_t>(lo, REG_DUTY_FULL);
    if (e >= dead + span)
        return REG_DUTY_FULL;
    const uint32_t d = e - dead;
    uint32_t duty;
    if (fullVoltage) {
        duty = lo + (REG_DUTY_FULL - lo) * d / span;
        if (duty == 0)
            duty = 1;
    } else {
        // Two slopes: lo to mid over the first knee of error, mid to full over the rest.
        const uint32_t knee = regulKnee();
        const uint32_t mid = lo + (REG_DUTY_FULL - lo) * item(DS_FINE_VALVE_CAL) / 20;
        if (d < knee)
            duty = lo + (knee / 2 + (mid - lo) * d) / knee;
        else
            duty = mid + ((span - knee) / 2 + (REG_DUTY_FULL - mid) * (d - knee)) / (span - knee);
    }
    return std::min<uint32_t>(duty, REG_DUTY_FULL);
}

uint32_t flowFromRate(uint32_t rate, uint32_t speed, uint32_t width)
{
    if (speed == 0 || width == 0)
        return 0;
    return roundCapped(static_cast<float>(rate) * static_cast<float>(speed) * static_cast<float>(width) / 6000000.0f,
                       99999);
}

uint32_t rateFromFlow(uint32_t flow, uint32_t speed, uint32_t width)
{
    if (speed == 0 || width == 0)
        return 0;
    return roundCapped(static_cast<float>(flow) * 6000000.0f / static_cast<float>(speed) / static_cast<float>(width),
                       99999);
}

uint32_t rateFromFlowSmall(uint32_t width, uint32_t flow, uint32_t speed)
{
    if (speed == 0 || width == 0)
        return 0;
    return roundCapped(static_cast<float>(flow) * 6000000.0f / static_cast<float>(width) / static_cast<float>(speed),
                       9999);
}

uint32_t regulFlowAtPressure(uint32_t p, uint32_t n, uint32_t qref)
{
    const float pref = static_cast<float>(nozpresetRefPressure(item(DS_CURRENT_TIP_PRESET)));
    const float density = static_cast<float>(item(DS_DENSITY_FACTOR));
    if (pref == 0.0f || density == 0.0f || n == 0)
        return 0;
    return roundCapped(static_cast<float>(qref) * std::sqrt(static_cast<float>(p) / pref * 1000.0f / density), 99999);
}

uint32_t pressureFromFlow(uint32_t q, uint32_t n, uint32_t qref)
{
    if (n == 0 || qref == 0)
        return 0;
    const float pref = static_cast<float>(nozpresetRefPressure(item(DS_CURRENT_TIP_PRESET)));
    const float ratio = static_cast<float>(q) / static_cast<float>(qref);
    return roundCapped(pref * ratio * ratio * static_cast<float>(item(DS_DENSITY_FACTOR)) / 1000.0f, 9999);
}

uint32_t regulRateAtPressure(uint32_t p, uint32_t speed, uint32_t width)
{
    return rateFromFlow(regulFlowAtPressure(p, item(DS_REG_RUNTIME_239), item(DS_PULSE_COUNT_266)), speed, width);
}

uint32_t regulPresetTarget()
{
    return nozpresetTargetRate(item(DS_CURRENT_TIP_PRESET));
}

uint32_t regulBoostedTarget()
{
    return (regulPresetTarget() * item(DS_BOOST_PERCENT) + 50) / 100;
}

uint32_t nozzleRefFlowTotal(uint32_t tips)
{
    return (tips * nozpresetSystemRefFlow(item(DS_CURRENT_TIP_PRESET)) + 5) / 10;
}

uint32_t regulBypassFlow(const uint16_t* openSections)
{
    constexpr uint32_t kWords = 7;
    uint16_t configured[kWords];
    datastoreGetData(DS_SECTION_BLOCK_263, configured);
    const uint32_t plateFlow = item(DS_RESTRICTOR_PLATE_FLOW);
    const bool circulation = item(DS_CIRCULATION_ON) != 0;
    const uint32_t circulationMode = item(DS_CIRCULATION_MODE);
    const bool returnValves = item(DS_SECTION_VALVE_TYPE) != 0 && item(DS_RUN_FLAG_230) == 0;
    uint32_t flow = 0;
    bool closedReturnNozzleFlow = false;
    for (uint32_t bit = 0; bit < 16; ++bit) {
        const uint16_t mask = static_cast<uint16_t>(1u << bit);
        if ((configured[0] & mask) == 0)
            continue;
        if ((openSections[0] & mask) == 0) {
            if (circulation && circulationMode == 2) {
                flow += plateFlow;
            } else if (returnValves) {
                if (item(DS_VALVE_OPTION_21) != 0)
                    flow += item(DS_REG_SETTING_71);
                else
                    closedReturnNozzleFlow = true;
            }
        } else if (circulation && circulationMode != 0) {
            flow += plateFlow;
        }
    }
    if (closedReturnNozzleFlow) {
        uint16_t open[kWords];
        for (uint32_t w = 0; w < kWords; ++w)
            open[w] = static_cast<uint16_t>(openSections[w] & configured[w]);
        const uint32_t closedTips = cfgdtSumSectionTips(configured) - cfgdtSumSectionTips(open);
        flow += (closedTips * nozpresetSystemRefFlow(item(DS_CURRENT_TIP_PRESET)) + 5) / 10;
    }
    return flow;
}
