#pragma once
// Sections of the process: the operator's touch mask, the sections available
// for spraying and the largest section count the switch box allows.
#include <cstdint>

// The touch-mask commands EV_SECTION_MASK_CLEAR_LEFT .. EV_SECTION_MASK_TOGGLE
// (value: the section number for the toggle). Other ids do nothing.
void processTouchMaskCommand(uint32_t id, uint32_t value);
// DS_SECTION_BLOCK_263 := sections 1..DS_NUMBER_OF_SECTIONS.
void processSetAllSectionsAvailable();
// DS_MAX_SECTIONS from the hardware and the switch box.
void processUpdateMaxSections();
