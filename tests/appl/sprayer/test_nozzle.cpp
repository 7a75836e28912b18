#include "nozinfo.h"
#include "nozpreset.h"
#include "noztables.h"

#include "coretables_env.h"
#include "filefunc.h"

#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace {

// A built-in type with its own droplet categories: "CCCmmmmff" from 1.00 bar in 0.50 bar steps.
constexpr uint32_t kUserTip = NOZZLE_USER_TIP_TYPE;
// A type whose sizes come from catalogue family 1 (classes 3 to 5: 3.5-5.0, 2.0-3.5, 1.0-2.0 bar).
constexpr uint32_t kCatalogueType = 4;

struct Nozzles : CoreEnv {
    Nozzles()
    {
        nozinfoSetReferenceMode(0);
        REQUIRE(nozinfoInit(1) == 1);
    }
};

}  // namespace

TEST_CASE("nozzle presets: the first reset sets type 3 with twice its reference flows")
{
    Nozzles env;
    nozpresetInit(1);
    for (uint32_t i = 0; i < NOZPRESET_COUNT; ++i) {
        CAPTURE(i);
        CHECK(nozpresetGetNozzleType(i) == 3);
        CHECK(nozpresetGetNozzleSizeIx(i) == i);
        CHECK(nozpresetTargetRate(i) == 2 * nozinfoSystemRefFlow(3, i, 0));
    }
    // Stored in the item; a load brings them back.
    NozzlePreset stored[NOZPRESET_COUNT];
    REQUIRE(datastoreGetData(DS_TIP_PRESET_TABLE, stored) == DS_OK);
    CHECK(stored[2].size == 2);
    CHECK(stored[2].targetRate == 2 * 653);  // ISO 02 size, 0.8 l/min at 3 bar, at 2 bar
    stored[1].size = 6;
    REQUIRE(datastoreSetData(DS_TIP_PRESET_TABLE, stored) == DS_OK);
    nozpresetInit(0);
    CHECK(nozpresetGetNozzleSizeIx(1) == 6);
    // Once a type has been chosen, a reset keeps the operator's presets.
    REQUIRE(nozpresetSetNozzleType(1, 2) == 1);
    nozpresetInit(1);
    CHECK(nozpresetGetNozzleType(1) == 2);
}

TEST_CASE("nozzle presets: setters refuse what the tables do not have")
{
    Nozzles env;
    nozpresetInit(0);
    REQUIRE(nozpresetSetNozzleType(0, 3) == 1);
    REQUIRE(nozpresetSetNozzleSizeIx(0, 7) == 1);

    SUBCASE("types from 36 and preset numbers from 5 are refused")
    {
        CHECK(nozpresetSetNozzleType(0, 36) == 0);
        CHECK(nozpresetSetNozzleType(0, 1000) == 0);
        CHECK(nozpresetSetNozzleType(5, 3) == 0);
        CHECK(nozpresetGetNozzleType(0) == 3);
        CHECK(nozpresetGetNozzleType(5) == NOZPRESET_INVALID);
        CHECK(nozpresetGetNozzleSizeIx(5) == NOZPRESET_INVALID);
        CHECK(nozpresetSetNozzleTargetRate(5, 100) == 0);
        CHECK(nozpresetTargetRate(5) == 0);
        CHECK(nozpresetDropletCode(5, 300) == NOZZLE_NO_DROPLET_CODE);
    }

    SUBCASE("a type with fewer sizes moves the preset to its last size")
    {
        REQUIRE(nozinfoSizeCount(16) == 4);
        CHECK(nozpresetSetNozzleType(0, 16) == 1);
        CHECK(nozpresetGetNozzleSizeIx(0) == 3);
        NozzlePreset stored[NOZPRESET_COUNT];
        REQUIRE(datastoreGetData(DS_TIP_PRESET_TABLE, stored) == DS_OK);
        CHECK(stored[0].type == 16);
        CHECK(stored[0].size == 3);
    }

    SUBCASE("a size the type does not have is refused")
    {
        CHECK(nozpresetSetNozzleSizeIx(0, 8) == 0);
        CHECK(nozpresetGetNozzleSizeIx(0) == 7);
        CHECK(nozpresetSetNozzleSizeIx(0, 1) == 1);
        CHECK(nozpresetGetNozzleSizeIx(0) == 1);
    }

    SUBCASE("the density mode divides the stored rate; a factor of 0 leaves it undivided")
    {
        REQUIRE(datastoreSetUint16(DS_DENSITY_FACTOR, 120) == DS_OK);
        nozpresetSetDensityMode(1);
        REQUIRE(nozpresetSetNozzleTargetRate(0, 1200) == 1);
        NozzlePreset stored[NOZPRESET_COUNT];
        REQUIRE(datastoreGetData(DS_TIP_PRESET_TABLE, stored) == DS_OK);
        CHECK(stored[0].targetRate == 1000);
        CHECK(nozpresetTargetRate(0) == 1200);
        REQUIRE(datastoreSetUint16(DS_DENSITY_FACTOR, 0) == DS_OK);
        REQUIRE(nozpresetSetNozzleTargetRate(0, 1500) == 1);
        CHECK(nozpresetTargetRate(0) == 1500);
        nozpresetSetDensityMode(0);
        REQUIRE(datastoreSetUint16(DS_DENSITY_FACTOR, 100) == DS_OK);
    }
}

