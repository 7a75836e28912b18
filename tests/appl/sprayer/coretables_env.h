#pragma once
// Shared set-up of the core-table tests: one stand-in root and working directory
// per program, the datastore with its memory pool as the platform start-up leaves
// it, the event queue delivering into a list, and the manual clock.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <doctest/doctest.h>

#include "clock.h"
#include "datastore.h"
#include "eventqueue.h"
#include "mempool.h"
#include "test_root.h"

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
inline const std::string& coreTestRoot()
{
    static const std::string dir = [] {
        static int argc = 1;
        static char name[] = "coretables";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
        eventSetCallback([](uint32_t id, uint32_t value) { coreEvents().emplace_back(id, value); });
        static TestRoot* root = new TestRoot();
        const std::string work = root->dir() + "/work";
        mkdir(work.c_str(), 0755);
        if (chdir(work.c_str()) != 0)
            std::abort();
        alignas(8) static unsigned char pool[262144];
        if (memInit(pool, sizeof pool, 16384) != 1 || datastoreInit(2) != 0)
            std::abort();
        std::atexit([] {
            if (chdir("/") == 0)
                delete root;
        });
        return root->dir();
    }();
    return dir;
}

// The environment with the manual clock and no events pending.
struct CoreEnv {
    CoreEnv()
    {
        coreTestRoot();
        clockUseManual();
        takeCoreEvents();
    }
    ~CoreEnv() { clockUseReal(); }
    CoreEnv(const CoreEnv&) = delete;
    CoreEnv& operator=(const CoreEnv&) = delete;
};
