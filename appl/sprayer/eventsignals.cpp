#include "eventsignals.h"

#include "datastore.h"
#include "eventids.h"

#include <cstring>

namespace {

enum : uint32_t { SECTION_BLOCK_BYTES = 14, SECTION_BLOCK_WORDS = SECTION_BLOCK_BYTES / 2 };

// What was last announced; every announce-next-time flag starts set so that the
// first event of each kind reaches the screens even when nothing changed.
uint8_t gLastSpraying = 0;
uint16_t gLastSections = 0;
uint8_t gLastSectionBlock[SECTION_BLOCK_BYTES] = {};
bool gAnnounceBlock = true;
bool gAnnounceSpraying = true;
bool gAnnounceSections = true;

// Bit i - 1 of the mask is section i, taken from bit i mod 16 of word i / 16
// (bit 0 of the first word is not a section).
uint32_t sectionMask(const uint8_t* block, uint16_t sections)
{
    uint16_t words[SECTION_BLOCK_WORDS];
    std::memcpy(words, block, sizeof(words));
    uint32_t mask = 0;
    for (uint32_t i = sections; i >= 1; --i) {
        const uint32_t word = i / 16;
        const uint32_t bit = word < SECTION_BLOCK_WORDS ? (words[word] >> (i % 16)) & 1u : 0u;
        mask = (mask << 1) | bit;
    }
    return mask;
}

}  // namespace

namespace EvSignal {

EventSignals* EventSignals::instance()
{
    static EventSignals* const signalHub = new EventSignals();
    return signalHub;
}

void EventSignals::tick100ms()
{
    const uint8_t spraying = static_cast<uint8_t>(datastoreGetBool(DS_SPRAYING_ACTIVE));
    if (spraying != gLastSpraying || gAnnounceSpraying) {
        gAnnounceSpraying = false;
        gLastSpraying = spraying;
        emit isSpraying(spraying != 0);
    }
    emit event100ms();
}

void EventSignals::sectionStatesChanged()
{
    uint8_t block[SECTION_BLOCK_BYTES] = {};
    datastoreGetData(DS_SECTION_STATE_BLOCK, block);
    if (std::memcmp(block, gLastSectionBlock, sizeof(block)) == 0 && !gAnnounceBlock)
        return;
    std::memcpy(gLastSectionBlock, block, sizeof(block));
    gAnnounceBlock = false;
    emit activeSectionStatusChanged(sectionMask(block, datastoreGetUint16(DS_NUMBER_OF_SECTIONS)));
}

void EventSignals::boomSectionCountChanged()
{
    const uint16_t sections = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    if (sections == gLastSections && !gAnnounceSections)
        return;
    gAnnounceSections = false;
    gLastSections = sections;
    emit boomSectionsChanged(sections);
}

void EventSignals::handleEvent(uint32_t id, uint32_t arg)
{
    switch (id) {
    case EV_TICK_100MS:
        tick100ms();
        break;
    case EV_SECTION_STATES_CHANGED:
        sectionStatesChanged();
        break;
    case EV_BOOM_SECTIONS_CHANGED:
        boomSectionCountChanged();
        break;
    case EV_ALARM_SHOWN: {
        // A shown alarm ends a manual pressure increase or decrease.
        const uint16_t bits = datastoreGetUint16(DS_MANUAL_PRESSURE_BITS);
        if ((bits & 0x0006) != 0)
            datastoreSetUint16(DS_MANUAL_PRESSURE_BITS, bits & 0xFFF9);
        emit eventAlarmActivate(static_cast<UINT16>(arg));
        break;
    }
    case EV_ALARM_HIDDEN:
    case EV_ALARM_CLEARED:
        emit eventAlarmDeactivate(static_cast<UINT16>(arg));
        break;
    case EV_SET_BOOST:
        if ((arg & 0xFFFF) == 100)
            emit eventClearBoostPct();
        break;
    case EV_SCREENSHOT_ENABLE_CHANGED:
        emit eventScreenShotEnabled(datastoreGetBool(DS_SCREENSHOT_ENABLED) != 0);
        break;
    case EV_JOB_PDF_SAVED:
        emit eventTripCntPdfSaved(arg != 0);
        break;
    case EV_COUNTERS_CSV_SAVED:
        emit eventTripCntCsvSaved(arg != 0);
        break;
    case EV_ALARM_LOG_SAVED:
        emit eventAlarmLogDataSaved(arg != 0);
        break;
    case EV_ALARM_LOG_EXPORTED:
        emit eventLogDataExported(arg != 0);
        break;
    case EV_PRESSURE_LOG_SAVED:
        emit eventPressureLogDataSaved(arg != 0);
        break;
    case EV_PRESSURE_LOG_EXPORTED:
        emit eventPressureLogExported(arg != 0);
        break;
    case EV_CAN_SPEED_BACK:
        emit eventCanSpeedBack();
        break;
    case EV_POWER_BUTTON_PRESSED:
        emit eventPowerButtonPressed();
        break;
    case EV_POWER_BUTTON_RELEASED:
        emit eventPowerButtonRelease();
        break;
    default:
        break;
    }
}

}  // namespace EvSignal

void eventSignalsHandleEvent(uint32_t id, uint32_t arg)
{
    EvSignal::EventSignals::instance()->handleEvent(id, arg);
}
