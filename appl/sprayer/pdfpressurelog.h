#pragma once
// The pressure-log report: the newest 360 records of the pressure log in four
// columns of 90 on one A4 page, with the reports' header and footer, printed as
// a PDF through QPrinter. GUI thread.
#include "pdfreportbase.h"

#include <QFont>
#include <QString>

#include <vector>

namespace VelmarReports {

class PDFPressureLog : public PDFReportBase {
public:
    PDFPressureLog();
    ~PDFPressureLog() override;

    void addRecord(const QString& record);
    // Prints the page into fileName (A4); true when the whole file was written.
    bool print(const QString& fileName);

    // The texts of the four record columns, oldest shown record first; the
    // newest 360 records only.
    std::vector<QString> columnTexts() const;

private:
    void drawPage() override;
    double drawHeader();
    void drawRecords(double y);

    std::vector<QString> records;
    QFont recordFont;
};

}  // namespace VelmarReports

// Builds the readable pressure log, waits for it and prints it as
// "Velmar_Pressure_Log_<yyMMddhhmm>.pdf" on the USB stick. True when written;
// false without a fresh log or when the PDF could not be written.
bool pressureLogSavePdf();
