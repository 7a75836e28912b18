#pragma once
// Reference data of every nozzle type and size: pressures in 1/100 bar, flows in
// 1/1000 l/min. A RAM table starts from the built-in data, follows the reference
// mode (flows at 2.00 bar or at 2.76 bar, that is 40 psi) and takes the custom
// values the operator enters, kept in "nozinfo.ini" (group "noz_custom", keys
// "<type>/<size>/<ref_press|ref_flow|min_press|max_press>"). GUI thread only.
//
// Functions taking a type t and size j return 0 (9 for droplet codes) when t is
// above 35 or j is not below the type's number of sizes.
#include <cstdint>
#include <string>

enum : uint32_t {
    NOZINFO_REF_PRESSURE_METRIC = 200,    // reference mode 0
    NOZINFO_REF_PRESSURE_IMPERIAL = 276,  // reference mode 1
    NOZINFO_STATE_CUSTOM = 277,
    NOZINFO_FLAG_MAXIMUM = 1,  // pressure limit: the maximum, else the minimum
    NOZINFO_FLAG_STATIC = 2,   // from the built-in data, not the RAM table
};

// Path of the custom-value file below the storage base.
std::string nozinfoCustomFilePath();

// Builds the RAM table and reads the custom values (with reset: removes them
// first). Returns 1, or 0 when the custom file's directory cannot be made
// (the table is built all the same).
uint32_t nozinfoInit(uint32_t reset);
// 0: reference pressure 2.00 bar; 1: 2.76 bar. Other values are ignored.
void nozinfoSetReferenceMode(uint32_t mode);
uint32_t nozinfoGetReferenceMode();

uint32_t nozinfoSizeCount(uint32_t t);
// Empty for an unknown type or size.
const char* nozinfoSizeName(uint32_t t, uint32_t j);
uint32_t nozinfoSizeCode(uint32_t t, uint32_t j);

// Reference pressure of the size: the mode's (with NOZINFO_FLAG_STATIC, or for
// a built-in entry, which is brought to the mode's reference first) or the custom one.
uint32_t nozinfoRefPressure(uint32_t t, uint32_t j, uint32_t flags);
// Reference flow at the reference pressure above.
uint32_t nozinfoSystemRefFlow(uint32_t t, uint32_t j, uint32_t flags);
// Minimum or maximum pressure (NOZINFO_FLAG_MAXIMUM) of the size.
uint32_t nozinfoPressureLimit(uint32_t t, uint32_t j, uint32_t flags);
// Droplet code 0..8 of the size at pressure p; 9 when none.
uint32_t nozinfoDropletCode(uint32_t t, uint32_t j, uint32_t pressure);
// Lower (flag 0) or upper (flag 1) pressure of the band in which the size gives
// droplet code `code`; 1 when found, else 0 with out untouched.
uint32_t nozinfoDropletPressureBand(uint32_t t, uint32_t j, uint32_t code, uint32_t* out, uint32_t flag);

// flowRef x sqrt(p / pRef), rounded half up; flowRef when p equals pRef, 0 when pRef is 0.
uint32_t nozinfoFlowAtPressure(uint32_t p, uint32_t pRef, uint32_t flowRef);

// Custom values, stored in the RAM table and in the custom file; 1, or 0 when t
// or j is out of range. A custom reference pressure or flow is never converted
// by a change of the reference mode.
uint32_t nozinfoSetCustomRefPress(uint32_t t, uint32_t j, uint32_t value);
uint32_t nozinfoSetCustomRefFlow(uint32_t t, uint32_t j, uint32_t value);
uint32_t nozinfoSetCustomPressRange(uint32_t t, uint32_t j, uint32_t minimum, uint32_t maximum);
// Back to the built-in data; every custom value is removed from the file.
void nozinfoClearCustom();
