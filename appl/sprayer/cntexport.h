#pragma once
// The counter export: the ten jobs, the campaign and the totals as one
// semicolon-separated file "cntdata.csv" (then "cntdata(2).csv", ...) in the
// root of the USB stick, CR LF line ends, captions in the operator's units.
// GUI thread, from the counters' link in the event chain.
#include <cstdint>
#include <string>

// EV_SAVE_COUNTERS_CSV (279), or EV_SAVE_COUNTERS_CSV_NEW (278), which first
// deletes "CNTDATA.CSV" in the working directory. Posts EV_COUNTERS_CSV_SAVED
// with 1 only when the whole file reached the stick; a file that cannot be
// created or written completely raises FILESYSTEM_SAVE_ERROR (34).
// Handed to the counters with tripCntSetExports at start-up.
void cntExportCsv(uint32_t id, uint32_t argument);
// The export itself; true when written.
bool cntExportSave();
// The file's text into a buffer of capacity bytes; false (and an empty text)
// when it does not fit whole.
bool cntExportBuildText(char* buffer, uint32_t capacity);
