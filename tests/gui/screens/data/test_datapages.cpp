// The data menu and its counter pages over the real datastore: counter texts
// by unit system, turf and NH3 flags, the 100 ms refresh, the clear and save
// requests they post, the result pop-ups, the job keypad, navigation and the
// screens at 480x272.
#include "counters.h"
#include "cpopupmessage.h"
#include "countertexts.h"
#include "datacampaign.h"
#include "datajobs.h"
#include "datatotals.h"
#include "eventids.h"
#include "greyfellcommon.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "settingpagekit.h"
#include "thumbdrivewatcher.h"
#include "toolsviewdata.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTranslator>

#include <cmath>
#include <cstdlib>
#include <ctime>

using namespace ToolsViewWidgets;

namespace {

QString labelText(QWidget* page, const char* name)
{
    QLabel* label = page->findChild<QLabel*>(QString::fromLatin1(name));
    REQUIRE(label != nullptr);
    return label->text();
}

KestromPushButton* button(QWidget* page, const char* name)
{
    KestromPushButton* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
    REQUIRE(found != nullptr);
    return found;
}

QString pathway(QWidget* page)
{
    QtElidedLabel* label = page->findChild<QtElidedLabel*>(QStringLiteral("m_pathwayLabel"));
    REQUIRE(label != nullptr);
    return label->text();
}

// The USB stick of the program's stand-in board: a directory at the mount path.
struct UsbStick {
    UsbStick() { REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath())); }
    ~UsbStick() { QDir(GreyfellCommon::usbRootPath()).removeRecursively(); }
};

void setJobStart(uint32_t job, double startMs)
{
    JobRecord records[TRIPCNT_JOB_COUNT] = {};
    REQUIRE(datastoreGetData(DS_JOB_DATA, records) == 0);
    records[job].startTimeMs = startMs;
    REQUIRE(datastoreSetData(DS_JOB_DATA, records) == 0);
}

// A time zone other than the fixture's UTC for one scope.
struct TimeZone {
    explicit TimeZone(const char* zone)
    {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone()
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

}  // namespace

TEST_CASE("counter texts by unit system, turf and NH3 flags on the campaign, totals and jobs pages")
{
    struct Case {
        uint32_t system;
        bool turf;
        bool nh3;
        const char* area;
        const char* amount;
        const char* distance;
    };
    // Area 2575 (1/100 ha), amount 1234 (l or kg), distance 1000 m.
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, false, false, "25.75 ha", "1,234 l", "1,000 m"},
        {UNIT_SYSTEM_METRIC, true, false, "25.75 ha", "1,234 l", "1,000 m"},
        {UNIT_SYSTEM_METRIC, false, true, "25.75 ha", "1,234 kg", "1,000 m"},
        {UNIT_SYSTEM_IMPERIAL, false, false, "63.63 ac", "271 gal", "3,281 ft"},
        {UNIT_SYSTEM_IMPERIAL, true, false, "2,771.71 1000 sq ft", "271 gal", "3,281 ft"},
        {UNIT_SYSTEM_US, false, false, "63.63 ac", "326 gal", "3,281 ft"},
        {UNIT_SYSTEM_US, true, true, "2,771.71 1000 sq ft", "2,721 lb", "3,281 ft"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.system);
        CAPTURE(c.turf);
        CAPTURE(c.nh3);
        ScreenFixture f(c.system);
        f.setItem(DS_TURF_UNITS, c.turf);
        f.setItem(DS_NH3_MODE, c.nh3);
        f.setItem(DS_CAMPAIGN_AREA, 2575);
        f.setItem(DS_CAMPAIGN_VOLUME, 1234);
        f.setItem(DS_TOTAL_AREA, 2575);
        f.setItem(DS_TOTAL_VOLUME, 1234);
        f.setItem(DS_JOB_AREA, 2575);
        f.setItem(DS_JOB_VOLUME, 1234);
        f.setItem(DS_JOB_DISTANCE, 1000);
        auto* campaign = new DataCampaign;
        f.place(campaign, QPoint(0, 0), QSize(480, 272));
        CHECK(labelText(campaign, "m_areaValue") == c.area);
        CHECK(labelText(campaign, "m_volumeValue") == c.amount);
        delete campaign;
        auto* totals = new DataTotals;
        f.place(totals, QPoint(0, 0), QSize(480, 272));
        CHECK(labelText(totals, "m_areaValue") == c.area);
        CHECK(labelText(totals, "m_volumeValue") == c.amount);
        delete totals;
        auto* jobs = new DataJobs;
        f.place(jobs, QPoint(0, 0), QSize(480, 272));
        CHECK(labelText(jobs, "m_areaValue") == c.area);
        CHECK(labelText(jobs, "m_amountValue") == c.amount);
        CHECK(labelText(jobs, "m_distanceValue") == c.distance);
        delete jobs;
    }
}

