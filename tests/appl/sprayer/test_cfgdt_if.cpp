#include "cfgdt_if.h"

#include "cfgfile.h"
#include "coretables_env.h"
#include "eventids.h"
#include "filefunc.h"
#include "toolsmisc.h"
#include "nozinfo.h"
#include "nozpreset.h"

#include <algorithm>
#include <string>

namespace {

// The store, the nozzle data and a tip table of 9 sections with 6 tips each.
struct Config : CoreEnv {
    Config()
    {
        REQUIRE(nozinfoInit(0) == 1);
        REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 9) == DS_OK);
        REQUIRE(datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 13) == DS_OK);
        REQUIRE(datastoreSetUint16(DS_TIP_SPACING, 500) == DS_OK);
        for (uint32_t i = 1; i <= 9; ++i)
            cfgdtSetSectionTips(i, 6);
        removeRegularFile(cfgdtConfigFilePath());
        takeCoreEvents();
    }
};

std::string exportText()
{
    const std::string path = coreTestWorkDir() + "/export.xml";
    REQUIRE(ConfigurationWrite(path.c_str()) == 1);
    return readTextFile(path);
}

// Replaces the DATA of PARAM entry in an exported text.
std::string withParam(std::string text, uint32_t entry, const std::string& data)
{
    const std::string id = "<ID>" + std::to_string(entry) + "</ID>";
    const size_t at = text.find(id);
    REQUIRE(at != std::string::npos);
    const size_t open = text.find("<DATA>", at);
    const size_t close = text.find("</DATA>", open);
    return text.replace(open + 6, close - open - 6, data);
}

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST_CASE("configuration data: export and read back")
{
    Config env;
    REQUIRE(datastoreSetUint16(DS_TANK_MAX_CONTENT, 3200) == DS_OK);
    REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 700000) == DS_OK);
    REQUIRE(datastoreSetUint16(DS_LANGUAGE_ID, 1031) == DS_OK);
    cfgdtSetSectionTips(3, 8);
    cfgdtSetSectionTips(9, 11);
    REQUIRE(nozpresetSetNozzleType(2, 16) == 1);
    REQUIRE(nozpresetSetNozzleSizeIx(2, 1) == 1);
    const std::string text = exportText();
    CHECK(text.find("KESTROM_SPRAYER") != std::string::npos);
    REQUIRE(writeTextFile(cfgdtConfigFilePath(), text));

    // Everything changes after the export; the read brings the exported values back.
    REQUIRE(datastoreSetUint16(DS_TANK_MAX_CONTENT, 100) == DS_OK);
    REQUIRE(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 650000) == DS_OK);
    REQUIRE(datastoreSetUint16(DS_LANGUAGE_ID, 2057) == DS_OK);
    cfgdtSetSectionTips(3, 1);
    cfgdtSetSectionTips(9, 1);
    REQUIRE(nozpresetSetNozzleType(2, 3) == 1);
    REQUIRE(nozpresetSetNozzleSizeIx(2, 5) == 1);

    CHECK(ConfigurationReadIn(CFGDT_READ_IMPORT) == 1);
    CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 3200);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 700000);
    CHECK(datastoreGetUint16(DS_LANGUAGE_ID) == 1031);
    CHECK(cfgdtGetSectionTips(3) == 8);
    CHECK(cfgdtGetSectionTips(9) == 11);
    CHECK(cfgdtGetSectionTips(1) == 6);
    CHECK(nozpresetGetNozzleType(2) == 16);
    CHECK(nozpresetGetNozzleSizeIx(2) == 1);
    // A second export is the first one again: every entry kept its value.
    CHECK(exportText() == text);
    CHECK(count(text, "<PARAM>") == CFGDT_ENTRY_COUNT);
    CHECK(fileExists(cfgdtConfigFilePath()));
}

