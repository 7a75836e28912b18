#include "toolsviewconfigfilling.h"

#include "buttongridwidget.h"
#include "datastore.h"
#include "debugout.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "fillingunits.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "machineresources.h"
#include "numerickeypadwidget.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

// The density of water (kg/l x 1000) and the range of a product's density.
constexpr uint32_t kWaterDensity = 1000;
constexpr int32_t kDensityMinimum = 800;
constexpr int32_t kDensityMaximum = 2000;

enum Row { ContentRow = 0, FullTankRow = 1, DensityTypeRow = 2, DensityFactorRow = 3 };

// The actual content as the page shows it: through quantity 12 in NH3 mode,
// else 11, with the decimals of 12 or 7.
int contentDecimals()
{
    return PageValues::decimals(FillingUnits::fullTankQuantity());
}

double actualContent()
{
    return PageValues::displayFromBase(FillingUnits::actualContentQuantity(),
                                       static_cast<int32_t>(datastoreGetUint16(DS_ACTUAL_CONTENT)));
}

double fullTankContent()
{
    return PageValues::displayFromBase(FillingUnits::fullTankQuantity(),
                                       static_cast<int32_t>(datastoreGetUint16(DS_TANK_MAX_CONTENT)));
}

bool tankSensor()
{
    return datastoreGetBool(DS_TANK_SENSOR_PRESENT) != 0;
}

bool fillFlowSensor()
{
    return datastoreGetBool(DS_FILL_FLOW_SENSOR_PRESENT) != 0;
}

}  // namespace

ToolsViewConfigFilling::ToolsViewConfigFilling(QWidget* parent, bool menuInstance)
    : WidgetTimedFocusUpdateQt(parent), mMenuInstance(menuInstance), mKit(nullptr)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfigFilling"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, mMenuInstance);
    mKit->connectButtonBar(this, &ToolsViewConfigFilling::handleButtonBarPressed);
    mKit->rowGrid()->setColumnStretch(0, 2);

    mContentLabel = mKit->addLabelButton(ContentRow, this, &ToolsViewConfigFilling::showHelp,
                                         ":/images/tank_half_full.svg");
    mContentValue = mKit->addValueButton(ContentRow, "m_tankContentValue");
    connect(mContentValue, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling::editTankContent);

    mFullTankLabel = mKit->addLabelButton(FullTankRow, this, &ToolsViewConfigFilling::showHelp,
                                          ":/images/tank_full.svg");
    mFullTankButton = new KestromPushButton(FullTankRow, this);
    mFullTankButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(FullTankRow, mFullTankButton);
    connect(mFullTankButton, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling::reloadFullTankValue);

    mDensityTypeLabel = mKit->addLabelButton(DensityTypeRow, this, &ToolsViewConfigFilling::showHelp,
                                             ":/images/product_density_type.svg");
    mDensityTypeValue = mKit->addValueButton(DensityTypeRow, "m_densityTypeSelection");
    connect(mDensityTypeValue, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling::editDensityType);

    mDensityFactorLabel = mKit->addLabelButton(DensityFactorRow, this, &ToolsViewConfigFilling::showHelp,
                                               ":/images/product_density.svg");
    mDensityFactorValue = mKit->addValueButton(DensityFactorRow, "m_densityFactorValue");
    connect(mDensityFactorValue, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling::editDensityFactor);
    mKit->column()->addStretch(1);

    mContentKeypad = mKit->addKeypad();
    mFactorKeypad = mKit->addKeypad();
    mDensityGrid = mKit->addGrid();
    mWaterOption = mKit->addOption(mDensityGrid, 0);
    mFertilizerOption = mKit->addOption(mDensityGrid, 1);
    for (KestromPushButton* option : {mWaterOption, mFertilizerOption})
        option->setMinimumSize(GuiGeometry::iconSize90());
    mKit->layOutOptions(mDensityGrid);

    retranslate();
}

ToolsViewConfigFilling::~ToolsViewConfigFilling() = default;

