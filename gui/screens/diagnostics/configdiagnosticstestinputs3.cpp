#include "configdiagnosticstestinputs3.h"

#include "datastore.h"
#include "diagnosticsrows.h"
#include "diagnosticstexts.h"
#include "dscatalogue.h"
#include "io_if.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigDiagnosticsTestInputs3::ConfigDiagnosticsTestInputs3(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    setObjectName(QStringLiteral("ConfigDiagnosticsTestInputs3"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestInputs3::handleButtonBarPressed);

    for (int row = 0; row < RowCount; ++row)
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigDiagnosticsTestInputs3::showHelp, nullptr);
    mMasterInputValue = DiagnosticsRows::addValueLabel(mKit, MasterRow, "m_lblMasterInputValue");
    mSectionSwitchesValue = DiagnosticsRows::addValueLabel(mKit, SectionsRow, "m_lblSectionSwitchesValue");
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(50);
    retranslate();
}

ConfigDiagnosticsTestInputs3::~ConfigDiagnosticsTestInputs3() = default;

void ConfigDiagnosticsTestInputs3::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Inputs (3)", "pathway text"));
    mLabels[MasterRow]->setText(tr("Master Switch", "setting label"));
    mLabels[SectionsRow]->setText(tr("Section Switches", "setting label"));
    refreshValues();
}

QString ConfigDiagnosticsTestInputs3::sectionSwitches()
{
    uint16_t map[DiagnosticsTexts::SectionMapWords] = {};
    io_ifReadInputs(map);
    return DiagnosticsTexts::sectionSwitchString(map, datastoreGetUint16(DS_NUMBER_OF_SECTIONS));
}

void ConfigDiagnosticsTestInputs3::refreshValues()
{
    mMasterInputValue->setText(io_ifGetDigitalInput(IO_IF_INPUT_MASTER_SWITCH) != 0 ? tr("On") : tr("Off"));
    const QString lines = DiagnosticsTexts::brokenIntoLines(sectionSwitches());
    DiagnosticsRows::fitHeightToLines(mSectionSwitchesValue, lines);
    mSectionSwitchesValue->setText(lines);
}

void ConfigDiagnosticsTestInputs3::timedUpdate()
{
    refreshValues();
}

void ConfigDiagnosticsTestInputs3::showHelp(int row)
{
    switch (row) {
    case MasterRow:
        SettingPageKit::showHelp(tr("Master Switch", "definition header"),
                                 tr("Test by flipping the Master Switch on/off. Watch that the on/off status is "
                                    "reflected on screen.",
                                    "Master Switch definition"));
        break;
    case SectionsRow:
        SettingPageKit::showHelp(tr("Section Switches", "definition header"),
                                 tr("Test by flipping the Section Switches on/off. Watch that the on/off status is "
                                    "reflected on screen.\n1 = Section On\n0 = Section Off",
                                    "Section Switches definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestInputs3::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigDiagnosticsTestInputs3::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    refreshValues();
}

void ConfigDiagnosticsTestInputs3::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestInputs3::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
