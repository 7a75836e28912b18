// The console restarted on its own store, on the stand-in board with the
// simulated sprayer: a start changes no stored counter, and restarts by
// SIGTERM and SIGKILL while spraying lose at most what was counted since the
// last periodic write of the counters.
#include "console_field.h"
#include "gui_test.h"

#include <doctest/doctest.h>

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

namespace {

// The store items of every trip counter: remainder, units, running.
const uint32_t kTripStates[] = {DS_COUNTER_5_STATE,  DS_COUNTER_6_STATE,  DS_COUNTER_7_STATE,  DS_COUNTER_8_STATE,
                                DS_COUNTER_9_STATE,  DS_COUNTER_10_STATE, DS_COUNTER_14_STATE, DS_COUNTER_15_STATE,
                                DS_COUNTER_16_STATE, DS_COUNTER_17_STATE, DS_COUNTER_18_STATE, DS_COUNTER_19_STATE,
                                DS_COUNTER_20_STATE, DS_COUNTER_21_STATE, DS_COUNTER_22_STATE};
// The records of the counters that total pulses (the rate counters follow the
// inputs, counter 21 the running time): units at byte 40, remainder at 44.
const uint32_t kTotalRecords[] = {DS_COUNTER_1_RECORD,  DS_COUNTER_3_RECORD,  DS_COUNTER_5_RECORD,
                                  DS_COUNTER_6_RECORD,  DS_COUNTER_7_RECORD,  DS_COUNTER_8_RECORD,
                                  DS_COUNTER_9_RECORD,  DS_COUNTER_10_RECORD, DS_COUNTER_12_RECORD,
                                  DS_COUNTER_14_RECORD, DS_COUNTER_16_RECORD, DS_COUNTER_18_RECORD,
                                  DS_COUNTER_19_RECORD, DS_COUNTER_20_RECORD};
// The lifetime, campaign and job volume (litres and millionths).
const uint32_t kVolumeStates[] = {DS_COUNTER_5_STATE, DS_COUNTER_6_STATE, DS_COUNTER_7_STATE};

// The counters are put into the store every 10 s; a SIGKILL loses at most what
// was counted since, and the write behind the 100 ms tick adds a little.
constexpr int kWriteIntervalMs = 10000 + 500;

// Spraying stopped by the operator: master switch off, standing still, no flow.
void stopSpraying(ConsoleField& field)
{
    field.sprayer->command("master off");
    field.sprayer->command("stop");
    REQUIRE(field.waitFor(
        [&] { return !field.sprayer->drive().master && field.sprayer->model().flowLpm() == 0.0; }, 30000));
}

bool spraying(ConsoleField& field)
{
    const SprayerDrive d = field.sprayer->drive();
    return d.master && d.openSections != 0 && field.sprayer->model().flowLpm() > 0.0;
}

}  // namespace

TEST_CASE("a start on a store with counts and volume remainders finds every counter as it was stored")
{
    WithGuiApplication app;
    ConsoleField field;
    REQUIRE(field.start());
    REQUIRE(field.waitFor([&] { return spraying(field); }, 30000));
    field.pause(13000);  // a periodic write while spraying: volume with a remainder
    stopSpraying(field);
    REQUIRE(field.end(SIGTERM));
    REQUIRE(field.console.exitCode() == 0);
    const StoreFile before(field.storePath());
    REQUIRE(before.valid());
    REQUIRE(before.trip(DS_COUNTER_7_STATE) > 0);
    REQUIRE(before.u32(DS_COUNTER_7_STATE) > 0);  // the remainder in millionths of a litre

    REQUIRE(field.start());
    field.pause(12000);  // the counters are read back into the store once
    REQUIRE(field.end(SIGTERM));
    REQUIRE(field.console.exitCode() == 0);
    const StoreFile after(field.storePath());
    REQUIRE(after.valid());
    for (uint32_t state : kTripStates) {
        CAPTURE(state);
        CHECK(after.u32(state, 0) == before.u32(state, 0));
        CHECK(after.u32(state, 4) == before.u32(state, 4));
    }
    for (uint32_t record : kTotalRecords) {
        CAPTURE(record);
        for (uint32_t byte = 0; byte < 48; byte += 4) {
            CAPTURE(byte);
            CHECK(after.u32(record, byte) == before.u32(record, byte));
        }
    }
}

TEST_CASE("restarts by SIGTERM and SIGKILL while spraying keep the volume within one write interval of the sprayed")
{
    WithGuiApplication app;
    ConsoleField field;
    double counted = 0.0;   // litres sprayed while the console was up
    double settled = 0.0;   // of those, while it was up and done starting
    double maxFlowLpm = 0.0;
    int kills = 0;
    const int pausesMs[] = {4000, 11000, 6000, 13000, 3000, 8000, 12000, 5000};
    const int cycles = static_cast<int>(std::size(pausesMs));
    for (int cycle = 0; cycle < cycles; ++cycle) {
        CAPTURE(cycle);
        const double atStart = field.sprayer->model().sprayedLitres();
        REQUIRE(field.start());
        const double atInitDone = field.sprayer->model().sprayedLitres();
        if (cycle == 0)
            REQUIRE(field.waitFor([&] { return spraying(field); }, 30000));
        for (int t = 0; t < pausesMs[cycle]; t += 500) {
            field.pause(500);
            maxFlowLpm = std::max(maxFlowLpm, field.sprayer->model().flowLpm());
        }
        const bool kill = cycle % 2 == 1;
        REQUIRE(field.end(kill ? SIGKILL : SIGTERM));
        const double atEnd = field.sprayer->model().sprayedLitres();
        counted += atEnd - atStart;
        settled += atEnd - atInitDone;
        if (kill)
            ++kills;
        else
            CHECK(field.console.exitCode() == 0);
        REQUIRE(StoreFile(field.storePath()).valid());
    }

    const StoreFile end(field.storePath());
    REQUIRE(end.valid());
    REQUIRE(settled > 10.0);
    // A lost write interval is the most a SIGKILL may cost; nothing is ever gained.
    const double lossBound = kills * maxFlowLpm * kWriteIntervalMs / 60000.0;
    for (uint32_t state : kVolumeStates) {
        CAPTURE(state);
        const double stored = end.tripValue(state, kVolumeSubUnits);
        CAPTURE(stored);
        CAPTURE(counted);
        CAPTURE(settled);
        CAPTURE(lossBound);
        CHECK(stored <= counted * 1.03 + 1.0);
        CHECK(stored >= settled * 0.97 - lossBound - 1.0);
    }
}
