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

// The flow-meter pair as the calibrations menu holds it: nextPage() of either
// page shows the other one while one of them is current, goBack() and
// ShowHomeView(int) return to the menu (the stack's other page).
template <class First, class Second>
struct FlowPair : ScreenFixture {
    explicit FlowPair(uint32_t system = UNIT_SYSTEM_METRIC, void (*before)() = nullptr) : ScreenFixture(system)
    {
        if (before)
            before();
        stack = new QStackedWidget;
        menu = new QWidget;
        stack->addWidget(menu);
        first = new First;
        stack->addWidget(first);
        second = new Second;
        stack->addWidget(second);
        QObject::connect(first, &First::nextPage, [this] { showNext(); });
        QObject::connect(second, &Second::nextPage, [this] { showNext(); });
        QObject::connect(first, &First::goBack, [this] { stack->setCurrentWidget(menu); });
        QObject::connect(second, &Second::goBack, [this] { stack->setCurrentWidget(menu); });
        QObject::connect(first, &First::ShowHomeView, [this](int id) {
            stack->setCurrentWidget(menu);
            homes.push_back(id);
        });
        QObject::connect(second, &Second::ShowHomeView, [this](int id) {
            stack->setCurrentWidget(menu);
            homes.push_back(id);
        });
        place(stack, QPoint(0, 0), QSize(480, 272));
        stack->setCurrentWidget(first);
        pumpEvents();
        takeProcessCalls();
        takePostedEvents();
    }
    void showNext()
    {
        if (stack->currentWidget() == first)
            stack->setCurrentWidget(second);
        else if (stack->currentWidget() == second)
            stack->setCurrentWidget(first);
    }
    QWidget* current() const { return stack->currentWidget(); }
    QStackedWidget* stack;
    QWidget* menu;
    First* first;
    Second* second;
    std::vector<int> homes;
};
