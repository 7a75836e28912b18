#include "configmachineimplparamnozsetup.h"

#include "buttongridwidget.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "kestrompushbutton.h"
#include "machineresources.h"
#include "nozimage.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "noztables.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { PresetRow = 0, SeriesRow = 1, CapacityRow = 2, FactoryRow = 3 };

struct ColourText {
    const char* source;
    const char* comment;
};

// The colours of capacity codes 1 to 19, as grid buttons and as the value button say them.
const ColourText kSmallColours[] = {
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Blue Lilac",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 0050(Blue Lilac)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Orange",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 01(Orange)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Green",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 015(Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Yellow",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 02(Yellow)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Purple",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 025(Purple)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Blue",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 03(Blue)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Purple Red",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 035(Purple Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Red",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 04(Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Brown",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 05(Brown)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Gray",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 06(Gray)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "White",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 08(White)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Light Blue",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 10(L.Blue)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Light Green",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 15(L.Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Black",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 20(Black)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Beige",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 0134(Beige)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Olive Green",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 0067(Olive Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Raspberry Red",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: 12(Raspberry Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Stainless Steel",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: XX(Stainless Steel)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Stainless Steel",
                       "Small button text: tip capacity color button. Will be included with associated capacity "
                       "number: XX(Stainless Steel)"),
};

const ColourText kButtonColours[] = {
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Blue Lilac",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "0050(Blue Lilac)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Orange",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "01(Orange)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Green",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "015(Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Yellow",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "02(Yellow)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Purple",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "025(Purple)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Blue",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "03(Blue)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Purple Red",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "035(Purple Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Red",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "04(Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Brown",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "05(Brown)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Gray",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "06(Gray)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "White",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "08(White)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Light Blue",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "10(L.Blue)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Light Green",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "15(L.Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Black",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "20(Black)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Beige",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "0134(Beige)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Olive Green",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "0067(Olive Green)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Raspberry Red",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "12(Raspberry Red)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Stainless Steel",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "XX(Stainless Steel)"),
    QT_TRANSLATE_NOOP3("ToolsViewWidgets::ConfigMachineImplParamNozSetup", "Stainless Steel",
                       "Button text: tip capacity color button. Will be included with associated capacity number: "
                       "XX(Stainless Steel)"),
};

uint32_t activePreset()
{
    return datastoreGetUint16(DS_CURRENT_TIP_PRESET);
}

int presetSeries(uint32_t preset)
{
    return static_cast<int>(nozpresetGetNozzleType(preset));
}

int presetSize(uint32_t preset)
{
    return static_cast<int>(nozpresetGetNozzleSizeIx(preset));
}

QString sizeName(int series, int size)
{
    if (series < 0 || size < 0)
        return QString();
    return QString::fromLatin1(nozinfoSizeName(static_cast<uint32_t>(series), static_cast<uint32_t>(size)));
}

// A tip grid button: two rows of name above the picture and the grid's arrow
// share a page, so four tips and the arrow fit on one.
QSize tipButtonSize(int designWidth)
{
    return GuiGeometry::scaledSize(designWidth, 84);
}

}  // namespace

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

QString ConfigMachineImplParamNozSetup::capacityString(const QString& sizeName, int code, bool smallButton)
{
    QString colour;
    if (code >= 1 && code <= 19) {
        const ColourText& text = (smallButton ? kSmallColours : kButtonColours)[code - 1];
        colour = tr(text.source, text.comment);
    }
    return sizeName + QLatin1Char('(') + colour + QLatin1Char(')');
}

const std::array<int, ConfigMachineImplParamNozSetup::SeriesCount>& ConfigMachineImplParamNozSetup::seriesOrder()
{
    // Series 0 and 1 are not offered; the user tip comes last.
    static const std::array<int, SeriesCount> order = {2,  3,  33, 19, 34, 35, 4,  5,  23, 6,  7,  8,
                                                       9,  20, 21, 10, 11, 24, 22, 12, 13, 27, 28, 29,
                                                       30, 31, 32, 14, 25, 26, 15, 16, 17, 18};
    return order;
}

ConfigMachineImplParamNozSetup::ConfigMachineImplParamNozSetup(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineImplParamNozSetup"));
    mCapacityTable.fill(-1);
    const QSize icon = GuiGeometry::iconSize70();
    mTipImageSize = QSize(2 * icon.width() / 3, 2 * icon.height() / 3);

    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigMachineImplParamNozSetup::handleButtonBarPressed);

    // Row 0: the active preset and its grid.
    mLabels[PresetRow] = mKit->addLabelButton(PresetRow, this, &ConfigMachineImplParamNozSetup::showHelp);
    mPresetValue = mKit->addValueButton(PresetRow, "m_btnNozzlePresetValue");
    updateNozzlePresetValue();
    mPresetGrid = mKit->addGrid();
    mPresetGrid->setObjectName(QStringLiteral("m_presetGrid"));
    for (int preset = 0; preset < PresetCount; ++preset)
        initNozzleSelectButton(preset);
    mPresetGrid->layoutPage();
    connect(mPresetGrid, &ButtonGridWidget::commitSelection, this, &ConfigMachineImplParamNozSetup::commitNozzlePreset);
    connect(mPresetValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamNozSetup::editNozzlePreset);

    // Row 1: the series and its grid.
    mLabels[SeriesRow] = mKit->addLabelButton(SeriesRow, this, &ConfigMachineImplParamNozSetup::showHelp);
    mSeriesValue = mKit->addValueButton(SeriesRow, "m_btnNozzleType");
    updateNozzleTypeValue();
    mSeriesGrid = mKit->addGrid();
    mSeriesGrid->setObjectName(QStringLiteral("m_seriesGrid"));
    for (int series : seriesOrder())
        initNozzleTypeButton(series);
    mSeriesGrid->layoutPage();
    connect(mSeriesGrid, &ButtonGridWidget::commitSelection, this, &ConfigMachineImplParamNozSetup::commitNozzleType);
    connect(mSeriesValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamNozSetup::editNozzleType);

    // Row 2: the capacity; its 62 buttons are made once and placed per series.
    mLabels[CapacityRow] = mKit->addLabelButton(CapacityRow, this, &ConfigMachineImplParamNozSetup::showHelp);
    mCapacityValue = mKit->addValueButton(CapacityRow, "m_btnNozzleSizeSelection");
    updateNozzleSizeValue();
    mCapacityGrid = mKit->addGrid();
    mCapacityGrid->setObjectName(QStringLiteral("m_capacityGrid"));
    for (int code = 0; code < CapacityCodes; ++code)
        mCapacities[code] = makeTipButton(code, tipButtonSize(90));
    updateColorConversion(false);
    connect(mCapacityGrid, &ButtonGridWidget::commitSelection, this, &ConfigMachineImplParamNozSetup::commitNozzleSize);
    connect(mCapacityValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamNozSetup::editNozzleSize);

    // Row 3: the restore of the catalogue values.
    mLabels[FactoryRow] = mKit->addLabelButton(FactoryRow, this, &ConfigMachineImplParamNozSetup::showHelp);
    mRestoreButton = new KestromPushButton(this);
    mRestoreButton->setObjectName(QStringLiteral("m_btnRestore"));
    mRestoreButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(FactoryRow, mRestoreButton);
    connect(mRestoreButton, &KestromPushButton::takeAction, this,
            &ConfigMachineImplParamNozSetup::restoreFactorySettings);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigMachineImplParamNozSetup::~ConfigMachineImplParamNozSetup()
{
    mSeriesNames.clear();
    mCapacityGrid->clearButtons();
    mPlacedCapacities.clear();
    for (TipButton& capacity : mCapacities)
        delete capacity.button;
}

QPixmap ConfigMachineImplParamNozSetup::tipImage(int series, int size, QSize pixels) const
{
    return NozImage::NozzleImage::instance()->getNozzleImage(series, size, pixels);
}

ConfigMachineImplParamNozSetup::TipButton ConfigMachineImplParamNozSetup::makeTipButton(int id, QSize minimum)
{
    TipButton tip;
    tip.button = new KestromPushButton(id, nullptr);
    tip.button->setMinimumSize(minimum);
    tip.button->setContentsMargins(0, 0, 0, 0);
    tip.name = new QLabel(tip.button);
    tip.name->setProperty("fontsize", "small");
    tip.name->setAlignment(Qt::AlignCenter);
    tip.name->setWordWrap(true);
    tip.image = new QLabel(tip.button);
    tip.image->setAlignment(Qt::AlignCenter);
    auto* box = new QVBoxLayout(tip.button);
    box->setSpacing(0);
    box->setContentsMargins(0, 0, 0, 0);
    box->setAlignment(Qt::AlignCenter);
    box->addStretch(1);
    box->addWidget(tip.name, 0, Qt::AlignHCenter);
    box->addWidget(tip.image, 0, Qt::AlignHCenter);
    box->addStretch(2);
    return tip;
}

void ConfigMachineImplParamNozSetup::initNozzleSelectButton(int preset)
{
    if (preset < 0 || preset >= PresetCount)
        return;
    TipButton& tip = mPresets[preset];
    const QSize icon = GuiGeometry::iconSize90();
    tip = makeTipButton(preset, tipButtonSize(static_cast<int>(1.3 * icon.width())));
    tip.button->setObjectName(QStringLiteral("m_preset%1").arg(preset));
    tip.series = presetSeries(static_cast<uint32_t>(preset));
    tip.size = presetSize(static_cast<uint32_t>(preset));
    tip.name->setText(getNozzleString(preset));
    tip.image->setPixmap(tipImage(tip.series, tip.size, mTipImageSize));
    mPresetGrid->addButton(tip.button);
}

void ConfigMachineImplParamNozSetup::initNozzleTypeButton(int series)
{
    TipButton tip = makeTipButton(series, tipButtonSize(90));
    tip.button->setObjectName(QStringLiteral("m_series%1").arg(series));
    tip.name->setText(tipSeriesName(series, 1));
    tip.image->setPixmap(tipImage(series, 0, mTipImageSize));
    mSeriesNames.insert(series, tip.name);
    mSeriesGrid->addButton(tip.button);
}

void ConfigMachineImplParamNozSetup::retranslateNozzleTypeButtons()
{
    for (auto it = mSeriesNames.cbegin(); it != mSeriesNames.cend(); ++it)
        it.value()->setText(tipSeriesName(it.key(), 1));
}

QString ConfigMachineImplParamNozSetup::getNozzleString(int preset)
{
    const uint32_t i = static_cast<uint32_t>(preset);
    return tipSeriesName(presetSeries(i), 0) + sizeName(presetSeries(i), presetSize(i));
}

void ConfigMachineImplParamNozSetup::updateNozzleSelectButtons()
{
    for (int preset = 0; preset < PresetCount; ++preset) {
        TipButton& tip = mPresets[preset];
        const int series = presetSeries(static_cast<uint32_t>(preset));
        const int size = presetSize(static_cast<uint32_t>(preset));
        if (series == tip.series && size == tip.size)
            continue;
        tip.series = series;
        tip.size = size;
        tip.name->setText(getNozzleString(preset));
        tip.image->setPixmap(tipImage(series, size, mTipImageSize));
    }
}

void ConfigMachineImplParamNozSetup::updateColorConversion(bool force)
{
    const int series = presetSeries(activePreset());
    if (series == mGridSeries && !force)
        return;
    mCapacityTable.fill(-1);
    mPlacedCapacities.clear();
    mCapacityGrid->clearButtons();
    const uint32_t sizes = nozinfoSizeCount(static_cast<uint32_t>(series));
    for (uint32_t j = 0; j < sizes; ++j) {
        const uint32_t code = nozinfoSizeCode(static_cast<uint32_t>(series), j);
        // Codes are unique within a series and below 62; a stray one has no button.
        if (code >= static_cast<uint32_t>(CapacityCodes))
            continue;
        mCapacityTable[code] = static_cast<int>(j);
        TipButton& tip = mCapacities[code];
        tip.series = series;
        tip.size = static_cast<int>(j);
        tip.name->setText(capacityString(sizeName(series, tip.size), static_cast<int>(code), true));
        tip.image->setPixmap(tipImage(series, tip.size, mTipImageSize));
        mPlacedCapacities.append(tip.button);
        mCapacityGrid->addButton(tip.button);
    }
    mCapacityGrid->layoutPage();
    mRedrawImages = true;
    mGridSeries = series;
}

void ConfigMachineImplParamNozSetup::updateNozzlePresetValue()
{
    mPresetValue->setText(tr("%L1", "%L1 is the value").arg(activePreset() + 1));
}

void ConfigMachineImplParamNozSetup::updateNozzleTypeValue()
{
    const int series = presetSeries(activePreset());
    if (series == mShownSeries)
        return;
    mSeriesValue->setText(tipSeriesName(series, 1));
    mShownSeries = series;
}

void ConfigMachineImplParamNozSetup::updateNozzleSizeValue()
{
    const uint32_t preset = activePreset();
    const int series = presetSeries(preset);
    const int size = presetSize(preset);
    mCapacityValue->setText(
        capacityString(sizeName(series, size), static_cast<int>(nozpresetSizeCode(preset)), false));
    if (size == mImagesSize && !mRedrawImages)
        return;
    mRedrawImages = false;
    const QPixmap image = tipImage(series, size, GuiGeometry::iconSize50());
    for (KestromPushButton* label : {mLabels[CapacityRow], mLabels[SeriesRow]}) {
        label->setIcon(QIcon(image));
        label->setIconSize(GuiGeometry::iconSize50());
    }
    mImagesSize = size;
}

void ConfigMachineImplParamNozSetup::timedUpdate()
{
    const uint16_t active = datastoreGetUint16(DS_CURRENT_TIP_PRESET);
    if (datastoreGetUint16(DS_TIP_PRESET_SELECTION) != active)
        datastoreSetUint16(DS_TIP_PRESET_SELECTION, active);
    updateNozzlePresetValue();
    updateNozzleTypeValue();
    updateNozzleSizeValue();
}

void ConfigMachineImplParamNozSetup::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                      tr("Implement Parameters", "pathway text"), tr("Tip Preset Setup (1)", "pathway text")});
    mLabels[PresetRow]->setText(tr("Tip Preset", "setting label"));
    mLabels[SeriesRow]->setText(tr("Tip Series", "setting label"));
    mLabels[CapacityRow]->setText(tr("Tip Capacity", "setting label"));
    mLabels[FactoryRow]->setText(tr("Factory Settings", "setting label"));
    mRestoreButton->setText(tr("Restore", "button"));
    updateNozzlePresetValue();
    mShownSeries = presetSeries(activePreset());
    mSeriesValue->setText(tipSeriesName(mShownSeries, 1));
    updateNozzleSizeValue();
    retranslateNozzleTypeButtons();
    // The colour names of the capacity buttons are translated too.
    for (KestromPushButton* placed : mPlacedCapacities) {
        const TipButton& tip = mCapacities[placed->id()];
        tip.name->setText(capacityString(sizeName(tip.series, tip.size), placed->id(), true));
    }
}

