// The alarm-log and pressure-log viewers against small hand-written readable
// logs: the cells of each kind of line, the headers and column sizing, the
// reading on the worker's report (also while hidden), a missing file, the
// request on showing, navigation, the one model kept over many readings and
// the screens at 480x272. The log workers live in the program's stand-in root.
#include "alarmlogger.h"
#include "datalogalarms.h"
#include "datalogpressure.h"
#include "eventids.h"
#include "logworker.h"
#include "pressurelogger.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "sysroot.h"
#include "test_root.h"

#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <string>

using namespace ToolsViewWidgets;

namespace {

// The two log workers, once per program, with their directories in the stand-in root.
void startLogWorkers()
{
    static const bool started = [] {
        alarmLogCreate(sysrootPath("/share/alarmlogs").c_str());
        pressureLogCreate(sysrootPath("/share/pressurelogs").c_str());
        alarmLogEnable(1);
        pressureLogEnable(1);
        return true;
    }();
    REQUIRE(started);
    REQUIRE(alarmLogWorker()->waitIdle(5000));
    REQUIRE(pressureLogWorker()->waitIdle(5000));
}

struct Fixture : ScreenFixture {
    Fixture()
    {
        startLogWorkers();
        removeTree(alarmLogWorker()->readablePath());
        removeTree(pressureLogReadablePath());
    }
};

std::string alarmLogPath()
{
    return alarmLogWorker()->readablePath();
}

// The readable log replaced by text, then the worker's report as the hub gives it.
// The worker first finishes the build a showing asked for, which would replace the file.
void deliverAlarmLog(const std::string& text)
{
    REQUIRE(alarmLogWorker()->waitIdle(5000));
    REQUIRE(writeTextFile(alarmLogPath(), text));
    ScreenFixture::hub()->eventAlarmLogDataSaved(true);
    pumpEvents();
}

void deliverPressureLog(const std::string& text)
{
    REQUIRE(pressureLogWorker()->waitIdle(5000));
    REQUIRE(writeTextFile(pressureLogReadablePath(), text));
    ScreenFixture::hub()->eventPressureLogDataSaved(true);
    pumpEvents();
}

QStringList rowTexts(const DataLogView* page, int row)
{
    QStringList texts;
    const QStandardItemModel* model = page->model();
    for (int column = 0; column < model->columnCount(); ++column) {
        const QStandardItem* item = model->item(row, column);
        texts << (item != nullptr ? item->text() : QString());
    }
    return texts;
}

QStringList headerTexts(const DataLogView* page)
{
    QStringList texts;
    const QStandardItemModel* model = page->model();
    for (int column = 0; column < model->columnCount(); ++column)
        texts << model->headerData(column, Qt::Horizontal).toString();
    return texts;
}

QString rightAligned(const char* text)
{
    return QString(text).rightJustified(17, ' ');
}

// Count, time and date show whole; the name takes the rest of the width.
void checkAlarmColumnsFit(QTableView* table)
{
    int total = 0;
    for (int column = 0; column < 4; ++column) {
        if (column > 0) {
            int widest = 0;
            for (int row = 0; row < table->model()->rowCount(); ++row)
                widest = std::max(widest, table->fontMetrics().horizontalAdvance(
                                              table->model()->index(row, column).data().toString()));
            CHECK(table->columnWidth(column) > widest);
        }
        total += table->columnWidth(column);
    }
    CHECK(total <= table->viewport()->width());
    CHECK(table->columnWidth(0) > table->columnWidth(1));
}

struct LineCase {
    const char* line;
    QStringList cells;
};

}  // namespace

TEST_CASE("alarm viewer: each kind of line gives its cells, one row a line")
{
    Fixture f;
    auto* page = new DataLogAlarms;
    f.place(page, QPoint(0, 0), QSize(480, 272));
    const LineCase cases[] = {
        {"NAME      , 003, 12:34:56, 01/02-2024 ", {"NAME", "003 ", "12:34:56", "01/02-2024"}},
        {"SPRAY_NO_FLOW_PULSES             , 012, 07:05:09, 28/11-2026 ",
         {"SPRAY_NO_FLOW_PULSES", "012 ", "07:05:09", "28/11-2026"}},
        // Short fields are padded on the right to 4, 8 and 10 characters.
        {"X, 7, 1:2:3, 1/2-3", {"X", "7   ", "1:2:3   ", "1/2-3     "}},
        // A name the logger padded with tabs loses them like the blanks.
        {"WRONG_HW\t\t\t , 001, 00:00:00, 01/01-2000 ", {"WRONG_HW", "001 ", "00:00:00", "01/01-2000"}},
        {"a line without commas", {"a line without commas", "", "", ""}},
        {"", {"", "", "", ""}},
        {"A, B", {"A", "B   ", "", ""}},
        {"A, 1, 2, 3, more, fields", {"A", "1   ", "2       ", "3         "}},
    };
    std::string file;
    for (const LineCase& c : cases)
        file += std::string(c.line) + "\r\n";
    deliverAlarmLog(file);

    REQUIRE(page->model()->rowCount() == int(std::size(cases)));
    for (int row = 0; row < int(std::size(cases)); ++row) {
        CAPTURE(cases[row].line);
        CHECK(rowTexts(page, row) == cases[row].cells);
    }
    CHECK(headerTexts(page) == QStringList{"Alarm ID", "Count", "Time", "Date"});
    CHECK(page->table()->model() == page->model());
    CHECK_FALSE(page->table()->verticalHeader()->isVisible());
    CHECK(page->table()->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff);
    CHECK(page->table()->selectionMode() == QAbstractItemView::NoSelection);
    CHECK(page->table()->textElideMode() == Qt::ElideNone);
    checkAlarmColumnsFit(page->table());
}

