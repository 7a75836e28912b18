#pragma once
// The nozzle data of the core on top of the screen fixture: the catalogue
// without custom values and the five presets at their defaults (type 3,
// sizes 0 to 4), preset 0 active.
#include "dscatalogue.h"
#include "nozinfo.h"
#include "nozpreset.h"
#include "screen_fixture.h"

#include <doctest/doctest.h>

struct NozzleFixture : ScreenFixture {
    explicit NozzleFixture(uint32_t system = UNIT_SYSTEM_METRIC) : ScreenFixture(system)
    {
        REQUIRE(nozinfoInit(1) == 1);
        // A reset keeps presets that were set since start-up: set them here.
        nozpresetInit(1);
        for (uint32_t i = 0; i < NOZPRESET_COUNT; ++i)
            setPreset(i, 3, i);
        setItem(DS_CURRENT_TIP_PRESET, 0);
    }
    // Preset i gets the tip of that series and size index.
    static void setPreset(uint32_t preset, uint32_t series, uint32_t size)
    {
        REQUIRE(nozpresetSetNozzleType(preset, series) == 1);
        REQUIRE(nozpresetSetNozzleSizeIx(preset, size) == 1);
    }
};
