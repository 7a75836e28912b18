// The six built-in colour schemes: the table of their sheets, the rules every
// sheet shares, and each scheme's colours as a button actually draws them.
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "toolsviewconsoledisplay.h"

#include <doctest/doctest.h>

#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>

#include <map>
#include <string>

using ToolsViewWidgets::ToolsViewConsoleDisplay;

namespace {

QString readLatin1(const QString& path)
{
    QFile file(path);
    REQUIRE(file.open(QIODevice::ReadOnly));
    return QString::fromLatin1(file.readAll());
}

// The pixel sizes of a widget class's "fontsize" steps in a sheet.
std::map<std::string, int> fontSteps(const QString& sheet, const QString& widgetClass)
{
    std::map<std::string, int> steps;
    const QRegularExpression rule(QRegularExpression::escape(widgetClass) +
                                  QStringLiteral("\\[fontsize=\"([a-z0-9-]+)\"\\]\\s*\\{\\s*font-size:\\s*(\\d+)px;\\s*\\}"));
    auto match = rule.globalMatch(sheet);
    while (match.hasNext()) {
        const QRegularExpressionMatch found = match.next();
        steps[found.captured(1).toStdString()] = found.captured(2).toInt();
    }
    return steps;
}

// Where the selector's rule block starts, -1 when the sheet has none.
int ruleAt(const QString& sheet, const QString& selector)
{
    const QRegularExpression rule(QStringLiteral("(^|\\n)") + QRegularExpression::escape(selector) +
                                  QStringLiteral("\\s*\\{"));
    return sheet.indexOf(rule);
}

void applySheet(int scheme)
{
    qApp->setStyleSheet(readLatin1(ToolsViewConsoleDisplay::styleSheetPath(scheme)));
}

// The box of the pixels of exactly the colour inside the button's frame.
QRect boxOf(const QImage& image, QColor colour)
{
    QRect box;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

TEST_CASE("the scheme table: six sheets built in, none for any other number")
{
    guiApplication();
    consoleScreensInitResources();
    const char* const expected[] = {
        ":/stylesheets/velmar_night.qss",       ":/stylesheets/velmar_day.qss",
        ":/stylesheets/velmar_lightpurple.qss", ":/stylesheets/velmar_jdgreen.qss",
        ":/stylesheets/velmar_casered.qss",     ":/stylesheets/velmar_highviz.qss",
    };
    CHECK(ToolsViewConsoleDisplay::schemeCount() == 6);
    for (int scheme = 0; scheme < 6; ++scheme) {
        CAPTURE(scheme);
        CHECK(ToolsViewConsoleDisplay::styleSheetPath(scheme) == QString::fromLatin1(expected[scheme]));
        CHECK(QFile::exists(QString::fromLatin1(expected[scheme])));
    }
    for (int outside : {6, 7, 9999, -1}) {
        CAPTURE(outside);
        CHECK(ToolsViewConsoleDisplay::styleSheetPath(outside).isEmpty());
    }
}

TEST_CASE("every sheet has the shared rules in their order with the font steps")
{
    guiApplication();
    consoleScreensInitResources();
    const QStringList order = {
        "QWidget",
        "QWidget[hasBorder=\"true\"]",
        "QWidget[hasHighlightedBorder=\"true\"]",
        "QPushButton",
        "QPushButton:pressed",
        "QPushButton[hasBorder=\"true\"]",
        "QPushButton:disabled",
        "QPushButton[fontsize=\"small\"]",
        "QWidget[transparent=\"true\"]",
        "QLabel, QGroupBox, QLineEdit, QComboBox, QSpinBox",
        "QLabel[fontsize=\"verysmall\"]",
        "QProgressBar[fontsize=\"large\"]",
        "QProgressBar:vertical",
        "QProgressBar::chunk:vertical",
        "QProgressBar:horizontal",
        "QProgressBar::chunk:horizontal",
        "QGroupBox",
    };
    const std::map<std::string, int> buttonSteps = {{"small", 13},   {"medium", 22},   {"large", 30},
                                                    {"large-1", 24}, {"large-2", 20},  {"xlarge", 51},
                                                    {"xlarge-1", 42}, {"xlarge-2", 35}};
    std::map<std::string, int> labelSteps = buttonSteps;
    labelSteps["verysmall"] = 10;
    const std::map<std::string, int> barSteps = {{"large", 35}, {"xlarge", 51}};
    for (int scheme = 0; scheme < ToolsViewConsoleDisplay::schemeCount(); ++scheme) {
        const QString sheet = readLatin1(ToolsViewConsoleDisplay::styleSheetPath(scheme));
        CAPTURE(scheme);
        int previous = -1;
        for (const QString& selector : order) {
            const std::string name = selector.toStdString();
            CAPTURE(name);
            const int at = ruleAt(sheet, selector);
            CHECK(at > previous);
            previous = at;
        }
        CHECK(fontSteps(sheet, "QPushButton") == buttonSteps);
        CHECK(fontSteps(sheet, "QLabel") == labelSteps);
        CHECK(fontSteps(sheet, "QProgressBar") == barSteps);
        CHECK(sheet.contains(QRegularExpression("QPushButton \\{[^}]*font-size: 18px;")));
        CHECK(sheet.contains(QRegularExpression("QLineEdit, QComboBox, QSpinBox \\{\\s*font-size: 18px;")));
        CHECK(sheet.contains("font-family: \"Tahoma\";"));
    }
}

TEST_CASE("the sheets' font stands in as a narrow sans on a machine without the board's font")
{
    guiApplication();
    ToolsViewConsoleDisplay::installSheetFont();
    auto width = [](const char* family) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(18);
        return QFontMetrics(font).horizontalAdvance(QStringLiteral("Regulation Parameters"));
    };
    CHECK(width("Tahoma") == width("DejaVu Sans Condensed"));
    CHECK(width("Tahoma") < width("DejaVu Sans"));
}

TEST_CASE("each scheme's colours as a button draws them, pressed and highlighted")
{
    guiApplication();
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
    consoleScreensInitResources();
    ToolsViewConsoleDisplay::installSheetFont();
    struct Case {
        int scheme;
        QColor face;         // the upper part of a button
        QColor pressedFace;  // the same place while pressed
        QColor text;
        QColor highlight;    // the frame of the chosen grid option
        QColor disabledFace;
        QColor disabledText;
    };
    const QColor grey(116, 116, 118);
    const QColor dark(59, 57, 60);
    const QColor lightPurple(188, 188, 232);
    const QColor purple(153, 153, 255);
    const QColor green(17, 97, 33);
    const QColor lightGreen(37, 124, 47);
    const QColor red(141, 19, 22);
    const QColor yellowGreen(179, 230, 0);
    const QColor paleGrey(211, 211, 211);
    const QColor greyText(170, 170, 170);
    const Case cases[] = {
        {0, grey, dark, Qt::black, yellowGreen, QColor(90, 90, 90), QColor(50, 50, 50)},
        {1, dark, grey, Qt::white, yellowGreen, QColor(90, 90, 90), greyText},
        {2, lightPurple, purple, Qt::black, Qt::white, QColor(181, 181, 181), greyText},
        {3, green, lightGreen, Qt::white, Qt::white, paleGrey, greyText},
        {4, red, red, Qt::white, Qt::white, paleGrey, greyText},
        {5, Qt::white, Qt::white, Qt::black, QColor(255, 0, 0), paleGrey, greyText},
    };
    for (const Case& c : cases) {
        CAPTURE(c.scheme);
        applySheet(c.scheme);
        QWidget page;
        page.resize(480, 272);
        KestromPushButton button(1, &page);
        button.setText("MENU");
        button.setGeometry(QRect(QPoint(20, 20), GuiGeometry::menuButtonSize()));
        KestromPushButton option(2, &page);
        option.setText("Style");
        option.setProperty("hasHighlightedBorder", true);
        option.setGeometry(QRect(QPoint(20, 120), GuiGeometry::menuButtonSize()));
        page.show();
        pumpEvents();

        // Left of the text, a third of the way down: the face, not its gradient's end.
        const QPoint facePoint(8, button.height() / 3);
        const QImage normal = button.grab().toImage();
        CHECK(normal.pixelColor(facePoint).name().toStdString() == c.face.name().toStdString());
        const QRect text = boxOf(normal, c.text);
        CHECK(text.width() > 20);
        CHECK(text.height() > 8);

        button.setDown(true);
        pumpEvents();
        const QImage pressed = button.grab().toImage();
        CHECK(pressed.pixelColor(facePoint).name().toStdString() == c.pressedFace.name().toStdString());
        // Pressed, the text moves right and down and keeps its size.
        const QRect pressedText = boxOf(pressed, c.text);
        CHECK(pressedText.size() == text.size());
        CHECK(pressedText.left() > text.left());
        CHECK(pressedText.top() > text.top());

        const QImage highlighted = option.grab().toImage();
        CHECK(highlighted.pixelColor(0, option.height() / 2).name().toStdString() ==
              c.highlight.name().toStdString());

        // A plain push button, disabled: the sheet's own grey face and text.
        QPushButton plain(QStringLiteral("MENU"), &page);
        plain.setGeometry(QRect(QPoint(200, 20), GuiGeometry::menuButtonSize()));
        plain.setEnabled(false);
        plain.show();
        pumpEvents();
        const QImage disabled = plain.grab().toImage();
        CHECK(disabled.pixelColor(facePoint).name().toStdString() == c.disabledFace.name().toStdString());
        CHECK(boxOf(disabled, c.disabledText).width() > 20);
    }
    qApp->setStyleSheet(QString());
}
