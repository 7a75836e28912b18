#include "cdebug.h"
#include "clock.h"
#include "cmdrunner.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const char* const defaultOptionsText =
    "Colorizer=0\nConsole=1\nDataLogger=0\nErrorLogger=1\nExitOnAssert=0\nPathDepth=1\n"
    "PathDepthSevere=0\nQueueSize=20\ncritical=1\ndebug=0\nfatal=1\ninfo=0\nlogging=0\n"
    "warning=1\nmConfigTimeFormat=%F %X\n";

// Replaces a file and gives it a modification time of its own, so that the
// logger sees the edit even within one tick of the file system's clock.
bool replaceFile(const std::string& path, const std::string& text)
{
    static std::atomic<time_t> stamp{1000000000};
    const time_t mine = stamp++;
    const struct timespec times[2] = {{mine, 0}, {mine, 0}};
    return writeTextFile(path, text) && utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

void editFile(const std::string& path, const std::string& text)
{
    REQUIRE(replaceFile(path, text));
}

// The options file text with the given entries replaced or added.
std::string optionsWith(const std::map<std::string, std::string>& changes)
{
    std::map<std::string, std::string> remaining = changes;
    std::istringstream in(defaultOptionsText);
    std::string text;
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = line.substr(0, line.find('='));
        const auto change = remaining.find(key);
        if (change != remaining.end()) {
            text += key + "=" + change->second + "\n";
            remaining.erase(change);
        } else {
            text += line + "\n";
        }
    }
    for (const auto& added : remaining)
        text += added.first + "=" + added.second + "\n";
    return text;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

// A logger of its own in a fresh stand-in root.
struct LoggerSetup {
    TestRoot root;
    std::string dir = root.path("/cfg");
    std::unique_ptr<CDebug> logger = std::make_unique<CDebug>(dir);

    void setOptions(const std::map<std::string, std::string>& changes)
    {
        editFile(logger->configFilePath(), optionsWith(changes));
        logger->checkLoggingFiles();
    }
    void setRules(const std::string& text)
    {
        editFile(logger->rulesFilePath(), text);
        logger->checkLoggingFiles();
    }
    std::string rules() const { return readTextFile(dir + "/cdebug.ini"); }
    std::string options() const { return readTextFile(dir + "/cdebug.cnf"); }
    std::string capturePath() const { return root.path("/tmp/stdout.txt"); }
};

std::string block(const std::string& category, const char* switches)
{
    static const char* const names[] = {"debug", "warning", "critical", "logging", "info", "fatal"};
    std::string text = "\n";
    for (int level = 0; level < 6; ++level)
        text += category + "." + names[level] + "=" + (switches[level] == '1' ? "true" : "false") +
                "\n";
    return text;
}

}  // namespace

TEST_CASE("levels: names, letters and colours, and the way back from a name")
{
    struct LevelCase {
        int level;
        const char* name;
        const char* letter;
        const char* colour;
    } const cases[] = {
        {CDebugLevel::DEB, "debug", "D", "\x1b[1;32m"},   {CDebugLevel::WAR, "warning", "W", "\x1b[1;31m"},
        {CDebugLevel::CRI, "critical", "C", "\x1b[1;31m"}, {CDebugLevel::LOG, "logging", "L", "\x1b[1;36m"},
        {CDebugLevel::INF, "info", "I", "\x1b[1;33m"},     {CDebugLevel::FAT, "fatal", "F", "\x1b[1;31m"},
    };
    for (const LevelCase& c : cases) {
        CAPTURE(c.level);
        CHECK(CDebugLevel::level2String(c.level) == c.name);
        CHECK(CDebugLevel::string2Level(c.name) == c.level);
        CHECK(CDebugLevel::levelToChar(c.level) == c.letter);
        CHECK(CDebugLevel::Colorize(c.level, "x") == std::string(c.colour) + "x\x1b[1;37m");
        CHECK(CDebugLevel::Colorize(c.level) == std::string(c.colour) + c.letter + "\x1b[1;37m");
    }
    for (int outside : {6, 7, -1, 1000}) {
        CAPTURE(outside);
        CHECK(CDebugLevel::level2String(outside) == "LEV_NO");
        CHECK(CDebugLevel::levelToChar(outside) == "U");
        CHECK(CDebugLevel::Colorize(outside, "text") == "text");
    }
    for (const char* unknown : {"Debug", "DEBUG", "", "debug ", "LEV_NO", "warn"}) {
        CAPTURE(unknown);
        CHECK(CDebugLevel::string2Level(unknown) == CDebugLevel::LEV_NO);
    }
    CHECK(std::string(CDebugLevel::name()) == "CDebugLevel");
}

