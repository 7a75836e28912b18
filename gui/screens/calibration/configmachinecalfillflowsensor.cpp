#include "configmachinecalfillflowsensor.h"

#include "calibrationresources.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "flowcalunits.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QVariant>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;
constexpr uint16_t kFillFlowMeter = 1;
constexpr uint16_t kFillFlowProcedure = 2;
// The core computes a number only from more pulses than this.
constexpr uint32_t kFewestPulses = 10;

enum Row { CountRow = 0, VolumeRow = 1, AutomaticRow = 2 };

bool masterValveCalOn()
{
    return datastoreGetBool(DS_MASTER_VALVE_CAL) != 0;
}

}  // namespace

ConfigMachineCalFillFlowSensor::ConfigMachineCalFillFlowSensor(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mKit(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalFillFlowSensor"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalFillFlowSensor::handleButtonBarPressed);

    mNumberLabel = mKit->addLabelButton(CountRow, this, &ConfigMachineCalFillFlowSensor::showHelp);
    mNumberLabel->setId(NumberHelp);
    mNumberValue = mKit->addValueButton(CountRow, "m_calibNumberValue");
    connect(mNumberValue, &KestromPushButton::takeAction, this, &ConfigMachineCalFillFlowSensor::editCalibValue);
    // The pulse count takes the number row's cells while counting.
    mPulseLabel = mKit->addLabelButton(CountRow, this, &ConfigMachineCalFillFlowSensor::showHelp);
    mPulseLabel->setId(PulseCountHelp);
    mPulseValue = new QLabel(this);
    mPulseValue->setObjectName(QStringLiteral("m_lblPulseCount"));
    mPulseValue->setProperty("hasBorder", QVariant(true));
    mPulseValue->setAlignment(Qt::AlignCenter);
    mPulseValue->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(CountRow, mPulseValue);

    mVolumeLabel = mKit->addLabelButton(VolumeRow, this, &ConfigMachineCalFillFlowSensor::showHelp);
    mVolumeLabel->setId(VolumeHelp);
    mVolumeValue = mKit->addValueButton(VolumeRow, "m_collectedVolumeValue");
    connect(mVolumeValue, &KestromPushButton::takeAction, this,
            &ConfigMachineCalFillFlowSensor::editCalibVolumeValue);

    mAutoLabel = mKit->addLabelButton(AutomaticRow, this, &ConfigMachineCalFillFlowSensor::showHelp);
    mCalibrateButton = new KestromPushButton(ArmedHelp, this);
    mCalibrateButton->setObjectName(QStringLiteral("m_calibrateButton"));
    mCalibrateButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(AutomaticRow, mCalibrateButton);
    connect(mCalibrateButton, &KestromPushButton::takeAction, this, &ConfigMachineCalFillFlowSensor::startCalibration);
    mStartStopButton = new KestromPushButton(this);
    mStartStopButton->setObjectName(QStringLiteral("m_startStopButton"));
    mStartStopButton->setMinimumSize(GuiGeometry::menuButtonSize());
    mKit->addRowWidget(AutomaticRow, mStartStopButton);
    connect(mStartStopButton, &KestromPushButton::takeAction, this,
            &ConfigMachineCalFillFlowSensor::masterValveActivate);
    mDoneButton = new KestromPushButton(this);
    mDoneButton->setObjectName(QStringLiteral("m_doneButton"));
    mDoneButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(AutomaticRow, mDoneButton);
    connect(mDoneButton, &KestromPushButton::takeAction, this, &ConfigMachineCalFillFlowSensor::masterValveActivate);
    mKit->column()->addStretch(10);

    mNumberKeypad = mKit->addKeypad();
    mVolumeKeypad = mKit->addKeypad();
    showIdle();
    retranslate();
}

ConfigMachineCalFillFlowSensor::~ConfigMachineCalFillFlowSensor() = default;

QString ConfigMachineCalFillFlowSensor::pulseUnit() const
{
    switch (FlowCalUnits::family()) {
    case FlowCalUnits::Family::Metric:
        return tr("p/l", "Abbr for pulses/liter");
    case FlowCalUnits::Family::Gallons:
        return tr("p/gal", "Abbr for pulses/gallon");
    default:
        return QString();
    }
}

QString ConfigMachineCalFillFlowSensor::volumeUnit(bool longName) const
{
    switch (FlowCalUnits::family()) {
    case FlowCalUnits::Family::Metric:
        return longName ? tr("liter") : tr("l", "abbr for liter");
    case FlowCalUnits::Family::Gallons:
        return longName ? tr("gallon") : tr("gal", "Abbr for gallon");
    default:
        return QString();
    }
}

QString ConfigMachineCalFillFlowSensor::minimumVolumeText() const
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

void ConfigMachineCalFillFlowSensor::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Calibrations", "pathway text"),
                      tr("Fill Flow Sensor", "pathway text")});
    mNumberLabel->setText(tr("Calibration Number", "settings label"));
    SettingPageKit::setLabelText(mAutoLabel, tr("Automatic Calibration", "settings label"));
    mPulseLabel->setText(tr("Pulse Count", "settings label"));
    mVolumeLabel->setText(tr("Collected Volume", "settings label"));
    mCalibrateButton->setText(tr("Calibrate", "button"));
    mDoneButton->setText(tr("Done", "button"));
    refreshNumber();
    refreshPulseCount();
    refreshVolume();
}

