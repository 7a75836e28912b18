#include "dropletsizewidget.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "regulmath.h"
#include "unitquantities.h"
#include "units.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPolygonF>
#include <QVariant>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const int kTickLength = 5;
const int kSpeedCount = 100;

QColor categoryColour(int category)
{
    switch (category) {
    case 1: return QColor(Qt::black);
    case 2: return QColor(Qt::white);
    case 3: return QColor(Qt::blue);
    case 4: return QColor(Qt::green);
    case 5: return QColor(Qt::yellow);
    case 6: return QColor(255, 102, 0);
    case 7: return QColor(Qt::red);
    default: return QColor(255, 0, 255);
    }
}

uint32_t activePreset()
{
    return datastoreGetUint16(DS_CURRENT_TIP_PRESET);
}

}  // namespace

DropletSizeWidget::DropletSizeWidget(QWidget* parent)
    : BackgroundWidget(parent), mSmallLabel(new QLabel(this)), mLargeLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("m_dropletSizeView"));
    setProperty("transparent", true);
    setContentsMargins(0, 0, 0, 0);

    mSmallLabel->setStyleSheet(QStringLiteral("background-color: none;"));
    mSmallLabel->setProperty("fontsize", "small");
    // Never shown: it only carries the font of the category text.
    mLargeLabel->setProperty("fontsize", "large");
    mLargeLabel->hide();

    auto* row = new QHBoxLayout;
    row->setSpacing(GuiGeometry::spacing1());
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(mSmallLabel);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);
}

QString DropletSizeWidget::categoryText(int category)
{
    static const char* const texts[CategoryCount] = {"UC", "XC", "VC", "C", "M", "F", "VF", "XF"};
    if (category < 1 || category > CategoryCount)
        return QStringLiteral(" ");
    return QString::fromLatin1(texts[category - 1]);
}

int DropletSizeWidget::categoryAtPressure(int pressure)
{
    const uint32_t code = nozpresetDropletCode(activePreset(), static_cast<uint16_t>(pressure));
    return code >= 1 && code <= static_cast<uint32_t>(CategoryCount) ? static_cast<int>(code) : 0;
}

void DropletSizeWidget::timedUpdate()
{
    if (mRefreshCount < 5) {
        ++mRefreshCount;
        return;
    }
    updateNozzleSelect();
    mRefreshCount = 0;
}

void DropletSizeWidget::updateNozzleSelect()
{
    const uint32_t preset = activePreset();
    const uint16_t series = static_cast<uint16_t>(nozpresetGetNozzleType(preset));
    const uint16_t size = static_cast<uint16_t>(nozpresetGetNozzleSizeIx(preset));
    const bool tipChanged = series != mSeries || size != mSize;
    mSeries = series;
    mSize = size;

    if (tipChanged) {
        mScaleEnd = static_cast<int>(nozpresetPressureLimit(preset, NOZINFO_FLAG_MAXIMUM)) + 100;
        rebuildBands(preset);
    }
    bool changed = tipChanged;
    if (tipChanged || unitGetSystem() != mUnitSystem) {
        rebuildUnitTexts();
        rebuildPressureScale();
        rebuildSpeedScale();
        changed = true;
    } else if (datastoreGetUint16(DS_LIVE_TARGET_RATE) != mTargetRate) {
        rebuildSpeedScale();
        changed = true;
    }
    mUnitSystem = unitGetSystem();
    // Painting is the scale's main cost while spraying: only for a change.
    if (updateCategory() || changed)
        update();
}

void DropletSizeWidget::rebuildBands(uint32_t preset)
{
    auto band = [preset](uint32_t category, uint32_t side, int* pressure) {
        uint32_t value = 0;
        if (nozpresetDropletPressureBand(preset, category, &value, side) == 0)
            return false;
        *pressure = static_cast<int>(value);
        return true;
    };
    int value = 0;
    mBounds[0] = band(1, 0, &value) ? value : 0;
    for (int k = 1; k < CategoryCount; ++k) {
        if (band(static_cast<uint32_t>(k), 1, &value) && value != 0)
            mBounds[k] = value;
        else
            mBounds[k] = band(static_cast<uint32_t>(k + 1), 0, &value) ? value : 0;
    }
    mBounds[CategoryCount] = band(CategoryCount, 1, &value) ? value : 0;
}

