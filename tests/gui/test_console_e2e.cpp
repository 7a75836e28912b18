// The console as a whole: fieldconsole on a fresh stand-in board that plays a
// sprayer at work, with the installer's configuration for it. The deadlines are
// generous; what is checked is behaviour, not speed.
#include "console_field.h"
#include "gui_test.h"

#include <doctest/doctest.h>

#include <cmath>

namespace {

constexpr double kRateTolerance = 0.05;
constexpr double kCounterTolerance = 0.03;

bool nearTarget(double rate, double target)
{
    return std::fabs(rate - target) <= kRateTolerance * target;
}

// Waits until the applied rate's 2 s average is within tolerance, then
// checks it stays there for holdMs.
void checkRateSettles(ConsoleField& field, double target, int deadlineMs, int holdMs)
{
    double rate = 0.0;
    const bool reached = field.waitFor(
        [&] {
            rate = field.appliedRate();
            return nearTarget(rate, target);
        },
        deadlineMs);
    CAPTURE(rate);
    CAPTURE(target);
    REQUIRE(reached);
    for (int held = 0; held < holdMs; held += 2000) {
        rate = field.appliedRate();
        CHECK(nearTarget(rate, target));
    }
}

// The rate's half-second averages stay within tolerance for holdMs: a
// regulation that hunts swings it out of the band within a second.
void checkRateHolds(ConsoleField& field, double target, int holdMs)
{
    for (int held = 0; held < holdMs; held += 500) {
        const double rate = field.appliedRate(500);
        CAPTURE(held);
        CAPTURE(rate);
        CHECK(nearTarget(rate, target));
    }
}

// Within the tolerance, give or take the one unit a counter of whole units resolves.
void checkNear(double counted, double truth, double resolution)
{
    CAPTURE(counted);
    CAPTURE(truth);
    REQUIRE(truth > 0.0);
    CHECK(std::fabs(counted - truth) <= kCounterTolerance * truth + resolution);
}

// The store copies the trip counters this often.
constexpr int kStoreCopyMs = 10000;

// Waits until the stored job distance and area have held unchanged for longer
// than holdMs; false when they still change after timeoutMs.
bool storedJobGroundHolds(ConsoleField& field, int holdMs, int timeoutMs)
{
    uint32_t distance = 0, area = 0;
    bool seen = false;
    QElapsedTimer held;
    return field.waitFor(
        [&] {
            const StoreFile now(field.storePath());
            if (!now.valid())
                return false;
            if (!seen || now.trip(kJobDistanceState) != distance || now.trip(kJobAreaState) != area) {
                distance = now.trip(kJobDistanceState);
                area = now.trip(kJobAreaState);
                seen = true;
                held.start();
            }
            return held.elapsed() > holdMs;
        },
        timeoutMs);
}

}  // namespace

