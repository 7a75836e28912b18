#include "workingviewctrl.h"

#include "alarm.h"
#include "alarmpopuplistener.h"
#include "beep.h"
#include "boomviewwidget.h"
#include "clocktimer.h"
#include "cpopupmessage.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dropletsizewidget.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "processevent.h"
#include "qtimagetools.h"
#include "spraytankwidget.h"
#include "workingresources.h"
#include "worknozzleinfowidget.h"
#include "worktoolbarwidget.h"
#include "worktopinfobarwidget.h"

#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>
#include <QVariant>

#include <cstdio>

namespace {
// The GUI's owner id for posted events.
const int kGuiEventOwner = 2;
const int kLongPressMs = 2000;
const uint16_t kIncreaseBit = 0x0002;
const uint16_t kDecreaseBit = 0x0004;
const int kAlarmListLines = 7;

void trace(const char* line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}
}  // namespace

bool WorkingViewCtrl::sFirstShowDone = false;

WorkingViewCtrl::WorkingViewCtrl(QWidget* parent) : QWidget(parent)
{
    workingScreensInitResources();
    setObjectName(QStringLiteral("WorkingViewCtrl"));
    setContentsMargins(0, 0, 0, 0);

    EvSignal::EventSignals* hub = EvSignal::EventSignals::instance();
    connect(hub, &EvSignal::EventSignals::eventAlarmActivate, this, &WorkingViewCtrl::handleAlarmActivate);
    connect(hub, &EvSignal::EventSignals::eventAlarmDeactivate, this, &WorkingViewCtrl::handleAlarmDeactivate);
    connect(hub, &EvSignal::EventSignals::isSpraying, this, &WorkingViewCtrl::workingStatusChanged);
    connect(hub, &EvSignal::EventSignals::eventClearBoostPct, this, &WorkingViewCtrl::handleZeroBoostPct);
    connect(hub, &EvSignal::EventSignals::eventCanSpeedBack, this, &WorkingViewCtrl::handleCanSpeedBack);

    // Creation order is stacking order: the show-filling button, last, lies over the tank.
    m_topInfoView = new WorkTopInfoBarWidget(this);
    m_topInfoView->setObjectName(QStringLiteral("m_topInfoView"));
    m_topInfoView->setGeometry(QRect(GuiGeometry::topInfoBarPos(), GuiGeometry::topInfoBarSize()));

    m_showToolBarButton = new KestromPushButton(this);
    m_showToolBarButton->setObjectName(QStringLiteral("m_showToolBarButton"));
    m_showToolBarButton->setGeometry(QRect(GuiGeometry::showToolBarButtonPos(), GuiGeometry::showToolBarButtonSize()));
    m_showToolBarButton->setSvgIcon(":/images/arrow_left_green.svg", GuiGeometry::showToolBarIconSize());

    m_sprayTankView = new SprayTankWidget(this);
    m_sprayTankView->setObjectName(QStringLiteral("m_sprayTankView"));
    m_sprayTankView->setGeometry(QRect(GuiGeometry::sprayTankPos(), GuiGeometry::sprayTankSize()));

    m_nozzleInfoView = new WorkNozzleInfoWidget(this);
    m_nozzleInfoView->setObjectName(QStringLiteral("m_nozzleInfoView"));
    m_nozzleInfoView->setGeometry(QRect(GuiGeometry::nozzleInfoPos(), GuiGeometry::nozzleInfoSize()));

    m_boostLabel = new QLabel(this);
    m_boostLabel->setObjectName(QStringLiteral("m_boostLabel"));
    m_boostLabel->setGeometry(QRect(GuiGeometry::workLabelPos(), GuiGeometry::workLabelSize()));
    m_boostLabel->setProperty("fontsize", "medium");
    m_boostLabel->setAlignment(Qt::AlignCenter);

    m_alarmButton = new KestromPushButton(this);
    m_alarmButton->setObjectName(QStringLiteral("m_alarmButton"));
    m_alarmButton->setGeometry(QRect(GuiGeometry::warningButtonPos(), GuiGeometry::warningButtonSize()));
    m_alarmButton->setProperty("transparent", true);
    m_alarmButton->setSvgIcon(":/images/msg_warning.svg", GuiGeometry::warningIconSize());
    m_alarmButton->hide();

    m_dropletSizeView = new DropletSizeWidget(this);
    m_dropletSizeView->setObjectName(QStringLiteral("m_dropletSizeView"));
    m_dropletSizeView->setGeometry(QRect(GuiGeometry::dropletWidgetPos(), GuiGeometry::dropletWidgetSize()));

    m_boomView = new BoomViewWidget(this);
    m_boomView->setObjectName(QStringLiteral("m_boomView"));
    m_boomView->setGeometry(QRect(GuiGeometry::boomViewPos(), GuiGeometry::boomViewSize()));

    m_workToolBarView = new WorkToolBarWidget;
    m_workToolBarView->setObjectName(QStringLiteral("m_workToolBarView"));
    m_workToolBarView->resize(GuiGeometry::workToolBarSize());
    m_workToolBarView->hide();

    m_btnShowFilling = new KestromPushButton(this);
    m_btnShowFilling->setObjectName(QStringLiteral("m_btnShowFilling"));
    m_btnShowFilling->setGeometry(m_sprayTankView->geometry());
    m_btnShowFilling->setProperty("transparent", true);

    connect(m_showToolBarButton, &KestromPushButton::takeAction, this, &WorkingViewCtrl::handleShowToolBar);
    connect(m_alarmButton, &KestromPushButton::takeAction, this, &WorkingViewCtrl::ViewActiveAlarms);

    WorkToolBarWidget* bar = m_workToolBarView;
    connect(bar, &WorkToolBarWidget::CloseWorkToolBarView, this, &WorkingViewCtrl::handleCloseWorkToolBar);
    connect(bar, &WorkToolBarWidget::ShowHomeView, this, &WorkingViewCtrl::handleHomeButtonPressed);
    connect(bar, &WorkToolBarWidget::AutoManRegStateChanged, this, &WorkingViewCtrl::handleAutoManStateChanged);
    connect(bar, &WorkToolBarWidget::ZeroBoostPct, this, &WorkingViewCtrl::handleZeroBoostPct);
    connect(bar, &WorkToolBarWidget::IncBoostPct, this, &WorkingViewCtrl::handleIncBoostPct);
    connect(bar, &WorkToolBarWidget::IncLiqPressure, this, &WorkingViewCtrl::handleIncLiqPressure);
    connect(bar, &WorkToolBarWidget::DecBoostPct, this, &WorkingViewCtrl::handleDecBoostPct);
    connect(bar, &WorkToolBarWidget::DecLiqPressure, this, &WorkingViewCtrl::handleDecLiqPressure);
    connect(bar, &WorkToolBarWidget::StopLiqPressureChange, this, &WorkingViewCtrl::handleStopLiqPressureChange);
    // The bar disables its home button while spraying.
    connect(this, &WorkingViewCtrl::workStatusChanged, bar, &WorkToolBarWidget::handleWorkStatusChanged);

    // Long press or tap on the tank, chosen once: the operator's habit does not change mid-job.
    if (datastoreGetBool(DS_TOUCH_OPERATION) != 0) {
        m_longPressTimer = new ClockTimer(this);
        connect(m_longPressTimer, &ClockTimer::timeout, this, &WorkingViewCtrl::handleWorkShowFilling);
        connect(m_btnShowFilling, &QAbstractButton::pressed, this, &WorkingViewCtrl::SprayTankPressed);
        connect(m_btnShowFilling, &QAbstractButton::released, this, &WorkingViewCtrl::SprayTankReleased);
        connect(m_btnShowFilling, &CIdPushButton::Cancelled, this, &WorkingViewCtrl::SprayTankCancelled);
    } else {
        connect(m_btnShowFilling, &KestromPushButton::takeAction, this, &WorkingViewCtrl::handleWorkShowFilling);
    }

    updateBoostLabel();
}

