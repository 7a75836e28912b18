#include "kernel.h"

#include "threadfunc.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <vector>

struct KernelObject {
    virtual ~KernelObject() = default;
};

namespace {

struct Semaphore : KernelObject {
    explicit Semaphore(unsigned initial) : sem(initial) {}
    threadfunc::semaphore sem;
};

template <class T>
struct Mailbox : KernelObject {
    explicit Mailbox(uint32_t depth) : queue(depth) {}
    threadfunc::queue_template<T> queue;
};

using IntMailbox = Mailbox<int>;
using PtrMailbox = Mailbox<void*>;

// Guards every alarm's code and mailbox binding, so that an expiry never posts
// into a mailbox that is being destroyed.
std::mutex& bindingLock()
{
    static std::mutex lock;
    return lock;
}

struct Alarm;
// Alarms bound to each live mailbox (under bindingLock).
std::multimap<IntMailbox*, Alarm*>& alarmsByMailbox()
{
    static std::multimap<IntMailbox*, Alarm*> bound;
    return bound;
}

class AlarmTimer : public threadfunc::TTimerBase {
public:
    explicit AlarmTimer(Alarm* owner) : mOwner(owner) {}
    ~AlarmTimer() override { detach(); }

protected:
    void expire() override;

private:
    Alarm* mOwner;
};

struct Alarm : KernelObject {
    explicit Alarm(IntMailbox* box) : mailbox(box), timer(this) {}
    ~Alarm() override
    {
        timer.stop();
        std::lock_guard<std::mutex> guard(bindingLock());
        unbind();
    }
    void unbind()
    {
        auto range = alarmsByMailbox().equal_range(mailbox);
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second == this) {
                alarmsByMailbox().erase(it);
                break;
            }
        }
        mailbox = nullptr;
    }
    // Under bindingLock.
    void post(int value)
    {
        if (mailbox != nullptr)
            mailbox->queue.tryPut(value);
    }

    IntMailbox* mailbox;
    int code = 0;
    // Set by a start, cleared by a stop or a post (under bindingLock). The timer
    // thread may already have taken the timer as due when a stop or restart
    // comes; this flag and the running timer tell that expiry it is stale.
    bool pending = false;
    AlarmTimer timer;
};

void AlarmTimer::expire()
{
    std::lock_guard<std::mutex> guard(bindingLock());
    // Running again: restarted after this expiry was taken as due; the new
    // arming posts the code when its own time has come.
    if (!mOwner->pending || isRunning())
        return;
    mOwner->pending = false;
    mOwner->post(mOwner->code);
}

// Every semaphore made by kernelSemaphoreCreate. Those still registered at exit
// are left to the operating system: driver tasks never end and may still wait on
// them while static objects are destroyed.
class TSemaphoreList {
public:
    void add(Semaphore* s)
    {
        std::lock_guard<std::mutex> guard(mLock);
        mList.push_back(s);
    }
    // True when it was registered (and is now removed).
    bool remove(KernelObject* s)
    {
        std::lock_guard<std::mutex> guard(mLock);
        auto it = std::find(mList.begin(), mList.end(), s);
        if (it == mList.end())
            return false;
        mList.erase(it);
        return true;
    }

private:
    std::mutex mLock;
    std::vector<Semaphore*> mList;
};

TSemaphoreList& semaphoreList()
{
    static TSemaphoreList* list = new TSemaphoreList;
    return *list;
}

template <class T>
T* objectOf(KernelHandle* handle)
{
    return handle == nullptr ? nullptr : dynamic_cast<T*>(*handle);
}

int16_t asShort(uint32_t value)
{
    return static_cast<int16_t>(value);
}

// ---- Tasks ----

struct TaskRecord {
    KernelTaskFunction task;
    KernelTaskFunctionEx taskEx;
    uint32_t argument;
    void* argumentEx;
};

void* taskEntry(void* raw)
{
    std::unique_ptr<TaskRecord> record(static_cast<TaskRecord*>(raw));
    if (record->task != nullptr)
        record->task(record->argument);
    else
        record->taskEx(record->argumentEx);
    return nullptr;
}

int startTask(int priority, TaskRecord* record, uint32_t stackSize, const char* originFile, int originLine)
{
    const pthread_t thread =
        threadfunc::ThreadCreate(priority, taskEntry, record, stackSize, originFile, originLine);
    if (thread == 0) {
        delete record;
        return 0;
    }
    // Nobody joins a task: its thread's resources go when it ends.
    pthread_detach(thread);
    return 1;
}

