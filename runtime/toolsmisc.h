#pragma once
// Small path and text toolkit on std::string. Nothing here logs: failures are
// answered with false, 0, -1 or an empty text. All functions are reentrant.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

// ---- paths ----------------------------------------------------------------

std::string pathSeparator();

// Joins two path parts with one "/". An empty second part gives the first, an
// absolute second part replaces the first. No separator is added after an empty
// first part, after one ending in "/", or after a drive designator ("c:").
std::string pathJoin(const std::string& first, const std::string& second);
std::string pathJoin(const std::string& a, const std::string& b, const std::string& c);
std::string pathJoin(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d);
std::string pathJoin(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d, const std::string& e);

// Text before the last '/'; empty when there is none or it is the first character.
std::string pathDirName(const std::string& path);
// Text after the last '/'; with stripExtension only up to the name's last '.'.
std::string pathFileName(const std::string& path, bool stripExtension = false);
// Text after the last '.' of the whole path, empty without one.
std::string pathExtension(const std::string& path);
// (stem, ".ext"); (path, "") without a '.'.
std::pair<std::string, std::string> splitExtension(const std::string& path);
bool isAbsolutePath(const std::string& path);
// realpath(); empty on failure.
std::string canonicalPath(const std::string& path);
// path + "~"
std::string backupName(const std::string& path);

// ---- text -----------------------------------------------------------------

// Characters first..last inclusive. A negative last counts back from the last
// character (-1 is the one before it). Empty for indices out of order or range.
std::string substring(const std::string& text, int first, int last);
bool startsWith(const std::string& text, const std::string& prefix);
// Cuts at every character of delimiters; empty pieces are kept.
std::vector<std::string> splitString(const std::string& text, const std::string& delimiters);
std::string joinStrings(const std::vector<std::string>& parts, const std::string& separator);

constexpr size_t kNoLength = static_cast<size_t>(-1);
// length characters of chars; kNoLength takes them up to the terminating zero.
std::string makeString(const char* chars, size_t length = kNoLength);
std::string makeString(const std::string& text);

std::string stringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// printf "%*.*f" into at most 38 characters.
std::string formatFixed(float value, int precision, int width);
std::string formatFixed(double value, int precision, int width);
// value rounded to significantDigits (>= 1), printed with decimals digits after
// the point ("%g" when decimals < 0), cut to maxLength characters.
std::string formatSignificant(double value, int maxLength, int significantDigits, int decimals);

// value in base 2..36 with digits 0-9 then a-z (A-Z with upperCase); empty for
// another base.
std::string integerToText(int32_t value, int base, bool upperCase = false);

// Exclusive or of the sentence's characters between a leading '$' and the
// checksum field ("*hh", a lone "*", a final CR LF).
uint8_t nmeaChecksum(const std::string& sentence);
// The checksum as two upper-case hexadecimal digits.
std::string nmeaChecksumText(const std::string& sentence);

// ---- file system ----------------------------------------------------------

// lstat: the path itself (a link is not followed) is a regular file.
bool isRegularFile(const std::string& path);
bool pathIsDirectory(const std::string& path, bool followLinks);
bool isMountPoint(const std::string& path);
// Seconds since the epoch, 0 on failure.
time_t fileModTime(const std::string& path);
// Bytes, -1 on failure.
int64_t pathFileSize(const std::string& path);
bool renamePath(const std::string& from, const std::string& to);
// Unlinks only a regular file; anything else answers false untouched.
bool removeRegularFile(const std::string& path);
// Creates the directory and all parents (0777 before the umask). False when any
// mkdir failed, the walk still goes on. Never changes the working directory.
bool makeDirs(const std::string& path);

enum RemoveTreeResult { REMOVE_TREE_FAILED = 0, REMOVE_TREE_DONE = 1, REMOVE_TREE_NOT_EMPTY = 2 };
// rmdir of path, after removing its non-hidden entries when recursive is set.
int removeTree(const std::string& path, bool recursive);

// Paths matching the shell pattern, in directory order; empty on no match or error.
std::vector<std::string> globPaths(const std::string& pattern, bool ignoreReadErrors);
// The pattern that matches exactly the given path (wildcard characters escaped).
std::string globEscape(const std::string& path);

// New private directory "toolsmisc-XXXXXX" below the temporary directory.
bool makeTempDir(std::string& path);

// Fits value into width digit positions by giving up decimals (written back);
// answers the positions still needed beyond width, at most mostExtra.
uint16_t countDecimalDigits(double value, uint16_t* decimals, uint16_t width, uint16_t mostExtra);

// ---- FileBackup -----------------------------------------------------------

// Moves a file aside as path~ so that a new one can be written in its place;
// finish(true) keeps the new file, finish(false) brings the old one back.
class FileBackup {
public:
    explicit FileBackup(const std::string& path);
    ~FileBackup();
    FileBackup(const FileBackup&) = delete;
    FileBackup& operator=(const FileBackup&) = delete;

    void finish(bool keep);
    bool active() const { return mActive; }
    bool finished() const { return mFinished; }
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
    bool mActive;
    bool mFinished;
};
