#pragma once
// Clear totals of the installer menu (behind its own code): the total area,
// volume and working time, refreshed every 100 ms while shown, and "Clear",
// which after a confirmation asks the core to clear every total counter.
#include "widgettimedfocusupdateqt.h"

class CPopupQuery;
class KestromPushButton;
class QLabel;

namespace ToolsViewWidgets {

class SettingPageKit;

class ConfigOemDeleteTotals : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit ConfigOemDeleteTotals(QWidget* parent = nullptr);
    ~ConfigOemDeleteTotals() override;

    void timedUpdate() override;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate();
    void showHelp(int id);
    void handleButtonBarPressed(int id);
    void ClearTotals(int id);
    void ResponseYesNoClicked(CPopupQuery* query, int answer);

protected:
    void changeEvent(QEvent* event) override;

private:
    enum { RowCount = 4 };
    void refreshCounters();

    SettingPageKit* mKit;
    KestromPushButton* mLabels[RowCount];
    QLabel* mCounters[3];
    KestromPushButton* mClear;
};

}  // namespace ToolsViewWidgets
