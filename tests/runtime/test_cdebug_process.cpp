// The process's own logger, reached through the call-site macros, in real time:
// the stand-in root is set before the first log call and kept to the end.
#include "cdebug.h"
#include "storage.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

TestRoot& processRoot()
{
    static TestRoot root;
    return root;
}

int counted = 0;
int countedArgument()
{
    return ++counted;
}

// One call site for every category.
void debugAt(const char* category)
{
    CDEBUG_LOG(CDebugLevel::DEB, category, "%d", countedArgument());
}

}  // namespace

TEST_CASE("the first log call creates the files in the storage configuration directory")
{
    processRoot();
    const std::string dir = clStorageCfgDir();
    REQUIRE(dir.find(processRoot().dir()) == 0);
    CDEBUG_LOG(CDebugLevel::DEB, "cFirst", "filtered %d", countedArgument());
    CHECK(counted == 0);
    CHECK(CDebug::getInstance().rulesFilePath() == dir + "/cdebug.ini");
    CHECK(readTextFile(dir + "/cdebug.ini") == "[rules]\n");
    CHECK(readTextFile(dir + "/cdebug.cnf").find("QueueSize=20\n") != std::string::npos);
    struct stat info;
    CHECK(stat(clStorageDebugDir().c_str(), &info) == 0);
}

TEST_CASE("the macros evaluate the arguments of passing messages only")
{
    processRoot();
    counted = 0;
    StdoutCapture capture(processRoot().path("/tmp/out.txt"));

    CDEBUG_LOG(CDebugLevel::DEB, "cQuiet", "%d", countedArgument());
    CDEBUG_LOG(CDebugLevel::INF, "cQuiet", "%d", countedArgument());
    CDEBUG_LOG_TEXT(CDebugLevel::LOG, "cQuiet", std::to_string(countedArgument()));
    CHECK(counted == 0);
    const int warnLine = __LINE__ + 1;
    CDEBUG_LOG(CDebugLevel::WAR, "cQuiet", "warned %d", countedArgument());
    CDEBUG_LOG_TEXT(CDebugLevel::CRI, "cQuiet", "critical " + std::to_string(countedArgument()));
    CHECK(counted == 2);
    const bool written = waitFor([&] { return capture.peek().find("critical 2\n") != std::string::npos; }, 3000);
    const std::string text = capture.text();
    CHECK(written);
    // Warnings show the whole source path (PathDepthSevere 0): from the top of
    // the tree, wherever it is checked out and built.
    char lineField[16];
    std::snprintf(lineField, sizeof lineField, "[%5d]", warnLine);
    CHECK(text.find(" W]" + std::string(lineField) + "[cQuiet] tests/runtime/test_cdebug_process.cpp - ") !=
          std::string::npos);
    CHECK(text.find("() - warned 1\n") != std::string::npos);
}

TEST_CASE("one call site filters each category by its own switches")
{
    processRoot();
    StdoutCapture capture(processRoot().path("/tmp/site.txt"));

    counted = 0;
    debugAt("cSiteA");
    debugAt("cSiteB");
    CHECK(counted == 0);
    CDebug::getInstance().setLevelForAll("debug", "true");
    struct SiteCase {
        const char* category;
        int countAfter;
    } const cases[] = {{"cSiteC", 0}, {"cSiteA", 1}, {"cSiteC", 1}, {"cSiteB", 2}, {"cSiteB", 3}, {"cSiteC", 3}};
    for (const SiteCase& c : cases) {
        CAPTURE(c.category);
        debugAt(c.category);
        CHECK(counted == c.countAfter);
    }
    CDebug::getInstance().setLevelForAll("debug", "false");
    debugAt("cSiteA");
    CHECK(counted == 3);
}

TEST_CASE("within about 5 s a new category appears in the rules file and a rules edit takes effect")
{
    processRoot();
    const std::string rules = clStorageCfgDir() + "/cdebug.ini";
    CDebug& logger = CDebug::getInstance();
    logger.passes(CDebugLevel::DEB, "cBrandNew");
    const auto start = std::chrono::steady_clock::now();
    CHECK(waitFor([&] { return readTextFile(rules).find("cBrandNew.fatal=true\n") != std::string::npos; },
                  6500));
    CHECK(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(6500));

    CHECK_FALSE(logger.passes(CDebugLevel::DEB, "cInit"));
    std::string text = readTextFile(rules);
    REQUIRE(writeTextFile(rules, text + "cInit.debug=true\r\n"));
    CHECK(waitFor([&] { return logger.passes(CDebugLevel::DEB, "cInit"); }, 6500));
    // The file is rewritten in place: wait for the whole rewritten text, never a
    // snapshot taken while the logger is writing it.
    CHECK(waitFor([&] {
        const std::string rewritten = readTextFile(rules);
        return rewritten.find("\r") == std::string::npos &&
               rewritten.find("\ncInit.debug=true\ncInit.warning=true\n") != std::string::npos;
    }, 6500));
    // The root is removed at exit: the logger must leave it alone from now on.
    logger.clearCheckLoggingFile();
}
