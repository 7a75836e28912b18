#pragma once
// The console's nozzle data, read-only: the catalogue of nozzle models with
// their pressure ranges, flows and droplet-size classes, grouped by family, and
// the 36 nozzle types with their sizes.
#include <cstdint>

enum : uint32_t {
    NOZZLE_TYPE_COUNT = 36,
    NOZZLE_FAMILY_COUNT = 35,
    NOZZLE_CLASS_COUNT = 8,
    NOZZLE_USER_TIP_TYPE = 18,
    // Droplet code of a pressure outside every class or category.
    NOZZLE_NO_DROPLET_CODE = 9,
};

// A class boundary that is not set (-1 psi).
constexpr float kNozzleBoundaryUnset = -0.06895f;

struct NozzleCatalogueRecord {
    uint32_t family;          // 1 to 35
    uint32_t sizeCode;        // the size's capacity colour code, as its type's size has it
    const char* designation;  // model designation; names the nozzle's drawing
    const char* shortName;
    uint32_t word;
    float minPressure;        // bar
    float maxPressure;        // bar
    float flowAtMinPressure;  // l/min
    float flowAtMaxPressure;  // l/min
    float refPressure;        // bar
    float refFlow;            // l/min at refPressure
    float bounds[NOZZLE_CLASS_COUNT];  // b1..b8, bar, falling; kNozzleBoundaryUnset when not set
    uint32_t reserved;
};

struct NozzleSize {
    const char* name;
    // Capacity colour code, the size's colour by the usual colour coding:
    // 2 orange (01), 3 green (015), 4 yellow (02), 5 lilac (025), 6 blue (03),
    // 8 red (04), 9 brown (05), 10 grey (06), 11 white (08); codes from 20 on
    // name no colour (orifice plates, user tips). Distinct within a type.
    uint32_t sizeCode;
    uint16_t refPressure;  // 1/100 bar
    uint16_t word;
    uint32_t refFlow;      // 1/1000 l/min
    uint16_t firstPressure;  // 1/100 bar, of the first droplet category
    uint16_t stepPressure;   // 1/100 bar between categories
    uint8_t fromCatalogue;   // the size's data come from the catalogue record of its family
    const char* categories;  // one droplet-category letter per pressure step
};

struct NozzleType {
    uint32_t sizeCount;
    const NozzleSize* sizes;
    uint32_t base;  // first entry of the type in the reference table
};

// Records in the catalogue; record i of nozzleCatalogueRecord for i below it.
uint32_t nozzleCatalogueCount();
// Record i; record 0 for i beyond the catalogue.
const NozzleCatalogueRecord* nozzleCatalogueRecord(uint32_t i);
// Index of the first record of family f (1 to 35); 0 for other families and
// families without records.
uint32_t nozzleFamilyFirstRecord(uint32_t f);
// Class k (1 to 8) whose pressure band holds p bar; 0 outside the record's
// pressure range or of every defined class.
uint32_t dropletClassify(const NozzleCatalogueRecord* record, float p);
// Lower and upper bound (bar) of class k; false when the class is not defined.
bool dropletClassBand(const NozzleCatalogueRecord* record, uint32_t k, float* lower, float* upper);

// Type t (0 to 35); nullptr beyond.
const NozzleType* nozzleType(uint32_t t);
// Entries of the reference table: every size of every type.
uint32_t nozzleReferenceCount();
// Catalogue family of a type: 0 (none) for types 0, 1 and beyond 35.
uint32_t nozzleTypeFamily(uint32_t type);
// Droplet code of a category letter: 'C' 4, 'U' 1, 'V' 3, 'X' 2, 'f' 6, 'm' 5,
// 'u' 0, 'v' 7, 'x' 8; any other letter 9.
uint32_t nozzleLetterCode(char letter);
// Untranslated series name of type t; "User Tip" for 18 and any t beyond 35.
const char* nozzleSeriesName(uint32_t t);
