#pragma once
// Shared set-up of the regulation, counter and process-cycle tests: one Qt core
// application, a stand-in root with a working directory, the parameter store
// started as the platform starts it, the posted events collected, and the
// regulating valve's commands recorded instead of reaching the H-bridge.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <doctest/doctest.h>

#include "datastore.h"
#include "dsnvmem.h"
#include "dsvctrl.h"
#include "eventqueue.h"
#include "filestore.h"
#include "regulmath.h"
#include "test_root.h"

namespace cycleenv {

inline std::vector<std::pair<uint32_t, uint32_t>>& events()
{
    static std::vector<std::pair<uint32_t, uint32_t>> posted;
    return posted;
}

inline void recordEvent(uint32_t id, uint32_t value)
{
    events().emplace_back(id, value);
}

// (channel, command, time, pattern, duty)
using HbridgeCall = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>;

inline std::vector<HbridgeCall>& hbridgeCalls()
{
    static std::vector<HbridgeCall> calls;
    return calls;
}

inline int recordHbridge(uint32_t channel, uint32_t command, uint32_t time, uint32_t pattern, uint32_t duty)
{
    hbridgeCalls().emplace_back(channel, command, time, pattern, duty);
    return 1;
}

// The store as the platform starts it, in a working directory below a stand-in
// root made once per program.
inline void startStore()
{
    filestoreDestroy();
    filestoreCreate();
    datastoreInit(2);
    datastoreRegisterNvBackend(1, filestoreRead, filestoreWrite, 0);
    datastoreNvmemInit();
    dsvctrlCheckVersion();
}

// The store's share of the platform's 100 ms update, waiting until the file is
// written: after it, a restart of the store finds every persistent value.
inline bool flushStore()
{
    datastoreRefreshDue();
    datastoreNvWriteDirty(1);
    filestoreFlush();
    dsvctrlSetDefaults();
    datastoreNvWriteDirty(1);
    filestoreFlush();
    return filestoreInstance() != nullptr && filestoreInstance()->waitIdle(5000);
}

inline const std::string& workDir()
{
    static const std::string dir = [] {
        static int argc = 1;
        static char name[] = "cycletest";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
        eventSetCallback(recordEvent);
        static TestRoot* root = new TestRoot();
        const std::string work = root->dir() + "/work";
        mkdir(work.c_str(), 0755);
        if (chdir(work.c_str()) != 0)
            std::abort();
        std::atexit([] {
            filestoreDestroy();
            if (chdir("/") == 0)
                delete root;
        });
        startStore();
        regulSetHbridgeCommand(recordHbridge);
        return work;
    }();
    return dir;
}

}  // namespace cycleenv

// Events posted since the last call, delivered as the console's loop would.
inline std::vector<std::pair<uint32_t, uint32_t>> takeEvents()
{
    QCoreApplication::processEvents();
    std::vector<std::pair<uint32_t, uint32_t>> taken;
    taken.swap(cycleenv::events());
    return taken;
}

inline bool postedId(const std::vector<std::pair<uint32_t, uint32_t>>& events, uint32_t id)
{
    for (const auto& e : events) {
        if (e.first == id)
            return true;
    }
    return false;
}

inline bool posted(const std::vector<std::pair<uint32_t, uint32_t>>& events, uint32_t id, uint32_t value)
{
    for (const auto& e : events) {
        if (e.first == id && e.second == value)
            return true;
    }
    return false;
}

// Valve commands since the last call.
inline std::vector<cycleenv::HbridgeCall> takeHbridge()
{
    std::vector<cycleenv::HbridgeCall> taken;
    taken.swap(cycleenv::hbridgeCalls());
    return taken;
}

// A value the store refuses fails the test: the case would not be what it says.
inline void setItem([[maybe_unused]] uint32_t id, [[maybe_unused]] uint32_t value)
{
    cycleenv::workDir();
    INFO("item ", id, " := ", value);
    REQUIRE(datastoreSetFromUint32(id, value) == DS_OK);
}

inline uint32_t getItem(uint32_t id)
{
    return static_cast<uint32_t>(datastoreGetAsInt32(id));
}
