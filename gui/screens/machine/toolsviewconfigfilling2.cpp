#include "toolsviewconfigfilling2.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

ToolsViewConfigFilling2::ToolsViewConfigFilling2(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setObjectName(QStringLiteral("ToolsViewConfigFilling2"));
    auto* title = new QLabel(tr("Filling %1").arg(2), this);
    title->setAlignment(Qt::AlignCenter);
    auto* back = new KestromPushButton(0, this);
    back->setObjectName(QStringLiteral("backButton"));
    back->setSvgIcon(":/images/arrow_back_left_grn.svg", GuiGeometry::buttonBarIconSize());
    auto* next = new KestromPushButton(1, this);
    next->setObjectName(QStringLiteral("nextButton"));
    next->setSvgIcon(":/images/arrow_right_green.svg", GuiGeometry::buttonBarIconSize());
    connect(back, &KestromPushButton::takeAction, this, [this] { emit goBack(); });
    connect(next, &KestromPushButton::takeAction, this, [this] { emit nextPage(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addStretch(1);
    buttons->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 1);
    layout->addLayout(buttons);
}

}  // namespace ToolsViewWidgets
