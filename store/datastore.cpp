#include "datastore.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <limits>
#include <mutex>
#include <vector>

#include "cdebug.h"
#include "clock.h"
#include "debugout.h"
#include "dsnvmem.h"
#include "eventqueue.h"

namespace {

struct ItemState {
    std::vector<uint8_t> value;
    uint32_t dirty = 0;
    uint32_t lastRefresh = 0;
};

struct Store {
    const DsItemDescriptor* table = nullptr;
    ItemState items[DS_ITEM_COUNT];
    uint32_t dirtyLowest = DS_ITEM_COUNT;
    uint32_t dirtyHighest = 0;
    uint32_t owner = 0;
    DsObserverFunc observer = nullptr;
    uint32_t firstRun = 0;
    uint32_t firstTick = 1;
    // Values, dirty flags and the range are shared by every thread that sets items;
    // held only around copies, never while calling out.
    std::mutex lock;
};

Store store;

bool validId(uint32_t id)
{
    return id <= DS_ITEM_LAST && store.table != nullptr;
}

const DsItemDescriptor& desc(uint32_t id)
{
    return store.table[id];
}

uint32_t itemSize(const DsItemDescriptor& d)
{
    if (d.sizeFunc != nullptr)
        return d.sizeFunc(d.callbackArg);
    switch (d.type) {
    case DS_TYPE_UCHAR:
    case DS_TYPE_SINT8:
    case DS_TYPE_UINT8:
        return 1;
    case DS_TYPE_SINT16:
    case DS_TYPE_UINT16:
        return 2;
    case DS_TYPE_BOOL:
    case DS_TYPE_UINT32:
    case DS_TYPE_SINT32:
    case DS_TYPE_FLOAT32:
        return 4;
    default:
        return 0;
    }
}

uint32_t sizeOf(uint32_t id)
{
    return static_cast<uint32_t>(store.items[id].value.size());
}

void markDirtyLocked(uint32_t id)
{
    store.items[id].dirty = 1;
    if (id < store.dirtyLowest)
        store.dirtyLowest = id;
    if (id > store.dirtyHighest)
        store.dirtyHighest = id;
}

// Float to integer with truncation toward zero, saturated; NaN gives 0.
int64_t truncateFloat(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18f)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9.2e18f)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

template <typename T>
T limitAs(float limit)
{
    // Through 64 bits so that a negative limit of an unsigned item wraps as the
    // narrowing would, instead of being undefined.
    return static_cast<T>(truncateFloat(limit));
}

template <typename T>
uint32_t checkTyped(const DsItemDescriptor& d, void* value)
{
    T v;
    std::memcpy(&v, value, sizeof v);
    const T lo = limitAs<T>(d.minimum);
    const T hi = limitAs<T>(d.maximum);
    if (v < lo) {
        std::memcpy(value, &lo, sizeof lo);
        return DS_ERR_BELOW_MIN;
    }
    if (v > hi && lo < hi) {
        std::memcpy(value, &hi, sizeof hi);
        return DS_ERR_ABOVE_MAX;
    }
    return DS_OK;
}

uint32_t checkFloat(const DsItemDescriptor& d, void* value)
{
    float v;
    std::memcpy(&v, value, sizeof v);
    if (v < d.minimum) {
        std::memcpy(value, &d.minimum, sizeof v);
        return DS_ERR_BELOW_MIN;
    }
    if (v > d.maximum && d.minimum < d.maximum) {
        std::memcpy(value, &d.maximum, sizeof v);
        return DS_ERR_ABOVE_MAX;
    }
    return DS_OK;
}

uint32_t checkRange(const DsItemDescriptor& d, void* value)
{
    if (d.minimum == 0.0f && d.maximum == 0.0f)
        return DS_OK;
    switch (d.type) {
    case DS_TYPE_UCHAR:
    case DS_TYPE_UINT8:
        return checkTyped<uint8_t>(d, value);
    case DS_TYPE_SINT8:
        return checkTyped<int8_t>(d, value);
    case DS_TYPE_SINT16:
        return checkTyped<int16_t>(d, value);
    case DS_TYPE_UINT16:
        return checkTyped<uint16_t>(d, value);
    case DS_TYPE_UINT32:
        return checkTyped<uint32_t>(d, value);
    case DS_TYPE_SINT32:
        return checkTyped<int32_t>(d, value);
    case DS_TYPE_FLOAT32:
        return checkFloat(d, value);
    default:
        return DS_OK;
    }
}

