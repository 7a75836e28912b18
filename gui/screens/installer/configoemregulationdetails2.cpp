#include "configoemregulationdetails2.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "installerlimits.h"
#include "processevent.h"
#include "regulationrows.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>

namespace ToolsViewWidgets {

namespace {

enum Row { DeadbandRow = 0, CapacityRow = 1, StartDelayRow = 2, ManualSpeedRow = 3 };

// The manual speed's fixed keypad range: its store limits divided by 10.
constexpr double kManualSpeedMin = 5.0;
constexpr double kManualSpeedMax = 100.0;

const QString kPercent = QStringLiteral("%");

}  // namespace

ConfigOemRegulationDetails2::ConfigOemRegulationDetails2(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemRegulationDetails2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigOemRegulationDetails2::handleButtonBarPressed);
    RegulationRows::build(mKit, this, RowCount, mLabels, mValues, mKeypads, 10);
    connect(mValues[DeadbandRow], &KestromPushButton::takeAction, this, &ConfigOemRegulationDetails2::editRegDeadband);
    connect(mValues[CapacityRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails2::editRegValveCapacity);
    connect(mValues[StartDelayRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails2::editRegStartDelay);
    connect(mValues[ManualSpeedRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails2::editManRegSpeed);
    mValues[DeadbandRow]->setObjectName(QStringLiteral("m_btnRegDeadbandValue"));
    mValues[CapacityRow]->setObjectName(QStringLiteral("m_btnRegValveCapacityValue"));
    mValues[StartDelayRow]->setObjectName(QStringLiteral("m_btnRegStartDelayValue"));
    mValues[ManualSpeedRow]->setObjectName(QStringLiteral("m_btnManRegSpeedValue"));
    retranslate();
}

ConfigOemRegulationDetails2::~ConfigOemRegulationDetails2() = default;

QString ConfigOemRegulationDetails2::flowUnitText(bool abbreviated) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return abbreviated ? tr("l/min", "abbr for liters per minute") : tr("liters/minute");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return abbreviated ? tr("gal/min", "Abbr for gallons per minute") : tr("gallons/minute");
    default:
        return QString();
    }
}

void ConfigOemRegulationDetails2::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Regulation Details (2)", "pathway text")});
    mLabels[DeadbandRow]->setText(tr("Regulation Deadband", "setting label"));
    mLabels[CapacityRow]->setText(tr("Regulation Valve Capacity", "setting label"));
    mLabels[StartDelayRow]->setText(tr("Regulation Start Delay", "setting label"));
    mLabels[ManualSpeedRow]->setText(tr("Manual Regulation Speed", "setting label"));
    refreshDeadband();
    refreshCapacity();
    refreshStartDelay();
    refreshManualSpeed();
}

void ConfigOemRegulationDetails2::refreshDeadband()
{
    mValues[DeadbandRow]->setText(
        tr("%L1%", "%L1 is the value").arg(RegulationRows::tenths(DS_REG_DEADBAND), 0, 'f', 1));
}

void ConfigOemRegulationDetails2::refreshCapacity()
{
    mValues[CapacityRow]->setText(SettingPageKit::quantityText(tr("%L1 %2", "%1 is the value, %2 is the units"),
                                                               UQ_REG_VALVE_CAPACITY, flowUnitText(true)));
}

void ConfigOemRegulationDetails2::refreshStartDelay()
{
    // A point whatever the locale.
    mValues[StartDelayRow]->setText(tr("%1 sec", "%1 is the value. sec is the abbr for seconds.")
                                        .arg(RegulationRows::tenths(DS_REG_START_DELAY), 0, 'f', 1));
}

void ConfigOemRegulationDetails2::refreshManualSpeed()
{
    mValues[ManualSpeedRow]->setText(
        tr("%L1%", "%L1 is the value").arg(RegulationRows::tenths(DS_MANUAL_REG_SPEED), 0, 'f', 1));
}

void ConfigOemRegulationDetails2::editRegDeadband()
{
    KeypadSetting setting;
    setting.value = RegulationRows::tenths(DS_REG_DEADBAND);
    setting.minimum = itemStoreMinimum(DS_REG_DEADBAND) / 10.0;
    setting.maximum = itemStoreMaximum(DS_REG_DEADBAND) / 10.0;
    setting.decimals = 1;
    setting.units = kPercent;
    setting.title = tr("Regulation Deadband (%)", "keyboard header");
    mKit->openKeypad(mKeypads[DeadbandRow], setting, this, &ConfigOemRegulationDetails2::commitRegDeadband);
}

