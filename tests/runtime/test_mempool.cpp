#include "mempool.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr uint32_t kRegionSize = 262144;
constexpr uint32_t kWindow = 16384;
alignas(kWindow) uint8_t gRegion[kRegionSize];
alignas(kWindow) uint8_t gHeapRegion[kRegionSize];

MemStats memStats()
{
    MemStats s;
    memGetStats(&s);
    return s;
}

HeapStats heapStats()
{
    HeapStats s;
    heapGetStats(&s);
    return s;
}

size_t offsetOf(const void* p)
{
    return static_cast<const uint8_t*>(p) - gRegion;
}

void freshPool(uint32_t boundary = 0)
{
    REQUIRE(memInit(gRegion, kRegionSize, boundary) == 1);
}

} // namespace

TEST_CASE("an allocation costs its size rounded up to 4 plus 18 bytes of the region")
{
    struct Case {
        uint32_t request;
        uint32_t cost;
    };
    const Case cases[] = {{1, 22}, {3, 22}, {4, 22}, {5, 26}, {40, 58}, {1021, 1042}};
    for (const Case& c : cases) {
        CAPTURE(c.request);
        freshPool();
        const uint32_t before = memStats().freeBytes;
        CHECK(before == kRegionSize - 18);
        const MemHandle h = memAlloc(c.request);
        REQUIRE(h == 1);
        const MemStats after = memStats();
        CHECK(before - after.freeBytes == c.cost);
        CHECK(after.blocks == 2);
        CHECK(after.allocations == 1);
        CHECK(after.minFreeBytes == after.freeBytes);
        CHECK(offsetOf(memHandleToPtr(h)) == 16);
        CHECK(memCheckIntegrity());
    }
}

TEST_CASE("a free block is taken only by an exact fit or when a split leaves a header and a byte")
{
    // A 40-byte hole between two used blocks, the rest of the region free behind them.
    struct Case {
        uint32_t request;
        bool servedFromHole;
    };
    const Case cases[] = {{40, true}, {37, true}, {20, true}, {24, false}, {21, false}, {41, false}, {44, false}};
    for (const Case& c : cases) {
        CAPTURE(c.request);
        freshPool();
        const MemHandle hole = memAlloc(40);
        const MemHandle wall = memAlloc(8);
        REQUIRE(wall != 0);
        void* const holeData = memHandleToPtr(hole);
        memFree(hole);
        const MemHandle h = memAlloc(c.request);
        REQUIRE(h != 0);
        CHECK((memHandleToPtr(h) == holeData) == c.servedFromHole);
        CHECK(memCheckIntegrity());
    }
}

TEST_CASE("with a 16 KiB boundary no allocation crosses a window")
{
    // A 16300-byte filler puts the next block's data 50 bytes below the first
    // window edge (offset 16334; the region starts on an edge).
    struct Case {
        uint32_t boundary;
        uint32_t request;
        size_t dataOffset;
        uint32_t blocks;
    };
    const Case cases[] = {
        {kWindow, 48, 16334, 3},           // fits below the edge
        {kWindow, 100, kWindow + 18, 4},   // moved past the edge, a free gap stays before it
        {kWindow, 52, kWindow + 18, 4},    // rounding alone makes it cross
        {0, 100, 16334, 3},                // no boundary: placed where it fits
    };
    for (const Case& c : cases) {
        CAPTURE(c.request);
        CAPTURE(c.boundary);
        freshPool(c.boundary);
        REQUIRE(memAlloc(16300) == 1);
        const MemHandle h = memAlloc(c.request);
        REQUIRE(h == 2);
        const size_t off = offsetOf(memHandleToPtr(h));
        CHECK(off == c.dataOffset);
        CHECK(memStats().blocks == c.blocks);
        if (c.boundary != 0)
            CHECK(off / kWindow == (off + ((c.request + 3) & ~3u) - 1) / kWindow);
        CHECK(memCheckIntegrity());
    }
}

