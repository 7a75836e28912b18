#include "datalogcan.h"

uint32_t datalogCanStart(uint32_t)
{
    return 1;
}

uint32_t datalogCanReceive(const CanFrame*)
{
    return 0;
}

void datalogCanSetValue(uint32_t)
{
}

uint32_t sectionSwitchFileInit(const char*)
{
    return 1;
}

uint32_t sectionSwitchFileWrite(uint32_t, uint32_t)
{
    return 0;
}
