// The calculator as the operator uses it: key sequences and what the display
// shows, the memory, the error state, the 15-character display, the Done and
// cancel keys, a language change with an operation pending, and the screens.
#include "calculatorwidget.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"

#include <QLineEdit>
#include <QRegExp>
#include <QSignalSpy>
#include <QTranslator>

#include <memory>

namespace {

// The calculator as the tools menu opens it: parentless, 460 x 242 at (10, 15).
struct Calculator {
    explicit Calculator(bool showDone = false) : widget(new CalculatorWidget(QString(), showDone))
    {
        widget->resize(GuiGeometry::popupOffset());
        widget->show();
        widget->move(10, 15);
        pumpEvents();
    }
    ~Calculator() { pumpEvents(); }

    KestromPushButton* key(const QString& label) const
    {
        for (KestromPushButton* button : widget->findChildren<KestromPushButton*>())
            if (button->text() == label)
                return button;
        FAIL("no key " << label.toStdString());
        return nullptr;
    }
    // Keys by their labels, separated by blanks; "sqrt", "sq" and "+-" name the
    // root, square and sign keys, "BS", "C" and "CA" backspace, clear and clear all.
    void press(const QString& sequence) const
    {
        static const QMap<QString, QString> kNames = {
            {"sqrt", QString(QChar(0x221A))}, {"sq", QStringLiteral("x") + QChar(0x00B2)},
            {"+-", QString(QChar(0x00B1))},   {"BS", "Backspace"},
            {"C", "Clear"},                   {"CA", "Clear All"}};
        for (const QString& token : sequence.split(' ', Qt::SkipEmptyParts)) {
            const bool digits = token.size() > 1 && QRegExp("[0-9.]+").exactMatch(token);
            if (digits) {
                for (QChar c : token)
                    tapButton(key(QString(c)));
            } else {
                tapButton(key(kNames.value(token, token)));
            }
        }
    }
    QString shown() const { return widget->display()->text(); }

    std::unique_ptr<CalculatorWidget> widget;
};

struct KeyCase {
    const char* keys;
    const char* display;
};

}  // namespace

TEST_CASE("calculator: key sequences and what the display shows")
{
    ScreenFixture f;
    const KeyCase cases[] = {
        {"1 + 2 * 3 =", "7"},
        {"2 + =", "4"},
        {"2 * 3 * 4 =", "24"},
        {"10 - 4 - 3 =", "3"},
        {"2 + 3 * 4 - 5 =", "9"},
        {"2 * 3 +", "6"},
        {"2 + 3 *", "3"},
        {"2 / 3 =", "0.666667"},
        {"3 1/x", "0.333333"},
        {"9 sqrt", "3"},
        {"12 sq", "144"},
        {"8 / 0 =", "####"},
        {"4 +- sqrt", "####"},
        {"0 1/x", "####"},
        {"8 / 0 *", "####"},
        {"1 - 8 / 0 +", "####"},
        // Beyond the largest number: no result, the error state.
        {"999999999999999 sq sq sq sq sq", "####"},
        {"0 0", "0"},
        {"0 +-", "0"},
        {"5 +-", "-5"},
        {"5 +- +-", "5"},
        {". 5", "0.5"},
        {"1 . . 5", "1.5"},
        {"1234567890123456", "123456789012345"},
        {"0.1 + 0.2 =", "0.3"},
        {"1 + 2 * 3 = 4", "4"},
        {"5 BS", "0"},
        {"12 BS", "1"},
        {"5 BS 3", "3"},
        // A lone sign is no number.
        {"5 +- BS", "0"},
        {"2 + 5 C", "0"},
        {"2 + 5 C 3 =", "5"},
        {"2 + 5 CA", "0"},
        {"2 + 5 CA 3 =", "3"},
    };
    for (const KeyCase& c : cases) {
        CAPTURE(std::string(c.keys));
        Calculator calc;
        calc.press(c.keys);
        CHECK(calc.shown() == c.display);
    }
}

