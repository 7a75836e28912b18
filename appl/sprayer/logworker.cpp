#include "logworker.h"

#include "cdebug.h"
#include "clock.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filefunc.h"
#include "greyfellcommon.h"
#include "threadfunc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

constexpr uint32_t kRecoveryMs = 5000;
constexpr auto kRecoveryPoll = std::chrono::milliseconds(100);
constexpr uint32_t kStackBytes = 1048576;
constexpr int kPriority = 99;

// The whole file; false when it cannot be opened or read to its end.
bool readWhole(const std::string& path, std::string& text)
{
    const int fd = openFileRead(path);
    if (fd < 0)
        return false;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fd);
    return n == 0;
}

}  // namespace

LogWorker::LogWorker(const LogWorkerConfig& config, const char* directory)
    : mConfig(config), mDir(directory ? directory : "")
{
    if (!dirExists(mDir.c_str()) && !mDir.empty())
        makePathC(mDir.c_str());
    // A directory made just now takes lines at once: nothing of the first
    // seconds after a first start is lost.
    mDirOk = dirExists(mDir.c_str());
    if (mDirOk)
        openCurrent();
    else
        printf(mConfig.openFailed, mDir.c_str());
    mFailedSinceMs = clockGetMs();
    mThread = threadfunc::ThreadCreate(kPriority, &LogWorker::entry, this, kStackBytes, __FILE__, __LINE__);
}

LogWorker::~LogWorker()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mStop = true;
    }
    mWake.notify_all();
    if (mThread != 0)
        threadfunc::threadJoin(mThread);
    closeCurrent();
}

std::string LogWorker::path(const char* stem) const
{
    return mDir + stem + ".log";
}

void LogWorker::setEnabled(bool on)
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mEnabled = on;
    }
    mWake.notify_all();
}

bool LogWorker::queueLine(const std::string& line)
{
    if (!mEnabled || !mDirOk || !mFileOk)
        return false;
    {
        std::lock_guard<std::mutex> lock(mLock);
        mQueue.push_back(Entry{line, false});
    }
    mWake.notify_all();
    return true;
}

void LogWorker::queueRotation()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mQueue.push_back(Entry{std::string(), true});
    }
    mWake.notify_all();
}

void LogWorker::requestBuild()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mBuildRequest = true;
    }
    mWake.notify_all();
}

void LogWorker::requestExport()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mBuildRequest = true;
        mExportRequest = true;
    }
    mWake.notify_all();
}

void LogWorker::requestClear()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mClearRequest = true;
    }
    mWake.notify_all();
}

bool LogWorker::buildAndWait(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mLock);
    const uint32_t before = mBuildsDone;
    mBuildRequest = true;
    mWake.notify_all();
    // A build that was already running when asked does not count: it may have
    // read the files before the caller's last line was written.
    const bool done = mServed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return !mBuildRequest && !mBuildRunning && mBuildsDone != before;
    });
    return done && mLastBuildOk;
}

bool LogWorker::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(mLock);
    return mServed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return !mBusy && !hasWork(); });
}

bool LogWorker::hasWork() const
{
    const bool requests = mBuildRequest || mExportRequest || mClearRequest;
    return !mQueue.empty() || (requests && mEnabled);
}

void* LogWorker::entry(void* self)
{
    LogWorker* worker = static_cast<LogWorker*>(self);
    threadfunc::setThreadName(worker->mConfig.readableStem + 1);
    worker->run();
    return nullptr;
}

void LogWorker::run()
{
    std::unique_lock<std::mutex> lock(mLock);
    for (;;) {
        if (mDirOk && mFileOk)
            mWake.wait(lock, [&] { return mStop || hasWork(); });
        else
            mWake.wait_for(lock, kRecoveryPoll, [&] { return mStop || hasWork(); });
        if (mStop)
            return;
        mBusy = true;
        lock.unlock();

        writeEntries();

        lock.lock();
        const bool enabled = mEnabled;
        const bool build = enabled && mBuildRequest;
        const bool exportToo = build && mExportRequest;
        const bool clearNow = enabled && !build && mClearRequest;
        if (build) {
            mBuildRequest = false;
            mBuildRunning = true;
        }
        if (exportToo)
            mExportRequest = false;
        if (clearNow)
            mClearRequest = false;
        lock.unlock();

        if (build) {
            const bool ok = this->build();
            if (!ok)
                printf("Making log file failed.\n\r");
            lock.lock();
            mBuildRunning = false;
            mLastBuildOk = ok;
            ++mBuildsDone;
            lock.unlock();
            if (exportToo && !exportToStick())
                printf("Export log file failed.\n\r");
        } else if (clearNow && !clear()) {
            printf("Clearing lag data failed.\n\r");
        }

        if (!mDirOk || !mFileOk) {
            if (static_cast<int32_t>(clockGetMs() - mFailedSinceMs) >= static_cast<int32_t>(kRecoveryMs)) {
                mDirOk = dirExists(mDir.c_str());
                if (mDirOk)
                    openCurrent();
                mFailedSinceMs = clockGetMs();
            }
        }

        lock.lock();
        mBusy = false;
        mServed.notify_all();
    }
}

