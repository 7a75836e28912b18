// Feeds arbitrary bytes to the store's start-up as the content of the store
// file (header, then the image; any length): the image loads as a store or the
// store starts from its defaults, the counter and trip records reach the pulse
// module, and afterwards no item holds a value outside its limits.
#include "datastore.h"
#include "dsnvmem.h"
#include "dsvctrl.h"
#include "filestore.h"
#include "pulsinput.h"
#include "store_doubles.h"

#include <QCoreApplication>

#include "fuzz_root.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
std::vector<uint8_t> image;

// The file store's reads and writes, on the image in memory: a read past the
// end of the file fails, a write extends it.
uint32_t imageRead(uint32_t, uint32_t, uint32_t offset, uint32_t size, void* buffer)
{
    if (uint64_t{offset} + size > image.size())
        return 0;
    std::memcpy(buffer, image.data() + offset, size);
    return 1;
}

uint32_t imageWrite(uint32_t, uint32_t, uint32_t offset, uint32_t size, const void* buffer)
{
    if (uint64_t{offset} + size > image.size())
        image.resize(uint64_t{offset} + size);
    std::memcpy(image.data() + offset, buffer, size);
    return 1;
}

void setUp()
{
    // The datastore posts change events: an application drains them, as the console's loop does.
    static int argc = 1;
    static char name[] = "fuzz_storeimage";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    registerStoreDoubles();
    pulsRegisterDatastoreRecords();
}

void requireAllInRange()
{
    uint8_t value[DS_MAX_ITEM_SIZE];
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        datastoreCopyValue(id, value);
        if (datastoreCheckRange(id, value) != 0)
            std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzUseTemporaryRoot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (setUp(), true);
    (void)ready;
    // A file shorter than its header is laid out anew: no image at all.
    if (size >= FILESTORE_HEADER_SIZE)
        image.assign(data + FILESTORE_HEADER_SIZE, data + size);
    else
        image.clear();
    // The store never reads its header: one of its bits stamps the marker of a
    // valid image, so that most inputs reach the loading of every item.
    const uint32_t marker = DS_NV_INIT_MARKER;
    if (size >= FILESTORE_HEADER_SIZE && (data[1] & 1) != 0 && image.size() >= sizeof marker)
        std::memcpy(image.data(), &marker, sizeof marker);

    pulsInit();
    if (datastoreInit(2) != 0)
        std::abort();
    datastoreRegisterNvBackend(DS_NV_STORE_BACKEND, imageRead, imageWrite, 0);
    datastoreNvmemInit();
    dsvctrlCheckVersion();
    requireAllInRange();

    // The first updates: write-behind, the version items, the counters and
    // trips counting on from what was loaded.
    for (int pass = 0; pass < 2; ++pass) {
        datastoreRefreshItems(10000);
        datastoreNvWriteDirty(0);
        dsvctrlSetDefaults();
        pulsSetExternalPulsCountNew(1, 0x7FFFFFFF, 100);
        pulsUpdateCounter(0);
        UpdateTripCounter(0);
    }
    requireAllInRange();
    QCoreApplication::processEvents();
    takeHookCalls();
    takeCounterSetups();
    return 0;
}
