#include "socketcan.h"

#include "canstandin.h"
#include "cdebug.h"
#include "cmdrunner.h"
#include "sysroot.h"
#include "threadfunc.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/can.h>
#include <linux/can/error.h>
#include <linux/can/raw.h>
#include <map>
#include <mutex>
#include <net/if.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct SocketCanPort {
    std::atomic<int> canFileDescr{-1};
    std::atomic<uint8_t> opened{0};
    std::atomic<uint8_t> reading{0};
    std::atomic<uint8_t> writing{0};
    std::atomic<uint8_t> closing{0};
    std::atomic<uint32_t> state{SOCKET_CAN_STATE_UNDEF};
    std::atomic<uint8_t> inBlockingMode{1};
    std::atomic<uint32_t> errorPauses{0};
    std::string interfaceName;
    int pipeArray[2] = {-1, -1};
    bool standin = false;
};

constexpr uint32_t lastInterfacePort = 15;
constexpr uint32_t errorFilterMask = 0x1FFFFFFD;  // every error class but lost arbitration
constexpr size_t frameSize = sizeof(struct can_frame);
// A receive error that repeats is retried after a pause that grows to this cap.
constexpr unsigned maxErrorPauseMs = 100;
// Of a run of repeated receive errors only the first and every hundredth are logged.
constexpr unsigned errorLogInterval = 100;

std::atomic<uint32_t> firstVirtualCan{12};

std::mutex portTableLock;
// Receiving threads may still wait in poll() on a port when the program ends:
// the table is never destroyed, so they never read a freed record.
std::map<uint32_t, SocketCanPort>& portTable = *new std::map<uint32_t, SocketCanPort>;

SocketCanPort& portRecord(uint32_t port)
{
    std::lock_guard<std::mutex> guard(portTableLock);
    return portTable[port];
}

void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void closeSocket(SocketCanPort& port)
{
    const int fd = port.canFileDescr.exchange(-1);
    if (fd < 0)
        return;
    if (port.standin)
        canstandinClose(fd);
    else
        ::close(fd);
}

ssize_t writeFrame(SocketCanPort& port, const struct can_frame& frame)
{
    const int fd = port.canFileDescr.load();
    return port.standin ? canstandinWrite(fd, &frame, frameSize) : ::write(fd, &frame, frameSize);
}

bool errorLogDue(unsigned errorRun)
{
    return errorRun == 1 || errorRun % errorLogInterval == 0;
}

void pauseAfterError(unsigned errorRun)
{
    const unsigned shift = std::min(errorRun - 1, 7u);
    threadfunc::sleep(static_cast<int>(std::min(1u << shift, maxErrorPauseMs)));
}

const char* stateText(uint32_t state)
{
    switch (state) {
    case SOCKET_CAN_STATE_NORMAL: return " SOCKET_CAN_STATE_NORMAL";
    case SOCKET_CAN_STATE_BUSSOFF: return " SOCKET_CAN_STATE_BUSSOFF";
    case SOCKET_CAN_STATE_ENOBUFS: return " SOCKET_CAN_STATE_ENOBUFS";
    case SOCKET_CAN_STATE_NONBLOCK: return " SOCKET_CAN_STATE_NONBLOCK";
    default: return " SOCKET_CAN_STATE_UNDEF";
    }
}

void setSocketCanState(uint32_t newState, uint32_t p, int line)
{
    if (p > SOCKETCAN_DUMMY_PORT)
        return;
    SocketCanPort& port = portRecord(p);
    if (port.state.exchange(newState) == newState)
        return;
    const int level = newState == SOCKET_CAN_STATE_NORMAL ? CDebugLevel::INF : CDebugLevel::WAR;
    CDEBUG_LOG(level, "cDefault", "line = %d, %s%s", line, port.interfaceName.c_str(),
               stateText(newState));
}

uint32_t Reset(uint32_t p)
{
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "Can%u", p);
    return 1;
}

void abandonOpen(SocketCanPort& port)
{
    closeSocket(port);
    closeFd(port.pipeArray[0]);
    closeFd(port.pipeArray[1]);
    port.opened = 0;
}

