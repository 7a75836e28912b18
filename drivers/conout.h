#pragma once
// Com driver of the process's standard output: keeps its own (empty) buffers,
// prints every block it is given and never receives anything.
#include "comport.h"

uint32_t conoutDriver(ComDriverCommand* block, uint32_t argument);
