#pragma once
// Application defaults of the sprayer: brings a stored image of an older layout
// version up to the current one step by step, or asks for a full
// initialisation when it is too old; and the validators used item by item by
// the validation of the stored parameters.
#include <cstdint>

enum : uint32_t {
    DSVCAPPL_SECTION_MAP_WORDS = 13,
    DSVCAPPL_PART_NUMBER_SIZE = 10,
};

// Words of the section switch maps of items 218..221.
extern const uint32_t dsvcapplSectionMaps[4][DSVCAPPL_SECTION_MAP_WORDS];

// Fills partNumber (size bytes, terminated) with the console's hardware part
// number; nonzero when one was found.
typedef uint32_t (*DsvcapplPartNumberReader)(char* partNumber, uint32_t size);
// Replaces the part-number source; null restores the default, the
// device-information files (read by vkinfoInit).
void dsvcapplSetPartNumberReader(DsvcapplPartNumberReader reader);

// Sets up one pulse counter from the process core's set-up record
// (pulsupdtInitSpecificPulsCounters) -> 0 or its error code.
typedef uint32_t (*DsvcapplCounterSetup)(uint32_t counter);
// Registered by the core before the store starts; null unregisters. Without
// one, the migration's counter set-up is skipped with a log line.
void dsvcapplRegisterCounterSetup(DsvcapplCounterSetup setup);

// 1 for the console variants "512-201", "512-202" and "512-203", else 0.
uint32_t dsvcapplPartNumberFlag(const char* partNumber);

// InitAll: 1 when every item is to be initialised, 0 when migrated or current.
uint32_t dsvcapplSetDefaultValues(uint32_t previousVersion);

// With force 0 and the value within [min, max]: the value; otherwise the default
// is written and the setter's result returned.
uint16_t dsvcapplValidateUint16(uint32_t id, uint16_t min, uint16_t max, uint16_t def, uint32_t force);
uint32_t dsvcapplValidateUint32(uint32_t id, uint32_t min, uint32_t max, uint32_t def, uint32_t force);
uint8_t dsvcapplValidateUint8(uint32_t id, uint8_t min, uint8_t max, uint8_t def, uint32_t force);
// Writes the default unless the value is 0 or 1 and force is 0.
void dsvcapplValidateBool(uint32_t id, uint32_t def, uint32_t force);
