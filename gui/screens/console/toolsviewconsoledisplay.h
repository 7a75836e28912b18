#pragma once
// The console's display page: colour schemes for day and night. Until the page
// itself is built, it offers what start-up needs: the stored scheme's style sheet.
#include <QString>
#include <QWidget>

// Registers the console pages' built-in style sheets (the library is static).
void consoleScreensInitResources();

namespace ToolsViewWidgets {

class ToolsViewConsoleDisplay : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsoleDisplay(QWidget* parent = nullptr);

    // Number of built-in colour schemes; scheme n's style sheet is styleSheetPath(n).
    static int schemeCount();
    // An unknown scheme number gives the day scheme's sheet.
    static QString styleSheetPath(int scheme);

    // Resource path of the style sheet of the stored colour scheme: the night
    // scheme while night mode is on, else the day scheme. Applies nothing.
    static QString applyStoredStyle();

    QString storedStylePath() const;
};

}  // namespace ToolsViewWidgets
