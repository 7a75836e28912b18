#include "configoemregulationdetails.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "processevent.h"
#include "regulationrows.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>

namespace ToolsViewWidgets {

namespace {

enum Row { MinPressureRow = 0, MaxPressureRow = 1, ValveTimeRow = 2, VoltageRow = 3 };

// Fixed keypad ranges: the store limits of the tenths items divided by 10.
constexpr double kValveTimeMin = 1.0;
constexpr double kValveTimeMax = 60.0;
constexpr double kVoltageMin = 0.0;
constexpr double kVoltageMax = 12.0;

}  // namespace

ConfigOemRegulationDetails::ConfigOemRegulationDetails(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemRegulationDetails"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigOemRegulationDetails::handleButtonBarPressed);
    RegulationRows::build(mKit, this, RowCount, mLabels, mValues, mKeypads, 10);
    connect(mValues[MinPressureRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails::editMinRegPressure);
    connect(mValues[MaxPressureRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails::editMaxRegPressure);
    connect(mValues[ValveTimeRow], &KestromPushButton::takeAction, this, &ConfigOemRegulationDetails::editRegValveTime);
    connect(mValues[VoltageRow], &KestromPushButton::takeAction, this, &ConfigOemRegulationDetails::editMinRegVoltage);
    mValues[MinPressureRow]->setObjectName(QStringLiteral("m_btnMinRegPressureValue"));
    mValues[MaxPressureRow]->setObjectName(QStringLiteral("m_btnMaxRegPressureValue"));
    mValues[ValveTimeRow]->setObjectName(QStringLiteral("m_btnRegValveTimeValue"));
    mValues[VoltageRow]->setObjectName(QStringLiteral("m_btnMinRegVoltageValue"));
    retranslate();
}

ConfigOemRegulationDetails::~ConfigOemRegulationDetails() = default;

QString ConfigOemRegulationDetails::pressureUnitText() const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return tr("bar", "metric unit of pressure");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return tr("psi", "Abbr for US unit of pressure, pounds per square inch");
    default:
        return QString();
    }
}

void ConfigOemRegulationDetails::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Regulation Details (1)", "pathway text")});
    SettingPageKit::setLabelText(mLabels[MinPressureRow], tr("Minimum Regulation Pressure", "setting label"));
    SettingPageKit::setLabelText(mLabels[MaxPressureRow], tr("Maximum Regulation Pressure", "setting label"));
    mLabels[ValveTimeRow]->setText(tr("Regulation Valve Time", "setting label"));
    SettingPageKit::setLabelText(mLabels[VoltageRow], tr("Minimum Regulation Voltage", "setting label"));
    refreshMinPressure();
    refreshMaxPressure();
    refreshValveTime();
    refreshVoltage();
}

void ConfigOemRegulationDetails::refreshMinPressure()
{
    mValues[MinPressureRow]->setText(SettingPageKit::quantityText(
        tr("%L1 %2", "%1 is the value, %2 is the units"), UQ_MIN_REG_PRESSURE, pressureUnitText()));
}

void ConfigOemRegulationDetails::refreshMaxPressure()
{
    mValues[MaxPressureRow]->setText(SettingPageKit::quantityText(
        tr("%L1 %2", "%1 is the value, %2 is the units"), UQ_MAX_REG_PRESSURE, pressureUnitText()));
}

void ConfigOemRegulationDetails::refreshValveTime()
{
    mValues[ValveTimeRow]->setText(tr("%L1 sec", "%1 is the value. sec is the abbr for seconds.")
                                       .arg(RegulationRows::tenths(DS_REG_VALVE_TIME), 0, 'f', 1));
}

void ConfigOemRegulationDetails::refreshVoltage()
{
    // A point whatever the locale.
    mValues[VoltageRow]->setText(tr("%1 V", "%1 is the value. V is the abbr for volts.")
                                     .arg(RegulationRows::tenths(DS_MIN_REG_VOLTAGE), 0, 'f', 1));
}

void ConfigOemRegulationDetails::editMinRegPressure()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_MIN_REG_PRESSURE, pressureUnitText());
    setting.title = tr("Minimum Regulation Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitText());
    mKit->openKeypad(mKeypads[MinPressureRow], setting, this, &ConfigOemRegulationDetails::commitMinRegPressure);
}

void ConfigOemRegulationDetails::commitMinRegPressure(double value)
{
    processEvent(EV_SET_MIN_REG_PRESSURE, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_MIN_REG_PRESSURE, value)));
    refreshMinPressure();
}

