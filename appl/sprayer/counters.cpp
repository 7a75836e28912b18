#include "counters.h"

#include "cmdrunner.h"
#include "datastore.h"
#include "eventids.h"
#include "eventqueue.h"
#include "pulsinput.h"

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
