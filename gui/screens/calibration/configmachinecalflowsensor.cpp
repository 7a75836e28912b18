#include "configmachinecalflowsensor.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "flowcalunits.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;
// The item holds thousandths of a pulse per litre.
constexpr uint32_t kNumberFactor = 1000;
constexpr uint16_t kMainFlowMeter = 0;
constexpr uint16_t kByVolumeProcedure = 1;

enum Row { NumberRow = 0, LowRow = 1, HighRow = 2, AutomaticRow = 4 };
enum HelpId { NumberHelp = 0, LowHelp = 1, HighHelp = 2, AutomaticHelp = 3, StartHelp = 4 };

double numberValue()
{
    return static_cast<double>(datastoreGetUint32(DS_FLOW_CAL_NUMBER)) / kNumberFactor;
}
double numberMinimum()
{
    return PageValues::itemMinimum(DS_FLOW_CAL_NUMBER) / kNumberFactor;
}
double numberMaximum()
{
    return PageValues::itemMaximum(DS_FLOW_CAL_NUMBER) / kNumberFactor;
}
int numberDecimals()
{
    return PageValues::decimals(UQ_FLOW_CAL_NUMBER);
}

}  // namespace

ConfigMachineCalFlowSensor::ConfigMachineCalFlowSensor(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mKit(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalFlowSensor"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalFlowSensor::handleButtonBarPressed);

    mNumberLabel = mKit->addLabelButton(NumberRow, this, &ConfigMachineCalFlowSensor::showHelp);
    mNumberLabel->setId(NumberHelp);
    mNumberValue = mKit->addValueButton(NumberRow, "m_calibNumberValue");
    connect(mNumberValue, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor::editCalibValue);

    mLowLabel = mKit->addLabelButton(LowRow, this, &ConfigMachineCalFlowSensor::showHelp);
    mLowLabel->setId(LowHelp);
    mLowValue = mKit->addValueButton(LowRow, "m_lowFlowLimitValue");
    connect(mLowValue, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor::editLowFlowLimitValue);

    mHighLabel = mKit->addLabelButton(HighRow, this, &ConfigMachineCalFlowSensor::showHelp);
    mHighLabel->setId(HighHelp);
    mHighValue = mKit->addValueButton(HighRow, "m_highFlowLimitValue");
    connect(mHighValue, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor::editHighFlowLimitValue);

    mAutoLabel = mKit->addLabelButton(AutomaticRow, this, &ConfigMachineCalFlowSensor::showHelp);
    mAutoLabel->setId(AutomaticHelp);
    mCalibrateButton = new KestromPushButton(StartHelp, this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    mCalibrateButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(AutomaticRow, mCalibrateButton);
    // The step-1 instruction first, then the start.
    connect(mCalibrateButton, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor::showHelp);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor::startCalibration);
    mKit->column()->addStretch(10);

    mNumberKeypad = mKit->addKeypad();
    mLowKeypad = mKit->addKeypad();
    mHighKeypad = mKit->addKeypad();
    retranslate();
}

ConfigMachineCalFlowSensor::~ConfigMachineCalFlowSensor() = default;

QString ConfigMachineCalFlowSensor::flowUnit(bool longName) const
{
    switch (FlowCalUnits::family()) {
    case FlowCalUnits::Family::Metric:
        return longName ? tr("liters/minute") : tr("l/min", "Abbr for liters/minute");
    case FlowCalUnits::Family::Gallons:
        return longName ? tr("gallons/minute") : tr("gal/min", "Abbr for gallons/minute");
    default:
        return QString();
    }
}

QString ConfigMachineCalFlowSensor::minimumVolumeText() const
{
    switch (FlowCalUnits::family()) {
    case FlowCalUnits::Family::Metric:
        return tr("100 liters", "minimum volume for Calibration sequence part 1.");
    case FlowCalUnits::Family::Gallons:
        return tr("25 gallons", "minimum volume for Calibration sequence part 1.");
    default:
        return QString();
    }
}

void ConfigMachineCalFlowSensor::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Calibrations", "pathway text"),
                      tr("Flow Sensor", "pathway text")});
    mNumberLabel->setText(tr("Calibration Number", "setting label"));
    mLowLabel->setText(tr("Low Flow Limit", "setting label"));
    mHighLabel->setText(tr("High Flow Limit", "setting label"));
    SettingPageKit::setLabelText(mAutoLabel, tr("Automatic Calibration", "setting label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    refreshValues();
}

void ConfigMachineCalFlowSensor::refreshValues()
{
    const QString format = tr("%L1 %2", "%L1 is the value. %2 is the units.");
    mNumberValue->setText(SettingPageKit::valueText(format, numberValue(), numberDecimals(),
                                                    tr("p/l", "abbr. for pulses/liter")));
    mLowValue->setText(SettingPageKit::quantityText(format, UQ_LOW_FLOW_LIMIT, flowUnit(false)));
    mHighValue->setText(SettingPageKit::quantityText(format, UQ_HIGH_FLOW_LIMIT, flowUnit(false)));
}

void ConfigMachineCalFlowSensor::timedUpdate()
{
    refreshValues();
}

void ConfigMachineCalFlowSensor::editCalibValue()
{
    KeypadSetting setting;
    setting.value = numberValue();
    setting.minimum = numberMinimum();
    setting.maximum = numberMaximum();
    setting.decimals = numberDecimals();
    setting.units = tr("p/l", "Abbr. for pulses/liter");
    setting.title = tr("Calibration Number (%1)", "keyboard header. %1 is the units.")
                        .arg(tr("p/l", "abbr. for pulses/liter"));
    mKit->openKeypad(mNumberKeypad, setting, this, &ConfigMachineCalFlowSensor::commitCalibValue);
}

void ConfigMachineCalFlowSensor::commitCalibValue(double value)
{
    datastoreSetUint32(DS_FLOW_CAL_NUMBER, static_cast<uint32_t>(PageValues::displayInteger(value, kNumberFactor)));
    refreshValues();
}

void ConfigMachineCalFlowSensor::editFlowLimit(uint32_t quantity, const QString& title,
                                               void (ConfigMachineCalFlowSensor::*commit)(double))
{
    KeypadSetting setting = KeypadSetting::forQuantity(quantity, flowUnit(true));
    setting.title = title;
    mKit->openKeypad(quantity == UQ_LOW_FLOW_LIMIT ? mLowKeypad : mHighKeypad, setting, this, commit);
}

void ConfigMachineCalFlowSensor::editLowFlowLimitValue()
{
    editFlowLimit(UQ_LOW_FLOW_LIMIT,
                  tr("Low Flow Limit (%1)", "keyboard header. %1 is the units.").arg(flowUnit(false)),
                  &ConfigMachineCalFlowSensor::commitLowFlowLimitValue);
}

void ConfigMachineCalFlowSensor::commitLowFlowLimitValue(double value)
{
    unitSetItemFromDisplay(UQ_LOW_FLOW_LIMIT, PageValues::displayInteger(value, unitGetScale(UQ_LOW_FLOW_LIMIT)));
}

void ConfigMachineCalFlowSensor::editHighFlowLimitValue()
{
    editFlowLimit(UQ_HIGH_FLOW_LIMIT,
                  tr("High Flow Limit (%1)", "keyboard header. %1 is the units.").arg(flowUnit(false)),
                  &ConfigMachineCalFlowSensor::commitHighFlowLimitValue);
}

void ConfigMachineCalFlowSensor::commitHighFlowLimitValue(double value)
{
    unitSetItemFromDisplay(UQ_HIGH_FLOW_LIMIT, PageValues::displayInteger(value, unitGetScale(UQ_HIGH_FLOW_LIMIT)));
}

void ConfigMachineCalFlowSensor::startCalibration()
{
    SettingPageKit::setPageMode(PageMode::Calibration);
    datastoreSetUint16(DS_FLOW_CAL_METER, kMainFlowMeter);
    datastoreSetUint16(DS_FLOW_CAL_STATE, kByVolumeProcedure);
    eventPost(kEventOwner, EV_CAL_RESET, 0);
    emit nextPage();
}

void ConfigMachineCalFlowSensor::showHelp(int id)
{
    switch (id) {
    case NumberHelp:
        SettingPageKit::showHelp(
            tr("Calibration Number", "definition header"),
            tr("Enter the amount of pulses counted while running 1 %1 of water through the flow sensor. Use Automatic "
               "Calibration to calculate the pulses automatically. Range is %L2 through %L3 pulses.",
               "Calibration Number definition. %1 is the water units. %L2 & %L3 are the range values.")
                .arg(tr("liter"))
                .arg(numberMinimum(), 0, 'f', numberDecimals())
                .arg(numberMaximum(), 0, 'f', numberDecimals()));
        break;
    case LowHelp:
        SettingPageKit::showRangeHelp(
            tr("Low Flow Limit", "definition header"),
            tr("Enter the flow sensors low limit value. Range is %L1 through %L2 %3.",
               "Low Flow Limit definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_LOW_FLOW_LIMIT), PageValues::itemDisplayMaximum(UQ_LOW_FLOW_LIMIT),
            PageValues::decimals(UQ_LOW_FLOW_LIMIT), flowUnit(true));
        break;
    case HighHelp:
        SettingPageKit::showRangeHelp(
            tr("High Flow Limit", "definition header"),
            tr("Enter the flow sensors high limit value. Range is %L1 through %L2 %3.",
               "High Flow Limit definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_HIGH_FLOW_LIMIT), PageValues::itemDisplayMaximum(UQ_HIGH_FLOW_LIMIT),
            PageValues::decimals(UQ_HIGH_FLOW_LIMIT), flowUnit(true));
        break;
    case AutomaticHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("If the number of pulses is not known or to make sure the value is correct, automatic calibration "
               "establishes the calibration. \nPress \"Calibrate\" to start an automatic calibration of the sensor. "
               "Follow the series of instructions displayed.",
               "Automatic Calibration definition"));
        break;
    case StartHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("Prepare to collect the 'medium' via the Flow Sensor (minimum %1). Make sure controller is in manual "
               "mode and flow is not regulated down. Turn on Master Switch to start calibration.",
               "Automatic Calibration sequence step 1: Start Calibration. %1 is the minimum volume with unit string.")
                .arg(minimumVolumeText()));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineCalFlowSensor::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalFlowSensor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
