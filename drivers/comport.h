#pragma once
// Serial port layer: four numbered ports, each bound to a com driver, a single
// function that takes numbered commands. The layer keeps receive and transmit
// rings of its own for drivers that move single bytes (ring mode), or leaves the
// buffering to the driver (driver-buffered mode: the driver reports no byte
// functions). Results: 1 or non-zero for success, 0 for failure; every operation
// on an unregistered port or a port number at or above the count returns 0.
#include <cstdarg>
#include <cstdint>

// Driver command codes.
enum ComDriverCode : uint32_t {
    COM_CMD_INIT = 0,
    COM_CMD_INFO = 1,          // parameter: ComDriverInfo* to fill
    COM_CMD_FLUSH = 2,
    COM_CMD_CONFIGURE = 3,     // parameter: const ComPortConfig*
    COM_CMD_TX_START = 4,      // ring mode; parameter: pointer to the first byte to send
    COM_CMD_TX_DONE = 5,       // ring mode
    COM_CMD_STATUS = 6,        // parameter: uint32_t* for the status word
    COM_CMD_RX_BUFFER = 7,     // parameter: ring size; the driver may change it
    COM_CMD_TX_BUFFER = 8,     // parameter: ring size; the driver may change it
    COM_CMD_RX_COUNT = 9,      // parameter out: received bytes waiting
    COM_CMD_TX_PENDING = 10,   // parameter out: bytes not yet sent
    COM_CMD_GET_BYTE = 11,     // parameter out: one received byte
    COM_CMD_SEND_BLOCK = 12,   // parameter: const ComSendBlock*
};

// Status word bits reported by command 6; every other bit is an error condition.
constexpr uint32_t COM_STATUS_TX_READY = 0x00400000;
constexpr uint32_t COM_STATUS_RX_READY = 0x00800000;
// Error flags the layer adds.
constexpr uint32_t COM_ERROR_RX_OVERFLOW = 0x01000000;
constexpr uint32_t COM_ERROR_TX = 0x02000000;

// The block handed to a driver: the command code and one parameter word that
// holds a value or a pointer, depending on the command.
struct ComDriverCommand {
    uint32_t code;
    uintptr_t param;
};

// A com driver: driver(block, driver argument) -> non-zero on success.
typedef uint32_t (*ComDriver)(ComDriverCommand* block, uint32_t argument);
// Fetches one received byte into, or sends one byte from, the pointed-to place.
typedef uint32_t (*ComByteFunction)(uint8_t* byte);
// What interrupt glue calls for a port in ring mode.
typedef void (*ComPortHandler)(uint32_t port);

// Filled by command 1. Null functions: the driver keeps the buffers.
struct ComDriverInfo {
    uint8_t polled;  // readiness is reported through status bits 22 and 23
    ComByteFunction receiveByte;
    ComByteFunction sendByte;
};

// Command 3. baud: 0 1200, 1 2400, 2 4800, 3 9600, 4 19200, 5 38400, 6 57600,
// 7 and above 115200. dataBits: 0..3 give 5..8 bits, above 3 gives 8.
// parity: 0 and 1 even, other values none. stopBits: 1 two, other values one.
struct ComPortConfig {
    uint32_t baud;
    uint32_t dataBits;
    uint32_t parity;
    uint32_t stopBits;
};

// Command 12.
struct ComSendBlock {
    const uint8_t* data;
    uint16_t length;
};

constexpr uint32_t COMPORT_COUNT = 4;

// Sets up the table of four ports, dropping any earlier registration. -> 1.
uint32_t comportInit();
// Binds a port to a driver (initialise, report info, buffers). The handlers are
// null for ports whose driver keeps the buffers. -> 1 or 0.
uint32_t comportRegister(uint32_t port, ComDriver driver, uint16_t receiveSize,
                         uint16_t transmitSize, ComPortHandler* receiveHandler,
                         ComPortHandler* transmitHandler, uint32_t driverArgument);
// Configures the port (command 3) and marks it opened whatever the result.
// -> the driver's result (low byte), 0 without a driver.
uint32_t comportOpen(uint32_t port, uint32_t baud, uint32_t dataBits, uint32_t parity,
                     uint32_t stopBits);
// The next received byte, 0 when none (test comportRxCount first).
uint8_t comportGetByte(uint32_t port);
uint32_t comportRxCount(uint32_t port);
// -> 1 when the whole block was accepted, else 0 (and error bit 25 is set).
uint32_t comportWrite(uint32_t port, const uint8_t* data, uint16_t length);
uint32_t comportTxPending(uint32_t port);
// The accumulated error flags, which are cleared.
uint32_t comportGetErrors(uint32_t port);
// Empties both rings and clears the error flags. -> the driver's flush result.
uint32_t comportFlush(uint32_t port);
// Unbinds the port. -> 1.
uint32_t comportClose(uint32_t port);

// Formats into the shared print buffer and writes the text. A format of 250
// characters or more, or a text longer than 250 characters, sends nothing and
// returns 0. With wait = 1 a successful call returns once nothing is pending.
uint32_t comportVPrintf(uint32_t port, uint32_t wait, const char* format, va_list arguments);
uint32_t comportPrintf(uint32_t port, uint32_t wait, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Ring-mode handlers for interrupt glue.
void comportRxByte(uint32_t port);
void comportTxNext(uint32_t port);
void comportService(uint32_t port);
// Command 6; error bits (all but 22 and 23) are added to the error flags.
// -> the driver's result.
uint32_t comportReadStatus(uint32_t port, uint32_t* status);
