#pragma once
// Short text records, formatted printf-style by any thread, written by a
// background thread into numbered files "fileLogNNNNN.log" of one directory.
// Made for a removable medium: the directory may be missing at first or go
// away; it is looked for again about every 5 s, and each time recording is
// switched off the next records go into a new numbered file.
#include <atomic>
#include <condition_variable>
#include <cstdarg>
#include <cstdint>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <string>

// Creates the process's file logger for the directory (created once; the
// directory itself is never created). Returns 1, or 0 when it already exists.
int fileLoggerCreate(const char* directory);
// Recording on (non-zero) or off. Without a logger nothing happens.
void fileLoggerSetEnabled(int on);
// Queues one record; longer texts are cut to the record buffer. Returns 1 when
// queued or dropped because recording is off or the directory is missing, 0 when
// no file is open or no logger exists.
int fileLoggerPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

class FileLogger {
public:
    // Largest record, terminating NUL included.
    static constexpr size_t recordBufferSize = 1024;

    // passMs: the writer's pass period while recording; the directory is
    // tested again every passesPerDirectoryTest pass periods. While recording
    // is off or the directory is missing the writer sleeps between the tests.
    explicit FileLogger(const std::string& directory, int passMs = 100,
                        int passesPerDirectoryTest = 50);
    // Ends the writer thread after writing what is queued.
    ~FileLogger();
    FileLogger(const FileLogger&) = delete;
    FileLogger& operator=(const FileLogger&) = delete;

    // Recording on or off; a switch wakes the writer.
    void setEnabled(bool on);
    int vprintf(const char* format, va_list args);
    int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Path of the file now receiving records, empty when none is open.
    std::string currentFile();

private:
    struct Record {
        std::string bytes;
    };

    static void* writerEntry(void* self);
    void writerLoop();
    // Writes one record whole or not at all.
    bool writeRecord(const Record& record);
    bool openNextFile();
    void closeFile();
    bool openFileStillLinked();

    std::atomic<int> mFd{-1};
    uint16_t mSequence = 0;
    std::deque<Record> mQueue;
    std::mutex mQueueLock;
    std::atomic<bool> mEnabled{false};
    bool mPreviousEnabled = false;
    const std::string mDirectory;
    std::atomic<bool> mDirectoryPresent{false};
    const int mPassMs;
    const int mPassesPerDirectoryTest;

    std::mutex mFileNameLock;
    std::string mFileName;

    std::mutex mStopLock;
    std::condition_variable mStopSignal;
    bool mStop = false;
    pthread_t mThread = 0;
};
