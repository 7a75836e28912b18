#include "machineresources.h"

#include <QtGlobal>

void machineScreensInitResources()
{
    Q_INIT_RESOURCE(machine);
}
