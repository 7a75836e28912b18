#include "cfgfile.h"

#include "datastore.h"
#include "mempool.h"
#include "test_capture.h"
#include "test_root.h"
#include "toolsmisc.h"

#include <doctest/doctest.h>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

alignas(8) unsigned char poolRegion[262144];

// The datastore with its items and pool 1, as the platform start-up leaves them.
struct Store {
    Store()
    {
        static bool ready = false;
        if (!ready) {
            REQUIRE(memInit(poolRegion, sizeof poolRegion, 16384) == 1);
            REQUIRE(datastoreInit(2) == 0);
            ready = true;
        }
        datastoreSetFirstRun(0);
    }
};

// Sub-parameter functions standing in for the process core's.
int32_t tipCounts[4] = {0, 6, 7, 8};
int32_t nozzle[5][2] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}};
int32_t setCalls = 0;

uint32_t getTips(uint32_t, uint32_t sub, int32_t* value)
{
    if (sub > 3)
        return 0;
    *value = tipCounts[sub];
    return 1;
}
uint32_t setTips(uint32_t, uint32_t sub, int32_t value)
{
    ++setCalls;
    if (sub > 3)
        return 0;
    tipCounts[sub] = value;
    return 1;
}
uint32_t getNozzle(uint32_t preset, uint32_t sub, int32_t* value)
{
    if (sub > 1)
        return 0;
    *value = nozzle[preset][sub];
    return 1;
}
uint32_t setNozzle(uint32_t preset, uint32_t sub, int32_t value)
{
    if (sub > 1)
        return 0;
    nozzle[preset][sub] = value;
    return 1;
}

struct ItemEntry { uint32_t index; uint32_t item; int32_t defaultValue; int32_t scale; };

// The console's table: 51 item entries and six callback entries (44 to 49).
const ItemEntry consoleItems[] = {
    {0, 61, 0, 1},     {1, 34, 5000, 0},  {2, 35, 0, 0},     {3, 36, 0, 0},     {4, 14, 1, 0},
    {5, 15, 0, 0},     {6, 16, 0, 0},     {7, 17, 0, 0},     {8, 19, 1, 0},     {9, 20, 0, 0},
    {10, 21, 0, 0},    {11, 22, 0, 0},    {12, 27, 0, 0},    {13, 32, 9, 0},    {14, 37, 60, 0},
    {15, 38, 2500, 0}, {16, 39, 60, 0},   {17, 40, 35, 0},   {18, 41, 15, 0},   {19, 44, 0, 0},
    {20, 45, 121, 0},  {21, 46, 3, 0},    {22, 49, 100, 0},  {23, 50, 100, 0},  {24, 51, 2000, 0},
    {25, 52, 2000, 0}, {26, 212, 650000, 0}, {27, 54, 0, 0}, {28, 55, 2500, 0}, {29, 56, 0, 0},
    {30, 57, 40, 0},   {31, 58, 1023, 0}, {32, 62, 14, 0},   {33, 63, 6, 0},    {34, 69, 500, 0},
    {35, 70, 600, 0},  {36, 71, 258, 0},  {37, 116, 0, 0},   {38, 134, 650000, 0}, {39, 146, 9, 0},
    {40, 147, 1, 0},   {41, 148, 6048, 0}, {42, 149, 2753, 0}, {43, 113, 0, 0},  {50, 4, 2057, 0},
    {51, 152, 0, 0},   {52, 206, 0, 0},   {53, 205, 0, 0},   {54, 211, 0, 0},   {55, 48, 10, 0},
    {56, 207, 5, 0},
};

void defineConsoleTable()
{
    REQUIRE(cfgFileSetHeader("KESTROM_SPRAYER", "KESTROM", 100, 57) == 1);
    for (const ItemEntry& e : consoleItems)
        REQUIRE(cfgFileDefineItemParam(e.index, e.item, e.defaultValue, e.scale, CFG_APPLY_ALWAYS) == 1);
    REQUIRE(cfgFileDefineCallbackParam(44, setTips, getTips, 0) == 1);
    for (uint32_t preset = 0; preset < 5; ++preset)
        REQUIRE(cfgFileDefineCallbackParam(45 + preset, setNozzle, getNozzle, preset) == 1);
}

