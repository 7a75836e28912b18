// The setting-page kit on a small page of its own: two numeric rows bound to
// unit quantities, one selection row with nine options, help with and without
// a range, page-mode writes on show and hide, and re-translation.
#include "coverlaymanager.h"
#include "cformwidget.h"
#include "cpopupmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "greyfellcommon.h"
#include "gui_test.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "thumbdrivewatcher.h"
#include "screen_check.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"
#include "widgettimedfocusupdateqt.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QLabel>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QShowEvent>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest/qtestspontaneevent.h>

using ToolsViewWidgets::KeypadSetting;
using ToolsViewWidgets::SettingPageKit;

// The kit's test page, built as a settings page of the pattern is built.
class KitTestPage : public WidgetTimedFocusUpdateQt {
    Q_OBJECT
public:
    explicit KitTestPage(QWidget* parent) : WidgetTimedFocusUpdateQt(parent), kit(new SettingPageKit(this))
    {
        kit->buttonBar()->setButtonsVisible(true, true, true);
        kit->connectButtonBar(this, &KitTestPage::handleButtonBarPressed);
        speedLabel = kit->addLabelButton(0, this, &KitTestPage::showHelp);
        speedValue = kit->addValueButton(0, "m_speedValue");
        connect(speedValue, &KestromPushButton::takeAction, this, &KitTestPage::editSpeed);
        minSpeedLabel = kit->addLabelButton(1, this, &KitTestPage::showHelp);
        minSpeedValue = kit->addValueButton(1, "m_minSpeedValue");
        connect(minSpeedValue, &KestromPushButton::takeAction, this, &KitTestPage::editMinSpeed);
        choiceLabel = kit->addLabelButton(2, this, &KitTestPage::showHelp);
        choiceValue = kit->addValueButton(2, "m_choiceValue");
        connect(choiceValue, &KestromPushButton::takeAction, this, &KitTestPage::editChoice);
        kit->column()->addStretch(1);

        keypad = kit->addKeypad();
        grid = kit->addGrid();
        for (int id = 0; id < 9; ++id)
            kit->addOption(grid, id, QString::number(id));
        kit->layOutOptions(grid);
        retranslate();
    }

    SettingPageKit* kit;
    KestromPushButton* speedLabel;
    KestromPushButton* speedValue;
    KestromPushButton* minSpeedLabel;
    KestromPushButton* minSpeedValue;
    KestromPushButton* choiceLabel;
    KestromPushButton* choiceValue;
    NumericKeypadWidget* keypad;
    ButtonGridWidget* grid;
    int choice = 0;

signals:
    void goBack();
    void ShowHomeView(int id);
    void nextPage();

public slots:
    void retranslate()
    {
        kit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), tr("Kit", "pathway text")});
        speedLabel->setText(tr("Simulated Speed", "setting label"));
        minSpeedLabel->setText(tr("Minimum Speed", "setting label"));
        choiceLabel->setText(tr("Choice", "setting label"));
        const QString format = tr("%L1 %2", "%L1 is the value, %2 is the units");
        speedValue->setText(SettingPageKit::quantityText(format, UQ_SIMULATED_SPEED, tr("km/h")));
        minSpeedValue->setText(SettingPageKit::quantityText(format, UQ_MIN_SPEED, tr("km/h")));
        choiceValue->setText(SettingPageKit::percentText(tr("%L1%", "%L1 is the value"), choice));
    }
    void editSpeed()
    {
        KeypadSetting setting = KeypadSetting::forQuantity(UQ_SIMULATED_SPEED, tr("kilometers per hour"));
        setting.title = tr("Simulated Speed (%1)", "keyboard header. %1 is the units.").arg(tr("km/h"));
        kit->openKeypad(keypad, setting, this, &KitTestPage::commitSpeed);
    }
    void commitSpeed(double value)
    {
        datastoreSetUint16(DS_SIM_SPEED, static_cast<uint16_t>(PageValues::baseFromTyped(UQ_SIMULATED_SPEED, value)));
        retranslate();
    }
    void editMinSpeed()
    {
        KeypadSetting setting = KeypadSetting::forQuantity(UQ_MIN_SPEED, tr("kilometers per hour"));
        setting.title = tr("Minimum Speed (%1)", "keyboard header. %1 is the units.").arg(tr("km/h"));
        kit->openKeypad(keypad, setting, this, &KitTestPage::commitMinSpeed);
    }
    void commitMinSpeed(double value)
    {
        datastoreSetUint16(DS_MIN_SPEED, static_cast<uint16_t>(PageValues::baseFromTyped(UQ_MIN_SPEED, value)));
        retranslate();
    }
    void editChoice() { kit->openGrid(grid, choice, this, &KitTestPage::commitChoice); }
    void commitChoice(int id)
    {
        choice = id;
        retranslate();
    }
    void showHelp(int id)
    {
        if (id == 0)
            SettingPageKit::showRangeHelp(
                tr("Simulated Speed", "definition header"),
                tr("Range is %L1 through %L2 %3.",
                   "Simulated Speed definition. %L1 & %L2 are the range values. %3 is the units."),
                PageValues::itemDisplayMinimum(UQ_SIMULATED_SPEED), PageValues::itemDisplayMaximum(UQ_SIMULATED_SPEED),
                PageValues::decimals(UQ_SIMULATED_SPEED), tr("kilometers per hour"));
        else if (id == 1)
            SettingPageKit::showHelp(tr("Minimum Speed", "definition header"),
                                     tr("Below it nothing is sprayed.", "Minimum Speed definition"));
        else
            SettingPageKit::showHelp(QString(), QString());
    }
    void handleButtonBarPressed(int id) { SettingPageKit::navigatePair(this, id); }

