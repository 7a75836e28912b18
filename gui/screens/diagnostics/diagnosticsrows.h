#pragma once
// The frame parts the diagnostics test pages share beyond the page kit: value
// widgets aligned right in their column, and the pathway
// "...Settings->Diagnostics-><page>".
#include <QString>

class KestromPushButton;
class QLabel;
class QWidget;

namespace ToolsViewWidgets {

class SettingPageKit;

namespace DiagnosticsRows {

// A "hasBorder" value button of the row, aligned right.
KestromPushButton* addValueButton(SettingPageKit* kit, int row, const char* objectName);
// A "hasBorder" value label of the row with centred text, aligned right.
QLabel* addValueLabel(SettingPageKit* kit, int row, const char* objectName);
// Grows the widget's minimum height (from the setting-button height) to hold
// the text's lines.
void fitHeightToLines(QWidget* widget, const QString& text);
// The parts as the page translated them.
void setPathway(SettingPageKit* kit, const QString& settings, const QString& diagnostics, const QString& page);

}  // namespace DiagnosticsRows
}  // namespace ToolsViewWidgets
