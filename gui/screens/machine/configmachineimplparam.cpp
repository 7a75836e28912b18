#include "configmachineimplparam.h"

#include "configmachineimplparamnozsetup.h"
#include "configmachineimplparamnozsetup2.h"
#include "configmachineimplparamregparam.h"
#include "configmachineimplparamsectwidth.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "machineresources.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigMachineImplParam::ConfigMachineImplParam(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineImplParam"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("implParamTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);

    mSections = new ConfigMachineImplParamSectWidth(this);
    mPresets = new ConfigMachineImplParamNozSetup(this);
    mReference = new ConfigMachineImplParamNozSetup2(this);
    mRegulation = new ConfigMachineImplParamRegParam(this);
    connect(mSections, &ConfigMachineImplParamSectWidth::goBack, this, &ConfigMachineImplParam::showTopPage);
    connect(mPresets, &ConfigMachineImplParamNozSetup::goBack, this, &ConfigMachineImplParam::showTopPage);
    connect(mReference, &ConfigMachineImplParamNozSetup2::goBack, this, &ConfigMachineImplParam::showTopPage);
    connect(mRegulation, &ConfigMachineImplParamRegParam::goBack, this, &ConfigMachineImplParam::showTopPage);
    connect(mSections, &ConfigMachineImplParamSectWidth::ShowHomeView, this,
            &ConfigMachineImplParam::handleButtonBarPressed);
    connect(mPresets, &ConfigMachineImplParamNozSetup::ShowHomeView, this,
            &ConfigMachineImplParam::handleButtonBarPressed);
    connect(mReference, &ConfigMachineImplParamNozSetup2::ShowHomeView, this,
            &ConfigMachineImplParam::handleButtonBarPressed);
    connect(mRegulation, &ConfigMachineImplParamRegParam::ShowHomeView, this,
            &ConfigMachineImplParam::handleButtonBarPressed);
    connect(mPresets, &ConfigMachineImplParamNozSetup::nextPage, this, &ConfigMachineImplParam::showNextPage);
    connect(mReference, &ConfigMachineImplParamNozSetup2::nextPage, this, &ConfigMachineImplParam::showNextPage);

    mStack->addWidget(top);
    mSectionsIndex = mStack->addWidget(mSections);
    mPresetsIndex = mStack->addWidget(mPresets);
    mReferenceIndex = mStack->addWidget(mReference);
    mRegulationIndex = mStack->addWidget(mRegulation);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mSectionsButton = SettingPageKit::makeMenuButton(mSectionsIndex, top, "m_btnSectionConfiguration");
    mPresetsButton = SettingPageKit::makeMenuButton(mPresetsIndex, top, "m_btnTipPresetSetup");
    mRegulationButton = SettingPageKit::makeMenuButton(mRegulationIndex, top, "m_btnRegulationParameters");
    for (KestromPushButton* button : {mSectionsButton, mPresetsButton, mRegulationButton})
        connect(button, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);

    // Row 1 stays empty.
    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mSectionsButton, 0, 0);
    grid->addWidget(mPresetsButton, 0, 1);
    grid->addWidget(mRegulationButton, 2, 0);
    grid->setRowMinimumHeight(1, GuiGeometry::menuButtonSize().height());
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);

    mKit->connectButtonBar(this, &ConfigMachineImplParam::handleButtonBarPressed);
    retranslate();
}

void ConfigMachineImplParam::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ConfigMachineImplParam::showNextPage()
{
    if (mStack->currentIndex() == mPresetsIndex)
        mStack->setCurrentIndex(mReferenceIndex);
    else if (mStack->currentIndex() == mReferenceIndex)
        mStack->setCurrentIndex(mPresetsIndex);
}

void ConfigMachineImplParam::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        showTopPage();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigMachineImplParam::retranslate()
{
    // The menu's own two levels after "...", as its pages show their last two.
    mKit->pathwayLabel()->setElidedText(
        QStringLiteral("...%1->%2").arg(tr("Machine", "pathway text"), tr("Implement Parameters", "pathway text")));
    mSectionsButton->setText(tr("Section Configuration", "button"));
    mPresetsButton->setText(tr("Tip Preset Setup", "button"));
    mRegulationButton->setText(tr("Regulation Parameters", "button"));
}

void ConfigMachineImplParam::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
