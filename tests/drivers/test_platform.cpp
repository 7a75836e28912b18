// Platform start-up and update on a stand-in board, with the process core's
// double driving the 100 ms tick through the event queue.
#include "platform.h"

#include "doubles/process_core.h"

#include "can_peer.h"
#include "canio.h"
#include "cdebug.h"
#include "comport.h"
#include "datastore.h"
#include "dsnvmem.h"
#include "dsvctrl.h"
#include "eventqueue.h"
#include "filestore.h"
#include "mempool.h"
#include "reglink.h"
#include "standin_serial.h"
#include "sysroot.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <linux/can.h>
#include <poll.h>
#include <sys/socket.h>
#include <cstring>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint32_t kStoreFileSize = 2994;
const char* const kStoreFile = "fdatasto/fdatasto.dat";

// The program's stand-in root and Qt application, shared by every case: the
// logger, the serial reader and the timer threads outlive single cases.
struct Board {
    Board() : rootDir(sysrootDir())
    {
        static int argc = 1;
        static char name[] = "platformtest";
        static char* argv[] = {name, nullptr};
        app = new QCoreApplication(argc, argv);
        // Start-up and update log at the debug level of their categories.
        CDebug& logger = CDebug::getInstance();
        writeTextFile(logger.rulesFilePath(), "[rules]\ncInit.debug=true\ncInitFile.debug=true\n");
        logger.readFilterRules();
    }
    std::string path(const std::string& fixedPath) const { return rootDir + fixedPath; }

    std::string rootDir;
    QCoreApplication* app;
};

Board& board()
{
    static Board* instance = new Board();
    return *instance;
}

std::string commandsLog()
{
    return readTextFile(board().path("/var/log/commands.log"));
}

