#pragma once
// The settings menu page: access code entry, machine, diagnostics and installer pages.
// Until its sub-pages exist the page shows its title and a home button.
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewConfiguration : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConfiguration(QWidget* parent = nullptr);

signals:
    void ShowHomeView();
};

}  // namespace ToolsViewWidgets
