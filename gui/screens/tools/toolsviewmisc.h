#pragma once
// The tools menu (page 5 of the view stack): the calculator, a window of its
// own built once and kept for the menu's life (so its display and memory
// survive between openings), and the units converter on page 1 of the menu's
// own page stack. Home returns the stack to the button page before the home
// view is asked for.
#include <QWidget>

class CalculatorWidget;
class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class MiscUnitsConverter;
class SettingPageKit;

class ToolsViewMisc : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewMisc(QWidget* parent = nullptr);
    ~ToolsViewMisc() override;

    QStackedWidget* pageStack() const { return mStack; }
    MiscUnitsConverter* converterPage() const { return mConverter; }
    CalculatorWidget* calculator() const { return mCalculator; }

signals:
    void ShowHomeView();

public slots:
    void showTopPage();
    void handleButtonBarPressed(int id);
    void showCalculator();

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    CalculatorWidget* mCalculator;
    QStackedWidget* mStack;
    SettingPageKit* mKit;
    MiscUnitsConverter* mConverter;
    KestromPushButton* mCalculatorButton;
    KestromPushButton* mConverterButton;
};

}  // namespace ToolsViewWidgets