// A fresh working directory for the store file; on leaving, the channel and
// the file store are closed so that the next start-up opens them again.
class Session {
public:
    Session()
    {
        coreRegister();
        static int count = 0;
        mDir = board().rootDir + "/work" + std::to_string(++count);
        ::mkdir(mDir.c_str(), 0755);
        REQUIRE(::chdir(mDir.c_str()) == 0);
    }
    ~Session()
    {
        platformSetSteps(platformDefaultSteps());
        canioClose(0);
        filestoreDestroy();
        (void)::chdir(board().rootDir.c_str());
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& dir() const { return mDir; }

private:
    std::string mDir;
};

// Standard output while the action runs. Log lines are written by the
// logger's thread: a marker logged after the action is awaited, so that what
// came before it is complete. Checks belong after this returns, or their
// reports would be captured too.
template <typename Action>
std::string outputOf(Action action, const std::string& marker)
{
    StdoutCapture capture(board().path("/tmp/platform.output"));
    action();
    CDEBUG_LOG(CDebugLevel::DEB, "cInit", "%s", marker.c_str());
    const long long end = monotonicMs() + 5000;
    while (capture.peek().find(marker) == std::string::npos && monotonicMs() < end)
        sleepMilliseconds(10);
    return capture.text();
}

bool storeDrained()
{
    return filestoreInstance() != nullptr && filestoreInstance()->waitIdle(5000);
}

// ---- Forced failures ----

enum Fault : unsigned {
    POOL = 1u << 0,
    HEAP = 1u << 1,
    COM_TABLE = 1u << 2,
    COM_PORT0 = 1u << 3,
    COM_PORT2 = 1u << 4,
    FILESTORE = 1u << 5,
    DATASTORE = 1u << 6,
    NV_BACKEND = 1u << 7,
    NVMEM_FAILS = 1u << 8,
    NVMEM_THROWS = 1u << 9,
    CAN_TABLE = 1u << 10,
    CAN_CHANNEL = 1u << 11,
    CAN_DRIVER_CHECK = 1u << 12,
};

unsigned gFailingPorts = 0;

// The catalogue with an item of no size: the datastore refuses it and is left
// without items.
const DsItemDescriptor* itemlessTable()
{
    static DsItemDescriptor table[DS_ITEM_COUNT];
    std::copy(dsCatalogue, dsCatalogue + DS_ITEM_COUNT, table);
    table[0].sizeFunc = [](uint32_t) -> uint32_t { return 0; };
    return table;
}

// Empties the datastore, so that values seen afterwards come from a start-up.
void forgetDatastore()
{
    REQUIRE(datastoreInitWithTable(2, itemlessTable()) != 0);
}

// The real operations, made to fail where the module has a failing input.
PlatformSteps stepsWith(unsigned faults)
{
    PlatformSteps steps = platformDefaultSteps();
    if (faults & POOL)
        steps.poolInit = [](void*, uint32_t, uint32_t) { return memInit(nullptr, 0, 0); };
    if (faults & HEAP)
        steps.heapInit = [](void*, uint32_t, uint32_t) { return heapInit(nullptr, 0, 0); };
    if (faults & COM_TABLE)
        steps.comportInit = []() -> uint32_t { return 0; };
    gFailingPorts = ((faults & COM_PORT0) ? 1u << 0 : 0) | ((faults & COM_PORT2) ? 1u << 2 : 0);
    steps.comportRegister = [](uint32_t port, ComDriver driver, uint16_t rx, uint16_t tx,
                               ComPortHandler* rxHandler, ComPortHandler* txHandler,
                               uint32_t argument) {
        if (gFailingPorts & (1u << port))
            driver = nullptr;
        return comportRegister(port, driver, rx, tx, rxHandler, txHandler, argument);
    };
    if (faults & FILESTORE)
        steps.filestoreCreate = []() -> uint32_t { return 0; };
    if (faults & DATASTORE)
        steps.datastoreInit = [](uint32_t owner) { return datastoreInitWithTable(owner, itemlessTable()); };
    if (faults & NV_BACKEND)
        steps.registerNvBackend = [](uint32_t, DsNvReadFunc read, DsNvWriteFunc write, uint32_t context) {
            return datastoreRegisterNvBackend(DS_NV_BACKEND_COUNT, read, write, context);
        };
    if (faults & NVMEM_FAILS)
        steps.nvmemInit = []() -> uint32_t { return DS_NV_INIT_WRITE_FAILED; };
    if (faults & NVMEM_THROWS)
        steps.nvmemInit = []() -> uint32_t { throw std::runtime_error("store image unreadable"); };
    if (faults & CAN_TABLE)
        steps.canioInit = [](uint16_t) { return canioInit(0); };
    if (faults & CAN_CHANNEL)
        steps.canioInitChannel = [](uint32_t channel, CanDriverEntry, uint32_t handle, uint16_t ringSlots) {
            return canioInitChannel(channel, nullptr, handle, ringSlots);
        };
    if (faults & CAN_DRIVER_CHECK)
        steps.canioGetPollFunction = [](uint32_t, CanPollFunction*) -> uint32_t { return 0; };
    return steps;
}

void otherHandler(uint32_t, uint32_t) {}

bool bufferingHandlerInstalled()
{
    return CEventQueue::instance().handler() == eventBufferHandler;
}

bool channelZeroUp()
{
    CanPollFunction poll = nullptr;
    return canioGetPollFunction(0, &poll) != 0;
}

// A persistent item survives in the store file after one update.
bool itemReachesStoreFile(uint16_t value)
{
    if (datastoreSetUint16(DS_REG_SETTING_42, value) != DS_OK || datastoreGetUint16(DS_REG_SETTING_42) != value)
        return false;
    platformUpdate();
    if (!storeDrained())
        return false;
    const std::string image = readTextFile(kStoreFile);
    const size_t at = FILESTORE_HEADER_SIZE + datastoreNvOffset(DS_REG_SETTING_42);
    if (image.size() < at + 2)
        return false;
    uint16_t stored;
    std::memcpy(&stored, image.data() + at, sizeof stored);
    return stored == value;
}

// ---- Scripted clock of the update ----

std::vector<uint32_t> gReadings;
size_t gNextReading = 0;

uint32_t scriptedClock()
{
    const uint32_t reading = gReadings[std::min(gNextReading, gReadings.size() - 1)];
    ++gNextReading;
    return reading;
}

void useReadings(std::vector<uint32_t> readings)
{
    gReadings = std::move(readings);
    gNextReading = 0;
    PlatformSteps steps = platformDefaultSteps();
    steps.clockGetMs = scriptedClock;
    platformSetSteps(steps);
}

}  // namespace

