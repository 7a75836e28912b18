// The item catalogue: layout of the store image, types, ranges, events and hooks.
#include <doctest/doctest.h>

#include <cstring>
#include <set>

#include "datastore.h"
#include "dscatalogue.h"
#include "dsnvmem.h"
#include "store_env.h"

namespace {

const std::string& workDir = storeTestWorkDir();

struct ImageOffset {
    uint32_t id;
    uint32_t offset;
};

// Every persistent item and its offset in the store image.
const ImageOffset imageOffsets[] = {
    {0, 0}, {1, 4}, {2, 53}, {3, 55}, {4, 57}, {5, 59},
    {6, 63}, {7, 67}, {8, 71}, {9, 75}, {10, 79}, {11, 83},
    {12, 85}, {13, 89}, {14, 93}, {15, 97}, {16, 101}, {17, 105},
    {18, 109}, {19, 113}, {20, 117}, {21, 121}, {22, 125}, {23, 129},
    {24, 133}, {25, 137}, {26, 141}, {27, 145}, {28, 147}, {29, 149},
    {30, 151}, {31, 153}, {32, 155}, {33, 157}, {34, 159}, {35, 161},
    {36, 163}, {37, 165}, {38, 167}, {39, 169}, {40, 171}, {41, 173},
    {42, 175}, {43, 177}, {44, 179}, {45, 181}, {46, 183}, {47, 185},
    {48, 187}, {49, 189}, {50, 191}, {51, 193}, {52, 195}, {53, 197},
    {54, 199}, {55, 201}, {56, 203}, {57, 205}, {58, 207}, {59, 209},
    {60, 211}, {61, 213}, {62, 215}, {63, 217}, {64, 219}, {65, 221},
    {66, 223}, {67, 225}, {68, 227}, {69, 229}, {70, 231}, {71, 233},
    {72, 235}, {73, 237}, {74, 239}, {75, 241}, {76, 243}, {77, 273},
    {78, 471}, {79, 483}, {80, 495}, {81, 507}, {82, 519}, {83, 531},
    {84, 543}, {85, 555}, {86, 567}, {87, 579}, {88, 591}, {89, 603},
    {90, 615}, {91, 627}, {92, 639}, {93, 687}, {94, 735}, {95, 783},
    {96, 831}, {97, 879}, {98, 927}, {99, 975}, {100, 1023}, {101, 1071},
    {102, 1119}, {103, 1167}, {104, 1215}, {105, 1263}, {106, 1311}, {107, 1359},
    {108, 1407}, {109, 1455}, {110, 1503}, {111, 1551}, {112, 1599}, {113, 1601},
    {114, 1603}, {115, 1607}, {116, 1611}, {117, 1615}, {118, 1616}, {119, 1618},
    {120, 1816}, {121, 2218}, {122, 2222}, {123, 2226}, {124, 2230}, {125, 2231},
    {126, 2233}, {127, 2235}, {128, 2499}, {129, 2503}, {130, 2507}, {131, 2509},
    {132, 2511}, {133, 2515}, {134, 2519}, {135, 2523}, {136, 2525}, {137, 2527},
    {138, 2529}, {139, 2531}, {140, 2533}, {141, 2535}, {142, 2537}, {143, 2539},
    {144, 2541}, {145, 2543}, {146, 2545}, {147, 2546}, {148, 2550}, {149, 2552},
    {150, 2554}, {151, 2556}, {152, 2560}, {153, 2564}, {154, 2566}, {155, 2568},
    {156, 2570}, {157, 2572}, {158, 2574}, {159, 2576}, {160, 2578}, {161, 2580},
    {162, 2582}, {163, 2584}, {164, 2586}, {165, 2588}, {166, 2590}, {167, 2592},
    {168, 2594}, {169, 2596}, {170, 2598}, {171, 2600}, {172, 2602}, {173, 2604},
    {174, 2606}, {175, 2608}, {176, 2610}, {177, 2612}, {178, 2614}, {179, 2616},
    {180, 2618}, {181, 2620}, {182, 2622}, {183, 2624}, {184, 2626}, {185, 2628},
    {186, 2630}, {187, 2632}, {188, 2634}, {189, 2636}, {190, 2638}, {191, 2640},
    {192, 2642}, {193, 2644}, {194, 2646}, {195, 2648}, {196, 2650}, {197, 2652},
    {198, 2654}, {199, 2656}, {200, 2658}, {201, 2660}, {202, 2662}, {203, 2663},
    {204, 2675}, {205, 2723}, {206, 2727}, {207, 2731}, {208, 2733}, {209, 2735},
    {210, 2739}, {211, 2743}, {212, 2747}, {213, 2751}, {214, 2755}, {215, 2756},
    {216, 2758}, {217, 2759}, {218, 2760}, {219, 2812}, {220, 2864}, {221, 2916},
    {222, 2968}, {223, 2970},
};

float limitOf(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

TEST_CASE("the persistent items pack to the image at their offsets")
{
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(sizeof imageOffsets / sizeof imageOffsets[0] == 224);
    std::set<uint32_t> persistent;
    for (const ImageOffset& entry : imageOffsets) {
        CAPTURE(entry.id);
        persistent.insert(entry.id);
        CHECK(dsCatalogue[entry.id].notPersistent == 0);
        CHECK(dsCatalogue[entry.id].backend == 1);
        CHECK(datastoreNvOffset(entry.id) == entry.offset);
    }
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        if (persistent.count(id) == 0) {
            CAPTURE(id);
            CHECK(dsCatalogue[id].notPersistent == 1);
            CHECK(dsCatalogue[id].backend == 0);
        }
    }
    CHECK(datastoreNvImageLength(1) == 2974);
    CHECK(datastoreNvImageLength(0) == 0);
}

TEST_CASE("rows, sizes and kinds of items")
{
    REQUIRE(datastoreInit(2) == 0);
    uint32_t readOnly = 0, blocks = 0, events = 0, hooks = 0;
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        const DsItemDescriptor& d = dsCatalogue[id];
        CAPTURE(id);
        CHECK(d.id == id);
        CHECK(datastoreGetSize(id) > 0);
        CHECK(d.minChange == 0);
        CHECK((d.valueFunc == nullptr));
        CHECK(d.scale == 0.0f);
        CHECK((d.getFunc == nullptr));
        readOnly += d.readOnly;
        blocks += d.type == DS_TYPE_BLOCK ? 1 : 0;
        events += d.changeEvent != 0 ? 1 : 0;
        hooks += d.changeHook != nullptr ? 1 : 0;
        const bool record = d.type == DS_TYPE_RECORD;
        CHECK(d.readOnly == (record ? 1u : 0u));
        CHECK(d.hookMode == (record ? 1u : 0u));
        CHECK((d.refreshFunc != nullptr) == record);
        CHECK((d.loadFunc != nullptr) == record);
        const bool refreshed = record || id == 1 || id == 2 || id == 3;
        CHECK(d.refreshPeriod == (refreshed ? 10000u : 0u));
        if (d.type <= DS_TYPE_BLOCK)
            CHECK(bool(d.sizeFunc));
    }
    CHECK(readOnly == 36);
    CHECK(blocks == 13);
    CHECK(events == 24);
    CHECK(hooks == 12);
}

