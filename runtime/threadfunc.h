#pragma once
// The process's only threading layer: thread creation with the fixed priority
// scheme, a mutex and a counting semaphore, a bounded blocking queue, a command
// thread draining such a queue, software timers served by one timer thread, and a
// thread that runs a periodic job.
//
// Priorities: API priority p (0 = most urgent) runs as SCHED_RR 99 - p; p >= 99
// runs as an ordinary SCHED_OTHER thread. Stacks are at least 16384 bytes.
//
// Timers run on the monotonic millisecond clock of clock.h, so a test can drive
// them with clockUseManual()/clockAdvanceMs() instead of sleeping.
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <pthread.h>
#include <semaphore.h>
#include <string>

namespace threadfunc {

using ThreadEntry = void* (*)(void*);

// 1 (the start value): threads start silently and a refused real-time priority
// for lack of rights is not reported. 0: both are printed.
extern std::atomic<int> quietMode;
void setQuietMode();
void clearQuietMode();

// Starts a joinable thread running entry(arg) with API priority `priority`;
// `stackSize` below 16384 (including 0) is raised to 16384. The origin (usually
// __FILE__ and __LINE__ of the caller) is printed at start when quiet mode is off.
// Returns the thread's handle, 0 when no thread was started.
pthread_t ThreadCreate(int priority, ThreadEntry entry, void* arg, uint32_t stackSize,
                       const char* originFile = nullptr, int originLine = 0);
// First code of every thread made by ThreadCreate: blocks every signal but
// SIGSEGV, installs the SIGSEGV report and sets the scheduling priority (0 = SCHED_OTHER).
void InitThread(int schedPriority);
// The calling thread's API priority (99 for an ordinary thread), -1 on error.
int threadPriority();
// Names the calling thread, as ps, top and /proc/<pid>/task/<tid>/comm show
// it; the system keeps the first 15 bytes.
void setThreadName(const std::string& name);
// The calling thread's name.
std::string threadName();
// Joins the thread; its exit value, nullptr when the join fails.
void* threadJoin(pthread_t handle);
// Sleeps ms milliseconds plus us microseconds on the real monotonic clock.
void sleep(int ms, int us = 0);
void yield();
// First line of /proc/self/comm, read once.
const std::string& processName();
// Peak resident size in bytes.
long maxResidentSize();
// Current resident size in bytes, 0 when it cannot be read.
long residentSize();

class mutex {
public:
    mutex();
    virtual ~mutex();
    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;
    void lock();
    void unlock();
    // 1 when taken, 0 when busy or on error.
    int tryLock();
    pthread_mutex_t* native() { return mHandle.get(); }

private:
    std::unique_ptr<pthread_mutex_t> mHandle;
};

class semaphore {
public:
    explicit semaphore(unsigned initialValue = 0);
    virtual ~semaphore();
    semaphore(const semaphore&) = delete;
    semaphore& operator=(const semaphore&) = delete;
    // Retried when interrupted by a signal; any other failure prints "sem_wait() "
    // with the error number and returns without having taken the semaphore.
    void wait();
    // 1 when taken, else 0.
    int tryWait();
    void post();
    int getValue();

private:
    std::unique_ptr<sem_t> mHandle;
};

// A thread object. start() runs run() on a new thread; stop() joins it (it does
// not ask run() to end). A class that derives from Thread must make run() end
// and call stop() in its own destructor: by the time ~Thread joins, the derived
// part is gone.
class Thread {
public:
    Thread(uint32_t priority, uint32_t stackSize = 0);
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    // Starts the thread unless it is running already.
    virtual void start();
    // Joins a running thread; does nothing when none is running.
    virtual void stop();
    bool isStarted() const { return mHandle != 0; }
    // The name the thread takes when it starts (setThreadName).
    void setName(const std::string& name) { mName = name; }

protected:
    virtual void run() = 0;
    static void* threadEntry(void* self);

    pthread_t mHandle;
    uint32_t mPriority;
    uint32_t mStackSize;
    std::string mName;
};

// Bounded blocking FIFO. The semaphores, not the container, decide who may add
// or take, so blocking and non-blocking calls mix freely across threads.
template <class T>
class queue_template {
public:
    explicit queue_template(uint32_t capacity)
        : mCapacity(capacity), mItems(0), mSpace(capacity)
    {
    }
    virtual ~queue_template() = default;

