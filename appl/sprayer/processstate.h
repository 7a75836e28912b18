#pragma once
// The process module's one state record, shared by the dispatcher and the
// cycle steps. GUI thread only, so nothing here locks.
#include <cstdint>

enum : uint32_t {
    SECTION_MASK_WORDS = 7,
    // Sections 1..111 fit the seven words; bit 0 of the first word is not a section.
    SECTION_MASK_LAST = SECTION_MASK_WORDS * 16 - 1,
};

struct ProcessState {
    // Bit i % 16 of word i / 16 is section i.
    uint16_t touchSectionMask[SECTION_MASK_WORDS];
    uint32_t ioInitFailed;
    // The section state comes from the touch mask instead of the switch inputs
    // (any switch box other than 5, 7 or 9 switches).
    uint8_t sectionsFromMask;
    uint8_t useCanSpeedAgain;
    uint8_t canSpeedBackPosted;
    uint8_t flowPrintHeaderPending;
    // Written by the section step: the master state it computed last.
    uint8_t lastMasterState;
    // Written on the 1 s tick from the tank level.
    uint16_t tankReading;
};

ProcessState& processState();
// Back to the power-up values.
void processStateReset();

// Section bits 1..111 of a seven-word map; numbers outside are never set and read as clear.
bool sectionMapTest(const uint16_t* map, uint32_t section);
void sectionMapSet(uint16_t* map, uint32_t section, bool on);
