// The screen-test support itself: the screenshot check finds what it is meant
// to find, the touch helpers reach the kit's pop-ups, and the fixture records
// what a page gives out.
#include "buttongridwidget.h"
#include "cpopupquery.h"
#include "debugout.h"
#include "eventids.h"
#include "eventqueue.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "processevent.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"
#include "test_wait.h"
#include "toolsviewbuttonbar.h"

#include <doctest/doctest.h>

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

bool anyLineHas(const std::vector<std::string>& lines, const std::string& a, const std::string& b = std::string())
{
    for (const std::string& line : lines)
        if (line.find(a) != std::string::npos && line.find(b) != std::string::npos)
            return true;
    return false;
}

QLabel* addLabel(QWidget* page, const char* name, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, page);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->show();
    return label;
}

KestromPushButton* addButton(QWidget* page, const char* name, const QString& text, QRect geometry)
{
    auto* button = new KestromPushButton(page);
    button->setObjectName(name);
    button->setText(text);
    button->setGeometry(geometry);
    button->show();
    return button;
}

}  // namespace

TEST_CASE("screenshot check: a clean page passes and its picture is written at 480 x 272")
{
    ScreenFixture f;
    addLabel(f.page(), "title", "Settings", QRect(10, 10, 200, 30));
    KestromPushButton* home = addButton(f.page(), "homeButton", QString(), QRect(400, 200, 70, 60));
    home->setSvgIcon(":/images/home.svg", QSize(40, 40));
    addButton(f.page(), "okButton", "OK", QRect(10, 200, 130, 50));
    CHECK_SCREEN(f.screen(), "clean_page");
    const QImage picture(screencheck::screenshotPath("clean_page"));
    CHECK(picture.size() == QSize(480, 272));
}

TEST_CASE("screenshot check: each fault is reported with the widget's name and text")
{
    ScreenFixture f;
    SUBCASE("a button text wider than its button")
    {
        addButton(f.page(), "narrowButton", "Application Rate", QRect(10, 10, 60, 50));
        const auto problems = screenProblems(f.screen(), "fault_wide_text");
        CHECK(anyLineHas(problems, "narrowButton", "\"Application Rate\" needs"));
    }
    SUBCASE("a button with a null icon and no text")
    {
        KestromPushButton* button = addButton(f.page(), "iconButton", QString(), QRect(10, 10, 60, 50));
        button->setIcon(QIcon(QPixmap()));
        const auto problems = screenProblems(f.screen(), "fault_null_icon");
        CHECK(anyLineHas(problems, "iconButton", "neither a text nor a picture"));
    }
    SUBCASE("a label with a null pixmap")
    {
        QLabel* label = addLabel(f.page(), "pictureLabel", QString(), QRect(10, 10, 60, 50));
        label->setPixmap(QPixmap());
        const auto problems = screenProblems(f.screen(), "fault_null_pixmap");
        CHECK(anyLineHas(problems, "pictureLabel", "null picture"));
    }
    SUBCASE("two texts on top of each other")
    {
        addLabel(f.page(), "first", "Pressure", QRect(10, 10, 120, 30));
        addLabel(f.page(), "second", "Speed", QRect(20, 10, 120, 30));
        const auto problems = screenProblems(f.screen(), "fault_overlap");
        CHECK(anyLineHas(problems, "texts overlap: 'first in testPage' \"Pressure\"", "'second"));
    }
    SUBCASE("a text cut off by its parent")
    {
        auto* holder = new QWidget(f.page());
        holder->setObjectName("holder");
        holder->setGeometry(0, 0, 100, 40);
        holder->show();
        addLabel(holder, "cutLabel", "Flow", QRect(80, 0, 60, 40));
        const auto problems = screenProblems(f.screen(), "fault_cut");
        CHECK(anyLineHas(problems, "cutLabel", "cut off"));
    }
}

