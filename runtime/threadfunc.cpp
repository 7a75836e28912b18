#include "threadfunc.h"

#include "clock.h"

#include <cerrno>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <list>
#include <mutex>
#include <poll.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace threadfunc {

std::atomic<int> quietMode{1};

void setQuietMode()
{
    quietMode.store(1);
}

void clearQuietMode()
{
    quietMode.store(0);
}

namespace {
constexpr uint32_t kMinStack = 16384;
constexpr int kIdleTimeoutMs = 200;

struct StartRecord {
    ThreadEntry entry;
    void* arg;
    int schedPriority;
    const char* originFile;
    int originLine;
};

long kernelThreadId()
{
    return static_cast<long>(syscall(SYS_gettid));
}

int schedMax()
{
    return sched_get_priority_max(SCHED_RR);
}

// API priority p -> SCHED_RR (max - p); 0 means an ordinary SCHED_OTHER thread.
int schedPriorityFor(int priority)
{
    const int max = schedMax();
    const int min = sched_get_priority_min(SCHED_RR);
    const long mapped = static_cast<long>(max) - priority;
    if (mapped < min)
        return 0;
    return mapped > max ? max : static_cast<int>(mapped);
}

void segvHandler(int, siginfo_t* info, void*)
{
    // Only async-signal-safe calls from here on.
    char text[160];
    const int length = std::snprintf(text, sizeof text,
                                     "Process: %ld, thread: %ld, reports segmentation fault\n"
                                     "Thread: signal address %p\n",
                                     static_cast<long>(getpid()), kernelThreadId(),
                                     info ? info->si_addr : nullptr);
    if (length > 0) {
        const ssize_t ignored = write(STDERR_FILENO, text, static_cast<size_t>(length));
        (void)ignored;
    }
    _exit(1);
}

void* threadStart(void* recordPtr)
{
    StartRecord* record = static_cast<StartRecord*>(recordPtr);
    InitThread(record->schedPriority);
    if (record->originFile) {
        std::printf("Starting thread. Process: %ld, thread: %ld, priority: %d\n",
                    static_cast<long>(getpid()), kernelThreadId(), threadPriority());
        std::printf("Call origin: %s line %d\n", record->originFile, record->originLine);
        std::fflush(stdout);
    }
    const ThreadEntry entry = record->entry;
    void* const arg = record->arg;
    delete record;
    return entry(arg);
}
}  // namespace

pthread_t ThreadCreate(int priority, ThreadEntry entry, void* arg, uint32_t stackSize,
                       const char* originFile, int originLine)
{
    if (stackSize < kMinStack)
        stackSize = kMinStack;
    pthread_attr_t attr;
    int err = pthread_attr_init(&attr);
    if (err != 0) {
        std::fprintf(stderr, "threadfunc::ThreadCreate() - pthread_attr_init() reports error: %s\n",
                     std::strerror(err));
        return 0;
    }
    err = pthread_attr_setstacksize(&attr, stackSize);
    if (err != 0) {
        std::fprintf(stderr,
                     "threadfunc::ThreadCreate() - pthread_attr_setstacksize() reports error: %s\n",
                     std::strerror(err));
        pthread_attr_destroy(&attr);
        return 0;
    }
    StartRecord* record = new (std::nothrow) StartRecord;
    if (!record) {
        pthread_attr_destroy(&attr);
        return 0;
    }
    record->entry = entry;
    record->arg = arg;
    record->schedPriority = schedPriorityFor(priority);
    const bool quiet = quietMode.load() != 0;
    record->originFile = quiet ? nullptr : (originFile ? originFile : "");
    record->originLine = originLine;
    pthread_t handle = 0;
    err = pthread_create(&handle, &attr, threadStart, record);
    pthread_attr_destroy(&attr);
    if (err != 0) {
        delete record;
        std::fprintf(stderr, "threadfunc::ThreadCreate() - pthread_create() reports error: %s\n",
                     std::strerror(err));
        return 0;
    }
    return handle;
}

void InitThread(int schedPriority)
{
    sigset_t blocked;
    sigfillset(&blocked);
    sigdelset(&blocked, SIGSEGV);
    pthread_sigmask(SIG_SETMASK, &blocked, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = segvHandler;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGSEGV, &action, nullptr) != 0) {
        std::perror("sigaction");
        std::exit(1);
    }

    struct sched_param param;
    std::memset(&param, 0, sizeof param);
    param.sched_priority = schedPriority;
    const int policy = schedPriority != 0 ? SCHED_RR : SCHED_OTHER;
    const int err = pthread_setschedparam(pthread_self(), policy, &param);
    if (err == 0 || (err == EPERM && quietMode.load() != 0))
        return;
    std::fprintf(stderr, "threadfunc::InitThread() - sched_setscheduler() reports error: %s%s\n",
                 std::strerror(err),
                 err == EPERM ? " # Run as ROOT to allow setting of thread priority" : "");
}

