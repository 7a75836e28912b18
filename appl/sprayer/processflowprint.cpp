#include "processflowprint.h"

#include "cfgdt_if.h"
#include "clock.h"
#include "comport.h"
#include "datalogcan.h"
#include "dsvalue.h"
#include "processstate.h"
#include "regulmath.h"
#include "unitquantities.h"
#include "units.h"

namespace {

enum : uint32_t { FLOW_PRINT_PORT = 2 };

// A display value as the screens show it; an unknown unit system scales by 1.
float display(int32_t value, uint32_t quantity)
{
    const uint32_t scale = unitGetScale(quantity);
    return static_cast<float>(value) / static_cast<float>(scale != 0 ? scale : 1);
}

}  // namespace

uint32_t processFlowPerNozzle()
{
    uint16_t block[SECTION_MASK_WORDS] = {};
    datastoreGetData(DS_SECTION_STATE_BLOCK, block);
    const uint32_t width = cfgdtSumSectionWidth(block);
    const uint32_t tipsOn = cfgdtSumSectionTips(block);
    uint32_t flow = flowFromRate(regulBoostedTarget(), dsValue(DS_LIVE_SPEED), width) * 100;
    if (tipsOn != 0)
        flow /= tipsOn;
    return flow;
}

void processFlowPrintTick()
{
    const uint32_t flowPerNozzle = processFlowPerNozzle();
    if (dsValue(DS_FLOW_PRINTOUT_ENABLED) != 0) {
        ProcessState& state = processState();
        if (state.flowPrintHeaderPending != 0) {
            comportPrintf(FLOW_PRINT_PORT, 0, "Time,Speed,Flow,Pressure,Tank Vol.,Reg.valve output, Flow pr. nozzle\n");
            state.flowPrintHeaderPending = 0;
        }
        int32_t valve = static_cast<int32_t>(dsValue(DS_LINK_VALVE_PWM));
        if (dsValue(DS_LINK_VALVE_DIRECTION) == 0)
            valve = -valve;
        comportPrintf(FLOW_PRINT_PORT, 0, "%.3f,%.2f,%.2f,%.2f,%.2f,%i,%d\n", clockGetMs() / 1000.0,
                      static_cast<double>(display(unitGetItemValue(UQ_ACTUAL_SPEED), UQ_ACTUAL_SPEED)),
                      static_cast<double>(display(unitBaseToDisplay(UQ_ACTUAL_FLOW, static_cast<int32_t>(dsValue(DS_RUN_COUNT_270))), UQ_ACTUAL_FLOW)),
                      static_cast<double>(display(unitBaseToDisplay(UQ_ACTUAL_PRESSURE, static_cast<int32_t>(dsValue(DS_LIVE_PRESSURE))), UQ_ACTUAL_PRESSURE)),
                      static_cast<double>(display(unitGetItemValue(UQ_TANK_ACTUAL_CONTENT), UQ_TANK_ACTUAL_CONTENT)),
                      valve, static_cast<int>(flowPerNozzle));
    } else if (dsValue(DS_CAN_FLOW_MESSAGES_ENABLED) != 0) {
        datalogCanSetValue(flowPerNozzle);
    }
}
