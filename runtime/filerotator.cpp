#include "filerotator.h"

#include <sys/stat.h>

FileRotator::FileRotator(int32_t sizeLimit, const std::string& fileName, int32_t fileCount)
    : mSizeLimit(sizeLimit), mFileName(fileName), mFileCount(fileCount)
{
    // Only a dot in the last path component starts the extension.
    const size_t slash = mFileName.rfind('/');
    const size_t dot = mFileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    mStem = hasExtension ? mFileName.substr(0, dot) : mFileName;
    mExtension = hasExtension ? mFileName.substr(dot) : std::string();
    // Digits for count - 1: the smallest D with 10^D >= count, none below 2.
    if (mFileCount >= 2)
        for (int64_t power = 1; power < mFileCount; power *= 10)
            ++mDigits;
}

FileRotator::~FileRotator()
{
    close();
}

std::string FileRotator::siblingName(int32_t index) const
{
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", mDigits, static_cast<int>(index));
    return mStem + number + mExtension;
}

bool FileRotator::belowLimit() const
{
    struct stat info;
    const int64_t size = ::stat(mFileName.c_str(), &info) == 0 ? info.st_size : 0;
    return size < mSizeLimit;
}

bool FileRotator::open()
{
    close();
    if (belowLimit()) {
        mFile = std::fopen(mFileName.c_str(), "a+");
    } else {
        rotate();
        mFile = std::fopen(mFileName.c_str(), "w+");
    }
    return mFile != nullptr;
}

void FileRotator::close()
{
    if (mFile)
        std::fclose(mFile);
    mFile = nullptr;
}

size_t FileRotator::write(const std::string& text)
{
    if (!mFile)
        return 0;
    if (!belowLimit()) {
        close();
        rotate();
        mFile = std::fopen(mFileName.c_str(), "w+");
        if (!mFile)
            return 0;
    }
    const size_t written = std::fwrite(text.data(), 1, text.size(), mFile);
    // The limit is measured on disk, so nothing may wait in the stream's buffer.
    std::fflush(mFile);
    return written;
}

size_t FileRotator::write(const char* text)
{
    return write(std::string(text ? text : ""));
}

bool FileRotator::rotate()
{
    for (int32_t index = mNextFree; index <= mFileCount; ++index) {
        const std::string sibling = siblingName(index);
        if (FILE* taken = std::fopen(sibling.c_str(), "r")) {
            std::fclose(taken);
            continue;
        }
        mNextFree = index + 1;
        return std::rename(mFileName.c_str(), sibling.c_str()) == 0;
    }
    const std::string sibling = siblingName(mWrap);
    mWrap = mWrap < mFileCount ? mWrap + 1 : 0;
    std::remove(sibling.c_str());
    return std::rename(mFileName.c_str(), sibling.c_str()) == 0;
}
