#include "bench_identify.h"

namespace {
int gCalls = 0;
}  // namespace

int benchTestIdentify(BenchRequest request, BenchReply* reply)
{
    if (request.command != 0x0000)
        return 0;
    if (request.phase == BENCH_PHASE_CHECK_COMMAND) {
        reply->status = BENCH_REPLY_COMMAND_ACCEPTED;
    } else if (request.phase == BENCH_PHASE_CHECK_LENGTH) {
        reply->status = request.length == 1 ? BENCH_REPLY_LENGTH_ACCEPTED : BENCH_REPLY_LENGTH_REFUSED;
    } else {
        ++gCalls;
        const uint8_t answer[2] = {160, 15};
        benchSetReplyFrame(reply, 0x0001, answer, 2);
    }
    return 1;
}

int benchTestIdentifyCalls()
{
    return gCalls;
}
