// What the console costs and how well it regulates, on the stand-in board
// with the simulated sprayer (nine sections, 8 km/h, master on):
// 1. fieldconsole itself: the time from start to "Init. Done", the applied
//    rate's response to a speed step 8 -> 12 km/h, the share of one CPU core
//    it uses while spraying over 60 s, with each thread's share and wake-ups
//    per second, and its resident memory after 60 s.
// 2. The process core in this program, on a second fresh board with the same
//    sprayer: the response to a target step 258 -> 300 l/ha (a step the
//    console's own screens will make; until they exist only the core itself
//    can be asked for it) and the lateness of the 100 ms tick as the core's
//    event handler sees it.
// Settling time: from the step until the 1 s average of the applied rate stays
// within +-5 % of the target. Overshoot: the peak of that average beyond the
// target after it first reached the band, in % of the target.
#include "console_field.h"
#include "proc_cpu.h"
#include "eventids.h"
#include "eventqueue.h"
#include "gui_test.h"
#include "nozpreset.h"
#include "platform.h"
#include "processhandler.h"
#include "processhooks.h"
#include "processinit.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSampleMs = 250;
constexpr double kBand = 0.05;

struct Response {
    double settlingS = -1.0;  // -1: never settled in the window
    double overshootPercent = 0.0;
    double finalRate = 0.0;   // the last 1 s average, l/ha
};

template <typename Wait>
Response measureResponse(StandinSprayer& sprayer, double target, int windowMs, Wait wait)
{
    std::vector<double> rates;
    for (int t = 0; t < windowMs; t += kSampleMs)
        rates.push_back(sprayerAppliedRate(sprayer, kSampleMs, 50, wait));
    const size_t perSecond = 1000 / kSampleMs;
    Response r;
    size_t lastOutside = 0;
    bool reached = false;
    // Right after the step the average covers the samples since the step only.
    for (size_t i = 1; i <= rates.size(); ++i) {
        const size_t first = i > perSecond ? i - perSecond : 0;
        double sum = 0.0;
        for (size_t k = first; k < i; ++k)
            sum += rates[k];
        const double average = sum / double(i - first);
        const bool inside = std::fabs(average - target) <= kBand * target;
        if (!inside)
            lastOutside = i;
        r.finalRate = average;
        reached = reached || inside;
        if (reached)
            r.overshootPercent = std::max(r.overshootPercent, (average - target) * 100.0 / target);
    }
    if (reached && lastOutside < rates.size())
        r.settlingS = lastOutside * kSampleMs / 1000.0;
    return r;
}

void printResponse(const char* name, const Response& r, int windowMs)
{
    if (r.settlingS < 0.0)
        std::printf("%-34s did not settle within %d s; at its end %.1f l/ha\n", name, windowMs / 1000, r.finalRate);
    else
        std::printf("%-34s settling %5.1f s   overshoot %5.1f %%   then %.1f l/ha\n", name, r.settlingS,
                    r.overshootPercent, r.finalRate);
}

