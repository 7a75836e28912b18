#include "cntexport.h"

#include "alarm.h"
#include "alarmdefs.h"
#include "counters.h"
#include "datastore.h"
#include "dscatalogue.h"
#include "eventids.h"
#include "eventqueue.h"
#include "filefunc.h"
#include "greyfellcommon.h"
#include "mempool.h"
#include "unitquantities.h"
#include "units.h"

#include <QObject>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// Room for long translations and counters of ten digits; a text that still
// does not fit fails the export instead of being cut.
constexpr uint32_t kBufferBytes = 4096;

// Appends to a zero-terminated text, never past its capacity; once anything
// did not fit, every later append fails too.
class TextBuffer {
public:
    TextBuffer(char* buffer, uint32_t capacity) : mBuffer(buffer), mCapacity(capacity) { mBuffer[0] = '\0'; }

    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (!mFits)
            return;
        va_list args;
        va_start(args, format);
        const int n = vsnprintf(mBuffer + mUsed, mCapacity - mUsed, format, args);
        va_end(args);
        if (n < 0 || static_cast<uint32_t>(n) >= mCapacity - mUsed) {
            mFits = false;
            mBuffer[mUsed] = '\0';
            return;
        }
        mUsed += static_cast<uint32_t>(n);
    }
    bool fits() const { return mFits; }

private:
    char* mBuffer;
    uint32_t mCapacity;
    uint32_t mUsed = 0;
    bool mFits = true;
};

bool flag(uint32_t id)
{
    return datastoreGetAsInt32(id) != 0;
}

QByteArray caption(const char* text)
{
    return QObject::tr(text).toLatin1();
}

struct Captions {
    QByteArray applied, area, distance;
};

Captions captions()
{
    const bool nh3 = flag(DS_NH3_MODE);
    Captions c;
    if (unitGetSystem() == 0) {
        c.applied = nh3 ? caption("Applied (kgN)") : caption("Applied (l)");
        c.area = caption("Area (ha)");
        c.distance = caption("Distance (m)");
    } else {
        c.applied = nh3 ? caption("Applied (lbN)") : caption("Applied (gal)");
        c.area = !nh3 && flag(DS_TURF_UNITS) ? caption("Area (1000 sq ft)") : caption("Area (ac)");
        c.distance = caption("Distance (ft)");
    }
    return c;
}

double display(uint32_t q, uint32_t item, uint32_t scaleOf)
{
    const uint32_t scale = unitGetScale(scaleOf);
    return static_cast<double>(static_cast<float>(unitBaseToDisplay(q, datastoreGetAsInt32(item))) /
                               static_cast<float>(scale == 0 ? 1 : scale));
}

// The campaign or total line: blank first field, applied, area, hours:minutes.
void counterLine(TextBuffer& text, uint32_t volumeItem, uint32_t volumeQ, uint32_t massQ, uint32_t areaItem,
                 uint32_t areaQ, uint32_t timeItem)
{
    const uint32_t appliedQ = flag(DS_NH3_MODE) ? massQ : volumeQ;
    const uint32_t areaDisplayQ = flag(DS_TURF_UNITS) ? static_cast<uint32_t>(UQ_AREA_TURF) : areaQ;
    const uint32_t seconds = static_cast<uint32_t>(datastoreGetAsInt32(timeItem));
    text.printf(" ;%8.0f;%8.02f;%8ld:%02d\r\n", display(appliedQ, volumeItem, appliedQ),
                display(areaDisplayQ, areaItem, areaQ), static_cast<long>(seconds / 3600),
                static_cast<int>(seconds % 3600 / 60));
}

// Writes the whole text into a new file; a partial file is removed again.
bool writeFile(const std::string& path, const char* text)
{
    const int fd = openFile(path, FILE_MODE_WRITE_TRUNCATE);
    if (fd < 0)
        return false;
    bool ok = fileWrite(fd, text, strlen(text));
    ok = fileClose(fd) && ok;
    if (!ok)
        fileDelete(path);
    return ok;
}

}  // namespace

bool cntExportBuildText(char* buffer, uint32_t capacity)
{
    if (buffer == nullptr || capacity == 0)
        return false;
    TextBuffer text(buffer, capacity);
    const Captions c = captions();
    const QByteArray time = caption("Time Counter");

    text.printf("%s;%s;%s;%s;%s\r\n", caption("Job Counter Number").constData(), c.applied.constData(),
                c.area.constData(), c.distance.constData(), time.constData());
    const uint32_t active = static_cast<uint32_t>(datastoreGetAsInt32(DS_ACTIVE_JOB_NUMBER));
    for (uint32_t job = 0; job < TRIPCNT_TEMPORARY_JOB; ++job) {
        if (job == active)
            tripCntSaveJob();
        text.printf("%s", tripCntFormatJobLine(job));
    }

    text.printf("\r\n%s;%s;%s;%s\r\n", caption("Campaign Counter").constData(), c.applied.constData(),
                c.area.constData(), time.constData());
    counterLine(text, DS_CAMPAIGN_VOLUME, UQ_CAMPAIGN_VOLUME, UQ_CAMPAIGN_MASS, DS_CAMPAIGN_AREA, UQ_CAMPAIGN_AREA,
                DS_CAMPAIGN_TIME);

    text.printf("\r\n%s;%s;%s;%s\r\n", caption("Total Counter").constData(), c.applied.constData(),
                c.area.constData(), time.constData());
    counterLine(text, DS_TOTAL_VOLUME, UQ_TOTAL_VOLUME, UQ_TOTAL_MASS, DS_TOTAL_AREA, UQ_TOTAL_AREA,
                DS_TOTAL_TIME);

    if (!text.fits())
        buffer[0] = '\0';
    return text.fits();
}

bool cntExportSave()
{
    const MemHandle handle = memCalloc(1, kBufferBytes);
    char* buffer = static_cast<char*>(memHandleToPtr(handle));
    if (buffer == nullptr)
        return false;
    // Without a stick the file would be written into an empty mount directory.
    const bool stick = isDirectory(GreyfellCommon::usbRootPath().toStdString());
    const QString path = GreyfellCommon::uniqueUsbFileName("cntdata", ".csv");
    const bool ok = cntExportBuildText(buffer, kBufferBytes) && stick && !path.isEmpty() &&
                    writeFile(path.toStdString(), buffer);
    if (!ok)
        alarmRaise(FILESYSTEM_SAVE_ERROR);
    memFree(handle);
    return ok;
}

void cntExportCsv(uint32_t id, uint32_t)
{
    if (id == EV_SAVE_COUNTERS_CSV_NEW)
        fileDelete("CNTDATA.CSV");
    eventPost(EV_OWNER_PERIODIC, EV_COUNTERS_CSV_SAVED, cntExportSave() ? 1 : 0);
}
