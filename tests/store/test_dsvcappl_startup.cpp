// At start-up the store migrates before the process start-up has read the
// device-information files: the migration reads them itself.
#include <doctest/doctest.h>

#include "datastore.h"
#include "dsvcappl.h"
#include "store_env.h"
#include "vkinfo.h"

TEST_CASE("a migration before the device files were read still finds the part number")
{
    const std::string dir = storeTestWorkDir() + "/info";
    REQUIRE(mkdir(dir.c_str(), 0755) == 0);
    REQUIRE(writeTextFile(dir + "/@vk_info.xml",
                          "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<FILE>\n<HEADER>\n<VERSION>1.0.0</VERSION>\n"
                          "<CONTENTS>VELMAR GENERAL DEVICE INFORMATION</CONTENTS>\n</HEADER>\n<ECU_INFO>\n"
                          "<ECU_INFO_OWNER><ITEM_NUMBER>512-202</ITEM_NUMBER></ECU_INFO_OWNER>\n</ECU_INFO>\n</FILE>\n"));
    vkinfoSetFilepath(dir.c_str());
    REQUIRE(datastoreInit(2) == 0);
    REQUIRE(datastoreSetBool(206, 0) == DS_OK);
    dsvcapplSetDefaultValues(10);
    CHECK(datastoreGetBool(206) == 1);
    CHECK(std::string(vkinfoGetItemNumberText()) == "512-202");
}