protected:
    void showEvent(QShowEvent* event) override
    {
        WidgetTimedFocusUpdateQt::showEvent(event);
        if (SettingPageKit::programCaused(event))
            SettingPageKit::setPageMode(ToolsViewWidgets::PageMode::Calibration);
    }
    void hideEvent(QHideEvent* event) override
    {
        WidgetTimedFocusUpdateQt::hideEvent(event);
        if (SettingPageKit::programCaused(event))
            SettingPageKit::setPageMode(ToolsViewWidgets::PageMode::Home);
    }
    void changeEvent(QEvent* event) override
    {
        if (event->type() == QEvent::LanguageChange)
            retranslate();
        WidgetTimedFocusUpdateQt::changeEvent(event);
    }
    void timedUpdate() override {}
};

namespace {

// German for a few of the page's texts.
class GermanTexts : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        if (QByteArray(context) != "KitTestPage")
            return QString();
        static const QMap<QByteArray, QString> kTexts = {
            {"Settings", "Einstellungen"}, {"Machine", "Maschine"}, {"Kit", "Baukasten"},
            {"Simulated Speed", "Simulierte Geschwindigkeit"}, {"km/h", "km/h"}};
        return kTexts.value(QByteArray(source));
    }
    bool isEmpty() const override { return false; }
};

struct KitPage : WithGuiApplication {
    KitPage()
    {
        REQUIRE(datastoreInit(2) == 0);
        REQUIRE(processInitUnits() == 1);
        REQUIRE(unitSetSystem(UNIT_SYSTEM_METRIC) == 1);
        GuiGeometry::setDesignType(3);
        GuiGeometry::setDisplayType(3);
        REQUIRE(datastoreSetUint16(DS_SIM_SPEED, 80) == 0);
        REQUIRE(datastoreSetUint16(DS_MIN_SPEED, 15) == 0);
        REQUIRE(datastoreSetUint16(DS_PAGE_MODE, 0) == 0);
        screen.resize(480, 272);
        COverlayManager::createInstance(&screen)->setArea(480, 272);
        page = new KitTestPage(&screen);
        page->resize(480, 272);
        screen.show();
        pumpEvents();
    }
    ~KitPage()
    {
        QLocale::setDefault(QLocale::c());
        pumpEvents();
    }
    CPopupMessage* shownMessage() const
    {
        return qobject_cast<CPopupMessage*>(COverlayManager::instance()->currentOverlay());
    }
    static QString labelText(QLabel* label) { return label != nullptr && label->isVisibleTo(label->parentWidget()) ? label->text() : QString(); }
    QWidget screen;
    KitTestPage* page;
};

KestromPushButton* labelButton(KitTestPage* page, int row)
{
    for (KestromPushButton* button : page->findChildren<KestromPushButton*>())
        if (button->property("transparent").toBool() && button->id() == row)
            return button;
    return nullptr;
}

}  // namespace