void postChange(const DsItemDescriptor& d, uint32_t id)
{
    if (d.changeEvent != 0)
        eventPost(store.owner, d.changeEvent, id);
}

void callHook(const DsItemDescriptor& d, uint32_t id, const void* value, uint32_t size)
{
    if (d.changeHook != nullptr)
        d.changeHook(id, value, size, static_cast<uint16_t>(d.type));
}

template <typename T>
uint32_t setTyped(uint32_t id, uint32_t type, T value)
{
    if (!validId(id))
        return DS_ERR_ID;
    if (desc(id).type != type)
        return DS_ERR_TYPE;
    return datastoreSetData(id, &value);
}

template <typename T>
T getTyped(uint32_t id, uint32_t type)
{
    T value{};
    if (!validId(id) || desc(id).type != type)
        return T{};
    if (datastoreGetData(id, &value) != DS_OK)
        return T{};
    return value;
}

} // namespace

uint32_t datastoreInitWithTable(uint32_t owner, const DsItemDescriptor* table)
{
    store.owner = owner;
    for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
        if (table[id].id != id)
            return 13;
    }
    {
        std::lock_guard<std::mutex> guard(store.lock);
        store.table = table;
        store.dirtyLowest = DS_ITEM_COUNT;
        store.dirtyHighest = 0;
        store.observer = nullptr;
        store.firstRun = 0;
        store.firstTick = 1;
        for (uint32_t id = 0; id < DS_ITEM_COUNT; ++id) {
            ItemState& item = store.items[id];
            item.dirty = 0;
            item.lastRefresh = 0;
            const uint32_t size = itemSize(table[id]);
            if (size == 0 || size > DS_MAX_ITEM_SIZE) {
                store.table = nullptr;
                return 1;
            }
            item.value.assign(size, 0);
        }
    }
    datastoreNvAssignOffsets();
    return 0;
}

uint32_t datastoreInit(uint32_t owner)
{
    return datastoreInitWithTable(owner, dsCatalogue);
}

uint32_t datastoreCheckRange(uint32_t id, void* value)
{
    if (!validId(id))
        return DS_ERR_ID;
    return checkRange(desc(id), value);
}

uint32_t datastoreSetData(uint32_t id, const void* value)
{
    if (!validId(id))
        return DS_ERR_ID;
    const DsItemDescriptor& d = desc(id);
    if (d.readOnly != 0)
        return DS_ERR_READ_ONLY;
    const uint32_t size = sizeOf(id);
    // The range check works on a copy: the caller's value may be constant.
    uint8_t checked[4] = {};
    std::memcpy(checked, value, size < sizeof checked ? size : sizeof checked);
    const uint32_t result = checkRange(d, checked);
    if (result == DS_OK) {
        std::lock_guard<std::mutex> guard(store.lock);
        uint8_t* stored = store.items[id].value.data();
        if (std::memcmp(stored, value, size) != 0) {
            std::memcpy(stored, value, size);
            if (d.notPersistent == 0)
                markDirtyLocked(id);
        }
    }
    postChange(d, id);
    // The hook sees what the caller's buffer would hold after the check: the
    // value, or the violated limit of a refused one, never an out-of-range value.
    if (d.hookMode != 1 || d.refreshPeriod == 0)
        callHook(d, id, size <= sizeof checked ? checked : value, size);
    if (store.observer != nullptr)
        store.observer(id, 0, 0);
    return result;
}

