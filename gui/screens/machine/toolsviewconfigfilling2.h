#pragma once
// Filling page 2. Until its contents exist it shows its title, a back button
// (to the working screen) and a next button (to the other filling page).
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewConfigFilling2 : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConfigFilling2(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

signals:
    void goBack();
    void nextPage();
    void ShowHomeView(int id);
};

}  // namespace ToolsViewWidgets
