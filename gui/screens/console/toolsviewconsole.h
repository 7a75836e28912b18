#pragma once
// The console menu, page 4 of the view stack: display, culture (language,
// units, date and time), sound and the version information. It holds the
// console pages in its own stack; back from a page returns to the menu's top
// page, home leaves the menu on its top page for the next visit.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class SettingPageKit;
class ToolsViewConsoleAbout;
class ToolsViewConsoleCulture;
class ToolsViewConsoleDisplay;
class ToolsViewConsoleDisplay2;
class ToolsViewConsoleSound;

class ToolsViewConsole : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsole(QWidget* parent = nullptr);
    ~ToolsViewConsole() override;

    QStackedWidget* pageStack() const { return mStack; }
    ToolsViewConsoleDisplay* displayPage() const { return mDisplay; }
    ToolsViewConsoleDisplay2* display2Page() const { return mDisplay2; }
    ToolsViewConsoleCulture* culturePage() const { return mCulture; }
    ToolsViewConsoleAbout* aboutPage() const { return mAbout; }
    ToolsViewConsoleSound* soundPage() const { return mSound; }

signals:
    void ShowHomeView();

public slots:
    void showTopPage();
    void showNextPage();
    void handleButtonBarPressed(int id);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QWidget* mTopPage;
    SettingPageKit* mKit;
    QStackedWidget* mStack;
    ToolsViewConsoleDisplay* mDisplay;
    ToolsViewConsoleDisplay2* mDisplay2;
    ToolsViewConsoleCulture* mCulture;
    ToolsViewConsoleAbout* mAbout;
    ToolsViewConsoleSound* mSound;
    int mDisplayIndex = -1;
    int mDisplay2Index = -1;
    KestromPushButton* mDisplayButton;
    KestromPushButton* mCultureButton;
    KestromPushButton* mSoundButton;
    KestromPushButton* mAboutButton;
};

}  // namespace ToolsViewWidgets
