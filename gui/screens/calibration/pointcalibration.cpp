#include "pointcalibration.h"

#include "datastore.h"
#include "processevent.h"

namespace ToolsViewWidgets {

bool takeCalibrationPoint(uint32_t command, uint32_t pointItem, uint32_t liveItem)
{
    const uint16_t before = datastoreGetUint16(liveItem);
    processEvent(command, 0);
    const uint16_t point = datastoreGetUint16(pointItem);
    return point == before || point == datastoreGetUint16(liveItem);
}

}  // namespace ToolsViewWidgets
