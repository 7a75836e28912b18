#include "backgroundwidget.h"
#include "datastore.h"
#include "eventids.h"
#include "eventsignals.h"
#include "gui_test.h"
#include "qtelidedlabel.h"

#include <doctest/doctest.h>

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QStackedWidget>

namespace {

class CountingPage : public WidgetTimedFocusUpdateQt {
public:
    using WidgetTimedFocusUpdateQt::WidgetTimedFocusUpdateQt;
    void timedUpdate() override { ++updates; }
    int updates = 0;
};

class StyledPage : public BackgroundWidget {
public:
    using BackgroundWidget::BackgroundWidget;
    void timedUpdate() override {}
};

void beat(int times = 1)
{
    for (int i = 0; i < times; ++i)
        EvSignal::EventSignals::instance()->handleEvent(EV_TICK_100MS, 0);
}

struct Hub : WithGuiApplication {
    Hub() { REQUIRE(datastoreInit(2) == 0); }
};

}  // namespace

TEST_CASE("a page refreshes once per beat while shown and not at all while hidden")
{
    Hub hub;
    CountingPage page;
    beat();
    CHECK(page.updates == 0);  // never shown

    page.show();
    beat(3);
    CHECK(page.updates == 3);

    SUBCASE("a second show does not double the beat")
    {
        page.hide();
        page.show();
        QShowEvent again;
        QApplication::sendEvent(&page, &again);
        beat(2);
        CHECK(page.updates == 5);
    }
    SUBCASE("hidden, and shown again")
    {
        page.hide();
        beat(2);
        CHECK(page.updates == 3);
        QHideEvent again;
        QApplication::sendEvent(&page, &again);  // hiding twice changes nothing
        page.show();
        beat();
        CHECK(page.updates == 4);
    }
    SUBCASE("a page stacked behind another costs nothing")
    {
        QStackedWidget stack;
        CountingPage* front = new CountingPage;
        CountingPage* behind = new CountingPage;
        stack.addWidget(front);
        stack.addWidget(behind);
        stack.show();
        beat(2);
        CHECK(front->updates == 2);
        CHECK(behind->updates == 0);
        stack.setCurrentIndex(1);
        beat();
        CHECK(front->updates == 2);
        CHECK(behind->updates == 1);
    }
}

TEST_CASE("a background widget paints what its style sheet gives it")
{
    Hub hub;
    StyledPage page;
    page.setStyleSheet("background-color: #123456;");
    page.resize(40, 30);
    const QImage shot = page.grab().toImage();
    CHECK(shot.pixelColor(20, 15) == QColor(0x12, 0x34, 0x56));
    CHECK(shot.pixelColor(0, 0) == QColor(0x12, 0x34, 0x56));
}

TEST_CASE("the eliding label cuts a long path caption on the left to its width")
{
    guiApplication();
    const QString longText = "Settings->Machine settings->Nozzle selection->Custom nozzles";
    QWidget page;
    QtElidedLabel* label = new QtElidedLabel(Qt::ElideLeft, &page);
    label->setGeometry(0, 0, 120, 20);
    page.show();

    label->setElidedText(longText);
    const QString shown = label->text();
    CHECK(shown.startsWith(QChar(0x2026)));
    CHECK(longText.endsWith(shown.mid(1)));
    CHECK(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->contentsRect().width());

    label->setElidedText("Data");
    CHECK(label->text() == "Data");

    SUBCASE("a text given while hidden stays whole until shown")
    {
        label->hide();
        label->setElidedText(longText);
        CHECK(label->text() == longText);
        label->show();
        CHECK(label->text() == shown);
    }
}

TEST_CASE("beside a page's buttons the eliding label gives way and shows what fits")
{
    guiApplication();
    const QString caption = "Settings->Machine settings->Nozzle selection->Custom nozzles->Nozzle 12";
    QWidget page;
    page.resize(480, 60);
    QHBoxLayout* row = new QHBoxLayout(&page);
    row->setContentsMargins(0, 0, 0, 0);
    QtElidedLabel* label = new QtElidedLabel(Qt::ElideLeft);
    label->setElidedText(caption);
    row->addWidget(label);
    QWidget* buttons = new QWidget;
    buttons->setFixedSize(180, 60);
    row->addWidget(buttons);
    page.show();
    pumpEvents();

    // The buttons stay on the page; the caption shows its end.
    CHECK(buttons->geometry().right() < page.width());
    CHECK(buttons->width() == 180);
    const QString shown = label->text();
    CHECK(shown.startsWith(QChar(0x2026)));
    CHECK(caption.endsWith(shown.mid(1)));
    CHECK(shown.endsWith("Nozzle 12"));
    CHECK(QFontMetrics(label->font()).horizontalAdvance(shown) <= label->contentsRect().width());

    // Given more room, it shows more of the caption again.
    page.resize(900, 60);
    pumpEvents();
    CHECK(label->text().size() > shown.size());
    CHECK(caption.endsWith(label->text().mid(label->text().startsWith(QChar(0x2026)) ? 1 : 0)));
    CHECK(QFontMetrics(label->font()).horizontalAdvance(label->text()) <= label->contentsRect().width());
}
