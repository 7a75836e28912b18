#include "filelogger.h"

#include "filefunc.h"
#include "threadfunc.h"
#include "toolsmisc.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int writerPriority = 99;
constexpr uint32_t writerStackSize = 1048576;

std::atomic<FileLogger*> processLogger{nullptr};
std::mutex createLock;
}  // namespace

int fileLoggerCreate(const char* directory)
{
    std::lock_guard<std::mutex> guard(createLock);
    if (processLogger.load())
        return 0;
    // Alive until the process ends, like its writer thread.
    processLogger.store(new FileLogger(directory ? directory : ""));
    return 1;
}

void fileLoggerSetEnabled(int on)
{
    if (FileLogger* logger = processLogger.load())
        logger->setEnabled(on != 0);
}

int fileLoggerPrintf(const char* format, ...)
{
    FileLogger* logger = processLogger.load();
    if (!logger)
        return 0;
    va_list args;
    va_start(args, format);
    const int result = logger->vprintf(format, args);
    va_end(args);
    return result;
}

FileLogger::FileLogger(const std::string& directory, int passMs, int passesPerDirectoryTest)
    : mDirectory(directory), mPassMs(passMs), mPassesPerDirectoryTest(passesPerDirectoryTest)
{
    mDirectoryPresent.store(isDirectory(mDirectory));
    if (mDirectoryPresent.load())
        openNextFile();
    mThread = threadfunc::ThreadCreate(writerPriority, writerEntry, this, writerStackSize, __FILE__,
                                       __LINE__);
}

FileLogger::~FileLogger()
{
    {
        std::lock_guard<std::mutex> guard(mStopLock);
        mStop = true;
    }
    mStopSignal.notify_all();
    if (mThread)
        threadfunc::threadJoin(mThread);
    closeFile();
}

int FileLogger::printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = vprintf(format, args);
    va_end(args);
    return result;
}

int FileLogger::vprintf(const char* format, va_list args)
{
    if (!mEnabled.load() || !mDirectoryPresent.load())
        return 1;
    char buffer[recordBufferSize];
    const int wanted = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (wanted < 0)
        return 0;
    if (mFd.load() < 0)
        return 0;
    const size_t length = static_cast<size_t>(wanted) < sizeof buffer ? static_cast<size_t>(wanted)
                                                                       : sizeof buffer - 1;
    std::lock_guard<std::mutex> guard(mQueueLock);
    mQueue.push_back(Record{std::string(buffer, length)});
    return 1;
}

std::string FileLogger::currentFile()
{
    std::lock_guard<std::mutex> guard(mFileNameLock);
    return mFileName;
}

void* FileLogger::writerEntry(void* self)
{
    threadfunc::setThreadName("file-logger");
    static_cast<FileLogger*>(self)->writerLoop();
    return nullptr;
}

void FileLogger::setEnabled(bool on)
{
    if (mEnabled.exchange(on) == on)
        return;
    // Taken so that the writer cannot miss the switch between its test and its sleep.
    std::lock_guard<std::mutex> guard(mStopLock);
    mStopSignal.notify_all();
}

void FileLogger::writerLoop()
{
    const std::chrono::milliseconds passTime(mPassMs);
    const auto testPeriod = passTime * mPassesPerDirectoryTest;
    auto nextTest = std::chrono::steady_clock::now() + testPeriod;
    for (;;) {
        bool ok = mFd.load() >= 0;
        std::deque<Record> pending;
        {
            std::lock_guard<std::mutex> guard(mQueueLock);
            pending.swap(mQueue);
        }
        // After a failed write the rest of the pass is discarded.
        for (const Record& record : pending)
            if (ok)
                ok = writeRecord(record);

        const bool enabled = mEnabled.load();
        if (!enabled && mPreviousEnabled)
            openNextFile();
        mPreviousEnabled = enabled;

        // Records are queued only while recording is on and the directory is
        // there; otherwise the writer has nothing to do until the next
        // directory test or until recording is switched.
        const auto now = std::chrono::steady_clock::now();
        const bool recording = enabled && mDirectoryPresent.load();
        const auto wake = recording ? std::min(now + passTime, nextTest) : nextTest;
        {
            std::unique_lock<std::mutex> lock(mStopLock);
            mStopSignal.wait_until(lock, wake, [this, enabled] { return mStop || mEnabled.load() != enabled; });
            if (mStop)
                break;
        }

        // The directory is looked at again every test period even while
        // writes succeed: a file whose directory was removed still takes writes.
        if (std::chrono::steady_clock::now() < nextTest)
            continue;
        nextTest = std::chrono::steady_clock::now() + testPeriod;
        if (!isDirectory(mDirectory)) {
            closeFile();
            mDirectoryPresent.store(false);
        } else if (!mDirectoryPresent.load() || !ok || !openFileStillLinked()) {
            mDirectoryPresent.store(true);
            openNextFile();
        }
    }
    // Whatever was queued before the end still goes out.
    std::deque<Record> pending;
    {
        std::lock_guard<std::mutex> guard(mQueueLock);
        pending.swap(mQueue);
    }
    bool ok = mFd.load() >= 0;
    for (const Record& record : pending)
        if (ok)
            ok = writeRecord(record);
}

bool FileLogger::writeRecord(const Record& record)
{
    const int fd = mFd.load();
    const int64_t start = filePosition(fd);
    if (fileWrite(fd, record.bytes.data(), record.bytes.size()))
        return true;
    // A full or pulled medium may have taken part of the record: cut it off, so
    // that the next record, once there is room again, starts a line of its own.
    // A file that cannot be cut back is left for the next numbered one.
    const bool cut = start >= 0 && start <= INT32_MAX && fileChangeSize(fd, static_cast<int32_t>(start)) &&
                     fileSeek(fd, static_cast<int32_t>(start));
    if (!cut)
        openNextFile();
    return false;
}

bool FileLogger::openFileStillLinked()
{
    struct stat info;
    const int fd = mFd.load();
    return fd >= 0 && fstat(fd, &info) == 0 && info.st_nlink > 0;
}

void FileLogger::closeFile()
{
    const int fd = mFd.exchange(-1);
    if (fd >= 0)
        fileClose(fd);
    std::lock_guard<std::mutex> guard(mFileNameLock);
    mFileName.clear();
}

bool FileLogger::openNextFile()
{
    closeFile();
    std::string name;
    for (;;) {
        mSequence = static_cast<uint16_t>(mSequence + 1);
        if (mSequence == 0)
            return false;
        name = stringPrintf("%s/fileLog%05u.log", mDirectory.c_str(), static_cast<unsigned>(mSequence));
        std::printf("Try log file: %s\n\r", name.c_str());
        std::fflush(stdout);
        if (!fileExists(name))
            break;
    }
    // A plain open: the logger must never create its directory.
    int fd;
    do
        fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0775);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    {
        std::lock_guard<std::mutex> guard(mFileNameLock);
        mFileName = name;
    }
    mFd.store(fd);
    return true;
}
