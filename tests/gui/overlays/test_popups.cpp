#include "cformwidget.h"
#include "chiddenpushbutton.h"
#include "cpopupmessage.h"
#include "cpopupquery.h"
#include "cwaitmessage.h"
#include "kestrompushbutton.h"
#include "overlay_probe.h"
#include "overlaystyle.h"

#include <doctest/doctest.h>

#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

// Holds a pop-up weakly: the manager deletes it after it closes.
template <class T>
bool gone(const QPointer<T>& p)
{
    return p.isNull();
}

}  // namespace

TEST_CASE("an information message of a page shows 9 s, or 3 s when another waits behind it")
{
    OverlayHost host;
    ManualClock clock;

    SUBCASE("alone: 9 s")
    {
        QPointer<CPopupMessage> message = CPopupMessage::information("Saved", "The job was saved.");
        REQUIRE(message->isShown());
        clock.advance(8900);
        CHECK_FALSE(gone(message));
        clock.advance(100);
        pumpEvents();
        CHECK(gone(message));
        CHECK_FALSE(host.backplaneUp());
    }
    SUBCASE("queued behind a help text, with another behind it: 3 s once shown")
    {
        QPointer<CPopupMessage> help = CPopupMessage::showInformation("Help", "Touch to close.");
        QPointer<CPopupMessage> first = CPopupMessage::information("First", "one");
        QPointer<CPopupMessage> second = CPopupMessage::information("Second", "two");
        clock.advance(15000);  // the queue time of 21 s is not over when each comes up
        CHECK(help->isShown());
        tap(help.data());  // the cover lies over the whole message
        pumpEvents();
        CHECK(gone(help));
        REQUIRE(first->isShown());
        clock.advance(2900);
        CHECK(first->isShown());
        clock.advance(100);
        pumpEvents();
        CHECK(gone(first));
        REQUIRE(second->isShown());
        clock.advance(8900);  // nothing behind the second: 9 s
        CHECK(second->isShown());
        clock.advance(100);
        pumpEvents();
        CHECK(gone(second));
    }
}

TEST_CASE("a help text stays until touched; a newly queued message does not shorten it")
{
    OverlayHost host;
    ManualClock clock;
    QPointer<CPopupMessage> help = CPopupMessage::showInformation("Help", "Stays.");
    QSignalSpy acknowledged(help.data(), &CPopupMessage::popupAcknowledge);
    clock.advanceInSteps(15000, 1000);
    QPointer<CPopupMessage> behind = CPopupMessage::information("Later", "queued");
    clock.advanceInSteps(600000, 30000);
    CHECK(help->isShown());
    CHECK(gone(behind));  // waited longer than its 21 s: closed unseen
    tap(help.data(), QPoint(5, 5));
    pumpEvents();
    CHECK(gone(help));
    CHECK(acknowledged.count() == 1);
}

TEST_CASE("a touch beside a message closes it without acknowledging it")
{
    OverlayHost host;
    ManualClock clock;
    QPointer<CPopupMessage> message = CPopupMessage::showWarning("Check the tank.");
    QSignalSpy acknowledged(message.data(), &CPopupMessage::popupAcknowledge);
    tap(host.manager->backplane(), QPoint(2, 2));
    pumpEvents();
    CHECK(gone(message));
    CHECK(acknowledged.count() == 0);
}

TEST_CASE("a page that answers the acknowledgement with another message keeps both alive until the touch is done")
{
    OverlayHost host;
    ManualClock clock;
    QPointer<CPopupMessage> first = CPopupMessage::showWarning("Check the tank.");
    QPointer<CPopupMessage> next;
    QObject::connect(first.data(), &CPopupMessage::popupAcknowledge,
                     [&next] { next = CPopupMessage::showInformationMessage("Tank checked."); });
    tap(first.data(), QPoint(5, 5));
    REQUIRE_FALSE(next.isNull());
    pumpEvents();
    CHECK(gone(first));
    CHECK(next->isShown());
}