TEST_CASE("categories: defaults, setting by name and value text, and the rules block")
{
    CDebugCategory category("cDefault");
    CHECK(category.getString() == block("cDefault", "011001"));
    CHECK(category.getString(CDebugLevel::DEB) == "cDefault.debug=false\n");

    category.set("debug", "true");
    category.set("warning", "TRUE");
    category.set("info", "true ");
    category.set("bogus", "true");
    category.set(CDebugLevel::LEV_NO, true);
    category.set(-1, true);
    CHECK(category.getString() == block("cDefault", "101001"));
    CHECK_FALSE(category.get(CDebugLevel::LEV_NO));
    CHECK_FALSE(category.get(-1));

    category.set(CDebugLevel::LOG);
    category.setInfo(true);
    CHECK(category.getString() == block("cDefault", "101111"));
    category.clearAll();
    CHECK(category.getString() == block("cDefault", "000000"));
    category.resetAll();
    CHECK(category.getString() == block("cDefault", "011001"));
}

TEST_CASE("source paths are shortened by depth after dropping everything up to the first \"sw\"")
{
    const std::string deep = "../../../vk_lib/sw_drv/RTkernel/linux/src/threadfunc.cpp";
    struct PathCase {
        std::string path;
        int depth;
        std::string shown;
    } const cases[] = {
        {deep, 0, "_drv/RTkernel/linux/src/threadfunc.cpp"},
        {deep, 1, "threadfunc.cpp"},
        {deep, 2, "src/threadfunc.cpp"},
        {"main.cpp", 0, "main.cpp"},
        {"main.cpp", 1, "main.cpp"},
        {"main.cpp", 5, "main.cpp"},
        {"a/b.cpp", 5, "a/b.cpp"},
        {"/a/b.cpp", 5, "a/b.cpp"},
        {"/a/b.cpp", 2, "a/b.cpp"},
        {"/work/main/drivers/canio.cpp", 1, "canio.cpp"},
        {"/work/main/drivers/canio.cpp", 2, "drivers/canio.cpp"},
        {"dir/", 1, ""},
        {"", 1, ""},
    };
    for (const PathCase& c : cases) {
        CAPTURE(c.path);
        CAPTURE(c.depth);
        CHECK(CDebug::shortenPath(c.path, c.depth) == c.shown);
    }
}

TEST_CASE("a fresh configuration directory gets the rules header and the fourteen default options")
{
    LoggerSetup setup;
    CHECK(setup.rules() == "[rules]\n");
    CHECK(setup.options() == defaultOptionsText);
    CHECK(setup.logger->configString() == defaultOptionsText);

    SUBCASE("a category's first use adds its block at the next check, in byte order")
    {
        setup.logger->passes(CDebugLevel::DEB, "cZeta");
        setup.logger->passes(CDebugLevel::DEB, "cAlpha");
        setup.logger->passes(CDebugLevel::DEB, "Zulu");
        CHECK(setup.rules() == "[rules]\n");
        setup.logger->checkLoggingFiles();
        CHECK(setup.rules() == "[rules]\n" + block("Zulu", "011001") + block("cAlpha", "011001") +
                                   block("cZeta", "011001"));
        CHECK(setup.logger->categoryNames() == "Zulu\ncAlpha\ncZeta\n");
    }
    SUBCASE("an unknown category is reported and not created")
    {
        CHECK(setup.logger->getDebugLevelsOfCategory("cNobody") == "Unknown Category");
        CHECK(setup.logger->categoryNames().empty());
        setup.logger->passes(CDebugLevel::WAR, "cSomebody");  // the global switch decides alone
        CHECK(setup.logger->categoryNames().empty());
        setup.logger->passes(CDebugLevel::DEB, "cSomebody");
        CHECK(setup.logger->getDebugLevelsOfCategory("cSomebody") == block("cSomebody", "011001"));
    }
    SUBCASE("existing files are read, kept where valid, and written back in the logger's layout")
    {
        setup.logger.reset();
        editFile(setup.dir + "/cdebug.ini",
                 "[rules]\r\n\r\ncInit.debug=true\r\nnonsense\r\n.debug=true\r\ncInit.bogus=true\r\n"
                 "cNew.warning=false\r\ncNew.info");
        editFile(setup.dir + "/cdebug.cnf",
                 "QueueSize=abc\nPathDepth=3x\nMyKey=-7\n=5\nmConfigTimeFormat= %H \ndebug=1\n");
        setup.logger = std::make_unique<CDebug>(setup.dir);
        CHECK(setup.rules() == "[rules]\n" + block("cInit", "111001") + block("cNew", "001001"));
        CHECK(setup.options() ==
              "Colorizer=0\nConsole=1\nDataLogger=0\nErrorLogger=1\nExitOnAssert=0\nMyKey=-7\n"
              "PathDepth=3\nPathDepthSevere=0\nQueueSize=0\ncritical=1\ndebug=1\nfatal=1\ninfo=0\n"
              "logging=0\nwarning=1\nmConfigTimeFormat= %H \n");
        CHECK(setup.logger->timeFormat() == " %H ");
    }
}

