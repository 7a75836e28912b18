#pragma once
// Support for the GUI tests: one QApplication per test program on the offscreen
// platform, touches as the console's panel gives them, event-loop passes, and
// time driven through the clock seam. Header only: included by GUI tests only.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "clock.h"
#include "sysroot.h"

// The test program's application, created on first use and never destroyed
// (widgets of static objects may outlive main). The working directory, where
// the pixmap cache writes, moves into the program's own system root.
inline QApplication& guiApplication()
{
    static QApplication* app = [] {
        if (std::getenv("QT_QPA_PLATFORM") == nullptr)
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // Without the program's own system root there is nowhere to write.
        if (sysrootDir().empty())
            std::abort();
        const std::string work = sysrootDir() + "/work";
        mkdir(work.c_str(), 0755);
        if (chdir(work.c_str()) != 0)
            std::abort();
        static int argc = 1;
        static char name[] = "guitest";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    return *app;
}

// First base or member of a fixture whose other members are widgets.
struct WithGuiApplication {
    WithGuiApplication() { guiApplication(); }
};

// Runs the event loop a few passes: queued calls, 0 ms timers and deferred deletes.
inline void pumpEvents(int passes = 3)
{
    for (int i = 0; i < passes; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

// Touches: the panel reports a press, moves with the finger down, and a release,
// each to the widget under the finger (the deepest visible child at pos).
inline QWidget* touchTarget(QWidget* widget, QPoint& pos)
{
    if (QWidget* child = widget->childAt(pos)) {
        pos = child->mapFrom(widget, pos);
        return child;
    }
    return widget;
}

inline void touchPress(QWidget* widget, QPoint pos = QPoint(-1, -1))
{
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    QWidget* target = touchTarget(widget, pos);
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, pos);
}

inline void touchMove(QWidget* widget, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

inline void touchRelease(QWidget* widget, QPoint pos = QPoint(-1, -1))
{
    if (pos == QPoint(-1, -1))
        pos = widget->rect().center();
    QWidget* target = touchTarget(widget, pos);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, pos);
}

inline void tap(QWidget* widget, QPoint pos = QPoint(-1, -1))
{
    touchPress(widget, pos);
    touchRelease(widget, pos);
}

// Counts the paint events a widget receives while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) : mWidget(widget) { widget->installEventFilter(this); }
    int count() const { return mCount; }
    // The paints since the last take, the window's pending repaint done at
    // once (the platform may hold an update request back for a few ms).
    int take()
    {
        pumpEvents();
        QEvent request(QEvent::UpdateRequest);
        QApplication::sendEvent(mWidget->window(), &request);
        pumpEvents();
        const int n = mCount;
        mCount = 0;
        return n;
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++mCount;
        return false;
    }

private:
    QWidget* mWidget;
    int mCount = 0;
};

// Stops the runtime's monotonic clock for one test; advance() lets time pass
// at once and then runs the event loop, so that timers on that clock fire.
class ManualClock {
public:
    ManualClock() { clockUseManual(); }
    ~ManualClock() { clockUseReal(); }
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void advance(uint32_t ms)
    {
        clockAdvanceMs(ms);
        pumpEvents();
    }
    // In steps, so that timers started on the way run in order.
    void advanceInSteps(uint32_t ms, uint32_t step = 100)
    {
        for (uint32_t done = 0; done < ms; done += step)
            advance(step < ms - done ? step : ms - done);
    }
};
