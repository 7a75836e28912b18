#include "toolsviewconsole.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QLabel>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewConsole::ToolsViewConsole(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConsole"));
    auto* title = new QLabel(tr("Console"), this);
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