uint32_t datastoreGetData(uint32_t id, void* buffer)
{
    if (!validId(id)) {
        CDEBUG_LOG(CDebugLevel::WAR, "cInitFile", " Error = %d", DS_ERR_ID);
        return DS_ERR_ID;
    }
    const DsItemDescriptor& d = desc(id);
    if (d.readOnly == 0) {
        datastoreCopyValue(id, buffer);
        checkRange(d, buffer);
        return DS_OK;
    }
    if (d.getFunc != nullptr) {
        std::memset(buffer, 0, sizeOf(id) < 4 ? sizeOf(id) : 4);
        d.getFunc(d.callbackArg, buffer);
        checkRange(d, buffer);
        return DS_OK;
    }
    CDEBUG_LOG(CDebugLevel::WAR, "cInitFile", " Error = %d", DS_ERR_READ_ONLY);
    return DS_ERR_READ_ONLY;
}

uint32_t datastoreSetBool(uint32_t id, uint32_t value) { return setTyped<uint32_t>(id, DS_TYPE_BOOL, value); }
uint32_t datastoreSetUchar(uint32_t id, uint8_t value) { return setTyped<uint8_t>(id, DS_TYPE_UCHAR, value); }
uint32_t datastoreSetSint8(uint32_t id, int8_t value) { return setTyped<int8_t>(id, DS_TYPE_SINT8, value); }
uint32_t datastoreSetUint8(uint32_t id, uint8_t value) { return setTyped<uint8_t>(id, DS_TYPE_UINT8, value); }
uint32_t datastoreSetSint16(uint32_t id, int16_t value) { return setTyped<int16_t>(id, DS_TYPE_SINT16, value); }
uint32_t datastoreSetUint16(uint32_t id, uint16_t value) { return setTyped<uint16_t>(id, DS_TYPE_UINT16, value); }
uint32_t datastoreSetUint32(uint32_t id, uint32_t value) { return setTyped<uint32_t>(id, DS_TYPE_UINT32, value); }
uint32_t datastoreSetSint32(uint32_t id, int32_t value) { return setTyped<int32_t>(id, DS_TYPE_SINT32, value); }
uint32_t datastoreSetFloat32(uint32_t id, float value) { return setTyped<float>(id, DS_TYPE_FLOAT32, value); }

uint32_t datastoreGetBool(uint32_t id) { return getTyped<uint32_t>(id, DS_TYPE_BOOL); }
uint8_t datastoreGetUchar(uint32_t id) { return getTyped<uint8_t>(id, DS_TYPE_UCHAR); }
int8_t datastoreGetSint8(uint32_t id) { return getTyped<int8_t>(id, DS_TYPE_SINT8); }
uint8_t datastoreGetUint8(uint32_t id) { return getTyped<uint8_t>(id, DS_TYPE_UINT8); }
int16_t datastoreGetSint16(uint32_t id) { return getTyped<int16_t>(id, DS_TYPE_SINT16); }
uint16_t datastoreGetUint16(uint32_t id) { return getTyped<uint16_t>(id, DS_TYPE_UINT16); }
uint32_t datastoreGetUint32(uint32_t id) { return getTyped<uint32_t>(id, DS_TYPE_UINT32); }
int32_t datastoreGetSint32(uint32_t id) { return getTyped<int32_t>(id, DS_TYPE_SINT32); }
float datastoreGetFloat32(uint32_t id) { return getTyped<float>(id, DS_TYPE_FLOAT32); }

namespace {

// A value of type 2..10 as a number, for the minimum-change comparison.
double scalarOf(uint32_t type, const uint8_t* bytes)
{
    switch (type) {
    case DS_TYPE_SINT8: return static_cast<int8_t>(bytes[0]);
    case DS_TYPE_SINT16: { int16_t v; std::memcpy(&v, bytes, 2); return v; }
    case DS_TYPE_UINT16: { uint16_t v; std::memcpy(&v, bytes, 2); return v; }
    case DS_TYPE_SINT32: { int32_t v; std::memcpy(&v, bytes, 4); return v; }
    case DS_TYPE_FLOAT32: { float v; std::memcpy(&v, bytes, 4); return v; }
    case DS_TYPE_BOOL:
    case DS_TYPE_UINT32: { uint32_t v; std::memcpy(&v, bytes, 4); return v; }
    default: return bytes[0];
    }
}

template <typename T, typename Get, typename Set>
T getChecked(uint32_t id, T min, T max, T def, uint32_t force, Get get, Set set)
{
    const T value = get(id);
    if (force == 0 && value >= min && value <= max)
        return value;
    return static_cast<T>(set(id, def));
}

} // namespace

