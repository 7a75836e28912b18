#pragma once
// The pressure-log viewer: the pressure log as a table of pressure, time and
// date, one row a line. Held by the diagnostics menu as one of its pages;
// constructor (parent), signals goBack() and ShowHomeView(2) (from
// DataLogView). Each program-caused show asks the pressure-log worker for
// "presslog.log"; the table follows every eventPressureLogDataSaved.
#include "datalogview.h"

namespace ToolsViewWidgets {

class DataLogPressure : public DataLogView {
    Q_OBJECT
public:
    explicit DataLogPressure(QWidget* parent = nullptr);

    // The cells of one line "3.5 bar, 12:34:56, 01/02-2024;".
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
