#include "installerlimits.h"

#include "datastore.h"

#include <cstring>

namespace ToolsViewWidgets {

namespace {

int limitFromBits(uint32_t bits)
{
    float limit = 0.0f;
    std::memcpy(&limit, &bits, sizeof limit);
    return static_cast<int>(limit);
}

}  // namespace

int itemStoreMinimum(uint32_t item)
{
    return limitFromBits(datastoreGetMin(item));
}

int itemStoreMaximum(uint32_t item)
{
    return limitFromBits(datastoreGetMax(item));
}

}  // namespace ToolsViewWidgets
