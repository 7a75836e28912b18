#include "toolsviewconfigmachine.h"

#include "configmachinealarms.h"
#include "configmachinecalibrations.h"
#include "configmachineimplparam.h"
#include "machineresources.h"
#include "settingpagekit.h"
#include "toolsviewconfigfilling.h"
#include "toolsviewconfigfilling2.h"
#include "toolsviewconfigoperation.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewConfigMachine::ToolsViewConfigMachine(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfigMachine"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("machineTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);

    // The menu's own filling pair, with its way home.
    mFilling = new ToolsViewConfigFilling(this, true);
    mFilling2 = new ToolsViewConfigFilling2(this, true);
    mOperation = new ToolsViewConfigOperation(this);
    mImplParam = new ConfigMachineImplParam(this);
    mCalibrations = new ConfigMachineCalibrations(this);
    mAlarms = new ConfigMachineAlarms(this);
    SettingPageKit::connectSubPage(this, mFilling);
    SettingPageKit::connectSubPage(this, mFilling2);
    SettingPageKit::connectSubPage(this, mOperation);
    SettingPageKit::connectSubPage(this, mImplParam);
    SettingPageKit::connectSubPage(this, mCalibrations);
    SettingPageKit::connectSubPage(this, mAlarms);
    connect(mFilling, &ToolsViewConfigFilling::nextPage, this, &ToolsViewConfigMachine::showNextPage);
    connect(mFilling2, &ToolsViewConfigFilling2::nextPage, this, &ToolsViewConfigMachine::showNextPage);

    mStack->addWidget(top);
    mFillingIndex = mStack->addWidget(mFilling);
    mFilling2Index = mStack->addWidget(mFilling2);
    mOperationIndex = mStack->addWidget(mOperation);
    mImplParamIndex = mStack->addWidget(mImplParam);
    mCalibrationsIndex = mStack->addWidget(mCalibrations);
    mAlarmsIndex = mStack->addWidget(mAlarms);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    // The automatic filling page has no button: the filling page's next leads there.
    mFillingButton = SettingPageKit::makeMenuButton(mStack, mFillingIndex, top, "m_fillingButton");
    mOperationButton = SettingPageKit::makeMenuButton(mStack, mOperationIndex, top, "m_operationButton");
    mImplParamButton = SettingPageKit::makeMenuButton(mStack, mImplParamIndex, top, "m_implParamButton");
    mCalibrationsButton = SettingPageKit::makeMenuButton(mStack, mCalibrationsIndex, top, "m_calibrationsButton");
    mAlarmsButton = SettingPageKit::makeMenuButton(mStack, mAlarmsIndex, top, "m_alarmsButton");

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mFillingButton, 0, 0);
    grid->addWidget(mOperationButton, 0, 1);
    grid->addWidget(mImplParamButton, 1, 0);
    grid->addWidget(mCalibrationsButton, 1, 1);
    grid->addWidget(mAlarmsButton, 2, 0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(5);

    mKit->connectButtonBar(this, &ToolsViewConfigMachine::handleButtonBarPressed);
    retranslate();
}

void ToolsViewConfigMachine::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ToolsViewConfigMachine::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home)
        showTopPage();
    SettingPageKit::navigate(this, id);
}

void ToolsViewConfigMachine::showNextPage()
{
    if (mStack->currentIndex() == mFillingIndex)
        mStack->setCurrentIndex(mFilling2Index);
    else if (mStack->currentIndex() == mFilling2Index)
        mStack->setCurrentIndex(mFillingIndex);
}

void ToolsViewConfigMachine::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text")});
    mFillingButton->setText(tr("Filling", "button"));
    mOperationButton->setText(tr("Operation", "button"));
    mImplParamButton->setText(tr("Implement Parameters", "button"));
    mCalibrationsButton->setText(tr("Calibrations", "button"));
    mAlarmsButton->setText(tr("Alarms", "button"));
}

void ToolsViewConfigMachine::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
