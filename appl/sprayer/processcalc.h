#pragma once
// The job page's calculator for one nozzle: the pressure a speed needs at the
// current preset's target rate, or the speed a pressure gives. GUI thread only.
#include <cstdint>

enum ProcessCalcMode : uint32_t {
    CALC_PRESSURE_TO_SPEED = 0,  // DS_CALC_PRESSURE -> DS_CALC_SPEED
    CALC_SPEED_TO_PRESSURE = 1,  // DS_CALC_SPEED -> DS_CALC_PRESSURE
    CALC_REPEAT_LAST = 2,        // the direction last asked for; speed to pressure before any
};

void processCalcSpeedPressure(uint32_t mode);
// Recomputes the calculator in its last direction; 0.
uint32_t processGetState();
