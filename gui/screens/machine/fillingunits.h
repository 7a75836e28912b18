#pragma once
// Tank contents on the filling pages go through the volume quantities, or
// through the mass quantity in NH3 mode.
#include <cstdint>

namespace FillingUnits {

bool nh3Mode();
// Actual content: quantity 11 (12 in NH3 mode); full-tank content: 7 (12);
// desired content: 10 (12).
uint32_t actualContentQuantity();
uint32_t fullTankQuantity();
uint32_t desiredContentQuantity();
// 0 metric, 1 imperial, 2 US: the system whose unit words the pages show.
uint32_t unitSystem();

}  // namespace FillingUnits
