#pragma once
// The second display page: screenshot mode, in which the main window offers
// its camera button (the choice lasts until the console is switched off). Its
// next button leads back to the first display page.
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConsoleDisplay2 : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsoleDisplay2(QWidget* parent = nullptr);
    ~ToolsViewConsoleDisplay2() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void editScreenShot();
    void commitScreenShot(int selection);
    void showHelp(int which);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void updateScreenShotSelection();

    SettingPageKit* mKit;
    KestromPushButton* mLabel;
    KestromPushButton* mValue;
    ButtonGridWidget* mGrid;
    KestromPushButton* mDisable;
    KestromPushButton* mEnable;
    bool mScreenShotEnabled = false;
};

}  // namespace ToolsViewWidgets
