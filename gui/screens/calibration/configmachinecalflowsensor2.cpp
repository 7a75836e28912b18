#include "configmachinecalflowsensor2.h"

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

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVariant>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;
// The core computes a number only from more pulses than this.
constexpr uint32_t kFewestPulses = 10;

enum Row { PulseRow = 0, VolumeRow = 1 };

bool masterSwitchOn()
{
    return datastoreGetBool(DS_MASTER_SWITCH) != 0;
}

bool masterValveCalOn()
{
    return datastoreGetBool(DS_MASTER_VALVE_CAL) != 0;
}

}  // namespace

ConfigMachineCalFlowSensor2::ConfigMachineCalFlowSensor2(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mKit(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalFlowSensor2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalFlowSensor2::handleButtonBarPressed);

    mPulseLabel = mKit->addLabelButton(PulseRow, this, &ConfigMachineCalFlowSensor2::showHelp);
    mPulseValue = new QLabel(this);
    mPulseValue->setObjectName(QStringLiteral("m_lblPulseCount"));
    mPulseValue->setProperty("hasBorder", true);
    mPulseValue->setAlignment(Qt::AlignCenter);
    mPulseValue->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(PulseRow, mPulseValue);

    mVolumeLabel = mKit->addLabelButton(VolumeRow, this, &ConfigMachineCalFlowSensor2::showHelp);
    mVolumeValue = mKit->addValueButton(VolumeRow, "m_collectedVolumeValue");
    mVolumeValue->setEnabled(false);
    connect(mVolumeValue, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor2::editCalibVolumeValue);

    mMasterIndicator = new KestromPushButton(this);
    mMasterIndicator->setObjectName(QStringLiteral("m_masterIndicator"));
    mMasterIndicator->setProperty("transparent", true);
    mMasterIndicator->setMinimumSize(GuiGeometry::menuButtonSize());
    mCancelButton = new KestromPushButton(this);
    mCancelButton->setObjectName(QStringLiteral("m_cancelButton"));
    mCancelButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mCancelButton, &KestromPushButton::takeAction, this, &ConfigMachineCalFlowSensor2::calibrationCancel);
    QHBoxLayout* controls = new QHBoxLayout;
    controls->addStretch(5);
    controls->addWidget(mMasterIndicator);
    controls->addWidget(mCancelButton);
    controls->addStretch(5);
    mKit->column()->addStretch(2);
    mKit->column()->addLayout(controls);
    mKit->column()->addStretch(10);

    mKeypad = mKit->addKeypad();
    masterValveStatusChanged(false);
    retranslate();
}

ConfigMachineCalFlowSensor2::~ConfigMachineCalFlowSensor2() = default;

QString ConfigMachineCalFlowSensor2::volumeUnit(bool longName) const
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

void ConfigMachineCalFlowSensor2::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Calibrations", "pathway text"),
                      tr("Flow Sensor", "pathway text")});
    mPulseLabel->setText(tr("Pulse Count", "setting label"));
    mVolumeLabel->setText(tr("Collected Volume", "setting label"));
    mCancelButton->setText(tr("Cancel", "button"));
    refreshPulseCount();
    refreshVolume();
}

void ConfigMachineCalFlowSensor2::refreshPulseCount()
{
    mPulseValue->setText(
        tr("%L1 p", "abbr for pulse, %L1 is the value").arg(static_cast<qulonglong>(datastoreGetUint32(DS_CAL_PULSE_COUNT))));
}

void ConfigMachineCalFlowSensor2::refreshVolume()
{
    // The entry goes to the core; the button keeps asking for a new one.
    mVolumeValue->setText(tr("%L1 %2", "%L1 is the value. %2 is the units.").arg(0).arg(volumeUnit(false)));
}

void ConfigMachineCalFlowSensor2::timedUpdate()
{
    refreshPulseCount();
    const bool on = masterSwitchOn();
    if (on != mMasterOn) {
        mMasterOn = on;
        masterValveActivate();
    }
}

void ConfigMachineCalFlowSensor2::masterValveActivate()
{
    const bool on = masterSwitchOn();
    if (!on) {
        refreshPulseCount();
        mVolumeValue->setEnabled(true);
        if (masterValveCalOn())
            eventPost(kEventOwner, EV_CAL_MASTER_VALVE, 0);
    } else if (!masterValveCalOn()) {
        eventPost(kEventOwner, EV_CAL_MASTER_VALVE, 0);
    }
    masterValveStatusChanged(on);
}

void ConfigMachineCalFlowSensor2::masterValveStatusChanged(bool on)
{
    mMasterIndicator->setSvgIcon(on ? ":/images/section_on.svg" : ":/images/section_off.svg",
                                 GuiGeometry::iconSize40());
}

void ConfigMachineCalFlowSensor2::editCalibVolumeValue()
{
    if (!mVolumeValue->isEnabled())
        return;
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_COLLECTED_VOLUME, volumeUnit(true));
    setting.value = 0.0;
    setting.title = tr("Collected Volume (%1)", "keyboard header. %1 is the units.").arg(volumeUnit(false));
    mKit->openKeypad(mKeypad, setting, this, &ConfigMachineCalFlowSensor2::commitCalibVolumeValue);
}

void ConfigMachineCalFlowSensor2::commitCalibVolumeValue(double value)
{
    refreshVolume();
    mVolumeValue->setEnabled(false);
    processEvent(EV_SET_CAL_VOLUME, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_COLLECTED_VOLUME, value)));
    if (datastoreGetUint32(DS_CAL_PULSE_COUNT) > kFewestPulses)
        eventPost(kEventOwner, EV_CAL_VOLUME_ENTERED, 0);
    SettingPageKit::setPageMode(PageMode::Home);
    refreshVolume();
    emit nextPage();
}

void ConfigMachineCalFlowSensor2::calibrationCancel()
{
    refreshPulseCount();
    mVolumeValue->setEnabled(false);
    eventPost(kEventOwner, EV_CAL_RESET, 0);
    SettingPageKit::setPageMode(PageMode::Home);
    datastoreSetBool(DS_MASTER_SWITCH, 0);
    masterValveStatusChanged(false);
    emit nextPage();
}

void ConfigMachineCalFlowSensor2::showHelp(int id)
{
    switch (id) {
    case PulseRow:
        SettingPageKit::showHelp(tr("Pulse Count", "definition header"),
                                 tr("Shows the number of pulses during calibration. Minimum of 10 pulses needed to do "
                                    "a calibration.",
                                    "Pulse Count definition"));
        break;
    case VolumeRow:
        SettingPageKit::showRangeHelp(
            tr("Collected Volume", "definition header"),
            tr("Enter the volume passed through the flow sensor during the calibration. Once encoded - a new flow "
               "sensor calibration value is calculated. Range is %L1 through %L2 %3.",
               "Collected Volume definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_COLLECTED_VOLUME), PageValues::itemDisplayMaximum(UQ_COLLECTED_VOLUME),
            PageValues::decimals(UQ_COLLECTED_VOLUME), volumeUnit(true));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineCalFlowSensor2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
    calibrationCancel();
}

void ConfigMachineCalFlowSensor2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
