#include "toolsviewconfigfilling.h"

#include "placeholderpage.h"

namespace ToolsViewWidgets {

ToolsViewConfigFilling::ToolsViewConfigFilling(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setObjectName(QStringLiteral("ToolsViewConfigFilling"));
    layOutPlaceholderPage(this, [this] { return tr("Filling %1").arg(1); },
                          {{"backButton", ":/images/arrow_back_left_grn.svg", {}, [this] { emit goBack(); }},
                           {"nextButton", ":/images/arrow_right_green.svg", {}, [this] { emit nextPage(); }}});
}

}  // namespace ToolsViewWidgets
