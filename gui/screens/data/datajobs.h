#pragma once
// The jobs page: picks the active job (1 to 10 on the keypad; the core makes
// the requested job active), shows its start time, area, amount, distance and
// working time every 100 ms while shown, clears its counters on the operator's
// confirmation and asks the core for its PDF report on the USB stick. Index 1
// of the data menu's page stack.
#include "countertexts.h"
#include "widgettimedfocusupdateqt.h"

class CPopupQuery;
class KestromPushButton;
class NumericKeypadWidget;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class DataJobs : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit DataJobs(QWidget* parent = nullptr);

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void editJobNumber();
    void commitJobNumber(double value);
    void clearJobData();
    void saveJobData();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void ResponseYesNoClicked(CPopupQuery* query, int code);
    void JobDataSaved(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CounterUnitWords unitWords() const;
    void refreshJobButton();
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mJobButton;
    NumericKeypadWidget* mKeypad;
    QLabel* mStartValue;
    QLabel* mAreaValue;
    QLabel* mAmountValue;
    QLabel* mDistanceValue;
    QLabel* mTimeValue;
    KestromPushButton* mClearButton;
    KestromPushButton* mSavePdfButton;
};

}  // namespace ToolsViewWidgets
