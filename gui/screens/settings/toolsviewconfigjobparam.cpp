#include "toolsviewconfigjobparam.h"

#include "configmachineimplparamnozsetup.h"
#include "datastore.h"
#include "debugout.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "nozimage.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "settingsresources.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = 2;
// The rate items and the target rate are 16-bit.
constexpr int32_t kLargestRate = 65535;

enum Row { RateNumberRow = 0, RateRow = 1, TipRow = 2, CirculationRow = 3, IdlePressureRow = 4 };
// Circulation and idle pressure share the last grid row.
constexpr int kSharedGridRow = 3;

const char* const kRateNumberIcon = ":/images/Target_num.svg";
const char* const kRateIcon = ":/images/Target_icon.svg";

// Grid choices as wide as a large icon and low enough that the grid shows two
// rows of them: the three rate numbers on one page, the tip presets on two.
QSize choiceSize()
{
    return GuiGeometry::scaledSize(90, 80);
}

uint32_t rateItem(int number)
{
    switch (number) {
    case 2:
        return DS_APPL_RATE_2;
    case 3:
        return DS_APPL_RATE_3;
    default:
        return DS_APPL_RATE_1;
    }
}

QPixmap tipPicture(int series, int size, QSize pixels)
{
    return NozImage::NozzleImage::instance()->getNozzleImage(series, size, pixels);
}

}  // namespace

