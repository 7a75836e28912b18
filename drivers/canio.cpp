#include "canio.h"

#include "cdebug.h"
#include "kernel.h"

#include <atomic>
#include <new>

namespace {

struct CanChannel {
    CanDriverEntry driver;
    CanReadFunction readFunction;
    uint32_t handle;
    CanFrame* ring;
    uint16_t ringSize;
    uint16_t ringCount;
    uint16_t writeIndex;
    uint16_t readIndex;
    uint32_t status;
    uint8_t blockingMode;
};

struct CanTable {
    CanChannel* table = nullptr;
    uint16_t count = 0;
    std::atomic<uint32_t> receivedCount{0};
    std::atomic<CanFrameHook> frameHook{nullptr};
    std::atomic<uint32_t> transmittedCount{0};
};

CanTable canTable;

// Candidate bit-timing rows per rate index 0..5, tried in set order.
const CanBitTiming bitTimingSets[3][6] = {
    {{1000, 5, 7, 7, 4}, {2000, 5, 7, 7, 3}, {2000, 3, 6, 6, 3},
     {4000, 5, 7, 3, 3}, {8000, 3, 6, 6, 4}, {8000, 1, 3, 3, 2}},
    {{1000, 5, 7, 7, 4}, {2500, 8, 8, 8, 4}, {2500, 5, 7, 7, 4},
     {5000, 6, 9, 4, 4}, {5000, 1, 4, 4, 3}, {10000, 1, 4, 4, 3}},
    {{1000, 8, 8, 3, 4}, {1300, 5, 5, 2, 2}, {1000, 3, 3, 1, 2},
     {3250, 4, 5, 3, 3}, {6500, 5, 5, 2, 4}, {13000, 4, 4, 4, 4}},
};

// The channel's entry when the number is in range and a driver is bound.
CanChannel* usableChannel(uint32_t channel)
{
    if (!canTable.table || channel >= canTable.count)
        return nullptr;
    CanChannel* entry = &canTable.table[channel];
    return entry->driver ? entry : nullptr;
}

// One command with a value argument; the driver may write a value back into it.
uint32_t driverValueCommand(CanDriverEntry driver, uint32_t handle, uint32_t command,
                            uint32_t* value)
{
    CanDriverCommand cmd;
    cmd.command = command;
    cmd.argument.pointer = nullptr;
    cmd.argument.value = *value;
    const uint32_t result = driver(&cmd, handle);
    *value = cmd.argument.value;
    return result;
}

uint32_t driverPointerCommand(CanDriverEntry driver, uint32_t handle, uint32_t command,
                              void* pointer)
{
    CanDriverCommand cmd;
    cmd.command = command;
    cmd.argument.pointer = pointer;
    return driver(&cmd, handle);
}

uint32_t sendCommand(CanChannel* entry, uint32_t command, uint32_t value = 0)
{
    return driverValueCommand(entry->driver, entry->handle, command, &value);
}

uint32_t sendPointerCommand(CanChannel* entry, uint32_t command, void* pointer)
{
    return driverPointerCommand(entry->driver, entry->handle, command, pointer);
}

void unbindEntry(CanChannel& entry)
{
    entry.driver = nullptr;
    entry.readFunction = nullptr;
}

// Binds and opens one channel; the caller holds the critical section.
uint32_t openChannel(CanChannel& entry, CanDriverEntry driver, uint32_t handle, uint16_t ringSlots,
                     uint8_t blockingMode)
{
    delete[] entry.ring;
    entry.ring = nullptr;
    entry.ringSize = 0;
    entry.ringCount = 0;
    entry.writeIndex = 0;
    entry.readIndex = 0;
    entry.status = 0;

    CanReadFunction readFunction = nullptr;
    uint32_t unused = 0;
    if (!driver || !driverValueCommand(driver, handle, CAN_CMD_OPEN, &unused) ||
        !driverPointerCommand(driver, handle, CAN_CMD_READ_FUNCTION, &readFunction)) {
        unbindEntry(entry);
        return 0;
    }
    uint32_t driverDepth = 0;
    driverValueCommand(driver, handle, CAN_CMD_QUEUE_DEPTH, &driverDepth);
    if (static_cast<uint16_t>(driverDepth) != 0) {
        entry.ringSize = static_cast<uint16_t>(driverDepth);
    } else {
        const uint16_t slots = ringSlots ? ringSlots : 1;
        entry.ring = new (std::nothrow) CanFrame[slots]();
        if (!entry.ring) {
            unbindEntry(entry);
            return 0;
        }
        entry.ringSize = slots;
    }
    uint32_t mode = blockingMode;
    driverValueCommand(driver, handle, CAN_CMD_BLOCKING_MODE, &mode);
    entry.driver = driver;
    entry.readFunction = readFunction;
    entry.handle = handle;
    entry.blockingMode = blockingMode;
    return 1;
}

void callHook(const CanFrame* frame, uint32_t direction, uint32_t count)
{
    CanFrameHook hook = canTable.frameHook.load();
    if (hook)
        hook(frame, direction, count);
}

}  // namespace

