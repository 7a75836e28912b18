#include "configmachinecaltanklevelsensorshape.h"

#include "calibrationresources.h"
#include "cpopupmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QVariant>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;
constexpr uint16_t kProgressDone = 100;

QLabel* titleLabel(QWidget* parent, const char* objectName)
{
    QLabel* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setAlignment(Qt::AlignCenter);
    // A line of the style sheet's font, whatever the layout has to spare.
    label->ensurePolished();
    label->setMinimumHeight(label->fontMetrics().height() + 2);
    return label;
}

}  // namespace

ConfigMachineCalTankLevelSensorShape::ConfigMachineCalTankLevelSensorShape(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalTankLevelSensorShape"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalTankLevelSensorShape::handleButtonBarPressed);

    mContentButton =
        mKit->addLabelButton(0, this, &ConfigMachineCalTankLevelSensorShape::showHelp, ":/images/tank_full.svg");
    mContentButton->setId(ContentHelp);
    mContentButton->setObjectName(QStringLiteral("m_contentHelpButton"));
    mContentLabel = new QLabel(this);
    mContentLabel->setObjectName(QStringLiteral("m_tankContentValue"));
    mContentLabel->setProperty("hasBorder", true);
    mContentLabel->setMinimumSize(GuiGeometry::settingButtonSize());
    mContentLabel->setAlignment(Qt::AlignCenter);
    mKit->addRowWidget(0, mContentLabel);
    mStartPrompt = new KestromPushButton(StartHelp, this);
    mStartPrompt->setObjectName(QStringLiteral("m_startPrompt"));
    mStartPrompt->setProperty("transparent", true);
    mStartPrompt->setStyleSheet(QStringLiteral("text-align: left"));
    mStartPrompt->setSvgIcon(SettingPageKit::DefaultHelpIcon, GuiGeometry::iconSize50());
    mStartPrompt->setMinimumHeight(GuiGeometry::settingButtonSize().height());
    connect(mStartPrompt, &KestromPushButton::takeAction, this, &ConfigMachineCalTankLevelSensorShape::showHelp);
    mKit->rowGrid()->addWidget(mStartPrompt, 1, 0, 2, 2, Qt::AlignLeft);

    mSensorTitle = titleLabel(this, "m_sensorTitle");
    mSensorBar = SensorBarRow::create(this, 1024, "m_sensorBar");
    mProgressBlock = new QWidget(this);
    mProgressBlock->setObjectName(QStringLiteral("m_progressBlock"));
    mProgressTitle = titleLabel(mProgressBlock, "m_progressTitle");
    mProgressBar = SensorBarRow::create(mProgressBlock, 100, "m_progressBar");
    QVBoxLayout* progress = new QVBoxLayout(mProgressBlock);
    progress->setContentsMargins(0, 0, 0, 0);
    progress->setSpacing(GuiGeometry::spacing1());
    progress->addWidget(mProgressTitle);
    progress->addLayout(mProgressBar.layout);

    QVBoxLayout* column = mKit->column();
    column->insertStretch(1, 2);
    column->addStretch(2);
    column->addWidget(mSensorTitle);
    column->addLayout(mSensorBar.layout);
    column->addStretch(2);
    column->addWidget(mProgressBlock);
    column->addStretch(10);

    setCalibrationState(WaitingForMaster);
    retranslate();
}

QString ConfigMachineCalTankLevelSensorShape::volumeUnitText(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("l", "Abbr for liter") : tr("liter");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return shortForm ? tr("gal", "Abbr for gallon") : tr("gallon");
    default:
        return QString();
    }
}

void ConfigMachineCalTankLevelSensorShape::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(tr("Tank Level Sensor", "pathway text"),
                                                                         tr("Tank Shape", "pathway text")));
    mSensorBar.low->setText(tr("Low", "graph label"));
    mSensorBar.high->setText(tr("High", "graph label"));
    mProgressBar.low->setText(QStringLiteral("0%"));
    mProgressBar.high->setText(QStringLiteral("100%"));
    mSensorTitle->setText(tr("Tank Level Sensor", "graph top label"));
    mProgressTitle->setText(tr("Calibration Progress", "graph top label"));
    mStartPrompt->setText(tr("Flip Master Switch to\nstart calibration.", "extended setting label"));
    SettingPageKit::setLabelText(mContentButton, tr("Maximum Tank Level", "setting label"));
    updateBars();
    updateTankContentValue();
}

void ConfigMachineCalTankLevelSensorShape::setProgressVisible(bool visible)
{
    mProgressBlock->setVisible(visible);
}