TEST_CASE("nozzle data: the flow law")
{
    struct Case {
        uint32_t p, pRef, flow, expected;
    };
    const Case cases[] = {
        {276, 200, 1000, 1175}, {200, 276, 1000, 851}, {300, 300, 987, 987}, {400, 100, 1000, 2000},
        {200, 300, 800, 653},   {100, 0, 1000, 0},     {0, 300, 1000, 0},    {300, 200, 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.p);
        CAPTURE(c.pRef);
        CHECK(nozinfoFlowAtPressure(c.p, c.pRef, c.flow) == c.expected);
    }
}

TEST_CASE("nozzle data: the catalogue and the type tables keep their form")
{
    // Records are grouped by family, each family's first record is where the index says.
    std::set<uint32_t> families;
    for (uint32_t i = 0; i < nozzleCatalogueCount(); ++i) {
        const NozzleCatalogueRecord* record = nozzleCatalogueRecord(i);
        CAPTURE(i);
        REQUIRE(record->family >= 1);
        REQUIRE(record->family <= NOZZLE_FAMILY_COUNT);
        if (families.insert(record->family).second)
            CHECK(nozzleFamilyFirstRecord(record->family) == i);
        else
            CHECK(nozzleCatalogueRecord(i - 1)->family == record->family);
        CHECK(record->minPressure < record->maxPressure);
        CHECK(std::strlen(record->designation) > 0);
    }
    CHECK(nozzleCatalogueRecord(nozzleCatalogueCount()) == nozzleCatalogueRecord(0));
    CHECK(nozzleFamilyFirstRecord(0) == 0);
    CHECK(nozzleFamilyFirstRecord(36) == 0);

    uint32_t entries = 0;
    for (uint32_t t = 0; t < NOZZLE_TYPE_COUNT; ++t) {
        CAPTURE(t);
        const NozzleType* type = nozzleType(t);
        REQUIRE(type != nullptr);
        CHECK(type->sizeCount > 0);
        CHECK(type->base == entries);
        entries += type->sizeCount;
        CHECK(std::strlen(nozzleSeriesName(t)) > 0);
        const uint32_t family = nozzleTypeFamily(t);
        for (uint32_t j = 0; j < type->sizeCount; ++j) {
            const NozzleSize& size = type->sizes[j];
            CHECK(size.fromCatalogue == (family != 0 ? 1 : 0));
            if (family != 0) {
                const NozzleCatalogueRecord* record = nozzleCatalogueRecord(nozzleFamilyFirstRecord(family) + j);
                CHECK(record->family == family);
                CHECK(record->sizeCode == size.sizeCode);
            } else {
                CHECK(std::strlen(size.categories) > 0);
                for (const char* letter = size.categories; *letter; ++letter)
                    CHECK(nozzleLetterCode(*letter) < NOZZLE_NO_DROPLET_CODE);
            }
        }
    }
    CHECK(nozzleReferenceCount() == entries);
    CHECK(nozzleType(36) == nullptr);
    CHECK(nozinfoSizeCount(kUserTip) == 5);
    CHECK(nozzleTypeFamily(kUserTip) == 0);
    CHECK(std::string(nozzleSeriesName(0)) == "Twin Fluid");
    CHECK(std::string(nozzleSeriesName(1)) == "General");
    CHECK(std::string(nozzleSeriesName(kUserTip)) == "User Tip");
    CHECK(std::string(nozzleSeriesName(36)) == "User Tip");

    const char letters[] = "CUVXfmuvx?";
    const uint32_t codes[] = {4, 1, 3, 2, 6, 5, 0, 7, 8, 9};
    for (int i = 0; i < 10; ++i)
        CHECK(nozzleLetterCode(letters[i]) == codes[i]);
}

