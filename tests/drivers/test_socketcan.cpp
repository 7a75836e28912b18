// The socketcan driver on the stand-in bus, through the CAN layer's channel 0
// and straight through its entry: port names, frame conversion in both
// directions, frames that are not delivered, close, and error back-off.
#include "can_peer.h"
#include "canio.h"
#include "cmdrunner.h"
#include "socketcan.h"
#include "sysroot.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <atomic>
#include <dirent.h>
#include <linux/can/error.h>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <vector>

namespace {

TestRoot& programRoot()
{
    static TestRoot root;
    return root;
}

uint32_t command(uint32_t code, uint32_t port, void* pointer = nullptr)
{
    CanDriverCommand cmd;
    cmd.command = code;
    cmd.argument.pointer = pointer;
    return socketCANdriver(&cmd, port);
}

// Channel 0 of a fresh one-channel table on the given driver port.
struct Channel0 {
    explicit Channel0(uint32_t port)
    {
        programRoot();
        REQUIRE(canioInit(1) == 1);
        REQUIRE(canioInitChannel(0, socketCANdriver, port, 0) == 1);
    }
    ~Channel0() { canioClose(0); }
};

// Receives on channel 0 in a thread of its own, as the console's receive thread does.
class Receiver {
public:
    Receiver()
        : mThread([this] {
              CanFrame frame{};
              while (!mStop) {
                  if (canioReceiveFrame(0, &frame) == 1) {
                      std::lock_guard<std::mutex> guard(mLock);
                      mFrames.push_back(frame);
                  } else {
                      sleepMilliseconds(1);  // port closed: do not spin until told to stop
                  }
              }
          })
    {
    }
    ~Receiver()
    {
        mStop = true;
        canioClose(0);
        mThread.join();
    }
    // Waits up to timeoutMs for at least count frames; returns what came.
    std::vector<CanFrame> waitFrames(size_t count, long timeoutMs)
    {
        const long long end = monotonicMs() + timeoutMs;
        for (;;) {
            {
                std::lock_guard<std::mutex> guard(mLock);
                if (mFrames.size() >= count || monotonicMs() > end)
                    return mFrames;
            }
            sleepMilliseconds(5);
        }
    }

private:
    std::atomic<bool> mStop{false};
    std::mutex mLock;
    std::vector<CanFrame> mFrames;
    std::thread mThread;
};

// Waits until the driver's socket is bound on the interface's bus.
bool waitForSockets(const std::string& interfaceName, size_t count)
{
    const long long end = monotonicMs() + 2000;
    for (;;) {
        size_t sockets = 0;
        if (DIR* dir = opendir(canstandinDir(interfaceName).c_str())) {
            while (const dirent* entry = readdir(dir))
                sockets += entry->d_name[0] != '.';
            closedir(dir);
        }
        if (sockets >= count)
            return true;
        if (monotonicMs() > end)
            return false;
        sleepMilliseconds(5);
    }
}

}  // namespace

TEST_CASE("ports name their interfaces and bring them up through the command runner")
{
    programRoot();
    enableInfoLogging();
    struct Case {
        uint32_t port;
        const char* interfaceName;
    };
    const Case cases[] = {{0, "can0"}, {11, "can11"}, {12, "vcan0"}, {15, "vcan3"}};
    for (const Case& c : cases) {
        CAPTURE(c.port);
        const std::string commandLine = std::string("ifconfig ") + c.interfaceName + " up";
        bool logged = false;
        uint32_t opened = 0;
        {
            OutputCapture capture(programRoot());
            opened = command(CAN_CMD_OPEN, c.port);
            logged = capture.waitFor("cmd: " + commandLine, 2000);
        }
        CHECK(opened == 1);
        CHECK(logged);
        CHECK(readTextFile(cmdLogPath()).find(commandLine + "\n") != std::string::npos);
        CHECK(waitForSockets(c.interfaceName, 1));
        CHECK(command(CAN_CMD_OPEN, c.port) == 0);  // already open
        CHECK(command(CAN_CMD_CLOSE, c.port) == 1);
    }
}

