#include "filefunc.h"

#include "toolsmisc.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {
constexpr size_t kPathBufferSize = 4096;

std::string passwordHome()
{
    struct passwd record;
    struct passwd* found = nullptr;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    while (::getpwuid_r(::getuid(), &record, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found && found->pw_dir ? std::string(found->pw_dir) : std::string();
}

bool statIs(const std::string& path, mode_t type)
{
    struct stat info;
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

// The walk of makePath on an already expanded path: mkdir on each prefix, so the
// working directory of the process is never touched.
bool makeExpandedPath(const std::string& path)
{
    if (path.empty() || path == "/")
        return true;
    std::string prefix;
    size_t pos = 0;
    if (path[0] == '/') {
        prefix = "/";
        pos = 1;
    }
    bool ok = true;
    while (pos < path.size()) {
        const size_t slash = path.find('/', pos);
        const std::string component = path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        if (component.empty()) {
            ok = false;
            break;
        }
        prefix += component;
        if (!statIs(prefix, S_IFDIR)) {
            if (::mkdir(prefix.c_str(), 0755) == 0)
                syncParentDirectory(prefix);
            else if (!(errno == EEXIST && statIs(prefix, S_IFDIR))) {
                ok = false;
                break;
            }
        }
        if (slash == std::string::npos)
            break;
        prefix += '/';
        pos = slash + 1;
    }
    syncParentDirectory(path);
    return ok;
}

int openFlags(int mode)
{
    switch (mode) {
    case FILE_MODE_READ_WRITE: return O_RDWR | O_CREAT;
    case FILE_MODE_WRITE: return O_WRONLY | O_CREAT;
    case FILE_MODE_READ_WRITE_APPEND: return O_RDWR | O_CREAT | O_APPEND;
    case FILE_MODE_WRITE_APPEND: return O_WRONLY | O_CREAT | O_APPEND;
    case FILE_MODE_WRITE_TRUNCATE: return O_WRONLY | O_CREAT | O_TRUNC;
    default: return O_RDONLY;
    }
}

bool changeWriteBit(const std::string& path, bool writable)
{
    const std::string expanded = expandPath(path);
    struct stat info;
    if (::stat(expanded.c_str(), &info) != 0)
        return false;
    mode_t mode = info.st_mode & 07777;
    mode = writable ? (mode | S_IWUSR) : (mode & ~static_cast<mode_t>(S_IWUSR));
    return ::chmod(expanded.c_str(), mode) == 0;
}

bool isDriveOfRoot(char drive)
{
    return drive == 'a' || drive == 'A' || drive == 'c' || drive == 'C' || drive == '/' || drive == '\\';
}

// The one directory iteration of the process. The lock only keeps the list
// whole; callers still run one listing at a time.
struct DirIteration {
    std::mutex lock;
    std::vector<std::string> matches;
    size_t cursor = 0;
};

DirIteration& dirIteration()
{
    static DirIteration iteration;
    return iteration;
}
}  // namespace

std::string expandPath(const std::string& path)
{
    std::string expanded = path;
    if (!expanded.empty() && expanded[0] == '~') {
        const std::string home = passwordHome();
        if (!home.empty())
            expanded = home + expanded.substr(1);
    }
    for (char& c : expanded) {
        if (c == '\\')
            c = '/';
    }
    return expanded;
}

std::string parentDirectory(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void syncDirectory(const std::string& path)
{
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return;
    ::fdatasync(fd);
    ::close(fd);
}

void syncParentDirectory(const std::string& path)
{
    syncDirectory(parentDirectory(path));
}

int openFile(const std::string& path, int mode)
{
    const std::string expanded = expandPath(path);
    const int flags = openFlags(mode);
    if ((flags & O_CREAT) && expanded.find('/') != std::string::npos) {
        const std::string parent = parentDirectory(expanded);
        if (!statIs(parent, S_IFDIR))
            makeExpandedPath(parent);
    }
    int fd;
    do {
        fd = ::open(expanded.c_str(), flags | O_CLOEXEC, 0775);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openFileRead(const std::string& path)
{
    return openFile(path, FILE_MODE_READ);
}

int openFileReadWrite(const std::string& path)
{
    return openFile(path, FILE_MODE_READ_WRITE);
}

int openFileWriteOnly(const std::string& path)
{
    return openFile(path, FILE_MODE_WRITE);
}

bool makePath(const std::string& path)
{
    return makeExpandedPath(expandPath(path));
}

bool fileExists(const std::string& path)
{
    return statIs(expandPath(path), S_IFREG);
}

bool isDirectory(const std::string& path)
{
    return statIs(expandPath(path), S_IFDIR);
}

uint64_t fileSizeOfPath(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

bool diskSpaceOfPath(const std::string& path, uint64_t* freeBytes, uint64_t* totalBytes)
{
    const std::string resolved = canonicalPath(expandPath(path));
    if (resolved.empty())
        return false;
    struct statvfs info;
    if (::statvfs(resolved.c_str(), &info) != 0)
        return false;
    // Block counts are in units of the fragment size.
    const uint64_t unit = info.f_frsize ? info.f_frsize : info.f_bsize;
    if (freeBytes)
        *freeBytes = unit * static_cast<uint64_t>(info.f_bfree);
    if (totalBytes)
        *totalBytes = unit * static_cast<uint64_t>(info.f_blocks);
    return true;
}

bool diskSpaceOfDrive(char drive, uint64_t* freeBytes, uint64_t* totalBytes)
{
    return isDriveOfRoot(drive) && diskSpaceOfPath("/", freeBytes, totalBytes);
}

uint64_t freeBytesOfPath(const std::string& path)
{
    uint64_t bytes = 0;
    return diskSpaceOfPath(path, &bytes, nullptr) ? bytes : kUnknownBytes;
}

uint64_t totalBytesOfPath(const std::string& path)
{
    uint64_t bytes = 0;
    return diskSpaceOfPath(path, nullptr, &bytes) ? bytes : kUnknownBytes;
}

uint64_t freeBytesOfDrive(char drive)
{
    uint64_t bytes = 0;
    return diskSpaceOfDrive(drive, &bytes, nullptr) ? bytes : kUnknownBytes;
}

uint64_t totalBytesOfDrive(char drive)
{
    uint64_t bytes = 0;
    return diskSpaceOfDrive(drive, nullptr, &bytes) ? bytes : kUnknownBytes;
}

bool changeDir(const std::string& path)
{
    return ::chdir(path.c_str()) == 0;
}

bool currentDir(std::string& path)
{
    char buffer[kPathBufferSize];
    if (!::getcwd(buffer, sizeof buffer))
        return false;
    path = buffer;
    return true;
}

bool currentDirC(int, char* buffer, size_t length)
{
    std::string path;
    if (!buffer || length == 0 || !currentDir(path))
        return false;
    const size_t count = path.size() < length - 1 ? path.size() : length - 1;
    std::memcpy(buffer, path.data(), count);
    buffer[count] = '\0';
    return true;
}

bool setReadOnly(const std::string& path)
{
    return changeWriteBit(path, false);
}

bool clearReadOnly(const std::string& path)
{
    return changeWriteBit(path, true);
}

std::string resolvePath(const char* path)
{
    if (!path)
        return std::string();
    char buffer[PATH_MAX];
    return ::realpath(path, buffer) ? std::string(buffer) : std::string();
}

void readDirEntry(DirEntry& entry, const std::string& path)
{
    entry = DirEntry();
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return;
    const unsigned type = info.st_mode & S_IFMT;
    if (type & 0x4000)
        entry.attributes |= DIR_ATTR_DIRECTORY;
    if (!(type & 0x4000) && !(type & 0x8000))
        entry.attributes |= DIR_ATTR_SYSTEM;
    if (!(info.st_mode & S_IWUSR))
        entry.attributes |= DIR_ATTR_READ_ONLY;
    struct tm local;
    if (::localtime_r(&info.st_mtime, &local)) {
        entry.time = static_cast<uint32_t>(local.tm_hour * 10000 + local.tm_min * 100 + local.tm_sec);
        entry.date = static_cast<uint32_t>((local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday);
    }
    entry.size = static_cast<uint32_t>(info.st_size);
    const size_t slash = path.rfind('/');
    entry.name = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool dirFindFirst(DirEntry& entry, const std::string& pattern)
{
    DirIteration& iteration = dirIteration();
    std::lock_guard<std::mutex> guard(iteration.lock);
    iteration.matches = globPaths(expandPath(pattern), false);
    iteration.cursor = 0;
    if (iteration.matches.empty())
        return false;
    readDirEntry(entry, iteration.matches[0]);
    return true;
}

bool dirFindNext(DirEntry& entry)
{
    DirIteration& iteration = dirIteration();
    std::lock_guard<std::mutex> guard(iteration.lock);
    if (iteration.cursor + 1 >= iteration.matches.size()) {
        iteration.matches.clear();
        iteration.cursor = 0;
        return false;
    }
    ++iteration.cursor;
    readDirEntry(entry, iteration.matches[iteration.cursor]);
    return true;
}

bool listDirectory(const std::string& pattern, std::vector<DirEntry>& entries)
{
    // A listing of its own: a caller's running iteration is left alone.
    const std::vector<std::string> matches = globPaths(expandPath(pattern), false);
    for (const std::string& match : matches) {
        DirEntry entry;
        readDirEntry(entry, match);
        entries.push_back(entry);
    }
    return !matches.empty();
}

bool isDirectoryEmpty(const std::string& path)
{
    const std::string expanded = expandPath(path);
    if (!statIs(expanded, S_IFDIR))
        return true;
    return globPaths(pathJoin(globEscape(expanded), "*"), false).empty();
}

std::string dirEntryToString(const DirEntry& entry)
{
    return stringPrintf("attrib: 0x%2x; time: %6u; date: %6u; size: %10u; '%s'",
                        static_cast<unsigned>(entry.attributes), static_cast<unsigned>(entry.time),
                        static_cast<unsigned>(entry.date), static_cast<unsigned>(entry.size),
                        entry.name.c_str());
}
