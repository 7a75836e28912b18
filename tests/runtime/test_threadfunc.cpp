#include "threadfunc.h"

#include "test_capture.h"

#include <doctest/doctest.h>

#include <atomic>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

using namespace threadfunc;

namespace {
long long monotonicMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

struct SeenByThread {
    int policy = -1;
    int priority = -1;
    size_t stackSize = 0;
    int apiPriority = -2;
};

void* recordScheduling(void* arg)
{
    SeenByThread* seen = static_cast<SeenByThread*>(arg);
    struct sched_param param;
    pthread_getschedparam(pthread_self(), &seen->policy, &param);
    seen->priority = param.sched_priority;
    seen->apiPriority = threadPriority();
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
        pthread_attr_getstacksize(&attr, &seen->stackSize);
        pthread_attr_destroy(&attr);
    }
    return reinterpret_cast<void*>(static_cast<intptr_t>(42));
}

SeenByThread runThread(int priority, uint32_t stackSize)
{
    SeenByThread seen;
    const pthread_t handle = ThreadCreate(priority, recordScheduling, &seen, stackSize, __FILE__, __LINE__);
    REQUIRE(handle != 0);
    CHECK(threadJoin(handle) == reinterpret_cast<void*>(static_cast<intptr_t>(42)));
    return seen;
}

std::atomic<int> ranInChild{0};

void* markRan(void*)
{
    ranInChild.store(1);
    return nullptr;
}

// Loses the right to real-time scheduling for good: no RLIMIT_RTPRIO allowance,
// then an unprivileged user, which drops every capability.
bool dropRealtimeRights()
{
    struct rlimit none = {0, 0};
    if (setrlimit(RLIMIT_RTPRIO, &none) != 0)
        return false;
    if (setgid(65534) != 0 || setuid(65534) != 0)
        return false;
    struct sched_param param;
    param.sched_priority = 10;
    return sched_setscheduler(0, SCHED_RR, &param) == -1 && errno == EPERM;
}
}  // namespace

TEST_CASE("API priority maps to SCHED_RR 99 - p, ordinary threads from 99 on")
{
    REQUIRE(geteuid() == 0);
    struct Case {
        int api;
        int policy;
        int priority;
        int reported;
    };
    const Case cases[] = {
        {0, SCHED_RR, 99, 0},     {17, SCHED_RR, 82, 17},     {20, SCHED_RR, 79, 20},
        {90, SCHED_RR, 9, 90},    {98, SCHED_RR, 1, 98},      {99, SCHED_OTHER, 0, 99},
        {150, SCHED_OTHER, 0, 99},
    };
    for (const Case& c : cases) {
        CAPTURE(c.api);
        const SeenByThread seen = runThread(c.api, 0);
        CHECK(seen.policy == c.policy);
        CHECK(seen.priority == c.priority);
        CHECK(seen.apiPriority == c.reported);
    }
}

TEST_CASE("thread stacks are at least 16384 bytes")
{
    struct Case {
        uint32_t requested;
        size_t expected;
    };
    const Case cases[] = {{0, 16384}, {1024, 16384}, {16383, 16384}, {35840, 35840}, {1048576, 1048576}};
    for (const Case& c : cases) {
        CAPTURE(c.requested);
        CHECK(runThread(99, c.requested).stackSize == c.expected);
    }
}

TEST_CASE("without the right to real-time scheduling threads still run; the refusal is told only outside quiet mode")
{
    struct Case {
        bool quiet;
        bool expectMessages;
    };
    const Case cases[] = {{true, false}, {false, true}};
    for (const Case& c : cases) {
        CAPTURE(c.quiet);
        std::string output;
        const int status = runInChild(
            [&]() -> int {
                if (!dropRealtimeRights())
                    return 3;
                if (c.quiet)
                    setQuietMode();
                else
                    clearQuietMode();
                const pthread_t handle = ThreadCreate(10, markRan, nullptr, 0, "origin.cpp", 77);
                if (handle == 0)
                    return 4;
                threadJoin(handle);
                return ranInChild.load() == 1 ? 0 : 5;
            },
            &output);
        CHECK(status == 0);
        const bool refusal =
            output.find("threadfunc::InitThread() - sched_setscheduler() reports error: ") != std::string::npos &&
            output.find(" # Run as ROOT to allow setting of thread priority\n") != std::string::npos;
        CHECK(refusal == c.expectMessages);
        CHECK((output.find("Starting thread. Process: ") != std::string::npos) == c.expectMessages);
        CHECK((output.find("Call origin: origin.cpp line 77\n") != std::string::npos) == c.expectMessages);
        if (c.expectMessages)
            CHECK(output.find(", priority: 99\n") != std::string::npos);  // fell back to an ordinary thread
    }
    setQuietMode();
}

