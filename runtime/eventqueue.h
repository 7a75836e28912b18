#pragma once
// The spine of the process cycle: one global queue to which any thread posts an
// event (id, value), delivered in posting order (per posting thread) to one
// handler in the main thread, over a queued Qt connection, after the main thread
// returns to its event loop. A handler that posts has those events delivered
// after the current one, never nested.
//
// Between eventRegistryInit and eventSetCallback delivered events are kept in a
// start-up buffer of 200 and replayed, in order, to the handler when it is
// installed. Further events in that window are dropped with one log line.
//
// The event timers, the 1 s tick hooks and the main-cycle statistics belong to
// the same module and are declared in their own headers, included here.
#include "evtimer.h"
#include "loopstats.h"
#include "tickhook.h"

#include <QObject>
#include <cstdint>

typedef void (*EventHandler)(uint32_t id, uint32_t value);

// One instance (instance()), living in the main thread, whose own SendMessage
// signal is connected to its own ForwardMessage slot as a queued connection.
class CEventQueue : public QObject {
    Q_OBJECT
public:
    static CEventQueue& instance();

    void setHandler(EventHandler handler);
    EventHandler handler() const;

signals:
    void SendMessage(unsigned long id, unsigned long value);

public slots:
    // Runs in the main thread: hands the event to the handler, or drops it when none is installed.
    void ForwardMessage(unsigned long id, unsigned long value);

private:
    CEventQueue();
};

// Starts buffering: the buffer is emptied and becomes the handler. Called once by
// the platform start-up before any event is delivered.
void eventRegistryInit();
// The buffering handler: keeps the pair for the replay (the 201st and later are dropped).
void eventBufferHandler(uint32_t id, uint32_t value);
// Installs the handler and replays every buffered event to it, first to last,
// then empties the buffer. Null (or eventBufferHandler itself) re-installs the
// buffering handler and keeps the buffer.
void eventSetCallback(EventHandler handler);
// Queues one event for the main thread; callable from any thread. The owner is
// carried for the caller's bookkeeping and otherwise ignored. Always true.
bool eventPost(int owner, uint32_t id, uint32_t value);
// Events dropped because the start-up buffer was full (since eventRegistryInit).
uint32_t eventBufferDropped();
