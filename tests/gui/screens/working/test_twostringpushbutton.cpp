// The two-line button: its two fonts follow the style sheet's "fontsize"
// steps, the lines stay one centred block, and touches work as on any themed button.
#include "datastore.h"
#include "dscatalogue.h"
#include "kestrompushbutton.h"
#include "screen_fixture.h"
#include "test_wait.h"
#include "twostringpushbutton.h"

#include <doctest/doctest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QSet>
#include <QSignalSpy>

#include <functional>

namespace {

int pixels(const QFont& font)
{
    return QFontInfo(font).pixelSize();
}

// The parentless buttons that exist now: a button's font carriers are among them.
QSet<KestromPushButton*> parentlessButtons()
{
    QSet<KestromPushButton*> found;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* button = qobject_cast<KestromPushButton*>(widget))
            if (button->parentWidget() == nullptr)
                found.insert(button);
    return found;
}

}  // namespace

TEST_CASE("font steps: the style sheet's fonts, one line at a time, and no re-polish for the same step")
{
    ScreenFixture f;
    const QSet<KestromPushButton*> before = parentlessButtons();
    auto* button = new TwoStringPushButton(7, "xlarge", "medium", f.page());
    const QSet<KestromPushButton*> carriers = parentlessButtons() - before;
    REQUIRE(carriers.size() == 2);
    KestromPushButton* firstCarrier = nullptr;
    for (KestromPushButton* carrier : carriers)
        if (carrier->property("fontsize").toString() == "xlarge")
            firstCarrier = carrier;
    REQUIRE(firstCarrier != nullptr);
    CHECK(pixels(button->firstFont()) == 51);
    CHECK(pixels(button->secondFont()) == 22);

    // A font the style sheet would replace on a re-polish stays with the same step.
    QFont marked = firstCarrier->font();
    marked.setPixelSize(40);
    firstCarrier->setFont(marked);
    button->setFirstText("123", "xlarge");
    CHECK(pixels(button->firstFont()) == 40);
    CHECK(button->firstStep() == "xlarge");

    button->setFirstText("1234", "xlarge-1");
    CHECK(button->firstStep() == "xlarge-1");
    CHECK(pixels(button->firstFont()) == 42);
    CHECK(pixels(button->secondFont()) == 22);
    button->setSecondText("l/ha", "small");
    CHECK(pixels(button->secondFont()) == 13);
    CHECK(pixels(button->firstFont()) == 42);
    CHECK(button->firstText() == "1234");
    CHECK(button->secondText() == "l/ha");

    // The constructors without steps take "large" and "medium".
    TwoStringPushButton plain(nullptr);
    TwoStringPushButton withId(3, nullptr);
    CHECK(plain.firstStep() == "large");
    CHECK(withId.secondStep() == "medium");
    CHECK(withId.id() == 3);
}

TEST_CASE("the two lines form one block centred in the button whatever the steps")
{
    ScreenFixture f;
    auto* button = new TwoStringPushButton(1, "xlarge", "medium", f.page());
    f.place(button, QPoint(0, 0), QSize(150, 77));
    button->setFirstText("98", "xlarge");
    button->setSecondText("km/h");
    const struct {
        const char* step;
        int firstPixels;
    } cases[] = {{"xlarge", 51}, {"xlarge-1", 42}, {"xlarge-2", 35}, {"large", 30}};
    // The room inside the 2-pixel frame.
    const QRect room(2, 2, 146, 73);
    for (const auto& c : cases) {
        CAPTURE(c.step);
        button->setFirstText("98", c.step);
        REQUIRE(pixels(button->firstFont()) == c.firstPixels);
        const QRect first = button->firstTextRect();
        const QRect second = button->secondTextRect();
        const QFontMetrics firstMetrics(button->firstFont());
        const QFontMetrics secondMetrics(button->secondFont());
        // The value's box ends on its baseline, the unit's holds its descenders; one block.
        CHECK(first.height() == firstMetrics.ascent());
        CHECK(second.height() == secondMetrics.height());
        CHECK(first.bottom() + 1 == second.top());
        CHECK(second.bottom() <= room.bottom());
        const int above = first.top() - room.top();
        const int below = room.bottom() - second.bottom();
        CHECK((qAbs(above - below) <= 1 || below == 0));
        CHECK(first.left() == room.left());
        CHECK(first.width() == room.width());
        // The glyphs as drawn: inside the room, the value above the unit.
        const QRect value = firstMetrics.tightBoundingRect("98").translated(0, first.top() + firstMetrics.ascent());
        const QRect unit = secondMetrics.tightBoundingRect("km/h").translated(0, second.top() + secondMetrics.ascent());
        CHECK(value.top() >= room.top());
        CHECK(value.bottom() < unit.top());
        CHECK(unit.bottom() <= room.bottom());
    }
    // Pressed, the block moves with the contents.
    const QRect released = button->firstTextRect();
    button->setDown(true);
    CHECK(button->firstTextRect().topLeft() == released.topLeft() + QPoint(4, 2));
    button->setDown(false);
}

