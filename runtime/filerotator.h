#pragma once
// A size-limited text log file. When the file has reached its limit it is
// renamed to a numbered sibling (stem + index + extension) and a fresh file is
// started; indices 0 ... count are filled in ascending order first, then
// overwritten in turn from 0. One object belongs to one thread.
#include <cstdint>
#include <cstdio>
#include <string>

class FileRotator {
public:
    FileRotator(int32_t sizeLimit, const std::string& fileName, int32_t fileCount);
    virtual ~FileRotator();
    FileRotator(const FileRotator&) = delete;
    FileRotator& operator=(const FileRotator&) = delete;

    // Appends to the file while it is below the limit, else rotates and starts
    // it empty. True when a stream is open.
    bool open();
    // Rotates first when the file has reached the limit; writes the text as it
    // stands. Returns the number of characters written (0 without a stream).
    size_t write(const std::string& text);
    size_t write(const char* text);
    void close();
    // The file's size on disk is below the limit (a missing file counts as 0).
    bool belowLimit() const;

    // Name of the numbered sibling with the given index.
    std::string siblingName(int32_t index) const;

private:
    bool rotate();

    FILE* mFile = nullptr;
    int32_t mSizeLimit;
    std::string mFileName;
    std::string mStem;
    std::string mExtension;
    int32_t mNextFree = 0;
    int32_t mWrap = 0;
    int32_t mFileCount;
    int mDigits = 0;
};