void DropletSizeWidget::rebuildUnitTexts()
{
    if (unitGetSystem() == UNIT_SYSTEM_METRIC) {
        mPressureUnit = tr("bar", "Metric unit of pressure");
        mLabelStep = mScaleEnd <= 1000 ? 1 : 2;
        mSpeedUnit = tr("km/h", "Abbr for kilometers per hour");
    } else {
        mPressureUnit = tr("psi", "Abbr for US unit of pressure, pounds per square inch");
        mLabelStep = mScaleEnd <= 500 ? 10 : mScaleEnd <= 1000 ? 15 : 30;
        mSpeedUnit = tr("mph", "Abbr for miles per hour");
    }
}

void DropletSizeWidget::rebuildPressureScale()
{
    const int scale = static_cast<int>(unitGetScale(UQ_PRESSURE_251));
    const int end = unitBaseToDisplay(UQ_PRESSURE_251, mScaleEnd);
    // Without a display scale the pressure has no unit to count in: the scale
    // keeps what it showed.
    if (scale <= 0 || end <= 0)
        return;
    mIntervals = (end / scale) / mLabelStep;
    mFraction = static_cast<double>(mIntervals) * scale * mLabelStep / end;
}

void DropletSizeWidget::rebuildSpeedScale()
{
    const uint32_t speedScale = unitGetScale(UQ_ACTUAL_SPEED);
    if (speedScale == 0 || mScaleEnd <= 0)
        return;
    mTargetRate = datastoreGetUint16(DS_LIVE_TARGET_RATE);
    mSpeedLabels.clear();
    mSpeedTicks.clear();
    const uint32_t spacing = datastoreGetUint16(DS_TIP_SPACING);
    const uint32_t reference = nozzleRefFlowTotal(1);
    const float end = static_cast<float>(mScaleEnd);
    int previous = -1;
    int nextLabel = 0;
    for (int v = 0; v < kSpeedCount; ++v) {
        const uint16_t speed = static_cast<uint16_t>(unitDisplayToBase(UQ_ACTUAL_SPEED, v * static_cast<int32_t>(speedScale)));
        const uint32_t flow = flowFromRate(mTargetRate, speed, spacing);
        const int pressure = static_cast<int>(pressureFromFlow(flow, 1, reference));
        const int category = categoryAtPressure(pressure);
        if (pressure > mScaleEnd) {
            if (previous >= nextLabel && !mSpeedLabels.contains(v - 1))
                mSpeedLabels.insert(v - 1, static_cast<float>(previous) / end);
            break;
        }
        if ((pressure >= nextLabel && category != 0) || pressure == 0) {
            if (!mSpeedLabels.contains(v))
                mSpeedLabels.insert(v, static_cast<float>(pressure) / end);
            nextLabel = pressure + mScaleEnd / 10;
        }
        if (pressure == 0 || category != 0)
            mSpeedTicks.append(static_cast<float>(pressure) / end);
        previous = pressure;
    }
}

bool DropletSizeWidget::updateCategory()
{
    const int pressure = datastoreGetUint16(DS_LIVE_PRESSURE);
    const int category = categoryAtPressure(pressure);
    const bool changed = pressure != mLivePressure || category != mCategory;
    mLivePressure = pressure;
    mCategory = category;
    return changed;
}

QRectF DropletSizeWidget::barRect() const
{
    const int w = width();
    const int h = height();
    return QRectF(w / 9, 2 * h / 5, 7 * w / 9, h / 4);
}

bool DropletSizeWidget::bandRect(int k, QRectF* rect) const
{
    if (k < 1 || k > CategoryCount)
        return false;
    const int lower = mBounds[k - 1];
    const int upper = mBounds[k];
    if (mScaleEnd <= 0 || lower == 0 || lower >= upper)
        return false;
    const QRectF bar = barRect();
    const double w = bar.width() / mScaleEnd;
    *rect = QRectF(bar.x() + lower * w, bar.y(), (upper - lower) * w, bar.height());
    return true;
}

int DropletSizeWidget::smallFontSize() const
{
    mSmallLabel->ensurePolished();
    return QFontInfo(mSmallLabel->font()).pixelSize();
}

int DropletSizeWidget::largeFontSize() const
{
    mLargeLabel->ensurePolished();
    return QFontInfo(mLargeLabel->font()).pixelSize();
}

double DropletSizeWidget::textStart(double textWidth) const
{
    const double barX = barRect().x();
    return textWidth / 2 <= barX ? barX - textWidth / 2 : 0;
}

void DropletSizeWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int large = largeFontSize();
    painter.setFont(mLargeLabel->font());
    painter.drawText(QRectF(0, (height() - large) / 2, width() / 9, large), Qt::AlignHCenter | Qt::AlignVCenter,
                     categoryText(mCategory));
    drawPressureTicks(painter);
    drawSpeedTicks(painter);
    drawPressureLabels(painter);
    drawSpeedLabels(painter);

    const QRectF bar = barRect();
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QBrush(QColor(230, 230, 230, 31), Qt::SolidPattern));
    painter.drawRect(bar);
    for (int k = 1; k <= CategoryCount; ++k) {
        QRectF band;
        if (!bandRect(k, &band))
            continue;
        painter.setBrush(QBrush(categoryColour(k), Qt::SolidPattern));
        painter.drawRect(band);
    }
    drawPressureMarker(painter);
}

void DropletSizeWidget::drawPressureTicks(QPainter& painter) const
{
    if (mIntervals <= 0)
        return;
    const QRectF bar = barRect();
    const double d = bar.width() * mFraction / mIntervals;
    for (int i = 0; i <= mIntervals; ++i) {
        const double x = bar.x() + i * d;
        painter.drawLine(QLineF(x, bar.bottom(), x, bar.bottom() + kTickLength));
    }
}

void DropletSizeWidget::drawSpeedTicks(QPainter& painter) const
{
    const QRectF bar = barRect();
    for (float u : mSpeedTicks) {
        const int x = static_cast<int>(bar.x() + bar.width() * u);
        painter.drawLine(x, static_cast<int>(bar.y() - kTickLength), x, static_cast<int>(bar.y()));
    }
}

void DropletSizeWidget::drawPressureLabels(QPainter& painter) const
{
    const QRectF bar = barRect();
    const int s = smallFontSize();
    const double t = 3.0 * s;
    const double x0 = textStart(t);
    painter.setFont(mSmallLabel->font());
    if (mIntervals > 0) {
        const double d = bar.width() * mFraction / mIntervals;
        for (int i = 0; i <= mIntervals; ++i)
            painter.drawText(QRectF(x0 + i * d, bar.bottom() + 6, t, s), Qt::AlignHCenter | Qt::AlignTop,
                             QStringLiteral("%1").arg(static_cast<double>(i * mLabelStep), 0, 'f', 0));
    }
    painter.drawText(QRectF(std::min(x0 + bar.width() + t, width() - t), bar.bottom() + 4, t, s + 2),
                     Qt::AlignLeft | Qt::AlignTop, mPressureUnit);
}

void DropletSizeWidget::drawSpeedLabels(QPainter& painter) const
{
    const QRectF bar = barRect();
    const int s = smallFontSize();
    const double t = 3.0 * s;
    const double x0 = textStart(t);
    const double y = bar.y() - (kTickLength + 1 + s);
    painter.setFont(mSmallLabel->font());
    for (auto it = mSpeedLabels.constBegin(); it != mSpeedLabels.constEnd(); ++it)
        painter.drawText(QRectF(x0 + it.value() * bar.width(), y, t, s), Qt::AlignHCenter | Qt::AlignTop,
                         QStringLiteral("%1").arg(it.key()));
    // The unit stays on the screen: "km/h" would be cut off one text width right of the bar.
    painter.drawText(QRectF(std::min(x0 + bar.width() + t, width() - t), y, t, s), Qt::AlignLeft | Qt::AlignVCenter,
                     mSpeedUnit);
}

void DropletSizeWidget::drawPressureMarker(QPainter& painter) const
{
    if (mScaleEnd <= 0)
        return;
    const QRectF bar = barRect();
    painter.setBrush(QBrush(Qt::red, Qt::SolidPattern));
    painter.setPen(QPen(QBrush(Qt::black), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int p = std::min(mLivePressure, mScaleEnd);
    const double x = bar.x() + static_cast<int>(p * (bar.width() / mScaleEnd) + 0.5);
    const int a = static_cast<int>(bar.width() / 75 + 0.5);
    const int b = static_cast<int>(bar.height() / 2 + 0.5);
    const QPointF diamond[4] = {QPointF(x, bar.y()), QPointF(x + a, bar.y() + b), QPointF(x, bar.y() + bar.height()),
                                QPointF(x - a, bar.y() + b)};
    painter.drawConvexPolygon(diamond, 4);
}
