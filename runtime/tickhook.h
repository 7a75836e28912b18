#pragma once
// Up to ten functions run, in registration order, on every 1 s tick (event id 9)
// that the process core's handler passes to tickHookRun.
#include <cstdint>

typedef void (*TickHook)();

// Empties the hook list and makes registration possible. Called by the process
// core's start-up.
void tickHookInit();
// Mode 1: run on the 1 s tick. Returns the free slots left after this one
// (9 for the first, 0 for the tenth) when registered, else 0: mode 0 (1 ms hooks
// are not supported; a message says so on the error stream), any other mode, a
// null hook, a full list or a call before tickHookInit.
int tickHookRegister(int mode, TickHook hook);
// On id 9, after tickHookInit, runs the hooks registered so far. A hook may
// register another one; it runs from the next tick on.
void tickHookRun(uint32_t id, uint32_t value);
