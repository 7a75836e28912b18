#include "speed.h"

void speedInit()
{
}

void speedHandleEvent(uint32_t, uint32_t)
{
}
