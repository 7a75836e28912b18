#pragma once
// The stack of the console's eight top-level views and the one that is shown.
// Views ask for a change through their signals; the arbitrator switches the
// stack and tells the process core through DS_PAGE_MODE when the home view or
// the working screen comes up. GUI thread only.
#include <QWidget>

class QStackedWidget;
class HomeViewCtrl;
class WorkingViewCtrl;

namespace ToolsViewWidgets {
class ToolsViewConfigFilling;
class ToolsViewConfigFilling2;
class ToolsViewConfiguration;
class ToolsViewData;
class ToolsViewMisc;
class ToolsViewConsole;
}  // namespace ToolsViewWidgets

class GuiArbitrator : public QWidget {
    Q_OBJECT
public:
    // Stack indices; the home view's buttons carry the same numbers.
    enum View {
        HomeView = 0,
        WorkingView = 1,
        SettingsMenu = 2,
        DataMenu = 3,
        ConsoleMenu = 4,
        ToolsMenu = 5,
        FillingPage1 = 6,
        FillingPage2 = 7,
    };

    explicit GuiArbitrator(QWidget* parent);

    int currentIndex() const;
    QWidget* view(int index) const;

public slots:
    void showHomeView();
    void showWorkView();
    void showFillingView();
    void showSelectedPage(int id);
    void showNextPage();

private:
    QStackedWidget* viewStack;
    HomeViewCtrl* homeView;
    ToolsViewWidgets::ToolsViewConfigFilling* fillingPage1;
    ToolsViewWidgets::ToolsViewConfigFilling2* fillingPage2;
    WorkingViewCtrl* workingView;
    ToolsViewWidgets::ToolsViewConfiguration* settingsMenu;
    ToolsViewWidgets::ToolsViewData* dataMenu;
    ToolsViewWidgets::ToolsViewMisc* toolsMenu;
    ToolsViewWidgets::ToolsViewConsole* consoleMenu;
    int fillingPage1Index = -1;
    int fillingPage2Index = -1;
};
