#include "machineresources.h"

#include "calibrationresources.h"

#include <QtGlobal>

void machineScreensInitResources()
{
    Q_INIT_RESOURCE(machine);
    // The wheel, the tank and the start and stop icons live with the calibration pages.
    calibrationScreensInitResources();
}