WorkingViewCtrl::~WorkingViewCtrl()
{
    delete m_workToolBarView;
}

void WorkingViewCtrl::updateBoostLabel()
{
    const int boost = datastoreGetUint16(DS_BOOST_PERCENT);
    if (boost == 100 || datastoreGetBool(DS_AUTOMATIC_REGULATION) == 0) {
        m_boostLabel->hide();
        return;
    }
    m_boostLabel->setText(tr("%1%", "Value for boost percentage (no decimals)").arg(boost - 100));
    m_boostLabel->show();
}

QString WorkingViewCtrl::activeAlarmsText()
{
    QString text;
    int listed = 0;
    for (uint32_t id = 0; id <= ALARM_MAX_ID; ++id) {
        if (alarmIsActive(id) == 0)
            continue;
        if (listed == kAlarmListLines) {
            text += QStringLiteral("   ...   ");
            break;
        }
        text += QStringLiteral("[#%1] %2\n")
                    .arg(id, 3, 10, QLatin1Char(' '))
                    .arg(KSMPopupListener::PopupListener::alarmTitle(static_cast<int>(id)));
        ++listed;
    }
    return text;
}

void WorkingViewCtrl::handleShowToolBar()
{
    m_workToolBarView->move(mapToGlobal(GuiGeometry::workToolBarPos()));
    m_workToolBarView->show();
}

