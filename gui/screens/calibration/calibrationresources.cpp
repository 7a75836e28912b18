#include "calibrationresources.h"

#include <QtGlobal>

void calibrationScreensInitResources()
{
    Q_INIT_RESOURCE(calibration);
}