TEST_CASE("a message queued longer than its queue time closes unseen; queue time 0 unless shown at once")
{
    OverlayHost host;
    ManualClock clock;
    QPointer<CPopupMessage> help = CPopupMessage::showInformation("Help", "first");
    QPointer<CPopupMessage> waiting = CPopupMessage::showError("waits", 9, 3, 21, 0);
    QPointer<CPopupMessage> instant = CPopupMessage::showWarning("only now", 0, 0, 0, 0);
    pumpEvents();
    CHECK(gone(instant));
    clock.advance(20900);
    CHECK_FALSE(gone(waiting));
    clock.advance(100);
    pumpEvents();
    CHECK(gone(waiting));
    CHECK(help->isShown());

    SUBCASE("a pre-empting message with queue time 0 shows at once and stays")
    {
        QPointer<CPopupMessage> alarm = new CPopupMessage("Alarm", "No flow", QPixmap(), 0, 0, 0, 0);
        REQUIRE(alarm->enqueue(COverlayManager::PriorityPreempt));
        clock.advance(60000);
        CHECK(alarm->isShown());
        alarm->dismiss();
        pumpEvents();
        CHECK(help->isShown());
    }
}

TEST_CASE("a query answers once, and its time-out counts only while it is shown")
{
    OverlayHost host;
    ManualClock clock;

    SUBCASE("two quick answers give one response")
    {
        QPointer<CPopupQuery> query = CPopupQuery::askYesNo("Do you want to power down?");
        QSignalSpy responses(query.data(), &CPopupQuery::ResponseReceived);
        KestromPushButton* yes = query->form()->button(0);
        KestromPushButton* no = query->form()->button(1);
        REQUIRE(yes);
        REQUIRE(no);
        CHECK(yes->text() == "Yes");
        CHECK(no->text() == "No");
        tap(yes);
        tap(no);
        REQUIRE(responses.count() == 1);
        CHECK(responses.at(0).at(1).toInt() == 1);
        CHECK(query->response() == 1);
        // A page that answers in code after the operator did changes nothing.
        query->respond(0);
        CHECK(responses.count() == 1);
        CHECK(query->response() == 1);
        pumpEvents();
        CHECK(gone(query));
    }
    SUBCASE("a touch beside a query does not close it")
    {
        QPointer<CPopupQuery> query = CPopupQuery::showOk("Invalid value!");
        tap(host.manager->backplane(), QPoint(2, 2));
        pumpEvents();
        CHECK(query->isShown());
        CHECK(query->form()->button(0)->text() == "OK");
        tap(query->form()->button(0));
        pumpEvents();
        CHECK(gone(query));
    }
    SUBCASE("a 10 s time-out answers its code after 10 s of being shown")
    {
        QPointer<CPopupMessage> help = CPopupMessage::showInformation("Help", "ahead of the query");
        QPointer<CPopupQuery> query = CPopupQuery::showOk("Press OK to complete calibration.", 1, 0);
        query->setTimeout(10.0f, 0);
        QSignalSpy responses(query.data(), &CPopupQuery::ResponseReceived);
        clock.advanceInSteps(15000, 1000);  // waiting in the queue: not counted
        CHECK(responses.count() == 0);
        tap(help.data());
        pumpEvents();
        REQUIRE(query->isShown());
        clock.advanceInSteps(9900, 900);
        CHECK(responses.count() == 0);
        clock.advance(100);
        REQUIRE(responses.count() == 1);
        CHECK(responses.at(0).at(1).toInt() == 0);
        pumpEvents();
        CHECK(gone(query));
    }
    SUBCASE("the query's own priority-3 interruption keeps its time-out running")
    {
        QPointer<CPopupQuery> query = CPopupQuery::askYesNo("Continue?", 1, 0, 0);
        query->setTimeout(5.0f, 7);
        QSignalSpy responses(query.data(), &CPopupQuery::ResponseReceived);
        CWaitMessage* wait = new CWaitMessage(QString(), "Please wait", false);
        wait->showMessage(COverlayManager::PriorityPreempt);
        clock.advanceInSteps(5000, 500);
        REQUIRE(responses.count() == 1);
        CHECK(responses.at(0).at(1).toInt() == 7);
        delete wait;
        pumpEvents();
    }
}