void ConfigMachineCalFillFlowSensor::refreshNumber()
{
    mNumberValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value. %2 is the units."),
                                                       UQ_FILL_FLOW_CAL_NUMBER, pulseUnit()));
}

void ConfigMachineCalFillFlowSensor::refreshPulseCount()
{
    mPulseValue->setText(tr("%1 p", "%1 is the value. \"p\" is the abbr. for pulses")
                             .arg(static_cast<qulonglong>(datastoreGetUint32(DS_CAL_PULSE_COUNT))));
}

void ConfigMachineCalFillFlowSensor::refreshVolume()
{
    mVolumeValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value. %2 is the units."), mShownVolume,
                                                    PageValues::decimals(UQ_COLLECTED_VOLUME), volumeUnit(false)));
}

void ConfigMachineCalFillFlowSensor::showCountRows(bool counting, bool volume)
{
    mNumberLabel->setVisible(!counting);
    mNumberValue->setVisible(!counting);
    mPulseLabel->setVisible(counting);
    mPulseValue->setVisible(counting);
    mVolumeLabel->setVisible(volume);
    mVolumeValue->setVisible(volume);
}

void ConfigMachineCalFillFlowSensor::setStartStopIcon(bool start)
{
    mStartStopButton->setSvgIcon(start ? ":/images/section_on.svg" : ":/images/section_off.svg",
                                 GuiGeometry::homeViewIconSize());
}

void ConfigMachineCalFillFlowSensor::showIdle()
{
    mCalibrateButton->show();
    mStartStopButton->hide();
    mDoneButton->hide();
    mAutoLabel->setId(AutomaticHelp);
    mStarted = false;
    mStopped = false;
    mCompleted = false;
    showCountRows(false, false);
    mDoneButton->setEnabled(false);
    setStartStopIcon(true);
}

void ConfigMachineCalFillFlowSensor::timedUpdate()
{
    refreshNumber();
    refreshPulseCount();
}

void ConfigMachineCalFillFlowSensor::editCalibValue()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_FILL_FLOW_CAL_NUMBER, pulseUnit());
    setting.title = tr("Calibration Number (%1)", "keyboard header. %1 is the units.").arg(pulseUnit());
    mKit->openKeypad(mNumberKeypad, setting, this, &ConfigMachineCalFillFlowSensor::commitCalibValue);
}

void ConfigMachineCalFillFlowSensor::commitCalibValue(double value)
{
    unitSetItemFromDisplay(UQ_FILL_FLOW_CAL_NUMBER,
                           PageValues::displayInteger(value, unitGetScale(UQ_FILL_FLOW_CAL_NUMBER)));
    refreshNumber();
}

void ConfigMachineCalFillFlowSensor::editCalibVolumeValue()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_COLLECTED_VOLUME, volumeUnit(true));
    setting.value = 0.0;
    setting.title = tr("Collected Volume (%1)", "keyboard header. %1 is the units.").arg(volumeUnit(true));
    mKit->openKeypad(mVolumeKeypad, setting, this, &ConfigMachineCalFillFlowSensor::commitCalibVolumeValue);
}

void ConfigMachineCalFillFlowSensor::commitCalibVolumeValue(double value)
{
    mShownVolume = value;
    processEvent(EV_SET_CAL_VOLUME, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_COLLECTED_VOLUME, value)));
    refreshVolume();
    mDoneButton->setEnabled(true);
}

void ConfigMachineCalFillFlowSensor::startCalibration()
{
    showHelp(mCalibrateButton->id());
    SettingPageKit::setPageMode(PageMode::Calibration);
    datastoreSetUint16(DS_FLOW_CAL_METER, kFillFlowMeter);
    datastoreSetUint16(DS_FLOW_CAL_STATE, kFillFlowProcedure);
    eventPost(kEventOwner, EV_CAL_RESET, 0);
    // A new run is not the earlier completed one: leaving it must reset the core.
    mCompleted = false;
    mCalibrateButton->hide();
    mStartStopButton->show();
    mDoneButton->hide();
    mAutoLabel->setId(ArmedHelp);
    refreshVolume();
}

