#include "toolsviewconsole.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewConsole::ToolsViewConsole(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConsole"));
    layOutPlaceholderPage(this, [this] { return tr("Console"); }, {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }}});
}

}  // namespace ToolsViewWidgets