long procStatusKb(pid_t pid, const char* field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// One thread of a process: its name, CPU time so far and the times it slept and
// was woken (its voluntary context switches: waits, and blocking reads and writes).
struct ThreadUse {
    std::string name;
    double cpuSeconds = 0.0;
    long wakeups = 0;
};

// Every thread of the process, by thread id.
std::map<std::string, ThreadUse> threadUses(pid_t pid)
{
    std::map<std::string, ThreadUse> uses;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    for (const QString& tid : QDir(QString::fromStdString(taskDir)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const std::string dir = taskDir + "/" + tid.toStdString();
        ThreadUse use;
        std::ifstream comm(dir + "/comm");
        std::getline(comm, use.name);
        use.cpuSeconds = statCpuSeconds(dir + "/stat");
        std::ifstream status(dir + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                use.wakeups = std::atol(line.c_str() + std::strlen("voluntary_ctxt_switches:"));
        uses[tid.toStdString()] = use;
    }
    return uses;
}

// Each thread's share of one core and its wake-ups per second between two readings.
void printThreadTable(const std::map<std::string, ThreadUse>& before, const std::map<std::string, ThreadUse>& after,
                      double seconds)
{
    struct Row {
        std::string name;
        double cpuPercent;
        double wakeupsPerSecond;
    };
    std::vector<Row> rows;
    for (const auto& [tid, use] : after) {
        const auto earlier = before.find(tid);
        const ThreadUse start = earlier != before.end() ? earlier->second : ThreadUse{};
        rows.push_back({use.name + " (" + tid + ")", (use.cpuSeconds - start.cpuSeconds) * 100.0 / seconds,
                        (use.wakeups - start.wakeups) / seconds});
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.cpuPercent > b.cpuPercent; });
    std::printf("%-34s %8s %12s\n", "thread (id)", "CPU %", "wake-ups/s");
    for (const Row& row : rows)
        std::printf("%-34s %8.2f %12.1f\n", row.name.c_str(), row.cpuPercent, row.wakeupsPerSecond);
}

void runFieldconsole()
{
    ConsoleField field;
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (!field.start()) {
        std::printf("fieldconsole did not start\n");
        return;
    }
    std::printf("%-34s %6lld ms\n", "start to \"Init. Done\"", static_cast<long long>(sinceStart.elapsed()));
    const pid_t pid = pid_t(field.console.processId());
    const auto wait = [&](int ms) { field.pause(ms); };

    if (!field.waitFor([&] { return StoreFile(field.storePath()).valid(); }, 30000)) {
        std::printf("the console's store did not appear\n");
        return;
    }
    const StoreFile defaults(field.storePath());
    const double target = defaults.u16(DS_TIP_PRESET_TABLE, defaults.u16(DS_CURRENT_TIP_PRESET) * 6 + 4) / 10.0;
    std::printf("%-34s %6.1f l/ha\n", "target rate (default preset)", target);

    // 60 s of spraying, with the speed step after 20 s.
    const double cpuBefore = cpuSeconds(pid);
    const std::map<std::string, ThreadUse> threadsBefore = threadUses(pid);
    QElapsedTimer cpuWindow;
    cpuWindow.start();
    field.pause(20000);
    field.sprayer->command("speed 12");
    printResponse("speed step 8 -> 12 km/h", measureResponse(*field.sprayer, target, 38000, wait), 38000);
    while (cpuWindow.elapsed() < 60000)
        field.pause(100);
    const double cpu = cpuSeconds(pid) - cpuBefore;
    const double windowS = cpuWindow.elapsed() / 1000.0;
    printThreadTable(threadsBefore, threadUses(pid), windowS);
    std::printf("%-34s %6.2f %% of one core over %.0f s\n", "CPU while spraying", cpu * 100.0 / windowS, windowS);
    std::printf("%-34s %6ld kB after %.0f s\n", "resident memory", procStatusKb(pid, "VmRSS:"),
                sinceStart.elapsed() / 1000.0);
    field.end(SIGTERM);
}

// The core's event handler, with the delivery times of the 100 ms tick noted.
std::vector<double>* tickTimes = nullptr;

void timedHandler(uint32_t id, uint32_t value)
{
    if (id == EV_TICK_100MS && tickTimes)
        tickTimes->push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count());
    processHandleEvent(id, value);
}

void runCore()
{
    TestRoot root;
    SprayerSetup setup;
    // The boom carries the nozzles of the largest preset, which the console sprays below.
    setup.nozzleRefFlowLpm = 0.98;
    setup.nozzleRefBar = 2.0;
    sprayerWriteConfig(root.dir(), setup);
    if (chdir(root.path("/usr/local/velmar").c_str()) != 0)
        return;
    StandinFpga board(root.dir());
    StandinSprayer sprayer(root.dir(), board, setup);
    sprayer.start();
    sprayer.command("speed 8");
    sprayer.command("master on");

    processRegisterStoreHooks();
    platformInit();
    processInit();
    std::vector<double> ticks;
    tickTimes = &ticks;
    eventSetCallback(timedHandler);
    const auto wait = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };

    // The largest nozzles of the presets: the default one cannot apply 300 l/ha within the pressure limit.
    const uint32_t preset = NOZPRESET_COUNT - 1;
    if (nozpresetSystemRefFlow(preset) != 980 || nozpresetRefPressure(preset) != 200)
        std::printf("the boom's nozzles are not those of preset %u\n", preset);
    datastoreSetFromUint32(DS_CURRENT_TIP_PRESET, preset);
    nozpresetSetNozzleTargetRate(preset, 2580);
    wait(40000);
    nozpresetSetNozzleTargetRate(preset, 3000);
    printResponse("target step 258 -> 300 l/ha", measureResponse(sprayer, 300.0, 60000, wait), 60000);

    tickTimes = nullptr;
    std::vector<double> lateness;
    for (size_t i = 1; i < ticks.size(); ++i)
        lateness.push_back(std::max(0.0, ticks[i] - ticks[i - 1] - 100.0));
    std::sort(lateness.begin(), lateness.end());
    if (!lateness.empty())
        std::printf("%-34s median %5.2f ms   99th percentile %5.2f ms   (%zu ticks)\n", "100 ms tick lateness",
                    lateness[lateness.size() / 2], lateness[lateness.size() * 99 / 100], lateness.size());
    sprayer.stop();
}

}  // namespace

int main(int argc, char**)
{
    TestRoot programRoot;
    guiApplication();
    if (argc < 2)
        runFieldconsole();
    runCore();
    std::fflush(stdout);
    // The core's threads run on to the end of the program, as in the console.
    std::_Exit(0);
}
