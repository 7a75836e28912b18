#include "datacampaign.h"

#include "counterlabel.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

DataCampaign::DataCampaign(QWidget* parent) : WidgetTimedFocusUpdateQt(parent), mKit(new SettingPageKit(this))
{
    setObjectName(QStringLiteral("DataCampaign"));
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &DataCampaign::handleButtonBarPressed);

    mAreaLabel = mKit->addLabelButton(0, this, &DataCampaign::showHelp);
    mAreaValue = addCounterLabel(mKit, 0, "m_areaValue");
    mVolumeLabel = mKit->addLabelButton(1, this, &DataCampaign::showHelp);
    mVolumeValue = addCounterLabel(mKit, 1, "m_volumeValue");
    mTimeLabel = mKit->addLabelButton(2, this, &DataCampaign::showHelp);
    mTimeValue = addCounterLabel(mKit, 2, "m_timeValue");
    mClearLabel = mKit->addLabelButton(3, this, &DataCampaign::showHelp, ":/images/trash.svg");
    mClearButton = new KestromPushButton(this);
    mClearButton->setObjectName(QStringLiteral("m_clearButton"));
    mClearButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(3, mClearButton);
    connect(mClearButton, &KestromPushButton::takeAction, this, &DataCampaign::clearCounters);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

CounterUnitWords DataCampaign::unitWords() const
{
    return {tr("ha", "abbr. for hectare"), tr("1000 sq ft", "abbr. for 1000 square feet"), tr("ac", "abbr. for acre"),
            tr("l", "abbr for liter"),     tr("gal", "abbr for gallon"),
            tr("kg", "abbr for kilogram"), tr("lb", "abbr for pound"),
            QString(),                     QString()};
}

void DataCampaign::refreshValues()
{
    const CounterUnitWords words = unitWords();
    const uint32_t system = unitGetSystem();
    const bool turf = datastoreGetBool(DS_TURF_UNITS) != 0;
    const bool nh3 = datastoreGetBool(DS_NH3_MODE) != 0;
    mAreaValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Area, %1 is the value and %2 is the unit"),
        CounterTexts::areaValue(datastoreGetUint32(DS_CAMPAIGN_AREA), UQ_CAMPAIGN_AREA, turf), 2,
        CounterTexts::areaUnit(words, system, turf)));
    mVolumeValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Volume, %1 is the value and %2 is the unit"),
        CounterTexts::amountValue(datastoreGetUint32(DS_CAMPAIGN_VOLUME), UQ_CAMPAIGN_VOLUME, UQ_CAMPAIGN_MASS, nh3),
        0, CounterTexts::amountUnit(words, system, nh3)));
    mTimeValue->setText(CounterTexts::timeText(tr("%1h %2m", "Time, %1 is hours and %2 is minutes"),
                                               datastoreGetUint32(DS_CAMPAIGN_TIME)));
}

void DataCampaign::timedUpdate()
{
    refreshValues();
}

void DataCampaign::retranslate()
{
    mKit->setPathway({tr("Data", "pathway text"), tr("Campaign", "pathway text")});
    mAreaLabel->setText(tr("Area Counter", "setting label"));
    mVolumeLabel->setText(tr("Volume Counter", "setting label"));
    mTimeLabel->setText(tr("Time Counter", "setting label"));
    SettingPageKit::setLabelText(mClearLabel, tr("Clear All Campaign Counters", "setting label"));
    mClearButton->setText(tr("Clear", "button"));
    refreshValues();
}

void DataCampaign::showHelp(int id)
{
    switch (id) {
    case 0:
        SettingPageKit::showHelp(tr("Area Counter", "definition header"),
                                 tr("Displays total applied coverage area for all jobs.", "Area Counter definition"));
        break;
    case 1:
        SettingPageKit::showHelp(
            tr("Volume Counter", "definition header"),
            tr("Displays total volume of material applied during all jobs.", "Volume Counter definition"));
        break;
    case 2:
        SettingPageKit::showHelp(tr("Time Counter", "definition header"),
                                 tr("Displays total time traveled for all jobs.", "Time Counter definition"));
        break;
    case 3:
        SettingPageKit::showHelp(tr("Clear All Campaign Counters", "definition header"),
                                 tr("Press \"Clear\" to clear all campaign counters.",
                                    "Clear All Campaign Counters definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void DataCampaign::clearCounters()
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Are you sure, you want to clear the campaign counters?", "Clear All Campaign Counters confirmation"));
    if (query != nullptr)
        connect(query, &CPopupQuery::ResponseReceived, this, &DataCampaign::ResponseYesNoClicked);
}

void DataCampaign::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void DataCampaign::ResponseYesNoClicked(CPopupQuery*, int code)
{
    if (code == 1)
        eventPost(EV_OWNER_PERIODIC, EV_CLEAR_CAMPAIGN_COUNTERS, 0);
}

void DataCampaign::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (SettingPageKit::programCaused(event))
        refreshValues();
}

void DataCampaign::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
