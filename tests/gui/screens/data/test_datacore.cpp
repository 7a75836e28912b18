// The data pages with the real process core on the program's stand-in board:
// the job the operator enters becomes the active one, the clears reach the
// counters, and the PDF and CSV saves write their files to the USB stick (or
// report that they could not).
#include "core_inprocess.h"
#include "cpopupmessage.h"
#include "datacampaign.h"
#include "datajobs.h"
#include "greyfellcommon.h"
#include "kestrompushbutton.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "toolsviewdata.h"

#include <QDir>
#include <QLabel>

using namespace ToolsViewWidgets;

namespace {

struct CoreScreen {
    CoreScreen()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

struct Fixture : CoreScreen, ScreenFixture {
    ~Fixture() { QDir(GreyfellCommon::usbRootPath()).removeRecursively(); }
    static void plugStick() { REQUIRE(QDir().mkpath(GreyfellCommon::usbRootPath())); }
    static void pullStick() { REQUIRE(QDir(GreyfellCommon::usbRootPath()).removeRecursively()); }
    static QStringList stickFiles(const QString& pattern)
    {
        return QDir(GreyfellCommon::usbRootPath()).entryList({pattern}, QDir::Files);
    }
};

KestromPushButton* button(QWidget* page, const char* name)
{
    KestromPushButton* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
    REQUIRE(found != nullptr);
    return found;
}

QString labelText(QWidget* page, const char* name)
{
    QLabel* label = page->findChild<QLabel*>(QString::fromLatin1(name));
    REQUIRE(label != nullptr);
    return label->text();
}

// The information pop-up shown now: its texts, and it goes.
QStringList takeResult()
{
    pumpEvents();
    auto* message = qobject_cast<CPopupMessage*>(currentPopup());
    if (message == nullptr)
        return {};
    const QStringList texts = popupTexts(message);
    message->dismiss();
    pumpEvents();
    return texts;
}

void enterJob(DataJobs* jobs, const char* typed)
{
    tapButton(button(jobs, "m_jobNumberButton"));
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, typed);
    keypadAccept(keypad);
}

}  // namespace

TEST_CASE("the job entered becomes the core's active job, the same one again is reloaded")
{
    Fixture f;
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    enterJob(jobs, "10");
    f.tick100ms();
    CHECK(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER) == 9);
    CHECK(button(jobs, "m_jobNumberButton")->text() == "Job Number 10");
    takePostedEvents();
    enterJob(jobs, "10");
    // The core's worker threads may post their own events meanwhile: look at the job's only.
    std::vector<PostedEvent> jobEvents;
    for (const PostedEvent& e : takePostedEvents()) {
        if (e.first == EV_JOB_NUMBER_CHANGED)
            jobEvents.push_back(e);
    }
    CHECK(jobEvents == std::vector<PostedEvent>{{EV_JOB_NUMBER_CHANGED, DS_JOB_NUMBER_REQUEST}});
    CHECK(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER) == 9);
    enterJob(jobs, "1");
    f.tick100ms();
    CHECK(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER) == 0);
    CHECK(button(jobs, "m_jobNumberButton")->text() == "Job Number 1");
}

TEST_CASE("the job report is written to the stick and reported; a failed write says so")
{
    Fixture f;
    f.plugStick();
    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    enterJob(jobs, "3");
    f.tick100ms();
    REQUIRE(datastoreGetUint16(DS_ACTIVE_JOB_NUMBER) == 2);
    takePostedEvents();

    tapButton(button(jobs, "m_savePdfButton"));
    const std::vector<PostedEvent> posted = takePostedEvents();
    REQUIRE_FALSE(posted.empty());
    CHECK(posted.front() == PostedEvent{EV_SAVE_JOB_PDF, 2});
    const QStringList written = f.stickFiles("trip3_*.pdf");
    REQUIRE(written.size() == 1);
    CHECK(written.front().size() == QString("trip3_yyMMddhhmm.pdf").size());
    CHECK(QFileInfo(GreyfellCommon::usbRootPath() + "/" + written.front()).size() > 0);
    CHECK(takeResult() == QStringList{"Job Data Saved", "The job data has been saved in pdf file."});

    // Pulled out before the watcher noticed: the button is still there.
    f.pullStick();
    tapButton(button(jobs, "m_savePdfButton"));
    CHECK(takeResult() == QStringList{"Job Data Not Saved", "An error occurred while save the job data."});
}

TEST_CASE("the counters are written to the stick as CSV and reported; without a stick it says so")
{
    Fixture f;
    f.plugStick();
    auto* menu = new ToolsViewData;
    f.place(menu, QPoint(0, 0), QSize(480, 272));
    tapButton(button(menu, "m_saveCsvButton"));
    CHECK(f.stickFiles("cntdata*.csv") == QStringList{"cntdata.csv"});
    CHECK(takeResult() == QStringList{"Data Saved", "The data has been saved in CSV file."});

    f.pullStick();
    tapButton(button(menu, "m_saveCsvButton"));
    CHECK(takeResult() == QStringList{"Data Not Saved", "An error occurred while saving the data."});
}

TEST_CASE("clearing the campaign and the job counters reaches the core")
{
    Fixture f;
    auto* campaign = new DataCampaign;
    f.place(campaign, QPoint(0, 0), QSize(480, 272));
    f.setItem(DS_CAMPAIGN_AREA, 5000);
    f.setItem(DS_CAMPAIGN_VOLUME, 700);
    f.setItem(DS_CAMPAIGN_TIME, 7200);
    f.tick100ms();
    CHECK(labelText(campaign, "m_areaValue") == "50.00 ha");

    tapButton(button(campaign, "m_clearButton"));
    tapPopupButton(currentPopup(), "No");
    f.tick100ms();
    CHECK(labelText(campaign, "m_areaValue") == "50.00 ha");

    tapButton(button(campaign, "m_clearButton"));
    tapPopupButton(currentPopup(), "Yes");
    f.tick100ms();
    CHECK(labelText(campaign, "m_areaValue") == "0.00 ha");
    CHECK(labelText(campaign, "m_volumeValue") == "0 l");
    CHECK(labelText(campaign, "m_timeValue") == "0h 0m");
    delete campaign;

    auto* jobs = new DataJobs;
    f.place(jobs, QPoint(0, 0), QSize(480, 272));
    f.setItem(DS_JOB_AREA, 2575);
    f.tick100ms();
    CHECK(labelText(jobs, "m_areaValue") == "25.75 ha");
    tapButton(button(jobs, "m_clearButton"));
    tapPopupButton(currentPopup(), "Yes");
    f.tick100ms();
    CHECK(labelText(jobs, "m_areaValue") == "0.00 ha");
}
