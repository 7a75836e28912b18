#include "tottime.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

uint32_t readFileTotal(const std::string& path)
{
    const int fd = openFileRead(path);
    if (fd < 0)
        return 0;
    struct stat info {};
    uint32_t total = 0;
    if (fstat(fd, &info) == 0 && info.st_size > 0) {
        // The parse stops at the first non-digit and saturates long before 64
        // digits, so the head of a larger file gives the same total.
        const size_t head = info.st_size < 64 ? static_cast<size_t>(info.st_size) : 64;
        std::vector<char> text(head);
        ssize_t n;
        do {
            n = pread(fd, text.data(), text.size(), 0);
        } while (n < 0 && errno == EINTR);
        if (n > 0)
            total = totalTimeParse(text.data(), static_cast<uint32_t>(n));
    }
    close(fd);
    return total;
}

class UpdateTask : public threadfunc::TimerThread {
public:
    UpdateTask() : threadfunc::TimerThread(taskPriority, updatePeriodMs, true)
    {
        mFd = openFile(state.path, FILE_MODE_READ_WRITE);
    }
    ~UpdateTask() override
    {
        finish();
        if (mFd >= 0)
            close(mFd);
    }

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
        if (mFd < 0)
            mFd = openFile(state.path, FILE_MODE_READ_WRITE);
        if (mFd < 0)
            return;
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(total));
        if (pwrite(mFd, text, static_cast<size_t>(length), 0) == length)
            fdatasync(mFd);
    }

private:
    int mFd = -1;
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