TEST_CASE("calculator: after an error the next digit starts a new number, the pending operations gone")
{
    ScreenFixture f;
    Calculator calc;
    calc.press("3 + 8 / 0 =");
    CHECK(calc.shown() == "####");
    calc.press("5");
    CHECK(calc.shown() == "5");
    calc.press("=");
    CHECK(calc.shown() == "5");
    calc.press("4 +- sqrt 2 + 1 =");
    CHECK(calc.shown() == "3");
}

TEST_CASE("calculator: the memory keys")
{
    ScreenFixture f;
    const KeyCase cases[] = {
        // MS and M+ first complete the pending calculation.
        {"2 + 3 MS CA MR", "5"},
        {"2 * 3 MS CA 1 + MR =", "7"},
        {"2 M+ 3 M+ MR", "5"},
        {"4 MS 1 M+ MR", "5"},
        // A recalled value takes the digits typed next.
        {"5 MS CA MR 1", "51"},
        {"7 MS MC MR", "0"},
        {"7 MS CA MR", "7"},
        // A failed calculation leaves the memory as it was.
        {"7 MS 8 / 0 MS MR", "7"},
    };
    for (const KeyCase& c : cases) {
        CAPTURE(std::string(c.keys));
        Calculator calc;
        calc.press(c.keys);
        CHECK(calc.shown() == c.display);
    }
}

TEST_CASE("calculator: the sign of a full display does not push out its last digit")
{
    ScreenFixture f;
    Calculator calc;
    calc.press("123456789012345 +-");
    CHECK(calc.shown() == "123456789012345");
    calc.press("BS +-");
    CHECK(calc.shown() == "-12345678901234");
}

TEST_CASE("calculator: Done hands over the number shown and closes; cancel only hides")
{
    ScreenFixture f;
    Calculator withDone(true);
    QSignalSpy committed(withDone.widget.get(), &CalculatorWidget::commitValue);
    withDone.press("6 * 7 =");
    auto* done = withDone.widget->findChild<KestromPushButton*>("m_doneButton");
    REQUIRE(done != nullptr);
    tapButton(done);
    REQUIRE(committed.count() == 1);
    CHECK(committed.at(0).at(0).toDouble() == 42.0);
    CHECK_FALSE(withDone.widget->isVisible());

    Calculator withoutDone;
    CHECK_FALSE(withoutDone.widget->findChild<KestromPushButton*>("m_doneButton")->isVisible());
    withoutDone.press("2 + 3");
    tapButton(withoutDone.widget->findChild<KestromPushButton*>("m_cancelButton"));
    CHECK_FALSE(withoutDone.widget->isVisible());
    withoutDone.widget->show();
    pumpEvents();
    withoutDone.press("=");
    CHECK(withoutDone.shown() == "5");
}

namespace {

class WordTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "CalculatorWidget")
            return QString();
        static const QMap<QByteArray, QString> kTexts = {{"+", "plus"}, {"*", "times"}, {"Clear", "Leeren"}};
        return kTexts.value(source);
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

TEST_CASE("calculator: a language change relabels the keys and keeps the pending operations")
{
    ScreenFixture f;
    Calculator calc;
    calc.press("1 + 2 *");
    WordTexts words;
    QCoreApplication::installTranslator(&words);
    pumpEvents();
    calc.press("3 =");
    CHECK(calc.shown() == "7");
    calc.press("2 plus 2 times 2 =");
    CHECK(calc.shown() == "6");
    CHECK(calc.key("Leeren") != nullptr);
    QCoreApplication::removeTranslator(&words);
    pumpEvents();
    CHECK(calc.key("+") != nullptr);
}

TEST_CASE("calculator screens: normal and error state")
{
    ScreenFixture f;
    Calculator calc;
    CHECK(calc.widget->geometry() == QRect(10, 15, 460, 242));
    calc.press("1234.5 * 2");
    CHECK_SCREEN(f.screen(), "calculator");
    calc.press("/ 0 =");
    CHECK(calc.shown() == "####");
    CHECK_SCREEN(f.screen(), "calculator_error");
}
