#pragma once
// A single-shot timer on the runtime's monotonic clock (clock.h). With the real
// clock it behaves as a QTimer; with the manual clock of the tests it fires only
// when clockAdvanceMs has moved time past its deadline, in the GUI thread on the
// next pass of the event loop. For the GUI's seconds-long timeouts.
#include <QObject>
#include <QTimer>

#include <cstdint>

class ClockTimer : public QObject {
    Q_OBJECT
public:
    explicit ClockTimer(QObject* parent = nullptr);
    ~ClockTimer() override;

    // (Re)starts the timer; ms below 0 count as 0.
    void start(int ms);
    void stop();
    bool isActive() const { return mActive; }
    // Milliseconds left on the clock, 0 when not active.
    int remainingMs() const;

signals:
    void timeout();

private slots:
    void check();

private:
    static void clockAdvanced();

    QTimer mTimer;
    uint32_t mDeadline = 0;
    bool mActive = false;
};
