// The units converter as the operator uses it: kind and unit grids, values
// typed on either side, the factor table used one way only, the resets to
// 1 = 1 in the default units, a language change, and the screens.
#include "buttongridwidget.h"
#include "kestrompushbutton.h"
#include "miscunitsconverter.h"
#include "qtelidedlabel.h"
#include "screen_check.h"
#include "screen_drive.h"
#include "screen_fixture.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTranslator>

using namespace ToolsViewWidgets;

namespace {

struct Converter {
    explicit Converter(ScreenFixture& f) : page(new MiscUnitsConverter)
    {
        f.place(page, QPoint(0, 0), QSize(480, 272));
    }
    KestromPushButton* button(const char* name) const
    {
        auto* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    QString display(const char* side) const
    {
        for (QLabel* label : page->findChildren<QLabel*>("m_settingDisplay"))
            if (label->accessibleName() == QStringLiteral("m_%1Display").arg(side))
                return label->text();
        FAIL("no display " << side);
        return QString();
    }
    QString label(const char* name) const { return page->findChild<QLabel*>(QString::fromLatin1(name))->text(); }
    void chooseType(int type) const
    {
        tapButton(button("m_typeButton"));
        chooseGridOption(shownButtonGrid(), type);
    }
    void chooseUnit(const char* side, int unit) const
    {
        tapButton(button(side == QLatin1String("from") ? "m_fromUnitButton" : "m_toUnitButton"));
        chooseGridOption(shownButtonGrid(), unit);
    }
    void type(const char* side, const QString& digits, bool negative = false) const
    {
        tapButton(button(side == QLatin1String("from") ? "m_fromKeyboardButton" : "m_toKeyboardButton"));
        NumericKeypadWidget* keypad = shownKeypad();
        REQUIRE(keypad != nullptr);
        // The keypad opens with the side's value; the first key replaces it.
        keypadType(keypad, digits);
        if (negative) {
            for (QAbstractButton* key : keypad->findChildren<QAbstractButton*>())
                if (key->text() == "-/+")
                    tapButton(key);
        }
        keypadAccept(keypad);
    }

    MiscUnitsConverter* page;
};

}  // namespace

TEST_CASE("converter: the page starts at 1 hectares = 1 hectares")
{
    ScreenFixture f;
    Converter c(f);
    CHECK(c.page->findChild<QtElidedLabel*>("m_pathwayLabel")->text() == "Tools->Units Converter");
    CHECK(c.label("m_fromLabel") == "From:");
    CHECK(c.label("m_toLabel") == "To:");
    CHECK(c.button("m_typeButton")->text() == "Area");
    CHECK(c.button("m_fromUnitButton")->text() == "hectares");
    CHECK(c.button("m_toUnitButton")->text() == "hectares");
    CHECK(c.display("from") == "1");
    CHECK(c.display("to") == "1");
    CHECK(buttonBarButton(c.page, ToolsViewButtonBar::Back)->isVisible());
    CHECK_FALSE(buttonBarButton(c.page, ToolsViewButtonBar::Next)->isVisible());
}

TEST_CASE("converter: feet to meters, and back through the same factor")
{
    ScreenFixture f;
    Converter c(f);
    c.chooseType(MiscUnitsConverter::Length);
    c.chooseUnit("from", 0);
    c.chooseUnit("to", 2);
    c.type("from", "10");
    CHECK(c.display("to") == "3.04801");
    CHECK(c.page->toValue() == doctest::Approx(3.048006096).epsilon(1e-12));
    // Typed on the to side: the reciprocal of feet->meters, not meters->feet.
    c.type("to", "1");
    CHECK(c.display("from") == "3.28083");
    CHECK(c.page->fromValue() == 1.0 / 0.3048006096);
    // A new to unit keeps the from value.
    c.chooseUnit("to", 4);
    CHECK(c.page->fromValue() == 1.0 / 0.3048006096);
    CHECK(c.page->toValue() == (1.0 / 0.3048006096) * 0.0003048000001155303);
    // A new from unit keeps the to value.
    const double to = c.page->toValue();
    c.chooseUnit("from", 3);
    CHECK(c.page->toValue() == to);
    CHECK(c.page->fromValue() == to * (1.0 / 1.60934400061));
    CHECK(c.button("m_fromUnitButton")->text() == "miles");
    CHECK(c.button("m_toUnitButton")->text() == "kilometers");
}

TEST_CASE("converter: a table of conversions")
{
    ScreenFixture f;
    struct Case {
        int type;
        int from;
        int to;
        const char* typed;
        bool negative;
        const char* shown;
    } const cases[] = {
        {MiscUnitsConverter::Area, 0, 1, "1", false, "0.40469"},
        {MiscUnitsConverter::Area, 1, 0, "1", false, "2.47104"},
        {MiscUnitsConverter::Area, 1, 2, "2.5", false, "25000"},
        {MiscUnitsConverter::Area, 2, 0, "10000", false, "2.47105"},
        {MiscUnitsConverter::Volume, 0, 2, "1", false, "0.264172"},
        {MiscUnitsConverter::Volume, 0, 1, "100", false, "21.9969"},
        {MiscUnitsConverter::Volume, 2, 0, "1", false, "3.78541"},
        {MiscUnitsConverter::Length, 0, 1, "2", true, "-24"},
        {MiscUnitsConverter::Length, 3, 4, "0", false, "0"},
        {MiscUnitsConverter::Length, 1, 2, "100", false, "2.54"},
    };
    for (const Case& k : cases) {
        CAPTURE(k.type);
        CAPTURE(k.from);
        CAPTURE(k.to);
        Converter c(f);
        c.chooseType(k.type);
        c.chooseUnit("from", k.from);
        c.chooseUnit("to", k.to);
        c.type("from", k.typed, k.negative);
        CHECK(c.display("to") == k.shown);
        delete c.page;
    }
}

TEST_CASE("converter: the stored factors, one way only")
{
    struct Case {
        int type;
        int from;
        int to;
        double factor;
    } const cases[] = {
        {0, 0, 1, 0.40469},          {0, 1, 0, 2.47104},          {0, 2, 0, 0.000247105381465},
        {1, 0, 2, 0.3048006096},     {1, 2, 0, 3.280839895},      {1, 4, 3, 0.621371192},
        {1, 3, 4, 1.60934400061},    {1, 1, 4, 2.5400000009627523e-05},
        {2, 0, 1, 0.219969},         {2, 2, 1, 0.8326734097481941}, {2, 2, 2, 1.0},
        {3, 0, 1, 1.0},              {-1, 0, 0, 1.0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.type);
        CAPTURE(c.from);
        CAPTURE(c.to);
        CHECK(MiscUnitsConverter::factor(c.type, c.from, c.to) == c.factor);
    }
}

TEST_CASE("converter: choosing a kind, the same one too, starts again at 1 = 1 in its default units")
{
    ScreenFixture f;
    Converter c(f);
    struct Case {
        int type;
        const char* unit;
        int options;
    } const cases[] = {{MiscUnitsConverter::Length, "meters", 5},
                       {MiscUnitsConverter::Volume, "liters", 3},
                       {MiscUnitsConverter::Volume, "liters", 3},
                       {MiscUnitsConverter::Area, "hectares", 3}};
    for (const Case& k : cases) {
        CAPTURE(k.type);
        c.chooseUnit("from", 0);
        c.type("from", "7");
        c.chooseType(k.type);
        CHECK(c.display("from") == "1");
        CHECK(c.display("to") == "1");
        CHECK(c.button("m_fromUnitButton")->text() == k.unit);
        CHECK(c.button("m_toUnitButton")->text() == k.unit);
        tapButton(c.button("m_toUnitButton"));
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        int options = 0;
        for (int page = 1; page <= grid->pageCount(); ++page)
            for (KestromPushButton* b : grid->pageButtons(page))
                options += b->id() != ButtonGridWidget::NextPageId;
        CHECK(options == k.options);
        grid->close();
        pumpEvents();
    }
}

namespace {

class WordTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "ToolsViewWidgets::MiscUnitsConverter")
            return QString();
        static const QMap<QByteArray, QString> kTexts = {{"From:", "Von:"}, {"liters", "Liter"}};
        return kTexts.value(source);
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

TEST_CASE("converter: a language change sets the texts again and starts again; the kind grid does not grow")
{
    ScreenFixture f;
    Converter c(f);
    c.chooseType(MiscUnitsConverter::Volume);
    c.type("from", "5");
    const int objects = c.page->findChildren<QObject*>().size();
    WordTexts words;
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::installTranslator(&words);
        pumpEvents();
        QCoreApplication::removeTranslator(&words);
        pumpEvents();
    }
    QCoreApplication::installTranslator(&words);
    pumpEvents();
    CHECK(c.label("m_fromLabel") == "Von:");
    CHECK(c.button("m_fromUnitButton")->text() == "Liter");
    CHECK(c.display("from") == "1");
    CHECK(c.display("to") == "1");
    CHECK(c.page->findChildren<QObject*>().size() == objects);
    QCoreApplication::removeTranslator(&words);
    pumpEvents();
}

