// The CAN layer against a scripted driver: channel binding, the software ring,
// bit timing candidates, counting and the frame hook, and the record searches.
#include "can_peer.h"
#include "canio.h"
#include "test_root.h"

#include <doctest/doctest.h>

#include <cstring>
#include <deque>
#include <vector>

namespace {

TestRoot& programRoot()
{
    static TestRoot root;
    return root;
}

struct DriverCall {
    uint32_t command;
    uint32_t handle;
    CanBitTiming timing;  // command 2 only
};

// A scripted driver: what it answers is set per test, every call is recorded.
struct FakeDriver {
    std::vector<DriverCall> calls;
    uint32_t openResult = 1;
    uint32_t readFunctionResult = 1;
    uint16_t queueDepth = 0;
    uint32_t rxWaiting = 0;
    uint32_t driverStatus = 0;
    std::vector<uint32_t> timingAnswers;  // answers to successive command 2 calls
    std::deque<CanFrame> pending;         // frames the read function hands out
    uint32_t otherResult = 1;
    bool readNeverEnds = false;  // hand out a read function that never sets the end flag
};

FakeDriver fake;

uint32_t fakeRead(CanFrame* slot, uint32_t, uint32_t* noMoreFrames)
{
    if (fake.pending.empty()) {
        *noMoreFrames = 1;
        return 0;
    }
    if (slot)
        *slot = fake.pending.front();
    fake.pending.pop_front();
    if (fake.pending.empty())
        *noMoreFrames = 1;
    return 1;
}

uint32_t fakeReadNeverEnds(CanFrame* slot, uint32_t, uint32_t*)
{
    if (fake.pending.empty())
        return 0;
    if (slot)
        *slot = fake.pending.front();
    fake.pending.pop_front();
    return 1;
}

uint32_t fakeEntry(CanDriverCommand* command, uint32_t handle)
{
    DriverCall call{command->command, handle, {}};
    if (command->command == CAN_CMD_BIT_TIMING)
        call.timing = *static_cast<CanBitTiming*>(command->argument.pointer);
    fake.calls.push_back(call);
    switch (command->command) {
    case CAN_CMD_OPEN:
        return fake.openResult;
    case CAN_CMD_READ_FUNCTION:
        *static_cast<CanReadFunction*>(command->argument.pointer) =
            fake.readNeverEnds ? fakeReadNeverEnds : fakeRead;
        return fake.readFunctionResult;
    case CAN_CMD_QUEUE_DEPTH:
        command->argument.value = fake.queueDepth;
        return 1;
    case CAN_CMD_RX_WAITING:
        command->argument.value = fake.rxWaiting;
        return 1;
    case CAN_CMD_STATUS:
        *static_cast<uint32_t*>(command->argument.pointer) = fake.driverStatus;
        return 1;
    case CAN_CMD_BIT_TIMING: {
        const size_t index = fake.calls.size();
        size_t timingCalls = 0;
        for (size_t i = 0; i < index; ++i)
            timingCalls += fake.calls[i].command == CAN_CMD_BIT_TIMING;
        return timingCalls <= fake.timingAnswers.size() ? fake.timingAnswers[timingCalls - 1] : 1;
    }
    case CAN_CMD_RECEIVE:
        if (fake.pending.empty())
            return 0;
        *static_cast<CanFrame*>(command->argument.pointer) = fake.pending.front();
        fake.pending.pop_front();
        return 1;
    default:
        return fake.otherResult;
    }
}

CanFrame makeFrame(uint32_t id, uint8_t firstByte)
{
    CanFrame frame{};
    frame.id = id;
    frame.extended = 1;
    frame.dlc = 1;
    frame.data[0] = firstByte;
    return frame;
}

// A fresh table of `count` channels with channel 0 bound to a fresh fake.
void bindFake(uint16_t count, uint16_t ringSlots, uint16_t queueDepth = 0)
{
    programRoot();
    fake = FakeDriver{};
    fake.queueDepth = queueDepth;
    REQUIRE(canioInit(count) == 1);
    REQUIRE(canioInitChannel(0, fakeEntry, 7, ringSlots) == 1);
    fake.calls.clear();
}

std::vector<uint32_t> commandsSent()
{
    std::vector<uint32_t> commands;
    for (const DriverCall& call : fake.calls)
        commands.push_back(call.command);
    return commands;
}

struct HookCall {
    CanFrame frame;
    uint32_t direction;
    uint32_t count;
};
std::vector<HookCall> hookCalls;

void recordHook(const CanFrame* frame, uint32_t direction, uint32_t count)
{
    hookCalls.push_back({*frame, direction, count});
}

}  // namespace

