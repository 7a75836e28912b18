#include "mempool.h"

#include "clock.h"

#include <cstring>
#include <mutex>
#include <set>

namespace {

constexpr uint32_t kOverhead = 18;
constexpr uint32_t kNone = 0xFFFFFFFFu;
// Keeps every offset and size + overhead sum clear of kNone and of 32-bit wrap.
constexpr uint32_t kMaxRegion = 0x7FFFFFFFu;

// Where the four header words sit in a block; the two pools order them differently.
struct Layout {
    uint32_t sizeAt;
    uint32_t ownerAt;
    uint32_t nextAt;
    uint32_t prevAt;
    uint32_t dataAt;
};

// Address-ordered block list inside one region. Owner 0 marks a free block.
class Arena {
public:
    explicit Arena(Layout layout) : mLayout(layout) {}

    bool init(void* region, uint32_t size, uint32_t boundary)
    {
        if (region == nullptr || size < kOverhead + 4 || size > kMaxRegion)
            return false;
        mBase = static_cast<uint8_t*>(region);
        mSize = size;
        const uintptr_t start = reinterpret_cast<uintptr_t>(region);
        mBoundary = boundary;
        mBoundaryBase = (boundary != 0 && boundary < start) ? start - start % boundary : 0;
        put(0, mLayout.sizeAt, size - kOverhead);
        put(0, mLayout.ownerAt, 0);
        put(0, mLayout.nextAt, kNone);
        put(0, mLayout.prevAt, kNone);
        mLast = 0;
        mLastLowWater = size - kOverhead;
        mBlocks = 1;
        mFree = size - kOverhead;
        mMinFree = mFree;
        mRover = 0;
        mAllocations = 0;
        mWorstMs = 0;
        return true;
    }

    bool ready() const { return mBase != nullptr; }
    uint8_t* base() const { return mBase; }
    uint32_t regionSize() const { return mSize; }
    uint32_t dataAt() const { return mLayout.dataAt; }

    uint32_t dataSize(uint32_t b) const { return get(b, mLayout.sizeAt); }
    uint32_t owner(uint32_t b) const { return get(b, mLayout.ownerAt); }
    uint32_t next(uint32_t b) const { return get(b, mLayout.nextAt); }
    uint32_t prev(uint32_t b) const { return get(b, mLayout.prevAt); }

    // First fit from the rover; returns the block or kNone.
    uint32_t alloc(uint32_t ownerValue, uint32_t request, bool useBoundary, bool zero)
    {
        if (!ready() || request > mSize)
            return kNone;
        const uint32_t size = (request + 3u) & ~3u;
        const uint32_t need = size + kOverhead;

        uint32_t b = mRover;
        while (b != kNone && owner(b) != 0)
            b = next(b);
        if (b == kNone)
            return kNone;
        mRover = b;

        for (; b != kNone; b = next(b)) {
            if (owner(b) != 0)
                continue;
            const uint32_t ds = dataSize(b);
            if (ds != size && ds <= need)
                continue;
            if (useBoundary && mBoundary != 0 && need <= mBoundary) {
                const uintptr_t dataStart = reinterpret_cast<uintptr_t>(mBase) + b + mLayout.dataAt;
                const uintptr_t boundaryAbove =
                    mBoundaryBase + ((dataStart - mBoundaryBase) / mBoundary + 1) * mBoundary;
                const uint64_t gap = boundaryAbove - dataStart;
                if (size > gap) {
                    if (ds < gap + need)
                        continue;
                    split(b, static_cast<uint32_t>(gap));
                    b = next(b);
                }
            }
            take(b, ownerValue, size, need, zero);
            return b;
        }
        return kNone;
    }

    // Frees a used block and merges it with free neighbours.
    void release(uint32_t b)
    {
        put(b, mLayout.ownerAt, 0);
        mFree += dataSize(b);
        --mAllocations;
        while (next(b) != kNone && owner(next(b)) == 0)
            absorb(b, next(b));
        while (prev(b) != kNone && owner(prev(b)) == 0) {
            const uint32_t p = prev(b);
            absorb(p, b);
            b = p;
        }
        if (b == mLast && dataSize(b) < mLastLowWater)
            mLastLowWater = dataSize(b);
        if (b < mRover)
            mRover = b;
    }

    void resetRover() { mRover = 0; }

    void noteAllocTime(uint32_t ms)
    {
        if (ms > mWorstMs)
            mWorstMs = ms;
    }

