#include "datalogcan.h"

#include "datastore.h"
#include "filefunc.h"

#include "coretables_env.h"
#include "test_capture.h"

#include <cstring>
#include <memory>
#include <string>

namespace {

std::string switchFile()
{
    return coreTestWorkDir() + "/noOfPhysicalSectionSwitch";
}

}  // namespace

TEST_CASE("section-switch file: the parser reads two numbers and never more than the text")
{
    struct Case {
        const char* name;
        std::string text;
        uint32_t ok, count, flag;
    };
    const Case cases[] = {
        {"as created", "07;1;", 1, 7, 1},
        {"as rewritten", "11;0;", 1, 11, 0},
        {"a shorter rewrite over a longer text", "9;0;;", 1, 9, 0},
        {"no terminating ;", "07;1", 0, 0, 0},
        {"no ; at all", "0712", 0, 0, 0},
        {"empty", "", 0, 0, 0},
        {"a number longer than 11 characters", "123456789012;1;", 0, 0, 0},
        {"a second number longer than 11 characters", "7;123456789012;", 0, 0, 0},
        {"11 characters are fine", "00000000007;1;", 1, 7, 1},
        {"binary bytes", std::string("\xff\x00;\x01\x02;", 6), 1, 0, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.name);
        // An exact-size heap copy: AddressSanitizer reports any read past it.
        std::unique_ptr<char[]> text(new char[c.text.size() + 1]);
        std::memcpy(text.get(), c.text.data(), c.text.size());
        uint32_t count = 99, flag = 99;
        CHECK(sectionSwitchParse(text.get(), static_cast<uint32_t>(c.text.size()), &count, &flag) == c.ok);
        CHECK(count == (c.ok ? c.count : 99));
        CHECK(flag == (c.ok ? c.flag : 99));
    }
}

TEST_CASE("section-switch file: an existing file is read, a malformed one leaves the items")
{
    struct Case {
        std::string text;
        uint32_t count, flag;
    };
    const Case cases[] = {
        {"07;1;", 7, 1},
        {"9;0;;", 9, 0},
        {"12", 3, 0},
        {std::string(200, '7') + ";1;", 3, 0},
        {std::string("\x01\x02\x03\x04", 4), 3, 0},
    };
    for (const Case& c : cases) {
        REQUIRE(writeTextFile(switchFile() + ".pre", c.text));
        std::string output;
        // A fresh process: the file is read once per start.
        const int status = runInChild(
            [&c] {
                CoreEnv env;
                datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 3);
                datastoreSetBool(DS_HW_13_SECTIONS, 0);
                const std::string path = switchFile() + ".pre";
                sectionSwitchFileInit(path.c_str());
                if (datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) != c.count)
                    return 1;
                if (datastoreGetBool(DS_HW_13_SECTIONS) != c.flag)
                    return 2;
                return readTextFile(path) == c.text ? 0 : 3;
            },
            &output);
        CAPTURE(c.text);
        CHECK(status == 0);
    }
}

// Runs after the cases above: the file is set up once per process, and their
// children must start without it.
TEST_CASE("section-switch file: created from the configured values, rewritten without truncation")
{
    CoreEnv env;
    REQUIRE(datastoreSetUint8(DS_PHYS_SECTION_SWITCHES_CFG, 7) == 0);
    REQUIRE(datastoreSetBool(DS_HW_13_SECTIONS_CFG, 1) == 0);
    REQUIRE(datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, 3) == 0);
    REQUIRE(datastoreSetBool(DS_HW_13_SECTIONS, 0) == 0);
    fileDelete(switchFile());

    CHECK(sectionSwitchFileWrite(5, 0) == 0);  // not set up yet
    CHECK_FALSE(fileExists(switchFile()));

    REQUIRE(sectionSwitchFileInit(switchFile().c_str()) == 1);
    CHECK(readTextFile(switchFile()) == "07;1;");
    CHECK(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) == 7);
    CHECK(datastoreGetBool(DS_HW_13_SECTIONS) == 1);

    CHECK(sectionSwitchFileWrite(11, 0) == 1);
    CHECK(readTextFile(switchFile()) == "11;0;");
    REQUIRE(writeTextFile(switchFile(), "07;1;"));
    CHECK(sectionSwitchFileWrite(9, 0) == 1);
    CHECK(readTextFile(switchFile()) == "9;0;;");
}
