// Figures of the production-test responder: the time to receive, check, dispatch
// and answer one identification request on an in-memory port, and the round
// trip over a pseudo-terminal with the main loop's 10 ms tick.
#include "comlinux.h"
#include "comport.h"
#include "doubles/bench_identify.h"
#include "doubles/memcom.h"
#include "seriallink.h"
#include "standin_serial.h"
#include "test_root.h"
#include "threadfunc.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

const std::string kRequest("\x00\x00\x01\x00\x01\x00", 6);
const size_t kAnswerSize = 9;

double seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const long requests = argc > 1 ? std::atol(argv[1]) : 200000;
    const long trips = argc > 2 ? std::atol(argv[2]) : 200;
    TestRoot root;

    comportInit();
    memcomReset();
    comportRegister(1, memcomDriver, 100, 100, nullptr, nullptr, 1);
    benchBindPort(1);
    benchRegisterHandler(benchTestIdentify);
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < requests; ++i) {
        memcomFeed(1, kRequest);
        benchProtocolTick();
        if (memcomTakeOutput(1).size() != kAnswerSize) {
            std::fprintf(stderr, "request %ld was not answered\n", i);
            return 1;
        }
    }
    const double memory = seconds(std::chrono::steady_clock::now() - start);
    std::printf("in-memory port: %ld requests, %.2f us per request\n", requests, memory / requests * 1e6);

    StandinSerial serial;
    if (!serial.create(root.dir())) {
        std::fprintf(stderr, "no pseudo-terminals\n");
        return 1;
    }
    comportRegister(0, comLinuxDriver, 1000, 8000, nullptr, nullptr, 0);
    benchBindPort(0);
    bool running = true;
    std::thread loop([&] {
        while (running) {
            threadfunc::sleep(10);
            benchProtocolTick();
        }
    });
    double total = 0, worst = 0;
    for (long i = 0; i < trips; ++i) {
        start = std::chrono::steady_clock::now();
        if (write(serial.master(0), kRequest.data(), kRequest.size()) != ssize_t(kRequest.size()))
            return 1;
        std::string answer;
        while (answer.size() < kAnswerSize) {
            struct pollfd p{serial.master(0), POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0) {
                std::fprintf(stderr, "trip %ld timed out\n", i);
                running = false;
                loop.join();
                return 1;
            }
            char buffer[64];
            const ssize_t got = read(serial.master(0), buffer, sizeof buffer);
            if (got > 0)
                answer.append(buffer, size_t(got));
        }
        const double trip = seconds(std::chrono::steady_clock::now() - start);
        total += trip;
        worst = trip > worst ? trip : worst;
    }
    running = false;
    loop.join();
    std::printf("pseudo-terminal, 10 ms tick: %ld round trips, mean %.2f ms, worst %.2f ms\n", trips,
                total / trips * 1e3, worst * 1e3);
    return 0;
}
