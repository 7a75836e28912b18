#include "configmachinecalpressure.h"

#include "calibrationresources.h"
#include "configmachinecalpresssensormaxpressure.h"
#include "configmachinecalpresssensormaxpressure2.h"
#include "configmachinecalpresssensornopressure.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ConfigMachineCalPressure::ConfigMachineCalPressure(QWidget* parent) : QWidget(parent), mStack(nullptr)
{
    calibrationScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineCalPressure"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("pressureTopPage"));
    mKit = new SettingPageKit(top);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineCalPressure::handleButtonBarPressed);

    mZeroPage = new ConfigMachineCalPressSensorNoPressure(this);
    mSpanSettingsPage = new ConfigMachineCalPressSensorMaxPressure(this);
    mSpanRunPage = new ConfigMachineCalPressSensorMaxPressure2(this);
    connect(mZeroPage, &ConfigMachineCalPressSensorNoPressure::goBack, this, &ConfigMachineCalPressure::showTopPage);
    connect(mSpanSettingsPage, &ConfigMachineCalPressSensorMaxPressure::goBack, this,
            &ConfigMachineCalPressure::showTopPage);
    connect(mSpanRunPage, &ConfigMachineCalPressSensorMaxPressure2::goBack, this,
            &ConfigMachineCalPressure::showTopPage);
    connect(mZeroPage, &ConfigMachineCalPressSensorNoPressure::ShowHomeView, this,
            &ConfigMachineCalPressure::handleButtonBarPressed);
    connect(mSpanSettingsPage, &ConfigMachineCalPressSensorMaxPressure::ShowHomeView, this,
            &ConfigMachineCalPressure::handleButtonBarPressed);
    connect(mSpanRunPage, &ConfigMachineCalPressSensorMaxPressure2::ShowHomeView, this,
            &ConfigMachineCalPressure::handleButtonBarPressed);
    connect(mSpanSettingsPage, &ConfigMachineCalPressSensorMaxPressure::nextPage, this,
            &ConfigMachineCalPressure::showNextPage);
    connect(mSpanRunPage, &ConfigMachineCalPressSensorMaxPressure2::nextPage, this,
            &ConfigMachineCalPressure::showNextPage);

    mStack = new QStackedWidget(this);
    mStack->addWidget(top);
    mZeroIndex = mStack->addWidget(mZeroPage);
    mSpanSettingsIndex = mStack->addWidget(mSpanSettingsPage);
    mSpanRunIndex = mStack->addWidget(mSpanRunPage);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mZeroButton = new KestromPushButton(mZeroIndex, top);
    mZeroButton->setObjectName(QStringLiteral("m_noPressureButton"));
    mSpanButton = new KestromPushButton(mSpanSettingsIndex, top);
    mSpanButton->setObjectName(QStringLiteral("m_maxPressureButton"));
    for (KestromPushButton* button : {mZeroButton, mSpanButton}) {
        button->setMinimumSize(GuiGeometry::menuButtonSize());
        connect(button, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);
    }
    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mZeroButton, 0, 0);
    grid->addWidget(mSpanButton, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(15);
    retranslate();
}

void ConfigMachineCalPressure::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ConfigMachineCalPressure::showNextPage()
{
    if (mStack->currentIndex() == mSpanSettingsIndex)
        mStack->setCurrentIndex(mSpanRunIndex);
    else if (mStack->currentIndex() == mSpanRunIndex)
        mStack->setCurrentIndex(mSpanSettingsIndex);
}

void ConfigMachineCalPressure::handleButtonBarPressed(int id)
{
    if (id == ToolsViewButtonBar::Home) {
        showTopPage();
        emit ShowHomeView(ToolsViewButtonBar::Home);
    } else if (id == ToolsViewButtonBar::Back) {
        emit goBack();
    }
}

void ConfigMachineCalPressure::retranslate()
{
    mKit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2").arg(tr("Calibrations", "pathway text"),
                                                                         tr("Liquid Pressure Sensor", "pathway text")));
    mZeroButton->setText(tr("No Pressure", "button"));
    mSpanButton->setText(tr("Maximum Pressure", "button"));
}

void ConfigMachineCalPressure::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
