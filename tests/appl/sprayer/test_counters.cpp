#include "cmdrunner.h"
#include "counters.h"
#include "cycle_env.h"
#include "eventids.h"
#include "pulsinput.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <array>
#include <cmath>
#include <cstring>

namespace {

struct JobValues {
    int32_t volume, area, distance, time;
    bool operator==(const JobValues& o) const
    {
        return volume == o.volume && area == o.area && distance == o.distance && time == o.time;
    }
};

doctest::String toString(const JobValues& v)
{
    return (std::to_string(v.volume) + "/" + std::to_string(v.area) + "/" + std::to_string(v.distance) + "/" +
            std::to_string(v.time))
        .c_str();
}

void setJobTrips(const JobValues& v)
{
    pulsSetCounterMode(TRIP_JOB_VOLUME, v.volume, 0);
    pulsSetCounterMode(TRIP_JOB_AREA, v.area, 0);
    pulsSetCounterMode(TRIP_JOB_DISTANCE, v.distance, 0);
    pulsSetCounterMode(TRIP_JOB_TIME, v.time, 0);
}

JobValues jobTrips()
{
    JobValues v{};
    pulsGetTripValueBase(TRIP_JOB_VOLUME, &v.volume);
    pulsGetTripValueBase(TRIP_JOB_AREA, &v.area);
    pulsGetTripValueBase(TRIP_JOB_DISTANCE, &v.distance);
    pulsGetTripValueBase(TRIP_JOB_TIME, &v.time);
    return v;
}

std::array<JobRecord, TRIPCNT_JOB_COUNT> records()
{
    std::array<JobRecord, TRIPCNT_JOB_COUNT> all;
    REQUIRE(datastoreGetSize(DS_JOB_DATA) == sizeof all);
    datastoreGetData(DS_JOB_DATA, all.data());
    return all;
}

JobValues recordValues(uint32_t job)
{
    const JobRecord r = records()[job];
    return JobValues{static_cast<int32_t>(r.applied), static_cast<int32_t>(r.area),
                     static_cast<int32_t>(r.distance), static_cast<int32_t>(r.timeS)};
}

// All eleven jobs cleared, job 0 active, counters at zero.
struct Jobs {
    Jobs()
    {
        cycleenv::workDir();
        pulsInit();
        tripCntInit(true);
        timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
        takeEvents();
    }
    ~Jobs() { timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER); }
};

void selectJob(uint32_t job)
{
    setItem(DS_JOB_NUMBER_REQUEST, job);
    tripCntSelectJob();
}

double wallClockMs()
{
    const struct timespec now = cmdWallClockNow();
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

TEST_CASE("a job record is 24 bytes, eleven of them fill DS_JOB_DATA")
{
    cycleenv::workDir();
    CHECK(tripCntJobDataSize() == 264);
    CHECK(datastoreGetSize(DS_JOB_DATA) == 264);
    CHECK(offsetof(JobRecord, distance) == 12);
    CHECK(offsetof(JobRecord, startTimeMs) == 16);
}

TEST_CASE("switching jobs saves the active job and loads the requested one")
{
    Jobs jobs;
    const JobValues job3{1200, 345, 6789, 5400};
    const JobValues job5{7, 8, 9, 10};
    selectJob(3);
    CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 3);
    setJobTrips(job3);

    selectJob(5);
    CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 5);
    CHECK(jobTrips() == JobValues{0, 0, 0, 0});
    CHECK(recordValues(3) == job3);
    setJobTrips(job5);

    selectJob(3);
    CHECK(jobTrips() == job3);
    CHECK(recordValues(5) == job5);

    SUBCASE("a request above 10 selects job 0, after saving the active job")
    {
        setJobTrips(JobValues{1, 2, 3, 4});
        selectJob(11);
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 0);
        CHECK(recordValues(3) == JobValues{1, 2, 3, 4});
        selectJob(200);
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 0);
    }
    SUBCASE("an explicit save writes the counters into the active record only")
    {
        setJobTrips(JobValues{11, 12, 13, 14});
        tripCntSaveJob();
        CHECK(recordValues(3) == JobValues{11, 12, 13, 14});
        CHECK(recordValues(5) == job5);
    }
}