std::string expectedExport()
{
    std::string text;
    auto line = [&text](const std::string& l) { text += l + "\n\r"; };
    line("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    line("<FILE>");
    line("<HEADER>");
    line("<VERSION>1.0.0</VERSION>");
    line("<CONTENTS>VELMAR STANDARD CONFIGURATION DATA</CONTENTS>");
    line("<DESCRIPTION_AT_MMI>CFGFILE</DESCRIPTION_AT_MMI>");
    line("</HEADER>");
    line("<SUPPORTED_APPLICATIONS>");
    line("<APPLICATION>");
    line("<IMPLEMENT_NAME>KESTROM_SPRAYER</IMPLEMENT_NAME>");
    line("<SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION>");
    line("</APPLICATION>");
    line("</SUPPORTED_APPLICATIONS>");
    line("<SETUP>");
    line("<INFO>");
    line("<SETUP_VERSION>1.0.0</SETUP_VERSION>");
    line("<CHANGE_ID>1.0.0</CHANGE_ID>");
    line("</INFO>");
    for (uint32_t index = 0; index < 57; ++index) {
        line("<PARAM>");
        line("<ID>" + std::to_string(index) + "</ID>");
        if (index >= 44 && index <= 49) {
            for (uint32_t sub = 0; sub < (index == 44 ? 4u : 2u); ++sub) {
                const int32_t value = index == 44 ? tipCounts[sub] : nozzle[index - 45][sub];
                line("<SUB_PARAM>");
                line("<ID>" + std::to_string(sub) + "</ID>");
                line("<DATA>" + std::to_string(value) + "</DATA>");
                line("</SUB_PARAM>");
            }
        } else {
            for (const ItemEntry& e : consoleItems)
                if (e.index == index)
                    line("<DATA>" + std::to_string(datastoreGetAsInt32(e.item)) + "</DATA>");
        }
        line("</PARAM>");
    }
    line("</SETUP>");
    line("</FILE>");
    return text;
}

std::string document(const std::string& header, const std::string& applications, const std::string& setup)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FILE>\n" + header + applications + setup + "</FILE>\n";
}

const std::string goodHeader =
    "<HEADER><VERSION>1.0.0</VERSION><CONTENTS>VELMAR STANDARD CONFIGURATION DATA</CONTENTS>"
    "<DESCRIPTION_AT_MMI>from the stick</DESCRIPTION_AT_MMI></HEADER>\n";
const std::string goodApplications =
    "<SUPPORTED_APPLICATIONS><APPLICATION><IMPLEMENT_NAME>KESTROM_SPRAYER</IMPLEMENT_NAME>"
    "<SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION></APPLICATION></SUPPORTED_APPLICATIONS>\n";

std::string setup(const std::string& params, const std::string& version = "1.0.0")
{
    return "<SETUP><INFO><SETUP_VERSION>" + version + "</SETUP_VERSION><CHANGE_ID>7.1</CHANGE_ID></INFO>\n" +
           params + "</SETUP>\n";
}

std::string param(const std::string& id, const std::string& data)
{
    return "<PARAM><ID>" + id + "</ID><DATA>" + data + "</DATA></PARAM>\n";
}

// A small table of three item entries: tank content (scale 10), sections, tip spacing.
void defineSmallTable(uint32_t sectionsMode = CFG_APPLY_ALWAYS)
{
    REQUIRE(cfgFileSetHeader("KESTROM_SPRAYER", "KESTROM", 100, 3) == 1);
    REQUIRE(cfgFileDefineItemParam(0, 34, 5000, 10, CFG_APPLY_ALWAYS) == 1);
    REQUIRE(cfgFileDefineItemParam(1, 32, 9, 0, sectionsMode) == 1);
    REQUIRE(cfgFileDefineItemParam(2, 69, 500, 0, CFG_APPLY_ALWAYS) == 1);
}

}  // namespace

TEST_CASE("the console's table exports line for line and reads back")
{
    TestRoot root;
    Store store;
    REQUIRE(datastoreSetFromUint32(34, 4200) == 0);
    REQUIRE(datastoreSetFromUint32(32, 7) == 0);
    REQUIRE(datastoreSetFromUint32(69, 750) == 0);
    defineConsoleTable();
    const std::string path = root.path("/cfgfile.xml");
    REQUIRE(writeTextFile(path, std::string(20000, 'x')));
    CHECK(cfgFileWrite(path.c_str()) == 1);
    const std::string expected = expectedExport();
    CHECK(readTextFile(path) == expected);

    const int32_t writtenTips[4] = {tipCounts[0], tipCounts[1], tipCounts[2], tipCounts[3]};
    REQUIRE(datastoreSetFromUint32(34, 1000) == 0);
    REQUIRE(datastoreSetFromUint32(32, 3) == 0);
    REQUIRE(datastoreSetFromUint32(69, 100) == 0);
    tipCounts[1] = tipCounts[2] = tipCounts[3] = 0;
    defineConsoleTable();
    CHECK(cfgFileRead(path.c_str()) == 1);
    CHECK(datastoreGetAsInt32(34) == 4200);
    CHECK(datastoreGetAsInt32(32) == 7);
    CHECK(datastoreGetAsInt32(69) == 750);
    CHECK(std::memcmp(tipCounts, writtenTips, sizeof tipCounts) == 0);
    CHECK(cfgFileIsParamRead(44) == 1);
    char text[8];
    cfgFileGetChangeId(text, sizeof text);
    CHECK(std::string(text) == "1.0.0");
    cfgFileGetDescription(text, 4);
    CHECK(std::string(text) == "CFG");
}

