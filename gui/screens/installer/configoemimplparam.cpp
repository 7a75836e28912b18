#include "configoemimplparam.h"

#include "cdebug.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "guigeometry.h"
#include "machineresources.h"
#include "processcalc.h"
#include "processevent.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

// Help ids of the rows (also their grid rows).
enum Row { SectionsRow = 1, CirculationRow = 2, SmoothingRow = 3 };
enum Circulation { CirculationNone = 0, CirculationSemi = 1, CirculationFull = 2 };

// Nine physical switches: more sections share them in pairs (page 2).
constexpr uint16_t kSwitchCount = 9;
constexpr double kSmoothingMin = 0.0;
constexpr double kSmoothingMax = 25.0;

}  // namespace

ConfigOemImplParam::ConfigOemImplParam(QWidget* parent) : QWidget(parent)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ConfigOemImplParam"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, true);
    mKit->connectButtonBar(this, &ConfigOemImplParam::handleButtonBarPressed);
    mSectionsLabel = mKit->addLabelButton(SectionsRow, this, &ConfigOemImplParam::showHelp, ":/images/num_sections.svg");
    mSectionsValue = mKit->addValueButton(SectionsRow, "m_btnNoOfSectionsValue");
    mCirculationLabel = mKit->addLabelButton(CirculationRow, this, &ConfigOemImplParam::showHelp);
    mCirculationValue = mKit->addValueButton(CirculationRow, "m_btnCirculationValue");
    mSmoothingLabel = mKit->addLabelButton(SmoothingRow, this, &ConfigOemImplParam::showHelp);
    mSmoothingValue = mKit->addValueButton(SmoothingRow, "m_btnDisplayRateSmoothingValue");
    // The values are short; the long setting names need the room.
    for (KestromPushButton* value : {mSectionsValue, mCirculationValue, mSmoothingValue})
        value->setMinimumSize(GuiGeometry::menuButtonSize());
    connect(mSectionsValue, &KestromPushButton::takeAction, this, &ConfigOemImplParam::editNoOfSectionsValue);
    connect(mCirculationValue, &KestromPushButton::takeAction, this, &ConfigOemImplParam::editCirculationMode);
    connect(mSmoothingValue, &KestromPushButton::takeAction, this, &ConfigOemImplParam::editDisplayRateDeadbandValue);

    mSectionsKeypad = mKit->addKeypad();
    mSmoothingKeypad = mKit->addKeypad();
    connect(mSectionsKeypad, &NumericKeypadWidget::commitValue, this, &ConfigOemImplParam::commitNoOfSectionsValue);
    connect(mSmoothingKeypad, &NumericKeypadWidget::commitValue, this,
            &ConfigOemImplParam::commitDisplayRateDeadbandValue);
    mCirculationGrid = mKit->addGrid();
    for (int id = CirculationNone; id <= CirculationFull; ++id) {
        mCirculationOptions[id] = mKit->addOption(mCirculationGrid, id);
        mCirculationOptions[id]->setMinimumSize(GuiGeometry::iconSize90());
    }
    mKit->layOutOptions(mCirculationGrid);
    connect(mCirculationGrid, &ButtonGridWidget::commitSelection, this, &ConfigOemImplParam::commitCirculationMode);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigOemImplParam::~ConfigOemImplParam() = default;

void ConfigOemImplParam::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"),
                      tr("Implement Parameters (1)", "pathway text")});
    mSectionsLabel->setText(tr("Number of Sections", "setting label"));
    mCirculationLabel->setText(tr("Circulation", "setting label"));
    mSmoothingLabel->setText(tr("Display Rate Smoothing", "setting label"));
    mCirculationOptions[CirculationNone]->setText(tr("None", "Circulation small button"));
    mCirculationOptions[CirculationSemi]->setText(tr("Semi", "Circulation small button"));
    mCirculationOptions[CirculationFull]->setText(tr("Full", "Circulation small button"));
    refreshValues();
}