TEST_CASE("press, cancel and takeAction as on the themed push button, key click included")
{
    ScreenFixture f;
    f.setItem(DS_KEY_BEEP, 1);
    auto* twoLine = new TwoStringPushButton(5, f.page());
    auto* themed = new KestromPushButton(5, f.page());
    f.place(twoLine, QPoint(10, 10), QSize(90, 90));
    f.place(themed, QPoint(200, 10), QSize(90, 90));
    // The buzzer task writes the levels later: the starts are counted as they come.
    int starts = 0;
    const auto waitForStarts = [&starts](int expected) {
        waitFor([&] {
            starts += takeBuzzerStarts();
            return starts >= expected;
        }, 2000);
        return starts;
    };
    for (KestromPushButton* button : {static_cast<KestromPushButton*>(twoLine), themed}) {
        CAPTURE(button->metaObject()->className());
        starts = 0;
        QSignalSpy actions(button, &KestromPushButton::takeAction);
        QSignalSpy cancels(button, &CIdPushButton::Cancelled);
        tap(button);
        REQUIRE(actions.count() == 1);
        CHECK(actions.at(0).at(0).toInt() == 5);
        CHECK(waitForStarts(1) == 1);
        // A finger sliding far off the button cancels it; the release does nothing.
        touchPress(button);
        touchMove(button, QPoint(300, 200));
        touchRelease(button, QPoint(300, 200));
        CHECK(cancels.count() == 1);
        CHECK(actions.count() == 1);
        CHECK(waitForStarts(2) == 2);
    }
}

TEST_CASE("with both texts empty the button paints as a plain themed button")
{
    ScreenFixture f;
    auto* twoLine = new TwoStringPushButton(f.page());
    auto* themed = new KestromPushButton(f.page());
    f.place(twoLine, QPoint(10, 10), QSize(90, 60));
    f.place(themed, QPoint(200, 10), QSize(90, 60));
    CHECK(twoLine->grab().toImage() == themed->grab().toImage());
    twoLine->setFirstText("5");
    CHECK(twoLine->grab().toImage() != themed->grab().toImage());
}

TEST_CASE("a text or step set again unchanged repaints nothing; a changed one repaints")
{
    using Setter = std::function<void(TwoStringPushButton*)>;
    struct Case {
        const char* what;
        Setter set;
        bool repaint;
    };
    const Case cases[] = {
        {"same first text", [](TwoStringPushButton* b) { b->setFirstText("12.5"); }, false},
        {"same second text", [](TwoStringPushButton* b) { b->setSecondText("l/ha"); }, false},
        {"same first text and step", [](TwoStringPushButton* b) { b->setFirstText("12.5", "large"); }, false},
        {"same second text and step", [](TwoStringPushButton* b) { b->setSecondText("l/ha", "small"); }, false},
        {"new first text", [](TwoStringPushButton* b) { b->setFirstText("12.6"); }, true},
        {"new second text", [](TwoStringPushButton* b) { b->setSecondText("l/min"); }, true},
        {"new first step", [](TwoStringPushButton* b) { b->setFirstText("12.5", "medium"); }, true},
        {"new second step", [](TwoStringPushButton* b) { b->setSecondText("l/ha", "medium"); }, true},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.what));
        ScreenFixture f;
        auto* button = new TwoStringPushButton("large", "small", f.page());
        f.place(button, QPoint(10, 10), QSize(120, 70));
        button->setFirstText("12.5");
        button->setSecondText("l/ha");
        PaintCounter paints(button);
        paints.take();
        c.set(button);
        CHECK((paints.take() > 0) == c.repaint);
    }
}
