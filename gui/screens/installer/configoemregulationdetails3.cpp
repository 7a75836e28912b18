#include "configoemregulationdetails3.h"

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

enum Row { RestrictorRow = 0, ValvePositionRow = 1 };

}  // namespace

ConfigOemRegulationDetails3::ConfigOemRegulationDetails3(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemRegulationDetails3"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigOemRegulationDetails3::handleButtonBarPressed);
    RegulationRows::build(mKit, this, RowCount, mLabels, mValues, mKeypads, 100);
    connect(mValues[RestrictorRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails3::editRestrictorPlateFlow);
    connect(mValues[ValvePositionRow], &KestromPushButton::takeAction, this,
            &ConfigOemRegulationDetails3::editDefaultValvePos);
    mValues[RestrictorRow]->setObjectName(QStringLiteral("m_btnRestrictorPlateFlowValue"));
    mValues[ValvePositionRow]->setObjectName(QStringLiteral("m_btnDefaultValvePositionValue"));
    retranslate();
}

ConfigOemRegulationDetails3::~ConfigOemRegulationDetails3() = default;

QString ConfigOemRegulationDetails3::flowUnitText(bool abbreviated) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return abbreviated ? tr("l/min", "Abbr for liters per minute") : tr("liters/minute");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return abbreviated ? tr("gal/min", "Abbr for gallons per minute") : tr("gallons/minute");
    default:
        return QString();
    }
}

void ConfigOemRegulationDetails3::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Regulation Details (3)", "pathway text")});
    mLabels[RestrictorRow]->setText(tr("Restrictor Plate Flow", "setting label"));
    mLabels[ValvePositionRow]->setText(tr("Default Valve Position", "setting label"));
    refreshRestrictorFlow();
    refreshDefaultValvePosition();
}

void ConfigOemRegulationDetails3::refreshRestrictorFlow()
{
    mValues[RestrictorRow]->setText(SettingPageKit::quantityText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                                 UQ_RESTRICTOR_PLATE_FLOW, flowUnitText(true)));
}

void ConfigOemRegulationDetails3::refreshDefaultValvePosition()
{
    mValues[ValvePositionRow]->setText(
        SettingPageKit::percentText(tr("%L1%", "%L1 is the value"), datastoreGetUint16(DS_DEFAULT_VALVE_POSITION)));
}

void ConfigOemRegulationDetails3::editRestrictorPlateFlow()
{
    // The keypad names the abbreviation, its header the long word.
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_RESTRICTOR_PLATE_FLOW, flowUnitText(true));
    setting.title = tr("Restrictor Plate Flow (%1)", "keyboard header. %1 is the units.").arg(flowUnitText(false));
    mKit->openKeypad(mKeypads[RestrictorRow], setting, this, &ConfigOemRegulationDetails3::commitRestrictorPlateFlow);
}

void ConfigOemRegulationDetails3::commitRestrictorPlateFlow(double value)
{
    processEvent(EV_SET_RESTRICTOR_FLOW,
                 static_cast<uint32_t>(PageValues::baseFromTyped(UQ_RESTRICTOR_PLATE_FLOW, value)));
    refreshRestrictorFlow();
}

void ConfigOemRegulationDetails3::editDefaultValvePos()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_DEFAULT_VALVE_POSITION);
    setting.minimum = itemStoreMinimum(DS_DEFAULT_VALVE_POSITION);
    setting.maximum = itemStoreMaximum(DS_DEFAULT_VALVE_POSITION);
    setting.decimals = 0;
    setting.units = QStringLiteral("%");
    setting.title = tr("Default Valve Position (%)", "keyboard heading");
    mKit->openKeypad(mKeypads[ValvePositionRow], setting, this,
                     &ConfigOemRegulationDetails3::commitDefaultValvePosition);
}

void ConfigOemRegulationDetails3::commitDefaultValvePosition(double value)
{
    processEvent(EV_SET_DEFAULT_VALVE_POSITION, RegulationRows::wholeFromEntry(value));
    refreshDefaultValvePosition();
}

void ConfigOemRegulationDetails3::showHelp(int id)
{
    switch (id) {
    case RestrictorRow:
        SettingPageKit::showRangeHelp(
            tr("Restrictor Plate Flow", "definition header"),
            tr("Capacity of the restrictor plate and is to be used when working with return flow (Circulation). "
               "Range is %L1 through %L2 %3.",
               "Restrictor Plate Flow definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_RESTRICTOR_PLATE_FLOW),
            PageValues::itemDisplayMaximum(UQ_RESTRICTOR_PLATE_FLOW), PageValues::decimals(UQ_RESTRICTOR_PLATE_FLOW),
            flowUnitText(true));
        break;
    case ValvePositionRow:
        SettingPageKit::showHelp(
            tr("Default Valve Position", "definition header"),
            tr("Default Valve Position is a percentage of the regulation valve activation time. Range is %1 through "
               "%2 %. 15 minutes after Master Switch has been turned off, the valve will completely close then open "
               "to the percentage specified.",
               "Default Valve Position definition.")
                .arg(QString::number(itemStoreMinimum(DS_DEFAULT_VALVE_POSITION)),
                     QString::number(itemStoreMaximum(DS_DEFAULT_VALVE_POSITION))));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemRegulationDetails3::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigOemRegulationDetails3::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    // Only the restrictor plate flow depends on the unit system.
    refreshRestrictorFlow();
}

void ConfigOemRegulationDetails3::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
