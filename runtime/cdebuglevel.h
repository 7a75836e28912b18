#pragma once
// The six message levels of the logger, their names, letters and colours.
#include <string>

class CDebugLevel {
public:
    enum Level { DEB = 0, WAR = 1, CRI = 2, LOG = 3, INF = 4, FAT = 5, LEV_NO = 6 };

    static const char* name() { return "CDebugLevel"; }
    // "debug" ... "fatal"; "LEV_NO" for any other value.
    static std::string level2String(int level);
    // Exact, case-sensitive inverse of level2String for the six names; LEV_NO otherwise.
    static Level string2Level(const std::string& text);
    // "D", "W", "C", "L", "I", "F"; "U" for any other value.
    static std::string levelToChar(int level);
    // The level's colour sequence, the text, then bright white; the text
    // unchanged for a value outside 0..5.
    static std::string Colorize(int level, const std::string& text);
    static std::string Colorize(int level) { return Colorize(level, levelToChar(level)); }

    static bool isValid(int level) { return level >= DEB && level <= FAT; }
};
