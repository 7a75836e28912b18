#pragma once
// Store limits of an item as the installer pages show them: the float limit cut
// toward zero to a whole number of the item's own unit.
#include <cstdint>

namespace ToolsViewWidgets {

int itemStoreMinimum(uint32_t item);
int itemStoreMaximum(uint32_t item);

}  // namespace ToolsViewWidgets
