#include "toolsviewconfigfilling2.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewConfigFilling2::ToolsViewConfigFilling2(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setObjectName(QStringLiteral("ToolsViewConfigFilling2"));
    layOutPlaceholderPage(this, [this] { return tr("Filling %1").arg(2); },
                          {{"backButton", ":/images/arrow_back_left_grn.svg", {}, [this] { emit goBack(); }},
                           {"nextButton", ":/images/arrow_right_green.svg", {}, [this] { emit nextPage(); }}});
}

}  // namespace ToolsViewWidgets