TEST_CASE("converter: back and home")
{
    ScreenFixture f;
    Converter c(f);
    QSignalSpy back(c.page, &MiscUnitsConverter::goBack);
    QSignalSpy home(c.page, &MiscUnitsConverter::ShowHomeView);
    tapButtonBar(c.page, ToolsViewButtonBar::Back);
    tapButtonBar(c.page, ToolsViewButtonBar::Home);
    c.page->handleButtonBarPressed(ToolsViewButtonBar::Next);
    CHECK(back.count() == 1);
    REQUIRE(home.count() == 1);
    CHECK(home.at(0).at(0).toInt() == 2);
}

TEST_CASE("converter screens: each kind, a unit grid and the keypad open")
{
    ScreenFixture f;
    Converter c(f);
    CHECK_SCREEN(f.screen(), "converter_area");
    c.chooseType(MiscUnitsConverter::Length);
    c.chooseUnit("from", 0);
    c.type("from", "10");
    CHECK_SCREEN(f.screen(), "converter_length");
    c.chooseType(MiscUnitsConverter::Volume);
    CHECK_SCREEN(f.screen(), "converter_volume");
    tapButton(c.button("m_typeButton"));
    CHECK_SCREEN(f.screen(), "converter_type_grid");
    shownButtonGrid()->close();
    c.chooseType(MiscUnitsConverter::Length);
    tapButton(c.button("m_fromUnitButton"));
    CHECK_SCREEN(f.screen(), "converter_length_units");
    shownButtonGrid()->close();
    tapButton(c.button("m_toKeyboardButton"));
    CHECK_SCREEN(f.screen(), "converter_keypad");
}
