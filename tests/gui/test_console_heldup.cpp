// The job's counters while the main thread, where the process core handles
// its events, is held up again and again, as a slow screen holds it: the core
// on the stand-in board with the sprayer played beside it, and a timer of the
// main thread that blocks its event loop for a while every few hundred ms.
// The core runs in a child process that ends as the console ends, writing its
// store; fieldconsole then restarts on that store.
#include "console_field.h"
#include "counters.h"
#include "gui_test.h"
#include "platform.h"
#include "processhooks.h"
#include "processinit.h"
#include "pulsinput.h"
#include "test_capture.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Every holdEveryMs the main thread is blocked for holdMs; 0: never.
struct HoldUp {
    int holdMs;
    int holdEveryMs;
};
const HoldUp kHoldUps[] = {{0, 0}, {50, 250}, {120, 300}, {200, 400}};
constexpr int kSprayMs = 15000;  // of each hold-up
constexpr double kTolerance = 0.03;

void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int32_t jobTrip(uint32_t trip)
{
    int32_t value = 0;
    pulsGetTripValueBase(trip, &value);
    return value;
}

// The child: sprays under each hold-up in turn and prints, per hold-up, the
// job's counted distance and area (m, 1/100 ha) and the ground the sprayer
// covered, then ends as the console does and prints the ground of the whole job.
int sprayHeldUp(const std::string& root)
{
    static int argc = 1;
    static char name[] = "heldup";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const SprayerSetup setup;
    if (!sprayerWriteConfig(root, setup))
        return 2;
    if (chdir((root + "/usr/local/velmar").c_str()) != 0)
        return 2;
    StandinFpga board(root);
    StandinSprayer sprayer(root, board, setup);
    sprayer.start();
    // Fast, so that a hold-up covers metres and the counters resolve the ground finely.
    sprayer.command("speed 30");
    sprayer.command("master on");
    processRegisterStoreHooks();
    if (platformInit() != 0 || processInit() != 0)
        return 3;
    runEventLoop(8000);

    for (const HoldUp h : kHoldUps) {
        QTimer hold;
        QObject::connect(&hold, &QTimer::timeout,
                         [&] { std::this_thread::sleep_for(std::chrono::milliseconds(h.holdMs)); });
        const SprayerModel before = sprayer.model();
        const int32_t distance = jobTrip(TRIP_JOB_DISTANCE);
        const int32_t area = jobTrip(TRIP_JOB_AREA);
        if (h.holdEveryMs > 0)
            hold.start(h.holdEveryMs);
        runEventLoop(kSprayMs);
        hold.stop();
        runEventLoop(300);
        const SprayerModel after = sprayer.model();
        std::printf("held %d counted %d %d sprayed %.2f %.2f\n", h.holdMs, jobTrip(TRIP_JOB_DISTANCE) - distance,
                    jobTrip(TRIP_JOB_AREA) - area, after.sprayedDistanceM() - before.sprayedDistanceM(),
                    (after.sprayedAreaM2() - before.sprayedAreaM2()) / 100.0);
    }
    sprayer.command("master off");
    sprayer.command("stop");
    runEventLoop(2000);
    // The console's end: the counters as they stand into the store, on disk.
    datastoreRefreshAllNow();
    datastoreNvWriteDirty(0);
    filestoreDestroy();
    const SprayerModel end = sprayer.model();
    std::printf("job sprayed %.2f %.2f\n", end.sprayedDistanceM(), end.sprayedAreaM2() / 100.0);
    std::fflush(stdout);
    // The core's threads run to the end of the process, as in the console.
    std::_Exit(0);
}

void checkNear(double counted, double sprayed)
{
    CAPTURE(counted);
    CAPTURE(sprayed);
    REQUIRE(sprayed > 0.0);
    CHECK(std::fabs(counted - sprayed) <= kTolerance * sprayed + 2.0);
}

}  // namespace

TEST_CASE("the job's distance and area keep all ground sprayed while the main thread is held up, across a restart")
{
    TestRoot root;
    std::string output;
    const int status = runInChild([&] { return sprayHeldUp(root.dir()); }, &output);
    INFO(output);
    REQUIRE(status == 0);

    std::istringstream lines(output);
    std::string line;
    int heldUps = 0;
    double jobDistance = 0.0, jobArea = 0.0;
    while (std::getline(lines, line)) {
        int held = 0, distance = 0, area = 0;
        double sprayedDistance = 0.0, sprayedArea = 0.0;
        if (std::sscanf(line.c_str(), " held %d counted %d %d sprayed %lf %lf", &held, &distance, &area,
                        &sprayedDistance, &sprayedArea) == 5) {
            CAPTURE(held);
            ++heldUps;
            checkNear(distance, sprayedDistance);
            checkNear(area, sprayedArea);
        }
        std::sscanf(line.c_str(), " job sprayed %lf %lf", &jobDistance, &jobArea);
    }
    CHECK(heldUps == int(std::size(kHoldUps)));

    const StoreFile stored(root.path("/usr/local/velmar/fdatasto/fdatasto.dat"));
    REQUIRE(stored.valid());
    checkNear(stored.trip(kJobDistanceState), jobDistance);
    checkNear(stored.trip(kJobAreaState), jobArea);

    // The next start takes the job's counters as they were stored.
    guiApplication();
    QProcess console;
    console.setProcessChannelMode(QProcess::MergedChannels);
    startFieldconsole(console);
    QByteArray consoleOutput;
    REQUIRE(waitForOutput(console, "Init. Done - fieldconsole\n", 120000, &consoleOutput));
    CHECK_FALSE(consoleOutput.contains("InitAll: Yes"));
    REQUIRE(::kill(pid_t(console.processId()), SIGTERM) == 0);
    REQUIRE(console.waitForFinished(60000));
    CHECK(console.exitCode() == 0);
    const StoreFile restarted(root.path("/usr/local/velmar/fdatasto/fdatasto.dat"));
    REQUIRE(restarted.valid());
    CHECK(restarted.trip(kJobDistanceState) == stored.trip(kJobDistanceState));
    CHECK(restarted.trip(kJobAreaState) == stored.trip(kJobAreaState));
}
