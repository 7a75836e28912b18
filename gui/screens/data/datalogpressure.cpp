#include "datalogpressure.h"

#include "eventsignals.h"
#include "pressurelogger.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QHeaderView>
#include <QTableView>

#include <cstdio>

namespace ToolsViewWidgets {

namespace {

const int kCellWidth = 17;

}  // namespace

DataLogPressure::DataLogPressure(QWidget* parent) : DataLogView(parent)
{
    setObjectName(QStringLiteral("DataLogPressure"));
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventPressureLogDataSaved, this,
            &DataLogPressure::populateListWidget);
    retranslate();
    sizeColumns();
}

QStringList DataLogPressure::cellsOfLine(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char(','));
    QString date = logField(fields, 2);
    date.remove(QLatin1Char(';'));
    return {logCell(logField(fields, 0), kCellWidth), logCell(logField(fields, 1), kCellWidth),
            logCell(date, kCellWidth)};
}

QString DataLogPressure::logPath() const
{
    // The file the worker writes, wherever it was told to keep its logs.
    return QString::fromLocal8Bit(pressureLogReadablePath());
}

QStringList DataLogPressure::headerTexts() const
{
    return {tr("Pressure", "Extended Table header"), tr("Time", "Table header"), tr("Date", "Table header")};
}

QStringList DataLogPressure::rowCells(const QString& line) const
{
    return cellsOfLine(line);
}

void DataLogPressure::sizeColumns()
{
    table()->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
}

void DataLogPressure::requestLog()
{
    pressureLogSetFlag();
    std::printf("Create pressure log\n");
    std::fflush(stdout);
}

void DataLogPressure::retranslate()
{
    kit()->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2->%3")
                                              .arg(tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                                   tr("Pressure Log", "pathway text")));
    applyHeaderTexts();
}

}  // namespace ToolsViewWidgets