// Opens the port's socket (a raw CAN socket bound to its interface, or the
// stand-in bus) and sets it up. Returns nullptr, or the report of the step that
// failed; the messages are logged by the caller so that they carry its name.
const char* openSocket(SocketCanPort& port)
{
    // The stand-in bus serves where the machine's interfaces must not be used
    // (system root set) or cannot be (no CAN support in the kernel).
    port.standin = sysrootActive();
    int fd = -1;
    if (!port.standin) {
        fd = ::socket(PF_CAN, SOCK_RAW | SOCK_CLOEXEC, CAN_RAW);
        port.standin = fd < 0 && (errno == EAFNOSUPPORT || errno == EPROTONOSUPPORT);
    }
    if (port.standin)
        fd = canstandinOpen(port.interfaceName);
    if (fd < 0)
        return "socketcandriver Initiate: Could not open socket";
    port.canFileDescr = fd;
    if (!port.standin) {
        struct ifreq request;
        std::memset(&request, 0, sizeof request);
        std::snprintf(request.ifr_name, sizeof request.ifr_name, "%s", port.interfaceName.c_str());
        if (::ioctl(fd, SIOCGIFINDEX, &request) < 0)
            return "socketcandriver->Initiate: SIOCGIFINDEX";
        struct sockaddr_can address;
        std::memset(&address, 0, sizeof address);
        address.can_family = AF_CAN;
        address.can_ifindex = request.ifr_ifindex;
        if (::bind(fd, reinterpret_cast<struct sockaddr*>(&address), sizeof address) < 0)
            return "socketcandriver->Initiate: Bind";
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
        return "socketcandriver->Initiate: fcntl";
    if (!port.standin) {
        const uint32_t mask = errorFilterMask;
        if (::setsockopt(fd, SOL_CAN_RAW, CAN_RAW_ERR_FILTER, &mask, sizeof mask) != 0)
            return "socketcandriver->Initiate: setsockopt";
    }
    return nullptr;
}

uint32_t Initiate(uint32_t p)
{
    if (p == SOCKETCAN_DUMMY_PORT)
        return 1;
    if (p > SOCKETCAN_DUMMY_PORT)
        return 0;
    SocketCanPort& port = portRecord(p);
    if (port.opened)
        return 0;
    if (::pipe2(port.pipeArray, O_CLOEXEC) != 0) {
        CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "could not open pipe");
        std::exit(1);
    }
    const uint32_t firstVirtual = firstVirtualCan.load();
    char name[16];
    if (p < firstVirtual)
        std::snprintf(name, sizeof name, "can%u", p);
    else
        std::snprintf(name, sizeof name, "vcan%u", p - firstVirtual);
    port.interfaceName = name;
    CDEBUG_LOG(CDebugLevel::INF, "cCan", "CAN id: %u, interface: %s", p, name);
    const std::string command = "ifconfig " + port.interfaceName + " up";
    CDEBUG_LOG(CDebugLevel::INF, "cCan", "cmd: %s", command.c_str());
    cmdRun(command);

    if (const char* failure = openSocket(port)) {
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "%s", failure);
        abandonOpen(port);
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "%s Failed to open", port.interfaceName.c_str());
        return 0;
    }
    port.opened = 1;
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "%s Open", name);
    return 1;
}

uint32_t Close(uint32_t p)
{
    if (p > SOCKETCAN_DUMMY_PORT)
        return 1;
    SocketCanPort& port = portRecord(p);
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "Can%u, port.canFileDescr = %d", p,
               port.canFileDescr.load());
    if (port.canFileDescr.load() < 0)
        return 1;
    port.closing = 1;
    static const char closeText[] = "close";
    if (::write(port.pipeArray[1], closeText, sizeof closeText) < 0)
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "wake pipe: %s", std::strerror(errno));
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "port.pipeArray[ 1 ] = %s", closeText);
    while (port.reading || port.writing) {
        threadfunc::sleep(10);
        CDEBUG_LOG(CDebugLevel::INF, "cDefault", "can%u wait for close from read", p);
    }
    closeFd(port.pipeArray[0]);
    closeFd(port.pipeArray[1]);
    closeSocket(port);
    CDEBUG_LOG(CDebugLevel::INF, "cDefault", "close");
    port.opened = 0;
    port.closing = 0;
    return 1;
}

// The read function handed to the CAN layer: this driver keeps its frames in
// the socket, so there is never anything to drain.
uint32_t socketcandriverReadNothing(CanFrame*, uint32_t, uint32_t* noMoreFrames)
{
    if (noMoreFrames)
        *noMoreFrames = 1;
    return 0;
}

void storeFrame(const struct can_frame& frame, CanFrame* f)
{
    if (frame.can_id & CAN_EFF_FLAG) {
        f->id = frame.can_id & CAN_EFF_MASK;
        f->extended = 1;
    } else {
        f->id = frame.can_id & CAN_SFF_MASK;
        f->extended = 0;
    }
    f->dlc = std::min<uint8_t>(frame.can_dlc, 8);
    std::memcpy(f->data, frame.data, f->dlc);
}