// ---- Fixed-block pools ----

constexpr uint32_t kPoolHeader = 20;
constexpr uint32_t kBlockHeader = 8;
constexpr uint32_t kTotalAt = 0, kHeadAt = 4, kLowWaterAt = 8, kSemaphoreAt = 12, kMutexAt = 16;

struct PoolSync {
    explicit PoolSync(unsigned blocks) : freeBlocks(blocks) {}
    threadfunc::semaphore freeBlocks;
    threadfunc::mutex lock;
};

// The pool header's words cannot hold pointers on every host: they hold the
// index of the pool's semaphore and mutex in this table instead.
std::mutex& poolTableLock()
{
    static std::mutex lock;
    return lock;
}

std::deque<PoolSync>& poolTable()
{
    static std::deque<PoolSync> table;
    return table;
}

uint32_t word(const void* base, uint32_t at)
{
    uint32_t v;
    std::memcpy(&v, static_cast<const uint8_t*>(base) + at, sizeof v);
    return v;
}

void setWord(void* base, uint32_t at, uint32_t v)
{
    std::memcpy(static_cast<uint8_t*>(base) + at, &v, sizeof v);
}

PoolSync& syncOf(KernelPool* pool)
{
    std::lock_guard<std::mutex> guard(poolTableLock());
    return poolTable()[word(pool, kSemaphoreAt)];
}

} // namespace

// ---- Critical section ----

namespace {
pthread_mutex_t gCriticalSection = PTHREAD_RECURSIVE_MUTEX_INITIALIZER_NP;
}

void kernelCriticalSectionEnter()
{
    pthread_mutex_lock(&gCriticalSection);
}

void kernelCriticalSectionLeave()
{
    pthread_mutex_unlock(&gCriticalSection);
}

void kernelInit() {}

// ---- Tasks ----

int kernelTaskCreate(int priority, KernelTaskFunction task, uint32_t argument, const char* originFile,
                     int originLine)
{
    return kernelTaskCreateStack(priority, task, argument, 1024, originFile, originLine);
}

int kernelTaskCreateStack(int priority, KernelTaskFunction task, uint32_t argument, uint32_t stackSize,
                          const char* originFile, int originLine)
{
    if (task == nullptr)
        return 0;
    return startTask(priority, new TaskRecord{task, nullptr, argument & 0xFFFFu, nullptr}, stackSize,
                     originFile, originLine);
}

int kernelTaskCreateEx(int priority, uint32_t stackSize, KernelTaskFunctionEx task, void* argument,
                       const char* originFile, int originLine)
{
    if (task == nullptr)
        return 0;
    return startTask(priority, new TaskRecord{nullptr, task, 0, argument}, stackSize, originFile, originLine);
}

void kernelTaskYield()
{
    threadfunc::yield();
}

void kernelDelay(uint32_t ms)
{
    threadfunc::sleep(static_cast<int>(ms), 0);
}

void kernelQuietOn()
{
    threadfunc::setQuietMode();
}

void kernelQuietOff()
{
    threadfunc::clearQuietMode();
}

// ---- Semaphores ----

int kernelSemaphoreCreate(KernelHandle* handle, int initialCount)
{
    if (handle == nullptr)
        return 0;
    Semaphore* s = new Semaphore(initialCount > 0 ? static_cast<unsigned>(initialCount) : 0u);
    semaphoreList().add(s);
    *handle = s;
    return 1;
}

void kernelSemaphoreDelete(KernelHandle* handle)
{
    if (handle != nullptr && *handle != nullptr && semaphoreList().remove(*handle))
        delete *handle;
}

void kernelSemaphoreSignal(KernelHandle* handle)
{
    if (Semaphore* s = objectOf<Semaphore>(handle))
        s->sem.post();
}

void kernelSemaphoreWait(KernelHandle* handle)
{
    if (Semaphore* s = objectOf<Semaphore>(handle))
        s->sem.wait();
}

int kernelSemaphoreSignalCheck(KernelHandle* handle)
{
    Semaphore* s = objectOf<Semaphore>(handle);
    if (s == nullptr)
        return 0;
    s->sem.post();
    return s->sem.getValue() <= 0 ? 1 : 0;
}

int16_t kernelSemaphoreCount(KernelHandle* handle)
{
    Semaphore* s = objectOf<Semaphore>(handle);
    return s == nullptr ? 0 : asShort(static_cast<uint32_t>(s->sem.getValue()));
}

