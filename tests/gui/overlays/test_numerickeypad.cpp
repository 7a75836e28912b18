#include "cformwidget.h"
#include "cpopupquery.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "overlay_probe.h"

#include <doctest/doctest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

struct Keypad : OverlayHost {
    Keypad() : keypad(new NumericKeypadWidget(QString(), nullptr)), commits(keypad, &NumericKeypadWidget::commitValue)
    {
        QLocale::setDefault(QLocale::c());
    }
    ~Keypad() { delete keypad; }

    KestromPushButton* key(const QString& text) const
    {
        for (KestromPushButton* button : keypad->findChildren<KestromPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    KestromPushButton* accept() const { return iconKey(1); }
    KestromPushButton* cancel() const { return iconKey(0); }
    // cancel and accept carry pictures, not texts: cancel sits left of accept
    KestromPushButton* iconKey(int which) const
    {
        QList<KestromPushButton*> withIcons;
        for (KestromPushButton* button : keypad->findChildren<KestromPushButton*>())
            if (!button->icon().isNull())
                withIcons << button;
        REQUIRE(withIcons.size() == 2);
        std::sort(withIcons.begin(), withIcons.end(),
                  [](KestromPushButton* a, KestromPushButton* b) { return a->x() < b->x(); });
        return withIcons.at(which);
    }
    // Keys act on touch-down.
    void type(const QString& keys)
    {
        for (QChar c : keys) {
            KestromPushButton* button = key(c == '<' ? QString("<--") : QString(c));
            REQUIRE(button);
            tap(button);
        }
    }
    void open(double value, double min, double max, const QString& units = QString())
    {
        keypad->setValue(value);
        keypad->setRange(min, max, 0, units);
        keypad->show();
    }
    CPopupQuery* refusal() const { return qobject_cast<CPopupQuery*>(manager->currentOverlay()); }

    NumericKeypadWidget* keypad;
    QSignalSpy commits;
};

}  // namespace

TEST_CASE("the keypad accepts an entry inside its range and refuses any other")
{
    struct Case {
        const char* entry;  // typed after clearing
        double min, max;
        const char* units;
        bool committed;
        double value;
        const char* message;
    };
    const Case cases[] = {
        {"150", 0, 100, "%", false, 0, "Invalid value! Value must be between 0 and 100 %."},
        {"100", 0, 100, "%", true, 100, nullptr},
        {"0", 0, 100, "%", true, 0, nullptr},
        {"12.5", 0, 100, "%", true, 12.5, nullptr},
        {"4", 5, 5, "l", false, 0, "Invalid value!"},
        {"5", 5, 5, "l", true, 5, nullptr},
        {"", 0, 100, "%", false, 0, "Invalid value! Value must be between 0 and 100 %."},
        {"1..5", 0, 100, "%", false, 0, "Invalid value! Value must be between 0 and 100 %."},
        {".", 0, 100, "%", false, 0, "Invalid value! Value must be between 0 and 100 %."},
        {"0.5", 0.25, 1500.5, "bar", true, 0.5, nullptr},
        {"2000", 0.25, 1500.5, "bar", false, 0, "Invalid value! Value must be between 0.25 and 1500.5 bar."},
    };
    for (const Case& c : cases) {
        CAPTURE(c.entry);
        CAPTURE(c.min);
        Keypad k;
        k.open(1, c.min, c.max, c.units);
        tap(k.key("Clear"));
        k.type(c.entry);
        CHECK(k.keypad->entry()->text() == c.entry);
        tap(k.accept());
        if (c.committed) {
            REQUIRE(k.commits.count() == 1);
            CHECK(k.commits.at(0).at(0).toDouble() == c.value);
            CHECK_FALSE(k.keypad->isVisible());
            CHECK(k.refusal() == nullptr);
            continue;
        }
        CHECK(k.commits.count() == 0);
        CHECK_FALSE(k.keypad->isVisible());
        CPopupQuery* query = k.refusal();
        REQUIRE(query);
        CHECK(query->form()->textLabel()->text() == c.message);
        tap(query->form()->button(0));
        pumpEvents();
        CHECK(k.keypad->isVisible());
        CHECK(k.keypad->entry()->text() == c.entry);
        CHECK(k.commits.count() == 0);
    }
}

TEST_CASE("without a range every number is accepted, but never an empty entry")
{
    Keypad k;
    k.keypad->setValue(3);
    k.keypad->show();
    k.keypad->entry()->setText("-7.5");
    tap(k.accept());
    REQUIRE(k.commits.count() == 1);
    CHECK(k.commits.at(0).at(0).toDouble() == -7.5);

    k.keypad->show();
    tap(k.key("Clear"));
    tap(k.accept());
    CHECK(k.commits.count() == 1);
    REQUIRE(k.refusal());
    CHECK(k.refusal()->form()->textLabel()->text() == "Invalid value!");
}

TEST_CASE("the first key replaces the shown value; later keys edit it")
{
    Keypad k;
    k.open(12.5, 0, 100);
    CHECK(k.keypad->entry()->text() == "12.5");
    k.type("7");
    CHECK(k.keypad->entry()->text() == "7");
    k.type("3.2<");
    CHECK(k.keypad->entry()->text() == "73.");

    SUBCASE("backspace as the first key empties the entry")
    {
        k.keypad->close();
        k.open(45, 0, 100);
        k.type("<");
        CHECK(k.keypad->entry()->text().isEmpty());
    }
    SUBCASE("a key types its own character, whatever its translated label")
    {
        k.keypad->close();
        k.open(0, 0, 100);
        k.key("7")->setText(QStringLiteral("\u00ab7\u00bb"));
        k.key(".")->setText(QStringLiteral(","));
        tap(k.key(QStringLiteral("\u00ab7\u00bb")));
        tap(k.key(QStringLiteral(",")));
        k.type("5");
        CHECK(k.keypad->entry()->text() == "7.5");
        tap(k.accept());
        REQUIRE(k.commits.size() == 1);
        CHECK(k.commits.at(0).at(0).toDouble() == 7.5);
    }
    SUBCASE("the keys carry their key codes")
    {
        CHECK(k.key("7")->accessibleName() == "0x37");
        CHECK(k.key(".")->accessibleName() == "0x2E");
        CHECK(k.key("<--")->accessibleName() == "0x01000003");
        CHECK(k.key("Clear")->accessibleName().isEmpty());
    }
}

TEST_CASE("values are shown with six significant digits at most")
{
    Keypad k;
    const struct {
        double value;
        const char* text;
    } cases[] = {{2500000, "2.5e+06"}, {0.1, "0.1"}, {12.5, "12.5"}, {123.456789, "123.457"}, {-3, "-3"}};
    for (const auto& c : cases) {
        k.keypad->setValue(c.value);
        CHECK(k.keypad->entry()->text() == c.text);
    }
}

TEST_CASE("the sign key: enabled only for a negative minimum; it negates the entry")
{
    Keypad k;
    k.open(5, 0, 10);
    CHECK_FALSE(k.key("-/+")->isEnabled());
    k.keypad->close();
    k.open(5, -10, 10);
    REQUIRE(k.key("-/+")->isEnabled());
    tap(k.key("-/+"));
    CHECK(k.keypad->entry()->text() == "-5");
    k.keypad->entry()->setText("junk");
    tap(k.key("-/+"));  // not a number: read as 0
    bool isNumber = false;
    CHECK(k.keypad->entry()->text().toDouble(&isNumber) == 0.0);
    CHECK(isNumber);
}

TEST_CASE("accepting twice commits once; cancel and Escape close without a value; Return accepts")
{
    Keypad k;
    k.open(42, 0, 100);
    tap(k.accept());
    tap(k.accept());
    CHECK(k.commits.count() == 1);
    CHECK(k.refusal() == nullptr);

    k.open(42, 0, 100);
    tap(k.cancel());
    CHECK_FALSE(k.keypad->isVisible());
    CHECK(k.commits.count() == 1);

    k.open(42, 0, 100);
    QTest::keyClick(k.keypad, Qt::Key_Escape);
    CHECK_FALSE(k.keypad->isVisible());
    k.open(43, 0, 100);
    QTest::keyClick(k.keypad, Qt::Key_Return);
    REQUIRE(k.commits.count() == 2);
    CHECK(k.commits.at(1).at(0).toDouble() == 43);
}
