#pragma once
// Two private allocators inside fixed regions handed over at start-up, so that
// long-running modules never fragment the process heap.
//
// Both use a first-fit search over an address-ordered list of blocks. Every
// block costs 18 bytes beyond its data and data sizes are rounded up to
// multiples of 4. Block links are 32-bit offsets inside the region, so the
// layout (and every figure in the statistics) is the same on 32- and 64-bit
// hosts. Data is only guaranteed 2-byte alignment: treat it as bytes.
#include <cstddef>
#include <cstdint>

// Pool 1: handles. A handle (page * 256 + slot) stays valid while its memory is
// allocated and is turned into a pointer where the memory is used. 0 is never
// handed out and stands for a failed allocation.
typedef uint16_t MemHandle;

struct MemStats {
    uint16_t highestHandle;     // highest handle given so far
    uint32_t worstAllocMs;      // longest time one allocation took
    uint32_t allocations;       // allocations in use (handle-table pages count too)
    uint32_t blocks;            // blocks in the region, free or used
    uint32_t freeBytes;         // sum of the free blocks' data sizes
    uint32_t lastBlockFree;     // data size of the last block when free, else 0
    uint32_t minFreeBytes;      // lowest freeBytes seen
    uint32_t lastBlockLowWater; // low-water of the last block when free, else 0
};

// Lays one free block over the region. Allocations never cross a multiple of
// `boundary` bytes (in address space) when boundary is non-zero and the block
// fits in one window. Returns 1, or 0 for a null or too small region.
int memInit(void* region, uint32_t size, uint32_t boundary);
MemHandle memAlloc(uint32_t size);
// count * size zero-filled bytes; 0 when the product does not fit in 32 bits.
MemHandle memCalloc(uint32_t count, uint32_t size);
// Null for handle 0, a handle beyond the table or a free slot.
void* memHandleToPtr(uint32_t handle);
// Handle 0, an unknown or an already free handle does nothing.
void memFree(uint32_t handle);
void memGetStats(MemStats* out);
// Walks the region and the handle table: blocks tile the region exactly, links
// agree, counters match, no two free blocks are neighbours and every handle
// names a used block it owns. Returns true when all of that holds.
bool memCheckIntegrity();

// Pool 2: plain pointers.
struct HeapStats {
    uint32_t worstAllocMs;
    uint32_t allocations;
    uint32_t blocks;
    uint32_t freeBytes;
    uint32_t lastBlockFree;
    uint32_t minFreeBytes;
    uint32_t lastBlockLowWater;
};

int heapInit(void* region, uint32_t size, uint32_t boundary);
void* heapAlloc(uint32_t size);
void* heapCalloc(uint32_t count, uint32_t size);
// Frees only a pointer that heapAlloc handed out and that is still in use;
// anything else (outside the region, inside a block, already free) is ignored.
void heapFree(void* ptr);
bool heapContains(const void* ptr);
// Data size of the block the pointer starts, 0 for any other pointer.
uint32_t heapBlockSize(const void* ptr);
void heapGetStats(HeapStats* out);
bool heapCheckIntegrity();
