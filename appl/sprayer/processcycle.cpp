#include "processcycle.h"

void processUpdateSprayState(uint32_t)
{
}

void processUpdateSectionState()
{
}

void processUpdateSectionOutputs(uint32_t)
{
}

void processPostSectionOutputs(uint32_t, uint32_t)
{
}

void processCheckSwitchInputs()
{
}

void processUpdateFillValve()
{
}

void processUpdateTankContent()
{
}

void processMeasurementStep()
{
}

uint32_t processFillFlowCalChanged(uint32_t, const void*, uint32_t, uint16_t)
{
    return 0;
}

uint32_t processPulseRatioChanged(uint32_t, const void*, uint32_t, uint16_t)
{
    return 0;
}
