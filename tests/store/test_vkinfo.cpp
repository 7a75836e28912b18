#include "vkinfo.h"

#include "comport.h"
#include "conout.h"
#include "debugcon.h"
#include "filefunc.h"
#include "test_capture.h"
#include "test_root.h"

#include <doctest/doctest.h>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

std::string deviceFile(const std::string& contents, const std::string& version, const std::string& ecuInfo)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FILE>\n<HEADER>\n<VERSION>" + version +
           "</VERSION>\n<CONTENTS>" + contents + "</CONTENTS>\n</HEADER>\n<ECU_INFO>\n" + ecuInfo +
           "</ECU_INFO>\n</FILE>\n";
}

const char DEVICE[] = "VELMAR GENERAL DEVICE INFORMATION";
const char OEM[] = "VELMAR GENERAL OEM INFORMATION";

std::string owner(const std::string& item, const std::string& serial = "")
{
    std::string text = "<ECU_INFO_OWNER><ITEM_NUMBER>" + item + "</ITEM_NUMBER>";
    if (!serial.empty())
        text += "<SERIAL_NUMBER>" + serial + "</SERIAL_NUMBER>";
    return text + "</ECU_INFO_OWNER>\n";
}

std::string iso(const std::string& name, const std::string& code, const std::string& ecu = "")
{
    std::string text = "<ISO11783><OEM_NAME>" + name + "</OEM_NAME><MANUFACTURER_CODE>" + code +
                       "</MANUFACTURER_CODE>";
    if (!ecu.empty())
        text += "<ECU_ID>" + ecu + "</ECU_ID>";
    return text + "</ISO11783>\n";
}

// A directory of device-information files, used as the directory in use.
struct InfoDir {
    TestRoot root;
    std::string dir = root.path("/info");
    InfoDir()
    {
        mkdir(dir.c_str(), 0755);
        vkinfoSetFilepath(dir.c_str());
    }
    void put(const char* name, const std::string& text) { REQUIRE(writeTextFile(dir + "/" + name, text)); }
};

}  // namespace

TEST_CASE("the item number comes from vr_info unless it holds the placeholder")
{
    InfoDir info;
    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-201")));
    info.put("vr_info.xml", deviceFile(DEVICE, "1.0.0", owner("000-000")));
    CHECK(vkinfoInit() == 1);
    CHECK(std::string(vkinfoGetItemNumberText()) == "512-201");

    info.put("vr_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-300")));
    CHECK(vkinfoInit() == 1);
    char number[5];
    CHECK(vkinfoGetItemNumber(number, sizeof number) == 1);
    CHECK(std::string(number) == "512-");
    CHECK(std::string(vkinfoGetItemNumberText()) == "512-300");
}

TEST_CASE("the first item number is kept unless it is the placeholder")
{
    InfoDir info;
    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-201") + owner("512-999")));
    vkinfoInit();
    CHECK(std::string(vkinfoRecord(VKINFO_DEVICE)->itemNumber) == "512-201");
    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("000-000") + owner("512-999")));
    vkinfoInit();
    CHECK(std::string(vkinfoRecord(VKINFO_DEVICE)->itemNumber) == "512-999");
}

TEST_CASE("the version must be three numbers at or above 1.0.0 and the contents must match")
{
    struct Case { const char* version; const char* contents; uint32_t valid; };
    const Case cases[] = {
        {"1.0.0", DEVICE, 1},
        {"2.10.3", DEVICE, 1},
        {"1.0", DEVICE, 0},
        {"1.0.0a", DEVICE, 0},
        {"0.9.9", DEVICE, 0},
        {"1..0", DEVICE, 0},
        {"1.0.0", "VELMAR GENERAL DEVICE", 0},
        {"1.0.0", OEM, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.version);
        CAPTURE(c.contents);
        InfoDir info;
        info.put("@vk_info.xml", deviceFile(c.contents, c.version, owner("512-201")));
        CHECK(vkinfoInit() == c.valid);
    }
}

TEST_CASE("a twelve-digit serial number splits into three and nine digits")
{
    InfoDir info;
    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-201", "123456789012")));
    vkinfoInit();
    const DeviceInfoRecord* record = vkinfoRecord(VKINFO_DEVICE);
    CHECK(record->serialHigh == 123);
    CHECK(record->serialLow == 456789012);
    CHECK(std::string(record->serialText) == "123456789012");

    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-201", "SN-12x")));
    vkinfoInit();
    CHECK(vkinfoRecord(VKINFO_DEVICE)->serialHigh == 0);
    CHECK(vkinfoRecord(VKINFO_DEVICE)->serialLow == 0);
}

