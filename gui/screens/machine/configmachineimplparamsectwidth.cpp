#include "configmachineimplparamsectwidth.h"

#include "cfgdt_if.h"
#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "machineresources.h"
#include "pagevalues.h"
#include "processevent.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { SectionRow = 0, TipsRow = 1, CopyRow = 2, WidthRow = 3 };

uint32_t sectionCount()
{
    return datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
}

uint32_t sectionWidthCommand(uint32_t section, uint32_t tips)
{
    return (section << 16) | (tips & 0xFFFFu);
}

}  // namespace

ConfigMachineImplParamSectWidth::ConfigMachineImplParamSectWidth(QWidget* parent) : QWidget(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigMachineImplParamSectWidth"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigMachineImplParamSectWidth::handleButtonBarPressed);

    mLabels[SectionRow] =
        mKit->addLabelButton(SectionRow, this, &ConfigMachineImplParamSectWidth::showHelp, ":/images/num_sections.svg");
    mLabels[TipsRow] =
        mKit->addLabelButton(TipsRow, this, &ConfigMachineImplParamSectWidth::showHelp, ":/images/section_width.svg");
    mLabels[CopyRow] =
        mKit->addLabelButton(CopyRow, this, &ConfigMachineImplParamSectWidth::showHelp, ":/images/section_no1.svg");
    mLabels[WidthRow] = mKit->addLabelButton(WidthRow, this, &ConfigMachineImplParamSectWidth::showHelp);
    mLabels[WidthRow]->setIcon(QIcon());

    mSectionValue = mKit->addValueButton(SectionRow, "m_btnSectionNoValue");
    connect(mSectionValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamSectWidth::editSectionNumber);
    mTipsValue = mKit->addValueButton(TipsRow, "m_btnSectionWidthValue");
    connect(mTipsValue, &KestromPushButton::takeAction, this, &ConfigMachineImplParamSectWidth::editSectionWidth);
    mCopyButton = new KestromPushButton(this);
    mCopyButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(CopyRow, mCopyButton);
    connect(mCopyButton, &KestromPushButton::takeAction, this, &ConfigMachineImplParamSectWidth::copyOneToAll);
    // Shows the result only: a touch does nothing.
    mWidthValue = new KestromPushButton(this);
    mWidthValue->setObjectName(QStringLiteral("m_btnSectionWidthCalValue"));
    mWidthValue->setProperty("transparent", true);
    mWidthValue->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(WidthRow, mWidthValue);

    mSectionGrid = mKit->addGrid();
    connect(mSectionGrid, &ButtonGridWidget::commitSelection, this,
            &ConfigMachineImplParamSectWidth::commitSectionNumber);
    mTipsKeypad = mKit->addKeypad();
    connect(mTipsKeypad, &NumericKeypadWidget::commitValue, this,
            &ConfigMachineImplParamSectWidth::commitSectionWidth);

    // Prepared once; the grid holds as many as there are sections. Out of the
    // grid they have no parent, so the page deletes them itself. The grid
    // gives them its touchable size, at which six share a page.
    for (int i = 0; i < SectionCapacity; ++i) {
        mOptions[i] = new KestromPushButton(i, nullptr);
        mOptions[i]->setStyleSheet(QStringLiteral("text-align: left"));
    }
    refreshCache();
    updateNoOfSectionWidths();

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigMachineImplParamSectWidth::~ConfigMachineImplParamSectWidth()
{
    mSectionGrid->clearButtons();
    for (KestromPushButton* option : mOptions)
        delete option;
}

int ConfigMachineImplParamSectWidth::offeredSections() const
{
    return static_cast<int>(qMin<uint32_t>(sectionCount(), SectionCapacity));
}

void ConfigMachineImplParamSectWidth::refreshCache()
{
    for (int i = 0; i < offeredSections(); ++i)
        mTipCache[i] = cfgdtGetSectionTips(static_cast<uint32_t>(i + 1));
}

bool ConfigMachineImplParamSectWidth::updateNoOfSectionWidths()
{
    bool placed = true;
    const int count = offeredSections();
    if (count != mPlaced.size()) {
        mSectionGrid->clearButtons();
        mPlaced.clear();
        for (int i = 0; i < count; ++i) {
            placed = mSectionGrid->addButton(mOptions[i]) && placed;
            mPlaced.append(mOptions[i]);
        }
        placed = mSectionGrid->layoutPage() && placed;
    }
    updateButtonSectionWidths();
    return placed;
}

void ConfigMachineImplParamSectWidth::updateButtonSectionWidths()
{
    for (int i = 0; i < SectionCapacity; ++i)
        mOptions[i]->setText(tr("#%1\n%2 tips",
                                "Section Number option. %1 is the section number. %2 is the number of tips in "
                                "that section.")
                                 .arg(i + 1)
                                 .arg(mTipCache[i]));
}

void ConfigMachineImplParamSectWidth::refreshSelectedTexts()
{
    mSectionValue->setText(tr("%L1", "%L1 is the value").arg(mSelected + 1));
    mLabels[CopyRow]->setText(
        tr("Copy Section %1", "setting label, %1 is the selected section number").arg(mSelected + 1));
    refreshTipText();
}

void ConfigMachineImplParamSectWidth::refreshTipText()
{
    const uint16_t tips = cfgdtGetSectionTips(static_cast<uint32_t>(mSelected + 1));
    mTipsValue->setText(tr("%L1", "%L1 is the value").arg(static_cast<double>(tips), 0, 'f', 0));
    mTipCache[mSelected] = tips;
    refreshCache();

    const int32_t widthBase = static_cast<int32_t>(tips) * datastoreGetUint16(DS_TIP_SPACING);
    QString unit;
    switch (unitGetSystem()) {
    case UNIT_SYSTEM_METRIC:
        unit = tr("cm", "Abbr for centimetres");
        break;
    case UNIT_SYSTEM_IMPERIAL:
    case UNIT_SYSTEM_US:
        unit = tr("in", "Abbr for inches");
        break;
    default:
        break;
    }
    mWidthValue->setText(SettingPageKit::valueText(tr("%L1 %2", "%L1 is the value, %2 is the units"),
                                                   PageValues::displayFromBase(UQ_TIP_SPACING, widthBase), 0, unit));
}

void ConfigMachineImplParamSectWidth::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                      tr("Implement Parameters", "pathway text"), tr("Section Configuration", "pathway text")});
    mLabels[SectionRow]->setText(tr("Section Number", "setting label"));
    mLabels[TipsRow]->setText(tr("Number of Tips", "setting label"));
    mLabels[WidthRow]->setText(tr("Section Width", "setting label"));
    mCopyButton->setText(tr("Copy", "button"));
    updateButtonSectionWidths();
    refreshSelectedTexts();
}

