#pragma once
// The job data report: one A4 page with a header box (logo, title, creation
// date), the job's start, application time, amount, distance and area, a box
// for handwritten notes and a footer line, printed as a PDF through QPrinter.
// GUI thread.
#include <QBrush>
#include <QDateTime>
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;
class QPrinter;

// Registers the reports' pictures (the logo); safe to repeat.
void reportsInitResources();

namespace VelmarReports {

class PDFReportTable;

// The maker's name, web address and logo shown on every report.
extern const char* const kReportCompany;
extern const char* const kReportWebAddress;
extern const char* const kReportLogo;
// "Quorin 5520 v<version>" for a release build, else "Quorin 5520 Development version".
QString reportProductName();

// A high-resolution PDF printer on A4 or Letter paper, measured: device
// pixels and points per millimetre, and the drawing area moved onto the paper
// origin, one footer row (rowHeightMm) shorter than the printable area.
struct ReportPage {
    double pixelsPerMm;
    double pointsPerMm;
    QRectF contentRect;
};
ReportPage reportSetupPrinter(QPrinter& printer, const QString& fileName, bool letter, const QString& creator,
                              double rowHeightMm);

// The frame shared by the reports: header boxes with the logo, the title and
// the creation time; returns the header's bottom.
double drawReportHeader(QPainter* painter, const QRectF& content, double pixelsPerMm, const QString& logoPath,
                        const QString& title, const QFont& smallFont, const QFont& largeFont, const QPen& headingPen,
                        const QPen& bodyPen);
// The content outline and, in the strip of rowHeight below it, the web
// address, the product and the page number.
void drawReportFooter(QPainter* painter, const QRectF& content, double pixelsPerMm, double rowHeight,
                      const QString& webAddress, const QString& productName, int page, const QFont& smallFont,
                      const QPen& framePen, const QPen& bodyPen);

class PDFReport {
public:
    PDFReport();
    virtual ~PDFReport();

    void setCompanyInfo(const QString& companyName, const QString& webAddress, const QString& logoPath);
    void setProductName(const QString& name);
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
    double drawHeader();
    double drawJobData(double y);
    void drawNotes(double y);
    void drawFooter(int page);
    void drawHeadingRow(PDFReportTable& table, double y);
    void drawTableBody(PDFReportTable& table, double y);

    QString logoPath;
    QString webAddress;
    QString companyName;
    QString productName;
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
    QPainter* painter = nullptr;
    double pixelsPerMm = 0.0;
    double rowHeight = 0.0;
    QPen framePen, bodyPen, headingPen;
    QBrush plainBrush, headingBrush, bodyBrush;
    QFont smallFont, largeFont;
    QRectF contentRect;
};

}  // namespace VelmarReports

// The job's counters as "trip<job + 1>_<yyMMddhhmm of its start>.pdf" on the
// USB stick; job 0 to 9. True when the PDF was written.
bool tripCntSavePdf(uint32_t job);
