#include "regulation.h"

void regulInit()
{
}

void regulHandleEvent(uint32_t, uint32_t)
{
}
