#include "programend.h"

#include "cdebug.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

void programEnd(int status)
{
    CDebug::getInstance().shutdown();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(status);
}
