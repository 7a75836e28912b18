#include "cdebugcategory.h"

void CDebugCategory::set(int level, bool value)
{
    if (CDebugLevel::isValid(level))
        mSwitch[level] = value;
}

void CDebugCategory::set(const std::string& levelName, const std::string& valueText)
{
    set(CDebugLevel::string2Level(levelName), valueText == "true");
}

void CDebugCategory::resetAll()
{
    mSwitch[CDebugLevel::DEB] = false;
    mSwitch[CDebugLevel::WAR] = true;
    mSwitch[CDebugLevel::CRI] = true;
    mSwitch[CDebugLevel::LOG] = false;
    mSwitch[CDebugLevel::INF] = false;
    mSwitch[CDebugLevel::FAT] = true;
}

void CDebugCategory::clearAll()
{
    for (bool& on : mSwitch)
        on = false;
}

std::string CDebugCategory::getString(int level) const
{
    return mName + "." + CDebugLevel::level2String(level) + "=" + (get(level) ? "true" : "false") +
           "\n";
}

std::string CDebugCategory::getString() const
{
    std::string text = "\n";
    for (int level = CDebugLevel::DEB; level <= CDebugLevel::FAT; ++level)
        text += getString(level);
    return text;
}
