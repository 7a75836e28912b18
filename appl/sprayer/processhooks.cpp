#include "processhooks.h"

#include "dshooks.h"
#include "processcycle.h"
#include "pulsupdt.h"

void processRegisterStoreHooks()
{
    pulsupdtRegister();
    datastoreRegisterChangeHook(DS_HOOK_FILL_FLOW_CAL_CHANGED, processFillFlowCalChanged);
    datastoreRegisterChangeHook(DS_HOOK_PULSE_RATIO_CHANGED, processPulseRatioChanged);
}
