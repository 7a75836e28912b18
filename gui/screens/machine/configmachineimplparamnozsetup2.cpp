#include "configmachineimplparamnozsetup2.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "machineresources.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "pagevalues.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { LowRow = 0, HighRow = 1, FlowRow = 2, RefPressureRow = 3, RowCount = 4 };

struct RowData {
    uint32_t quantity;
    uint32_t minimum;  // base units
    uint32_t maximum;
};

const RowData kRows[RowCount] = {
    {UQ_NOZZLE_REF_PRESSURE, 0, 2550},
    {UQ_NOZZLE_REF_PRESSURE, 0, 2550},
    {UQ_NOZZLE_REF_FLOW, 0, 99999},
    {UQ_NOZZLE_REF_PRESSURE, 10, 9999},
};

uint32_t activePreset()
{
    return datastoreGetUint16(DS_CURRENT_TIP_PRESET);
}

// A base limit as the keypad and the help show it: the display value nearest
// to it that still lies inside it, so that no accepted entry leaves the limits.
double displayLimit(uint32_t q, uint32_t base, bool upper)
{
    const int32_t limit = static_cast<int32_t>(base);
    int32_t display = unitBaseToDisplay(q, limit);
    const int32_t back = unitDisplayToBase(q, display);
    if (upper && back > limit)
        --display;
    else if (!upper && back < limit)
        ++display;
    const uint32_t scale = unitGetScale(q);
    return scale == 0 ? 0.0 : static_cast<double>(display) / static_cast<double>(scale);
}

}  // namespace

ConfigMachineImplParamNozSetup2::ConfigMachineImplParamNozSetup2(QWidget* parent) : QWidget(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineImplParamNozSetup2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigMachineImplParamNozSetup2::handleButtonBarPressed);

    using Edit = void (ConfigMachineImplParamNozSetup2::*)();
    using Commit = void (ConfigMachineImplParamNozSetup2::*)(double);
    const Edit edits[RowCount] = {
        &ConfigMachineImplParamNozSetup2::editLowPressLimitValue, &ConfigMachineImplParamNozSetup2::editHighPressLimitValue,
        &ConfigMachineImplParamNozSetup2::editRefFlowValue, &ConfigMachineImplParamNozSetup2::editRefPressureValue};
    const Commit commits[RowCount] = {&ConfigMachineImplParamNozSetup2::commitLowPressLimitValue,
                                      &ConfigMachineImplParamNozSetup2::commitHighPressLimitValue,
                                      &ConfigMachineImplParamNozSetup2::commitRefFlowValue,
                                      &ConfigMachineImplParamNozSetup2::commitRefPressureValue};
    for (int row = 0; row < RowCount; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigMachineImplParamNozSetup2::showHelp);
        mValues[row] = mKit->addValueButton(row);
        mKeypads[row] = mKit->addKeypad();
        mKeypads[row]->resize(GuiGeometry::pageContentSize());
        connect(mKeypads[row], &NumericKeypadWidget::commitValue, this, commits[row]);
        connect(mValues[row], &KestromPushButton::takeAction, this, edits[row]);
    }

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigMachineImplParamNozSetup2::~ConfigMachineImplParamNozSetup2() = default;

QString ConfigMachineImplParamNozSetup2::pressureUnitsText() const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return tr("bar", "metric unit of pressure");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return tr("psi", "Abbr for US unit of pressure, pounds per square inch");
    default:
        return QString();
    }
}

QString ConfigMachineImplParamNozSetup2::flowUnitsText(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("l/min", "abbr for liters per minute") : tr("liter/minute", " ");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return shortForm ? tr("gal/min", "abbr for gallons per minute") : tr("gallons/minute", " ");
    default:
        return QString();
    }
}

QString ConfigMachineImplParamNozSetup2::rowUnit(int row, bool shortForm) const
{
    return row == FlowRow ? flowUnitsText(shortForm) : pressureUnitsText();
}

uint32_t ConfigMachineImplParamNozSetup2::rowBaseValue(int row) const
{
    const uint32_t preset = activePreset();
    switch (row) {
    case LowRow:
        return nozpresetPressureLimit(preset, 0);
    case HighRow:
        return nozpresetPressureLimit(preset, NOZINFO_FLAG_MAXIMUM);
    case FlowRow:
        return nozpresetSystemRefFlow(preset);
    default:
        return nozpresetRefPressure(preset);
    }
}

void ConfigMachineImplParamNozSetup2::refreshRow(int row)
{
    const uint32_t q = kRows[row].quantity;
    mValues[row]->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value and %2 is the unit"),
                                                    PageValues::displayFromBase(q, static_cast<int32_t>(rowBaseValue(row))),
                                                    PageValues::decimals(q), rowUnit(row, true)));
}

void ConfigMachineImplParamNozSetup2::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                      tr("Implement Parameters", "pathway text"), tr("Tip Preset Setup (2)", "pathway text")});
    mLabels[LowRow]->setText(tr("Low Pressure Limit", "setting label"));
    mLabels[HighRow]->setText(tr("High Pressure Limit", "setting label"));
    mLabels[FlowRow]->setText(tr("Reference Flow", "setting label"));
    mLabels[RefPressureRow]->setText(tr("Reference Pressure", "setting label"));
    for (int row : {LowRow, HighRow, FlowRow, RefPressureRow})
        refreshRow(row);
}

