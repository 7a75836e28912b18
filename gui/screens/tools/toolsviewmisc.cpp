#include "toolsviewmisc.h"

#include "calculatorwidget.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "miscunitsconverter.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewMisc::ToolsViewMisc(QWidget* parent)
    : QWidget(parent), mCalculator(new CalculatorWidget(QString(), false)), mStack(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("ToolsViewMisc"));
    setContentsMargins(0, 0, 0, 0);

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("toolsTopPage"));
    mKit = new SettingPageKit(top);

    mConverter = new MiscUnitsConverter(this);
    connect(mConverter, &MiscUnitsConverter::goBack, this, &ToolsViewMisc::showTopPage);
    connect(mConverter, &MiscUnitsConverter::ShowHomeView, this, &ToolsViewMisc::handleButtonBarPressed);

    mStack->addWidget(top);
    const int converterIndex = mStack->addWidget(mConverter);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);
    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);

    mCalculatorButton = new KestromPushButton(top);
    mCalculatorButton->setObjectName(QStringLiteral("m_calculatorButton"));
    mCalculatorButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mCalculatorButton, &KestromPushButton::takeAction, this, &ToolsViewMisc::showCalculator);
    mConverterButton = new KestromPushButton(converterIndex, top);
    mConverterButton->setObjectName(QStringLiteral("m_converterButton"));
    mConverterButton->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mConverterButton, &KestromPushButton::takeAction, mStack, &QStackedWidget::setCurrentIndex);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mCalculatorButton, 0, 0);
    grid->addWidget(mConverterButton, 0, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);

    mKit->connectButtonBar(this, &ToolsViewMisc::handleButtonBarPressed);
    retranslate();
}

ToolsViewMisc::~ToolsViewMisc()
{
    // A window of its own: no parent deletes it.
    delete mCalculator;
}

void ToolsViewMisc::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ToolsViewMisc::handleButtonBarPressed(int id)
{
    if (id != ToolsViewButtonBar::Home)
        return;
    showTopPage();
    emit ShowHomeView();
}

void ToolsViewMisc::showCalculator()
{
    const QSize size = GuiGeometry::popupOffset();
    mCalculator->resize(size);
    mCalculator->show();
    mCalculator->raise();
    const QPoint centred = GuiGeometry::centeredPosition(size.width(), size.height());
    mCalculator->move(window()->mapToGlobal(centred));
}

void ToolsViewMisc::retranslate()
{
    mKit->setPathway({tr("Tools", "pathway text")});
    mCalculatorButton->setText(tr("Calculator", "button"));
    mConverterButton->setText(tr("Units Converter", "button"));
}

void ToolsViewMisc::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
