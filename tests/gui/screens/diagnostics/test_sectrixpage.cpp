// The Sectrix link test page with the core in the process and the Sectrix
// controller played on the stand-in board's CAN bus: connection, mode and
// section inputs as the link keeps them, the link's loss within a refresh, the
// bar without next, and the page's screens. The unit keeps real time on the
// bus; the link's supervision runs on the manual clock.
#include "configdiagnosticstestabsc.h"
#include "cpopupmessage.h"
#include "diagnostics_drive.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "sectrix.h"
#include "standin_sectrix.h"
#include "test_wait.h"

#include <QSignalSpy>

#include <chrono>
#include <thread>

using namespace ToolsViewWidgets;

namespace {

void sleepMilliseconds(long ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool linkUp()
{
    return sectrixLinkIsLost() != 0;  // the getter's name has the inverted sense
}

StandinSectrix& unit()
{
    static StandinSectrix instance(sysrootDir());
    static const bool started = instance.start();
    REQUIRE(started);
    return instance;
}

}  // namespace

TEST_CASE("Sectrix page: connection, mode and section inputs of the unit on the bus, then its loss")
{
    BoardFixture f;
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);
    auto* page = new ConfigDiagnosticsTestAbsc;
    QStackedWidget* stack = pageStack(f, {page});
    REQUIRE(unit().command("sectrix manual") == "sectrix manual");
    REQUIRE(unit().command("sectrix allow 5") == "sectrix status word 0005");
    REQUIRE(waitFor(linkUp, 5000));
    REQUIRE(waitFor([] { return sectrixGetStatusWord() == 5; }, 3000));

    showIndex(stack, 1);
    CHECK(pageMode() == 1);
    CHECK(pathwayOf(page) == "...Settings->Diagnostics->Test Sectrix");
    f.tick100ms();
    CHECK(buttonText(page, "m_connectionValue") == "Yes");
    CHECK(buttonText(page, "m_modeValue") == "Manual");
    CHECK(buttonText(page, "m_sectionInputValue") == "101000000");

    REQUIRE(unit().command("sectrix auto") == "sectrix automatic");
    REQUIRE(waitFor([] { return sectrixIsActive() == 1; }, 3000));
    f.tick100ms();
    CHECK(buttonText(page, "m_modeValue") == "Automatic");
    CHECK_SCREEN(f.screen(), "test_sectrix_link_up");

    // More sections than the status word holds: those past the 32nd read 0.
    REQUIRE(unit().command("sectrix allow ffff") == "sectrix status word FFFF");
    REQUIRE(waitFor([] { return sectrixGetStatusWord() == 0xFFFF; }, 3000));
    f.setItem(DS_NUMBER_OF_SECTIONS, 40);
    f.tick100ms();
    CHECK(buttonText(page, "m_sectionInputValue") ==
          QString(16, '1') + "\n" + QString(16, '0') + "\n" + QString(8, '0'));
    CHECK_SCREEN(f.screen(), "test_sectrix_forty_sections");
    f.setItem(DS_NUMBER_OF_SECTIONS, 9);

    // Silenced, the unit is lost once the link's supervision runs out; the
    // next refresh shows it.
    REQUIRE(unit().command("sectrix off") == "sectrix off");
    sleepMilliseconds(300);  // frames still in flight reach the link
    f.clock.advance(4800);  // with the refresh beat: 4900 ms of silence
    sleepMilliseconds(100);
    f.tick100ms();
    CHECK(buttonText(page, "m_connectionValue") == "Yes");
    f.clock.advance(200);
    REQUIRE(waitFor([] { return !linkUp(); }, 2000));
    f.tick100ms();
    CHECK(buttonText(page, "m_connectionValue") == "No");
    // The other rows keep the link's last values.
    CHECK(buttonText(page, "m_modeValue") == "Automatic");
    CHECK(buttonText(page, "m_sectionInputValue") == "111111111");
    CHECK_SCREEN(f.screen(), "test_sectrix_link_lost");

    REQUIRE(unit().command("sectrix on") == "sectrix on");
    REQUIRE(waitFor(linkUp, 3000));
    f.tick100ms();
    CHECK(buttonText(page, "m_connectionValue") == "Yes");
    REQUIRE(unit().command("sectrix manual") == "sectrix manual");

    showIndex(stack, 0);
    CHECK(pageMode() == 4);
}

TEST_CASE("Sectrix page: no next; every bar id but home goes back; help texts")
{
    BoardFixture f;
    auto* page = new ConfigDiagnosticsTestAbsc;
    QStackedWidget* stack = pageStack(f, {page});
    showIndex(stack, 1);
    CHECK_FALSE(buttonBarButton(page, ToolsViewButtonBar::Next)->isVisible());
    QSignalSpy back(page, SIGNAL(goBack()));
    QSignalSpy home(page, SIGNAL(ShowHomeView(int)));
    tapButtonBar(page, ToolsViewButtonBar::Back);
    page->handleButtonBarPressed(ToolsViewButtonBar::Next);
    page->handleButtonBarPressed(7);
    CHECK(back.count() == 3);
    CHECK(home.count() == 0);
    tapButtonBar(page, ToolsViewButtonBar::Home);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
    CHECK(back.count() == 3);

    struct Case {
        int row;
        QString title;
        QString text;
    };
    const Case cases[] = {
        {0, "Connection",
         "Tests if the Sectrix unit is connected through the CAN bus. When the connection status is \"No\", check "
         "if unit is powered on and cables are properly connected."},
        {1, "Mode",
         "Tests if the Sectrix unit is in Automatic or Manual mode. Mode can be changed on the Sectrix unit."},
        {2, "Section Input", "Tests if the Sectrix section input is on or off.\n1 = Section On\n0 = Section Off"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.row);
        KestromPushButton* label = rowLabel(page, c.row);
        REQUIRE(label != nullptr);
        CHECK(label->text() == c.title);
        tapButton(label);
        auto* popup = qobject_cast<CPopupMessage*>(currentPopup());
        REQUIRE(popup != nullptr);
        CHECK(popupTexts(popup) == QStringList{c.title, c.text});
        tap(popup);
        pumpEvents();
    }
}
