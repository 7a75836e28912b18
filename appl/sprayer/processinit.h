#pragma once
// Start-up of the sprayer process core, once, in the GUI thread, after the
// platform and before the main window: stored parameters checked, the share
// directory, the periodic events, the unit table and alarms, the real event
// handler, the roles of serial port 2 and the CAN bus, the loggers and the
// hardware-version and CAN threads.
#include <cstdint>

// 0 on success; 1 when the I/O start failed or channel 0's CAN bit timing could not be set.
uint32_t processInit();

// Applies DS_BRIGHTNESS (kept within 25..100) to the backlight once the
// hardware is known; before that it only brings the item into range. Returns 0.
uint32_t SetBrightness();

// The hardware revision found by the hardware-version task; -1 until then.
int32_t processHardwareId();

// Thread body, runs once: reads the hardware revision, hands it to the I/O and
// posts EV_HW_VERSION_KNOWN; an unreadable or too old revision raises WRONG_HW.
void hardwareVersionTask(uint32_t argument);