uint8_t datastoreGetUcharChecked(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force)
{
    return getChecked<uint8_t>(id, min, max, def, force, datastoreGetUchar, datastoreSetUchar);
}

int8_t datastoreGetSint8Checked(uint32_t id, int8_t min, int8_t max, int8_t def, uint32_t force)
{
    return getChecked<int8_t>(id, min, max, def, force, datastoreGetSint8, datastoreSetSint8);
}

uint8_t datastoreGetUint8Checked(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force)
{
    return getChecked<uint8_t>(id, min, max, def, force, datastoreGetUint8, datastoreSetUint8);
}

int16_t datastoreGetSint16Checked(uint32_t id, int16_t min, int16_t max, int16_t def, uint32_t force)
{
    return getChecked<int16_t>(id, min, max, def, force, datastoreGetSint16, datastoreSetSint16);
}

uint16_t datastoreGetUint16Checked(uint32_t id, uint16_t min, uint16_t max, uint16_t def, uint32_t force)
{
    return getChecked<uint16_t>(id, min, max, def, force, datastoreGetUint16, datastoreSetUint16);
}

uint32_t datastoreGetUint32Checked(uint32_t id, uint32_t min, uint32_t max, uint32_t def, uint32_t force)
{
    return getChecked<uint32_t>(id, min, max, def, force, datastoreGetUint32, datastoreSetUint32);
}

int32_t datastoreGetSint32Checked(uint32_t id, int32_t min, int32_t max, int32_t def, uint32_t force)
{
    return getChecked<int32_t>(id, min, max, def, force, datastoreGetSint32, datastoreSetSint32);
}

float datastoreGetFloat32Checked(uint32_t id, float min, float max, float def, uint32_t force)
{
    return getChecked<float>(id, min, max, def, force, datastoreGetFloat32, datastoreSetFloat32);
}

uint32_t datastoreGetBoolChecked(uint32_t id, uint32_t def, uint32_t force)
{
    return getChecked<uint32_t>(id, 0, 1, def, force, datastoreGetBool, datastoreSetBool);
}

uint32_t datastoreGetType(uint32_t id)
{
    return validId(id) ? desc(id).type : DS_ERR_TYPE_ID;
}

uint32_t datastoreGetMin(uint32_t id)
{
    uint32_t bits = 0;
    if (validId(id))
        std::memcpy(&bits, &desc(id).minimum, sizeof bits);
    return bits;
}

uint32_t datastoreGetMax(uint32_t id)
{
    uint32_t bits = 0;
    if (validId(id))
        std::memcpy(&bits, &desc(id).maximum, sizeof bits);
    return bits;
}

uint32_t datastoreGetSize(uint32_t id)
{
    return validId(id) ? sizeOf(id) : 0;
}

uint32_t datastoreSetFromUint32(uint32_t id, uint32_t value)
{
    if (!validId(id))
        return 0;
    switch (desc(id).type) {
    case DS_TYPE_BOOL: return datastoreSetBool(id, value);
    case DS_TYPE_UCHAR: return datastoreSetUchar(id, static_cast<uint8_t>(value));
    case DS_TYPE_SINT8: return datastoreSetSint8(id, static_cast<int8_t>(value));
    case DS_TYPE_UINT8: return datastoreSetUint8(id, static_cast<uint8_t>(value));
    case DS_TYPE_SINT16: return datastoreSetSint16(id, static_cast<int16_t>(value));
    case DS_TYPE_UINT16: return datastoreSetUint16(id, static_cast<uint16_t>(value));
    case DS_TYPE_UINT32: return datastoreSetUint32(id, value);
    case DS_TYPE_SINT32: return datastoreSetSint32(id, static_cast<int32_t>(value));
    case DS_TYPE_FLOAT32: return datastoreSetFloat32(id, static_cast<float>(static_cast<int32_t>(value)));
    default: return 0;
    }
}

