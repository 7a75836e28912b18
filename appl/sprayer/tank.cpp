#include "tank.h"

void tankProceduresInit(uint32_t)
{
}

void tankProceduresHandleEvent(uint32_t)
{
}

uint16_t tankContentFromLevel()
{
    return 0;
}
