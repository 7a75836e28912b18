#include "nozzledata.h"

void nozinfoInit(uint32_t)
{
}

void nozinfoSetReferenceMode(uint32_t)
{
}

void nozpresetInit(uint32_t)
{
}

void nozpresetSetDensityMode(uint32_t)
{
}

uint16_t nozpresetGetNozzleType(uint32_t)
{
    return 0;
}

uint32_t nozpresetSetNozzleType(uint32_t, uint32_t)
{
    return 0;
}

uint32_t nozpresetSetNozzleSizeIx(uint32_t, uint32_t)
{
    return 0;
}

void nozpresetSetNozzleTargetRate(uint32_t, uint32_t)
{
}

uint16_t nozpresetTargetRate(uint32_t)
{
    return 0;
}

uint16_t nozpresetRefPressure(uint32_t)
{
    return 0;
}

uint16_t nozpresetSystemRefFlow(uint32_t)
{
    return 0;
}

uint16_t nozpresetPressureLimit(uint32_t, uint32_t)
{
    return 0;
}
