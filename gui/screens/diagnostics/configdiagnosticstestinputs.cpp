#include "configdiagnosticstestinputs.h"

#include "datastore.h"
#include "diagnosticsrows.h"
#include "diagnosticstexts.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "io_if.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigDiagnosticsTestInputs::ConfigDiagnosticsTestInputs(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    setObjectName(QStringLiteral("ConfigDiagnosticsTestInputs"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestInputs::handleButtonBarPressed);

    static const char* const kValueNames[RowCount] = {"m_implementWheelValue", "m_tractorWheelValue",
                                                      "m_supplyVoltageValue", "m_flowSensorValue"};
    for (int row = 0; row < RowCount; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigDiagnosticsTestInputs::showHelp, nullptr);
        mValues[row] = DiagnosticsRows::addValueButton(mKit, row, kValueNames[row]);
        if (row != SupplyRow)
            connect(mValues[row], &KestromPushButton::takeAction, this,
                    &ConfigDiagnosticsTestInputs::clearImpCount);
    }
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigDiagnosticsTestInputs::~ConfigDiagnosticsTestInputs() = default;

void ConfigDiagnosticsTestInputs::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Inputs (1)", "pathway text"));
    mLabels[ImplementRow]->setText(tr("Implement Wheel Sensor", "setting label"));
    mLabels[TractorRow]->setText(tr("Tractor Wheel Sensor", "setting label"));
    mLabels[SupplyRow]->setText(tr("Supply Voltage", "setting label"));
    mLabels[FlowRow]->setText(tr("Flow Sensor", "setting label"));
    refreshValues();
}

void ConfigDiagnosticsTestInputs::refreshValues()
{
    const QString pulses = tr("%1 p", "abbr for pulse, %1 is the value");
    mValues[ImplementRow]->setText(DiagnosticsTexts::pulseText(pulses, datastoreGetSint32(DS_TEST_PULSES_A)));
    mValues[TractorRow]->setText(DiagnosticsTexts::pulseText(pulses, datastoreGetSint32(DS_TEST_PULSES_B)));
    mValues[SupplyRow]->setText(
        DiagnosticsTexts::voltText(tr("%1 V", "abbr for Volt, %1 is the value"), io_ifGetSupplyVoltage()));
    // In test mode the core keeps the flow sensor's count in this item, whose
    // catalogue name is that of its other use.
    mValues[FlowRow]->setText(DiagnosticsTexts::pulseText(pulses, datastoreGetSint32(DS_SUPPLY_VOLTAGE)));
}

void ConfigDiagnosticsTestInputs::timedUpdate()
{
    refreshValues();
}

void ConfigDiagnosticsTestInputs::clearImpCount(int)
{
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_CLEAR_PULSE_COUNT, 0);
}

void ConfigDiagnosticsTestInputs::showHelp(int row)
{
    const QString sensorHelp =
        tr("Test the sensor by activating it and watching the pulse count increase.\nTo reset all Test Input "
           "pulse counts to 0, press pulse value.",
           "sensor input definition - same definition for all sensors");
    switch (row) {
    case ImplementRow:
        SettingPageKit::showHelp(tr("Implement Wheel Sensor", "definition header"), sensorHelp);
        break;
    case TractorRow:
        SettingPageKit::showHelp(tr("Tractor Wheel Sensor", "definition header"), sensorHelp);
        break;
    case SupplyRow:
        SettingPageKit::showHelp(tr("Supply Voltage", "definition header"), tr("Shows the given supply voltage."));
        break;
    case FlowRow:
        SettingPageKit::showHelp(tr("Flow Sensor", "definition header"), sensorHelp);
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestInputs::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigDiagnosticsTestInputs::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    refreshValues();
}

void ConfigDiagnosticsTestInputs::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestInputs::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
