#include "cfilefunc.h"

#include "filefunc.h"

#include <atomic>
#include <cstring>
#include <string>

namespace {
std::atomic<uint8_t> currentDrive{'/'};

std::string pathOf(const char* path)
{
    return path ? std::string(path) : std::string();
}

void copyEntry(const DirEntry& from, CDirEntry* to)
{
    if (!to)
        return;
    to->attributes = from.attributes;
    to->time = from.time;
    to->date = from.date;
    to->size = from.size;
    const size_t length = from.name.size() < sizeof to->name - 1 ? from.name.size() : sizeof to->name - 1;
    std::memcpy(to->name, from.name.data(), length);
    to->name[length] = '\0';
}
}  // namespace

int fileOpenWrite(const char* path)
{
    return openFileReadWrite(pathOf(path));
}

int fileOpenWriteOnly(const char* path)
{
    return openFileWriteOnly(pathOf(path));
}

bool fileExists(const char* path)
{
    return path && fileExists(std::string(path));
}

bool dirExists(const char* path)
{
    return path && isDirectory(std::string(path));
}

bool dirFindFirst(CDirEntry* entry, const char* pattern)
{
    DirEntry found;
    if (!dirFindFirst(found, pathOf(pattern)))
        return false;
    copyEntry(found, entry);
    return true;
}

bool dirFindNext(CDirEntry* entry)
{
    DirEntry found;
    if (!dirFindNext(found))
        return false;
    copyEntry(found, entry);
    return true;
}

bool makePathC(const char* path)
{
    return makePath(pathOf(path));
}

bool changeDir(const char* path)
{
    return changeDir(pathOf(path));
}

bool fileSetDrive(uint8_t drive)
{
    currentDrive = drive;
    return true;
}

bool fileGetDrive(uint8_t* drive)
{
    if (drive)
        *drive = currentDrive;
    return true;
}

uint64_t diskFreeBytes(char drive)
{
    return freeBytesOfDrive(drive);
}

uint64_t diskTotalBytes(char drive)
{
    return totalBytesOfDrive(drive);
}

bool diskSpace(char drive, uint32_t* freeBytes, uint32_t* totalBytes)
{
    uint64_t free = 0;
    uint64_t total = 0;
    if (!diskSpaceOfDrive(drive, &free, &total))
        return false;
    if (freeBytes)
        *freeBytes = static_cast<uint32_t>(free);
    if (totalBytes)
        *totalBytes = static_cast<uint32_t>(total);
    return true;
}
