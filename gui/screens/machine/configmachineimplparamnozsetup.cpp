#include "configmachineimplparamnozsetup.h"

#include "noztables.h"

namespace ToolsViewWidgets {

QString ConfigMachineImplParamNozSetup::tipSeriesName(int series, int form)
{
    if (series < 0 || series >= static_cast<int>(NOZZLE_TYPE_COUNT) || series == static_cast<int>(NOZZLE_USER_TIP_TYPE))
        return tr("User Tip", "description of tip series");
    QString name;
    switch (series) {
    case 0:
        name = tr("Twin Fluid", "description of tip series");
        break;
    case 1:
        name = tr("General", "description of tip series");
        break;
    default:
        // The other series carry the makers' trade names, which stay as they are.
        name = QString::fromLatin1(nozzleSeriesName(static_cast<uint32_t>(series)));
        break;
    }
    if (form != 0)
        return name;
    QString prefix;
    for (const QString& word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        prefix += word.at(0).toUpper();
    return prefix + QLatin1Char('-');
}

}  // namespace ToolsViewWidgets
