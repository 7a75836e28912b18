// Failed system calls of the file layer are reported under "cfilefunc". This
// program enables the category's debug level through the rules file before
// the logger starts, and reads the log lines from standard output.
#include "cdebug.h"
#include "filefunc.h"
#include "storage.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {
bool endsWith(const std::string& text, const std::string& ending)
{
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// The first captured line that ends with the text (empty when none does).
std::string lineEnding(const std::string& text, const std::string& ending)
{
    size_t start = 0;
    size_t end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        const std::string line = text.substr(start, end - start);
        if (endsWith(line, ending))
            return line;
        start = end + 1;
    }
    return std::string();
}

// The logger writes from its own thread: waits until a line ends with the text.
bool waitForLineEnding(const StdoutCapture& capture, const std::string& ending, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (lineEnding(capture.peek(), ending).empty()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// Everything written once the writer thread has been quiet for a short while.
std::string settledText(const StdoutCapture& capture)
{
    std::string text = capture.peek();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const std::string now = capture.peek();
        if (now == text)
            return text;
        text = now;
    }
}

// One stand-in root for the whole program: the logger keeps the configuration
// directory it started with.
TestRoot& sharedRoot()
{
    static TestRoot root;
    return root;
}

// The logger reads its rules at start and checks them again every 5000 ms.
bool enableFileLog()
{
    sharedRoot();
    if (!makePath(clStorageCfgDir()) ||
        !writeLineFile(clStorageCfgDir() + "/cdebug.ini", "[rules]\r\ncfilefunc.debug=true"))
        return false;
    for (int i = 0; i < 130; ++i) {
        if (CDebug::getInstance().passes(CDebugLevel::DEB, "cfilefunc"))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool descriptorOpen(int fd)
{
    return fcntl(fd, F_GETFD) != -1;
}
}  // namespace

TEST_CASE("failed system calls are logged under cfilefunc with the action, the handle and the error")
{
    REQUIRE(enableFileLog());
    const TestRoot& root = sharedRoot();
    REQUIRE_FALSE(descriptorOpen(99));
    const std::string missing = root.path("/tmp/missing/file");

    struct Case {
        const char* name;
        bool (*call)(const std::string& missing);
        std::string message;
    };
    const Case cases[] = {
        {"close", [](const std::string&) { return fileClose(99); },
         "failed to close file handle 99 with errno Bad file descriptor"},
        {"flush", [](const std::string&) { return fileFlush(99); },
         "failed to sync file handle 99 with errno Bad file descriptor"},
        {"resize", [](const std::string&) { return fileChangeSize(99, 0); },
         "failed to resize file handle 99 with errno Bad file descriptor"},
        {"write", [](const std::string&) { return fileWrite(99, "x", 1); },
         "failed to write file handle 99 with errno Bad file descriptor"},
        {"read", [](const std::string&) {
             char buffer[4];
             return fileRead(99, buffer, sizeof buffer);
         },
         "failed to read file handle 99 with errno Bad file descriptor"},
        {"get char", [](const std::string&) { return fileGetCharDefault(99); },
         "failed to get char 99 with errno Bad file descriptor"},
        {"delete", [](const std::string& path) { return fileDelete(path); },
         "failed to delete " + missing + " with errno : No such file or directory"},
        {"rename", [](const std::string& path) { return fileRename(path, path + ".new"); },
         "failed to rename " + missing + " with errno No such file or directory"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        StdoutCapture capture(root.path("/tmp/log.txt"));
        CHECK_FALSE(c.call(missing));
        CHECK(waitForLineEnding(capture, "() - " + c.message, 6000));
        const std::string line = lineEnding(capture.peek(), c.message);
        CHECK(line.find("[cfilefunc]") != std::string::npos);
    }

    StdoutCapture capture(root.path("/tmp/log.txt"));
    CHECK_FALSE(fileClose(99));
    CHECK(waitForLineEnding(capture, "fileClose() - failed to close file handle 99 with errno Bad file descriptor",
                            6000));
    CHECK(waitForLineEnding(capture,
        "() - failed to retrieve file path for file descriptor 99. No such file or directory", 6000));
}

TEST_CASE("short reads and short writes are no failures of a system call")
{
    REQUIRE(enableFileLog());
    const TestRoot& root = sharedRoot();
    const std::string path = root.path("/tmp/short");
    REQUIRE(writeTextFile(path, "abc"));
    const int fd = openFileReadWrite(path);
    REQUIRE(fd >= 0);

    StdoutCapture capture(root.path("/tmp/log.txt"));
    char buffer[10];
    CHECK_FALSE(fileRead(fd, buffer, sizeof buffer));
    char byte = 0;
    CHECK_FALSE(fileGetChar(fd, &byte));

    // A file size limit makes the kernel take only part of a write.
    struct rlimit old;
    REQUIRE(getrlimit(RLIMIT_FSIZE, &old) == 0);
    struct rlimit limited = old;
    limited.rlim_cur = 8;
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    REQUIRE(setrlimit(RLIMIT_FSIZE, &limited) == 0);
    const bool written = fileWrite(fd, "0123456789", 10);
    REQUIRE(setrlimit(RLIMIT_FSIZE, &old) == 0);
    std::signal(SIGXFSZ, oldHandler);
    CHECK_FALSE(written);
    CHECK(readTextFile(path) == "abc01234");

    CHECK(fileClose(fd));
    CHECK(settledText(capture).find("cfilefunc") == std::string::npos);
}
