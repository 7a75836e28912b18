// What the working screen costs while the console sprays: fieldconsole's
// whole process on the stand-in board with the simulated sprayer (nine
// sections, 8 km/h, master on), offscreen at 480x272, showing the working
// screen, measured over 60 s after 10 s to settle:
// - the share of one CPU core the process uses, and its GUI thread;
// - the time of each repaint of the screen (median, p99, max), timed inside
//   the process by the preloaded paint log (tests/gui/paintlog), each
//   widget's 100 ms catch-up and 600 ms refresh included;
// - repaints per second, and which widgets were painted how often.
// Build it in Release for figures.
#include "console_field.h"
#include "proc_cpu.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSettleMs = 10000;
constexpr int kWindowMs = 60000;

struct Repaint {
    double ms = 0.0;
    std::vector<std::string> painted;
};

// The repaints logged from byte offset on.
std::vector<Repaint> readRepaints(const std::string& path, std::streamoff from)
{
    std::ifstream in(path);
    in.seekg(from);
    std::vector<Repaint> repaints;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        long long at = 0, ns = 0;
        int count = 0;
        if (!(fields >> at >> ns >> count))
            continue;
        Repaint r;
        r.ms = ns / 1e6;
        std::string name;
        while (fields >> name)
            r.painted.push_back(name);
        repaints.push_back(r);
    }
    return repaints;
}

std::streamoff fileSize(const std::string& path)
{
    std::ifstream in(path, std::ios::ate);
    return in ? std::streamoff(in.tellg()) : 0;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ConsoleField field;
    const std::string logPath = field.root.path("/paintlog.txt");
    setenv("LD_PRELOAD", PAINTLOG_LIBRARY, 1);
    setenv("PAINTLOG_FILE", logPath.c_str(), 1);
    // A sanitizer build's program checks that its runtime comes first.
    setenv("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", 1);
    const bool started = field.start();
    unsetenv("LD_PRELOAD");
    unsetenv("PAINTLOG_FILE");
    if (!started) {
        std::printf("fieldconsole did not start\n%s\n", field.output.constData());
        return 1;
    }
    const pid_t pid = pid_t(field.console.processId());
    field.pause(kSettleMs);

    const std::streamoff logFrom = fileSize(logPath);
    const double cpuBefore = cpuSeconds(pid);
    const double guiBefore = cpuSeconds(pid, pid);
    QElapsedTimer window;
    window.start();
    while (window.elapsed() < kWindowMs)
        field.pause(100);
    const double seconds = window.elapsed() / 1000.0;
    const double cpu = cpuSeconds(pid) - cpuBefore;
    const double gui = cpuSeconds(pid, pid) - guiBefore;
    const std::vector<Repaint> repaints = readRepaints(logPath, logFrom);
    // What the screen had to follow: the sprayer at work.
    const double applied = field.appliedRate(2000);
    field.end(SIGTERM);

    std::vector<double> times;
    std::map<std::string, int> perClass;
    for (const Repaint& r : repaints) {
        times.push_back(r.ms);
        for (const std::string& name : r.painted)
            ++perClass[name];
    }
    std::printf("working screen while spraying, %.0f s, offscreen 480x272\n", seconds);
    std::printf("%-34s %8.1f l/ha\n", "applied rate at the end", applied);
    std::printf("%-34s %8.2f %% of one core\n", "CPU of the whole process", cpu * 100.0 / seconds);
    std::printf("%-34s %8.2f %% of one core\n", "CPU of its GUI thread", gui * 100.0 / seconds);
    std::printf("%-34s %8.2f /s (%zu)\n", "repaints", repaints.size() / seconds, repaints.size());
    std::printf("%-34s %8.3f ms\n", "repaint time, median", percentile(times, 0.5));
    std::printf("%-34s %8.3f ms\n", "repaint time, p99", percentile(times, 0.99));
    std::printf("%-34s %8.3f ms\n", "repaint time, max", times.empty() ? 0.0 : *std::max_element(times.begin(), times.end()));
    std::printf("widgets painted, per second:\n");
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& entry : perClass)
        ranked.emplace_back(entry.second, entry.first);
    std::sort(ranked.rbegin(), ranked.rend());
    for (const auto& entry : ranked)
        std::printf("  %-32s %8.2f\n", entry.second.c_str(), entry.first / seconds);
    return 0;
}