TEST_CASE("the dummy port opens, swallows frames and never receives")
{
    programRoot();
    const std::string before = readTextFile(cmdLogPath());
    CanFrame frame{};
    frame.id = 0x55;
    frame.dlc = 1;
    CHECK(command(CAN_CMD_OPEN, SOCKETCAN_DUMMY_PORT) == 1);
    CHECK(command(CAN_CMD_SEND, SOCKETCAN_DUMMY_PORT, &frame) == 1);
    const long long start = monotonicMs();
    CHECK(command(CAN_CMD_RECEIVE, SOCKETCAN_DUMMY_PORT, &frame) == 0);
    CHECK(monotonicMs() - start < 500);
    CHECK(frame.id == 0x55);
    CHECK(command(CAN_CMD_CLOSE, SOCKETCAN_DUMMY_PORT) == 1);
    CHECK(readTextFile(cmdLogPath()) == before);

    for (uint32_t port : {17u, 1000u}) {
        CAPTURE(port);
        CHECK(command(CAN_CMD_OPEN, port) == 0);
        CHECK(command(CAN_CMD_SEND, port, &frame) == 0);
        CHECK(command(CAN_CMD_RECEIVE, port, &frame) == 0);
    }
}

TEST_CASE("driver commands without a bus")
{
    programRoot();
    uint32_t word = 0xFFFFFFFF;
    CHECK(command(CAN_CMD_STATUS, 3, &word) == 1);
    CHECK(word == 0);
    CanDriverCommand depth;
    depth.command = CAN_CMD_QUEUE_DEPTH;
    depth.argument.value = 0;
    CHECK(socketCANdriver(&depth, 3) == 1);
    CHECK(depth.argument.value == 500);

    CanFrame untouched{};
    untouched.id = 0xABC;
    untouched.dlc = 3;
    CHECK(command(CAN_CMD_RECEIVE, 5, &untouched) == 0);  // never opened
    CHECK(untouched.id == 0xABC);
    CHECK(untouched.dlc == 3);
    CHECK(command(CAN_CMD_CLOSE, 5) == 1);  // no socket: nothing to close

    bool logged = false;
    uint32_t result = 1;
    {
        OutputCapture capture(programRoot());
        result = command(12, 0);
        logged = capture.waitFor("unknown cmd = 12", 2000);
    }
    CHECK(result == 0);
    CHECK(logged);

    // The bit-timing record opens a closed port; on an open port it changes nothing.
    CanBitTiming timing{4000, 5, 7, 3, 3};
    CHECK(command(CAN_CMD_BIT_TIMING, 4, &timing) == 1);
    CHECK(command(CAN_CMD_OPEN, 4) == 0);
    CHECK(command(CAN_CMD_BIT_TIMING, 4, &timing) == 1);
    CHECK(command(CAN_CMD_CLOSE, 4) == 1);
}

TEST_CASE("a port whose socket cannot be opened stays closed and can be opened later")
{
    programRoot();
    enableInfoLogging();
    // A plain file where the interface's bus directory belongs.
    const std::string busDir = canstandinDir("can3");
    removeTree(busDir);
    writeTextFile(busDir, "no bus");
    bool logged = false;
    uint32_t opened = 1;
    {
        OutputCapture capture(programRoot());
        opened = command(CAN_CMD_OPEN, 3);
        logged = capture.waitFor("Initiate() - socketcandriver Initiate: Could not open socket\n", 2000) &&
                 capture.waitFor("Initiate() - can3 Failed to open\n", 2000);
        CHECK(command(CAN_CMD_CLOSE, 3) == 1);
        logged = logged && capture.waitFor("Close() - Can3, port.canFileDescr = -1\n", 2000);
    }
    CHECK(opened == 0);
    CHECK(logged);

    removeTree(busDir);
    CHECK(command(CAN_CMD_OPEN, 3) == 1);
    CHECK(waitForSockets("can3", 1));
    CHECK(command(CAN_CMD_CLOSE, 3) == 1);
}

TEST_CASE("frames from the bus arrive on channel 0 converted")
{
    struct Case {
        struct can_frame raw;
        uint32_t id;
        uint8_t extended;
        uint8_t dlc;
    };
    const Case cases[] = {
        {rawFrame(0x18EFC0B4 | CAN_EFF_FLAG, {1, 2, 3}), 0x18EFC0B4, 1, 3},
        {rawFrame(0x18EFFFC0 | CAN_EFF_FLAG, {0, 5, 0, 0, 0}), 0x18EFFFC0, 1, 5},
        {rawFrame(0x123, {9}), 0x123, 0, 1},
        {rawFrame(0x7FF, {}), 0x7FF, 0, 0},
        {rawFrame(0x321, {1, 2, 3, 4, 5, 6, 7, 8}, 12), 0x321, 0, 8},
    };
    Channel0 channel(0);
    CanPeer peer("can0");
    REQUIRE(peer.isOpen());
    Receiver receiver;
    for (const Case& c : cases)
        REQUIRE(peer.send(c.raw));
    const std::vector<CanFrame> frames = receiver.waitFrames(std::size(cases), 3000);
    REQUIRE(frames.size() == std::size(cases));
    for (size_t i = 0; i < frames.size(); ++i) {
        CAPTURE(i);
        CHECK(frames[i].id == cases[i].id);
        CHECK(frames[i].extended == cases[i].extended);
        CHECK(frames[i].dlc == cases[i].dlc);
        CHECK(std::memcmp(frames[i].data, cases[i].raw.data, frames[i].dlc) == 0);
    }
}

