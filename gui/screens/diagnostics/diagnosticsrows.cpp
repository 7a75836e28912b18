#include "diagnosticsrows.h"

#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "settingpagekit.h"

#include <QGridLayout>
#include <QLabel>
#include <QVariant>

#include <algorithm>

namespace ToolsViewWidgets {
namespace DiagnosticsRows {

KestromPushButton* addValueButton(SettingPageKit* kit, int row, const char* objectName)
{
    KestromPushButton* button = kit->addValueButton(row, objectName);
    kit->rowGrid()->setAlignment(button, Qt::AlignRight);
    return button;
}

QLabel* addValueLabel(SettingPageKit* kit, int row, const char* objectName)
{
    QLabel* label = new QLabel(kit->page());
    label->setObjectName(QString::fromLatin1(objectName));
    label->setProperty("hasBorder", true);
    label->setMinimumSize(GuiGeometry::settingButtonSize());
    label->setAlignment(Qt::AlignCenter);
    kit->addRowWidget(row, label);
    kit->rowGrid()->setAlignment(label, Qt::AlignRight);
    return label;
}

void fitHeightToLines(QWidget* widget, const QString& text)
{
    // Room for the style's border and padding around the lines.
    constexpr int kFrame = 10;
    const int lines = text.count(QLatin1Char('\n')) + 1;
    const int needed = lines * widget->fontMetrics().lineSpacing() + kFrame;
    widget->setMinimumHeight(std::max(GuiGeometry::settingButtonSize().height(), needed));
}

void setPathway(SettingPageKit* kit, const QString& settings, const QString& diagnostics, const QString& page)
{
    kit->pathwayLabel()->setElidedText(QStringLiteral("...%1->%2->%3").arg(settings, diagnostics, page));
}

}  // namespace DiagnosticsRows
}  // namespace ToolsViewWidgets
