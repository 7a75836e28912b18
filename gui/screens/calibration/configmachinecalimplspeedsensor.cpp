#include "configmachinecalimplspeedsensor.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "processvalidate.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;
constexpr uint8_t kImplementWheel = 2;

enum Row { NumberRow = 0, AutomaticRow = 1 };
enum ButtonId { NumberHelp = 0, AutomaticHelp = 1, CalibrateId = 2 };

uint32_t lowestNumber()
{
    return static_cast<uint32_t>(PageValues::itemMinimum(DS_SPEED_CAL_NUMBER));
}

// The store takes more than the start-up validation keeps; a number above the
// validation's limit would be gone after the next start.
uint32_t highestNumber()
{
    return std::min(static_cast<uint32_t>(PageValues::itemMaximum(DS_SPEED_CAL_NUMBER)), uint32_t{SPEED_CAL_NUMBER_VALID_MAX});
}

// The pulses counted since the calibration started, over the distance driven.
int32_t countedPulses()
{
    return std::max<int32_t>(datastoreGetSint32(DS_SPEED_CAL_PULSES), 0);
}

// The counted pulses as pulses per 100 m: what "Done" stores.
int32_t countedNumber()
{
    return unitDisplayToBase(UQ_SPEED_CAL, countedPulses());
}

}  // namespace

ConfigMachineCalImplSpeedSensor::ConfigMachineCalImplSpeedSensor(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mSavedSpeedSource(datastoreGetUint8(DS_SPEED_SOURCE)), mKit(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalImplSpeedSensor"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalImplSpeedSensor::handleButtonBarPressed);

    mNumberLabel = mKit->addLabelButton(NumberRow, this, &ConfigMachineCalImplSpeedSensor::showHelp,
                                        ":/images/speed_wheel.svg");
    mNumberLabel->setId(NumberHelp);
    mNumberValue = mKit->addValueButton(NumberRow, "m_calibNumberValue");
    connect(mNumberValue, &KestromPushButton::takeAction, this, &ConfigMachineCalImplSpeedSensor::editCalibValue);

    mAutoLabel = mKit->addLabelButton(AutomaticRow, this, &ConfigMachineCalImplSpeedSensor::showHelp);
    mAutoLabel->setId(AutomaticHelp);
    mCalibrateButton = new KestromPushButton(CalibrateId, this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    mCalibrateButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(AutomaticRow, mCalibrateButton);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalImplSpeedSensor::startCalibration);

    mDoneButton = new KestromPushButton(this);
    mDoneButton->setObjectName(QStringLiteral("m_doneButton"));
    mDoneButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mDoneButton, &KestromPushButton::takeAction, this, &ConfigMachineCalImplSpeedSensor::calibrationDone);
    mCancelButton = new KestromPushButton(this);
    mCancelButton->setObjectName(QStringLiteral("m_cancelButton"));
    mCancelButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mCancelButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalImplSpeedSensor::calibrationCancel);
    QHBoxLayout* runRow = new QHBoxLayout;
    runRow->addWidget(mDoneButton);
    runRow->addWidget(mCancelButton);
    mKit->column()->addStretch(2);
    mKit->column()->addLayout(runRow);
    mKit->column()->addStretch(10);

    mKeypad = mKit->addKeypad();
    showIdleButtons(true);
    retranslate();
}

ConfigMachineCalImplSpeedSensor::~ConfigMachineCalImplSpeedSensor() = default;

QString ConfigMachineCalImplSpeedSensor::distanceText(bool longForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return longForm ? tr("100 meters", "distance and units for Calibration Number definition")
                        : tr("100 m", "Short version of '100 meter'");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return longForm ? tr("300 feet", "distance and units for Calibration Number definition")
                        : tr("300 ft", "Short version of '300 feet'");
    default:
        return QStringLiteral("100 meter");
    }
}

