#pragma once
// Nozzle data: catalogue, custom nozzles and the five presets.
// Placeholder entry points: they do nothing yet.
#include <cstdint>

// Builds the reference table.
void nozinfoInit(uint32_t reset);
// 0 metric, 1 imperial reference pressure.
void nozinfoSetReferenceMode(uint32_t mode);
// Loads or resets the presets.
void nozpresetInit(uint32_t reset);
// Density-corrected target rates.
void nozpresetSetDensityMode(uint32_t on);
// Nozzle type of a preset.
uint16_t nozpresetGetNozzleType(uint32_t preset);
// 1 when stored.
uint32_t nozpresetSetNozzleType(uint32_t preset, uint32_t type);
// 1 when stored.
uint32_t nozpresetSetNozzleSizeIx(uint32_t preset, uint32_t size);
// Target rate of a preset.
void nozpresetSetNozzleTargetRate(uint32_t preset, uint32_t rate);
// Target rate of a preset.
uint16_t nozpresetTargetRate(uint32_t preset);
// Reference pressure (bar x 100) of a preset's nozzle.
uint16_t nozpresetRefPressure(uint32_t preset);
// Flow of one nozzle of a preset at the system reference pressure.
uint16_t nozpresetSystemRefFlow(uint32_t preset);
// The nozzle's pressure limit: flags 0 minimum, 1 maximum.
uint16_t nozpresetPressureLimit(uint32_t preset, uint32_t flags);
