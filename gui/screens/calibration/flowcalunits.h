#pragma once
// The unit system as the flow-meter calibration pages name their units: metric,
// or gallons (imperial and US), or none for a system outside the three.
#include <cstdint>

namespace FlowCalUnits {

enum class Family { Metric, Gallons, None };

Family family();

}  // namespace FlowCalUnits
