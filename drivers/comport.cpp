#include "comport.h"

#include "debugout.h"
#include "kernel.h"
#include "printbuffer.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

struct ComPortRecord {
    uint32_t polled = 0;
    ComDriver driver = nullptr;
    ComByteFunction receiveByte = nullptr;
    ComByteFunction sendByte = nullptr;
    uint32_t argument = 0;
    std::unique_ptr<uint8_t[]> rxRing;
    uint16_t rxSize = 0, rxCount = 0, rxWrite = 0, rxRead = 0;
    std::unique_ptr<uint8_t[]> txRing;
    uint16_t txSize = 0, txCount = 0, txWrite = 0, txRead = 0;
    uint32_t errors = 0;
    uint8_t transmitterIdle = 1;
    uint32_t opened = 0;
};

// Status bits that report readiness rather than an error.
constexpr uint32_t kReadyBits = COM_STATUS_TX_READY | COM_STATUS_RX_READY;

ComPortRecord gPorts[COMPORT_COUNT];
uint16_t gPortCount = 0;

ComPortRecord* registeredPort(uint32_t port)
{
    if (port >= gPortCount || gPorts[port].driver == nullptr)
        return nullptr;
    return &gPorts[port];
}

uint32_t command(ComPortRecord& rec, uint32_t code, uintptr_t param = 0)
{
    ComDriverCommand block{code, param};
    return rec.driver(&block, rec.argument);
}

// A command whose parameter word comes back as a value.
uint32_t commandValue(ComPortRecord& rec, uint32_t code, uintptr_t* value)
{
    ComDriverCommand block{code, *value};
    uint32_t result = rec.driver(&block, rec.argument);
    *value = block.param;
    return result;
}

void clearState(ComPortRecord& rec)
{
    rec.rxRing.reset();
    rec.txRing.reset();
    rec.rxSize = rec.rxCount = rec.rxWrite = rec.rxRead = 0;
    rec.txSize = rec.txCount = rec.txWrite = rec.txRead = 0;
    rec.errors = 0;
    rec.opened = 0;
}

void clearBinding(ComPortRecord& rec)
{
    rec.driver = nullptr;
    rec.receiveByte = nullptr;
    rec.sendByte = nullptr;
    rec.polled = 0;
    rec.argument = 0;
}

uint32_t readStatus(ComPortRecord& rec, uint32_t* status)
{
    *status = 0;
    uint32_t result = command(rec, COM_CMD_STATUS, reinterpret_cast<uintptr_t>(status));
    if (result)
        rec.errors |= *status & ~kReadyBits;
    return result;
}

uint16_t advance(uint16_t index, uint16_t size)
{
    ++index;
    return index >= size ? 0 : index;
}

uint32_t writeToPort(const void* port, const uint8_t* text, uint16_t length)
{
    return comportWrite(*static_cast<const uint32_t*>(port), text, length);
}

}  // namespace

uint32_t comportInit()
{
    KernelCriticalSection guard;
    for (ComPortRecord& rec : gPorts) {
        clearState(rec);
        clearBinding(rec);
        rec.transmitterIdle = 1;
    }
    gPortCount = COMPORT_COUNT;
    return 1;
}

