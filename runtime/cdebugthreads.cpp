#include "cdebugthreads.h"

#include "cdebug.h"
#include "filefunc.h"
#include "storage.h"

namespace {
constexpr uint32_t reloadPriority = 99;
constexpr uint32_t reloadPeriodMs = 5000;
constexpr uint32_t writerPriority = 12;
constexpr uint32_t writerQueueCapacity = 100000;

thread_local const TMsgQueueUpdateThread* tWriterOfThisThread = nullptr;

bool isStopRecord(const CDebugMsg& message)
{
    return message.time.empty() && message.category.empty() &&
           message.level == CDebugLevel::LEV_NO && message.line == 0 && message.file.empty() &&
           message.function.empty() && message.text.empty();
}
}  // namespace

TIniFileUpdateThread::TIniFileUpdateThread(CDebug* owner)
    : threadfunc::TimerThread(reloadPriority, reloadPeriodMs, true), mOwner(owner)
{
    setName("log-rules");
    start();
}

TIniFileUpdateThread::~TIniFileUpdateThread()
{
    finish();
}

void TIniFileUpdateThread::onTimer()
{
    mOwner->checkLoggingFiles();
}

TMsgQueueUpdateThread::TMsgQueueUpdateThread(CDebug* owner)
    : threadfunc::CmdThread<CDebugMsg>(writerPriority, writerQueueCapacity),
      mOwner(owner),
      mDebugDir(clStorageDebugDir())
{
    makePath(mDebugDir);
    setName("log-writer");
    start();
}

TMsgQueueUpdateThread::~TMsgQueueUpdateThread()
{
    finish();
}

void TMsgQueueUpdateThread::finish()
{
    std::lock_guard<std::mutex> guard(mFinishLock);
    if (!mKeepRunning.load())
        return;
    mKeepRunning.store(false);
    mQueueInUse.store(false);
    put(CDebugMsg());
    stop();
}

void TMsgQueueUpdateThread::post(const CDebugMsg& message)
{
    if (mQueueInUse.load() && !isWriterThread())
        put(message);
    else
        mOwner->writeMessage(message, true);
}

bool TMsgQueueUpdateThread::isWriterThread() const
{
    return tWriterOfThisThread == this;
}

bool TMsgQueueUpdateThread::handle(CDebugMsg& message)
{
    tWriterOfThisThread = this;
    // Only the stop record ends the loop, so that whatever was queued before it
    // is still written.
    if (isStopRecord(message))
        return mKeepRunning.load();
    mOwner->writeMessage(message, waitingCount() == 0);
    return true;
}