void ConfigMachineImplParamNozSetup::editNozzlePreset()
{
    updateNozzleSelectButtons();
    mKit->openGrid(mPresetGrid, static_cast<int>(activePreset()), this,
                   &ConfigMachineImplParamNozSetup::commitNozzlePreset);
}

void ConfigMachineImplParamNozSetup::commitNozzlePreset(int id)
{
    processEvent(EV_SELECT_NOZZLE_PRESET, static_cast<uint32_t>(id));
    processEvent(EV_SET_EDIT_PRESET, static_cast<uint32_t>(id));
    updateNozzlePresetValue();
    updateColorConversion(false);
    updateNozzleTypeValue();
}

void ConfigMachineImplParamNozSetup::editNozzleType()
{
    mKit->openGrid(mSeriesGrid, presetSeries(datastoreGetUint16(DS_TIP_PRESET_SELECTION)), this,
                   &ConfigMachineImplParamNozSetup::commitNozzleType);
}

void ConfigMachineImplParamNozSetup::commitNozzleType(int series)
{
    if (series == mGridSeries)
        return;
    const uint32_t preset = datastoreGetUint16(DS_TIP_PRESET_SELECTION);
    nozpresetSetNozzleType(preset, static_cast<uint32_t>(series));
    nozpresetSetNozzleSizeIx(preset, 0);
    updateNozzleTypeValue();
    updateColorConversion(false);
}

