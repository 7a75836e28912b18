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
