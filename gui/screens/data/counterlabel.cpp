#include "counterlabel.h"

#include "guigeometry.h"
#include "settingpagekit.h"

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
    // A long value and its unit take two lines rather than run out of the frame.
    label->setWordWrap(true);
    return label;
}

QLabel* addCounterLabel(SettingPageKit* kit, int row, const char* objectName)
{
    QLabel* label = makeCounterLabel(kit->page(), objectName, GuiGeometry::settingButtonSize());
    kit->addRowWidget(row, label);
    return label;
}

}  // namespace ToolsViewWidgets