int threadPriority()
{
    int policy = 0;
    struct sched_param param;
    std::memset(&param, 0, sizeof param);
    const int err = pthread_getschedparam(pthread_self(), &policy, &param);
    if (err != 0) {
        std::fprintf(stderr, "threadfunc::threadPriority() - sched_getparam() reports error: %s\n",
                     std::strerror(err));
        return -1;
    }
    return schedMax() - param.sched_priority;
}

void* threadJoin(pthread_t handle)
{
    void* result = nullptr;
    const int err = pthread_join(handle, &result);
    if (err != 0) {
        std::fprintf(stderr, "threadfunc::threadJoin() - pthread_join() reports error: %s\n",
                     std::strerror(err));
        return nullptr;
    }
    return result;
}

void sleep(int ms, int us)
{
    const long long total = static_cast<long long>(ms) * 1000 + us;
    if (total < 0)
        return;
    struct timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    long long ns = deadline.tv_nsec + (total % 1000000) * 1000;
    deadline.tv_sec += static_cast<time_t>(total / 1000000 + ns / 1000000000);
    deadline.tv_nsec = static_cast<long>(ns % 1000000000);
    int attempts = 0;
    int result;
    do {
        ++attempts;
        result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
    } while (result == EINTR);
    if (result != 0)
        std::fprintf(stderr,
                     "threadfunc::sleep() - nanosleep() reports result: %d msec: %d tv_sec: %ld "
                     "tv_nsec: %ld cnt: %d\n",
                     result, ms, static_cast<long>(deadline.tv_sec), deadline.tv_nsec, attempts);
}

void yield()
{
    sched_yield();
}

const std::string& processName()
{
    static const std::string name = [] {
        std::ifstream comm("/proc/self/comm");
        std::string line;
        std::getline(comm, line);
        return line;
    }();
    return name;
}

long maxResidentSize()
{
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return usage.ru_maxrss * 1024L;
}

long residentSize()
{
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    long pages = 0;
    const int fields = std::fscanf(statm, "%*s%ld", &pages);
    std::fclose(statm);
    if (fields != 1)
        return 0;
    return pages * sysconf(_SC_PAGESIZE);
}

void setThreadName(const std::string& name)
{
    char cut[16] = {};
    name.copy(cut, sizeof cut - 1);
    pthread_setname_np(pthread_self(), cut);
}

std::string threadName()
{
    char name[16] = {};
    if (pthread_getname_np(pthread_self(), name, sizeof name) != 0)
        return std::string();
    return name;
}

// ---- mutex, semaphore ----

mutex::mutex() : mHandle(new pthread_mutex_t)
{
    pthread_mutex_init(mHandle.get(), nullptr);
}

mutex::~mutex()
{
    pthread_mutex_destroy(mHandle.get());
}

void mutex::lock()
{
    pthread_mutex_lock(mHandle.get());
}

void mutex::unlock()
{
    pthread_mutex_unlock(mHandle.get());
}

int mutex::tryLock()
{
    return pthread_mutex_trylock(mHandle.get()) == 0 ? 1 : 0;
}

semaphore::semaphore(unsigned initialValue) : mHandle(new sem_t)
{
    sem_init(mHandle.get(), 0, initialValue);
}

semaphore::~semaphore()
{
    sem_destroy(mHandle.get());
}

void semaphore::wait()
{
    while (sem_wait(mHandle.get()) != 0) {
        if (errno != EINTR) {
            std::printf("sem_wait() %d\n", errno);
            return;
        }
    }
}