TEST_CASE("the gap left before a window edge serves later small allocations")
{
    freshPool(kWindow);
    REQUIRE(memAlloc(16300) == 1);
    REQUIRE(offsetOf(memHandleToPtr(memAlloc(100))) == kWindow + 18);
    // The gap holds 50 data bytes: 28 + 18 < 50 splits it, 32 + 18 = 50 does not fit.
    CHECK(offsetOf(memHandleToPtr(memAlloc(32))) != 16334);
    CHECK(offsetOf(memHandleToPtr(memAlloc(28))) == 16334);
    CHECK(memCheckIntegrity());
}

TEST_CASE("handles run 1 to 254 on the first page, then 256 on a page taken from the pool")
{
    freshPool();
    for (uint32_t expected = 1; expected <= 254; ++expected)
        REQUIRE(memAlloc(4) == expected);
    const uint32_t freeBefore = memStats().freeBytes;
    CHECK(memAlloc(4) == 256);
    // The new page costs 1024 + 18 bytes besides the allocation itself.
    CHECK(freeBefore - memStats().freeBytes == 1042 + 22);
    CHECK(memStats().highestHandle == 256);
    CHECK(memHandleToPtr(255) == nullptr);
    memFree(255);
    CHECK(memCheckIntegrity());

    // A freed handle is the next one given.
    memFree(7);
    CHECK(memHandleToPtr(7) == nullptr);
    CHECK(memAlloc(4) == 7);
    CHECK(memAlloc(4) == 257);
    CHECK(memCheckIntegrity());
}

TEST_CASE("handles that name no data give no pointer and free nothing")
{
    freshPool();
    const MemHandle h = memAlloc(16);
    REQUIRE(h == 1);
    const MemStats before = memStats();
    const uint32_t bogus[] = {0, 2, 255, 256, 0x1234, 0xFFFF, 0x10001};
    for (uint32_t b : bogus) {
        CAPTURE(b);
        CHECK(memHandleToPtr(b) == nullptr);
        memFree(b);
    }
    memFree(h);
    memFree(h);  // a second free must not count the block twice
    const MemStats after = memStats();
    CHECK(after.freeBytes == before.freeBytes + 16 + 18);
    CHECK(after.freeBytes == kRegionSize - 18);
    CHECK(after.blocks == 1);
    CHECK(after.allocations == 0);
    CHECK(memHandleToPtr(h) == nullptr);
    CHECK(memCheckIntegrity());
}

TEST_CASE("freed neighbours merge in whatever order they are freed")
{
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        CAPTURE(order[0]);
        CAPTURE(order[1]);
        CAPTURE(order[2]);
        freshPool();
        const MemHandle abc[3] = {memAlloc(40), memAlloc(80), memAlloc(120)};
        const MemHandle tailWall = memAlloc(4);
        REQUIRE(tailWall == 4);
        void* const first = memHandleToPtr(abc[0]);
        const uint32_t blocksFull = memStats().blocks;
        REQUIRE(blocksFull == 5);
        for (int i : order)
            memFree(abc[i]);
        const MemStats s = memStats();
        CHECK(s.blocks == 3);  // merged hole, wall, free tail
        CHECK(memCheckIntegrity());
        // The hole is exactly 40 + 80 + 120 + 2 * 18 bytes: an exact fit lands in it.
        const MemHandle whole = memAlloc(40 + 80 + 120 + 36);
        CHECK(memHandleToPtr(whole) == first);
        CHECK(memStats().blocks == 3);
    }
}

TEST_CASE("freeing the middle then the first of three merges two, freeing the third merges all")
{
    freshPool();
    const MemHandle a = memAlloc(40), b = memAlloc(40), c = memAlloc(40);
    REQUIRE(memAlloc(4) != 0);
    const uint32_t used = memStats().blocks;
    memFree(b);
    CHECK(memStats().blocks == used);
    memFree(a);
    CHECK(memStats().blocks == used - 1);
    memFree(c);
    CHECK(memStats().blocks == used - 2);
    CHECK(memCheckIntegrity());
}