TEST_CASE("unit words: imperial and US are imperial, every other system reads as metric")
{
    const CounterUnitWords words{"ha", "1000 sq ft", "ac", "l", "gal", "kg", "lb", "m", "ft"};
    struct Case {
        uint32_t system;
        const char* area;
        const char* turfArea;
        const char* volume;
        const char* mass;
        const char* distance;
    };
    const Case cases[] = {
        {0, "ha", "ha", "l", "kg", "m"},          {1, "ac", "1000 sq ft", "gal", "lb", "ft"},
        {2, "ac", "1000 sq ft", "gal", "lb", "ft"}, {3, "ha", "ha", "l", "kg", "m"},
        {255, "ha", "ha", "l", "kg", "m"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.system);
        CHECK(CounterTexts::areaUnit(words, c.system, false) == c.area);
        CHECK(CounterTexts::areaUnit(words, c.system, true) == c.turfArea);
        CHECK(CounterTexts::amountUnit(words, c.system, false) == c.volume);
        CHECK(CounterTexts::amountUnit(words, c.system, true) == c.mass);
        CHECK(CounterTexts::distanceUnit(words, c.system) == c.distance);
    }
}

TEST_CASE("working time in whole hours and minutes, minutes cut")
{
    struct Case {
        uint32_t seconds;
        const char* text;
    };
    const Case cases[] = {{0, "0h 0m"},    {59, "0h 0m"},       {3599, "0h 59m"},
                          {3600, "1h 0m"}, {360000, "100h 0m"}, {4294967295u, "1193046h 28m"}};
    ScreenFixture f;
    auto* totals = new DataTotals;
    f.place(totals, QPoint(0, 0), QSize(480, 272));
    auto* campaign = new DataCampaign;
    f.place(campaign, QPoint(0, 0), QSize(480, 272));
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    for (const Case& c : cases) {
        CAPTURE(c.seconds);
        f.setItem(DS_TOTAL_TIME, c.seconds);
        f.setItem(DS_CAMPAIGN_TIME, c.seconds);
        f.setItem(DS_JOB_TIME, c.seconds);
        f.tick100ms();
        CHECK(labelText(totals, "m_timeValue") == c.text);
        CHECK(labelText(campaign, "m_timeValue") == c.text);
        CHECK(labelText(jobs, "m_timeValue") == c.text);
    }
}

TEST_CASE("the counter pages follow their items within 100 ms while shown")
{
    ScreenFixture f;
    auto* campaign = new DataCampaign;
    f.place(campaign, QPoint(0, 0), QSize(480, 272));
    CHECK(labelText(campaign, "m_areaValue") == "0.00 ha");
    f.setItem(DS_CAMPAIGN_AREA, 123456);
    f.setItem(DS_CAMPAIGN_VOLUME, 98765);
    f.tick100ms();
    CHECK(labelText(campaign, "m_areaValue") == "1,234.56 ha");
    CHECK(labelText(campaign, "m_volumeValue") == "98,765 l");

    // Hidden, it rests; shown again, it is current at once.
    campaign->hide();
    f.setItem(DS_CAMPAIGN_AREA, 100);
    f.tick100ms();
    CHECK(labelText(campaign, "m_areaValue") == "1,234.56 ha");
    campaign->show();
    pumpEvents();
    CHECK(labelText(campaign, "m_areaValue") == "1.00 ha");

    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    f.setItem(DS_ACTIVE_JOB_NUMBER, 4);
    f.setItem(DS_JOB_DISTANCE, 2500);
    f.tick100ms();
    CHECK(button(jobs, "m_jobNumberButton")->text() == "Job Number 5");
    CHECK(labelText(jobs, "m_distanceValue") == "2,500 m");
}