void ConfigMachineImplParamSectWidth::editSectionNumber()
{
    updateButtonSectionWidths();
    mKit->openGrid(mSectionGrid, mSelected, this, &ConfigMachineImplParamSectWidth::commitSectionNumber);
}

void ConfigMachineImplParamSectWidth::commitSectionNumber(int id)
{
    // Only a section the page offers: the cache holds no other.
    if (id < 0 || id >= offeredSections())
        return;
    mSelected = id;
    refreshSelectedTexts();
}

void ConfigMachineImplParamSectWidth::editSectionWidth()
{
    KeypadSetting setting;
    setting.value = mTipCache[mSelected];
    setting.minimum = MinTips;
    setting.maximum = MaxTips;
    setting.units = tr("Number of Tips", "keyboard header");
    setting.title = tr("Number of Tips", "keyboard header");
    mKit->openKeypad(mTipsKeypad, setting, this, &ConfigMachineImplParamSectWidth::commitSectionWidth);
}

void ConfigMachineImplParamSectWidth::commitSectionWidth(double tips)
{
    mTipCache[mSelected] = tips;
    processEvent(EV_SET_SECTION_WIDTH,
                 sectionWidthCommand(static_cast<uint32_t>(mSelected + 1), static_cast<uint32_t>(tips)));
    refreshTipText();
}

void ConfigMachineImplParamSectWidth::copyOneToAll()
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Are you sure you want to copy the number of tips in section %1 to all other sections?",
           "definition. Copy Section 1 confirmation. %1 is the current section number.")
            .arg(mSelected + 1));
    if (query != nullptr)
        connect(query, &CPopupQuery::ResponseReceived, this, &ConfigMachineImplParamSectWidth::ResponseYesNoClicked);
}

void ConfigMachineImplParamSectWidth::ResponseYesNoClicked(CPopupQuery*, int code)
{
    if (code != 1)
        return;
    const uint32_t tips = cfgdtGetSectionTips(static_cast<uint32_t>(mSelected + 1));
    for (uint32_t section = 1; section <= sectionCount(); ++section)
        processEvent(EV_SET_SECTION_WIDTH, sectionWidthCommand(section, tips));
    refreshTipText();
}

void ConfigMachineImplParamSectWidth::showHelp(int id)
{
    switch (id) {
    case SectionRow:
        SettingPageKit::showHelp(tr("Section Number", "definition header"),
                                 tr("Selects the section number. Sections are numbered from left to right while "
                                    "facing in the machine's forward direction.",
                                    "Section Number definition"));
        break;
    case TipsRow:
        SettingPageKit::showHelp(tr("Number of Tips", "definition header"),
                                 tr("The number of tips for the given section. Range is %1 through %2.",
                                    "Number of Tips definition. %1 & %2 are the range values.")
                                     .arg(MinTips)
                                     .arg(MaxTips));
        break;
    case CopyRow:
        SettingPageKit::showHelp(
            tr("Copy Section %1", "definition header, %1 is the selected section number").arg(mSelected + 1),
            tr("Copy the number of tips in section %1 (the selected section number) to all the other sections.",
               "Copy Section %1 definition, %1 is the selected section number")
                .arg(mSelected + 1));
        break;
    case WidthRow:
        SettingPageKit::showHelp(tr("Section Width", "definition header"),
                                 tr("The section width for the selected section number.", "Section Width definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigMachineImplParamSectWidth::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigMachineImplParamSectWidth::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    if (mSelected >= offeredSections()) {
        mSelected = 0;
        refreshSelectedTexts();
    }
    refreshCache();
    updateNoOfSectionWidths();
    refreshTipText();
}

void ConfigMachineImplParamSectWidth::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
}

void ConfigMachineImplParamSectWidth::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
