#pragma once
// Helpers of the diagnostics page tests: the screen fixture over the real core
// on the program's stand-in board (the pages read the hardware through the
// drivers), the board's pins, the pages in a page stack as the diagnostics
// menu holds them, their widgets by object name, and the events showing and
// hiding them leave. Header only.
#include <algorithm>
#include <cstdint>
#include <vector>

#include <QLabel>
#include <QStackedWidget>
#include <QString>
#include <QWidget>

#include <doctest/doctest.h>

#include "core_inprocess.h"
#include "core_record.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "kestrompushbutton.h"
#include "qtelidedlabel.h"
#include "screen_fixture.h"
#include "standin_fpgaio.h"
#include "sysroot.h"

struct CoreInProcess {
    CoreInProcess()
    {
        guiApplication();
        REQUIRE(coreStartInProcess());
    }
};

// The screen fixture with the core running in the process in test mode's
// reach: the core's ticks are run by the test (runCoreEvent).
struct BoardFixture : CoreInProcess, ScreenFixture {
    BoardFixture() = default;
};

// The FPGA extender's pins of the program's stand-in board.
inline StandinFpga& boardPins()
{
    static StandinFpga pins(sysrootDir());
    return pins;
}

// A page stack on the fixture's page: index 0 a blank page, then the pages.
inline QStackedWidget* pageStack(ScreenFixture& f, std::initializer_list<QWidget*> pages)
{
    auto* stack = new QStackedWidget;
    auto* blank = new QWidget;
    blank->setObjectName("blankPage");
    stack->addWidget(blank);
    for (QWidget* page : pages)
        stack->addWidget(page);
    f.place(stack, QPoint(0, 0), QSize(480, 272));
    return stack;
}

inline void showIndex(QStackedWidget* stack, int index)
{
    stack->setCurrentIndex(index);
    pumpEvents();
}

template <typename T = QWidget>
T* named(QWidget* page, const char* name)
{
    T* widget = page->findChild<T*>(name);
    CAPTURE(name);
    REQUIRE(widget != nullptr);
    return widget;
}

inline QString buttonText(QWidget* page, const char* name)
{
    return named<KestromPushButton>(page, name)->text();
}

inline QString labelText(QWidget* page, const char* name)
{
    return named<QLabel>(page, name)->text();
}

// The help label button of a row (column 1, "transparent", id = row).
inline KestromPushButton* rowLabel(QWidget* page, int row)
{
    for (KestromPushButton* button : page->findChildren<KestromPushButton*>())
        if (button->property("transparent").toBool() && button->id() == row && button->parentWidget() == page)
            return button;
    return nullptr;
}

inline QString pathwayOf(QWidget* page)
{
    auto* label = page->findChild<QtElidedLabel*>();
    REQUIRE(label != nullptr);
    return label->text();
}

// The events of the list with one of the ids, in order.
inline std::vector<PostedEvent> onlyEvents(const std::vector<PostedEvent>& events, std::vector<uint32_t> ids)
{
    std::vector<PostedEvent> kept;
    for (const PostedEvent& e : events)
        if (std::find(ids.begin(), ids.end(), e.first) != ids.end())
            kept.push_back(e);
    return kept;
}

inline uint16_t pageMode()
{
    return datastoreGetUint16(DS_PAGE_MODE);
}
