#include "workingresources.h"

#include <QtGlobal>

void workingScreensInitResources()
{
    Q_INIT_RESOURCE(working);
}