void WorkingViewCtrl::handleHomeButtonPressed()
{
    m_workToolBarView->hide();
    emit ShowHomeView();
}

void WorkingViewCtrl::handleCloseWorkToolBar()
{
    m_workToolBarView->hide();
}

void WorkingViewCtrl::handleAutoManStateChanged(bool manual)
{
    updateBoostLabel();
    std::printf("Manual regulation mode:%d\n", manual ? 1 : 0);
    std::fflush(stdout);
}

void WorkingViewCtrl::handleIncBoostPct(int step)
{
    const int boost = datastoreGetUint16(DS_BOOST_PERCENT);
    if (boost < 200 - step)
        processEvent(EV_SET_BOOST, static_cast<uint32_t>(boost + step));
    updateBoostLabel();
}

void WorkingViewCtrl::handleDecBoostPct(int step)
{
    const int boost = datastoreGetUint16(DS_BOOST_PERCENT);
    if (boost > step)
        processEvent(EV_SET_BOOST, static_cast<uint32_t>(boost - step));
    updateBoostLabel();
}

void WorkingViewCtrl::handleZeroBoostPct()
{
    processEvent(EV_SET_BOOST, 100);
    updateBoostLabel();
}

void WorkingViewCtrl::setManualPressureBits(uint16_t bits, const char* line)
{
    datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, bits);
    trace(line);
}

void WorkingViewCtrl::handleIncLiqPressure()
{
    if (datastoreGetBool(DS_AUTOMATIC_REGULATION) != 0)
        return;
    setManualPressureBits(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) | kIncreaseBit, "Inc. Liquid pressure");
}

void WorkingViewCtrl::handleDecLiqPressure()
{
    if (datastoreGetBool(DS_AUTOMATIC_REGULATION) != 0)
        return;
    setManualPressureBits(datastoreGetUint16(DS_MANUAL_PRESSURE_BITS) | kDecreaseBit, "Dec. Liquid pressure");
}

void WorkingViewCtrl::handleStopLiqPressureChange()
{
    if (datastoreGetBool(DS_AUTOMATIC_REGULATION) != 0)
        return;
    const uint16_t bits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
    if ((bits & (kIncreaseBit | kDecreaseBit)) == 0)
        return;
    setManualPressureBits(bits & ~(kIncreaseBit | kDecreaseBit), "Stop inc/dec Liquid pressure");
}

