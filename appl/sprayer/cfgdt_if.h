#pragma once
// What the console's XML configuration data file holds: a 57-entry parameter
// table of datastore items and of sub-parameter callbacks (the tip count of every
// boom section and the five nozzle presets), read at start-up and on an import,
// written on an export. It also owns the tip counts per boom section, persisted
// in DS_BOOM_SECTION_TABLE, and the section widths derived from them.
//
// Sections are numbered 1 to 98 (entry 0 of the table is not used); a section
// number of 99 or above is out of range everywhere. GUI thread only.
#include <cstdint>
#include <string>

enum : uint32_t {
    CFGDT_ENTRY_COUNT = 57,
    CFGDT_TIP_TABLE_SIZE = 99,
    CFGDT_DEFAULT_TIPS = 6,
    CFGDT_READ_STARTUP = 334,  // start-up validation
    CFGDT_READ_IMPORT = 335,   // import from the installer page (EV_CONFIG_IMPORTED)
};

// The configuration data file below the storage base.
std::string cfgdtConfigFilePath();
// Default of entry 52 (DS_PART_NUMBER_FLAG) for a console part number; null: none read.
uint32_t cfgdtPartNumberFlagDefault(const char* partNumber);

// Defines the file header and all 57 entries; 0 as soon as a definition fails.
uint32_t ConfigurationSetupInit();
// Reads the configuration file for reason 334 or 335 (else 0, nothing done). 1
// when the file was accepted; a refused file is deleted. Ends by posting
// EV_SET_NUMBER_OF_SECTIONS with the switch count when there are more sections
// than physical section switches.
uint32_t ConfigurationReadIn(uint32_t reason);
// Writes the configuration file to path; 1 on success.
uint32_t ConfigurationWrite(const char* path);

// Without reset, or once a count has been set since start-up: loads the table
// from the store. With reset otherwise: every section gets 6 tips.
void cfgdtInitSectionTips(uint32_t reset);
// Sets section i's tip count and stores the table; ignored for i above the
// section count or beyond the table.
void cfgdtSetSectionTips(uint32_t i, uint32_t n);
// Tip count of section i; 0 for i above the section count or beyond the table.
uint16_t cfgdtGetSectionTips(uint32_t i);
// Sum of the tip counts (16 bits) of the sections set in the bitmap (section i
// at bit i % 16 of word i / 16; bit 0 of word 0 is no section). The bitmap holds
// a bit for every section of DS_NUMBER_OF_SECTIONS.
uint16_t cfgdtSumSectionTips(const uint16_t* bitmap);
// Tips x DS_TIP_SPACING (mm) of section i, cut to 16 bits; 0 out of range.
uint16_t cfgdtGetSectionWidth(uint32_t i);
// Sum of the section widths (mm, 32 bits) of the sections set in the bitmap.
uint32_t cfgdtSumSectionWidth(const uint16_t* bitmap);

// Sub-parameter callbacks of the file's entries 44 (argument 0; sub-parameter i
// = section i) and 45 to 49 (argument = preset; 0 type, 1 size index). Values
// read from a file are kept until the file has been accepted as a whole and only
// then applied; the set callbacks answer whether they took the value.
uint32_t cfgdtGetSectionTipsParam(uint32_t argument, uint32_t sub, int32_t* value);
uint32_t cfgdtSetSectionTipsParam(uint32_t argument, uint32_t sub, int32_t value);
uint32_t cfgdtGetNozzlePresetParam(uint32_t preset, uint32_t sub, int32_t* value);
uint32_t cfgdtSetNozzlePresetParam(uint32_t preset, uint32_t sub, int32_t value);
