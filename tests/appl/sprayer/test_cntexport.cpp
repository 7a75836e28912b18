#include "alarm.h"
#include "alarmdefs.h"
#include "cntexport.h"
#include "counters.h"
#include "cycle_env.h"
#include "evtimer.h"
#include "eventids.h"
#include "filefunc.h"
#include "mempool.h"
#include "pulsinput.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string stick()
{
    const char* root = getenv("CONSOLE_SYSROOT");
    return std::string(root ? root : "") + "/media/sda1";
}

// Counters cleared, units and alarms set up, an empty stick plugged in.
struct ExportEnv {
    ExportEnv()
    {
        cycleenv::workDir();
        static const bool pool = [] {
            alignas(8) static unsigned char region[65536];
            return memInit(region, sizeof region, 16384) == 1;
        }();
        REQUIRE(pool);
        pulsInit();
        tripCntInit(true);
        timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
        REQUIRE(processInitUnits() == 1);
        processInitAlarms();
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
        setItem(DS_NH3_MODE, 0);
        setItem(DS_TURF_UNITS, 0);
        for (uint32_t item : {DS_CAMPAIGN_VOLUME, DS_CAMPAIGN_AREA, DS_CAMPAIGN_TIME, DS_TOTAL_VOLUME, DS_TOTAL_AREA,
                              DS_TOTAL_TIME})
            setItem(item, 0);
        removeTree(stick());
        mkdir(stick().c_str(), 0755);
        takeEvents();
    }
    ~ExportEnv()
    {
        timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
        removeTree(stick());
    }
};

void setJob(uint32_t job, uint32_t applied, uint32_t area, uint32_t distance, uint32_t seconds)
{
    setItem(DS_JOB_NUMBER_REQUEST, job);
    tripCntSelectJob();
    pulsSetCounterMode(TRIP_JOB_VOLUME, static_cast<int32_t>(applied), 0);
    pulsSetCounterMode(TRIP_JOB_AREA, static_cast<int32_t>(area), 0);
    pulsSetCounterMode(TRIP_JOB_DISTANCE, static_cast<int32_t>(distance), 0);
    pulsSetCounterMode(TRIP_JOB_TIME, static_cast<int32_t>(seconds), 0);
}

const std::string kZeroJob = ";       0;    0.00;       0;       0:00\r\n";

std::string zeroJobs(int from, int to)
{
    std::string lines;
    for (int job = from; job <= to; ++job)
        lines += (job < 10 ? "0" : "") + std::to_string(job) + kZeroJob;
    return lines;
}

}  // namespace

TEST_CASE("counter export: the whole file in metric units for a crop sprayer")
{
    ExportEnv env;
    setJob(1, 1234, 250, 1500, 5400);
    // The active job's running counters are saved before they are listed.
    setJob(2, 99, 2468, 10, 3725);
    setItem(DS_CAMPAIGN_VOLUME, 4500);
    setItem(DS_CAMPAIGN_AREA, 12345);
    setItem(DS_CAMPAIGN_TIME, 7260);
    setItem(DS_TOTAL_VOLUME, 123456);
    setItem(DS_TOTAL_AREA, 99);
    setItem(DS_TOTAL_TIME, 59);

    cntExportCsv(EV_SAVE_COUNTERS_CSV, 0);
    CHECK(posted(takeEvents(), EV_COUNTERS_CSV_SAVED, 1));
    const std::string expected = "Job Counter Number;Applied (l);Area (ha);Distance (m);Time Counter\r\n" +
                                 zeroJobs(1, 1) + "02;    1234;    2.50;    1500;       1:30\r\n" +
                                 "03;      99;   24.68;      10;       1:02\r\n" + zeroJobs(4, 10) +
                                 "\r\n"
                                 "Campaign Counter;Applied (l);Area (ha);Time Counter\r\n"
                                 " ;    4500;  123.45;       2:01\r\n"
                                 "\r\n"
                                 "Total Counter;Applied (l);Area (ha);Time Counter\r\n"
                                 " ;  123456;    0.99;       0:00\r\n";
    CHECK(readTextFile(stick() + "/cntdata.csv") == expected);
    CHECK_FALSE(alarmIsActive(FILESYSTEM_SAVE_ERROR));

    // A second export never overwrites the first.
    setItem(DS_TOTAL_TIME, 3600);
    cntExportCsv(EV_SAVE_COUNTERS_CSV, 0);
    CHECK(posted(takeEvents(), EV_COUNTERS_CSV_SAVED, 1));
    CHECK(readTextFile(stick() + "/cntdata.csv") == expected);
    const std::string second = readTextFile(stick() + "/cntdata(2).csv");
    CHECK(second.substr(second.size() - 13) == "       1:00\r\n");
}

