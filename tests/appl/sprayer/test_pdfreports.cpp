#include "clock.h"
#include "counters.h"
#include "cycle_env.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "evtimer.h"
#include "eventids.h"
#include "filefunc.h"
#include "logworker.h"
#include "pdfpressurelog.h"
#include "pdfreport.h"
#include "pressurelogger.h"
#include "pulsinput.h"
#include "unitquantities.h"
#include "units.h"

#include <doctest/doctest.h>

#include <QDateTime>
#include <QGuiApplication>
#include <QSvgRenderer>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

using VelmarReports::PDFPressureLog;
using VelmarReports::PDFReport;

namespace {

std::string stick()
{
    const char* root = getenv("CONSOLE_SYSROOT");
    return std::string(root ? root : "") + "/media/sda1";
}

bool exists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The text of a PDF as pdftotext reads it; empty when it cannot be read.
std::string pdfText(const std::string& path)
{
    const std::string command = "pdftotext -q '" + path + "' - 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::string();
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    pclose(pipe);
    return text;
}

// A GUI application (fonts for the pages) before the store's environment.
struct ReportEnv {
    ReportEnv()
    {
        static const bool ready = [] {
            setenv("QT_QPA_PLATFORM", "offscreen", 0);
            static int argc = 1;
            static char name[] = "reporttest";
            static char* argv[] = {name, nullptr};
            if (QCoreApplication::instance() == nullptr)
                new QGuiApplication(argc, argv);
            cycleenv::workDir();
            pulsInit();
            tripCntInit(true);
            timerStop(EV_OWNER_PERIODIC, EV_COUNTER_TIMER);
            return processInitUnits() == 1;
        }();
        REQUIRE(ready);
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
        setItem(DS_NH3_MODE, 0);
        setItem(DS_TURF_UNITS, 0);
        removeTree(stick());
        mkdir(stick().c_str(), 0755);
        REQUIRE(rtcSetQDate(QDate(2026, 12, 9)) == 1);
        REQUIRE(rtcSetQTime(QTime(9, 55, 0)) == 1);
    }
    ~ReportEnv() { removeTree(stick()); }
};

// A stick that is full after `bytes`: every write past that size fails as it
// does on a full medium (the file-size limit, its signal ignored). The limit
// holds for the whole test program, so it is set only around one save.
class FullStick {
public:
    explicit FullStick(rlim_t bytes)
    {
        REQUIRE(getrlimit(RLIMIT_FSIZE, &mSaved) == 0);
        mHandler = signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {bytes, mSaved.rlim_max};
        REQUIRE(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
    ~FullStick()
    {
        setrlimit(RLIMIT_FSIZE, &mSaved);
        signal(SIGXFSZ, mHandler);
    }

private:
    struct rlimit mSaved = {};
    void (*mHandler)(int) = nullptr;
};

// The names in the stick's directory.
std::vector<std::string> stickFiles()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(stick().c_str())) {
        while (const struct dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

void setRecord(uint32_t job, const JobRecord& record)
{
    std::array<JobRecord, TRIPCNT_JOB_COUNT> all;
    datastoreGetData(DS_JOB_DATA, all.data());
    all[job] = record;
    REQUIRE(datastoreSetData(DS_JOB_DATA, all.data()) == 0);
}

double localMs(int year, int month, int day, int hour, int minute)
{
    return static_cast<double>(QDateTime(QDate(year, month, day), QTime(hour, minute)).toMSecsSinceEpoch());
}

}  // namespace

TEST_CASE("job report: the job's counters on an A4 page named after the job and its start")
{
    ReportEnv env;
    REQUIRE(getItem(DS_ACTIVE_JOB_NUMBER) != 2);
    setRecord(2, JobRecord{3725, 2468, 987654, 1500, localMs(2026, 12, 9, 9, 55)});
    REQUIRE(tripCntSavePdf(2));
    const std::string file = stick() + "/trip3_2612090955.pdf";
    REQUIRE(exists(file));
    const std::string text = pdfText(file);
    for (const char* expected :
         {"Job Data Report", "Report Created: 9 Dec 2026 at 09:5", "Job Data: Job Counter 3",
          "Start Date: 9 December 2026", "Start Time: 9:55", "Total Application Time: 1 hours 2 minutes",
          "Amount: 987654 l", "Driven Distance: 1500 m", "Area: 24.68 ha", "Additional Notes",
          "www.velmar.example", "Quorin 5520"}) {
        CAPTURE(expected);
        CHECK(text.find(expected) != std::string::npos);
    }
}

TEST_CASE("reports: the maker's logo is built in and renders")
{
    ReportEnv env;
    reportsInitResources();
    QSvgRenderer logo(QString::fromLatin1(VelmarReports::kReportLogo));
    CHECK(logo.isValid());
    CHECK(logo.defaultSize() == QSize(400, 143));
}

TEST_CASE("job report: values and units by unit system and sprayer mode")
{
    ReportEnv env;
    struct Case {
        const char* name;
        uint32_t system, nh3, turf;
        JobRecord record;
        std::vector<std::string> expected;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"never started, short time, large amount", UNIT_SYSTEM_METRIC, 0, 0, JobRecord{59, 0, 2500000, 0, 0.0},
         {"Total Application Time: 0 hours 0 minutes", "Amount: 2.5e+06 l", "Start Date:", "Start Time:"},
         {"1970", "January", "0:00"}},
        {"metric NH3", UNIT_SYSTEM_METRIC, 1, 0, JobRecord{0, 100, 500, 0, 0.0}, {"Amount: 500 kg", "Area: 1 ha"}, {}},
        {"US turf", UNIT_SYSTEM_US, 0, 1, JobRecord{0, 100, 3785, 1000, 0.0},
         {"Amount: 1000 gal", "1000 sq ft", "ft"}, {}},
        {"US acres", UNIT_SYSTEM_US, 0, 0, JobRecord{0, 40469, 0, 0, 0.0}, {"Area: 1000.01 ac"}, {}},
        {"US NH3", UNIT_SYSTEM_US, 1, 0, JobRecord{0, 0, 1000, 0, 0.0}, {"Amount: 2205 lb"}, {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        REQUIRE(unitSetSystem(c.system) == 1);
        setItem(DS_NH3_MODE, c.nh3);
        setItem(DS_TURF_UNITS, c.turf);
        setRecord(5, c.record);
        const QDateTime start = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(c.record.startTimeMs / 1000));
        const std::string file =
            stick() + "/trip6_" + start.toString("yyMMddhhmm").toStdString() + ".pdf";
        REQUIRE(tripCntSavePdf(5));
        const std::string text = pdfText(file);
        for (const std::string& expected : c.expected) {
            CAPTURE(expected);
            CHECK(text.find(expected) != std::string::npos);
        }
        for (const std::string& absent : c.absent) {
            CAPTURE(absent);
            CHECK(text.find(absent) == std::string::npos);
        }
    }
}

TEST_CASE("job report: no file for a job above 9 or without a stick")
{
    ReportEnv env;
    CHECK_FALSE(tripCntSavePdf(10));
    CHECK(pdfText(stick() + "/trip11_7001010000.pdf").empty());
    removeTree(stick());
    CHECK_FALSE(tripCntSavePdf(0));
    CHECK_FALSE(exists(stick()));
}

TEST_CASE("pressure-log report: the newest 360 records in four columns of 90")
{
    PDFPressureLog report;
    for (int i = 0; i < 500; ++i)
        report.addRecord(QString::number(i));
    const std::vector<QString> columns = report.columnTexts();
    REQUIRE(columns.size() == 4);
    const int firsts[] = {140, 230, 320, 410};
    for (int k = 0; k < 4; ++k) {
        const QStringList lines = columns[k].split('\n', Qt::SkipEmptyParts);
        REQUIRE(lines.size() == 90);
        CHECK(lines.front().toInt() == firsts[k]);
        CHECK(lines.back().toInt() == firsts[k] + 89);
    }

    PDFPressureLog small;
    for (int i = 0; i < 100; ++i)
        small.addRecord(QString::number(i));
    const std::vector<QString> few = small.columnTexts();
    CHECK(few[0].count('\n') == 90);
    CHECK(few[1].split('\n', Qt::SkipEmptyParts).front() == "90");
    CHECK(few[1].count('\n') == 10);
    CHECK(few[2].isEmpty());
    CHECK(few[3].isEmpty());
}

TEST_CASE("pressure-log report: built from a fresh log, printed on the stick")
{
    ReportEnv env;
    pressureLogCreate("pressurelogs");
    pressureLogEnable(1);
    const std::string file = stick() + "/Velmar_Pressure_Log_2612090955.pdf";

    // No record yet: the page still has its header and footer.
    REQUIRE(pressureLogSavePdf());
    std::string text = pdfText(file);
    CHECK(text.find("Pressure Log Data") != std::string::npos);
    CHECK(text.find("www.velmar.example") != std::string::npos);
    CHECK(text.find("Quorin 5520") != std::string::npos);
    CHECK(text.find(" bar") == std::string::npos);

    // 500 records, the last sampled just before the export: the log is built
    // first, so the page holds records 140 to 499.
    for (int i = 0; i < 500; ++i)
        pressureLogSample(static_cast<float>(i), "bar");
    REQUIRE(pressureLogSavePdf());
    text = pdfText(file);
    CHECK(text.find("140.0 bar, 09:5") != std::string::npos);
    CHECK(text.find("320.0 bar") != std::string::npos);
    CHECK(text.find("499.0 bar, 09:5") != std::string::npos);
    CHECK(text.find("139.0 bar") == std::string::npos);
    CHECK(text.find("09/12-2026;") == std::string::npos);

    removeTree(stick());
    CHECK_FALSE(pressureLogSavePdf());
    CHECK_FALSE(exists(stick()));
}

TEST_CASE("reports on a full stick: the save fails and a previous file stays as it was")
{
    ReportEnv env;
    constexpr rlim_t kRoomOnStick = 1500;

    SUBCASE("job report")
    {
        REQUIRE(getItem(DS_ACTIVE_JOB_NUMBER) != 4);
        setRecord(4, JobRecord{3725, 2468, 987654, 1500, localMs(2026, 12, 9, 9, 55)});
        const std::string file = stick() + "/trip5_2612090955.pdf";
        {
            FullStick full(kRoomOnStick);
            CHECK_FALSE(tripCntSavePdf(4));
        }
        CHECK(stickFiles().empty());  // no cut-short report, no leftover

        REQUIRE(tripCntSavePdf(4));
        const std::string whole = readTextFile(file);
        REQUIRE(whole.size() > kRoomOnStick);
        {
            FullStick full(kRoomOnStick);
            CHECK_FALSE(tripCntSavePdf(4));
        }
        CHECK(readTextFile(file) == whole);
        CHECK(stickFiles().size() == 1);
        CHECK(pdfText(file).find("Job Data: Job Counter 5") != std::string::npos);
    }
    SUBCASE("pressure-log report")
    {
        pressureLogCreate("pressurelogs");
        pressureLogEnable(1);
        for (int i = 0; i < 5; ++i)
            pressureLogSample(static_cast<float>(i), "bar");
        REQUIRE(pressureLogWorker()->buildAndWait(5000));
        const std::string file = stick() + "/Velmar_Pressure_Log_2612090955.pdf";
        {
            FullStick full(kRoomOnStick);
            CHECK_FALSE(pressureLogSavePdf());
            REQUIRE(pressureLogWorker()->waitIdle(5000));
        }
        CHECK(stickFiles().empty());

        REQUIRE(pressureLogSavePdf());
        const std::string whole = readTextFile(file);
        REQUIRE(whole.size() > kRoomOnStick);
        {
            FullStick full(kRoomOnStick);
            CHECK_FALSE(pressureLogSavePdf());
            REQUIRE(pressureLogWorker()->waitIdle(5000));
        }
        CHECK(readTextFile(file) == whole);
        CHECK(pdfText(file).find("Pressure Log Data") != std::string::npos);
    }
}
