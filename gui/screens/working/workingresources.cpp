#include "workingresources.h"

#include "calibrationresources.h"

#include <QtGlobal>

void workingScreensInitResources()
{
    Q_INIT_RESOURCE(working);
    // The pressure arrows live with the calibration pages, which use them too.
    calibrationScreensInitResources();
}