void ToolsViewConfigFilling::retranslate()
{
    if (mMenuInstance)
        mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                          tr("Filling (1)", "pathway text")});
    else
        mKit->setPathway({tr("Operation", "pathway text"), tr("Filling (1)", "pathway text")});
    mContentLabel->setText(tr("Actual Content", "setting label"));
    mFullTankLabel->setText(tr("Full Tank", "setting label"));
    mDensityTypeLabel->setText(tr("Density Type", "setting label"));
    mDensityFactorLabel->setText(tr("Density Factor", "setting label"));
    mFullTankButton->setText(tr("Full Tank", "button"));
    mWaterOption->setText(tr("Water", "small button"));
    mFertilizerOption->setText(tr("Fertilizer", "small button"));
    refreshTankContent();
    refreshDensityType();
    refreshDensityFactor();
}

QString ToolsViewConfigFilling::contentUnit(bool longName) const
{
    switch (FillingUnits::unitSystem()) {
    case UNIT_SYSTEM_METRIC:
        return longName ? tr("liter") : tr("l", "abbr for liter");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        return longName ? tr("gallon") : tr("gal", "Abbr for gallon");
    default:
        return QString();
    }
}

void ToolsViewConfigFilling::refreshTankContent()
{
    mContentValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                     actualContent(), contentDecimals(), contentUnit(false)));
}

void ToolsViewConfigFilling::refreshDensityType()
{
    const bool fertilizer = datastoreGetBool(DS_DENSITY_TYPE) != 0;
    mDensityTypeValue->setText(fertilizer ? tr("Fertilizer", "button") : tr("Water", "button"));
    mDensityFactorValue->setEnabled(fertilizer);
}

void ToolsViewConfigFilling::refreshDensityFactor()
{
    const double factor = PageValues::displayFromBase(UQ_DENSITY, static_cast<int32_t>(datastoreGetUint16(DS_DENSITY_FACTOR)));
    mDensityFactorValue->setText(tr("%L1", "%L1 is the value").arg(factor, 0, 'f', PageValues::decimals(UQ_DENSITY)));
}

void ToolsViewConfigFilling::timedUpdate()
{
    refreshTankContent();
}

void ToolsViewConfigFilling::editTankContent()
{
    KeypadSetting setting;
    setting.value = actualContent();
    setting.minimum = 0.0;
    setting.maximum = fullTankContent();
    setting.decimals = contentDecimals();
    setting.units = contentUnit(true);
    setting.title = tr("Actual Content (%1)", "keyboard header. %1 is the units.").arg(contentUnit(false));
    mKit->openKeypad(mContentKeypad, setting, this, &ToolsViewConfigFilling::commitTankContent);
}

void ToolsViewConfigFilling::commitTankContent(double value)
{
    const int32_t content =
        PageValues::baseFromTyped(FillingUnits::fullTankQuantity(), FillingUnits::actualContentQuantity(), value);
    processEvent(EV_SET_TANK_CONTENT, static_cast<uint32_t>(content));
    refreshTankContent();
}

void ToolsViewConfigFilling::reloadFullTankValue()
{
    processEvent(EV_SET_TANK_CONTENT, datastoreGetUint16(DS_TANK_MAX_CONTENT));
    refreshTankContent();
}

void ToolsViewConfigFilling::editDensityType()
{
    mKit->openGrid(mDensityGrid, datastoreGetBool(DS_DENSITY_TYPE) ? 1 : 0, this,
                   &ToolsViewConfigFilling::commitDensityType);
}

void ToolsViewConfigFilling::commitDensityType(int choice)
{
    datastoreSetBool(DS_DENSITY_TYPE, choice != 0 ? 1 : 0);
    const bool fertilizer = datastoreGetBool(DS_DENSITY_TYPE) != 0;
    debugPrintf(0, "Density Corr = %s\r\n", fertilizer ? "On" : "Off");
    if (!fertilizer)
        processEvent(EV_SET_DENSITY, kWaterDensity);
    else if (!FillingUnits::nh3Mode())
        processEvent(EV_SET_DENSITY, datastoreGetUint16(DS_DENSITY_CORRECTION));
    refreshDensityType();
    refreshDensityFactor();
}