TEST_CASE("a fresh stand-in board starts without error and lays down the store file")
{
    Board& b = board();
    Session session;
    const std::string commandsBefore = commandsLog();
    eventSetCallback(otherHandler);

    uint32_t result = 0;
    const std::string output = outputOf([&] { result = platformInit(); }, "fresh board started");
    platformUpdate();
    platformUpdate();
    const bool drained = storeDrained();

    CHECK(result == NO_PLATFORM_ERROR);
    const size_t started = output.find("Started");
    const size_t ended = output.find("End");
    CHECK(started != std::string::npos);
    CHECK(ended != std::string::npos);
    CHECK(started < ended);
    CHECK(output.find("failed to open COM3") == std::string::npos);

    const std::string commands = commandsLog().substr(commandsBefore.size());
    CHECK(commands.find("ifconfig can0 up\n") != std::string::npos);
    CHECK(commands.find("/bin/stty -F " + b.path("/dev/ttyO2") + " 9600 cs8 -cstopb -parenb") !=
          std::string::npos);

    CHECK(channelZeroUp());
    CHECK(bufferingHandlerInstalled());
    void* block = heapAlloc(64);
    CHECK(heapContains(block));
    heapFree(block);

    REQUIRE(drained);
    CHECK(pathFileSize(kStoreFile) == kStoreFileSize);
    CHECK(readTextFile(kStoreFile).substr(0, FILESTORE_HEADER_SIZE) == std::string(FILESTORE_HEADER_SIZE, '\0'));
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == DSVCTRL_VERSION);
}

TEST_CASE("forced step failures report the last failing step and every unguarded step still runs")
{
    struct Case {
        const char* name;
        unsigned faults;
        uint32_t expected;
        bool datastoreUsable;
        bool channelUp;
    };
    const Case cases[] = {
        {"none", 0, NO_PLATFORM_ERROR, true, true},
        {"pool 1", POOL, PLATFORM_ERROR_MEMORY_POOL, true, true},
        {"pool 2", HEAP, PLATFORM_ERROR_MEMORY_POOL, true, true},
        {"serial table", COM_TABLE, PLATFORM_ERROR_COM_TABLE, true, true},
        {"serial port 0", COM_PORT0, PLATFORM_ERROR_COM_PORT0, true, true},
        {"serial port 2", COM_PORT2, PLATFORM_ERROR_COM_PORT2, true, true},
        {"file store", FILESTORE, PLATFORM_ERROR_FILESTORE, true, true},
        {"datastore", DATASTORE, PLATFORM_ERROR_DATASTORE, false, true},
        {"store backend", NV_BACKEND, PLATFORM_ERROR_NV_BACKEND, true, true},
        {"store image", NVMEM_FAILS, PLATFORM_ERROR_NVMEM, true, true},
        {"CAN table", CAN_TABLE, PLATFORM_ERROR_CAN_TABLE, true, false},
        {"CAN channel", CAN_CHANNEL, PLATFORM_ERROR_CAN_CHANNEL, true, false},
        {"CAN driver check", CAN_DRIVER_CHECK, PLATFORM_ERROR_CAN_CHANNEL, true, true},
        {"pool then CAN table", POOL | CAN_TABLE, PLATFORM_ERROR_CAN_TABLE, true, false},
        {"serial port 2 then store image", COM_PORT2 | NVMEM_FAILS, PLATFORM_ERROR_NVMEM, true, true},
        {"serial table then datastore", COM_TABLE | DATASTORE, PLATFORM_ERROR_DATASTORE, false, true},
        {"file store then CAN driver check", FILESTORE | CAN_DRIVER_CHECK, PLATFORM_ERROR_CAN_CHANNEL, true, true},
        {"pool then serial port 0", POOL | COM_PORT0, PLATFORM_ERROR_MEMORY_POOL, true, true},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        Session session;
        forgetDatastore();
        eventSetCallback(otherHandler);
        platformSetSteps(stepsWith(c.faults));

        uint32_t result = 0;
        const std::string output = outputOf([&] { result = platformInit(); }, std::string("case ") + c.name);

        CHECK(result == c.expected);
        CHECK(bufferingHandlerInstalled());
        CHECK(channelZeroUp() == c.channelUp);
        CHECK((output.find("failed to open COM3") != std::string::npos) == ((c.faults & COM_PORT2) != 0));
        CHECK(output.find("End") != std::string::npos);
        // The tick's update runs on whatever the start-up left.
        platformUpdate();
        platformUpdate();
        const bool usable = datastoreSetUint16(DS_REG_SETTING_42, 77) == DS_OK &&
                            datastoreGetUint16(DS_REG_SETTING_42) == 77;
        CHECK(usable == c.datastoreUsable);
    }
}

