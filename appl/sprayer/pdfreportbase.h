#pragma once
// What the console's reports share: the maker's name, web address and logo,
// the product text, and one A4 or Letter page printed as a PDF through QPrinter
// with its measures, pens and fonts, framed by the header boxes (logo, title,
// creation time) and the footer line (web address, product, page number).
// A report draws its own content in drawPage. GUI thread.
#include <QFont>
#include <QPen>
#include <QRectF>
#include <QString>

class QPainter;

// Registers the reports' pictures (the logo); safe to repeat.
void reportsInitResources();

namespace VelmarReports {

// The maker's name, web address and logo shown on every report.
extern const char* const kReportCompany;
extern const char* const kReportWebAddress;
extern const char* const kReportLogo;
// "Quorin 5520 v<version>" for a release build, else "Quorin 5520 Development version".
QString reportProductName();

class PDFReportBase {
public:
    virtual ~PDFReportBase();
    PDFReportBase(const PDFReportBase&) = delete;
    PDFReportBase& operator=(const PDFReportBase&) = delete;

    void setCompanyInfo(const QString& companyName, const QString& webAddress, const QString& logoPath);
    void setProductName(const QString& name);

protected:
    PDFReportBase();

    // Prints the page into fileName: measures the printer, sets the pens and
    // fonts, rows of rowHeightMm with the footer in one row below contentRect,
    // and runs drawPage on a painter. The page is made in memory and written
    // whole: true only when the painter began and ended and every byte reached
    // the file. A failed write (a full stick) leaves a previous file as it was;
    // without the file's directory (no stick) nothing is written.
    bool printPage(const QString& fileName, bool letter, double rowHeightMm);
    virtual void drawPage() = 0;
    // The application font at mm millimetres of the printer.
    QFont fontOfMm(double mm) const;
    // Three boxes across the page: the logo, nothing, the title over the
    // creation time; the header's bottom.
    double drawReportHeader(const QString& title);
    // The outline of contentRect and, in the row below it, the web address,
    // the product and the page number.
    void drawFooter(int page);

    QString logoPath;
    QString webAddress;
    QString companyName;
    QString productName;
    // The painter of the running print; valid only inside printPage.
    QPainter* painter = nullptr;
    double pixelsPerMm = 0.0;
    double pointsPerMm = 0.0;
    double rowHeight = 0.0;
    QPen framePen, bodyPen, headingPen;
    QFont smallFont, largeFont;
    QRectF contentRect;
};

}  // namespace VelmarReports
