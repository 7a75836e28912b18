#include "processpower.h"

#include "dsvalue.h"
#include "io_if.h"
#include "processstate.h"
#include "threadfunc.h"

namespace {

enum : uint32_t { PAGE_DIAGNOSTICS = 1, SECTION_MODE_ALL = 3 };

// A one-shot on the program's monotonic clock, so that the wait follows the
// clock a test drives.
class OneShotWait : public threadfunc::TTimerBase {
public:
    ~OneShotWait() override { detach(); }
    void waitMs(uint32_t ms)
    {
        startOneShot(ms);
        mDone.wait();
    }

protected:
    void expire() override { mDone.post(); }

private:
    threadfunc::semaphore mDone;
};

}  // namespace

void processPowerDown()
{
    io_ifBacklightOff();
    dsStore(DS_PAGE_MODE, PAGE_DIAGNOSTICS);
    io_ifSetValveOutputs(IO_IF_VALVE_FILL, 0);
    io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 0);
    const uint16_t noSections[SECTION_MASK_WORDS] = {};
    io_ifSetSectionOutputs(SECTION_MODE_ALL, noSections);
    OneShotWait wait;
    wait.waitMs(POWER_DOWN_WAIT_MS);
    io_ifPowerOff();
}
