#include "configoemtanksetup.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "installerlimits.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { MaxContentRow = 0, MinContentRow = 1, AutoFillingRow = 2, FillOffsetRow = 3 };

// Item, volume quantity and command of the content rows (the auto-filling row has none).
const uint32_t kItems[] = {DS_TANK_MAX_CONTENT, DS_TANK_MIN_CONTENT, 0, DS_AUTO_FILL_OFFSET};
const uint32_t kQuantities[] = {UQ_TANK_MAX_CONTENT, UQ_TANK_MIN_CONTENT, 0, UQ_AUTO_FILL_OFFSET};
const uint32_t kCommands[] = {EV_SET_TANK_MAX_CONTENT, EV_SET_TANK_MIN_CONTENT, 0, EV_SET_AUTO_FILL_OFFSET};

bool nh3Mode()
{
    return datastoreGetBool(DS_NH3_MODE) != 0;
}

// Chosen afresh at every use: the mode may change while the page exists.
uint32_t quantityOf(int row)
{
    return nh3Mode() ? static_cast<uint32_t>(UQ_TANK_CONTENT_MASS) : kQuantities[row];
}

double displayValue(uint32_t q, int32_t base)
{
    return unitBaseToDisplay(q, base) / static_cast<double>(unitGetScale(q));
}

double displayMinimum(int row)
{
    return displayValue(quantityOf(row), itemStoreMinimum(kItems[row]));
}

double displayMaximum(int row)
{
    return displayValue(quantityOf(row), itemStoreMaximum(kItems[row]));
}

}  // namespace

ConfigOemTankSetup::ConfigOemTankSetup(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigOemTankSetup"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigOemTankSetup::handleButtonBarPressed);
    static const char* const kNames[] = {"m_btnTankMaxContentValue", "m_btnTankMinContentValue",
                                         "m_btnAutoFillingValue", "m_btnAutoFillOffsetValue"};
    for (int row = MaxContentRow; row <= FillOffsetRow; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigOemTankSetup::showHelp);
        mValues[row] = mKit->addValueButton(row, kNames[row]);
        // The values are short; the long setting names need the room.
        mValues[row]->setMinimumSize(GuiGeometry::menuButtonSize());
        mKeypads[row] = row == AutoFillingRow ? nullptr : mKit->addKeypad();
    }
    connect(mValues[MaxContentRow], &KestromPushButton::takeAction, this, &ConfigOemTankSetup::editTankMaxContent);
    connect(mValues[MinContentRow], &KestromPushButton::takeAction, this, &ConfigOemTankSetup::editTankMinContent);
    connect(mValues[AutoFillingRow], &KestromPushButton::takeAction, this,
            &ConfigOemTankSetup::toggleAutoFillingState);
    connect(mValues[FillOffsetRow], &KestromPushButton::takeAction, this, &ConfigOemTankSetup::editAutoFillOffset);
    connect(mKeypads[MaxContentRow], &NumericKeypadWidget::commitValue, this, &ConfigOemTankSetup::commitTankMaxContent);
    connect(mKeypads[MinContentRow], &NumericKeypadWidget::commitValue, this, &ConfigOemTankSetup::commitTankMinContent);
    connect(mKeypads[FillOffsetRow], &NumericKeypadWidget::commitValue, this, &ConfigOemTankSetup::commitAutoFillOffset);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigOemTankSetup::~ConfigOemTankSetup() = default;

QString ConfigOemTankSetup::volumeUnitText(bool abbreviated) const
{
    const bool mass = nh3Mode();
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        if (mass)
            return abbreviated ? tr("kg", "Abbr for kilograms") : tr("kilograms");
        return abbreviated ? tr("l", "Abbr for liter") : tr("liters");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        if (mass)
            return abbreviated ? tr("lb", "Abbr for pounds") : tr("pounds");
        return abbreviated ? tr("gal", "Abbr for gallons") : tr("gallons");
    default:
        return QString();
    }
}

void ConfigOemTankSetup::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"), tr("Tank Setup", "pathway text")});
    mLabels[MaxContentRow]->setText(tr("Maximum Tank Content", "setting label"));
    mLabels[MinContentRow]->setText(tr("Minimum Tank Content", "setting label"));
    mLabels[AutoFillingRow]->setText(tr("Automatic Filling", "setting label"));
    mLabels[FillOffsetRow]->setText(tr("Automatic Filling Offset", "setting label"));
    refreshContent(MaxContentRow);
    refreshContent(MinContentRow);
    refreshAutoFilling();
    refreshContent(FillOffsetRow);
}

void ConfigOemTankSetup::refreshContent(int row)
{
    const uint32_t q = quantityOf(row);
    mValues[row]->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                    displayValue(q, datastoreGetUint16(kItems[row])),
                                                    static_cast<int>(unitGetDecimals(q)), volumeUnitText(true)));
}

