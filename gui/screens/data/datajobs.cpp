#include "datajobs.h"

#include "counterlabel.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kJobCount = 10;

KestromPushButton* makeIconButton(QWidget* parent, const char* objectName, const char* icon)
{
    KestromPushButton* button = new KestromPushButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setMinimumSize(GuiGeometry::settingButtonSize());
    button->setSvgIcon(icon, GuiGeometry::iconSize50());
    return button;
}

}  // namespace

DataJobs::DataJobs(QWidget* parent) : WidgetTimedFocusUpdateQt(parent), mKit(new SettingPageKit(this))
{
    setObjectName(QStringLiteral("DataJobs"));
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &DataJobs::handleButtonBarPressed);

    mJobButton = new KestromPushButton(this);
    mJobButton->setObjectName(QStringLiteral("m_jobNumberButton"));
    mJobButton->setProperty("hasBorder", true);
    mJobButton->setMinimumSize(GuiGeometry::settingButtonSize());
    connect(mJobButton, &KestromPushButton::takeAction, this, &DataJobs::editJobNumber);
    mKeypad = mKit->addKeypad();

    const QSize valueSize = GuiGeometry::menuButtonSize();
    mStartValue = makeCounterLabel(this, "m_startTimeValue", valueSize);
    mAreaValue = makeCounterLabel(this, "m_areaValue", valueSize);
    mAmountValue = makeCounterLabel(this, "m_amountValue", valueSize);
    mDistanceValue = makeCounterLabel(this, "m_distanceValue", valueSize);
    mTimeValue = makeCounterLabel(this, "m_timeValue", valueSize);

    mClearButton = makeIconButton(this, "m_clearButton", ":/images/trash.svg");
    connect(mClearButton, &KestromPushButton::takeAction, this, &DataJobs::clearJobData);
    mSavePdfButton = makeIconButton(this, "m_savePdfButton", ":/images/save_pdf.svg");
    connect(mSavePdfButton, &KestromPushButton::takeAction, this, &DataJobs::saveJobData);
    mKit->addUsbButton(mSavePdfButton);
    connect(EvSignal::EventSignals::instance(), &EvSignal::EventSignals::eventTripCntPdfSaved, this,
            &DataJobs::JobDataSaved);

    QGridLayout* grid = mKit->rowGrid();
    grid->addWidget(mJobButton, 0, 0);
    grid->addWidget(mStartValue, 0, 1);
    grid->addWidget(mAreaValue, 1, 0);
    grid->addWidget(mAmountValue, 1, 1);
    grid->addWidget(mDistanceValue, 2, 0);
    grid->addWidget(mTimeValue, 2, 1);
    grid->addWidget(mClearButton, 3, 0);
    grid->addWidget(mSavePdfButton, 3, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    mKit->column()->insertStretch(1, 1);
    mKit->column()->addStretch(10);
    retranslate();
}

CounterUnitWords DataJobs::unitWords() const
{
    return {tr("ha", "abbr. for hectare"), tr("1000 sq ft", "abbr. for 1000 square feet"), tr("ac", "abbr. for acre"),
            tr("l", "abbr for liter"),     tr("gal", "abbr for gallon"),
            tr("kg", "abbr for kilogram"), tr("lb", "abbr for pound"),
            tr("m", "abbr. for meter"),    tr("ft", "abbr. for feet")};
}

void DataJobs::refreshJobButton()
{
    mJobButton->setText(tr("Job Number %1", "button. %1 is the current job number")
                            .arg(static_cast<uint32_t>(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER)) + 1U));
}

