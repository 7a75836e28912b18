#include "cmdrunner.h"
#include "storage.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <QDir>
#include <QLocale>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
struct PathCase {
    std::string (*function)();
    const char* below;  // path below the base directory
};

const PathCase kLayout[] = {
    {clBaseDir, ""},
    {clBinDir, "/bin"},
    {clSystemDir, "/system"},
    {clShareDir, "/share"},
    {clPlatformDir, "/Kestrom"},
    {clPlatformCfgDir, "/Kestrom/config"},
    {clPlatformDataDir, "/Kestrom/data"},
    {clPlatformWifiDir, "/Kestrom/wifi"},
    {clPlatformTransferDir, "/Kestrom/transfer"},
    {clPlatformHexfileDir, "/Kestrom/hexfile"},
    {clStorageDir, "/storage"},
    {clStorageAppDir, "/storage/Kestrom"},
    {clStorageShareDir, "/storage/share"},
    {clStorageCfgDir, "/storage/Kestrom/config"},
    {clStorageDataDir, "/storage/Kestrom/data"},
    {clStorageDebugDir, "/storage/Kestrom/debug"},
    {clStorageLanguagesDir, "/storage/Kestrom/languages"},
    {clTaskDataDir, "/storage/share/TASKDATA"},
    {clGuidelinesFile, "/storage/Kestrom/data/guidelines.gln"},
    {clGuideCirclesFile, "/Kestrom/data/guidecircles.gln"},
    {clGuidePolygonsFile, "/Kestrom/data/guidepolygons.gln"},
    {clBoundariesFile, "/Kestrom/data/boundaries.bnd"},
    {clAppliedFile, "/Kestrom/data/applied.rcd"},
    {clQuadtreeFile, "/Kestrom/data/quadtree.dat"},
    {clLastRunFile, "/Kestrom/data/lastrun.txt"},
    {clSettingsDbFile, "/storage/share/settings.db"},
    {clGpsInfoDir, "/Kestrom/data/rzgps"},
    {clGpsModelFile, "/Kestrom/data/rzgps/model.inf"},
    {clGpsTypeFile, "/Kestrom/data/rzgps/type.inf"},
    {clGpsFirmwareFile, "/Kestrom/data/rzgps/firmware.inf"},
    {clPrebuildManifestFile, "/bin/prebuild.manifest"},
};

void checkLayout(const std::string& base)
{
    for (const PathCase& c : kLayout) {
        CAPTURE(c.below);
        CHECK(c.function() == base + c.below);
    }
    CHECK(clNumberedCfgDir(7) == base + "/Kestrom/config/S0007");
    CHECK(clNumberedCfgDir(12345) == base + "/Kestrom/config/S12345");
}

// Runs probe as the unprivileged user "nobody" with the given HOME (null:
// unset) and returns what it printed.
std::string runAsNobody(const char* home, std::string (*probe)())
{
    std::string text;
    const int status = runInChild(
        [&]() -> int {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 2;
            if (home)
                setenv("HOME", home, 1);
            else
                unsetenv("HOME");
            return std::fputs(probe().c_str(), stdout) >= 0 ? 0 : 3;
        },
        &text);
    CHECK(status == 0);
    return text;
}

std::string shareAndStorageConfig()
{
    return clShareDir() + "|" + clStorageCfgDir();
}

std::vector<std::string> entriesOf(const std::string& dir)
{
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(dir))
                                   .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                              QDir::Name))
        names.push_back(name.toStdString());
    return names;
}

std::string todayText()
{
    const time_t now = cmdWallClockNow().tv_sec;
    struct tm local;
    localtime_r(&now, &local);
    char text[32];
    strftime(text, sizeof text, "%Y_%b_%d", &local);
    return text;
}
}  // namespace

TEST_CASE("root keeps its files below /usr/local/velmar")
{
    NoSystemRoot deviceRoot;
    REQUIRE(getuid() == 0);
    CHECK(clShareDir() == "/usr/local/velmar/share");
    checkLayout("/usr/local/velmar");
    CHECK(clStorageCfgDir() != clPlatformCfgDir());
}

TEST_CASE("under a system root every root-owned path lies below it")
{
    TestRoot root;
    checkLayout(root.path("/usr/local/velmar"));
}

