// Access to the items: setters, getters, conversions, refresh and observer.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>

#include "clock.h"
#include "comport.h"
#include "conout.h"
#include "debugcon.h"
#include "datastore.h"
#include "doubles/store_doubles.h"
#include "store_env.h"
#include "pulsinput.h"

namespace {

const std::string& workDir = storeTestWorkDir();

// The catalogue with a few rows changed to reach cases no catalogue row has.
enum : uint32_t {
    FLOAT_ITEM = 276,     // FLOAT32, -10..10
    SINT16_ITEM = 287,    // SINT16, -100..100
    LOWER_ONLY_ITEM = 40, // UINT16, minimum 10 above maximum 0
    REFRESHED_ITEM = 41,  // UINT16 10..600, refreshed every 500 ms, event 999, hook
};

uint16_t refreshSource = 0;
uint32_t refreshUint16(uint32_t, void* buffer)
{
    std::memcpy(buffer, &refreshSource, sizeof refreshSource);
    return 1;
}

uint32_t hookCalls = 0;
uint32_t countHook(uint32_t, const void*, uint32_t, uint16_t)
{
    ++hookCalls;
    return 0;
}

const DsItemDescriptor* variantTable()
{
    static DsItemDescriptor table[DS_ITEM_COUNT];
    std::memcpy(table, dsCatalogue, sizeof table);
    table[FLOAT_ITEM].type = DS_TYPE_FLOAT32;
    table[FLOAT_ITEM].minimum = -10.0f;
    table[FLOAT_ITEM].maximum = 10.0f;
    table[SINT16_ITEM].type = DS_TYPE_SINT16;
    table[SINT16_ITEM].minimum = -100.0f;
    table[SINT16_ITEM].maximum = 100.0f;
    table[LOWER_ONLY_ITEM].minimum = 10.0f;
    table[LOWER_ONLY_ITEM].maximum = 0.0f;
    table[REFRESHED_ITEM].refreshPeriod = 500;
    table[REFRESHED_ITEM].refreshFunc = refreshUint16;
    table[REFRESHED_ITEM].changeEvent = 999;
    table[REFRESHED_ITEM].changeHook = countHook;
    return table;
}

void freshStore()
{
    REQUIRE(datastoreInit(2) == 0);
    takePostedEvents();
    takeHookCalls();
}

void freshVariantStore()
{
    REQUIRE(datastoreInitWithTable(2, variantTable()) == 0);
    takePostedEvents();
    takeHookCalls();
    hookCalls = 0;
}

} // namespace

TEST_CASE("set results: range, type, id and read-only")
{
    freshStore();
    REQUIRE(datastoreSetUint16(32, 20) == DS_OK);
    REQUIRE(datastoreSetUint8(124, 80) == DS_OK);
    REQUIRE(datastoreSetUint32(134, 650000) == DS_OK);
    struct Case {
        const char* what;
        uint32_t (*set)();
        uint32_t result;
        uint32_t id;
        uint32_t storedAfter;
    };
    const Case cases[] = {
        {"below minimum", [] { return datastoreSetUint16(32, 0); }, 5, 32, 20},
        {"above maximum", [] { return datastoreSetUint16(32, 100); }, 4, 32, 20},
        {"at maximum", [] { return datastoreSetUint16(32, 99); }, 0, 32, 99},
        {"at minimum", [] { return datastoreSetUint16(32, 1); }, 0, 32, 1},
        {"wrong type", [] { return datastoreSetUint16(134, 5); }, 7, 134, 650000},
        {"id 329", [] { return datastoreSetUint16(329, 5); }, 2, 32, 1},
        {"highest id value", [] { return datastoreSetUint16(0xFFFFFFFFu, 5); }, 2, 32, 1},
        {"negative id as int", [] { return datastoreSetUint32(static_cast<uint32_t>(-1), 5); }, 2, 32, 1},
        {"UINT8 below", [] { return datastoreSetUint8(124, 39); }, 5, 124, 80},
        {"UINT8 above", [] { return datastoreSetUint8(124, 101); }, 4, 124, 80},
        {"UINT32 below", [] { return datastoreSetUint32(134, 9999); }, 5, 134, 650000},
        {"UINT32 above", [] { return datastoreSetUint32(134, 4900001); }, 4, 134, 650000},
        {"BOOL has no range", [] { return datastoreSetBool(213, 2); }, 0, 213, 2},
        {"item without range", [] { return datastoreSetUint32(305, 0xFFFFFFFFu); }, 0, 305, 0xFFFFFFFFu},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        CHECK(c.set() == c.result);
        CHECK(static_cast<uint32_t>(datastoreGetAsInt32(c.id)) == c.storedAfter);
    }
    uint8_t record[12] = {1, 2, 3};
    CHECK(datastoreSetData(78, record) == DS_ERR_READ_ONLY);
    CHECK(datastoreSetData(329, record) == DS_ERR_ID);
}

