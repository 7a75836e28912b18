#pragma once
// Shared set-up of the core-table tests: the process-core test directory, the
// datastore with its memory pool as the platform start-up leaves it, the event
// queue delivering into a list, and the manual clock.
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <doctest/doctest.h>

#include "clock.h"
#include "datastore.h"
#include "eventqueue.h"
#include "mempool.h"
#include "core_env.h"

using PostedEvent = std::pair<uint32_t, uint32_t>;

inline std::vector<PostedEvent>& coreEvents()
{
    static std::vector<PostedEvent> events;
    return events;
}

// Events posted since the last call, delivered as the console's event loop would.
inline std::vector<PostedEvent> takeCoreEvents()
{
    QCoreApplication::processEvents();
    std::vector<PostedEvent> taken;
    taken.swap(coreEvents());
    return taken;
}

// Set up once per program, before any thread starts.
inline void coreTablesStart()
{
    static const bool ready = [] {
        coreTestWorkDir();
        eventSetCallback([](uint32_t id, uint32_t value) { coreEvents().emplace_back(id, value); });
        alignas(8) static unsigned char pool[262144];
        return memInit(pool, sizeof pool, 16384) == 1 && datastoreInit(2) == 0;
    }();
    REQUIRE(ready);
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
