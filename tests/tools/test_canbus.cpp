// The canbus tool on a stand-in root: frames sent by one instance reach a
// dumping one in the same notation, and malformed frames are refused.
#include "test_root.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <climits>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string toolPath()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "canbus";
    std::string path(self, static_cast<size_t>(length));
    return path.substr(0, path.rfind('/')) + "/../tools/canbus/canbus";
}

int runTool(const std::string& arguments)
{
    const int status = std::system((toolPath() + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

size_t socketsOnBus(const TestRoot& root, const std::string& interfaceName)
{
    size_t count = 0;
    if (DIR* dir = opendir(root.path("/run/can/" + interfaceName).c_str())) {
        while (const dirent* entry = readdir(dir))
            count += entry->d_name[0] != '.';
        closedir(dir);
    }
    return count;
}

}  // namespace

TEST_CASE("frames sent with the tool are dumped in the same notation")
{
    TestRoot root;
    REQUIRE(access(toolPath().c_str(), X_OK) == 0);
    const char* frames[] = {
        "18EFFFC0#0005000000", "123#", "123#R", "7FF#R2", "20000040#0000000000000000",
        "321#1122334455667788_C", "18EFC0B4#000500000080FF",
    };
    FILE* dump = popen((toolPath() + " dump can0 -n 7 -t 5000").c_str(), "r");
    REQUIRE(dump != nullptr);
    for (int i = 0; i < 200 && socketsOnBus(root, "can0") == 0; ++i)
        threadfunc::sleep(10);
    REQUIRE(socketsOnBus(root, "can0") == 1);

    std::string arguments = "send can0";
    for (const char* frame : frames)
        arguments += std::string(" ") + frame;
    CHECK(runTool(arguments) == 0);

    std::string output;
    char line[256];
    while (fgets(line, sizeof line, dump))
        output += line;
    CHECK(pclose(dump) == 0);
    size_t position = 0;
    for (const char* frame : frames) {
        CAPTURE(frame);
        const size_t found = output.find(std::string(" can0 ") + frame + "\n", position);
        CHECK(found != std::string::npos);
        if (found != std::string::npos)
            position = found;
    }
    // Both sockets removed their files when they closed.
    CHECK(socketsOnBus(root, "can0") == 0);
}

TEST_CASE("malformed frames and missing arguments are refused")
{
    TestRoot root;
    const char* bad[] = {
        "1234#00", "123#0", "123#001122334455667788", "800#", "G23#", "123#R9", "123",
        "E0000000#", "123#00_C", "123#0011223344556677_5", "123#R#",
    };
    for (const char* frame : bad) {
        CAPTURE(frame);
        CHECK(runTool(std::string("send can0 '") + frame + "'") == 2);
    }
    CHECK(runTool("send can0") == 2);
    CHECK(runTool("dump") == 2);
    CHECK(runTool("play can0") == 2);
    CHECK(runTool("dump can0 -n x") == 2);
}

TEST_CASE("the tool needs a stand-in root")
{
    TestRoot root;
    const std::string command = "env -u CONSOLE_SYSROOT " + toolPath() + " send can0 123# 2>/dev/null";
    const int status = std::system(command.c_str());
    CHECK(WIFEXITED(status));
    CHECK(WEXITSTATUS(status) == 2);
}
