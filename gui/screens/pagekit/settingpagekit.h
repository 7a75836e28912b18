#pragma once
// The common frame and editing cycle of every settings page and menu: pathway
// label, rows of a help label and a value, button bar, keypad and selection-grid
// cycles, value texts, help and result pop-ups, page mode and USB-dependent
// buttons. A page owns one kit (a child object) and keeps its own class,
// signals, slots and texts: every text is the page's own tr() (so that the
// translation tools find it in the page's context), the kit only places and
// formats it.
//
// Usage, in a page class derived from WidgetTimedFocusUpdateQt (or QWidget):
//
//   Constructor
//     mKit = new SettingPageKit(this);                   // lays out the page
//     mKit->buttonBar()->setButtonsVisible(true, false, mMenuInstance);
//     mKit->connectButtonBar(this, &Page::handleButtonBarPressed);
//     mLabel = mKit->addLabelButton(0, this, &Page::showHelp, iconPath);  // column 1, id = row
//     mValue = mKit->addValueButton(0, "m_valueName");    // column 2, "hasBorder"
//     connect(mValue, &KestromPushButton::takeAction, this, &Page::editValue);
//     mKeypad = mKit->addKeypad();                        // one per page (or per setting)
//     mGrid = mKit->addGrid();
//     mWater = mKit->addOption(mGrid, 0); ...  mKit->layOutOptions(mGrid);
//     mKit->column()->addWidget(...);                     // anything under the rows
//     retranslate();
//
//   retranslate() (also on QEvent::LanguageChange in changeEvent):
//     mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"), ...});
//     mLabel->setText(tr("Actual Content", "setting label"));
//     mWater->setText(tr("Water", "button"));
//     mValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
//                                               value, decimals, unitShortName));
//     (quantityText for a quantity's item, percentText with tr("%L1%", "%L1 is the value"));
//     unit words are the page's own tr() texts.
//
//   Editing a number (the edit slot):
//     KeypadSetting s = KeypadSetting::forQuantity(q, longUnit);  // value, item limits, decimals
//     s.title = tr("Rate (%1)", "keyboard header. %1 is the units.").arg(shortUnit);
//     mKit->openKeypad(mKeypad, s, this, &Page::commitValue);
//   Committing (the commit slot, typed value in display units):
//     processEvent(EV_..., PageValues::baseFromTyped(q, typed));  // truncates in decimal
//     (fixed factors: PageValues::displayInteger / displayIntegerRounded)
//   Choosing from a list: mKit->openGrid(mGrid, currentId, this, &Page::commitChoice);
//
//   Help: showHelp(int id) picks its row's texts and calls
//     mKit->showHelp(tr("Title", "definition header"), tr("Text", "Title definition")),
//     or with a range showRangeHelp(title, text, min, max, decimals, longUnit)
//     (%L1, %L2, %3); any other id showHelp(QString(), QString()).
//   Results of save and clear actions: SettingPageKit::showResult(title, text).
//
//   Navigation: handleButtonBarPressed(int id) { SettingPageKit::navigate(this, id); }
//     (back 0 -> goBack(), home 2 -> ShowHomeView(2)); pages of a pair use
//     navigatePair (also next 1 -> nextPage()).
//
//   Show and hide side effects only for events the program causes:
//     void showEvent(QShowEvent* e) { Base::showEvent(e); if (SettingPageKit::programCaused(e)) {...} }
//     and the same in hideEvent; page modes: SettingPageKit::setPageMode(PageMode::...).
//
//   USB-dependent buttons: mKit->addUsbButton(button) enables the button only
//     while a stick is present (the kit's own CThumbDriveWatcher on the stick's
//     path, which watches its parent directory); setUsbCondition(fn) adds the
//     page's own condition; addUsbButton(button, condition) adds a condition of
//     that button alone (an import that needs the file on the stick);
//     refreshUsbButtons() applies them again after the page's state or the
//     stick's content changed.
#include "buttongridwidget.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "pagevalues.h"
#include "toolsviewbuttonbar.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class CPopupMessage;
class CThumbDriveWatcher;
class QEvent;
class QGridLayout;
class QStackedWidget;
class QtElidedLabel;
class QVBoxLayout;
class QWidget;

