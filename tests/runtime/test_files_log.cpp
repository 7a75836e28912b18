// Failed system calls of the file layer are reported under "cfilefunc". This
// program enables the category's debug level through the rules file before
// the logger starts, and reads the log lines from standard output.
#include "cdebug.h"
#include "filefunc.h"
#include "storage.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
class StdoutCapture {
public:
    StdoutCapture()
    {
        std::fflush(stdout);
        REQUIRE(pipe(mPipe) == 0);
        fcntl(mPipe[0], F_SETFL, O_NONBLOCK);
        mSaved = dup(STDOUT_FILENO);
        dup2(mPipe[1], STDOUT_FILENO);
    }
    ~StdoutCapture()
    {
        std::fflush(stdout);
        dup2(mSaved, STDOUT_FILENO);
        close(mSaved);
        close(mPipe[1]);
        close(mPipe[0]);
    }
    // Collects output until a line ends with the text or the time is up.
    bool waitForLineEnding(const std::string& ending, int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            if (hasLineEnding(ending))
                return true;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                    std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            struct pollfd ready = {mPipe[0], POLLIN, 0};
            if (poll(&ready, 1, static_cast<int>(left.count() < 100 ? left.count() : 100)) > 0)
                drain();
        }
    }
    // Everything written so far, after a short pause for the writer thread.
    const std::string& settle()
    {
        struct pollfd ready = {mPipe[0], POLLIN, 0};
        while (poll(&ready, 1, 300) > 0)
            if (!drain())
                break;
        return mText;
    }
    const std::string& text() const { return mText; }
    std::string lineEnding(const std::string& ending) const
    {
        for (const std::string& line : lines())
            if (endsWith(line, ending))
                return line;
        return std::string();
    }

private:
    bool drain()
    {
        char buffer[1024];
        ssize_t n;
        bool any = false;
        while ((n = read(mPipe[0], buffer, sizeof buffer)) > 0) {
            mText.append(buffer, static_cast<size_t>(n));
            any = true;
        }
        return any;
    }
    static bool endsWith(const std::string& text, const std::string& ending)
    {
        return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
    }
    std::vector<std::string> lines() const
    {
        std::vector<std::string> found;
        size_t start = 0;
        size_t end;
        while ((end = mText.find('\n', start)) != std::string::npos) {
            found.push_back(mText.substr(start, end - start));
            start = end + 1;
        }
        return found;
    }
    bool hasLineEnding(const std::string& ending) const { return !lineEnding(ending).empty(); }

    int mPipe[2];
    int mSaved = -1;
    std::string mText;
};

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
        StdoutCapture capture;
        CHECK_FALSE(c.call(missing));
        CHECK(capture.waitForLineEnding("() - " + c.message, 6000));
        const std::string line = capture.lineEnding(c.message);
        CHECK(line.find("[cfilefunc]") != std::string::npos);
    }

    StdoutCapture capture;
    CHECK_FALSE(fileClose(99));
    CHECK(capture.waitForLineEnding("fileClose() - failed to close file handle 99 with errno Bad file descriptor", 6000));
    CHECK(capture.waitForLineEnding(
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

    StdoutCapture capture;
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
    CHECK(capture.settle().find("cfilefunc") == std::string::npos);
}
