#pragma once
// Persistence of the parameter store: up to two store backends, the packed
// image of the persistent items, loading at start-up and the write-behind of
// changed items. Item 0 holds the init marker of a valid image.
#include <cstdint>

enum : uint32_t {
    DS_NV_INIT_MARKER = 0xA5B2,
    DS_NV_INVALID_MARKER = 0xFFFF5A4D,
    DS_NV_BACKEND_COUNT = 2,
    DS_NV_STORE_BACKEND = 1, // where the catalogue's persistent items live
};

// Results of datastoreNvmemInit.
enum : uint32_t {
    DS_NV_LOADED = 0,
    DS_NV_INITIALISED = 8,
    DS_NV_INIT_WRITE_FAILED = 9,
};

// Nonzero on success; offset is the item's offset in the backend's image.
typedef uint32_t (*DsNvReadFunc)(uint32_t context, uint32_t id, uint32_t offset, uint32_t size, void* buffer);
typedef uint32_t (*DsNvWriteFunc)(uint32_t context, uint32_t id, uint32_t offset, uint32_t size,
                                  const void* buffer);

// 1 when registered, 0 for an index above 1.
uint32_t datastoreRegisterNvBackend(uint32_t index, DsNvReadFunc read, DsNvWriteFunc write, uint32_t context);
// The backend's result; 0 for a bad id or backend, a missing function or a size
// other than the item's.
uint32_t datastoreNvRead(uint32_t id, void* buffer, uint32_t size);
uint32_t datastoreNvWrite(uint32_t id, const void* buffer, uint32_t size);

// 0 image loaded, 8 image initialised, 9 initialisation could not write every item.
uint32_t datastoreNvmemInit();
// Writes the dirty persistent items; the number of failed writes. Items whose
// write failed stay dirty and inside the dirty range for the next pass.
uint32_t datastoreNvWriteDirty(uint32_t stopAtFirstFailure);
void datastoreNvMarkAllDirty(uint32_t backend);
// Sets the first-run flag and invalidates the marker in the store (not in RAM).
void datastoreSetRunningForTheVeryFirstTimeTrue();

// Assigns the image offsets in id order; run by datastoreInit.
void datastoreNvAssignOffsets();
uint32_t datastoreNvOffset(uint32_t id);
uint32_t datastoreNvImageLength(uint32_t backend);