TEST_CASE("campaign clear: Yes posts the clear request, No posts nothing; totals cannot be cleared")
{
    ScreenFixture f;
    auto* campaign = new DataCampaign;
    f.place(campaign, QPoint(0, 0), QSize(480, 272));
    CHECK(pathway(campaign) == "Data->Campaign");
    KestromPushButton* clear = button(campaign, "m_clearButton");
    CHECK(clear->text() == "Clear");

    struct Case {
        const char* answer;
        std::vector<PostedEvent> posted;
    };
    const Case cases[] = {{"No", {}}, {"Yes", {{EV_CLEAR_CAMPAIGN_COUNTERS, 0}}}};
    for (const Case& c : cases) {
        CAPTURE(c.answer);
        tapButton(clear);
        COverlayInterface* query = currentPopup();
        REQUIRE(query != nullptr);
        CHECK(popupTexts(query).contains("Are you sure, you want to clear the campaign counters?"));
        tapPopupButton(query, c.answer);
        CHECK(takePostedEvents() == c.posted);
        CHECK(currentPopup() == nullptr);
    }

    auto* totals = new DataTotals;
    f.place(totals, QPoint(0, 0), QSize(480, 272));
    CHECK(pathway(totals) == "Data->Totals");
    CHECK(totals->findChild<KestromPushButton*>(QStringLiteral("m_clearButton")) == nullptr);
    QStringList buttons;
    for (KestromPushButton* b : totals->findChildren<KestromPushButton*>())
        if (b->isVisible() && !b->text().isEmpty())
            buttons << b->text();
    CHECK(buttons == QStringList{"Area Counter", "Volume Counter", "Time Counter"});
}

TEST_CASE("help of the counter rows")
{
    ScreenFixture f;
    auto* campaign = new DataCampaign;
    f.place(campaign, QPoint(0, 0), QSize(480, 272));
    struct Case {
        int id;
        const char* header;
        const char* text;
    };
    const Case cases[] = {
        {0, "Area Counter", "Displays total applied coverage area for all jobs."},
        {1, "Volume Counter", "Displays total volume of material applied during all jobs."},
        {2, "Time Counter", "Displays total time traveled for all jobs."},
        {3, "Clear All Campaign Counters", "Press \"Clear\" to clear all campaign counters."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        KestromPushButton* row = nullptr;
        for (KestromPushButton* b : campaign->findChildren<KestromPushButton*>())
            if (b->property("transparent").toBool() && b->id() == c.id)
                row = b;
        tapButton(row);
        COverlayInterface* help = currentPopup();
        REQUIRE(help != nullptr);
        const QStringList texts = popupTexts(help);
        CHECK(texts.contains(c.header));
        CHECK(texts.contains(c.text));
        tap(help);
        pumpEvents();
    }
}

TEST_CASE("job number: shown 1-based, entered 1 to 10, written 0-based every time")
{
    ScreenFixture f;
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    CHECK(pathway(jobs) == "Data->Jobs");
    KestromPushButton* job = button(jobs, "m_jobNumberButton");
    CHECK(job->text() == "Job Number 1");

    struct Case {
        const char* typed;
        bool accepted;
        uint16_t request;
    };
    // The current job again is still a request: the core reloads it.
    const Case cases[] = {{"10", true, 9}, {"1", true, 0}, {"11", false, 0}, {"0", false, 0}};
    for (const Case& c : cases) {
        CAPTURE(c.typed);
        f.setItem(DS_JOB_NUMBER_REQUEST, 7);
        takePostedEvents();
        tapButton(job);
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        keypadType(keypad, c.typed);
        keypadAccept(keypad);
        if (c.accepted) {
            CHECK(datastoreGetUint16(DS_JOB_NUMBER_REQUEST) == c.request);
            CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_JOB_NUMBER_CHANGED, DS_JOB_NUMBER_REQUEST}});
        } else {
            CHECK(datastoreGetUint16(DS_JOB_NUMBER_REQUEST) == 7);
            CHECK(takePostedEvents().empty());
            COverlayInterface* refusal = currentPopup();
            REQUIRE(refusal != nullptr);
            tapPopupButton(refusal, popupTexts(refusal).last());
            if (NumericKeypadWidget* again = shownKeypad())
                keypadCancel(again);
        }
        CHECK(shownKeypad() == nullptr);
    }
    // The active job is the core's answer, shown on the next beat.
    f.setItem(DS_ACTIVE_JOB_NUMBER, 9);
    f.tick100ms();
    CHECK(job->text() == "Job Number 10");
}