void ConfigOemRegulationDetails::editMaxRegPressure()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_MAX_REG_PRESSURE, pressureUnitText());
    setting.title = tr("Maximum Regulation Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitText());
    mKit->openKeypad(mKeypads[MaxPressureRow], setting, this, &ConfigOemRegulationDetails::commitMaxRegPressure);
}

void ConfigOemRegulationDetails::commitMaxRegPressure(double value)
{
    processEvent(EV_SET_MAX_REG_PRESSURE, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_MAX_REG_PRESSURE, value)));
    refreshMaxPressure();
}

void ConfigOemRegulationDetails::editRegValveTime()
{
    KeypadSetting setting;
    setting.value = RegulationRows::tenths(DS_REG_VALVE_TIME);
    setting.minimum = kValveTimeMin;
    setting.maximum = kValveTimeMax;
    setting.decimals = 1;
    setting.units = tr("seconds", "seconds");
    setting.title = tr("Regulation Valve Time (sec)", "keyboard header. sec is the abbr for seconds.");
    mKit->openKeypad(mKeypads[ValveTimeRow], setting, this, &ConfigOemRegulationDetails::commitRegValveTime);
}

void ConfigOemRegulationDetails::commitRegValveTime(double value)
{
    processEvent(EV_SET_REG_VALVE_TIME, RegulationRows::tenthsFromEntryRounded(value));
    refreshValveTime();
}

void ConfigOemRegulationDetails::editMinRegVoltage()
{
    KeypadSetting setting;
    setting.value = RegulationRows::tenths(DS_MIN_REG_VOLTAGE);
    setting.minimum = kVoltageMin;
    setting.maximum = kVoltageMax;
    setting.decimals = 1;
    setting.units = tr("volt");
    setting.title = tr("Minimum Regulation Voltage (V)", "keyboard header. V is the abbr for volts.");
    mKit->openKeypad(mKeypads[VoltageRow], setting, this, &ConfigOemRegulationDetails::commitMinRegVoltage);
}

void ConfigOemRegulationDetails::commitMinRegVoltage(double value)
{
    processEvent(EV_SET_MIN_REG_VOLTAGE, RegulationRows::tenthsFromEntryRounded(value));
    refreshVoltage();
}

void ConfigOemRegulationDetails::showHelp(int id)
{
    switch (id) {
    case MinPressureRow:
        SettingPageKit::showRangeHelp(
            tr("Minimum Regulation Pressure", "definition header"),
            tr("The working pressure will not drop lower than this level, even if a lower pressure is required by "
               "the regulation system. Range is %L1 through %L2 %3.",
               "Minimum Regulation Pressure definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_MIN_REG_PRESSURE), PageValues::itemDisplayMaximum(UQ_MIN_REG_PRESSURE),
            PageValues::decimals(UQ_MIN_REG_PRESSURE), pressureUnitText());
        break;
    case MaxPressureRow:
        SettingPageKit::showRangeHelp(
            tr("Maximum Regulation Pressure", "definition header"),
            tr("The working pressure will not rise higher than this level, even if a higher pressure can be "
               "obtained by the regulation system. Range is %L1 through %L2 %3.",
               "Maximum Regulation Pressure definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_MAX_REG_PRESSURE), PageValues::itemDisplayMaximum(UQ_MAX_REG_PRESSURE),
            PageValues::decimals(UQ_MAX_REG_PRESSURE), pressureUnitText());
        break;
    case ValveTimeRow:
        SettingPageKit::showHelp(
            tr("Regulation Valve Time", "definition header"),
            tr("The time, in seconds, for the regulation valve to go from fully closed to fully open (or vice "
               "versa). Range is %L1 through %L2 seconds.",
               "Regulation Valve Time definition. %L1 & %L2 are the range values.")
                .arg(kValveTimeMin, 0, 'f', 1)
                .arg(kValveTimeMax, 0, 'f', 1));
        break;
    case VoltageRow:
        SettingPageKit::showRangeHelp(
            tr("Minimum Regulation Voltage", "definition header"),
            tr("The lowest voltage at which the regulation valve will start to move. Minimum voltage must be found "
               "when the valve is under pressure, as this affects the force required to move the valve. Range is "
               "%L1 through %L2 %3.",
               "Minimum Regulation Voltage definition. %L1 & %L2 are the range values. %3 is the units."),
            kVoltageMin, kVoltageMax, 1, tr("volt"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemRegulationDetails::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigOemRegulationDetails::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    // Only the pressures depend on the unit system.
    refreshMinPressure();
    refreshMaxPressure();
}

void ConfigOemRegulationDetails::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
