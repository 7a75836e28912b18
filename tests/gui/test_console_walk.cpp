// The console walked end to end by touch (console_walk.h): every page reached
// from the home view, confirmed on the screen, grabbed through the screenshot
// check, its back and home leading where they should; then the same walk in a
// second language and back in English. The walk runs in a copy of this
// program in its own root, beside the translation files the language manager
// scans there: a pseudo-translation of the console's sources as German and the
// sources' English.
#include "console_walk.h"
#include "coverlaymanager.h"
#include "pseudo_translation.h"
#include "screen_check.h"
#include "source_tree.h"
#include "sysroot.h"
#include "test_child.h"

#include <doctest/doctest.h>

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QProcess>

namespace {

const char* const childVariable = "CONSOLE_WALK_CHILD";
const char* const markedLanguage = "de-DE";
const char* const englishLanguage = "en-US";

// Both languages' files in dir.
bool writeLanguages(const QString& dir)
{
    const std::vector<pseudo::Message> messages = pseudo::readMessages(englishTranslationSource());
    return messages.size() > 50 &&
           pseudo::writePseudoTranslation(messages, dir + "/ksnsprayer_" + markedLanguage + ".qm") &&
           QProcess::execute("lrelease", {"-silent", englishTranslationSource(), "-qm",
                                          dir + "/ksnsprayer_" + englishLanguage + ".qm"}) == 0;
}

int languageIndex(const char* code)
{
    auto& manager = KSNLanguageManager::LanguageManager::instance();
    for (int n = 0; n < manager.languageCount(); ++n)
        if (manager.languageCode(n) == QLatin1String(code))
            return n;
    return -1;
}

struct ShownText {
    QWidget* widget;
    QString text;
};

std::vector<ShownText> shownTexts(QWidget* window)
{
    std::vector<ShownText> texts;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty())
            texts.push_back({label, label->text()});
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->isVisible() && !button->text().isEmpty())
            texts.push_back({button, button->text()});
    return texts;
}

// The shown texts still in the sources' English.
QStringList englishTexts(QWidget* window, const std::vector<QRegularExpression>& patterns)
{
    QStringList english;
    for (const ShownText& shown : shownTexts(window)) {
        for (const QRegularExpression& pattern : patterns) {
            if (pattern.match(shown.text).hasMatch()) {
                english << shown.widget->objectName() + ": " + shown.text;
                break;
            }
        }
    }
    return english;
}

int textsWithLetters(QWidget* window)
{
    const QRegularExpression letter(QStringLiteral("[A-Za-z]"));
    int count = 0;
    for (const ShownText& shown : shownTexts(window))
        count += shown.text.contains(letter);
    return count;
}

int markedTexts(QWidget* window)
{
    int marked = 0;
    for (const ShownText& shown : shownTexts(window))
        marked += shown.text.contains(pseudo::openMark);
    return marked;
}

// A shown number with a decimal separator, in the form the locale writes it.
bool showsDecimal(QWidget* window, QChar separator)
{
    const QRegularExpression decimal(QStringLiteral("\\d") + QRegularExpression::escape(separator) +
                                     QStringLiteral("\\d"));
    for (const ShownText& shown : shownTexts(window))
        if (decimal.match(shown.text).hasMatch())
            return true;
    return false;
}

void checkNothingLeftOver()
{
    COverlayManager* overlays = COverlayManager::instance();
    REQUIRE(overlays != nullptr);
    CHECK(overlays->queuedCount() == 0);
    CHECK(overlays->currentOverlay() == nullptr);
    // The store still takes a parameter and gives it back.
    const uint16_t mode = datastoreGetUint16(DS_PAGE_MODE);
    CHECK(datastoreSetUint16(DS_PAGE_MODE, 2) == 0);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);
    CHECK(datastoreSetUint16(DS_PAGE_MODE, mode) == 0);
}

}  // namespace

TEST_CASE("the console walked by touch, in English and in a second language")
{
    if (!qgetenv(childVariable).isEmpty())
        return;
    guiApplication();
    const QString dir = QString::fromStdString(sysrootDir()) + "/walk";
    REQUIRE(QDir().mkpath(dir));
    REQUIRE(writeLanguages(dir));
    runChildInDirectory(dir, childVariable, 540000);
}

TEST_CASE("child: the walk")
{
    if (qgetenv(childVariable).isEmpty())
        return;
    ConsoleWalk walk;
    auto& languages = KSNLanguageManager::LanguageManager::instance();
    REQUIRE(languages.currentFile() == QStringLiteral("ksnsprayer_%1.qm").arg(englishLanguage));

    {
        INFO("every page reached by touch, grabbed, and left by its back and home buttons");
        for (const WalkPage& page : walkPages()) {
            INFO("page " << std::string(page.name));
            walk.open(page);
            CHECK_SCREEN(walk.window(), page.name);
            walk.returnHome();
        }
        for (const WalkPage& page : walkPages())
            walk.checkWaysOut(page);
        checkNothingLeftOver();
    }

    {
        INFO("the language chosen re-translates every page; English comes back");
        const std::vector<pseudo::Message> messages = pseudo::readMessages(englishTranslationSource());
        const std::vector<QRegularExpression> patterns = pseudo::englishPatterns(messages);
        const int marked = languageIndex(markedLanguage);
        const int english = languageIndex(englishLanguage);
        REQUIRE(marked >= 0);
        REQUIRE(english >= 0);
        bool decimalsShown = false;
        // The language is chosen on the culture page; every page is then looked
        // at as the operator comes to it.
        walk.chooseLanguage(marked);
        REQUIRE(languages.currentLanguage() == marked);
        REQUIRE(QLocale().decimalPoint() == QLatin1Char(','));
        for (const WalkPage& page : walkPages()) {
            INFO("page " << std::string(page.name));
            walk.open(page);
            const QStringList left = englishTexts(walk.window(), patterns);
            if (page.translated) {
                CHECK_MESSAGE(left.isEmpty(), left.join("; ").toStdString());
                const bool marks = markedTexts(walk.window()) > 0 || textsWithLetters(walk.window()) == 0;
                CHECK(marks);
            }
            decimalsShown = decimalsShown || showsDecimal(walk.window(), QLatin1Char(','));
            CHECK_SCREEN(walk.window(), QStringLiteral("marked_") + page.name);
            walk.returnHome();
        }
        CHECK(decimalsShown);

        walk.chooseLanguage(english);
        REQUIRE(languages.currentLanguage() == english);
        REQUIRE(QLocale().decimalPoint() == QLatin1Char('.'));
        decimalsShown = false;
        for (const WalkPage& page : walkPages()) {
            INFO("page " << std::string(page.name));
            walk.open(page);
            CHECK(markedTexts(walk.window()) == 0);
            decimalsShown = decimalsShown || showsDecimal(walk.window(), QLatin1Char('.'));
            walk.returnHome();
        }
        CHECK(decimalsShown);
        checkNothingLeftOver();
    }
}