TEST_CASE("on a full medium the rules and options files are rewritten whole or not at all")
{
    TestRoot root;
    const std::string dir = root.path("/cfg");
    const std::string rulesPath = dir + "/cdebug.ini";
    const std::string optionsPath = dir + "/cdebug.cnf";
    const std::string rules = "[rules]\ncInit.debug=true\ncInit.info=true\n";
    const std::string options = optionsWith({{"debug", "1"}, {"QueueSize", "5"}});
    REQUIRE(makeDirs(dir));
    REQUIRE(writeTextFile(rulesPath, rules));
    REQUIRE(writeTextFile(optionsPath, options));
    // Read at start and written back longer in the logger's own layout; the
    // medium takes only the first 64 bytes of a file.
    const int status = runInChild(
        [&dir] {
            if (!limitFileSize(64))
                return 2;
            CDebug logger(dir);
            logger.passes(CDebugLevel::DEB, "cMore");
            return !logger.writeFilterRules() && !logger.writeConfig() ? 0 : 1;
        },
        nullptr);
    CHECK(status == 0);
    CHECK(readTextFile(rulesPath) == rules);
    CHECK(readTextFile(optionsPath) == options);
    CHECK(globPaths(dir + "/cdebug.*.part", false).empty());

    // With room again the next start writes both in full.
    CDebug logger(dir);
    CHECK(readTextFile(rulesPath) == "[rules]\n" + block("cInit", "111011"));
    CHECK(readTextFile(optionsPath) == options);
}

