#include "processcalc.h"

#include "dsvalue.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "regulmath.h"

namespace {

uint32_t gLastDirection = CALC_SPEED_TO_PRESSURE;

}  // namespace

void processCalcSpeedPressure(uint32_t mode)
{
    if (mode == CALC_PRESSURE_TO_SPEED || mode == CALC_SPEED_TO_PRESSURE)
        gLastDirection = mode;
    const uint32_t rate = nozpresetTargetRate(dsValue(DS_CURRENT_TIP_PRESET));
    const uint32_t spacing = dsValue(DS_TIP_SPACING);
    const uint32_t refOne = nozzleRefFlowTotal(1);
    if (gLastDirection == CALC_SPEED_TO_PRESSURE) {
        const uint32_t flow = flowFromRate(rate, dsValue(DS_CALC_SPEED) * 10, spacing);
        dsStoreIfChanged(DS_CALC_PRESSURE, (pressureFromFlow(flow, 1, refOne) + 5) / 10);
    } else {
        const uint32_t flow = regulFlowAtPressure(dsValue(DS_CALC_PRESSURE) * 10, 1, refOne);
        // The rate formula with rate and speed exchanged gives the speed.
        dsStoreIfChanged(DS_CALC_SPEED, (rateFromFlowSmall(rate, flow, spacing) + 5) / 10);
    }
}

uint32_t processGetState()
{
    processCalcSpeedPressure(CALC_REPEAT_LAST);
    return 0;
}
