#pragma once
// The file layer's descriptor operations. Every failed system call of the logged
// operations is reported under the log category "cfilefunc" and answered with
// false; calls interrupted by a signal are retried. Closing syncs the data and
// then the directory that holds the file; delete and rename sync the
// directories they change.
#include <cstddef>
#include <cstdint>
#include <string>

// ---- logged operations ----------------------------------------------------

// Reads one byte into *c (c may be null). At end of file *c is 0xFF and the
// answer is false.
bool fileGetChar(int fd, char* c);
bool fileGetCharDefault(int fd, char* c = nullptr);
// Logs the path at level debug under "cDefault", then opens read-only.
int fileOpenRead(const char* path);
// remove() of the expanded path (files and empty directories).
bool fileDelete(const std::string& path);
bool fileDelete(const char* path);
bool fileRename(const std::string& from, const std::string& to);
bool fileRename(const char* from, const char* to);
// fsync: data and metadata on the medium before closing.
bool fileFlush(int fd);
bool fileChangeSize(int fd, int32_t size);
// One write; a short write answers false (not logged, not continued).
bool fileWrite(int fd, const void* data, size_t length);
// True when exactly length bytes were read; an early end of file answers false.
bool fileRead(int fd, void* data, size_t length);
// fdatasync, close, then sync of the directory that holds the file.
bool fileClose(int fd);

// ---- lines ----------------------------------------------------------------

// Reads one line ending in CR, LF, CR LF or LF CR (terminator not stored), at
// most maxCount read attempts. False when fd is already at end of file or
// cannot be read at all.
bool fileGetLine(int fd, std::string& line, int maxCount);
// fileGetLine with bufferSize - 1 attempts, copied terminated into buffer.
bool fileGetLineChars(int fd, char* buffer, size_t bufferSize);
// Writes text followed by "\r\n" in one write.
bool fileWriteLine(int fd, const std::string& text);
bool fileWriteLine(int fd, const char* text);
// Replaces the file at path by the one line text (as fileReplace does).
bool writeLineFile(const std::string& path, const std::string& text);

// ---- descriptor operations ------------------------------------------------

// offset >= 0 from the start; negative from the end with offset + 1, so -1 is
// the end of file and -2 the last byte.
bool fileSeek(int fd, int32_t offset);
bool fileSeekRelative(int fd, int32_t distance);
// Current offset, -1 on failure.
int64_t filePosition(int fd);
bool fileWriteByte(int fd, uint8_t value);
bool fileStepBack(int fd);
// fstat size into *size (null allowed; 0 on failure).
bool fileSize(int fd, uint32_t* size);
bool fileAtEnd(int fd);

// ---- whole files ----------------------------------------------------------

// Copies source to destination; an existing destination file is never
// replaced. An empty source gives an empty destination.
bool fileCopy(const std::string& destination, const std::string& source);
bool fileCopy(const char* destination, const char* source);
// With overwrite set an existing destination ends with exactly the source's
// content and length, replaced as fileReplace does.
bool fileCopy(const std::string& destination, const std::string& source, bool overwrite);
// The file size when the whole file fitted into buffer and was read, else 0.
size_t fileReadAll(const std::string& path, void* buffer, size_t bufferSize);
// Replaces the file's content by the length bytes (as fileReplace does).
bool fileWriteAll(const std::string& path, const void* data, size_t length);
// Every rewrite of a whole file goes through here: the content is written to a
// sibling in the same directory, synced and renamed over the old file, so a
// failed write (a full medium, a pulled stick) leaves the old file byte for
// byte as it was. A missing file is created with its missing parent
// directories; an existing one keeps its mode. Anything but a regular file at
// path is refused.
bool fileReplace(const std::string& path, const void* data, size_t length);
bool fileReplace(const std::string& path, const std::string& text);
