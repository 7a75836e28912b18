#pragma once
// The logger's two threads: the writer that formats and prints queued messages,
// and the reload thread that checks the rules and options files every 5000 ms.
#include "cdebugmsg.h"
#include "threadfunc.h"

#include <atomic>
#include <mutex>
#include <string>

class CDebug;

class TIniFileUpdateThread : public threadfunc::TimerThread {
public:
    explicit TIniFileUpdateThread(CDebug* owner);
    ~TIniFileUpdateThread() override;
    // Stops the timer and ends the thread. Idempotent.
    void finish() { threadfunc::TimerThread::finish(); }

protected:
    void onTimer() override;

private:
    CDebug* mOwner;
};

class TMsgQueueUpdateThread : public threadfunc::CmdThread<CDebugMsg> {
public:
    explicit TMsgQueueUpdateThread(CDebug* owner);
    ~TMsgQueueUpdateThread() override;
    // Writes everything queued so far, then ends and joins the thread; later
    // posts are written in the calling thread. Idempotent.
    void finish();

    // Queued (blocking while the queue is full) when the queue is in use,
    // else written at once in the calling thread.
    void post(const CDebugMsg& message);
    void setQueueInUse(bool inUse) { mQueueInUse.store(inUse); }
    bool queueInUse() const { return mQueueInUse.load(); }
    // True on the writer thread itself, which must never wait on its own queue.
    bool isWriterThread() const;

protected:
    bool handle(CDebugMsg& message) override;

private:
    CDebug* mOwner;
    std::atomic<bool> mQueueInUse{true};
    std::atomic<bool> mKeepRunning{true};
    std::mutex mFinishLock;
    std::string mDebugDir;
};