uint32_t comportRegister(uint32_t port, ComDriver driver, uint16_t receiveSize,
                         uint16_t transmitSize, ComPortHandler* receiveHandler,
                         ComPortHandler* transmitHandler, uint32_t driverArgument)
{
    if (receiveHandler)
        *receiveHandler = nullptr;
    if (transmitHandler)
        *transmitHandler = nullptr;
    if (port >= gPortCount || driver == nullptr)
        return 0;

    KernelCriticalSection guard;
    ComPortRecord& rec = gPorts[port];
    clearState(rec);
    clearBinding(rec);
    rec.transmitterIdle = 1;
    rec.driver = driver;
    rec.argument = driverArgument;

    ComDriverInfo info{};
    auto fail = [&rec]() -> uint32_t {
        clearState(rec);
        clearBinding(rec);
        return 0;
    };
    if (!command(rec, COM_CMD_INIT))
        return fail();
    if (!command(rec, COM_CMD_INFO, reinterpret_cast<uintptr_t>(&info)))
        return fail();

    if (info.receiveByte || info.sendByte) {
        rec.rxSize = receiveSize ? receiveSize : 1;
        rec.txSize = transmitSize ? transmitSize : 1;
        rec.rxRing.reset(new (std::nothrow) uint8_t[rec.rxSize]);
        rec.txRing.reset(new (std::nothrow) uint8_t[rec.txSize]);
        if (!rec.rxRing || !rec.txRing)
            return fail();
    } else {
        uintptr_t size = receiveSize;
        if (!commandValue(rec, COM_CMD_RX_BUFFER, &size))
            return fail();
        rec.rxSize = static_cast<uint16_t>(size);
        size = transmitSize;
        if (!commandValue(rec, COM_CMD_TX_BUFFER, &size))
            return fail();
        rec.txSize = static_cast<uint16_t>(size);
    }
    rec.receiveByte = info.receiveByte;
    rec.sendByte = info.sendByte;
    rec.polled = info.polled;

    if (rec.rxRing) {
        if (rec.polled) {
            if (receiveHandler)
                *receiveHandler = comportService;
        } else {
            if (receiveHandler)
                *receiveHandler = comportRxByte;
            if (transmitHandler)
                *transmitHandler = comportTxNext;
        }
    }
    return 1;
}

uint32_t comportOpen(uint32_t port, uint32_t baud, uint32_t dataBits, uint32_t parity,
                     uint32_t stopBits)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    ComPortConfig config{baud, dataBits, parity, stopBits};
    uint32_t result = command(*rec, COM_CMD_CONFIGURE, reinterpret_cast<uintptr_t>(&config));
    rec->opened = 1;
    return result & 0xFF;
}

uint8_t comportGetByte(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    if (!rec->rxRing) {
        uintptr_t value = 0;
        if (!commandValue(*rec, COM_CMD_GET_BYTE, &value))
            return 0;
        return static_cast<uint8_t>(value);
    }
    KernelCriticalSection guard;
    if (rec->rxCount == 0)
        return 0;
    uint8_t byte = rec->rxRing[rec->rxRead];
    rec->rxRead = advance(rec->rxRead, rec->rxSize);
    --rec->rxCount;
    return byte;
}

uint32_t comportRxCount(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    if (!rec->rxRing) {
        uintptr_t value = 0;
        if (!commandValue(*rec, COM_CMD_RX_COUNT, &value))
            return 0;
        return static_cast<uint16_t>(value);
    }
    KernelCriticalSection guard;
    return rec->rxCount;
}

uint32_t comportWrite(uint32_t port, const uint8_t* data, uint16_t length)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec || (data == nullptr && length != 0))
        return 0;
    if (!rec->rxRing) {
        ComSendBlock block{data, length};
        if (command(*rec, COM_CMD_SEND_BLOCK, reinterpret_cast<uintptr_t>(&block)))
            return 1;
        // Without the critical section: a print holding the shared buffer gets
        // here, and the critical section must never wait for that buffer.
        __atomic_fetch_or(&rec->errors, COM_ERROR_TX, __ATOMIC_SEQ_CST);
        return 0;
    }
    if (!rec->opened)
        return 0;

    KernelCriticalSection guard;
    if (rec->txSize - rec->txCount < length) {
        rec->errors |= COM_ERROR_TX;
        return 0;
    }
    if (length == 0)
        return 1;
    uint16_t first = static_cast<uint16_t>(rec->txSize - rec->txWrite);
    if (first > length)
        first = length;
    std::memcpy(&rec->txRing[rec->txWrite], data, first);
    std::memcpy(&rec->txRing[0], data + first, length - first);
    rec->txWrite = static_cast<uint16_t>((rec->txWrite + length) % rec->txSize);

    uint32_t result = 1;
    const uint16_t countBefore = rec->txCount;
    rec->txCount = static_cast<uint16_t>(rec->txCount + length);
    if (countBefore == 0 || rec->transmitterIdle) {
        rec->transmitterIdle = 0;
        result = command(*rec, COM_CMD_TX_START,
                         reinterpret_cast<uintptr_t>(&rec->txRing[rec->txRead]));
        if (port == 1 && countBefore != 0 && debugCategoryEnabled(1)) {
            // Straight to the debug port: the shared print buffer may be held by
            // the caller of this write.
            static const char kNotice[] = "COMPORT.C: BUGFIX ACTIVE !!!!\n\r";
            debugWrite(reinterpret_cast<const uint8_t*>(kNotice), sizeof kNotice - 1);
        }
    }
    return result;
}

