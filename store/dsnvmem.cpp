#include "dsnvmem.h"

#include <cstring>

#include "cdebug.h"
#include "datastore.h"
#include "eventqueue.h"

namespace {

struct Backend {
    DsNvReadFunc read = nullptr;
    DsNvWriteFunc write = nullptr;
    uint32_t context = 0;
    uint32_t imageLength = 0;
};

Backend backends[DS_NV_BACKEND_COUNT];
uint16_t offsets[DS_ITEM_COUNT];

bool persistent(const DsItemDescriptor& d)
{
    return d.notPersistent == 0 && d.backend < DS_NV_BACKEND_COUNT;
}

void loadImage()
{
    uint8_t scratch[DS_MAX_ITEM_SIZE];
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        const uint32_t size = datastoreGetSize(id);
        if (!persistent(*datastoreDescriptor(id)) || size == 0)
            continue;
        std::memset(scratch, 0, size);
        // A failed read keeps the item's own value rather than another item's
        // bytes, and writes it back: the store (cut short, damaged) then holds
        // what the console uses instead of whatever a later extension leaves.
        if (datastoreNvRead(id, scratch, size) != 0)
            datastoreStoreValue(id, scratch);
        else
            datastoreMarkDirty(id);
    }
    for (uint32_t id = 1; id < DS_ITEM_COUNT; ++id) {
        const DsItemDescriptor& d = *datastoreDescriptor(id);
        if (!persistent(d) || d.loadFunc == nullptr)
            continue;
        datastoreCopyValue(id, scratch);
        if (d.loadFunc == dsLoadThroughHook) {
            if (d.changeHook != nullptr)
                d.changeHook(id, scratch, datastoreGetSize(id), static_cast<uint16_t>(d.type));
        } else {
            d.loadFunc(d.callbackArg, scratch);
        }
    }
}

uint32_t initialiseImage()
{
    datastoreRefreshItems(0);
    uint8_t scratch[DS_MAX_ITEM_SIZE];
    uint32_t result = DS_NV_INITIALISED;
    for (uint32_t id = 1; id < DS_ITEM_COUNT; ++id) {
        if (!persistent(*datastoreDescriptor(id)))
            continue;
        const uint32_t size = datastoreGetSize(id);
        datastoreCopyValue(id, scratch);
        if (datastoreNvWrite(id, scratch, size) == 0)
            result = DS_NV_INIT_WRITE_FAILED;
    }
    return result;
}

void pullIntoRange()
{
    uint8_t scratch[DS_MAX_ITEM_SIZE];
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        datastoreCopyValue(id, scratch);
        if (datastoreCheckRange(id, scratch) == 0)
            continue;
        datastoreStoreValue(id, scratch);
        datastoreMarkDirty(id);
        const DsItemDescriptor& d = *datastoreDescriptor(id);
        if (d.changeEvent != 0)
            eventPost(datastoreEventOwner(), d.changeEvent, id);
    }
}

} // namespace

void datastoreNvAssignOffsets()
{
    for (Backend& b : backends)
        b = Backend{};
    if (datastoreDescriptor(0) == nullptr)
        return;
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        offsets[id] = 0;
        const DsItemDescriptor& d = *datastoreDescriptor(id);
        const uint32_t size = datastoreGetSize(id);
        if (!persistent(d) || size == 0)
            continue;
        offsets[id] = static_cast<uint16_t>(backends[d.backend].imageLength);
        backends[d.backend].imageLength += size;
    }
}

uint32_t datastoreNvOffset(uint32_t id)
{
    return id <= DS_ITEM_LAST ? offsets[id] : 0;
}

uint32_t datastoreNvImageLength(uint32_t backend)
{
    return backend < DS_NV_BACKEND_COUNT ? backends[backend].imageLength : 0;
}

uint32_t datastoreRegisterNvBackend(uint32_t index, DsNvReadFunc read, DsNvWriteFunc write, uint32_t context)
{
    if (index >= DS_NV_BACKEND_COUNT)
        return 0;
    backends[index].read = read;
    backends[index].write = write;
    backends[index].context = context;
    return 1;
}