uint32_t canioInit(uint16_t count)
{
    KernelCriticalSection guard;
    CDEBUG_LOG(CDebugLevel::INF, "cCan", "number of can = %d", count);
    if (canTable.table) {
        for (uint16_t i = 0; i < canTable.count; ++i)
            delete[] canTable.table[i].ring;
        delete[] canTable.table;
        canTable.table = nullptr;
        canTable.count = 0;
    }
    if (count == 0) {
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "error!!!");
        return 0;
    }
    canTable.table = new (std::nothrow) CanChannel[count]();
    if (!canTable.table) {
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "error!!!");
        return 0;
    }
    canTable.count = count;
    for (int i = count - 1; i >= 0; --i) {
        canTable.table[i].blockingMode = 1;
        CDEBUG_LOG(CDebugLevel::INF, "cCan", "can idx = %d", i);
    }
    return 1;
}

uint32_t canioInitChannelExt(uint32_t channel, CanDriverEntry driver, uint32_t handle,
                             uint16_t ringSlots, uint8_t blockingMode)
{
    uint32_t result = 0;
    uint32_t status = 0;
    {
        KernelCriticalSection guard;
        if (!canTable.table)
            CDEBUG_LOG(CDebugLevel::FAT, "cDefault", "reason( info ) - ");
        if (canTable.table && channel < canTable.count) {
            CanChannel& entry = canTable.table[channel];
            result = openChannel(entry, driver, handle, ringSlots, blockingMode);
            status = entry.status;
        }
    }
    CDEBUG_LOG(CDebugLevel::DEB, "cCan", "can idx = %d, status = %d", static_cast<int>(channel),
               static_cast<int>(status));
    if (!result)
        CDEBUG_LOG(CDebugLevel::CRI, "cDefault", "can idx = %d, status = %d, error!!!",
                   static_cast<int>(channel), static_cast<int>(status));
    return result;
}

uint32_t canioInitChannel(uint32_t channel, CanDriverEntry driver, uint32_t handle,
                          uint16_t ringSlots)
{
    return canioInitChannelExt(channel, driver, handle, ringSlots, 1);
}

uint32_t canioTransmitFrame(uint32_t channel, const CanFrame* frame)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry || !frame)
        return 0;
    const int ch = static_cast<int>(channel);
    CDEBUG_LOG(CDebugLevel::DEB, "cCanTx", "CAN%d, ptr = %p, cookie = %d", ch,
               reinterpret_cast<void*>(entry->driver), static_cast<int>(entry->handle));
    CDEBUG_LOG(CDebugLevel::DEB, "cCanTx",
               "CAN%d, id = 0x%x, ext = %d, len = %d, data[0..3] = 0x%x, 0x%x, 0x%x, 0x%x ", ch,
               frame->id, frame->extended, frame->dlc, frame->data[0], frame->data[1],
               frame->data[2], frame->data[3]);
    CanFrame copy = *frame;
    const uint32_t result = sendPointerCommand(entry, CAN_CMD_SEND, &copy);
    CDEBUG_LOG(CDebugLevel::DEB, "cCanTx",
               "CAN%d id = 0x%x, len = %d, data[0..7] = 0x%x, 0x%x, 0x%x, 0x%x, 0x%x, 0x%x, 0x%x, "
               "0x%x",
               ch, frame->id, frame->dlc, frame->data[0], frame->data[1], frame->data[2],
               frame->data[3], frame->data[4], frame->data[5], frame->data[6], frame->data[7]);
    if (result)
        callHook(frame, 1, ++canTable.transmittedCount);
    return result;
}

uint32_t canioReceiveFrame(uint32_t channel, CanFrame* frame)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry || !frame)
        return 0;
    uint32_t result = 0;
    if (entry->ring) {
        KernelCriticalSection guard;
        if (entry->ringCount != 0) {
            *frame = entry->ring[entry->readIndex];
            entry->readIndex = static_cast<uint16_t>((entry->readIndex + 1) % entry->ringSize);
            --entry->ringCount;
            result = 1;
        }
    } else {
        result = sendPointerCommand(entry, CAN_CMD_RECEIVE, frame);
    }
    if (result)
        callHook(frame, 0, ++canTable.receivedCount);
    return result;
}

uint32_t canioSetBitTiming(uint32_t channel, uint32_t rateIndex)
{
    if (!usableChannel(channel))
        return 0;
    const uint32_t row = rateIndex > 5 ? 2 : rateIndex;
    uint32_t result = 0;
    for (const auto& set : bitTimingSets) {
        const CanBitTiming& t = set[row];
        result = canioSetTiming(channel, t.value, t.b1, t.b2, t.b3, t.b4);
        if (result)
            break;
    }
    return result;
}

