#pragma once
// The nozzle preset set-up page of the implement parameters. For now it holds
// the tip series names that every page naming a tip shares.
#include <QCoreApplication>
#include <QString>

namespace ToolsViewWidgets {

class ConfigMachineImplParamNozSetup {
    Q_DECLARE_TR_FUNCTIONS(ToolsViewWidgets::ConfigMachineImplParamNozSetup)
public:
    // The series name of the tip catalogue. Form 1 is the plain name, as on the
    // series buttons; form 0 is the name as the prefix of a size name: the
    // initials of its words and "-" ("Standard Flat Fan" gives "SFF-", to which
    // the size "02" is appended). The user tip (series 18) and every series
    // beyond the catalogue are "User Tip" in both forms.
    static QString tipSeriesName(int series, int form);
};

}  // namespace ToolsViewWidgets
