// The store from start-up over updates to restarts, on its file: layout of a
// new file, write-behind of a set, restore after restart, migration and a
// broken image.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "datastore.h"
#include "doubles/store_doubles.h"
#include "dsnvmem.h"
#include "dsvcappl.h"
#include "dsvctrl.h"
#include "store_env.h"
#include "pulsinput.h"

namespace {

const std::string& workDir = storeTestWorkDir();

constexpr uint32_t fileHeader = 20;

std::string fileBytes(uint32_t id)
{
    const std::string file = readTextFile(storeFilePath);
    const uint32_t at = fileHeader + datastoreNvOffset(id);
    return file.size() >= at + datastoreGetSize(id) ? file.substr(at, datastoreGetSize(id)) : std::string();
}

std::string le16(uint16_t v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

// A new console: no store file at all.
void startEmpty()
{
    pulsInit();
    filestoreDestroy();
    unlink(storeFilePath.c_str());
    takeCounterSetups();
}

void settle()
{
    storeUpdate();
    storeUpdate();
    REQUIRE(storeDrain());
}

} // namespace

TEST_CASE("a new store file holds header, marker, path and version after two updates")
{
    startEmpty();
    const StoreStart start = storeStart();
    CHECK(start.nvResult == DS_NV_INITIALISED);
    CHECK(start.versionResult == 1);
    CHECK(datastoreIsFirstRun() == 1);
    settle();
    const std::string file = readTextFile(storeFilePath);
    REQUIRE(file.size() == 2994);
    CHECK(file.substr(0, 20) == std::string(20, '\0'));
    CHECK(file.substr(20, 4) == std::string("\xB2\xA5\x00\x00", 4));
    std::string path = "oem/vk_tech/kestrom/appl/sprayer/generic/rev1";
    path.resize(49, '\0');
    CHECK(file.substr(24, 49) == path);
    CHECK(file.substr(73, 2) == le16(14));
    CHECK(file.substr(75, 2) == le16(5));
}

TEST_CASE("a set item reaches the file at its offset; setting it again writes nothing")
{
    startEmpty();
    storeStart();
    settle();
    takePostedEvents();
    CHECK(datastoreSetUint16(32, 12) == DS_OK);
    auto events = takePostedEvents();
    REQUIRE(events.size() == 1);
    CHECK(events[0] == std::make_pair(151u, 32u));
    storeUpdate();
    REQUIRE(storeDrain());
    CHECK(fileBytes(32) == le16(12));
    CHECK(readTextFile(storeFilePath).substr(20 + 155, 2) == std::string("\x0C\x00", 2));

    const uint32_t accepted = filestoreInstance()->acceptedWrites();
    CHECK(datastoreSetUint16(32, 12) == DS_OK);
    events = takePostedEvents();
    REQUIRE(events.size() == 1);
    CHECK(events[0] == std::make_pair(151u, 32u));
    storeUpdate();
    REQUIRE(storeDrain());
    CHECK(filestoreInstance()->acceptedWrites() == accepted);
}

TEST_CASE("after a restart every persistent value is back")
{
    startEmpty();
    storeStart();
    settle();
    // A distinct in-range value for every settable persistent item.
    std::map<uint32_t, std::vector<uint8_t>> expected;
    for (uint32_t id = 4; id <= 223; ++id) {
        const DsItemDescriptor& d = dsCatalogue[id];
        if (d.notPersistent != 0 || d.readOnly != 0)
            continue;
        std::vector<uint8_t> value(datastoreGetSize(id));
        for (size_t i = 0; i < value.size(); ++i)
            value[i] = static_cast<uint8_t>(id + i);
        if (d.type == DS_TYPE_BOOL) {
            value.assign(4, 0);
            value[0] = id & 1;
        } else if (d.type != DS_TYPE_BLOCK) {
            uint32_t candidate = d.minimum == 0.0f && d.maximum == 0.0f ? id * 3 + 1 : static_cast<uint32_t>(d.minimum) + id % 3;
            std::memcpy(value.data(), &candidate, value.size());
        }
        REQUIRE(datastoreSetData(id, value.data()) == DS_OK);
        expected[id] = value;
    }
    pulsSetCounterMode(14, 2, 0);
    pulsSetCounterUnits(3, 1234);
    pulsSetCounterAux(3, 56);
    datastoreRefreshItems(10000);
    storeUpdate();
    REQUIRE(storeDrain());

    pulsInit(); // a new process
    const StoreStart start = storeStart();
    CHECK(start.nvResult == DS_NV_LOADED);
    CHECK(start.versionResult == 0);
    CHECK(datastoreIsFirstRun() == 0);
    for (const auto& entry : expected) {
        CAPTURE(entry.first);
        std::vector<uint8_t> value(entry.second.size());
        datastoreCopyValue(entry.first, value.data());
        CHECK(value == entry.second);
    }
    int32_t remainder = 0, units = 0;
    pulsGetTripValue(14, 0, &remainder);
    pulsGetTripValue(14, 1, &units);
    CHECK(remainder == 0);
    CHECK(units == 2);
    uint32_t counterUnits = 0, counterRemainder = 0;
    float asFloat = 0;
    pulsGetCounterParam(3, &counterUnits);
    pulsGetCounterRemainder(3, &counterRemainder, &asFloat);
    CHECK(counterUnits == 1234);
    CHECK(counterRemainder == 56);
}

TEST_CASE("an item cut off a short store file is written back with the value in use")
{
    startEmpty();
    storeStart();
    settle();
    REQUIRE(datastoreSetUint16(135, 0xABCD) == DS_OK);
    REQUIRE(datastoreSetUint32(212, 20000) == DS_OK);
    settle();
    REQUIRE(fileBytes(135) == le16(0xABCD));
    // A crash while the file was extended: it ends inside item 135.
    REQUIRE(truncate(storeFilePath.c_str(), fileHeader + datastoreNvOffset(135) + 1) == 0);

    pulsInit();
    CHECK(storeStart().nvResult == DS_NV_LOADED);
    const uint16_t inUse = datastoreGetUint16(135);
    REQUIRE(datastoreSetUint32(212, 30000) == DS_OK);
    settle();
    CHECK(fileBytes(135) == le16(inUse));

    pulsInit();
    CHECK(storeStart().nvResult == DS_NV_LOADED);
    CHECK(datastoreGetUint16(135) == inUse);
    CHECK(datastoreGetUint32(212) == 30000);
}

TEST_CASE("an image of layout 13 is migrated")
{
    startEmpty();
    storeStart();
    settle();
    REQUIRE(datastoreSetUint16(2, 13) == DS_OK);
    REQUIRE(datastoreSetUint16(222, 77) == DS_OK);
    REQUIRE(datastoreSetUint16(34, 1234) == DS_OK);
    storeUpdate();
    REQUIRE(storeDrain());

    OutputCapture output;
    const StoreStart start = storeStart();
    CHECK(start.nvResult == DS_NV_LOADED);
    CHECK(start.versionResult == 1);
    CHECK(output.waitFor("PrevVer: 13, CurVer: 14, InitAll: No"));
    CHECK(datastoreIsFirstRun() == 0);
    CHECK(takeCounterSetups().empty());
    for (uint32_t map = 0; map < 4; ++map) {
        uint32_t words[13];
        datastoreGetData(218 + map, words);
        CHECK(std::memcmp(words, dsvcapplSectionMaps[map], sizeof words) == 0);
    }
    CHECK(datastoreGetUint16(222) == 0);
    CHECK(datastoreGetUint16(34) == 1234);
    CHECK(datastoreGetUint16(2) == 13);
    storeUpdate();
    CHECK(datastoreGetUint16(2) == 14);
    CHECK(datastoreGetUint16(3) == 5);
    storeUpdate();
    REQUIRE(storeDrain());
    CHECK(fileBytes(2) == le16(14));
    CHECK(fileBytes(3) == le16(5));
    CHECK(fileBytes(218).substr(0, 8) == std::string("\x01\x00\x00\x00\x02\x00\x00\x00", 8));
}

TEST_CASE("a wrong marker initialises every persistent item")
{
    startEmpty();
    storeStart();
    settle();
    REQUIRE(datastoreSetUint16(34, 1234) == DS_OK);
    storeUpdate();
    REQUIRE(storeDrain());
    std::string file = readTextFile(storeFilePath);
    file[20] = '\x00';
    file[21] = '\x11';
    REQUIRE(writeTextFile(storeFilePath, file));

    OutputCapture output;
    const StoreStart start = storeStart();
    CHECK(start.nvResult == DS_NV_INITIALISED);
    CHECK(start.versionResult == 1);
    CHECK(datastoreIsFirstRun() == 1);
    CHECK(output.waitFor("PrevVer: 0, CurVer: 14, InitAll: Yes"));
    for (uint32_t id = 4; id <= 223; ++id) {
        CAPTURE(id);
        std::vector<uint8_t> value(datastoreGetSize(id));
        datastoreCopyValue(id, value.data());
        std::vector<uint8_t> expected(value.size(), 0);
        uint8_t lowest[4] = {};
        datastoreCheckRange(id, lowest); // zero, or pulled up to the minimum
        std::memcpy(expected.data(), lowest, std::min<size_t>(4, expected.size()));
        if (dsCatalogue[id].type > DS_TYPE_BLOCK)
            CHECK(value == expected);
    }
    settle();
    CHECK(fileBytes(34) == le16(0));
    CHECK(fileBytes(0) == std::string("\xB2\xA5\x00\x00", 4));
    CHECK(storeStart().nvResult == DS_NV_LOADED);
}

TEST_CASE("an empty store file does not switch persistence off")
{
    startEmpty();
    storeStart();
    settle();
    filestoreDestroy();
    REQUIRE(writeTextFile(storeFilePath, ""));
    CHECK(storeStart().nvResult == DS_NV_INITIALISED);
    settle();
    REQUIRE(datastoreSetUint16(34, 4321) == DS_OK);
    storeUpdate();
    REQUIRE(storeDrain());
    CHECK(readTextFile(storeFilePath).size() == 2994);
    CHECK(storeStart().nvResult == DS_NV_LOADED);
    CHECK(datastoreGetUint16(34) == 4321);
}

TEST_CASE("the stored version, revision and path decide the previous version")
{
    struct Case {
        const char* what;
        uint16_t version;
        uint16_t revision;
        bool samePath;
        const char* migration; // the defaults' line, or nullptr when nothing is migrated
    };
    const Case cases[] = {
        {"current layout", 14, 5, true, nullptr},
        {"current layout, later revision", 14, 15, true, nullptr},
        {"older layout", 12, 5, true, "PrevVer: 12, CurVer: 14, InitAll: No"},
        {"older layout, revision above the layout", 12, 15, true, "PrevVer: 0, CurVer: 14, InitAll: Yes"},
        {"revision equal to the layout", 12, 14, true, "PrevVer: 12, CurVer: 14, InitAll: No"},
        {"another application", 14, 5, false, "PrevVer: 0, CurVer: 14, InitAll: Yes"},
    };
    for (const Case& c : cases) {
        const std::string what = c.what;
        CAPTURE(what);
        startEmpty();
        storeStart();
        settle();
        REQUIRE(datastoreSetUint16(2, c.version) == DS_OK);
        REQUIRE(datastoreSetUint16(3, c.revision) == DS_OK);
        if (!c.samePath) {
            uint8_t path[49] = {'o', 'e', 'm', '/'};
            REQUIRE(datastoreSetData(1, path) == DS_OK);
        }
        storeUpdate();
        REQUIRE(storeDrain());

        StoreStart start;
        bool logged = true;
        {
            OutputCapture output;
            start = storeStart();
            if (c.migration != nullptr)
                logged = output.waitFor(c.migration);
        }
        CHECK(logged);
        CHECK(start.nvResult == DS_NV_LOADED);
        CHECK(start.versionResult == (c.migration != nullptr ? 1u : 0u));
        settle();
        CHECK(datastoreGetUint16(2) == (c.migration != nullptr ? 14 : c.version));
    }
}