TEST_CASE("the kit lays out pathway, rows and button bar inside the page")
{
    KitPage f;
    CHECK(f.page->kit->pathwayLabel()->text() == "Settings->Machine->Kit");
    const QRect page = f.page->rect();
    for (QWidget* widget : {static_cast<QWidget*>(f.page->kit->pathwayLabel()),
                            static_cast<QWidget*>(f.page->speedValue), static_cast<QWidget*>(f.page->choiceValue),
                            static_cast<QWidget*>(f.page->kit->buttonBar())}) {
        CAPTURE(widget->objectName().toStdString());
        CHECK(page.contains(widget->geometry()));
    }
    KestromPushButton* label = labelButton(f.page, 0);
    REQUIRE(label != nullptr);
    CHECK(label->text() == "Simulated Speed");
    CHECK(label->iconSize() == GuiGeometry::iconSize50());
    CHECK(label->styleSheet() == "text-align: left");
    CHECK(f.page->speedValue->property("hasBorder").toBool());
    CHECK(f.page->speedValue->width() >= GuiGeometry::settingButtonSize().width());
    CHECK(f.page->speedValue->text() == "8.0 km/h");
    // Rows left of the bar, bar at the right edge.
    CHECK(f.page->speedValue->geometry().right() < f.page->kit->buttonBar()->geometry().left());
    CHECK(f.page->kit->barButton(0)->objectName() == "backButton");
    CHECK(f.page->kit->barButton(2)->objectName() == "homeButton");

    SUBCASE("pathway formats by depth")
    {
        CHECK(SettingPageKit::pathwayText({"Settings", "Machine"}) == "Settings->Machine");
        CHECK(SettingPageKit::pathwayText({"A", "B", "C"}) == "A->B->C");
        CHECK(SettingPageKit::pathwayText({"A", "B", "C", "D"}) == "...C->D");
    }
    SUBCASE("the bar's buttons emit the page's navigation signals")
    {
        QSignalSpy back(f.page, &KitTestPage::goBack);
        QSignalSpy next(f.page, &KitTestPage::nextPage);
        QSignalSpy home(f.page, &KitTestPage::ShowHomeView);
        tap(f.page->kit->barButton(0));
        tap(f.page->kit->barButton(1));
        tap(f.page->kit->barButton(2));
        CHECK(back.count() == 1);
        CHECK(next.count() == 1);
        REQUIRE(home.count() == 1);
        CHECK(home.at(0).at(0).toInt() == 2);
    }
}

TEST_CASE("keypad cycle: cancelling one row, then committing another, changes only the second")
{
    KitPage f;
    tap(f.page->speedValue);
    NumericKeypadWidget* keypad = f.page->keypad;
    REQUIRE(keypad->isVisible());
    CHECK(keypad->isWindow());
    CHECK(keypad->entry()->text() == "8");
    keypad->entry()->setText("55.5");
    keypad->close();  // cancel
    pumpEvents();

    tap(f.page->minSpeedValue);
    REQUIRE(keypad->isVisible());
    CHECK(keypad->findChild<QLabel*>()->text() == "Minimum Speed (km/h)");
    CHECK(keypad->pos() ==
          f.screen.mapToGlobal(GuiGeometry::centeredPosition(keypad->width(), keypad->height())));
    keypad->entry()->setText("2.5");
    keypad->acceptPressed();
    pumpEvents();
    CHECK(datastoreGetUint16(DS_MIN_SPEED) == 25);
    CHECK(datastoreGetUint16(DS_SIM_SPEED) == 80);
    CHECK(f.page->minSpeedValue->text() == "2.5 km/h");

    SUBCASE("a value outside the item's limits is refused by the keypad")
    {
        tap(f.page->speedValue);
        keypad->entry()->setText("100");
        keypad->acceptPressed();
        pumpEvents();
        CHECK(datastoreGetUint16(DS_SIM_SPEED) == 80);
    }
}

