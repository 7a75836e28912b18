#include "configdiagnosticstestoutputs.h"

#include "buttongridwidget.h"
#include "datastore.h"
#include "diagnosticsrows.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum ValveState { Close = 0, Open = 1 };

}  // namespace

ConfigDiagnosticsTestOutputs::ConfigDiagnosticsTestOutputs(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    setObjectName(QStringLiteral("ConfigDiagnosticsTestOutputs"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestOutputs::handleButtonBarPressed);

    static const char* const kValueNames[RowCount] = {"m_liqValvePwmValue", "m_masterValveValue",
                                                      "m_fillValveValue"};
    for (int row = 0; row < RowCount; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigDiagnosticsTestOutputs::showHelp, nullptr);
        mValues[row] = DiagnosticsRows::addValueButton(mKit, row, kValueNames[row]);
    }
    connect(mValues[DutyRow], &KestromPushButton::takeAction, this,
            &ConfigDiagnosticsTestOutputs::editLiqValvePwmValue);
    connect(mValues[MasterRow], &KestromPushButton::takeAction, this, &ConfigDiagnosticsTestOutputs::editOnOffState);
    connect(mValues[FillRow], &KestromPushButton::takeAction, this, &ConfigDiagnosticsTestOutputs::editOnOffState);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);

    mKeypad = mKit->addKeypad();
    mKeypad->resize(GuiGeometry::pageContentSize());
    mGrid = mKit->addGrid();
    mGrid->resize(GuiGeometry::fullPageSize());
    mOpenOption = mKit->addOption(mGrid, Open);
    mCloseOption = mKit->addOption(mGrid, Close);
    for (KestromPushButton* option : {mOpenOption, mCloseOption}) {
        option->setMinimumSize(GuiGeometry::iconSize90());
        option->setIconSize(GuiGeometry::iconSize70());
    }
    mKit->layOutOptions(mGrid);
    retranslate();
}

ConfigDiagnosticsTestOutputs::~ConfigDiagnosticsTestOutputs() = default;

void ConfigDiagnosticsTestOutputs::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Outputs (1)", "pathway text"));
    SettingPageKit::setLabelText(mLabels[DutyRow], tr("Liquid Valve PWM Duty Cycle", "Settings label"));
    mLabels[MasterRow]->setText(tr("Master Valve", "Settings label"));
    mLabels[FillRow]->setText(tr("Fill Valve", "Settings label"));
    mOpenOption->setText(tr("Open", "small button"));
    mCloseOption->setText(tr("Close", "small button"));
    refreshValues();
}

QString ConfigDiagnosticsTestOutputs::valveText(int state) const
{
    return state == Open ? tr("Open", "button") : tr("Close", "button");
}

void ConfigDiagnosticsTestOutputs::refreshValues()
{
    int duty = datastoreGetUint16(DS_TEST_VALVE_PWM) / 10;
    // A duty of 0 has no sign, whichever way the valve was last driven.
    if (mDirection == 0)
        duty = -duty;
    mValues[DutyRow]->setText(SettingPageKit::percentText(tr("%L1%", "%L1 is the value"), duty));
    mValues[MasterRow]->setText(valveText(mMasterValveState));
    mValues[FillRow]->setText(valveText(mFillValveState));
}

void ConfigDiagnosticsTestOutputs::editLiqValvePwmValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_TEST_VALVE_PWM) / 10;
    setting.minimum = -100.0;
    setting.maximum = 100.0;
    setting.decimals = 0;
    setting.units = tr("%");
    setting.title = tr("Liquid Valve PWM Duty Cycle (%)", "keyboard header");
    mKit->openKeypad(mKeypad, setting, this, &ConfigDiagnosticsTestOutputs::commitLiqValvePwm);
}

void ConfigDiagnosticsTestOutputs::commitLiqValvePwm(double value)
{
    // The direction goes first, with the old duty; the new duty follows through
    // the item's change event.
    if (value < 0) {
        processEvent(EV_DIAG_LIQ_VALVE_PWM, 0);
        mDirection = 0;
        value = -value;
    } else {
        processEvent(EV_DIAG_LIQ_VALVE_PWM_SET, 0);
        mDirection = 1;
    }
    datastoreSetUint16(DS_TEST_VALVE_PWM, static_cast<uint16_t>(static_cast<int>(value) * 10));
    refreshValues();
}

void ConfigDiagnosticsTestOutputs::editOnOffState(int row)
{
    switch (row) {
    case MasterRow:
        mKit->openGrid(mGrid, mMasterValveState, this, &ConfigDiagnosticsTestOutputs::commitMasterValveOnOffState);
        break;
    case FillRow:
        mKit->openGrid(mGrid, mFillValveState, this, &ConfigDiagnosticsTestOutputs::commitFillValveOnOffState);
        break;
    default:
        break;
    }
}

void ConfigDiagnosticsTestOutputs::commitMasterValveOnOffState(int state)
{
    mMasterValveState = state;
    processEvent(EV_DIAG_MASTER_VALVE, static_cast<uint32_t>(state) & 0xFF);
    refreshValues();
}

void ConfigDiagnosticsTestOutputs::commitFillValveOnOffState(int state)
{
    mFillValveState = state;
    processEvent(EV_DIAG_FILL_VALVE, static_cast<uint32_t>(state) & 0xFF);
    refreshValues();
}

void ConfigDiagnosticsTestOutputs::showHelp(int row)
{
    switch (row) {
    case DutyRow:
        SettingPageKit::showHelp(tr("Liquid Valve PWM Duty Cycle", "definition header"),
                                 tr("Value is used to test the regulation valve at different percentages of duty "
                                    "cycle. 100% equals full speed. Range is -100% through 100%.",
                                    "Liquid Valve PWM Duty Cycle definition"));
        break;
    case MasterRow:
        SettingPageKit::showHelp(tr("Master Valve", "definition header"),
                                 tr("Select if the Master Valve is open or closed.", "Master Valve definition"));
        break;
    case FillRow:
        SettingPageKit::showHelp(tr("Fill Valve", "definition header"),
                                 tr("Select if the Fill Valve is open or closed.", "Fill Valve definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestOutputs::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigDiagnosticsTestOutputs::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_OUTPUT_TEST_BEGIN, 0);
    mDirection = 0;
    mMasterValveState = Close;
    mFillValveState = Close;
    refreshValues();
    const bool autoFilling = datastoreGetBool(DS_AUTO_FILLING_ENABLED) != 0;
    mLabels[FillRow]->setVisible(autoFilling);
    mValues[FillRow]->setVisible(autoFilling);
}

void ConfigDiagnosticsTestOutputs::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_OUTPUT_TEST_END, 0);
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestOutputs::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