TEST_CASE("pressure viewer: each kind of line gives its cells right-aligned in 17")
{
    Fixture f;
    auto* page = new DataLogPressure;
    f.place(page, QPoint(0, 0), QSize(480, 272));
    const LineCase cases[] = {
        {"3.5 bar, 12:34:56, 01/02-2024;",
         {rightAligned("3.5 bar"), rightAligned("12:34:56"), rightAligned("01/02-2024")}},
        {"52.0 psi, 23:59:59, 31/12-2026;",
         {rightAligned("52.0 psi"), rightAligned("23:59:59"), rightAligned("31/12-2026")}},
        // Every ';' of the date goes, wherever it stands.
        {" 0.0 bar ,00:00:01 , ;01/01-2027; ;",
         {rightAligned("0.0 bar"), rightAligned("00:00:01"), rightAligned("01/01-2027 ")}},
        {"no commas at all", {rightAligned("no commas at all"), "", ""}},
        {"", {"", "", ""}},
        // A field longer than the cell is kept whole.
        {"123456789012345678901 bar, 1, 2;", {"123456789012345678901 bar", rightAligned("1"), rightAligned("2")}},
    };
    std::string file;
    for (const LineCase& c : cases)
        file += std::string(c.line) + "\r\n";
    deliverPressureLog(file);

    REQUIRE(page->model()->rowCount() == int(std::size(cases)));
    for (int row = 0; row < int(std::size(cases)); ++row) {
        CAPTURE(cases[row].line);
        CHECK(rowTexts(page, row) == cases[row].cells);
    }
    CHECK(headerTexts(page) == QStringList{"Pressure", "Time", "Date"});
    QHeaderView* header = page->table()->horizontalHeader();
    for (int column = 0; column < 3; ++column)
        CHECK(header->sectionResizeMode(column) == QHeaderView::Stretch);
    CHECK_FALSE(page->table()->verticalHeader()->isVisible());
    CHECK(page->table()->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff);
}

TEST_CASE("a viewer reads on every report, also while hidden; a missing file leaves the table as it was")
{
    Fixture f;
    auto* alarms = new DataLogAlarms;
    auto* pressure = new DataLogPressure;
    // Built but never shown, as the diagnostics menu holds them.
    alarms->setParent(f.page());
    pressure->setParent(f.page());
    REQUIRE_FALSE(alarms->isVisible());
    CHECK(alarms->model()->rowCount() == 0);
    CHECK(headerTexts(alarms) == QStringList{"Alarm ID", "Count", "Time", "Date"});

    deliverAlarmLog("ONE, 001, 10:00:00, 01/01-2026 \r\n");
    deliverPressureLog("2.0 bar, 10:00:00, 01/01-2026;\r\n3.0 bar, 10:00:10, 01/01-2026;\r\n");
    CHECK(alarms->model()->rowCount() == 1);
    CHECK(pressure->model()->rowCount() == 2);

    // The next report replaces the rows; a failed write still reads what is there.
    REQUIRE(writeTextFile(alarmLogPath(), "ONE, 001, 10:00:00, 01/01-2026 \r\nTWO, 002, 11:00:00, 01/01-2026 \r\n"));
    f.hub()->eventAlarmLogDataSaved(false);
    pumpEvents();
    CHECK(rowTexts(alarms, 1) == QStringList{"TWO", "002 ", "11:00:00", "01/01-2026"});
    REQUIRE(alarms->model()->rowCount() == 2);

    QStandardItemModel* shown = alarms->model();
    REQUIRE(removeTree(alarmLogPath()));
    REQUIRE(removeTree(pressureLogReadablePath()));
    f.hub()->eventAlarmLogDataSaved(true);
    f.hub()->eventPressureLogDataSaved(true);
    pumpEvents();
    CHECK(alarms->model() == shown);
    CHECK(alarms->model()->rowCount() == 2);
    CHECK(rowTexts(alarms, 0) == QStringList{"ONE", "001 ", "10:00:00", "01/01-2026"});
    CHECK(pressure->model()->rowCount() == 2);

    // An empty file is an empty log.
    deliverAlarmLog("");
    CHECK(alarms->model()->rowCount() == 0);
    CHECK(headerTexts(alarms) == QStringList{"Alarm ID", "Count", "Time", "Date"});
}