TEST_CASE("remote requests and error frames are not delivered; bus-off is logged")
{
    Channel0 channel(0);
    CanPeer peer("can0");
    bool busOffLogged = false;
    std::vector<CanFrame> frames;
    {
        Receiver receiver;
        OutputCapture capture(programRoot());
        peer.send(rawFrame(0x100 | CAN_RTR_FLAG, {}, 2));
        peer.send(rawFrame(CAN_ERR_FLAG | CAN_ERR_BUSOFF, {0, 0, 0, 0, 0, 0, 0, 0}));
        peer.send(rawFrame(CAN_ERR_FLAG | CAN_ERR_CRTL, {0, 4, 0, 0, 0, 0, 0, 0}));
        peer.send(rawFrame(0x18EFFFC0 | CAN_EFF_FLAG, {0x0A}));
        frames = receiver.waitFrames(1, 3000);
        busOffLogged = capture.waitFor("socketcandriverGetFrameExt() - Received BUSOFF on can0\n", 2000) &&
                       capture.waitFor("Reset() - Can0\n", 2000);
        sleepMilliseconds(50);
        frames = receiver.waitFrames(2, 0);
    }
    CHECK(busOffLogged);
    REQUIRE(frames.size() == 1);
    CHECK(frames[0].id == 0x18EFFFC0u);
    CHECK(frames[0].data[0] == 0x0A);
}

TEST_CASE("frames sent on channel 0 reach the bus masked and flagged")
{
    struct Case {
        uint32_t id;
        uint8_t extended;
        uint8_t dlc;
        const char* onBus;
    };
    const Case cases[] = {
        {0x18EFC0B4, 1, 7, "18EFC0B4#00050000008000"},
        {0x1F00, 0, 1, "700#00"},
        {0x123, 0, 0, "123#"},
        {0xF8EFC0B4, 1, 2, "18EFC0B4#0000"},
        {0x456, 0, 12, "456#0000000000000000"},
    };
    Channel0 channel(0);
    CanPeer peer("can0");
    for (const Case& c : cases) {
        CAPTURE(c.onBus);
        CanFrame frame{};
        frame.id = c.id;
        frame.extended = c.extended;
        frame.dlc = c.dlc;
        if (c.dlc == 7)
            frame.data[1] = 5, frame.data[5] = 0x80;
        CHECK(canioTransmitFrame(0, &frame) == 1);
        struct can_frame raw;
        REQUIRE(peer.receive(raw, 2000));
        CHECK(frameText(raw) == c.onBus);
        CHECK(((raw.can_id & CAN_EFF_FLAG) != 0) == (c.extended != 0));
    }
}

TEST_CASE("the first send on a port logs the normal transmit state once")
{
    programRoot();
    enableInfoLogging();
    CanPeer peer("can6");
    REQUIRE(peer.isOpen());
    REQUIRE(command(CAN_CMD_OPEN, 6) == 1);
    std::string output;
    {
        OutputCapture capture(programRoot());
        for (int i = 0; i < 3; ++i) {
            CanFrame frame{};
            frame.id = 0x100 + i;
            frame.dlc = 1;
            CHECK(command(CAN_CMD_SEND, 6, &frame) == 1);
            struct can_frame raw;
            CHECK(peer.receive(raw, 2000));
        }
        CHECK(command(CAN_CMD_CLOSE, 6) == 1);
        // Lines are written in the order they were logged: the close comes last.
        CHECK(capture.waitFor("Close() - close\n", 2000));
        output = capture.peek();
    }
    const std::string state = " can6 SOCKET_CAN_STATE_NORMAL\n";
    const size_t first = output.find(state);
    REQUIRE(first != std::string::npos);
    CHECK(output.rfind("setSocketCanState() - line = ", first) != std::string::npos);
    CHECK(output.find(state, first + 1) == std::string::npos);
}