void ConfigOemTankSetup::refreshAutoFilling()
{
    mValues[AutoFillingRow]->setText(datastoreGetBool(DS_AUTO_FILLING_ENABLED) != 0 ? tr("On", "small button")
                                                                                     : tr("Off", "small button"));
}

void ConfigOemTankSetup::editContent(int row, const QString& title, void (ConfigOemTankSetup::*commit)(double))
{
    const uint32_t q = quantityOf(row);
    KeypadSetting setting;
    setting.value = displayValue(q, datastoreGetUint16(kItems[row]));
    setting.minimum = displayMinimum(row);
    setting.maximum = displayMaximum(row);
    setting.decimals = static_cast<int>(unitGetDecimals(q));
    setting.units = volumeUnitText(false);
    setting.title = title;
    mKit->openKeypad(mKeypads[row], setting, this, commit);
}

void ConfigOemTankSetup::commitContent(int row, double value)
{
    const int32_t base = PageValues::baseFromTyped(quantityOf(row), value);
    processEvent(kCommands[row], static_cast<uint32_t>(base) & 0xFFFFu);
    refreshContent(row);
}

void ConfigOemTankSetup::editTankMaxContent()
{
    editContent(MaxContentRow,
                tr("Maximum Tank Content (%1)", "keyboard header. %1 is the units.").arg(volumeUnitText(true)),
                &ConfigOemTankSetup::commitTankMaxContent);
}

void ConfigOemTankSetup::commitTankMaxContent(double value)
{
    commitContent(MaxContentRow, value);
}

void ConfigOemTankSetup::editTankMinContent()
{
    editContent(MinContentRow,
                tr("Minimum Tank Content (%1)", "keyboard header. %1 is the units.").arg(volumeUnitText(true)),
                &ConfigOemTankSetup::commitTankMinContent);
}

void ConfigOemTankSetup::commitTankMinContent(double value)
{
    commitContent(MinContentRow, value);
}

void ConfigOemTankSetup::toggleAutoFillingState()
{
    processEvent(EV_SET_AUTO_FILLING, 1u - (datastoreGetBool(DS_AUTO_FILLING_ENABLED) != 0 ? 1u : 0u));
    refreshAutoFilling();
}

void ConfigOemTankSetup::editAutoFillOffset()
{
    editContent(FillOffsetRow,
                tr("Automatic Filling Offset (%1)", "keyboard header. %1 is the units.").arg(volumeUnitText(true)),
                &ConfigOemTankSetup::commitAutoFillOffset);
}

void ConfigOemTankSetup::commitAutoFillOffset(double value)
{
    commitContent(FillOffsetRow, value);
}

void ConfigOemTankSetup::showContentHelp(int row, const QString& title, const QString& text)
{
    SettingPageKit::showRangeHelp(title, text, displayMinimum(row), displayMaximum(row),
                                  static_cast<int>(unitGetDecimals(quantityOf(row))), volumeUnitText(false));
}

void ConfigOemTankSetup::showHelp(int id)
{
    switch (id) {
    case MaxContentRow:
        showContentHelp(MaxContentRow, tr("Maximum Tank Content", "definition header"),
                        tr("Enter the maximum possible tank volume. Range is %L1 through %L2 %3.",
                           "Maximum Tank Content definition %L1 & %L2 are the range values. %3 is the units."));
        break;
    case MinContentRow:
        showContentHelp(MinContentRow, tr("Minimum Tank Content", "definition header"),
                        tr("The minimum tank volume at which the tank agitation should automatically be shut off. "
                           "Range is %L1 through %L2 %3.",
                           "Minimum Tank Content definition %L1 & %L2 are the range values. %3 is the units."));
        break;
    case AutoFillingRow:
        SettingPageKit::showHelp(tr("Automatic Filling", "definition header"),
                                 tr("Set automatic filling mode to either \"on\" or \"off\".",
                                    "Automatic Filling definition"));
        break;
    case FillOffsetRow:
        showContentHelp(FillOffsetRow, tr("Automatic Filling Offset", "definition header"),
                        tr("Enter the volume that will continue to run into the tank after the fill valve has "
                           "starting shutting. Range is %L1 through %L2 %3.",
                           "Automatic Filling Offset definition. %L1 & %L2 are the range values. %3 is the units."));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemTankSetup::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigOemTankSetup::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    refreshContent(MaxContentRow);
    refreshContent(MinContentRow);
    refreshAutoFilling();
    refreshContent(FillOffsetRow);
    const bool filling =
        datastoreGetBool(DS_FILL_FLOW_SENSOR_PRESENT) != 0 || datastoreGetBool(DS_TANK_SENSOR_PRESENT) != 0;
    for (int row : {AutoFillingRow, FillOffsetRow}) {
        mLabels[row]->setVisible(filling);
        mValues[row]->setVisible(filling);
    }
}

void ConfigOemTankSetup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