TEST_CASE("a scaled item is written divided and read back multiplied")
{
    TestRoot root;
    Store store;
    REQUIRE(datastoreSetFromUint32(34, 255) == 0);
    defineSmallTable();
    const std::string path = root.path("/scaled.xml");
    REQUIRE(cfgFileWrite(path.c_str()) == 1);
    CHECK(readTextFile(path).find("<ID>0</ID>\n\r<DATA>25</DATA>") != std::string::npos);
    defineSmallTable();
    CHECK(cfgFileRead(path.c_str()) == 1);
    CHECK(datastoreGetAsInt32(34) == 250);
}

TEST_CASE("refused files apply no value of their own")
{
    TestRoot root;
    Store store;
    const std::string params = param("1", "5") + param("2", "800");
    struct Case { const char* name; std::string text; };
    const Case cases[] = {
        {"contents", document("<HEADER><VERSION>1.0.0</VERSION><CONTENTS>VELMAR STANDARD</CONTENTS></HEADER>",
                              goodApplications, setup(params))},
        {"old setup", document(goodHeader, goodApplications, setup(params, "0.9.9"))},
        {"long setup", document(goodHeader, goodApplications, setup(params, "1.0.0.0.0.0.0"))},
        {"param first", document(goodHeader, setup(params), goodApplications)},
        {"no application", document(goodHeader,
                                    "<SUPPORTED_APPLICATIONS><APPLICATION><IMPLEMENT_NAME>OTHER</IMPLEMENT_NAME>"
                                    "<SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION></APPLICATION>"
                                    "</SUPPORTED_APPLICATIONS>",
                                    setup(params))},
        {"truncated", document(goodHeader, goodApplications, setup(params)).substr(0, 400)},
    };
    for (const Case& c : cases) {
        const std::string name = c.name;
        CAPTURE(name);
        REQUIRE(datastoreSetFromUint32(32, 4) == 0);
        REQUIRE(datastoreSetFromUint32(69, 300) == 0);
        const std::string path = root.path("/refused.xml");
        REQUIRE(writeTextFile(path, c.text));
        defineSmallTable();
        CHECK(cfgFileRead(path.c_str()) == 0);
        CHECK(datastoreGetAsInt32(32) == 9);
        CHECK(datastoreGetAsInt32(69) == 500);
    }
}

TEST_CASE("a missing file sets the always-apply items to their defaults")
{
    TestRoot root;
    Store store;
    REQUIRE(datastoreSetFromUint32(32, 4) == 0);
    REQUIRE(datastoreSetFromUint32(69, 300) == 0);
    defineSmallTable(CFG_APPLY_FIRST_RUN);
    CHECK(cfgFileRead(root.path("/missing.xml").c_str()) == 0);
    CHECK(datastoreGetAsInt32(69) == 500);
    CHECK(datastoreGetAsInt32(32) == 4);
    datastoreSetFirstRun(1);
    defineSmallTable(CFG_APPLY_FIRST_RUN);
    CHECK(cfgFileRead(root.path("/missing.xml").c_str()) == 0);
    CHECK(datastoreGetAsInt32(32) == 9);
    datastoreSetFirstRun(0);
}

TEST_CASE("parameters that do not fit are ignored while the read goes on")
{
    TestRoot root;
    Store store;
    const std::string secondApplication =
        "<SUPPORTED_APPLICATIONS><APPLICATION><IMPLEMENT_NAME>OTHER</IMPLEMENT_NAME>"
        "<SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION></APPLICATION><APPLICATION>"
        "<IMPLEMENT_NAME>KESTROM_SPRAYER_X</IMPLEMENT_NAME><SYSTEM_DESCRIPTION>KESTROM</SYSTEM_DESCRIPTION>"
        "</APPLICATION></SUPPORTED_APPLICATIONS>";
    const std::string params = param("3", "1") +          // beyond the table
                               param("65537", "12") +     // would wrap onto entry 1
                               param("2", "123456789012") + // DATA too long
                               param("1", "100000") +     // outside the item's limits
                               param("0", "") +           // empty counts as 0
                               param("2", "640");
    const std::string path = root.path("/partial.xml");
    REQUIRE(writeTextFile(path, document(goodHeader, secondApplication, setup(params, "v1+0-0")) + "<trailing"));
    REQUIRE(datastoreSetFromUint32(32, 4) == 0);
    defineSmallTable();
    CHECK(cfgFileRead(path.c_str()) == 1);
    CHECK(datastoreGetAsInt32(32) == 9);
    CHECK(cfgFileIsParamRead(1) == 0);
    CHECK(datastoreGetAsInt32(69) == 640);
    CHECK(cfgFileIsParamRead(0) == 1);
    int32_t value = -1;
    CHECK(cfgFileGetParamValue(0, &value) == 1);
    CHECK(value == 0);
    CHECK(cfgFileGetParamValue(3, &value) == 0);
}

