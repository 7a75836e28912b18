#pragma once
// Filling page 2: the desired tank content, the actual content, and the
// automatic filling started and stopped by one button, with its progress.
// While it is up the core is in the filling page mode; leaving it always ends
// a running filling. Built twice, as filling page 1 is.
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class NumericKeypadWidget;
class QLabel;
class QProgressBar;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConfigFilling2 : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    ToolsViewConfigFilling2(QWidget* parent, bool menuInstance);
    ~ToolsViewConfigFilling2() override;

    SettingPageKit* kit() const { return mKit; }
    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void activateFilling();
    void commitDesiredContent(double value);
    void editDesiredContent();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString contentUnit(bool longName) const;
    void refreshContents();
    void refreshFillingState();

    const bool mMenuInstance;
    // Inverted by every press of the filling button; decides only while a filling runs.
    bool mFillingToggle = false;
    SettingPageKit* mKit;
    KestromPushButton* mDesiredLabel;
    KestromPushButton* mActualLabel;
    KestromPushButton* mFillingLabel;
    KestromPushButton* mDesiredValue;
    QLabel* mActualValue;
    KestromPushButton* mFillingButton;
    QLabel* mStartLabel;
    QProgressBar* mProgress;
    QLabel* mFullLabel;
    NumericKeypadWidget* mKeypad;
};

}  // namespace ToolsViewWidgets