TEST_CASE("sleep waits on the monotonic clock; negative durations return at once")
{
    long long start = monotonicMs();
    threadfunc::sleep(60);
    CHECK(monotonicMs() - start >= 60);

    start = monotonicMs();
    threadfunc::sleep(0, 20000);
    CHECK(monotonicMs() - start >= 20);

    start = monotonicMs();
    threadfunc::sleep(-5000);
    threadfunc::sleep(0, -1);
    CHECK(monotonicMs() - start < 1000);
}

TEST_CASE("process name and resident sizes")
{
    const std::string expected = std::string(program_invocation_short_name).substr(0, 15);
    CHECK(processName() == expected);

    const long before = residentSize();
    CHECK(before > 0);
    const size_t bytes = 64u << 20;
    std::vector<char> block(bytes);
    for (size_t i = 0; i < bytes; i += 4096)
        block[i] = static_cast<char>(i);
    const long after = residentSize();
    CHECK(after - before >= static_cast<long>(bytes / 2));
    CHECK(maxResidentSize() >= before + static_cast<long>(bytes / 2));
}

TEST_CASE("mutex and semaphore")
{
    threadfunc::mutex lock;
    CHECK(lock.tryLock() == 1);
    struct Probe {
        threadfunc::mutex* lock;
        std::atomic<int> result{-1};
    } probe;
    probe.lock = &lock;
    const pthread_t other = ThreadCreate(99, [](void* arg) -> void* {
        Probe* p = static_cast<Probe*>(arg);
        p->result.store(p->lock->tryLock());
        return nullptr;
    }, &probe, 0);
    REQUIRE(other != 0);
    threadJoin(other);
    CHECK(probe.result.load() == 0);
    lock.unlock();
    CHECK(lock.tryLock() == 1);
    lock.unlock();

    threadfunc::semaphore sem(2);
    CHECK(sem.getValue() == 2);
    CHECK(sem.tryWait() == 1);
    sem.wait();
    CHECK(sem.tryWait() == 0);
    sem.post();
    CHECK(sem.getValue() == 1);
}

TEST_CASE("bounded queue: order, capacity, blocking and clear")
{
    queue_template<int> queue(3);
    CHECK(queue.freeCount() == 3);
    CHECK(queue.tryPut(1) == 1);
    queue.put(2);
    CHECK(queue.tryPut(3) == 1);
    CHECK(queue.tryPut(4) == 0);  // full: dropped
    CHECK(queue.waitingCount() == 3);
    CHECK(queue.freeCount() == 0);
    CHECK(queue.get() == 1);
    int value = 0;
    CHECK(queue.tryGet(value) == 1);
    CHECK(value == 2);
    CHECK(queue.get() == 3);
    CHECK(queue.tryGet(value) == 0);

    // A blocking put on a full queue waits until a slot is taken.
    queue.put(10);
    queue.put(11);
    queue.put(12);
    std::atomic<int> stored{0};
    struct Args {
        queue_template<int>* queue;
        std::atomic<int>* stored;
    } args{&queue, &stored};
    const pthread_t producer = ThreadCreate(99, [](void* arg) -> void* {
        Args* a = static_cast<Args*>(arg);
        a->queue->put(13);
        a->stored->store(1);
        return nullptr;
    }, &args, 0);
    REQUIRE(producer != 0);
    threadfunc::sleep(50);
    CHECK(stored.load() == 0);
    CHECK(queue.get() == 10);
    threadJoin(producer);
    CHECK(stored.load() == 1);

    queue.clear();
    CHECK(queue.waitingCount() == 0);
    CHECK(queue.freeCount() == 3);
    CHECK(queue.tryGet(value) == 0);
    queue.put(20);
    CHECK(queue.get() == 20);
}

TEST_CASE("queue under producers and consumers keeps every value exactly once")
{
    queue_template<int> queue(8);
    constexpr int kPerProducer = 2000;
    constexpr int kProducers = 3;
    struct Shared {
        queue_template<int>* queue;
        std::atomic<int> next{0};
        std::atomic<long long> sum{0};
        std::atomic<int> taken{0};
    } shared;
    shared.queue = &queue;
    auto produce = [](void* arg) -> void* {
        Shared* s = static_cast<Shared*>(arg);
        for (int i = 0; i < kPerProducer; ++i) {
            const int v = s->next.fetch_add(1);
            if (i % 2 == 0)
                s->queue->put(v);
            else
                while (!s->queue->tryPut(v))
                    threadfunc::sleep(0, 100);
        }
        return nullptr;
    };
    auto consume = [](void* arg) -> void* {
        Shared* s = static_cast<Shared*>(arg);
        for (int i = 0; i < kPerProducer * kProducers / 2; ++i) {
            s->sum.fetch_add(s->queue->get());
            s->taken.fetch_add(1);
        }
        return nullptr;
    };
    std::vector<pthread_t> threads;
    for (int i = 0; i < kProducers; ++i)
        threads.push_back(ThreadCreate(99, produce, &shared, 0));
    threads.push_back(ThreadCreate(99, consume, &shared, 0));
    threads.push_back(ThreadCreate(99, consume, &shared, 0));
    for (pthread_t t : threads) {
        REQUIRE(t != 0);
        threadJoin(t);
    }
    const long long n = kPerProducer * kProducers;
    CHECK(shared.taken.load() == n);
    CHECK(shared.sum.load() == n * (n - 1) / 2);
    CHECK(queue.waitingCount() == 0);
    CHECK(queue.freeCount() == 8);
}

