#include "pdfreport.h"

#include "counters.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "greyfellcommon.h"
#include "pdfreporttable.h"
#include "unitquantities.h"
#include "units.h"

#include <QObject>
#include <QPainter>

namespace VelmarReports {

PDFReport::PDFReport() = default;
PDFReport::~PDFReport() = default;

void PDFReport::setJobName(const QString& name)
{
    jobName = name;
}

void PDFReport::setStartTime(const QDateTime& time)
{
    startTime = time;
    hasStartTime = true;
}

void PDFReport::setApplicationTime(int seconds)
{
    applicationTime = seconds;
    hasApplicationTime = true;
}

void PDFReport::setArea(double value)
{
    area = value;
    hasArea = true;
}

void PDFReport::setDistance(double value)
{
    distance = value;
    hasDistance = true;
}

void PDFReport::setAmount(double value, const QString& unit)
{
    amount = value;
    amountUnit = unit;
    hasAmount = true;
}

QString PDFReport::unitLabel(int kind)
{
    const bool metric = unitGetSystem() == 0;
    if (kind == 0)
        return metric ? QObject::tr("m", "abbr. for meter") : QObject::tr("ft", "abbr. for feet");
    if (kind == 1) {
        if (metric)
            return QObject::tr("ha", "abbr. for hectare");
        return datastoreGetAsInt32(DS_TURF_UNITS) != 0 ? QObject::tr("1000 sq ft", "abbr. for 1000 square feet")
                                                       : QObject::tr("ac", "abbr. for acre");
    }
    return QString();
}

QString PDFReport::cellText(int row, int column) const
{
    if (row == 0 && column == 0)
        return QObject::tr("Start Date: %1")
            .arg(hasStartTime ? startTime.toString(QStringLiteral("d MMMM yyyy")) : QString());
    if (row == 1 && column == 0)
        return QObject::tr("Start Time: %1").arg(hasStartTime ? startTime.toString(QStringLiteral("h:mm")) : QString());
    if (row == 0 && column == 1) {
        QString value;
        if (hasApplicationTime)
            value = QObject::tr("%1 hours %2 minutes").arg(applicationTime / 3600).arg(applicationTime % 3600 / 60);
        return QObject::tr("Total Application Time: %1").arg(value);
    }
    if (row == 1 && column == 1) {
        const QString value = hasAmount ? QStringLiteral("%1 %2").arg(amount, 0, 'g').arg(amountUnit) : QString();
        return QObject::tr("Amount: %1").arg(value);
    }
    if (row == 0 && column == 2) {
        QString value;
        if (hasDistance) {
            const uint32_t display = static_cast<uint32_t>(
                unitBaseToDisplay(UQ_CAMPAIGN_DISTANCE, static_cast<int32_t>(distance)));
            const double shown = display / static_cast<double>(unitGetScale(UQ_CAMPAIGN_DISTANCE));
            value = QStringLiteral("%1 %2").arg(shown, 0, 'g').arg(unitLabel(0));
        }
        return QObject::tr("Driven Distance: %1").arg(value);
    }
    if (row == 1 && column == 2) {
        QString value;
        if (hasArea) {
            const uint32_t q = datastoreGetAsInt32(DS_TURF_UNITS) != 0 ? static_cast<uint32_t>(UQ_AREA_TURF)
                                                                       : static_cast<uint32_t>(UQ_CAMPAIGN_AREA);
            const uint32_t display = static_cast<uint32_t>(unitBaseToDisplay(q, static_cast<int32_t>(area)));
            const double shown = display / static_cast<double>(unitGetScale(UQ_CAMPAIGN_AREA));
            value = QStringLiteral("%1 %2").arg(shown, 0, 'g').arg(unitLabel(1));
        }
        return QObject::tr("Area: %1").arg(value);
    }
    return QString();
}

bool PDFReport::print(const QString& fileName, bool letter)
{
    return printPage(fileName, letter, 7.0);
}

void PDFReport::drawPage()
{
    double y = drawHeader();
    y += 4 * pixelsPerMm;
    y = drawJobData(y);
    y += 4 * pixelsPerMm;
    drawNotes(y);
    drawFooter(1);
}

double PDFReport::drawHeader()
{
    return drawReportHeader(QObject::tr("Job Data Report"));
}

double PDFReport::drawJobData(double y)
{
    PDFReportTable table(1, 1);
    table.setText(0, 0, QObject::tr("Job Data: ") + jobName);
    drawHeadingRow(table, y);
    table.resize(3, 3);
    table.clearTexts();
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column)
            table.setText(row, column, cellText(row, column));
    }
    drawTableBody(table, y);
    return y + 5 * rowHeight;
}

