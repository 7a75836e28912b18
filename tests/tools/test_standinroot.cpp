#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>
#include <chrono>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::string toolPath()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    REQUIRE(length > 0);
    const std::string path(self, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/')) + "/../tools/standin/standinroot";
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

TEST_CASE("the tool lays out the board's devices and storage")
{
    TestRoot root;
    const std::string board = root.path("/board");
    REQUIRE(std::system((toolPath() + " " + board + " >/dev/null").c_str()) == 0);
    for (const char* path : {"/dev/uio0", "/run/can/can0", "/sys/class/gpio/gpio141/value",
                             "/sys/class/hwmon/hwmon1/device/in_max", "/usr/local/velmar", "/var/log"}) {
        CAPTURE(path);
        CHECK(exists(board + path));
    }
    CHECK(std::system((toolPath() + " 2>/dev/null").c_str()) != 0);
}

TEST_CASE("serving, the tool keeps the serial ports and logs what the console sends")
{
    TestRoot root;
    const std::string board = root.path("/board");
    const std::string tool = toolPath();
    const pid_t child = fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        execl(tool.c_str(), tool.c_str(), "--serve", board.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    REQUIRE(waitFor([&] { return exists(board + "/dev/ttyO2"); }, 5000));
    const int port = open((board + "/dev/ttyO2").c_str(), O_WRONLY | O_NOCTTY);
    REQUIRE(port >= 0);
    CHECK(write(port, "PING\r\n", 6) == 6);
    close(port);
    CHECK(waitFor([&] { return readTextFile(board + "/var/log/ttyO2.log") == "PING\r\n"; }, 5000));
    REQUIRE(kill(child, SIGTERM) == 0);
    int status = 0;
    REQUIRE(waitpid(child, &status, 0) == child);
    CHECK(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 0);
}
