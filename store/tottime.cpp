#include "tottime.h"

#include <memory>
#include <string>
#include <vector>

#include "cdebug.h"
#include "datastore.h"
#include "filefunc.h"
#include "threadfunc.h"

namespace {

constexpr uint32_t updatePeriodMs = 5000;
constexpr uint32_t taskPriority = 99;

// The state is seeded before the task starts and then touched by the task alone.
struct TotalTime {
    std::string path;
    uint32_t item = 0;
    uint32_t offset = 0;
    uint32_t last = 0;
    bool initialised = false;
};

TotalTime state;

// The text of a total is a few digits; a file far beyond that is no total file.
constexpr uint32_t maxFileSize = 65536;

uint32_t readFileTotal(const std::string& path)
{
    const int fd = openFileRead(path);
    if (fd < 0)
        return 0;
    uint32_t size = 0;
    uint32_t total = 0;
    if (fileSize(fd, &size) && size > maxFileSize) {
        CDEBUG_LOG(CDebugLevel::WAR, "cInitFile", "%s holds %u bytes, no total: ignored", path.c_str(), size);
    } else if (size > 0) {
        // Leading zeros may take any part of the file: the number is read whole.
        std::vector<char> text(size);
        if (fileRead(fd, text.data(), size))
            total = totalTimeParse(text.data(), size);
    }
    fileClose(fd);
    return total;
}

class UpdateTask : public threadfunc::TimerThread {
public:
    UpdateTask() : threadfunc::TimerThread(taskPriority, updatePeriodMs, true) { setName("total-time"); }
    ~UpdateTask() override { finish(); }

protected:
    void onTimer() override
    {
        const uint32_t item = datastoreGetUint32(state.item);
        const uint32_t total = item + state.offset;
        if (total == state.last)
            return;
        if (total < state.last) {
            // The item went down: carry on from the recorded total.
            state.offset = state.last - item;
            return;
        }
        state.last = total;
        // Replaced whole: an older, longer text never leaves digits behind, and
        // a medium that fails part-way keeps the previous total. A failed write
        // is tried again at the next increase.
        fileReplace(state.path, std::to_string(total));
    }
};

std::unique_ptr<UpdateTask> task;

} // namespace

uint32_t totalTimeParse(const char* text, uint32_t length)
{
    uint64_t total = 0;
    for (uint32_t i = 0; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        total = total * 10 + static_cast<uint32_t>(text[i] - '0');
        if (total > UINT32_MAX)
            return UINT32_MAX;
    }
    return static_cast<uint32_t>(total);
}

uint32_t totalTimeFileInit(const char* path, uint32_t itemId)
{
    task.reset();
    if (!state.initialised) {
        state.item = itemId;
        state.path = path;
    }
    const uint32_t fileTotal = readFileTotal(state.path);
    const uint32_t current = datastoreGetUint32(state.item);
    if (fileTotal < current) {
        state.offset = 0;
        state.last = current;
    } else {
        state.last = fileTotal;
        state.offset = fileTotal - current;
    }
    state.initialised = true;
    task.reset(new UpdateTask());
    task->start();
    return 1;
}

void totalTimeFileStop()
{
    task.reset();
    state = TotalTime{};
}