uint32_t socketcandriverGetFrameExt(CanFrame* f, uint32_t p)
{
    if (p >= SOCKETCAN_DUMMY_PORT || !f)
        return 0;
    SocketCanPort& port = portRecord(p);
    if (port.closing)
        return 0;
    port.reading = 1;
    bool stored = false;
    unsigned errorRun = 0;
    unsigned shortRun = 0;
    while (port.opened && !port.closing && !stored) {
        if (errorRun > 0) {
            ++port.errorPauses;
            pauseAfterError(errorRun);
        }
        struct pollfd fds[2] = {{port.pipeArray[0], POLLIN | POLLPRI, 0},
                                {port.canFileDescr.load(), POLLIN | POLLPRI, 0}};
        const int rc = ::poll(fds, 2, -1);
        if (rc < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            if (errorLogDue(++errorRun))
                CDEBUG_LOG(CDebugLevel::WAR, "cCan", "poll() returned error: %d %s", error,
                           std::strerror(error));
            continue;
        }
        if (rc == 0)
            continue;
        if (fds[0].revents) {
            char text[16] = {0};
            const ssize_t count = ::read(port.pipeArray[0], text, sizeof text - 1);
            if (count > 0 && std::strncmp(text, "close", 5) == 0) {
                CDEBUG_LOG(CDebugLevel::INF, "cCan", "read port.pipeArray[ 0 ] is set = %s", text);
            } else {
                const int error = errno;
                if (errorLogDue(++errorRun))
                    CDEBUG_LOG(CDebugLevel::INF, "cCan",
                               "read port.pipeArray[ 0 ] spurious! rc=%zd, errno=%d %s", count,
                               error, std::strerror(error));
            }
            continue;
        }
        struct can_frame frame;
        const ssize_t count = ::read(port.canFileDescr.load(), &frame, frameSize);
        if (count < 0) {
            if (errno == EINTR)
                continue;
            if (errorLogDue(++errorRun))
                CDEBUG_LOG(CDebugLevel::WAR, "cCan", "Can%u Receive error", p);
            continue;
        }
        if (count == 0) {
            // Nothing at all from a socket that signalled: one whose interface
            // is gone, failing at every read.
            if (errorLogDue(++errorRun))
                CDEBUG_LOG(CDebugLevel::WAR, "cCan", "Can%u Receive error, Nbytes = %zd", p, count);
            continue;
        }
        // The socket works: a malformed datagram is logged and skipped without a
        // pause, so the frames queued behind it are not held back.
        errorRun = 0;
        if (static_cast<size_t>(count) < frameSize) {
            if (errorLogDue(++shortRun))
                CDEBUG_LOG(CDebugLevel::WAR, "cCan", "Can%u Receive error, Nbytes = %zd", p, count);
            continue;
        }
        shortRun = 0;
        if (frame.can_id & CAN_RTR_FLAG) {
            CDEBUG_LOG(CDebugLevel::INF, "cCan", "Received Remote Tx Request. ID = 0x%x",
                       frame.can_id);
            continue;
        }
        if (frame.can_id & CAN_ERR_FLAG) {
            CDEBUG_LOG(CDebugLevel::WAR, "cCan",
                       "Can%u Received Error Msg. ID = 0x%x, len = %d, %d %d %d %d %d %d %d %d", p,
                       frame.can_id, frame.can_dlc, frame.data[0], frame.data[1], frame.data[2],
                       frame.data[3], frame.data[4], frame.data[5], frame.data[6], frame.data[7]);
            if (frame.can_id & CAN_ERR_BUSOFF) {
                CDEBUG_LOG(CDebugLevel::WAR, "cCan", "Received BUSOFF on %s",
                           port.interfaceName.c_str());
                Reset(p);
            }
            continue;
        }
        storeFrame(frame, f);
        stored = true;
    }
    port.reading = 0;
    return stored ? 1 : 0;
}

