#pragma once
// One log category: a name and one switch per level.
#include "cdebuglevel.h"

#include <string>

class CDebugCategory {
public:
    CDebugCategory() { resetAll(); }
    explicit CDebugCategory(const std::string& name) : mName(name) { resetAll(); }

    const std::string& name() const { return mName; }
    void setName(const std::string& name) { mName = name; }

    // The switch of a level; false for a value outside 0..5.
    bool get(int level) const { return CDebugLevel::isValid(level) && mSwitch[level]; }
    // A value outside 0..5 is ignored.
    void set(int level, bool value);
    void set(int level) { set(level, true); }
    // Only the exact text "true" switches the level on.
    void set(const std::string& levelName, const std::string& valueText);

    void setDebug(bool value) { set(CDebugLevel::DEB, value); }
    void setWarning(bool value) { set(CDebugLevel::WAR, value); }
    void setCritical(bool value) { set(CDebugLevel::CRI, value); }
    void setLogging(bool value) { set(CDebugLevel::LOG, value); }
    void setInfo(bool value) { set(CDebugLevel::INF, value); }
    void setFatal(bool value) { set(CDebugLevel::FAT, value); }

    // Defaults of a new category: warning, critical and fatal on, the rest off.
    void resetAll();
    void clearAll();

    // "name.level=true\n" (or false).
    std::string getString(int level) const;
    // An empty line, then the six level lines in level order.
    std::string getString() const;

private:
    std::string mName;
    bool mSwitch[6];
};