TEST_CASE("selected rows as tabled")
{
    struct Row {
        uint32_t id;
        uint32_t type;
        uint32_t size;
        float min;
        float max;
        uint32_t event;
        uint32_t counter; // callback argument of the record items
    };
    const Row rows[] = {
        {0, DS_TYPE_UINT32, 4, 0, 0, 0, 0},
        {1, DS_TYPE_BLOCK, 49, 0, 0, 0, 0},
        {5, DS_TYPE_UINT32, 4, 0, 0, 282, 0},
        {8, DS_TYPE_BOOL, 4, 0, 0, 0, 0},
        {32, DS_TYPE_UINT16, 2, 1, 99, 151, 0},
        {39, DS_TYPE_UINT16, 2, 10, 600, 0, 0},
        {77, DS_TYPE_BLOCK, 198, 0, 0, 0, 0},
        {78, DS_TYPE_RECORD, 12, 0, 0, 0, 14},
        {84, DS_TYPE_RECORD, 12, 0, 0, 0, 5},
        {92, DS_TYPE_RECORD, 48, 0, 0, 0, 1},
        {98, DS_TYPE_RECORD, 48, 0, 0, 0, 8},
        {111, DS_TYPE_RECORD, 48, 0, 0, 0, 21},
        {117, DS_TYPE_UINT8, 1, 0, 0, 0, 0},
        {119, DS_TYPE_BLOCK, 198, 0, 0, 204, 0},
        {120, DS_TYPE_BLOCK, 402, 0, 0, 0, 0},
        {124, DS_TYPE_UINT8, 1, 40, 100, 330, 0},
        {127, DS_TYPE_BLOCK, 264, 0, 0, 0, 0},
        {134, DS_TYPE_UINT32, 4, 10000, 4900000, 0, 0},
        {146, DS_TYPE_UINT8, 1, 3, 255, 0, 0},
        {148, DS_TYPE_UINT16, 2, 0, 9999, 0, 0},
        {149, DS_TYPE_UINT16, 2, 0, 9999, 0, 0},
        {203, DS_TYPE_RECORD, 12, 0, 0, 0, 10},
        {204, DS_TYPE_RECORD, 48, 0, 0, 0, 7},
        {213, DS_TYPE_BOOL, 4, 0, 1, 0, 0},
        {218, DS_TYPE_BLOCK, 52, 0, 0, 0, 0},
        {261, DS_TYPE_BLOCK, 14, 0, 0, 86, 0},
        {264, DS_TYPE_UINT32, 4, 0, 999999, 111, 0},
        {276, DS_TYPE_SINT32, 4, 0, 0, 0, 0},
        {279, DS_TYPE_UINT32, 4, 0, 99999, 0, 0},
        {305, DS_TYPE_UINT32, 4, 0, 0, 0, 0},
        {319, DS_TYPE_BOOL, 4, 0, 0, 333, 0},
        {324, DS_TYPE_UINT16, 2, 1, 13, 0, 0},
        {328, DS_TYPE_BOOL, 4, 0, 0, 0, 0},
    };
    REQUIRE(datastoreInit(2) == 0);
    for (const Row& row : rows) {
        CAPTURE(row.id);
        CHECK(datastoreGetType(row.id) == row.type);
        CHECK(datastoreGetSize(row.id) == row.size);
        CHECK(limitOf(datastoreGetMin(row.id)) == row.min);
        CHECK(limitOf(datastoreGetMax(row.id)) == row.max);
        CHECK(dsCatalogue[row.id].changeEvent == row.event);
        CHECK(dsCatalogue[row.id].callbackArg == row.counter);
    }
}

