#pragma once
// The console menu page: display, colour schemes, culture, sound and about.
// Until its sub-pages exist the page shows its title and a home button.
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewConsole : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsole(QWidget* parent = nullptr);

signals:
    void ShowHomeView();
};

}  // namespace ToolsViewWidgets