TEST_CASE("the first virtual port moves only within 0..15")
{
    programRoot();
    enableInfoLogging();
    struct Case {
        int first;
        bool accepted;
        uint32_t port;
        const char* interfaceName;  // of the port with the split in force
    };
    const Case cases[] = {
        {16, false, 12, "vcan0"},
        {-1, false, 11, "can11"},
        {10, true, 10, "vcan0"},
        {10, true, 9, "can9"},
        {0, true, 3, "vcan3"},
        {12, true, 12, "vcan0"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.first);
        CAPTURE(c.port);
        bool refusal = false;
        bool named = false;
        {
            OutputCapture capture(programRoot());
            socketcandriverSetFirstVirtualCAN(c.first);
            CHECK(command(CAN_CMD_OPEN, c.port) == 1);
            named = capture.waitFor(std::string("CAN id: ") + std::to_string(c.port) +
                                        ", interface: " + c.interfaceName + "\n",
                                    2000);
            const std::string invalid = "socketcandriverSetFirstVirtualCAN() - Invalid CAN id: " +
                                        std::to_string(c.first) + ", valid range [0..15]\n";
            refusal = capture.peek().find(invalid) != std::string::npos;
            CHECK(command(CAN_CMD_CLOSE, c.port) == 1);
        }
        CHECK(named);
        CHECK(refusal == !c.accepted);
    }
    socketcandriverSetFirstVirtualCAN(12);
}

TEST_CASE("close wakes a receiver blocked on channel 0")
{
    Channel0 channel(0);
    std::atomic<int> result{-1};
    std::thread receiver([&result] {
        CanFrame frame{};
        result = static_cast<int>(canioReceiveFrame(0, &frame));
    });
    sleepMilliseconds(100);
    CHECK(result.load() == -1);  // still waiting: nothing was sent
    const long long start = monotonicMs();
    CHECK(canioClose(0) == 1);
    receiver.join();
    CHECK(result.load() == 0);
    CHECK(monotonicMs() - start < 2000);
    // The port opens again with a new socket.
    CHECK(command(CAN_CMD_OPEN, 0) == 1);
}

namespace {
// Descriptor of the driver's socket on the bus of interfaceName (bound there
// by this process and not the peer's), or -1.
int findDriverSocket(const std::string& interfaceName, int peerFd)
{
    const std::string dir = canstandinDir(interfaceName);
    for (int fd = 3; fd < 1024; ++fd) {
        if (fd == peerFd)
            continue;
        sockaddr_un address;
        socklen_t length = sizeof address;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            address.sun_family != AF_UNIX)
            continue;
        if (std::string(address.sun_path).rfind(dir + "/", 0) == 0)
            return fd;
    }
    return -1;
}

double threadCpuMs(pthread_t thread)
{
    clockid_t clock;
    struct timespec used;
    if (pthread_getcpuclockid(thread, &clock) != 0 || clock_gettime(clock, &used) != 0)
        return -1;
    return used.tv_sec * 1000.0 + used.tv_nsec / 1e6;
}
}  // namespace

TEST_CASE("a receive error that repeats neither spins nor floods the log")
{
    Channel0 channel(1);
    const int fd = findDriverSocket("can1", -1);
    REQUIRE(fd >= 0);
    std::atomic<bool> done{false};
    std::thread receiver([&done] {
        CanFrame frame{};
        canioReceiveFrame(0, &frame);
        done = true;
    });
    std::string log;
    double cpuMs = 0;
    {
        OutputCapture capture(programRoot());
        sleepMilliseconds(50);
        // The socket now reports end of data at every read: a socket whose
        // interface is gone.
        REQUIRE(::shutdown(fd, SHUT_RD) == 0);
        const double cpuBefore = threadCpuMs(receiver.native_handle());
        sleepMilliseconds(1000);
        cpuMs = threadCpuMs(receiver.native_handle()) - cpuBefore;
        log = capture.peek();
    }
    CHECK(canioClose(0) == 1);
    receiver.join();
    CHECK(done);
    CHECK(countOf(log, "Receive error") >= 1);
    CHECK(countOf(log, "Receive error") <= 3);
    CHECK(cpuMs < 200);
    CHECK(socketcandriverGetErrorPauses(1) > 0);
}

