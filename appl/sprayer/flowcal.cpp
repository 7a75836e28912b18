#include "flowcal.h"

void flowCalInit()
{
}

void flowCalHandleEvent(uint32_t)
{
}

uint32_t pressureSpanCal()
{
    return 0;
}