uint32_t datastoreSetFromFloat(uint32_t id, float value)
{
    if (!validId(id))
        return 0;
    if (desc(id).type == DS_TYPE_FLOAT32)
        return datastoreSetFloat32(id, value);
    return datastoreSetFromUint32(id, static_cast<uint32_t>(truncateFloat(value)));
}

namespace {

void valueOf(uint32_t id, int64_t* asInt, float* asFloat)
{
    const DsItemDescriptor& d = desc(id);
    switch (d.type) {
    case DS_TYPE_BOOL: *asInt = datastoreGetBool(id); break;
    case DS_TYPE_UCHAR: *asInt = datastoreGetUchar(id); break;
    case DS_TYPE_SINT8: *asInt = datastoreGetSint8(id); break;
    case DS_TYPE_UINT8: *asInt = datastoreGetUint8(id); break;
    case DS_TYPE_SINT16: *asInt = datastoreGetSint16(id); break;
    case DS_TYPE_UINT16: *asInt = datastoreGetUint16(id); break;
    case DS_TYPE_UINT32: *asInt = datastoreGetUint32(id); break;
    case DS_TYPE_SINT32: *asInt = datastoreGetSint32(id); break;
    case DS_TYPE_FLOAT32: {
        const float f = datastoreGetFloat32(id);
        *asFloat = f;
        *asInt = truncateFloat(std::round(f));
        return;
    }
    default: {
        int32_t i = 0;
        float f = 0.0f;
        if (d.valueFunc != nullptr)
            d.valueFunc(d.callbackArg, &i, &f);
        *asInt = i;
        *asFloat = f;
        return;
    }
    }
    *asFloat = static_cast<float>(*asInt);
}

} // namespace

