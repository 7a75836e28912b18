#include "configmachinecaltanklevelsensorpoints.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "pointcalibration.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QVariant>

namespace ToolsViewWidgets {

namespace {

enum HelpId { AutoHelp = 0, ContentHelp = 1 };

const TankPoint kEmptyPoint = {"ConfigMachineCalTankLevelSensorEmpty", ":/images/tank_empty.svg", nullptr, 0,
                               EV_SET_TANK_CAL_EMPTY, DS_TANK_CAL_EMPTY};
const TankPoint kMinPoint = {"ConfigMachineCalTankLevelSensorMin", ":/images/msg_information.svg",
                             ":/images/tank_empty.svg", UQ_TANK_MIN_CONTENT, EV_SET_TANK_CAL_MIN, DS_TANK_CAL_MIN};
const TankPoint kMaxPoint = {"ConfigMachineCalTankLevelSensorMax", ":/images/msg_information.svg",
                             ":/images/tank_full.svg", UQ_TANK_MAX_CONTENT, EV_SET_TANK_CAL_MAX, DS_TANK_CAL_MAX};

}  // namespace

ConfigMachineCalTankLevelSensorPoint::ConfigMachineCalTankLevelSensorPoint(const TankPoint& point, QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mPoint(point)
{
    calibrationScreensInitResources();
    setObjectName(QString::fromLatin1(point.objectName));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalTankLevelSensorPoint::handleButtonBarPressed);

    int row = 0;
    if (point.contentIcon != nullptr) {
        mContentButton = mKit->addLabelButton(row, this, &ConfigMachineCalTankLevelSensorPoint::showHelp,
                                              point.contentIcon);
        mContentButton->setId(ContentHelp);
        mContentButton->setObjectName(QStringLiteral("m_contentHelpButton"));
        mContentLabel = new QLabel(this);
        mContentLabel->setObjectName(QStringLiteral("m_tankContentValue"));
        mContentLabel->setProperty("hasBorder", true);
        mContentLabel->setMinimumSize(GuiGeometry::settingButtonSize());
        mContentLabel->setAlignment(Qt::AlignCenter);
        mKit->addRowWidget(row, mContentLabel);
        ++row;
    }
    mAutoButton = mKit->addLabelButton(row, this, &ConfigMachineCalTankLevelSensorPoint::showHelp, point.autoIcon);
    mAutoButton->setId(AutoHelp);
    mAutoButton->setObjectName(QStringLiteral("m_autoHelpButton"));
    mCalibrateButton = new KestromPushButton(this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    mCalibrateButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(row, mCalibrateButton);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalTankLevelSensorPoint::calibrationDone);

    mBar = SensorBarRow::create(this, 1024, "m_sensorBar");
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(5);
    mKit->column()->addLayout(mBar.layout);
    mKit->column()->addStretch(10);
}

void ConfigMachineCalTankLevelSensorPoint::retranslate()
{
    const TankPointTexts own = texts();
    mKit->pathwayLabel()->setElidedText(
        QStringLiteral("...%1->%2").arg(tr("Tank Level Sensor", "pathway text"), own.pathway));
    mBar.low->setText(tr("Low", "graph label"));
    mBar.high->setText(tr("High", "graph label"));
    SettingPageKit::setLabelText(mAutoButton, tr("Automatic Calibration", "setting label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    if (mContentButton != nullptr)
        SettingPageKit::setLabelText(mContentButton, own.contentName);
    timedUpdate();
}

void ConfigMachineCalTankLevelSensorPoint::timedUpdate()
{
    mBar.bar->setValue(datastoreGetUint16(DS_LIVE_TANK_SENSOR));
    refreshContent();
}

void ConfigMachineCalTankLevelSensorPoint::refreshContent()
{
    if (mContentLabel == nullptr)
        return;
    QString unit;
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        unit = tr("l", "Abbr for liters");
        break;
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        unit = tr("gal", "Abbr for gallon");
        break;
    default:
        unit = QStringLiteral("???");
        break;
    }
    // Whole display units, whatever the quantity's own decimals.
    mContentLabel->setText(SettingPageKit::valueText(tr("%L1 %2", "%1 is the value, %2 is the units"),
                                                     PageValues::itemDisplayValue(mPoint.contentQuantity), 0, unit));
}

void ConfigMachineCalTankLevelSensorPoint::calibrationDone()
{
    if (takeCalibrationPoint(mPoint.command, mPoint.pointItem, DS_LIVE_TANK_SENSOR))
        SettingPageKit::showResult(QString(), texts().completion);
    else
        SettingPageKit::showResult(QString(), tr("Calibration failed. The sensor value is out of range.",
                                                 "Calibration Failed definition"));
    emit goBack();
}

void ConfigMachineCalTankLevelSensorPoint::showHelp(int id)
{
    const TankPointTexts own = texts();
    if (id == AutoHelp)
        SettingPageKit::showHelp(tr("Automatic Calibration", "definition header"), own.autoHelp);
    else if (id == ContentHelp && mContentButton != nullptr)
        SettingPageKit::showHelp(own.contentName, own.contentHelp);
    else
        SettingPageKit::showHelp(QString(), QString());
}

void ConfigMachineCalTankLevelSensorPoint::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalTankLevelSensorPoint::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

ConfigMachineCalTankLevelSensorEmpty::ConfigMachineCalTankLevelSensorEmpty(QWidget* parent)
    : ConfigMachineCalTankLevelSensorPoint(kEmptyPoint, parent)
{
    retranslate();
}

TankPointTexts ConfigMachineCalTankLevelSensorEmpty::texts() const
{
    TankPointTexts t;
    t.pathway = tr("Empty Tank", "pathway text");
    t.completion = tr("Calibration complete.", "Calibration Complete definition");
    t.autoHelp = tr("Make sure there is NO water on tank level sensor. Press \"Calibrate\" to record a new "
                    "calibration value and finalize the calibration.",
                    "Automatic Calibration definition");
    return t;
}

ConfigMachineCalTankLevelSensorMin::ConfigMachineCalTankLevelSensorMin(QWidget* parent)
    : ConfigMachineCalTankLevelSensorPoint(kMinPoint, parent)
{
    retranslate();
}

TankPointTexts ConfigMachineCalTankLevelSensorMin::texts() const
{
    TankPointTexts t;
    t.pathway = tr("Minimum Tank Level", "pathway text");
    t.contentName = tr("Minimum Tank Level", "setting label");
    t.completion = tr("Calibration Complete.", "Calibration Complete definition");
    t.autoHelp = tr("Fill the tank to the minimum level with water. Press \"Calibrate\" to record the current volume "
                    "as the specified Minimum Tank Level volume and finalize the calibration.",
                    "Automatic Calibration definition");
    t.contentHelp = tr("Shows the tank content for the minimum level calibration.", "Minimum Tank Level definition");
    return t;
}

ConfigMachineCalTankLevelSensorMax::ConfigMachineCalTankLevelSensorMax(QWidget* parent)
    : ConfigMachineCalTankLevelSensorPoint(kMaxPoint, parent)
{
    retranslate();
}

TankPointTexts ConfigMachineCalTankLevelSensorMax::texts() const
{
    TankPointTexts t;
    t.pathway = tr("Maximum Tank Level", "pathway text");
    t.contentName = tr("Maximum Tank Level", "setting label");
    t.completion = tr("Calibration complete.", "Calibration Complete definition");
    t.autoHelp = tr("Fill the tank to the maximum level with water. Press \"Calibrate\" to record the current volume "
                    "as the specified Maximum Tank Level volume and finalize the calibration.",
                    "Automatic Calibration definition");
    t.contentHelp = tr("Shows the tank content for the maximum level calibration.", "Maximum Tank Level definition");
    return t;
}

}  // namespace ToolsViewWidgets
