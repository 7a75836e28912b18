#pragma once
// The console board's hardware revision, told by a resistor divider on ADC
// channel 1. The first call measures (about 0.6 s); later calls return the
// stored result.
#include <cstdint>

// Returns 1 when a revision was found. `revision` receives it (0 when none) and
// `text` "0.23" for revision 23, or "NOT DEF." (at most 12 characters and the
// terminating zero; nothing is written beyond it).
// Either output may be null. Needs the ADC started (SetMinMax).
int hwRevisionDetect(uint32_t* revision, char* text);

// The revision table: 1 and the revision of the first row whose raw range holds
// `average`, else 0.
int hwRevisionLookup(uint32_t average, uint32_t* revision);