TEST_CASE("job start time from the active job's record")
{
    ScreenFixture f;
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    const double started = static_cast<double>(
        QDateTime(QDate(2026, 12, 9), QTime(9, 55), Qt::UTC).toMSecsSinceEpoch());

    SUBCASE("not started: empty")
    {
        setJobStart(3, 0.0);
        f.setItem(DS_ACTIVE_JOB_NUMBER, 3);
        f.tick100ms();
        CHECK(labelText(jobs, "m_startTimeValue").isEmpty());
    }
    SUBCASE("started: local time, the record of the active job")
    {
        setJobStart(3, started);
        f.setItem(DS_ACTIVE_JOB_NUMBER, 3);
        f.tick100ms();
        CHECK(labelText(jobs, "m_startTimeValue") == "9 Dec 26 09:55");
        {
            TimeZone berlin("CET-1");
            f.tick100ms();
            CHECK(labelText(jobs, "m_startTimeValue") == "9 Dec 26 10:55");
        }
        f.setItem(DS_ACTIVE_JOB_NUMBER, 4);
        f.tick100ms();
        CHECK(labelText(jobs, "m_startTimeValue").isEmpty());
    }
    SUBCASE("an active job beyond the records reads nothing past the block")
    {
        setJobStart(10, started);
        for (uint16_t index : {10, 11, 12, 0xFFFF}) {
            CAPTURE(index);
            REQUIRE(datastoreSetUint16(DS_ACTIVE_JOB_NUMBER, index) == 0);
            f.tick100ms();
            CHECK(labelText(jobs, "m_startTimeValue") == (index == 10 ? "9 Dec 26 09:55" : ""));
        }
    }
    SUBCASE("a damaged start time shows as not started")
    {
        for (double damaged : {-1000.0, 1e300, std::nan("")}) {
            CAPTURE(damaged);
            setJobStart(0, damaged);
            f.tick100ms();
            CHECK(labelText(jobs, "m_startTimeValue").isEmpty());
        }
    }
}

TEST_CASE("jobs: clear asks first, save asks for the active job's report, results shown")
{
    ScreenFixture f;
    UsbStick stick;
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));

    for (const char* answer : {"No", "Yes"}) {
        CAPTURE(answer);
        tapButton(button(jobs, "m_clearButton"));
        COverlayInterface* query = currentPopup();
        REQUIRE(query != nullptr);
        CHECK(popupTexts(query).contains("Are you sure, you want to clear counter data for the active job?"));
        tapPopupButton(query, answer);
        CHECK(takePostedEvents() ==
              (QByteArray(answer) == "Yes" ? std::vector<PostedEvent>{{EV_CLEAR_JOB_COUNTERS, 0}}
                                           : std::vector<PostedEvent>{}));
    }

    f.setItem(DS_ACTIVE_JOB_NUMBER, 6);
    tapButton(button(jobs, "m_savePdfButton"));
    CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_SAVE_JOB_PDF, 6}});

    struct Case {
        bool ok;
        const char* header;
        const char* text;
    };
    const Case cases[] = {{true, "Job Data Saved", "The job data has been saved in pdf file."},
                          {false, "Job Data Not Saved", "An error occurred while save the job data."}};
    for (const Case& c : cases) {
        CAPTURE(c.ok);
        f.hub()->eventTripCntPdfSaved(c.ok);
        pumpEvents();
        auto* message = qobject_cast<CPopupMessage*>(currentPopup());
        REQUIRE(message != nullptr);
        CHECK(popupTexts(message) == QStringList{c.header, c.text});
        CHECK(message->kind() == CPopupMessage::KindInformation);
        message->dismiss();
        pumpEvents();
    }
}

