// State changes by kind (set / clear):
//   0  enabled := 1                 / enabled := 0, then clear 1
//   1  active := 1, acknowledged := 0, secondStage := 0, dueTime := now + delay
//                                   / if active: EV_ALARM_CLEARED; active := 0, dueTime := 0, then clear 2
//   2  nothing                      / shown := 0, then clear 3
//   3  if active: ackClears ? clear 1 : acknowledged := 1, secondStage := 1, ackTime := now
//                                   / acknowledged := 0, ackTime := 0, then clear 4
//   4  if active: secondStage := 1, EV_ALARM_ACKNOWLEDGED
//                                   / secondStage := 0
#include "alarm.h"

#include "clock.h"
#include "eventqueue.h"
#include "threadfunc.h"

namespace {

struct AlarmSlot {
    uint32_t priority;  // compared as an unsigned byte; lower wins
    uint32_t delayMs;
    uint32_t autoAckMs;
    uint32_t repeatMs;
    uint32_t secondStageMs;
    uint32_t dueTime;
    uint32_t ackTime;
    uint32_t enabled;
    uint32_t active;
    uint32_t acknowledged;
    uint32_t secondStage;
    uint32_t ackClears;
    uint32_t shown;
    uint32_t defined;  // set by alarmDefine; only defined alarms can be enabled
};

constexpr uint32_t kSlotCount = ALARM_MAX_ID + 1;
constexpr uint32_t kEmptyPriority = 255;
// Nothing changes on display within this time of the last change.
constexpr int32_t kHoldMs = 99;
// An alarm of equal priority takes over only after the shown one had this long.
constexpr int32_t kEqualPriorityMs = 1999;

AlarmSlot gSlots[kSlotCount];
uint32_t gEventOwner = 0;
uint32_t gShownAlarm = 0;
uint32_t gLastChange = 0;

// Never destroyed: worker threads may still raise alarms while the program exits.
threadfunc::mutex& lock()
{
    static threadfunc::mutex* instance = new threadfunc::mutex;
    return *instance;
}

class Guard {
public:
    Guard() { lock().lock(); }
    ~Guard() { lock().unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

// Ticks wrap: a deadline is reached when the signed difference is not negative.
int32_t since(uint32_t now, uint32_t then)
{
    return static_cast<int32_t>(now - then);
}

void post(uint32_t event, uint32_t id)
{
    eventPost(static_cast<int>(gEventOwner), event, id);
}

void clearFlagLocked(uint32_t id, uint32_t kind);

void setFlagLocked(uint32_t id, uint32_t kind)
{
    AlarmSlot& slot = gSlots[id];
    switch (kind) {
    case 0:
        if (slot.defined)
            slot.enabled = 1;
        break;
    case 1:
        slot.active = 1;
        slot.acknowledged = 0;
        slot.secondStage = 0;
        slot.dueTime = clockGetTicks() + slot.delayMs;
        break;
    case 3:
        if (!slot.active)
            break;
        if (slot.ackClears) {
            clearFlagLocked(id, 1);
        } else {
            slot.acknowledged = 1;
            slot.secondStage = 1;
            slot.ackTime = clockGetTicks();
        }
        break;
    case 4:
        if (slot.active) {
            slot.secondStage = 1;
            post(EV_ALARM_ACKNOWLEDGED, id);
        }
        break;
    default:
        break;
    }
}

void clearFlagLocked(uint32_t id, uint32_t kind)
{
    AlarmSlot& slot = gSlots[id];
    switch (kind) {
    case 0:
        slot.enabled = 0;
        [[fallthrough]];
    case 1:
        if (slot.active)
            post(EV_ALARM_CLEARED, id);
        slot.active = 0;
        slot.dueTime = 0;
        [[fallthrough]];
    case 2:
        slot.shown = 0;
        [[fallthrough]];
    case 3:
        slot.acknowledged = 0;
        slot.ackTime = 0;
        [[fallthrough]];
    case 4:
        slot.secondStage = 0;
        break;
    default:
        break;
    }
}

// Steps 3 and 7 of the selection: the shown alarm goes off the display.
uint32_t hideShownLocked(uint32_t now)
{
    post(EV_ALARM_HIDDEN, gShownAlarm);
    gLastChange = now;
    gShownAlarm = 0;
    return 0;
}

void runShownTimersLocked(uint32_t now)
{
    if (gShownAlarm == 0)
        return;
    const AlarmSlot& slot = gSlots[gShownAlarm];
    if (!slot.active || slot.acknowledged)
        return;
    if (slot.autoAckMs != 0 && since(now, gLastChange + slot.autoAckMs) >= 0)
        setFlagLocked(gShownAlarm, 3);
    else if (slot.secondStageMs != 0 && !slot.secondStage && since(now, gLastChange + slot.secondStageMs) >= 0)
        setFlagLocked(gShownAlarm, 4);
}

uint32_t pickCandidateLocked(uint32_t now)
{
    uint32_t best = gSlots[gShownAlarm].priority & 0xFF;
    uint32_t candidate = 0;
    for (uint32_t id = 0; id < kSlotCount; ++id) {
        AlarmSlot& slot = gSlots[id];
        if (!slot.active)
            continue;
        if (slot.acknowledged) {
            if (slot.repeatMs == 0 || since(now, slot.ackTime + slot.repeatMs) < 0)
                continue;
            clearFlagLocked(id, 3);
        }
        if (since(now, slot.dueTime) < 0 || id == gShownAlarm)
            continue;
        const uint32_t priority = slot.priority & 0xFF;
        if (priority < best) {
            best = priority;
            candidate = id;
            continue;
        }
        if (priority > best || slot.shown)
            continue;
        // Equal priority: an earlier candidate that was never shown stays.
        if (candidate != 0 && !gSlots[candidate].shown)
            continue;
        if (since(now, gLastChange) > kEqualPriorityMs || gShownAlarm == 0)
            candidate = id;
    }
    return candidate;
}

}  // namespace

void alarmInit(uint32_t owner)
{
    Guard guard;
    gEventOwner = owner;
    for (uint32_t id = 0; id < kSlotCount; ++id)
        clearFlagLocked(id, 1);
    AlarmSlot& empty = gSlots[0];
    empty.priority = kEmptyPriority;
    empty.delayMs = empty.autoAckMs = empty.repeatMs = empty.secondStageMs = 0;
    empty.enabled = empty.ackClears = empty.defined = 0;
    gShownAlarm = 0;
    // The selection may pick an alarm at its first call.
    gLastChange = clockGetTicks() - (kHoldMs + 1);
}

void alarmDefine(uint32_t id, uint8_t priority, uint32_t delayMs, uint32_t autoAckMs, uint16_t repeatMs,
                 uint16_t secondStageMs, uint32_t enabled, uint32_t ackClears)
{
    // Slot 0 is the empty slot: it is never defined as an alarm.
    if (id == 0 || id > ALARM_MAX_ID)
        return;
    Guard guard;
    AlarmSlot& slot = gSlots[id];
    slot.priority = priority;
    slot.delayMs = delayMs;
    slot.autoAckMs = autoAckMs;
    slot.repeatMs = repeatMs;
    slot.secondStageMs = secondStageMs;
    slot.enabled = enabled ? 1 : 0;
    slot.ackClears = ackClears ? 1 : 0;
    slot.defined = 1;
}

void alarmSetFlag(uint32_t id, uint32_t kind)
{
    if (id > ALARM_MAX_ID)
        return;
    Guard guard;
    setFlagLocked(id, kind);
}

void alarmClearFlag(uint32_t id, uint32_t kind)
{
    if (id > ALARM_MAX_ID)
        return;
    Guard guard;
    clearFlagLocked(id, kind);
}

void alarmRaise(uint32_t id)
{
    if (id > ALARM_MAX_ID)
        return;
    Guard guard;
    if (gSlots[id].enabled && !gSlots[id].active)
        setFlagLocked(id, 1);
}

void alarmClear(uint32_t id)
{
    if (id > ALARM_MAX_ID)
        return;
    Guard guard;
    if (gSlots[id].active)
        clearFlagLocked(id, 1);
}

void alarmEnable(uint32_t id, uint32_t on)
{
    if (id > ALARM_MAX_ID)
        return;
    Guard guard;
    if (on)
        setFlagLocked(id, 0);
    else
        clearFlagLocked(id, 0);
}

void alarmSetKind3(uint32_t id)
{
    alarmSetFlag(id, 3);
}

uint32_t alarmIsActive(uint32_t id)
{
    if (id > ALARM_MAX_ID)
        return 0;
    Guard guard;
    return gSlots[id].active;
}

uint32_t alarmIsEnabled(uint32_t id)
{
    if (id > ALARM_MAX_ID)
        return 0;
    Guard guard;
    return gSlots[id].enabled;
}

uint32_t alarmGetShown()
{
    Guard guard;
    return gShownAlarm;
}

uint32_t alarmCountUnacknowledged()
{
    Guard guard;
    uint32_t count = 0;
    for (const AlarmSlot& slot : gSlots)
        count += (slot.enabled && slot.active && !slot.acknowledged) ? 1 : 0;
    return count;
}

uint32_t alarmCountFlagged()
{
    Guard guard;
    uint32_t count = 0;
    for (const AlarmSlot& slot : gSlots)
        count += (slot.enabled && slot.active && slot.shown) ? 1 : 0;
    return count;
}

uint32_t alarmUpdate()
{
    Guard guard;
    const uint32_t now = clockGetTicks();
    runShownTimersLocked(now);
    if (since(now, gLastChange) <= kHoldMs)
        return gShownAlarm;
    if (gShownAlarm != 0 && (!gSlots[gShownAlarm].active || gSlots[gShownAlarm].acknowledged))
        return hideShownLocked(now);
    const uint32_t candidate = pickCandidateLocked(now);
    if (candidate == 0)
        return gShownAlarm;
    if (gShownAlarm != 0) {
        // A more urgent alarm takes over in two steps: hide now, show at a later call.
        clearFlagLocked(gShownAlarm, 3);
        return hideShownLocked(now);
    }
    post(EV_ALARM_SHOWN, candidate);
    gLastChange = now;
    gShownAlarm = candidate;
    gSlots[candidate].shown = 1;
    return candidate;
}
