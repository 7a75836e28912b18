#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

TEST_CASE("paths are joined with exactly one separator")
{
    struct Case {
        std::string first, second, joined;
    };
    const Case cases[] = {
        {"a/b", "c", "a/b/c"},   {"a/b/", "c", "a/b/c"}, {"a", "/c", "/c"},
        {"a", "", "a"},          {"", "c", "c"},         {"ab", "c", "ab/c"},
        {"/a", "b", "/a/b"},     {"/", "b", "/b"},       {"c:", "x", "c:x"},
        {"C:", "x", "C:x"},      {"1:", "x", "1:/x"},    {"/usr/local/velmar", "share", "/usr/local/velmar/share"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.first);
        CAPTURE(c.second);
        CHECK(pathJoin(c.first, c.second) == c.joined);
    }
    CHECK(pathJoin("/a", "b", "c") == "/a/b/c");
    CHECK(pathJoin("/a", "b", "/c", "d") == "/c/d");
    CHECK(pathJoin("x", "", "y", "", "z") == "x/y/z");
}

TEST_CASE("paths are taken apart")
{
    struct Case {
        std::string path, dirName, fileName, stripped, extension, stem, dotExtension;
    };
    const Case cases[] = {
        {"/x", "", "x", "x", "", "/x", ""},
        {"x", "", "x", "x", "", "x", ""},
        {"/a/b", "/a", "b", "b", "", "/a/b", ""},
        {"/a/b.tar.gz", "/a", "b.tar.gz", "b.tar", "gz", "/a/b.tar", ".gz"},
        {"dir/.hidden", "dir", ".hidden", "", "hidden", "dir/", ".hidden"},
        {"/a.d/file", "/a.d", "file", "file", "d/file", "/a", ".d/file"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.path);
        CHECK(pathDirName(c.path) == c.dirName);
        CHECK(pathFileName(c.path, false) == c.fileName);
        CHECK(pathFileName(c.path, true) == c.stripped);
        CHECK(pathExtension(c.path) == c.extension);
        CHECK(splitExtension(c.path).first == c.stem);
        CHECK(splitExtension(c.path).second == c.dotExtension);
    }
    CHECK(isAbsolutePath("/a"));
    CHECK_FALSE(isAbsolutePath("a/b"));
    CHECK_FALSE(isAbsolutePath(""));
    CHECK(backupName("/a/b.dat") == "/a/b.dat~");
}

TEST_CASE("texts are cut, split and joined")
{
    struct SubCase {
        std::string text;
        int first, last;
        std::string result;
    };
    const SubCase subs[] = {
        {"hello", 1, 3, "ell"}, {"hello", 0, -1, "hell"}, {"hello", 2, 100, "llo"},
        {"hello", 5, 6, ""},    {"hello", 3, 1, ""},      {"hello", 0, -10, ""},
        {"hello", -1, 2, ""},   {"", 0, 0, ""},           {"hello", 4, 4, "o"},
    };
    for (const SubCase& s : subs) {
        CAPTURE(s.first);
        CAPTURE(s.last);
        CHECK(substring(s.text, s.first, s.last) == s.result);
    }

    struct SplitCase {
        std::string text, delimiters;
        std::vector<std::string> pieces;
    };
    const SplitCase splits[] = {
        {",a,,b,", ",", {"", "a", "", "b", ""}},
        {"", ",", {}},
        {"a;b,c", ";,", {"a", "b", "c"}},
        {"abc", ",", {"abc"}},
        {",", ",", {"", ""}},
    };
    for (const SplitCase& s : splits) {
        CAPTURE(s.text);
        CHECK(splitString(s.text, s.delimiters) == s.pieces);
    }
    CHECK(joinStrings({"1", "", "3"}, ", ") == "1, , 3");
    CHECK(joinStrings({}, ",").empty());
    CHECK(startsWith("V2.1.0", "V2"));
    CHECK_FALSE(startsWith("V", "V2"));
    CHECK(makeString("abcdef", 3) == "abc");
    CHECK(makeString("abc\0def", kNoLength) == "abc");
    CHECK(makeString(nullptr).empty());
}

TEST_CASE("printf formatting returns the whole text at every length")
{
    for (const size_t length : {0u, 1u, 127u, 128u, 129u, 131u, 132u, 10000u}) {
        CAPTURE(length);
        std::string text(length, 'x');
        for (size_t i = 0; i < length; i += 7)
            text[i] = static_cast<char>('a' + i % 26);
        const std::string formatted = stringPrintf("%s", text.c_str());
        CHECK(formatted.size() == length);
        CHECK(formatted == text);
    }
    CHECK(stringPrintf("%s/S%04d", "cfg", 7) == "cfg/S0007");
    CHECK(stringPrintf("%d|%s|%5.1f", -3, std::string(140, 'q').c_str(), 2.25) ==
          "-3|" + std::string(140, 'q') + "|  2.2");
}