namespace ToolsViewWidgets {

// Values of DS_PAGE_MODE, which tells the process core which kind of page is up.
namespace PageMode {
enum : uint16_t { Working = 0, Test = 1, Calibration = 2, Filling = 3, Home = 4 };
}

// What the keypad shows and accepts for one setting.
struct KeypadSetting {
    double value = 0.0;
    double minimum = 0.0;
    double maximum = 0.0;
    int decimals = 0;
    QString units;  // the unit's long name
    QString title;

    // Value and range of quantity q's item in display units, q's decimals.
    static KeypadSetting forQuantity(uint32_t q, const QString& longUnit);
};

class SettingPageKit : public QObject {
    Q_OBJECT
public:
    static const char* const DefaultHelpIcon;

    // Lays out page: the left column (pathway label at the top, the row grid,
    // then whatever the page adds) and the button bar at the right edge, 7 : 1.
    explicit SettingPageKit(QWidget* page);

    QWidget* page() const { return mPage; }
    QtElidedLabel* pathwayLabel() const { return mPathway; }
    ToolsViewButtonBar* buttonBar() const { return mBar; }
    // The bar's button with id 0 back, 1 next, 2 home (named backButton,
    // nextButton, homeButton).
    KestromPushButton* barButton(int id) const;
    QGridLayout* rowGrid() const { return mRows; }
    QVBoxLayout* column() const { return mColumn; }

    // "%1->%2" for two parts, "%1->%2->%3" for three, "...%1->%2" with the last
    // two for more; the parts as the page translated them ("pathway text").
    void setPathway(const QStringList& parts);
    static QString pathwayText(const QStringList& parts);
    // Sets a label's text and keeps it fitted: on two lines while one does not
    // fit beside its icon (textfit.h). The kit's label, value and menu buttons
    // keep their texts fitted whichever way the page sets them.
    static void setLabelText(QAbstractButton* label, const QString& text);

    template <class Page>
    void connectButtonBar(Page* page, void (Page::*slot)(int))
    {
        connect(mBar, &ToolsViewButtonBar::buttonTouched, page, slot);
    }

    // Column 1 of a row: id = row, "transparent", a 50 x 50 icon (none for a
    // null path), text-align left; a touch calls help(row).
    template <class Page>
    KestromPushButton* addLabelButton(int row, Page* page, void (Page::*help)(int),
                                      const char* icon = DefaultHelpIcon)
    {
        KestromPushButton* button = makeLabelButton(row, icon);
        connect(button, &KestromPushButton::takeAction, page, help);
        return button;
    }
    // Column 2 of a row: a "hasBorder" button at least the setting-button size.
    KestromPushButton* addValueButton(int row, const char* objectName = nullptr);
    // Column 2 of a row: any widget.
    void addRowWidget(int row, QWidget* widget);

    // format is the page's tr("%L1 %2", "%L1 is the value, %2 is the units"):
    // the value fixed-point with the decimals, and the unit.
    static QString valueText(const QString& format, double value, int decimals, const QString& unit);
    // Quantity q's item value in display units with q's decimals.
    static QString quantityText(const QString& format, uint32_t q, const QString& unit);
    // format is tr("%L1%", "%L1 is the value"): the value without decimals.
    static QString percentText(const QString& format, double value);

    // A keypad owned by the page (a modal window of its own).
    NumericKeypadWidget* addKeypad();
    // Disconnects the keypad's commit (only that: Qt's own connections stay),
    // sets value, range and title, connects its commit
    // to the page's slot, shows it and centres it on the screen.
    template <class Page>
    void openKeypad(NumericKeypadWidget* keypad, const KeypadSetting& setting, Page* page,
                    void (Page::*commit)(double))
    {
        prepareKeypad(keypad, setting);
        connect(keypad, &NumericKeypadWidget::commitValue, page, commit);
        showCentred(keypad);
    }

