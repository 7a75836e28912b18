#pragma once
// The small real-time-kernel interface the drivers and the process core are
// written against: a global critical section, tasks, counting semaphores,
// mailboxes of small integers or pointers, alarms that post a code into a
// mailbox after a delay, and fixed-block pools. Everything maps onto threadfunc.
//
// Objects are named by handles: a KernelHandle variable owned by the caller,
// filled by the create call and passed by address to every other call. A null
// handle (or a handle of the wrong kind of object) makes every call a no-op that
// returns 0. Results: 1 (or non-zero) for success, 0 for failure.
#include <cstdint>

struct KernelObject;
typedef KernelObject* KernelHandle;

// ---- Critical section: one process-wide recursive lock ----
// Stands in for disabling interrupts: the same thread may enter it again and
// must leave it as often.
void kernelCriticalSectionEnter();
void kernelCriticalSectionLeave();

// Holds the critical section for the lifetime of a scope.
class KernelCriticalSection {
public:
    KernelCriticalSection() { kernelCriticalSectionEnter(); }
    ~KernelCriticalSection() { kernelCriticalSectionLeave(); }
    KernelCriticalSection(const KernelCriticalSection&) = delete;
    KernelCriticalSection& operator=(const KernelCriticalSection&) = delete;
};

// Start-up hook of the platform; nothing to do on this platform.
void kernelInit();

// ---- Tasks ----
// `priority` is threadfunc's API priority (0 = most urgent, 99 = ordinary).
// The origin names the caller's source for the thread-start line. Tasks are
// detached: a task function that returns simply ends its thread.
typedef void (*KernelTaskFunction)(uint32_t argument);
typedef void (*KernelTaskFunctionEx)(void* argument);

// The argument is cut to 16 bits and handed over zero-extended; 1024-byte stack
// (raised to the thread layer's minimum). 1 when the thread was created, else 0.
int kernelTaskCreate(int priority, KernelTaskFunction task, uint32_t argument, const char* originFile,
                     int originLine);
int kernelTaskCreateStack(int priority, KernelTaskFunction task, uint32_t argument, uint32_t stackSize,
                          const char* originFile, int originLine);
// The argument is passed whole.
int kernelTaskCreateEx(int priority, uint32_t stackSize, KernelTaskFunctionEx task, void* argument,
                       const char* originFile, int originLine);
void kernelTaskYield();
void kernelDelay(uint32_t ms);
// Quiet mode of the thread layer: no thread-start lines, no priority refusals.
void kernelQuietOn();
void kernelQuietOff();

// ---- Counting semaphores ----
// Created semaphores are registered process-wide and destroyed at process exit.
int kernelSemaphoreCreate(KernelHandle* handle, int initialCount);
// Destroys the semaphore; the handle keeps its (now dangling) value.
void kernelSemaphoreDelete(KernelHandle* handle);
void kernelSemaphoreSignal(KernelHandle* handle);
void kernelSemaphoreWait(KernelHandle* handle);
// Posts; 1 when the count is still 0 or less afterwards (a waiter took the
// signal at once), else 0.
int kernelSemaphoreSignalCheck(KernelHandle* handle);
int16_t kernelSemaphoreCount(KernelHandle* handle);

// ---- Mailboxes of int; every get returns the low 8 bits ----
// At most `depth` values wait; depth 0 or less is refused (result 0).
int kernelMailboxCreate(KernelHandle* handle, int depth);
// Waits for room.
void kernelMailboxPut(KernelHandle* handle, int value);
// 1 when stored, 0 when full.
int kernelMailboxTryPut(KernelHandle* handle, int value);
// Waits for a value.
uint8_t kernelMailboxWait(KernelHandle* handle);
// 1 and the value when one was waiting; 0 and 0 stored when empty. `value` may be null.
int kernelMailboxTryGet(KernelHandle* handle, uint8_t* value);
void kernelMailboxClear(KernelHandle* handle);
int16_t kernelMailboxCount(KernelHandle* handle);
int16_t kernelMailboxSpace(KernelHandle* handle);

// ---- Mailboxes of pointers ----
int ptrMailboxCreate(KernelHandle* handle, int depth);
void ptrMailboxPut(KernelHandle* handle, void* value);
int ptrMailboxTryPut(KernelHandle* handle, void* value);
void* ptrMailboxWait(KernelHandle* handle);
// 1 and the pointer when one was waiting; 0 and null stored when empty. `value` may be null.
int ptrMailboxTryGet(KernelHandle* handle, void** value);
void ptrMailboxClear(KernelHandle* handle);

// Destroys the mailbox, alarm or semaphore the handle refers to; the handle keeps
// its value. Alarms bound to a destroyed mailbox post nothing any more.
void kernelObjectDelete(KernelHandle* handle);

// ---- Alarms: post a code into an int mailbox after a delay ----
// Bound to the mailbox, code 0, not running.
int kernelAlarmCreate(KernelHandle* handle, KernelHandle* mailbox);
// Stops the alarm, sets its code and starts it as a one-shot of `ms`. On expiry
// the code is put into the mailbox without blocking (dropped when full).
void kernelAlarmStart(KernelHandle* handle, uint32_t ms, int code);
// A code not yet posted is not posted; one already in the mailbox stays there.
void kernelAlarmStop(KernelHandle* handle);
// Puts the value into the alarm's mailbox at once (dropped when full); the
// alarm's timer is not touched.
void kernelAlarmPostNow(KernelHandle* handle, int value);

// ---- Fixed-block pools laid inside a caller's region ----
// The region holds a 20-byte header, then blocks of stride block size + 8. Each
// block starts with two 32-bit words (next free block, distance back to its
// pool); the usable bytes follow them. Get returns the block's start, which is
// what release takes back: use the memory from start + 8 on.
struct KernelPool;

// The pool (at the start of the region), or null when block size + 28 reaches
// the region size or the stride would not fit in 16 bits (blocks would overlap).
// There are (region size - 20) / stride blocks.
KernelPool* kernelPoolCreate(void* region, uint32_t regionSize, uint32_t blockSize);
// Waits while no block is free.
void* kernelPoolGet(KernelPool* pool);
void kernelPoolRelease(void* block);
uint16_t kernelPoolFreeCount(KernelPool* pool);
uint16_t kernelPoolUsedCount(KernelPool* pool);
// The lowest free count seen since creation or the last reset.
uint16_t kernelPoolLowWater(KernelPool* pool);
void kernelPoolResetLowWater(KernelPool* pool);
