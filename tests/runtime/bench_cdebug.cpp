// Throughput of the logger with eight logging threads, and the cost of a call
// that the filter drops. Log lines go to a file in a temporary stand-in root.
#include "cdebug.h"
#include "test_root.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Standard output into a file for the lifetime of the object.
class StdoutToFile {
public:
    explicit StdoutToFile(const std::string& path)
    {
        std::fflush(stdout);
        mSaved = dup(STDOUT_FILENO);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, STDOUT_FILENO);
        close(fd);
    }
    ~StdoutToFile()
    {
        std::fflush(stdout);
        dup2(mSaved, STDOUT_FILENO);
        close(mSaved);
    }

private:
    int mSaved;
};

void setOptions(CDebug& logger, const std::string& text)
{
    writeTextFile(logger.configFilePath(), text);
    logger.checkLoggingFiles();
}

// Messages per second from `threads` threads until every line is written.
double throughput(const TestRoot& root, int threads, int perThread, bool queued)
{
    auto logger = std::make_unique<CDebug>(root.path("/bench"));
    setOptions(*logger, queued ? "QueueSize=20\n" : "QueueSize=0\n");
    const Clock::time_point start = Clock::now();
    {
        StdoutToFile redirect(root.path("/tmp/bench_out.txt"));
        std::vector<std::thread> loggers;
        for (int t = 0; t < threads; ++t)
            loggers.emplace_back([&logger, t, perThread] {
                for (int n = 0; n < perThread; ++n)
                    if (logger->passes(CDebugLevel::WAR, "cBench"))
                        logger->log(CDebugLevel::WAR, "cBench", __LINE__, __FILE__, __func__,
                                    "thread %d message %d value %f", t, n, n * 0.5);
            });
        for (std::thread& thread : loggers)
            thread.join();
        logger.reset();  // drains the writer
    }
    return threads * perThread / secondsSince(start);
}

// Nanoseconds per call of the call-site macro for a message the filter drops.
double filteredCost(int threads, long perThread)
{
    std::atomic<long> evaluated{0};
    const Clock::time_point start = Clock::now();
    std::vector<std::thread> callers;
    for (int t = 0; t < threads; ++t)
        callers.emplace_back([&evaluated, perThread] {
            for (long n = 0; n < perThread; ++n)
                CDEBUG_LOG(CDebugLevel::DEB, "cBenchQuiet", "%ld", ++evaluated);
        });
    for (std::thread& caller : callers)
        caller.join();
    const double seconds = secondsSince(start);
    if (evaluated.load() != 0)
        std::fprintf(stderr, "filtered arguments were evaluated %ld times\n", evaluated.load());
    return seconds * 1e9 / perThread;
}

}  // namespace

int main()
{
    TestRoot root;
    // The process logger starts inside the stand-in root and stays quiet there.
    CDebug::getInstance().clearCheckLoggingFile();

    const int perThread = 25000;
    std::printf("8 threads, queued writer:     %10.0f messages/s\n", throughput(root, 8, perThread, true));
    std::printf("8 threads, written in caller: %10.0f messages/s\n", throughput(root, 8, perThread, false));
    std::printf("1 thread,  queued writer:     %10.0f messages/s\n", throughput(root, 1, 8 * perThread, true));

    const long calls = 20000000;
    std::printf("filtered call, 1 thread:      %10.1f ns/call\n", filteredCost(1, calls));
    std::printf("filtered call, 8 threads:     %10.1f ns/call (wall time per call of each thread)\n",
                filteredCost(8, calls / 4));
    return 0;
}