ToolsViewConfigJobParam::ToolsViewConfigJobParam(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    settingsScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfigJobParam"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ToolsViewConfigJobParam::handleButtonBarPressed);

    const QSize smallIcon = GuiGeometry::iconSize70();
    mSmallImageSize = QSize(2 * smallIcon.width() / 3, 2 * smallIcon.height() / 3);

    mRateNumberLabel = mKit->addLabelButton(RateNumberRow, this, &ToolsViewConfigJobParam::showHelp, kRateNumberIcon);
    mRateNumberValue = mKit->addValueButton(RateNumberRow, "m_btnApplRateNumber");
    connect(mRateNumberValue, &KestromPushButton::takeAction, this, &ToolsViewConfigJobParam::editApplRateNumber);
    mRateNumberGrid = mKit->addGrid();
    mRateNumberGrid->setObjectName(QStringLiteral("m_rateNumberGrid"));
    for (int number = 1; number <= 3; ++number) {
        KestromPushButton* option = mKit->addOption(mRateNumberGrid, number);
        option->setMinimumSize(choiceSize());
        mRateChoices[number - 1] = option;
    }
    mKit->layOutOptions(mRateNumberGrid);

    mRateLabel = mKit->addLabelButton(RateRow, this, &ToolsViewConfigJobParam::showHelp, kRateIcon);
    mRateValue = mKit->addValueButton(RateRow, "m_btnApplRateValue");
    connect(mRateValue, &KestromPushButton::takeAction, this, &ToolsViewConfigJobParam::editApplRate);
    mRateKeypad = mKit->addKeypad();

    mTipLabel = mKit->addLabelButton(TipRow, this, &ToolsViewConfigJobParam::showHelp);
    mTipValue = mKit->addValueButton(TipRow, "m_btnNozzleType");
    connect(mTipValue, &KestromPushButton::takeAction, this, &ToolsViewConfigJobParam::editNozzleType);
    mTipGrid = mKit->addGrid();
    mTipGrid->setObjectName(QStringLiteral("m_tipPresetGrid"));
    const QSize large = choiceSize();
    const QSize tipButtonSize(static_cast<int>(GuiGeometry::iconSize90().width() * 1.3), large.height());
    for (int preset = 0; preset < PresetCount; ++preset) {
        KestromPushButton* option = mKit->addOption(mTipGrid, preset);
        option->setObjectName(QStringLiteral("m_tipPreset%1").arg(preset));
        option->setMinimumSize(tipButtonSize);
        option->setIconSize(tipButtonSize);
        PresetButton& record = mPresets[preset];
        record.name = new QLabel(option);
        record.name->setObjectName(QStringLiteral("m_tipPresetName%1").arg(preset));
        record.name->setProperty("fontsize", "small");
        // A little air around the line: at its bare height the text touches the edges.
        record.name->ensurePolished();
        record.name->setMinimumHeight(record.name->fontMetrics().height() + 2);
        record.image = new QLabel(option);
        record.image->setObjectName(QStringLiteral("m_tipPresetImage%1").arg(preset));
        record.image->setFixedSize(mSmallImageSize);
        auto* box = new QVBoxLayout(option);
        box->setSpacing(0);
        box->setContentsMargins(0, 0, 0, 0);
        box->addStretch(1);
        box->addWidget(record.name, 0, Qt::AlignHCenter);
        box->addWidget(record.image, 0, Qt::AlignHCenter);
        box->addStretch(2);
    }
    refreshTipChoices();
    mKit->layOutOptions(mTipGrid);

    // Circulation and idle pressure share one grid row: at most one shows.
    mCirculationLabel = mKit->addLabelButton(kSharedGridRow, this, &ToolsViewConfigJobParam::showHelp);
    mCirculationValue = mKit->addValueButton(kSharedGridRow, "m_btnCirculation");
    connect(mCirculationValue, &KestromPushButton::takeAction, this, &ToolsViewConfigJobParam::editCirculation);
    mCirculationGrid = mKit->addGrid();
    mCirculationGrid->setObjectName(QStringLiteral("m_circulationGrid"));
    mCirculationOff = mKit->addOption(mCirculationGrid, 0);
    mCirculationOn = mKit->addOption(mCirculationGrid, 1);
    mCirculationOff->setMinimumSize(choiceSize());
    mCirculationOn->setMinimumSize(choiceSize());
    mKit->layOutOptions(mCirculationGrid);

    mIdlePressureLabel = mKit->addLabelButton(IdlePressureRow, this, &ToolsViewConfigJobParam::showHelp);
    mIdlePressureValue = mKit->addValueButton(IdlePressureRow, "m_btnIdlePressure");
    connect(mIdlePressureValue, &KestromPushButton::takeAction, this, &ToolsViewConfigJobParam::editIdlePressure);
    // Its help id stays 4; its place is the circulation's grid row.
    for (QWidget* widget : {static_cast<QWidget*>(mIdlePressureLabel), static_cast<QWidget*>(mIdlePressureValue)}) {
        const int index = mKit->rowGrid()->indexOf(widget);
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        mKit->rowGrid()->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        mKit->rowGrid()->removeWidget(widget);
        mKit->rowGrid()->addWidget(widget, kSharedGridRow, column);
    }
    mIdlePressureKeypad = mKit->addKeypad();

    // Rows a little below the pathway, the free space under them.
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    updateRowVisibility();
    retranslate();
}

uint32_t ToolsViewConfigJobParam::rateQuantity()
{
    if (datastoreGetBool(DS_NH3_MODE))
        return UQ_RATE_MASS;
    if (datastoreGetBool(DS_TURF_UNITS))
        return UQ_RATE_TURF;
    return UQ_TARGET_RATE;
}

double ToolsViewConfigJobParam::rateDisplayValue(int number)
{
    return PageValues::displayFromBase(rateQuantity(), static_cast<int32_t>(datastoreGetUint16(rateItem(number))));
}

QString ToolsViewConfigJobParam::rateUnitText(bool shortForm) const
{
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        return shortForm ? tr("l/ha", "abbr for liters/hectare") : tr("liters/hectare");
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        if (datastoreGetBool(DS_TURF_UNITS))
            return shortForm ? tr("gal/1000 sq ft", "Abbr for gallons per 1000 square feet")
                             : tr("gallons/1000 square feet");
        return shortForm ? tr("gal/ac", "Abbr for gallons/acre") : tr("gallon/acre");
    default:
        return QString();
    }
}

QString ToolsViewConfigJobParam::pressureUnitText() const
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