    // Block whose data starts at ptr and is in use, else kNone.
    uint32_t usedBlockAt(const void* ptr) const
    {
        if (!contains(ptr))
            return kNone;
        const uintptr_t off = static_cast<const uint8_t*>(ptr) - mBase;
        if (off < mLayout.dataAt)
            return kNone;
        for (uint32_t b = 0; b != kNone; b = next(b)) {
            if (b + mLayout.dataAt == off)
                return owner(b) != 0 ? b : kNone;
            if (b + mLayout.dataAt > off)
                return kNone;
        }
        return kNone;
    }

    bool contains(const void* ptr) const
    {
        if (!ready())
            return false;
        const auto p = reinterpret_cast<uintptr_t>(ptr);
        const auto start = reinterpret_cast<uintptr_t>(mBase);
        return p >= start && p < start + mSize;
    }

    void stats(uint32_t* worstMs, uint32_t* allocations, uint32_t* blocks, uint32_t* freeBytes,
               uint32_t* lastFree, uint32_t* minFree, uint32_t* lastLowWater) const
    {
        const bool lastIsFree = ready() && owner(mLast) == 0;
        *worstMs = mWorstMs;
        *allocations = mAllocations;
        *blocks = ready() ? mBlocks : 0;
        *freeBytes = ready() ? mFree : 0;
        *lastFree = lastIsFree ? dataSize(mLast) : 0;
        *minFree = ready() ? mMinFree : 0;
        *lastLowWater = lastIsFree ? mLastLowWater : 0;
    }

    // Walks the list; fills the starts of used blocks. False on any inconsistency.
    bool check(std::set<uint32_t>* usedBlocks) const
    {
        if (!ready())
            return false;
        uint32_t b = 0;
        uint32_t expectedPrev = kNone;
        uint32_t count = 0;
        uint32_t used = 0;
        uint64_t freeSum = 0;
        bool prevFree = false;
        const uint32_t maxBlocks = mSize / kOverhead + 1;
        while (true) {
            if (++count > maxBlocks || prev(b) != expectedPrev)
                return false;
            const uint64_t end = uint64_t(b) + kOverhead + dataSize(b);
            if (end > mSize)
                return false;
            const bool isFree = owner(b) == 0;
            if (isFree) {
                if (prevFree)
                    return false;
                freeSum += dataSize(b);
            } else {
                ++used;
                usedBlocks->insert(b);
            }
            prevFree = isFree;
            if (next(b) == kNone) {
                if (end != mSize || b != mLast)
                    return false;
                break;
            }
            if (next(b) != end)
                return false;
            expectedPrev = b;
            b = next(b);
        }
        return count == mBlocks && used == mAllocations && freeSum == mFree && mMinFree <= mFree;
    }

private:
    uint32_t get(uint32_t b, uint32_t field) const
    {
        uint32_t v;
        std::memcpy(&v, mBase + b + field, sizeof v);
        return v;
    }

    void put(uint32_t b, uint32_t field, uint32_t v) { std::memcpy(mBase + b + field, &v, sizeof v); }

    void noteFree()
    {
        if (mFree < mMinFree)
            mMinFree = mFree;
    }

    // Cuts the block after `size` data bytes; the rest becomes a free block.
    void split(uint32_t b, uint32_t size)
    {
        const uint32_t nb = b + kOverhead + size;
        const uint32_t nds = dataSize(b) - size - kOverhead;
        const uint32_t after = next(b);
        put(nb, mLayout.sizeAt, nds);
        put(nb, mLayout.ownerAt, 0);
        put(nb, mLayout.prevAt, b);
        put(nb, mLayout.nextAt, after);
        if (after != kNone)
            put(after, mLayout.prevAt, nb);
        put(b, mLayout.nextAt, nb);
        put(b, mLayout.sizeAt, size);
        ++mBlocks;
        mFree -= kOverhead;
        noteFree();
        if (b == mLast) {
            mLast = nb;
            if (nds < mLastLowWater)
                mLastLowWater = nds;
        }
    }

    void take(uint32_t b, uint32_t ownerValue, uint32_t size, uint32_t need, bool zero)
    {
        put(b, mLayout.ownerAt, ownerValue);
        if (dataSize(b) > need)
            split(b, size);
        mFree -= dataSize(b);
        ++mAllocations;
        noteFree();
        if (b == mLast)
            mLastLowWater = 0;
        if (zero)
            std::memset(mBase + b + mLayout.dataAt, 0, dataSize(b));
    }

    // The free block `a` swallows its free successor `n`.
    void absorb(uint32_t a, uint32_t n)
    {
        const uint32_t after = next(n);
        put(a, mLayout.sizeAt, dataSize(a) + dataSize(n) + kOverhead);
        put(a, mLayout.nextAt, after);
        if (after != kNone)
            put(after, mLayout.prevAt, a);
        mFree += kOverhead;
        --mBlocks;
        if (n == mLast)
            mLast = a;
    }