TEST_CASE("the start time is stamped once; clearing zeroes the job and the next counting stamps anew")
{
    Jobs jobs;
    selectJob(2);
    struct timespec when = {1700000000, 250000000};
    REQUIRE(cmdSetWallClock(when));

    tripCntStampJobStart();
    const double first = records()[2].startTimeMs;
    CHECK(first >= 1700000000250.0);
    CHECK(first < 1700000000250.0 + 60000.0);
    CHECK(records()[3].startTimeMs == 0.0);

    when.tv_sec += 3600;
    REQUIRE(cmdSetWallClock(when));
    tripCntStampJobStart();
    CHECK(records()[2].startTimeMs == first);

    setJobTrips(JobValues{5, 6, 7, 8});
    tripCntSaveJob();
    tripCntClearJob();
    CHECK(jobTrips() == JobValues{0, 0, 0, 0});
    CHECK(recordValues(2) == JobValues{0, 0, 0, 0});
    CHECK(records()[2].startTimeMs == 0.0);

    tripCntStampJobStart();
    const double second = records()[2].startTimeMs;
    CHECK(second >= 1700003600250.0);
    CHECK(std::fabs(second - wallClockMs()) < 60000.0);
}

TEST_CASE("a switch back restores the job's own start time")
{
    Jobs jobs;
    selectJob(4);
    tripCntStampJobStart();
    const double start4 = records()[4].startTimeMs;
    REQUIRE(start4 != 0.0);
    selectJob(6);
    tripCntStampJobStart();  // job 6 never started: stamped now
    CHECK(records()[6].startTimeMs != 0.0);
    selectJob(4);
    tripCntStampJobStart();  // job 4 keeps its first start
    CHECK(records()[4].startTimeMs == start4);
}

TEST_CASE("the staggered save takes ten steps 5 s apart and saves the active job once")
{
    Jobs jobs;
    selectJob(3);
    setJobTrips(JobValues{100, 200, 300, 400});
    for (uint32_t step = 0; step < 10; ++step) {
        CAPTURE(step);
        tripCntStaggeredSave();
        CHECK(timerActiveInterval(EV_COUNTER_TIMER) == 5000);
        if (step == 3) {
            CHECK(recordValues(3) == JobValues{100, 200, 300, 400});
            setJobTrips(JobValues{101, 201, 301, 401});
        }
        if (step < 3)
            CHECK(recordValues(3) == JobValues{0, 0, 0, 0});
    }
    CHECK(recordValues(3) == JobValues{100, 200, 300, 400});

    // The eleventh call ends the run without a timer; the next one starts afresh.
    timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
    tripCntStaggeredSave();
    CHECK(timerActiveInterval(EV_COUNTER_TIMER) == -1);
    CHECK(recordValues(3) == JobValues{100, 200, 300, 400});
    tripCntStaggeredSave();
    CHECK(timerActiveInterval(EV_COUNTER_TIMER) == 5000);
    for (int step = 1; step < 10; ++step)
        tripCntStaggeredSave();
    CHECK(recordValues(3) == JobValues{101, 201, 301, 401});
    timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
    tripCntStaggeredSave();  // leave the run ended for the next case
}