void ConfigMachineImplParamNozSetup2::editRow(int row, const QString& title)
{
    const RowData& data = kRows[row];
    KeypadSetting setting;
    setting.value = PageValues::displayFromBase(data.quantity, static_cast<int32_t>(rowBaseValue(row)));
    setting.minimum = displayLimit(data.quantity, data.minimum, false);
    setting.maximum = displayLimit(data.quantity, data.maximum, true);
    setting.decimals = PageValues::decimals(data.quantity);
    setting.units = rowUnit(row, false);
    setting.title = title;
    using Commit = void (ConfigMachineImplParamNozSetup2::*)(double);
    static const Commit commits[RowCount] = {&ConfigMachineImplParamNozSetup2::commitLowPressLimitValue,
                                             &ConfigMachineImplParamNozSetup2::commitHighPressLimitValue,
                                             &ConfigMachineImplParamNozSetup2::commitRefFlowValue,
                                             &ConfigMachineImplParamNozSetup2::commitRefPressureValue};
    mKit->openKeypad(mKeypads[row], setting, this, commits[row]);
}

uint32_t ConfigMachineImplParamNozSetup2::typedBase(int row, double value) const
{
    const uint32_t q = kRows[row].quantity;
    const int32_t base = unitDisplayToBase(q, PageValues::displayIntegerRounded(value, unitGetScale(q)));
    return base < 0 ? 0u : static_cast<uint32_t>(base);
}

void ConfigMachineImplParamNozSetup2::editLowPressLimitValue()
{
    editRow(LowRow, tr("Low Pressure Limit (%1)", "keyboard header. %1 is the units.").arg(pressureUnitsText()));
}

void ConfigMachineImplParamNozSetup2::commitLowPressLimitValue(double value)
{
    const uint32_t preset = activePreset();
    const uint32_t series = nozpresetGetNozzleType(preset);
    const uint32_t size = nozpresetGetNozzleSizeIx(preset);
    // Both limits go together: the high one as the tip holds it now.
    nozinfoSetCustomPressRange(series, size, typedBase(LowRow, value),
                               nozinfoPressureLimit(series, size, NOZINFO_FLAG_MAXIMUM));
    refreshRow(LowRow);
}

void ConfigMachineImplParamNozSetup2::editHighPressLimitValue()
{
    editRow(HighRow, tr("High Pressure Limit (%1)", "keyboard header. %1 is the units.").arg(pressureUnitsText()));
}

void ConfigMachineImplParamNozSetup2::commitHighPressLimitValue(double value)
{
    const uint32_t preset = activePreset();
    const uint32_t series = nozpresetGetNozzleType(preset);
    const uint32_t size = nozpresetGetNozzleSizeIx(preset);
    nozinfoSetCustomPressRange(series, size, nozinfoPressureLimit(series, size, 0), typedBase(HighRow, value));
    refreshRow(HighRow);
}

void ConfigMachineImplParamNozSetup2::editRefFlowValue()
{
    editRow(FlowRow, tr("Reference Flow (%1)", "keyboard header. %1 is the units.").arg(flowUnitsText(true)));
}

void ConfigMachineImplParamNozSetup2::commitRefFlowValue(double value)
{
    const uint32_t preset = activePreset();
    // The whole 32-bit value: a flow above 65.535 l/min must not lose its upper bits.
    nozinfoSetCustomRefFlow(nozpresetGetNozzleType(preset), nozpresetGetNozzleSizeIx(preset),
                            typedBase(FlowRow, value));
    refreshRow(FlowRow);
}

void ConfigMachineImplParamNozSetup2::editRefPressureValue()
{
    editRow(RefPressureRow,
            tr("Reference Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitsText()));
}

void ConfigMachineImplParamNozSetup2::commitRefPressureValue(double value)
{
    const uint32_t preset = activePreset();
    nozinfoSetCustomRefPress(nozpresetGetNozzleType(preset), nozpresetGetNozzleSizeIx(preset),
                             typedBase(RefPressureRow, value));
    refreshRow(RefPressureRow);
}

void ConfigMachineImplParamNozSetup2::showHelp(int id)
{
    if (id < 0 || id >= RowCount) {
        SettingPageKit::showHelp(QString(), QString());
        return;
    }
    QString title;
    QString text;
    switch (id) {
    case LowRow:
        title = tr("Low Pressure Limit", "definition header");
        text = tr("Establishes the limit for the lowest allowed operating pressure for the selected tip series. "
                  "Range is %L1 through %L2 %3.",
                  "Low Pressure Limit definition. %L1 & %L2 are the range values. %3 is the units.");
        break;
    case HighRow:
        title = tr("High Pressure Limit", "definition header");
        text = tr("Establishes the limit for the highest allowed operating pressure for the selected tip series. "
                  "Range is %L1 through %L2 %3.",
                  "High Pressure Limit definition. %L1 & %L2 are the range values. %3 is the units.");
        break;
    case FlowRow:
        title = tr("Reference Flow", "definition header");
        text = tr("Establishes the value for volume applied over a specific time. Range is %L1 through %L2 %3.",
                  "Reference Flow definition. %L1 & %L2 are the range values. %3 is the units.");
        break;
    default:
        title = tr("Reference Pressure", "definition header");
        text = tr("Establishes the pressure value at which the application rate is true (ISO = 2 bar / 29 psi). "
                  "Range is %L1 through %L2 %3.",
                  "Reference Pressure definition. %L1 & %L2 are the range values. %3 is the units.");
        break;
    }
    const RowData& data = kRows[id];
    SettingPageKit::showRangeHelp(title, text, displayLimit(data.quantity, data.minimum, false),
                                  displayLimit(data.quantity, data.maximum, true), PageValues::decimals(data.quantity),
                                  rowUnit(id, false));
}

void ConfigMachineImplParamNozSetup2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigMachineImplParamNozSetup2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    for (int row : {HighRow, LowRow, FlowRow, RefPressureRow})
        refreshRow(row);
}

void ConfigMachineImplParamNozSetup2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