TEST_CASE("a failed serial port leaves the parameter store loaded and written behind")
{
    struct Case {
        const char* name;
        unsigned faults;
        uint32_t expected;
    };
    const Case cases[] = {
        {"serial table", COM_TABLE, PLATFORM_ERROR_COM_TABLE},
        {"serial port 0", COM_PORT0, PLATFORM_ERROR_COM_PORT0},
        {"serial port 2", COM_PORT2, PLATFORM_ERROR_COM_PORT2},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        Session session;
        {
            // An earlier run left a store with the item at 123.
            REQUIRE(platformInit() == NO_PLATFORM_ERROR);
            platformUpdate();  // the version items, written on the next update
            REQUIRE(itemReachesStoreFile(123));
            canioClose(0);
            filestoreDestroy();
            forgetDatastore();
        }
        platformSetSteps(stepsWith(c.faults));
        CHECK(platformInit() == c.expected);
        CHECK(datastoreIsFirstRun() == 0);
        CHECK(datastoreGetUint16(DS_REG_SETTING_42) == 123);
        CHECK(itemReachesStoreFile(45));
        CHECK(pathFileSize(kStoreFile) == kStoreFileSize);
    }
}

TEST_CASE("a store load that raises an error is logged and restarts the store as on its first run")
{
    Session session;
    {
        REQUIRE(platformInit() == NO_PLATFORM_ERROR);
        platformUpdate();
        REQUIRE(itemReachesStoreFile(150));
        canioClose(0);
        filestoreDestroy();
        forgetDatastore();
    }
    platformSetSteps(stepsWith(NVMEM_THROWS));
    uint32_t result = 0;
    const std::string output = outputOf([&] { result = platformInit(); }, "raising load started");

    CHECK(result == NO_PLATFORM_ERROR);
    CHECK(output.find("something is wrong with the memory, reset the whole datastore!") != std::string::npos);
    CHECK(datastoreIsFirstRun() != 0);
    CHECK(output.find("End") != std::string::npos);
    CHECK(channelZeroUp());
}

