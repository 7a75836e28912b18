#include "sensorbarrow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

namespace ToolsViewWidgets {

SensorBarRow SensorBarRow::create(QWidget* parent, int maximum, const char* objectName)
{
    SensorBarRow row;
    row.low = new QLabel(parent);
    row.low->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row.bar = new QProgressBar(parent);
    row.bar->setObjectName(QString::fromLatin1(objectName));
    row.bar->setRange(0, maximum);
    row.bar->setValue(0);
    row.bar->setTextVisible(false);
    row.high = new QLabel(parent);
    row.high->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row.layout = new QHBoxLayout;
    row.layout->addWidget(row.low, 1);
    row.layout->addWidget(row.bar, 3);
    row.layout->addWidget(row.high, 1);
    return row;
}

}  // namespace ToolsViewWidgets