TEST_CASE("an item whose maximum is not above its minimum has only a lower bound")
{
    freshVariantStore();
    CHECK(datastoreSetUint16(LOWER_ONLY_ITEM, 9) == DS_ERR_BELOW_MIN);
    CHECK(datastoreSetUint16(LOWER_ONLY_ITEM, 10) == DS_OK);
    CHECK(datastoreSetUint16(LOWER_ONLY_ITEM, 65000) == DS_OK);
    CHECK(datastoreGetUint16(LOWER_ONLY_ITEM) == 65000);
}

TEST_CASE("signed and float items compare in their own type")
{
    freshVariantStore();
    CHECK(datastoreSetSint16(SINT16_ITEM, -100) == DS_OK);
    CHECK(datastoreSetSint16(SINT16_ITEM, -101) == DS_ERR_BELOW_MIN);
    CHECK(datastoreSetSint16(SINT16_ITEM, 101) == DS_ERR_ABOVE_MAX);
    CHECK(datastoreGetSint16(SINT16_ITEM) == -100);
    CHECK(datastoreSetFloat32(FLOAT_ITEM, -9.5f) == DS_OK);
    CHECK(datastoreSetFloat32(FLOAT_ITEM, -10.5f) == DS_ERR_BELOW_MIN);
    CHECK(datastoreSetFloat32(FLOAT_ITEM, 10.01f) == DS_ERR_ABOVE_MAX);
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == -9.5f);
    uint8_t value[2];
    const int16_t low = -300;
    std::memcpy(value, &low, 2);
    CHECK(datastoreCheckRange(SINT16_ITEM, value) == DS_ERR_BELOW_MIN);
    int16_t clipped;
    std::memcpy(&clipped, value, 2);
    CHECK(clipped == -100);
}

TEST_CASE("every set that passes id, read-only and type posts the change event")
{
    freshStore();
    CHECK(datastoreSetUint16(32, 12) == DS_OK);
    CHECK(datastoreIsDirty(32));
    auto events = takePostedEvents();
    REQUIRE(events.size() == 1);
    CHECK(events[0].first == 151);
    CHECK(events[0].second == 32);

    uint16_t written = 0;
    CHECK(datastoreTakeDirtyValue(32, &written)); // as the write-behind does
    CHECK(written == 12);
    CHECK(datastoreSetUint16(32, 12) == DS_OK);
    CHECK_FALSE(datastoreIsDirty(32)); // equal value: nothing stored
    CHECK(takePostedEvents().size() == 1);

    CHECK(datastoreSetUint16(32, 0) == DS_ERR_BELOW_MIN);
    CHECK(takePostedEvents().size() == 1);
    CHECK(datastoreGetUint16(32) == 12);

    CHECK(datastoreSetUint32(32, 12) == DS_ERR_TYPE);
    CHECK(datastoreSetUint16(34, 100) == DS_OK); // no event on this item
    CHECK(takePostedEvents().empty());

    CHECK(datastoreSetBool(231, 1) == DS_OK); // a RAM item
    CHECK_FALSE(datastoreIsDirty(231));
    events = takePostedEvents();
    REQUIRE(events.size() == 1);
    CHECK(events[0] == std::make_pair(264u, 231u));
}