TEST_CASE("nozzle data: every type of 2 to 14 and 19 to 35 has a catalogue family of its own, the others none")
{
    std::set<uint32_t> families;
    for (uint32_t t = 0; t < NOZZLE_TYPE_COUNT + 1; ++t) {
        CAPTURE(t);
        const bool catalogueType = (t >= 2 && t <= 14) || (t >= 19 && t <= 35);
        const uint32_t family = nozzleTypeFamily(t);
        CHECK((family != 0) == catalogueType);
        if (family == 0)
            continue;
        CHECK(families.insert(family).second);
        // Every size of the type has its record, in the family, in size order.
        const uint32_t first = nozzleFamilyFirstRecord(family);
        const uint32_t sizes = nozinfoSizeCount(t);
        REQUIRE(first + sizes <= nozzleCatalogueCount());
        for (uint32_t j = 0; j < sizes; ++j) {
            CAPTURE(j);
            const NozzleCatalogueRecord* record = nozzleCatalogueRecord(first + j);
            CHECK(record->family == family);
            CHECK(record->sizeCode == nozinfoSizeCode(t, j));
            const std::string designation = record->designation;
            CHECK(designation.size() > designation.find('-') + 1);
            CHECK(designation.substr(designation.find('-') + 1) == nozinfoSizeName(t, j));
        }
    }
    CHECK(families.size() == 30);
}

TEST_CASE("nozzle data: a size's code is its capacity colour, distinct within its type")
{
    const struct {
        const char* name;
        uint32_t code;
    } colours[] = {{"01", 2}, {"015", 3}, {"02", 4}, {"025", 5}, {"03", 6},
                   {"04", 8}, {"05", 9},  {"06", 10}, {"08", 11}};
    for (uint32_t t = 0; t < NOZZLE_TYPE_COUNT; ++t) {
        std::set<uint32_t> codes;
        for (uint32_t j = 0; j < nozinfoSizeCount(t); ++j) {
            CAPTURE(t);
            CAPTURE(j);
            const uint32_t code = nozinfoSizeCode(t, j);
            CHECK(codes.insert(code).second);
            // Orifice plates and user tips have sizes without a colour.
            if (t == 17 || t == kUserTip) {
                CHECK(code >= 20);
                continue;
            }
            bool named = false;
            for (const auto& c : colours)
                if (std::string(nozinfoSizeName(t, j)) == c.name) {
                    named = true;
                    CHECK(code == c.code);
                }
            CHECK(named);
        }
    }
}

TEST_CASE("nozzle data: every catalogue record is whole: flows by the flow law, classes falling inside its range")
{
    std::set<std::string> designations;
    for (uint32_t i = 0; i < nozzleCatalogueCount(); ++i) {
        const NozzleCatalogueRecord* r = nozzleCatalogueRecord(i);
        CAPTURE(r->designation);
        CHECK(designations.insert(r->designation).second);
        CHECK(std::strlen(r->shortName) > 0);
        CHECK(r->minPressure > 0.0f);
        CHECK(r->refPressure >= r->minPressure);
        CHECK(r->refPressure <= r->maxPressure);
        CHECK(r->refFlow > 0.0f);
        CHECK(r->flowAtMinPressure == doctest::Approx(r->refFlow * std::sqrt(r->minPressure / r->refPressure)).epsilon(0.001));
        CHECK(r->flowAtMaxPressure == doctest::Approx(r->refFlow * std::sqrt(r->maxPressure / r->refPressure)).epsilon(0.001));
        // Set boundaries fall from class to class and lie in the pressure range.
        float above = r->maxPressure + 1.0f;
        bool anySet = false;
        for (float b : r->bounds) {
            if (b <= 0.0f)
                continue;
            anySet = true;
            CHECK(b < above);
            CHECK(b >= r->minPressure);
            CHECK(b < r->maxPressure);
            above = b;
        }
        if (!anySet)
            continue;
        // From the lowest to the highest pressure every pressure has a class,
        // and the droplets only get finer as the pressure rises.
        uint32_t previous = NOZZLE_CLASS_COUNT + 1;
        for (float p = r->minPressure; p <= r->maxPressure; p += 0.05f) {
            CAPTURE(p);
            const uint32_t k = dropletClassify(r, p);
            CHECK(k != 0);
            CHECK(k <= previous);
            previous = k;
        }
    }
}

