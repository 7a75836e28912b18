#include "toolsviewdata.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewData::ToolsViewData(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolsViewData"));
    layOutPlaceholderPage(this, [this] { return tr("Data"); }, {{"homeButton", ":/images/home.svg", {}, [this] { emit ShowHomeView(); }}});
}

}  // namespace ToolsViewWidgets
