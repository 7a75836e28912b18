#include "nozpreset.h"

#include "datastore.h"
#include "debugcon.h"
#include "nozinfo.h"
#include "noztables.h"

#include <cstring>

namespace {

static_assert(sizeof(NozzlePreset) * NOZPRESET_COUNT == 30, "the preset block is 30 bytes");

NozzlePreset gPresets[NOZPRESET_COUNT];
bool gTypeChanged = false;
bool gDensityMode = false;

void storePresets()
{
    datastoreSetData(DS_TIP_PRESET_TABLE, gPresets);
}

// A type beyond the table becomes type 3; a size beyond the type's sizes its
// last size (0 for a type without sizes). True when anything changed.
bool validate(NozzlePreset* preset)
{
    bool changed = false;
    if (preset->type >= NOZZLE_TYPE_COUNT) {
        preset->type = NOZPRESET_DEFAULT_TYPE;
        changed = true;
    }
    const uint32_t sizes = nozinfoSizeCount(preset->type);
    if (preset->size >= sizes) {
        const uint16_t last = static_cast<uint16_t>(sizes > 0 ? sizes - 1 : 0);
        changed = changed || preset->size != last;
        preset->size = last;
    }
    return changed;
}

uint32_t densityFactor()
{
    return datastoreGetUint16(DS_DENSITY_FACTOR);
}

}  // namespace

void nozpresetInit(uint32_t reset)
{
    if (reset && !gTypeChanged) {
        for (uint32_t i = 0; i < NOZPRESET_COUNT; ++i) {
            if (i >= nozinfoSizeCount(NOZPRESET_DEFAULT_TYPE))
                continue;
            gPresets[i].type = NOZPRESET_DEFAULT_TYPE;
            gPresets[i].size = static_cast<uint16_t>(i);
            gPresets[i].targetRate = static_cast<uint16_t>(2 * nozinfoSystemRefFlow(NOZPRESET_DEFAULT_TYPE, i, 0));
        }
        storePresets();
    } else {
        datastoreGetData(DS_TIP_PRESET_TABLE, gPresets);
        debugPrintf(0, "npT %i %i %i %i %i\n\r", gPresets[0].type, gPresets[1].type, gPresets[2].type,
                    gPresets[3].type, gPresets[4].type);
        debugPrintf(0, "npS %i %i %i %i %i\n\r", gPresets[0].size, gPresets[1].size, gPresets[2].size,
                    gPresets[3].size, gPresets[4].size);
    }
    gDensityMode = false;
}

void nozpresetSetDensityMode(uint32_t on)
{
    gDensityMode = on != 0;
}

uint32_t nozpresetGetNozzleType(uint32_t i)
{
    return i < NOZPRESET_COUNT ? static_cast<uint32_t>(gPresets[i].type) : static_cast<uint32_t>(NOZPRESET_INVALID);
}

uint32_t nozpresetGetNozzleSizeIx(uint32_t i)
{
    return i < NOZPRESET_COUNT ? static_cast<uint32_t>(gPresets[i].size) : static_cast<uint32_t>(NOZPRESET_INVALID);
}

uint32_t nozpresetSetNozzleType(uint32_t i, uint32_t type)
{
    if (i >= NOZPRESET_COUNT || type >= NOZZLE_TYPE_COUNT)
        return 0;
    gPresets[i].type = static_cast<uint16_t>(type);
    const bool changed = validate(&gPresets[i]);
    storePresets();
    debugPrintf(0, "nozpresetSetNozzleType( %u %u ), Changed=%u \n\r", static_cast<unsigned>(i),
                static_cast<unsigned>(type), changed ? 1u : 0u);
    gTypeChanged = true;
    return 1;
}

uint32_t nozpresetSetNozzleSizeIx(uint32_t i, uint32_t size)
{
    if (i >= NOZPRESET_COUNT || size >= nozinfoSizeCount(gPresets[i].type))
        return 0;
    gPresets[i].size = static_cast<uint16_t>(size);
    const bool changed = validate(&gPresets[i]);
    storePresets();
    debugPrintf(0, "nozpresetSetNozzleSizeIx( %u %u ), Changed=%u\n\r", static_cast<unsigned>(i),
                static_cast<unsigned>(size), changed ? 1u : 0u);
    return 1;
}

uint32_t nozpresetSetNozzleTargetRate(uint32_t i, uint32_t rate)
{
    if (i >= NOZPRESET_COUNT)
        return 0;
    debugPrintf(0, "nozpresetSetNozzleTargetRate( %u %u ) ", static_cast<unsigned>(i), static_cast<unsigned>(rate));
    uint32_t stored = rate;
    const uint32_t d = densityFactor();
    // Without a density factor the rate is kept as given rather than divided by 0.
    if (gDensityMode && d != 0) {
        stored = (rate * 100 + d / 2) / d;
        debugPrintf(0, "Den = %u ", static_cast<unsigned>(d));
    }
    gPresets[i].targetRate = static_cast<uint16_t>(stored);
    storePresets();
    debugPrintf(0, "%lu\n\r", static_cast<unsigned long>(gPresets[i].targetRate));
    return 1;
}

uint32_t nozpresetTargetRate(uint32_t i)
{
    if (i >= NOZPRESET_COUNT)
        return 0;
    const uint32_t rate = gPresets[i].targetRate;
    const uint32_t d = densityFactor();
    return (gDensityMode && d != 0) ? ((d * rate + 50) / 100) & 0xFFFF : rate;
}

uint32_t nozpresetRefPressure(uint32_t i)
{
    return i < NOZPRESET_COUNT ? nozinfoRefPressure(gPresets[i].type, gPresets[i].size, 0) : 0;
}

uint32_t nozpresetSizeCode(uint32_t i)
{
    return i < NOZPRESET_COUNT ? nozinfoSizeCode(gPresets[i].type, gPresets[i].size) : 0;
}

uint32_t nozpresetSystemRefFlow(uint32_t i)
{
    return i < NOZPRESET_COUNT ? nozinfoSystemRefFlow(gPresets[i].type, gPresets[i].size, 0) : 0;
}

uint32_t nozpresetPressureLimit(uint32_t i, uint32_t flags)
{
    return i < NOZPRESET_COUNT ? nozinfoPressureLimit(gPresets[i].type, gPresets[i].size, flags) : 0;
}

uint32_t nozpresetDropletCode(uint32_t i, uint32_t pressure)
{
    return i < NOZPRESET_COUNT ? nozinfoDropletCode(gPresets[i].type, gPresets[i].size, pressure)
                               : NOZZLE_NO_DROPLET_CODE;
}

uint32_t nozpresetDropletPressureBand(uint32_t i, uint32_t code, uint32_t* out, uint32_t flag)
{
    return i < NOZPRESET_COUNT ? nozinfoDropletPressureBand(gPresets[i].type, gPresets[i].size, code, out, flag)
                               : 0;
}