TEST_CASE("change events and change hooks sit on their items")
{
    const std::pair<uint32_t, uint32_t> events[] = {
        {5, 282}, {11, 268}, {32, 151}, {67, 327}, {69, 203}, {119, 204}, {124, 330}, {126, 271},
        {224, 285}, {225, 80}, {227, 82}, {231, 264}, {257, 285}, {258, 285}, {259, 84}, {260, 85},
        {261, 86}, {262, 332}, {264, 111}, {278, 239}, {289, 262}, {290, 263}, {317, 205}, {319, 333},
    };
    for (const auto& event : events) {
        CAPTURE(event.first);
        CHECK(dsCatalogue[event.first].changeEvent == event.second);
    }
    const uint32_t hooked[] = {74, 114, 115, 116, 117, 123, 134, 135, 212, 266, 267, 274};
    for (uint32_t id : hooked) {
        CAPTURE(id);
        CHECK(bool(dsCatalogue[id].changeHook));
    }
    CHECK((dsCatalogue[134].changeHook != dsCatalogue[74].changeHook));
    CHECK((dsCatalogue[114].changeHook == dsCatalogue[274].changeHook));
    CHECK((dsCatalogue[266].changeHook == dsCatalogue[267].changeHook));
}

TEST_CASE("defaults of the validation")
{
    struct Row {
        uint32_t id;
        DsDefaultKind kind;
        uint32_t value, min, max;
    };
    const Row rows[] = {
        {4, DS_DEFAULT_VALIDATED, 9, 0, 65535},   {14, DS_DEFAULT_PLAIN, 1, 0, 0},
        {32, DS_DEFAULT_VALIDATED, 9, 1, 99},     {67, DS_DEFAULT_VALIDATED, 500, 300, 1100},
        {134, DS_DEFAULT_VALIDATED, 650000, 10000, 4900000},
        {149, DS_DEFAULT_PLAIN, 2753, 0, 0},      {214, DS_DEFAULT_VALIDATED, 40, 25, 100},
        {224, DS_DEFAULT_AT_START, 255, 0, 0},    {243, DS_DEFAULT_VALIDATED, 100, 10, 190},
        {0, DS_DEFAULT_NONE, 0, 0, 0},            {305, DS_DEFAULT_NONE, 0, 0, 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.id);
        CHECK(dsItemDefaults[row.id].kind == row.kind);
        CHECK(dsItemDefaults[row.id].value == row.value);
        CHECK(dsItemDefaults[row.id].validMin == row.min);
        CHECK(dsItemDefaults[row.id].validMax == row.max);
    }
}

TEST_CASE("a table out of order or with an empty item is refused")
{
    static DsItemDescriptor table[DS_ITEM_COUNT];
    std::memcpy(table, dsCatalogue, sizeof table);
    table[200].id = 201;
    CHECK(datastoreInitWithTable(2, table) == 13);

    std::memcpy(table, dsCatalogue, sizeof table);
    table[40].type = DS_TYPE_BLOCK; // a block without size function has size 0
    CHECK(datastoreInitWithTable(2, table) == 1);

    CHECK(datastoreInit(2) == 0);
}