TEST_CASE("the OEM identity follows the precedence oem, vr, vk")
{
    InfoDir info;
    info.put("@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-201") + iso("DEVICE_MAKER", "11", "7")));
    info.put("vr_info.xml", deviceFile(DEVICE, "1.0.0", owner("000-000") + iso("NA", "22")));
    REQUIRE(vkinfoInit() == 1);
    CHECK(std::string(vkinfoGetOemNameText()) == "DEVICE_MAKER");
    CHECK(vkinfoGetManufacturerCode() == 22);
    CHECK(vkinfoGetEcuIdNumber() == 7);

    info.put("oem_info.xml", deviceFile(OEM, "1.0.0", iso("MACHINE_BUILDER", "-1")));
    REQUIRE(vkinfoInit() == 1);
    char name[8];
    CHECK(vkinfoGetOemName(name, sizeof name) == 1);
    CHECK(std::string(name) == "MACHINE");
    CHECK(std::string(vkinfoGetOemNameText()) == "MACHINE_BUILDER");
    CHECK(vkinfoGetManufacturerCode() == 22);

    info.put("oem_info.xml", deviceFile(OEM, "0.9.9", iso("MACHINE_BUILDER", "5")));
    CHECK(vkinfoInit() == 0);
    CHECK(std::string(vkinfoGetOemNameText()).empty());
    CHECK(vkinfoGetOemName(name, sizeof name) == 0);
    CHECK(std::string(name) == "---");
    CHECK(vkinfoGetManufacturerCode() == 0);
}

TEST_CASE("without files the data are invalid and the item number is the placeholder")
{
    InfoDir info;
    CHECK(vkinfoInit() == 0);
    char number[16];
    CHECK(vkinfoGetItemNumber(number, sizeof number) == 0);
    CHECK(std::string(number) == "000-000");

    info.put("@vk_info.xml", "<FILE><HEADER><VERSION>1.0.0</VERSION>");
    CHECK(vkinfoInit() == 0);
}

TEST_CASE("the search takes the first listed directory that holds any of the files")
{
    TestRoot root;
    const std::string greyfell = root.path("/usr/local/velmar/greyfell/data");
    const std::string ostrand = root.path("/usr/local/velmar/ostrand/data");
    REQUIRE(makePath(greyfell));
    REQUIRE(makePath(ostrand));
    REQUIRE(writeTextFile(ostrand + "/@vk_info.xml", deviceFile(DEVICE, "1.0.0", owner("512-203"))));
    REQUIRE(writeTextFile(greyfell + "/oem_info.xml", deviceFile(OEM, "1.0.0", iso("BUILDER", "3"))));
    vkinfoSetFilepath("/somewhere");
    vkinfoSetFilepath(nullptr);
    vkinfoInit();
    // The greyfell directory comes first and holds only the OEM file.
    CHECK(std::string(vkinfoGetItemNumberText()) == "000-000");
    CHECK(std::string(vkinfoRecord(VKINFO_OEM)->oemName) == "BUILDER");
}

TEST_CASE("the dump reaches the serial console installed as the debug output")
{
    InfoDir info;
    info.put("@vk_info.xml",
             deviceFile(DEVICE, "1.0.0", owner("512-201", "123456789012") + iso("DEVICE_MAKER", "11", "7")));
    REQUIRE(vkinfoInit() == 1);
    REQUIRE(comportInit() == 1);
    REQUIRE(comportRegister(0, conoutDriver, 1000, 8000, nullptr, nullptr, 0) == 1);
    comportOpen(0, 7, 3, 2, 0);
    comselectInit(0);
    debugSetMask(1);
    debugSetLevel(0);

    std::string printed;
    {
        StdoutCapture output(info.root.path("/dump.txt"));
        vkinfoDump();
        printed = output.text();
    }
    const char* const lines[] = {
        "Data read from @vk_info.xml and oem_info.xml\r\n",
        "  Item Number  : 512-201\r\n",
        "  Serial NumStr: 123456789012\r\n",
        "  Serial Number: 123456789012\r\n",
        "    OEM Name         : DEVICE_MAKER\r\n",
        "    Manufacturer code:      11\r\n",
        "    ECU Id number    :       7\r\n",
    };
    for (const char* line : lines) {
        CAPTURE(line);
        CHECK(printed.find(line) != std::string::npos);
    }

    // With the category mask closed the dump prints nothing.
    debugSetMask(0);
    {
        StdoutCapture output(info.root.path("/closed.txt"));
        vkinfoDump();
        printed = output.text();
    }
    debugSetMask(1);
    CHECK(printed.find("Data read from @vk_info.xml and oem_info.xml\r\n") == std::string::npos);
    comportClose(0);
}
