#pragma once
// Stand-in CAN bus for machines without SocketCAN: every socket of an interface
// is an AF_UNIX datagram socket bound to its own file in run/can/<interface>/
// below the system root, and each 16-byte struct can_frame written to it is
// delivered to every other socket bound in that directory. Readers poll and
// read the descriptor as they would a raw CAN socket.
#include <cstddef>
#include <string>
#include <sys/types.h>

// The bus directory of an interface (below the system root when one is set).
std::string canstandinDir(const std::string& interfaceName);

// Opens and binds a new socket on the interface's bus (creating the directory
// when missing). Returns the descriptor, or -1 with errno set.
int canstandinOpen(const std::string& interfaceName);
// The same for a bus named by its directory, for a node that serves a root
// other than the process's own system root (the stand-in board's devices).
int canstandinOpenDir(const std::string& busDir);

// Sends one frame record to every other socket of fd's bus. A peer whose queue
// stays full drops the frame, as an overrun receiver would; a peer whose socket
// is gone has its file removed. Returns size, or -1 with errno set when fd is
// not a stand-in socket.
ssize_t canstandinWrite(int fd, const void* frame, size_t size);

// Closes the socket and removes its file from the bus directory.
int canstandinClose(int fd);
