#pragma once
// The alarm manager: the state of alarms 1 to 53 and, on every 100 ms tick,
// the choice of the one alarm the operator sees. Modules raise and clear alarms
// by id; the manager delays each alarm, holds the shown one for at least 100 ms,
// lets a more urgent one (lower priority value) take over, repeats acknowledged
// alarms that are still present and reports through EV_ALARM_HIDDEN, EV_ALARM_SHOWN,
// EV_ALARM_ACKNOWLEDGED and EV_ALARM_CLEARED, each with the alarm id as argument.
//
// Callable from any thread: the I/O, ADC and hardware-version threads raise and
// clear alarms while the GUI thread selects. Events are posted through the event
// queue and delivered in the GUI thread. Ids above 53 and kinds above 4 are ignored.
#include "eventids.h"

#include <cstdint>

enum : uint32_t { ALARM_MAX_ID = 53 };

// Stores the owner passed with every event, deactivates every alarm (posting
// EV_ALARM_CLEARED for those that were active) and forgets the shown alarm.
void alarmInit(uint32_t owner);
// Writes the definition of an alarm; its state is left as it is.
void alarmDefine(uint32_t id, uint8_t priority, uint32_t delayMs, uint32_t autoAckMs, uint16_t repeatMs,
                 uint16_t secondStageMs, uint32_t enabled, uint32_t ackClears);

// Raises an enabled, inactive alarm; its delay starts now. A raise of an active
// alarm keeps the first delay.
void alarmRaise(uint32_t id);
// Deactivates an active alarm (EV_ALARM_CLEARED).
void alarmClear(uint32_t id);
// Enables or disables an alarm; disabling also deactivates it. Undefined
// alarms (and id 0) cannot be enabled.
void alarmEnable(uint32_t id, uint32_t on);
// The operator's acknowledgement of an active alarm: clears it when its
// acknowledgement clears, else marks it acknowledged (and its second stage).
void alarmSetKind3(uint32_t id);

// 1 while the alarm's condition is present (enabled or not).
uint32_t alarmIsActive(uint32_t id);
// 1 when the alarm is enabled.
uint32_t alarmIsEnabled(uint32_t id);
// Id of the alarm on display, 0 when none.
uint32_t alarmGetShown();
// Alarms that are enabled, active and not acknowledged.
uint32_t alarmCountUnacknowledged();
// Alarms that are enabled, active and have been shown since they were raised.
uint32_t alarmCountFlagged();

// The selection step, run on every EV_TICK_100MS; the id then on display.
uint32_t alarmUpdate();

// State changes by kind: 0 enabled, 1 active, 2 shown, 3 acknowledged,
// 4 second stage. Setting kinds 1, 3 and 4 and clearing work as documented in
// alarm.cpp; kinds above 4 are ignored.
void alarmSetFlag(uint32_t id, uint32_t kind);
void alarmClearFlag(uint32_t id, uint32_t kind);
