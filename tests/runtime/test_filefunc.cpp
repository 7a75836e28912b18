#include "filefunc.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
std::string descriptorTarget(int fd)
{
    char target[4096] = {};
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
    return n < 0 ? std::string() : std::string(target, static_cast<size_t>(n));
}

std::string workingDirectory()
{
    char dir[4096];
    return getcwd(dir, sizeof dir) ? std::string(dir) : std::string();
}

mode_t permissionsOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// Runs the test body inside the temporary tree and comes back afterwards.
class WorkIn {
public:
    explicit WorkIn(const std::string& dir) : mBack(workingDirectory()) { REQUIRE(chdir(dir.c_str()) == 0); }
    ~WorkIn() { CHECK(chdir(mBack.c_str()) == 0); }

private:
    std::string mBack;
};

class UmaskZero {
public:
    UmaskZero() : mOld(umask(0)) {}
    ~UmaskZero() { umask(mOld); }

private:
    mode_t mOld;
};
}  // namespace

TEST_CASE("open modes: creation, truncation, access and permissions")
{
    TestRoot root;
    const std::string base = root.path("/tmp/modes");
    UmaskZero noMask;
    struct Case {
        int mode;
        bool canRead, canWrite, creates;
        const char* afterWritingAb;
    };
    const Case cases[] = {
        {0, true, false, false, "0123456789"},   {1, true, true, true, "ab23456789"},
        {2, false, true, true, "ab23456789"},    {3, true, true, true, "0123456789ab"},
        {4, false, true, true, "0123456789ab"},  {5, false, true, true, "ab"},
        {6, true, false, false, "0123456789"},   {-1, true, false, false, "0123456789"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.mode);
        const std::string dir = base + "/m" + std::to_string(c.mode + 1);
        const std::string existing = dir + "/existing.txt";
        REQUIRE(makeDirs(dir));
        REQUIRE(writeTextFile(existing, "0123456789"));

        int fd = openFile(existing, c.mode);
        REQUIRE(fd >= 0);
        char byte;
        CHECK((read(fd, &byte, 1) == 1) == c.canRead);
        REQUIRE(lseek(fd, 0, SEEK_SET) == 0);
        CHECK((write(fd, "ab", 2) == 2) == c.canWrite);
        CHECK(fileClose(fd));
        CHECK(readTextFile(existing) == c.afterWritingAb);

        const std::string fresh = dir + "/new/deeper/file.txt";
        fd = openFile(fresh, c.mode);
        CHECK((fd >= 0) == c.creates);
        CHECK(isDirectory(dir + "/new/deeper") == c.creates);
        if (fd >= 0) {
            CHECK(fileClose(fd));
            CHECK(permissionsOf(fresh) == 0775);
            CHECK(permissionsOf(dir + "/new") == 0755);
        }
    }
    CHECK(openFileRead(base + "/missing") == -1);
    const int fd = openFileWriteOnly(base + "/w/file");
    REQUIRE(fd >= 0);
    CHECK(fileClose(fd));
}

TEST_CASE("a name without directory creates no directory")
{
    TestRoot root;
    const std::string base = root.path("/tmp/plain");
    REQUIRE(makeDirs(base));
    WorkIn inside(base);
    const int fd = openFile("file.txt", FILE_MODE_READ_WRITE);
    REQUIRE(fd >= 0);
    CHECK(descriptorTarget(fd) == base + "/file.txt");
    CHECK(fileClose(fd));
    std::vector<std::string> entries = globPaths(base + "/*", false);
    CHECK(entries == std::vector<std::string>{base + "/file.txt"});
}

