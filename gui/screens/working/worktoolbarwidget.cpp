#include "worktoolbarwidget.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "workingresources.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVariant>
#include <QVBoxLayout>

namespace {
// The GUI's owner id for posted events.
const int kGuiEventOwner = 2;
const uint16_t kManualRegulationBit = 0x0001;
}  // namespace

bool WorkToolBarWidget::sLastSpraying = false;

WorkToolBarWidget::WorkToolBarWidget() : BackgroundWidget(nullptr)
{
    workingScreensInitResources();
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setContentsMargins(10, 10, 10, 10);
    setProperty("hasBorder", true);

    mHomeButton = makeButton("m_btnHome");
    mHomeButton->setSvgIcon(":/images/home.svg", GuiGeometry::workToolIconSize());
    mCloseButton = makeButton("m_btnClose");
    mCloseButton->setSvgIcon(":/images/arrow_right_green.svg", GuiGeometry::workToolIconSize());
    mAutoManButton = makeButton("m_btnAutoMan");
    mAutoManButton->setProperty("fontsize", "medium");
    mZeroBoostButton = makeButton("m_btnZeroBoost");
    mZeroBoostButton->setProperty("fontsize", "medium");
    mUpButton = makeButton("m_btnUp");
    mUpButton->setSvgIcon(":/images/ArrowUp.svg", GuiGeometry::workToolSmallIconSize());
    mUpButton->setProperty("fontsize", "medium");
    mDownButton = makeButton("m_btnDown");
    mDownButton->setSvgIcon(":/images/ArrowDown.svg", GuiGeometry::workToolSmallIconSize());
    mDownButton->setProperty("fontsize", "medium");

    auto* grid = new QGridLayout;
    grid->setSpacing(GuiGeometry::spacing1());
    grid->addWidget(mHomeButton, 0, 1);
    grid->addWidget(mAutoManButton, 0, 2);
    grid->addWidget(mUpButton, 0, 3);
    grid->addWidget(mCloseButton, 1, 1);
    grid->addWidget(mZeroBoostButton, 1, 2);
    grid->addWidget(mDownButton, 1, 3);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addLayout(grid);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(GuiGeometry::standardMargins());
    column->addLayout(row);

    connect(mHomeButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleHomeBtnPressed);
    connect(mCloseButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleCloseBtnPressed);
    connect(mAutoManButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleAutoManBtnPressed);
    connect(mZeroBoostButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleZeroBoostBtnPressed);
    connect(mUpButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleIncBoostBtnPressed);
    connect(mUpButton, &QAbstractButton::pressed, this, &WorkToolBarWidget::handleIncLiqPressureBtnPressed);
    connect(mDownButton, &KestromPushButton::takeAction, this, &WorkToolBarWidget::handleDecBoostBtnPressed);
    connect(mDownButton, &QAbstractButton::pressed, this, &WorkToolBarWidget::handleDecLiqPressureBtnPressed);
    for (KestromPushButton* arrow : {mUpButton, mDownButton}) {
        connect(arrow, &QAbstractButton::released, this, &WorkToolBarWidget::handleLiqPressureBtnReleased);
        // A finger that slides off an arrow ends the pressure change as a release
        // does; the button sends no release after a cancel.
        connect(arrow, &CIdPushButton::Cancelled, this, &WorkToolBarWidget::handleLiqPressureBtnReleased);
    }

    retranslate();
}

KestromPushButton* WorkToolBarWidget::makeButton(const char* objectName)
{
    auto* button = new KestromPushButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setMinimumSize(GuiGeometry::workToolButtonSize());
    return button;
}

void WorkToolBarWidget::retranslate()
{
    mZeroBoostButton->setText(tr("0%"));
    updateButtons();
}

void WorkToolBarWidget::updateButtons()
{
    const bool manual = (datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) & kManualRegulationBit) != 0;
    if (manual) {
        mZeroBoostButton->hide();
        mUpButton->setText(QString());
        mDownButton->setText(QString());
        mAutoManButton->setText(tr("Auto\nReg", "small button, abbr for Automatic Regulation"));
    } else {
        mZeroBoostButton->show();
        mUpButton->setText(tr("%1%").arg(mRateStep));
        mDownButton->setText(tr("%1%").arg(mRateStep));
        mAutoManButton->setText(tr("Man\nReg", "small button, abbr for Manual Regulation"));
    }
}

void WorkToolBarWidget::handleHomeBtnPressed()
{
    emit ShowHomeView();
}

void WorkToolBarWidget::handleCloseBtnPressed()
{
    emit CloseWorkToolBarView();
}

void WorkToolBarWidget::handleAutoManBtnPressed()
{
    uint16_t bits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
    if ((bits & kManualRegulationBit) == 0) {
        bits |= kManualRegulationBit;
        // Manual regulation starts without a boost.
        eventPost(kGuiEventOwner, EV_SET_BOOST, 100);
    } else {
        bits &= static_cast<uint16_t>(~kManualRegulationBit);
    }
    datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, bits);
    emit AutoManRegStateChanged((bits & kManualRegulationBit) != 0);
    updateButtons();
}

void WorkToolBarWidget::handleZeroBoostBtnPressed()
{
    emit ZeroBoostPct();
}

void WorkToolBarWidget::handleIncBoostBtnPressed()
{
    if (datastoreGetBool(DS_AUTOMATIC_REGULATION))
        emit IncBoostPct(mRateStep);
}

void WorkToolBarWidget::handleIncLiqPressureBtnPressed()
{
    if (!datastoreGetBool(DS_AUTOMATIC_REGULATION))
        emit IncLiqPressure();
}

void WorkToolBarWidget::handleDecBoostBtnPressed()
{
    if (datastoreGetBool(DS_AUTOMATIC_REGULATION))
        emit DecBoostPct(mRateStep);
}

void WorkToolBarWidget::handleDecLiqPressureBtnPressed()
{
    if (!datastoreGetBool(DS_AUTOMATIC_REGULATION))
        emit DecLiqPressure();
}

void WorkToolBarWidget::handleLiqPressureBtnReleased()
{
    if (!datastoreGetBool(DS_AUTOMATIC_REGULATION))
        emit StopLiqPressureChange();
}

void WorkToolBarWidget::handleWorkStatusChanged(bool spraying)
{
    mSpraying = spraying;
    mHomeButton->setEnabled(!spraying);
}

void WorkToolBarWidget::showEvent(QShowEvent* event)
{
    BackgroundWidget::showEvent(event);
    if (event->spontaneous())
        return;
    mRateStep = datastoreGetUint16(DS_APPL_RATE_STEP);
    updateButtons();
}

void WorkToolBarWidget::hideEvent(QHideEvent* event)
{
    BackgroundWidget::hideEvent(event);
}

void WorkToolBarWidget::timedUpdate()
{
    const bool spraying = datastoreGetBool(DS_SPRAYING_ACTIVE) != 0;
    if (spraying == sLastSpraying)
        return;
    sLastSpraying = spraying;
    handleWorkStatusChanged(spraying);
}
