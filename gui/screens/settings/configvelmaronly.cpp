#include "configvelmaronly.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "settingpagekit.h"

#include <QEvent>
#include <QGridLayout>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = 2;
// The console's hardware has 3 to 9 physical section switches; 13 section
// outputs need all nine.
constexpr int kFewestSwitches = 3;
constexpr int kMostSwitches = 9;

const char* yesNo(bool value)
{
    return value ? "Yes" : "No";
}

bool thirteenSectionsPossible()
{
    return datastoreGetUint8(DS_PHYS_SECTION_SWITCHES) >= kMostSwitches;
}

}  // namespace

ConfigVelmarOnly::ConfigVelmarOnly(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ConfigVelmarOnly"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigVelmarOnly::handleButtonBarPressed);

    static const char* const kValueNames[RowCount] = {"m_btnComportPrintout", "m_btnCanMessageEmit",
                                                      "m_btnPhysSectionSwitches", "m_btn13Sections"};
    for (int row = 0; row < RowCount; ++row) {
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigVelmarOnly::showHelp);
        mValues[row] = mKit->addValueButton(row, kValueNames[row]);
        mValues[row]->setMinimumSize(GuiGeometry::menuButtonSize());
        mKit->rowGrid()->setAlignment(mValues[row], Qt::AlignRight);
        if (row == SwitchesRow)
            connect(mValues[row], &KestromPushButton::takeAction, this, &ConfigVelmarOnly::editNoOfPhysSectionsValue);
        else
            connect(mValues[row], &KestromPushButton::takeAction, this, &ConfigVelmarOnly::togglePresenceState);
    }
    mLabels[SwitchesRow]->setStyleSheet(QString());

    mKeypad = mKit->addKeypad();
    connect(mKeypad, &NumericKeypadWidget::commitValue, this, &ConfigVelmarOnly::commitNoOfPhysSectionsValue);

    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

void ConfigVelmarOnly::retranslate()
{
    mKit->setPathway({QStringLiteral("Settings"), QStringLiteral("Velmar Only menu")});
    mLabels[PrintoutRow]->setText(QStringLiteral("Comport printout"));
    mLabels[CanMessageRow]->setText(QStringLiteral("CAN message emit"));
    mLabels[SwitchesRow]->setText(QStringLiteral("Physical sec. switches"));
    mLabels[ThirteenSectionsRow]->setText(QStringLiteral("HW support 13 sections"));
    refreshSwitchStates();
    refreshSwitchCount();
}

void ConfigVelmarOnly::refreshSwitchStates()
{
    mValues[PrintoutRow]->setText(QString::fromLatin1(yesNo(datastoreGetBool(DS_FLOW_PRINTOUT_ENABLED))));
    mValues[CanMessageRow]->setText(QString::fromLatin1(yesNo(datastoreGetBool(DS_CAN_FLOW_MESSAGES_ENABLED))));
    mValues[ThirteenSectionsRow]->setText(QString::fromLatin1(yesNo(datastoreGetBool(DS_HW_13_SECTIONS))));
}

void ConfigVelmarOnly::refreshSwitchCount()
{
    mValues[SwitchesRow]->setText(QStringLiteral("%L1").arg(datastoreGetUint8(DS_PHYS_SECTION_SWITCHES)));
    mValues[ThirteenSectionsRow]->setEnabled(thirteenSectionsPossible());
}

void ConfigVelmarOnly::togglePresenceState(int row)
{
    switch (row) {
    case PrintoutRow:
        // The serial port follows at the next start of the program.
        datastoreToggleItem(DS_FLOW_PRINTOUT_ENABLED);
        break;
    case CanMessageRow:
        datastoreToggleItem(DS_CAN_FLOW_MESSAGES_ENABLED);
        break;
    case ThirteenSectionsRow:
        datastoreToggleItem(DS_HW_13_SECTIONS);
        // The core keeps it in the section-switch file.
        eventPost(kEventOwner, EV_PHYS_SWITCHES_CHANGED, 0);
        break;
    default:
        break;
    }
    refreshSwitchStates();
}

void ConfigVelmarOnly::editNoOfPhysSectionsValue()
{
    KeypadSetting setting;
    setting.value = datastoreGetUint8(DS_PHYS_SECTION_SWITCHES);
    // The item's own limits run to 255; the hardware has at most nine.
    setting.minimum = kFewestSwitches;
    setting.maximum = kMostSwitches;
    setting.decimals = 0;
    setting.title = QStringLiteral("Physical section switches");
    mKit->openKeypad(mKeypad, setting, this, &ConfigVelmarOnly::commitNoOfPhysSectionsValue);
}

void ConfigVelmarOnly::commitNoOfPhysSectionsValue(double value)
{
    datastoreSetUint8(DS_PHYS_SECTION_SWITCHES, static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF));
    if (!thirteenSectionsPossible()) {
        mValues[ThirteenSectionsRow]->setEnabled(false);
        datastoreSetBool(DS_HW_13_SECTIONS, 0);
        refreshSwitchStates();
    }
    eventPost(kEventOwner, EV_PHYS_SWITCHES_CHANGED, 0);
    refreshSwitchCount();
}

void ConfigVelmarOnly::showHelp(int row)
{
    switch (row) {
    case PrintoutRow:
        SettingPageKit::showHelp(QStringLiteral("Comport printout"),
                                 QStringLiteral("Enabling this and regulation and flow specific information is send "
                                                "out on the console comport. This is used for setting up the Quorin "
                                                "together with the Pulsano system. This setting is for Velmar eyes "
                                                "only."));
        break;
    case CanMessageRow:
        SettingPageKit::showHelp(QStringLiteral("CAN flow message emit"),
                                 QStringLiteral("Enabling this and the Quorin will emit flow specific CAN messages. "
                                                "This is used for setting up the Quorin together with the Pulsano "
                                                "system. This setting is for Velmar eyes only."));
        break;
    case SwitchesRow:
        SettingPageKit::showHelp(QStringLiteral("No of physical switches"),
                                 QStringLiteral("This is the number of physical section switches mounted on the HW. "
                                                "This value needs to reflect the HW of the device. This setting is "
                                                "for Velmar eyes only."));
        break;
    case ThirteenSectionsRow:
        SettingPageKit::showHelp(QStringLiteral("HW supports 13 sections"),
                                 QStringLiteral("Should be enabled if this Quorin HW supports 13 section outputs. "
                                                "This is only possible on a 9 physical switch Quorin device with no "
                                                "'Fill flow input/output' or 'Tank level input'."));
        break;
    default:
        break;
    }
}

void ConfigVelmarOnly::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigVelmarOnly::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

}  // namespace ToolsViewWidgets
