#include "configdiagnosticstestoutputs2.h"

#include "buttongridwidget.h"
#include "datastore.h"
#include "diagnosticsresources.h"
#include "diagnosticsrows.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QHideEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace ToolsViewWidgets {

namespace {

enum SectionState { Off = 0, On = 1 };

const char* sectionIcon(int state)
{
    return state == On ? ":/images/section_on.svg" : ":/images/section_off.svg";
}

}  // namespace

int ConfigDiagnosticsTestOutputs2::sectionOutputCount()
{
    return std::min<int>(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES), SectionSlots);
}

ConfigDiagnosticsTestOutputs2::ConfigDiagnosticsTestOutputs2(QWidget* parent)
    : WidgetTimedFocusUpdateQt(parent), mButtonStore(new QWidget(this))
{
    diagnosticsScreensInitResources();
    setObjectName(QStringLiteral("ConfigDiagnosticsTestOutputs2"));
    mButtonStore->hide();
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigDiagnosticsTestOutputs2::handleButtonBarPressed);

    mLabels[NumberRow] =
        mKit->addLabelButton(NumberRow, this, &ConfigDiagnosticsTestOutputs2::showHelp, ":/images/num_sections.svg");
    mLabels[StateRow] =
        mKit->addLabelButton(StateRow, this, &ConfigDiagnosticsTestOutputs2::showHelp, sectionIcon(Off));
    mLabels[AllOffRow] = mKit->addLabelButton(AllOffRow, this, &ConfigDiagnosticsTestOutputs2::showHelp);
    static const char* const kValueNames[RowCount] = {"m_sectionNumberValue", "m_sectionStateValue",
                                                      "m_allSectionsOffValue"};
    for (int row = 0; row < RowCount; ++row)
        mValues[row] = DiagnosticsRows::addValueButton(mKit, row, kValueNames[row]);
    connect(mValues[NumberRow], &KestromPushButton::takeAction, this,
            &ConfigDiagnosticsTestOutputs2::editSectionNumber);
    connect(mValues[StateRow], &KestromPushButton::takeAction, this, &ConfigDiagnosticsTestOutputs2::editSectionState);
    connect(mValues[AllOffRow], &KestromPushButton::takeAction, this, &ConfigDiagnosticsTestOutputs2::setAllSections);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(20);

    mOutputCount = sectionOutputCount();
    for (int i = 0; i < SectionSlots; ++i) {
        mSectionButtons[i] = new KestromPushButton(i, mButtonStore);
        mSectionButtons[i]->setObjectName(QStringLiteral("m_sectionButton%1").arg(i + 1));
    }
    mSectionGrid = mKit->addGrid();
    mSectionGrid->resize(GuiGeometry::fullPageSize());
    mStateGrid = mKit->addGrid();
    mStateGrid->resize(GuiGeometry::fullPageSize());
    mOnOption = mKit->addOption(mStateGrid, On);
    mOffOption = mKit->addOption(mStateGrid, Off);
    for (KestromPushButton* option : {mOnOption, mOffOption})
        option->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mStateGrid);

    updateNoOfSections();
    retranslate();
}

ConfigDiagnosticsTestOutputs2::~ConfigDiagnosticsTestOutputs2() = default;

void ConfigDiagnosticsTestOutputs2::retranslate()
{
    DiagnosticsRows::setPathway(mKit, tr("Settings", "pathway text"), tr("Diagnostics", "pathway text"),
                                tr("Test Outputs (2)", "pathway text"));
    mLabels[NumberRow]->setText(tr("Section Number", "setting label"));
    mLabels[StateRow]->setText(tr("Section Valve State", "setting label"));
    mLabels[AllOffRow]->setText(tr("All Sections Off", "setting label"));
    mOnOption->setText(tr("On", "small button"));
    mOffOption->setText(tr("Off", "small button"));
    refreshValues();
}

void ConfigDiagnosticsTestOutputs2::refreshValues()
{
    const int state = mSectionStates[static_cast<size_t>(mSelected)];
    mValues[NumberRow]->setText(QString::number(mSelected + 1));
    mValues[StateRow]->setText(state == On ? tr("On", "button") : tr("Off", "button"));
    mLabels[StateRow]->setSvgIcon(sectionIcon(state), GuiGeometry::iconSize50());
    mValues[AllOffRow]->setText(tr("Off", "button"));
}