TEST_CASE("another user keeps its files in its home directory")
{
    {
        NoSystemRoot deviceRoot;
        CHECK(runAsNobody("/home/op", shareAndStorageConfig) ==
              "/home/op/.velmar/share|/home/op/.velmar/storage/Kestrom/config");
        CHECK(runAsNobody(nullptr, shareAndStorageConfig) ==
              "/usr/local/velmar/share|/usr/local/velmar/storage/Kestrom/config");
    }
    TestRoot root;
    CHECK(runAsNobody("/home/op", shareAndStorageConfig) ==
          "/home/op/.velmar/share|/home/op/.velmar/storage/Kestrom/config");
}

TEST_CASE("the GPS information directory can be named by the environment")
{
    TestRoot root;
    setenv("GPS_INFO_FILES_DIRECTORY", "/tmp/gps", 1);
    CHECK(clGpsInfoDir() == "/tmp/gps");
    CHECK(clGpsModelFile() == "/tmp/gps/model.inf");
    CHECK(clGpsFirmwareFile() == "/tmp/gps/firmware.inf");
    setenv("GPS_INFO_FILES_DIRECTORY", "", 1);
    CHECK(clGpsModelFile() == root.path("/usr/local/velmar/Kestrom/data/rzgps/model.inf"));
    unsetenv("GPS_INFO_FILES_DIRECTORY");
    CHECK(clGpsModelFile() == root.path("/usr/local/velmar/Kestrom/data/rzgps/model.inf"));
}

TEST_CASE("every use of the obsolete aux directory is reported")
{
    TestRoot root;
    StdoutCapture capture(root.path("/tmp/aux.txt"));
    const std::string first = clAuxDir();
    const std::string second = clAuxDir();
    const std::string warning = "clAuxDir is obsolete!!!, move aux dir to clStorageCfgDir()\n";
    CHECK(capture.text() == warning + warning);
    CHECK(first == root.path("/usr/local/velmar/Kestrom/data/aux"));
    CHECK(second == first);
}

TEST_CASE("free file names on the stick")
{
    TestRoot root;
    const std::string stick = root.path("/media/sda1");

    SUBCASE("without a stick the first name comes unchecked")
    {
        CHECK(GreyfellCommon::usbRootPath().toStdString() == stick);
        CHECK(GreyfellCommon::uniqueUsbFileName("alarmlog", ".log").toStdString() == stick + "/alarmlog.log");
    }
    SUBCASE("taken names are counted past, whatever takes them")
    {
        REQUIRE(mkdir(stick.c_str(), 0755) == 0);
        const std::string expected[] = {"alarmlog.log", "alarmlog(2).log", "alarmlog(3).log", "alarmlog(4).log",
                                        "alarmlog(5).log"};
        for (int i = 0; i < 5; ++i) {
            const std::string name = GreyfellCommon::uniqueUsbFileName("alarmlog", ".log").toStdString();
            CHECK(name == stick + "/" + expected[i]);
            if (i == 2)
                REQUIRE(mkdir(name.c_str(), 0755) == 0);  // a directory of that name
            else if (i == 3)
                REQUIRE(symlink("/nonexistent", name.c_str()) == 0);  // a dangling link
            else
                REQUIRE(writeTextFile(name, "x"));
        }
        CHECK(GreyfellCommon::uniqueUsbFileName("cntdata", ".csv").toStdString() == stick + "/cntdata.csv");
    }
}

TEST_CASE("report directories are dated and never reused")
{
    TestRoot root;
    const std::string stick = root.path("/media/sda1");
    QLocale::setDefault(QLocale::c());  // month names as strftime writes them in the C locale

    SUBCASE("with a stick")
    {
        REQUIRE(mkdir(stick.c_str(), 0755) == 0);
        const std::string day = stick + "/Reports/" + todayText();
        const QDir first = GreyfellCommon::reportDirectory();
        const QDir second = GreyfellCommon::reportDirectory();
        if (todayText() != pathFileName(day)) {
            MESSAGE("the day changed during the test");
            return;
        }
        CHECK(first.absolutePath().toStdString() == day);
        CHECK(second.absolutePath().toStdString() == day + "-2");
        CHECK(first.exists());
        CHECK(second.exists());
        CHECK(entriesOf(stick + "/Reports").size() == 2);
    }
    SUBCASE("without a stick nothing is created")
    {
        const QDir dir = GreyfellCommon::reportDirectory();
        CHECK(dir.absolutePath().toStdString() == stick + "/Reports/" + todayText());
        CHECK_FALSE(dir.exists());
        CHECK(access(stick.c_str(), F_OK) != 0);
    }
}

