#include "counterlabel.h"

#include "guigeometry.h"
#include "settingpagekit.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QVariant>

namespace ToolsViewWidgets {

QLabel* makeCounterLabel(QWidget* parent, const char* objectName, const QSize& minimumSize)
{
    QLabel* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setProperty("hasBorder", true);
    label->setMinimumSize(minimumSize);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* addCounterLabel(SettingPageKit* kit, int row, const char* objectName)
{
    QLabel* label = makeCounterLabel(kit->page(), objectName, GuiGeometry::settingButtonSize());
    kit->addRowWidget(row, label);
    return label;
}

void setRowLabelText(QAbstractButton* label, const QString& text)
{
    // The label column keeps about a setting button's width beside the values.
    const int room = GuiGeometry::settingButtonSize().width() - label->iconSize().width();
    if (label->fontMetrics().horizontalAdvance(text) <= room) {
        label->setText(text);
        return;
    }
    int breakAt = -1;
    for (int i = text.indexOf(QLatin1Char(' ')); i >= 0; i = text.indexOf(QLatin1Char(' '), i + 1))
        if (breakAt < 0 || qAbs(i - text.size() / 2) < qAbs(breakAt - text.size() / 2))
            breakAt = i;
    label->setText(breakAt < 0 ? text : text.left(breakAt) + QLatin1Char('\n') + text.mid(breakAt + 1));
}

}  // namespace ToolsViewWidgets