TEST_CASE("numbers are written as text")
{
    struct Case {
        int32_t value;
        int base;
        bool upper;
        std::string text;
    };
    const Case cases[] = {
        {-255, 16, false, "-ff"}, {-255, 16, true, "-FF"},   {0, 10, false, "0"},
        {0, 16, true, "0"},       {255, 2, false, "11111111"}, {35, 36, true, "Z"},
        {INT32_MIN, 10, false, "-2147483648"}, {INT32_MAX, 16, false, "7fffffff"},
        {10, 1, false, ""},       {10, 37, false, ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.value);
        CAPTURE(c.base);
        CHECK(integerToText(c.value, c.base, c.upper) == c.text);
    }
    CHECK(formatFixed(3.14159, 2, 7) == "   3.14");
    CHECK(formatFixed(2.5f, 1, 0) == "2.5");
    CHECK(formatFixed(1e300, 2, 0).size() == 38);

    struct SignificantCase {
        double value;
        int maxLength, significant, decimals;
        std::string text;
    };
    const SignificantCase significant[] = {
        {1234.5678, 10, 3, -1, "1235"},  {0.012345, 10, 3, 4, "0.0123"}, {12.345, 10, 3, -1, "12.3"},
        {123456789.0, 5, 3, 2, "1e+08"}, {0.5, 3, 2, 4, "0.5"},         {99.96, 10, 3, 1, "100.0"},
    };
    for (const SignificantCase& s : significant) {
        CAPTURE(s.value);
        CHECK(formatSignificant(s.value, s.maxLength, s.significant, s.decimals) == s.text);
    }
}

TEST_CASE("the NMEA checksum covers the sentence between '$' and '*'")
{
    const std::string body = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    const std::string sentences[] = {
        "$" + body + "*47", "$" + body + "*47\r\n", "$" + body + "*", "$" + body, body, body + "*47",
    };
    for (const std::string& s : sentences) {
        CAPTURE(s);
        CHECK(nmeaChecksum(s) == 0x47);
        CHECK(nmeaChecksumText(s) == "47");
    }
    CHECK(nmeaChecksum("") == 0);
    CHECK(nmeaChecksum("$") == 0);
    CHECK(nmeaChecksumText("$ab*03") == "03");
    // A lone CR or LF is part of the sentence; only the pair is cut.
    CHECK(nmeaChecksum("$A\n") == ('A' ^ '\n'));
}

TEST_CASE("a number is fitted into its digit positions by giving up decimals")
{
    struct Case {
        double value;
        uint16_t decimals, width, mostExtra;
        uint16_t answer, decimalsAfter;
    };
    const Case cases[] = {
        {654321.7, 3, 8, 0, 0, 2},  // six integer digits keep two decimals
        {54321, 1, 4, 2, 1, 0},     // one position beyond the width
        {-5.25, 2, 4, 0, 0, 2},     // the sign takes one position
        {1e30, 0, 20, 5, 0, 0},     // index beyond the table: fits by definition
        {123456, 0, 4, 1, 1, 0},    // capped at the most extra positions
        {1.5, 5, 3, 0, 0, 2},       // decimals cut to width - 1
        {1e20, 0, 1, 100, 13, 0},   // runs to the end of the table, never past it
        {-1e20, 3, 1, 100, 0, 3},   // the sign takes the only position
        {5.0, 2, 0, 3, 0, 2},       // no positions at all
        {9.99, 2, 3, 0, 0, 2},
        {10.0, 2, 3, 1, 0, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.value);
        CAPTURE(c.width);
        uint16_t decimals = c.decimals;
        CHECK(countDecimalDigits(c.value, &decimals, c.width, c.mostExtra) == c.answer);
        CHECK(decimals == c.decimalsAfter);
    }
    CHECK(countDecimalDigits(123456.0, nullptr, 2, 3) == 0);
}