TEST_CASE("change hooks get id, value, size and type on every set")
{
    freshStore();
    struct Case {
        uint32_t id;
        const char* hook;
    };
    const Case cases[] = {
        {134, "pulsupdtNewFlowCal"},         {74, "pulsupdtNewFlowCalCorr"},
        {135, "pulsupdtNewFlowCalNH3Corr"},   {116, "pulsupdtSpeedSourceChanged"},
        {274, "pulsupdtSpeedSourceChanged"},  {212, "processFillFlowCalChanged"},
        {266, "processPulseRatioChanged"},    {267, "processPulseRatioChanged"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.id);
        const uint32_t value = c.id == 134 || c.id == 212 ? 20000 : 1000;
        CHECK(datastoreSetFromUint32(c.id, value) == DS_OK);
        CHECK(datastoreSetFromUint32(c.id, value) == DS_OK);
        const auto calls = takeHookCalls();
        REQUIRE(calls.size() == 2);
        CHECK(calls[0].hook == c.hook);
        CHECK(calls[0].id == c.id);
        CHECK(calls[0].type == datastoreGetType(c.id));
        REQUIRE(calls[0].value.size() == datastoreGetSize(c.id));
        uint32_t seen = 0;
        std::memcpy(&seen, calls[0].value.data(), calls[0].value.size());
        CHECK(seen == value);
    }
    CHECK(datastoreSetUint16(32, 5) == DS_OK);
    CHECK(takeHookCalls().empty());

    // A refused value reaches the hook as the violated limit.
    struct Refused {
        uint32_t id;
        uint32_t value;
        uint32_t result;
        uint32_t seen;
    };
    const Refused refused[] = {
        {134, 0, DS_ERR_BELOW_MIN, 10000},
        {134, 5000000, DS_ERR_ABOVE_MAX, 4900000},
        {116, 70000, DS_ERR_ABOVE_MAX, 65000},
    };
    for (const Refused& r : refused) {
        CAPTURE(r.value);
        CHECK(datastoreSetFromUint32(r.id, r.value) == r.result);
        const auto calls = takeHookCalls();
        REQUIRE(calls.size() == 1);
        REQUIRE(calls[0].value.size() == 4);
        uint32_t seen = 0;
        std::memcpy(&seen, calls[0].value.data(), 4);
        CHECK(seen == r.seen);
    }
}

TEST_CASE("gets: clipped copies, failures logged")
{
    freshStore();
    const uint16_t outside = 150;
    datastoreStoreValue(32, &outside);
    uint16_t value = 0;
    CHECK(datastoreGetData(32, &value) == DS_OK);
    CHECK(value == 99);
    CHECK(datastoreGetUint16(32) == 99);

    OutputCapture output;
    uint8_t record[48];
    CHECK(datastoreGetData(92, record) == DS_ERR_READ_ONLY);
    CHECK(output.waitFor(" Error = 3"));
    CHECK(datastoreGetData(329, record) == DS_ERR_ID);
    CHECK(output.waitFor(" Error = 2"));

    CHECK(datastoreGetUint32(32) == 0); // wrong type
    CHECK(datastoreGetUint16(0xFFFFFFFFu) == 0);
    CHECK(datastoreGetType(329) == 11);
    CHECK(datastoreGetType(0x80000000u) == 11);
    CHECK(datastoreGetSize(329) == 0);
    CHECK(datastoreGetSize(0xFFFFFFFFu) == 0);
    CHECK(datastoreGetMin(329) == 0);
    CHECK(datastoreGetMax(0xFFFFFFFFu) == 0);
    CHECK(datastoreCheckRange(329, &value) == DS_ERR_ID);
}

