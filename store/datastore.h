#pragma once
// The parameter store: 329 typed items addressed by number (dscatalogue.h).
// Setters check type and range, post the item's change event, call its change
// hook and mark persistent items for the write-behind (dsnvmem.h). Items whose
// value lives in another module are served through their descriptor callbacks.
#include <cstddef>
#include <cstdint>

#include "dscatalogue.h"

// Results of the set and get operations.
enum DsResult : uint32_t {
    DS_OK = 0,
    DS_ERR_ID = 2,        // id above 328
    DS_ERR_READ_ONLY = 3, // set: read-only item; get: read-only item without get function
    DS_ERR_ABOVE_MAX = 4, // not stored
    DS_ERR_BELOW_MIN = 5, // not stored
    DS_ERR_TYPE = 7,      // typed setter of another type
    DS_ERR_TYPE_ID = 11,  // datastoreGetType of a bad id; failed store write
};

// Largest item the store takes: the refresh, the dump and the persistence copy
// values through stack buffers of this size (the catalogue's largest is 402).
enum : uint32_t { DS_MAX_ITEM_SIZE = 512 };

// 0 ok, 1 out of memory or an item of size 0, 13 descriptor table out of order.
uint32_t datastoreInit(uint32_t owner);
// Same with another descriptor table (rows in id order, DS_ITEM_COUNT rows).
uint32_t datastoreInitWithTable(uint32_t owner, const DsItemDescriptor* table);

uint32_t datastoreSetData(uint32_t id, const void* value);
// Copies the value (clipped into range) into buffer, which holds the item's size.
uint32_t datastoreGetData(uint32_t id, void* buffer);

uint32_t datastoreSetBool(uint32_t id, uint32_t value);
uint32_t datastoreSetUchar(uint32_t id, uint8_t value);
uint32_t datastoreSetSint8(uint32_t id, int8_t value);
uint32_t datastoreSetUint8(uint32_t id, uint8_t value);
uint32_t datastoreSetSint16(uint32_t id, int16_t value);
uint32_t datastoreSetUint16(uint32_t id, uint16_t value);
uint32_t datastoreSetUint32(uint32_t id, uint32_t value);
uint32_t datastoreSetSint32(uint32_t id, int32_t value);
uint32_t datastoreSetFloat32(uint32_t id, float value);

// The value, or 0 when the type differs or the get fails.
uint32_t datastoreGetBool(uint32_t id);
uint8_t datastoreGetUchar(uint32_t id);
int8_t datastoreGetSint8(uint32_t id);
uint8_t datastoreGetUint8(uint32_t id);
int16_t datastoreGetSint16(uint32_t id);
uint16_t datastoreGetUint16(uint32_t id);
uint32_t datastoreGetUint32(uint32_t id);
int32_t datastoreGetSint32(uint32_t id);
float datastoreGetFloat32(uint32_t id);

// With force 0 and the value within [min, max]: the value. Otherwise the default
// is written through the typed setter and the setter's result is returned.
// The FLOAT32 variant also answers the value, not 0, when it lies in range.
uint8_t datastoreGetUcharChecked(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force);
int8_t datastoreGetSint8Checked(uint32_t id, int8_t min, int8_t max, int8_t def, uint32_t force);
uint8_t datastoreGetUint8Checked(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force);
int16_t datastoreGetSint16Checked(uint32_t id, int16_t min, int16_t max, int16_t def, uint32_t force);
uint16_t datastoreGetUint16Checked(uint32_t id, uint16_t min, uint16_t max, uint16_t def, uint32_t force);
uint32_t datastoreGetUint32Checked(uint32_t id, uint32_t min, uint32_t max, uint32_t def, uint32_t force);
int32_t datastoreGetSint32Checked(uint32_t id, int32_t min, int32_t max, int32_t def, uint32_t force);
float datastoreGetFloat32Checked(uint32_t id, float min, float max, float def, uint32_t force);
// Valid values are 0 and 1.
uint32_t datastoreGetBoolChecked(uint32_t id, uint32_t def, uint32_t force);

// Type code; 11 for a bad id.
uint32_t datastoreGetType(uint32_t id);
// The FLOAT32 limit as its bit pattern; 0 for a bad id.
uint32_t datastoreGetMin(uint32_t id);
uint32_t datastoreGetMax(uint32_t id);
// Size in bytes; 0 for a bad id.
uint32_t datastoreGetSize(uint32_t id);
// 0 in range (or unchecked), 5 below minimum, 4 above maximum; the value in the
// buffer is then replaced by the violated limit.
uint32_t datastoreCheckRange(uint32_t id, void* value);

uint32_t datastoreSetFromUint32(uint32_t id, uint32_t value);
uint32_t datastoreSetFromFloat(uint32_t id, float value);
// FLOAT32 is rounded half away from zero.
int32_t datastoreGetAsInt32(uint32_t id);
float datastoreGetAsFloat(uint32_t id);
float datastoreGetScaled(uint32_t id);
// 0 becomes 1, anything else 0; the setter's result.
uint32_t datastoreToggleItem(uint32_t id);

// Refresh of the callback-served items; checkTime applies the item's period.
void datastoreRefreshItem(uint32_t id, uint32_t size, uint32_t checkTime);
// Every item of ids 1..328 whose refresh period equals group (0 = every item).
void datastoreRefreshItems(uint32_t group);
// The store's share of the 100 ms tick: first-run marker, then the due refreshes.
void datastoreRefreshDue();
// Every callback-served item takes its source's value now, whatever its period:
// run before the store is written for the last time, so that nothing counted
// since the last periodic refresh is lost.
void datastoreRefreshAllNow();

// Called with (id, 0, 0) after every set.
typedef void (*DsObserverFunc)(uint32_t id, uint32_t a, uint32_t b);
// Installs fn, calls fn(0, a, b) once, then fn(id, 0, 0) for ids 1..328.
void datastoreSetObserver(DsObserverFunc fn, uint32_t a, uint32_t b);

uint32_t datastoreIsFirstRun();

void datastoreDebugDump();
// One line of the dump (without the line end) into text; the length written.
size_t datastoreFormatItem(uint32_t id, char* text, size_t capacity);

// ---- Store side (dsnvmem) ----
const DsItemDescriptor* datastoreDescriptor(uint32_t id);
// Copies the value under the store lock; false for a bad id.
bool datastoreCopyValue(uint32_t id, void* buffer);
// Replaces the value; no dirty flag, event or hook.
void datastoreStoreValue(uint32_t id, const void* value);
// Sets the dirty flag and widens the dirty range.
void datastoreMarkDirty(uint32_t id);
bool datastoreIsDirty(uint32_t id);
// When the item is dirty: clears its flag and copies its value, in one step.
bool datastoreTakeDirtyValue(uint32_t id, void* buffer);
// Hands out the dirty range and empties it; false when it is empty.
bool datastoreTakeDirtyRange(uint32_t* lowest, uint32_t* highest);
void datastoreSetFirstRun(uint32_t flag);
uint32_t datastoreEventOwner();
