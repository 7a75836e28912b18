#include "configoemdeletetotals.h"

#include "cpopupquery.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "guigeometry.h"
#include "toolsviewdata.h"
#include "settingpagekit.h"
#include "unitquantities.h"
#include "units.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVariant>
#include <QVBoxLayout>

namespace ToolsViewWidgets {

namespace {

enum Row { AreaRow = 0, VolumeRow = 1, TimeRow = 2, ClearRow = 3 };

constexpr int kPageOwner = 2;

bool imperialOrUs()
{
    const uint32_t system = unitGetSystem();
    return system == UNIT_SYSTEM_IMPERIAL || system == UNIT_SYSTEM_US;
}

bool turf()
{
    return datastoreGetBool(DS_TURF_UNITS) != 0;
}

bool nh3Mode()
{
    return datastoreGetBool(DS_NH3_MODE) != 0;
}

QString areaUnitText()
{
    if (imperialOrUs())
        return turf() ? QCoreApplication::translate("QObject", "1000 sq ft", "abbr. for 1000 square feet")
                      : QCoreApplication::translate("QObject", "ac", "abbr. for acre");
    return QCoreApplication::translate("QObject", "ha", "abbr. for hectare");
}

QString massOrVolumeUnitText(bool mass)
{
    if (mass)
        return imperialOrUs() ? QCoreApplication::translate("QObject", "lb", "abbr for pound")
                              : QCoreApplication::translate("QObject", "kg", "abbr for kilogram");
    return imperialOrUs() ? QCoreApplication::translate("QObject", "gal", "abbr for gallon")
                          : QCoreApplication::translate("QObject", "l", "abbr for liter");
}

QString areaText()
{
    const uint32_t q = turf() ? UQ_AREA_TURF : UQ_TOTAL_AREA;
    const float area = static_cast<float>(unitBaseToDisplay(q, static_cast<int32_t>(datastoreGetUint32(DS_TOTAL_AREA)))) /
                       static_cast<float>(unitGetScale(UQ_TOTAL_AREA));
    return QStringLiteral("%1 %2").arg(area, 0, 'f', 2).arg(areaUnitText());
}

QString volumeText()
{
    const bool mass = nh3Mode();
    const uint32_t q = mass ? UQ_TOTAL_MASS : UQ_TOTAL_VOLUME;
    const float volume =
        static_cast<float>(unitBaseToDisplay(q, static_cast<int32_t>(datastoreGetUint32(DS_TOTAL_VOLUME)))) /
        static_cast<float>(unitGetScale(UQ_TOTAL_VOLUME));
    return QStringLiteral("%1 %2").arg(volume, 0, 'f', 0).arg(massOrVolumeUnitText(mass));
}

}  // namespace

ConfigOemDeleteTotals::ConfigOemDeleteTotals(QWidget* parent) : WidgetTimedFocusUpdateQt(parent)
{
    dataScreensInitResources();
    setObjectName(QStringLiteral("ConfigOemDeleteTotals"));
    mKit = new SettingPageKit(this);
    mKit->buttonBar()->setButtonsVisible(true, false, true);
    mKit->connectButtonBar(this, &ConfigOemDeleteTotals::handleButtonBarPressed);
    for (int row = AreaRow; row <= ClearRow; ++row)
        mLabels[row] = mKit->addLabelButton(row, this, &ConfigOemDeleteTotals::showHelp,
                                            row == ClearRow ? ":/images/trash.svg" : SettingPageKit::DefaultHelpIcon);
    static const char* const kNames[] = {"m_lblTotalArea", "m_lblTotalVolume", "m_lblTotalTime"};
    for (int row = AreaRow; row <= TimeRow; ++row) {
        mCounters[row] = new QLabel(this);
        mCounters[row]->setObjectName(QString::fromLatin1(kNames[row]));
        mCounters[row]->setProperty("hasBorder", true);
        mCounters[row]->setMinimumSize(GuiGeometry::menuButtonSize());
        mCounters[row]->setAlignment(Qt::AlignCenter);
        mKit->rowGrid()->addWidget(mCounters[row], row, 1, Qt::AlignRight);
    }
    mClear = new KestromPushButton(this);
    mClear->setObjectName(QStringLiteral("m_btnClear"));
    mClear->setMinimumSize(GuiGeometry::menuButtonSize());
    mKit->rowGrid()->addWidget(mClear, ClearRow, 1, Qt::AlignRight);
    connect(mClear, &KestromPushButton::takeAction, this, &ConfigOemDeleteTotals::ClearTotals);
    mKit->column()->insertStretch(1, 2);
    mKit->column()->addStretch(10);
    retranslate();
}

ConfigOemDeleteTotals::~ConfigOemDeleteTotals() = default;

void ConfigOemDeleteTotals::retranslate()
{
    mKit->setPathway({tr("Settings", "pathway text"), tr("OEM", "pathway text"), tr("Clear Totals", "pathway text")});
    mLabels[AreaRow]->setText(tr("Area Counter", "setting label"));
    mLabels[VolumeRow]->setText(tr("Volume Counter", "setting label"));
    mLabels[TimeRow]->setText(tr("Time Counter", "setting label"));
    mLabels[ClearRow]->setText(tr("Clear All Total Counters", "setting label"));
    mClear->setText(tr("Clear", "button"));
    refreshCounters();
}

void ConfigOemDeleteTotals::refreshCounters()
{
    mCounters[AreaRow]->setText(areaText());
    mCounters[VolumeRow]->setText(volumeText());
    const int32_t seconds = static_cast<int32_t>(datastoreGetUint32(DS_TOTAL_TIME));
    const int32_t hours = seconds / 3600;
    mCounters[TimeRow]->setText(
        tr("%1h %2m").arg(static_cast<double>(hours), 2, 'f', 0, QLatin1Char(' ')).arg((seconds % 3600) / 60));
}

void ConfigOemDeleteTotals::timedUpdate()
{
    refreshCounters();
}

void ConfigOemDeleteTotals::ClearTotals(int)
{
    CPopupQuery* query = CPopupQuery::askYesNo(
        tr("Are you sure you want to clear all total counters?", "Clear All Total Counters confirmation"), 1, 0);
    connect(query, &CPopupQuery::ResponseReceived, this, &ConfigOemDeleteTotals::ResponseYesNoClicked);
}

void ConfigOemDeleteTotals::ResponseYesNoClicked(CPopupQuery*, int answer)
{
    if (answer == 1)
        eventPost(kPageOwner, EV_CLEAR_TOTAL_COUNTERS, 0);
}

void ConfigOemDeleteTotals::showHelp(int id)
{
    switch (id) {
    case AreaRow:
        SettingPageKit::showHelp(tr("Area Counter", "definition header"),
                                 tr("Displays total applied area for all jobs.", "Area Counter definition"));
        break;
    case VolumeRow:
        SettingPageKit::showHelp(tr("Volume Counter", "definition header"),
                                 tr("Displays total volume of material applied during all jobs.",
                                    "Volume Counter definition"));
        break;
    case TimeRow:
        SettingPageKit::showHelp(tr("Time Counter", "definition header"),
                                 tr("Displays total time traveled for all jobs.", "Time Counter definition"));
        break;
    case ClearRow:
        SettingPageKit::showHelp(tr("Clear All Total Counters", "definition header"),
                                 tr("Press \"Clear\" to clear all accumulated total counters.",
                                    "Clear All Total Counters definition"));
        break;
    default:
        SettingPageKit::showHelp(QString(), QString());
        break;
    }
}

void ConfigOemDeleteTotals::handleButtonBarPressed(int id)
{
    SettingPageKit::navigate(this, id);
}

void ConfigOemDeleteTotals::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    WidgetTimedFocusUpdateQt::changeEvent(event);
}

}  // namespace ToolsViewWidgets
