#include "datatotals.h"

#include "counterlabel.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "kestrompushbutton.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

DataTotals::DataTotals(QWidget* parent) : WidgetTimedFocusUpdateQt(parent), mKit(new SettingPageKit(this))
{
    setObjectName(QStringLiteral("DataTotals"));
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &DataTotals::handleButtonBarPressed);

    mAreaLabel = mKit->addLabelButton(0, this, &DataTotals::showHelp);
    mAreaValue = addCounterLabel(mKit, 0, "m_areaValue");
    mVolumeLabel = mKit->addLabelButton(1, this, &DataTotals::showHelp);
    mVolumeValue = addCounterLabel(mKit, 1, "m_volumeValue");
    mTimeLabel = mKit->addLabelButton(2, this, &DataTotals::showHelp);
    mTimeValue = addCounterLabel(mKit, 2, "m_timeValue");

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

CounterUnitWords DataTotals::unitWords() const
{
    return {tr("ha", "abbr. for hectare"), tr("1000 sq ft", "abbr. for 1000 square feet"), tr("ac", "abbr. for acre"),
            tr("l", "abbr for liter"),     tr("gal", "abbr for gallon"),
            tr("kg", "abbr for kilogram"), tr("lb", "abbr for pound"),
            QString(),                     QString()};
}

void DataTotals::refreshValues()
{
    const CounterUnitWords words = unitWords();
    const uint32_t system = unitGetSystem();
    const bool turf = datastoreGetBool(DS_TURF_UNITS) != 0;
    const bool nh3 = datastoreGetBool(DS_NH3_MODE) != 0;
    mAreaValue->setText(CounterTexts::valueText(tr("%L1 %2", "Area, %L1 is the value and %2 is the unit"),
                                                CounterTexts::areaValue(datastoreGetUint32(DS_TOTAL_AREA),
                                                                        UQ_TOTAL_AREA, turf),
                                                2, CounterTexts::areaUnit(words, system, turf)));
    mVolumeValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Volume, %1 is the value and %2 is the unit"),
        CounterTexts::amountValue(datastoreGetUint32(DS_TOTAL_VOLUME), UQ_TOTAL_VOLUME, UQ_TOTAL_MASS, nh3), 0,
        CounterTexts::amountUnit(words, system, nh3)));
    mTimeValue->setText(CounterTexts::timeText(tr("%1h %2m", "Working time, %1 is hours and %2 is minutes"),
                                               datastoreGetUint32(DS_TOTAL_TIME)));
}

void DataTotals::timedUpdate()
{
    refreshValues();
}

void DataTotals::retranslate()
{
    mKit->setPathway({tr("Data", "pathway text"), tr("Totals", "pathway text")});
    mAreaLabel->setText(tr("Area Counter", "setting label"));
    mVolumeLabel->setText(tr("Volume Counter", "setting label"));
    mTimeLabel->setText(tr("Time Counter", "setting label"));
    refreshValues();
}

void DataTotals::showHelp(int id)
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
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void DataTotals::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void DataTotals::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (SettingPageKit::programCaused(event))
        refreshValues();
}

void DataTotals::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
