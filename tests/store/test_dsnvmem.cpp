// Persistence of the items over a backend held in memory: load, initialisation,
// write-behind and its failures.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "clock.h"
#include "datastore.h"
#include "doubles/store_doubles.h"
#include "dsnvmem.h"
#include "store_env.h"
#include "pulsinput.h"

namespace {

const std::string& workDir = storeTestWorkDir();

struct Write {
    uint32_t id;
    uint32_t offset;
    std::vector<uint8_t> bytes;
};

// A backend of 2974 bytes whose reads and writes can be made to fail per item.
struct MemoryBackend {
    std::vector<uint8_t> image = std::vector<uint8_t>(2974, 0);
    std::vector<Write> writes;
    std::set<uint32_t> failingReads;
    std::set<uint32_t> failingWrites;
    uint32_t context = 0;
};

MemoryBackend backend;

uint32_t memoryRead(uint32_t context, uint32_t id, uint32_t offset, uint32_t size, void* buffer)
{
    backend.context = context;
    if (backend.failingReads.count(id) != 0 || offset + size > backend.image.size())
        return 0;
    std::memcpy(buffer, backend.image.data() + offset, size);
    return 1;
}

uint32_t memoryWrite(uint32_t, uint32_t id, uint32_t offset, uint32_t size, const void* buffer)
{
    if (backend.failingWrites.count(id) != 0)
        return 0;
    const uint8_t* bytes = static_cast<const uint8_t*>(buffer);
    backend.writes.push_back(Write{id, offset, std::vector<uint8_t>(bytes, bytes + size)});
    std::memcpy(backend.image.data() + offset, buffer, size);
    return 1;
}

void putImage(uint32_t id, const void* value)
{
    std::memcpy(backend.image.data() + datastoreNvOffset(id), value, datastoreGetSize(id));
}

template <typename T>
void putImageValue(uint32_t id, T value)
{
    putImage(id, &value);
}

// A new start over the current backend contents.
uint32_t restart()
{
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(datastoreRegisterNvBackend(1, memoryRead, memoryWrite, 77) == 1);
    backend.writes.clear();
    takePostedEvents();
    return datastoreNvmemInit();
}

std::set<uint32_t> writtenIds()
{
    std::set<uint32_t> ids;
    for (const Write& w : backend.writes)
        ids.insert(w.id);
    return ids;
}

void resetBackend()
{
    backend = MemoryBackend{};
    pulsInit();
}

} // namespace

TEST_CASE("a store without marker is initialised and every persistent item written")
{
    resetBackend();
    pulsSetCounterMode(14, 6, 5);
    CHECK(restart() == DS_NV_INITIALISED);
    CHECK(datastoreIsFirstRun() == 1);
    const std::set<uint32_t> ids = writtenIds();
    CHECK(ids.size() == 223);
    CHECK(ids.count(0) == 0);
    CHECK(ids.count(1) == 1);
    CHECK(ids.count(223) == 1);
    CHECK(ids.count(224) == 0);
    for (const Write& w : backend.writes) {
        if (w.id == 78) {
            uint32_t words[3];
            std::memcpy(words, w.bytes.data(), sizeof words);
            CHECK(words[0] == 5); // the refreshed record, not zeros
            CHECK(words[1] == 6);
        }
    }
    CHECK(backend.context == 77);

    SUBCASE("the first tick writes the marker to the store and to the item")
    {
        backend.writes.clear();
        datastoreRefreshDue();
        uint32_t marker = 0;
        std::memcpy(&marker, backend.image.data(), 4);
        CHECK(marker == DS_NV_INIT_MARKER);
        CHECK(datastoreGetUint32(0) == DS_NV_INIT_MARKER);
        CHECK(restart() == DS_NV_LOADED);
        CHECK(datastoreIsFirstRun() == 0);
    }
    SUBCASE("a failed write makes the initialisation report 9")
    {
        backend.failingWrites.insert(120);
        CHECK(restart() == DS_NV_INIT_WRITE_FAILED);
        CHECK(datastoreIsFirstRun() == 1);
    }
}