TEST_CASE("data menu: pages by their buttons, pathways, home resets to the top page once")
{
    ScreenFixture f;
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    QStackedWidget* stack = menu->pageStack();
    CHECK(stack->currentIndex() == 0);
    CHECK(pathway(stack->currentWidget()) == "Data");
    QSignalSpy home(menu, &ToolsViewData::ShowHomeView);

    struct Case {
        const char* button;
        const char* text;
        QWidget* page;
        const char* pathway;
    };
    const Case cases[] = {{"m_jobsButton", "Jobs", menu->jobsPage(), "Data->Jobs"},
                          {"m_campaignButton", "Campaign", menu->campaignPage(), "Data->Campaign"},
                          {"m_totalsButton", "Totals", menu->totalsPage(), "Data->Totals"}};
    for (const Case& c : cases) {
        CAPTURE(c.button);
        KestromPushButton* open = button(menu, c.button);
        CHECK(open->text() == c.text);
        CHECK(open->minimumSize() == GuiGeometry::menuButtonSize());
        tapButton(open);
        CHECK(stack->currentWidget() == c.page);
        CHECK(pathway(c.page) == c.pathway);
        // Back returns to the menu, home leaves it on its top page.
        tapButtonBar(c.page, ToolsViewButtonBar::Back);
        CHECK(stack->currentIndex() == 0);
        CHECK(home.count() == 0);
        tapButton(open);
        tapButtonBar(c.page, ToolsViewButtonBar::Home);
        CHECK(stack->currentIndex() == 0);
        CHECK(home.count() == 1);
        home.clear();
    }
    // On the top page only home acts.
    menu->handleButtonBarPressed(ToolsViewButtonBar::Back);
    menu->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(stack->currentIndex() == 0);
    CHECK(home.count() == 0);
    tapButtonBar(stack->currentWidget(), ToolsViewButtonBar::Home);
    CHECK(home.count() == 1);
}

TEST_CASE("data menu: save CSV posts the request with a stick, the result is shown")
{
    ScreenFixture f;
    UsbStick stick;
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    tapButton(button(menu, "m_saveCsvButton"));
    CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_SAVE_COUNTERS_CSV, 0}});

    struct Case {
        bool ok;
        const char* header;
        const char* text;
    };
    const Case cases[] = {{true, "Data Saved", "The data has been saved in CSV file."},
                          {false, "Data Not Saved", "An error occurred while saving the data."}};
    for (const Case& c : cases) {
        CAPTURE(c.ok);
        f.hub()->eventTripCntCsvSaved(c.ok);
        pumpEvents();
        auto* message = qobject_cast<CPopupMessage*>(currentPopup());
        REQUIRE(message != nullptr);
        CHECK(popupTexts(message) == QStringList{c.header, c.text});
        // Shown 9 s, then gone.
        f.clock.advance(8900);
        CHECK(currentPopup() == message);
        f.clock.advance(200);
        CHECK(currentPopup() != message);
    }
}

TEST_CASE("a CSV result waits behind another pop-up for at most 21 s")
{
    ScreenFixture f;
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    CPopupMessage* help = SettingPageKit::showHelp("Busy", "A help text stays until touched.");
    pumpEvents();
    REQUIRE(currentPopup() == help);
    f.hub()->eventTripCntCsvSaved(true);
    pumpEvents();
    CHECK(currentPopup() == help);
    f.clock.advance(21100);
    tap(help);
    pumpEvents();
    CHECK(currentPopup() == nullptr);
}

TEST_CASE("both save buttons follow the USB stick")
{
    ScreenFixture f;
    QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    KestromPushButton* csv = button(menu, "m_saveCsvButton");
    KestromPushButton* pdf = button(menu->jobsPage(), "m_savePdfButton");
    CHECK_FALSE(csv->isEnabled());
    CHECK_FALSE(pdf->isEnabled());

    // The watchers report a change a second after it, in real time.
    {
        UsbStick stick;
        QSignalSpy watched(menu->findChild<CThumbDriveWatcher*>(), &CThumbDriveWatcher::Changed);
        REQUIRE(watched.wait(3000));
        pumpEvents();
        CHECK(csv->isEnabled());
        CHECK(pdf->isEnabled());
    }
    QSignalSpy watched(menu->findChild<CThumbDriveWatcher*>(), &CThumbDriveWatcher::Changed);
    REQUIRE(watched.wait(3000));
    pumpEvents();
    CHECK_FALSE(csv->isEnabled());
    CHECK_FALSE(pdf->isEnabled());
}

