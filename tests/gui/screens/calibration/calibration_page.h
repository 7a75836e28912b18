#pragma once
// Fixture of the calibration page tests: the page in a stack of its own, as
// the calibrations menu holds it, so that showing and leaving it are the
// program's own page switches. Header only.
//
//   CalibrationPage<ConfigMachineCalImplSpeedSensor> f(UNIT_SYSTEM_US);
//   f.leave();  f.enter();                       // hide and show again
//   tapButton(f.button("m_doneButton"));
#include <vector>

#include <QStackedWidget>
#include <QString>

#include <doctest/doctest.h>

#include "core_record.h"
#include "screen_drive.h"
#include "screen_fixture.h"

template <class Page>
struct CalibrationPage : ScreenFixture {
    explicit CalibrationPage(uint32_t system = UNIT_SYSTEM_METRIC, void (*before)() = nullptr) : ScreenFixture(system)
    {
        if (before)
            before();
        stack = new QStackedWidget;
        other = new QWidget;
        stack->addWidget(other);
        page = new Page;
        stack->addWidget(page);
        place(stack, QPoint(0, 0), QSize(480, 272));
        enter();
    }
    void enter()
    {
        stack->setCurrentWidget(page);
        pumpEvents();
        takeProcessCalls();
        takePostedEvents();
    }
    void leave()
    {
        stack->setCurrentWidget(other);
        pumpEvents();
    }
    KestromPushButton* button(const char* name) const
    {
        auto* found = page->template findChild<KestromPushButton*>(QString::fromLatin1(name));
        REQUIRE(found != nullptr);
        return found;
    }
    QStackedWidget* stack;
    QWidget* other;
    Page* page;
};

// The posted events of one id, in order.
inline std::vector<PostedEvent> eventsOf(const std::vector<PostedEvent>& events, uint32_t id)
{
    std::vector<PostedEvent> found;
    for (const PostedEvent& e : events)
        if (e.first == id)
            found.push_back(e);
    return found;
}