TEST_CASE("grid cycle: nine options are paged with an arrow; highlighting keeps the page")
{
    KitPage f;
    ButtonGridWidget* grid = f.page->grid;
    tap(f.page->choiceValue);
    REQUIRE(grid->isVisible());
    CHECK(grid->isWindow());

    // At most seven options and an arrow a page, as many as fit; all nine reachable.
    REQUIRE(grid->pageCount() >= 2);
    QList<int> seen;
    int pageOfEight = 0;
    for (int page = 1; page <= grid->pageCount(); ++page) {
        CAPTURE(page);
        const QList<KestromPushButton*> buttons = grid->pageButtons(page);
        REQUIRE(buttons.size() >= 2);
        CHECK(buttons.size() <= 8);
        CHECK(buttons.last()->id() == ButtonGridWidget::NextPageId);
        for (KestromPushButton* button : buttons.mid(0, buttons.size() - 1)) {
            seen.append(button->id());
            if (button->id() == 8)
                pageOfEight = page;
        }
    }
    CHECK(seen == QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8}));
    CHECK(grid->pageButtons(1).at(0)->text() == "0");
    CHECK(grid->pageButtons(1).at(0)->size().expandedTo(GuiGeometry::menuButtonSize()) ==
          grid->pageButtons(1).at(0)->size());

    REQUIRE(pageOfEight > 1);
    while (grid->currentPage() != pageOfEight)
        tap(grid->pageButtons(grid->currentPage()).last());
    grid->setHighlightedButton(8);
    CHECK(grid->currentPage() == pageOfEight);
    KestromPushButton* eight = nullptr;
    for (KestromPushButton* button : grid->pageButtons(pageOfEight))
        if (button->id() == 8)
            eight = button;
    REQUIRE(eight != nullptr);
    CHECK(eight->property("hasHighlightedBorder").toBool());
    tap(eight);
    pumpEvents();
    CHECK(f.page->choice == 8);
    CHECK(f.page->choiceValue->text() == "8%");
    CHECK_FALSE(grid->isVisible());

    // Opening again highlights the current choice and reaches only this row.
    tap(f.page->choiceValue);
    KestromPushButton* zero = grid->pageButtons(1).at(0);
    CHECK(eight->property("hasHighlightedBorder").toBool());
    CHECK_FALSE(zero->property("hasHighlightedBorder").toBool());
    tap(grid->pageButtons(1).at(1));
    pumpEvents();
    CHECK(f.page->choice == 1);
    CHECK(datastoreGetUint16(DS_SIM_SPEED) == 80);
}

TEST_CASE("help pop-ups: a range with the quantity's decimals and long unit; an unknown id shows nothing")
{
    KitPage f;
    tap(labelButton(f.page, 0));
    pumpEvents();
    CPopupMessage* help = f.shownMessage();
    REQUIRE(help != nullptr);
    CHECK(KitPage::labelText(help->form()->titleLabel()) == "Simulated Speed");
    CHECK(KitPage::labelText(help->form()->textLabel()) == "Range is 0.0 through 99.9 kilometers per hour.");
    tap(help);
    pumpEvents();

    f.page->showHelp(7);
    pumpEvents();
    help = f.shownMessage();
    REQUIRE(help != nullptr);
    CHECK(KitPage::labelText(help->form()->titleLabel()).isEmpty());
    CHECK(KitPage::labelText(help->form()->textLabel()).isEmpty());
}

TEST_CASE("a result message stays 9 s, 3 s once another waits, and waits at most 21 s")
{
    KitPage f;
    ManualClock clock;
    CPopupMessage* message = SettingPageKit::showResult("Saved", "The file is on the stick.");
    pumpEvents();
    REQUIRE(f.shownMessage() == message);
    clock.advanceInSteps(8900);
    CHECK(f.shownMessage() == message);
    clock.advanceInSteps(200);
    CHECK(f.shownMessage() == nullptr);
}

TEST_CASE("a language change sets pathway, labels and values again in the new language and number format")
{
    KitPage f;
    REQUIRE(datastoreSetUint16(DS_SIM_SPEED, 125) == 0);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    GermanTexts german;
    QCoreApplication::installTranslator(&german);
    pumpEvents();
    CHECK(f.page->kit->pathwayLabel()->text().endsWith("Maschine->Baukasten"));
    CHECK(labelButton(f.page, 0)->text().replace('\n', ' ') == "Simulierte Geschwindigkeit");
    CHECK(f.page->speedValue->text() == "12,5 km/h");
    CHECK(f.page->minSpeedValue->text() == "1,5 km/h");
    QCoreApplication::removeTranslator(&german);
    QLocale::setDefault(QLocale::c());
    pumpEvents();
    CHECK(labelButton(f.page, 0)->text() == "Simulated Speed");
    CHECK(f.page->speedValue->text() == "12.5 km/h");
}

TEST_CASE("show and hide side effects run only for events the program causes")
{
    KitPage f;
    f.page->hide();
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 4);
    f.page->show();
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 2);

    REQUIRE(datastoreSetUint16(DS_PAGE_MODE, 0) == 0);
    // As the window system delivers them (sendEvent would clear the mark).
    QShowEvent show;
    QSpontaneKeyEvent::setSpontaneous(&show);
    QCoreApplication::instance()->notify(f.page, &show);
    QHideEvent hide;
    QSpontaneKeyEvent::setSpontaneous(&hide);
    QCoreApplication::instance()->notify(f.page, &hide);
    CHECK(datastoreGetUint16(DS_PAGE_MODE) == 0);
}

