// Cost of the platform start-up on a fresh and on an existing store file, and of
// one platform update with no and with 50 changed persistent items.
#include "platform.h"

#include "canio.h"
#include "datastore.h"
#include "filestore.h"
#include "test_root.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kStarts = 5;
constexpr int kUpdates = 500;
constexpr uint32_t kDirtyItems = 50;

using Clock = std::chrono::steady_clock;

double elapsedUs(Clock::time_point since)
{
    return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void enterWorkDir(const TestRoot& root, const std::string& name)
{
    const std::string dir = root.dir() + "/" + name;
    ::mkdir(dir.c_str(), 0755);
    if (::chdir(dir.c_str()) != 0) {
        std::perror(dir.c_str());
        std::exit(1);
    }
}

// Lets the file store write everything queued, then closes what the start-up opened.
void stopPlatform()
{
    filestoreInstance()->waitIdle(10000);
    canioClose(0);
    filestoreDestroy();
}

double timedStart()
{
    const Clock::time_point start = Clock::now();
    const uint32_t result = platformInit();
    const double us = elapsedUs(start);
    if (result != NO_PLATFORM_ERROR) {
        std::fprintf(stderr, "platformInit returned %u\n", result);
        std::exit(1);
    }
    return us;
}

std::vector<uint32_t> persistentItems(uint32_t count)
{
    std::vector<uint32_t> ids;
    for (uint32_t id = 1; id < DS_ITEM_COUNT && ids.size() < count; ++id) {
        const DsItemDescriptor* item = datastoreDescriptor(id);
        if (item != nullptr && item->notPersistent == 0)
            ids.push_back(id);
    }
    return ids;
}

// Median time of one update; the writer drains between updates, outside the timing.
double timedUpdate(const std::vector<uint32_t>& dirty)
{
    std::vector<double> samples;
    for (int i = 0; i < kUpdates; ++i) {
        for (uint32_t id : dirty)
            datastoreMarkDirty(id);
        const Clock::time_point start = Clock::now();
        platformUpdate();
        samples.push_back(elapsedUs(start));
        filestoreInstance()->waitIdle(10000);
    }
    return median(samples);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    TestRoot root;

    std::vector<double> fresh;
    std::vector<double> existing;
    for (int i = 0; i < kStarts; ++i) {
        enterWorkDir(root, "work" + std::to_string(i));
        fresh.push_back(timedStart());
        platformUpdate();
        platformUpdate();
        stopPlatform();
        existing.push_back(timedStart());
        stopPlatform();
    }

    enterWorkDir(root, "updates");
    timedStart();
    platformUpdate();
    platformUpdate();
    filestoreInstance()->waitIdle(10000);
    const std::vector<uint32_t> items = persistentItems(kDirtyItems);
    const double idle = timedUpdate({});
    const double busy = timedUpdate(items);
    stopPlatform();

    std::printf("platformInit, fresh store:    %9.1f us (median of %d)\n", median(fresh), kStarts);
    std::printf("platformInit, existing store: %9.1f us (median of %d)\n", median(existing), kStarts);
    std::printf("platformUpdate, 0 dirty items:  %7.1f us (median of %d)\n", idle, kUpdates);
    std::printf("platformUpdate, %zu dirty items: %7.1f us (median of %d)\n", items.size(), busy, kUpdates);
    return 0;
}