void ConfigMachineCalFillFlowSensor::masterValveActivate()
{
    if (!mStarted) {
        mCalibrateButton->hide();
        mDoneButton->hide();
        mStartStopButton->show();
        mStarted = true;
        showCountRows(true, false);
        mAutoLabel->setId(CountingHelp);
        if (!masterValveCalOn()) {
            eventPost(kEventOwner, EV_CAL_MASTER_VALVE, 0);
            setStartStopIcon(false);
        }
    } else if (!mStopped) {
        mCalibrateButton->hide();
        mStartStopButton->hide();
        mDoneButton->show();
        showCountRows(true, true);
        mStopped = true;
        mAutoLabel->setId(VolumeEntryHelp);
        if (masterValveCalOn()) {
            eventPost(kEventOwner, EV_CAL_MASTER_VALVE, 0);
            setStartStopIcon(true);
        }
    } else {
        mCalibrateButton->show();
        mStartStopButton->hide();
        mDoneButton->hide();
        mAutoLabel->setId(AutomaticHelp);
        if (datastoreGetUint32(DS_CAL_PULSE_COUNT) > kFewestPulses) {
            eventPost(kEventOwner, EV_CAL_VOLUME_ENTERED, 0);
            mCompleted = true;
        }
        showCountRows(false, false);
        mStarted = false;
        mStopped = false;
        mShownVolume = 0.0;
        mDoneButton->setEnabled(false);
        refreshVolume();
    }
}

void ConfigMachineCalFillFlowSensor::abortCalibration()
{
    eventPost(kEventOwner, EV_CAL_RESET, 0);
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigMachineCalFillFlowSensor::showHelp(int id)
{
    const QString volumeTitle = tr("Collected Volume", "definition header");
    switch (id) {
    case NumberHelp:
        SettingPageKit::showHelp(
            tr("Calibration Number", "definition header"),
            tr("Enter the amount of pulses counted while running 1 %1 of water through the flow sensor. Use Automatic "
               "Calibration to calculate the pulses automatically. Range is %L2 through %L3 pulses.",
               "Calibration Number definition. %1 is the water units. %L2 & %L3 are the range values.")
                .arg(volumeUnit(true))
                .arg(PageValues::itemDisplayMinimum(UQ_FILL_FLOW_CAL_NUMBER), 0, 'f',
                     PageValues::decimals(UQ_FILL_FLOW_CAL_NUMBER))
                .arg(PageValues::itemDisplayMaximum(UQ_FILL_FLOW_CAL_NUMBER), 0, 'f',
                     PageValues::decimals(UQ_FILL_FLOW_CAL_NUMBER)));
        break;
    case AutomaticHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("If the number of pulses is not known or to make sure the value is correct, automatic calibration "
               "establishes the calibration. \nPress \"Calibrate\" to start an automatic calibration of the sensor. "
               "Follow the series of instructions displayed.",
               "Automatic Calibration definition"));
        break;
    case ArmedHelp:
        SettingPageKit::showHelp(
            tr("Automatic Calibration", "definition header"),
            tr("Prepare to collect the 'medium' via the Fill Flow Sensor (minimum %1). Press the Start Spraying icon to "
               "begin calibration.",
               "Automatic Calibration sequence step 1: Start Calibration. %1 is the minimum volume with unit string.")
                .arg(minimumVolumeText()));
        break;
    case CountingHelp:
        SettingPageKit::showHelp(tr("Automatic Calibration", "definition header"),
                                 tr("When desired amount has been collected, press the Stop Spraying icon.",
                                    "Automatic Calibration sequence step 2: Stop Calibration."));
        break;
    case PulseCountHelp:
        SettingPageKit::showHelp(tr("Pulse Count", "definition header"),
                                 tr("Shows the number of pulses during calibration. Minimum of 10 pulses needed to do "
                                    "a calibration.",
                                    "Pulse Count definition"));
        break;
    case VolumeEntryHelp:
    case VolumeHelp:
        SettingPageKit::showRangeHelp(
            volumeTitle,
            tr("Enter the collected volume. Press \"Done\" when complete. To cancel the calibration, press Return "
               "Arrow or Home button. Range is %L1 through %L2 %3."),
            PageValues::itemDisplayMinimum(UQ_COLLECTED_VOLUME), PageValues::itemDisplayMaximum(UQ_COLLECTED_VOLUME),
            PageValues::decimals(UQ_COLLECTED_VOLUME), volumeUnit(true));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineCalFillFlowSensor::handleButtonBarPressed(int id)
{
    if (id != ToolsViewButtonBar::Back && id != ToolsViewButtonBar::Home)
        return;
    // Reset at once, not queued: the fill valve closes before the page goes.
    if (!mCompleted) {
        processEvent(EV_CAL_RESET, 0);
        SettingPageKit::setPageMode(PageMode::Home);
    }
    SettingPageKit::navigate(this, id);
}

void ConfigMachineCalFillFlowSensor::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (SettingPageKit::programCaused(event))
        showIdle();
}

void ConfigMachineCalFillFlowSensor::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