void ToolsViewConfigFilling::editDensityFactor()
{
    if (!mDensityFactorValue->isEnabled())
        return;
    KeypadSetting setting;
    setting.value = PageValues::displayFromBase(UQ_DENSITY, static_cast<int32_t>(datastoreGetUint16(DS_DENSITY_FACTOR)));
    setting.minimum = PageValues::displayFromBase(UQ_DENSITY, kDensityMinimum);
    setting.maximum = PageValues::displayFromBase(UQ_DENSITY, kDensityMaximum);
    setting.decimals = PageValues::decimals(UQ_DENSITY);
    setting.title = tr("Density Factor", "keyboard header");
    mKit->openKeypad(mFactorKeypad, setting, this, &ToolsViewConfigFilling::commitDensityFactor);
}

void ToolsViewConfigFilling::commitDensityFactor(double value)
{
    processEvent(EV_SET_DENSITY, static_cast<uint32_t>(PageValues::baseFromTyped(UQ_DENSITY, value)));
    // Kept for the next change back to fertilizer.
    if (datastoreGetBool(DS_DENSITY_TYPE))
        datastoreSetUint16(DS_DENSITY_CORRECTION, datastoreGetUint16(DS_DENSITY_FACTOR));
    processEvent(EV_TARGET_RATE_CHANGED, datastoreGetAsInt32(DS_TARGET_RATE));
    if (FillingUnits::nh3Mode())
        processEvent(EV_DENSITY_CHANGED, 0);
    refreshDensityFactor();
}

void ToolsViewConfigFilling::showHelp(int id)
{
    switch (id) {
    case ContentRow:
        SettingPageKit::showRangeHelp(
            tr("Actual Content", "definition header"),
            tr("When a Tank Sensor or Fill Flow Sensor is not available, manually enter the actual tank content. "
               "The Full Tank button can be used to set the actual tank content value to the maximum tank content "
               "value. Range is %L1 through %L2 %3.",
               "Actual Content definition. %L1 & %L2 are the range values. %3 is the units."),
            0.0, fullTankContent(), contentDecimals(), contentUnit(true));
        break;
    case FullTankRow:
        SettingPageKit::showHelp(
            tr("Full Tank", "definition header"),
            tr("Press the Full Tank button to reload the predefined full tank content value into Actual Content.",
               "Full Tank definition"));
        break;
    case DensityTypeRow:
        SettingPageKit::showHelp(tr("Density Type", "definition header"),
                                 tr("Establishes the density of the material being applied.",
                                    "Density Type definition"));
        break;
    case DensityFactorRow:
        SettingPageKit::showRangeHelp(
            tr("Density Factor", "definition header"),
            tr("Enter the density factor for selected fertilizer type. Range is %L1 through %L2 %3.",
               "Density Factor definition. %L1 & %L2 are the range values and %3 is the unit."),
            PageValues::displayFromBase(UQ_DENSITY, kDensityMinimum),
            PageValues::displayFromBase(UQ_DENSITY, kDensityMaximum), PageValues::decimals(UQ_DENSITY),
            FillingUnits::unitSystem() == UNIT_SYSTEM_METRIC ? tr("kg/l", "abbr for kilograms/liter")
                                                             : tr("lb/gal", "abbr for pounds/gallon"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ToolsViewConfigFilling::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConfigFilling::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    const bool manualContent = !tankSensor() && !fillFlowSensor();
    mFullTankLabel->setVisible(manualContent);
    mFullTankButton->setVisible(manualContent);
    mContentValue->setEnabled(!tankSensor());
    // Automatic filling needs a sensor to measure the content.
    mKit->buttonBar()->setButtonsVisible(true, tankSensor() || fillFlowSensor(), mMenuInstance);
    refreshTankContent();
    refreshDensityType();
    refreshDensityFactor();
}

void ToolsViewConfigFilling::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
}

void ToolsViewConfigFilling::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
