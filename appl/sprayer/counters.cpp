#include "counters.h"

#include "cmdrunner.h"
#include "datastore.h"
#include "eventids.h"
#include "eventqueue.h"
#include "pulsinput.h"
#include "unitquantities.h"
#include "units.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kJobDataSize = TRIPCNT_JOB_COUNT * sizeof(JobRecord);
static_assert(kJobDataSize == 264, "DS_JOB_DATA holds eleven records");
constexpr uint32_t kStaggeredSteps = 10;
constexpr uint32_t kStaggeredStepMs = 5000;

double jobStartTimeMs;
uint16_t staggeredSaveIndex;
TripCntPdfExport pdfExport;
TripCntCsvExport csvExport;

uint32_t activeJob()
{
    return static_cast<uint32_t>(datastoreGetAsInt32(DS_ACTIVE_JOB_NUMBER));
}

uint32_t tripBase(uint32_t trip)
{
    int32_t value = 0;
    pulsGetTripValueBase(trip, &value);
    return static_cast<uint32_t>(value);
}

// The store copies the trip counters only every 10 s. Whenever a job record is
// written they are handed over at once, so that they reach the file in the same
// write as the job data and the active job number: a power cut in between would
// otherwise restart a newly loaded job with the old job's counters, or leave a
// saved record ahead of the counters it was saved from.
void storeJobTrips()
{
    for (uint32_t item : {DS_COUNTER_7_STATE, DS_COUNTER_16_STATE, DS_COUNTER_19_STATE, DS_COUNTER_22_STATE})
        datastoreRefreshItem(item, datastoreGetSize(item), 0);
}

}  // namespace

uint32_t tripCntJobDataSize()
{
    return kJobDataSize;
}

void tripCntSetExports(TripCntPdfExport pdf, TripCntCsvExport csv)
{
    pdfExport = pdf;
    csvExport = csv;
}

void tripCntTransfer(JobRecord* record, uint32_t mode)
{
    if (mode == 0) {
        record->applied = tripBase(TRIP_JOB_VOLUME);
        record->area = tripBase(TRIP_JOB_AREA);
        record->distance = tripBase(TRIP_JOB_DISTANCE);
        record->timeS = tripBase(TRIP_JOB_TIME);
        return;
    }
    pulsSetCounterMode(TRIP_JOB_VOLUME, static_cast<int32_t>(record->applied), 0);
    pulsSetCounterMode(TRIP_JOB_AREA, static_cast<int32_t>(record->area), 0);
    pulsSetCounterMode(TRIP_JOB_DISTANCE, static_cast<int32_t>(record->distance), 0);
    pulsSetCounterMode(TRIP_JOB_TIME, static_cast<int32_t>(record->timeS), 0);
    jobStartTimeMs = record->startTimeMs;
}

uint32_t tripCntJobRecord(uint32_t job, uint32_t mode)
{
    if (job >= TRIPCNT_JOB_COUNT)
        return DS_ERR_ID;
    JobRecord records[TRIPCNT_JOB_COUNT];
    datastoreGetData(DS_JOB_DATA, records);
    JobRecord& record = records[job];
    if (mode == TRIPCNT_CLEAR) {
        record = JobRecord{};
        tripCntTransfer(&record, 1);
    } else if (mode == TRIPCNT_LOAD) {
        tripCntTransfer(&record, 1);
    } else {
        tripCntTransfer(&record, 0);
    }
    storeJobTrips();
    return datastoreSetData(DS_JOB_DATA, records);
}

void tripCntInit(bool storeWasNew)
{
    if (storeWasNew) {
        for (uint32_t job = 0; job < TRIPCNT_JOB_COUNT; ++job)
            tripCntJobRecord(job, TRIPCNT_CLEAR);
        datastoreSetFromUint32(DS_ACTIVE_JOB_NUMBER, 0);
        return;
    }
    const uint32_t active = activeJob();
    if (active == TRIPCNT_TEMPORARY_JOB)
        datastoreSetFromUint32(DS_JOB_NUMBER_REQUEST, static_cast<uint32_t>(datastoreGetAsInt32(DS_PREVIOUS_JOB_NUMBER)));
    else if (active > TRIPCNT_TEMPORARY_JOB)
        datastoreSetFromUint32(DS_ACTIVE_JOB_NUMBER, 0);
}

