#pragma once
// Jobs: ten operator jobs (0-9) and one temporary job (10), kept as records in
// the persistent item DS_JOB_DATA and exchanged with the job trip counters of
// the pulse-input module when the operator switches, saves or clears a job.
// The campaign and total counters have no records; they live in the pulse-input
// module. GUI thread only.
#include <cstddef>
#include <cstdint>

// One job, 24 bytes little-endian as stored in DS_JOB_DATA.
struct JobRecord {
    uint32_t timeS;      // working time in s (trip 22)
    uint32_t area;       // 1/100 ha (trip 19)
    uint32_t applied;    // litres, kilograms in NH3 mode (trip 7)
    uint32_t distance;   // metres (trip 16)
    double startTimeMs;  // wall clock at the job's first counting, ms since 1970; 0 = not started
};
static_assert(sizeof(JobRecord) == 24, "a job record is 24 bytes in DS_JOB_DATA");

enum : uint32_t {
    TRIPCNT_JOB_COUNT = 11,
    TRIPCNT_TEMPORARY_JOB = 10,
    TRIPCNT_SAVE = 0,
    TRIPCNT_CLEAR = 1,
    TRIPCNT_LOAD = 2,
    // Trip counters of the active job.
    TRIP_JOB_VOLUME = 7,
    TRIP_JOB_DISTANCE = 16,
    TRIP_JOB_AREA = 19,
    TRIP_JOB_TIME = 22,
};

// At process start; storeWasNew: the datastore was created afresh.
void tripCntInit(bool storeWasNew);
// Saves the active job and loads the one in DS_JOB_NUMBER_REQUEST (0 when above 10).
void tripCntSelectJob();
void tripCntClearJob();
void tripCntSaveJob();
// One step of the staggered save: ten steps 5 s apart, saving the active job once.
void tripCntStaggeredSave();
// Stamps the active job's start time unless it has one.
void tripCntStampJobStart();
// mode TRIPCNT_SAVE, TRIPCNT_CLEAR or TRIPCNT_LOAD on record job; the result of
// writing DS_JOB_DATA (job above 10: 2, nothing done).
uint32_t tripCntJobRecord(uint32_t job, uint32_t mode);
// mode 0 reads the job trip counters into the record, 1 loads them from it.
void tripCntTransfer(JobRecord* record, uint32_t mode);
// The job's export line ("01;     ...\r\n") in a module buffer, overwritten by the next call.
const char* tripCntFormatJobLine(uint32_t job);
// Appends the lines of jobs 1 to 10 (saving the active one first) to the
// zero-terminated text in a buffer of capacity bytes, never past its end.
char* tripCntAppendJobLines(char* text, size_t capacity);
// The counters' link in the event chain: the job PDF and counter CSV exports.
uint32_t tripCntHandleEvent(uint32_t id, uint32_t argument);
uint32_t tripCntJobDataSize();

// The exports that run from the event chain, handed in by their modules at
// start-up: the job report (true when written) and the counter export (called
// with the event id, 278 or 279, and its argument).
typedef bool (*TripCntPdfExport)(uint32_t job);
typedef void (*TripCntCsvExport)(uint32_t id, uint32_t argument);
void tripCntSetExports(TripCntPdfExport pdf, TripCntCsvExport csv);