TEST_CASE("the last block's statistics follow the tail")
{
    freshPool();
    const MemHandle h = memAlloc(1000);
    MemStats s = memStats();
    CHECK(s.lastBlockFree == kRegionSize - 1018 - 18);
    CHECK(s.lastBlockLowWater == s.lastBlockFree);
    memFree(h);
    s = memStats();
    CHECK(s.lastBlockFree == kRegionSize - 18);
    CHECK(s.lastBlockLowWater == kRegionSize - 18 - 1018);
    CHECK(s.minFreeBytes == kRegionSize - 18 - 1018);
}

TEST_CASE("calloc zero-fills and refuses a size that overflows")
{
    freshPool();
    const MemHandle dirty = memAlloc(64);
    std::memset(memHandleToPtr(dirty), 0xA5, 64);
    memFree(dirty);
    const MemHandle h = memCalloc(16, 4);
    REQUIRE(h != 0);
    const uint8_t* p = static_cast<const uint8_t*>(memHandleToPtr(h));
    CHECK(std::all_of(p, p + 64, [](uint8_t v) { return v == 0; }));
    CHECK(memCalloc(0x10000, 0x10000) == 0);
    CHECK(memAlloc(kRegionSize) == 0);
    CHECK(memAlloc(0xFFFFFFFFu) == 0);
    CHECK(memCheckIntegrity());
}

TEST_CASE("initialisation refuses regions that cannot hold a block")
{
    uint8_t small[21];
    CHECK(memInit(nullptr, kRegionSize, 0) == 0);
    CHECK(memInit(small, sizeof small, 0) == 0);
    CHECK(heapInit(nullptr, kRegionSize, 0) == 0);
    CHECK(heapInit(small, sizeof small, 0) == 0);
}

TEST_CASE("a long random run of handle allocations never overlaps or loses a byte")
{
    freshPool(kWindow);
    std::mt19937 rng(20261210);
    struct Live {
        uint32_t size;
        uint8_t fill;
    };
    std::map<MemHandle, Live> live;
    uint32_t failures = 0;
    for (int step = 0; step < 30000; ++step) {
        const bool allocate = live.empty() || rng() % 100 < 55;
        if (allocate) {
            const uint32_t size = rng() % 8 == 0 ? 1 + rng() % 6000 : 1 + rng() % 200;
            const MemHandle h = (rng() % 4 == 0) ? memCalloc(1, size) : memAlloc(size);
            if (h == 0) {
                ++failures;
                continue;
            }
            REQUIRE(live.count(h) == 0);
            uint8_t* p = static_cast<uint8_t*>(memHandleToPtr(h));
            REQUIRE(p != nullptr);
            REQUIRE(p >= gRegion);
            REQUIRE(p + size <= gRegion + kRegionSize);
            const size_t off = p - gRegion;
            REQUIRE(off / kWindow == (off + size - 1) / kWindow);
            const uint8_t fill = static_cast<uint8_t>(h * 31 + 7);
            std::memset(p, fill, size);
            live[h] = Live{size, fill};
        } else {
            auto it = live.begin();
            std::advance(it, rng() % live.size());
            const uint8_t* p = static_cast<const uint8_t*>(memHandleToPtr(it->first));
            const uint8_t fill = it->second.fill;
            REQUIRE(std::all_of(p, p + it->second.size, [fill](uint8_t v) { return v == fill; }));
            memFree(it->first);
            live.erase(it);
        }
        if (step % 500 == 0)
            REQUIRE(memCheckIntegrity());
    }
    CHECK(failures > 0);  // the run reached a full pool
    CHECK(live.size() > 254);  // and more than one handle page
    const MemStats s = memStats();
    uint64_t requested = 0;
    for (const auto& entry : live)
        requested += (entry.second.size + 3) & ~3u;
    const uint64_t usedData = kRegionSize - s.freeBytes - uint64_t(s.blocks) * 18;
    CHECK(usedData >= requested);
    CHECK(memCheckIntegrity());
    for (const auto& entry : live)
        memFree(entry.first);
    // Only the handle pages stay allocated, 1024 bytes each.
    const MemStats empty = memStats();
    CHECK(empty.allocations >= empty.highestHandle / 256);
    CHECK(empty.freeBytes + empty.blocks * 18 + empty.allocations * 1024 == kRegionSize);
    CHECK(memCheckIntegrity());
}

