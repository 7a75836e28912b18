// The log viewers with the real process core on the program's stand-in board:
// showing a viewer makes the core's worker build the readable log, and the
// table then holds the lines the worker wrote. The program works in its
// stand-in root, where the core keeps its log directories.
#include "alarmdefs.h"
#include "alarmlogger.h"
#include "core_inprocess.h"
#include "datalogalarms.h"
#include "datalogpressure.h"
#include "logworker.h"
#include "pressurelogger.h"
#include "screen_fixture.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_root.h"

#include <QStandardItemModel>

#include <sstream>
#include <string>

#include <unistd.h>

using namespace ToolsViewWidgets;

namespace {

struct CoreScreen {
    CoreScreen()
    {
        guiApplication();
        static const bool inRoot = chdir(sysrootDir().c_str()) == 0;
        REQUIRE(inRoot);
        REQUIRE(coreStartInProcess());
    }
};

struct Fixture : CoreScreen, ScreenFixture {
};

QStringList column(const DataLogView* page, int index)
{
    QStringList texts;
    for (int row = 0; row < page->model()->rowCount(); ++row)
        texts << page->model()->index(row, index).data().toString();
    return texts;
}

// The counts of the worker's readable alarm log, as the viewer shows them.
QStringList countsInFile(LogWorker* worker)
{
    QStringList counts;
    std::istringstream lines(readTextFile(worker->readablePath()));
    std::string line;
    while (std::getline(lines, line)) {
        const std::string count = line.substr(line.find(',') + 2, 3);
        counts << QString::fromStdString(count + " ");
    }
    return counts;
}

// Shows the page as the diagnostics menu does and returns what it printed;
// the worker's report has come back through the core when it returns.
std::string showAndRead(Fixture& f, DataLogView* page, LogWorker* worker)
{
    StdoutCapture capture(sysrootDir() + "/viewer-out.txt");
    f.place(page, QPoint(0, 0), QSize(480, 272));
    REQUIRE(worker->waitIdle(5000));
    pumpEvents();
    return capture.text();
}

}  // namespace

TEST_CASE("showing the alarm viewer builds the alarm log and lists what the worker wrote")
{
    Fixture f;
    LogWorker* worker = alarmLogWorker();
    REQUIRE(worker != nullptr);
    alarmLogRequestClear();
    REQUIRE(worker->waitIdle(5000));
    for (uint32_t id : {SPRAY_NO_FLOW_PULSES, ALARM_MASTER_VALVE_OUTPUT_ERROR, SPRAY_NO_FLOW_PULSES})
        alarmLogAlarm(id);
    REQUIRE(worker->waitIdle(5000));

    auto* page = new DataLogAlarms;
    const std::string printed = showAndRead(f, page, worker);
    CHECK(printed.find("Create alarm log\n") != std::string::npos);
    CHECK(column(page, 0) == QStringList{"SPRAY_NO_FLOW_PULSES", "ALARM_MASTER_VALVE_OUTPUT_ERROR", "SPRAY_NO_FLOW_PULSES"});
    CHECK(column(page, 1) == countsInFile(worker));
    for (const QString& time : column(page, 2))
        CHECK(QRegExp("\\d\\d:\\d\\d:\\d\\d").exactMatch(time));
    for (const QString& date : column(page, 3))
        CHECK(QRegExp("\\d\\d/\\d\\d-\\d\\d\\d\\d").exactMatch(date));

    // A new alarm shows on the next showing.
    alarmLogAlarm(ALARM_MASTER_VALVE_OUTPUT_ERROR);
    REQUIRE(worker->waitIdle(5000));
    page->hide();
    showAndRead(f, page, worker);
    REQUIRE(page->model()->rowCount() == 4);
    CHECK(page->model()->index(3, 0).data().toString() == "ALARM_MASTER_VALVE_OUTPUT_ERROR");
    CHECK(column(page, 1) == countsInFile(worker));
}

TEST_CASE("showing the pressure viewer builds the pressure log and lists what the worker wrote")
{
    Fixture f;
    LogWorker* worker = pressureLogWorker();
    REQUIRE(worker != nullptr);
    worker->requestClear();
    REQUIRE(worker->waitIdle(5000));
    pressureLogSample(3.5f, "bar");
    pressureLogSample(12.25f, "psi");
    REQUIRE(worker->waitIdle(5000));

    auto* page = new DataLogPressure;
    const std::string printed = showAndRead(f, page, worker);
    CHECK(printed.find("Create pressure log\n") != std::string::npos);
    REQUIRE(page->model()->rowCount() == 2);
    CHECK(column(page, 0) == QStringList{QString("3.5 bar").rightJustified(17), QString("12.2 psi").rightJustified(17)});
    for (const QString& date : column(page, 2))
        CHECK(QRegExp(" *\\d\\d/\\d\\d-\\d\\d\\d\\d").exactMatch(date));
}