void ConfigMachineCalTankLevelSensorShape::setCalibrationState(int state)
{
    mRunning = false;
    switch (state) {
    case WaitingForMaster:
        mStartPrompt->setVisible(true);
        mContentButton->setVisible(true);
        mContentLabel->setVisible(true);
        setProgressVisible(false);
        break;
    case StartedAgain:
        mStartPrompt->setVisible(false);
        mContentButton->setVisible(true);
        mContentLabel->setVisible(true);
        setProgressVisible(false);
        break;
    case Running:
        mStartPrompt->setVisible(false);
        mContentButton->setVisible(false);
        mContentLabel->setVisible(false);
        setProgressVisible(true);
        mRunning = true;
        break;
    case Complete:
        mStartPrompt->setVisible(false);
        mContentButton->setVisible(false);
        mContentLabel->setVisible(false);
        setProgressVisible(false);
        break;
    default:
        return;
    }
    mState = state;
}

void ConfigMachineCalTankLevelSensorShape::updateBars()
{
    mSensorBar.bar->setValue(datastoreGetUint16(DS_LIVE_TANK_SENSOR));
    mProgressBar.bar->setValue(datastoreGetUint16(DS_TANK_CAL_PROGRESS));
}

void ConfigMachineCalTankLevelSensorShape::updateTankContentValue()
{
    mContentLabel->setText(SettingPageKit::quantityText(tr("%L1 %2", "%1 is the value, %2 is the units"),
                                                        UQ_TANK_MAX_CONTENT, volumeUnitText(true)));
}

void ConfigMachineCalTankLevelSensorShape::timedUpdate()
{
    updateBars();
    updateTankContentValue();
    if (mRunning) {
        if (datastoreGetBool(DS_TANK_SHAPE_CAL_ACTIVE) != 0)
            return;
        setCalibrationState(Complete);
        mComplete = true;
        // The core also ends a run it gives up (its time limit, a stop): only a
        // run that went all the way is complete.
        showHelp(datastoreGetUint16(DS_TANK_CAL_PROGRESS) >= kProgressDone ? CompleteHelp : FailedHelp);
        return;
    }
    if (mComplete || datastoreGetBool(DS_MASTER_SWITCH) == 0)
        return;
    calibrationOpenValve();
}

void ConfigMachineCalTankLevelSensorShape::calibrationStart()
{
    eventPost(kEventOwner, EV_TANK_SHAPE_CAL_START, 0);
    setCalibrationState(StartedAgain);
    showHelp(StartHelp);
}

void ConfigMachineCalTankLevelSensorShape::calibrationOpenValve()
{
    setCalibrationState(Running);
}

void ConfigMachineCalTankLevelSensorShape::calibrationAbort()
{
}

void ConfigMachineCalTankLevelSensorShape::calibrationDone()
{
    emit goBack();
    mComplete = false;
}

void ConfigMachineCalTankLevelSensorShape::showHelp(int id)
{
    CPopupMessage* popup = nullptr;
    switch (id) {
    case OverviewHelp:
        SettingPageKit::showHelp(
            tr("Calibration Process Overview", "definition header"),
            tr("Before starting the calibration process, fill the tank to its maximum level with water. When ready, "
               "activate the Master Switch to open the master valve and start Tank Shape calibration. Spray the tank "
               "empty with a constant flow rate.",
               "Calibration Process Overview definition"));
        break;
    case ContentHelp:
        SettingPageKit::showHelp(tr("Maximum Tank Level", "definition header"),
                                 tr("Shows the tank content for the maximum level calibration.",
                                    "Maximum Tank Level definition"));
        break;
    case StartHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("With the fill the tank to its maximum level with water, activate the Master Switch to open the "
               "master valve and start the calibration. Spray the tank empty with a constant flow rate.",
               "Automatic Calibration definition"));
        break;
    case CompleteHelp:
        popup = SettingPageKit::showHelp(
            tr("Calibration Complete", "Calibration Complete header"),
            tr("The calibration process is now complete.", "Complete Calibration definition") +
                tr(" Turn Master Switch off.", "Extra text to Complete Calibration definition"));
        break;
    case FailedHelp:
        popup = SettingPageKit::showHelp(
            tr("Calibration Failed", "Calibration Failed header"),
            tr("The calibration process ended before the tank was empty. No new tank shape was recorded.",
               "Failed Calibration definition") +
                tr(" Turn Master Switch off.", "Extra text to Complete Calibration definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
    if (popup != nullptr)
        connect(popup, &CPopupMessage::popupAcknowledge, this, &ConfigMachineCalTankLevelSensorShape::calibrationDone);
}

void ConfigMachineCalTankLevelSensorShape::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        emit goBack();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigMachineCalTankLevelSensorShape::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Calibration);
    updateBars();
    updateTankContentValue();
    eventPost(kEventOwner, EV_TANK_SHAPE_CAL_START, 0);
    setCalibrationState(WaitingForMaster);
    showHelp(OverviewHelp);
}

void ConfigMachineCalTankLevelSensorShape::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    if (mRunning || mState == WaitingForMaster)
        eventPost(kEventOwner, EV_TANK_SHAPE_CAL_STOP, 0);
    SettingPageKit::setPageMode(PageMode::Home);
    datastoreSetBool(DS_MASTER_SWITCH, 0);
}

void ConfigMachineCalTankLevelSensorShape::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