TEST_CASE("the pop-up form: sizes, one row of answer buttons, titles")
{
    OverlayHost host;
    ManualClock clock;

    SUBCASE("a query: 460x242 at least, 480x272 at most, buttons 100x50 in one row")
    {
        QPointer<CPopupQuery> query = CPopupQuery::askYesNoWithIcon(
            "Reset", "Reset all counters?", OverlayStyle::warningIcon(), 1, 0, 0);
        CFormWidget* form = query->form();
        CHECK(form->minimumSize() == QSize(460, 242));
        CHECK(form->maximumSize() == QSize(480, 272));
        CHECK(query->size() == form->size());
        CHECK(form->hasButtonRow());
        KestromPushButton* yes = form->button(0);
        KestromPushButton* no = form->button(1);
        CHECK(yes->size() == QSize(100, 50));
        CHECK(no->size() == QSize(100, 50));
        CHECK(yes->geometry().top() == no->geometry().top());
        CHECK(yes->geometry().left() < no->geometry().left());
        CHECK(yes->id() == 1);
        CHECK(no->id() == 0);
        CHECK(form->titleLabel()->text() == "Reset");
        CHECK(form->iconLabel(true, true) != nullptr);
        CHECK(query->pos() == QPoint((480 - query->width()) / 2, (272 - query->height()) / 2));
    }
    SUBCASE("no button row without buttons")
    {
        CFormWidget form(nullptr);
        CHECK_FALSE(form.hasButtonRow());
        form.setButtonGrid(1, 3);
        CHECK(form.hasButtonRow());
        CHECK(form.buttonCount() == 3);
        CHECK(form.button(2)->id() == 2);
        form.setButtonGrid(1, 1);
        CHECK(form.buttonCount() == 1);
        CHECK(form.button(1) == nullptr);
        form.setButtonGrid(0, 0);
        CHECK_FALSE(form.hasButtonRow());
        CHECK(form.button(0) == nullptr);
        form.setButtonGrid(2, 1);  // back again: two rows of one
        form.show();
        CHECK(form.button(0)->geometry().top() < form.button(1)->geometry().top());
    }
    SUBCASE("a title set twice keeps its label; an empty one removes it")
    {
        CFormWidget form(nullptr);
        form.setTitle("One");
        QLabel* label = form.titleLabel();
        form.setTitle("Two");
        CHECK(form.titleLabel() == label);
        CHECK(label->text() == "Two");
        form.setTitle(QString());
        CHECK(form.titleLabel() == nullptr);
        form.setText("left", true);
        CHECK(form.textLabel()->styleSheet() == "qproperty-alignment: AlignLeft;");
        form.setText("centre", false);
        CHECK(form.textLabel()->styleSheet() == "qproperty-alignment: AlignCenter;");
        form.setIcon(QPixmap(), true, false);
        CHECK(form.iconLabel(true, false) == nullptr);
    }
    SUBCASE("error and warning titles and kinds")
    {
        QPointer<CPopupMessage> error = CPopupMessage::showError("No stick.");
        QPointer<CPopupMessage> warning = CPopupMessage::showWarning("Low tank.");
        QPointer<CPopupMessage> plain = CPopupMessage::showInformationMessage("Done.");
        CHECK(error->form()->titleLabel()->text() == "Error");
        CHECK(warning->form()->titleLabel()->text() == "Warning");
        CHECK(plain->form()->titleLabel() == nullptr);
        CHECK(error->kind() == CPopupMessage::KindError);
        CHECK(warning->kind() == CPopupMessage::KindWarning);
        CHECK(plain->kind() == CPopupMessage::KindInformation);
        CHECK(error->form()->iconLabel(true, true) != nullptr);
        CHECK_FALSE(error->form()->hasButtonRow());
        CHECK(error->size() == error->form()->size());
    }
    SUBCASE("an alarm warning keeps its text left-aligned")
    {
        QPointer<CPopupMessage> alarm = CPopupMessage::alarmWarning("Alarms", "1. No flow", true);
        CHECK(alarm->form()->textLabel()->styleSheet() == "qproperty-alignment: AlignLeft;");
    }
}

