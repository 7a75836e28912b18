#include "filedesc.h"

#include "cdebug.h"
#include "filefunc.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr const char* kCategory = "cfilefunc";
constexpr size_t kPathBufferSize = 4096;
constexpr size_t kCopyBlockSize = 512;

std::string errorText(int error)
{
    char buffer[256];
    return std::string(::strerror_r(error, buffer, sizeof buffer));
}

std::string failureText(const char* action, int fd, int error)
{
    return std::string(action) + std::to_string(fd) + " with errno " + errorText(error);
}

// A macro so that the log line names the operation that failed.
#define LOG_FAILURE(action, fd, error) \
    CDEBUG_LOG_TEXT(CDebugLevel::DEB, kCategory, failureText((action), (fd), (error)))

// The path of an open descriptor; empty (with a warning) when it cannot be read.
std::string getPath(int fd)
{
    std::vector<char> buffer(kPathBufferSize, '\0');
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    if (::readlink(link.c_str(), buffer.data(), buffer.size() - 1) < 0) {
        const int error = errno;
        CDEBUG_LOG_TEXT(CDebugLevel::WAR, kCategory,
                        "failed to retrieve file path for file descriptor " + std::to_string(fd) + ". " +
                            errorText(error));
        return std::string();
    }
    return std::string(buffer.data());
}

// Only errors that mean the data did not reach the medium; descriptors of
// pipes and devices cannot be synced and that is no failure of the close.
bool lostData(int error)
{
    return error == EIO || error == ENOSPC || error == EDQUOT;
}

bool readRaw(int fd, char* byte)
{
    ssize_t n;
    do {
        n = ::read(fd, byte, 1);
    } while (n < 0 && errno == EINTR);
    return n == 1;
}

bool copyData(int from, int to, uint64_t size)
{
    char block[kCopyBlockSize];
    uint64_t remaining = size;
    while (remaining > kCopyBlockSize) {
        if (!fileRead(from, block, kCopyBlockSize) || !fileWrite(to, block, kCopyBlockSize))
            return false;
        remaining -= kCopyBlockSize;
    }
    const size_t rest = static_cast<size_t>(remaining);
    return rest == 0 || (fileRead(from, block, rest) && fileWrite(to, block, rest));
}

bool descriptorSize(int fd, uint64_t& size)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return false;
    size = static_cast<uint64_t>(info.st_size);
    return true;
}

// Copies into a new file that did not exist before; a failed copy leaves none.
bool copyIntoNew(const std::string& destination, const std::string& source)
{
    struct stat before;
    const bool existed = ::lstat(expandPath(destination).c_str(), &before) == 0;
    const int in = openFileRead(source);
    if (in < 0)
        return false;
    uint64_t size = 0;
    bool ok = descriptorSize(in, size);
    const int out = ok ? openFileReadWrite(destination) : -1;
    ok = ok && out >= 0 && copyData(in, out, size);
    fileClose(in);
    if (out >= 0)
        ok = fileClose(out) && ok;
    if (!ok && out >= 0 && !existed)
        fileDelete(destination);
    return ok;
}

// Writes all length bytes, continuing after a short write; a full medium ends
// it with the error that the next write reports.
bool writeWhole(int fd, const char* data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            LOG_FAILURE("failed to write file handle ", fd, error);
            return false;
        }
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

// A new file beside target that no other writer uses.
int openSibling(const std::string& target, mode_t mode, std::string& sibling)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        sibling = target + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".part";
        int fd;
        do {
            fd = ::open(sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        } while (fd < 0 && errno == EINTR);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Replaces the file at path by what fill writes: the content goes into a
// sibling that is synced and then renamed over the old file, so the old file
// stays whole until the new one is complete on the medium. A failure leaves
// no sibling behind.
bool replaceFile(const std::string& path, const std::function<bool(int)>& fill)
{
    const std::string target = expandPath(path);
    struct stat old;
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode))
        return false;
    const std::string parent = parentDirectory(target);
    if (!existed && !isDirectory(parent) && !makePath(parent))
        return false;
    std::string sibling;
    const int out = openSibling(target, existed ? (old.st_mode & 07777) : 0775, sibling);
    if (out < 0)
        return false;
    // The umask narrowed the old mode; a medium without modes (a FAT stick)
    // refuses the change, which costs nothing there.
    if (existed)
        ::fchmod(out, old.st_mode & 07777);
    bool ok = fill(out) && fileFlush(out);
    ok = fileClose(out) && ok;
    ok = ok && fileRename(sibling, target);
    if (!ok)
        ::unlink(sibling.c_str());
    return ok;
}

