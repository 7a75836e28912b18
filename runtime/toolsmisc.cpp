#include "toolsmisc.h"

#include "sysroot.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kFormatBufferSize = 39;  // 38 characters of text

bool isDriveDesignator(const std::string& text)
{
    return text.size() == 2 && text[1] == ':' &&
           ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= 'A' && text[0] <= 'Z'));
}

std::string formatDouble(const char* format, double value)
{
    char buffer[kFormatBufferSize];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    return n < 0 ? std::string() : std::string(buffer);
}
}  // namespace

std::string pathSeparator()
{
    return "/";
}

std::string pathJoin(const std::string& first, const std::string& second)
{
    if (second.empty())
        return first;
    if (second[0] == '/')
        return second;
    if (first.empty() || first.back() == '/' || isDriveDesignator(first))
        return first + second;
    return first + "/" + second;
}

std::string pathJoin(const std::string& a, const std::string& b, const std::string& c)
{
    return pathJoin(pathJoin(a, b), c);
}

std::string pathJoin(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d)
{
    return pathJoin(pathJoin(a, b, c), d);
}

std::string pathJoin(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d, const std::string& e)
{
    return pathJoin(pathJoin(a, b, c, d), e);
}

std::string pathDirName(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return std::string();
    return path.substr(0, slash);
}

std::string pathFileName(const std::string& path, bool stripExtension)
{
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (stripExtension) {
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos)
            name.erase(dot);
    }
    return name;
}

std::string pathExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return std::string();
    return path.substr(dot + 1, 1000000);
}

std::pair<std::string, std::string> splitExtension(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return {path, std::string()};
    return {path.substr(0, dot), path.substr(dot)};
}