void ConfigDiagnosticsTestOutputs2::updateNoOfSections()
{
    const int wanted = std::min(mSectionCount, mOutputCount);
    if (wanted != mButtonsInGrid) {
        // The grid hands its buttons back without a parent: the page keeps them.
        mSectionGrid->clearButtons();
        for (KestromPushButton* button : mSectionButtons)
            if (button->parent() == nullptr)
                button->setParent(mButtonStore);
        mButtonsInGrid = 0;
        // The grid's own touchable size keeps eight sections to a page; square
        // buttons would leave room for two.
        for (int i = 0; i < wanted; ++i) {
            mSectionGrid->addButton(mSectionButtons[i]);
            ++mButtonsInGrid;
        }
        mSectionGrid->layoutPage();
    }
    updateButtonSectionStates();
}

void ConfigDiagnosticsTestOutputs2::updateButtonSectionStates()
{
    for (int i = 0; i < mButtonsInGrid; ++i)
        mSectionButtons[i]->setText(
            (mSectionStates[i] != Off ? QStringLiteral("#%1\nON") : QStringLiteral("#%1\nOFF")).arg(i + 1));
}

void ConfigDiagnosticsTestOutputs2::editSectionNumber()
{
    updateButtonSectionStates();
    mKit->openGrid(mSectionGrid, mSelected, this, &ConfigDiagnosticsTestOutputs2::commitSectionNumber);
}

void ConfigDiagnosticsTestOutputs2::commitSectionNumber(int index)
{
    if (index < 0 || index >= mButtonsInGrid)
        return;
    mSelected = index;
    refreshValues();
}

void ConfigDiagnosticsTestOutputs2::editSectionState()
{
    mKit->openGrid(mStateGrid, mSectionStates[static_cast<size_t>(mSelected)], this,
                   &ConfigDiagnosticsTestOutputs2::commitSectionState);
}

void ConfigDiagnosticsTestOutputs2::commitSectionState(int state)
{
    const uint32_t section = static_cast<uint32_t>(mSelected) + 1;
    processEvent(state != Off ? EV_DIAG_SECTION_ON : EV_DIAG_SECTION_OFF, section);
    mSectionStates[static_cast<size_t>(mSelected)] = state != Off ? On : Off;
    refreshValues();
}

void ConfigDiagnosticsTestOutputs2::setAllSections()
{
    for (int n = 1; n <= mOutputCount; ++n) {
        mSectionStates[static_cast<size_t>(n - 1)] = Off;
        processEvent(EV_DIAG_SECTION_OFF, static_cast<uint32_t>(n));
    }
    refreshValues();
}

void ConfigDiagnosticsTestOutputs2::showHelp(int row)
{
    switch (row) {
    case NumberRow:
        SettingPageKit::showHelp(tr("Section Number", "definition header"),
                                 tr("Selects the section number. Sections are numbered from left to right while "
                                    "facing in the machine's forward direction.",
                                    "Section Number definition"));
        break;
    case StateRow:
        SettingPageKit::showHelp(tr("Section Valve State", "definition header"),
                                 tr("Sets if the selected section valve is on or off.",
                                    "Section Valve State definition"));
        break;
    case AllOffRow:
        SettingPageKit::showHelp(tr("All Sections Off", "definition header"),
                                 tr("Sets all section valves to \"Off\".", "All Sections Off definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigDiagnosticsTestOutputs2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigDiagnosticsTestOutputs2::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Test);
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_OUTPUT_TEST_BEGIN, 0);
    // The grid offers the sections the machine has now, at most the slots.
    mSectionCount = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    mOutputCount = sectionOutputCount();
    mSectionStates.fill(Off);
    mSelected = 0;
    updateNoOfSections();
    refreshValues();
}

void ConfigDiagnosticsTestOutputs2::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    eventPost(EV_OWNER_PERIODIC, EV_DIAG_OUTPUT_TEST_END, 0);
    SettingPageKit::setPageMode(PageMode::Home);
}

void ConfigDiagnosticsTestOutputs2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