TEST_CASE("screenshot check: an empty button passes only as a borderless touch area over an earlier picture")
{
    struct Case {
        const char* what;
        bool transparent;
        bool buttonFirst;
        QRect button;
        bool reported;
    };
    const Case cases[] = {
        {"over the picture", true, false, QRect(20, 20, 100, 80), false},
        {"on the picture's own rectangle", true, false, QRect(10, 10, 120, 100), false},
        {"with a border", false, false, QRect(20, 20, 100, 80), true},
        {"under the picture", true, true, QRect(20, 20, 100, 80), true},
        {"partly beside the picture", true, false, QRect(100, 20, 100, 80), true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        ScreenFixture f;
        KestromPushButton* button = nullptr;
        if (c.buttonFirst)
            button = addButton(f.page(), "touchArea", QString(), c.button);
        QLabel* picture = addLabel(f.page(), "picture", QString(), QRect(10, 10, 120, 100));
        picture->setPixmap(QPixmap(120, 100));
        if (!c.buttonFirst)
            button = addButton(f.page(), "touchArea", QString(), c.button);
        button->setProperty("transparent", c.transparent);
        const auto problems = screenProblems(f.screen(), "touch_area");
        CHECK(anyLineHas(problems, "touchArea", "neither a text nor a picture") == c.reported);
    }
}

TEST_CASE("screenshot check: a window may run past the screen with its margin band, not with its contents")
{
    struct Case {
        QPoint at;
        QRect button;
        bool reported;
    };
    const Case cases[] = {
        {{161, 45}, QRect(10, 10, 100, 60), false},
        {{160, 45}, QRect(10, 10, 100, 60), false},
        {{161, 45}, QRect(250, 10, 100, 60), true},
        {{162, 45}, QRect(10, 10, 100, 60), true},
        {{161, 100}, QRect(10, 10, 100, 60), true},
        {{200, 150}, QRect(10, 10, 100, 60), true},
    };
    for (const Case& c : cases) {
        CAPTURE(c.at.x());
        CAPTURE(c.at.y());
        CAPTURE(c.button.x());
        ScreenFixture f;
        QWidget window(nullptr, Qt::FramelessWindowHint);
        window.setObjectName("barWindow");
        window.resize(320, 181);
        // A bar's border band, as the tool bar of the working screen has.
        window.setContentsMargins(1, 1, 1, 1);
        addButton(&window, "barButton", "OK", c.button);
        window.move(f.screen()->mapToGlobal(c.at));
        window.show();
        pumpEvents();
        const auto problems = screenProblems(f.screen(), "window_edge");
        CHECK(anyLineHas(problems, "barWindow", "reaches outside") == c.reported);
    }
}

TEST_CASE("screenshot check: a line whose box is taller than the room fits only when its glyphs do")
{
    ScreenFixture f;
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(40);
    const QFontMetrics metrics(font);
    // Digits stand well inside their line box; "gy" reaches down to its bottom.
    const int digits = metrics.tightBoundingRect("90").height();
    REQUIRE(metrics.height() > digits + 6);
    const struct {
        const char* text;
        int height;
        bool fits;
    } cases[] = {
        {"90", metrics.height() - 4, true},
        {"90", digits - 2, false},
        {"gy", metrics.height() - 4, false},
        {"gy", metrics.height(), true},
    };
    int n = 0;
    for (const auto& c : cases) {
        CAPTURE(c.text);
        CAPTURE(c.height);
        const std::string name = "tallLabel" + std::to_string(n++);
        QLabel* label = addLabel(f.page(), name.c_str(), QString::fromLatin1(c.text), QRect(10, 10, 200, c.height));
        label->setFont(font);
        label->setStyleSheet(QStringLiteral("font-size: 40px; font-family: \"DejaVu Sans\"; border: none; padding: 0px;"));
        label->setAlignment(Qt::AlignCenter);
        const auto problems = screenProblems(f.screen(), "tall_line");
        CHECK(anyLineHas(problems, name, "needs") == !c.fits);
        delete label;
    }
}

TEST_CASE("touch helpers: keypad keys, grid options on later pages, button bar and pop-up")
{
    ScreenFixture f;
    SUBCASE("keypad: typed digits are committed by accept, nothing by cancel")
    {
        NumericKeypadWidget keypad("Rate", nullptr);
        keypad.setRange(0, 500, 1, "l/ha");
        QSignalSpy committed(&keypad, &NumericKeypadWidget::commitValue);
        keypad.show();
        pumpEvents();
        REQUIRE(shownKeypad() == &keypad);
        keypadType(&keypad, "12.5");
        CHECK(keypad.entry()->text() == "12.5");
        keypadAccept(&keypad);
        REQUIRE(committed.count() == 1);
        CHECK(committed.at(0).at(0).toDouble() == 12.5);
        CHECK(shownKeypad() == nullptr);

        keypad.show();
        pumpEvents();
        keypadType(&keypad, "7");
        keypadCancel(&keypad);
        CHECK(committed.count() == 1);
        CHECK_FALSE(keypad.isVisible());
    }
    SUBCASE("grid: an option on the last page is reached through the arrows")
    {
        ButtonGridWidget grid;
        for (int id = 1; id <= 10; ++id) {
            auto* option = new KestromPushButton(id, nullptr);
            option->setText(QString::number(id));
            grid.addButton(option);
        }
        grid.layoutPage();
        QSignalSpy chosen(&grid, &ButtonGridWidget::commitSelection);
        grid.show();
        pumpEvents();
        REQUIRE(shownButtonGrid() == &grid);
        int page = 0;
        CHECK(gridOption(&grid, 10, &page) != nullptr);
        CHECK(page == grid.pageCount());
        CHECK(page > 1);
        chooseGridOption(&grid, 10);
        REQUIRE(chosen.count() == 1);
        CHECK(chosen.at(0).at(0).toInt() == 10);
    }
    SUBCASE("button bar: back, next and home report their ids")
    {
        auto* bar = new ToolsViewWidgets::ToolsViewButtonBar(f.page());
        bar->setGeometry(420, 0, 60, 272);
        bar->setButtonsVisible(true, true, true);
        bar->show();
        pumpEvents();
        QSignalSpy touched(bar, &ToolsViewWidgets::ToolsViewButtonBar::buttonTouched);
        tapButtonBar(f.page(), ToolsViewWidgets::ToolsViewButtonBar::Back);
        tapButtonBar(f.page(), ToolsViewWidgets::ToolsViewButtonBar::Next);
        tapButtonBar(f.page(), ToolsViewWidgets::ToolsViewButtonBar::Home);
        REQUIRE(touched.count() == 3);
        CHECK(touched.at(0).at(0).toInt() == 0);
        CHECK(touched.at(1).at(0).toInt() == 1);
        CHECK(touched.at(2).at(0).toInt() == 2);
    }
    SUBCASE("pop-up: the shown query, its texts and its buttons")
    {
        CPopupQuery* query = CPopupQuery::askYesNo("Clear all counters?", 1, 0);
        QSignalSpy response(query, &CPopupQuery::ResponseReceived);
        pumpEvents();
        REQUIRE(currentPopup() == query);
        const QStringList texts = popupTexts(currentPopup());
        CHECK(texts.contains("Clear all counters?"));
        CHECK(texts.contains("Yes"));
        CHECK_SCREEN(f.screen(), "popup_query");
        tapPopupButton(currentPopup(), "No");
        pumpEvents();
        REQUIRE(response.count() == 1);
        CHECK(response.at(0).at(1).toInt() == 0);
    }
}

TEST_CASE("the fixture records posted events, dispatcher calls, debug text and the buzzer")
{
    ScreenFixture f;
    eventPost(2, EV_SET_BOOST, 100);
    eventPost(2, EV_TARGET_RATE_CHANGED, 2500);
    CHECK(takePostedEvents() == std::vector<PostedEvent>{{EV_SET_BOOST, 100}, {EV_TARGET_RATE_CHANGED, 2500}});
    processEvent(EV_SET_BOOST, 120);
    CHECK(takeProcessCalls() == std::vector<PostedEvent>{{EV_SET_BOOST, 120}});
    CHECK(datastoreGetUint16(DS_BOOST_PERCENT) == 120);
    debugPrintf(0, "TDR Target rate = %u\r\n", 25u);
    CHECK(takeDebugText() == "TDR Target rate = 25\r\n");
    beepStart(BEEP_TYPE_CLICK, 1);
    CHECK(waitFor([] { return buzzerLevelCount() > 0; }, 2000));
    CHECK(takeBuzzerStarts() == 1);
}

TEST_CASE("each fixture starts with a fresh store in its unit system")
{
    {
        ScreenFixture f(UNIT_SYSTEM_US);
        f.setItem(DS_TOP_INFO_LEFT, 3);
        CHECK(unitGetSystem() == UNIT_SYSTEM_US);
        CHECK(GuiGeometry::screenWidth() == 480);
        CHECK(QLocale().toString(1234.5, 'f', 1) == "1,234.5");
    }
    ScreenFixture f;
    CHECK(datastoreGetUint16(DS_TOP_INFO_LEFT) == 0);
    CHECK(unitGetSystem() == UNIT_SYSTEM_METRIC);
    CHECK(takePostedEvents().empty());
}
