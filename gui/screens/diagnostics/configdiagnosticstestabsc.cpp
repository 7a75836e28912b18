#include "configdiagnosticstestabsc.h"

#include "datastore.h"
#include "diagnosticsrows.h"
#include "diagnosticstexts.h"
#include "dscatalogue.h"
#include "kestrompushbutton.h"
#include "sectrix.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigDiagnosticsTestAbsc::ConfigDiagnosticsTestAbsc(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    setObjectName(QStringLiteral("ConfigDiagnosticsTestAbsc"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestAbsc::handleButtonBarPressed);

    static const char* const kValueNames[RowCount] = {"m_connectionValue", "m_modeValue", "m_sectionInputValue"};
    for (int row = 0; row < RowCount; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigDiagnosticsTestAbsc::showHelp, nullptr);
        mValues[row] = DiagnosticsRows::addValueButton(mKit, row, kValueNames[row]);
    }
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigDiagnosticsTestAbsc::~ConfigDiagnosticsTestAbsc() = default;

void ConfigDiagnosticsTestAbsc::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Sectrix", "pathway text"));
    mLabels[ConnectionRow]->setText(tr("Connection", "setting label"));
    mLabels[ModeRow]->setText(tr("Mode", "setting label"));
    mLabels[SectionsRow]->setText(tr("Section Input", "Setting label"));
    refreshValues();
}

void ConfigDiagnosticsTestAbsc::refreshValues()
{
    // sectrixLinkIsLost answers 1 while the unit's frames arrive.
    const bool linkUp = sectrixLinkIsLost() != 0;
    mValues[ConnectionRow]->setText(linkUp ? tr("Yes", "button") : tr("No", "button"));
    mValues[ModeRow]->setText(sectrixIsActive() != 0 ? tr("Automatic", "button") : tr("Manual", "button"));
    const QString lines = DiagnosticsTexts::brokenIntoLines(
        DiagnosticsTexts::statusWordString(sectrixGetStatusWord(), datastoreGetUint16(DS_NUMBER_OF_SECTIONS)));
    DiagnosticsRows::fitHeightToLines(mValues[SectionsRow], lines);
    mValues[SectionsRow]->setText(lines);
}

void ConfigDiagnosticsTestAbsc::timedUpdate()
{
    refreshValues();
}

void ConfigDiagnosticsTestAbsc::showHelp(int row)
{
    switch (row) {
    case ConnectionRow:
        SettingPageKit::showHelp(tr("Connection", "definition header"),
                                 tr("Tests if the Sectrix unit is connected through the CAN bus. When the connection "
                                    "status is \"No\", check if unit is powered on and cables are properly "
                                    "connected.",
                                    "Connection definition"));
        break;
    case ModeRow:
        SettingPageKit::showHelp(tr("Mode", "definition header"),
                                 tr("Tests if the Sectrix unit is in Automatic or Manual mode. Mode can be changed on "
                                    "the Sectrix unit.",
                                    "Mode definition"));
        break;
    case SectionsRow:
        SettingPageKit::showHelp(tr("Section Input", "definition header"),
                                 tr("Tests if the Sectrix section input is on or off.\n1 = Section On\n0 = Section Off",
                                    "Section Input definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestAbsc::handleButtonBarPressed(int id)
{
    // No next button: every other id goes back.
    if (id == ToolsViewButtonBar::Home)
        emit ShowHomeView(ToolsViewButtonBar::Home);
    else
        emit goBack();
}

void ConfigDiagnosticsTestAbsc::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    refreshValues();
}

void ConfigDiagnosticsTestAbsc::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestAbsc::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
