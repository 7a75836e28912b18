#include "filelogger.h"
#include "filerotator.h"
#include "test_capture.h"
#include "test_root.h"
#include "test_wait.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Polls until the condition holds or the time is up.
bool exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

std::string logName(const std::string& dir, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "/fileLog%05d.log", number);
    return dir + name;
}

// A stick directory in a fresh stand-in root; the logger passes every 10 ms
// and looks for the directory every 50 passes (0.5 s).
struct StickSetup {
    TestRoot root;
    std::string dir = root.path("/media/sda1/vrlog");
    std::string capturePath = root.path("/tmp/stdout.txt");
    static constexpr int passMs = 10;
};

}  // namespace

TEST_CASE("rotator sibling names pad the index to the digits of count - 1")
{
    struct NameCase {
        std::string file;
        int32_t count;
        int32_t index;
        std::string sibling;
    } const cases[] = {
        {"a.log", 0, 0, "a0.log"},      {"a.log", 1, 1, "a1.log"},       {"a.log", 3, 2, "a2.log"},
        {"run.log", 10, 9, "run9.log"}, {"run.log", 10, 10, "run10.log"}, {"run.log", 11, 3, "run03.log"},
        {"run.log", 100, 7, "run07.log"}, {"run.log", 101, 7, "run007.log"}, {"log", 3, 1, "log1"},
        {"/x.d/log", 3, 1, "/x.d/log1"}, {"/x.d/a.b.txt", 2, 0, "/x.d/a.b0.txt"},
    };
    for (const NameCase& c : cases) {
        CAPTURE(c.file);
        CAPTURE(c.count);
        FileRotator rotator(10, c.file, c.count);
        CHECK(rotator.siblingName(c.index) == c.sibling);
    }
}

TEST_CASE("rotator with count 3 fills a0..a3 and then overwrites from a0")
{
    TestRoot root;
    const std::string base = root.path("/tmp/a");
    FileRotator rotator(10, base + ".log", 3);
    REQUIRE(rotator.open());
    // Each text reaches the limit, so every following write rotates first.
    for (int i = 0; i < 7; ++i)
        CHECK(rotator.write("text" + std::to_string(i) + "_____") == 10u);
    CHECK(readTextFile(base + "0.log") == "text4_____");
    CHECK(readTextFile(base + "1.log") == "text5_____");
    CHECK(readTextFile(base + "2.log") == "text2_____");
    CHECK(readTextFile(base + "3.log") == "text3_____");
    CHECK(readTextFile(base + ".log") == "text6_____");
    CHECK_FALSE(exists(base + "4.log"));
}

TEST_CASE("rotator appends below the limit, starts afresh above it and skips taken siblings")
{
    TestRoot root;
    const std::string base = root.path("/tmp/r");
    REQUIRE(writeTextFile(base + ".log", "old"));
    REQUIRE(writeTextFile(base + "0.log", "taken"));
    {
        FileRotator rotator(8, base + ".log", 1);
        REQUIRE(rotator.open());
        CHECK(rotator.write("abc") == 3u);
        CHECK(rotator.write(std::string("de")) == 2u);
        CHECK(readTextFile(base + ".log") == "oldabcde");
        CHECK_FALSE(rotator.belowLimit());
        CHECK(rotator.write("next") == 4u);
        CHECK(readTextFile(base + "0.log") == "taken");
        CHECK(readTextFile(base + "1.log") == "oldabcde");
        CHECK(readTextFile(base + ".log") == "next");
        rotator.close();
        CHECK(rotator.write("closed") == 0u);
    }
    REQUIRE(writeTextFile(base + ".log", "full file"));
    FileRotator reopened(8, base + ".log", 1);
    REQUIRE(reopened.open());
    CHECK(readTextFile(base + ".log").empty());
    CHECK(readTextFile(base + "0.log") == "full file");
    CHECK(readTextFile(base + "1.log") == "oldabcde");
}

