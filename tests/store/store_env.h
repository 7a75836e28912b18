#pragma once
// Shared set-up of the parameter-store tests: a temporary working directory
// below a stand-in root, the registrations and the start-up and update order of
// the platform, and capture of the log output. Header only: included by the
// store's own tests.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "datastore.h"
#include "doubles/store_doubles.h"
#include "dsnvmem.h"
#include "dsvctrl.h"
#include "eventqueue.h"
#include "filestore.h"
#include "pulsinput.h"
#include "test_capture.h"
#include "test_root.h"
#include "threadfunc.h"

inline std::vector<std::pair<uint32_t, uint32_t>>& postedEvents()
{
    static std::vector<std::pair<uint32_t, uint32_t>> events;
    return events;
}

inline void recordPostedEvent(uint32_t id, uint32_t value)
{
    postedEvents().emplace_back(id, value);
}

// Change events posted since the last call: (event id, argument), delivered to
// the main thread as the console's event loop would.
inline std::vector<std::pair<uint32_t, uint32_t>> takePostedEvents()
{
    QCoreApplication::processEvents();
    std::vector<std::pair<uint32_t, uint32_t>> taken;
    taken.swap(postedEvents());
    return taken;
}

// Enters a fresh working directory below a stand-in root, once per program and
// before any thread starts (the store file is relative to the working directory),
// receives the posted events and registers what the upper layers hand the store.
inline const std::string& storeTestWorkDir()
{
    static const std::string dir = [] {
        static int argc = 1;
        static char name[] = "storetest";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr)
            new QCoreApplication(argc, argv);
        eventSetCallback(recordPostedEvent);
        registerStoreDoubles();
        pulsRegisterDatastoreRecords();
        static TestRoot* root = new TestRoot();
        const std::string work = root->dir() + "/work";
        mkdir(work.c_str(), 0755);
        if (chdir(work.c_str()) != 0)
            std::abort();
        // The writer thread stops before the tree goes.
        std::atexit([] {
            filestoreDestroy();
            if (chdir("/") == 0)
                delete root;
        });
        return work;
    }();
    return dir;
}

inline const std::string storeFilePath = "fdatasto/fdatasto.dat";

struct StoreStart {
    uint32_t nvResult;
    uint32_t versionResult;
};

// The platform's start-up order of the store.
inline StoreStart storeStart()
{
    filestoreDestroy();
    filestoreCreate();
    datastoreInit(2);
    datastoreRegisterNvBackend(1, filestoreRead, filestoreWrite, 0);
    StoreStart start;
    start.nvResult = datastoreNvmemInit();
    start.versionResult = dsvctrlCheckVersion();
    return start;
}

// The store's share of the platform's 100 ms update.
inline void storeUpdate()
{
    datastoreRefreshDue();
    datastoreNvWriteDirty(1);
    filestoreFlush();
    dsvctrlSetDefaults();
}

// Waits until the writer has written every queued request.
inline bool storeDrain()
{
    return filestoreInstance() != nullptr && filestoreInstance()->waitIdle(5000);
}

// Standard output (where the logger and the debug console write) copied into a
// file while the object lives.
class OutputCapture {
public:
    OutputCapture() : mCapture(storeTestWorkDir() + "/output." + std::to_string(counter()++)) {}
    std::string text() const { return mCapture.peek(); }
    // Waits (up to timeoutMs) for the text to appear; the logger writes from its own thread.
    bool waitFor(const std::string& part, int timeoutMs = 3000) const
    {
        for (int waited = 0; waited <= timeoutMs; waited += 10) {
            if (text().find(part) != std::string::npos)
                return true;
            threadfunc::sleep(10);
        }
        return false;
    }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    StdoutCapture mCapture;
};
