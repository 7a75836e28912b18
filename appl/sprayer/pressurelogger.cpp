#include "pressurelogger.h"

void pressureLogCreate(const char*)
{
}

void pressureLogEnable(uint32_t)
{
}

void pressureLogSample(float, const char*)
{
}
