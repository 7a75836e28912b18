#pragma once
// Turns the alarm manager's decisions into what the operator sees and hears:
// a shown alarm fills the one alarm pop-up, beeps, cancels any open keypad or
// button grid and queues the pop-up in front of every other overlay; a hidden
// or cleared alarm closes it; touching it acknowledges the shown alarm. Also gives the short titles of the working
// screen's alarm list. GUI thread only.
#include <QObject>
#include <QPointer>
#include <QString>

#include "cpopupmessage.h"

#include <cstdint>

typedef uint16_t UINT16;

namespace KSMPopupListener {

class PopupListener : public QObject {
    Q_OBJECT
public:
    static PopupListener* instance();
    ~PopupListener() override;

    // "???" for an alarm without an entry.
    static QString alarmTitle(int id);

    CPopupMessage* popup() const { return alarmPopup; }
    // The alarm the pop-up was last filled for; 0 before the first.
    int shownAlarm() const { return popupAlarm; }

public slots:
    void handleAlarmActivate(UINT16 id);
    void handleAlarmDeactivate(UINT16 id);
    void handleAlarmAcknowledge();

private:
    PopupListener();
    void showPopup();

    // A shown overlay lives on the overlay layer and may die with the window.
    QPointer<CPopupMessage> alarmPopup;
    int popupAlarm = 0;
    // An activation waits for the next pass of the event loop to queue the pop-up.
    bool showPending = false;
};

}  // namespace KSMPopupListener
