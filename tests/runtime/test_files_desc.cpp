#include "filefunc.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
// A file with the given content, opened read-write; closed at the end.
class OpenFile {
public:
    OpenFile(const std::string& path, const std::string& content)
    {
        REQUIRE(writeTextFile(path, content));
        mFd = openFileReadWrite(path);
        REQUIRE(mFd >= 0);
    }
    ~OpenFile() { fileClose(mFd); }
    int fd() const { return mFd; }

private:
    int mFd = -1;
};

std::vector<std::string> readLines(int fd, int maxCount, bool& endedFalse)
{
    std::vector<std::string> lines;
    std::string line;
    for (int i = 0; i < 20; ++i) {
        if (!fileGetLine(fd, line, maxCount)) {
            endedFalse = line.empty();
            return lines;
        }
        lines.push_back(line);
    }
    endedFalse = false;
    return lines;
}
}  // namespace

TEST_CASE("lines end at CR, LF and their pairs")
{
    TestRoot root;
    struct Case {
        std::string content;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\n\nc", {"a", "b", "", "c"}},
        {"x\n\ry\n", {"x", "y"}},
        {"p\r\rq\r", {"p", "", "q"}},
        {"one\rtwo\r\nthree\n\r", {"one", "two", "three"}},
        {"", {}},
        {"\n", {""}},
        {"last line without end", {"last line without end"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        CAPTURE(c.content);
        OpenFile file(root.path("/tmp/lines" + std::to_string(n++)), c.content);
        bool endedFalse = false;
        CHECK(readLines(file.fd(), 1024, endedFalse) == c.lines);
        CHECK(endedFalse);
    }
}

TEST_CASE("long lines come in pieces that fit the buffer")
{
    TestRoot root;
    OpenFile file(root.path("/tmp/long"), "abcdefghijklmnop\nxy\n");
    char buffer[8];
    std::vector<std::string> pieces;
    while (fileGetLineChars(file.fd(), buffer, sizeof buffer)) {
        CHECK(std::strlen(buffer) <= 7);
        pieces.push_back(buffer);
        if (pieces.size() > 10)
            break;
    }
    CHECK(pieces == std::vector<std::string>{"abcdefg", "hijklmn", "op", "xy"});

    std::string line = "stale";
    REQUIRE(fileSeek(file.fd(), 0));
    CHECK(fileGetLine(file.fd(), line, 0));
    CHECK(line.empty());
    CHECK(filePosition(file.fd()) == 0);
}

TEST_CASE("a descriptor that cannot be read gives no line, so reading loops end")
{
    TestRoot root;
    const std::string dir = root.path("/tmp/notafile");
    REQUIRE(makeDirs(dir));
    const int directory = openFileRead(dir);
    REQUIRE(directory >= 0);
    for (const int fd : {directory, -1}) {
        CAPTURE(fd);
        std::string line = "stale";
        CHECK_FALSE(fileGetLine(fd, line, 1024));
        CHECK(line.empty());
        char buffer[8] = "stale";
        CHECK_FALSE(fileGetLineChars(fd, buffer, sizeof buffer));
        CHECK(buffer[0] == '\0');
    }
    CHECK(fileClose(directory));
}

TEST_CASE("lines are written with CR LF")
{
    TestRoot root;
    const std::string path = root.path("/tmp/written");
    OpenFile file(path, "");
    CHECK(fileWriteLine(file.fd(), std::string("first")));
    CHECK(fileWriteLine(file.fd(), static_cast<const char*>(nullptr)));
    CHECK(fileWriteLine(file.fd(), "third"));
    CHECK(readTextFile(path) == "first\r\n\r\nthird\r\n");

    const std::string single = root.path("/tmp/sub/single.txt");
    REQUIRE(writeLineFile(single, "a much longer first text"));
    CHECK(writeLineFile(single, "short"));
    CHECK(readTextFile(single) == "short\r\n");
    CHECK_FALSE(writeLineFile(root.path("/tmp"), "a directory"));
}

TEST_CASE("seeking, position and size")
{
    TestRoot root;
    OpenFile file(root.path("/tmp/seek"), "0123456789");
    const int fd = file.fd();
    struct Case {
        int32_t offset;
        int64_t position;
    };
    const Case cases[] = {{0, 0}, {3, 3}, {-1, 10}, {-2, 9}, {-11, 0}, {20, 20}};
    for (const Case& c : cases) {
        CAPTURE(c.offset);
        CHECK(fileSeek(fd, c.offset));
        CHECK(filePosition(fd) == c.position);
    }
    CHECK_FALSE(fileSeek(fd, -12));
    REQUIRE(fileSeek(fd, -2));
    char c = 0;
    CHECK(fileGetChar(fd, &c));
    CHECK(c == '9');
    CHECK(fileAtEnd(fd));
    CHECK(fileSeekRelative(fd, -4));
    CHECK(filePosition(fd) == 6);
    CHECK_FALSE(fileAtEnd(fd));
    CHECK(filePosition(fd) == 6);
    CHECK(fileStepBack(fd));
    CHECK(filePosition(fd) == 5);
    CHECK_FALSE(fileSeekRelative(fd, -100));
    REQUIRE(fileSeek(fd, 0));
    CHECK_FALSE(fileStepBack(fd));

    uint32_t size = 77;
    CHECK(fileSize(fd, &size));
    CHECK(size == 10);
    CHECK(fileSize(fd, nullptr));
    CHECK(fileChangeSize(fd, 4));
    CHECK(fileSize(fd, &size));
    CHECK(size == 4);
    REQUIRE(fileSeek(fd, -1));
    CHECK(fileWriteByte(fd, 'X'));
    CHECK(fileSize(fd, &size));
    CHECK(size == 5);
    CHECK(filePosition(-1) == -1);
    size = 77;
    CHECK_FALSE(fileSize(-1, &size));
    CHECK(size == 0);
    CHECK_FALSE(fileSeek(-1, 0));
    CHECK_FALSE(fileWriteByte(-1, 1));
    CHECK_FALSE(fileAtEnd(-1));
}

TEST_CASE("reading exactly, short reads and the end of file")
{
    TestRoot root;
    OpenFile file(root.path("/tmp/read"), "abcdef");
    const int fd = file.fd();
    char buffer[16] = {};
    CHECK_FALSE(fileRead(fd, buffer, 10));
    CHECK(std::string(buffer, 6) == "abcdef");
    REQUIRE(fileSeek(fd, 0));
    CHECK(fileRead(fd, buffer, 6));
    CHECK(fileRead(fd, buffer, 0));
    char c = 'z';
    CHECK_FALSE(fileGetChar(fd, &c));
    CHECK(static_cast<unsigned char>(c) == 0xFF);
    CHECK_FALSE(fileGetCharDefault(fd));
    REQUIRE(fileSeek(fd, 1));
    CHECK(fileGetCharDefault(fd));
    CHECK(fileGetCharDefault(fd, &c));
    CHECK(c == 'c');
    CHECK(fileWrite(fd, "XY", 2));
    CHECK(fileWrite(fd, "", 0));
    CHECK(readTextFile(root.path("/tmp/read")) == "abcXYf");
    CHECK(fileFlush(fd));
}

TEST_CASE("opening, deleting and renaming by path")
{
    TestRoot root;
    const std::string base = root.path("/tmp/names");
    REQUIRE(makeDirs(base + "/other"));
    REQUIRE(writeTextFile(base + "/keep", "0123456789"));

    int fd = fileOpenWrite((base + "/keep").c_str());
    REQUIRE(fd >= 0);
    CHECK(fileWrite(fd, "ab", 2));
    CHECK(fileClose(fd));
    CHECK(readTextFile(base + "/keep") == "ab23456789");
    fd = fileOpenWriteOnly((base + "/new/file").c_str());
    REQUIRE(fd >= 0);
    CHECK(fileClose(fd));
    fd = fileOpenRead((base + "/keep").c_str());
    REQUIRE(fd >= 0);
    CHECK(fileClose(fd));
    CHECK(fileOpenRead(nullptr) == -1);
    CHECK(fileOpenRead((base + "/missing").c_str()) == -1);
    CHECK(fileOpenWrite(nullptr) == -1);

    CHECK(fileRename(base + "/keep", base + "/other/kept"));
    CHECK(readTextFile(base + "/other/kept") == "ab23456789");
    CHECK_FALSE(fileExists(base + "/keep"));
    CHECK(fileRename((base + "/other/kept").c_str(), (base + "/back").c_str()));
    CHECK_FALSE(fileRename(base + "/keep", base + "/x"));
    CHECK_FALSE(fileRename(nullptr, nullptr));

    CHECK(fileDelete(base + "/back"));
    CHECK_FALSE(fileExists(base + "/back"));
    CHECK_FALSE(fileDelete(base + "/back"));
    CHECK(fileDelete((base + "/other").c_str()));
    CHECK_FALSE(isDirectory(base + "/other"));
    CHECK_FALSE(fileDelete(static_cast<const char*>(nullptr)));
    CHECK_FALSE(fileDelete(base + "/new"));
}

TEST_CASE("closing syncs and reports a descriptor that is not open")
{
    TestRoot root;
    const int fd = openFileReadWrite(root.path("/tmp/closed"));
    REQUIRE(fd >= 0);
    CHECK(fileClose(fd));
    CHECK(fcntl(fd, F_GETFD) == -1);
    CHECK_FALSE(fileClose(fd));

    int channel[2];
    REQUIRE(pipe(channel) == 0);
    CHECK(fileClose(channel[0]));  // a pipe cannot be synced: no failure of the close
    CHECK(fileClose(channel[1]));
}

TEST_CASE("copies never overwrite unless asked")
{
    TestRoot root;
    const std::string base = root.path("/tmp/copy");
    REQUIRE(makeDirs(base));
    std::string big;
    for (int i = 0; i < 1500; ++i)
        big += static_cast<char>('A' + i % 23);

    SUBCASE("content arrives whole at every block boundary")
    {
        for (const size_t size : {0u, 1u, 511u, 512u, 513u, 1024u, 1025u, 1500u}) {
            CAPTURE(size);
            const std::string source = base + "/src" + std::to_string(size);
            const std::string destination = base + "/dst/" + std::to_string(size);
            REQUIRE(writeTextFile(source, big.substr(0, size)));
            CHECK(fileCopy(destination, source));
            CHECK(fileExists(destination));
            CHECK(readTextFile(destination) == big.substr(0, size));
        }
    }
    SUBCASE("an existing destination stays as it is")
    {
        REQUIRE(writeTextFile(base + "/src", "new content"));
        REQUIRE(writeTextFile(base + "/dst", "old"));
        CHECK_FALSE(fileCopy(base + "/dst", base + "/src"));
        CHECK_FALSE(fileCopy((base + "/dst").c_str(), (base + "/src").c_str()));
        CHECK(readTextFile(base + "/dst") == "old");
        CHECK(readTextFile(base + "/src") == "new content");
    }
    SUBCASE("overwriting leaves exactly the source")
    {
        REQUIRE(writeTextFile(base + "/src", "short"));
        REQUIRE(writeTextFile(base + "/dst", "a much longer old content"));
        REQUIRE(chmod((base + "/dst").c_str(), 0640) == 0);
        CHECK(fileCopy(base + "/dst", base + "/src", true));
        CHECK(readTextFile(base + "/dst") == "short");
        struct stat info;
        REQUIRE(stat((base + "/dst").c_str(), &info) == 0);
        CHECK((info.st_mode & 0777) == 0640);
        CHECK(globPaths(base + "/dst.*", false).empty());
    }
    SUBCASE("a missing source creates nothing and replaces nothing")
    {
        REQUIRE(writeTextFile(base + "/dst", "old"));
        CHECK_FALSE(fileCopy(base + "/fresh", base + "/missing"));
        CHECK_FALSE(fileExists(base + "/fresh"));
        CHECK_FALSE(fileCopy(base + "/dst", base + "/missing", true));
        CHECK(readTextFile(base + "/dst") == "old");
        CHECK_FALSE(fileCopy(base + "/fresh", base));  // a directory is no source
        CHECK_FALSE(fileExists(base + "/fresh"));
    }
}

TEST_CASE("whole files are read and replaced")
{
    TestRoot root;
    const std::string path = root.path("/tmp/whole");
    REQUIRE(writeTextFile(path, "a long old content of the file"));
    CHECK(fileWriteAll(path, "new", 3));
    CHECK(readTextFile(path) == "new");
    char buffer[8] = {};
    CHECK(fileReadAll(path, buffer, sizeof buffer) == 3);
    CHECK(std::string(buffer, 3) == "new");
    CHECK(fileReadAll(path, buffer, 2) == 0);
    CHECK(fileReadAll(root.path("/tmp/missing"), buffer, sizeof buffer) == 0);
    CHECK(fileWriteAll(root.path("/tmp/deeper/whole"), "x", 1));
    CHECK(readTextFile(root.path("/tmp/deeper/whole")) == "x");
}

TEST_CASE("a whole-file rewrite on a full medium leaves the old file as it was")
{
    TestRoot root;
    const std::string base = root.path("/tmp/full");
    const std::string path = base + "/target";
    const std::string source = base + "/source";
    const std::string old = "old content\r\nsecond line\r\n";
    const std::string large(4096, 'n');
    REQUIRE(makePath(base));
    REQUIRE(writeTextFile(source, large));
    struct Case {
        std::string name;
        std::function<bool()> replace;
        std::string result;
    };
    const Case cases[] = {
        {"fileReplace", [&] { return fileReplace(path, large); }, large},
        {"fileWriteAll", [&] { return fileWriteAll(path, large.data(), large.size()); }, large},
        {"writeLineFile", [&] { return writeLineFile(path, large); }, large + "\r\n"},
        {"fileCopy with overwrite", [&] { return fileCopy(path, source, true); }, large},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        REQUIRE(writeTextFile(path, old));
        REQUIRE(chmod(path.c_str(), 0640) == 0);
        // The medium fills up part-way through the new content.
        const int status = runInChild([&] { return limitFileSize(1000) && !c.replace() ? 0 : 1; }, nullptr);
        CHECK(status == 0);
        CHECK(readTextFile(path) == old);
        CHECK(globPaths(path + ".*", false).empty());
        // With room again the same rewrite goes through and keeps the file's mode.
        CHECK(c.replace());
        CHECK(readTextFile(path) == c.result);
        struct stat info;
        REQUIRE(stat(path.c_str(), &info) == 0);
        CHECK((info.st_mode & 0777) == 0640);
        CHECK(globPaths(path + ".*", false).empty());
    }
}

TEST_CASE("a whole-file replace creates what is missing and refuses what is no file")
{
    TestRoot root;
    const std::string fresh = root.path("/tmp/new/dir/file.txt");
    CHECK(fileReplace(fresh, std::string("made")));
    CHECK(readTextFile(fresh) == "made");
    CHECK(fileReplace(fresh, std::string()));
    CHECK(fileExists(fresh));
    CHECK(readTextFile(fresh).empty());
    CHECK_FALSE(fileReplace(root.path("/tmp/new"), std::string("over a directory")));
    CHECK(isDirectory(root.path("/tmp/new/dir")));
    const std::string blocker = root.path("/tmp/plain");
    REQUIRE(writeTextFile(blocker, "x"));
    CHECK_FALSE(fileReplace(blocker + "/below", std::string("no directory")));
    CHECK(readTextFile(blocker) == "x");
}