bool replaceByCopy(const std::string& destination, const std::string& source)
{
    const int in = openFileRead(source);
    if (in < 0)
        return false;
    uint64_t size = 0;
    const bool ok = descriptorSize(in, size) &&
                    replaceFile(destination, [in, size](int out) { return copyData(in, out, size); });
    fileClose(in);
    return ok;
}
}  // namespace

bool fileGetChar(int fd, char* c)
{
    char scratch;
    char* out = c ? c : &scratch;
    ssize_t n;
    do {
        n = ::read(fd, out, 1);
    } while (n < 0 && errno == EINTR);
    if (n == 1)
        return true;
    const int error = errno;
    *out = static_cast<char>(0xFF);
    if (n < 0)
        LOG_FAILURE("failed to get char ", fd, error);
    return false;
}

bool fileGetCharDefault(int fd, char* c)
{
    return fileGetChar(fd, c);
}

int fileOpenRead(const char* path)
{
    const char* name = path ? path : "";
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "filename = %s", name);
    return openFileRead(name);
}

bool fileDelete(const std::string& path)
{
    const std::string expanded = expandPath(path);
    if (::remove(expanded.c_str()) != 0) {
        const int error = errno;
        CDEBUG_LOG_TEXT(CDebugLevel::DEB, kCategory, "failed to delete " + path + " with errno : " + errorText(error));
        return false;
    }
    syncParentDirectory(expanded);
    return true;
}

bool fileDelete(const char* path)
{
    return fileDelete(std::string(path ? path : ""));
}

bool fileRename(const std::string& from, const std::string& to)
{
    const std::string source = expandPath(from);
    const std::string destination = expandPath(to);
    int rc;
    do {
        rc = ::rename(source.c_str(), destination.c_str());
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        CDEBUG_LOG_TEXT(CDebugLevel::DEB, kCategory, "failed to rename " + from + " with errno " + errorText(error));
        return false;
    }
    const std::string sourceParent = parentDirectory(source);
    const std::string destinationParent = parentDirectory(destination);
    syncDirectory(sourceParent);
    if (destinationParent != sourceParent)
        syncDirectory(destinationParent);
    return true;
}

bool fileRename(const char* from, const char* to)
{
    return fileRename(std::string(from ? from : ""), std::string(to ? to : ""));
}

bool fileFlush(int fd)
{
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        LOG_FAILURE("failed to sync file handle ", fd, error);
        return false;
    }
    return true;
}

bool fileChangeSize(int fd, int32_t size)
{
    int rc;
    do {
        rc = ::ftruncate(fd, size);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        LOG_FAILURE("failed to resize file handle ", fd, error);
        return false;
    }
    return true;
}

bool fileWrite(int fd, const void* data, size_t length)
{
    ssize_t n;
    do {
        n = ::write(fd, data, length);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        const int error = errno;
        LOG_FAILURE("failed to write file handle ", fd, error);
        return false;
    }
    return static_cast<size_t>(n) == length;
}

bool fileRead(int fd, void* data, size_t length)
{
    char* next = static_cast<char*>(data);
    size_t remaining = length;
    while (remaining > 0) {
        const ssize_t n = ::read(fd, next, remaining);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            LOG_FAILURE("failed to read file handle ", fd, error);
            return false;
        }
        if (n == 0)
            return false;
        next += n;
        remaining -= static_cast<size_t>(n);
    }
    return true;
}

bool fileClose(int fd)
{
    const std::string path = getPath(fd);
    int rc;
    do {
        rc = ::fdatasync(fd);
    } while (rc != 0 && errno == EINTR);
    const int syncError = rc == 0 ? 0 : errno;
    const bool synced = rc == 0 || !lostData(syncError);
    if (!synced)
        LOG_FAILURE("failed to sync file handle ", fd, syncError);
    // Linux releases the descriptor even when close is interrupted; a retry
    // could close a descriptor that another thread has just been given.
    const int closeError = ::close(fd) == 0 ? 0 : errno;
    const bool closed = closeError == 0 || closeError == EINTR;
    if (!closed)
        LOG_FAILURE("failed to close file handle ", fd, closeError);
    if (!path.empty() && path[0] == '/')
        syncParentDirectory(path);
    return closed && synced;
}

