#include "toolsviewconfiguration.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewConfiguration::ToolsViewConfiguration(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewConfiguration"));
    layOutPlaceholderPage(this, [this] { return tr("Settings"); }, {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }}});
}

}  // namespace ToolsViewWidgets
