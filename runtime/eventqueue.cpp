#include "eventqueue.h"

#include "cdebug.h"

#include <atomic>

namespace {

constexpr int kBufferSize = 200;

// Start-up buffer; touched only in the main thread (delivery and start-up).
uint32_t gBufferIds[kBufferSize];
uint32_t gBufferValues[kBufferSize];
int gBufferCount = 0;
uint32_t gBufferDropped = 0;

std::atomic<EventHandler> gHandler{nullptr};

} // namespace

CEventQueue::CEventQueue()
{
    connect(this, &CEventQueue::SendMessage, this, &CEventQueue::ForwardMessage, Qt::QueuedConnection);
}

CEventQueue& CEventQueue::instance()
{
    // Never destroyed: events may still be queued for it while the process ends.
    static CEventQueue* queue = new CEventQueue;
    return *queue;
}

namespace {
// Made during static initialisation so that the queue lives in the main thread,
// whichever thread posts first.
CEventQueue& gQueueAtStart = CEventQueue::instance();
}

void CEventQueue::setHandler(EventHandler handler)
{
    gHandler.store(handler);
}

EventHandler CEventQueue::handler() const
{
    return gHandler.load();
}

void CEventQueue::ForwardMessage(unsigned long id, unsigned long value)
{
    if (EventHandler handler = gHandler.load())
        handler(static_cast<uint32_t>(id), static_cast<uint32_t>(value));
}

void eventRegistryInit()
{
    gBufferCount = 0;
    gBufferDropped = 0;
    gQueueAtStart.setHandler(eventBufferHandler);
}

void eventBufferHandler(uint32_t id, uint32_t value)
{
    if (gBufferCount >= kBufferSize) {
        if (gBufferDropped++ == 0)
            CDEBUG_LOG(CDebugLevel::WAR, "cDefault",
                       "start-up event buffer full (%d): event %u (value %u) and later ones are dropped",
                       kBufferSize, id, value);
        return;
    }
    gBufferIds[gBufferCount] = id;
    gBufferValues[gBufferCount] = value;
    ++gBufferCount;
}

void eventSetCallback(EventHandler handler)
{
    if (handler == nullptr || handler == eventBufferHandler) {
        CEventQueue::instance().setHandler(eventBufferHandler);
        return;
    }
    CEventQueue::instance().setHandler(handler);
    for (int i = 0; i < gBufferCount; ++i)
        handler(gBufferIds[i], gBufferValues[i]);
    gBufferCount = 0;
}

bool eventPost(int /*owner*/, uint32_t id, uint32_t value)
{
    emit CEventQueue::instance().SendMessage(id, value);
    return true;
}

uint32_t eventBufferDropped()
{
    return gBufferDropped;
}
