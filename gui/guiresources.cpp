#include "calibrationresources.h"
#include "diagnosticsresources.h"
#include "installerresources.h"
#include "machineresources.h"
#include "nozimage.h"
#include "qtimagetools.h"
#include "settingsresources.h"
#include "toolsviewconsoledisplay.h"
#include "toolsviewdata.h"
#include "workingresources.h"

void guiInitResources()
{
    guiWidgetsInitResources();
    nozImageInitResources();
    Q_INIT_RESOURCE(gui);
    calibrationScreensInitResources();
    consoleScreensInitResources();
    installerScreensInitResources();
    machineScreensInitResources();
    settingsScreensInitResources();
    diagnosticsScreensInitResources();
    workingScreensInitResources();
    ToolsViewWidgets::dataScreensInitResources();
}