    const Layout mLayout;
    uint8_t* mBase = nullptr;
    uint32_t mSize = 0;
    uint32_t mBoundary = 0;
    uintptr_t mBoundaryBase = 0;
    uint32_t mLast = 0;
    uint32_t mLastLowWater = 0;
    uint32_t mBlocks = 0;
    uint32_t mFree = 0;
    uint32_t mMinFree = 0;
    uint32_t mRover = 0;
    uint32_t mAllocations = 0;
    uint32_t mWorstMs = 0;
};

// ---- pool 1: handles -------------------------------------------------------

constexpr uint32_t kSlotsPerPage = 255;
constexpr uint32_t kPageBytes = 1024;  // 255 slots and the link, 4 bytes each
constexpr uint32_t kMaxPages = 256;    // handles are 16 bits

// A slot holds the offset of its block's data in the region (never 0), 0 when
// free. A page is addressed by the offset of its data; 0 names the static page 0.
struct HandlePool {
    std::mutex lock;
    Arena arena{Layout{0, 4, 8, 12, 16}};
    uint32_t page0[kSlotsPerPage + 1] = {};
    uint16_t hint = 1;
    uint16_t highest = 0;

    uint32_t word(uint32_t page, uint32_t index)
    {
        if (page == 0)
            return page0[index];
        uint32_t v;
        std::memcpy(&v, arena.base() + page + index * 4, sizeof v);
        return v;
    }

    void setWord(uint32_t page, uint32_t index, uint32_t v)
    {
        if (page == 0)
            page0[index] = v;
        else
            std::memcpy(arena.base() + page + index * 4, &v, sizeof v);
    }

    // Page by number, kNone when the chain is shorter.
    uint32_t pageAt(uint32_t number)
    {
        uint32_t page = 0;
        for (uint32_t i = 0; i < number; ++i) {
            page = word(page, kSlotsPerPage);
            if (page == 0)
                return kNone;
        }
        return page;
    }

    // Slot value of a data handle, 0 for anything that names no data.
    uint32_t slotValue(uint32_t handle)
    {
        if (handle == 0 || handle > 0xFFFF || (handle & 0xFF) == kSlotsPerPage)
            return 0;
        const uint32_t page = pageAt(handle >> 8);
        return page == kNone ? 0 : word(page, handle & 0xFF);
    }

    // Finds a free handle from the hint on, opening new pages as needed; 0 when none.
    uint32_t freeHandle()
    {
        uint32_t number = hint >> 8;
        uint32_t slot = hint & 0xFF;
        uint32_t page = pageAt(number);
        if (page == kNone || slot >= kSlotsPerPage) {
            number = 0;
            slot = 1;
            page = 0;
        }
        while (true) {
            for (; slot < kSlotsPerPage; ++slot) {
                if ((number != 0 || slot != 0) && word(page, slot) == 0)
                    return number * 256 + slot;
            }
            uint32_t nextPage = word(page, kSlotsPerPage);
            if (nextPage == 0) {
                if (number + 1 >= kMaxPages)
                    return 0;
                const uint32_t b = arena.alloc(number * 256 + kSlotsPerPage, kPageBytes, false, true);
                if (b == kNone)
                    return 0;
                nextPage = b + arena.dataAt();
                setWord(page, kSlotsPerPage, nextPage);
            }
            page = nextPage;
            ++number;
            slot = 0;
        }
    }

    MemHandle allocate(uint32_t size, bool zero)
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!arena.ready())
            return 0;
        const uint32_t started = clockGetMs();
        MemHandle result = 0;
        const uint32_t handle = freeHandle();
        if (handle != 0) {
            hint = static_cast<uint16_t>(handle);
            const uint32_t b = arena.alloc(handle, size, true, zero);
            if (b != kNone) {
                setWord(pageAt(handle >> 8), handle & 0xFF, b + arena.dataAt());
                if (handle > highest)
                    highest = static_cast<uint16_t>(handle);
                result = static_cast<MemHandle>(handle);
            }
        }
        arena.noteAllocTime(clockGetMs() - started);
        return result;
    }
};

HandlePool& handlePool()
{
    static HandlePool pool;
    return pool;
}

// ---- pool 2: pointers ------------------------------------------------------

struct PointerPool {
    std::mutex lock;
    Arena arena{Layout{8, 12, 0, 4, 18}};
};

PointerPool& pointerPool()
{
    static PointerPool pool;
    return pool;
}

bool productFits(uint32_t count, uint32_t size, uint32_t* product)
{
    const uint64_t p = uint64_t(count) * size;
    if (p > 0xFFFFFFFFu)
        return false;
    *product = static_cast<uint32_t>(p);
    return true;
}

