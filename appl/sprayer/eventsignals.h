#pragma once
// The core's one voice towards the GUI: the last link of the event chain turns
// seventeen event ids into Qt signals. Screens connect to the signals by name,
// so the signatures below never change.
#include <QObject>
#include <cstdint>

typedef uint16_t UINT16;

namespace EvSignal {

class EventSignals : public QObject {
    Q_OBJECT
public:
    // Created on first use in the GUI thread, never deleted.
    static EventSignals* instance();

    void handleEvent(uint32_t id, uint32_t arg);

signals:
    void activeSectionStatusChanged(uint32_t mask);
    void isSpraying(bool spraying);
    void boomSectionsChanged(uint16_t sections);
    void event100ms();
    void eventAlarmActivate(UINT16 alarm);
    void eventAlarmDeactivate(UINT16 alarm);
    void eventClearBoostPct();
    void eventScreenShotEnabled(bool enabled);
    void eventTripCntPdfSaved(bool ok);
    void eventTripCntCsvSaved(bool ok);
    void eventCanSpeedBack();
    void eventPowerButtonPressed();
    void eventPowerButtonRelease();
    void eventAlarmLogDataSaved(bool ok);
    void eventLogDataExported(bool ok);
    void eventPressureLogDataSaved(bool ok);
    void eventPressureLogExported(bool ok);

private:
    EventSignals() = default;
    void tick100ms();
    void sectionStatesChanged();
    void boomSectionCountChanged();
};

}  // namespace EvSignal

// The fifth link of the event chain. GUI thread only.
void eventSignalsHandleEvent(uint32_t id, uint32_t arg);
