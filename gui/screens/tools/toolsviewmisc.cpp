#include "toolsviewmisc.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewMisc::ToolsViewMisc(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewMisc"));
    auto* title = new QLabel(tr("Tools"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* home = new KestromPushButton(0, this);
    home->setObjectName(QStringLiteral("homeButton"));
    home->setSvgIcon(":/images/home.svg", GuiGeometry::buttonBarIconSize());
    connect(home, &KestromPushButton::takeAction, this, [this] { emit ShowHomeView(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 1);
    layout->addWidget(home, 0, Qt::AlignLeft);
}

}  // namespace ToolsViewWidgets
