#pragma once
// The engine of the alarm log and the pressure log: lines queued by the GUI
// thread are appended by a worker thread of their own to a current file that
// rotates into a backup file; on request the worker joins both into the
// readable file, copies that to the USB stick or deletes everything.
//
// The worker blocks on its queue. A rotation travels through the queue as a
// marker behind the line that completed the file, so lines queued during a
// rotation are written after it, in order, and never dropped. Before it writes,
// the worker checks that the file it holds is still the one at its path and
// reopens it when not (the folder was removed and perhaps made again). While
// the log directory is missing or a write failed, lines are dropped and the
// worker looks for the directory again every 5 s of the monotonic clock.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <pthread.h>

struct LogWorkerConfig {
    const char* currentStem;   // "/alarmlogTmp"
    const char* backupStem;    // "/alarmlogOld"
    const char* readableStem;  // "/alarmlog"
    const char* exportStem;    // "alarmlog" on the stick; nullptr: no export
    uint32_t savedEvent;       // posted after every build with the result
    uint32_t exportedEvent;    // posted after every export with the result
    // Console messages, each printf patterns ending in "\n\r".
    const char* openFailed;     // "%s" = directory
    const char* backupOpened;   // "%s" = backup path
    const char* backupFailed;
    const char* buildFailed;
    const char* nothingToBuild;
    const char* built;
    bool logOpen;              // log the opening of the current file
    void (*resetCounters)();   // run by a clear
};

class LogWorker {
public:
    LogWorker(const LogWorkerConfig& config, const char* directory);
    // Ends and joins the worker; what is still queued is dropped.
    ~LogWorker();
    LogWorker(const LogWorker&) = delete;
    LogWorker& operator=(const LogWorker&) = delete;

    void setEnabled(bool on);
    bool enabled() const { return mEnabled; }
    // Queues one line; false when it was dropped (disabled, no directory, the
    // file failed).
    bool queueLine(const std::string& line);
    // Queues a rotation behind the lines queued so far.
    void queueRotation();
    void requestBuild();
    // A build, then in the same pass the copy of the readable log to the stick.
    void requestExport();
    void requestClear();
    // Requests a build and waits up to timeoutMs for it; true when it finished
    // with success.
    bool buildAndWait(int timeoutMs);
    // Waits up to timeoutMs until the queue and every request are served.
    bool waitIdle(int timeoutMs);

    std::string currentPath() const { return path(mConfig.currentStem); }
    std::string backupPath() const { return path(mConfig.backupStem); }
    std::string readablePath() const { return path(mConfig.readableStem); }

private:
    struct Entry {
        std::string line;
        bool rotate;
    };

    std::string path(const char* stem) const;
    static void* entry(void* self);
    void run();
    void writeEntries();
    // True when the open descriptor is the file now at the current file's path
    // (same device and inode).
    bool holdsCurrentFile() const;
    // Reopens the current file when the one held is no longer at its path.
    void followCurrentFile();
    bool openCurrent();
    void closeCurrent();
    bool rotate();
    bool build();
    bool exportToStick();
    bool clear();
    bool hasWork() const;

    const LogWorkerConfig mConfig;
    const std::string mDir;
    int mFd = -1;
    std::atomic<bool> mEnabled{false};
    std::atomic<bool> mDirOk{false};
    std::atomic<bool> mFileOk{false};
    mutable std::mutex mLock;
    std::condition_variable mWake;
    std::condition_variable mServed;
    std::deque<Entry> mQueue;
    bool mBuildRequest = false;
    bool mExportRequest = false;
    bool mClearRequest = false;
    bool mBusy = false;
    bool mBuildRunning = false;
    bool mStop = false;
    uint32_t mBuildsDone = 0;
    bool mLastBuildOk = false;
    uint32_t mFailedSinceMs = 0;
    pthread_t mThread = 0;
};