TEST_CASE("an update taking more than 20 ms logs its step timings")
{
    struct Case {
        const char* name;
        bool firstUpdate;  // the version items are still to be recorded
        std::vector<uint32_t> readings;
        const char* line;  // nullptr: nothing logged
    };
    const Case cases[] = {
        {"20 ms", false, {1000, 1005, 1011, 1018, 1020}, nullptr},
        {"21 ms", false, {1000, 1005, 1011, 1018, 1021}, "2,1000,5,6,7,0,3"},
        {"long refresh", false, {7, 40, 40, 40, 40}, "2,7,33,0,0,0,0"},
        {"20 ms with version record", true, {500, 501, 502, 503, 510, 520}, nullptr},
        {"21 ms with version record", true, {500, 501, 502, 503, 510, 521}, "2,500,1,1,1,7,11"},
        {"clock wrapping", false, {0xFFFFFFF0u, 0xFFFFFFF5u, 0xFFFFFFFAu, 0xFFFFFFFFu, 5}, "2,4294967280,5,5,5,0,6"},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        Session session;
        REQUIRE(platformInit() == NO_PLATFORM_ERROR);
        if (!c.firstUpdate)
            platformUpdate();
        useReadings(c.readings);
        const std::string output = outputOf([] { platformUpdate(); }, std::string("timing ") + c.name);
        const size_t used = gNextReading;

        CHECK(used == c.readings.size());
        const std::string lineStart = "platformUpdate() - 2,";
        const size_t timing = output.find(lineStart);
        if (c.line == nullptr) {
            CHECK(timing == std::string::npos);
        } else {
            CHECK(output.find(std::string("platformUpdate() - ") + c.line + "\n") != std::string::npos);
            CHECK(output.find(lineStart, timing + 1) == std::string::npos);
        }
    }
}

namespace {
// Writes the version item into the store file and starts the platform again on it.
void restartWithStoredVersion(uint16_t version)
{
    REQUIRE(datastoreSetUint16(DS_STORE_VERSION, version) == DS_OK);
    platformUpdate();
    REQUIRE(storeDrained());
    canioClose(0);
    filestoreDestroy();
    forgetDatastore();
    coreTakeCounterSetups();
    REQUIRE(platformInit() == NO_PLATFORM_ERROR);
    REQUIRE(datastoreIsFirstRun() == 0);
}
}  // namespace

TEST_CASE("after a migration the version items are written on the first update only")
{
    Session session;
    REQUIRE(platformInit() == NO_PLATFORM_ERROR);
    CHECK(datastoreGetUint16(DS_STORE_VERSION) != DSVCTRL_VERSION);
    platformUpdate();
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == DSVCTRL_VERSION);
    CHECK(datastoreGetUint16(DS_STORE_REVISION) == DSVCTRL_REVISION);

    // A store of an older layout: migrated at start-up (the migration sets up
    // the core's counters 4 and 6), the new version recorded by the first update.
    restartWithStoredVersion(11);
    CHECK(coreTakeCounterSetups() == std::vector<uint32_t>{4, 6});
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == 11);
    platformUpdate();
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == DSVCTRL_VERSION);
    REQUIRE(datastoreSetUint16(DS_STORE_VERSION, 3) == DS_OK);
    platformUpdate();
    platformUpdate();
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == 3);

    // A store of the current layout: nothing migrated, nothing recorded.
    restartWithStoredVersion(DSVCTRL_VERSION);
    CHECK(coreTakeCounterSetups().empty());
    REQUIRE(datastoreSetUint16(DS_STORE_VERSION, 4) == DS_OK);
    platformUpdate();
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == 4);
}

namespace {
uint32_t gTicksWanted = 0;
QEventLoop* gLoop = nullptr;

void quitAfterTicks(uint32_t id, uint32_t)
{
    if (id == 5 && coreEventCount(5) >= gTicksWanted && gLoop != nullptr)
        gLoop->quit();
}

// Runs the main thread's event loop until the core has seen `ticks` more 100 ms
// ticks; false when they did not come within the time limit.
bool runTicks(uint32_t ticks)
{
    gTicksWanted = coreEventCount(5) + ticks;
    QEventLoop loop;
    gLoop = &loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(static_cast<int>(ticks * 100 + 3000));
    coreSetEventObserver(quitAfterTicks);
    loop.exec();
    coreSetEventObserver(nullptr);
    gLoop = nullptr;
    return coreEventCount(5) >= gTicksWanted;
}

std::string readAvailable(int fd, size_t wanted, int timeoutMs)
{
    std::string bytes;
    const long long end = monotonicMs() + timeoutMs;
    while (bytes.size() < wanted && monotonicMs() < end) {
        struct pollfd watch = {fd, POLLIN, 0};
        if (::poll(&watch, 1, 20) <= 0)
            continue;
        char chunk[64];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0)
            bytes.append(chunk, static_cast<size_t>(got));
    }
    return bytes;
}
}  // namespace

