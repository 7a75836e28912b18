#include "configmachinecalpresssensormaxpressure.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "debugout.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "processevent.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

// The core's names of commands 183 and 184 are the other way round from what
// they store; the numbers decide: 183 stores the sensor's maximum pressure,
// 184 the reference pressure.
constexpr uint32_t kSetSensorMaxPressure = 183;
constexpr uint32_t kSetReferencePressure = 184;
static_assert(kSetSensorMaxPressure == EV_SET_PRESSURE_REF && kSetReferencePressure == EV_SET_PRESSURE_MAX,
              "pressure commands renumbered");

enum Row { MaxRow = 0, RefRow = 1, AutoRow = 4 };
enum HelpId { MaxHelp = 0, RefHelp = 1, AutoHelp = 2, CalibrateHelp = 3 };

constexpr uint16_t kManualRegulationBit = 0x0001;

}  // namespace

ConfigMachineCalPressSensorMaxPressure::ConfigMachineCalPressSensorMaxPressure(QWidget* parent) : QWidget(parent)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalPressSensorMaxPressure"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalPressSensorMaxPressure::handleButtonBarPressed);

    mMaxLabel = mKit->addLabelButton(MaxRow, this, &ConfigMachineCalPressSensorMaxPressure::showHelp);
    mMaxLabel->setId(MaxHelp);
    mMaxValue = mKit->addValueButton(MaxRow, "m_maxPressureValue");
    connect(mMaxValue, &KestromPushButton::takeAction, this,
            &ConfigMachineCalPressSensorMaxPressure::editMaxPressureValue);

    mRefLabel = mKit->addLabelButton(RefRow, this, &ConfigMachineCalPressSensorMaxPressure::showHelp);
    mRefLabel->setId(RefHelp);
    mRefValue = mKit->addValueButton(RefRow, "m_refPressureValue");
    connect(mRefValue, &KestromPushButton::takeAction, this,
            &ConfigMachineCalPressSensorMaxPressure::editRefPressureValue);

    mAutoLabel = mKit->addLabelButton(AutoRow, this, &ConfigMachineCalPressSensorMaxPressure::showHelp);
    mAutoLabel->setId(AutoHelp);
    mCalibrateButton = new KestromPushButton(CalibrateHelp, this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    mCalibrateButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(AutoRow, mCalibrateButton);
    // One press shows the instructions and starts the calibration.
    connect(mCalibrateButton, &KestromPushButton::takeAction, this, &ConfigMachineCalPressSensorMaxPressure::showHelp);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalPressSensorMaxPressure::startCalibration);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    mMaxKeypad = mKit->addKeypad();
    mRefKeypad = mKit->addKeypad();
    retranslate();
}

QString ConfigMachineCalPressSensorMaxPressure::pressureUnitText() const
{
    if (unitGetSystem() == UNIT_SYSTEM_METRIC)
        return tr("bar", "metric unit of pressure");
    return tr("psi", "Abbr for US unit of pressure, pounds per square inch");
}

void ConfigMachineCalPressSensorMaxPressure::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(
        tr("Liquid Pressure Sensor", "pathway text"), tr("Maximum Pressure (1)", "pathway text")));
    mMaxLabel->setText(tr("Maximum Pressure", "setting label"));
    mRefLabel->setText(tr("Reference Pressure", "setting label"));
    SettingPageKit::setLabelText(mAutoLabel, tr("Automatic Calibration", "setting label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    refreshValues();
}

void ConfigMachineCalPressSensorMaxPressure::refreshValues()
{
    mMaxValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value. %2 is the units."),
                                                    UQ_PRESSURE_SENSOR_MAX, pressureUnitText()));
    mRefValue->setText(
        SettingPageKit::quantityText(QStringLiteral("%L1 %2"), UQ_REFERENCE_PRESSURE, pressureUnitText()));
}

void ConfigMachineCalPressSensorMaxPressure::editMaxPressureValue()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_PRESSURE_SENSOR_MAX, pressureUnitText());
    setting.title = tr("Maximum Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitText());
    mKit->openKeypad(mMaxKeypad, setting, this, &ConfigMachineCalPressSensorMaxPressure::commitMaxPressureValue);
}