TEST_CASE("filter: global switches first, then the category's switches")
{
    LoggerSetup setup;
    CDebug& logger = *setup.logger;
    for (const char* category : {"cDefault", "cInit", "cAnything"}) {
        CAPTURE(category);
        CHECK_FALSE(logger.passes(CDebugLevel::DEB, category));
        CHECK(logger.passes(CDebugLevel::WAR, category));
        CHECK(logger.passes(CDebugLevel::CRI, category));
        CHECK_FALSE(logger.passes(CDebugLevel::LOG, category));
        CHECK_FALSE(logger.passes(CDebugLevel::INF, category));
        CHECK(logger.passes(CDebugLevel::FAT, category));
        CHECK_FALSE(logger.passes(CDebugLevel::LEV_NO, category));
        CHECK_FALSE(logger.passes(-1, category));
    }

    CHECK_FALSE(logger.passes(CDebugLevel::DEB, nullptr));  // a missing name counts as ""
    CHECK(logger.passes(CDebugLevel::CRI, nullptr));

    setup.setRules("[rules]\ncInit.debug=true\ncInit.warning=false\n");
    CHECK(logger.passes(CDebugLevel::DEB, "cInit"));
    CHECK_FALSE(logger.passes(CDebugLevel::DEB, "cDefault"));
    CHECK(logger.passes(CDebugLevel::WAR, "cInit"));  // the global warning switch wins

    setup.setRules("[rules]\ncInit.debug=TRUE\n");
    CHECK_FALSE(logger.passes(CDebugLevel::DEB, "cInit"));

    setup.setOptions({{"debug", "1"}, {"warning", "0"}});
    CHECK(logger.passes(CDebugLevel::DEB, "cDefault"));
    CHECK(logger.passes(CDebugLevel::DEB, "cNew"));
    CHECK(logger.passes(CDebugLevel::WAR, "cDefault"));  // the category's own switch
    setup.setRules("[rules]\ncDefault.warning=false\n");
    CHECK_FALSE(logger.passes(CDebugLevel::WAR, "cDefault"));

    logger.logLevelsDefault();
    for (int level = CDebugLevel::DEB; level <= CDebugLevel::FAT; ++level)
        CHECK_FALSE(logger.passes(level, "cInit"));
    logger.logLevelsReset();
    CHECK(logger.passes(CDebugLevel::WAR, "cDefault"));
    CHECK_FALSE(logger.passes(CDebugLevel::DEB, "cDefault"));
    logger.setLevelForAll("info", "true");
    CHECK(logger.passes(CDebugLevel::INF, "cInit"));
    CHECK(logger.passes(CDebugLevel::INF, "cDefault"));
    CHECK_FALSE(logger.passes(CDebugLevel::INF, "cLater"));
}

TEST_CASE("output lines follow the fixed layout")
{
    LoggerSetup setup;
    struct LayoutCase {
        const char* what;
        std::map<std::string, std::string> options;
        int level;
        const char* category;
        int line;
        const char* file;
        const char* function;
        const char* text;
        const char* expected;  // T stands for the time text
    } const cases[] = {
        {"debug line", {}, CDebugLevel::DEB, "cDefault", 72, "../src/main.cpp", "main",
         "splash screen loaded", "[T D][   72][cDefault] main.cpp - main() - splash screen loaded\n"},
        {"severe path depth 0 keeps the whole path", {}, CDebugLevel::WAR, "cCan", 7,
         "../drivers/canio.cpp", "canioInit", "w", "[T W][    7][cCan] ../drivers/canio.cpp - canioInit() - w\n"},
        {"six-digit line numbers widen the field", {}, CDebugLevel::CRI, "cCan", 123456, "a.cpp", "f",
         "c", "[T C][123456][cCan] a.cpp - f() - c\n"},
        {"fatal text is framed", {}, CDebugLevel::FAT, "cDefault", 1, "x/y.cpp", "g", "boom",
         "[T F][    1][cDefault] x/y.cpp - g() - >>> FATAL( boom ) <<<\n"},
        {"colour around the letter", {{"Colorizer", "1"}}, CDebugLevel::INF, "cTip", 99999, "t.cpp",
         "h", "i", "[T \x1b[1;33mI\x1b[1;37m][99999][cTip] t.cpp - h() - i\n"},
        {"path depth 2", {{"PathDepth", "2"}}, CDebugLevel::LOG, "cUpdate", 10, "/a/b/c.cpp", "k",
         "l", "[T L][   10][cUpdate] b/c.cpp - k() - l\n"},
        {"unknown level without colour", {}, 6, "cX", 3, "p/q.cpp", "f", "t", "[T U][    3][cX]  - f() - t\n"},
        {"unknown level with colour", {{"Colorizer", "1"}}, 9, "cX", 3, "p/q.cpp", "f", "t",
         "[T ][    3][cX]  - f() - t\n"},
        {"production command is raw", {}, CDebugLevel::FAT, "cProdCmd", 3, "p.cpp", "f", "CMD 1", "CMD 1"},
        {"production response ends a line at logging", {}, CDebugLevel::LOG, "cProdRes", 3, "p.cpp",
         "f", "RES 1", "RES 1\n"},
        {"production response without line end otherwise", {}, CDebugLevel::INF, "cProdRes", 3,
         "p.cpp", "f", "RES 2", "RES 2"},
    };

    clockUseManual();
    for (const LayoutCase& c : cases) {
        CAPTURE(c.what);
        std::map<std::string, std::string> options = c.options;
        options["QueueSize"] = "0";
        options["mConfigTimeFormat"] = "0";
        setup.setOptions(options);
        char time[16];
        std::snprintf(time, sizeof time, "%7u", static_cast<unsigned>(clockGetMs()));
        std::string expected = c.expected;
        const size_t t = expected.find("[T ");
        if (t != std::string::npos)
            expected.replace(t + 1, 1, time);
        StdoutCapture capture(setup.capturePath());
        setup.logger->log(c.level, c.category, c.line, c.file, c.function, "%s", c.text);
        CHECK(capture.text() == expected);
    }
    clockAdvanceMs(123);
    CHECK(setup.logger->timeStamp("0") ==
          std::string(7 - std::to_string(clockGetMs()).size(), ' ') + std::to_string(clockGetMs()));
    clockUseReal();
}

