#pragma once
// Configuration data interface: the XML configuration file and the section tip table.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// Reads the configuration file (reason 334 start-up, 335 import); 1 when accepted.
uint32_t ConfigurationReadIn(uint32_t reason);
// Loads or resets the tip table.
void cfgdtInitSectionTips(uint32_t reset);
// Tip count of one section.
void cfgdtSetSectionTips(uint32_t section, uint32_t tips);
// Width of one section in mm.
uint16_t cfgdtGetSectionWidth(uint32_t section);
// Tips of the sections set in the bitmap.
uint16_t cfgdtSumSectionTips(const uint16_t* bitmap);
// Width of the sections set in the bitmap.
uint32_t cfgdtSumSectionWidth(const uint16_t* bitmap);