void ConfigMachineCalPressSensorMaxPressure::commitMaxPressureValue(double value)
{
    // The maximum pressure rounds to the nearest display step.
    const int32_t display = PageValues::displayIntegerRounded(value, unitGetScale(UQ_PRESSURE_SENSOR_MAX));
    processEvent(kSetSensorMaxPressure, static_cast<uint32_t>(unitDisplayToBase(UQ_PRESSURE_SENSOR_MAX, display)));
    refreshValues();
}

void ConfigMachineCalPressSensorMaxPressure::editRefPressureValue()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_REFERENCE_PRESSURE, pressureUnitText());
    setting.title = tr("Reference Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitText());
    mKit->openKeypad(mRefKeypad, setting, this, &ConfigMachineCalPressSensorMaxPressure::commitRefPressureValue);
}

void ConfigMachineCalPressSensorMaxPressure::commitRefPressureValue(double value)
{
    processEvent(kSetReferencePressure,
                 static_cast<uint32_t>(PageValues::baseFromTyped(UQ_REFERENCE_PRESSURE, value)));
    refreshValues();
}

void ConfigMachineCalPressSensorMaxPressure::startCalibration()
{
    SettingPageKit::setPageMode(PageMode::Calibration);
    const uint16_t bits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
    const uint8_t manualBefore = (bits & kManualRegulationBit) != 0 ? 1 : 0;
    datastoreSetBool(DS_SAVED_HOLD_BIT, manualBefore);
    debugPrintf(0, "goto LiqPressCal M=%d\r\n", manualBefore);
    const uint16_t manual = static_cast<uint16_t>(bits | kManualRegulationBit);
    if (manual != datastoreGetUint16(DS_MANUAL_PRESSURE_BITS))
        datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, manual);
    datastoreSetBool(DS_ALARMS_IN_MANUAL_MODE, 0);
    emit nextPage();
}

void ConfigMachineCalPressSensorMaxPressure::showHelp(int id)
{
    const int decimalsMax = PageValues::decimals(UQ_PRESSURE_SENSOR_MAX);
    const int decimalsRef = PageValues::decimals(UQ_REFERENCE_PRESSURE);
    switch (id) {
    case MaxHelp:
        SettingPageKit::showRangeHelp(
            tr("Maximum Pressure", "definition header"),
            tr("Enter the maximum allowed pressure limit for the liquid pressure sensor. Use Automatic Calibration "
               "to calculate the maximum pressure automatically. Range is %L1 through %L2 %3.",
               "Maximum Pressure definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_PRESSURE_SENSOR_MAX),
            PageValues::itemDisplayMaximum(UQ_PRESSURE_SENSOR_MAX), decimalsMax, pressureUnitText());
        break;
    case RefHelp:
        SettingPageKit::showRangeHelp(
            tr("Reference Pressure", "definition header"),
            tr("Enter the pressure value used as reference for the actual liquid pressure sensor calibration. "
               "Range is %L1 through %L2 %3.",
               "Reference Pressure definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_REFERENCE_PRESSURE),
            PageValues::itemDisplayMaximum(UQ_REFERENCE_PRESSURE), decimalsRef, pressureUnitText());
        break;
    case AutoHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("If the maximum pressure is not known or to make sure the value is correct, automatic calibration "
               "establishes the calibration.\nPress \"Calibrate\" to start an automatic calibration of the sensor. "
               "Follow the series of instructions displayed.",
               "Automatic Calibration definition"));
        break;
    case CalibrateHelp:
        SettingPageKit::showHelp(
            tr("Calibrate", "definition header"),
            tr("Activate Master valve and increase/decrease pressure. Make sure all section valves are open before "
               "opening Master valve; otherwise, the pressure could build and damage the system.",
               "Automatic Calibration Instructions definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineCalPressSensorMaxPressure::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalPressSensorMaxPressure::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (SettingPageKit::programCaused(event))
        refreshValues();
}

void ConfigMachineCalPressSensorMaxPressure::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
