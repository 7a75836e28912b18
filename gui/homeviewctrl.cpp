#include "homeviewctrl.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "flowlayout.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"

namespace {

constexpr int buttonSpacing = 10;

const char* const buttonIcons[] = {
    ":/images/working_man.svg", ":/images/settings.svg", ":/images/data_management.svg",
    ":/images/console.svg",     ":/images/extras.svg",
};

}  // namespace

HomeViewCtrl::HomeViewCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("HomeViewCtrl"));
    auto* layout = new FlowLayout(GuiGeometry::homeViewMargin(), buttonSpacing, buttonSpacing);
    int id = 1;
    for (const char* icon : buttonIcons) {
        auto* button = new KestromPushButton(id, nullptr);
        button->setObjectName(QStringLiteral("homeButton%1").arg(id));
        button->setMinimumSize(GuiGeometry::homeViewButtonSize());
        button->setSvgIcon(icon, GuiGeometry::homeViewIconSize());
        connect(button, &KestromPushButton::takeAction, this, &HomeViewCtrl::handleSelectionPressed);
        layout->addWidget(button);
        ++id;
    }
    setLayout(layout);
}

void HomeViewCtrl::handleSelectionPressed(int id)
{
    if (datastoreGetBool(DS_MASTER_SWITCH))
        return;
    emit ShowSelectedView(id);
}
