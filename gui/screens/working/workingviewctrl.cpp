#include "workingviewctrl.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
enum { HomeButton = 0, FillButton = 1 };
}

WorkingViewCtrl::WorkingViewCtrl(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("WorkingViewCtrl"));
    auto* title = new QLabel(tr("Operation"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* home = new KestromPushButton(HomeButton, this);
    home->setObjectName(QStringLiteral("homeButton"));
    home->setSvgIcon(":/images/home.svg", GuiGeometry::buttonBarIconSize());
    auto* fill = new KestromPushButton(FillButton, this);
    fill->setObjectName(QStringLiteral("fillButton"));
    fill->setText(tr("Fill"));
    connect(home, &KestromPushButton::takeAction, this, [this] { emit ShowHomeView(); });
    connect(fill, &KestromPushButton::takeAction, this, [this] { emit ShowFillingView(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(home);
    buttons->addStretch(1);
    buttons->addWidget(fill);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 1);
    layout->addLayout(buttons);
}
