#pragma once
// Shared set-up of the core-table tests: the process-core test directory, the
// datastore with its memory pool as the platform start-up leaves it, the event
// queue delivering into a list (tests/support/core_record.h), and the manual clock.
#include <vector>

#include <doctest/doctest.h>

#include "clock.h"
#include "core_env.h"
#include "core_record.h"

inline std::vector<PostedEvent>& coreEvents()
{
    return postedEventList();
}

// Events posted since the last call, delivered as the console's event loop would.
inline std::vector<PostedEvent> takeCoreEvents()
{
    return takePostedEvents();
}

// Set up once per program, before any thread starts.
inline void coreTablesStart()
{
    coreTestWorkDir();
    REQUIRE(coreStoreStart());
}

// The environment with the manual clock and no events pending.
struct CoreEnv {
    CoreEnv()
    {
        coreTablesStart();
        clockUseManual();
        takeCoreEvents();
    }
    ~CoreEnv() { clockUseReal(); }
    CoreEnv(const CoreEnv&) = delete;
    CoreEnv& operator=(const CoreEnv&) = delete;
};