int semaphore::tryWait()
{
    int result;
    do {
        result = sem_trywait(mHandle.get());
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 1 : 0;
}

void semaphore::post()
{
    sem_post(mHandle.get());
}

int semaphore::getValue()
{
    int value = 0;
    sem_getvalue(mHandle.get(), &value);
    return value;
}

// ---- Thread ----

Thread::Thread(uint32_t priority, uint32_t stackSize)
    : mHandle(0), mPriority(priority), mStackSize(stackSize)
{
}

Thread::~Thread()
{
    Thread::stop();
}

void Thread::start()
{
    if (mHandle != 0)
        return;
    const int priority = mPriority > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(mPriority);
    mHandle = ThreadCreate(priority, threadEntry, this, mStackSize, __FILE__, __LINE__);
}

void Thread::stop()
{
    if (mHandle == 0)
        return;
    threadJoin(mHandle);
    mHandle = 0;
}

void* Thread::threadEntry(void* self)
{
    Thread* thread = static_cast<Thread*>(self);
    if (!thread->mName.empty())
        setThreadName(thread->mName);
    thread->run();
    return nullptr;
}

// ---- Timers ----

// Shared by a timer and the timer thread's list entries, so that an entry taken
// as due stays valid after its timer is gone. Guarded by the timer mutex.
struct TimerControl {
    TTimerBase* timer = nullptr;  // null once the timer is being destroyed
    bool held = false;            // taken as due by the timer thread, not yet done
    bool firing = false;          // expire() is running on the timer thread
    bool stopRequested = false;   // stopped while held: no periodic re-arm
};

namespace {
using TimerEntry = std::shared_ptr<TimerControl>;

std::list<TimerEntry>& timerList()
{
    static std::list<TimerEntry>* list = new std::list<TimerEntry>;
    return *list;
}

std::condition_variable_any& firingDone()
{
    static std::condition_variable_any* done = new std::condition_variable_any;
    return *done;
}

std::once_flag timerThreadOnce;
int wakeRead = -1;
int wakeWrite = -1;
std::atomic<pthread_t> timerThreadHandle{0};

bool isTimerThread()
{
    const pthread_t handle = timerThreadHandle.load();
    return handle != 0 && pthread_equal(handle, pthread_self());
}

void startTimerThread()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, " Unable to initialize pipe for Thread timer\n");
    } else {
        wakeRead = ends[0];
        wakeWrite = ends[1];
    }
    clockAddAdvanceHook(timerWakeup);
    timerThreadHandle.store(ThreadCreate(0, timerThreadMain, nullptr, 0, __FILE__, __LINE__));
}

// Waits until woken or the timeout passes; drains the wake bytes. poll rather
// than select: the pipe may be made when descriptors beyond FD_SETSIZE are open.
void timerSleep(int timeoutMs)
{
    struct pollfd wake;
    wake.fd = wakeRead;  // a negative descriptor is ignored: only the timeout wakes
    wake.events = POLLIN;
    wake.revents = 0;
    const int ready = poll(&wake, 1, timeoutMs);
    if (ready <= 0 || wakeRead < 0 || !(wake.revents & POLLIN))
        return;
    char bytes[64];
    ssize_t got;
    do {
        got = read(wakeRead, bytes, sizeof bytes);
    } while (got == static_cast<ssize_t>(sizeof bytes));
    if (got < 0 && errno != EAGAIN && errno != EINTR)
        std::fprintf(stderr, " _threadTimerSleep unable to do a read\n");
}

// Signed difference of two clock readings, safe across the wrap.
int32_t msBetween(uint32_t from, uint32_t to)
{
    return static_cast<int32_t>(to - from);
}
}  // namespace

mutex& timerMutex()
{
    static mutex* lock = new mutex;
    return *lock;
}

void timerWakeup()
{
    if (wakeWrite < 0)
        return;
    const char zero = 0;
    // A full pipe already holds a wake-up; the write end never blocks, so the timer
    // thread may arm timers from inside expire().
    if (write(wakeWrite, &zero, 1) != 1 && errno != EAGAIN)
        std::fprintf(stderr, " _threadTimerWakeup unable to do a write\n");
}

TTimerBase::TTimerBase(uint32_t periodMs)
    : mControl(std::make_shared<TimerControl>()), mExpiry(0), mArmedAt(0), mArmed(false), mPeriodic(false),
      mPeriod(periodMs)
{
    mControl->timer = this;
    std::call_once(timerThreadOnce, startTimerThread);
}

TTimerBase::~TTimerBase()
{
    detach();
}

void TTimerBase::detach()
{
    mutex& lock = timerMutex();
    lock.lock();
    if (mControl->timer) {
        mControl->timer = nullptr;
        stopLocked();
    }
    // An expire() running on the timer thread is waited for, unless that is us.
    if (!isTimerThread())
        while (mControl->firing)
            firingDone().wait(lock);
    lock.unlock();
}

void TTimerBase::stopLocked()
{
    std::list<TimerEntry>& list = timerList();
    for (auto it = list.begin(); it != list.end();)
        it = (*it == mControl) ? list.erase(it) : std::next(it);
    mArmed = false;
    mExpiry = 0;
    if (mControl->held)
        mControl->stopRequested = true;
}

void TTimerBase::arm(uint32_t ms)
{
    const uint32_t now = clockGetMs();
    timerMutex().lock();
    const bool atHead = armLocked(now, ms);
    timerMutex().unlock();
    if (atHead)
        timerWakeup();
}