TEST_CASE("paths expand '~' to the home directory and backslashes to '/'")
{
    TestRoot root;
    const struct passwd* user = getpwuid(getuid());
    REQUIRE(user);
    const std::string home = user->pw_dir;
    struct Case {
        std::string path, expanded;
    };
    const Case cases[] = {
        {"~/x", home + "/x"},     {"~", home},          {"dir\\name", "dir/name"},
        {"~\\a\\b", home + "/a/b"}, {"a/~/b", "a/~/b"}, {"", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(expandPath(c.path) == c.expanded);
    }

    // The home directory itself is opened read-only: nothing is written there.
    const int homeFd = openFile("~", FILE_MODE_READ);
    REQUIRE(homeFd >= 0);
    CHECK(descriptorTarget(homeFd) == canonicalPath(home));
    close(homeFd);

    const std::string base = root.path("/tmp/dos");
    const int fd = openFile(base + "\\dir\\name", FILE_MODE_READ_WRITE);
    REQUIRE(fd >= 0);
    CHECK(fileWrite(fd, "n", 1));
    CHECK(fileClose(fd));
    CHECK(readTextFile(base + "/dir/name") == "n");
    CHECK(fileExists(base + "\\dir\\name"));
    CHECK(isDirectory(base + "\\dir"));
}

TEST_CASE("directory paths are made without moving the working directory")
{
    TestRoot root;
    const std::string base = root.path("/tmp/make");
    REQUIRE(makeDirs(base));
    REQUIRE(writeTextFile(base + "/afile", "x"));
    WorkIn inside(base);
    const std::string start = workingDirectory();
    struct Case {
        std::string path;
        bool made;
        const char* thenDirectory;
    };
    const Case cases[] = {
        {"a//b", false, nullptr},          {"a/b/", true, "a/b"},
        {"", true, nullptr},               {"/", true, nullptr},
        {base + "/x/y/z", true, "x/y/z"},  {"afile/sub", false, nullptr},
        {"rel/one/two", true, "rel/one/two"}, {base + "/x/y/z", true, "x/y/z"},
        {"c\\d", true, "c/d"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(makePath(c.path) == c.made);
        CHECK(workingDirectory() == start);
        if (c.thenDirectory)
            CHECK(isDirectory(base + "/" + c.thenDirectory));
    }
    CHECK(makePathC("rel/three"));
    CHECK(isDirectory(base + "/rel/three"));
    CHECK(workingDirectory() == start);
}

TEST_CASE("relative opens of one thread never land in another thread's new directories")
{
    TestRoot root;
    const std::string base = root.path("/tmp/race");
    REQUIRE(makeDirs(base + "/work/fdatasto"));
    REQUIRE(writeTextFile(base + "/work/fdatasto/fdatasto.dat", "store"));
    WorkIn inside(base + "/work");
    const std::string expected = base + "/work/fdatasto/fdatasto.dat";

    std::atomic<bool> creating{true};
    std::atomic<int> strayOpens{0};
    std::atomic<int> opens{0};
    std::thread creator([&] {
        for (int i = 0; i < 150; ++i) {
            const std::string deep = base + "/deep" + std::to_string(i) + "/a/b/c/d/e/f/g";
            makePath(deep);
            const int fd = openFile(deep + "/h/i/file", FILE_MODE_READ_WRITE);
            if (fd >= 0)
                fileClose(fd);
        }
        creating = false;
    });
    for (int i = 0; i < 100000 && (creating || i < 50); ++i) {
        const int fd = openFile("fdatasto/fdatasto.dat", FILE_MODE_READ_WRITE);
        if (fd < 0 || descriptorTarget(fd) != expected)
            ++strayOpens;
        if (fd >= 0)
            close(fd);
        ++opens;
    }
    creator.join();
    CHECK(opens > 0);
    CHECK(strayOpens == 0);
    CHECK(globPaths(base + "/deep*/a/b/c/d/e/f/g/fdatasto", false).empty());
    CHECK(globPaths(base + "/deep*/a/b/c/d/e/f/g/h/i/file", false).size() == 150);
}

TEST_CASE("parent directories and existence tests")
{
    struct Case {
        std::string path, parent;
    };
    const Case cases[] = {
        {"a/b", "a"}, {"b", "."}, {"/b", "/"}, {"", "."}, {"/a/b/c.txt", "/a/b"}, {"a/", "a"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(parentDirectory(c.path) == c.parent);
    }

    TestRoot root;
    const std::string base = root.path("/tmp/exist");
    REQUIRE(makeDirs(base + "/dir"));
    REQUIRE(writeTextFile(base + "/file", "12345"));
    CHECK(fileExists(base + "/file"));
    CHECK_FALSE(fileExists(base + "/dir"));
    CHECK_FALSE(fileExists(""));
    CHECK(isDirectory(base + "/dir"));
    CHECK_FALSE(isDirectory(base + "/file"));
    CHECK(fileSizeOfPath(base + "/file") == 5);
    CHECK(fileSizeOfPath(base + "/missing") == 0);
    CHECK(fileExists((base + "/file").c_str()));
    CHECK_FALSE(fileExists(static_cast<const char*>(nullptr)));
    CHECK(dirExists((base + "/dir").c_str()));
    CHECK_FALSE(dirExists(static_cast<const char*>(nullptr)));
    CHECK(resolvePath(nullptr).empty());
    CHECK(resolvePath((base + "/dir/../file").c_str()) == canonicalPath(base + "/file"));
}

TEST_CASE("free and total disk space")
{
    struct statvfs rootFs;
    REQUIRE(statvfs("/", &rootFs) == 0);
    uint64_t freeBytes = 0;
    uint64_t totalBytes = 0;
    for (const char drive : {'a', 'A', 'c', 'C', '/', '\\'}) {
        CAPTURE(drive);
        CHECK(diskSpaceOfDrive(drive, &freeBytes, &totalBytes));
        CHECK(totalBytes == static_cast<uint64_t>(rootFs.f_frsize) * rootFs.f_blocks);
        CHECK(freeBytes <= totalBytes);
        CHECK(diskSpaceOfDrive(drive, nullptr, nullptr));
    }
    CHECK_FALSE(diskSpaceOfDrive('x', &freeBytes, &totalBytes));
    CHECK(freeBytesOfDrive('x') == kUnknownBytes);
    CHECK(totalBytesOfDrive('d') == kUnknownBytes);
    CHECK(totalBytesOfDrive('c') == static_cast<uint64_t>(rootFs.f_frsize) * rootFs.f_blocks);
    CHECK(freeBytesOfPath("/nonexistent/path") == kUnknownBytes);
    CHECK(totalBytesOfPath("/") == totalBytesOfDrive('/'));

    uint32_t low = 0;
    uint32_t lowTotal = 0;
    CHECK(diskSpace('c', &low, &lowTotal));
    CHECK(lowTotal == static_cast<uint32_t>(totalBytesOfDrive('c')));
    CHECK_FALSE(diskSpace('q', &low, nullptr));
    CHECK(diskTotalBytes('/') == totalBytesOfDrive('/'));
    CHECK(diskFreeBytes('z') == kUnknownBytes);
}

TEST_CASE("directory iteration gives DOS-like entries")
{
    TestRoot root;
    const std::string base = root.path("/tmp/list");
    REQUIRE(makeDirs(base + "/sub"));
    REQUIRE(writeTextFile(base + "/plain.dat", "1234567"));
    REQUIRE(writeTextFile(base + "/locked.dat", "12"));
    REQUIRE(chmod((base + "/locked.dat").c_str(), 0444) == 0);
    REQUIRE(mkfifo((base + "/pipe.dat").c_str(), 0644) == 0);
    REQUIRE(writeTextFile(base + "/.hidden.dat", "h"));

    struct tm when = {};
    when.tm_year = 2013 - 1900;
    when.tm_mon = 4;
    when.tm_mday = 17;
    when.tm_hour = 14;
    when.tm_min = 3;
    when.tm_sec = 27;
    when.tm_isdst = -1;
    const time_t stamp = mktime(&when);
    const struct timeval times[2] = {{stamp, 0}, {stamp, 0}};
    REQUIRE(utimes((base + "/plain.dat").c_str(), times) == 0);

    DirEntry entry;
    std::vector<DirEntry> seen;
    REQUIRE(dirFindFirst(entry, base + "/*"));
    do
        seen.push_back(entry);
    while (dirFindNext(entry));
    CHECK_FALSE(dirFindNext(entry));
    std::sort(seen.begin(), seen.end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    REQUIRE(seen.size() == 4);
    struct Expected {
        const char* name;
        uint8_t attributes;
        uint32_t size;
    };
    const Expected expected[] = {
        {"locked.dat", 0x01, 2}, {"pipe.dat", 0x04, 0}, {"plain.dat", 0x00, 7}, {"sub", 0x10, 0},
    };
    for (size_t i = 0; i < 4; ++i) {
        CAPTURE(expected[i].name);
        CHECK(seen[i].name == expected[i].name);
        CHECK(seen[i].attributes == expected[i].attributes);
        if (expected[i].attributes != 0x10)
            CHECK(seen[i].size == expected[i].size);
    }
    CHECK(seen[2].date == 20130517u);
    CHECK(seen[2].time == 140327u);
    CHECK(dirEntryToString(seen[2]) == "attrib: 0x 0; time: 140327; date: 20130517; size:          7; 'plain.dat'");

    CHECK_FALSE(dirFindFirst(entry, base + "/*.none"));
    CHECK_FALSE(dirFindNext(entry));

    std::vector<DirEntry> listed(1);
    CHECK(listDirectory(base + "/p*.dat", listed));
    CHECK(listed.size() == 3);
    CHECK_FALSE(listDirectory(base + "/*.none", listed));

    CDirEntry cEntry;
    std::memset(&cEntry, 0x55, sizeof cEntry);
    const std::string longName(100, 'n');
    REQUIRE(makeDirs(base + "/long"));
    REQUIRE(writeTextFile(base + "/long/" + longName, "abc"));
    REQUIRE(dirFindFirst(&cEntry, (base + "/long/*").c_str()));
    CHECK(std::string(cEntry.name) == longName.substr(0, 63));
    CHECK(cEntry.size == 3);
    CHECK(cEntry.attributes == 0);
    CHECK_FALSE(dirFindNext(&cEntry));
    CHECK(dirFindFirst(nullptr, (base + "/*.dat").c_str()));
    CHECK(dirFindNext(nullptr));
    CHECK_FALSE(dirFindFirst(&cEntry, nullptr));
}

TEST_CASE("emptiness ignores hidden entries")
{
    TestRoot root;
    const std::string base = root.path("/tmp/empty[1]");
    REQUIRE(makeDirs(base));
    REQUIRE(makeDirs(root.path("/tmp/empty1")));
    REQUIRE(writeTextFile(root.path("/tmp/empty1/visible"), "v"));
    CHECK(isDirectoryEmpty(base));
    REQUIRE(writeTextFile(base + "/.only-hidden", "h"));
    CHECK(isDirectoryEmpty(base));
    REQUIRE(writeTextFile(base + "/visible", "v"));
    CHECK_FALSE(isDirectoryEmpty(base));
    CHECK(isDirectoryEmpty(base + "/visible"));
    CHECK(isDirectoryEmpty(root.path("/tmp/missing")));
}

TEST_CASE("read-only flag, working directory and drive")
{
    TestRoot root;
    const std::string file = root.path("/tmp/flag");
    REQUIRE(writeTextFile(file, "x"));
    REQUIRE(chmod(file.c_str(), 0664) == 0);
    CHECK(setReadOnly(file));
    CHECK(permissionsOf(file) == 0464);
    CHECK(clearReadOnly(file));
    CHECK(permissionsOf(file) == 0664);
    CHECK_FALSE(setReadOnly(root.path("/tmp/missing")));
    CHECK_FALSE(clearReadOnly(root.path("/tmp/missing")));

    const std::string back = workingDirectory();
    CHECK(changeDir(root.path("/tmp").c_str()));
    std::string here;
    CHECK(currentDir(here));
    CHECK(here == canonicalPath(root.path("/tmp")));
    char small[5];
    CHECK(currentDirC(0, small, sizeof small));
    CHECK(std::string(small) == here.substr(0, 4));
    CHECK_FALSE(currentDirC(0, small, 0));
    CHECK_FALSE(changeDir(root.path("/tmp/missing")));
    CHECK(changeDir(back));

    uint8_t drive = 0;
    CHECK(fileGetDrive(&drive));
    CHECK(drive == '/');
    CHECK(fileSetDrive('c'));
    CHECK(fileGetDrive(&drive));
    CHECK(drive == 'c');
    CHECK(fileGetDrive(nullptr));
    CHECK(fileSetDrive('/'));
}
