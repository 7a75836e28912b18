#pragma once
// The one handler of every event the core receives (installed with
// eventSetCallback). It treats a few ids itself and then hands every event,
// always in the same order and ignoring every result, to the Sectrix hook, the
// tick hooks, the dispatcher, the counters and the signal hub. GUI thread only.
#include <cstdint>

void processHandleEvent(uint32_t id, uint32_t arg);

// The five links of the chain, in the order they run. Tests wrap a link to watch it.
typedef void (*EventChainLink)(uint32_t id, uint32_t arg);
enum : uint32_t { EVENT_CHAIN_LINKS = 5 };
EventChainLink* processEventChain();