TEST_CASE("malformed datagrams are skipped without holding back the frames behind them")
{
    Channel0 channel(4);
    const int peer = canstandinOpen("can4");
    REQUIRE(peer >= 0);
    REQUIRE(waitForSockets("can4", 2));
    Receiver receiver;
    const struct can_frame valid = rawFrame(0x18EFC0B4 | CAN_EFF_FLAG, {1, 2});
    const uint32_t pausesBefore = socketcandriverGetErrorPauses(4);
    std::string log;
    std::vector<CanFrame> frames;
    {
        OutputCapture capture(programRoot());
        // Batches that fit the socket's queue: nine datagrams shorter than a
        // frame, then one frame.
        for (int batch = 0; batch < 11; ++batch) {
            for (int n = 0; n < 9; ++n)
                canstandinWrite(peer, &valid, 1 + (batch + n) % 15);
            canstandinWrite(peer, &valid, sizeof valid);
            frames = receiver.waitFrames(static_cast<size_t>(batch) + 1, 5000);
            if (frames.size() != static_cast<size_t>(batch) + 1)
                break;
        }
        log = capture.peek();
    }
    canstandinClose(peer);
    CHECK(frames.size() == 11);
    for (const CanFrame& frame : frames) {
        CHECK(frame.id == 0x18EFC0B4u);
        CHECK(frame.extended == 1);
        REQUIRE(frame.dlc == 2);
        CHECK(frame.data[0] == 1);
        CHECK(frame.data[1] == 2);
    }
    // A short datagram comes from a working socket: the reader takes the next
    // one at once instead of backing off as after a failing read.
    CHECK(socketcandriverGetErrorPauses(4) == pausesBefore);
    CHECK(countOf(log, "Receive error, Nbytes = ") >= 1);
    CHECK(countOf(log, "Receive error, Nbytes = 0") == 0);
}

TEST_CASE("the stand-in bus delivers to every other socket of the interface")
{
    programRoot();
    CanPeer a("vcan1");
    CanPeer b("vcan1");
    auto c = std::make_unique<CanPeer>("vcan1");
    CanPeer other("vcan2");
    const struct can_frame frame = rawFrame(0x123, {1, 2});
    REQUIRE(a.send(frame));
    CHECK(b.receiveText(1000) == "123#0102");
    CHECK(c->receiveText(1000) == "123#0102");
    CHECK(a.receiveText(50).empty());
    CHECK(other.receiveText(50).empty());

    c.reset();
    CHECK(waitForSockets("vcan1", 2));

    // A socket file left behind by a process that died is cleared by the next sender.
    const std::string stale = canstandinDir("vcan1") + "/stale";
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", stale.c_str());
    REQUIRE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    ::close(fd);
    REQUIRE(::access(stale.c_str(), F_OK) == 0);
    REQUIRE(a.send(frame));
    CHECK(::access(stale.c_str(), F_OK) != 0);
    CHECK(b.receiveText(1000) == "123#0102");
}

TEST_CASE("the stand-in bus works below a root whose path is too long for a socket address")
{
    const std::string longRoot = programRoot().dir() + "/tmp/" + std::string(100, 'r');
    REQUIRE(::mkdir(longRoot.c_str(), 0755) == 0);
    setenv("CONSOLE_SYSROOT", longRoot.c_str(), 1);
    sysrootReload();
    std::string received;
    bool bothOpen = false;
    {
        CanPeer a("can0");
        CanPeer b("can0");
        bothOpen = a.isOpen() && b.isOpen();
        if (bothOpen && a.send(rawFrame(0x18EFFFC0 | CAN_EFF_FLAG, {0x0A})))
            received = b.receiveText(1000);
    }
    setenv("CONSOLE_SYSROOT", programRoot().dir().c_str(), 1);
    sysrootReload();
    CHECK(bothOpen);
    CHECK(received == "18EFFFC0#0A");
}

TEST_CASE("a socket that never reads loses frames but does not hold up the bus")
{
    programRoot();
    CanPeer sender("vcan3");
    CanPeer reader("vcan3");
    CanPeer asleep("vcan3");
    constexpr int frames = 200;
    std::atomic<int> received{0};
    std::thread readerThread([&reader, &received] {
        struct can_frame frame;
        while (received < frames && reader.receive(frame, 2000))
            ++received;
    });
    const long long start = monotonicMs();
    for (int i = 0; i < frames; ++i)
        REQUIRE(sender.send(rawFrame(0x100, {i & 0xFF})));
    const long long elapsed = monotonicMs() - start;
    readerThread.join();
    int queued = 0;
    struct can_frame frame;
    while (asleep.receive(frame, 0))
        ++queued;
    CHECK(received > frames / 2);  // a busy machine may overrun the reader now and then
    CHECK(queued > 0);
    CHECK(queued < frames);
    CHECK(elapsed < 3000);
}
