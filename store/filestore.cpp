#include "filestore.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cdebug.h"
#include "datastore.h"
#include "filefunc.h"

namespace {

// API priority 99: an ordinary thread; the write-behind is not time critical.
constexpr uint32_t writerPriority = 99;
constexpr uint32_t writerStack = 1024 * 1024;

std::string& storeDirectory()
{
    static std::string directory = "fdatasto";
    return directory;
}
filestore* globalStore = nullptr;

// pread or pwrite until size bytes have moved; a signal restarts the call.
template <typename Transfer, typename Byte>
bool transferAll(Transfer transfer, int fd, Byte* data, size_t size, off_t position)
{
    while (size > 0) {
        const ssize_t n = transfer(fd, data, size, position);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
        position += n;
    }
    return true;
}

bool writeAll(int fd, const uint8_t* data, size_t size, off_t position)
{
    return transferAll(pwrite, fd, data, size, position);
}

bool readAll(int fd, uint8_t* data, size_t size, off_t position)
{
    return transferAll(pread, fd, data, size, position);
}

void closeFd(int fd)
{
    while (close(fd) != 0 && errno == EINTR) {
    }
}

} // namespace

filestore::Writer::Writer(filestore& owner) : threadfunc::Thread(writerPriority, writerStack), mOwner(owner)
{
    setName("store-writer");
}

filestore::Writer::~Writer()
{
    stop();
}

void filestore::Writer::run()
{
    for (;;) {
        mOwner.drain();
        mOwner.mWake.wait();
        if (mOwner.mStopping.load()) {
            mOwner.drain();
            return;
        }
    }
}

filestore::filestore(const std::string& directory) : mWake(0)
{
    if (!directory.empty() && !makePath(directory)) {
        mStatus = FILESTORE_NO_DIRECTORY;
        return;
    }
    mPath = expandPath(directory.empty() ? std::string("fdatasto.dat") : directory + "\\fdatasto.dat");
    if (!prepareFile())
        return;
    mFd = openFile(mPath, FILE_MODE_READ_WRITE);
    if (mFd < 0) {
        mStatus = FILESTORE_NO_FILE;
        return;
    }
    mWriter = new Writer(*this);
    mWriter->start();
}

filestore::~filestore()
{
    if (mWriter != nullptr) {
        mStopping.store(true);
        mWake.post();
        delete mWriter;
    }
    if (mFd >= 0)
        closeFd(mFd);
}

// Leaves a file of at least the header's length whose byte 0 is 0. A file that
// is missing, empty or shorter than its header holds no image: it is laid out
// anew, so that a damaged file never switches persistence off.
bool filestore::prepareFile()
{
    const uint8_t zeros[FILESTORE_HEADER_SIZE] = {};
    struct stat info {};
    const bool usable = stat(mPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                        info.st_size >= static_cast<off_t>(FILESTORE_HEADER_SIZE);
    const int fd = openFile(mPath, usable ? FILE_MODE_READ_WRITE : FILE_MODE_WRITE_TRUNCATE);
    if (fd < 0) {
        mStatus = FILESTORE_NO_FILE;
        return false;
    }
    bool ok = true;
    if (!usable) {
        ok = writeAll(fd, zeros, sizeof zeros, 0);
        if (!ok)
            mStatus = FILESTORE_NO_FILE;
    } else {
        ok = writeAll(fd, zeros, 1, 0);
        if (!ok)
            mStatus = FILESTORE_WRITE_FAILED;
    }
    if (ok && fdatasync(fd) != 0) {
        mStatus = FILESTORE_WRITE_FAILED;
        ok = false;
    }
    closeFd(fd);
    if (ok && !usable)
        syncParentDirectory(mPath);
    return ok;
}

uint32_t filestore::read(uint32_t offset, uint32_t size, void* buffer)
{
    if (mFd < 0)
        return 0;
    return readAll(mFd, static_cast<uint8_t*>(buffer), size, FILESTORE_HEADER_SIZE + offset) ? 1 : 0;
}

uint32_t filestore::write(uint32_t id, uint32_t offset, uint32_t size, const void* buffer)
{
    if (mFd < 0)
        return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    Request request{std::vector<uint8_t>(bytes, bytes + size), id, offset};
    mQueueLock.lock();
    mQueue.push_back(std::move(request));
    ++mOutstanding;
    ++mAcceptedWrites;
    mQueueLock.unlock();
    mPending.store(true);
    return 1;
}

void filestore::flush()
{
    if (mPending.exchange(false))
        mWake.post();
}

// Every request is tried on its own: one failed write neither hides nor drops
// the others. A failed item is marked dirty again, so the next write-behind
// pass offers it anew.
void filestore::drain()
{
    bool wrote = false;
    for (;;) {
        mQueueLock.lock();
        if (mQueue.empty()) {
            mQueueLock.unlock();
            break;
        }
        Request request = std::move(mQueue.front());
        mQueue.pop_front();
        mQueueLock.unlock();
        if (writeAll(mFd, request.data.data(), request.data.size(), FILESTORE_HEADER_SIZE + request.offset)) {
            wrote = true;
            if (mFailureStreak != 0)
                CDEBUG_LOG(CDebugLevel::WAR, "cInitFile", "writes of %s succeed again after %u failures",
                           mPath.c_str(), mFailureStreak);
            mFailureStreak = 0;
        } else {
            ++mFailedWrites;
            // A medium that keeps failing would repeat this every tick: the
            // first failure of a streak and every hundredth are logged.
            if (mFailureStreak++ % 100 == 0)
                CDEBUG_LOG(CDebugLevel::CRI, "cInitFile", "write of item %u at offset %u failed: %s",
                           request.id, request.offset, std::strerror(errno));
            datastoreMarkDirty(request.id);
        }
        --mOutstanding;
    }
    if (wrote && fdatasync(mFd) != 0)
        CDEBUG_LOG(CDebugLevel::CRI, "cInitFile", "data sync of %s failed: %s", mPath.c_str(), std::strerror(errno));
}

bool filestore::waitIdle(uint32_t timeoutMs)
{
    for (uint32_t waited = 0; mOutstanding.load() != 0; waited += 2) {
        if (waited >= timeoutMs)
            return false;
        mWake.post();
        threadfunc::sleep(2);
    }
    return true;
}

void filestoreSetPath(const char* dir)
{
    storeDirectory() = std::string(dir) + "\\fdatasto";
}

uint32_t filestoreCreate()
{
    if (globalStore == nullptr)
        globalStore = new filestore(storeDirectory());
    return 1;
}

uint32_t filestoreRead(uint32_t, uint32_t, uint32_t offset, uint32_t size, void* buffer)
{
    return globalStore != nullptr ? globalStore->read(offset, size, buffer) : 0;
}

uint32_t filestoreWrite(uint32_t, uint32_t id, uint32_t offset, uint32_t size, const void* buffer)
{
    return globalStore != nullptr ? globalStore->write(id, offset, size, buffer) : 0;
}

void filestoreFlush()
{
    if (globalStore != nullptr)
        globalStore->flush();
}

filestore* filestoreInstance()
{
    return globalStore;
}

void filestoreDestroy()
{
    delete globalStore;
    globalStore = nullptr;
}