uint32_t comportTxPending(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    if (!rec->rxRing) {
        uintptr_t value = 0;
        if (!commandValue(*rec, COM_CMD_TX_PENDING, &value))
            return 0;
        return static_cast<uint16_t>(value);
    }
    KernelCriticalSection guard;
    return rec->txCount;
}

uint32_t comportGetErrors(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    KernelCriticalSection guard;
    return __atomic_exchange_n(&rec->errors, 0u, __ATOMIC_SEQ_CST);
}

uint32_t comportFlush(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec)
        return 0;
    {
        KernelCriticalSection guard;
        rec->rxCount = rec->rxWrite = rec->rxRead = 0;
        rec->txCount = rec->txWrite = rec->txRead = 0;
        rec->errors = 0;
    }
    return command(*rec, COM_CMD_FLUSH);
}

uint32_t comportClose(uint32_t port)
{
    if (port >= gPortCount)
        return 0;
    KernelCriticalSection guard;
    clearState(gPorts[port]);
    clearBinding(gPorts[port]);
    return 1;
}

uint32_t comportVPrintf(uint32_t port, uint32_t wait, const char* format, va_list arguments)
{
    const uint32_t result = printBufferVWrite(format, arguments, writeToPort, &port);
    if (wait == 1 && result) {
        while (comportTxPending(port) != 0)
            kernelDelay(1);
    }
    return result;
}

uint32_t comportPrintf(uint32_t port, uint32_t wait, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    uint32_t result = comportVPrintf(port, wait, format, arguments);
    va_end(arguments);
    return result;
}

void comportRxByte(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec || !rec->rxRing || !rec->receiveByte)
        return;
    KernelCriticalSection guard;
    if (!rec->polled) {
        uint32_t status;
        readStatus(*rec, &status);
    }
    if (rec->rxCount >= rec->rxSize) {
        // Full: the byte must still be taken from the hardware, but it is dropped
        // rather than written over the oldest unread one.
        uint8_t dropped;
        if (rec->receiveByte(&dropped))
            rec->errors |= COM_ERROR_RX_OVERFLOW;
        return;
    }
    if (rec->receiveByte(&rec->rxRing[rec->rxWrite])) {
        rec->rxWrite = advance(rec->rxWrite, rec->rxSize);
        ++rec->rxCount;
    }
}

void comportTxNext(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec || !rec->txRing)
        return;
    KernelCriticalSection guard;
    if (!rec->polled) {
        uint32_t status;
        readStatus(*rec, &status);
    }
    if (rec->txCount > 0) {
        rec->txRead = advance(rec->txRead, rec->txSize);
        --rec->txCount;
    }
    if (rec->txCount == 0) {
        command(*rec, COM_CMD_TX_DONE);
        rec->transmitterIdle = 1;
        return;
    }
    if (rec->sendByte)
        rec->sendByte(&rec->txRing[rec->txRead]);
    rec->transmitterIdle = 0;
}

void comportService(uint32_t port)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec || !rec->rxRing)
        return;
    // Each round moves one byte; a driver that keeps reporting readiness with
    // nothing to move cannot hold the caller for longer than both rings take.
    uint32_t rounds = static_cast<uint32_t>(rec->rxSize) + rec->txSize + 1;
    uint32_t status = 0;
    while (rounds-- > 0 && readStatus(*rec, &status) && (status & kReadyBits)) {
        if (status & COM_STATUS_TX_READY)
            comportTxNext(port);
        if (status & COM_STATUS_RX_READY)
            comportRxByte(port);
    }
}

uint32_t comportReadStatus(uint32_t port, uint32_t* status)
{
    ComPortRecord* rec = registeredPort(port);
    if (!rec || status == nullptr)
        return 0;
    KernelCriticalSection guard;
    return readStatus(*rec, status);
}
