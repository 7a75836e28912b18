#include "cdebuglevel.h"

namespace {
const char* const levelNames[] = {"debug", "warning", "critical", "logging", "info", "fatal"};
const char* const levelLetters[] = {"D", "W", "C", "L", "I", "F"};
const char* const levelColours[] = {"\x1b[1;32m", "\x1b[1;31m", "\x1b[1;31m",
                                    "\x1b[1;36m", "\x1b[1;33m", "\x1b[1;31m"};
const char* const brightWhite = "\x1b[1;37m";
}  // namespace

std::string CDebugLevel::level2String(int level)
{
    return isValid(level) ? levelNames[level] : "LEV_NO";
}

CDebugLevel::Level CDebugLevel::string2Level(const std::string& text)
{
    for (int level = DEB; level <= FAT; ++level)
        if (text == levelNames[level])
            return static_cast<Level>(level);
    return LEV_NO;
}

std::string CDebugLevel::levelToChar(int level)
{
    return isValid(level) ? levelLetters[level] : "U";
}

std::string CDebugLevel::Colorize(int level, const std::string& text)
{
    if (!isValid(level))
        return text;
    return levelColours[level] + text + brightWhite;
}
