#pragma once
// One point of a sensor calibration: the core stores the live raw reading as
// the point. The store refuses a reading outside the point's limits and keeps
// the old point, so success is told by the point holding the reading after
// the command, never assumed.
#include <cstdint>

namespace ToolsViewWidgets {

// Runs the dispatcher command (value 0) that copies liveItem into pointItem;
// true when pointItem then holds the reading of liveItem (as read just before
// or just after the command, which the input thread may update meanwhile).
bool takeCalibrationPoint(uint32_t command, uint32_t pointItem, uint32_t liveItem);

}  // namespace ToolsViewWidgets