TEST_CASE("the wall-clock stamp carries milliseconds after the pattern")
{
    LoggerSetup setup;
    const char* savedTz = std::getenv("TZ");
    const std::string oldTz = savedTz ? savedTz : "";
    setenv("TZ", "UTC", 1);
    tzset();
    struct timespec when = {};
    when.tv_sec = 1368799407;  // 2013-05-17 14:03:27 UTC
    REQUIRE(cmdSetWallClock(when));
    setup.setOptions({{"QueueSize", "0"}, {"debug", "1"}});

    StdoutCapture capture(setup.capturePath());
    CDebug& logger = *setup.logger;
    logger.log(CDebugLevel::DEB, "cDefault", 72, "main.cpp", "main", "splash screen loaded");
    const std::string line = capture.text();
    CHECK(std::regex_match(line, std::regex("\\[2013-05-17 14:03:2[78]:\\d{3} D\\]\\[   72\\]\\[cDefault\\] "
                                            "main.cpp - main\\(\\) - splash screen loaded\n")));
    CHECK(std::regex_match(logger.timeStamp("%Y"), std::regex("2013:\\d{3}")));
    CHECK(logger.timeStamp("").empty());

    when.tv_sec = time(nullptr);
    REQUIRE(cmdSetWallClock(when));
    if (savedTz)
        setenv("TZ", oldTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_CASE("options that decide what reaches the console")
{
    LoggerSetup setup;
    CDebug& logger = *setup.logger;

    SUBCASE("Console=0 writes fatal messages only")
    {
        setup.setOptions({{"QueueSize", "0"}, {"Console", "0"}});
        StdoutCapture capture(setup.capturePath());
        logger.log(CDebugLevel::WAR, "cDefault", 1, "a.cpp", "f", "hidden warning");
        logger.log(CDebugLevel::FAT, "cDefault", 2, "a.cpp", "f", "shown fatal");
        const std::vector<std::string> lines = splitLines(capture.text());
        REQUIRE(lines.size() == 1);
        CHECK(lines[0].find(">>> FATAL( shown fatal ) <<<") != std::string::npos);
    }
    SUBCASE("an empty time pattern suppresses every line, fatal ones too")
    {
        setup.setOptions({{"QueueSize", "0"}, {"mConfigTimeFormat", ""}});
        StdoutCapture capture(setup.capturePath());
        logger.log(CDebugLevel::WAR, "cDefault", 1, "a.cpp", "f", "w");
        logger.log(CDebugLevel::FAT, "cDefault", 2, "a.cpp", "f", "x");
        CHECK(capture.text().empty());
    }
    SUBCASE("QueueSize 0 writes before the call returns")
    {
        setup.setOptions({{"QueueSize", "0"}});
        StdoutCapture capture(setup.capturePath());
        for (int i = 0; i < 20; ++i) {
            logger.log(CDebugLevel::WAR, "cDefault", i, "a.cpp", "f", "now %d", i);
            const std::string seen = capture.peek();
            REQUIRE(seen.find("now " + std::to_string(i) + "\n") != std::string::npos);
        }
    }
    SUBCASE("queued messages are all written, in order, by the time the logger is gone")
    {
        StdoutCapture capture(setup.capturePath());
        for (int i = 0; i < 3000; ++i)
            logger.log(CDebugLevel::WAR, "cDefault", i, "a.cpp", "f", "queued %d", i);
        setup.logger.reset();
        const std::vector<std::string> lines = splitLines(capture.text());
        REQUIRE(lines.size() == 3000);
        for (int i = 0; i < 3000; ++i)
            if (lines[i].find("queued " + std::to_string(i)) == std::string::npos)
                FAIL("line " << i << " is " << lines[i]);
    }
    SUBCASE("a message longer than the buffer is cut to 1023 characters")
    {
        setup.setOptions({{"QueueSize", "0"}});
        const std::string longText(3000, 'x');
        StdoutCapture capture(setup.capturePath());
        logger.log(CDebugLevel::WAR, "cProdCmd", 1, "a.cpp", "f", "%s", longText.c_str());
        logger.logVariant(CDebugLevel::WAR, "cProdCmd", 1, "a.cpp", "f", "|");
        CHECK(capture.text() == std::string(1023, 'x') + "|");
    }
    SUBCASE("printConfig lists every option and the time pattern")
    {
        StdoutCapture capture(setup.capturePath());
        logger.printConfig();
        const std::vector<std::string> lines = splitLines(capture.text());
        REQUIRE(lines.size() == 15);
        CHECK(lines[0] == "mConfigMap[ Colorizer ] = 0");
        CHECK(lines[7] == "mConfigMap[ QueueSize ] = 20");
        CHECK(lines[14] == "mConfigTimeFormat = %F %X");
    }
}

TEST_CASE("the reload thread checks the files every 5000 ms of the monotonic clock")
{
    LoggerSetup setup;
    clockUseManual();
    setup.logger->passes(CDebugLevel::DEB, "cTimed");
    editFile(setup.dir + "/cdebug.ini", "[rules]\ncInit.debug=true\n");
    clockAdvanceMs(4000);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    CHECK_FALSE(setup.logger->passes(CDebugLevel::DEB, "cInit"));
    clockAdvanceMs(1100);
    bool seen = false;
    for (int i = 0; i < 200 && !seen; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        seen = setup.logger->passes(CDebugLevel::DEB, "cInit");
    }
    CHECK(seen);
    clockUseReal();
    for (int i = 0; i < 200 && setup.rules().find("cTimed.fatal") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    CHECK(setup.rules() == "[rules]\n" + block("cInit", "111001") + block("cTimed", "011001"));
}

TEST_CASE("with the check switched off the files are left alone")
{
    LoggerSetup setup;
    CHECK(setup.logger->getCheckLoggingFile());
    setup.logger->clearCheckLoggingFile();
    CHECK_FALSE(setup.logger->getCheckLoggingFile());
    editFile(setup.dir + "/cdebug.ini", "[rules]\ncInit.debug=true\n");
    setup.logger->passes(CDebugLevel::WAR, "cFresh");
    setup.logger->checkLoggingFiles();
    CHECK_FALSE(setup.logger->passes(CDebugLevel::DEB, "cInit"));
    CHECK(setup.rules() == "[rules]\ncInit.debug=true\n");
}

TEST_CASE("eight threads log while the rules change and categories appear: each message once, in order")
{
    LoggerSetup setup;
    CDebug& logger = *setup.logger;
    constexpr int threads = 8;
    constexpr int perThread = 12500;
    std::atomic<bool> done{false};
    SUBCASE("queued to the writer thread") {}
    SUBCASE("written by each calling thread")
    {
        setup.setOptions({{"QueueSize", "0"}});
    }
    StdoutCapture capture(setup.capturePath());

    std::thread editor([&] {
        int round = 0;
        while (!done.load()) {
            replaceFile(logger.rulesFilePath(),
                     "[rules]\ncStress0.debug=" + std::string(round % 2 ? "true" : "false") +
                         "\ncEdited" + std::to_string(round) + ".info=true\n");
            logger.checkLoggingFiles();
            ++round;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });
    std::vector<std::thread> loggers;
    for (int t = 0; t < threads; ++t) {
        loggers.emplace_back([&logger, t] {
            const std::string category = "cStress" + std::to_string(t);
            for (int n = 0; n < perThread; ++n) {
                if (n % 500 == 0)
                    logger.passes(CDebugLevel::DEB, ("cNew" + std::to_string(t) + "_" + std::to_string(n)).c_str());
                if (logger.passes(CDebugLevel::WAR, category.c_str()))
                    logger.log(CDebugLevel::WAR, category.c_str(), n, "s.cpp", "f", "T%d #%d", t, n);
            }
        });
    }
    for (std::thread& thread : loggers)
        thread.join();
    done.store(true);
    editor.join();
    setup.logger.reset();

    const std::vector<std::string> lines = splitLines(capture.text());
    CHECK(lines.size() == static_cast<size_t>(threads * perThread));
    std::vector<int> next(threads, 0);
    int misordered = 0;
    for (const std::string& line : lines) {
        int t = -1;
        int n = -1;
        const size_t mark = line.find("() - T");
        REQUIRE(mark != std::string::npos);
        REQUIRE(std::sscanf(line.c_str() + mark, "() - T%d #%d", &t, &n) == 2);
        REQUIRE(t >= 0);
        REQUIRE(t < threads);
        if (n != next[t])
            ++misordered;
        next[t] = n + 1;
    }
    CHECK(misordered == 0);
    for (int t = 0; t < threads; ++t)
        CHECK(next[t] == perThread);
}

TEST_CASE("child process: fatal message scenario" * doctest::skip())
{
    // Run by the fatal-message tests in a process of its own.
    const char* dir = std::getenv("CDEBUG_CHILD_DIR");
    const char* exitOnAssert = std::getenv("CDEBUG_CHILD_EXIT");
    REQUIRE(dir);
    REQUIRE(exitOnAssert);
    editFile(std::string(dir) + "/cdebug.cnf", optionsWith({{"ExitOnAssert", exitOnAssert}}));
    // The program itself installs no SIGINT handler; the test runner's would
    // catch the shutdown signal.
    std::signal(SIGINT, SIG_DFL);
    {
        CDebug logger(dir);
        logger.log(CDebugLevel::FAT, "cDefault", 42, "child.cpp", "scenario", "child fatal");
        for (int i = 0; i < 100 && *exitOnAssert == '1'; ++i)
            usleep(100000);
    }
    std::printf("child goes on\n");
    std::fflush(stdout);
    std::_Exit(0);
}

TEST_CASE("a fatal message ends the process only with ExitOnAssert")
{
    TestRoot root;
    const std::string dir = root.path("/cfg");
    REQUIRE(mkdir(dir.c_str(), 0755) == 0);
    char self[4096] = {};
    REQUIRE(readlink("/proc/self/exe", self, sizeof self - 1) > 0);

    struct FatalCase {
        const char* exitOnAssert;
        bool ends;
    } const cases[] = {{"0", false}, {"1", true}};
    for (const FatalCase& c : cases) {
        CAPTURE(c.exitOnAssert);
        const std::string output = root.path(std::string("/tmp/child") + c.exitOnAssert + ".txt");
        setenv("CDEBUG_CHILD_DIR", dir.c_str(), 1);
        setenv("CDEBUG_CHILD_EXIT", c.exitOnAssert, 1);
        const pid_t child = fork();
        REQUIRE(child >= 0);
        if (child == 0) {
            const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, STDOUT_FILENO);
            execl(self, self, "--no-skip", "--test-case=child process: fatal message scenario",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        REQUIRE(waitpid(child, &status, 0) == child);
        unsetenv("CDEBUG_CHILD_DIR");
        unsetenv("CDEBUG_CHILD_EXIT");
        const std::string text = readTextFile(output);
        CAPTURE(text);
        CHECK(text.find("][   42][cDefault] child.cpp - scenario() - >>> FATAL( child fatal ) <<<\n") !=
              std::string::npos);
        if (c.ends) {
            CHECK(text.find(">>> gracefully shutting down!!! <<<\n") != std::string::npos);
            CHECK(text.find("child goes on") == std::string::npos);
            REQUIRE(WIFSIGNALED(status));
            CHECK((WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGABRT));
        } else {
            CHECK(text.find("gracefully") == std::string::npos);
            CHECK(text.find("child goes on\n") != std::string::npos);
            REQUIRE(WIFEXITED(status));
            CHECK(WEXITSTATUS(status) == 0);
        }
    }
}
