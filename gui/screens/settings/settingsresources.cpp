#include "settingsresources.h"

#include <QtGlobal>

void settingsScreensInitResources()
{
    Q_INIT_RESOURCE(settings);
}