TEST_CASE("counter export: captions and converted values by unit system and sprayer mode")
{
    ExportEnv env;
    struct Case {
        const char* name;
        uint32_t system;
        uint32_t nh3;
        uint32_t turf;
        std::string jobHeader;
        std::string campaignHeader;
        std::string campaignLine;
    };
    // Campaign: 3785 l (or kg) over 404.69 ha, 1 h: 1000 US gal, 833 imperial gal,
    // 8344 lb, 1000.01 ac or 43560.47 thousand square feet.
    const Case cases[] = {
        {"metric crop", UNIT_SYSTEM_METRIC, 0, 0, "Job Counter Number;Applied (l);Area (ha);Distance (m);Time Counter",
         "Campaign Counter;Applied (l);Area (ha);Time Counter", " ;    3785;  404.69;       1:00"},
        {"metric NH3", UNIT_SYSTEM_METRIC, 1, 0, "Job Counter Number;Applied (kgN);Area (ha);Distance (m);Time Counter",
         "Campaign Counter;Applied (kgN);Area (ha);Time Counter", " ;    3785;  404.69;       1:00"},
        {"US crop", UNIT_SYSTEM_US, 0, 0, "Job Counter Number;Applied (gal);Area (ac);Distance (ft);Time Counter",
         "Campaign Counter;Applied (gal);Area (ac);Time Counter", " ;    1000; 1000.01;       1:00"},
        {"US turf crop", UNIT_SYSTEM_US, 0, 1,
         "Job Counter Number;Applied (gal);Area (1000 sq ft);Distance (ft);Time Counter",
         "Campaign Counter;Applied (gal);Area (1000 sq ft);Time Counter", " ;    1000;43560.47;       1:00"},
        {"US NH3", UNIT_SYSTEM_US, 1, 0, "Job Counter Number;Applied (lbN);Area (ac);Distance (ft);Time Counter",
         "Campaign Counter;Applied (lbN);Area (ac);Time Counter", " ;    8344; 1000.01;       1:00"},
        {"imperial crop", UNIT_SYSTEM_IMPERIAL, 0, 0,
         "Job Counter Number;Applied (gal);Area (ac);Distance (ft);Time Counter",
         "Campaign Counter;Applied (gal);Area (ac);Time Counter", " ;     833; 1000.01;       1:00"},
    };
    setItem(DS_CAMPAIGN_VOLUME, 3785);
    setItem(DS_CAMPAIGN_AREA, 40469);
    setItem(DS_CAMPAIGN_TIME, 3600);
    setItem(DS_TOTAL_VOLUME, 3785);
    setItem(DS_TOTAL_AREA, 40469);
    setItem(DS_TOTAL_TIME, 3600);
    for (const Case& c : cases) {
        CAPTURE(c.name);
        REQUIRE(unitSetSystem(c.system) == 1);
        setItem(DS_NH3_MODE, c.nh3);
        setItem(DS_TURF_UNITS, c.turf);
        char text[4096];
        REQUIRE(cntExportBuildText(text, sizeof text));
        const std::string all(text);
        const std::string totalHeader = "Total" + c.campaignHeader.substr(8);
        const std::string expectedTail = "\r\n" + c.campaignHeader + "\r\n" + c.campaignLine + "\r\n\r\n" +
                                         totalHeader + "\r\n" + c.campaignLine + "\r\n";
        CHECK(all.substr(0, c.jobHeader.size() + 2) == c.jobHeader + "\r\n");
        REQUIRE(all.size() > expectedTail.size());
        CHECK(all.substr(all.size() - expectedTail.size()) == expectedTail);
    }
}

TEST_CASE("counter export: a text that does not fit fails whole, never cut")
{
    ExportEnv env;
    char text[4096];
    REQUIRE(cntExportBuildText(text, sizeof text));
    const size_t size = strlen(text);
    char small[600];
    memset(small, 'X', sizeof small);
    CHECK(size >= sizeof small);
    CHECK_FALSE(cntExportBuildText(small, sizeof small));
    CHECK(small[0] == '\0');
    char exact[4096];
    CHECK(cntExportBuildText(exact, static_cast<uint32_t>(size + 1)));
    CHECK(std::string(exact) == std::string(text));
    CHECK_FALSE(cntExportBuildText(exact, static_cast<uint32_t>(size)));
}

TEST_CASE("counter export: no stick raises the save error and reports failure")
{
    ExportEnv env;
    removeTree(stick());
    cntExportCsv(EV_SAVE_COUNTERS_CSV_NEW, 0);
    CHECK(posted(takeEvents(), EV_COUNTERS_CSV_SAVED, 0));
    CHECK(alarmIsActive(FILESYSTEM_SAVE_ERROR));
    struct stat st;
    CHECK(stat(stick().c_str(), &st) != 0);
}

TEST_CASE("counter export: a stick that refuses the writes gives failure, the alarm and no file")
{
    ExportEnv env;
    // The export runs in a child whose files may not grow beyond 100 bytes.
    const pid_t child = fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool saved = cntExportSave();
        const bool alarm = alarmIsActive(FILESYSTEM_SAVE_ERROR) != 0;
        struct stat st;
        const bool left = stat((stick() + "/cntdata.csv").c_str(), &st) == 0;
        _exit((saved ? 1 : 0) | (alarm ? 0 : 2) | (left ? 4 : 0));
    }
    int status = 0;
    REQUIRE(waitpid(child, &status, 0) == child);
    REQUIRE(WIFEXITED(status));
    const int code = WEXITSTATUS(status);
    CHECK_MESSAGE((code & 1) == 0, "reported as saved");
    CHECK_MESSAGE((code & 2) == 0, "no save-error alarm");
    CHECK_MESSAGE((code & 4) == 0, "a partial file is left on the stick");
}