// ---- Mailboxes of int ----

int kernelMailboxCreate(KernelHandle* handle, int depth)
{
    if (handle == nullptr || depth <= 0)
        return 0;
    *handle = new IntMailbox(static_cast<uint32_t>(depth));
    return 1;
}

void kernelMailboxPut(KernelHandle* handle, int value)
{
    if (IntMailbox* m = objectOf<IntMailbox>(handle))
        m->queue.put(value);
}

int kernelMailboxTryPut(KernelHandle* handle, int value)
{
    IntMailbox* m = objectOf<IntMailbox>(handle);
    return m == nullptr ? 0 : m->queue.tryPut(value);
}

uint8_t kernelMailboxWait(KernelHandle* handle)
{
    IntMailbox* m = objectOf<IntMailbox>(handle);
    return m == nullptr ? 0 : static_cast<uint8_t>(m->queue.get());
}

int kernelMailboxTryGet(KernelHandle* handle, uint8_t* value)
{
    IntMailbox* m = objectOf<IntMailbox>(handle);
    int got = 0;
    const int taken = m == nullptr ? 0 : m->queue.tryGet(got);
    if (value != nullptr)
        *value = taken ? static_cast<uint8_t>(got) : 0;
    return taken;
}

void kernelMailboxClear(KernelHandle* handle)
{
    if (IntMailbox* m = objectOf<IntMailbox>(handle))
        m->queue.clear();
}

int16_t kernelMailboxCount(KernelHandle* handle)
{
    IntMailbox* m = objectOf<IntMailbox>(handle);
    return m == nullptr ? 0 : asShort(m->queue.waitingCount());
}

int16_t kernelMailboxSpace(KernelHandle* handle)
{
    IntMailbox* m = objectOf<IntMailbox>(handle);
    return m == nullptr ? 0 : asShort(m->queue.freeCount());
}

// ---- Mailboxes of pointers ----

int ptrMailboxCreate(KernelHandle* handle, int depth)
{
    if (handle == nullptr || depth <= 0)
        return 0;
    *handle = new PtrMailbox(static_cast<uint32_t>(depth));
    return 1;
}

void ptrMailboxPut(KernelHandle* handle, void* value)
{
    if (PtrMailbox* m = objectOf<PtrMailbox>(handle))
        m->queue.put(value);
}

int ptrMailboxTryPut(KernelHandle* handle, void* value)
{
    PtrMailbox* m = objectOf<PtrMailbox>(handle);
    return m == nullptr ? 0 : m->queue.tryPut(value);
}

void* ptrMailboxWait(KernelHandle* handle)
{
    PtrMailbox* m = objectOf<PtrMailbox>(handle);
    return m == nullptr ? nullptr : m->queue.get();
}

int ptrMailboxTryGet(KernelHandle* handle, void** value)
{
    PtrMailbox* m = objectOf<PtrMailbox>(handle);
    void* got = nullptr;
    const int taken = m == nullptr ? 0 : m->queue.tryGet(got);
    if (value != nullptr)
        *value = taken ? got : nullptr;
    return taken;
}

void ptrMailboxClear(KernelHandle* handle)
{
    if (PtrMailbox* m = objectOf<PtrMailbox>(handle))
        m->queue.clear();
}

void kernelObjectDelete(KernelHandle* handle)
{
    if (handle == nullptr || *handle == nullptr)
        return;
    if (dynamic_cast<Semaphore*>(*handle) != nullptr) {
        kernelSemaphoreDelete(handle);
        return;
    }
    if (IntMailbox* m = dynamic_cast<IntMailbox*>(*handle)) {
        std::lock_guard<std::mutex> guard(bindingLock());
        auto range = alarmsByMailbox().equal_range(m);
        for (auto it = range.first; it != range.second; ++it)
            it->second->mailbox = nullptr;
        alarmsByMailbox().erase(m);
    }
    delete *handle;
}

// ---- Alarms ----

int kernelAlarmCreate(KernelHandle* handle, KernelHandle* mailbox)
{
    if (handle == nullptr)
        return 0;
    IntMailbox* box = objectOf<IntMailbox>(mailbox);
    Alarm* alarm = new Alarm(box);
    if (box != nullptr) {
        std::lock_guard<std::mutex> guard(bindingLock());
        alarmsByMailbox().emplace(box, alarm);
    }
    *handle = alarm;
    return 1;
}