void WorkingViewCtrl::handleWorkShowFilling()
{
    if (datastoreGetBool(DS_SPRAYING_ACTIVE) != 0)
        return;
    m_fillingOpened = true;
    emit ShowFillingView();
}

void WorkingViewCtrl::handleAlarmActivate(UINT16)
{
    if (alarmCountFlagged() > 0 && !m_alarmButton->isVisible())
        m_alarmButton->show();
    if (m_workToolBarView->isVisible())
        m_workToolBarView->hide();
}

void WorkingViewCtrl::handleAlarmDeactivate(UINT16)
{
    if (alarmCountFlagged() == 0 && m_alarmButton->isVisible())
        m_alarmButton->hide();
}

void WorkingViewCtrl::workingStatusChanged(bool spraying)
{
    if (alarmCountFlagged() == 0 && m_alarmButton->isVisible())
        m_alarmButton->hide();
    emit workStatusChanged(spraying);
}

void WorkingViewCtrl::handleCanSpeedBack()
{
    beepStart(1, 1);
    const QSize icon = GuiGeometry::scaledSize(30, 30);
    CPopupQuery* query = CPopupQuery::askYesNoWithIcon(
        tr("Speed Option", "definition header"),
        tr("CAN speed has become available again.\nDo you want to go back to CAN speed again?", "Speed Option definition"),
        QtImageTools::loadPixmap(":/images/msg_warning.svg", icon, false, Qt::KeepAspectRatio), 1, 0, 0);
    connect(query, &CPopupQuery::ResponseReceived, this, &WorkingViewCtrl::ResponseSpeedBackYesNoClicked);
}

void WorkingViewCtrl::ResponseSpeedBackYesNoClicked(CPopupQuery*, int answer)
{
    if (answer == 1)
        eventPost(kGuiEventOwner, EV_USE_CAN_SPEED_AGAIN, datastoreGetUint8(DS_SPEED_SOURCE));
}

void WorkingViewCtrl::ViewActiveAlarms()
{
    CPopupMessage::alarmWarning(tr("All Active Alarms", "definition header"), activeAlarmsText(), true, 60, 3, 70, 0);
}

void WorkingViewCtrl::SprayTankPressed()
{
    if (datastoreGetBool(DS_TOUCH_OPERATION) == 0 || m_longPressTimer == nullptr)
        return;
    m_longPressTimer->start(kLongPressMs);
    m_fillingOpened = false;
}

void WorkingViewCtrl::SprayTankReleased()
{
    if (datastoreGetBool(DS_TOUCH_OPERATION) == 0 || m_longPressTimer == nullptr)
        return;
    m_longPressTimer->stop();
    if (!m_fillingOpened)
        datastoreToggleItem(DS_SOFT_MASTER_SWITCH);
}

// A finger that slides off the tank neither switches the master nor opens the filling view.
void WorkingViewCtrl::SprayTankCancelled()
{
    if (m_longPressTimer != nullptr)
        m_longPressTimer->stop();
}

void WorkingViewCtrl::showEvent(QShowEvent* event)
{
    if (!sFirstShowDone) {
        eventPost(kGuiEventOwner, EV_WORK_SCREEN_SHOWN, 0);
        sFirstShowDone = true;
    }
    QWidget::showEvent(event);
}

void WorkingViewCtrl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void WorkingViewCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int h = height();
    if (datastoreGetBool(DS_TOUCH_OPERATION) == 0 || event->pos().y() <= h - h / 3) {
        trace("Did not recognise the slide command.");
        return;
    }
    const uint16_t sections = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    if (sections == 0)
        return;
    const double slice = double(width()) / sections;
    const double x = event->pos().x();
    double bound = 0;
    for (uint32_t k = 1; k <= datastoreGetUint16(DS_NUMBER_OF_SECTIONS); ++k) {
        bound += slice;
        if (x <= bound) {
            processEvent(EV_SECTION_MASK_TOGGLE, k);
            if (datastoreGetBool(DS_KEY_BEEP) != 0)
                beepStart(0, 1);
            return;
        }
    }
}