TEST_CASE("a wait message is taken off the screen by its owner")
{
    OverlayHost host;
    QPointer<CPopupMessage> page = CPopupMessage::information("Page", "shown first");
    {
        CWaitMessage wait(QString(), "Changing the colour scheme", false);
        CHECK(wait.showMessage(COverlayManager::PriorityPreempt));
        CHECK(wait.isShown());
        CHECK_FALSE(host.manager->backplane()->isShaded());
        CHECK(wait.form()->iconLabel(true, true) != nullptr);
    }
    CHECK_FALSE(host.backplaneUp());
    pumpEvents();
    CHECK(page->isShown());

    SUBCASE("a shading wait message shades the backplane")
    {
        CWaitMessage shaded("Wait", "busy", true);
        shaded.showMessage(COverlayManager::PriorityPreempt);
        CHECK(host.manager->backplane()->isShaded());
    }
}

TEST_CASE("a kept message is reused: created unqueued, then shown again and again with priority 3")
{
    OverlayHost host;
    ManualClock clock;
    CPopupMessage* alarm = CPopupMessage::showWarning("Normal Priority alarm", 0, 0, 0, COverlayManager::PriorityNoQueue);
    REQUIRE(alarm);
    CHECK(alarm->manager() == nullptr);
    alarm->setDeleteOnClose(false);
    alarm->setKind(CPopupMessage::KindNone);
    QPointer<CPopupMessage> page = CPopupMessage::information("Page", "underneath");

    for (int round = 0; round < 3; ++round) {
        CAPTURE(round);
        alarm->restartTimer();  // detached: its 0 s queue time runs out, and closing does nothing
        pumpEvents();
        alarm->setTitle(QString("Alarm %1").arg(round));
        alarm->setText("No flow");
        alarm->resize(GuiGeometry::popupOffset());
        REQUIRE(alarm->enqueue(COverlayManager::PriorityPreempt));
        CHECK(alarm->isShown());
        CHECK(alarm->form()->titleLabel()->text() == QString("Alarm %1").arg(round));
        CHECK(alarm->pos() == QPoint(10, 15));
        clock.advance(30000);  // display time 0: stays
        CHECK(alarm->isShown());
        tap(alarm);
        pumpEvents();
        CHECK(alarm->manager() == nullptr);  // closed, not deleted
        CHECK(page->isShown());
    }
    delete alarm;
}

TEST_CASE("a pop-up made before there is an overlay manager is not left behind")
{
    guiApplication();
    REQUIRE(COverlayManager::instance() == nullptr);
    QPointer<CPopupMessage> message = CPopupMessage::showError("Too early.");
    QPointer<CPopupQuery> query = CPopupQuery::askYesNo("Too early?");
    QPointer<CPopupMessage> kept = CPopupMessage::showWarning("Kept by its maker.", 0, 0, 0,
                                                              COverlayManager::PriorityNoQueue);
    REQUIRE_FALSE(message.isNull());
    REQUIRE_FALSE(query.isNull());
    pumpEvents();
    CHECK(gone(message));
    CHECK(gone(query));
    CHECK_FALSE(gone(kept));
    delete kept.data();
}