TEST_CASE("start-up: a new store clears every job; the temporary job returns to the previous one")
{
    Jobs jobs;
    selectJob(7);
    setJobTrips(JobValues{9, 9, 9, 9});
    tripCntSaveJob();

    SUBCASE("new store")
    {
        tripCntInit(true);
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 0);
        for (uint32_t job = 0; job < TRIPCNT_JOB_COUNT; ++job)
            CHECK(recordValues(job) == JobValues{0, 0, 0, 0});
    }
    SUBCASE("temporary job active")
    {
        setItem(DS_PREVIOUS_JOB_NUMBER, 7);
        selectJob(10);
        takeEvents();
        tripCntInit(false);
        CHECK(getItem(DS_JOB_NUMBER_REQUEST) == 7);
        CHECK(postedId(takeEvents(), EV_JOB_NUMBER_CHANGED));
        tripCntSelectJob();
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 7);
        CHECK(jobTrips() == JobValues{9, 9, 9, 9});
    }
    SUBCASE("an operator job stays, an impossible one becomes job 0")
    {
        tripCntInit(false);
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 7);
        setItem(DS_ACTIVE_JOB_NUMBER, 12);
        tripCntInit(false);
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 0);
    }
}

TEST_CASE("job records survive a restart through the store")
{
    Jobs jobs;
    selectJob(8);
    setJobTrips(JobValues{4321, 432, 43, 4});
    tripCntStampJobStart();
    tripCntSaveJob();
    const JobRecord saved = records()[8];
    REQUIRE(cycleenv::flushStore());

    cycleenv::startStore();
    const JobRecord restored = records()[8];
    CHECK(restored.applied == saved.applied);
    CHECK(restored.area == saved.area);
    CHECK(restored.distance == saved.distance);
    CHECK(restored.timeS == saved.timeS);
    CHECK(restored.startTimeMs == saved.startTimeMs);
    CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 8);
}

namespace {
// Writes what the store has marked as changed, and nothing else: the counters'
// own periodic copy into the store does not run.
bool writeChangedItems()
{
    datastoreNvWriteDirty(1);
    filestoreFlush();
    return filestoreInstance() != nullptr && filestoreInstance()->waitIdle(5000);
}
}  // namespace

TEST_CASE("a job switch, clear or save reaches the file together with the job's counters")
{
    Jobs jobs;
    const JobValues job3{1200, 345, 6789, 5400};
    const JobValues job5{50, 51, 52, 53};
    selectJob(5);
    setJobTrips(job5);
    selectJob(3);
    setJobTrips(job3);
    datastoreRefreshItems(10000);
    REQUIRE(writeChangedItems());

    SUBCASE("switch")
    {
        selectJob(5);
        REQUIRE(writeChangedItems());
        setJobTrips(JobValues{0, 0, 0, 0});  // a new process starts without counters
        cycleenv::startStore();
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 5);
        CHECK(jobTrips() == job5);
        CHECK(recordValues(3) == job3);
    }
    SUBCASE("clear")
    {
        tripCntClearJob();
        REQUIRE(writeChangedItems());
        cycleenv::startStore();
        CHECK(getItem(DS_ACTIVE_JOB_NUMBER) == 3);
        CHECK(jobTrips() == JobValues{0, 0, 0, 0});
    }
    SUBCASE("save: the counters in the file are never behind the saved record")
    {
        const JobValues later{1300, 400, 7000, 5460};
        setJobTrips(later);
        tripCntSaveJob();
        REQUIRE(writeChangedItems());
        setJobTrips(JobValues{0, 0, 0, 0});
        cycleenv::startStore();
        CHECK(recordValues(3) == later);
        CHECK(jobTrips() == later);
    }
}

namespace {
uint32_t pdfJob = 99;
bool pdfResult;
bool fakePdf(uint32_t job)
{
    pdfJob = job;
    return pdfResult;
}
std::vector<std::pair<uint32_t, uint32_t>> csvCalls;
void fakeCsv(uint32_t id, uint32_t argument)
{
    csvCalls.emplace_back(id, argument);
}
}  // namespace

