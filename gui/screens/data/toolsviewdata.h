#pragma once
// The data menu page: counters, logs and reports.
// Until its sub-pages exist the page shows its title and a home button.
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewData : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewData(QWidget* parent = nullptr);

signals:
    void ShowHomeView();
};

}  // namespace ToolsViewWidgets