namespace {

// German for a few texts of the menu and the campaign page, in their own contexts.
class GermanTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        static const QMap<QByteArray, QString> kTexts = {
            {"ToolsViewWidgets::ToolsViewData/Data", "Daten"},
            {"ToolsViewWidgets::ToolsViewData/Jobs", "Auftr\u00e4ge"},
            {"ToolsViewWidgets::DataCampaign/Data", "Daten"},
            {"ToolsViewWidgets::DataCampaign/Campaign", "Saison"},
            {"ToolsViewWidgets::DataCampaign/Area Counter", "Fl\u00e4che"},
            {"ToolsViewWidgets::DataCampaign/ha", "Hektar"},
            {"ToolsViewWidgets::DataCampaign/%1h %2m", "%1 h %2 min"}};
        return kTexts.value(QByteArray(context) + "/" + QByteArray(source));
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

TEST_CASE("a language change sets the menu's and the pages' texts again in their own contexts")
{
    ScreenFixture f;
    f.setItem(DS_CAMPAIGN_AREA, 2575);
    f.setItem(DS_CAMPAIGN_TIME, 3660);
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    GermanTexts german;
    QCoreApplication::installTranslator(&german);
    pumpEvents();
    CHECK(pathway(menu->pageStack()->widget(0)) == "Daten");
    CHECK(button(menu, "m_jobsButton")->text() == QString::fromUtf8("Auftr\xc3\xa4ge"));
    CHECK(button(menu, "m_totalsButton")->text() == "Totals");
    DataCampaign* campaign = menu->campaignPage();
    CHECK(pathway(campaign) == "Daten->Saison");
    CHECK(labelText(campaign, "m_areaValue") == "25.75 Hektar");
    CHECK(labelText(campaign, "m_timeValue") == "1 h 1 min");
    QStringList texts;
    for (KestromPushButton* b : campaign->findChildren<KestromPushButton*>())
        texts << b->text();
    CHECK(texts.contains(QString::fromUtf8("Fl\xc3\xa4" "che")));
    CHECK_FALSE(texts.contains("Area Counter"));
    QCoreApplication::removeTranslator(&german);
    pumpEvents();
    CHECK(pathway(campaign) == "Data->Campaign");
}

TEST_CASE("screens: the data menu and the counter pages at 480x272 with the longest texts")
{
    struct Case {
        uint32_t system;
        bool turf;
        const char* name;
    };
    const Case cases[] = {{UNIT_SYSTEM_METRIC, false, "metric"},
                          {UNIT_SYSTEM_IMPERIAL, false, "imperial"},
                          {UNIT_SYSTEM_US, true, "us_turf"}};
    for (const Case& c : cases) {
        CAPTURE(c.name);
        ScreenFixture f(c.system);
        f.setItem(DS_TURF_UNITS, c.turf);
        // Large counters: 99,999.99 ha, 99,999,999 l, 99,999 hours.
        for (uint32_t item : {DS_CAMPAIGN_AREA, DS_TOTAL_AREA, DS_JOB_AREA})
            f.setItem(item, 9999999);
        for (uint32_t item : {DS_CAMPAIGN_VOLUME, DS_TOTAL_VOLUME, DS_JOB_VOLUME})
            f.setItem(item, 99999999);
        for (uint32_t item : {DS_CAMPAIGN_TIME, DS_TOTAL_TIME, DS_JOB_TIME})
            f.setItem(item, 359999999);
        f.setItem(DS_JOB_DISTANCE, 99999999);
        f.setItem(DS_ACTIVE_JOB_NUMBER, 9);
        setJobStart(9, static_cast<double>(QDateTime(QDate(2026, 12, 9), QTime(9, 55), Qt::UTC).toMSecsSinceEpoch()));
        auto* menu = new ToolsViewData;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        for (int index = 1; index <= 3; ++index) {
            menu->pageStack()->setCurrentIndex(index);
            pumpEvents();
            CHECK_SCREEN(f.screen(), QStringLiteral("%1_%2")
                                         .arg(menu->pageStack()->currentWidget()->objectName().toLower())
                                         .arg(c.name));
        }
    }
}

TEST_CASE("screens: the data menu with and without a stick, and the job keypad")
{
    ScreenFixture f;
    QDir(GreyfellCommon::usbRootPath()).removeRecursively();
    {
        auto* menu = new ToolsViewData;
        f.place(menu, QPoint(0, 0), QSize(480, 272));
        CHECK_SCREEN(f.screen(), "data_menu_no_stick");
        delete menu;
    }
    UsbStick stick;
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    CHECK(button(menu, "m_saveCsvButton")->isEnabled());
    CHECK_SCREEN(f.screen(), "data_menu_stick");
    tapButton(button(menu, "m_jobsButton"));
    tapButton(button(menu->jobsPage(), "m_jobNumberButton"));
    REQUIRE(shownKeypad() != nullptr);
    CHECK_SCREEN(f.screen(), "datajobs_keypad");
}