TEST_CASE("a marked image is loaded, records handed back, values pulled into range")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    putImageValue<uint16_t>(34, 4321);
    putImageValue<uint32_t>(134, 700000);
    putImageValue<uint16_t>(32, 150); // outside 1..99
    // Records as the pulse-input module reports them, then a fresh module.
    pulsSetCounterMode(14, 8, 0);
    pulsSetCounterUnits(1, 55);
    uint32_t trip[3] = {};
    pulsDsGetTrip(14, trip);
    uint32_t config[12] = {};
    pulsDsGetCounterConfig(1, config);
    putImage(78, trip);
    putImage(92, config);
    pulsInit();
    uint8_t path[49] = {'a', 'b'};
    putImage(1, path);

    CHECK(restart() == DS_NV_LOADED);
    CHECK(datastoreIsFirstRun() == 0);
    CHECK(datastoreGetUint16(34) == 4321);
    CHECK(datastoreGetUint32(134) == 700000);
    uint8_t loadedPath[49] = {};
    datastoreGetData(1, loadedPath);
    CHECK(std::memcmp(loadedPath, path, sizeof path) == 0);

    uint16_t stored = 0;
    datastoreCopyValue(32, &stored);
    CHECK(stored == 99);
    CHECK(datastoreIsDirty(32));
    // Items left at zero below their minimum are pulled up too (69 and 124 post events).
    const auto events = takePostedEvents();
    CHECK(events.size() == 3);
    CHECK(std::count(events.begin(), events.end(), std::make_pair(151u, 32u)) == 1);
    CHECK(std::count(events.begin(), events.end(), std::make_pair(203u, 69u)) == 1);
    CHECK(datastoreGetUint8(124) == 40);

    // The pulse-input module took the stored records.
    uint32_t tripNow[3] = {};
    pulsDsGetTrip(14, tripNow);
    CHECK(tripNow[0] == trip[0]);
    CHECK(tripNow[1] == trip[1]);
    CHECK(tripNow[2] == trip[2]);
    CHECK(tripNow[1] >= 8);
    uint32_t configNow[12] = {};
    pulsDsGetCounterConfig(1, configNow);
    CHECK(std::memcmp(configNow, config, sizeof config) == 0);
    CHECK(configNow[10] == 55);
    CHECK(backend.writes.empty());
}

TEST_CASE("an image with extreme counter and trip values loads and counts on without overflow")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    const int32_t high[3] = {INT32_MAX, INT32_MAX, 1};
    const int32_t low[3] = {INT32_MIN, INT32_MIN, 1};
    putImage(84, high); // trip 5, adding, on counter 5
    putImage(87, low);  // trip 8, subtracting, on counter 5
    putImage(85, low);  // trip 6, adding, on counter 5
    // Counter 5 counts 0xFFFFFFFF per pulse in units of 1000, its remainder at the end of its range.
    const uint32_t counter[12] = {0, 100, 8000, 0xFFFFFFFFu, 0, 0, 0, 1000, 1000, 0, 1000, 0xFFFFFFFFu};
    putImage(96, counter);
    for (uint32_t id = 88; id <= 91; ++id) {
        const int32_t mixed[3] = {INT32_MIN, INT32_MAX, -1};
        putImage(id, mixed);
    }
    CHECK(restart() == DS_NV_LOADED);

    REQUIRE(pulsSetInputMode(1, 1) == 0);
    for (int round = 0; round < 3; ++round) {
        REQUIRE(pulsSetExternalPulsCountNew(1, 0x7FFFFFFF, 100) == 0);
        clockAdvanceMs(150);
        pulsUpdateCounter(0);
        UpdateTripCounter(0);
        datastoreRefreshItems(10000);
    }
    uint32_t remainder = 0;
    pulsGetCounterRemainder(5, &remainder, nullptr);
    CHECK(remainder < 1000);
    int32_t units = 0;
    int32_t tripRemainder = 0;
    REQUIRE(pulsGetTripValue(5, 1, &units) == 0);
    REQUIRE(pulsGetTripValue(5, 0, &tripRemainder) == 0);
    CHECK(units == INT32_MAX);
    CHECK(tripRemainder >= 0);
    CHECK(tripRemainder < 1000);
    REQUIRE(pulsGetTripValue(8, 1, &units) == 0);
    REQUIRE(pulsGetTripValue(8, 0, &tripRemainder) == 0);
    CHECK(units == INT32_MIN);
    CHECK(tripRemainder > -1000);
    CHECK(tripRemainder < 1000);
}

TEST_CASE("an item whose read fails keeps its own zero value")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    putImageValue<uint16_t>(33, 17);
    putImageValue<uint16_t>(34, 4321);
    backend.failingReads.insert(34);
    CHECK(restart() == DS_NV_LOADED);
    CHECK(datastoreGetUint16(33) == 17);
    uint16_t value = 1;
    datastoreCopyValue(34, &value);
    CHECK(value == 0);
}

TEST_CASE("an item whose read fails is written back with the value in use")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    putImageValue<uint16_t>(33, 17);
    putImageValue<uint16_t>(34, 4321);
    backend.failingReads.insert(34);
    CHECK(restart() == DS_NV_LOADED);
    CHECK(datastoreIsDirty(34));
    CHECK_FALSE(datastoreIsDirty(33));
    CHECK(datastoreNvWriteDirty(0) == 0);
    const std::set<uint32_t> written = writtenIds();
    CHECK(written.count(34) == 1);
    CHECK(written.count(33) == 0);
    uint16_t inStore = 1;
    std::memcpy(&inStore, backend.image.data() + datastoreNvOffset(34), sizeof inStore);
    CHECK(inStore == datastoreGetUint16(34));
}

