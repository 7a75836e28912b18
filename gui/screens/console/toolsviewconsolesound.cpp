#include "toolsviewconsolesound.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QVBoxLayout>
#include <QIcon>

namespace ToolsViewWidgets {

ToolsViewConsoleSound::ToolsViewConsoleSound(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConsoleSound"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ToolsViewConsoleSound::handleButtonBarPressed);
    mLabel = mKit->addLabelButton(0, this, &ToolsViewConsoleSound::showHelp);
    mLabel->setIcon(QIcon());
    mValue = mKit->addValueButton(0, "m_btnKeyBeep");
    updateKeyBeep();
    mGrid = mKit->addGrid();
    mGrid->setObjectName(QStringLiteral("m_keyBeepGrid"));
    mDisable = mKit->addOption(mGrid, 0);
    mEnable = mKit->addOption(mGrid, 1);
    mDisable->setMinimumSize(GuiGeometry::iconSize90());
    mEnable->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mGrid);
    connect(mGrid, &ButtonGridWidget::commitSelection, this, &ToolsViewConsoleSound::commitKeyBeep);
    connect(mValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleSound::editKeyBeep);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

void ToolsViewConsoleSound::retranslate()
{
    mKit->setPathway({tr("Console", "pathway text"), tr("Sound", "pathway text")});
    mLabel->setText(tr("Key Beep", "setting label"));
    mDisable->setText(tr("Disable", "small button"));
    mEnable->setText(tr("Enable", "small button"));
    updateKeyBeep();
}

void ToolsViewConsoleSound::updateKeyBeep()
{
    mValue->setText(datastoreGetBool(DS_KEY_BEEP) ? tr("Enabled", "button") : tr("Disabled", "button"));
}

void ToolsViewConsoleSound::editKeyBeep()
{
    mKit->openGrid(mGrid, datastoreGetBool(DS_KEY_BEEP) ? 1 : 0, this, &ToolsViewConsoleSound::commitKeyBeep);
}

void ToolsViewConsoleSound::commitKeyBeep(int selection)
{
    const uint8_t enabled = selection != 0 ? 1 : 0;
    if (datastoreGetBool(DS_KEY_BEEP) != enabled)
        datastoreSetBool(DS_KEY_BEEP, enabled);
    updateKeyBeep();
}

void ToolsViewConsoleSound::showHelp(int which)
{
    if (which != 0)
        return;
    SettingPageKit::showHelp(tr("Key Beep", "definition header"),
                             tr("Enable or disable sound for each screen option selection. Alarm beeps are not "
                                "affected by this setting.",
                                "Key Beep definition"));
}

void ToolsViewConsoleSound::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConsoleSound::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
