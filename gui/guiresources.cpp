#include "machineresources.h"
#include "nozimage.h"
#include "qtimagetools.h"
#include "toolsviewconsoledisplay.h"

void guiInitResources()
{
    guiWidgetsInitResources();
    nozImageInitResources();
    Q_INIT_RESOURCE(gui);
    consoleScreensInitResources();
    machineScreensInitResources();
}
