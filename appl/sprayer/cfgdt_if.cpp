#include "cfgdt_if.h"

uint32_t ConfigurationReadIn(uint32_t)
{
    return 0;
}

void cfgdtInitSectionTips(uint32_t)
{
}

void cfgdtSetSectionTips(uint32_t, uint32_t)
{
}

uint16_t cfgdtGetSectionWidth(uint32_t)
{
    return 0;
}

uint16_t cfgdtSumSectionTips(const uint16_t*)
{
    return 0;
}

uint32_t cfgdtSumSectionWidth(const uint16_t*)
{
    return 0;
}
