#pragma once
// Button texts kept inside their button. A text too wide for one line is shown
// on two, broken at the space that leaves the wider line narrowest; a text
// that carries its own line break is shown as the page wrote it. The fitting
// follows every text the page sets later, the font a new style sheet brings
// and every new size, so that a longer translation or a larger scheme font
// does not run out of the button.
#include <QString>

class QAbstractButton;
class QFontMetrics;

namespace ToolsViewWidgets {

// text on one line when it is at most room pixels wide, else on two lines as
// above (a text without a space stays on one line).
QString twoLineText(const QFontMetrics& metrics, const QString& text, int room);

// Keeps the button's text fitted to the room its contents leave beside its
// icon, from now on. Calling it again for the same button changes nothing.
void keepTextFitted(QAbstractButton* button);

}  // namespace ToolsViewWidgets