void ConfigMachineImplParamNozSetup::editNozzleSize()
{
    mKit->openGrid(mCapacityGrid, static_cast<int>(nozpresetSizeCode(activePreset())), this,
                   &ConfigMachineImplParamNozSetup::commitNozzleSize);
}

void ConfigMachineImplParamNozSetup::commitNozzleSize(int code)
{
    // Only a code of the series laid out names a size.
    if (code < 0 || code >= CapacityCodes || mCapacityTable[code] < 0)
        return;
    nozpresetSetNozzleSizeIx(activePreset(), static_cast<uint32_t>(mCapacityTable[code]));
    updateNozzleSizeValue();
}

void ConfigMachineImplParamNozSetup::restoreFactorySettings()
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Are you sure, you want to restore data for all tips to factory settings?", "Restore confirmation"));
    if (query != nullptr)
        connect(query, &CPopupQuery::ResponseReceived, this, &ConfigMachineImplParamNozSetup::ResponseYesNoClicked);
}

void ConfigMachineImplParamNozSetup::ResponseYesNoClicked(CPopupQuery*, int code)
{
    if (code == 1)
        nozinfoClearCustom();
}

void ConfigMachineImplParamNozSetup::showHelp(int id)
{
    switch (id) {
    case PresetRow:
        SettingPageKit::showHelp(tr("Tip Preset", "definition header"),
                                 tr("Tip presets allow saving of up to five tips for quick recall.",
                                    "Tip Preset definition"));
        break;
    case SeriesRow:
        SettingPageKit::showHelp(tr("Tip Series", "definition header"),
                                 tr("Select the tip series from a general selection of established tips or an "
                                    "optional user defined tip.",
                                    "Tip Series definition"));
        break;
    case CapacityRow:
        SettingPageKit::showHelp(tr("Tip Capacity", "definition header"),
                                 tr("Select the tip capacity from a list of established sizes. When the tip series "
                                    "is user defined, tip capacity will need to be encoded manually.",
                                    "Tip Capacity definition"));
        break;
    case FactoryRow:
        SettingPageKit::showHelp(tr("Factory Settings", "definition header"),
                                 tr("Reset all tip settings to the default setting for all tips."));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineImplParamNozSetup::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigMachineImplParamNozSetup::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (SettingPageKit::programCaused(event))
        updateColorConversion(true);
}

void ConfigMachineImplParamNozSetup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
