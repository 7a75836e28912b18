// benchtest as a whole on the stand-in board: banner, start-up commands and the
// protocol on serial port 0, per platform.
#include "../drivers/can_peer.h"
#include "benchplatform.h"
#include "benchstart.h"
#include "standin_board.h"
#include "standin_serial.h"
#include "test_frame.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <csignal>
#include <cstdio>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// benchtest running in a child with its standard output on a pipe and port 0 on
// a pseudo-terminal; killed when the object goes.
class RunningBench {
public:
    explicit RunningBench(const std::string& platform)
    {
        if (!platform.empty()) {
            REQUIRE(makeDirs(root.path("/usr/local/velmar/system")));
            REQUIRE(writeTextFile(root.path("/usr/local/velmar/system/product"), "Platform=" + platform + "\n"));
        }
        REQUIRE(serial.create(root.dir()));
        REQUIRE(pipe(mOut) == 0);
        std::fflush(nullptr);
        mChild = fork();
        if (mChild == 0) {
            dup2(mOut[1], 1);
            close(mOut[0]);
            benchPlatformForget();
            benchtestMain();
        }
        close(mOut[1]);
    }
    ~RunningBench()
    {
        kill(mChild, SIGKILL);
        waitpid(mChild, nullptr, 0);
        close(mOut[0]);
    }
    // Standard output until `wanted` appears (or 5 s pass).
    std::string outputUntil(const std::string& wanted)
    {
        for (int i = 0; i < 500 && mText.find(wanted) == std::string::npos; ++i)
            readFrom(mOut[0], &mText, 10);
        return mText;
    }
    // Sends a request on port 0 and collects the answer until `count` bytes came.
    std::string exchange(const std::string& request, size_t count)
    {
        REQUIRE(write(serial.master(0), request.data(), request.size()) == ssize_t(request.size()));
        std::string answer;
        for (int i = 0; i < 300 && answer.size() < count; ++i)
            readFrom(serial.master(0), &answer, 10);
        readFrom(serial.master(0), &answer, 100);
        return answer;
    }
    std::string commands() const { return readTextFile(root.path("/var/log/commands.log")); }

    TestRoot root;
    StandinSerial serial;

private:
    static void readFrom(int fd, std::string* text, int waitMs)
    {
        struct pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, waitMs) > 0 && (p.revents & POLLIN)) {
            char buffer[512];
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got > 0)
                text->append(buffer, static_cast<size_t>(got));
        }
    }
    int mOut[2] = {-1, -1};
    pid_t mChild = -1;
    std::string mText;
};

// True when the lines appear in the text in this order.
bool inOrder(const std::string& text, const std::vector<std::string>& lines)
{
    size_t at = 0;
    for (const std::string& line : lines) {
        at = text.find(line + "\n", at);
        if (at == std::string::npos)
            return false;
        at += line.size();
    }
    return true;
}

const std::string kIdentify = bytes({0x00, 0x00, 0x01, 0x00, 0x01, 0x00});
const std::string kIdentity = bytes({0x00, 0x0F, 0x01, 0x00, 0x02, 0xA0, 0x0F, 0xB2, 0x00});

}  // namespace

