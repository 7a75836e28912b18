#pragma once
// Driving a page by touch, as the operator does. Header only; each function
// fails the test (REQUIRE) when what it is to touch is not on the screen.
//
//   tapButtonBar(page, ToolsViewWidgets::ToolsViewButtonBar::Back);   // back, next, home
//   NumericKeypadWidget* keypad = shownKeypad();
//   keypadType(keypad, "12.5");  keypadAccept(keypad);  // or keypadCancel(keypad)
//   ButtonGridWidget* grid = shownButtonGrid();
//   chooseGridOption(grid, 3);                           // pages on to it, then taps it
//   showGridOption(grid, 3);                             // pages on to it only
//   COverlayInterface* popup = currentPopup();           // the overlay manager's shown pop-up
//   popupTexts(popup).contains("Invalid value!");  tapPopupButton(popup, "Yes");
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QStringList>

#include <doctest/doctest.h>

#include "buttongridwidget.h"
#include "coverlayinterface.h"
#include "coverlaymanager.h"
#include "cpopupmessage.h"
#include "gui_test.h"
#include "kestrompushbutton.h"
#include "numerickeypadwidget.h"
#include "toolsviewbuttonbar.h"

// A touch on a button: pressed and released at its centre.
inline void tapButton(QAbstractButton* button)
{
    REQUIRE(button != nullptr);
    CAPTURE(button->objectName().toStdString());
    CAPTURE(button->accessibleName().toStdString());
    CAPTURE(button->text().toStdString());
    REQUIRE(button->isVisible());
    REQUIRE(button->isEnabled());
    tap(button);
    pumpEvents();
}

// The button of id (Back, Next, Home) on the page's button bar.
inline QAbstractButton* buttonBarButton(QWidget* page, int id)
{
    auto* bar = page->findChild<ToolsViewWidgets::ToolsViewButtonBar*>();
    REQUIRE(bar != nullptr);
    for (KestromPushButton* button : bar->findChildren<KestromPushButton*>())
        if (button->id() == id)
            return button;
    return nullptr;
}

inline void tapButtonBar(QWidget* page, int id)
{
    tapButton(buttonBarButton(page, id));
}

template <typename T>
T* shownWidget()
{
    for (QWidget* widget : QApplication::allWidgets())
        if (T* found = qobject_cast<T*>(widget))
            if (found->isVisible())
                return found;
    return nullptr;
}

// The keypad on the screen, or null.
inline NumericKeypadWidget* shownKeypad()
{
    return shownWidget<NumericKeypadWidget>();
}

// A character key by its accessible name: "0x30".."0x39", "0x2E" (point), "0x01000003" (<--).
inline QAbstractButton* keypadKey(NumericKeypadWidget* keypad, const QString& accessibleName)
{
    REQUIRE(keypad != nullptr);
    for (QAbstractButton* key : keypad->findChildren<QAbstractButton*>())
        if (key->accessibleName() == accessibleName)
            return key;
    return nullptr;
}

// Types digits and points with the keys.
inline void keypadType(NumericKeypadWidget* keypad, const QString& text)
{
    for (QChar c : text) {
        const QString name = QStringLiteral("0x") + QString::number(c.unicode(), 16).toUpper();
        QAbstractButton* key = keypadKey(keypad, name);
        CAPTURE(name.toStdString());
        tapButton(key);
    }
}

// The picture keys of the entry row: cancel on the left, accept on the right.
inline QAbstractButton* keypadPictureKey(NumericKeypadWidget* keypad, bool right)
{
    REQUIRE(keypad != nullptr);
    QAbstractButton* found = nullptr;
    for (QAbstractButton* key : keypad->findChildren<QAbstractButton*>()) {
        if (!key->accessibleName().isEmpty() || !key->text().isEmpty() || key->icon().isNull())
            continue;
        if (found == nullptr || (right ? key->x() > found->x() : key->x() < found->x()))
            found = key;
    }
    return found;
}

inline void keypadAccept(NumericKeypadWidget* keypad)
{
    tapButton(keypadPictureKey(keypad, true));
}

inline void keypadCancel(NumericKeypadWidget* keypad)
{
    tapButton(keypadPictureKey(keypad, false));
}

// The button grid on the screen, or null.
inline ButtonGridWidget* shownButtonGrid()
{
    return shownWidget<ButtonGridWidget>();
}

// The grid's option of id, on whatever page it stands; its page in *page.
inline KestromPushButton* gridOption(ButtonGridWidget* grid, int id, int* page = nullptr)
{
    REQUIRE(grid != nullptr);
    for (int p = 1; p <= grid->pageCount(); ++p) {
        for (KestromPushButton* button : grid->pageButtons(p)) {
            if (button->id() == id && id != ButtonGridWidget::NextPageId) {
                if (page != nullptr)
                    *page = p;
                return button;
            }
        }
    }
    return nullptr;
}

// Pages on to the option's page with the arrows and returns the option, shown.
inline KestromPushButton* showGridOption(ButtonGridWidget* grid, int id)
{
    int page = 0;
    KestromPushButton* option = gridOption(grid, id, &page);
    CAPTURE(id);
    REQUIRE(option != nullptr);
    for (int turns = 0; grid->currentPage() != page && turns < grid->pageCount(); ++turns) {
        KestromPushButton* arrow = nullptr;
        for (KestromPushButton* button : grid->pageButtons(grid->currentPage()))
            if (button->id() == ButtonGridWidget::NextPageId)
                arrow = button;
        tapButton(arrow);
    }
    REQUIRE(grid->currentPage() == page);
    return option;
}

// Pages on to the option's page with the arrows, then touches the option.
inline void chooseGridOption(ButtonGridWidget* grid, int id)
{
    tapButton(showGridOption(grid, id));
}

// The pop-up the overlay manager shows now, or null.
inline COverlayInterface* currentPopup()
{
    COverlayManager* manager = COverlayManager::instance();
    return manager != nullptr ? manager->currentOverlay() : nullptr;
}

// Closes every pop-up on the screen.
inline void dismissPopups()
{
    for (int i = 0; i < 8 && currentPopup() != nullptr; ++i) {
        if (auto* message = qobject_cast<CPopupMessage*>(currentPopup()))
            message->dismiss();
        else
            currentPopup()->requestClose();
        pumpEvents();
    }
}

// The visible label and button texts of a pop-up, in the order of its widgets.
inline QStringList popupTexts(QWidget* popup)
{
    QStringList texts;
    if (popup == nullptr)
        return texts;
    for (QWidget* widget : popup->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        if (QLabel* label = qobject_cast<QLabel*>(widget)) {
            if (!label->text().isEmpty())
                texts.append(label->text());
        } else if (QAbstractButton* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!button->text().isEmpty())
                texts.append(button->text());
        }
    }
    return texts;
}

inline void tapPopupButton(QWidget* popup, const QString& text)
{
    REQUIRE(popup != nullptr);
    QAbstractButton* found = nullptr;
    for (QAbstractButton* button : popup->findChildren<QAbstractButton*>())
        if (button->isVisible() && button->text() == text)
            found = button;
    CAPTURE(text.toStdString());
    tapButton(found);
}
