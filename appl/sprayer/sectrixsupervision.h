#pragma once
// Supervision of the Sectrix boom-section controller on the 500 ms tick:
// alarms for a lost link (SECTRIX_LOST), a controller that left automatic
// mode (SECTRIX_MAN_MODE) and section switches that disagree with automatic
// mode (SECTRIX_AUTO_MODE). Only a link or a mode seen while the master switch
// was on can be missed.
#include <cstdint>

void sectrixSupervisionTick();
// Forgets the link and mode seen (start-up state).
void sectrixSupervisionReset();