bool fileGetLine(int fd, std::string& line, int maxCount)
{
    line.clear();
    if (fileAtEnd(fd))
        return false;
    int attempts = 0;
    char terminator = 0;
    while (attempts < maxCount) {
        char c;
        const bool got = fileGetChar(fd, &c);
        ++attempts;
        // A descriptor that yields nothing at all (a directory, a read error)
        // has no line to give: answering true would keep a reading loop going forever.
        if (!got && attempts == 1)
            return false;
        if (!got)
            break;  // a vanished or unreadable file ends the line
        if (c == '\r' || c == '\n') {
            terminator = c;
            break;
        }
        line += c;
        if (fileAtEnd(fd))
            break;
    }
    if (terminator != 0) {
        char next;
        if (readRaw(fd, &next)) {
            const char pair = terminator == '\r' ? '\n' : '\r';
            if (next != pair)
                fileStepBack(fd);
        }
    }
    return true;
}

bool fileGetLineChars(int fd, char* buffer, size_t bufferSize)
{
    if (!buffer || bufferSize == 0)
        return false;
    std::string line;
    const int maxCount = bufferSize - 1 > 0x7fffffff ? 0x7fffffff : static_cast<int>(bufferSize - 1);
    const bool result = fileGetLine(fd, line, maxCount);
    std::memcpy(buffer, line.data(), line.size());
    buffer[line.size()] = '\0';
    return result;
}

bool fileWriteLine(int fd, const std::string& text)
{
    const std::string line = text + "\r\n";
    return fileWrite(fd, line.data(), line.size());
}

bool fileWriteLine(int fd, const char* text)
{
    return fileWriteLine(fd, std::string(text ? text : ""));
}

bool writeLineFile(const std::string& path, const std::string& text)
{
    return fileReplace(path, text + "\r\n");
}

bool fileSeek(int fd, int32_t offset)
{
    if (offset >= 0)
        return ::lseek(fd, offset, SEEK_SET) >= 0;
    return ::lseek(fd, static_cast<off_t>(offset) + 1, SEEK_END) >= 0;
}

bool fileSeekRelative(int fd, int32_t distance)
{
    return ::lseek(fd, distance, SEEK_CUR) >= 0;
}

int64_t filePosition(int fd)
{
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    return position < 0 ? -1 : static_cast<int64_t>(position);
}

bool fileWriteByte(int fd, uint8_t value)
{
    ssize_t n;
    do {
        n = ::write(fd, &value, 1);
    } while (n < 0 && errno == EINTR);
    return n == 1;
}

bool fileStepBack(int fd)
{
    return ::lseek(fd, -1, SEEK_CUR) >= 0;
}

bool fileSize(int fd, uint32_t* size)
{
    uint64_t bytes = 0;
    const bool ok = descriptorSize(fd, bytes);
    if (size)
        *size = ok ? static_cast<uint32_t>(bytes) : 0;
    return ok;
}

bool fileAtEnd(int fd)
{
    char byte;
    ssize_t n;
    do {
        n = ::read(fd, &byte, 1);
    } while (n < 0 && errno == EINTR);
    if (n == 1) {
        fileStepBack(fd);
        return false;
    }
    return n == 0;
}

bool fileCopy(const std::string& destination, const std::string& source)
{
    return fileCopy(destination, source, false);
}

bool fileCopy(const char* destination, const char* source)
{
    return fileCopy(std::string(destination ? destination : ""), std::string(source ? source : ""), false);
}

bool fileCopy(const std::string& destination, const std::string& source, bool overwrite)
{
    if (fileExists(destination))
        return overwrite && replaceByCopy(destination, source);
    return copyIntoNew(destination, source);
}

size_t fileReadAll(const std::string& path, void* buffer, size_t bufferSize)
{
    const int fd = fileOpenRead(path.c_str());
    if (fd < 0)
        return 0;
    uint64_t size = 0;
    bool ok = descriptorSize(fd, size) && size <= bufferSize && fileRead(fd, buffer, static_cast<size_t>(size));
    ok = fileClose(fd) && ok;
    return ok ? static_cast<size_t>(size) : 0;
}

bool fileWriteAll(const std::string& path, const void* data, size_t length)
{
    return fileReplace(path, data, length);
}

bool fileReplace(const std::string& path, const void* data, size_t length)
{
    const char* bytes = static_cast<const char*>(data);
    return replaceFile(path, [bytes, length](int fd) { return writeWhole(fd, bytes, length); });
}

bool fileReplace(const std::string& path, const std::string& text)
{
    return fileReplace(path, text.data(), text.size());
}