TEST_CASE("a sprayer at work: rate regulation, speed step, sections, section controller, counters, stop and the "
          "ends of the program")
{
    WithGuiApplication app;
    ConsoleField field;
    REQUIRE(field.start());
    CHECK_FALSE(field.output.contains("not registered"));

    // The store of the first start holds the defaults: preset 0 with its target, no boost.
    REQUIRE(field.waitFor([&] { return StoreFile(field.storePath()).valid(); }, 30000));
    const StoreFile defaults(field.storePath());
    const uint32_t preset = defaults.u16(DS_CURRENT_TIP_PRESET);
    const double target = defaults.u16(DS_TIP_PRESET_TABLE, preset * 6 + 4) / 10.0;  // l/ha
    REQUIRE(target > 0.0);

    // Spraying starts: the master valve and all nine sections open.
    REQUIRE(field.waitFor(
        [&] {
            const SprayerDrive d = field.sprayer->drive();
            return d.master && d.openSections == 0x1FF && field.sprayer->model().sprayedFlowLpm() > 0.0;
        },
        30000));

    SUBCASE("the rate follows the target through a speed step and closed sections")
    {
        checkRateSettles(field, target, 90000, 10000);

        field.sprayer->command("speed 12");
        checkRateSettles(field, target, 60000, 6000);

        // At a third of the speed the flow is small: the valve is moved in steps and does not hunt.
        field.sprayer->command("speed 4");
        checkRateSettles(field, target, 60000, 2000);
        checkRateHolds(field, target, 6000);
        field.sprayer->command("speed 12");
        checkRateSettles(field, target, 60000, 2000);

        const double fullBoomFlow = field.sprayer->model().sprayedFlowLpm();
        for (const char* line : {"section 7 off", "section 8 off", "section 9 off"})
            REQUIRE(field.sprayer->command(line).rfind("?", 0) != 0);
        REQUIRE(field.waitFor([&] { return field.sprayer->drive().openSections == 0x3F; }, 10000));
        checkRateSettles(field, target, 60000, 6000);
        // Without calibrated returns the pressure rose as the sections closed; the valve brought it back.
        CHECK(field.sprayer->model().sprayedFlowLpm() < fullBoomFlow * 0.8);
        CHECK(field.sprayer->model().balance().sectionReturnLpm == 0.0);
        field.pause(30000);  // ground enough for the counters to resolve it finely

        // Standing still: the job's area and distance stop where they are,
        // through at least one periodic copy of the counters into the store.
        field.sprayer->command("stop");
        const SprayerModel atStop = field.sprayer->model();
        CHECK(storedJobGroundHolds(field, kStoreCopyMs + 1000, 45000));

        // A clean end puts every counter into the store, in line with what the sprayer did.
        REQUIRE(field.end(SIGTERM));
        CHECK(field.console.exitStatus() == QProcess::NormalExit);
        CHECK(field.console.exitCode() == 0);
        const StoreFile end(field.storePath());
        REQUIRE(end.valid());
        const SprayerModel m = field.sprayer->model();
        CHECK(m.sprayedAreaM2() == doctest::Approx(atStop.sprayedAreaM2()));
        checkNear(end.trip(kJobAreaState), m.sprayedAreaM2() / 100.0, 1.0);
        checkNear(end.trip(kJobDistanceState), m.sprayedDistanceM(), 1.0);
        checkNear(end.tripValue(kJobVolumeState, kVolumeSubUnits), m.sprayedLitres(), 0.0);
    }

    SUBCASE("in automatic mode the section controller closes the sections it does not allow")
    {
        checkRateSettles(field, target, 90000, 4000);
        REQUIRE(field.sectrix->command("sectrix allow 3f").rfind("?", 0) != 0);
        REQUIRE(field.sectrix->command("sectrix auto").rfind("?", 0) != 0);
        REQUIRE(field.waitFor([&] { return field.sprayer->drive().openSections == 0x3F; }, 15000));
        checkRateSettles(field, target, 60000, 4000);
        // The console reports the sections it drives to the controller.
        CHECK(field.waitFor([&] { return field.sectrix->state().sectionStates == 0x3F; }, 5000));
        // Back in manual mode the operator's switches rule again.
        REQUIRE(field.sectrix->command("sectrix manual").rfind("?", 0) != 0);
        CHECK(field.waitFor([&] { return field.sprayer->drive().openSections == 0x1FF; }, 15000));
    }

    SUBCASE("killed while spraying, the next start loads a valid store with no counter lower")
    {
        // Two periodic refreshes of the counters while spraying.
        field.pause(25000);
        REQUIRE(field.end(SIGKILL));
        const StoreFile atKill(field.storePath());
        REQUIRE(atKill.valid());
        REQUIRE(atKill.trip(kJobAreaState) > 0);
        REQUIRE(atKill.trip(kJobVolumeState) > 0);

        field.sprayer->command("stop");
        REQUIRE(field.start());
        CHECK_FALSE(field.output.contains("InitAll: Yes"));
        REQUIRE(field.end(SIGTERM));
        const StoreFile next(field.storePath());
        REQUIRE(next.valid());
        for (uint32_t state : {kJobAreaState, kJobDistanceState, kJobVolumeState}) {
            CAPTURE(state);
            CHECK(next.trip(state) >= atKill.trip(state));
        }
    }
}