void ConfigMachineCalImplSpeedSensor::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Calibrations", "pathway text"),
                      tr("Implement Speed Sensor", "pathway text")});
    mNumberLabel->setText(tr("Calibration Number", "setting label"));
    SettingPageKit::setLabelText(mAutoLabel, tr("Automatic Calibration", "setting label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    mDoneButton->setText(tr("Done", "button"));
    mCancelButton->setText(tr("Cancel", "button"));
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::refreshValue()
{
    const QString format = tr("%L1", "value label of pulse per driving distance. %L1 is the value");
    if (mIdle)
        mNumberValue->setText(format.arg(static_cast<double>(datastoreGetUint32(DS_SPEED_CAL_NUMBER)), 0, 'f', 0));
    else
        mNumberValue->setText(format.arg(countedNumber()));
}

void ConfigMachineCalImplSpeedSensor::showIdleButtons(bool idle)
{
    mDoneButton->setVisible(!idle);
    mCancelButton->setVisible(!idle);
    mAutoLabel->setVisible(idle);
    mCalibrateButton->setVisible(idle);
}

void ConfigMachineCalImplSpeedSensor::timedUpdate()
{
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::handle1msUpdateCalValue()
{
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::editCalibValue()
{
    if (!mIdle)
        return;
    KeypadSetting setting;
    setting.value = datastoreGetUint32(DS_SPEED_CAL_NUMBER);
    setting.minimum = lowestNumber();
    setting.maximum = highestNumber();
    setting.decimals = 0;
    setting.title = tr("Calibration Number", "keyboard header. pulses per driving distance. ");
    mKit->openKeypad(mKeypad, setting, this, &ConfigMachineCalImplSpeedSensor::commitCalibValue);
}

void ConfigMachineCalImplSpeedSensor::commitCalibValue(double value)
{
    // Typed in pulses per 100 m in every unit system: no conversion.
    datastoreSetUint32(DS_SPEED_CAL_NUMBER, static_cast<uint32_t>(value));
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::startCalibration()
{
    mIdle = false;
    showIdleButtons(false);
    datastoreSetUint8(DS_SPEED_SOURCE, kImplementWheel);
    // The core restarts its speed pulse counters: the count starts from 0.
    eventPost(kEventOwner, EV_SPEED_CAL, 0);
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::calibrationDone()
{
    mIdle = true;
    showIdleButtons(true);
    const int32_t number = countedNumber();
    if (number > static_cast<int32_t>(highestNumber()))
        SettingPageKit::showResult(
            tr("Calibration Number", "definition header"),
            tr("The counted calibration number %L1 is above %L2 pulses and was not saved. The previous "
               "calibration number is kept.",
               "Calibration Number result. %L1 is the counted number, %L2 the highest number.")
                .arg(number)
                .arg(highestNumber()));
    else
        unitSetItemFromDisplay(UQ_SPEED_CAL, countedPulses());
    datastoreSetUint8(DS_SPEED_SOURCE, mSavedSpeedSource);
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::calibrationCancel()
{
    mIdle = true;
    showIdleButtons(true);
    eventPost(kEventOwner, EV_SPEED_CAL, 0);
    datastoreSetUint8(DS_SPEED_SOURCE, mSavedSpeedSource);
    refreshValue();
}

void ConfigMachineCalImplSpeedSensor::showHelp(int id)
{
    switch (id) {
    case NumberHelp:
        SettingPageKit::showHelp(
            tr("Calibration Number", "definition header"),
            tr("Automatic Calibration will determine the number of pulses counted while driving %1 and convert the "
               "calibration number to the correct units. In manual calibration, enter the calibration number in "
               "pulses per 100 meters. Range is %L2 through %L3 pulses.",
               "Calibration Number definition. %1 is the distance and units. %L2 & %L3 are the range values.")
                .arg(distanceText(true))
                .arg(static_cast<double>(lowestNumber()), 0, 'f', 0)
                .arg(static_cast<double>(highestNumber()), 0, 'f', 0));
        break;
    case AutomaticHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("Press \"Calibrate\" to start an automatic calibration of the sensor. Drive a distance of %1. Press "
               "\"Done\" when complete. To cancel the calibration, press \"Cancel\", Return Arrow or Home button.",
               "Automatic Calibration definition")
                .arg(distanceText(true)));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineCalImplSpeedSensor::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalImplSpeedSensor::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Calibration);
    mSavedSpeedSource = datastoreGetUint8(DS_SPEED_SOURCE);
    retranslate();
}

void ConfigMachineCalImplSpeedSensor::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Home);
    calibrationCancel();
}

void ConfigMachineCalImplSpeedSensor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