TEST_CASE("showing a viewer asks its worker for the readable log; the bar leads back and home")
{
    Fixture f;
    auto* alarms = new DataLogAlarms;
    auto* pressure = new DataLogPressure;
    alarms->setParent(f.page());
    pressure->setParent(f.page());
    takePostedEvents();

    struct ShowCase {
        DataLogView* page;
        uint32_t savedEvent;
        LogWorker* worker;
    } const cases[] = {{alarms, EV_ALARM_LOG_SAVED, alarmLogWorker()},
                       {pressure, EV_PRESSURE_LOG_SAVED, pressureLogWorker()}};
    for (const ShowCase& c : cases) {
        CAPTURE(c.page->objectName().toStdString());
        c.page->setGeometry(0, 0, 480, 272);
        c.page->show();
        REQUIRE(c.worker->waitIdle(5000));
        pumpEvents();
        // The worker built (with nothing to join, successfully) and reported.
        CHECK(hasEvent(takePostedEvents(), c.savedEvent, 1));
        // Shown again without being hidden: no new request.
        c.page->show();
        REQUIRE(c.worker->waitIdle(5000));
        pumpEvents();
        CHECK(takePostedEvents().empty());

        CHECK(buttonBarButton(c.page, ToolsViewButtonBar::Back)->isVisible());
        CHECK_FALSE(buttonBarButton(c.page, ToolsViewButtonBar::Next)->isVisible());
        QSignalSpy back(c.page, &DataLogView::goBack);
        QSignalSpy home(c.page, &DataLogView::ShowHomeView);
        tapButtonBar(c.page, ToolsViewButtonBar::Back);
        CHECK(back.count() == 1);
        CHECK(home.count() == 0);
        tapButtonBar(c.page, ToolsViewButtonBar::Home);
        CHECK(back.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
        c.page->handleButtonBarPressed(ToolsViewButtonBar::Next);
        CHECK(back.count() + home.count() == 2);
        c.page->hide();
    }
}

TEST_CASE("a viewer keeps one model over many readings")
{
    Fixture f;
    auto* alarms = new DataLogAlarms;
    auto* pressure = new DataLogPressure;
    alarms->setParent(f.page());
    pressure->setParent(f.page());
    REQUIRE(writeTextFile(alarmLogPath(), "ONE, 001, 10:00:00, 01/01-2026 \r\nTWO, 002, 11:00:00, 01/01-2026 \r\n"));
    REQUIRE(writeTextFile(pressureLogReadablePath(), "2.0 bar, 10:00:00, 01/01-2026;\r\n"));
    f.hub()->eventAlarmLogDataSaved(true);
    f.hub()->eventPressureLogDataSaved(true);
    pumpEvents();
    const int alarmObjects = alarms->findChildren<QObject*>().size();
    const int pressureObjects = pressure->findChildren<QObject*>().size();
    for (int i = 0; i < 1000; ++i) {
        alarms->populateListWidget();
        pressure->populateListWidget();
    }
    CHECK(alarms->findChildren<QObject*>().size() == alarmObjects);
    CHECK(pressure->findChildren<QObject*>().size() == pressureObjects);
    CHECK(alarms->findChildren<QStandardItemModel*>().size() == 1);
    CHECK(pressure->findChildren<QStandardItemModel*>().size() == 1);
    CHECK(alarms->table()->model() == alarms->model());
    CHECK(alarms->model()->rowCount() == 2);
}

TEST_CASE("the viewers at 480x272 with a few lines of a log")
{
    Fixture f;
    auto* alarms = new DataLogAlarms;
    f.place(alarms, QPoint(0, 0), QSize(480, 272));
    deliverAlarmLog(
        "SPRAY_NO_FLOW_PULSES             , 001, 07:12:40, 14/05-2026 \r\n"
        "ALARM_MASTER_VALVE_OUTPUT_ERROR  , 002, 07:31:02, 14/05-2026 \r\n"
        "SPRAY_NO_FLOW_PULSES             , 003, 09:03:17, 15/05-2026 \r\n"
        "WRONG_HW\t\t\t , 001, 10:00:00, 15/05-2026 \r\n");
    CHECK(alarms->findChild<QtElidedLabel*>("m_pathwayLabel")->text().endsWith("Alarm Log"));
    checkAlarmColumnsFit(alarms->table());
    CHECK_SCREEN(f.screen(), "alarm_log");
    delete alarms;

    auto* pressure = new DataLogPressure;
    f.place(pressure, QPoint(0, 0), QSize(480, 272));
    deliverPressureLog(
        "3.5 bar, 07:12:40, 14/05-2026;\r\n"
        "3.6 bar, 07:12:50, 14/05-2026;\r\n"
        "3.4 bar, 07:13:00, 14/05-2026;\r\n");
    CHECK_SCREEN(f.screen(), "pressure_log");
}
