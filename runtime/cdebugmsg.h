#pragma once
// The record a log call hands to the writer thread. An all-empty record
// (level LEV_NO, line 0) asks the writer thread to stop.
#include "cdebuglevel.h"

#include <cstdint>
#include <string>

struct CDebugMsg {
    std::string time;
    std::string category;
    uint32_t level = CDebugLevel::LEV_NO;
    uint32_t line = 0;
    std::string file;
    std::string function;
    std::string text;
};