bool isAbsolutePath(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

std::string canonicalPath(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return std::string();
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::string backupName(const std::string& path)
{
    return path + "~";
}

std::string substring(const std::string& text, int first, int last)
{
    const int length = static_cast<int>(text.size());
    if (last < 0)
        last = length - 1 + last;
    if (first < 0 || first >= length || last < 0 || last < first)
        return std::string();
    if (last >= length)
        last = length - 1;
    return text.substr(static_cast<size_t>(first), static_cast<size_t>(last - first + 1));
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> splitString(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    size_t start = 0;
    for (;;) {
        const size_t cut = text.find_first_of(delimiters, start);
        if (cut == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, cut - start));
        start = cut + 1;
    }
}

std::string joinStrings(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += parts[i];
    }
    return joined;
}

std::string makeString(const char* chars, size_t length)
{
    if (!chars)
        return std::string();
    if (length == kNoLength)
        return std::string(chars);
    return std::string(chars, length);
}

std::string makeString(const std::string& text)
{
    return text;
}

std::string stringPrintf(const char* format, ...)
{
    size_t room = 128;
    std::vector<char> buffer(room + 2);
    va_list args;
    va_start(args, format);
    va_list retry;
    va_copy(retry, args);
    int needed = std::vsnprintf(buffer.data(), room, format, args);
    va_end(args);
    if (needed >= 0 && static_cast<size_t>(needed) >= room) {
        room = static_cast<size_t>(needed) + 4;
        buffer.resize(room + 2);
        needed = std::vsnprintf(buffer.data(), room, format, retry);
    }
    va_end(retry);
    if (needed < 0)
        return std::string();
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

std::string formatFixed(float value, int precision, int width)
{
    return formatFixed(static_cast<double>(value), precision, width);
}

std::string formatFixed(double value, int precision, int width)
{
    char buffer[kFormatBufferSize];
    const int n = std::snprintf(buffer, sizeof buffer, "%*.*f", width, precision, value);
    return n < 0 ? std::string() : std::string(buffer);
}

std::string formatSignificant(double value, int maxLength, int significantDigits, int decimals)
{
    if (significantDigits < 1)
        significantDigits = 1;
    const double magnitude = std::fabs(value);
    std::string text;
    if (magnitude > 1.0 && static_cast<int>(std::log10(magnitude)) >= significantDigits) {
        // Whole number: round half-up by the single-precision 0.49 the display
        // has always used; printed through "%.0f" so huge values cannot overflow.
        const double rounded = std::trunc(magnitude + static_cast<double>(0.49f));
        text = formatDouble("%.0f", value < 0 ? -rounded : rounded);
    } else {
        char pattern[16];
        std::snprintf(pattern, sizeof pattern, "%%1.%de", significantDigits - 1);
        const double roundedValue = std::strtod(formatDouble(pattern, value).c_str(), nullptr);
        if (decimals < 0) {
            text = formatDouble("%g", roundedValue);
        } else {
            std::snprintf(pattern, sizeof pattern, "%%1.%df", decimals);
            text = formatDouble(pattern, roundedValue);
        }
    }
    if (maxLength >= 0 && text.size() > static_cast<size_t>(maxLength)) {
        if (magnitude > 1.0)
            text = formatDouble("%1.0e", value);
        if (text.size() > static_cast<size_t>(maxLength))
            text.resize(static_cast<size_t>(maxLength));
    }
    return text;
}

std::string integerToText(int32_t value, int base, bool upperCase)
{
    if (base < 2 || base > 36)
        return std::string();
    const char* digits = upperCase ? "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                   : "0123456789abcdefghijklmnopqrstuvwxyz";
    int64_t magnitude = value < 0 ? -static_cast<int64_t>(value) : value;
    std::string reversed;
    do {
        reversed += digits[magnitude % base];
        magnitude /= base;
    } while (magnitude > 0);
    if (value < 0)
        reversed += '-';
    return std::string(reversed.rbegin(), reversed.rend());
}

uint8_t nmeaChecksum(const std::string& sentence)
{
    size_t begin = !sentence.empty() && sentence[0] == '$' ? 1 : 0;
    size_t end = sentence.size();
    if (end >= begin + 2 && sentence[end - 2] == '\r' && sentence[end - 1] == '\n')
        end -= 2;
    if (end >= begin + 3 && sentence[end - 3] == '*' && std::isxdigit(static_cast<unsigned char>(sentence[end - 2])) &&
        std::isxdigit(static_cast<unsigned char>(sentence[end - 1])))
        end -= 3;
    if (end >= begin + 1 && sentence[end - 1] == '*')
        end -= 1;
    uint8_t sum = 0;
    for (size_t i = begin; i < end; ++i)
        sum ^= static_cast<uint8_t>(sentence[i]);
    return sum;
}

std::string nmeaChecksumText(const std::string& sentence)
{
    const uint8_t sum = nmeaChecksum(sentence);
    const std::string hex = integerToText(sum, 16, true);
    return sum < 16 ? "0" + hex : hex;
}

bool isRegularFile(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool pathIsDirectory(const std::string& path, bool followLinks)
{
    struct stat info;
    const int rc = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    return rc == 0 && S_ISDIR(info.st_mode);
}

bool isMountPoint(const std::string& path)
{
    struct stat self;
    struct stat parent;
    if (pathIsDirectory(path, true) && ::lstat(path.c_str(), &self) == 0 &&
        ::stat((path + "/" + "..").c_str(), &parent) == 0 && self.st_dev != parent.st_dev)
        return true;
    return path == "/";
}

time_t fileModTime(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mtime : 0;
}

int64_t pathFileSize(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

bool renamePath(const std::string& from, const std::string& to)
{
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool removeRegularFile(const std::string& path)
{
    return isRegularFile(path) && ::unlink(path.c_str()) == 0;
}

bool makeDirs(const std::string& path)
{
    if (path.empty())
        return true;
    const std::vector<std::string> pieces = splitString(path, "/");
    std::string walked = pieces.front().empty() ? "/" : "";
    bool ok = true;
    for (const std::string& piece : pieces) {
        walked = pathJoin(walked, piece);
        if (walked.empty() || pathIsDirectory(walked, true))
            continue;
        if (::mkdir(walked.c_str(), 0777) != 0 && !(errno == EEXIST && pathIsDirectory(walked, true)))
            ok = false;
    }
    return ok;
}

std::string globEscape(const std::string& path)
{
    std::string escaped;
    for (const char c : path) {
        if (c == '*' || c == '?' || c == '[' || c == ']' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

int removeTree(const std::string& path, bool recursive)
{
    if (recursive) {
        // The directory's name is escaped: a name holding wildcard characters
        // must never widen the removal to other directories.
        for (const std::string& entry : globPaths(globEscape(path) + "/*", false)) {
            ::unlink(entry.c_str());
            removeTree(entry, recursive);
        }
    }
    if (::rmdir(path.c_str()) == 0)
        return REMOVE_TREE_DONE;
    return errno == ENOTEMPTY ? REMOVE_TREE_NOT_EMPTY : REMOVE_TREE_FAILED;
}

std::vector<std::string> globPaths(const std::string& pattern, bool ignoreReadErrors)
{
    std::vector<std::string> paths;
    glob_t found;
    std::memset(&found, 0, sizeof found);
    const int flags = GLOB_NOSORT | (ignoreReadErrors ? 0 : GLOB_ERR);
    if (::glob(pattern.c_str(), flags, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i)
            paths.emplace_back(found.gl_pathv[i]);
    }
    ::globfree(&found);
    return paths;
}

bool makeTempDir(std::string& path)
{
    std::string pattern = sysrootPath("/tmp") + "/toolsmisc-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        path.clear();
        return false;
    }
    path = name.data();
    return true;
}

uint16_t countDecimalDigits(double value, uint16_t* decimals, uint16_t width, uint16_t mostExtra)
{
    static const double powersOfTen[13] = {1e1, 1e2, 1e3, 1e4,  1e5,  1e6, 1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13};
    if (!decimals)
        return 0;
    int positions = width;
    double magnitude = value;
    if (value < 0) {
        --positions;
        magnitude = -value;
    }
    // No digit position at all: nothing to fit, and no table entry to compare.
    if (positions < 1)
        return 0;
    int places = *decimals;
    if (places >= positions) {
        places = positions - 1;
        *decimals = static_cast<uint16_t>(places);
    }
    int index = positions - places - 1;
    if (index > 12 || magnitude < powersOfTen[index])
        return 0;
    uint16_t extra = 0;
    for (;;) {
        if (places > 0) {
            --places;
            *decimals = static_cast<uint16_t>(places);
        } else {
            if (extra == mostExtra)
                return extra;
            ++extra;
        }
        ++index;
        if (index >= 13 || magnitude < powersOfTen[index])
            return extra;
    }
}

FileBackup::FileBackup(const std::string& path)
    : mPath(path), mActive(true), mFinished(false)
{
    renamePath(mPath, backupName(mPath));
}

FileBackup::~FileBackup()
{
    if (mActive)
        finish(true);
}

void FileBackup::finish(bool keep)
{
    if (mFinished)
        return;
    const std::string backup = backupName(mPath);
    // Keeping means keeping the new file; without one the old file is the only
    // copy of the data and goes back in place.
    if (keep && isRegularFile(mPath)) {
        removeRegularFile(backup);
    } else {
        removeRegularFile(mPath);
        renamePath(backup, mPath);
    }
    mActive = false;
    mFinished = true;
}