void tripCntSelectJob()
{
    uint32_t requested = static_cast<uint32_t>(datastoreGetAsInt32(DS_JOB_NUMBER_REQUEST));
    if (requested > TRIPCNT_TEMPORARY_JOB)
        requested = 0;
    tripCntJobRecord(activeJob(), TRIPCNT_SAVE);
    tripCntJobRecord(requested, TRIPCNT_LOAD);
    datastoreSetFromUint32(DS_ACTIVE_JOB_NUMBER, requested);
}

void tripCntClearJob()
{
    tripCntJobRecord(activeJob(), TRIPCNT_CLEAR);
}

void tripCntSaveJob()
{
    tripCntJobRecord(activeJob(), TRIPCNT_SAVE);
}

void tripCntStaggeredSave()
{
    if (staggeredSaveIndex >= kStaggeredSteps) {
        staggeredSaveIndex = 0;
        return;
    }
    if (activeJob() == staggeredSaveIndex)
        tripCntSaveJob();
    ++staggeredSaveIndex;
    timerStartOneShot(EV_OWNER_PERIODIC, EV_COUNTER_TIMER, kStaggeredStepMs);
}

void tripCntStampJobStart()
{
    if (jobStartTimeMs != 0.0)
        return;
    const struct timespec now = cmdWallClockNow();
    jobStartTimeMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec / 1000) / 1000.0;
    const uint32_t job = activeJob();
    if (job >= TRIPCNT_JOB_COUNT)
        return;
    JobRecord records[TRIPCNT_JOB_COUNT];
    datastoreGetData(DS_JOB_DATA, records);
    records[job].startTimeMs = jobStartTimeMs;
    datastoreSetData(DS_JOB_DATA, records);
}

namespace {

// A base value of one quantity shown in the display unit of q, scaled by another quantity's scale.
float displayValue(uint32_t q, uint32_t value, uint32_t scaleOf)
{
    const uint32_t scale = unitGetScale(scaleOf);
    return static_cast<float>(unitBaseToDisplay(q, static_cast<int32_t>(value))) /
           static_cast<float>(scale == 0 ? 1 : scale);
}

}  // namespace

const char* tripCntFormatJobLine(uint32_t job)
{
    static char line[128];
    line[0] = '\0';
    if (job >= TRIPCNT_JOB_COUNT)
        return line;
    JobRecord records[TRIPCNT_JOB_COUNT];
    datastoreGetData(DS_JOB_DATA, records);
    const JobRecord& record = records[job];
    const uint32_t appliedQ = datastoreGetAsInt32(DS_NH3_MODE) != 0 ? UQ_JOB_MASS : UQ_JOB_VOLUME;
    const uint32_t areaQ = datastoreGetAsInt32(DS_TURF_UNITS) != 0 ? UQ_AREA_TURF : UQ_JOB_AREA;
    snprintf(line, sizeof line, "%02d;%8.0f;%8.02f;%8.0f;%8ld:%02d\r\n", static_cast<int>(job + 1),
             static_cast<double>(displayValue(appliedQ, record.applied, appliedQ)),
             static_cast<double>(displayValue(areaQ, record.area, UQ_JOB_AREA)),
             static_cast<double>(displayValue(UQ_JOB_DISTANCE, record.distance, UQ_JOB_DISTANCE)),
             static_cast<long>(record.timeS / 3600), static_cast<int>(record.timeS % 3600 / 60));
    return line;
}

char* tripCntAppendJobLines(char* text, size_t capacity)
{
    if (text == nullptr || capacity == 0)
        return text;
    const uint32_t active = activeJob();
    for (uint32_t job = 0; job < TRIPCNT_TEMPORARY_JOB; ++job) {
        if (job == active)
            tripCntSaveJob();
        // Whole lines only: a line that does not fit ends the list.
        const size_t used = strnlen(text, capacity - 1);
        const char* line = tripCntFormatJobLine(job);
        if (used + strlen(line) >= capacity)
            break;
        memcpy(text + used, line, strlen(line) + 1);
    }
    return text;
}

uint32_t tripCntHandleEvent(uint32_t id, uint32_t argument)
{
    switch (id) {
    case EV_SAVE_JOB_PDF: {
        const bool saved = pdfExport != nullptr && pdfExport(argument);
        eventPost(EV_OWNER_PERIODIC, EV_JOB_PDF_SAVED, saved ? 1 : 0);
        return saved ? 1 : 0;
    }
    case EV_SAVE_COUNTERS_CSV_NEW:
    case EV_SAVE_COUNTERS_CSV:
        if (csvExport != nullptr)
            csvExport(id, argument);
        else
            eventPost(EV_OWNER_PERIODIC, EV_COUNTERS_CSV_SAVED, 0);
        return 0;
    default:
        return 0;
    }
}
