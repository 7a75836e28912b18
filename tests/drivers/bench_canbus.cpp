// Floods channel 0 through the stand-in bus with extended 8-byte frames and
// reports what the receiver got, what it lost and the CPU time it used.
//   bench_canbus [seconds=30] [frames per second=2000]
#include "can_peer.h"
#include "canio.h"
#include "socketcan.h"
#include "test_root.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <sched.h>
#include <thread>

namespace {

std::atomic<bool> stopReceiving{false};
std::atomic<uint32_t> framesReceived{0};
std::atomic<uint32_t> framesOutOfOrder{0};
std::atomic<uint32_t> firstGapAt{0xFFFFFFFF};

void receiveLoop()
{
    uint32_t expected = 0;
    CanFrame frame{};
    while (!stopReceiving) {
        if (canioReceiveFrame(0, &frame) != 1) {
            sleepMilliseconds(1);  // port closed: do not spin until told to stop
            continue;
        }
        const uint32_t sequence = frame.data[0] | (frame.data[1] << 8) | (frame.data[2] << 16) |
                                  (static_cast<uint32_t>(frame.data[3]) << 24);
        if (sequence < expected)
            ++framesOutOfOrder;
        else if (sequence > expected && firstGapAt == 0xFFFFFFFF)
            firstGapAt = expected;
        expected = sequence + 1;
        ++framesReceived;
    }
}

double threadCpuSeconds(pthread_t thread)
{
    clockid_t clock;
    struct timespec used = {0, 0};
    if (pthread_getcpuclockid(thread, &clock) == 0)
        clock_gettime(clock, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? std::atol(argv[1]) : 30;
    const long rate = argc > 2 ? std::atol(argv[2]) : 2000;
    if (seconds <= 0 || rate <= 0 || rate > 1000000) {
        std::fprintf(stderr, "usage: bench_canbus [seconds] [frames per second]\n");
        return 2;
    }
    TestRoot root;
    if (canioInit(1) != 1 || canioInitChannel(0, socketCANdriver, 0, 0) != 1) {
        std::fprintf(stderr, "bench_canbus: channel 0 did not open\n");
        return 1;
    }
    CanPeer peer("can0");
    if (!peer.isOpen()) {
        std::fprintf(stderr, "bench_canbus: no peer socket\n");
        return 1;
    }
    std::thread receiver(receiveLoop);
    // The console's CAN receive thread runs at real-time priority 79 (API priority 20).
    struct sched_param param = {};
    param.sched_priority = 79;
    const bool realTime = pthread_setschedparam(receiver.native_handle(), SCHED_RR, &param) == 0;

    const long long total = static_cast<long long>(seconds) * rate;
    const long intervalNs = 1000000000L / rate;
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    const long long startMs = monotonicMs();
    for (long long sequence = 0; sequence < total; ++sequence) {
        struct can_frame frame = rawFrame(
            0x18EFFFC0 | CAN_EFF_FLAG,
            {static_cast<int>(sequence & 0xFF), static_cast<int>((sequence >> 8) & 0xFF),
             static_cast<int>((sequence >> 16) & 0xFF), static_cast<int>((sequence >> 24) & 0xFF),
             0xA5, 0x5A, 0xFF, 0x00});
        peer.send(frame);
        next.tv_nsec += intervalNs;
        while (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
    const long long sendMs = monotonicMs() - startMs;
    sleepMilliseconds(500);  // let the receiver take what is still queued

    const double cpu = threadCpuSeconds(receiver.native_handle());
    stopReceiving = true;
    canioClose(0);
    receiver.join();

    const uint32_t received = framesReceived.load();
    std::printf("frames sent:        %lld in %.2f s (%ld per second, extended, 8 bytes)\n", total,
                sendMs / 1000.0, rate);
    std::printf("frames received:    %u\n", received);
    std::printf("frames lost:        %lld (%.3f %%)\n", total - received,
                100.0 * static_cast<double>(total - received) / static_cast<double>(total));
    std::printf("frames out of order: %u\n", framesOutOfOrder.load());
    if (firstGapAt != 0xFFFFFFFF)
        std::printf("first frame lost:   number %u\n", firstGapAt.load());
    std::printf("receiver CPU time:  %.3f s (%.2f %% of one core), %s\n", cpu,
                100.0 * cpu / (sendMs / 1000.0),
                realTime ? "SCHED_RR 79 as in the console" : "ordinary scheduling");
    return 0;
}