QString ToolsViewConfigJobParam::tipPresetName(int preset) const
{
    const uint32_t i = static_cast<uint32_t>(preset);
    const uint32_t series = nozpresetGetNozzleType(i);
    return ConfigMachineImplParamNozSetup::tipSeriesName(static_cast<int>(series), 0) +
           QString::fromLatin1(nozinfoSizeName(series, nozpresetGetNozzleSizeIx(i)));
}

double ToolsViewConfigJobParam::rateMinimum() const
{
    return PageValues::displayFromBase(rateQuantity(),
                                       static_cast<int32_t>(PageValues::itemMinimum(DS_LIVE_TARGET_RATE)));
}

double ToolsViewConfigJobParam::rateMaximum() const
{
    int32_t maximum = static_cast<int32_t>(PageValues::itemMaximum(DS_LIVE_TARGET_RATE));
    if (maximum <= 0)
        maximum = kLargestRate;
    return PageValues::displayFromBase(rateQuantity(), maximum);
}

void ToolsViewConfigJobParam::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Job Parameters", "pathway text")});
    SettingPageKit::setLabelText(mRateNumberLabel, tr("Application Rate Number", "setting label"));
    mRateLabel->setText(tr("Application Rate", "setting label"));
    mTipLabel->setText(tr("Tip Type", "setting label"));
    mCirculationLabel->setText(tr("Circulation", "setting label"));
    mIdlePressureLabel->setText(tr("Idle Pressure", "setting label"));
    mCirculationOff->setText(tr("Off", "small button"));
    mCirculationOn->setText(tr("On", "small button"));
    refreshRateNumber();
    refreshRateChoices();
    refreshTip();
    refreshCirculation();
    refreshIdlePressure();
}

void ToolsViewConfigJobParam::updateRowVisibility()
{
    const uint16_t mode = datastoreGetUint16(DS_CIRCULATION_MODE);
    const bool circulation = mode != 0;
    const bool idlePressure =
        mode == 0 && datastoreGetBool(DS_PRESSURE_SENSOR_PRESENT) && datastoreGetUint16(DS_REG_SETTING_43) == 0;
    mCirculationLabel->setVisible(circulation);
    mCirculationValue->setVisible(circulation);
    mIdlePressureLabel->setVisible(idlePressure);
    mIdlePressureValue->setVisible(idlePressure);
}

void ToolsViewConfigJobParam::refreshRateNumber()
{
    mRateNumberValue->setText(tr("%1").arg(datastoreGetUint16(DS_APPL_RATE_NUMBER)));
    refreshRate();
}

void ToolsViewConfigJobParam::refreshRate()
{
    mRateValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                  rateDisplayValue(datastoreGetUint16(DS_APPL_RATE_NUMBER)),
                                                  PageValues::decimals(rateQuantity()), rateUnitText(true)));
}

void ToolsViewConfigJobParam::refreshRateChoices()
{
    const int decimals = PageValues::decimals(rateQuantity());
    for (int number = 1; number <= 3; ++number)
        mRateChoices[number - 1]->setText(
            SettingPageKit::valueText(tr("%L1\n%2", "Application Rate Number small button"),
                                      rateDisplayValue(number), decimals, rateUnitText(true)));
}

void ToolsViewConfigJobParam::refreshTip()
{
    const int preset = datastoreGetUint16(DS_CURRENT_TIP_PRESET);
    mTipValue->setText(tipPresetName(preset));
    const uint32_t i = static_cast<uint32_t>(preset);
    mTipLabel->setIcon(QIcon(tipPicture(static_cast<int>(nozpresetGetNozzleType(i)),
                                        static_cast<int>(nozpresetGetNozzleSizeIx(i)), GuiGeometry::iconSize50())));
    mTipLabel->setIconSize(GuiGeometry::iconSize50());
}

