#pragma once
// CAN layer: numbered channels, each bound at start-up to a hardware driver
// through one entry function that takes numbered commands. The layer opens the
// channel, programs its bit timing, sends and receives frames, keeps a software
// receive ring for drivers without a queue of their own, counts frames in both
// directions and hands every frame that passes to an optional frame hook.
// Results: non-zero is success, 0 is failure.
#include <cstdint>

// One CAN frame as every CAN user of the system exchanges it.
struct CanFrame {
    uint32_t id;       // 11-bit or 29-bit identifier, right-aligned
    uint8_t extended;  // 0 = standard, non-zero = 29-bit identifier
    uint8_t dlc;       // data bytes, 0 to 8
    uint8_t data[8];   // bytes beyond dlc are don't-care
};

// Driver command numbers.
enum CanDriverCommandCode : uint32_t {
    CAN_CMD_OPEN = 0,
    CAN_CMD_RESET = 1,
    CAN_CMD_BIT_TIMING = 2,
    CAN_CMD_SEND = 3,
    CAN_CMD_READ_FUNCTION = 4,
    CAN_CMD_STATUS = 5,
    CAN_CMD_QUEUE_DEPTH = 6,
    CAN_CMD_RX_WAITING = 7,
    CAN_CMD_FURTHER_VALUE = 8,
    CAN_CMD_RECEIVE = 9,
    CAN_CMD_BLOCKING_MODE = 10,
    CAN_CMD_CLOSE = 11,
};

// One command to a driver: the command number and one argument word that holds
// a value or a pointer, depending on the command.
struct CanDriverCommand {
    uint32_t command;
    union {
        uint32_t value;
        void* pointer;
    } argument;
};

// A driver's entry: (command, the channel's handle) -> non-zero on success.
typedef uint32_t (*CanDriverEntry)(CanDriverCommand* command, uint32_t handle);

// A driver's direct read function used to fill the software ring: writes one
// frame into slot (when given) and returns non-zero when it did; sets
// *noMoreFrames when nothing else is waiting.
typedef uint32_t (*CanReadFunction)(CanFrame* slot, uint32_t handle, uint32_t* noMoreFrames);

// Called for every frame that passes: direction 0 received, 1 transmitted;
// count is the running count of that direction after this frame.
typedef void (*CanFrameHook)(const CanFrame* frame, uint32_t direction, uint32_t count);

// Record passed with command 2: a 16-bit value and four 8-bit values whose
// meaning belongs to the driver.
struct CanBitTiming {
    uint16_t value;
    uint8_t b1;
    uint8_t b2;
    uint8_t b3;
    uint8_t b4;
};

// Channel status bit: a received frame was lost because the ring was full.
constexpr uint32_t CANIO_STATUS_RX_LOST = 0x10000;

uint32_t canioInit(uint16_t count);
uint32_t canioInitChannelExt(uint32_t channel, CanDriverEntry driver, uint32_t handle,
                             uint16_t ringSlots, uint8_t blockingMode);
uint32_t canioInitChannel(uint32_t channel, CanDriverEntry driver, uint32_t handle,
                          uint16_t ringSlots);

uint32_t canioTransmitFrame(uint32_t channel, const CanFrame* frame);
// Takes the oldest frame of the ring or, without a ring, asks the driver, which
// waits for a frame when it blocks.
uint32_t canioReceiveFrame(uint32_t channel, CanFrame* frame);

// Tries the three candidate timing records of the rate index (0 to 5; above 5
// the rows of rate index 2) until the driver accepts one; returns the result of
// the last record tried.
uint32_t canioSetBitTiming(uint32_t channel, uint32_t rateIndex);
uint32_t canioSetTiming(uint32_t channel, uint16_t value, uint8_t b1, uint8_t b2, uint8_t b3,
                        uint8_t b4);
uint32_t canioSetBlockingMode(uint32_t channel, uint8_t mode);

uint32_t canioResetHardware(uint32_t channel);
// Resets the driver and, when that succeeds, empties the ring and clears the status.
uint32_t canioReset(uint32_t channel);
uint32_t canioClose(uint32_t channel);

// The driver's status with the layer's status bits ORed in.
uint32_t canioGetStatus(uint32_t channel, uint32_t* status);
// Frames waiting: in the ring, or as the driver reports them.
uint32_t canioGetRxCount(uint32_t channel);

void canioSetFrameHook(CanFrameHook hook);

typedef uint32_t (*CanPollFunction)(uint32_t channel);
uint32_t canioGetPollFunction(uint32_t channel, CanPollFunction* function);
// Drains the driver's read function into the channel's ring.
uint32_t canioPollReceive(uint32_t channel);

// Frames delivered and transmitted since start.
uint32_t canioGetReceivedCount();
uint32_t canioGetTransmittedCount();

// compare(key, record) returns 0 on a match, negative when the key sorts before
// the record, positive after it.
typedef int (*CanioCompare)(const void* key, const void* record);
// The first record that matches, or nullptr.
const void* canioFindLinear(const void* first, uint32_t count, uint32_t stride,
                            CanioCompare compare, const void* key);
// As canioFindLinear for up to 8 records; above that a binary search of records
// sorted by compare.
const void* canioFindSorted(const void* first, uint32_t count, uint32_t stride,
                            CanioCompare compare, const void* key);