int32_t datastoreGetAsInt32(uint32_t id)
{
    if (!validId(id))
        return 0;
    int64_t i = 0;
    float f = 0.0f;
    valueOf(id, &i, &f);
    if (i > std::numeric_limits<int32_t>::max() && desc(id).type == DS_TYPE_FLOAT32)
        return std::numeric_limits<int32_t>::max();
    if (i < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(i);
}

float datastoreGetAsFloat(uint32_t id)
{
    if (!validId(id))
        return 0.0f;
    int64_t i = 0;
    float f = 0.0f;
    valueOf(id, &i, &f);
    return f;
}

float datastoreGetScaled(uint32_t id)
{
    const float value = datastoreGetAsFloat(id);
    if (validId(id) && desc(id).scale != 0.0f)
        return value * desc(id).scale;
    return value;
}

uint32_t datastoreToggleItem(uint32_t id)
{
    if (!validId(id))
        return 0;
    if (desc(id).type == DS_TYPE_FLOAT32)
        return datastoreSetFloat32(id, datastoreGetFloat32(id) == 0.0f ? 1.0f : 0.0f);
    int64_t i = 0;
    float f = 0.0f;
    valueOf(id, &i, &f);
    return datastoreSetFromUint32(id, i == 0 ? 1 : 0);
}

void datastoreRefreshItem(uint32_t id, uint32_t, uint32_t checkTime)
{
    if (!validId(id))
        return;
    const DsItemDescriptor& d = desc(id);
    ItemState& item = store.items[id];
    if (checkTime != 0) {
        const uint32_t now = clockGetTicks();
        if (now - item.lastRefresh < d.refreshPeriod)
            return;
        item.lastRefresh = now;
    } else {
        item.lastRefresh = 0;
    }
    const uint32_t size = sizeOf(id);
    uint8_t fresh[DS_MAX_ITEM_SIZE];
    uint8_t current[DS_MAX_ITEM_SIZE];
    datastoreCopyValue(id, current);
    uint32_t changed = 0;
    if (d.refreshFunc != nullptr) {
        std::memcpy(fresh, current, size);
        changed = d.refreshFunc(d.callbackArg, fresh);
    } else if (d.getFunc != nullptr) {
        std::memset(fresh, 0, size);
        changed = d.getFunc(d.callbackArg, fresh);
    } else {
        if (d.hookMode == 1)
            callHook(d, id, current, size);
        return;
    }
    if (d.type == DS_TYPE_RECORD && changed == 0)
        return;
    if (d.type != DS_TYPE_RECORD && std::memcmp(fresh, current, size) == 0) {
        if (d.hookMode == 1)
            callHook(d, id, current, size);
        return;
    }
    if (d.type >= DS_TYPE_BOOL && d.type <= DS_TYPE_FLOAT32) {
        uint8_t checked[4] = {};
        std::memcpy(checked, fresh, size);
        if (checkRange(d, checked) != DS_OK)
            return;
        if (d.minChange != 0 &&
            std::fabs(scalarOf(d.type, fresh) - scalarOf(d.type, current)) < d.minChange)
            return;
    }
    {
        std::lock_guard<std::mutex> guard(store.lock);
        markDirtyLocked(id);
        std::memcpy(item.value.data(), fresh, size);
    }
    postChange(d, id);
    callHook(d, id, fresh, size);
}

void datastoreRefreshItems(uint32_t group)
{
    if (store.table == nullptr)
        return;
    for (uint32_t id = 1; id < DS_ITEM_COUNT; ++id) {
        if (group == 0 || desc(id).refreshPeriod == group)
            datastoreRefreshItem(id, sizeOf(id), 0);
    }
}

namespace {

void refreshPeriodic(uint32_t checkTime)
{
    for (uint32_t id = 1; id < DS_ITEM_COUNT; ++id) {
        if (desc(id).refreshPeriod != 0)
            datastoreRefreshItem(id, sizeOf(id), checkTime);
    }
}

} // namespace

void datastoreRefreshDue()
{
    if (store.table == nullptr)
        return;
    uint32_t checkTime = 1;
    if (store.firstTick != 0) {
        store.firstTick = 0;
        // A freshly initialised image takes the callback values at once; a
        // loaded one keeps the periods.
        if (store.firstRun != 0) {
            const uint32_t marker = DS_NV_INIT_MARKER;
            datastoreNvWrite(DS_NVMEM_INIT_MARKER, &marker, sizeof marker);
            datastoreStoreValue(DS_NVMEM_INIT_MARKER, &marker);
            checkTime = 0;
        }
    }
    refreshPeriodic(checkTime);
}

void datastoreRefreshAllNow()
{
    if (store.table != nullptr)
        refreshPeriodic(0);
}

void datastoreSetObserver(DsObserverFunc fn, uint32_t a, uint32_t b)
{
    store.observer = fn;
    if (fn == nullptr)
        return;
    fn(0, a, b);
    for (uint32_t id = 1; id < DS_ITEM_COUNT; ++id)
        fn(id, 0, 0);
}

uint32_t datastoreIsFirstRun()
{
    return store.firstRun;
}

namespace {

// Value part of a dump line of a typed item.
void formatValue(uint32_t id, char* text, size_t capacity)
{
    switch (desc(id).type) {
    case DS_TYPE_BOOL: std::snprintf(text, capacity, "BOOL        %d", static_cast<int>(datastoreGetBool(id))); break;
    case DS_TYPE_UCHAR: std::snprintf(text, capacity, "UCHAR       %u", datastoreGetUchar(id)); break;
    case DS_TYPE_SINT8: std::snprintf(text, capacity, "SINT8       %d", datastoreGetSint8(id)); break;
    case DS_TYPE_UINT8: std::snprintf(text, capacity, "UINT8       %u", datastoreGetUint8(id)); break;
    case DS_TYPE_SINT16: std::snprintf(text, capacity, "SINT16      %d", datastoreGetSint16(id)); break;
    case DS_TYPE_UINT16: std::snprintf(text, capacity, "UINT16      %u", datastoreGetUint16(id)); break;
    case DS_TYPE_UINT32:
        std::snprintf(text, capacity, "UINT32      %lu", static_cast<unsigned long>(datastoreGetUint32(id)));
        break;
    case DS_TYPE_SINT32:
        std::snprintf(text, capacity, "SINT32      %ld", static_cast<long>(datastoreGetSint32(id)));
        break;
    case DS_TYPE_FLOAT32:
        std::snprintf(text, capacity, "FLOAT32     %f", static_cast<double>(datastoreGetFloat32(id)));
        break;
    default: std::snprintf(text, capacity, "Other type "); break;
    }
}

void formatByte(uint8_t byte, char* text, size_t capacity)
{
    std::snprintf(text, capacity, byte < 0x10 ? " 0x0%X" : " 0x%X", byte);
}

std::string formatLine(uint32_t id)
{
    char part[64];
    std::snprintf(part, sizeof part, "%5d  ", static_cast<int>(id));
    std::string line = part;
    formatValue(id, part, sizeof part);
    line += part;
    if (desc(id).type <= DS_TYPE_BLOCK) {
        uint8_t bytes[DS_MAX_ITEM_SIZE];
        datastoreCopyValue(id, bytes);
        for (uint32_t i = 0; i < sizeOf(id); ++i) {
            formatByte(bytes[i], part, sizeof part);
            line += part;
        }
    }
    return line;
}

} // namespace

size_t datastoreFormatItem(uint32_t id, char* text, size_t capacity)
{
    if (!validId(id) || capacity == 0)
        return 0;
    const std::string line = formatLine(id);
    const size_t length = line.size() < capacity - 1 ? line.size() : capacity - 1;
    std::memcpy(text, line.data(), length);
    text[length] = '\0';
    return length;
}

void datastoreDebugDump()
{
    // A debug print takes at most 250 characters; a block item's line is far longer.
    constexpr size_t printChunk = 200;
    debugPrintf(1, "datastoreDebugDump\n\r");
    for (uint32_t id = 0; id < DS_ITEM_COUNT && validId(id); ++id) {
        const std::string line = formatLine(id) + "\n\r";
        for (size_t at = 0; at < line.size(); at += printChunk) {
            const size_t length = std::min(printChunk, line.size() - at);
            debugPrintf(1, "%.*s", static_cast<int>(length), line.c_str() + at);
        }
    }
}

const DsItemDescriptor* datastoreDescriptor(uint32_t id)
{
    return validId(id) ? &desc(id) : nullptr;
}

bool datastoreCopyValue(uint32_t id, void* buffer)
{
    if (!validId(id))
        return false;
    std::lock_guard<std::mutex> guard(store.lock);
    std::memcpy(buffer, store.items[id].value.data(), sizeOf(id));
    return true;
}

void datastoreStoreValue(uint32_t id, const void* value)
{
    if (!validId(id))
        return;
    std::lock_guard<std::mutex> guard(store.lock);
    std::memcpy(store.items[id].value.data(), value, sizeOf(id));
}

void datastoreMarkDirty(uint32_t id)
{
    if (!validId(id))
        return;
    std::lock_guard<std::mutex> guard(store.lock);
    markDirtyLocked(id);
}

bool datastoreIsDirty(uint32_t id)
{
    if (!validId(id))
        return false;
    std::lock_guard<std::mutex> guard(store.lock);
    return store.items[id].dirty != 0;
}

bool datastoreTakeDirtyValue(uint32_t id, void* buffer)
{
    if (!validId(id))
        return false;
    std::lock_guard<std::mutex> guard(store.lock);
    if (store.items[id].dirty == 0)
        return false;
    store.items[id].dirty = 0;
    std::memcpy(buffer, store.items[id].value.data(), sizeOf(id));
    return true;
}

bool datastoreTakeDirtyRange(uint32_t* lowest, uint32_t* highest)
{
    std::lock_guard<std::mutex> guard(store.lock);
    *lowest = store.dirtyLowest;
    *highest = store.dirtyHighest;
    store.dirtyLowest = DS_ITEM_COUNT;
    store.dirtyHighest = 0;
    return *lowest <= *highest;
}

void datastoreSetFirstRun(uint32_t flag)
{
    store.firstRun = flag;
}

uint32_t datastoreEventOwner()
{
    return store.owner;
}
