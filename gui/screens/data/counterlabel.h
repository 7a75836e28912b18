#pragma once
// The bordered, centred label in which the counter pages show a value.
#include <QSize>
#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

QLabel* makeCounterLabel(QWidget* parent, const char* objectName, const QSize& minimumSize);
// A counter label of the setting-button size in column 2 of the kit's row.
QLabel* addCounterLabel(SettingPageKit* kit, int row, const char* objectName);

// Sets a row label's text, on two lines (broken at the space nearest the middle)
// when one line would not fit beside its icon in the label column.
void setRowLabelText(QAbstractButton* label, const QString& text);

}  // namespace ToolsViewWidgets
