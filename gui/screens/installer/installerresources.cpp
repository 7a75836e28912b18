#include "installerresources.h"

#include <QtGlobal>

void installerScreensInitResources()
{
    Q_INIT_RESOURCE(installer);
}