TEST_CASE("nozzle data: droplet codes and their pressure bands")
{
    Nozzles env;

    SUBCASE("built-in categories step from the first pressure, rounded to a tenth of a bar")
    {
        struct Case {
            uint32_t pressure, code;
        };
        const Case cases[] = {
            {94, 9},  {95, 4},  {100, 4}, {104, 4}, {105, 4}, {200, 4}, {204, 4},
            {205, 5}, {260, 5}, {404, 5}, {405, 6}, {500, 6}, {504, 6}, {505, 9},
        };
        for (const Case& c : cases) {
            CAPTURE(c.pressure);
            CHECK(nozinfoDropletCode(kUserTip, 0, c.pressure) == c.code);
        }
        uint32_t out = 12345;
        CHECK(nozinfoDropletPressureBand(kUserTip, 0, 5, &out, 0) == 1);
        CHECK(out == 250);
        CHECK(nozinfoDropletPressureBand(kUserTip, 0, 5, &out, 1) == 1);
        CHECK(out == 450);
        CHECK(nozinfoDropletPressureBand(kUserTip, 0, 6, &out, 1) == 1);
        CHECK(out == 500);  // the run reaches the last step
        out = 12345;
        CHECK(nozinfoDropletPressureBand(kUserTip, 0, 8, &out, 0) == 0);
        CHECK(out == 12345);
        CHECK(nozinfoDropletPressureBand(kUserTip, 0, 5, nullptr, 0) == 0);
    }

    SUBCASE("catalogue sizes report the class of the pressure")
    {
        struct Case {
            uint32_t pressure, code;
        };
        const Case cases[] = {{99, 9}, {100, 4}, {150, 4}, {200, 5}, {349, 5}, {350, 6}, {500, 6}, {501, 9}};
        for (const Case& c : cases) {
            CAPTURE(c.pressure);
            CHECK(nozinfoDropletCode(kCatalogueType, 2, c.pressure) == c.code);
        }
        uint32_t out = 0;
        CHECK(nozinfoDropletPressureBand(kCatalogueType, 2, 6, &out, 0) == 1);
        CHECK(out == 350);
        CHECK(nozinfoDropletPressureBand(kCatalogueType, 2, 6, &out, 1) == 1);
        CHECK(out == 500);
        CHECK(nozinfoDropletPressureBand(kCatalogueType, 2, 4, &out, 1) == 1);
        CHECK(out == 200);
        CHECK(nozinfoDropletPressureBand(kCatalogueType, 2, 8, &out, 0) == 0);
        CHECK(nozinfoDropletPressureBand(kCatalogueType, 2, 9, &out, 0) == 0);
    }

    SUBCASE("a catalogue nozzle without class boundaries has no class at any pressure")
    {
        const NozzleCatalogueRecord* record = nozzleCatalogueRecord(nozzleFamilyFirstRecord(6));
        for (float p = record->minPressure; p <= record->maxPressure; p += 0.25f)
            CHECK(dropletClassify(record, p) == 0);
        const uint32_t type = 13;
        REQUIRE(nozzleTypeFamily(type) == 6);
        for (uint32_t p = 0; p < 600; p += 25)
            CHECK(nozinfoDropletCode(type, 0, p) == NOZZLE_NO_DROPLET_CODE);
    }

    SUBCASE("unknown types and sizes")
    {
        CHECK(nozinfoDropletCode(36, 0, 300) == 9);
        CHECK(nozinfoDropletCode(kUserTip, 5, 300) == 9);
        CHECK(nozinfoRefPressure(36, 0, 0) == 0);
        CHECK(nozinfoSystemRefFlow(kUserTip, 5, 0) == 0);
        CHECK(std::string(nozinfoSizeName(kUserTip, 5)).empty());
        CHECK(nozinfoSetCustomRefFlow(36, 0, 5) == 0);
    }
}

