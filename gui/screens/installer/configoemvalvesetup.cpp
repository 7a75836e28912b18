#include "configoemvalvesetup.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { RegValveTypeRow = 0, SectionValveTypeRow = 1, SectionValveBehaviorRow = 2 };

const uint32_t kItems[] = {DS_REG_VALVE_TYPE, DS_SECTION_VALVE_TYPE, DS_SECTION_VALVE_BEHAVIOR};

int storedChoice(int row)
{
    return datastoreGetBool(kItems[row]) != 0 ? 1 : 0;
}

}  // namespace

ConfigOemValveSetup::ConfigOemValveSetup(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemValveSetup"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigOemValveSetup::handleButtonBarPressed);
    static const char* const kNames[] = {"m_btnRegValveTypeValue", "m_btnSectionValveTypeValue",
                                         "m_btnSectionValveBehaviorValue"};
    for (int row = RegValveTypeRow; row <= SectionValveBehaviorRow; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigOemValveSetup::showHelp);
        mValues[row] = mKit->addValueButton(row, kNames[row]);
        mGrids[row] = mKit->addGrid();
        for (int option = 0; option < 2; ++option) {
            mOptions[row][option] = mKit->addOption(mGrids[row], option);
            mOptions[row][option]->setMinimumSize(GuiGeometry::iconSize90());
        }
        mKit->layOutOptions(mGrids[row]);
    }
    connect(mValues[RegValveTypeRow], &KestromPushButton::takeAction, this, &ConfigOemValveSetup::editRegValveType);
    connect(mValues[SectionValveTypeRow], &KestromPushButton::takeAction, this,
            &ConfigOemValveSetup::editSectionValveType);
    connect(mValues[SectionValveBehaviorRow], &KestromPushButton::takeAction, this,
            &ConfigOemValveSetup::editSectionValveBehavior);
    connect(mGrids[RegValveTypeRow], &ButtonGridWidget::commitSelection, this, &ConfigOemValveSetup::commitRegValveType);
    connect(mGrids[SectionValveTypeRow], &ButtonGridWidget::commitSelection, this,
            &ConfigOemValveSetup::commitSectionValveType);
    connect(mGrids[SectionValveBehaviorRow], &ButtonGridWidget::commitSelection, this,
            &ConfigOemValveSetup::commitSectionValveBehavior);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigOemValveSetup::~ConfigOemValveSetup() = default;

void ConfigOemValveSetup::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"), tr("Valve Setup", "pathway text")});
    SettingPageKit::setLabelText(mLabels[RegValveTypeRow], tr("Regulation Valve Type", "setting label"));
    SettingPageKit::setLabelText(mLabels[SectionValveTypeRow], tr("Section Valve Type", "setting label"));
    SettingPageKit::setLabelText(mLabels[SectionValveBehaviorRow], tr("Section Valve Behavior", "setting label"));
    mOptions[RegValveTypeRow][0]->setText(tr("Throttle", "Regulation Valve Type small button"));
    mOptions[RegValveTypeRow][1]->setText(tr("Bypass", "Regulation Valve Type small button"));
    mOptions[SectionValveTypeRow][0]->setText(tr("2-way", "Section Valve Type small button"));
    mOptions[SectionValveTypeRow][1]->setText(tr("3-way", "Section Valve Type small button"));
    mOptions[SectionValveBehaviorRow][0]->setText(tr("Independent", "Section Valve Behavior small button"));
    mOptions[SectionValveBehaviorRow][1]->setText(tr("Follow Master", "Section Valve Behavior small button"));
    refreshRegValveType();
    refreshSectionValveType();
    refreshSectionValveBehavior();
}

void ConfigOemValveSetup::refreshRegValveType()
{
    mValues[RegValveTypeRow]->setText(storedChoice(RegValveTypeRow) == 1
                                          ? tr("Bypass", "Regulation Valve Type button")
                                          : tr("Throttle", "Regulation Valve Type button"));
}

void ConfigOemValveSetup::refreshSectionValveType()
{
    mValues[SectionValveTypeRow]->setText(storedChoice(SectionValveTypeRow) == 1
                                              ? tr("3-way", "Section Valve Type button")
                                              : tr("2-way", "Section Valve Type button"));
}

void ConfigOemValveSetup::refreshSectionValveBehavior()
{
    mValues[SectionValveBehaviorRow]->setText(storedChoice(SectionValveBehaviorRow) == 1
                                                  ? tr("Follow Master", "Section Valve Behavior button")
                                                  : tr("Independent", "Section Valve Behavior button"));
}

void ConfigOemValveSetup::editRegValveType()
{
    mKit->openGrid(mGrids[RegValveTypeRow], storedChoice(RegValveTypeRow), this,
                   &ConfigOemValveSetup::commitRegValveType);
}

void ConfigOemValveSetup::commitRegValveType(int id)
{
    processEvent(EV_SET_REG_VALVE_TYPE, static_cast<uint32_t>(id));
    refreshRegValveType();
}

void ConfigOemValveSetup::editSectionValveType()
{
    mKit->openGrid(mGrids[SectionValveTypeRow], storedChoice(SectionValveTypeRow), this,
                   &ConfigOemValveSetup::commitSectionValveType);
}

void ConfigOemValveSetup::commitSectionValveType(int id)
{
    processEvent(EV_SET_SECTION_VALVE_TYPE, static_cast<uint32_t>(id));
    refreshSectionValveType();
}

void ConfigOemValveSetup::editSectionValveBehavior()
{
    mKit->openGrid(mGrids[SectionValveBehaviorRow], storedChoice(SectionValveBehaviorRow), this,
                   &ConfigOemValveSetup::commitSectionValveBehavior);
}

void ConfigOemValveSetup::commitSectionValveBehavior(int id)
{
    processEvent(EV_SET_SECTION_VALVE_BEHAVIOR, static_cast<uint32_t>(id));
    refreshSectionValveBehavior();
}

void ConfigOemValveSetup::showHelp(int id)
{
    switch (id) {
    case RegValveTypeRow:
        SettingPageKit::showHelp(tr("Regulation Valve Type", "definition header"),
                                 tr("Sets the valve type to either \"Throttle\" or \"Bypass\".",
                                    "Regulation Valve Type definition"));
        break;
    case SectionValveTypeRow:
        SettingPageKit::showHelp(
            tr("Section Valve Type", "definition header"),
            tr("Sets the valve type to either \"2-way\" or \"3-way\". Available only in Sprayer Mode.",
               "Section Valve Type definition"));
        break;
    case SectionValveBehaviorRow:
        SettingPageKit::showHelp(tr("Section Valve Behavior", "definition header"),
                                 tr("Sets the valve to either \"Independent\" or \"Follow Master\".",
                                    "Section Valve Behavior definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemValveSetup::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigOemValveSetup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
