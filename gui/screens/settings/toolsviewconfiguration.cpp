#include "toolsviewconfiguration.h"

#include "configdiagnostics.h"
#include "configoem.h"
#include "configvelmaronly.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "settingpagekit.h"
#include "settingsresources.h"
#include "toolsviewconfigjobparam.h"
#include "toolsviewconfigmachine.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

// The whole entered number: the keypad passes at most 1000000, and a code
// must match in full (a number a multiple of 65536 away is another number).
uint32_t enteredCode(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 4294967295.0)
        return UINT32_MAX;
    return static_cast<uint32_t>(value);
}

}  // namespace

ToolsViewConfiguration::ToolsViewConfiguration(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    settingsScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfiguration"));

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("settingsTopPage"));
    mKit = new SettingPageKit(top);
    mKeypad = mKit->addKeypad();

    mJobParam = new ToolsViewConfigJobParam(this);
    mMachine = new ToolsViewConfigMachine(this);
    mInstaller = new ConfigOem(this);
    mDiagnostics = new ConfigDiagnostics(this);
    mMakerService = new ConfigVelmarOnly(this);
    SettingPageKit::connectSubPage(this, mJobParam);
    SettingPageKit::connectSubPage(this, mMachine);
    SettingPageKit::connectSubPage(this, mInstaller);
    SettingPageKit::connectSubPage(this, mDiagnostics);
    SettingPageKit::connectSubPage(this, mMakerService);

    mStack->addWidget(top);
    const int jobParamIndex = mStack->addWidget(mJobParam);
    mMachineIndex = mStack->addWidget(mMachine);
    mInstallerIndex = mStack->addWidget(mInstaller);
    mDiagnosticsIndex = mStack->addWidget(mDiagnostics);
    mMakerServiceIndex = mStack->addWidget(mMakerService);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mJobParamButton = SettingPageKit::makeMenuButton(mStack, jobParamIndex, top, "m_jobParamButton");
    mMachineButton = SettingPageKit::makeMenuButton(mStack, mMachineIndex, top, "m_machineButton");
    mDiagnosticsButton = SettingPageKit::makeMenuButton(mStack, mDiagnosticsIndex, top, "m_diagnosticsButton");
    // The installer menu only through its code.
    mInstallerButton = new KestromPushButton(mInstallerIndex, top);
    mInstallerButton->setObjectName(QStringLiteral("m_oemButton"));
    mInstallerButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mInstallerButton, &KestromPushButton::takeAction, this, &ToolsViewConfiguration::editPassword);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mJobParamButton, 0, 0);
    grid->addWidget(mMachineButton, 0, 1);
    grid->addWidget(mInstallerButton, 1, 0);
    grid->addWidget(mDiagnosticsButton, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);

    mKit->connectButtonBar(this, &ToolsViewConfiguration::handleButtonBarPressed);
    retranslate();
}

void ToolsViewConfiguration::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ToolsViewConfiguration::showMachineConfig()
{
    mStack->setCurrentIndex(mMachineIndex);
}

void ToolsViewConfiguration::handleButtonBarPressed(int id)
{
    if (id != ToolsViewButtonBar::Home)
        return;
    showTopPage();
    emit ShowHomeView();
}

void ToolsViewConfiguration::editPassword()
{
    const uint16_t accepted = datastoreGetUint16(DS_LAST_PASSWORD);
    if (accepted == datastoreGetUint16(DS_SETTINGS_PASSWORD)) {
        commitPassword(accepted);
        return;
    }
    KeypadSetting setting;
    setting.value = 0;
    setting.minimum = 0;
    setting.maximum = 1000000;
    setting.decimals = 0;
    setting.units = tr("%");
    setting.title = tr("Password", "keyboard header");
    mKit->openKeypad(mKeypad, setting, this, &ToolsViewConfiguration::commitPassword);
}

void ToolsViewConfiguration::commitPassword(double value)
{
    const uint32_t code = enteredCode(value);
    const uint16_t installerCode = datastoreGetUint16(DS_SETTINGS_PASSWORD);
    if (code == installerCode) {
        datastoreSetUint16(DS_LAST_PASSWORD, installerCode);
        mStack->setCurrentIndex(mInstallerIndex);
    } else if (code == MakerServiceCode) {
        mStack->setCurrentIndex(mMakerServiceIndex);
    }
}

void ToolsViewConfiguration::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text")});
    mJobParamButton->setText(tr("Job Parameters", "button"));
    mMachineButton->setText(tr("Machine", "button"));
    mInstallerButton->setText(tr("OEM", "button"));
    mDiagnosticsButton->setText(tr("Diagnostics", "button"));
}

void ToolsViewConfiguration::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
