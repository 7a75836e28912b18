#pragma once
// Shared set-up of the procedure tests (speed, flow and tank calibration,
// filling): the core-table environment with the debug console's text recorded,
// the unit table in the metric system and the calibration alarm defined.
#include <string>

#include "alarm.h"
#include "alarmdefs.h"

#include "coretables_env.h"

// The debug text since the last call.
inline std::string takeTrace()
{
    return takeDebugText();
}

struct ProcEnv : CoreEnv {
    ProcEnv()
    {
        REQUIRE(unitTableStart(UNIT_SYSTEM_METRIC));
        alarmInit(2);
        alarmDefine(SPRAY_CALIB_ERROR, 1, 0, 0, 0, 0, 1, 0);
        takeTrace();
    }
    DebugRecorder debug;
};

// A value the store refuses fails the test: the case would not be what it says.
inline void setDs(uint32_t id, uint32_t value)
{
    REQUIRE(datastoreSetFromUint32(id, value) == 0);
}