TEST_CASE("checked getters keep values in range and write the default otherwise")
{
    freshVariantStore();
    REQUIRE(datastoreSetUint16(32, 12) == DS_OK);
    CHECK(datastoreGetUint16Checked(32, 1, 50, 9, 0) == 12);
    CHECK(datastoreGetUint16(32) == 12);
    CHECK(datastoreGetUint16Checked(32, 1, 10, 9, 0) == 0); // the setter's result
    CHECK(datastoreGetUint16(32) == 9);
    REQUIRE(datastoreSetUint16(32, 12) == DS_OK);
    CHECK(datastoreGetUint16Checked(32, 1, 50, 7, 1) == 0); // forced
    CHECK(datastoreGetUint16(32) == 7);

    REQUIRE(datastoreSetSint16(SINT16_ITEM, -5) == DS_OK);
    CHECK(datastoreGetSint16Checked(SINT16_ITEM, -10, 10, 3, 0) == -5);
    REQUIRE(datastoreSetFloat32(FLOAT_ITEM, 2.5f) == DS_OK);
    CHECK(datastoreGetFloat32Checked(FLOAT_ITEM, 0.0f, 5.0f, 1.0f, 0) == 2.5f);
    CHECK(datastoreGetFloat32Checked(FLOAT_ITEM, 3.0f, 5.0f, 4.0f, 0) == 0.0f);
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == 4.0f);

    REQUIRE(datastoreSetBool(213, 7) == DS_OK);
    CHECK(datastoreGetBoolChecked(213, 1, 0) == 0);
    CHECK(datastoreGetBool(213) == 1);
    CHECK(datastoreGetBoolChecked(213, 0, 0) == 1);
    REQUIRE(datastoreSetUint32(134, 700000) == DS_OK);
    CHECK(datastoreGetUint32Checked(134, 10000, 4900000, 650000, 0) == 700000);
    REQUIRE(datastoreSetUint8(124, 90) == DS_OK);
    CHECK(datastoreGetUint8Checked(124, 25, 80, 80, 0) == 0);
    CHECK(datastoreGetUint8(124) == 80);
}

TEST_CASE("conversions")
{
    freshVariantStore();
    struct Rounding {
        float stored;
        int32_t expected;
    };
    const Rounding roundings[] = {{-2.5f, -3}, {2.5f, 3}, {1.49f, 1}, {-0.4f, 0}, {9.999f, 10}};
    for (const Rounding& r : roundings) {
        CAPTURE(r.stored);
        REQUIRE(datastoreSetFloat32(FLOAT_ITEM, r.stored) == DS_OK);
        CHECK(datastoreGetAsInt32(FLOAT_ITEM) == r.expected);
        CHECK(datastoreGetAsFloat(FLOAT_ITEM) == r.stored);
    }
    CHECK(datastoreSetFromUint32(FLOAT_ITEM, 0xFFFFFFFFu) == DS_OK); // -1 as signed
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == -1.0f);
    CHECK(datastoreSetFromUint32(124, 300) == DS_OK); // narrowed to 44
    CHECK(datastoreGetUint8(124) == 44);
    CHECK(datastoreSetFromFloat(32, 12.9f) == DS_OK);
    CHECK(datastoreGetUint16(32) == 12);
    CHECK(datastoreSetFromFloat(SINT16_ITEM, -7.9f) == DS_OK);
    CHECK(datastoreGetSint16(SINT16_ITEM) == -7);
    CHECK(datastoreGetAsInt32(SINT16_ITEM) == -7);
    CHECK(datastoreGetAsFloat(SINT16_ITEM) == -7.0f);
    CHECK(datastoreSetFromFloat(FLOAT_ITEM, 3.75f) == DS_OK);
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == 3.75f);
    CHECK(datastoreSetFromUint32(78, 1) == 0);
    CHECK(datastoreSetFromUint32(329, 1) == 0);
    CHECK(datastoreGetAsInt32(78) == 0);
    CHECK(datastoreGetAsInt32(329) == 0);
    REQUIRE(datastoreSetUint32(305, 4000000000u) == DS_OK);
    CHECK(datastoreGetAsFloat(305) == 4000000000.0f);
    CHECK(datastoreGetScaled(305) == 4000000000.0f);
}