TEST_CASE("USB-dependent buttons follow the stick and the page's own condition")
{
    KitPage f;
    const QString stick = GreyfellCommon::usbRootPath();
    QDir(stick).removeRecursively();
    KestromPushButton* save = f.page->kit->addValueButton(3, "m_saveButton");
    f.page->kit->addUsbButton(save);
    CHECK_FALSE(save->isEnabled());
    REQUIRE(f.page->kit->usbWatcher() != nullptr);

    REQUIRE(QDir().mkpath(stick));
    f.page->kit->usbWatcher()->vHandleDirectoryChange();  // as 1 s after the mount
    CHECK(save->isEnabled());

    bool busy = true;
    f.page->kit->setUsbCondition([&busy] { return !busy; });
    CHECK_FALSE(save->isEnabled());
    busy = false;
    f.page->kit->refreshUsbButtons();
    CHECK(save->isEnabled());

    REQUIRE(QDir(stick).removeRecursively());
    f.page->kit->usbWatcher()->vHandleDirectoryChange();
    CHECK_FALSE(save->isEnabled());
}

TEST_CASE("a USB button's own condition holds for that button alone, over the page's")
{
    KitPage f;
    const QString stick = GreyfellCommon::usbRootPath();
    REQUIRE(QDir().mkpath(stick));
    KestromPushButton* exportButton = f.page->kit->addValueButton(3, "m_exportButton");
    KestromPushButton* importButton = f.page->kit->addValueButton(4, "m_importButton");
    bool fileOnStick = false;
    f.page->kit->addUsbButton(exportButton);
    f.page->kit->addUsbButton(importButton, [&fileOnStick] { return fileOnStick; });
    CHECK(exportButton->isEnabled());
    CHECK_FALSE(importButton->isEnabled());

    fileOnStick = true;
    f.page->kit->refreshUsbButtons();
    CHECK(exportButton->isEnabled());
    CHECK(importButton->isEnabled());

    bool busy = true;
    f.page->kit->setUsbCondition([&busy] { return !busy; });
    CHECK_FALSE(exportButton->isEnabled());
    CHECK_FALSE(importButton->isEnabled());
    busy = false;

    // The presence as reported decides, whatever the button's own condition.
    f.page->kit->applyUsbState(false);
    CHECK_FALSE(exportButton->isEnabled());
    CHECK_FALSE(importButton->isEnabled());
    f.page->kit->applyUsbState(true);
    CHECK(exportButton->isEnabled());
    CHECK(importButton->isEnabled());
    QDir(stick).removeRecursively();
}

TEST_CASE("the kit's test page at 480x272: texts inside their widgets, no picture missing")
{
    KitPage f;
    CHECK_SCREEN(&f.screen, "kit_page");
    tap(f.page->speedValue);
    CHECK_SCREEN(&f.screen, "kit_page_keypad");
    f.page->keypad->close();
    tap(f.page->choiceValue);
    CHECK_SCREEN(&f.screen, "kit_page_grid");
    f.page->grid->close();
}

TEST_CASE("an edit cuts only the editor's commit: other connections and Qt's own watch stay")
{
    KitPage f;
    QSignalSpy keypadGone(f.page->keypad, &QObject::destroyed);
    QSignalSpy gridGone(f.page->grid, &QObject::destroyed);
    f.page->editSpeed();
    f.page->editMinSpeed();
    f.page->editChoice();
    f.page->editChoice();
    // The commit goes to the setting edited last, once.
    f.page->keypad->commitValue(2.0);
    CHECK(datastoreGetUint16(DS_MIN_SPEED) == 20);
    CHECK(datastoreGetUint16(DS_SIM_SPEED) == 80);
    f.page->grid->commitSelection(4);
    CHECK(f.page->choice == 4);

    delete f.page;
    f.page = nullptr;
    CHECK(keypadGone.count() == 1);
    CHECK(gridGone.count() == 1);
    // The style sheet's caches forgot the deleted editors: a new sheet polishes
    // only living widgets (it crashed when the edit cut every connection).
    qApp->setStyleSheet(QStringLiteral("QPushButton { margin: 1px; }"));
    qApp->setStyleSheet(QString());
    pumpEvents();
}

#include "test_settingpagekit.moc"