void PDFReport::drawNotes(double y)
{
    PDFReportTable table(1, 1);
    table.setText(0, 0, QObject::tr("Additional Notes"));
    drawHeadingRow(table, y);
    table.clearTexts();
    painter->setPen(bodyPen);
    painter->setBrush(bodyBrush);
    painter->setFont(smallFont);
    const double top = y + rowHeight;
    table.draw(painter, pixelsPerMm, QRectF(contentRect.x(), top, contentRect.width(), contentRect.bottom() - top));
}

void PDFReport::drawHeadingRow(PDFReportTable& table, double y)
{
    painter->setPen(headingPen);
    painter->setBrush(headingBrush);
    painter->setFont(smallFont);
    table.draw(painter, pixelsPerMm, QRectF(contentRect.x(), y, contentRect.width(), rowHeight));
}

void PDFReport::drawTableBody(PDFReportTable& table, double y)
{
    painter->setPen(bodyPen);
    painter->setBrush(bodyBrush);
    painter->setFont(smallFont);
    table.draw(painter, pixelsPerMm,
               QRectF(contentRect.x(), y + rowHeight, contentRect.width(), rowHeight * table.rows()));
}

}  // namespace VelmarReports

bool tripCntSavePdf(uint32_t job)
{
    using VelmarReports::PDFReport;
    if (job > 9)
        return false;
    if (job == static_cast<uint32_t>(datastoreGetAsInt32(DS_ACTIVE_JOB_NUMBER)))
        tripCntJobRecord(job, TRIPCNT_SAVE);
    JobRecord records[TRIPCNT_JOB_COUNT];
    datastoreGetData(DS_JOB_DATA, records);
    const JobRecord& record = records[job];

    PDFReport report;
    report.setCompanyInfo(VelmarReports::kReportCompany, VelmarReports::kReportWebAddress,
                          VelmarReports::kReportLogo);
    report.setProductName(VelmarReports::reportProductName());
    QDateTime start;
    start.setSecsSinceEpoch(static_cast<qint64>(record.startTimeMs / 1000.0));
    if (record.startTimeMs != 0.0)
        report.setStartTime(start);
    report.setArea(record.area);

    const bool nh3 = datastoreGetAsInt32(DS_NH3_MODE) != 0;
    const uint32_t q = nh3 ? static_cast<uint32_t>(UQ_JOB_MASS) : static_cast<uint32_t>(UQ_JOB_VOLUME);
    const uint32_t scale = unitGetScale(q);
    const int32_t amount = unitBaseToDisplay(q, static_cast<int32_t>(record.applied)) /
                           static_cast<int32_t>(scale == 0 ? 1 : scale);
    const uint32_t system = unitGetSystem();
    QString unit;
    if (system == 1 || system == 2)
        unit = nh3 ? QObject::tr("lb", "abbr for pound") : QObject::tr("gal", "abbr for gallon");
    else
        unit = nh3 ? QObject::tr("kg", "abbr for kilogram") : QObject::tr("l", "abbr for liter");
    report.setAmount(amount, unit);
    report.setApplicationTime(static_cast<int>(record.timeS));
    report.setDistance(record.distance);
    report.setJobName(QObject::tr("Job Counter %1").arg(job + 1));

    const QString fileName = GreyfellCommon::usbRootPath() +
                             QStringLiteral("/trip%1_%2.pdf").arg(job + 1).arg(start.toString(QStringLiteral("yyMMddhhmm")));
    return report.print(fileName, false);
}
