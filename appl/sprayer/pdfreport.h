#pragma once
// The job data report: one A4 page with a header box (logo, title, creation
// date), the job's start, application time, amount, distance and area, a box
// for handwritten notes and a footer line, printed as a PDF through QPrinter.
// GUI thread.
#include "pdfreportbase.h"

#include <QBrush>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace VelmarReports {

class PDFReportTable;

class PDFReport : public PDFReportBase {
public:
    PDFReport();
    ~PDFReport() override;

    void setJobName(const QString& name);
    void setStartTime(const QDateTime& time);
    void setApplicationTime(int seconds);
    void setArea(double area);
    void setDistance(double distance);
    void setAmount(double amount, const QString& unit);
    // Prints the page into fileName (Letter or A4); true when the whole file was written.
    bool print(const QString& fileName, bool letter);

    // The texts of the job data table, row by row (rows 0 and 1, three columns).
    QString cellText(int row, int column) const;
    // Unit text of the distance (kind 0) or the area (kind 1); empty otherwise.
    static QString unitLabel(int kind);

private:
    void drawPage() override;
    double drawHeader();
    double drawJobData(double y);
    void drawNotes(double y);
    void drawHeadingRow(PDFReportTable& table, double y);
    void drawTableBody(PDFReportTable& table, double y);

    QString jobName;
    bool hasAmount = false;
    double amount = 0.0;
    QString amountUnit;
    bool hasArea = false;
    double area = 0.0;
    bool hasStartTime = false;
    QDateTime startTime;
    bool hasApplicationTime = false;
    int32_t applicationTime = 0;
    bool hasDistance = false;
    double distance = 0.0;
    QBrush headingBrush{Qt::lightGray, Qt::SolidPattern};
    QBrush bodyBrush{Qt::NoBrush};
};

}  // namespace VelmarReports

// The job's counters as "trip<job + 1>_<yyMMddhhmm of its start>.pdf" on the
// USB stick; job 0 to 9. True when the PDF was written.
bool tripCntSavePdf(uint32_t job);
