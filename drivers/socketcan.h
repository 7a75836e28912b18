#pragma once
// SocketCAN driver behind the CAN layer's driver entry. Ports 0..15 name Linux
// CAN interfaces ("can%i" below the first virtual port, "vcan%i" from it on);
// port 16 is a dummy that opens, discards what is sent and never receives.
// Where the system root is set, or the kernel has no PF_CAN, a port opens the
// stand-in bus of its interface instead of a raw CAN socket.
#include "canio.h"

#include <cstdint>

// Transmit states, logged when they change.
enum SocketCanState : uint32_t {
    SOCKET_CAN_STATE_NORMAL = 0,
    SOCKET_CAN_STATE_BUSSOFF = 1,
    SOCKET_CAN_STATE_ENOBUFS = 2,
    SOCKET_CAN_STATE_NONBLOCK = 3,
    SOCKET_CAN_STATE_UNDEF = 4,
};

constexpr uint32_t SOCKETCAN_DUMMY_PORT = 16;

// The driver entry (command record, port) -> non-zero on success.
uint32_t socketCANdriver(CanDriverCommand* command, uint32_t port);

// Pauses the port's receive path has taken after receive errors since start
// (the back-off that keeps a failing socket from spinning); 0 for the dummy.
uint32_t socketcandriverGetErrorPauses(uint32_t port);

// Moves the first virtual port (default 12); refused outside 0..15.
void socketcandriverSetFirstVirtualCAN(int n);
