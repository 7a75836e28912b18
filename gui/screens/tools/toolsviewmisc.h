#pragma once
// The tools menu page: calculator and units converter.
// Until its sub-pages exist the page shows its title and a home button.
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewMisc : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewMisc(QWidget* parent = nullptr);

signals:
    void ShowHomeView();
};

}  // namespace ToolsViewWidgets
