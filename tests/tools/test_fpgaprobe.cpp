// fpgaprobe on the stand-in board: options, usage text and the pulse count.
#include "clock.h"
#include "fpgaprobe.h"
#include "ioextend.h"
#include "standin_board.h"
#include "standin_devices.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const kUsage =
    "Usage: fpgaprobe [-d -t -v]\n"
    "-d Build date for the fpga bitstream\n"
    "-t Build time for the fpga bitstream\n"
    "-v Version of the fpga bitstream\n"
    "-c Make pulse count at frequency input 13, 14, 15\n"
    "This application software version 1.0a\n";

struct Probe {
    TestRoot root;
    Probe()
    {
        REQUIRE(standinWriteFpgaRegister(root.dir(), 0x0000, 0x0843));
        const uint32_t build = (12u << 26) | (7u << 22) | (21u << 16) | (10u << 6) | 16u;
        REQUIRE(standinWriteFpgaRegister(root.dir(), 0x0004, build));
    }
};

// Captures a child's standard output separately from its error stream.
int runSplit(const std::vector<std::string>& args, std::string* out, std::string* err)
{
    int outPipe[2], errPipe[2];
    REQUIRE(pipe(outPipe) == 0);
    REQUIRE(pipe(errPipe) == 0);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        close(outPipe[0]);
        close(errPipe[0]);
        std::vector<std::string> copy = args;
        copy.insert(copy.begin(), "fpgaprobe");
        std::vector<char*> argv;
        for (std::string& a : copy)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        const int status = fpgaprobeMain(static_cast<int>(copy.size()), argv.data());
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(status);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    auto drain = [](int fd) {
        std::string text;
        char buffer[512];
        ssize_t got;
        while ((got = read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(got));
        close(fd);
        return text;
    };
    *out = drain(outPipe[0]);
    *err = drain(errPipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST_CASE_FIXTURE(Probe, "options print the bitstream's identity; none prints the usage")
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const Case cases[] = {
        {{}, 1, "", kUsage},
        {{"-x"}, 1, "", std::string("fpgaprobe: invalid option -- 'x'\n") + kUsage},
        {{"-v", "-d"}, 0, "1.02.03\n20210712\n", ""},
        {{"-t"}, 0, "10:16\n", ""},
        {{"-dtv"}, 0, "20210712\n10:16\n1.02.03\n", ""},
        {{"-v", "-v"}, 0, "1.02.03\n1.02.03\n", ""},
    };
    for (const Case& c : cases) {
        CAPTURE(c.args.size());
        CAPTURE(c.out);
        std::string out, err;
        CHECK(runSplit(c.args, &out, &err) == c.status);
        CHECK(out == c.out);
        CHECK(err == c.err);
    }
}

TEST_CASE_FIXTURE(Probe, "a record of an unknown id is reported and counts nowhere")
{
    std::string out;
    REQUIRE(runInChild([] {
        ioextend_Init();
        fpgaprobeFrequencyCallback(0x00000005, 82);
        return 0;
    }, &out) == 0);
    CHECK(out.find("Do not know to handle: 82\n") == 0);
    CHECK(out.find("1,") == std::string::npos);
}

TEST_CASE_FIXTURE(Probe, "the pulse count prints its totals once a second")
{
    int outPipe[2];
    REQUIRE(pipe(outPipe) == 0);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(outPipe[1], 1);
        close(outPipe[0]);
        char name[] = "fpgaprobe", version[] = "-v", count[] = "-c";
        char* argv[] = {name, count, version, nullptr};
        _exit(fpgaprobeMain(3, argv));
    }
    close(outPipe[1]);
    std::string out;
    auto readSome = [&](int waitMs) {
        struct pollfd p{outPipe[0], POLLIN, 0};
        if (poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN)) {
            char buffer[512];
            const ssize_t got = read(outPipe[0], buffer, sizeof buffer);
            if (got > 0)
                out.append(buffer, static_cast<size_t>(got));
        }
    };
    // Channels 13, 14 and 15 are ids 79, 80 and 81; bit 31 flags a record.
    struct Feed {
        int channel;
        uint32_t word;
    };
    const Feed feeds[] = {{13, 3}, {14, 0x80000000u | 5}, {15, 7}, {13, 0x1FF}, {14, 2}};
    // Configuring an input drops what was pending on it: feed once the count runs.
    for (int i = 0; i < 300 && out.find("Init frq input is:") == std::string::npos; ++i)
        readSome(10);
    // After the five records, empty ones keep the callback running so that
    // report lines come; the check waits for a line printed after the fifth
    // record was taken.
    size_t fed = 0;
    size_t takenAt = std::string::npos;
    for (int i = 0; i < 1000; ++i) {
        if (takenAt != std::string::npos && out.find("\n\r", takenAt) != std::string::npos)
            break;
        if (fed < 5 && standinFeedFpgaFrequency(root.dir(), feeds[fed].channel, feeds[fed].word))
            ++fed;
        else if (fed == 5 && takenAt == std::string::npos &&
                 !(standinReadFpgaRegister(root.dir(), 0x4004) & (1u << feeds[4].channel)))
            takenAt = out.size();
        else if (fed == 5 && i % 10 == 0)
            standinFeedFpgaFrequency(root.dir(), 15, 0);
        readSome(10);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(outPipe[0]);

    CHECK(fed == 5);
    REQUIRE(out.find("1.02.03\nInit frq input is: 1\n") == 0);
    CHECK(standinReadFpgaRegister(root.dir(), 0x4000 + 0xE0) == 100);  // slot time of id 79
    CHECK(standinReadFpgaRegister(root.dir(), 0x4000 + 0x100) == 50);  // slot time of id 81
    // Report lines: "1,<ms>,<sum 79>,<sum 80>,<sum 81>,<flagged 79>,<flagged 80>,<flagged 81>\n\r".
    std::vector<std::string> reports;
    for (size_t at = out.find("1,"); at != std::string::npos; at = out.find("1,", at)) {
        const size_t end = out.find("\n\r", at);
        if (end == std::string::npos)
            break;
        reports.push_back(out.substr(at, end - at));
        at = end;
    }
    REQUIRE(reports.size() >= 1);
    const std::string last = reports.back();
    const std::string totals = last.substr(last.find(',', 2));
    CHECK(totals == ",514,7,7,0,1,0");
}

TEST_CASE_FIXTURE(Probe, "the first report comes with the first record more than 1000 ms after start-up")
{
    std::string out;
    REQUIRE(runInChild([] {
        clockUseManual();
        std::printf("start %u\n", clockGetMs());
        char name[] = "fpgaprobe", version[] = "-v";
        char* argv[] = {name, version, nullptr};
        fpgaprobeMain(2, argv);
        clockAdvanceMs(1000);
        fpgaprobeFrequencyCallback(3, 79);
        std::printf("after 1000 ms\n");
        clockAdvanceMs(1);
        fpgaprobeFrequencyCallback(0x80000000u | 4, 80);
        clockAdvanceMs(500);
        fpgaprobeFrequencyCallback(5, 81);
        std::fflush(stdout);
        return 0;
    }, &out) == 0);
    unsigned long start = 0;
    REQUIRE(std::sscanf(out.c_str(), "start %lu\n", &start) == 1);
    CHECK(out == "start " + std::to_string(start) + "\n1.02.03\nafter 1000 ms\n1," + std::to_string(start + 1001) +
                     ",3,4,0,0,1,0\n\r");
}
