#include "pdfreportbase.h"

#include "clock.h"
#include "filedesc.h"
#include "filefunc.h"
#include "version.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgRenderer>

// The logo lives in this static library: its resources are registered by hand.
void reportsInitResources()
{
    Q_INIT_RESOURCE(reports);
}

namespace VelmarReports {

const char* const kReportCompany = "Velmar";
const char* const kReportWebAddress = "www.velmar.example";
const char* const kReportLogo = ":/images/velmar_logo.svg";

QString reportProductName()
{
    const SuiteVersions& versions = SuiteVersions::build();
    QString name = QStringLiteral("Quorin 5520");
    if (versions.isTaggedBuild())
        name += QStringLiteral(" v") + QString::fromStdString(versions.versionText());
    else
        name += QStringLiteral(" Development version");
    return name;
}

PDFReportBase::PDFReportBase() = default;
PDFReportBase::~PDFReportBase() = default;

void PDFReportBase::setCompanyInfo(const QString& company, const QString& web, const QString& logo)
{
    companyName = company;
    webAddress = web;
    logoPath = logo;
}

void PDFReportBase::setProductName(const QString& name)
{
    productName = name;
}

QFont PDFReportBase::fontOfMm(double mm) const
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(mm * pointsPerMm);
    return font;
}

bool PDFReportBase::printPage(const QString& fileName, bool letter, double rowHeightMm)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));

    const QPageLayout layout = printer.pageLayout();
    const double paperMm = layout.fullRect(QPageLayout::Millimeter).width();
    const QRect paper = layout.fullRectPixels(printer.resolution());
    const QRect printable = layout.paintRectPixels(printer.resolution());
    pixelsPerMm = paper.width() / paperMm;
    pointsPerMm = layout.fullRect(QPageLayout::Point).width() / paperMm;
    rowHeight = rowHeightMm * pixelsPerMm;
    // The printable area moved onto the paper origin, one row short for the footer.
    contentRect = QRectF(printable);
    contentRect.translate(paper.left() - printable.left(), paper.top() - printable.top());
    contentRect.setHeight(contentRect.height() - rowHeight);

    framePen = QPen(QBrush(Qt::black), pixelsPerMm);
    bodyPen = QPen(QBrush(Qt::black), 0.5 * pixelsPerMm);
    headingPen = QPen(QBrush(Qt::black), 0.25 * pixelsPerMm);
    smallFont = fontOfMm(3);
    largeFont = fontOfMm(6);

    // QPrinter writes its file unchecked: on a full stick it reports success
    // for a cut-short file. The page is painted into memory with the printer's
    // layout and resolution, then replaced onto the stick in one checked step
    // that leaves a previous file as it was.
    const std::string target = fileName.toStdString();
    if (!isDirectory(parentDirectory(target)))
        return false;
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(layout);
    if (!companyName.isEmpty())
        writer.setCreator(companyName);

    QPainter pagePainter;
    painter = &pagePainter;
    const bool began = pagePainter.begin(&writer);
    if (began)
        drawPage();
    const bool ended = began && pagePainter.end();
    painter = nullptr;
    return began && ended && fileReplace(target, pdf.data().constData(), static_cast<size_t>(pdf.data().size()));
}

double PDFReportBase::drawReportHeader(const QString& title)
{
    const QRectF& content = contentRect;
    const QRect titleBox(static_cast<int>(content.x() + 2 * content.width() / 3), static_cast<int>(content.y()),
                         static_cast<int>(content.width() / 3), static_cast<int>(content.height()));
    painter->setFont(largeFont);
    const QRect titleRect = painter->fontMetrics().boundingRect(titleBox, Qt::AlignHCenter, title);

    const QString created = QObject::tr("Report Created: %1 at %2", "%1 is the date, %2 is the time")
                                .arg(rtcGetQDate().toString(QStringLiteral("d MMM yyyy")),
                                     rtcGetQTime().toString(QStringLiteral("hh:mm")));
    const QRect createdBox(QPoint(static_cast<int>(titleBox.left() + pixelsPerMm), titleRect.bottom()),
                           titleBox.bottomRight());
    painter->setFont(smallFont);
    const QRect createdRect = painter->fontMetrics().boundingRect(createdBox, Qt::AlignLeft, created);

    const QRectF header(content.x(), content.y(), content.width(),
                        createdRect.bottom() + pixelsPerMm - content.y());

    painter->setBrush(Qt::NoBrush);
    painter->setPen(headingPen);
    for (int i = 0; i < 3; ++i)
        painter->drawRect(QRectF(header.x() + header.width() * i / 3, header.y(), header.width() / 3,
                                 header.height()));

    reportsInitResources();
    QSvgRenderer logo(logoPath);
    if (!logoPath.isEmpty() && logo.isValid()) {
        const QSize image = logo.defaultSize();
        const double availableWidth = header.width() / 3 - 4 * pixelsPerMm;
        const double availableHeight = header.height() - 4 * pixelsPerMm;
        double width = availableWidth;
        double height = image.height() * availableWidth / image.width();
        if (availableHeight / image.height() < availableWidth / image.width()) {
            height = availableHeight;
            width = image.width() * availableHeight / image.height();
        }
        const int left = static_cast<int>(header.x() + (header.width() / 3 - width) * 0.5);
        const int top = static_cast<int>(header.y() + (header.height() - height) * 0.5);
        logo.render(painter, QRectF(left, top, static_cast<int>(width), static_cast<int>(height)));
    }

    painter->setBrush(Qt::NoBrush);
    painter->setPen(bodyPen);
    painter->drawRect(header);
    painter->setFont(largeFont);
    painter->drawText(titleRect, Qt::AlignHCenter, title);
    painter->setFont(smallFont);
    painter->drawText(createdRect, Qt::AlignLeft, created);
    return header.y() + header.height();
}

void PDFReportBase::drawFooter(int page)
{
    painter->setPen(framePen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(contentRect);
    const QRectF footer(contentRect.x() + 2 * pixelsPerMm, contentRect.bottom(), contentRect.width() - 4 * pixelsPerMm,
                        rowHeight);
    painter->setPen(bodyPen);
    painter->setFont(smallFont);
    if (!webAddress.isEmpty())
        painter->drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, webAddress);
    if (!productName.isEmpty())
        painter->drawText(footer, Qt::AlignHCenter | Qt::AlignVCenter, productName);
    painter->drawText(footer, Qt::AlignRight | Qt::AlignVCenter, QString::number(page));
}

}  // namespace VelmarReports
