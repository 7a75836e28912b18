#include "sectrixsupervision.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "io_if.h"
#include "processstate.h"
#include "sectrix.h"

namespace {

uint8_t gLinkSeen = 0;
uint8_t gAutoSeen = 0;

void raise(uint32_t alarm, const char* line)
{
    if (alarmIsActive(alarm) != 0)
        return;
    alarmRaise(alarm);
    debugPrintf(0, "%s", line);
}

void clear(uint32_t alarm, const char* line)
{
    if (alarmIsActive(alarm) == 0)
        return;
    alarmClear(alarm);
    debugPrintf(0, "%s", line);
}

uint32_t switchesOn(uint32_t sections)
{
    uint16_t inputs[SECTION_MASK_WORDS] = {};
    io_ifReadInputs(inputs);
    uint32_t count = 0;
    for (uint32_t i = 1; i <= sections; ++i)
        if (sectionMapTest(inputs, i))
            ++count;
    return count;
}

void autoModeCheck(bool automatic)
{
    const uint32_t sections = dsValue(DS_NUMBER_OF_SECTIONS);
    const uint32_t count = automatic && sections > 0 ? switchesOn(sections) : sections;
    if (automatic && sections > 0 && count != sections) {
        if (alarmIsActive(SECTRIX_AUTO_MODE) == 0) {
            alarmRaise(SECTRIX_AUTO_MODE);
            debugPrintf(0, "Auto mode alarm  %i, %i \n", static_cast<int>(count), static_cast<int>(sections));
        }
    } else {
        clear(SECTRIX_AUTO_MODE, "Auto mode alarm Deactivate \n");
    }
}

}  // namespace

void sectrixSupervisionReset()
{
    gLinkSeen = 0;
    gAutoSeen = 0;
}

void sectrixSupervisionTick()
{
    // sectrixLinkIsLost() is 1 while the link is up.
    const bool up = sectrixLinkIsLost() != 0;
    const bool master = dsValue(DS_MASTER_SWITCH) != 0;
    if (master) {
        if (up) {
            gLinkSeen = 1;
        } else if (gLinkSeen != 0) {
            gLinkSeen = 0;
            raise(SECTRIX_LOST, "Sectrix lost alarm activate \n");
        }
    }
    if (!up)
        return;
    clear(SECTRIX_LOST, "Sectrix lost alarm deactivate \n");
    const bool automatic = sectrixIsActive() != 0;
    if (!master)
        gAutoSeen = 0;
    else if (automatic)
        gAutoSeen = 1;
    else if (gAutoSeen != 0)
        raise(SECTRIX_MAN_MODE, "Man mode alarm activate \n");
    if (gAutoSeen == 0 || automatic)
        clear(SECTRIX_MAN_MODE, "Man mode alarm Deactivate \n");
    autoModeCheck(automatic);
}
