#include "tickhook.h"

#include "kernel.h"

#include <cstdio>

namespace {

constexpr int kHookSlots = 10;
constexpr uint32_t kSecondTick = 9;

TickHook gSecondHooks[kHookSlots];
uint8_t gSecondCount = 0;
KernelHandle gHookLock = nullptr;
bool gInitialised = false;

} // namespace

void tickHookInit()
{
    if (gHookLock != nullptr)
        kernelSemaphoreWait(&gHookLock);
    for (int i = 0; i < kHookSlots; ++i)
        gSecondHooks[i] = nullptr;
    gSecondCount = 0;
    if (gHookLock == nullptr)
        kernelSemaphoreCreate(&gHookLock, 1);
    else
        kernelSemaphoreSignal(&gHookLock);
    gInitialised = true;
}

int tickHookRegister(int mode, TickHook hook)
{
    if (mode == 0) {
        std::fprintf(stderr, "No support for 1 ms system timer!!!\n");
        return 0;
    }
    if (mode != 1 || hook == nullptr || !gInitialised)
        return 0;
    kernelSemaphoreWait(&gHookLock);
    int result = 0;
    if (gSecondCount < kHookSlots) {
        result = kHookSlots - 1 - gSecondCount;
        gSecondHooks[gSecondCount] = hook;
        ++gSecondCount;
    }
    kernelSemaphoreSignal(&gHookLock);
    return result;
}

void tickHookRun(uint32_t id, uint32_t /*value*/)
{
    if (id != kSecondTick || !gInitialised)
        return;
    // The hooks run on a copy, outside the lock, so that a hook may register another.
    TickHook hooks[kHookSlots];
    kernelSemaphoreWait(&gHookLock);
    for (int i = 0; i < kHookSlots; ++i)
        hooks[i] = gSecondHooks[i];
    kernelSemaphoreSignal(&gHookLock);
    for (int i = 0; i < kHookSlots && hooks[i] != nullptr; ++i)
        hooks[i]();
}