TEST_CASE("channel initialisation sends open, read function, depth and blocking mode")
{
    programRoot();
    fake = FakeDriver{};
    REQUIRE(canioInit(2) == 1);
    REQUIRE(canioInitChannelExt(1, fakeEntry, 42, 4, 0) == 1);
    const std::vector<uint32_t> expected = {CAN_CMD_OPEN, CAN_CMD_READ_FUNCTION, CAN_CMD_QUEUE_DEPTH,
                                            CAN_CMD_BLOCKING_MODE};
    CHECK(commandsSent() == expected);
    for (const DriverCall& call : fake.calls)
        CHECK(call.handle == 42);

    SUBCASE("a refused open leaves the channel without a driver")
    {
        fake = FakeDriver{};
        fake.openResult = 0;
        CHECK(canioInitChannel(1, fakeEntry, 42, 4) == 0);
        fake.calls.clear();
        const CanFrame frame = makeFrame(0x100, 1);
        CHECK(canioTransmitFrame(1, &frame) == 0);
        CHECK(canioResetHardware(1) == 0);
        CHECK(fake.calls.empty());
    }
    SUBCASE("a refused read-function request fails the same way")
    {
        fake = FakeDriver{};
        fake.readFunctionResult = 0;
        CHECK(canioInitChannel(1, fakeEntry, 42, 4) == 0);
        fake.calls.clear();
        CHECK(canioClose(1) == 0);
        CHECK(fake.calls.empty());
    }
}

TEST_CASE("an empty table or an out-of-range channel calls no driver")
{
    programRoot();
    uint32_t result = 1;
    bool logged = false;
    {
        OutputCapture capture(programRoot());
        result = canioInit(0);
        logged = capture.waitFor("error!!!", 2000);
    }
    CHECK(result == 0);
    CHECK(logged);
    fake = FakeDriver{};
    CHECK(canioInitChannel(0, fakeEntry, 0, 4) == 0);

    bindFake(1, 4);
    CanFrame frame = makeFrame(0x100, 1);
    uint32_t status = 0;
    CanPollFunction poll = nullptr;
    for (uint32_t channel : {1u, 16u, 0xFFFFFFFFu}) {
        CAPTURE(channel);
        CHECK(canioTransmitFrame(channel, &frame) == 0);
        CHECK(canioReceiveFrame(channel, &frame) == 0);
        CHECK(canioSetBitTiming(channel, 3) == 0);
        CHECK(canioSetTiming(channel, 4000, 5, 7, 3, 3) == 0);
        CHECK(canioSetBlockingMode(channel, 0) == 0);
        CHECK(canioResetHardware(channel) == 0);
        CHECK(canioReset(channel) == 0);
        CHECK(canioClose(channel) == 0);
        CHECK(canioGetStatus(channel, &status) == 0);
        CHECK(canioGetRxCount(channel) == 0);
        CHECK(canioGetPollFunction(channel, &poll) == 0);
        CHECK(canioPollReceive(channel) == 0);
        CHECK(canioInitChannel(channel, fakeEntry, 0, 4) == 0);
    }
    CHECK(fake.calls.empty());
}

