#include "pdfpressurelog.h"

#include "clock.h"
#include "filefunc.h"
#include "greyfellcommon.h"
#include "pressurelogger.h"

#include <QFontMetrics>
#include <QObject>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace VelmarReports {

namespace {

constexpr size_t kShownRecords = 360;
constexpr size_t kRecordsPerColumn = 90;
constexpr int kColumns = 4;
constexpr int kFirstColumnOffset = 500;  // device pixels, about 10.6 mm at 1200 dpi

}  // namespace

PDFPressureLog::PDFPressureLog() = default;
PDFPressureLog::~PDFPressureLog() = default;

void PDFPressureLog::addRecord(const QString& record)
{
    records.push_back(record);
}

std::vector<QString> PDFPressureLog::columnTexts() const
{
    std::vector<QString> columns(kColumns);
    const size_t first = records.size() > kShownRecords ? records.size() - kShownRecords : 0;
    for (size_t i = first; i < records.size(); ++i)
        columns[(i - first) / kRecordsPerColumn] += records[i] + QLatin1Char('\n');
    return columns;
}

bool PDFPressureLog::print(const QString& fileName)
{
    return printPage(fileName, false, 5.0);
}

void PDFPressureLog::drawPage()
{
    recordFont = fontOfMm(2.4);
    const double y = drawHeader();
    drawRecords(y);
    drawFooter(1);
}

double PDFPressureLog::drawHeader()
{
    return drawReportHeader(QObject::tr("Pressure Log Data"));
}

void PDFPressureLog::drawRecords(double y)
{
    const int step = static_cast<int>(std::floor(contentRect.width() * 0.125));
    const int first = static_cast<int>(std::floor(contentRect.x())) + kFirstColumnOffset;
    const int top = static_cast<int>(std::floor(contentRect.y()) + y + rowHeight);
    const int height = static_cast<int>(std::floor(contentRect.height()));
    const std::vector<QString> columns = columnTexts();
    painter->setFont(recordFont);
    for (int k = 0; k < kColumns; ++k) {
        if (columns[k].isEmpty())
            continue;
        const int left = first + k * step;
        // The box is left + step wide, so the right edges lie a quarter of the page apart.
        const QRect box(left, top, left + step, height);
        const QRect bounds = painter->fontMetrics().boundingRect(box, Qt::AlignRight, columns[k]);
        painter->drawText(bounds, Qt::AlignRight, columns[k]);
    }
}

}  // namespace VelmarReports

bool pressureLogSavePdf()
{
    // The log is built first and waited for: the page never shows a stale or
    // half-built log while reporting success.
    if (!pressureLogBuildAndWait(10000))
        return false;
    VelmarReports::PDFPressureLog report;
    report.setCompanyInfo(VelmarReports::kReportCompany, VelmarReports::kReportWebAddress,
                          VelmarReports::kReportLogo);
    report.setProductName(VelmarReports::reportProductName());

    const int fd = fileOpenRead(pressureLogReadablePath());
    if (fd >= 0 && fileSeek(fd, 0)) {
        char line[50];
        int64_t noted = 0;
        while (fileGetLineChars(fd, line, sizeof line)) {
            const int64_t offset = filePosition(fd);
            if (offset <= noted)
                break;
            char* end = strchr(line, ';');
            if (end != nullptr) {
                *end = '\0';
                report.addRecord(QString::fromLatin1(line));
                noted = offset;
            }
        }
    }
    if (fd >= 0)
        fileClose(fd);

    const QString fileName = GreyfellCommon::usbRootPath() +
                             QStringLiteral("/Velmar_Pressure_Log_%1%2.pdf")
                                 .arg(rtcGetQDate().toString(QStringLiteral("yyMMdd")),
                                      rtcGetQTime().toString(QStringLiteral("hhmm")));
    return report.print(fileName);
}
