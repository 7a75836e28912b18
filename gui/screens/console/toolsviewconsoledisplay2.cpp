#include "toolsviewconsoledisplay2.h"

#include "cdebug.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {
const char* const kScreenShotIcon = ":/images/snap_shot_camera.svg";
}

ToolsViewConsoleDisplay2::ToolsViewConsoleDisplay2(QWidget* parent) : QWidget(parent)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Constructor");
    setObjectName(QStringLiteral("ToolsViewConsoleDisplay2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ToolsViewConsoleDisplay2::handleButtonBarPressed);
    mLabel = mKit->addLabelButton(0, this, &ToolsViewConsoleDisplay2::showHelp, kScreenShotIcon);
    mValue = mKit->addValueButton(0, "m_btnScreenShot");
    updateScreenShotSelection();
    mGrid = mKit->addGrid();
    mGrid->setObjectName(QStringLiteral("m_screenShotGrid"));
    mDisable = mKit->addOption(mGrid, 0);
    mEnable = mKit->addOption(mGrid, 1);
    mDisable->setMinimumSize(GuiGeometry::iconSize90());
    mEnable->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mGrid);
    connect(mGrid, &ButtonGridWidget::commitSelection, this, &ToolsViewConsoleDisplay2::commitScreenShot);
    connect(mValue, &KestromPushButton::takeAction, this, &ToolsViewConsoleDisplay2::editScreenShot);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

ToolsViewConsoleDisplay2::~ToolsViewConsoleDisplay2()
{
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "Destructor");
}

void ToolsViewConsoleDisplay2::retranslate()
{
    mKit->setPathway({tr("Console", "pathway text"), tr("Display (2)", "pathway text")});
    mLabel->setText(tr("Screenshot", "setting label"));
    mDisable->setText(tr("Disable", "Screenshot small button"));
    mEnable->setText(tr("Enable", "Screenshot small button"));
    updateScreenShotSelection();
}

void ToolsViewConsoleDisplay2::updateScreenShotSelection()
{
    mScreenShotEnabled = datastoreGetBool(DS_SCREENSHOT_ENABLED) != 0;
    const QString text =
        mScreenShotEnabled ? tr("Enabled", "Screenshot button") : tr("Disabled", "Screenshot button");
    mValue->setText(text);
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "%s", qPrintable(text));
}

void ToolsViewConsoleDisplay2::editScreenShot()
{
    mKit->openGrid(mGrid, datastoreGetBool(DS_SCREENSHOT_ENABLED) ? 1 : 0, this,
                   &ToolsViewConsoleDisplay2::commitScreenShot);
}

void ToolsViewConsoleDisplay2::commitScreenShot(int selection)
{
    const uint8_t enabled = selection != 0 ? 1 : 0;
    // Its change event shows or hides the main window's camera button.
    if (datastoreGetBool(DS_SCREENSHOT_ENABLED) != enabled)
        datastoreSetBool(DS_SCREENSHOT_ENABLED, enabled);
    updateScreenShotSelection();
}

void ToolsViewConsoleDisplay2::showHelp(int which)
{
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "which = %d", which);
    if (which != 0)
        return;
    SettingPageKit::showHelp(tr("Screenshot", "definition header"),
                             tr("Screenshot mode can be enabled to allow captures of the screen to be saved to the "
                                "USB drive.",
                                "Screenshot definition"));
}

void ToolsViewConsoleDisplay2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConsoleDisplay2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
