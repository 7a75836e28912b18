#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "toolsviewconsoledisplay.h"

#include <doctest/doctest.h>

#include <QFile>
#include <QImage>

#include <cmath>
#include <string>

using ToolsViewWidgets::ToolsViewConsoleDisplay;

namespace {

// Relative luminance of an sRGB colour, as the contrast of text is judged.
double luminance(QRgb rgb)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The strongest contrast between the button's face and its text, as drawn.
double textContrast(KestromPushButton& button)
{
    const QImage image = button.grab().toImage();
    const QRgb face = image.pixel(button.width() / 2, 6);
    const QRect text = QRect(QPoint(0, 0), button.fontMetrics().size(0, button.text()))
                           .translated((button.width() - button.fontMetrics().horizontalAdvance(button.text())) / 2,
                                       (button.height() - button.fontMetrics().height()) / 2);
    double best = 1.0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            best = qMax(best, contrast(face, image.pixel(x, y)));
    return best;
}

}  // namespace

TEST_CASE("every colour scheme keeps a button's text legible, pressed or not")
{
    guiApplication();
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
    consoleScreensInitResources();
    for (int scheme = 0; scheme < ToolsViewConsoleDisplay::schemeCount(); ++scheme) {
        const QString path = ToolsViewConsoleDisplay::styleSheetPath(scheme);
        const std::string name = path.toStdString();
        CAPTURE(name);
        QFile sheet(path);
        REQUIRE(sheet.open(QIODevice::ReadOnly));
        qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
        QWidget page;
        page.setProperty("hasBackground", true);
        page.resize(480, 272);
        KestromPushButton button(1, &page);
        button.setText("MENU");
        button.setGeometry(QRect(QPoint(20, 20), GuiGeometry::menuButtonSize()));
        page.show();
        pumpEvents();
        // Normal text wants a contrast of at least 4.5 to 1.
        CHECK(textContrast(button) >= 4.5);
        button.setDown(true);
        CHECK(textContrast(button) >= 4.5);
    }
    qApp->setStyleSheet(QString());
}
