#pragma once
// The C-style file layer on const char* paths: thin forwarders to the path and
// descriptor operations. A null path counts as an empty one.
#include <cstdint>

// Directory entry filled by the C-style iteration.
struct CDirEntry {
    uint8_t attributes;
    uint32_t time;
    uint32_t date;
    uint32_t size;
    char name[64];  // at most 63 characters, always terminated
};

// Read and write, create (keeps the old content beyond what is written).
int fileOpenWrite(const char* path);
// Write only, create.
int fileOpenWriteOnly(const char* path);
// A null path answers false.
bool fileExists(const char* path);
bool dirExists(const char* path);
// The process-wide iteration; a null entry only advances.
bool dirFindFirst(CDirEntry* entry, const char* pattern);
bool dirFindNext(CDirEntry* entry);
bool makePathC(const char* path);
bool changeDir(const char* path);
// The current-drive byte, initially '/'; nothing interprets it.
bool fileSetDrive(uint8_t drive);
bool fileGetDrive(uint8_t* drive);
uint64_t diskFreeBytes(char drive);
uint64_t diskTotalBytes(char drive);
// Low 32 bits of the free and total bytes (null outputs allowed).
bool diskSpace(char drive, uint32_t* freeBytes, uint32_t* totalBytes);