void ToolsViewConfigJobParam::refreshTipChoices()
{
    for (int preset = 0; preset < PresetCount; ++preset) {
        PresetButton& record = mPresets[preset];
        const uint32_t i = static_cast<uint32_t>(preset);
        const int series = static_cast<int>(nozpresetGetNozzleType(i));
        const int size = static_cast<int>(nozpresetGetNozzleSizeIx(i));
        if (series == record.series && size == record.size)
            continue;
        record.series = series;
        record.size = size;
        record.name->setText(tipPresetName(preset));
        record.image->setPixmap(tipPicture(series, size, mSmallImageSize));
    }
}

void ToolsViewConfigJobParam::refreshCirculation()
{
    mCirculationValue->setText(datastoreGetBool(DS_CIRCULATION_ON) ? tr("On", "setting value")
                                                                   : tr("Off", "setting value"));
}

void ToolsViewConfigJobParam::refreshIdlePressure()
{
    mIdlePressureValue->setText(SettingPageKit::quantityText(tr("%L1 %2", "%1 is the value, %2 is the units"),
                                                             UQ_IDLE_PRESSURE, pressureUnitText()));
}

void ToolsViewConfigJobParam::editApplRateNumber()
{
    refreshRateChoices();
    mKit->openGrid(mRateNumberGrid, datastoreGetUint16(DS_APPL_RATE_NUMBER), this,
                   &ToolsViewConfigJobParam::commitApplRateNumber);
}

void ToolsViewConfigJobParam::commitApplRateNumber(int number)
{
    if (number != 2 && number != 3)
        number = 1;
    const uint16_t rate = datastoreGetUint16(rateItem(number));
    // All of it also when the number already selected is chosen again: the
    // operator's way back to the stored rate after a boost.
    datastoreSetUint16(DS_APPL_RATE_NUMBER, static_cast<uint16_t>(number));
    debugPrintf(0, "TDR Target rate = %u (%ld)\r\n", static_cast<unsigned>(rate), static_cast<long>(rate));
    datastoreSetUint16(DS_TARGET_RATE, rate);
    processEvent(EV_SET_BOOST, 100);
    eventPost(kEventOwner, EV_TARGET_RATE_CHANGED, rate);
    datastoreSetBool(DS_RATE_CHANGED_FLAG, 0);
    refreshRateNumber();
}

void ToolsViewConfigJobParam::editApplRate()
{
    const uint32_t q = rateQuantity();
    KeypadSetting setting;
    setting.value = rateDisplayValue(datastoreGetUint16(DS_APPL_RATE_NUMBER));
    setting.minimum = rateMinimum();
    setting.maximum = rateMaximum();
    setting.decimals = PageValues::decimals(q);
    setting.units = rateUnitText(false);
    setting.title = tr("Application Rate (%1)", "keyboard header. %1 is the units.").arg(rateUnitText(true));
    mKit->openKeypad(mRateKeypad, setting, this, &ToolsViewConfigJobParam::commitApplRate);
}

void ToolsViewConfigJobParam::setTargetRate(uint32_t base)
{
    const int number = datastoreGetUint16(DS_APPL_RATE_NUMBER);
    if (number >= 1 && number <= 3)
        datastoreSetUint16(rateItem(number), static_cast<uint16_t>(base));
    debugPrintf(0, "TDR Target rate = %ld\r\n", static_cast<long>(base));
    datastoreSetUint16(DS_TARGET_RATE, static_cast<uint16_t>(base));
    processEvent(EV_SET_BOOST, 100);
    eventPost(kEventOwner, EV_TARGET_RATE_CHANGED, base);
}

void ToolsViewConfigJobParam::commitApplRate(double value)
{
    // The keypad's maximum is 65535 base units rounded to the display step, so
    // the largest entry can convert to a little more: that stores the largest
    // rate the items hold, never the low bits of the larger value.
    const int32_t base = std::min(std::max(PageValues::baseFromTyped(rateQuantity(), value), 0), kLargestRate);
    if (base != static_cast<int32_t>(datastoreGetUint16(DS_TARGET_RATE)))
        setTargetRate(static_cast<uint32_t>(base));
    datastoreSetBool(DS_RATE_CHANGED_FLAG, 0);
    refreshRate();
}

