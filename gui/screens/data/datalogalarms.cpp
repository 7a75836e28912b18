#include "datalogalarms.h"

#include "alarmlogger.h"
#include "eventsignals.h"
#include "logworker.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QHeaderView>
#include <QTableView>

#include <cstdio>

namespace ToolsViewWidgets {

DataLogAlarms::DataLogAlarms(QWidget* parent) : DataLogView(parent)
{
    setObjectName(QStringLiteral("DataLogAlarms"));
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventAlarmLogDataSaved, this,
            &DataLogAlarms::populateListWidget);
    retranslate();
    sizeColumns();
}

QStringList DataLogAlarms::cellsOfLine(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char(','));
    return {logCell(logField(fields, 0), 0), logCell(logField(fields, 1), -4), logCell(logField(fields, 2), -8),
            logCell(logField(fields, 3), -10)};
}

QString DataLogAlarms::logPath() const
{
    // The file the worker writes, wherever it was told to keep its logs.
    LogWorker* worker = alarmLogWorker();
    return worker != nullptr ? QString::fromStdString(worker->readablePath()) : QString();
}

QStringList DataLogAlarms::headerTexts() const
{
    return {tr("Alarm ID", "Extended Table header"), tr("Count", "Table header"), tr("Time", "Table header"),
            tr("Date", "Table header")};
}

QStringList DataLogAlarms::rowCells(const QString& line) const
{
    return cellsOfLine(line);
}

void DataLogAlarms::sizeColumns()
{
    // Count, time and date always show whole; the alarm name takes the rest of
    // the width (the longest names are cut at the right edge rather than
    // pushing the date off the 480-pixel screen).
    QHeaderView* header = table()->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

void DataLogAlarms::requestLog()
{
    alarmLogSetFlag();
    std::printf("Create alarm log\n");
    std::fflush(stdout);
}

void DataLogAlarms::retranslate()
{
    kit()->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2->%3")
                                              .arg(tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                                   tr("Alarm Log", "pathway text")));
    applyHeaderTexts();
}

}  // namespace ToolsViewWidgets
