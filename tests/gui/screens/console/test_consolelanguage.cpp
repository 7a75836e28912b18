// The language chosen on the culture page re-translates every console page:
// pathways, labels and values, numbers in the new locale's digits and the date
// fields in its order. The language manager scans the program's directory once
// per process, so the pages run in a copy of this program in a directory of its
// own, beside the translation files the parent writes there: the sources'
// English, a pseudo-translation of them as German, a Persian that only names
// itself, and a French that lacks its name.
#include "../../pseudo_translation.h"
#include "../../source_tree.h"
#include "core_inprocess.h"
#include "languagemanager.h"
#include "screen_check.h"
#include "screen_fixture.h"
#include "settingpage_drive.h"
#include "test_child.h"
#include "toolsviewconsole.h"
#include "toolsviewconsoleabout.h"
#include "toolsviewconsoleculture.h"
#include "toolsviewconsoledisplay.h"
#include "toolsviewconsoledisplay2.h"
#include "toolsviewconsolesound.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStackedWidget>

#include <algorithm>
#include <array>
#include <vector>

using namespace ToolsViewWidgets;
using KSNLanguageManager::LanguageManager;

namespace {

const char* const childVariable = "CONSOLE_LANGUAGE_CHILD";
const QString persianName = QStringLiteral("\u0641\u0627\u0631\u0633\u06cc");
const char* const nameComment =
    "This is the name of the current language. ie. Spanish for the Americas would be Espanol - CA/SA.";

// A translation file holding only the messages given (context, source, comment, translation).
bool writeSmallTranslation(const QString& qm, const std::vector<std::array<QString, 4>>& messages)
{
    const QString ts = QString(qm).replace(".qm", ".ts");
    QFile file(ts);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamWriter xml(&file);
    xml.writeStartDocument();
    xml.writeStartElement("TS");
    xml.writeAttribute("version", "2.1");
    for (const auto& m : messages) {
        xml.writeStartElement("context");
        xml.writeTextElement("name", m[0]);
        xml.writeStartElement("message");
        xml.writeTextElement("source", m[1]);
        if (!m[2].isEmpty())
            xml.writeTextElement("comment", m[2]);
        xml.writeTextElement("translation", m[3]);
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    file.close();
    return QProcess::execute("lrelease", {"-silent", ts, "-qm", qm}) == 0 && QFile::remove(ts);
}

bool writeLanguages(const QString& dir)
{
    const std::vector<pseudo::Message> messages = pseudo::readMessages(englishTranslationSource());
    const QString name = QStringLiteral("English - US");
    return messages.size() > 50 &&
           writeSmallTranslation(dir + "/ksnsprayer_en-US.qm", {{"LanguageManager", name, nameComment, name}}) &&
           pseudo::writePseudoTranslation(messages, dir + "/ksnsprayer_de-DE.qm") &&
           writeSmallTranslation(dir + "/ksnsprayer_fa-IR.qm", {{"LanguageManager", name, nameComment, persianName}}) &&
           // A file that loads but does not name its language.
           writeSmallTranslation(dir + "/ksnsprayer_fr-FR.qm",
                                 {{"ToolsViewConsole", "Display", "button", "Affichage"}});
}

int languageIndex(const char* code)
{
    LanguageManager& manager = LanguageManager::instance();
    for (int n = 0; n < manager.languageCount(); ++n)
        if (manager.languageCode(n) == QLatin1String(code))
            return n;
    return -1;
}

struct CoreScreen {
    CoreScreen()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

struct Console : CoreScreen, ScreenFixture {
    Console()
    {
        setItem(DS_UNIT_SYSTEM, UNIT_SYSTEM_METRIC);
        setItem(DS_TURF_UNITS, 0);
        setItem(DS_NIGHT_MODE, 0);
        setItem(DS_DAY_STYLE, 0);
        setItem(DS_NIGHT_STYLE, 1);
        setItem(DS_DAY_BRIGHTNESS, 80);
        setItem(DS_BRIGHTNESS, 80);
        setItem(DS_KEY_BEEP, 1);
        setItem(DS_SCREENSHOT_ENABLED, 0);
        menu = new ToolsViewConsole(page());
        place(menu, QPoint(0, 0), QSize(480, 272));
    }
    QWidget* shown() const { return menu->pageStack()->currentWidget(); }
    KestromPushButton* button(QWidget* page, const char* name) const
    {
        auto* found = page->findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    // From the top page to the page by the menu's buttons (display 2 by next).
    void open(const char* menuButton, bool next = false)
    {
        menu->showTopPage();
        tapButton(button(menu, menuButton));
        if (next)
            tapButtonBar(shown(), ToolsViewButtonBar::Next);
        tick100ms();
    }
    void chooseLanguage(int index)
    {
        open("m_btnCultural");
        tapButton(button(shown(), "m_btnLanguage"));
        REQUIRE(shownButtonGrid() != nullptr);
        chooseGridOption(shownButtonGrid(), index);
        pumpEvents();
    }
    ToolsViewConsole* menu;
};

// The shown label and button texts of the page still in the sources' English.
QStringList englishTexts(QWidget* page, const std::vector<QRegularExpression>& patterns)
{
    QStringList english;
    auto check = [&](QWidget* widget, const QString& text) {
        if (!widget->isVisible() || text.isEmpty())
            return;
        for (const QRegularExpression& pattern : patterns) {
            if (pattern.match(text).hasMatch()) {
                english << widget->objectName() + ": " + text;
                return;
            }
        }
    };
    for (QLabel* label : page->findChildren<QLabel*>())
        check(label, label->text());
    for (QAbstractButton* button : page->findChildren<QAbstractButton*>())
        check(button, button->text());
    return english;
}

QString marked(const char* text)
{
    return pseudo::openMark + QString::fromUtf8(text) + pseudo::closeMark;
}

QString markedPathway(const char* first, const char* second)
{
    return marked(first) + "->" + marked(second);
}

// The date fields from left to right, by their texts' kind.
QString dateOrder(QWidget* culture)
{
    struct Field {
        const char* name;
        const char* word;
    };
    std::vector<std::pair<int, QString>> fields;
    for (const Field& f : {Field{"m_btnDay", "day"}, Field{"m_btnMonth", "month"}, Field{"m_btnYear", "year"}}) {
        auto* button = culture->findChild<KestromPushButton*>(f.name);
        REQUIRE(button != nullptr);
        fields.emplace_back(button->x(), QString::fromLatin1(f.word));
    }
    std::sort(fields.begin(), fields.end());
    return fields[0].second + " " + fields[1].second + " " + fields[2].second;
}

}  // namespace

TEST_CASE("a language chosen on the culture page re-translates every console page")
{
    if (!qgetenv(childVariable).isEmpty())
        return;
    guiApplication();
    const QString dir = QString::fromStdString(sysrootDir()) + "/languages";
    REQUIRE(QDir().mkpath(dir));
    REQUIRE(writeLanguages(dir));
    runChildInDirectory(dir, childVariable, 300000);
}

TEST_CASE("child: the console pages in the languages found")
{
    if (qgetenv(childVariable).isEmpty())
        return;
    Console f;
    LanguageManager& languages = LanguageManager::instance();
    REQUIRE(languages.languageCount() == 4);
    REQUIRE(languages.currentFile() == "ksnsprayer_en-US.qm");
    const int german = languageIndex("de-DE");
    const int english = languageIndex("en-US");
    const int persian = languageIndex("fa-IR");
    const int french = languageIndex("fr-FR");
    const std::vector<pseudo::Message> messages = pseudo::readMessages(englishTranslationSource());
    const std::vector<QRegularExpression> patterns = pseudo::englishPatterns(messages);

    {
        INFO("the grid lists the languages found; a nameless one as en-US");
        f.open("m_btnCultural");
        CHECK(f.button(f.shown(), "m_btnLanguage")->text() == "English - US");
        tapButton(f.button(f.shown(), "m_btnLanguage"));
        ButtonGridWidget* grid = shownButtonGrid();
        REQUIRE(grid != nullptr);
        const std::pair<int, QString> options[] = {
            {german, marked("English - US")},
            {english, QStringLiteral("English - US")},
            {persian, persianName},
            {french, QStringLiteral("en-US")},
        };
        for (const auto& option : options) {
            CAPTURE(option.second.toStdString());
            REQUIRE(gridOption(grid, option.first) != nullptr);
            CHECK(gridOption(grid, option.first)->text() == option.second);
        }
        CHECK(gridOption(grid, english)->property("hasHighlightedBorder").toBool());
        CHECK(gridOption(grid, 4) == nullptr);
        CHECK_SCREEN(f.screen(), "console_language_grid");
        chooseGridOption(grid, german);
        pumpEvents();
    }

    {
        INFO("German: every page marked, the date day first");
        REQUIRE(languages.currentLanguage() == german);
        REQUIRE(QLocale().name() == "de_DE");
        struct Page {
            const char* menuButton;
            bool next;
            QString pathway;
            std::vector<std::pair<const char*, QString>> values;
            const char* screenshot;
        };
        const Page pages[] = {
            {nullptr, false, marked("Console Settings"),
             {{"m_btnDisplay", marked("Display")}, {"m_btnCultural", marked("Cultural")},
              {"m_btnSound", marked("Sound")}, {"m_btnAbout", marked("About")}},
             "marked_console_menu"},
            {"m_btnDisplay", false, markedPathway("Console", "Display (1)"),
             {{"m_btnNightMode", marked("Disabled")}, {"m_btnColorScheme", marked("Style 1")},
              {"m_btnBrightness", marked("80%")}, {"m_btnCalibration", marked("Start")}},
             "marked_console_display"},
            {"m_btnDisplay", true, markedPathway("Console", "Display (2)"),
             {{"m_btnScreenShot", marked("Disabled")}},
             "marked_console_display2"},
            {"m_btnCultural", false, markedPathway("Console", "Cultural"),
             {{"m_btnLanguage", marked("English - US")}, {"m_btnUnits", marked("Metric")}},
             "marked_console_culture"},
            {"m_btnSound", false, markedPathway("Console", "Sound"),
             {{"m_btnKeyBeep", marked("Enabled")}},
             "marked_console_sound"},
            {"m_btnAbout", false, markedPathway("Console", "About"), {{"m_btnSave", marked("Save")}},
             "marked_console_about"},
        };
        for (const Page& page : pages) {
            CAPTURE(page.pathway.toStdString());
            if (page.menuButton == nullptr) {
                f.menu->showTopPage();
                pumpEvents();
            } else {
                f.open(page.menuButton, page.next);
            }
            QWidget* shown = f.shown();
            CHECK(pathwayText(shown) == page.pathway);
            for (const auto& value : page.values)
                CHECK(f.button(shown, value.first)->text() == value.second);
            const QStringList left = englishTexts(shown, patterns);
            CHECK_MESSAGE(left.isEmpty(), left.join("; ").toStdString());
            CHECK_SCREEN(f.screen(), page.screenshot);
        }
        // The version text is built anew when the page shows.
        const QString version = f.menu->aboutPage()->findChild<QLabel*>("m_versionLabel")->text();
        CHECK(version.startsWith("Quorin 5520 \n" + marked("Software development version:") + "\n"));
        f.open("m_btnCultural");
        CHECK(dateOrder(f.shown()) == "day month year");
        CHECK(f.menu->culturePage()->dateFormatText() == "[" + marked("day") + "].[" + marked("month") + "].[" +
                                                             marked("year") + "]");
    }

    {
        INFO("Persian: the English texts, the brightness in Persian digits, the year first");
        f.chooseLanguage(persian);
        REQUIRE(languages.currentLanguage() == persian);
        CHECK(f.button(f.shown(), "m_btnLanguage")->text() == persianName);
        CHECK(pathwayText(f.shown()) == "Console->Cultural");
        CHECK(dateOrder(f.shown()) == "year month day");
        CHECK(f.menu->culturePage()->dateFormatText() == "[year]/[month]/[day]");
        f.open("m_btnDisplay");
        CHECK(f.button(f.shown(), "m_btnBrightness")->text() == QStringLiteral("\u06f8\u06f0%"));
        CHECK(f.button(f.shown(), "m_btnNightMode")->text() == "Disabled");
    }

    {
        INFO("back in English");
        f.chooseLanguage(english);
        CHECK(f.button(f.shown(), "m_btnLanguage")->text() == "English - US");
        CHECK(dateOrder(f.shown()) == "month day year");
        f.open("m_btnDisplay");
        CHECK(f.button(f.shown(), "m_btnBrightness")->text() == "80%");
        CHECK(pathwayText(f.shown()) == "Console->Display (1)");
    }
}
