#pragma once
// The five nozzle presets {nozzle type, size index, target rate (l/ha x 10)}
// that the operator selects and the regulation uses, persisted in
// DS_TIP_PRESET_TABLE. In density mode the target rate is kept divided by the
// density factor DS_DENSITY_FACTOR (x 100) and handed out multiplied again; a
// density factor of 0 leaves the rate as it is.
// GUI thread only.
#include <cstdint>

enum : uint32_t {
    NOZPRESET_COUNT = 5,
    NOZPRESET_DEFAULT_TYPE = 3,
    // Type and size index answered for a preset number above 4.
    NOZPRESET_INVALID = 36,
};

struct NozzlePreset {
    uint16_t type;
    uint16_t size;
    uint16_t targetRate;
};

// With reset, unless a preset type was set since start-up: presets i = 0..4
// become type 3, size i, twice the size's reference flow as target rate, and are
// stored. Otherwise the presets are loaded from the store. Density mode ends.
void nozpresetInit(uint32_t reset);
void nozpresetSetDensityMode(uint32_t on);

uint32_t nozpresetGetNozzleType(uint32_t i);
uint32_t nozpresetGetNozzleSizeIx(uint32_t i);
// 1 when stored; 0 for i above 4 or a type above 35.
uint32_t nozpresetSetNozzleType(uint32_t i, uint32_t type);
// 1 when stored; 0 for i above 4 or a size the preset's type does not have.
uint32_t nozpresetSetNozzleSizeIx(uint32_t i, uint32_t size);
// Stores the target rate (density-corrected in density mode); 0 for i above 4.
uint32_t nozpresetSetNozzleTargetRate(uint32_t i, uint32_t rate);
uint32_t nozpresetTargetRate(uint32_t i);

// The nozinfo values of the preset's type and size; 0 (droplet code 9) for i above 4.
uint32_t nozpresetRefPressure(uint32_t i);
uint32_t nozpresetSizeCode(uint32_t i);
uint32_t nozpresetSystemRefFlow(uint32_t i);
uint32_t nozpresetPressureLimit(uint32_t i, uint32_t flags);
uint32_t nozpresetDropletCode(uint32_t i, uint32_t pressure);
uint32_t nozpresetDropletPressureBand(uint32_t i, uint32_t code, uint32_t* out, uint32_t flag);