void DataJobs::refreshValues()
{
    const CounterUnitWords words = unitWords();
    const uint32_t system = unitGetSystem();
    const bool turf = datastoreGetBool(DS_TURF_UNITS) != 0;
    const bool nh3 = datastoreGetBool(DS_NH3_MODE) != 0;
    mStartValue->setText(CounterTexts::storedJobStartText(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER)));
    mAreaValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Area, %1 is the value and %2 is the unit"),
        CounterTexts::areaValue(datastoreGetUint32(DS_JOB_AREA), UQ_JOB_AREA, turf), 2,
        CounterTexts::areaUnit(words, system, turf)));
    mAmountValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Volume, %1 is the value and %2 is the unit"),
        CounterTexts::amountValue(datastoreGetUint32(DS_JOB_VOLUME), UQ_JOB_VOLUME, UQ_JOB_MASS, nh3), 0,
        CounterTexts::amountUnit(words, system, nh3)));
    mDistanceValue->setText(CounterTexts::valueText(
        tr("%L1 %2", "Distance, %1 is the value and %2 is the unit"),
        CounterTexts::quantityValue(datastoreGetUint32(DS_JOB_DISTANCE), UQ_JOB_DISTANCE), 0,
        CounterTexts::distanceUnit(words, system)));
    mTimeValue->setText(CounterTexts::timeText(tr("%1h %2m", "Working Time, %1 is hours and %2 is the minutes"),
                                               datastoreGetUint32(DS_JOB_TIME)));
}

void DataJobs::timedUpdate()
{
    refreshValues();
    refreshJobButton();
}

void DataJobs::retranslate()
{
    mKit->setPathway({tr("Data", "pathway text"), tr("Jobs", "pathway text")});
    refreshJobButton();
    refreshValues();
}

void DataJobs::editJobNumber()
{
    KeypadSetting setting;
    setting.value = static_cast<double>(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER)) + 1.0;
    setting.minimum = 1.0;
    setting.maximum = kJobCount;
    setting.decimals = 0;
    setting.units = tr("Job Number", "keyboard header");
    setting.title = tr("Job Number", "keyboard header");
    mKit->openKeypad(mKeypad, setting, this, &DataJobs::commitJobNumber);
}

void DataJobs::commitJobNumber(double value)
{
    // The keypad hands over only 1 to 10; the core makes the requested job
    // active on the request's change event, which every write posts.
    if (value != 0.0)
        datastoreSetUint16(DS_JOB_NUMBER_REQUEST, static_cast<uint16_t>(static_cast<uint32_t>(value) - 1U));
    refreshJobButton();
    refreshValues();
}

void DataJobs::clearJobData()
{
    CPopupQuery* query = CPopupQuery::askYesNo(tr("Are you sure, you want to clear counter data for the active job?"));
    if (query != nullptr)
        connect(query, &CPopupQuery::ResponseReceived, this, &DataJobs::ResponseYesNoClicked);
}

void DataJobs::saveJobData()
{
    eventPost(EV_OWNER_PERIODIC, EV_SAVE_JOB_PDF, datastoreGetUint16(DS_ACTIVE_JOB_NUMBER));
}

void DataJobs::showHelp(int id)
{
    if (id == 0)
        SettingPageKit::showHelp(tr("Job Number", "keyboard header"),
                                 tr("Select the active job number. Stored counter values are shown below. Press "
                                    "\"Clear\" to clear all counter values."));
    else if (id == 1)
        SettingPageKit::showHelp(tr("Clear Job Data", "definition header"),
                                 tr("Clear the accumulated counter data for the active job.",
                                    "Clear Job Data definition"));
    else
        SettingPageKit::showHelp(QString(), QString());
}

void DataJobs::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void DataJobs::ResponseYesNoClicked(CPopupQuery*, int code)
{
    if (code == 1)
        eventPost(EV_OWNER_PERIODIC, EV_CLEAR_JOB_COUNTERS, 0);
}

void DataJobs::JobDataSaved(bool ok)
{
    if (ok)
        SettingPageKit::showResult(tr("Job Data Saved", "definition header"),
                                   tr("The job data has been saved in pdf file.", "Job Data Saved definition"));
    else
        SettingPageKit::showResult(tr("Job Data Not Saved", "definition header"),
                                   tr("An error occurred while save the job data.", "Job Data Not Saved definition"));
}

void DataJobs::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (SettingPageKit::programCaused(event)) {
        refreshValues();
        refreshJobButton();
    }
}

void DataJobs::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
