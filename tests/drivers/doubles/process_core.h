#pragma once
// Test double of the process core as far as the platform meets it: the event
// handler that the platform's 100 ms update hangs on, the start of the periodic
// events, and the core functions that the parameter store calls back. Every
// delivered event and every call-back is recorded for the tests to check.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The core's event handler: Sectrix hook and tick hooks for every event; on the
// 100 ms tick (id 5) the platform update, the loop statistics and, unless the
// flow printout (item 209) owns port 2, the register link on port 2.
void coreEventHandler(uint32_t id, uint32_t value);

// Hands the core's change hooks and counter set-up to the parameter store; the
// program does it before platformInit, whose store start may call them.
void coreRegister();

// The core start-up's share that drives the platform: tick hooks and event
// timers reset, debug mask and level from items 112 and 11, the handler
// installed (which replays the buffered events) and the periodic events started.
// Main thread, after platformInit.
void coreStart();
// Stops every periodic event that coreStart started.
void coreStop();

// Events delivered to coreEventHandler since the last take, in order.
std::vector<std::pair<uint32_t, uint32_t>> coreTakeEvents();
// Deliveries of one event id since the last coreResetCounts.
uint32_t coreEventCount(uint32_t id);
void coreResetCounts();
// Called after each delivered event has been handled (e.g. to leave an event loop).
void coreSetEventObserver(void (*observer)(uint32_t id, uint32_t value));

// Change hooks and counter set-ups the parameter store called, in order.
struct CoreHookCall {
    std::string hook;
    uint32_t id;
};
std::vector<CoreHookCall> coreTakeHookCalls();
std::vector<uint32_t> coreTakeCounterSetups();