void ConfigOemImplParam::refreshValues()
{
    mSectionsValue->setText(tr("%L1", "%L1 is the value").arg(datastoreGetUint16(DS_NUMBER_OF_SECTIONS)));
    switch (datastoreGetUint16(DS_CIRCULATION_MODE)) {
    case CirculationNone:
        mCirculationValue->setText(tr("None", "Circulation button"));
        break;
    case CirculationSemi:
        mCirculationValue->setText(tr("Semi", "Circulation button"));
        break;
    default:
        mCirculationValue->setText(tr("Full", "Circulation button"));
        break;
    }
    mSmoothingValue->setText(tr("%L1%", "%L1 is the value").arg(datastoreGetUint16(DS_DISPLAY_RATE_SMOOTHING)));
}

void ConfigOemImplParam::showNextForSections()
{
    mKit->buttonBar()->setButtonsVisible(true, datastoreGetUint16(DS_NUMBER_OF_SECTIONS) > kSwitchCount, true);
}

void ConfigOemImplParam::editNoOfSectionsValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    setting.minimum = 1;
    setting.maximum = datastoreGetUint16(DS_MAX_SECTIONS);
    setting.decimals = 0;
    setting.title = tr("Number of Sections", "keyboard header");
    CDEBUG_LOG(CDebugLevel::DEB, "cDefault", "min = %d, max = %d, number of sections = %d", 1,
               static_cast<int>(setting.maximum), static_cast<int>(setting.value));
    mKit->openKeypad(mSectionsKeypad, setting, this, &ConfigOemImplParam::commitNoOfSectionsValue);
}

void ConfigOemImplParam::commitNoOfSectionsValue(double value)
{
    processEvent(EV_SET_NUMBER_OF_SECTIONS, static_cast<uint32_t>(value));
    refreshValues();
    showNextForSections();
}

void ConfigOemImplParam::editCirculationMode()
{
    mKit->openGrid(mCirculationGrid, datastoreGetUint16(DS_CIRCULATION_MODE), this,
                   &ConfigOemImplParam::commitCirculationMode);
}

void ConfigOemImplParam::commitCirculationMode(int id)
{
    processEvent(EV_SET_CIRCULATION, static_cast<uint32_t>(id));
    // The calculated speed and pressure pair depends on the circulation.
    processGetState();
    refreshValues();
}

void ConfigOemImplParam::editDisplayRateDeadbandValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint16(DS_DISPLAY_RATE_SMOOTHING);
    setting.minimum = kSmoothingMin;
    setting.maximum = kSmoothingMax;
    setting.decimals = 0;
    setting.units = QStringLiteral("%");
    setting.title = tr("Display Rate Smoothing (%)", "keyboard header");
    mKit->openKeypad(mSmoothingKeypad, setting, this, &ConfigOemImplParam::commitDisplayRateDeadbandValue);
}

void ConfigOemImplParam::commitDisplayRateDeadbandValue(double value)
{
    processEvent(EV_SET_RATE_SMOOTHING, static_cast<uint32_t>(value));
    refreshValues();
}

void ConfigOemImplParam::showHelp(int id)
{
    switch (id) {
    case SectionsRow:
        SettingPageKit::showHelp(tr("Number of Sections", "definition header"),
                                 tr("Establishes how many sections are on the implement. Range is %1 through %2.",
                                    "Number of Section definition. %1 & %2 are the range values.")
                                     .arg(1)
                                     .arg(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES)));
        break;
    case CirculationRow:
        SettingPageKit::showHelp(tr("Circulation", "definition header"),
                                 tr("Sets if there is none, semi or full tank circulation. Available only in "
                                    "Sprayer Mode.",
                                    "Circulation definition"));
        break;
    case SmoothingRow:
        SettingPageKit::showHelp(
            tr("Display Rate Smoothing", "definition header"),
            tr("This percent value will be used as a deadband for displaying the application rate value on the "
               "Operation screen. Range is %L1 through %L2 %.\nOnce actual application rate is within the percent "
               "deadband value of the target rate, target rate will be shown.",
               "Display Rate Smoothing definition")
                .arg(kSmoothingMin, 0, 'f', 0)
                .arg(kSmoothingMax, 0, 'f', 0));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemImplParam::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ConfigOemImplParam::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    showNextForSections();
    refreshValues();
}

void ConfigOemImplParam::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