TEST_CASE("directory trees are removed whole")
{
    TestRoot root;
    const std::string base = root.path("/tmp/remove");
    const std::string outside = root.path("/tmp/outside");
    REQUIRE(makeDirs(base + "/empty"));
    REQUIRE(makeDirs(base + "/sub/deeper"));
    REQUIRE(makeDirs(outside));
    REQUIRE(writeTextFile(base + "/.hidden", "h"));
    REQUIRE(writeTextFile(base + "/sub/.also", "a"));
    REQUIRE(writeTextFile(base + "/sub/deeper/file", "f"));
    REQUIRE(writeTextFile(outside + "/precious", "p"));
    REQUIRE(symlink(outside.c_str(), (base + "/link").c_str()) == 0);

    CHECK(GreyfellCommon::removeDirectory(QDir(QString::fromStdString(base))));
    CHECK(access(base.c_str(), F_OK) != 0);
    CHECK(readTextFile(outside + "/precious") == "p");

    REQUIRE(makeDirs(base));
    CHECK(GreyfellCommon::removeDirectory(QDir(QString::fromStdString(base))));
    CHECK(access(base.c_str(), F_OK) != 0);
    CHECK_FALSE(GreyfellCommon::removeDirectory(QDir(QString::fromStdString(base))));
}

TEST_CASE("moving a directory tree never loses a file")
{
    TestRoot root;
    const std::string source = root.path("/tmp/source");
    const std::string destination = root.path("/tmp/destination");
    std::map<std::string, std::string> files;
    for (int d = 0; d < 12; ++d) {
        const std::string dir = "/dir" + std::to_string(d);
        for (int f = 0; f < 3; ++f)
            files[dir + "/file" + std::to_string(f)] = "content " + std::to_string(d * 10 + f);
        files[dir + "/.hidden"] = "hidden " + std::to_string(d);
    }
    files["/top.txt"] = "top";
    for (const auto& file : files) {
        REQUIRE(makeDirs(pathDirName(source + file.first)));
        REQUIRE(writeTextFile(source + file.first, file.second));
    }
    REQUIRE(makeDirs(source + "/emptydir"));
    const QString from = QString::fromStdString(source);
    const QString to = QString::fromStdString(destination);

    SUBCASE("the whole tree arrives and the source goes")
    {
        CHECK(GreyfellCommon::moveDirectory(from, to));
        for (const auto& file : files)
            CHECK(readTextFile(destination + file.first) == file.second);
        CHECK(pathIsDirectory(destination + "/emptydir", false));
        CHECK(access(source.c_str(), F_OK) != 0);
    }
    SUBCASE("a failure leaves the source whole and takes back only its own copy")
    {
        REQUIRE(makeDirs(destination + "/dir7"));
        REQUIRE(writeTextFile(destination + "/dir7/file1", "already here"));
        CHECK_FALSE(GreyfellCommon::moveDirectory(from, to));
        for (const auto& file : files)
            CHECK(readTextFile(source + file.first) == file.second);
        CHECK(pathIsDirectory(source + "/emptydir", false));
        CHECK(entriesOf(destination) == std::vector<std::string>{"dir7"});
        CHECK(entriesOf(destination + "/dir7") == std::vector<std::string>{"file1"});
        CHECK(readTextFile(destination + "/dir7/file1") == "already here");
    }
    SUBCASE("a tree is not moved into itself")
    {
        CHECK_FALSE(GreyfellCommon::moveDirectory(from, from + "/dir3/inner"));
        CHECK_FALSE(GreyfellCommon::moveDirectory(from, from));
        for (const auto& file : files)
            CHECK(readTextFile(source + file.first) == file.second);
        CHECK(access((source + "/dir3/inner").c_str(), F_OK) != 0);
    }
    SUBCASE("a missing source moves nothing")
    {
        CHECK_FALSE(GreyfellCommon::moveDirectory(from + "/missing", to));
        CHECK(access(destination.c_str(), F_OK) != 0);
    }
}