TEST_CASE("sub-parameters reach their set function only after the parameter's id")
{
    TestRoot root;
    Store store;
    REQUIRE(cfgFileSetHeader("KESTROM_SPRAYER", "KESTROM", 100, 2) == 1);
    REQUIRE(cfgFileDefineItemParam(0, 69, 500, 0, CFG_APPLY_ALWAYS) == 1);
    REQUIRE(cfgFileDefineCallbackParam(1, setTips, getTips, 0) == 1);
    const std::string sub = "<SUB_PARAM><ID>2</ID><DATA>11</DATA></SUB_PARAM>"
                            "<SUB_PARAM><ID>3</ID><DATA>12</DATA></SUB_PARAM>";
    const std::string params = "<PARAM>" + sub + "<ID>1</ID></PARAM>\n"  // no id before the sub-parameters
                               "<PARAM><ID>1</ID>" + sub + "</PARAM>\n"
                               "<PARAM><ID>0</ID>" + sub + "<DATA>900</DATA></PARAM>\n";
    const std::string path = root.path("/subs.xml");
    REQUIRE(writeTextFile(path, document(goodHeader, goodApplications, setup(params))));
    tipCounts[2] = tipCounts[3] = 0;
    setCalls = 0;
    CHECK(cfgFileRead(path.c_str()) == 1);
    CHECK(setCalls == 2);
    CHECK(tipCounts[2] == 11);
    CHECK(tipCounts[3] == 12);
    CHECK(cfgFileIsParamRead(1) == 1);
    CHECK(datastoreGetAsInt32(69) == 500);
}

TEST_CASE("an export that fills the stick leaves the previous file whole")
{
    TestRoot root;
    Store store;
    defineConsoleTable();
    REQUIRE(makeDirs(root.path("/media/sda1")));
    const std::string path = root.path("/media/sda1/cfgfile.xml");
    const std::string previous = expectedExport().substr(0, 300) + "</SETUP>\n\r</FILE>\n\r";
    REQUIRE(writeTextFile(path, previous));
    const int status = runInChild([&path] { return limitFileSize(512) && cfgFileWrite(path.c_str()) == 0 ? 0 : 1; },
                                  nullptr);
    CHECK(status == 0);
    CHECK(readTextFile(path) == previous);
    CHECK(cfgFileWrite(path.c_str()) == 1);
    CHECK(readTextFile(path) == expectedExport());
}

TEST_CASE("the export reports failure when the text is not written")
{
    TestRoot root;
    Store store;
    defineSmallTable();
    const std::string blocker = root.path("/plainfile");
    REQUIRE(writeTextFile(blocker, "x"));
    CHECK(cfgFileWrite((blocker + "/cfgfile.xml").c_str()) == 0);

    // A table whose text outgrows the buffer writes nothing.
    REQUIRE(cfgFileSetHeader("KESTROM_SPRAYER", "KESTROM", 100, 1) == 1);
    REQUIRE(cfgFileDefineCallbackParam(0, setTips, [](uint32_t, uint32_t sub, int32_t* value) -> uint32_t {
        *value = int32_t(sub);
        return sub < 100000;
    }, 0) == 1);
    const std::string path = root.path("/huge.xml");
    CHECK(cfgFileWrite(path.c_str()) == 0);
    CHECK(access(path.c_str(), F_OK) != 0);

    CHECK(cfgFileSetHeader(std::string(33, 'n').c_str(), "KESTROM", 100, 3) == 0);
    CHECK(cfgFileWrite(path.c_str()) == 0);
    CHECK(cfgFileRead(path.c_str()) == 0);
    CHECK(cfgFileSetSetupVersion("1234567890123") == 0);
    CHECK(cfgFileSetChangeId(std::string(33, 'c').c_str()) == 0);
}
