#include "toolsviewconfigfilling2.h"

#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
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
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

constexpr int kEventOwner = EV_OWNER_PERIODIC;

enum Row { DesiredRow = 0, ActualRow = 1, FillingRow = 2 };
// Help ids of the rows' label buttons.
enum HelpId { FillingHelp = 0, DesiredHelp = 1, ActualHelp = 2 };

double contentOf(uint32_t q, uint32_t item)
{
    return PageValues::displayFromBase(q, static_cast<int32_t>(datastoreGetUint16(item)));
}

double fullTankContent()
{
    return contentOf(FillingUnits::fullTankQuantity(), DS_TANK_MAX_CONTENT);
}

int fullTankDecimals()
{
    return PageValues::decimals(FillingUnits::fullTankQuantity());
}

}  // namespace

ToolsViewConfigFilling2::ToolsViewConfigFilling2(QWidget* parent, bool menuInstance)
    : WidgetTimedFocusUpdateQt(parent), mMenuInstance(menuInstance), mKit(nullptr)
{
    machineScreensInitResources();
    setObjectName(QStringLiteral("ToolsViewConfigFilling2"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, true, mMenuInstance);
    mKit->connectButtonBar(this, &ToolsViewConfigFilling2::handleButtonBarPressed);

    mDesiredLabel = mKit->addLabelButton(DesiredRow, this, &ToolsViewConfigFilling2::showHelp,
                                         ":/images/tank_half_full.svg");
    mDesiredLabel->setId(DesiredHelp);
    mDesiredValue = mKit->addValueButton(DesiredRow, "m_tankContentValue");
    connect(mDesiredValue, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling2::editDesiredContent);

    mActualLabel = mKit->addLabelButton(ActualRow, this, &ToolsViewConfigFilling2::showHelp,
                                        ":/images/tank_half_full.svg");
    mActualLabel->setId(ActualHelp);
    mActualValue = new QLabel(this);
    mActualValue->setObjectName(QStringLiteral("m_lblTankContentValue"));
    mActualValue->setAlignment(Qt::AlignCenter);
    mActualValue->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(ActualRow, mActualValue);

    mFillingLabel = mKit->addLabelButton(FillingRow, this, &ToolsViewConfigFilling2::showHelp,
                                         ":/images/waterTap.svg");
    mFillingLabel->setId(FillingHelp);
    mFillingButton = new KestromPushButton(FillingRow, this);
    mFillingButton->setObjectName(QStringLiteral("m_fillingButton"));
    mFillingButton->setMinimumSize(GuiGeometry::settingButtonSize());
    mKit->addRowWidget(FillingRow, mFillingButton);
    connect(mFillingButton, &KestromPushButton::takeAction, this, &ToolsViewConfigFilling2::activateFilling);

    mStartLabel = new QLabel(this);
    mStartLabel->setObjectName(QStringLiteral("m_lblFillStart"));
    mStartLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mProgress = new QProgressBar(this);
    mProgress->setObjectName(QStringLiteral("m_fillProgress"));
    mProgress->setRange(0, 100);
    mProgress->setValue(0);
    mProgress->setTextVisible(false);
    mFullLabel = new QLabel(this);
    mFullLabel->setObjectName(QStringLiteral("m_lblFillFull"));
    mFullLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QHBoxLayout* progressRow = new QHBoxLayout;
    progressRow->addWidget(mStartLabel, 1);
    progressRow->addWidget(mProgress, 3);
    progressRow->addWidget(mFullLabel, 1);
    mKit->column()->addStretch(1);
    mKit->column()->addLayout(progressRow);
    mKit->column()->addStretch(1);

    mKeypad = mKit->addKeypad();
    refreshFillingState();
    retranslate();
}

ToolsViewConfigFilling2::~ToolsViewConfigFilling2() = default;

void ToolsViewConfigFilling2::retranslate()
{
    if (mMenuInstance)
        mKit->setPathway({tr("Settings", "pathway text"), tr("Machine", "pathway text"),
                          tr("Filling (2)", "pathway text")});
    else
        mKit->setPathway({tr("Operation", "pathway text"), tr("Filling (2)", "pathway text")});
    mFillingLabel->setText(tr("Automatic Filling", "setting label"));
    mActualLabel->setText(tr("Actual Content", "setting label"));
    mDesiredLabel->setText(tr("Desired Content", "setting label"));
    mStartLabel->setText(tr("Start", "graph label"));
    mFullLabel->setText(tr("Full", "graph label"));
    refreshContents();
}

QString ToolsViewConfigFilling2::contentUnit(bool longName) const
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

void ToolsViewConfigFilling2::refreshContents()
{
    const QString format = tr("%L1 %2", "%L1 is the value, %2 is the units");
    const uint32_t desired = FillingUnits::desiredContentQuantity();
    const uint32_t actual = FillingUnits::actualContentQuantity();
    mDesiredValue->setText(SettingPageKit::valueText(format, contentOf(desired, DS_DESIRED_CONTENT),
                                                     PageValues::decimals(desired), contentUnit(false)));
    mActualValue->setText(SettingPageKit::valueText(format, contentOf(actual, DS_ACTUAL_CONTENT),
                                                    PageValues::decimals(actual), contentUnit(false)));
}

void ToolsViewConfigFilling2::refreshFillingState()
{
    const bool filling = datastoreGetBool(DS_FILLING_ACTIVE) != 0;
    mFillingButton->setSvgIcon(filling ? ":/images/section_off.svg" : ":/images/section_on.svg",
                               GuiGeometry::iconSize55());
    mStartLabel->setVisible(filling);
    mProgress->setVisible(filling);
    mFullLabel->setVisible(filling);
}

void ToolsViewConfigFilling2::timedUpdate()
{
    mProgress->setValue(datastoreGetUint16(DS_FILL_PROGRESS));
    refreshContents();
    refreshFillingState();
}

void ToolsViewConfigFilling2::activateFilling()
{
    mFillingToggle = !mFillingToggle;
    // A press starts whenever no filling runs; the toggle decides only while one does.
    if (mFillingToggle || !datastoreGetBool(DS_FILLING_ACTIVE))
        processEvent(EV_TANK_FILLING_START, 0);
    else
        processEvent(EV_TANK_FILLING_STOP, 0);
}

void ToolsViewConfigFilling2::editDesiredContent()
{
    const uint32_t desired = FillingUnits::desiredContentQuantity();
    KeypadSetting setting;
    setting.value = contentOf(desired, DS_DESIRED_CONTENT);
    setting.minimum = 0.0;
    setting.maximum = fullTankContent();
    setting.decimals = PageValues::decimals(desired);
    setting.units = contentUnit(true);
    setting.title = tr("Desired Content (%1)", "keyboard header. %1 is the units.").arg(contentUnit(false));
    mKit->openKeypad(mKeypad, setting, this, &ToolsViewConfigFilling2::commitDesiredContent);
}

void ToolsViewConfigFilling2::commitDesiredContent(double value)
{
    processEvent(EV_SET_DESIRED_CONTENT,
                 static_cast<uint32_t>(PageValues::baseFromTyped(FillingUnits::desiredContentQuantity(), value)));
    refreshContents();
}

void ToolsViewConfigFilling2::showHelp(int id)
{
    switch (id) {
    case FillingHelp:
        SettingPageKit::showHelp(tr("Automatic Filling", "definition header"),
                                 tr("Activate the button to start and stop the automatic filling.",
                                    "Automatic Filling definition"));
        break;
    case DesiredHelp:
        SettingPageKit::showRangeHelp(
            tr("Desired Content", "definition header"),
            tr("Establishes the desired maximum content volume. Range is %L1 through %L2 %3.",
               "Desired Content definition. %L1 & %L2 are the range values. %3 is the units."),
            0.0, fullTankContent(), fullTankDecimals(), contentUnit(true));
        break;
    case ActualHelp:
        SettingPageKit::showHelp(tr("Actual Content", "definition header"),
                                 tr("Displays the current volume of content in the tank.",
                                    "Actual Content definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ToolsViewConfigFilling2::handleButtonBarPressed(int id)
{
    SettingPageKit::navigatePair(this, id);
}

void ToolsViewConfigFilling2::showEvent(QShowEvent* event)
{
    WidgetTimedFocusUpdateQt::showEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    SettingPageKit::setPageMode(PageMode::Filling);
    refreshContents();
}

void ToolsViewConfigFilling2::hideEvent(QHideEvent* event)
{
    WidgetTimedFocusUpdateQt::hideEvent(event);
    if (!SettingPageKit::programCaused(event))
        return;
    // Leaving the page always ends a running filling.
    eventPost(kEventOwner, EV_TANK_FILLING_STOP, 0);
    eventPost(kEventOwner, EV_TANK_FILLING_CLOSE, 0);
    SettingPageKit::setPageMode(mMenuInstance ? PageMode::Home : PageMode::Working);
}

void ToolsViewConfigFilling2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