void ConfigOemRegulationDetails2::commitRegDeadband(double value)
{
    processEvent(EV_SET_REG_DEADBAND, RegulationRows::tenthsFromEntry(value));
    refreshDeadband();
}

void ConfigOemRegulationDetails2::editRegValveCapacity()
{
    // The keypad names the long word, its header the abbreviation.
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_REG_VALVE_CAPACITY, flowUnitText(false));
    setting.title = tr("Regulation Valve Capacity (%1)", "keyboard header. %1 is the units.").arg(flowUnitText(true));
    mKit->openKeypad(mKeypads[CapacityRow], setting, this, &ConfigOemRegulationDetails2::commitRegValveCapacity);
}

void ConfigOemRegulationDetails2::commitRegValveCapacity(double value)
{
    processEvent(EV_SET_REG_VALVE_CAPACITY,
                 static_cast<uint32_t>(PageValues::baseFromTyped(UQ_REG_VALVE_CAPACITY, value)));
    refreshCapacity();
}

void ConfigOemRegulationDetails2::editRegStartDelay()
{
    KeypadSetting setting;
    setting.value = RegulationRows::tenths(DS_REG_START_DELAY);
    setting.minimum = itemStoreMinimum(DS_REG_START_DELAY) / 10.0;
    setting.maximum = itemStoreMaximum(DS_REG_START_DELAY) / 10.0;
    setting.decimals = 1;
    setting.units = tr("seconds", "seconds");
    setting.title = tr("Regulation Start Delay (sec)", "keyboard header");
    mKit->openKeypad(mKeypads[StartDelayRow], setting, this, &ConfigOemRegulationDetails2::commitRegStartDelay);
}

void ConfigOemRegulationDetails2::commitRegStartDelay(double value)
{
    processEvent(EV_SET_REG_START_DELAY, RegulationRows::tenthsFromEntry(value));
    refreshStartDelay();
}

void ConfigOemRegulationDetails2::editManRegSpeed()
{
    KeypadSetting setting;
    setting.value = RegulationRows::tenths(DS_MANUAL_REG_SPEED);
    setting.minimum = kManualSpeedMin;
    setting.maximum = kManualSpeedMax;
    setting.decimals = 1;
    setting.units = kPercent;
    setting.title = tr("Manual Regulation Speed (%)", "keyboard header");
    mKit->openKeypad(mKeypads[ManualSpeedRow], setting, this, &ConfigOemRegulationDetails2::commitManRegSpeed);
}

void ConfigOemRegulationDetails2::commitManRegSpeed(double value)
{
    processEvent(EV_SET_MAN_REG_SPEED, RegulationRows::tenthsFromEntry(value));
    refreshManualSpeed();
}

void ConfigOemRegulationDetails2::showHelp(int id)
{
    switch (id) {
    case DeadbandRow:
        SettingPageKit::showHelp(tr("Regulation Deadband", "definition header"),
                                 tr("Regulation will stop when the difference between the target rate and the "
                                    "actual rate is lower than the encoded deadband (percent of the target rate)."));
        break;
    case CapacityRow:
        SettingPageKit::showRangeHelp(
            tr("Regulation Valve Capacity", "definition header"),
            tr("Capacity for the regulation valve. Range is %L1 through %L2 %3.",
               "Regulation Valve Capacity definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_REG_VALVE_CAPACITY),
            PageValues::itemDisplayMaximum(UQ_REG_VALVE_CAPACITY), PageValues::decimals(UQ_REG_VALVE_CAPACITY),
            flowUnitText(false));
        break;
    case StartDelayRow:
        SettingPageKit::showHelp(
            tr("Regulation Start Delay", "definition header"),
            tr("Delay, in seconds, from when the main valve is switched on until regulation starts. Range is %L1 "
               "through %L2 seconds.",
               "Regulation Start Delay definition. %L1 & %L2 are the range values.")
                .arg(itemStoreMinimum(DS_REG_START_DELAY) / 10.0, 0, 'f', 1)
                .arg(itemStoreMaximum(DS_REG_START_DELAY) / 10.0, 0, 'f', 1));
        break;
    case ManualSpeedRow:
        SettingPageKit::showHelp(tr("Manual Regulation Speed", "definition header"),
                                 tr("Encode in percent of the regulation valve time the pace at which the "
                                    "regulation valve should move in manual operation.",
                                    "Manual Regulation Speed definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemRegulationDetails2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigOemRegulationDetails2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    // Only the capacity depends on the unit system.
    refreshCapacity();
}

void ConfigOemRegulationDetails2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
