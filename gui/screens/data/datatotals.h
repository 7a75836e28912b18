#pragma once
// The totals page: the machine's lifetime area, amount and working time,
// refreshed every 100 ms while shown. Read-only: the totals cannot be cleared
// here. Index 3 of the data menu's page stack.
#include "countertexts.h"
#include "widgettimedfocusupdateqt.h"

class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class DataTotals : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit DataTotals(QWidget* parent = nullptr);

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int id);
    void handleButtonBarPressed(int id);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    CounterUnitWords unitWords() const;
    void refreshValues();

    SettingPageKit* mKit;
    KestromPushButton* mAreaLabel;
    KestromPushButton* mVolumeLabel;
    KestromPushButton* mTimeLabel;
    QLabel* mAreaValue;
    QLabel* mVolumeValue;
    QLabel* mTimeValue;
};

}  // namespace ToolsViewWidgets
