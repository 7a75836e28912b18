#include "fillingunits.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "unitquantities.h"
#include "units.h"

namespace FillingUnits {

bool nh3Mode()
{
    return datastoreGetBool(DS_NH3_MODE) != 0;
}

uint32_t actualContentQuantity()
{
    return nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_TANK_ACTUAL_CONTENT;
}

uint32_t fullTankQuantity()
{
    return nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_TANK_MAX_CONTENT;
}

uint32_t desiredContentQuantity()
{
    return nh3Mode() ? UQ_TANK_CONTENT_MASS : UQ_FILL_DESIRED_CONTENT;
}

uint32_t unitSystem()
{
    return unitGetSystem();
}

}  // namespace FillingUnits
