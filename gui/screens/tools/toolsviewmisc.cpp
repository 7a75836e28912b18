#include "toolsviewmisc.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewMisc::ToolsViewMisc(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewMisc"));
    layOutPlaceholderPage(this, [this] { return tr("Tools"); }, {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }}});
}

}  // namespace ToolsViewWidgets