TEST_CASE("file logger numbering continues after the files already on the stick")
{
    StickSetup setup;
    REQUIRE(makeDirs(setup.dir));
    REQUIRE(writeTextFile(logName(setup.dir, 1), "run 1"));
    REQUIRE(writeTextFile(logName(setup.dir, 2), "run 2"));

    StdoutCapture capture(setup.capturePath);
    FileLogger logger(setup.dir, StickSetup::passMs);
    const std::string tried = capture.text();
    CHECK(tried == "Try log file: " + logName(setup.dir, 1) + "\n\rTry log file: " + logName(setup.dir, 2) +
                       "\n\rTry log file: " + logName(setup.dir, 3) + "\n\r");
    CHECK(logger.currentFile() == logName(setup.dir, 3));

    CHECK(logger.printf("dropped while off\n") == 1);
    logger.setEnabled(true);
    CHECK(logger.printf("%d,%s\n", 1, "flow") == 1);
    CHECK(logger.printf("2,valve\n") == 1);
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 3)) == "1,flow\n2,valve\n"; }, 2000));

    SUBCASE("switching off and on again puts the next records into the next file")
    {
        StdoutCapture quiet(setup.capturePath);
        logger.setEnabled(false);
        CHECK(waitFor([&] { return logger.currentFile() == logName(setup.dir, 4); }, 2000));
        logger.printf("while off\n");
        logger.setEnabled(true);
        logger.printf("second period\n");
        CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 4)) == "second period\n"; }, 2000));
        CHECK(readTextFile(logName(setup.dir, 3)) == "1,flow\n2,valve\n");
    }
    SUBCASE("a record longer than the buffer is cut, never overrun")
    {
        const std::string longText(3 * FileLogger::recordBufferSize, 'y');
        logger.printf("%s", longText.c_str());
        logger.printf("|");
        CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 3)).size() >= 1024 + 15; }, 2000));
        CHECK(readTextFile(logName(setup.dir, 3)) ==
              "1,flow\n2,valve\n" + std::string(FileLogger::recordBufferSize - 1, 'y') + "|");
    }
    SUBCASE("records of several threads all arrive")
    {
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t)
            writers.emplace_back([&logger, t] {
                for (int n = 0; n < 500; ++n)
                    logger.printf("%d,%d\n", t, n);
            });
        for (std::thread& writer : writers)
            writer.join();
        const std::string fileName = logName(setup.dir, 3);
        auto lineCount = [&] {
            const std::string text = readTextFile(fileName);
            return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        };
        CHECK(waitFor([&] { return lineCount() == 2 + 2000; }, 3000));
    }
}

TEST_CASE("file logger waits for a missing directory and survives its removal")
{
    StickSetup setup;
    StdoutCapture capture(setup.capturePath);
    FileLogger logger(setup.dir, StickSetup::passMs);
    logger.setEnabled(true);
    CHECK(logger.currentFile().empty());
    CHECK(logger.printf("no stick\n") == 1);
    CHECK_FALSE(exists(setup.dir));

    REQUIRE(makeDirs(setup.dir));
    CHECK(waitFor([&] { return logger.currentFile() == logName(setup.dir, 1); }, 2000));
    logger.printf("stick in\n");
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 1)) == "stick in\n"; }, 2000));

    REQUIRE(removeTree(setup.dir));
    CHECK(waitFor([&] { return logger.currentFile().empty(); }, 2000));
    logger.printf("stick out\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    CHECK_FALSE(exists(setup.dir));

    REQUIRE(mkdir(setup.dir.c_str(), 0755) == 0);
    CHECK(waitFor([&] { return logger.currentFile() == logName(setup.dir, 2); }, 2000));
    logger.printf("stick back\n");
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 2)) == "stick back\n"; }, 2000));
    CHECK_FALSE(exists(logName(setup.dir, 1)));
    capture.text();
}

namespace {
// Times the thread of this process with the name went to sleep and was woken
// (its voluntary context switches); -1 when no thread has the name.
long threadWakeups(const std::string& name)
{
    for (const std::string& task : globPaths("/proc/self/task/*", false)) {
        if (readTextFile(task + "/comm") != name + "\n")
            continue;
        std::ifstream status(task + "/status");
        std::string line;
        const std::string field = "voluntary_ctxt_switches:";
        while (std::getline(status, line))
            if (line.compare(0, field.size(), field) == 0)
                return std::stol(line.substr(field.size()));
    }
    return -1;
}
}  // namespace