namespace {

QString longHelpText()
{
    QString text;
    for (int line = 1; line <= 14; ++line)
        text += QString("Line %1 of the help text that explains the setting.\n").arg(line);
    return text + "The last line.";
}

// Drags a finger on the widget from one point to another in steps, as the
// panel reports it.
void drag(QWidget* widget, QPoint from, QPoint to)
{
    touchPress(widget, from);
    for (int step = 1; step <= 4; ++step)
        touchMove(widget, from + (to - from) * step / 4);
    touchRelease(widget, to);
}

}  // namespace

TEST_CASE("a long help text: the title whole or ending in an ellipsis, the text scrolled by a finger")
{
    OverlayHost host;
    const QString longTitle = "Nozzle spacing and section widths of the implement boom";
    QPointer<CPopupMessage> help = CPopupMessage::showInformation(longTitle, longHelpText());
    QSignalSpy acknowledged(help.data(), &CPopupMessage::popupAcknowledge);
    pumpEvents();
    REQUIRE(host.manager->currentOverlay() == help);
    CFormWidget* form = help->form();
    CHECK(QRect(QPoint(0, 0), host.central->size()).contains(help->geometry()));

    QLabel* title = form->titleLabel();
    const QString shownTitle = title->text();
    CHECK(shownTitle.endsWith(QChar(0x2026)));
    CHECK(longTitle.startsWith(shownTitle.chopped(1)));
    CHECK(shownTitle.size() > 20);
    CHECK(form->rect().contains(QRect(title->mapTo(form, QPoint(0, 0)), title->size())));
    CHECK(title->fontMetrics().horizontalAdvance(shownTitle) <= title->contentsRect().width());

    // The text lies in its area; a drag on it brings the last line into view.
    QScrollArea* area = form->textArea();
    REQUIRE(area != nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    REQUIRE(bar->maximum() > 0);
    CHECK(bar->value() == 0);
    CHECK(form->rect().contains(QRect(area->mapTo(form, QPoint(0, 0)), area->size())));
    QWidget* cover = help->findChild<CHiddenPushButton*>();
    REQUIRE(cover != nullptr);
    const QPoint middle = area->viewport()->mapTo(help, area->viewport()->rect().center());
    for (int i = 0; i < 5 && bar->value() < bar->maximum(); ++i)
        drag(cover, middle + QPoint(0, 60), middle - QPoint(0, 60));
    CHECK(bar->value() == bar->maximum());
    CHECK(form->textLabel()->height() - bar->value() <= area->viewport()->height());
    pumpEvents();
    CHECK(host.manager->currentOverlay() == help);
    CHECK(acknowledged.isEmpty());

    // A finger that barely moves is a touch: it closes and acknowledges the message.
    touchPress(cover, middle);
    touchMove(cover, middle + QPoint(0, 3));
    touchRelease(cover, middle + QPoint(0, 3));
    pumpEvents();
    CHECK(gone(help));
    CHECK(acknowledged.count() == 1);

    SUBCASE("a title that fits stays whole")
    {
        QPointer<CPopupMessage> shortHelp = CPopupMessage::showInformation("Simulated Speed", "Used without a sensor.");
        pumpEvents();
        CHECK(shortHelp->form()->titleLabel()->text() == "Simulated Speed");
        CHECK(shortHelp->form()->textArea()->verticalScrollBar()->maximum() == 0);
    }
    SUBCASE("a question's long text scrolls under the finger, and only its buttons answer")
    {
        QPointer<CPopupQuery> query = CPopupQuery::askYesNo(longHelpText(), 1, 0, 0);
        QSignalSpy answers(query.data(), &CPopupQuery::ResponseReceived);
        pumpEvents();
        QScrollArea* queryArea = query->form()->textArea();
        REQUIRE(queryArea->verticalScrollBar()->maximum() > 0);
        QWidget* viewport = queryArea->viewport();
        drag(viewport, viewport->rect().center() + QPoint(0, 30), viewport->rect().center() - QPoint(0, 30));
        CHECK(queryArea->verticalScrollBar()->value() > 0);
        CHECK(answers.isEmpty());
        tap(query->form()->button(0));
        CHECK(answers.count() == 1);
    }
}
