#pragma once
// The file layer's path operations: path expansion, opening by numbered mode
// (creating missing parent directories), directory paths, existence and type
// tests, disk space, the working directory, the read-only flag and a
// process-wide directory iteration by wildcard pattern. Nothing here logs.
// The logged descriptor operations and the C-style forwarding layer come with
// this header.
#include "cfilefunc.h"
#include "filedesc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Numbered open modes of openFile; any other value opens read-only. New files
// get permissions 0775 before the umask; only FILE_MODE_WRITE_TRUNCATE truncates.
enum FileOpenMode {
    FILE_MODE_READ = 0,
    FILE_MODE_READ_WRITE = 1,          // create
    FILE_MODE_WRITE = 2,               // create
    FILE_MODE_READ_WRITE_APPEND = 3,   // create
    FILE_MODE_WRITE_APPEND = 4,        // create
    FILE_MODE_WRITE_TRUNCATE = 5,      // create, truncate
};

// A leading '~' becomes the real user's home directory from the password
// database; then every backslash becomes '/'.
std::string expandPath(const std::string& path);
// Text before the last '/'; "/" for a path directly below the root, "." for a
// path without '/'.
std::string parentDirectory(const std::string& path);
// fdatasync on a directory so that its entries reach the medium; silent.
void syncDirectory(const std::string& path);
void syncParentDirectory(const std::string& path);

// Opens the expanded path; creating modes first make the missing parent
// directories. Returns the descriptor or -1. Retries on EINTR.
int openFile(const std::string& path, int mode);
int openFileRead(const std::string& path);
int openFileReadWrite(const std::string& path);
int openFileWriteOnly(const std::string& path);

// Creates the expanded path with all missing parents (0755). An empty component
// ("a//b") fails; a trailing '/' is allowed; empty or "/" answers true. Never
// changes the working directory, so relative paths of other threads stay put.
bool makePath(const std::string& path);

bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
// stat size (no expansion), 0 on failure.
uint64_t fileSizeOfPath(const std::string& path);

// realpath + statvfs; free counts the blocks reserved for the superuser too.
bool diskSpaceOfPath(const std::string& path, uint64_t* freeBytes, uint64_t* totalBytes);
// Drives 'a', 'A', 'c', 'C', '/', '\\' measure "/"; any other gives false.
bool diskSpaceOfDrive(char drive, uint64_t* freeBytes, uint64_t* totalBytes);
constexpr uint64_t kUnknownBytes = ~static_cast<uint64_t>(0);
uint64_t freeBytesOfPath(const std::string& path);
uint64_t totalBytesOfPath(const std::string& path);
uint64_t freeBytesOfDrive(char drive);
uint64_t totalBytesOfDrive(char drive);

bool changeDir(const std::string& path);
// getcwd; path is left unchanged on failure.
bool currentDir(std::string& path);
// Copies at most length - 1 characters and always terminates.
bool currentDirC(int unused, char* buffer, size_t length);

bool setReadOnly(const std::string& path);
bool clearReadOnly(const std::string& path);
// realpath, empty on failure.
std::string resolvePath(const char* path);

// DOS-like directory entry.
enum DirEntryAttribute : uint8_t {
    DIR_ATTR_READ_ONLY = 0x01,
    DIR_ATTR_SYSTEM = 0x04,
    DIR_ATTR_DIRECTORY = 0x10,
};

struct DirEntry {
    uint8_t attributes = 0;
    uint32_t time = 0;  // hour * 10000 + minute * 100 + second, local
    uint32_t date = 0;  // year * 10000 + month * 100 + day, local
    uint32_t size = 0;
    std::string name;   // text after the last '/'
};

// Fills entry from stat of path (links followed); a failed stat leaves it zeroed.
void readDirEntry(DirEntry& entry, const std::string& path);
// The one process-wide iteration: starting a new one discards the old.
bool dirFindFirst(DirEntry& entry, const std::string& pattern);
bool dirFindNext(DirEntry& entry);
// Appends every match; answers whether there was a first one.
bool listDirectory(const std::string& pattern, std::vector<DirEntry>& entries);
// True when path is not a directory or holds no non-hidden entry.
bool isDirectoryEmpty(const std::string& path);
std::string dirEntryToString(const DirEntry& entry);