namespace {

// The backend of a transfer of size bytes of the item; null when the id, the
// backend or the size does not fit.
const Backend* backendFor(uint32_t id, uint32_t size)
{
    const DsItemDescriptor* d = datastoreDescriptor(id);
    if (d == nullptr || d->backend >= DS_NV_BACKEND_COUNT || size != datastoreGetSize(id))
        return nullptr;
    return &backends[d->backend];
}

} // namespace

uint32_t datastoreNvRead(uint32_t id, void* buffer, uint32_t size)
{
    const Backend* b = backendFor(id, size);
    if (b == nullptr || b->read == nullptr)
        return 0;
    return b->read(b->context, id, offsets[id], size, buffer);
}

uint32_t datastoreNvWrite(uint32_t id, const void* buffer, uint32_t size)
{
    const Backend* b = backendFor(id, size);
    if (b == nullptr || b->write == nullptr)
        return 0;
    return b->write(b->context, id, offsets[id], size, buffer);
}

uint32_t datastoreNvmemInit()
{
    if (datastoreDescriptor(0) == nullptr)
        return DS_NV_INIT_WRITE_FAILED; // datastoreInit has not succeeded
    uint32_t initValue = 0;
    datastoreNvRead(DS_NVMEM_INIT_MARKER, &initValue, sizeof initValue);
    CDEBUG_LOG(CDebugLevel::LOG, "cInitFile", "initValue = 0x%X", initValue);
    uint32_t result;
    const bool valid = initValue == DS_NV_INIT_MARKER;
    CDEBUG_LOG(CDebugLevel::LOG, "cInitFile", "size = %d, INIT_VALUE = 0x%X, initValue = 0x%X",
               static_cast<int>(datastoreGetSize(DS_NVMEM_INIT_MARKER)), DS_NV_INIT_MARKER, initValue);
    if (valid) {
        loadImage();
        datastoreSetFirstRun(0);
        result = DS_NV_LOADED;
    } else {
        result = initialiseImage();
        datastoreSetFirstRun(1);
    }
    pullIntoRange();
    return result;
}

uint32_t datastoreNvWriteDirty(uint32_t stopAtFirstFailure)
{
    uint32_t lowest = 0;
    uint32_t highest = 0;
    if (!datastoreTakeDirtyRange(&lowest, &highest))
        return 0;
    uint8_t scratch[DS_MAX_ITEM_SIZE];
    uint32_t failures = 0;
    for (uint32_t id = lowest; id <= highest; ++id) {
        const DsItemDescriptor& d = *datastoreDescriptor(id);
        if (!persistent(d)) {
            // Not kept in a store: the flag only widened the range.
            datastoreTakeDirtyValue(id, scratch);
            continue;
        }
        if (failures != 0 && stopAtFirstFailure != 0) {
            // Not tried in this pass: keep it inside the range of the next one.
            if (datastoreIsDirty(id))
                datastoreMarkDirty(id);
            continue;
        }
        if (!datastoreTakeDirtyValue(id, scratch))
            continue;
        if (datastoreNvWrite(id, scratch, datastoreGetSize(id)) == 0) {
            datastoreMarkDirty(id);
            ++failures;
        }
    }
    return failures;
}

void datastoreNvMarkAllDirty(uint32_t backend)
{
    if (datastoreDescriptor(0) == nullptr)
        return;
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        const DsItemDescriptor& d = *datastoreDescriptor(id);
        if (persistent(d) && d.backend == backend)
            datastoreMarkDirty(id);
    }
}

void datastoreSetRunningForTheVeryFirstTimeTrue()
{
    datastoreSetFirstRun(1);
    const uint32_t invalid = DS_NV_INVALID_MARKER;
    datastoreNvWrite(DS_NVMEM_INIT_MARKER, &invalid, sizeof invalid);
}
