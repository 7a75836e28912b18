// A language switch at run time reaches every page: after it no page of the
// main window shows a text in the English of the sources. The language is a
// pseudo-translation of the console's own Linguist source, so every text the
// sources give is covered without a translator's work.
#include "core_inprocess.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventsignals.h"
#include "greyfellcommon.h"
#include "gui_test.h"
#include "guiarbitrator.h"
#include "guigeometry.h"
#include "mainwindow.h"
#include "pseudo_translation.h"
#include "screen_drive.h"
#include "source_tree.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStackedWidget>
#include <QTranslator>

#include <vector>

namespace {

using namespace pseudo;

// The object name of the page in the view stack that holds the widget.
QString pageName(QWidget* widget)
{
    while (widget->parentWidget() != nullptr && qobject_cast<QStackedWidget*>(widget->parentWidget()) == nullptr)
        widget = widget->parentWidget();
    return widget->objectName();
}

// The visible texts of the window that are English of the sources, with the page they are on.
QStringList englishTexts(QWidget* window, const std::vector<QRegularExpression>& patterns)
{
    QStringList english;
    auto check = [&](QWidget* widget, const QString& text) {
        if (!widget->isVisible() || text.isEmpty())
            return;
        for (const QRegularExpression& pattern : patterns) {
            if (pattern.match(text).hasMatch()) {
                english << pageName(widget) + ": " + text;
                return;
            }
        }
    };
    for (QLabel* label : window->findChildren<QLabel*>())
        check(label, label->text());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        check(button, button->text());
    return english;
}

int markedTexts(QWidget* window)
{
    int marked = 0;
    for (QLabel* label : window->findChildren<QLabel*>())
        marked += label->isVisible() && label->text().startsWith(openMark);
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        marked += button->isVisible() && button->text().startsWith(openMark);
    return marked;
}

// The operator looks at the shown page for 600 ms: the working screen's
// widgets set their texts again, in the language then in force, on every
// sixth beat of the 100 ms refresh (they follow no language change event).
void lookAtPage()
{
    pumpEvents();
    for (int beat = 0; beat < 6; ++beat) {
        emit EvSignal::EventSignals::instance()->event100ms();
        pumpEvents(1);
    }
}

}  // namespace

TEST_CASE("after a language switch every page shows its texts in the new language")
{
    guiApplication();
    // The settings entry's diagnostics and installer menus read the board.
    REQUIRE(coreStartInProcess());
    TestRoot root;
    GuiGeometry::setDesignType(3);
    GuiGeometry::setDisplayType(3);
    const std::vector<Message> messages = readMessages(englishTranslationSource());
    REQUIRE(messages.size() > 50);
    const std::vector<QRegularExpression> patterns = englishPatterns(messages);
    const QString qm = QString::fromStdString(root.path("/tmp/ksnsprayer_xx.qm"));
    REQUIRE(QDir().mkpath(QFileInfo(qm).absolutePath()));
    REQUIRE(writePseudoTranslation(messages, qm));

    MainWindow window(nullptr);
    window.setObjectName("MainWindow");
    window.show();
    pumpEvents();
    // An alarm the start raised (the stand-in board may read as unknown
    // hardware) speaks the language it was raised in; it is acknowledged first.
    for (int n = 0; n < 5 && currentPopup() != nullptr; ++n) {
        tap(currentPopup());
        pumpEvents();
    }
    REQUIRE(currentPopup() == nullptr);
    auto* stack = window.findChild<QStackedWidget*>();
    REQUIRE(stack != nullptr);

    // Before: the pages speak the sources' English (the check can see them).
    int englishBefore = 0;
    for (int page = 0; page < stack->count(); ++page) {
        stack->setCurrentIndex(page);
        pumpEvents();
        englishBefore += englishTexts(&window, patterns).size();
    }
    CHECK(englishBefore >= stack->count() - 1);

    // The switch happens on one page; each page is then looked at as the
    // operator would come to it.
    stack->setCurrentIndex(GuiArbitrator::WorkingView);
    pumpEvents();
    QTranslator language;
    REQUIRE(language.load(qm));
    QCoreApplication::installTranslator(&language);
    lookAtPage();
    {
        INFO("the page in view when the language changes");
        const QStringList english = englishTexts(&window, patterns);
        CHECK_MESSAGE(english.isEmpty(), english.join("; ").toStdString());
        CHECK(markedTexts(&window) > 0);
    }
    int marked = 0;
    for (int page = 0; page < stack->count(); ++page) {
        stack->setCurrentIndex(page);
        lookAtPage();
        CAPTURE(page);
        const QStringList english = englishTexts(&window, patterns);
        CHECK_MESSAGE(english.isEmpty(), english.join("; ").toStdString());
        marked += markedTexts(&window);
    }
    CHECK(marked >= stack->count() - 1);

    // And back: the texts return to English.
    QCoreApplication::removeTranslator(&language);
    pumpEvents();
    stack->setCurrentIndex(GuiArbitrator::WorkingView);
    lookAtPage();
    CHECK(markedTexts(&window) == 0);
    CHECK_FALSE(englishTexts(&window, patterns).isEmpty());
}
