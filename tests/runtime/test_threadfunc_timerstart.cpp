// Its own program: the timer thread is started by the first timer of a process.
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <atomic>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace threadfunc;

namespace {
// Threads of this process running SCHED_RR at priority 99.
int realtime99Threads()
{
    int count = 0;
    DIR* tasks = opendir("/proc/self/task");
    REQUIRE(tasks != nullptr);
    while (struct dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(std::string("/proc/self/task/") + entry->d_name + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const size_t close = text.rfind(')');
        if (close == std::string::npos)
            continue;
        // Fields after the command: state is field 3; rt_priority 40, policy 41.
        std::istringstream fields(text.substr(close + 2));
        std::string field;
        std::vector<std::string> values;
        while (fields >> field)
            values.push_back(field);
        if (values.size() >= 39 && values[37] == "99" && values[38] == "2")  // SCHED_RR
            ++count;
    }
    closedir(tasks);
    return count;
}

int threadCount()
{
    int count = 0;
    DIR* tasks = opendir("/proc/self/task");
    REQUIRE(tasks != nullptr);
    while (struct dirent* entry = readdir(tasks))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(tasks);
    return count;
}

struct Start {
    std::atomic<int> ready{0};
    std::atomic<int> go{0};
};

void* armFirstTimer(void* arg)
{
    Start* start = static_cast<Start*>(arg);
    start->ready.fetch_add(1);
    while (!start->go.load())
        threadfunc::sleep(0, 100);
    queue_template<int> out(1);
    timer_template<int> timer(&out, 1);
    timer.startOneShot(1);
    int value = 0;
    for (int waited = 0; waited < 5000 && !out.tryGet(value); ++waited)
        threadfunc::sleep(1);
    return reinterpret_cast<void*>(static_cast<intptr_t>(value));
}
}  // namespace

TEST_CASE("threads arming the first timers at once start exactly one timer thread")
{
    REQUIRE(realtime99Threads() == 0);
    const int before = threadCount();
    Start start;
    constexpr int kThreads = 8;
    pthread_t threads[kThreads];
    for (pthread_t& thread : threads) {
        thread = ThreadCreate(99, armFirstTimer, &start, 0);
        REQUIRE(thread != 0);
    }
    while (start.ready.load() < kThreads)
        threadfunc::sleep(1);
    start.go.store(1);
    int delivered = 0;
    for (pthread_t thread : threads)
        delivered += static_cast<int>(reinterpret_cast<intptr_t>(threadJoin(thread)));
    CHECK(delivered == kThreads);
    // A joined thread can still be listed for a moment while the kernel ends it;
    // a second timer thread would stay.
    for (int waited = 0; waited < 5000 && (threadCount() != before + 1 || realtime99Threads() != 1); ++waited)
        threadfunc::sleep(1);
    CHECK(threadCount() == before + 1);
    CHECK(realtime99Threads() == 1);
}
