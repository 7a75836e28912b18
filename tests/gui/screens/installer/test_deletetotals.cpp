// The clear-totals page: the three totals refreshed every 100 ms, and the
// clearing posted once after Yes, handled by the core.
#include "configoemdeletetotals.h"
#include "eventids.h"
#include "installer_drive.h"
#include "processevent.h"
#include "screen_check.h"
#include "units.h"

#include <QLabel>
#include <QSignalSpy>

using ToolsViewWidgets::ConfigOemDeleteTotals;
using ToolsViewWidgets::ToolsViewButtonBar;

namespace {

QString counter(QWidget* page, const char* name)
{
    auto* label = page->findChild<QLabel*>(name);
    REQUIRE(label != nullptr);
    return label->text();
}

}  // namespace

TEST_CASE("clear totals: counter texts by unit system, turf and NH3 flags")
{
    struct Case {
        uint32_t system;
        uint32_t turf;
        uint32_t nh3;
        uint32_t area;
        uint32_t volume;
        uint32_t seconds;
        const char* areaText;
        const char* volumeText;
        const char* timeText;
    };
    const Case cases[] = {
        {UNIT_SYSTEM_METRIC, 0, 0, 2575, 1500, 3725, "25.75 ha", "1500 l", " 1h 2m"},
        {UNIT_SYSTEM_METRIC, 1, 1, 2575, 1500, 45296, "25.75 ha", "1500 kg", "12h 34m"},
        {UNIT_SYSTEM_US, 0, 0, 4047, 3785, 360000, "100.00 ac", "1000 gal", "100h 0m"},
        {UNIT_SYSTEM_IMPERIAL, 1, 1, 0, 0, 59, "0.00 1000 sq ft", "0 lb", " 0h 0m"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.areaText);
        ScreenFixture f(c.system);
        f.setItem(DS_TURF_UNITS, c.turf);
        f.setItem(DS_NH3_MODE, c.nh3);
        f.setItem(DS_TOTAL_AREA, c.area);
        f.setItem(DS_TOTAL_VOLUME, c.volume);
        f.setItem(DS_TOTAL_TIME, c.seconds);
        auto* page = showInstallerPage<ConfigOemDeleteTotals>(f);
        f.tick100ms();
        CHECK(counter(page, "m_lblTotalArea") == c.areaText);
        CHECK(counter(page, "m_lblTotalVolume") == c.volumeText);
        CHECK(counter(page, "m_lblTotalTime") == c.timeText);
    }
}

TEST_CASE("clear totals: only Yes clears, once; the next beat shows the zeros")
{
    ScreenFixture f;
    f.setItem(DS_TOTAL_AREA, 9999999);
    f.setItem(DS_TOTAL_VOLUME, 9999999);
    f.setItem(DS_TOTAL_TIME, 35999999);
    auto* page = showInstallerPage<ConfigOemDeleteTotals>(f);
    CHECK(pathwayText(page) == "Settings->OEM->Clear Totals");
    f.tick100ms();
    CHECK_SCREEN(f.screen(), "clear_totals_large");
    // The counters follow the store while shown.
    f.setItem(DS_TOTAL_AREA, 2575);
    f.tick100ms();
    CHECK(counter(page, "m_lblTotalArea") == "25.75 ha");

    auto* clear = page->findChild<KestromPushButton*>("m_btnClear");
    REQUIRE(clear != nullptr);
    tapButton(clear);
    CHECK(popupTexts(currentPopup()).join(" ").contains("Are you sure you want to clear all total counters?"));
    tapPopupButton(currentPopup(), "No");
    CHECK(takePostedEvents().empty());
    tapButton(clear);
    tapPopupButton(currentPopup(), "Yes");
    const std::vector<PostedEvent> posted = takePostedEvents();
    CHECK(posted == std::vector<PostedEvent>{{EV_CLEAR_TOTAL_COUNTERS, 0}});
    // The core handles the posted event in the GUI thread.
    for (const PostedEvent& event : posted)
        processEvent(event.first, event.second);
    f.tick100ms();
    CHECK(counter(page, "m_lblTotalArea") == "0.00 ha");
    CHECK(counter(page, "m_lblTotalVolume") == "0 l");
    CHECK(counter(page, "m_lblTotalTime") == " 0h 0m");

    const HelpCase helps[] = {
        {0, "Area Counter", "Displays total applied area for all jobs."},
        {1, "Volume Counter", "Displays total volume of material applied during all jobs."},
        {2, "Time Counter", "Displays total time traveled for all jobs."},
        {3, "Clear All Total Counters", "Press \"Clear\" to clear all accumulated total counters."},
    };
    for (const HelpCase& c : helps) {
        tapButton(labelButton(page, c.id));
        checkShownHelp(c);
    }
    page->showHelp(4);
    checkShownEmptyHelp();
    QSignalSpy back(page, &ConfigOemDeleteTotals::goBack);
    tapButtonBar(page, ToolsViewButtonBar::Back);
    CHECK(back.count() == 1);
}
