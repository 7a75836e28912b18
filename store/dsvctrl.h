#pragma once
// Version check of the stored image: compares the stored layout version and
// application path with the build's and runs the application defaults and
// migrations when they differ. The new version is recorded at the first update.
#include <cstdint>

enum : uint32_t {
    DSVCTRL_VERSION = 14,
    DSVCTRL_REVISION = 5,
    DSVCTRL_PATH_SIZE = 49,
};

// Zero-padded to the 49 bytes of the path item.
extern const char dsvctrlApplicationPath[];

// 1 when the application defaults ran and the version items are to be written.
uint32_t dsvctrlCheckVersion();
// Part of every update while the check returned 1: writes the version items once.
void dsvctrlSetDefaults();