TEST_CASE("toggle")
{
    freshVariantStore();
    struct Case {
        uint32_t stored;
        uint32_t after;
    };
    const Case cases[] = {{0, 1}, {1, 0}, {7, 0}};
    for (const Case& c : cases) {
        REQUIRE(datastoreSetBool(213, c.stored) == DS_OK);
        CHECK(datastoreToggleItem(213) == DS_OK);
        CHECK(datastoreGetBool(213) == c.after);
    }
    REQUIRE(datastoreSetUint16(34, 0) == DS_OK);
    CHECK(datastoreToggleItem(34) == DS_OK);
    CHECK(datastoreGetUint16(34) == 1);
    REQUIRE(datastoreSetFloat32(FLOAT_ITEM, 3.0f) == DS_OK);
    CHECK(datastoreToggleItem(FLOAT_ITEM) == DS_OK);
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == 0.0f);
    CHECK(datastoreToggleItem(FLOAT_ITEM) == DS_OK);
    CHECK(datastoreGetFloat32(FLOAT_ITEM) == 1.0f);
    CHECK(datastoreToggleItem(329) == 0);
}

TEST_CASE("refresh of callback-served items")
{
    freshVariantStore();
    SUBCASE("pulse-counter records follow their module and become dirty")
    {
        pulsInit();
        datastoreRefreshItems(10000);
        uint8_t scratch[12];
        REQUIRE(datastoreTakeDirtyValue(78, scratch));
        REQUIRE(datastoreTakeDirtyValue(79, scratch));
        pulsSetCounterMode(14, 22, 11);
        datastoreRefreshItems(10000);
        uint32_t words[3] = {};
        datastoreCopyValue(78, words);
        CHECK(words[0] == 11);
        CHECK(words[1] == 22);
        CHECK(words[2] == 1);
        CHECK(datastoreIsDirty(78));
        CHECK_FALSE(datastoreIsDirty(79)); // its counter did not change
    }
    SUBCASE("an out-of-range refreshed value is dropped")
    {
        refreshSource = 700;
        datastoreRefreshItem(REFRESHED_ITEM, 2, 0);
        uint16_t stored = 1;
        datastoreCopyValue(REFRESHED_ITEM, &stored);
        CHECK(stored == 0);
        CHECK_FALSE(datastoreIsDirty(REFRESHED_ITEM));
        CHECK(takePostedEvents().empty());
        CHECK(hookCalls == 0);

        refreshSource = 300;
        datastoreRefreshItem(REFRESHED_ITEM, 2, 0);
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 300);
        CHECK(datastoreIsDirty(REFRESHED_ITEM));
        const auto events = takePostedEvents();
        REQUIRE(events.size() == 1);
        CHECK(events[0] == std::make_pair(999u, static_cast<uint32_t>(REFRESHED_ITEM)));
        CHECK(hookCalls == 1);

        datastoreRefreshItem(REFRESHED_ITEM, 2, 0); // unchanged
        CHECK(takePostedEvents().empty());
        CHECK(hookCalls == 1);
    }
    SUBCASE("the periodic refresh waits for each item's period, also at the first tick of a loaded image")
    {
        clockUseManual();
        clockAdvanceMs(500); // a full period after the store's start
        refreshSource = 100;
        datastoreRefreshItem(REFRESHED_ITEM, 2, 1); // stamps the refresh time
        REQUIRE(datastoreGetUint16(REFRESHED_ITEM) == 100);
        refreshSource = 200;
        datastoreRefreshDue();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 100);
        clockAdvanceMs(400);
        datastoreRefreshDue();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 100);
        clockAdvanceMs(100);
        datastoreRefreshDue();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 200);
        refreshSource = 300;
        clockAdvanceMs(499);
        datastoreRefreshDue();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 200);
        clockUseReal();
    }
    SUBCASE("a refresh of everything takes the source's value whatever the period")
    {
        clockUseManual();
        clockAdvanceMs(500);
        refreshSource = 100;
        datastoreRefreshItem(REFRESHED_ITEM, 2, 1);
        REQUIRE(datastoreGetUint16(REFRESHED_ITEM) == 100);
        refreshSource = 250;
        clockAdvanceMs(10);
        datastoreRefreshAllNow();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 250);
        clockUseReal();
    }
    SUBCASE("the first tick after an initialised image refreshes without waiting")
    {
        clockUseManual();
        clockAdvanceMs(500);
        refreshSource = 100;
        datastoreRefreshItem(REFRESHED_ITEM, 2, 1);
        REQUIRE(datastoreGetUint16(REFRESHED_ITEM) == 100);
        datastoreSetFirstRun(1);
        refreshSource = 200;
        datastoreRefreshDue();
        CHECK(datastoreGetUint16(REFRESHED_ITEM) == 200);
        clockUseReal();
    }
}