    // Waits for a free slot.
    void put(const T& value)
    {
        mSpace.wait();
        mLock.lock();
        mFifo.push_back(value);
        mLock.unlock();
        mItems.post();
    }
    // 1 when stored, 0 when full (the value is dropped).
    int tryPut(const T& value)
    {
        mLock.lock();
        const int stored = mSpace.tryWait();
        if (stored) {
            mFifo.push_back(value);
            mItems.post();
        }
        mLock.unlock();
        return stored;
    }
    // Waits for an item.
    T get()
    {
        mItems.wait();
        mLock.lock();
        T value = std::move(mFifo.front());
        mFifo.pop_front();
        mLock.unlock();
        mSpace.post();
        return value;
    }
    // 1 and the front in `value` when an item was there, else 0.
    int tryGet(T& value)
    {
        mLock.lock();
        const int taken = mItems.tryWait();
        if (taken) {
            value = std::move(mFifo.front());
            mFifo.pop_front();
            mSpace.post();
        }
        mLock.unlock();
        return taken;
    }
    // Drops every waiting item.
    void clear()
    {
        mLock.lock();
        while (mItems.tryWait()) {
            mFifo.pop_front();
            mSpace.post();
            mLock.unlock();
            mLock.lock();
        }
        mLock.unlock();
    }
    uint32_t waitingCount() { return static_cast<uint32_t>(mItems.getValue()); }
    uint32_t freeCount() { return static_cast<uint32_t>(mSpace.getValue()); }
    uint32_t capacity() const { return mCapacity; }

private:
    std::deque<T> mFifo;
    uint32_t mCapacity;
    semaphore mItems;
    semaphore mSpace;
    mutex mLock;
};

// A thread that takes commands from its own queue and hands each to handle()
// until handle() returns false. The owner ends the loop (by a command that makes
// handle() return false) and calls stop() before destruction.
template <class T>
class CmdThread : public Thread, public queue_template<T> {
public:
    CmdThread(uint32_t priority, uint32_t queueCapacity, uint32_t stackSize = 0)
        : Thread(priority, stackSize), queue_template<T>(queueCapacity)
    {
    }
    ~CmdThread() override = default;
    void stop() override { Thread::stop(); }

protected:
    void run() override
    {
        for (;;) {
            T command = this->get();
            if (!handle(command))
                return;
        }
    }
    // false ends the thread.
    virtual bool handle(T& command) = 0;
};

// The process-wide timer mutex: guards the timer list and every timer's fields,
// and target and value of timer_template. Never held while a timer fires.
mutex& timerMutex();
// Wakes the timer thread so that it re-reads the clock and the list.
void timerWakeup();

struct TimerControl;

// A software timer served by the one timer thread (started by the first timer
// constructed). expire() runs on the timer thread with no lock held, one timer
// after another in expiry order; timers armed for the same millisecond fire in
// reverse order of arming. A periodic timer is armed again, counted from the
// moment its expire() returned, unless it was stopped or restarted inside it.
//
// Destruction is safe at any time: a timer whose expire() is running on another
// thread is waited for, and a timer already taken as due is skipped. A class
// that overrides expire() must call detach() first in its own destructor, so that
// expire() is never entered while the derived part is being torn down.
class TTimerBase {
public:
    explicit TTimerBase(uint32_t periodMs = 0);
    virtual ~TTimerBase();
    TTimerBase(const TTimerBase&) = delete;
    TTimerBase& operator=(const TTimerBase&) = delete;

    void startOneShot(uint32_t ms);
    void startPeriodic(uint32_t ms);
    // Start again with the stored period.
    void restartOneShot();
    void restartPeriodic();
    // Returns the timer to not armed from any state. A timer already taken as due
    // by the timer thread still fires once (destruction alone prevents that).
    void stop();
    bool isRunning() const;
    // Milliseconds since the last arming, -1 when not armed.
    int32_t elapsed() const;
    // elapsed() > ms.
    bool hasElapsed(int32_t ms) const;
    uint32_t getPeriod() const;
    // Stored only: takes effect at the next arming or periodic re-arm.
    void setPeriod(uint32_t ms);

protected:
    virtual void expire() = 0;
    // Disarms the timer for good and waits for an expire() running on another
    // thread. Idempotent; the timer cannot be armed afterwards.
    void detach();

private:
    friend void* timerThreadMain(void*);
    void arm(uint32_t ms);
    // Under timerMutex(); true when the timer went in at the head of the list.
    bool armLocked(uint32_t now, uint32_t ms);
    void stopLocked();

    std::shared_ptr<TimerControl> mControl;
    uint32_t mExpiry;   // guarded by timerMutex(), valid while armed
    uint32_t mArmedAt;  // clock reading of the last arming
    bool mArmed;
    bool mPeriodic;
    uint32_t mPeriod;
};

// The timer thread's body (started by the first timer; never ends).
void* timerThreadMain(void*);

// A timer that posts `value` into `target` (when not null) with tryPut: a full
// queue drops the value.
template <class T>
class timer_template : public TTimerBase {
public:
    timer_template(queue_template<T>* target, const T& value, uint32_t periodMs = 0)
        : TTimerBase(periodMs), mTarget(target), mValue(value)
    {
    }
    ~timer_template() override { detach(); }

    void setTarget(queue_template<T>* target)
    {
        timerMutex().lock();
        mTarget = target;
        timerMutex().unlock();
    }
    void setValue(const T& value)
    {
        timerMutex().lock();
        mValue = value;
        timerMutex().unlock();
    }

protected:
    void expire() override
    {
        timerMutex().lock();
        queue_template<T>* target = mTarget;
        T value = mValue;
        timerMutex().unlock();
        if (target)
            target->tryPut(value);
    }

private:
    queue_template<T>* mTarget;
    T mValue;
};

// Command of a TimerThread's queue (4 bytes).
enum TimerThreadCmd : uint32_t { TIMER_THREAD_QUIT = 0, TIMER_THREAD_TICK = 1 };

// A thread that runs onTimer() every period. Its embedded timer posts
// TIMER_THREAD_TICK into the thread's own queue (capacity 100000).
// A derived class calls finish() first in its destructor, so that onTimer() is
// never entered while the derived part is being torn down.
class TimerThread : public CmdThread<TimerThreadCmd> {
public:
    TimerThread(uint32_t priority, uint32_t periodMs, bool autoStart, uint32_t stackSize = 0);
    ~TimerThread() override;
    // Restarts the periodic timer with the stored period.
    void startTimer();
    void stopTimer();

protected:
    bool handle(TimerThreadCmd& command) override;
    virtual void onTimer() = 0;
    // Stops the timer, asks the thread to quit (waiting for room in the queue)
    // and joins it. Idempotent.
    void finish();

private:
    timer_template<TimerThreadCmd> mTimer;
};

}  // namespace threadfunc
