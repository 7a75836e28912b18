#include "toolsviewdata.h"

#include "datacampaign.h"
#include "datajobs.h"
#include "datatotals.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

static void registerDataResources()
{
    Q_INIT_RESOURCE(data);
}

namespace ToolsViewWidgets {

void dataScreensInitResources()
{
    static const bool registered = (registerDataResources(), true);
    (void)registered;
}

ToolsViewData::ToolsViewData(QWidget* parent) : QWidget(parent), mStack(new QStackedWidget(this))
{
    dataScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewData"));

    QWidget* top = new QWidget;
    top->setObjectName(QStringLiteral("dataTopPage"));
    mKit = new SettingPageKit(top);
    mKit->connectButtonBar(this, &ToolsViewData::handleButtonBarPressed);

    mJobs = new DataJobs;
    mCampaign = new DataCampaign;
    mTotals = new DataTotals;
    mStack->addWidget(top);
    mJobsIndex = mStack->addWidget(mJobs);
    mCampaignIndex = mStack->addWidget(mCampaign);
    mTotalsIndex = mStack->addWidget(mTotals);
    mStack->setContentsMargins(0, 0, 0, 0);
    mStack->setCurrentIndex(0);

    mJobsButton = SettingPageKit::makeMenuButton(mStack, mJobsIndex, top, "m_jobsButton");
    mCampaignButton = SettingPageKit::makeMenuButton(mStack, mCampaignIndex, top, "m_campaignButton");
    mTotalsButton = SettingPageKit::makeMenuButton(mStack, mTotalsIndex, top, "m_totalsButton");
    mSaveCsvButton = new KestromPushButton(top);
    mSaveCsvButton->setObjectName(QStringLiteral("m_saveCsvButton"));
    mSaveCsvButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mSaveCsvButton->setSvgIcon(":/images/save_csv.svg", GuiGeometry::iconSize50());
    connect(mSaveCsvButton, &KestromPushButton::takeAction, this, &ToolsViewData::saveCsvData);
    mKit->addUsbButton(mSaveCsvButton);
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventTripCntCsvSaved, this,
            &ToolsViewData::dataSaved);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mJobsButton, 0, 0);
    grid->addWidget(mCampaignButton, 0, 1);
    grid->addWidget(mTotalsButton, 1, 0);
    grid->addWidget(mSaveCsvButton, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);

    SettingPageKit::connectSubPage(this, mJobs);
    SettingPageKit::connectSubPage(this, mCampaign);
    SettingPageKit::connectSubPage(this, mTotals);

    QVBoxLayout* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mStack);
    retranslate();
}

void ToolsViewData::showTopPage()
{
    mStack->setCurrentIndex(0);
}

void ToolsViewData::handleButtonBarPressed(int id)
{
    if (id != ToolsViewButtonBar::Home)
        return;
    mStack->setCurrentIndex(0);
    emit ShowHomeView();
}

void ToolsViewData::saveCsvData()
{
    eventPost(EV_OWNER_PERIODIC, EV_SAVE_COUNTERS_CSV, 0);
}

void ToolsViewData::dataSaved(bool ok)
{
    if (ok)
        SettingPageKit::showResult(tr("Data Saved", "definition header"),
                                   tr("The data has been saved in CSV file.", "Data Saved definition"));
    else
        SettingPageKit::showResult(tr("Data Not Saved", "definition header"),
                                   tr("An error occurred while saving the data.", "Data Not Saved definition"));
}

void ToolsViewData::retranslate()
{
    mKit->setPathway({tr("Data", "pathway text")});
    mJobsButton->setText(tr("Jobs", "button"));
    mCampaignButton->setText(tr("Campaign", "button"));
    mTotalsButton->setText(tr("Totals", "button"));
}

void ToolsViewData::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