TEST_CASE("configuration data: reasons, missing and refused files")
{
    Config env;
    const std::string text = exportText();

    SUBCASE("any reason but start-up and import does nothing")
    {
        REQUIRE(writeTextFile(cfgdtConfigFilePath(), withParam(text, 1, "1234")));
        CHECK(ConfigurationReadIn(0) == 0);
        CHECK(ConfigurationReadIn(336) == 0);
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) != 1234);
        CHECK(ConfigurationReadIn(CFGDT_READ_STARTUP) == 1);
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 1234);
    }

    SUBCASE("a missing file gives every item its default and is not an error to delete")
    {
        REQUIRE(datastoreSetUint16(DS_TANK_MAX_CONTENT, 1234) == DS_OK);
        CHECK(ConfigurationReadIn(CFGDT_READ_STARTUP) == 0);
        CHECK(datastoreGetUint16(DS_TANK_MAX_CONTENT) == 5000);
        CHECK(cfgdtGetSectionTips(2) == 6);
    }

    SUBCASE("a refused file is deleted and its sub-parameters are not applied")
    {
        std::string broken = withParam(text, 13, "9");
        broken.replace(broken.find("</SETUP>"), 8, "</SETUP");  // never closes
        // The tip counts of the file differ from the table's.
        while (broken.find("<DATA>6</DATA>") != std::string::npos)
            broken.replace(broken.find("<DATA>6</DATA>"), 14, "<DATA>77</DATA>");
        REQUIRE(writeTextFile(cfgdtConfigFilePath(), broken));
        CHECK(ConfigurationReadIn(CFGDT_READ_IMPORT) == 0);
        CHECK_FALSE(fileExists(cfgdtConfigFilePath()));
        for (uint32_t i = 1; i <= 9; ++i)
            CHECK(cfgdtGetSectionTips(i) == 6);
    }
}

TEST_CASE("configuration data: section counts from the file")
{
    Config env;
    const std::string text = exportText();
    // Twelve sections in the file, with twelve tip counts.
    std::string twelve = withParam(text, 13, "12");
    const std::string lastTip = "<SUB_PARAM>\n\r<ID>9</ID>\n\r<DATA>6</DATA>\n\r</SUB_PARAM>";
    const size_t at = twelve.find(lastTip);
    REQUIRE(at != std::string::npos);
    std::string more;
    for (uint32_t i = 10; i <= 12; ++i)
        more += "\n\r<SUB_PARAM>\n\r<ID>" + std::to_string(i) + "</ID>\n\r<DATA>" + std::to_string(i) +
                "</DATA>\n\r</SUB_PARAM>";
    twelve.insert(at + lastTip.size(), more);

    SUBCASE("a file with 12 sections keeps all 12 tip counts")
    {
        REQUIRE(writeTextFile(cfgdtConfigFilePath(), twelve));
        CHECK(ConfigurationReadIn(CFGDT_READ_IMPORT) == 1);
        CHECK(datastoreGetUint16(DS_NUMBER_OF_SECTIONS) == 12);
        for (uint32_t i = 10; i <= 12; ++i)
            CHECK(cfgdtGetSectionTips(i) == i);
        // 13 switches: nothing to reduce.
        for (const PostedEvent& event : takeCoreEvents())
            CHECK(event.first != EV_SET_NUMBER_OF_SECTIONS);
    }

    SUBCASE("more sections than switches posts the switch count")
    {
        REQUIRE(datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 9) == DS_OK);
        REQUIRE(writeTextFile(cfgdtConfigFilePath(), twelve));
        CHECK(ConfigurationReadIn(CFGDT_READ_STARTUP) == 1);
        bool posted = false;
        for (const PostedEvent& event : takeCoreEvents())
            posted = posted || (event.first == EV_SET_NUMBER_OF_SECTIONS && event.second == 9);
        CHECK(posted);
    }
}

