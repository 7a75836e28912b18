#include "processcan.h"

#include "datalogcan.h"
#include "sectrix.h"
#include "threadfunc.h"

namespace {

enum : uint32_t { CAN_CHANNEL = 0, IDLE_RETRY_MS = 10 };

}  // namespace

void canReceiveDispatch(uint32_t role, const CanFrame& frame)
{
    if (frame.extended == 0)
        return;
    if (role == CAN_ROLE_SECTRIX)
        sectrixOnCanFrame(&frame);
    else if (role == CAN_ROLE_FLOW_LINK)
        datalogCanReceive(&frame);
}

void canReceiveTask(uint32_t role)
{
    threadfunc::setThreadName("can-receive");
    for (;;) {
        CanFrame frame = {};
        // The channel's driver blocks until a frame comes; should it ever
        // answer at once without one, the task still waits before asking again.
        if (canioReceiveFrame(CAN_CHANNEL, &frame) == 0) {
            threadfunc::sleep(IDLE_RETRY_MS);
            continue;
        }
        canReceiveDispatch(role, frame);
    }
}
