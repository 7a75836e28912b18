#include "test_root.h"
#include "test_wait.h"

#include <doctest/doctest.h>
#include <chrono>
#include <climits>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <poll.h>
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

// Files in a directory, without "." and "..".
int entries(const std::string& dir)
{
    DIR* listing = opendir(dir.c_str());
    if (!listing)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(listing))
        count += std::string(entry->d_name) != "." && std::string(entry->d_name) != "..";
    closedir(listing);
    return count;
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
    // Ready once everything is up: the ports, the sprayer's configuration and the sensors.
    REQUIRE(waitFor([&] { return exists(board + "/run/board.ready"); }, 5000));
    CHECK(exists(board + "/dev/ttyO2"));
    CHECK(exists(board + "/usr/local/velmar/share/config/cfgfile.xml"));
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
    CHECK_FALSE(exists(board + "/run/board.ready"));
}

TEST_CASE("serving, control lines reach the sprayer and the Sectrix unit on can0")
{
    TestRoot root;
    const std::string board = root.path("/board");
    const std::string tool = toolPath();
    int control[2], answers[2];
    REQUIRE(pipe(control) == 0);
    REQUIRE(pipe(answers) == 0);
    const pid_t child = fork();
    REQUIRE(child >= 0);
    if (child == 0) {
        dup2(control[0], STDIN_FILENO);
        dup2(answers[1], STDOUT_FILENO);
        close(control[1]);
        close(answers[0]);
        execl(tool.c_str(), tool.c_str(), "--serve", board.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(control[0]);
    close(answers[1]);
    const std::string lines = "sectrix allow 1ff\nsectrix auto\nsectrix off\nsectrix allow 12345\n"
                              "speed 5\nsectrix status\n";
    CHECK(write(control[1], lines.data(), lines.size()) == static_cast<ssize_t>(lines.size()));
    std::string output;
    const std::string last = "sectrix off, automatic, status word 01FF";
    CHECK(waitFor([&] {
        struct pollfd watch = {answers[0], POLLIN, 0};
        char buffer[512];
        ssize_t n = 0;
        if (poll(&watch, 1, 0) > 0 && (n = read(answers[0], buffer, sizeof buffer)) > 0)
            output.append(buffer, static_cast<size_t>(n));
        return output.find(last) != std::string::npos;
    }, 5000));
    CHECK(output.find("sectrix status word 01FF\nsectrix automatic\nsectrix off\n? sectrix allow") !=
          std::string::npos);
    CHECK(output.find("speed 5 km/h\n") != std::string::npos);
    // The unit's socket on the bus of channel 0, gone with the board.
    CHECK(entries(board + "/run/can/can0") == 1);
    close(control[1]);
    REQUIRE(kill(child, SIGTERM) == 0);
    int status = 0;
    REQUIRE(waitpid(child, &status, 0) == child);
    CHECK(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 0);
    CHECK(entries(board + "/run/can/can0") == 0);
    close(answers[0]);
}