void kernelAlarmStart(KernelHandle* handle, uint32_t ms, int code)
{
    Alarm* alarm = objectOf<Alarm>(handle);
    if (alarm == nullptr)
        return;
    // Armed under the binding lock, so that an expiry already taken as due sees
    // the timer running again and stands back.
    std::lock_guard<std::mutex> guard(bindingLock());
    alarm->code = code;
    alarm->pending = true;
    alarm->timer.startOneShot(ms);
}

void kernelAlarmStop(KernelHandle* handle)
{
    if (Alarm* alarm = objectOf<Alarm>(handle)) {
        std::lock_guard<std::mutex> guard(bindingLock());
        alarm->pending = false;
        alarm->timer.stop();
    }
}

void kernelAlarmPostNow(KernelHandle* handle, int value)
{
    if (Alarm* alarm = objectOf<Alarm>(handle)) {
        std::lock_guard<std::mutex> guard(bindingLock());
        alarm->post(value);
    }
}

// ---- Fixed-block pools ----

KernelPool* kernelPoolCreate(void* region, uint32_t regionSize, uint32_t blockSize)
{
    if (region == nullptr || uint64_t(blockSize) + 28 >= regionSize || uint64_t(blockSize) + kBlockHeader > 0xFFFF)
        return nullptr;
    const uint32_t stride = blockSize + kBlockHeader;
    const uint32_t blocks = (regionSize - kPoolHeader) / stride;
    uint32_t index;
    {
        std::lock_guard<std::mutex> guard(poolTableLock());
        index = static_cast<uint32_t>(poolTable().size());
        poolTable().emplace_back(blocks);
    }
    uint32_t head = 0;
    for (uint32_t i = 0; i < blocks; ++i) {
        const uint32_t block = kPoolHeader + i * stride;
        uint8_t* at = static_cast<uint8_t*>(region) + block;
        setWord(at, 0, head);
        setWord(at, 4, block);
        head = block;
    }
    setWord(region, kTotalAt, blocks);
    setWord(region, kHeadAt, head);
    setWord(region, kLowWaterAt, blocks);
    setWord(region, kSemaphoreAt, index);
    setWord(region, kMutexAt, index);
    return static_cast<KernelPool*>(region);
}

void* kernelPoolGet(KernelPool* pool)
{
    if (pool == nullptr)
        return nullptr;
    PoolSync& sync = syncOf(pool);
    sync.freeBlocks.wait();
    sync.lock.lock();
    const uint32_t block = word(pool, kHeadAt);
    uint8_t* at = reinterpret_cast<uint8_t*>(pool) + block;
    setWord(pool, kHeadAt, word(at, 0));
    const uint32_t freeNow = static_cast<uint32_t>(sync.freeBlocks.getValue());
    if (freeNow < word(pool, kLowWaterAt))
        setWord(pool, kLowWaterAt, freeNow);
    sync.lock.unlock();
    return at;
}

void kernelPoolRelease(void* block)
{
    if (block == nullptr)
        return;
    uint8_t* at = static_cast<uint8_t*>(block);
    const uint32_t offset = word(at, 4);
    KernelPool* pool = reinterpret_cast<KernelPool*>(at - offset);
    PoolSync& sync = syncOf(pool);
    sync.lock.lock();
    setWord(at, 0, word(pool, kHeadAt));
    setWord(pool, kHeadAt, offset);
    sync.lock.unlock();
    sync.freeBlocks.post();
}

uint16_t kernelPoolFreeCount(KernelPool* pool)
{
    return pool == nullptr ? 0 : static_cast<uint16_t>(syncOf(pool).freeBlocks.getValue());
}

uint16_t kernelPoolUsedCount(KernelPool* pool)
{
    return pool == nullptr ? 0 : static_cast<uint16_t>(word(pool, kTotalAt) - kernelPoolFreeCount(pool));
}

uint16_t kernelPoolLowWater(KernelPool* pool)
{
    if (pool == nullptr)
        return 0;
    PoolSync& sync = syncOf(pool);
    sync.lock.lock();
    const uint32_t mark = word(pool, kLowWaterAt);
    sync.lock.unlock();
    return static_cast<uint16_t>(mark);
}

void kernelPoolResetLowWater(KernelPool* pool)
{
    if (pool == nullptr)
        return;
    PoolSync& sync = syncOf(pool);
    sync.lock.lock();
    setWord(pool, kLowWaterAt, static_cast<uint32_t>(sync.freeBlocks.getValue()));
    sync.lock.unlock();
}