TEST_CASE("nozzle data: reference modes, pressure limits and custom values")
{
    Nozzles env;

    SUBCASE("built-in flows follow the reference mode without drifting")
    {
        CHECK(nozinfoSystemRefFlow(3, 2, 0) == 653);
        CHECK(nozinfoRefPressure(3, 2, 0) == 200);
        for (int round = 0; round < 3; ++round) {
            nozinfoSetReferenceMode(1);
            // The pressure asked first must not leave the flow at the old reference.
            CHECK(nozinfoRefPressure(3, 2, 0) == 276);
            CHECK(nozinfoSystemRefFlow(3, 2, 0) == 767);
            nozinfoSetReferenceMode(0);
            CHECK(nozinfoSystemRefFlow(3, 2, 0) == 653);
            CHECK(nozinfoRefPressure(3, 2, 0) == 200);
        }
        nozinfoSetReferenceMode(2);
        CHECK(nozinfoGetReferenceMode() == 0);
        CHECK(nozinfoRefPressure(3, 2, NOZINFO_FLAG_STATIC) == 200);
        CHECK(nozinfoSystemRefFlow(3, 2, NOZINFO_FLAG_STATIC) == 653);
    }

    SUBCASE("pressure limits from the table and from the built-in data")
    {
        CHECK(nozinfoPressureLimit(kUserTip, 0, 0) == 100);
        CHECK(nozinfoPressureLimit(kUserTip, 0, NOZINFO_FLAG_MAXIMUM) == 500);
        CHECK(nozinfoPressureLimit(kCatalogueType, 0, 0) == 100);
        CHECK(nozinfoPressureLimit(kCatalogueType, 0, NOZINFO_FLAG_MAXIMUM) == 500);
        REQUIRE(nozinfoSetCustomPressRange(kUserTip, 0, 150, 400) == 1);
        CHECK(nozinfoPressureLimit(kUserTip, 0, 0) == 150);
        CHECK(nozinfoPressureLimit(kUserTip, 0, NOZINFO_FLAG_MAXIMUM) == 400);
        CHECK(nozinfoPressureLimit(kUserTip, 0, NOZINFO_FLAG_STATIC | NOZINFO_FLAG_MAXIMUM) == 500);
        // A pressure range alone does not make the entry custom: its flow still follows the mode.
        nozinfoSetReferenceMode(1);
        CHECK(nozinfoRefPressure(kUserTip, 0, 0) == 276);
        nozinfoSetReferenceMode(0);
    }

    SUBCASE("custom values survive a change of the reference mode and a restart")
    {
        REQUIRE(nozinfoSetCustomRefFlow(kUserTip, 2, 1234) == 1);
        REQUIRE(nozinfoSetCustomRefPress(kUserTip, 2, 310) == 1);
        nozinfoSetReferenceMode(1);
        CHECK(nozinfoSystemRefFlow(kUserTip, 2, 0) == 1234);
        CHECK(nozinfoRefPressure(kUserTip, 2, 0) == 310);
        CHECK(nozinfoSystemRefFlow(kUserTip, 1, 0) == nozinfoFlowAtPressure(276, 300, 800));

        const std::string file = readTextFile(nozinfoCustomFilePath());
        CHECK(file.find("[noz_custom]") != std::string::npos);
        CHECK(nozinfoCustomFilePath() == coreTestWorkDir().substr(0, coreTestWorkDir().rfind('/')) +
                                             "/usr/local/velmar/share/config/nozinfo.ini");

        // A restart in the other mode reads them back.
        nozinfoSetReferenceMode(0);
        REQUIRE(nozinfoInit(0) == 1);
        CHECK(nozinfoSystemRefFlow(kUserTip, 2, 0) == 1234);
        CHECK(nozinfoRefPressure(kUserTip, 2, 0) == 310);

        // A reset of the nozzle data removes them.
        REQUIRE(nozinfoInit(1) == 1);
        CHECK(nozinfoSystemRefFlow(kUserTip, 2, 0) == nozinfoFlowAtPressure(200, 300, 1200));
        CHECK(readTextFile(nozinfoCustomFilePath()).find("ref_flow") == std::string::npos);
    }

    SUBCASE("keys for types or sizes that do not exist, and values that are no numbers, are ignored")
    {
        REQUIRE(writeTextFile(nozinfoCustomFilePath(), "[noz_custom]\n36\\0\\ref_flow=5\n18\\5\\ref_flow=5\n"
                                                       "18\\1\\ref_flow=abc\n18\\1\\min_press=70000\n"
                                                       "18\\0\\ref_flow=4321\nbroken=1\n"));
        REQUIRE(nozinfoInit(0) == 1);
        CHECK(nozinfoSystemRefFlow(kUserTip, 0, 0) == 4321);
        CHECK(nozinfoSystemRefFlow(kUserTip, 1, 0) == nozinfoFlowAtPressure(200, 300, 800));
        CHECK(nozinfoPressureLimit(kUserTip, 1, 0) == 100);
    }
}