    // A selection grid owned by the page (a modal window of its own).
    ButtonGridWidget* addGrid();
    // An option button of the grid, id = the option's value; the page sets its text.
    KestromPushButton* addOption(ButtonGridWidget* grid, int id, const QString& text = QString());
    void layOutOptions(ButtonGridWidget* grid);
    // Deletes the grid's options (before refilling it with data-dependent ones).
    void clearOptions(ButtonGridWidget* grid);
    // Disconnects the grid's choice, connects it to the page's slot, highlights
    // the current option, shows it and centres it.
    template <class Page>
    void openGrid(ButtonGridWidget* grid, int current, Page* page, void (Page::*commit)(int))
    {
        disconnect(grid, &ButtonGridWidget::commitSelection, nullptr, nullptr);
        connect(grid, &ButtonGridWidget::commitSelection, page, commit);
        grid->setHighlightedButton(current);
        showCentred(grid);
    }

    // The help pop-up (shown until touched, at most 21 s in the queue).
    static CPopupMessage* showHelp(const QString& title, const QString& text);
    // text's %L1 and %L2 = minimum and maximum with the decimals, %3 = the long unit.
    static CPopupMessage* showRangeHelp(const QString& title, const QString& text, double minimum,
                                        double maximum, int decimals, const QString& longUnit);
    // A save or clear result: 9 s, 3 s once another waits, 21 s in the queue, priority 0.
    static CPopupMessage* showResult(const QString& title, const QString& text);

    // Back 0 emits goBack(), home 2 emits ShowHomeView(2); next is ignored.
    template <class Page>
    static void navigate(Page* page, int id)
    {
        if (id == ToolsViewButtonBar::Back)
            emit page->goBack();
        else if (id == ToolsViewButtonBar::Home)
            emit page->ShowHomeView(ToolsViewButtonBar::Home);
    }
    // As navigate, and next 1 emits nextPage().
    template <class Page>
    static void navigatePair(Page* page, int id)
    {
        if (id == ToolsViewButtonBar::Next)
            emit page->nextPage();
        else
            navigate(page, id);
    }

    // Menus. A menu button carries the stack index of its sub-page as id, is
    // at least the menu-button size, and a touch shows that sub-page.
    static KestromPushButton* makeMenuButton(QStackedWidget* stack, int index, QWidget* parent,
                                             const char* objectName);
    // A menu button whose touch the menu handles itself (id as given).
    static KestromPushButton* makeMenuButton(int id, QWidget* parent, const char* objectName);
    // A sub-page of a menu: its back returns to the menu's top page, its home
    // passes through the menu, which returns its own stack to the top first.
    template <class Menu, class Page>
    static void connectSubPage(Menu* menu, Page* page)
    {
        connect(page, &Page::goBack, menu, &Menu::showTopPage);
        connect(page, &Page::ShowHomeView, menu, &Menu::handleButtonBarPressed);
    }

    // Show and hide side effects run only for events the program causes (a
    // page-stack switch), never for the window system's own.
    static bool programCaused(const QEvent* event);
    static void setPageMode(uint16_t mode);

    // USB-dependent buttons, enabled while the stick is present and the
    // page's condition (if any) holds.
    void addUsbButton(QWidget* button);
    void addUsbButton(QWidget* button, std::function<bool()> buttonCondition);
    void setUsbCondition(std::function<bool()> condition);
    bool usbPresent() const;
    void refreshUsbButtons();
    // The enabling for a stick present or not, as the watcher reports it.
    void applyUsbState(bool present);
    CThumbDriveWatcher* usbWatcher() const { return mUsbWatcher; }

private:
    struct UsbButton {
        QPointer<QWidget> button;
        std::function<bool()> condition;
    };

    KestromPushButton* makeLabelButton(int row, const char* icon);
    void prepareKeypad(NumericKeypadWidget* keypad, const KeypadSetting& setting);
    void showCentred(QWidget* editor);

    QWidget* mPage;
    QtElidedLabel* mPathway;
    ToolsViewButtonBar* mBar;
    QVBoxLayout* mColumn;
    QGridLayout* mRows;
    std::vector<UsbButton> mUsbButtons;
    std::function<bool()> mUsbCondition;
    CThumbDriveWatcher* mUsbWatcher = nullptr;
};

}  // namespace ToolsViewWidgets
