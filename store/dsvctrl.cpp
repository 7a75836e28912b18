#include "dsvctrl.h"

#include <cstring>

#include "cdebug.h"
#include "datastore.h"
#include "dsnvmem.h"
#include "dsvcappl.h"

const char dsvctrlApplicationPath[] = "oem/vk_tech/kestrom/appl/sprayer/generic/rev1";

namespace {

uint32_t versionMigrated = 0;

void applicationPathItem(uint8_t (&path)[DSVCTRL_PATH_SIZE])
{
    std::memset(path, 0, sizeof path);
    std::memcpy(path, dsvctrlApplicationPath, sizeof dsvctrlApplicationPath);
}

} // namespace

uint32_t dsvctrlCheckVersion()
{
    uint32_t prev = datastoreGetUint16(DS_STORE_VERSION);
    CDEBUG_LOG(CDebugLevel::LOG, "cInitFile", "PrevDSVer = %d", static_cast<int>(prev));
    uint8_t stored[DSVCTRL_PATH_SIZE] = {};
    datastoreGetData(DS_APPLICATION_PATH, stored);
    uint8_t expected[DSVCTRL_PATH_SIZE];
    applicationPathItem(expected);
    const bool samePath = std::memcmp(stored, expected, sizeof expected) == 0;
    versionMigrated = 0;
    const bool freshImage = datastoreIsFirstRun() != 0 || !samePath;
    if (freshImage || prev != DSVCTRL_VERSION) {
        if (freshImage)
            prev = 0;
        if (datastoreGetUint16(DS_STORE_REVISION) > DSVCTRL_VERSION)
            prev = 0;
        if (dsvcapplSetDefaultValues(prev) != 0)
            datastoreSetRunningForTheVeryFirstTimeTrue();
        versionMigrated = 1;
        datastoreNvMarkAllDirty(DS_NV_STORE_BACKEND);
        datastoreNvWriteDirty(0);
    }
    CDEBUG_LOG(CDebugLevel::LOG, "cInitFile", "PrevDSVer = %d, StoreVersion = %d", static_cast<int>(prev),
               static_cast<int>(versionMigrated));
    return versionMigrated;
}

void dsvctrlSetDefaults()
{
    if (versionMigrated == 0)
        return;
    datastoreSetUint16(DS_STORE_VERSION, DSVCTRL_VERSION);
    datastoreSetUint16(DS_STORE_REVISION, DSVCTRL_REVISION);
    uint8_t path[DSVCTRL_PATH_SIZE];
    applicationPathItem(path);
    datastoreSetData(DS_APPLICATION_PATH, path);
    versionMigrated = 0;
}
