#include "processstate.h"

namespace {

ProcessState makeInitial()
{
    ProcessState state = {};
    state.useCanSpeedAgain = 1;
    state.canSpeedBackPosted = 1;
    state.flowPrintHeaderPending = 1;
    return state;
}

ProcessState gState = makeInitial();

}  // namespace

ProcessState& processState()
{
    return gState;
}

void processStateReset()
{
    gState = makeInitial();
}

bool sectionMapTest(const uint16_t* map, uint32_t section)
{
    if (section == 0 || section > SECTION_MASK_LAST)
        return false;
    return ((map[section / 16] >> (section % 16)) & 1u) != 0;
}

void sectionMapSet(uint16_t* map, uint32_t section, bool on)
{
    if (section == 0 || section > SECTION_MASK_LAST)
        return;
    const uint16_t bit = static_cast<uint16_t>(1u << (section % 16));
    if (on)
        map[section / 16] |= bit;
    else
        map[section / 16] &= static_cast<uint16_t>(~bit);
}