TEST_CASE("write-behind")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    REQUIRE(restart() == DS_NV_LOADED);
    datastoreRefreshDue(); // first tick of a loaded image: nothing changes
    datastoreNvWriteDirty(0); // the items the range pass pulled up
    backend.writes.clear();

    SUBCASE("each changed persistent item is written once with its last value")
    {
        datastoreSetUint16(34, 100);
        datastoreSetUint16(34, 200);
        datastoreSetUint32(134, 800000);
        datastoreSetUint16(250, 5); // RAM item
        CHECK(datastoreNvWriteDirty(1) == 0);
        REQUIRE(backend.writes.size() == 2);
        CHECK(backend.writes[0].id == 34);
        CHECK(backend.writes[0].offset == 159);
        CHECK(backend.writes[0].bytes == std::vector<uint8_t>{200, 0});
        CHECK(backend.writes[1].id == 134);
        backend.writes.clear();
        CHECK(datastoreNvWriteDirty(1) == 0);
        CHECK(backend.writes.empty());
    }
    SUBCASE("items left dirty by a failed pass are written by the next pass")
    {
        datastoreSetUint16(33, 3);
        datastoreSetUint16(34, 4);
        datastoreSetUint16(35, 5);
        backend.failingWrites.insert(34);
        CHECK(datastoreNvWriteDirty(1) == 1);
        CHECK(writtenIds() == std::set<uint32_t>{33});
        CHECK(datastoreIsDirty(34));
        CHECK(datastoreIsDirty(35));
        backend.failingWrites.clear();
        backend.writes.clear();
        CHECK(datastoreNvWriteDirty(1) == 0);
        CHECK(writtenIds() == std::set<uint32_t>{34, 35});
        CHECK_FALSE(datastoreIsDirty(34));
    }
    SUBCASE("without stop at the first failure every other item is written")
    {
        datastoreSetUint16(33, 3);
        datastoreSetUint16(34, 4);
        datastoreSetUint16(35, 5);
        backend.failingWrites.insert(33);
        backend.failingWrites.insert(35);
        CHECK(datastoreNvWriteDirty(0) == 2);
        CHECK(writtenIds() == std::set<uint32_t>{34});
        backend.failingWrites.clear();
        backend.writes.clear();
        datastoreSetUint16(300, 1); // a later change elsewhere
        CHECK(datastoreNvWriteDirty(1) == 0);
        CHECK(writtenIds() == std::set<uint32_t>{33, 35});
    }
    SUBCASE("marking all dirty rewrites the whole image")
    {
        datastoreNvMarkAllDirty(1);
        CHECK(datastoreNvWriteDirty(0) == 0);
        CHECK(backend.writes.size() == 224);
        uint32_t bytes = 0;
        for (const Write& w : backend.writes)
            bytes += static_cast<uint32_t>(w.bytes.size());
        CHECK(bytes == 2974);
    }
}

TEST_CASE("invalidating the image touches the store only")
{
    resetBackend();
    putImageValue<uint32_t>(0, DS_NV_INIT_MARKER);
    REQUIRE(restart() == DS_NV_LOADED);
    datastoreSetRunningForTheVeryFirstTimeTrue();
    CHECK(datastoreIsFirstRun() == 1);
    uint32_t marker = 0;
    std::memcpy(&marker, backend.image.data(), 4);
    CHECK(marker == DS_NV_INVALID_MARKER);
    CHECK(datastoreGetUint32(0) == DS_NV_INIT_MARKER);
    CHECK(restart() == DS_NV_INITIALISED);
}

TEST_CASE("backend calls are refused for bad ids, sizes and registrations")
{
    resetBackend();
    REQUIRE(datastoreInit(2) == 0);
    uint8_t buffer[8] = {};
    CHECK(datastoreNvWrite(34, buffer, 2) == 0); // nothing registered
    CHECK(datastoreRegisterNvBackend(2, memoryRead, memoryWrite, 0) == 0);
    REQUIRE(datastoreRegisterNvBackend(1, memoryRead, memoryWrite, 0) == 1);
    CHECK(datastoreNvWrite(34, buffer, 2) == 1);
    CHECK(datastoreNvWrite(34, buffer, 4) == 0);
    CHECK(datastoreNvRead(34, buffer, 1) == 0);
    CHECK(datastoreNvWrite(329, buffer, 2) == 0);
    CHECK(datastoreNvRead(0xFFFFFFFFu, buffer, 2) == 0);
    CHECK(datastoreNvRead(34, buffer, 2) == 1);
}