void* heapAllocate(uint32_t size, bool zero)
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.arena.ready())
        return nullptr;
    const uint32_t started = clockGetMs();
    uint32_t b = pool.arena.alloc(1, size, true, zero);
    if (b == kNone) {
        pool.arena.resetRover();
        b = pool.arena.alloc(1, size, true, zero);
    }
    pool.arena.noteAllocTime(clockGetMs() - started);
    return b == kNone ? nullptr : pool.arena.base() + b + pool.arena.dataAt();
}

} // namespace

int memInit(void* region, uint32_t size, uint32_t boundary)
{
    HandlePool& pool = handlePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.arena.init(region, size, boundary))
        return 0;
    std::memset(pool.page0, 0, sizeof pool.page0);
    pool.hint = 1;
    pool.highest = 0;
    return 1;
}

MemHandle memAlloc(uint32_t size)
{
    return handlePool().allocate(size, false);
}

MemHandle memCalloc(uint32_t count, uint32_t size)
{
    uint32_t bytes = 0;
    return productFits(count, size, &bytes) ? handlePool().allocate(bytes, true) : 0;
}

void* memHandleToPtr(uint32_t handle)
{
    HandlePool& pool = handlePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.arena.ready())
        return nullptr;
    const uint32_t value = pool.slotValue(handle);
    return value == 0 ? nullptr : pool.arena.base() + value;
}

void memFree(uint32_t handle)
{
    HandlePool& pool = handlePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    if (!pool.arena.ready())
        return;
    const uint32_t value = pool.slotValue(handle);
    if (value == 0)
        return;
    const uint32_t block = value - pool.arena.dataAt();
    if (pool.arena.owner(block) != handle)
        return;
    pool.setWord(pool.pageAt(handle >> 8), handle & 0xFF, 0);
    pool.arena.release(block);
    if (handle < pool.hint)
        pool.hint = static_cast<uint16_t>(handle);
}

void memGetStats(MemStats* out)
{
    if (out == nullptr)
        return;
    HandlePool& pool = handlePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    out->highestHandle = pool.highest;
    pool.arena.stats(&out->worstAllocMs, &out->allocations, &out->blocks, &out->freeBytes,
                     &out->lastBlockFree, &out->minFreeBytes, &out->lastBlockLowWater);
}

bool memCheckIntegrity()
{
    HandlePool& pool = handlePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    std::set<uint32_t> used;
    if (!pool.arena.check(&used))
        return false;
    size_t named = 0;
    uint32_t page = 0;
    for (uint32_t number = 0; number < kMaxPages; ++number) {
        for (uint32_t slot = 0; slot < kSlotsPerPage; ++slot) {
            const uint32_t value = pool.word(page, slot);
            if (value == 0)
                continue;
            const uint32_t block = value - pool.arena.dataAt();
            if ((number == 0 && slot == 0) || used.count(block) == 0 ||
                pool.arena.owner(block) != number * 256 + slot)
                return false;
            ++named;
        }
        const uint32_t nextPage = pool.word(page, kSlotsPerPage);
        if (nextPage == 0)
            break;
        const uint32_t block = nextPage - pool.arena.dataAt();
        if (used.count(block) == 0 || pool.arena.owner(block) != number * 256 + kSlotsPerPage)
            return false;
        ++named;
        page = nextPage;
    }
    return named == used.size();
}

int heapInit(void* region, uint32_t size, uint32_t boundary)
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    return pool.arena.init(region, size, boundary) ? 1 : 0;
}

void* heapAlloc(uint32_t size)
{
    return heapAllocate(size, false);
}

void* heapCalloc(uint32_t count, uint32_t size)
{
    uint32_t bytes = 0;
    return productFits(count, size, &bytes) ? heapAllocate(bytes, true) : nullptr;
}

void heapFree(void* ptr)
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    const uint32_t block = pool.arena.usedBlockAt(ptr);
    if (block != kNone)
        pool.arena.release(block);
}

bool heapContains(const void* ptr)
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    return pool.arena.contains(ptr);
}

uint32_t heapBlockSize(const void* ptr)
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    const uint32_t block = pool.arena.usedBlockAt(ptr);
    return block == kNone ? 0 : pool.arena.dataSize(block);
}

void heapGetStats(HeapStats* out)
{
    if (out == nullptr)
        return;
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    pool.arena.stats(&out->worstAllocMs, &out->allocations, &out->blocks, &out->freeBytes,
                     &out->lastBlockFree, &out->minFreeBytes, &out->lastBlockLowWater);
}

bool heapCheckIntegrity()
{
    PointerPool& pool = pointerPool();
    std::lock_guard<std::mutex> guard(pool.lock);
    std::set<uint32_t> used;
    return pool.arena.check(&used);
}
