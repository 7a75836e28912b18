#pragma once
// Helpers of the installer page tests: the store as a new console has it, and
// the installer pages shown one at a time as the installer menu's stack shows
// them. Header only.
#include <cstdint>
#include <initializer_list>

#include <QWidget>

#include "settingpage_drive.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "screen_fixture.h"

// The factory default of each item (as a full initialisation writes it).
inline void setFactoryDefaults(std::initializer_list<uint32_t> items)
{
    for (uint32_t id : items) {
        REQUIRE(dsItemDefaults[id].kind != DS_DEFAULT_NONE);
        ScreenFixture::setItem(id, dsItemDefaults[id].value);
    }
}

// Places the page on the fixture's screen, shown as the menu's stack shows it.
template <class Page>
Page* showInstallerPage(ScreenFixture& f)
{
    auto* page = new Page(f.page());
    f.place(page, QPoint(0, 0), QSize(480, 272));
    takeProcessCalls();
    return page;
}

// Hides and shows the page again, as leaving and re-entering it from the menu does.
inline void reopen(QWidget* page)
{
    page->hide();
    pumpEvents();
    page->show();
    pumpEvents();
}

// The keypad's out-of-range message for the entry, closed again with the keypad.
inline QString refusedRangeMessage(const char* entry)
{
    NumericKeypadWidget* keypad = shownKeypad();
    REQUIRE(keypad != nullptr);
    keypadType(keypad, entry);
    keypadAccept(keypad);
    const QString message = popupTexts(currentPopup()).join(" ");
    tapPopupButton(currentPopup(), "OK");
    keypadCancel(shownKeypad());
    return message;
}
