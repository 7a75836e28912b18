#include "configdiagnosticstestinputs2.h"

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
#include <QLabel>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigDiagnosticsTestInputs2::ConfigDiagnosticsTestInputs2(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    setObjectName(QStringLiteral("ConfigDiagnosticsTestInputs2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestInputs2::handleButtonBarPressed);

    for (int row = 0; row < RowCount; ++row)
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigDiagnosticsTestInputs2::showHelp, nullptr);
    mFillFlowValue = DiagnosticsRows::addValueButton(mKit, FillFlowRow, "m_fillFlowSensorValue");
    connect(mFillFlowValue, &KestromPushButton::takeAction, this, &ConfigDiagnosticsTestInputs2::clearImpCount);
    mLiqPressSensorValue = DiagnosticsRows::addValueLabel(mKit, PressureRow, "m_lblLiqPressSensorValue");
    mTankLevelSensorValue = DiagnosticsRows::addValueLabel(mKit, TankRow, "m_lblTankLevelSensorValue");
    mMasterInputValue = DiagnosticsRows::addValueLabel(mKit, RemoteMasterRow, "m_lblMasterInputValue");
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(50);
    retranslate();
}

ConfigDiagnosticsTestInputs2::~ConfigDiagnosticsTestInputs2() = default;

void ConfigDiagnosticsTestInputs2::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Inputs (2)", "pathway text"));
    mLabels[FillFlowRow]->setText(tr("Fill Flow Sensor", "setting label"));
    mLabels[PressureRow]->setText(tr("Liquid Pressure Sensor", "setting label"));
    mLabels[TankRow]->setText(tr("Tank Level Sensor", "setting label"));
    mLabels[RemoteMasterRow]->setText(tr("Remote Master Signal", "setting label"));
    refreshValues();
}

void ConfigDiagnosticsTestInputs2::refreshValues()
{
    mFillFlowValue->setText(DiagnosticsTexts::pulseText(tr("%1 p", "abbr for pulse, %1 is the value"),
                                                        datastoreGetSint32(DS_TEST_PULSES_C)));
    const QString current = tr("%L1 mA");
    mLiqPressSensorValue->setText(DiagnosticsTexts::currentText(current, datastoreGetUint16(DS_ANALOG_INPUT_A)));
    mTankLevelSensorValue->setText(DiagnosticsTexts::currentText(current, datastoreGetUint16(DS_ANALOG_INPUT_B)));
    mMasterInputValue->setText(io_ifGetDigitalInput(IO_IF_INPUT_REMOTE_MASTER) != 0 ? tr("On") : tr("Off"));
}

void ConfigDiagnosticsTestInputs2::timedUpdate()
{
    refreshValues();
}

void ConfigDiagnosticsTestInputs2::clearImpCount(int)
{
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_CLEAR_PULSE_COUNT, 0);
}

void ConfigDiagnosticsTestInputs2::showHelp(int row)
{
    switch (row) {
    case FillFlowRow:
        SettingPageKit::showHelp(tr("Fill Flow Sensor", "definition header"),
                                 tr("Test the sensor by activating it and watching the pulse count increase.\nTo "
                                    "reset all Test Input pulse counts to 0, press pulse value.",
                                    "Fill Flow Sensor definition"));
        break;
    case PressureRow:
        SettingPageKit::showHelp(tr("Liquid Pressure Sensor", "definition header"),
                                 tr("Test the sensor by activating it and watching the value increase or decrease "
                                    "along with the pressure.",
                                    "Liquid Pressure Sensor definition"));
        break;
    case TankRow:
        SettingPageKit::showHelp(tr("Tank Level Sensor", "definition header"),
                                 tr("Test the sensor by activating it and watching the value increase or decrease "
                                    "along with the tank level.",
                                    "Tank Level Sensor definition"));
        break;
    case RemoteMasterRow:
        SettingPageKit::showHelp(tr("Remote Master Signal", "definition header"),
                                 tr("Test the signal by pushing the remote master on/off switch. Watch that the "
                                    "on/off status is reflected on screen.",
                                    "Remote Master Signal definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestInputs2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigDiagnosticsTestInputs2::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    const bool fillFlow = datastoreGetBool(DS_FILL_FLOW_SENSOR_PRESENT) != 0;
    mLabels[FillFlowRow]->setVisible(fillFlow);
    mFillFlowValue->setVisible(fillFlow);
    refreshValues();
}

void ConfigDiagnosticsTestInputs2::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestInputs2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