TEST_CASE("bit timing tries the candidate records of the rate index in order")
{
    struct Case {
        uint32_t rateIndex;
        std::vector<uint32_t> answers;
        std::vector<CanBitTiming> expected;
        uint32_t result;
    };
    const Case cases[] = {
        {3, {0, 0, 0x55}, {{4000, 5, 7, 3, 3}, {5000, 6, 9, 4, 4}, {3250, 4, 5, 3, 3}}, 0x55},
        {3, {0, 0, 0}, {{4000, 5, 7, 3, 3}, {5000, 6, 9, 4, 4}, {3250, 4, 5, 3, 3}}, 0},
        {3, {1}, {{4000, 5, 7, 3, 3}}, 1},
        {0, {0, 2}, {{1000, 5, 7, 7, 4}, {1000, 5, 7, 7, 4}}, 2},
        {1, {0, 0, 1}, {{2000, 5, 7, 7, 3}, {2500, 8, 8, 8, 4}, {1300, 5, 5, 2, 2}}, 1},
        {4, {0, 0, 1}, {{8000, 3, 6, 6, 4}, {5000, 1, 4, 4, 3}, {6500, 5, 5, 2, 4}}, 1},
        {5, {0, 0, 1}, {{8000, 1, 3, 3, 2}, {10000, 1, 4, 4, 3}, {13000, 4, 4, 4, 4}}, 1},
        {9, {0, 0, 1}, {{2000, 3, 6, 6, 3}, {2500, 5, 7, 7, 4}, {1000, 3, 3, 1, 2}}, 1},
    };
    for (const Case& c : cases) {
        CAPTURE(c.rateIndex);
        bindFake(1, 4);
        fake.timingAnswers = c.answers;
        CHECK(canioSetBitTiming(0, c.rateIndex) == c.result);
        REQUIRE(fake.calls.size() == c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i) {
            CAPTURE(i);
            const CanBitTiming& got = fake.calls[i].timing;
            CHECK(fake.calls[i].command == CAN_CMD_BIT_TIMING);
            CHECK(got.value == c.expected[i].value);
            CHECK(got.b1 == c.expected[i].b1);
            CHECK(got.b2 == c.expected[i].b2);
            CHECK(got.b3 == c.expected[i].b3);
            CHECK(got.b4 == c.expected[i].b4);
        }
    }
}

TEST_CASE("the software ring keeps the oldest frames when it overflows")
{
    bindFake(1, 3);
    for (uint8_t i = 1; i <= 4; ++i)
        fake.pending.push_back(makeFrame(0x100 + i, i));
    CHECK(canioPollReceive(0) == 1);
    CHECK(canioGetRxCount(0) == 3);

    uint32_t status = 0;
    CHECK(canioGetStatus(0, &status) == 1);
    CHECK((status & CANIO_STATUS_RX_LOST) != 0);

    CanFrame frame{};
    for (uint8_t i = 1; i <= 3; ++i) {
        CAPTURE(i);
        REQUIRE(canioReceiveFrame(0, &frame) == 1);
        CHECK(frame.id == 0x100u + i);
        CHECK(frame.data[0] == i);
    }
    CHECK(canioReceiveFrame(0, &frame) == 0);

    SUBCASE("reset clears the lost-frame bit and the ring")
    {
        fake.pending.push_back(makeFrame(0x200, 9));
        canioPollReceive(0);
        CHECK(canioReset(0) == 1);
        CHECK(canioGetRxCount(0) == 0);
        status = 0;
        canioGetStatus(0, &status);
        CHECK((status & CANIO_STATUS_RX_LOST) == 0);
    }
    SUBCASE("the ring wraps around without losing order")
    {
        for (uint8_t round = 0; round < 4; ++round) {
            fake.pending.push_back(makeFrame(0x300 + round, round));
            fake.pending.push_back(makeFrame(0x400 + round, round));
            canioPollReceive(0);
            REQUIRE(canioReceiveFrame(0, &frame) == 1);
            CHECK(frame.id == 0x300u + round);
            REQUIRE(canioReceiveFrame(0, &frame) == 1);
            CHECK(frame.id == 0x400u + round);
        }
    }
}

TEST_CASE("a read function that never sets the end flag still ends the drain")
{
    programRoot();
    fake = FakeDriver{};
    fake.readNeverEnds = true;
    REQUIRE(canioInit(1) == 1);
    REQUIRE(canioInitChannel(0, fakeEntry, 0, 4) == 1);
    fake.pending.push_back(makeFrame(0x10, 1));
    fake.pending.push_back(makeFrame(0x11, 2));
    CHECK(canioPollReceive(0) == 1);
    CHECK(canioGetRxCount(0) == 2);
}

TEST_CASE("a driver with its own queue gets no ring")
{
    bindFake(1, 3, 500);
    fake.rxWaiting = 7;
    CHECK(canioGetRxCount(0) == 7);
    CHECK(commandsSent() == std::vector<uint32_t>{CAN_CMD_RX_WAITING});

    fake.calls.clear();
    fake.pending.push_back(makeFrame(0x18EFFFC0, 5));
    CanFrame frame{};
    CHECK(canioReceiveFrame(0, &frame) == 1);
    CHECK(frame.id == 0x18EFFFC0u);
    CHECK(commandsSent() == std::vector<uint32_t>{CAN_CMD_RECEIVE});
}