namespace {
std::vector<std::vector<uint32_t>> observed;
void observe(uint32_t id, uint32_t a, uint32_t b)
{
    observed.push_back({id, a, b});
}
} // namespace

TEST_CASE("observer sees every item once and then every set")
{
    freshStore();
    observed.clear();
    datastoreSetObserver(observe, 5, 6);
    REQUIRE(observed.size() == 329);
    CHECK(observed[0] == std::vector<uint32_t>{0, 5, 6});
    CHECK(observed[328][0] == 328);
    observed.clear();
    datastoreSetUint16(32, 0); // refused, still reported
    datastoreSetUint16(33, 3);
    datastoreSetUint16(329, 3);
    REQUIRE(observed.size() == 2);
    CHECK(observed[0][0] == 32);
    CHECK(observed[1][0] == 33);
    datastoreSetObserver(nullptr, 0, 0);
}

TEST_CASE("dump lines")
{
    freshVariantStore();
    datastoreSetUint16(32, 12);
    datastoreSetBool(8, 1);
    datastoreSetUint32(305, 4000000000u);
    datastoreSetSint16(SINT16_ITEM, -42);
    datastoreSetFloat32(FLOAT_ITEM, -2.5f);
    datastoreSetUint8(124, 80);
    pulsInit();
    pulsSetCounterMode(14, 2, 0x1A);
    datastoreRefreshItems(10000);
    struct Case {
        uint32_t id;
        const char* line;
    };
    const Case cases[] = {
        {32, "   32  UINT16      12"},
        {8, "    8  BOOL        1"},
        {305, "  305  UINT32      4000000000"},
        {SINT16_ITEM, "  287  SINT16      -42"},
        {FLOAT_ITEM, "  276  FLOAT32     -2.500000"},
        {124, "  124  UINT8       80"},
        {78, "   78  Other type  0x1A 0x00 0x00 0x00 0x02 0x00 0x00 0x00 0x01 0x00 0x00 0x00"},
    };
    for (const Case& c : cases) {
        char line[4096];
        datastoreFormatItem(c.id, line, sizeof line);
        CHECK(std::string(line) == c.line);
    }
    char line[4096];
    CHECK(datastoreFormatItem(120, line, sizeof line) == std::strlen("  120  Other type ") + 402 * 5);
}

TEST_CASE("the dump prints its heading and one line per item on the debug port")
{
    freshStore();
    datastoreSetUint16(32, 12);
    uint8_t path[49];
    std::memset(path, 0xAB, sizeof path);
    datastoreSetData(1, path);
    REQUIRE(comportInit() == 1);
    REQUIRE(comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0) == 1);
    comportOpen(0, 7, 3, 2, 0);
    comselectInit(0);
    std::string printed;
    {
        OutputCapture output;
        datastoreDebugDump();
        printed = output.text();
    }
    std::string expected = "datastoreDebugDump\n\r";
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        char line[4096];
        datastoreFormatItem(id, line, sizeof line);
        expected += std::string(line) + "\n\r";
    }
    CHECK(printed == expected);
    CHECK(printed.find("   32  UINT16      12\n\r") != std::string::npos);
    CHECK(printed.find("    1  Other type  0xAB 0xAB") != std::string::npos);
    CHECK(std::count(printed.begin(), printed.end(), '\r') == 330);
}
