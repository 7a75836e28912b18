#pragma once
// Shared set-up of the procedure tests (speed, flow and tank calibration,
// filling): the core-table environment with the debug console's text recorded,
// the unit table in the metric system and the calibration alarm defined.
#include <string>

#include "alarm.h"
#include "alarmdefs.h"
#include "debugout.h"
#include "unitquantities.h"
#include "units.h"

#include "coretables_env.h"

inline std::string& debugTrace()
{
    static std::string text;
    return text;
}

inline uint32_t recordDebugText(const uint8_t* data, uint16_t length)
{
    debugTrace().append(reinterpret_cast<const char*>(data), length);
    return 1;
}

inline void recordDebugDrain()
{
}

// The debug text since the last call.
inline std::string takeTrace()
{
    std::string text;
    text.swap(debugTrace());
    return text;
}

struct ProcEnv : CoreEnv {
    ProcEnv()
    {
        static const DebugOutput output = {recordDebugText, recordDebugDrain};
        debugSetOutput(&output);
        debugSetMode(0);
        debugSetLevel(0);
        REQUIRE(processInitUnits() == 1);
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
        alarmInit(2);
        alarmDefine(SPRAY_CALIB_ERROR, 1, 0, 0, 0, 0, 1, 0);
        takeTrace();
    }
    ~ProcEnv() { debugSetOutput(nullptr); }
};

// A value the store refuses fails the test: the case would not be what it says.
inline void setDs(uint32_t id, uint32_t value)
{
    REQUIRE(datastoreSetFromUint32(id, value) == 0);
}

inline bool hasEvent(const std::vector<PostedEvent>& events, uint32_t id, uint32_t value)
{
    for (const auto& e : events) {
        if (e.first == id && e.second == value)
            return true;
    }
    return false;
}