TEST_CASE("file-system helpers work on the real tree")
{
    TestRoot root;
    const std::string base = root.path("/tmp/tools");

    SUBCASE("directory paths are made without a working-directory change")
    {
        char before[4096];
        REQUIRE(getcwd(before, sizeof before));
        CHECK(makeDirs(base + "/a/b/c"));
        CHECK(pathIsDirectory(base + "/a/b/c", false));
        CHECK(makeDirs(base + "/a/b/c/"));
        CHECK(makeDirs(""));
        REQUIRE(writeTextFile(base + "/a/file", "x"));
        CHECK_FALSE(makeDirs(base + "/a/file/d"));
        char after[4096];
        REQUIRE(getcwd(after, sizeof after));
        CHECK(std::string(before) == after);
    }

    SUBCASE("type tests tell links from what they point to")
    {
        REQUIRE(makeDirs(base + "/dir"));
        REQUIRE(writeTextFile(base + "/file", "12345"));
        REQUIRE(symlink((base + "/file").c_str(), (base + "/filelink").c_str()) == 0);
        REQUIRE(symlink((base + "/dir").c_str(), (base + "/dirlink").c_str()) == 0);
        CHECK(isRegularFile(base + "/file"));
        CHECK_FALSE(isRegularFile(base + "/filelink"));
        CHECK_FALSE(isRegularFile(base + "/dir"));
        CHECK(pathIsDirectory(base + "/dirlink", true));
        CHECK_FALSE(pathIsDirectory(base + "/dirlink", false));
        CHECK(pathFileSize(base + "/file") == 5);
        CHECK(pathFileSize(base + "/missing") == -1);
        CHECK(fileModTime(base + "/file") > 0);
        CHECK(fileModTime(base + "/missing") == 0);
        CHECK(canonicalPath(base + "/dirlink/../file") == canonicalPath(base) + "/file");
        CHECK(canonicalPath(base + "/missing").empty());
        CHECK(isMountPoint("/"));
        CHECK_FALSE(isMountPoint(base + "/dir"));
        CHECK_FALSE(removeRegularFile(base + "/dir"));
        CHECK_FALSE(removeRegularFile(base + "/filelink"));
        CHECK(removeRegularFile(base + "/file"));
        CHECK(access((base + "/file").c_str(), F_OK) != 0);
        CHECK(renamePath(base + "/dir", base + "/dir2"));
        CHECK_FALSE(renamePath(base + "/dir", base + "/dir3"));
    }

    SUBCASE("trees are removed, never beyond their own directory")
    {
        REQUIRE(makeDirs(base + "/x[1]/sub"));
        REQUIRE(writeTextFile(base + "/x[1]/sub/f", "f"));
        REQUIRE(writeTextFile(base + "/x[1]/g", "g"));
        REQUIRE(makeDirs(base + "/x1"));
        REQUIRE(writeTextFile(base + "/x1/keep", "k"));
        CHECK(removeTree(base + "/x[1]", false) == REMOVE_TREE_NOT_EMPTY);
        CHECK(removeTree(base + "/x[1]", true) == REMOVE_TREE_DONE);
        CHECK(access((base + "/x[1]").c_str(), F_OK) != 0);
        CHECK(readTextFile(base + "/x1/keep") == "k");
        CHECK(removeTree(base + "/missing", true) == REMOVE_TREE_FAILED);
    }

    SUBCASE("wildcard listing")
    {
        REQUIRE(makeDirs(base));
        for (const char* name : {"a.log", "b.log", "c.txt", ".d.log"})
            REQUIRE(writeTextFile(base + "/" + name, name));
        std::vector<std::string> found = globPaths(base + "/*.log", false);
        std::sort(found.begin(), found.end());
        CHECK(found == std::vector<std::string>{base + "/a.log", base + "/b.log"});
        CHECK(globPaths(base + "/*.none", false).empty());
        CHECK(globPaths(globEscape(base + "/[a]") + "*", false).empty());
    }

    SUBCASE("temporary directories are private, new and below the system root")
    {
        std::string first;
        std::string second;
        REQUIRE(makeTempDir(first));
        REQUIRE(makeTempDir(second));
        CHECK(first != second);
        CHECK(startsWith(first, root.path("/tmp/toolsmisc-")));
        CHECK(first.size() == root.path("/tmp/toolsmisc-XXXXXX").size());
        struct stat info;
        REQUIRE(stat(first.c_str(), &info) == 0);
        CHECK(S_ISDIR(info.st_mode));
        CHECK((info.st_mode & 0777) == 0700);
    }
}

TEST_CASE("a file backup brings the old file back unless the new one is kept")
{
    TestRoot root;
    const std::string file = root.path("/tmp/settings.ini");
    const std::string backup = file + "~";

    SUBCASE("kept: the new content stays and the backup goes")
    {
        REQUIRE(writeTextFile(file, "old"));
        FileBackup guard(file);
        CHECK(readTextFile(backup) == "old");
        REQUIRE(writeTextFile(file, "new"));
        guard.finish(true);
        CHECK(guard.finished());
        CHECK_FALSE(guard.active());
        CHECK(readTextFile(file) == "new");
        CHECK(access(backup.c_str(), F_OK) != 0);
        guard.finish(false);  // only the first finish counts
        CHECK(readTextFile(file) == "new");
    }
    SUBCASE("dropped: the old content returns")
    {
        REQUIRE(writeTextFile(file, "old"));
        FileBackup guard(file);
        REQUIRE(writeTextFile(file, "half-written"));
        guard.finish(false);
        CHECK(readTextFile(file) == "old");
        CHECK(access(backup.c_str(), F_OK) != 0);
    }
    SUBCASE("leaving the scope keeps a new file")
    {
        REQUIRE(writeTextFile(file, "old"));
        {
            FileBackup guard(file);
            REQUIRE(writeTextFile(file, "new"));
        }
        CHECK(readTextFile(file) == "new");
        CHECK(access(backup.c_str(), F_OK) != 0);
    }
    SUBCASE("leaving the scope without a new file never loses the old one")
    {
        REQUIRE(writeTextFile(file, "old"));
        { FileBackup guard(file); }
        CHECK(readTextFile(file) == "old");
        CHECK(access(backup.c_str(), F_OK) != 0);
    }
    SUBCASE("without an old file a dropped new file is removed")
    {
        FileBackup guard(file);
        REQUIRE(writeTextFile(file, "new"));
        guard.finish(false);
        CHECK(access(file.c_str(), F_OK) != 0);
    }
}
