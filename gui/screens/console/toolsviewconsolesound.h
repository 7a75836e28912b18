#pragma once
// The console's sound page: whether a touched button beeps (alarm beeps do not
// depend on it).
#include <QWidget>

class ButtonGridWidget;
class KestromPushButton;

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConsoleSound : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsoleSound(QWidget* parent = nullptr);

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void editKeyBeep();
    void commitKeyBeep(int selection);
    void showHelp(int which);
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void updateKeyBeep();

    SettingPageKit* mKit;
    KestromPushButton* mLabel;
    KestromPushButton* mValue;
    ButtonGridWidget* mGrid;
    KestromPushButton* mDisable;
    KestromPushButton* mEnable;
};

}  // namespace ToolsViewWidgets