TEST_CASE("the whole platform runs on the stand-in board under the core's 100 ms tick")
{
    Board& b = board();
    StandinSerial serial;
    REQUIRE(serial.create(b.rootDir));
    CanPeer peer("can0");
    REQUIRE(peer.isOpen());
    Session session;

    REQUIRE(platformInit() == NO_PLATFORM_ERROR);
    // Posted before the core's handler exists: kept and replayed to it.
    eventPost(2, 777, 9);
    coreTakeEvents();
    coreResetCounts();
    coreStart();

    REQUIRE(runTicks(3));
    const auto events = coreTakeEvents();
    REQUIRE(!events.empty());
    size_t early = events.size();
    size_t firstTick = events.size();
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i] == std::make_pair(777u, 9u) && early == events.size())
            early = i;
        if (events[i].first == 5 && firstTick == events.size())
            firstTick = i;
    }
    CHECK(early < firstTick);

    // First updates: the version items recorded and the whole image written.
    CHECK(datastoreGetUint16(DS_STORE_VERSION) == DSVCTRL_VERSION);
    REQUIRE(storeDrained());
    CHECK(pathFileSize(kStoreFile) == kStoreFileSize);

    // A changed calibration goes to the core's hook at once and reaches the
    // file on the next tick.
    coreTakeHookCalls();
    REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 250000) == DS_OK);
    const auto hooks = coreTakeHookCalls();
    REQUIRE(hooks.size() == 1);
    CHECK(hooks[0].hook == "pulsupdtNewFlowCal");
    CHECK(hooks[0].id == DS_FLOW_CAL_NUMBER);
    REQUIRE(runTicks(1));
    REQUIRE(storeDrained());
    const std::string image = readTextFile(kStoreFile);
    uint32_t stored = 0;
    std::memcpy(&stored, image.data() + FILESTORE_HEADER_SIZE + datastoreNvOffset(DS_FLOW_CAL_NUMBER), 4);
    CHECK(stored == 250000);

    // Port 2 is the stand-in ttyO2: a read request of the register link, sent
    // by the far end, is answered on the ticks.
    const uint8_t request[] = {REGLINK_ID_VERSION & 0xFF, REGLINK_ID_VERSION >> 8, 0, REGLINK_ID_VERSION & 0xFF};
    REQUIRE(::write(serial.master(2), request, sizeof request) == static_cast<ssize_t>(sizeof request));
    REQUIRE(runTicks(3));
    const std::string reply = readAvailable(serial.master(2), 2, 2000);
    REQUIRE(reply.size() >= 2);
    CHECK(static_cast<uint8_t>(reply[0]) == REGLINK_ACCEPTED);

    // Channel 0 is on the stand-in can0.
    CanFrame out{0x18EFC0B4, 1, 2, {0x12, 0x34}};
    REQUIRE(canioTransmitFrame(0, &out) != 0);
    struct can_frame seen = {};
    REQUIRE(peer.receive(seen, 2000));
    CHECK(seen.can_id == (0x18EFC0B4u | CAN_EFF_FLAG));
    CHECK(seen.can_dlc == 2);
    CHECK(seen.data[0] == 0x12);
    CHECK(seen.data[1] == 0x34);
    struct can_frame unit = {};
    unit.can_id = 0x18EFFFC0u | CAN_EFF_FLAG;
    unit.can_dlc = 1;
    unit.data[0] = 0xAB;
    REQUIRE(peer.send(unit));
    CanFrame in{};
    REQUIRE(canioReceiveFrame(0, &in) != 0);
    CHECK(in.id == 0x18EFFFC0);
    CHECK(in.extended != 0);
    CHECK(in.dlc == 1);
    CHECK(in.data[0] == 0xAB);

    coreStop();
    eventSetCallback(otherHandler);
}
