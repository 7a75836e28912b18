#pragma once
// The bordered, centred label in which the counter pages show a value.
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

QLabel* makeCounterLabel(QWidget* parent, const char* objectName, const QSize& minimumSize);
// A counter label of the setting-button size in column 2 of the kit's row.
QLabel* addCounterLabel(SettingPageKit* kit, int row, const char* objectName);

}  // namespace ToolsViewWidgets