TEST_CASE("the pointer pool allocates, merges and ignores pointers it did not hand out")
{
    REQUIRE(heapInit(gHeapRegion, kRegionSize, 0) == 1);
    uint8_t* a = static_cast<uint8_t*>(heapAlloc(10));
    uint8_t* b = static_cast<uint8_t*>(heapAlloc(30));
    REQUIRE(a == gHeapRegion + 18);
    REQUIRE(b == a + 12 + 18);
    CHECK(heapBlockSize(a) == 12);
    CHECK(heapBlockSize(a + 4) == 0);
    CHECK(heapContains(a + 4));
    HeapStats s = heapStats();
    CHECK(s.allocations == 2);
    CHECK(s.freeBytes == kRegionSize - 18 - 12 - 18 - 32 - 18);

    uint8_t outside = 0;
    void* const ignored[] = {&outside, a + 4, b - 1, gHeapRegion, gHeapRegion + kRegionSize - 1, nullptr};
    for (void* p : ignored) {
        heapFree(p);
        const HeapStats now = heapStats();
        CHECK(now.freeBytes == s.freeBytes);
        CHECK(now.allocations == 2);
    }
    CHECK_FALSE(heapContains(&outside));
    CHECK(heapBlockSize(&outside) == 0);

    heapFree(a);
    heapFree(a);  // already free
    CHECK(heapStats().allocations == 1);
    heapFree(b);
    s = heapStats();
    CHECK(s.blocks == 1);
    CHECK(s.freeBytes == kRegionSize - 18);
    CHECK(heapCheckIntegrity());

    uint8_t* z = static_cast<uint8_t*>(heapCalloc(8, 8));
    REQUIRE(z != nullptr);
    CHECK(std::all_of(z, z + 64, [](uint8_t v) { return v == 0; }));
    CHECK(heapCalloc(0x10000, 0x10000) == nullptr);
}

TEST_CASE("a random run of the pointer pool keeps every block intact")
{
    REQUIRE(heapInit(gHeapRegion, kRegionSize, 0) == 1);
    std::mt19937 rng(4242);
    std::vector<std::pair<uint8_t*, uint32_t>> live;
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || rng() % 100 < 52) {
            const uint32_t size = 1 + rng() % 3000;
            uint8_t* p = static_cast<uint8_t*>(heapAlloc(size));
            if (p == nullptr)
                continue;
            REQUIRE(heapBlockSize(p) >= size);
            std::memset(p, static_cast<int>(size & 0xFF), size);
            live.emplace_back(p, size);
        } else {
            const size_t i = rng() % live.size();
            const uint8_t fill = static_cast<uint8_t>(live[i].second & 0xFF);
            REQUIRE(std::all_of(live[i].first, live[i].first + live[i].second,
                                [fill](uint8_t v) { return v == fill; }));
            heapFree(live[i].first);
            live.erase(live.begin() + i);
        }
        if (step % 500 == 0)
            REQUIRE(heapCheckIntegrity());
    }
    for (auto& entry : live)
        heapFree(entry.first);
    CHECK(heapStats().blocks == 1);
    CHECK(heapCheckIntegrity());
}