uint32_t socketcandriverSendFrameExt(const CanFrame* f, uint32_t p)
{
    if (p == SOCKETCAN_DUMMY_PORT)
        return 1;
    if (p > SOCKETCAN_DUMMY_PORT || !f)
        return 0;
    SocketCanPort& port = portRecord(p);
    if (!port.opened || port.closing)
        return 0;
    port.writing = 1;
    struct can_frame frame;
    std::memset(&frame, 0, sizeof frame);
    frame.can_id = f->extended ? ((f->id & CAN_EFF_MASK) | CAN_EFF_FLAG) : (f->id & CAN_SFF_MASK);
    frame.can_dlc = std::min<uint8_t>(f->dlc, 8);
    std::memcpy(frame.data, f->data, frame.can_dlc);
    uint32_t result = 0;
    for (;;) {
        const ssize_t written = writeFrame(port, frame);
        if (written == static_cast<ssize_t>(frameSize)) {
            setSocketCanState(SOCKET_CAN_STATE_NORMAL, p, __LINE__);
            result = 1;
            break;
        }
        if (written < 0 && errno == ENOBUFS) {
            if (!port.inBlockingMode) {
                setSocketCanState(SOCKET_CAN_STATE_NONBLOCK, p, __LINE__);
                break;
            }
            setSocketCanState(SOCKET_CAN_STATE_ENOBUFS, p, __LINE__);
            threadfunc::sleep(2);
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "error");
            setSocketCanState(SOCKET_CAN_STATE_UNDEF, p, __LINE__);
            break;
        } else if (written >= 0 || errno == EAGAIN) {
            // A would-block or partial write: give the queue a moment before the next try.
            threadfunc::sleep(1);
        }
        if (port.closing)
            break;
    }
    port.writing = 0;
    return result;
}

uint32_t socketcandriverSetBlockingMode(uint8_t m, uint32_t p)
{
    CDEBUG_LOG(CDebugLevel::DEB, "cCan", "CAN: cookie = %u inBlockingMode = %d", p, m);
    if (p > SOCKETCAN_DUMMY_PORT) {
        CDEBUG_LOG(CDebugLevel::WAR, "cCan", "CAN: cookie = %u out of range", p);
        return 1;
    }
    SocketCanPort& port = portRecord(p);
    const uint8_t mode = m != 0;
    if (port.inBlockingMode.exchange(mode) != mode)
        CDEBUG_LOG(CDebugLevel::INF, "cCan", "%s inBlockingMode = %s", port.interfaceName.c_str(),
                   mode ? "on" : "off");
    return 1;
}

}  // namespace

uint32_t socketCANdriver(CanDriverCommand* command, uint32_t port)
{
    if (!command)
        return 0;
    switch (command->command) {
    case CAN_CMD_OPEN:
        return Initiate(port);
    case CAN_CMD_RESET:
        return Reset(port);
    case CAN_CMD_BIT_TIMING:
        // The bit rate of a SocketCAN interface is set outside the program: the
        // record only makes sure the port is open. The second open retries a
        // failed first one and does nothing on an open port.
        if (port <= lastInterfacePort && command->argument.pointer) {
            Initiate(port);
            Initiate(port);
        }
        return 1;
    case CAN_CMD_SEND:
        return socketcandriverSendFrameExt(static_cast<const CanFrame*>(command->argument.pointer),
                                           port);
    case CAN_CMD_READ_FUNCTION:
        if (command->argument.pointer)
            *static_cast<CanReadFunction*>(command->argument.pointer) = socketcandriverReadNothing;
        return 1;
    case CAN_CMD_STATUS:
        if (command->argument.pointer)
            *static_cast<uint32_t*>(command->argument.pointer) = 0;
        return 1;
    case CAN_CMD_QUEUE_DEPTH:
        command->argument.value = 500;
        return 1;
    case CAN_CMD_RX_WAITING:
    case CAN_CMD_FURTHER_VALUE:
        command->argument.value = 0;
        return 1;
    case CAN_CMD_RECEIVE:
        return socketcandriverGetFrameExt(static_cast<CanFrame*>(command->argument.pointer), port);
    case CAN_CMD_BLOCKING_MODE:
        return socketcandriverSetBlockingMode(static_cast<uint8_t>(command->argument.value), port);
    case CAN_CMD_CLOSE:
        return Close(port);
    default:
        CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "unknown cmd = %d",
                   static_cast<int>(command->command));
        return 0;
    }
}

uint32_t socketcandriverGetErrorPauses(uint32_t p)
{
    return p < SOCKETCAN_DUMMY_PORT ? portRecord(p).errorPauses.load() : 0;
}

void socketcandriverSetFirstVirtualCAN(int n)
{
    if (n >= 0 && n <= static_cast<int>(lastInterfacePort)) {
        firstVirtualCan = static_cast<uint32_t>(n);
        return;
    }
    CDEBUG_LOG(CDebugLevel::CRI, "cCan", "Invalid CAN id: %d, valid range [0..%u]", n,
               lastInterfacePort);
}