TEST_CASE("the event entry runs the exports and reports the job report's outcome")
{
    Jobs jobs;
    SUBCASE("no export handed in: failure reported")
    {
        tripCntSetExports(nullptr, nullptr);
        CHECK(tripCntHandleEvent(EV_SAVE_JOB_PDF, 2) == 0);
        CHECK(tripCntHandleEvent(EV_SAVE_COUNTERS_CSV, 0) == 0);
        const auto events = takeEvents();
        CHECK(posted(events, EV_JOB_PDF_SAVED, 0));
        CHECK(posted(events, EV_COUNTERS_CSV_SAVED, 0));
    }
    SUBCASE("exports handed in")
    {
        tripCntSetExports(fakePdf, fakeCsv);
        pdfResult = true;
        CHECK(tripCntHandleEvent(EV_SAVE_JOB_PDF, 4) == 1);
        CHECK(pdfJob == 4);
        CHECK(posted(takeEvents(), EV_JOB_PDF_SAVED, 1));
        pdfResult = false;
        CHECK(tripCntHandleEvent(EV_SAVE_JOB_PDF, 5) == 0);
        CHECK(posted(takeEvents(), EV_JOB_PDF_SAVED, 0));
        csvCalls.clear();
        tripCntHandleEvent(EV_SAVE_COUNTERS_CSV_NEW, 0);
        tripCntHandleEvent(EV_SAVE_COUNTERS_CSV, 1);
        CHECK(csvCalls == std::vector<std::pair<uint32_t, uint32_t>>{{278, 0}, {279, 1}});
        pdfJob = 99;
        CHECK(tripCntHandleEvent(EV_TICK_1S, 0) == 0);
        CHECK(tripCntHandleEvent(276, 0) == 0);
        CHECK(tripCntHandleEvent(280, 0) == 0);
        CHECK(pdfJob == 99);
        CHECK(csvCalls.size() == 2);
        tripCntSetExports(nullptr, nullptr);
    }
}

TEST_CASE("job lines: fixed columns in the operator's units, hours and minutes of working time")
{
    Jobs jobs;
    REQUIRE(processInitUnits() == 1);
    REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
    setItem(DS_NH3_MODE, 0);
    setItem(DS_TURF_UNITS, 0);
    CHECK(std::string(tripCntFormatJobLine(0)) == "01;       0;    0.00;       0;       0:00\r\n");

    selectJob(4);
    setJobTrips(JobValues{1234, 250, 1500, 5400});
    tripCntSaveJob();
    CHECK(std::string(tripCntFormatJobLine(4)) == "05;    1234;    2.50;    1500;       1:30\r\n");
    setJobTrips(JobValues{7, 1, 2, 7199});
    tripCntSaveJob();
    CHECK(std::string(tripCntFormatJobLine(4)) == "05;       7;    0.01;       2;       1:59\r\n");

    SUBCASE("imperial units convert the area into acres")
    {
        setJobTrips(JobValues{0, 250, 0, 0});
        tripCntSaveJob();
        REQUIRE(unitSetSystem(UNIT_SYSTEM_IMPERIAL) == 1);
        CHECK(std::string(tripCntFormatJobLine(4)).substr(0, 21) == "05;       0;    6.18;");
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
    }
    SUBCASE("the export lists jobs 1 to 10 with the active job's current counters")
    {
        setJobTrips(JobValues{99, 0, 0, 60});  // not saved yet
        char text[800] = "header\r\n";
        tripCntAppendJobLines(text, sizeof text);
        const std::string all(text);
        CHECK(all.rfind("header\r\n", 0) == 0);
        CHECK(all.find("05;      99;    0.00;       0;       0:01\r\n") != std::string::npos);
        CHECK(all.find("10;       0;") != std::string::npos);
        CHECK(all.find("11;") == std::string::npos);
        CHECK(all.size() == 8 + 10 * 43);
    }
    SUBCASE("a small buffer takes whole lines only and is never overrun")
    {
        char text[100] = {};
        text[99] = 'X';
        tripCntAppendJobLines(text, 99);
        CHECK(std::string(text).size() == 2 * 43);
        CHECK(text[99] == 'X');
    }
    CHECK(std::string(tripCntFormatJobLine(11)).empty());
}
