#pragma once
// Data link to the Sectrix boom-section controller on a CAN channel. The
// console sends its section states every 1000 ms and asks the unit to change
// mode; the unit reports its mode, a status word and its version. The link
// counts as lost when no frame of the unit arrived for 5000 ms; while lost the
// console sends nothing but the reply to a request.
#include "canio.h"

#include <cstdint>

constexpr uint32_t SECTRIX_ID_CONSOLE = 0x18EFC0B4;  // every frame the console sends
constexpr uint32_t SECTRIX_ID_UNIT = 0x18EFFFC0;     // every frame the unit sends

// Events posted by the link (value in brackets).
enum SectrixEvent : uint32_t {
    EV_SECTRIX_LINK_LOST = 336,      // (0) 5000 ms without a frame of the unit
    EV_SECTRIX_LINK_RESTORED = 337,  // (0) first frame of the unit while lost
    EV_SECTRIX_MODE_CHANGED = 338,   // (automatic flag)
    EV_SECTRIX_WORD_CHANGED = 339,   // (new status word)
};

// Codes of the link task's mailbox.
enum SectrixLinkCode : uint32_t {
    SECTRIX_CODE_SUPERVISION_TIMEOUT = 0,
    SECTRIX_CODE_MODE_RELEASE = 1,
    SECTRIX_CODE_MODE_PERIOD = 2,
    SECTRIX_CODE_STATUS_PERIOD = 3,
    SECTRIX_CODE_VERSION_EXPIRY = 4,
};

// Starts the link on the channel (once: task, locks, mailbox, alarms) and
// marks it lost; the periodic frames start with the first frame of the unit.
// Returns 1.
uint32_t sectrixDataLinkInit(uint32_t channel);

// Runs one mailbox code in the caller's thread (the link task runs every code
// it receives through here).
void sectrixLinkEvent(uint32_t code);

// Handles a received frame: 0 when it is not the unit's identifier (ignored),
// else 1.
uint32_t sectrixOnCanFrame(const CanFrame* frame);

// The section bitmap for the status frame (low 24 bits sent); a change is sent at once.
void sectrixSetSectionStates(uint32_t states);
// The mode the console wants the unit in (1 automatic); a change is sent at once.
void sectrixRequestMode(uint8_t mode);

// NOTE the inverted sense of the name: 1 while frames of the unit arrive (the
// link is up), 0 when the link is lost (before the first frame and 5000 ms
// after the last one).
uint32_t sectrixLinkIsLost();
// The unit's last status word.
uint32_t sectrixGetStatusWord();
// 1 when the unit reports automatic mode and two status messages confirmed it.
uint32_t sectrixIsActive();
// Writes the last version word and value through the pointers that are not
// null; returns 1 while a version message came within the last 1000 ms.
uint32_t sectrixGetVersion(uint16_t* word, uint32_t* value);

// The link's hook in the event chain: does nothing, returns 1.
uint32_t sectrixHandleEvent(uint32_t id, uint32_t value);