TEST_CASE("status combines the driver's word and the layer's bits")
{
    bindFake(1, 1);
    fake.driverStatus = 0x3;
    fake.pending.push_back(makeFrame(1, 1));
    fake.pending.push_back(makeFrame(2, 2));
    canioPollReceive(0);
    uint32_t status = 0;
    CHECK(canioGetStatus(0, &status) == 1);
    CHECK(status == (0x3u | CANIO_STATUS_RX_LOST));
    CHECK(canioGetStatus(0, nullptr) == 0);
}

TEST_CASE("transmitted and received frames are counted and handed to the hook")
{
    bindFake(1, 4, 500);
    hookCalls.clear();
    canioSetFrameHook(recordHook);
    const uint32_t txBefore = canioGetTransmittedCount();
    const uint32_t rxBefore = canioGetReceivedCount();

    const CanFrame sent = makeFrame(0x18EFC0B4, 0xAA);
    CHECK(canioTransmitFrame(0, &sent) == 1);
    fake.pending.push_back(makeFrame(0x18EFFFC0, 0xBB));
    CanFrame received{};
    CHECK(canioReceiveFrame(0, &received) == 1);

    SUBCASE("a refused frame is neither counted nor hooked")
    {
        fake.otherResult = 0;
        CHECK(canioTransmitFrame(0, &sent) == 0);
        CHECK(canioReceiveFrame(0, &received) == 0);
    }
    canioSetFrameHook(nullptr);

    REQUIRE(hookCalls.size() == 2);
    CHECK(hookCalls[0].direction == 1);
    CHECK(hookCalls[0].count == txBefore + 1);
    CHECK(hookCalls[0].frame.id == 0x18EFC0B4u);
    CHECK(hookCalls[1].direction == 0);
    CHECK(hookCalls[1].count == rxBefore + 1);
    CHECK(hookCalls[1].frame.data[0] == 0xBB);
    CHECK(canioGetTransmittedCount() == txBefore + 1);
    CHECK(canioGetReceivedCount() == rxBefore + 1);
}

TEST_CASE("blocking mode, reset and close reach the driver with their commands")
{
    bindFake(1, 4);
    CHECK(canioSetBlockingMode(0, 0) == 1);
    REQUIRE(fake.calls.size() == 1);
    CHECK(fake.calls[0].command == CAN_CMD_BLOCKING_MODE);
    fake.otherResult = 9;
    CHECK(canioResetHardware(0) == 9);
    CHECK(canioClose(0) == 9);
    CanPollFunction poll = nullptr;
    CHECK(canioGetPollFunction(0, &poll) == 1);
    CHECK(static_cast<bool>(poll == canioPollReceive));
    CHECK(canioGetPollFunction(0, nullptr) == 0);
}

namespace {
struct Record {
    int key;
    int payload;
};

int compareRecord(const void* key, const void* record)
{
    const int k = *static_cast<const int*>(key);
    const int r = static_cast<const Record*>(record)->key;
    return k < r ? -1 : (k > r ? 1 : 0);
}
}  // namespace

TEST_CASE("record searches find the first matching record")
{
    std::vector<Record> records;
    for (int i = 0; i < 20; ++i)
        records.push_back({i * 10, i});
    records[7].key = records[6].key;  // a duplicate key: the first one is wanted
    records[7].payload = 99;

    struct Case {
        uint32_t count;
        int key;
        int payload;  // -1: no record
    };
    const Case cases[] = {
        {20, 0, 0},    {20, 190, 19}, {20, 100, 10}, {20, 60, 6},  {20, 5, -1},
        {20, 200, -1}, {20, -10, -1}, {8, 60, 6},    {8, 70, -1},  {5, 40, 4},
        {1, 0, 0},     {0, 0, -1},    {9, 80, 8},    {9, 50, 5},
    };
    for (const Case& c : cases) {
        CAPTURE(c.count);
        CAPTURE(c.key);
        for (auto find : {canioFindLinear, canioFindSorted}) {
            const auto* found = static_cast<const Record*>(
                find(records.data(), c.count, sizeof(Record), compareRecord, &c.key));
            if (c.payload < 0) {
                CHECK(found == nullptr);
            } else {
                REQUIRE(found != nullptr);
                CHECK(found->payload == c.payload);
            }
        }
    }
}
