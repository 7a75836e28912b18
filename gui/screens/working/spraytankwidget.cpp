#include "spraytankwidget.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "unitquantities.h"
#include "units.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QShowEvent>
#include <QVariant>
#include <QVBoxLayout>

SprayTankWidget::SprayTankWidget(QWidget* parent) : BackgroundWidget(parent), mBar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("m_sprayTankView"));
    setProperty("transparent", true);
    setContentsMargins(0, 0, 0, 0);

    mBar->setObjectName(QStringLiteral("m_sprayTankBar"));
    mBar->setOrientation(Qt::Vertical);
    mBar->setTextDirection(QProgressBar::TopToBottom);
    mBar->setFormat(QStringLiteral("%v"));
    mBar->setMinimum(0);
    mBar->setProperty("fontsize", "large");
    mBar->setMaximumSize(GuiGeometry::sprayTankSize());

    auto* row = new QHBoxLayout;
    row->setSpacing(GuiGeometry::spacing1());
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(mBar);
    auto* column = new QVBoxLayout(this);
    column->addLayout(row);

    int maximum = 0;
    if (maximumNow(&maximum))
        mMaximum = maximum;
    applyMaximum();
    int value = 0;
    if (valueNow(&value))
        mShownValue = value;
    mBar->setValue(mShownValue);
}

bool SprayTankWidget::maximumNow(int* maximum)
{
    const uint32_t scale = unitGetScale(UQ_TANK_MAX_CONTENT);
    if (scale == 0)
        return false;
    *maximum = static_cast<int>(static_cast<float>(unitGetItemValue(UQ_TANK_MAX_CONTENT)) / static_cast<float>(scale));
    return true;
}

bool SprayTankWidget::valueNow(int* value)
{
    // NH3 is filled and shown by mass; the bar's full mark stays the tank volume.
    const uint32_t quantity = datastoreGetBool(DS_NH3_MODE) ? UQ_TANK_CONTENT_MASS : UQ_TANK_ACTUAL_CONTENT;
    const uint32_t scale = unitGetScale(quantity);
    if (scale == 0)
        return false;
    const int32_t content = unitBaseToDisplay(quantity, datastoreGetAsInt32(DS_ACTUAL_CONTENT));
    *value = static_cast<int>(static_cast<double>(content) / static_cast<double>(scale));
    return true;
}

// A bar whose range is 0..0 plays Qt's endless busy animation: a tank whose
// full content is not set yet shows an empty bar instead.
void SprayTankWidget::applyMaximum()
{
    mBar->setMaximum(std::max(mMaximum, 1));
}

void SprayTankWidget::showEvent(QShowEvent* event)
{
    BackgroundWidget::showEvent(event);
    if (event->spontaneous())
        return;
    int maximum = 0;
    if (!maximumNow(&maximum) || maximum == mMaximum)
        return;
    mMaximum = maximum;
    applyMaximum();
    mShownValue = -1;
    timedUpdate();
}

void SprayTankWidget::hideEvent(QHideEvent* event)
{
    BackgroundWidget::hideEvent(event);
}

void SprayTankWidget::timedUpdate()
{
    if (mRefreshCount <= 4) {
        ++mRefreshCount;
        return;
    }
    int value = 0;
    if (valueNow(&value) && value != mShownValue) {
        mShownValue = value;
        mBar->setValue(mShownValue);
    }
    mRefreshCount = 0;
}
