#pragma once
// The console's first display page: night mode, the colour scheme of the mode
// in force, the LCD brightness and the touch-screen calibration. Day and night
// each keep a scheme and a brightness; night mode chooses the pair in force.
// The page owns the table of the built-in colour schemes and hands start-up
// the stored scheme's style sheet (applyStoredStyle).
#include <QString>
#include <QWidget>

#include <cstdint>

class ButtonGridWidget;
class CPopupQuery;
class KestromPushButton;
class NumericKeypadWidget;

// Registers the console pages' pictures and built-in style sheets (the library is static).
void consoleScreensInitResources();

namespace ToolsViewWidgets {

class SettingPageKit;

class ToolsViewConsoleDisplay : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewConsoleDisplay(QWidget* parent = nullptr);
    ~ToolsViewConsoleDisplay() override;

    // Number of built-in colour schemes; scheme n's style sheet is styleSheetPath(n).
    static int schemeCount();
    // An unknown scheme number gives an empty path: no sheet.
    static QString styleSheetPath(int scheme);
    // The sheets name the board's font; where it is missing (a desktop, the
    // tests) a font of the same narrow cut stands in. Before any sheet applies.
    static void installSheetFont();

    // Resource path of the style sheet of the stored colour scheme: the night
    // scheme while night mode is on, else the day scheme. Applies nothing.
    static QString applyStoredStyle();

    // The scheme and brightness of the mode in force (the page's night flag).
    int getStyle() const;
    void setStyle(int index);
    int getBrightness() const;
    void setBrightness(uint8_t value);

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void editColorScheme();
    void commitColorScheme(int index);
    void editBrightness();
    void commitBrightness(double value);
    void startCalibrationButtonPressed();
    void startCalibration();
    void handleYesNoQueryResponse(CPopupQuery* query, int answer);
    void handleOkayQueryResponse(CPopupQuery* query, int answer);
    void showHelp(int which);
    void handleButtonBarPressed(int id);
    void commitNightMode(int selection);
    void editNightMode();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void updateColorSchemeSelection();
    void updateBrightnessValue();
    void updateNightModeSelection();
    QString schemeLabel(int index, bool small) const;

    bool mNight = false;
    SettingPageKit* mKit;
    KestromPushButton* mNightLabel;
    KestromPushButton* mNightValue;
    KestromPushButton* mSchemeLabel;
    KestromPushButton* mSchemeValue;
    KestromPushButton* mBrightnessLabel;
    KestromPushButton* mBrightnessValue;
    KestromPushButton* mCalibrationLabel;
    KestromPushButton* mCalibrationValue;
    ButtonGridWidget* mSchemeGrid;
    ButtonGridWidget* mNightGrid;
    KestromPushButton* mSchemeChoices[6] = {};
    KestromPushButton* mNightOff;
    KestromPushButton* mNightOn;
    NumericKeypadWidget* mKeypad;
};

}  // namespace ToolsViewWidgets
