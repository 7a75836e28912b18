#pragma once
// The file backend of the parameter store: one file, "fdatasto.dat" in the store
// directory (default "fdatasto", relative to the working directory), holding a
// 20-byte header and then the image. Reads are direct; writes are queued and
// written by a writer thread of its own, one data sync per drain.
#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "threadfunc.h"

enum : uint32_t {
    FILESTORE_HEADER_SIZE = 20,
};

// Start-up status of the file store.
enum FilestoreStatus : uint32_t {
    FILESTORE_OK = 0,
    FILESTORE_NO_DIRECTORY = 1,
    FILESTORE_NO_MEMORY = 2,
    FILESTORE_NO_FILE = 3,
    FILESTORE_SEEK_FAILED = 4,
    FILESTORE_WRITE_FAILED = 6,
};

class filestore {
public:
    // An empty directory means the working directory.
    explicit filestore(const std::string& directory);
    virtual ~filestore();
    filestore(const filestore&) = delete;
    filestore& operator=(const filestore&) = delete;

    uint32_t status() const { return mStatus; }
    const std::string& path() const { return mPath; }
    bool isOpen() const { return mFd >= 0; }

    // 1 when size bytes were read at header + offset.
    uint32_t read(uint32_t offset, uint32_t size, void* buffer);
    // 1 when the request was queued (the data are copied), 0 when the file is not open.
    uint32_t write(uint32_t id, uint32_t offset, uint32_t size, const void* buffer);
    // Wakes the writer when writes are pending.
    void flush();
    // True once every queued request has been handled, false after timeoutMs.
    bool waitIdle(uint32_t timeoutMs);
    // Requests queued, and those whose write failed, since construction.
    uint32_t acceptedWrites() const { return mAcceptedWrites.load(); }
    uint32_t failedWrites() const { return mFailedWrites.load(); }

private:
    struct Request {
        std::vector<uint8_t> data;
        uint32_t id;
        uint32_t offset;
    };

    class Writer : public threadfunc::Thread {
    public:
        explicit Writer(filestore& owner);
        ~Writer() override;

    protected:
        void run() override;

    private:
        filestore& mOwner;
    };

    bool prepareFile();
    void drain();

    std::string mPath;
    uint32_t mStatus = FILESTORE_OK;
    int mFd = -1;
    std::deque<Request> mQueue;
    threadfunc::mutex mQueueLock;
    threadfunc::semaphore mWake;
    std::atomic<bool> mPending{false};
    std::atomic<bool> mStopping{false};
    std::atomic<uint32_t> mOutstanding{0};
    std::atomic<uint32_t> mAcceptedWrites{0};
    std::atomic<uint32_t> mFailedWrites{0};
    uint32_t mFailureStreak = 0; // writer thread only
    Writer* mWriter = nullptr;
};

// Replaces the store directory used by the next filestoreCreate by dir\fdatasto.
void filestoreSetPath(const char* dir);
// Makes the global file store; 1 when it exists (its status tells whether the file is usable).
uint32_t filestoreCreate();
// Backend functions of the global file store (dsnvmem.h).
uint32_t filestoreRead(uint32_t context, uint32_t id, uint32_t offset, uint32_t size, void* buffer);
uint32_t filestoreWrite(uint32_t context, uint32_t id, uint32_t offset, uint32_t size, const void* buffer);
void filestoreFlush();
// The global file store, nullptr before filestoreCreate.
filestore* filestoreInstance();
// Waits until the writer has handled every queued request, then ends the global
// file store (program end, and restarts in tests).
void filestoreDestroy();