TEST_CASE("without a product file benchtest starts as platform 0 and answers the bench")
{
    RunningBench bench("");
    const std::string out = bench.outputUntil("Benchtest version:1.0x\n");
    CHECK(std::regex_search(out, std::regex("^Starting benchtest\n[A-Z][a-z]{2} [ 0-9]\\d \\d{4}, \\d\\d:\\d\\d:\\d\\d\n"
                                            "Benchtest version:1\\.0x\n")));
    CHECK(bench.exchange(kIdentify, kIdentity.size()) == kIdentity);

    const std::string commands = bench.commands();
    CHECK(inOrder(commands, {"echo 7 > /proc/sys/kernel/printk", "/bin/stty -F /dev/ttyO0 raw",
                             "/bin/stty -F /dev/ttyO0 -echo", "/bin/stty -F /dev/ttyO0 -echoe",
                             "/bin/stty -F /dev/ttyO0 -echok", "/bin/stty -F /dev/ttyO2 sane"}));
    CHECK(commands.find("/bin/stty -F " + bench.root.path("/dev/ttyO0") + " 115200 cs8") != std::string::npos);
    CHECK(commands.find("/bin/stty -F " + bench.root.path("/dev/ttyO2") + " 19200 cs8") != std::string::npos);
    CHECK(commands.find("shutdown") == std::string::npos);

    // All ten handlers: the FPGA register commands and an unknown command.
    CHECK(bench.exchange(frame(0x2302, bytes({5, 0, 0})), 15) ==
          bytes({0x00, 0x0F}) + frame(0x2303, bytes({5, 0, 0, 0, 0, 0, 0, 0})));
    CHECK(bench.exchange(bytes({0x00, 0x0B}), 2) == bytes({0x40, 0x0F}));
    // Every line is open: the power button reads as its file says.
    REQUIRE(standinSetGpio(bench.root.dir(), 153, "1\n"));
    CHECK(bench.exchange(frame(0x0800, bytes({17})), 9) == bytes({0x00, 0x0F}) + frame(0x0801, bytes({17, 1})));
}

TEST_CASE("platform 3 leaves out serial port 2 and the FPGA register commands")
{
    RunningBench bench(benchPlatformName(3));
    const std::string out = bench.outputUntil(std::string(benchPlatformName(4)) + " platforms\n");
    CHECK(out.find("Benchtest version:1.0x\nNo FPGA register commands on the ") != std::string::npos);
    CHECK(bench.exchange(kIdentify, kIdentity.size()) == kIdentity);
    CHECK(bench.exchange(bytes({0x02, 0x23}), 2) == bytes({0x40, 0x0F}));
    const std::string commands = bench.commands();
    CHECK(commands.find("ttyO2") == std::string::npos);
}

TEST_CASE("platform 7 names itself and maps its three CAN channels")
{
    RunningBench bench(benchPlatformName(7));
    const std::string out = bench.outputUntil("benchtest for ");
    CHECK(out.find(std::string("Benchtest version:1.0x\nbenchtest for ") + benchPlatformName(7) + "\n") !=
          std::string::npos);
    CHECK(bench.exchange(kIdentify, kIdentity.size()) == kIdentity);
    // Channel 0 is can2, channel 2 is can1.
    CanPeer can1("can1");
    CanPeer can2("can2");
    CHECK(bench.exchange(frame(0x0900, bytes({0, 9})), 2) == bytes({0x00, 0x0F}));
    CHECK(can2.receiveText(1000) == "00000037#0001020304050607");
    CHECK(bench.exchange(frame(0x0900, bytes({2, 9})), 2) == bytes({0x00, 0x0F}));
    CHECK(can1.receiveText(1000) == "00000037#0001020304050607");
    CHECK(can2.receiveText(100).empty());
}

TEST_CASE("platform 9 opens only its GPIO lines and two CAN channels")
{
    RunningBench bench(benchPlatformName(9));
    REQUIRE(standinSetGpio(bench.root.dir(), 153, "1\n"));
    REQUIRE(standinSetGpio(bench.root.dir(), 150, "1\n"));
    bench.outputUntil("Benchtest version:1.0x\n");
    // Mask 0x10: the USB 1 status line (150) but not the power button (153).
    CHECK(bench.exchange(frame(0x0800, bytes({17})), 9) == bytes({0x00, 0x0F}) + frame(0x0801, bytes({17, 0})));
    CHECK(bench.exchange(frame(0x0800, bytes({11})), 9) == bytes({0x00, 0x0F}) + frame(0x0801, bytes({11, 1})));
    CanPeer can0("can0");
    CanPeer can1("can1");
    CHECK(bench.exchange(frame(0x0900, bytes({0, 9})), 2) == bytes({0x00, 0x0F}));
    CHECK(can1.receiveText(1000) == "00000037#0001020304050607");
    CHECK(bench.exchange(frame(0x0900, bytes({1, 9})), 2) == bytes({0x00, 0x0F}));
    CHECK(can0.receiveText(1000) == "00000037#0001020304050607");
    CHECK(bench.exchange(frame(0x0900, bytes({2, 9})), 2) == bytes({0x10, 0x0F}));
}