uint32_t canioSetTiming(uint32_t channel, uint16_t value, uint8_t b1, uint8_t b2, uint8_t b3,
                        uint8_t b4)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry)
        return 0;
    CanBitTiming timing{value, b1, b2, b3, b4};
    return sendPointerCommand(entry, CAN_CMD_BIT_TIMING, &timing);
}

uint32_t canioSetBlockingMode(uint32_t channel, uint8_t mode)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry)
        return 0;
    if (entry->blockingMode != mode) {
        entry->blockingMode = mode;
        CDEBUG_LOG(CDebugLevel::INF, "cCan", "CAN%d blockingMode = %d", static_cast<int>(channel),
                   mode);
    }
    return sendCommand(entry, CAN_CMD_BLOCKING_MODE, mode);
}

uint32_t canioResetHardware(uint32_t channel)
{
    CanChannel* entry = usableChannel(channel);
    return entry ? sendCommand(entry, CAN_CMD_RESET) : 0;
}

uint32_t canioReset(uint32_t channel)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry)
        return 0;
    const uint32_t result = canioResetHardware(channel);
    if (result) {
        KernelCriticalSection guard;
        entry->ringCount = 0;
        entry->readIndex = 0;
        entry->writeIndex = 0;
        entry->status = 0;
    }
    return result;
}

uint32_t canioClose(uint32_t channel)
{
    CanChannel* entry = usableChannel(channel);
    return entry ? sendCommand(entry, CAN_CMD_CLOSE) : 0;
}

uint32_t canioGetStatus(uint32_t channel, uint32_t* status)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry || !status)
        return 0;
    const uint32_t result = sendPointerCommand(entry, CAN_CMD_STATUS, status);
    KernelCriticalSection guard;
    *status |= entry->status;
    return result;
}

uint32_t canioGetRxCount(uint32_t channel)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry)
        return 0;
    if (entry->ring) {
        KernelCriticalSection guard;
        return entry->ringCount;
    }
    uint32_t waiting = 0;
    driverValueCommand(entry->driver, entry->handle, CAN_CMD_RX_WAITING, &waiting);
    return waiting;
}

void canioSetFrameHook(CanFrameHook hook)
{
    canTable.frameHook.store(hook);
}

uint32_t canioGetPollFunction(uint32_t channel, CanPollFunction* function)
{
    if (!function || !usableChannel(channel))
        return 0;
    *function = canioPollReceive;
    return 1;
}

uint32_t canioPollReceive(uint32_t channel)
{
    CanChannel* entry = usableChannel(channel);
    if (!entry || !entry->readFunction)
        return 0;
    KernelCriticalSection guard;
    uint32_t noMoreFrames = 0;
    if (!entry->ring) {
        entry->readFunction(nullptr, entry->handle, &noMoreFrames);
        return 1;
    }
    // A full ring reads into a scratch frame: the slot at writeIndex is then the
    // oldest frame still waiting, which must not be overwritten.
    CanFrame scratch;
    while (!noMoreFrames) {
        const bool full = entry->ringCount >= entry->ringSize;
        CanFrame* slot = full ? &scratch : &entry->ring[entry->writeIndex];
        if (!entry->readFunction(slot, entry->handle, &noMoreFrames))
            break;
        if (full) {
            entry->status |= CANIO_STATUS_RX_LOST;
        } else {
            ++entry->ringCount;
            entry->writeIndex = static_cast<uint16_t>((entry->writeIndex + 1) % entry->ringSize);
        }
    }
    return 1;
}

uint32_t canioGetReceivedCount()
{
    return canTable.receivedCount.load();
}

uint32_t canioGetTransmittedCount()
{
    return canTable.transmittedCount.load();
}

const void* canioFindLinear(const void* first, uint32_t count, uint32_t stride,
                            CanioCompare compare, const void* key)
{
    if (!first || !compare)
        return nullptr;
    const auto* record = static_cast<const unsigned char*>(first);
    for (uint32_t i = 0; i < count; ++i, record += stride) {
        if (compare(key, record) == 0)
            return record;
    }
    return nullptr;
}

const void* canioFindSorted(const void* first, uint32_t count, uint32_t stride,
                            CanioCompare compare, const void* key)
{
    if (count <= 8)
        return canioFindLinear(first, count, stride, compare, key);
    if (!compare)
        return nullptr;
    const auto* base = static_cast<const unsigned char*>(first);
    uint32_t low = 0;
    uint32_t high = count;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        const unsigned char* record = base + static_cast<size_t>(middle) * stride;
        const int order = compare(key, record);
        if (order == 0) {
            // Equal neighbours below may precede it: the first match is wanted.
            while (record > base && compare(key, record - stride) == 0)
                record -= stride;
            return record;
        }
        if (order < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return nullptr;
}