TEST_CASE("the writer sleeps while recording is off, and switching recording wakes it")
{
    StickSetup setup;
    REQUIRE(makeDirs(setup.dir));
    StdoutCapture capture(setup.capturePath);
    // Passes of 10 ms while recording; the directory is tested every 10 s.
    FileLogger logger(setup.dir, StickSetup::passMs, 1000);
    REQUIRE(waitFor([] { return threadWakeups("file-logger") >= 0; }, 2000));
    const long asleep = threadWakeups("file-logger");
    std::this_thread::sleep_for(std::chrono::milliseconds(30 * StickSetup::passMs));
    CHECK(threadWakeups("file-logger") - asleep <= 2);

    logger.setEnabled(true);
    logger.printf("on\n");
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 1)) == "on\n"; }, 3000));
    logger.setEnabled(false);
    CHECK(waitFor([&] { return logger.currentFile() == logName(setup.dir, 2); }, 3000));
    capture.text();
}

TEST_CASE("every line of a recording is a whole record before and after the medium fills and empties")
{
    StickSetup setup;
    REQUIRE(makeDirs(setup.dir));
    static std::string dir;
    dir = setup.dir;
    std::string output;
    const int status = runInChild(
        [] {
            FileLogger logger(dir, StickSetup::passMs, 5);
            logger.setEnabled(true);
            // Seven 13-byte records fit below the limit; the eighth is cut short.
            if (!limitFileSize(100))
                return 2;
            for (int n = 1; n <= 20; ++n) {
                logger.printf("rec %05d,ab\n", n);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            limitFileSize(kNoFileSizeLimit);
            for (int n = 1; n <= 5; ++n)
                logger.printf("new %05d,ab\n", n);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            return 0;
        },
        &output);
    REQUIRE(status == 0);
    std::vector<std::string> lines;
    std::string all;
    for (const std::string& file : globPaths(setup.dir + "/fileLog*.log", false)) {
        const std::string text = readTextFile(file);
        CAPTURE(file);
        CHECK((text.empty() || text.back() == '\n'));
        all += text;
        if (text.empty())
            continue;
        for (const std::string& line : splitString(text.substr(0, text.size() - 1), "\n"))
            lines.push_back(line);
    }
    CAPTURE(all);
    CHECK(lines.size() >= 7 + 5);
    for (const std::string& line : lines) {
        CAPTURE(line);
        CHECK(line.size() == 12);
        CHECK((line.compare(0, 4, "rec ") == 0 || line.compare(0, 4, "new ") == 0));
        CHECK(line.compare(9, 3, ",ab") == 0);
    }
    CHECK(all.find("rec 00007,ab\n") != std::string::npos);
    CHECK(all.find("new 00005,ab\n") != std::string::npos);
}

TEST_CASE("the process's file logger starts a new file within about 6 s of the stick's return")
{
    // Before creation the calls do nothing.
    fileLoggerSetEnabled(1);
    CHECK(fileLoggerPrintf("nobody\n") == 0);

    StickSetup setup;
    REQUIRE(makeDirs(setup.dir));
    StdoutCapture capture(setup.capturePath);
    REQUIRE(fileLoggerCreate(setup.dir.c_str()) == 1);
    CHECK(fileLoggerCreate(setup.dir.c_str()) == 0);
    fileLoggerSetEnabled(1);
    CHECK(fileLoggerPrintf("%s\n", "first") == 1);
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 1)) == "first\n"; }, 2000));

    REQUIRE(removeTree(setup.dir));
    std::this_thread::sleep_for(std::chrono::milliseconds(5500));
    REQUIRE(mkdir(setup.dir.c_str(), 0755) == 0);
    const auto back = std::chrono::steady_clock::now();
    CHECK(waitFor([&] { return exists(logName(setup.dir, 2)); }, 6500));
    const auto seconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - back).count();
    CHECK(seconds <= 6500);
    fileLoggerPrintf("again\n");
    CHECK(waitFor([&] { return readTextFile(logName(setup.dir, 2)) == "again\n"; }, 2000));
    capture.text();
}
