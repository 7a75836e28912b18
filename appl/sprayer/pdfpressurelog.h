#pragma once
// The pressure-log report: the newest 360 records of the pressure log in four
// columns of 90 on one A4 page, with the reports' header and footer, printed as
// a PDF through QPrinter. GUI thread.
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace VelmarReports {

class PDFPressureLog {
public:
    PDFPressureLog();
    virtual ~PDFPressureLog();

    void setCompanyInfo(const QString& companyName, const QString& webAddress, const QString& logoPath);
    void setProductName(const QString& name);
    void addRecord(const QString& record);
    // Prints the page into fileName (A4); true when the whole file was written.
    bool print(const QString& fileName);

    // The texts of the four record columns, oldest shown record first; the
    // newest 360 records only.
    std::vector<QString> columnTexts() const;

private:
    double drawHeader();
    void drawRecords(double y);
    void drawFooter(int page);

    QString logoPath;
    QString webAddress;
    QString companyName;
    QString productName;
    std::vector<QString> records;
    QPainter* painter = nullptr;
    double pixelsPerMm = 0.0;
    double rowHeight = 0.0;
    QPen framePen, bodyPen, headingPen;
    QFont smallFont, recordFont, largeFont;
    QRectF contentRect;
};

}  // namespace VelmarReports

// Builds the readable pressure log, waits for it and prints it as
// "Velmar_Pressure_Log_<yyMMddhhmm>.pdf" on the USB stick. True when written;
// false without a fresh log or when the PDF could not be written.
bool pressureLogSavePdf();