TEST_CASE("configuration data: section tips and widths")
{
    Config env;

    SUBCASE("sums over a bitmap; bit 0 is no section")
    {
        cfgdtSetSectionTips(1, 4);
        cfgdtSetSectionTips(9, 10);
        const uint16_t bitmap[7] = {static_cast<uint16_t>((1u << 0) | (1u << 1) | (1u << 9)), 0, 0, 0, 0, 0, 0};
        CHECK(cfgdtSumSectionTips(bitmap) == 14);
        CHECK(cfgdtSumSectionWidth(bitmap) == 7000);
        CHECK(cfgdtGetSectionWidth(9) == 5000);
        const uint16_t none[7] = {1, 0, 0, 0, 0, 0, 0};
        CHECK(cfgdtSumSectionTips(none) == 0);
    }

    SUBCASE("sections beyond the count or the table are out of range")
    {
        cfgdtSetSectionTips(10, 3);
        CHECK(cfgdtGetSectionTips(10) == 0);
        REQUIRE(datastoreSetUint16(DS_NUMBER_OF_SECTIONS, 99) == DS_OK);
        cfgdtSetSectionTips(99, 3);
        CHECK(cfgdtGetSectionTips(99) == 0);
        CHECK(cfgdtGetSectionWidth(99) == 0);
        int32_t value = 0;
        CHECK(cfgdtGetSectionTipsParam(0, 99, &value) == 0);
        CHECK(cfgdtSetSectionTipsParam(0, 99, 5) == 0);
        cfgdtSetSectionTips(98, 3);
        CHECK(cfgdtGetSectionTips(98) == 3);
        uint16_t all[7];
        std::fill(all, all + 7, 0xFFFF);
        CHECK(cfgdtSumSectionTips(all) > 0);
    }

    SUBCASE("the table is stored and loaded")
    {
        cfgdtSetSectionTips(5, 13);
        uint16_t stored[CFGDT_TIP_TABLE_SIZE];
        REQUIRE(datastoreGetData(DS_BOOM_SECTION_TABLE, stored) == DS_OK);
        CHECK(stored[5] == 13);
        stored[5] = 2;
        REQUIRE(datastoreSetData(DS_BOOM_SECTION_TABLE, stored) == DS_OK);
        cfgdtInitSectionTips(1);  // a count was set since start-up: loads
        CHECK(cfgdtGetSectionTips(5) == 2);
    }
}

TEST_CASE("configuration data: the part number decides the default of entry 52")
{
    struct Case {
        const char* partNumber;
        uint32_t flag;
    };
    const Case cases[] = {
        {"512-201", 1}, {"512-202", 1}, {"512-203", 1}, {"512-204", 1}, {"512-204x", 0},
        {"512-2041", 0}, {"512-205", 0}, {"512-20", 0}, {"", 0}, {nullptr, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.partNumber == nullptr ? "(none)" : c.partNumber);
        CHECK(cfgdtPartNumberFlagDefault(c.partNumber) == c.flag);
    }
}

TEST_CASE("configuration data: malformed files never crash the read nor reach the tables")
{
    Config env;
    const std::string text = exportText();
    // Every cut of the valid file, and the file with single bytes changed.
    std::vector<std::string> corpus;
    for (size_t length = 0; length < text.size(); length += 37)
        corpus.push_back(text.substr(0, length));
    const char noise[] = {'<', '>', '/', '\0', '9', '-', 'x', '\xff'};
    for (size_t at = 0; at < text.size(); at += 53) {
        std::string mutated = text;
        mutated[at] = noise[at % sizeof noise];
        corpus.push_back(mutated);
    }
    corpus.push_back(std::string(5000, '<'));
    corpus.push_back("<FILE><FILE><FILE>");
    for (const std::string& file : corpus) {
        for (uint32_t i = 1; i <= 9; ++i)
            cfgdtSetSectionTips(i, 6);
        REQUIRE(writeTextFile(cfgdtConfigFilePath(), file));
        if (ConfigurationReadIn(CFGDT_READ_IMPORT) == 1)
            continue;  // a change that still makes a whole, valid file
        CHECK_FALSE(fileExists(cfgdtConfigFilePath()));
        for (uint32_t i = 1; i <= 9; ++i)
            REQUIRE(cfgdtGetSectionTips(i) == 6);
    }
}
