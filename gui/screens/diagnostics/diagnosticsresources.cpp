#include "diagnosticsresources.h"

#include "machineresources.h"
#include "toolsviewdata.h"

#include <QtGlobal>

static void registerDiagnosticsResources()
{
    Q_INIT_RESOURCE(diagnostics);
}

void diagnosticsScreensInitResources()
{
    static const bool registered = (registerDiagnosticsResources(), true);
    (void)registered;
    machineScreensInitResources();
    ToolsViewWidgets::dataScreensInitResources();
}