void ToolsViewConfigJobParam::editNozzleType()
{
    refreshTipChoices();
    mKit->openGrid(mTipGrid, datastoreGetUint16(DS_CURRENT_TIP_PRESET), this,
                   &ToolsViewConfigJobParam::commitNozzleType);
}

void ToolsViewConfigJobParam::commitNozzleType(int preset)
{
    datastoreSetUint16(DS_CURRENT_TIP_PRESET, static_cast<uint16_t>(preset));
    refreshTip();
}

void ToolsViewConfigJobParam::editCirculation()
{
    mKit->openGrid(mCirculationGrid, datastoreGetBool(DS_CIRCULATION_ON) ? 1 : 0, this,
                   &ToolsViewConfigJobParam::commitCirculation);
}

void ToolsViewConfigJobParam::commitCirculation(int id)
{
    datastoreSetBool(DS_CIRCULATION_ON, id != 0 ? 1 : 0);
    refreshCirculation();
}

void ToolsViewConfigJobParam::editIdlePressure()
{
    KeypadSetting setting = KeypadSetting::forQuantity(UQ_IDLE_PRESSURE, pressureUnitText());
    setting.title = tr("Idle Pressure (%1)", "keyboard header. %1 is the units.").arg(pressureUnitText());
    mKit->openKeypad(mIdlePressureKeypad, setting, this, &ToolsViewConfigJobParam::commitIdlePressure);
}

void ToolsViewConfigJobParam::commitIdlePressure(double value)
{
    // Written on every commit, also of the stored value.
    datastoreSetUint16(DS_IDLE_PRESSURE,
                       static_cast<uint16_t>(PageValues::baseFromTyped(UQ_IDLE_PRESSURE, value)));
    refreshIdlePressure();
}

void ToolsViewConfigJobParam::showHelp(int id)
{
    switch (id) {
    case RateNumberRow:
        SettingPageKit::showHelp(tr("Application Rate Number", "definition header"),
                                 tr("Set three Application Rates for quick recall. The stored application rate "
                                    "value can be changed.",
                                    "Application Rate Number definition"));
        break;
    case RateRow:
        SettingPageKit::showRangeHelp(
            tr("Application Rate", "definition header"),
            tr("Select the target application rate for the current Application Rate Number. Range is %L1 through "
               "%L2 %3.",
               "Application Rate definition. %L1 & %L2 are the range values. %3 is the units."),
            rateMinimum(), rateMaximum(), PageValues::decimals(rateQuantity()), rateUnitText(false));
        break;
    case TipRow:
        SettingPageKit::showHelp(tr("Tip Type", "definition header"),
                                 tr("Select the tip type from the five Tip Presets.", "Tip Type definition"));
        break;
    case CirculationRow:
        SettingPageKit::showHelp(tr("Circulation", "definition header"),
                                 tr("Sets if the circulation (Semi or Full depending on the OEM settings) is on or "
                                    "off.",
                                    "Circulation definition"));
        break;
    case IdlePressureRow:
        SettingPageKit::showRangeHelp(
            tr("Idle Pressure", "definition header"),
            tr("Idle pressure value sets the minimum pressure when the Master Valve is off. Range is %L1 through %L2 "
               "%3.",
               "Idle Pressure definition. %L1 & %L2 are the range values. %3 is the units."),
            PageValues::itemDisplayMinimum(UQ_IDLE_PRESSURE), PageValues::itemDisplayMaximum(UQ_IDLE_PRESSURE),
            PageValues::decimals(UQ_IDLE_PRESSURE), pressureUnitText());
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ToolsViewConfigJobParam::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ToolsViewConfigJobParam::timedUpdate()
{
    // A rate set elsewhere (the working screen, the core) shows at once.
    refreshRateNumber();
}

void ToolsViewConfigJobParam::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    updateRowVisibility();
    refreshRateNumber();
    refreshTip();
    refreshCirculation();
    refreshIdlePressure();
}

void ToolsViewConfigJobParam::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
