// Button texts kept inside their button: the break onto two lines, and the
// kit's buttons following every later text, font and size.
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "screen_check.h"
#include "textfit.h"

#include <doctest/doctest.h>

#include <QFont>
#include <QFontMetrics>
#include <QVBoxLayout>
#include <QWidget>

using ToolsViewWidgets::keepTextFitted;
using ToolsViewWidgets::twoLineText;

namespace {

// A font whose widths the cases below are measured in.
QFont caseFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    return font;
}

int widthOf(const QString& text)
{
    return QFontMetrics(caseFont()).size(Qt::TextShowMnemonic, text).width();
}

}  // namespace

TEST_CASE("a too wide text breaks at the space that leaves the wider line narrowest")
{
    guiApplication();
    const QFontMetrics metrics(caseFont());
    const struct {
        const char* text;
        int room;  // 0: exactly the width of the whole text
        const char* shown;
    } cases[] = {
        {"Regulation Parameters", 0, "Regulation Parameters"},
        {"Regulation Parameters", -1, "Regulation\nParameters"},
        // Not the space nearest the middle by letters: "Clear All" is narrow.
        {"Clear All Campaign Counters", 150, "Clear All Campaign\nCounters"},
        {"Extended Range Flat Fan", 150, "Extended\nRange Flat Fan"},
        {"Calibration", 20, "Calibration"},
        {"", 0, ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromLatin1(c.text);
        CAPTURE(text.toStdString());
        const int room = c.room <= 0 ? widthOf(text) + c.room : c.room;
        const QString shown = twoLineText(metrics, text, room);
        CHECK(shown.toStdString() == c.shown);
        // Whichever break is chosen, no other one gives a narrower wider line.
        if (shown.contains('\n')) {
            for (int at = text.indexOf(' '); at >= 0; at = text.indexOf(' ', at + 1))
                CHECK(widthOf(shown) <= widthOf(text.left(at) + '\n' + text.mid(at + 1)));
        }
    }
}

TEST_CASE("a fitted button follows the page's texts, a new font and its own size; the page's own breaks stay")
{
    guiApplication();
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
    qApp->setStyleSheet(QStringLiteral("QPushButton { font-family: \"DejaVu Sans\"; font-size: 18px; padding: 0px; border: none; }"));
    QWidget page;
    page.setGeometry(0, 0, 480, 272);
    auto* button = new KestromPushButton(1, &page);
    button->setGeometry(10, 10, 200, 50);
    keepTextFitted(button);
    keepTextFitted(button);
    page.show();
    pumpEvents();

    const QString longText = QStringLiteral("Implement Speed Sensor Calibration");
    REQUIRE(widthOf(longText) > 200);
    button->setText(longText);
    pumpEvents();
    CHECK(button->text().contains('\n'));
    CHECK(button->text().replace('\n', ' ') == longText);
    CHECK(screenProblems(&page, "textfit_long").empty());

    // Wide enough again: one line.
    button->resize(460, 50);
    pumpEvents();
    CHECK(button->text() == longText);

    // A larger font from a new sheet breaks it again.
    qApp->setStyleSheet(QStringLiteral("QPushButton { font-family: \"DejaVu Sans\"; font-size: 28px; padding: 0px; border: none; }"));
    pumpEvents();
    CHECK(button->text().contains('\n'));

    // A short text stays whole; a break the page wrote stays where it is.
    button->setText(QStringLiteral("Start"));
    pumpEvents();
    CHECK(button->text() == "Start");
    button->setText(QStringLiteral("US\nTurf"));
    pumpEvents();
    CHECK(button->text() == "US\nTurf");
    CHECK(button->findChildren<QObject*>(QStringLiteral("textFitter")).size() == 1);
    qApp->setStyleSheet(QString());
}
