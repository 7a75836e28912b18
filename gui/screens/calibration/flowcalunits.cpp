#include "flowcalunits.h"

#include "units.h"

namespace FlowCalUnits {

Family family()
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return Family::Metric;
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return Family::Gallons;
    default:
        return Family::None;
    }
}

}  // namespace FlowCalUnits
