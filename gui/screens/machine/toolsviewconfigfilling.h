#pragma once
// Filling page 1. Until its contents exist it shows its title, a back button
// (to the working screen) and a next button (to the other filling page).
#include <QWidget>

namespace ToolsViewWidgets {

class ToolsViewConfigFilling : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConfigFilling(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

signals:
    void goBack();
    void nextPage();
    void ShowHomeView(int id);
};

}  // namespace ToolsViewWidgets
