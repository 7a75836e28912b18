#include "debugout.h"
#include "printbuffer.h"

#include "test_root.h"
#include "threadfunc.h"

#include <doctest/doctest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// An output that records every block and the drains, accepting or refusing.
struct Recorder {
    std::mutex lock;
    std::vector<std::string> blocks;
    uint32_t writeResult = 1;
    int drains = 0;
};
Recorder recorder;

uint32_t recordWrite(const uint8_t* data, uint16_t length)
{
    std::lock_guard<std::mutex> guard(recorder.lock);
    recorder.blocks.emplace_back(reinterpret_cast<const char*>(data), length);
    return recorder.writeResult;
}

void recordDrain()
{
    std::lock_guard<std::mutex> guard(recorder.lock);
    ++recorder.drains;
}

const DebugOutput kRecorder = {recordWrite, recordDrain};

// Prints with a format that is not a literal.
uint32_t printFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const uint32_t result = debugVPrintf(0, 1, format, arguments);
    va_end(arguments);
    return result;
}

// The recorder installed with an open gate; the output removed afterwards.
struct OutputFixture {
    TestRoot root;
    OutputFixture()
    {
        recorder.blocks.clear();
        recorder.writeResult = 1;
        recorder.drains = 0;
        debugSetMask(1);
        debugSetLevel(0);
        debugSetMode(0);
        debugSetOutput(&kRecorder);
    }
    ~OutputFixture() { debugSetOutput(nullptr); }
};

}  // namespace

TEST_CASE_FIXTURE(OutputFixture, "without an output a passing text goes nowhere and a closed gate still answers 1")
{
    debugSetOutput(nullptr);
    CHECK(debugPrintf(0, "lost %d\r\n", 1) == 0);
    const uint8_t byte = 'x';
    CHECK(debugWrite(&byte, 1) == 0);
    CHECK(debugPrintfCategory(0, 2, "filtered\r\n") == 1);

    debugSetOutput(&kRecorder);
    CHECK(debugPrintf(0, "kept %d\r\n", 2) == 1);
    REQUIRE(recorder.blocks.size() == 1);
    CHECK(recorder.blocks[0] == "kept 2\r\n");
}

TEST_CASE_FIXTURE(OutputFixture, "waiting drains the output only after an accepted text")
{
    struct Case {
        uint32_t wait;
        uint32_t writeResult;
        uint32_t result;
        int drains;
    };
    const Case cases[] = {{0, 1, 1, 0}, {1, 1, 1, 1}, {1, 0, 0, 0}, {2, 1, 1, 0}};
    for (const Case& c : cases) {
        CAPTURE(c.wait);
        CAPTURE(c.writeResult);
        recorder.writeResult = c.writeResult;
        recorder.drains = 0;
        CHECK(debugPrintf(c.wait, "t\r\n") == c.result);
        CHECK(recorder.drains == c.drains);
    }
}

TEST_CASE_FIXTURE(OutputFixture, "texts and formats beyond 250 characters are refused whole")
{
    const std::string fits(250, 'a');
    const std::string tooLong(251, 'b');
    const std::string longFormat(250, 'c');
    const std::string longestFormat(249, 'd');
    CHECK(debugPrintf(0, "%s", fits.c_str()) == 1);
    CHECK(debugPrintf(0, "%s", tooLong.c_str()) == 0);
    CHECK(printFormat(longFormat.c_str()) == 0);
    CHECK(printFormat(longestFormat.c_str()) == 1);
    REQUIRE(recorder.blocks.size() == 2);
    CHECK(recorder.blocks[0] == fits);
    CHECK(recorder.blocks[1] == longestFormat);
}

TEST_CASE_FIXTURE(OutputFixture, "a raw write passes mode and level but not the category mask, low byte of the result")
{
    const uint8_t bytes[] = {0x02, 0x00, 0x03};
    recorder.writeResult = 0x101;
    debugSetMask(0);
    CHECK(debugWrite(bytes, sizeof bytes) == 1);
    REQUIRE(recorder.blocks.size() == 1);
    CHECK(recorder.blocks[0] == std::string("\x02\x00\x03", 3));

    debugSetMode(2);
    CHECK(debugWrite(bytes, sizeof bytes) == 0);
    debugSetMode(0);
    debugSetLevel(1);
    CHECK(debugWrite(bytes, sizeof bytes) == 0);
    CHECK(recorder.blocks.size() == 1);
}

TEST_CASE("threads printing at once never get each other's text")
{
    struct Writer {
        static uint32_t check(const void* context, const uint8_t* text, uint16_t length)
        {
            const char mine = *static_cast<const char*>(context);
            const std::string expected(60, mine);
            // Give the other thread a chance to format over the buffer.
            threadfunc::sleep(0);
            return std::string(reinterpret_cast<const char*>(text), length) == expected ? 1 : 0;
        }
        static uint32_t print(char letter)
        {
            const std::string text(60, letter);
            return callPrint(&letter, "%s", text.c_str());
        }
        static uint32_t callPrint(const char* letter, const char* format, ...)
        {
            va_list arguments;
            va_start(arguments, format);
            const uint32_t result = printBufferVWrite(format, arguments, check, letter);
            va_end(arguments);
            return result;
        }
    };
    std::atomic<int> mismatches{0};
    auto run = [&mismatches](char letter) {
        for (int i = 0; i < 500; ++i)
            if (Writer::print(letter) != 1)
                ++mismatches;
    };
    std::thread first(run, 'x');
    std::thread second(run, 'y');
    first.join();
    second.join();
    CHECK(mismatches == 0);
}
