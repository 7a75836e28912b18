#pragma once
// The alarm-log viewer: the alarm log as a table of alarm, count, time and
// date, one row a line. Held by the diagnostics menu as one of its pages;
// constructor (parent), signals goBack() and ShowHomeView(2) (from
// DataLogView). Each program-caused show asks the alarm-log worker for
// "alarmlog.log"; the table follows every eventAlarmLogDataSaved.
#include "datalogview.h"

namespace ToolsViewWidgets {

class DataLogAlarms : public DataLogView {
    Q_OBJECT
public:
    explicit DataLogAlarms(QWidget* parent = nullptr);

    // The cells of one line "NAME      , 003, 12:34:56, 01/02-2024 ".
    static QStringList cellsOfLine(const QString& line);

protected:
    QString logPath() const override;
    QStringList headerTexts() const override;
    QStringList rowCells(const QString& line) const override;
    void sizeColumns() override;
    void requestLog() override;
    void retranslate() override;
};

}  // namespace ToolsViewWidgets
