// The store file survives the program being killed at any moment: a child
// keeps changing items while the store writes them behind; it is killed at a
// random time, and the store must load with every item whole.
#include <doctest/doctest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <cstring>
#include <random>
#include <spawn.h>
#include <sys/wait.h>

#include "datastore.h"
#include "dsnvmem.h"
#include "store_env.h"

extern char** environ;

namespace {

// The child tells on this descriptor that its first update has run.
constexpr int readyFd = 3;

constexpr uint32_t counterItem = 134; // UINT32 10000..4900000: 10000 + k
constexpr uint32_t wordItem = 34;     // UINT16 0..65000: k % 65000
constexpr uint32_t wordBlock = 127;   // 264 bytes: 66 words of k
constexpr uint32_t byteBlock = 120;   // 402 bytes: all k & 0xFF
constexpr uint32_t calBase = 10000;

void setGeneration(uint32_t k)
{
    datastoreSetUint32(counterItem, calBase + k);
    datastoreSetUint16(wordItem, static_cast<uint16_t>(k % 65000));
    uint32_t words[66];
    for (uint32_t& w : words)
        w = k;
    datastoreSetData(wordBlock, words);
    uint8_t bytes[402];
    std::memset(bytes, static_cast<int>(k & 0xFF), sizeof bytes);
    datastoreSetData(byteBlock, bytes);
}

// Child: changes the items every millisecond, from where the store left off, until killed.
[[noreturn]] void runChild(const char* dir)
{
    if (chdir(dir) != 0)
        _exit(2);
    storeStart();
    uint32_t k = datastoreGetUint32(counterItem) - calBase + 1;
    for (bool told = false;; told = true) {
        setGeneration(k++);
        storeUpdate();
        if (!told) {
            const char ready = 'r';
            (void)!write(readyFd, &ready, 1);
        }
        threadfunc::sleep(1);
    }
}


pid_t spawnChild(const std::string& dir, int readyPipe)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        env.push_back(*e);
    env.push_back("STORE_KILL_CHILD_DIR=" + dir);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    char program[] = "/proc/self/exe";
    char select[] = "--test-case=store writer child";
    char noSkip[] = "--no-skip";
    char* argv[] = {program, select, noSkip, nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&quiet, readyPipe, readyFd);
    pid_t pid = 0;
    const int result = posix_spawn(&pid, "/proc/self/exe", &quiet, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&quiet);
    return result == 0 ? pid : -1;
}

} // namespace

// Run only as the child of the test below (selected by name, with skipping off).
TEST_CASE("store writer child" * doctest::skip())
{
    const char* dir = std::getenv("STORE_KILL_CHILD_DIR");
    REQUIRE(dir != nullptr);
    runChild(dir);
}

TEST_CASE("killed at random moments, the store always loads with whole values")
{
    const std::string& dir = storeTestWorkDir();
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> delay(0, 40);
    bool loadedOnce = false;
    uint32_t lastGeneration = 0;
    uint32_t loads = 0;
    for (int round = 0; round < 200; ++round) {
        CAPTURE(round);
        int ready[2];
        REQUIRE(pipe(ready) == 0);
        const pid_t child = spawnChild(dir, ready[1]);
        close(ready[1]);
        REQUIRE(child > 0);
        // Every other round the kill may fall into the start-up; the others
        // wait until the child is busy writing.
        if (round % 2 == 1) {
            struct pollfd wait = {ready[0], POLLIN, 0};
            REQUIRE(poll(&wait, 1, 10000) == 1);
        }
        close(ready[0]);
        threadfunc::sleep(delay(random));
        kill(child, SIGKILL);
        int status = 0;
        REQUIRE(waitpid(child, &status, 0) == child);
        REQUIRE(WIFSIGNALED(status));

        const StoreStart start = storeStart();
        if (loadedOnce)
            REQUIRE(start.nvResult == DS_NV_LOADED);
        if (start.nvResult == DS_NV_LOADED) {
            loadedOnce = true;
            ++loads;
        }
        // Items are written in id order, so the ones below the counter item
        // may already hold the next generation.
        const uint32_t k = datastoreGetUint32(counterItem) - calBase;
        CHECK(k < 10000000);
        const uint32_t word = datastoreGetUint16(wordItem);
        CHECK((word == k % 65000 || word == (k + 1) % 65000));
        uint32_t words[66];
        datastoreGetData(wordBlock, words);
        CHECK((words[0] == k || words[0] == k + 1));
        for (uint32_t w : words)
            REQUIRE(w == words[0]);
        uint8_t bytes[402];
        datastoreGetData(byteBlock, bytes);
        CHECK((bytes[0] == (k & 0xFF) || bytes[0] == ((k + 1) & 0xFF)));
        for (uint8_t b : bytes)
            REQUIRE(b == bytes[0]);
        if (start.versionResult == 0) {
            // A stable image: a generation once loaded is never lost again.
            CHECK(k >= lastGeneration);
            lastGeneration = k;
        }
        filestoreDestroy();
    }
    MESSAGE("loads: " << loads << ", last generation: " << lastGeneration);
    CHECK(loads >= 150);
    CHECK(lastGeneration >= 100);
}