namespace {
class CountingThread : public Thread {
public:
    CountingThread() : Thread(99, 0) {}
    ~CountingThread() override { stop(); }
    std::atomic<int> runs{0};

protected:
    void run() override
    {
        runs.fetch_add(1);
        threadfunc::sleep(30);
    }
};

class Collector : public CmdThread<int> {
public:
    Collector() : CmdThread<int>(99, 16) {}
    ~Collector() override { stop(); }
    std::vector<int> seen;

protected:
    bool handle(int& command) override
    {
        seen.push_back(command);
        return command != 0;
    }
};
}  // namespace

TEST_CASE("a thread object starts once and joins on stop")
{
    CountingThread never;
    never.stop();  // never started: nothing to do
    CHECK_FALSE(never.isStarted());

    CountingThread thread;
    thread.start();
    thread.start();
    CHECK(thread.isStarted());
    thread.stop();
    CHECK_FALSE(thread.isStarted());
    CHECK(thread.runs.load() == 1);

    thread.start();  // may run again once joined
    thread.stop();
    CHECK(thread.runs.load() == 2);
}

TEST_CASE("a command thread handles its commands in order until handle ends it")
{
    Collector collector;
    collector.put(5);
    collector.put(6);
    collector.start();
    collector.put(7);
    collector.put(0);
    collector.put(8);  // after the end: stays in the queue
    collector.stop();
    CHECK(collector.seen == std::vector<int>{5, 6, 7, 0});
    CHECK(collector.waitingCount() == 1);
}

namespace {
// What the thread itself and the process's task list call the thread.
struct ThreadNames {
    std::string given;
    std::string seen;
    std::string listed;
};

std::string listedName()
{
    std::string name;
    std::ifstream comm("/proc/self/task/" + std::to_string(syscall(SYS_gettid)) + "/comm");
    std::getline(comm, name);
    return name;
}

void* nameItself(void* arg)
{
    ThreadNames* names = static_cast<ThreadNames*>(arg);
    setThreadName(names->given);
    names->seen = threadName();
    names->listed = listedName();
    return nullptr;
}

struct NamedThread : Thread {
    NamedThread() : Thread(99) {}
    ~NamedThread() override { stop(); }
    ThreadNames names;

protected:
    void run() override
    {
        names.seen = threadName();
        names.listed = listedName();
    }
};
}  // namespace

TEST_CASE("a thread's name is cut to the 15 bytes the system keeps")
{
    struct Case {
        const char* given;
        const char* kept;
    };
    for (const Case c : {Case{"io-update", "io-update"}, Case{"fifteen-bytes-x", "fifteen-bytes-x"},
                         Case{"sixteen-bytes-xy", "sixteen-bytes-x"},
                         Case{"a-much-longer-thread-name", "a-much-longer-t"}}) {
        CAPTURE(c.given);
        ThreadNames names;
        names.given = c.given;
        const pthread_t handle = ThreadCreate(99, nameItself, &names, 0);
        REQUIRE(handle != 0);
        threadJoin(handle);
        CHECK(names.seen == c.kept);
        CHECK(names.listed == c.kept);

        NamedThread thread;
        thread.setName(c.given);
        thread.start();
        thread.stop();
        CHECK(thread.names.seen == c.kept);
        CHECK(thread.names.listed == c.kept);
    }
}

TEST_CASE("a segmentation fault in a thread is reported and ends the process with status 1")
{
    std::string output;
    const int status = runInChild(
        []() -> int {
            const pthread_t handle = ThreadCreate(99, [](void*) -> void* {
                static volatile uintptr_t address = 0x10;
                *reinterpret_cast<volatile int*>(address) = 1;
                return nullptr;
            }, nullptr, 0);
            if (handle != 0)
                threadJoin(handle);
            return 7;  // not reached when the fault ends the process
        },
        &output);
    CHECK(status == 1);
    CHECK(output.find(", reports segmentation fault\nThread: signal address 0x10\n") != std::string::npos);
    CHECK(output.find("Process: ") != std::string::npos);
}