bool TTimerBase::armLocked(uint32_t now, uint32_t ms)
{
    if (!mControl->timer)
        return false;  // being destroyed
    std::list<TimerEntry>& list = timerList();
    for (auto it = list.begin(); it != list.end();)
        it = (*it == mControl) ? list.erase(it) : std::next(it);
    mPeriod = ms;
    mExpiry = now + ms;
    mArmedAt = now;
    mArmed = true;
    auto position = list.begin();
    while (position != list.end() && msBetween((*position)->timer->mExpiry, mExpiry) > 0)
        ++position;
    const bool atHead = position == list.begin();
    list.insert(position, mControl);
    return atHead;
}

void TTimerBase::startOneShot(uint32_t ms)
{
    timerMutex().lock();
    stopLocked();
    mPeriodic = false;
    timerMutex().unlock();
    arm(ms);
}

void TTimerBase::startPeriodic(uint32_t ms)
{
    timerMutex().lock();
    stopLocked();
    mPeriodic = true;
    timerMutex().unlock();
    arm(ms);
}

void TTimerBase::restartOneShot()
{
    startOneShot(getPeriod());
}

void TTimerBase::restartPeriodic()
{
    startPeriodic(getPeriod());
}

void TTimerBase::stop()
{
    timerMutex().lock();
    stopLocked();
    timerMutex().unlock();
}

bool TTimerBase::isRunning() const
{
    timerMutex().lock();
    const bool armed = mArmed;
    timerMutex().unlock();
    return armed;
}

int32_t TTimerBase::elapsed() const
{
    const uint32_t now = clockGetMs();
    timerMutex().lock();
    const int32_t result = mArmed ? msBetween(mArmedAt, now) : -1;
    timerMutex().unlock();
    return result;
}

bool TTimerBase::hasElapsed(int32_t ms) const
{
    return elapsed() > ms;
}

uint32_t TTimerBase::getPeriod() const
{
    timerMutex().lock();
    const uint32_t period = mPeriod;
    timerMutex().unlock();
    return period;
}

void TTimerBase::setPeriod(uint32_t ms)
{
    timerMutex().lock();
    mPeriod = ms;
    timerMutex().unlock();
}

void* timerThreadMain(void*)
{
    setThreadName("timer");
    mutex& lock = timerMutex();
    std::list<TimerEntry>& list = timerList();
    std::vector<TimerEntry> due;
    int timeoutMs = kIdleTimeoutMs;
    for (;;) {
        timerSleep(timeoutMs);
        const uint32_t now = clockGetMs();
        lock.lock();
        while (!list.empty() && msBetween(list.front()->timer->mExpiry, now) >= 0) {
            TTimerBase* timer = list.front()->timer;
            timer->mArmed = false;
            timer->mExpiry = 0;
            list.front()->held = true;
            list.front()->stopRequested = false;
            due.push_back(list.front());
            list.pop_front();
        }
        if (list.empty()) {
            timeoutMs = kIdleTimeoutMs;
        } else {
            const int32_t untilHead = msBetween(now, list.front()->timer->mExpiry);
            timeoutMs = untilHead > 0 ? untilHead : 0;
        }
        lock.unlock();

        for (const TimerEntry& entry : due) {
            lock.lock();
            TTimerBase* timer = entry->timer;
            if (!timer) {
                entry->held = false;
                lock.unlock();
                continue;
            }
            entry->firing = true;
            lock.unlock();

            timer->expire();

            const uint32_t returned = clockGetMs();
            lock.lock();
            // Null when expire() destroyed its own timer. While `firing` is set no
            // other thread can finish destroying it. Deciding and re-arming under
            // one lock keeps a stop() from another thread from being lost.
            timer = entry->timer;
            bool wake = false;
            if (timer && timer->mPeriodic && !timer->mArmed && !entry->stopRequested)
                wake = timer->armLocked(returned, timer->mPeriod);
            entry->firing = false;
            entry->held = false;
            firingDone().notify_all();
            lock.unlock();
            if (wake)
                timerWakeup();
        }
        due.clear();
    }
    return nullptr;
}

// ---- TimerThread ----

TimerThread::TimerThread(uint32_t priority, uint32_t periodMs, bool autoStart, uint32_t stackSize)
    : CmdThread<TimerThreadCmd>(priority, 100000, stackSize), mTimer(this, TIMER_THREAD_TICK, periodMs)
{
    if (autoStart)
        mTimer.restartPeriodic();
}

TimerThread::~TimerThread()
{
    finish();
}

void TimerThread::startTimer()
{
    mTimer.restartPeriodic();
}

void TimerThread::stopTimer()
{
    mTimer.stop();
}

bool TimerThread::handle(TimerThreadCmd& command)
{
    if (command == TIMER_THREAD_QUIT)
        return false;
    onTimer();
    return true;
}

void TimerThread::finish()
{
    mTimer.stop();
    if (!isStarted())
        return;
    put(TIMER_THREAD_QUIT);
    stop();
}

}  // namespace threadfunc
