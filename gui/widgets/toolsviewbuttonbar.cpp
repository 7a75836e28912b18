#include "toolsviewbuttonbar.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QAbstractButton>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewButtonBar::ToolsViewButtonBar(QWidget* parent) : QWidget(parent), mGroup(new QButtonGroup)
{
    setContentsMargins(0, 0, 0, 0);
    static const struct {
        int id;
        const char* icon;
    } kButtons[] = {
        {Back, ":/images/arrow_back_left_grn.svg"},
        {Next, ":/images/arrow_right_green.svg"},
        {Home, ":/images/home.svg"},
    };

    QVBoxLayout* layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& entry : kButtons) {
        // The holder keeps the button's place when the button is hidden, so
        // the other buttons never move.
        QWidget* holder = new QWidget(this);
        holder->setMinimumSize(GuiGeometry::buttonBarIconSize());
        holder->setContentsMargins(0, 0, 0, 0);
        KestromPushButton* button = new KestromPushButton(entry.id, holder);
        button->setMaximumSize(GuiGeometry::buttonBarIconSize());
        button->setSvgIcon(entry.icon, GuiGeometry::iconSize55());
        QVBoxLayout* holderLayout = new QVBoxLayout(holder);
        holderLayout->setContentsMargins(0, 0, 0, 0);
        holderLayout->addWidget(button);
        mGroup->addButton(button, entry.id);
        connect(button, &KestromPushButton::takeAction, this, &ToolsViewButtonBar::handleButtonTouched);
        if (entry.id != Back)
            layout->addStretch(10);
        layout->addWidget(holder);
    }
    setLayout(layout);
    setButtonsVisible(false, false, true);
}

ToolsViewButtonBar::~ToolsViewButtonBar()
{
    delete mGroup;
}

void ToolsViewButtonBar::handleButtonTouched(int id)
{
    emit buttonTouched(id);
}

void ToolsViewButtonBar::handleButtonShowHide(int id, bool visible)
{
    if (QAbstractButton* button = mGroup->button(id))
        button->setVisible(visible);
}

void ToolsViewButtonBar::setButtonsVisible(bool back, bool next, bool home)
{
    handleButtonShowHide(Back, back);
    handleButtonShowHide(Next, next);
    handleButtonShowHide(Home, home);
}

}  // namespace ToolsViewWidgets
