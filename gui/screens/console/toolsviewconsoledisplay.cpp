#include "toolsviewconsoledisplay.h"

#include "datastore.h"
#include "dscatalogue.h"

void consoleScreensInitResources()
{
    Q_INIT_RESOURCE(console);
}

namespace ToolsViewWidgets {

namespace {
// The scheme a fresh store selects for the day.
constexpr int DayScheme = 1;
const char* const schemeSheets[] = {
    ":/stylesheets/field.qss",
    ":/stylesheets/day.qss",
    ":/stylesheets/night.qss",
};
}

ToolsViewConsoleDisplay::ToolsViewConsoleDisplay(QWidget* parent) : QWidget(parent)
{
    consoleScreensInitResources();
}

int ToolsViewConsoleDisplay::schemeCount()
{
    return int(sizeof schemeSheets / sizeof schemeSheets[0]);
}

QString ToolsViewConsoleDisplay::styleSheetPath(int scheme)
{
    if (scheme < 0 || scheme >= schemeCount())
        scheme = DayScheme;
    return QString::fromLatin1(schemeSheets[scheme]);
}

QString ToolsViewConsoleDisplay::storedStylePath() const
{
    const int scheme = datastoreGetBool(DS_NIGHT_MODE) ? datastoreGetUint16(DS_NIGHT_STYLE)
                                                        : datastoreGetUint16(DS_DAY_STYLE);
    return styleSheetPath(scheme);
}

QString ToolsViewConsoleDisplay::applyStoredStyle()
{
    ToolsViewConsoleDisplay page;
    return page.storedStylePath();
}

}  // namespace ToolsViewWidgets
