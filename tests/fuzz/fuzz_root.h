#pragma once
// Fuzzing runs inside a temporary system root, so that the logger's files and
// any fixed path stay out of the machine's own directories. Removed at exit.
#include <cstdlib>
#include <string>

#include "sysroot.h"
#include "toolsmisc.h"

inline void fuzzUseTemporaryRoot()
{
    static std::string root;
    char pattern[] = "/tmp/consolefuzz.XXXXXX";
    if (!mkdtemp(pattern))
        std::abort();
    root = pattern;
    setenv("CONSOLE_SYSROOT", root.c_str(), 1);
    sysrootReload();
    std::atexit([] { removeTree(root, true); });
}
