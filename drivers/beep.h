#pragma once
// Buzzer patterns: a key click, a triple beep, a double long beep, customised
// patterns (on time, off time, count) and a continuous tone. Callers return at
// once; a timer drives the steps through the buzzer task's queue.
#include <cstdint>

// Carried by the buzzer queue: switch the buzzer on now, take a timer step, or
// answer a beepSync.
enum BEEP_STATE : int { BEEP_STATE_STEP = 0, BEEP_STATE_ON = 1, BEEP_STATE_SYNC = 2 };

// Signal types: 0 click (50 ms), 1 triple beep, 2 double long beep, 3 idle/stop,
// n + 4 customised pattern n.
enum : uint32_t { BEEP_TYPE_CLICK = 0, BEEP_TYPE_TRIPLE = 1, BEEP_TYPE_DOUBLE = 2, BEEP_TYPE_IDLE = 3 };

// line: 0 sounds the buzzer's low line, any other value its high line.
void beepInit();
int beepStart(uint32_t type, uint32_t line);
int beepStartCustomized(uint32_t pattern, uint32_t onMs, uint32_t offMs, uint32_t count, uint32_t line);
void beepSetContinuous(uint32_t on, uint32_t line);
void beepStop();
void beepSetOutput(uint32_t on);
// Waits until the buzzer task has handled everything queued before the call:
// with the clock driven by hand (clock.h), a step of time is over once the
// timers due have fired and the task has taken their steps.
void beepSync();

// Where the buzzer levels go: the GPIO lines by default; tests install a
// recorder (nullptr restores the GPIO lines).
typedef void (*BeepLineWriter)(uint32_t line, uint32_t level);
void beepSetLineWriter(BeepLineWriter writer);
