#include "alarmpopuplistener.h"

#include "alarm.h"
#include "beep.h"
#include "cpopupmessage.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventsignals.h"
#include "guigeometry.h"
#include "modalpopups.h"
#include "unitquantities.h"
#include "units.h"

#include <QCoreApplication>

namespace KSMPopupListener {

namespace {

enum ShortTitle { FromTitle, FromText, Unknown };

struct AlarmText {
    int id;
    const char* title;
    const char* text;  // null: built when shown (alarm 36)
    ShortTitle shortTitle;
};

const AlarmText alarmTexts[] = {
    {1, QT_TRANSLATE_NOOP("definition header", "No Flow Pulses"),
     QT_TRANSLATE_NOOP("definition", "Check flow sensor and connections."), FromTitle},
    {2, QT_TRANSLATE_NOOP("definition header", "Low Liquid Pressure"),
     QT_TRANSLATE_NOOP("definition", "Check liquid pressure sensor and connections."), FromTitle},
    {4, QT_TRANSLATE_NOOP("definition header", "Calibration Error"),
     QT_TRANSLATE_NOOP("definition", "Flow calibration value not valid!\nCheck sensor and connections."), FromTitle},
    {5, QT_TRANSLATE_NOOP("definition header", "Warning!"),
     QT_TRANSLATE_NOOP("definition", "Density not equal to water (1 kg/l or 8.34 lb/gal)."), FromText},
    {6, QT_TRANSLATE_NOOP("definition header", "Warning!"), QT_TRANSLATE_NOOP("definition", "Below minimum speed."),
     FromText},
    {7, QT_TRANSLATE_NOOP("definition header", "Pressure Based"),
     QT_TRANSLATE_NOOP("definition", "Regulation is now pressure based due to low flow."), FromTitle},
    {8, QT_TRANSLATE_NOOP("definition header", "Warning!"), QT_TRANSLATE_NOOP("definition", "Low flow."), FromText},
    {9, QT_TRANSLATE_NOOP("definition header", "Warning!"), QT_TRANSLATE_NOOP("definition", "Tank almost empty."),
     FromText},
    {10, QT_TRANSLATE_NOOP("definition header", "Actual Rate Too Low"),
     QT_TRANSLATE_NOOP("definition", "Target rate impossible to reach."), FromText},
    {11, QT_TRANSLATE_NOOP("definition header", "Actual Rate Too High"),
     QT_TRANSLATE_NOOP("definition", "Target rate impossible to reach."), FromTitle},
    {12, QT_TRANSLATE_NOOP("definition header", "Warning!"),
     QT_TRANSLATE_NOOP("definition", "Minimum regulation pressure."), FromText},
    {13, QT_TRANSLATE_NOOP("definition header", "Warning!"),
     QT_TRANSLATE_NOOP("definition", "Maximum regulation pressure."), FromText},
    {14, QT_TRANSLATE_NOOP("definition header", "Warning!"), QT_TRANSLATE_NOOP("definition", "Pressure too low."),
     FromText},
    {15, QT_TRANSLATE_NOOP("definition header", "Warning!"), QT_TRANSLATE_NOOP("definition", "Pressure too high."),
     FromText},
    {16, QT_TRANSLATE_NOOP("definition header", "Pressure/Flow Check"),
     QT_TRANSLATE_NOOP("definition", "The cross-relation between pressure and flow is too big."), FromTitle},
    {19, QT_TRANSLATE_NOOP("definition header", "Liquid Pressure Too Low"),
     QT_TRANSLATE_NOOP("definition", "The liquid pressure is too low.\nIncrease pump RPM."), FromTitle},
    {20, QT_TRANSLATE_NOOP("definition header", "Liquid Pressure Too High"),
     QT_TRANSLATE_NOOP("definition", "The liquid pressure is too high.\nDecrease pump RPM."), FromTitle},
    {21, QT_TRANSLATE_NOOP("definition header", "No Speed Signal"),
     QT_TRANSLATE_NOOP("definition", "No speed signal is available from the selected speed source."), FromTitle},
    {31, QT_TRANSLATE_NOOP("definition header", "Work Not Possible"),
     QT_TRANSLATE_NOOP("definition",
                       "Master Switch can not be activated outside Operation screen.\nTurn Master Switch off!"),
     FromTitle},
    {32, QT_TRANSLATE_NOOP("definition header", "Stop Spraying"),
     QT_TRANSLATE_NOOP("definition",
                       "This menu cannot be exited while spraying is in progress!\nStop spraying and try again."),
     FromTitle},
    {33, QT_TRANSLATE_NOOP("definition header", "File System Out of Memory"),
     QT_TRANSLATE_NOOP("definition", "The File system is filled up."), FromTitle},
    {34, QT_TRANSLATE_NOOP("definition header", "Save Error"),
     QT_TRANSLATE_NOOP("definition", "The file was not saved correctly."), FromTitle},
    {35, QT_TRANSLATE_NOOP("definition header", "Simulated Speed Active"),
     QT_TRANSLATE_NOOP("definition", "The controller is not using a true speed input.\nYou can select an alternative "
                                     "speed source from the operation screen."),
     FromTitle},
    {36, QT_TRANSLATE_NOOP("definition header", "CAN Speed Missing"), nullptr, FromTitle},
    {42, QT_TRANSLATE_NOOP("definition header", "Mismatch Between Spacing and Width"),
     QT_TRANSLATE_NOOP("definition", "The encoded tip spacing doesn't match the different encoded section "
                                     "widths.\nDO NOT SPRAY - the dose rate might be wrong."),
     FromTitle},
    {45, QT_TRANSLATE_NOOP("definition header", "Sectrix Unit Not Responding"),
     QT_TRANSLATE_NOOP("definition",
                       "The Sectrix unit has stopped responding.\nPlease control the section manually."),
     FromTitle},
    {46, QT_TRANSLATE_NOOP("definition header", "Sectrix Unit in Manual Mode"),
     QT_TRANSLATE_NOOP("definition",
                       "The Sectrix unit has shifted to manual mode.\nPlease control the section manually."),
     FromTitle},
    {47, QT_TRANSLATE_NOOP("definition header", "Not All Sections On"),
     QT_TRANSLATE_NOOP("definition",
                       "The section switches shall be on before the Sectrix unit can turn on the sections."),
     FromTitle},
    {48, QT_TRANSLATE_NOOP("definition header", "Wrong Hardware"),
     QT_TRANSLATE_NOOP("definition", "The hardware is not supported."), FromTitle},
    {49, QT_TRANSLATE_NOOP("definition header", "Section Output Failure"),
     QT_TRANSLATE_NOOP("definition", "Section output is not working correctly.\nPlease check cables and valves."),
     FromTitle},
    {50, QT_TRANSLATE_NOOP("definition header", "Master Output Failure"),
     QT_TRANSLATE_NOOP("definition", "Master output is not working correctly.\nPlease check cables and valves."),
     FromTitle},
    {51, QT_TRANSLATE_NOOP("definition header", "Fill Valve Output Failure"),
     QT_TRANSLATE_NOOP("definition",
                       "Fill Valve output is not working correctly.\nPlease check cables and valves."),
     FromTitle},
    {52, QT_TRANSLATE_NOOP("definition header", "Low Supply Voltage"),
     QT_TRANSLATE_NOOP("definition", "The supply voltage is too low.\nThe operation of the product cannot be "
                                     "guaranteed.\nPlease check the power supply."),
     FromTitle},
    {53, QT_TRANSLATE_NOOP("definition header", "Fuse Blown"),
     QT_TRANSLATE_NOOP("definition", "The internal fuse is blown.\nThe operation of the product will no longer "
                                     "work.\nService is needed."),
     Unknown},
};

const AlarmText* findAlarm(int id)
{
    for (const AlarmText& entry : alarmTexts)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

QString translate(const char* context, const char* text, const char* comment = nullptr)
{
    return QCoreApplication::translate(context, text, comment);
}

QString canSpeedLostText()
{
    if (datastoreGetUint32(DS_SPEED_CAL_NUMBER) != 0)
        return translate("definition", "The CAN speed source is not valid.\nShifting to Implement Speed Sensor.",
                         "Definition.");
    const float speed = float(unitGetItemValue(UQ_SIMULATED_SPEED)) / float(unitGetScale(UQ_SIMULATED_SPEED));
    const QString unit = unitGetSystem() != 0 ? translate("definition", "mph", "abbr. for miles per hour")
                                              : translate("definition", "km/h", "abbr. for kilo meters per hour");
    return translate("definition",
                     "The CAN speed source is not valid.\nShifting to simulated speed, %L1 %2.",
                     "Definition. %L1 is the current simulated speed value, and %2 is the speed unit.")
        .arg(double(speed), 0, 'f', int(unitGetDecimals(UQ_SIMULATED_SPEED)))
        .arg(unit);
}

QString alarmText(const AlarmText& entry)
{
    return entry.text != nullptr ? translate("definition", entry.text) : canSpeedLostText();
}

}  // namespace

PopupListener* PopupListener::instance()
{
    static PopupListener listener;
    return &listener;
}

PopupListener::PopupListener()
{
    auto* hub = EvSignal::EventSignals::instance();
    connect(hub, &EvSignal::EventSignals::eventAlarmActivate, this, &PopupListener::handleAlarmActivate);
    connect(hub, &EvSignal::EventSignals::eventAlarmDeactivate, this, &PopupListener::handleAlarmDeactivate);
    // No queue time: with 0, an activation while another priority-3 overlay
    // holds the pop-up back in the queue would drop it unseen.
    alarmPopup = CPopupMessage::showWarning(QStringLiteral("Normal Priority alarm"), 0, 0, -1, -1000);
    alarmPopup->setDeleteOnClose(false);
    alarmPopup->setKind(0);
    connect(alarmPopup, &CPopupMessage::popupAcknowledge, this, &PopupListener::handleAlarmAcknowledge);
}

PopupListener::~PopupListener()
{
    if (QCoreApplication::instance() != nullptr)
        delete alarmPopup.data();
}

QString PopupListener::alarmTitle(int id)
{
    const AlarmText* entry = findAlarm(id);
    if (entry == nullptr || entry->shortTitle == Unknown)
        return QStringLiteral("???");
    return entry->shortTitle == FromTitle ? translate("definition header", entry->title) : alarmText(*entry);
}

void PopupListener::handleAlarmActivate(UINT16 id)
{
    alarmPopup->restartTimer();
    beepStart(1, 1);
    if (const AlarmText* entry = findAlarm(id)) {
        alarmPopup->setTitle(translate("definition header", entry->title));
        alarmPopup->setText(alarmText(*entry));
    } else {
        alarmPopup->setText(
            QStringLiteral("Alarm id: %1\nThis Alarm ID is not supported\nGo to Popuplistner and add alarm.").arg(id));
    }
    popupAlarm = id;
    alarmPopup->resize(GuiGeometry::popupOffset());
    // Queued on the next pass of the event loop: a priority-3 overlay runs the
    // event loop while it is queued, and here that would deliver the process
    // core's next events inside the one that shows the alarm.
    showPending = true;
    QMetaObject::invokeMethod(this, &PopupListener::showPopup, Qt::QueuedConnection);
}

void PopupListener::showPopup()
{
    if (!showPending || alarmPopup.isNull())
        return;
    showPending = false;
    // A keypad or button grid is a modal window above the overlays: it would
    // hide the alarm and hold back the touch that acknowledges it. Each is
    // cancelled, as its own cancel does, so nothing half-entered is taken.
    ModalPopups::cancelAll();
    alarmPopup->enqueue(3);
}

void PopupListener::handleAlarmDeactivate(UINT16 id)
{
    // Only the alarm the pop-up shows closes it: another alarm hidden or
    // cleared in the background leaves the operator's warning up.
    if (id != popupAlarm)
        return;
    showPending = false;
    alarmPopup->dismiss();
}

void PopupListener::handleAlarmAcknowledge()
{
    if (alarmCountUnacknowledged() != 0)
        alarmSetKind3(alarmGetShown());
}

}  // namespace KSMPopupListener