bool LogWorker::holdsCurrentFile() const
{
    struct stat held;
    struct stat named;
    return mFd >= 0 && ::fstat(mFd, &held) == 0 && ::stat(currentPath().c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

void LogWorker::followCurrentFile()
{
    if (!mFileOk || holdsCurrentFile())
        return;
    // The file was deleted or replaced under the open descriptor (its folder
    // removed, and perhaps made again): writes there would succeed and be lost.
    closeCurrent();
    mDirOk = dirExists(mDir.c_str());
    if (mDirOk) {
        openCurrent();
    } else {
        mFileOk = false;
        mFailedSinceMs = clockGetMs();
    }
}

void LogWorker::writeEntries()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mQueue.empty())
            return;
    }
    followCurrentFile();
    for (;;) {
        Entry entry;
        {
            std::lock_guard<std::mutex> lock(mLock);
            if (mQueue.empty())
                return;
            entry = std::move(mQueue.front());
            mQueue.pop_front();
        }
        if (entry.rotate) {
            if (!rotate())
                printf("%s", mConfig.backupFailed);
            continue;
        }
        if (!mFileOk)
            continue;
        if (!fileWrite(mFd, entry.line.data(), entry.line.size())) {
            mFileOk = false;
            mFailedSinceMs = clockGetMs();
        }
    }
}

bool LogWorker::openCurrent()
{
    closeCurrent();
    const std::string current = currentPath();
    mFd = fileOpenWrite(current.c_str());
    if (mConfig.logOpen)
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "open/create alarm log file: %s", current.c_str());
    uint32_t size = 0;
    const bool ok = mFd >= 0 && fileSize(mFd, &size) && fileSeek(mFd, -1);
    if (!ok) {
        closeCurrent();
        mFailedSinceMs = clockGetMs();
    }
    mFileOk = ok;
    return ok;
}

void LogWorker::closeCurrent()
{
    if (mFd >= 0)
        fileClose(mFd);
    mFd = -1;
}

bool LogWorker::rotate()
{
    closeCurrent();
    const std::string current = currentPath();
    const std::string backup = backupPath();
    bool ok = true;
    if (fileExists(current)) {
        // The rename replaces the old backup in one step: a power cut never
        // leaves the log without its backup.
        ok = fileRename(current, backup);
        if (ok)
            printf(mConfig.backupOpened, backup.c_str());
    }
    return openCurrent() && ok;
}

bool LogWorker::build()
{
    mEnabled = false;
    closeCurrent();
    const std::string current = currentPath();
    const std::string backup = backupPath();
    const bool hasBackup = fileExists(backup);
    const bool hasCurrent = fileExists(current);
    bool ok = true;
    if (!hasBackup && !hasCurrent) {
        printf("%s", mConfig.nothingToBuild);
    } else {
        // Joined in memory and replaced in one step, so the viewer never reads
        // a half-built file.
        std::string text;
        ok = (!hasBackup || readWhole(backup, text)) && (!hasCurrent || readWhole(current, text)) &&
             fileReplace(readablePath(), text);
        printf("%s", ok ? mConfig.built : mConfig.buildFailed);
    }
    ok = openCurrent() && ok;
    mEnabled = true;
    eventPost(EV_OWNER_PERIODIC, mConfig.savedEvent, ok ? 1 : 0);
    return ok;
}

bool LogWorker::exportToStick()
{
    if (mConfig.exportStem == nullptr)
        return false;
    mEnabled = false;
    bool ok = false;
    const std::string readable = readablePath();
    if (!isDirectory(GreyfellCommon::usbRootPath().toStdString())) {
        // Copying would create the mount directory itself.
        printf("Export log file failed #1!\n\r");
    } else if (fileExists(readable)) {
        const QString destination = GreyfellCommon::uniqueUsbFileName(mConfig.exportStem, ".log");
        ok = !destination.isEmpty() && fileCopy(destination.toStdString(), readable);
        if (!ok)
            printf("Export log file failed #1!\n\r");
    } else {
        printf("Source file does not exist!\n\r");
    }
    if (!ok)
        printf("Export log file failed!\n\r");
    eventPost(EV_OWNER_PERIODIC, mConfig.exportedEvent, ok ? 1 : 0);
    mEnabled = true;
    return ok;
}

bool LogWorker::clear()
{
    mEnabled = false;
    closeCurrent();
    bool ok = true;
    for (const std::string& file : {readablePath(), backupPath(), currentPath()}) {
        if (fileExists(file))
            ok = fileDelete(file) && ok;
    }
    if (mConfig.resetCounters != nullptr)
        mConfig.resetCounters();
    if (!ok) {
        // Stays disabled: nothing more is logged until the log is enabled again.
        printf("Error while deleting log data!\n\r");
        return false;
    }
    ok = openCurrent();
    mEnabled = true;
    if (ok)
        printf("All alarm logs has been deleted!\n\r");
    return ok;
}
