// The CAN receive thread waits when its channel gives nothing, instead of
// asking again at once.
#include <doctest/doctest.h>

#include "canio.h"
#include "core_env.h"
#include "kernel.h"
#include "processcan.h"
#include "test_wait.h"
#include "threadfunc.h"

TEST_CASE("a channel that answers at once without a frame does not make the task spin")
{
    coreTestWorkDir();
    // A channel table without channel 0: every receive returns at once with nothing.
    REQUIRE(canioInit(1) == 1);
    CanFrame frame{};
    REQUIRE(canioReceiveFrame(0, &frame) == 0);

    const double before = processCpuSeconds();
    REQUIRE(kernelTaskCreateStack(20, canReceiveTask, CAN_ROLE_SECTRIX, 65536, __FILE__, __LINE__) != 0);
    threadfunc::sleep(1000);
    const double used = processCpuSeconds() - before;
    // A spinning task would use about the whole second.
    CHECK(used < 0.3);
}
