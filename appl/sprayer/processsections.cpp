#include "processsections.h"

#include "datastore.h"
#include "eventids.h"
#include "processstate.h"

#include <cstring>

namespace {

uint32_t sectionCount()
{
    const uint32_t n = datastoreGetUint16(DS_NUMBER_OF_SECTIONS);
    return n < SECTION_MASK_LAST ? n : SECTION_MASK_LAST;
}

// Lowest and highest set section of 1..n; 0 when none is set.
uint32_t lowestSet(const uint16_t* mask, uint32_t n)
{
    for (uint32_t i = 1; i <= n; ++i)
        if (sectionMapTest(mask, i))
            return i;
    return 0;
}

uint32_t highestSet(const uint16_t* mask, uint32_t n)
{
    for (uint32_t i = n; i >= 1; --i)
        if (sectionMapTest(mask, i))
            return i;
    return 0;
}

}  // namespace

void processTouchMaskCommand(uint32_t id, uint32_t value)
{
    uint16_t* mask = processState().touchSectionMask;
    if (id == EV_SECTION_MASK_TOGGLE) {
        // Numbers outside the mask are ignored rather than written past it.
        sectionMapSet(mask, value, !sectionMapTest(mask, value));
        return;
    }
    const uint32_t n = sectionCount();
    if (n == 0)
        return;
    switch (id) {
    case EV_SECTION_MASK_CLEAR_LEFT: {
        const uint32_t low = lowestSet(mask, n);
        if (low != 0)
            sectionMapSet(mask, low, false);
        break;
    }
    case EV_SECTION_MASK_EXTEND_LEFT: {
        const uint32_t low = lowestSet(mask, n);
        if (low == 0)
            sectionMapSet(mask, n, true);
        else if (low > 1)
            sectionMapSet(mask, low - 1, true);
        break;
    }
    case EV_SECTION_MASK_CLEAR_RIGHT: {
        const uint32_t high = highestSet(mask, n);
        if (high != 0)
            sectionMapSet(mask, high, false);
        break;
    }
    case EV_SECTION_MASK_EXTEND_RIGHT: {
        const uint32_t high = highestSet(mask, n);
        if (high == 0)
            sectionMapSet(mask, 1, true);
        else if (high < n)
            sectionMapSet(mask, high + 1, true);
        break;
    }
    default:
        break;
    }
}

void processSetAllSectionsAvailable()
{
    uint16_t block[SECTION_MASK_WORDS] = {};
    const uint32_t n = sectionCount();
    for (uint32_t i = 1; i <= n; ++i)
        sectionMapSet(block, i, true);
    datastoreSetData(DS_SECTION_BLOCK_263, block);
}

void processUpdateMaxSections()
{
    const uint8_t switches = datastoreGetUint8(DS_PHYS_SECTION_SWITCHES);
    uint16_t maxSections = switches;
    if (datastoreGetBool(DS_HW_13_SECTIONS) != 0)
        maxSections = 13;
    else if (switches == 9)
        maxSections = 11;
    datastoreSetUint16(DS_MAX_SECTIONS, maxSections);
}
