#pragma once
// The campaign counters page: area, amount and working time summed over all
// jobs of the season, refreshed every 100 ms while shown, and cleared on the
// operator's confirmation (the core clears them on EV_CLEAR_CAMPAIGN_COUNTERS).
// Index 2 of the data menu's page stack.
#include "countertexts.h"
#include "widgettimedfocusupdateqt.h"

class CPopupQuery;
class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class DataCampaign : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit DataCampaign(QWidget* parent = nullptr);

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int id);
    void clearCounters();
    void handleButtonBarPressed(int id);
    void ResponseYesNoClicked(CPopupQuery* query, int code);

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
    KestromPushButton* mClearLabel;
    QLabel* mAreaValue;
    QLabel* mVolumeValue;
    QLabel* mTimeValue;
    KestromPushButton* mClearButton;
};

}  // namespace ToolsViewWidgets
