#pragma once
// The data menu (the view stack's data page): a top page with the jobs,
// campaign and totals buttons and the save-CSV button, which asks the core to
// write every counter to the USB stick, and the three counter pages in a page
// stack of its own. Home from any of them returns the stack to the top page
// before the home view is asked for.
#include <QWidget>

class KestromPushButton;
class QStackedWidget;

namespace ToolsViewWidgets {

class DataCampaign;
class DataJobs;
class DataTotals;
class SettingPageKit;

class ToolsViewData : public QWidget {
    Q_OBJECT
public:
    explicit ToolsViewData(QWidget* parent = nullptr);

    QStackedWidget* pageStack() const { return mStack; }
    DataJobs* jobsPage() const { return mJobs; }
    DataCampaign* campaignPage() const { return mCampaign; }
    DataTotals* totalsPage() const { return mTotals; }

signals:
    void ShowHomeView();

public slots:
    void showTopPage();
    void handleButtonBarPressed(int id);
    void saveCsvData();
    void dataSaved(bool ok);

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();

    QStackedWidget* mStack;
    SettingPageKit* mKit;
    DataJobs* mJobs;
    DataCampaign* mCampaign;
    DataTotals* mTotals;
    int mJobsIndex;
    int mCampaignIndex;
    int mTotalsIndex;
    KestromPushButton* mJobsButton;
    KestromPushButton* mCampaignButton;
    KestromPushButton* mTotalsButton;
    KestromPushButton* mSaveCsvButton;
};

// Registers the data pages' pictures (idempotent).
void dataScreensInitResources();

}  // namespace ToolsViewWidgets
