#include "beep.h"
#include "cidpushbutton.h"
#include "datastore.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "test_wait.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <QSignalSpy>

#include <atomic>

namespace {

struct Spies {
    explicit Spies(CIdPushButton* button)
        : pressed(button, &CIdPushButton::Pressed), released(button, &CIdPushButton::Released),
          cancelled(button, &CIdPushButton::Cancelled), toggled(button, &CIdPushButton::Toggled),
          clicked(button, &QAbstractButton::clicked)
    {
    }
    QSignalSpy pressed, released, cancelled, toggled, clicked;
};

// A 100 x 50 button shown at its place on a page.
template <class Button>
struct ShownButton : WithGuiApplication {
    ShownButton()
    {
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        page.resize(480, 272);
        button = new Button(7, &page);
        button->setGeometry(100, 100, 100, 50);
        page.show();
    }
    QWidget page;
    Button* button;
};

std::atomic<int> buzzerOnEdges{0};

void countBuzzer(uint32_t line, uint32_t level)
{
    if (line == 1 && level)
        ++buzzerOnEdges;
}

}  // namespace

TEST_CASE("a press completes wherever it is lifted unless the finger left the cancel margin")
{
    struct Case {
        int dx, dy;  // finger position relative to the button's bottom-right pixel
        bool completes;
    };
    // KestromPushButton: margin 50, edges included
    const Case cases[] = {
        {49, 0, true}, {50, 0, true}, {51, 0, false}, {0, 50, true}, {0, 51, false},
        {-149, -99, true},  // (-49, -49): inside on the top-left
        {-151, 0, false},   // x = -51
    };
    for (const Case& c : cases) {
        CAPTURE(c.dx);
        CAPTURE(c.dy);
        ShownButton<KestromPushButton> shown;
        KestromPushButton* button = shown.button;
        Spies spies(button);
        QSignalSpy actions(button, &KestromPushButton::takeAction);
        touchPress(button);
        CHECK(button->isDown());
        touchMove(button, QPoint(99 + c.dx, 49 + c.dy));
        CHECK(button->isDown() == c.completes);
        CHECK(spies.cancelled.count() == (c.completes ? 0 : 1));
        touchRelease(button, QPoint(99 + c.dx, 49 + c.dy));
        CHECK_FALSE(button->isDown());
        CHECK(spies.pressed.count() == 1);
        CHECK(spies.released.count() == (c.completes ? 1 : 0));
        CHECK(actions.count() == (c.completes ? 1 : 0));
        CHECK(spies.clicked.count() == (c.completes ? 1 : 0));
        if (c.completes) {
            CHECK(actions.at(0).at(0).toInt() == 7);
            CHECK(spies.clicked.at(0).at(0).toBool() == false);
        } else {
            CHECK(spies.cancelled.at(0).at(0).toInt() == 7);
        }
    }
}

TEST_CASE("a plain id button cancels on any move outside its own rectangle")
{
    ShownButton<CIdPushButton> shown;
    Spies spies(shown.button);
    touchPress(shown.button);
    touchMove(shown.button, QPoint(99, 49));  // the last pixel still counts
    CHECK(spies.cancelled.count() == 0);
    touchMove(shown.button, QPoint(100, 10));
    CHECK(spies.cancelled.count() == 1);
    touchMove(shown.button, QPoint(10, 10));  // coming back does not resume the press
    touchRelease(shown.button, QPoint(10, 10));
    CHECK(spies.released.count() == 0);
    CHECK(spies.clicked.count() == 0);

    SUBCASE("a release without a press and a second press during a press are ignored")
    {
        touchRelease(shown.button);
        CHECK(spies.released.count() == 0);
        touchPress(shown.button);
        touchPress(shown.button);
        touchRelease(shown.button);
        CHECK(spies.pressed.count() == 2);
        CHECK(spies.released.count() == 1);
    }

    SUBCASE("a changed id is sent by later presses")
    {
        shown.button->setId(12);
        tap(shown.button);
        REQUIRE(spies.released.count() == 1);
        CHECK(spies.released.at(0).at(0).toInt() == 12);
    }
}

TEST_CASE("a checkable button toggles only on a completed press, after clicked")
{
    ShownButton<KestromPushButton> shown;
    KestromPushButton* button = shown.button;
    button->setCheckable(true);
    Spies spies(button);
    QStringList order;
    QObject::connect(button, &QAbstractButton::clicked, [&] { order << "clicked"; });
    QObject::connect(button, &CIdPushButton::Toggled, [&](int, bool) { order << "toggled"; });

    touchPress(button);
    touchMove(button, QPoint(300, 10));
    touchRelease(button);
    CHECK_FALSE(button->isChecked());
    CHECK(spies.toggled.count() == 0);

    tap(button);
    CHECK(button->isChecked());
    REQUIRE(spies.toggled.count() == 1);
    CHECK(spies.toggled.at(0).at(0).toInt() == 7);
    CHECK(spies.toggled.at(0).at(1).toBool() == true);
    CHECK(order == QStringList({"clicked", "toggled"}));
    tap(button);
    CHECK_FALSE(button->isChecked());
}

TEST_CASE("each press beeps once while the key beep is on, also when it is cancelled")
{
    REQUIRE(datastoreInit(2) == 0);
    buzzerOnEdges = 0;
    beepSetLineWriter(countBuzzer);
    beepInit();
    ShownButton<KestromPushButton> shown;

    SUBCASE("key beep off")
    {
        REQUIRE(datastoreSetBool(DS_KEY_BEEP, 0) == DS_OK);
        tap(shown.button);
        threadfunc::sleep(200);
        CHECK(buzzerOnEdges == 0);
    }
    SUBCASE("key beep on")
    {
        REQUIRE(datastoreSetBool(DS_KEY_BEEP, 1) == DS_OK);
        tap(shown.button);
        CHECK(waitFor([] { return buzzerOnEdges == 1; }, 2000));
        threadfunc::sleep(200);  // the click is over
        touchPress(shown.button);
        touchMove(shown.button, QPoint(400, 10));
        touchRelease(shown.button);
        CHECK(waitFor([] { return buzzerOnEdges == 2; }, 2000));
        threadfunc::sleep(200);
        CHECK(buzzerOnEdges == 2);
    }
    beepStop();
    beepSetLineWriter(nullptr);
}

TEST_CASE("a disabled button turns grey unless it is transparent")
{
    ShownButton<KestromPushButton> shown;
    KestromPushButton* button = shown.button;
    const QString grey = "QPushButton { background-color: #b5b5b5; }";
    button->setEnabled(false);
    CHECK(button->styleSheet() == grey);
    button->setEnabled(true);
    CHECK(button->styleSheet().isEmpty());

    KestromPushButton transparent(3, &shown.page);
    transparent.setProperty("transparent", true);
    transparent.setStyleSheet("QPushButton { color: red; }");
    transparent.setEnabled(false);
    CHECK(transparent.styleSheet() == "QPushButton { color: red; }");
}

TEST_CASE("the themed button's set-up")
{
    ShownButton<KestromPushButton> shown;
    KestromPushButton* button = shown.button;
    CHECK(button->autoRepeatDelay() == 200);
    CHECK(button->focusPolicy() == Qt::NoFocus);
    CHECK(button->contentsMargins() == QMargins(2, 2, 2, 2));
    button->setSvgIcon(":/images/home.svg", QSize(40, 40));
    CHECK(button->iconSize() == QSize(40, 40));
    CHECK_FALSE(button->icon().isNull());
    CHECK(button->icon().availableSizes().contains(QSize(40, 40)));
}
