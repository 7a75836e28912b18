#pragma once
// Helpers of the settings page tests (machine, calibration): the rows' buttons found as the
// operator sees them, datastore writes recorded (also of an unchanged value),
// and a picture check of a button's icon. Header only.
#include <cstdint>
#include <utility>
#include <vector>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <doctest/doctest.h>

#include "datastore.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "qtimagetools.h"
#include "screen_drive.h"

// The value button of a row (column 2, "hasBorder", id = row).
inline KestromPushButton* valueButton(QWidget* page, int row)
{
    for (KestromPushButton* button : page->findChildren<KestromPushButton*>())
        if (button->property("hasBorder").toBool() && button->id() == row && button->parentWidget() == page)
            return button;
    return nullptr;
}

// The help label button of a row (column 1, "transparent", id = row).
inline KestromPushButton* labelButton(QWidget* page, int row)
{
    for (KestromPushButton* button : page->findChildren<KestromPushButton*>())
        if (button->property("transparent").toBool() && button->id() == row && button->parentWidget() == page)
            return button;
    return nullptr;
}

inline QString pathwayText(QWidget* page)
{
    auto* label = page->findChild<QtElidedLabel*>();
    REQUIRE(label != nullptr);
    return label->text();
}

// True when the button's icon shows the picture at path.
inline bool showsIcon(const QAbstractButton* button, const char* path)
{
    const QSize size = button->iconSize();
    const QImage shown = button->icon().pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage expected = QtImageTools::loadPixmap(path, size, false, Qt::KeepAspectRatio).toImage().convertToFormat(QImage::Format_ARGB32);
    return !expected.isNull() && shown == expected;
}

// Datastore set calls (item, value after the call), also of an unchanged value.
using StoreWrite = std::pair<uint32_t, uint32_t>;

inline std::vector<StoreWrite>& storeWriteList()
{
    static std::vector<StoreWrite> writes;
    return writes;
}

struct StoreWriteRecorder {
    StoreWriteRecorder()
    {
        datastoreSetObserver(record, 0, 0);
        storeWriteList().clear();
    }
    ~StoreWriteRecorder() { datastoreSetObserver(nullptr, 0, 0); }
    StoreWriteRecorder(const StoreWriteRecorder&) = delete;
    StoreWriteRecorder& operator=(const StoreWriteRecorder&) = delete;

    // The writes of one item since the last take.
    static std::vector<uint32_t> take(uint32_t item)
    {
        std::vector<uint32_t> values;
        for (const StoreWrite& write : storeWriteList())
            if (write.first == item)
                values.push_back(write.second);
        storeWriteList().clear();
        return values;
    }

private:
    static void record(uint32_t id, uint32_t, uint32_t)
    {
        if (id != 0)
            storeWriteList().emplace_back(id, static_cast<uint32_t>(datastoreGetAsInt32(id)));
    }
};

// The keypad's texts contain the title.
inline bool keypadTitled(NumericKeypadWidget* keypad, const QString& title)
{
    return keypad != nullptr && popupTexts(keypad).contains(title);
}

// A help of a page: its id, its title and a part of its text.
struct HelpCase {
    int id;
    const char* title;
    const char* textPart;
};

// The help pop-up on the screen shows the case's title and text; it is closed.
inline void checkShownHelp(const HelpCase& c)
{
    const QString texts = popupTexts(currentPopup()).join("|");
    CHECK(texts.contains(c.title));
    CHECK(texts.contains(c.textPart));
    tap(currentPopup());
    pumpEvents();
}

// The help pop-up on the screen is the empty one of an id without a help; it is closed.
inline void checkShownEmptyHelp()
{
    REQUIRE(currentPopup() != nullptr);
    CHECK(popupTexts(currentPopup()).join("").trimmed().isEmpty());
    tap(currentPopup());
    pumpEvents();
}
