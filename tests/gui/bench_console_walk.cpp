// What a page change costs: the end-to-end walk of console_walk.h (offscreen,
// 480x272, the real core in this process) timed from each touch's release to
// the new page painted, over every page change of the walk; median, p99 and
// the three slowest pages (their median over the walks), and the process's
// resident memory after one walk and after ten (a leak per page shows as growth).
// Under AddressSanitizer run it with ASAN_OPTIONS=quarantine_size_mb=0: the
// quarantine of freed blocks otherwise shows as growth and slows every change.
#define DOCTEST_CONFIG_IMPLEMENT
#include "console_walk.h"
#include "test_exit.h"
#include "test_root.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWalks = 10;

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(share * double(values.size() - 1) + 0.5));
    return values[at];
}

// One walk: every page opened from the home view and left home again, then
// each page's back and home buttons.
void walkOnce(ConsoleWalk& walk)
{
    for (const WalkPage& page : walkPages()) {
        walk.open(page);
        walk.returnHome();
    }
    for (const WalkPage& page : walkPages())
        walk.checkWaysOut(page);
}

}  // namespace

TEST_CASE("bench: page changes of the walk")
{
    ConsoleWalk walk;
    std::vector<double> all;
    std::map<std::string, std::vector<double>> byPage;
    walk.onPageChange = [&](const std::string& page, qint64 nanoseconds) {
        const double ms = double(nanoseconds) / 1e6;
        all.push_back(ms);
        byPage[page].push_back(ms);
    };
    walkOnce(walk);
    const long afterOne = residentKb();
    for (int n = 1; n < kWalks; ++n)
        walkOnce(walk);
    const long afterTen = residentKb();

    std::vector<std::pair<double, std::string>> pages;
    for (const auto& entry : byPage)
        pages.emplace_back(percentile(entry.second, 0.5), entry.first);
    std::sort(pages.rbegin(), pages.rend());
    std::printf("page changes: %zu over %d walks of %zu pages\n", all.size(), kWalks, walkPages().size());
    std::printf("release to painted: median %.2f ms, p99 %.2f ms, slowest %.2f ms\n", percentile(all, 0.5),
                percentile(all, 0.99), percentile(all, 1.0));
    std::printf("slowest pages (median of their changes):\n");
    for (size_t i = 0; i < std::min<size_t>(3, pages.size()); ++i)
        std::printf("  %-24s %.2f ms\n", pages[i].second.c_str(), pages[i].first);
    std::printf("RSS after one walk %ld kB, after %d walks %ld kB (growth %ld kB)\n", afterOne, kWalks, afterTen,
                afterTen - afterOne);
    CHECK(!all.empty());
}

int main(int argc, char** argv)
{
    TestRoot root;
    doctest::Context context(argc, argv);
    const int result = context.run();
    std::fflush(stdout);
    std::fflush(stderr);
    if (quickExitRequested()) {
        removeTreeAfterExit(root.dir());
        std::_Exit(result);
    }
    return result;
}
