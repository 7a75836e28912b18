// Application defaults: the migration steps by previous layout version, the
// console variants and the validators.
#include <doctest/doctest.h>

#include <cstring>

#include "datastore.h"
#include "doubles/store_doubles.h"
#include "dsvcappl.h"
#include "store_env.h"
#include "vkinfo.h"

namespace {

const std::string& workDir = storeTestWorkDir();

const char* partNumber = nullptr;
uint32_t readPartNumber(char* buffer, uint32_t size)
{
    if (partNumber == nullptr)
        return 0;
    std::snprintf(buffer, size, "%s", partNumber);
    return 1;
}

// Every item a step touches, set to a value no step writes.
void markItems()
{
    REQUIRE(datastoreInit(2) == 0);
    datastoreSetUint16(150, 7);
    datastoreSetBool(151, 0);
    datastoreSetBool(152, 1);
    for (uint32_t id = 153; id <= 201; ++id)
        datastoreSetUint16(id, 5);
    datastoreSetUint8(202, 5);
    datastoreSetUint16(145, 5);
    datastoreSetBool(205, 1);
    datastoreSetBool(206, 1);
    datastoreSetBool(223, 1);
    datastoreSetBool(209, 1);
    datastoreSetBool(210, 1);
    datastoreSetUint16(222, 5);
    takeCounterSetups();
}

bool mapsWritten()
{
    for (uint32_t map = 0; map < 4; ++map) {
        uint32_t words[13];
        datastoreGetData(218 + map, words);
        if (std::memcmp(words, dsvcapplSectionMaps[map], sizeof words) != 0)
            return false;
    }
    return true;
}

bool alarmCountsCleared()
{
    for (uint32_t id = 153; id <= 201; ++id) {
        if (datastoreGetUint16(id) != 0)
            return false;
    }
    return datastoreGetUint8(202) == 0;
}

} // namespace

TEST_CASE("each previous version runs its own step and every later one")
{
    dsvcapplSetPartNumberReader(readPartNumber);
    partNumber = "512-999";
    for (uint32_t prev = 0; prev <= 15; ++prev) {
        CAPTURE(prev);
        markItems();
        OutputCapture output;
        const uint32_t initAll = dsvcapplSetDefaultValues(prev);
        // Step k runs when 5 <= prev <= k.
        auto ran = [prev](uint32_t step) { return prev >= 5 && prev <= step; };
        CHECK(initAll == (prev <= 4 ? 1u : 0u));
        CHECK(datastoreGetUint16(150) == (ran(5) ? 1 : 7));
        CHECK(datastoreGetBool(151) == (ran(5) ? 1u : 0u));
        CHECK(datastoreGetBool(152) == (ran(6) ? 0u : 1u));
        CHECK(alarmCountsCleared() == ran(7));
        CHECK(datastoreGetUint16(145) == (ran(8) ? 0 : 5));
        CHECK(datastoreGetBool(205) == (ran(9) ? 0u : 1u));
        CHECK(datastoreGetBool(206) == (ran(10) ? 0u : 1u));
        CHECK(datastoreGetBool(223) == (ran(11) ? 0u : 1u));
        CHECK(datastoreGetBool(209) == (ran(11) ? 0u : 1u));
        CHECK(datastoreGetBool(210) == (ran(11) ? 0u : 1u));
        CHECK(takeCounterSetups() == (ran(12) ? std::vector<uint32_t>{4, 6} : std::vector<uint32_t>{}));
        CHECK(mapsWritten() == ran(13));
        CHECK(datastoreGetUint16(222) == (ran(13) ? 0 : 5));
        const std::string line = "PrevVer: " + std::to_string(prev) + ", CurVer: 14, InitAll: " +
                                 (prev <= 4 ? "Yes" : "No");
        CHECK(output.waitFor(line));
    }
}

TEST_CASE("the console variant decides the part-number flag")
{
    struct Case {
        const char* number;
        uint32_t flag;
    };
    const Case cases[] = {
        {"512-201", 1}, {"512-202", 1}, {"512-203", 1}, {"512-204", 0},
        {"512-20", 0},  {"", 0},        {nullptr, 0},   {"512-2021", 0},
    };
    dsvcapplSetPartNumberReader(readPartNumber);
    for (const Case& c : cases) {
        CAPTURE(c.number == nullptr ? "none" : c.number);
        partNumber = c.number;
        markItems();
        datastoreSetBool(206, c.flag == 0 ? 1 : 0);
        dsvcapplSetDefaultValues(10);
        CHECK(datastoreGetBool(206) == c.flag);
    }
}

TEST_CASE("by default the part number comes from the device-information files")
{
    const std::string dir = workDir + "/info";
    mkdir(dir.c_str(), 0755);
    vkinfoSetFilepath(dir.c_str());
    dsvcapplSetPartNumberReader(nullptr);
    struct Case {
        const char* number;
        uint32_t flag;
    };
    const Case cases[] = {{"512-202", 1}, {"512-999", 0}};
    for (const Case& c : cases) {
        CAPTURE(c.number);
        const std::string file =
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FILE>\n<HEADER>\n<VERSION>1.0.0</VERSION>\n"
            "<CONTENTS>VELMAR GENERAL DEVICE INFORMATION</CONTENTS>\n</HEADER>\n<ECU_INFO>\n"
            "<ECU_INFO_OWNER><ITEM_NUMBER>" + std::string(c.number) +
            "</ITEM_NUMBER></ECU_INFO_OWNER>\n</ECU_INFO>\n</FILE>\n";
        REQUIRE(writeTextFile(dir + "/@vk_info.xml", file));
        vkinfoInit();
        markItems();
        datastoreSetBool(206, c.flag == 0 ? 1 : 0);
        dsvcapplSetDefaultValues(10);
        CHECK(datastoreGetBool(206) == c.flag);
    }
}

TEST_CASE("validators keep values in range and otherwise write the default")
{
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(datastoreSetUint16(34, 0) == DS_OK);
    CHECK(dsvcapplValidateUint16(34, 1, 10, 5, 0) == 0); // the setter's result
    CHECK(datastoreGetUint16(34) == 5);
    CHECK(dsvcapplValidateUint16(34, 1, 10, 7, 0) == 5);
    CHECK(dsvcapplValidateUint16(34, 1, 10, 7, 1) == 0);
    CHECK(datastoreGetUint16(34) == 7);

    REQUIRE(datastoreSetUint32(116, 50000) == DS_OK);
    CHECK(dsvcapplValidateUint32(116, 0, 40000, 123, 0) == 0);
    CHECK(datastoreGetUint32(116) == 123);
    CHECK(dsvcapplValidateUint32(116, 0, 40000, 456, 0) == 123);

    REQUIRE(datastoreSetUint8(217, 200) == DS_OK);
    CHECK(dsvcapplValidateUint8(217, 5, 13, 9, 0) == 0);
    CHECK(datastoreGetUint8(217) == 9);

    REQUIRE(datastoreSetBool(147, 3) == DS_OK);
    dsvcapplValidateBool(147, 1, 0);
    CHECK(datastoreGetBool(147) == 1);
    REQUIRE(datastoreSetBool(147, 0) == DS_OK);
    dsvcapplValidateBool(147, 1, 0);
    CHECK(datastoreGetBool(147) == 0);
    dsvcapplValidateBool(147, 1, 1);
    CHECK(datastoreGetBool(147) == 1);
}
