// The total operating time file: seeded at start, rewritten every 5000 ms, never lowered.
#include <doctest/doctest.h>

#include "clock.h"
#include "datastore.h"
#include "store_env.h"
#include "tottime.h"

namespace {

const std::string& workDir = storeTestWorkDir();

constexpr uint32_t totalTimeItem = 305;

// Lets 5000 ms pass on the program's clock and waits for the task's turn.
bool tickUntil(const std::string& path, const std::string& expected)
{
    clockAdvanceMs(5000);
    for (int waited = 0; waited < 5000; waited += 10) {
        if (readTextFile(path) == expected)
            return true;
        threadfunc::sleep(10);
    }
    return false;
}

// The file keeps its text over a period in which the task has certainly run.
bool staysAt(const std::string& path, const std::string& expected)
{
    clockAdvanceMs(5000);
    threadfunc::sleep(200);
    clockAdvanceMs(5000);
    threadfunc::sleep(200);
    return readTextFile(path) == expected;
}

} // namespace

// A fresh store on the manual clock; the task stops and the clock runs again at the end.
struct TotalTimeRun {
    TotalTimeRun()
    {
        REQUIRE(datastoreInit(2) == 0);
        clockUseManual();
    }
    ~TotalTimeRun()
    {
        totalTimeFileStop();
        clockUseReal();
    }
};

TEST_CASE("the file total continues from its text and never goes down")
{
    TotalTimeRun run;
    const std::string path = "tottime.dat";
    REQUIRE(writeTextFile(path, "1000"));
    REQUIRE(datastoreSetUint32(totalTimeItem, 200) == DS_OK);
    CHECK(totalTimeFileInit(path.c_str(), totalTimeItem) == 1);
    CHECK(staysAt(path, "1000"));
    REQUIRE(datastoreSetUint32(totalTimeItem, 250) == DS_OK);
    CHECK(tickUntil(path, "1050"));

    REQUIRE(datastoreSetUint32(totalTimeItem, 0) == DS_OK); // reset of the item
    CHECK(staysAt(path, "1050"));
    REQUIRE(datastoreSetUint32(totalTimeItem, 10) == DS_OK);
    CHECK(tickUntil(path, "1060"));
}

TEST_CASE("without a file the item's value is the start; the file appears at the first increase")
{
    TotalTimeRun run;
    const std::string path = "missing/tottime.dat";
    REQUIRE(datastoreSetUint32(totalTimeItem, 50) == DS_OK);
    CHECK(totalTimeFileInit(path.c_str(), totalTimeItem) == 1);
    CHECK(staysAt(path, ""));
    REQUIRE(datastoreSetUint32(totalTimeItem, 51) == DS_OK);
    CHECK(tickUntil(path, "51"));
}

TEST_CASE("the start takes the larger of file and item, and the next second adds to it")
{
    struct Case {
        const char* what;
        std::string path;
        std::string file;
        uint32_t item;
        std::string after;
    };
    const Case cases[] = {
        {"a long file is read whole and written back as the number alone", "long.dat",
         "7000" + std::string(100, ' '), 100, "7001"},
        {"a file below the item starts from the item", "low.dat", "30", 400, "401"},
        {"a number past the first 64 bytes", "zeros.dat", std::string(70, '0') + "123456", 100, "123457"},
        {"an edited text with leading zeros leaves no digits behind", "edited.dat", "000005000", 100,
         "5001"},
        {"a file of absurd size is no total", "absurd.dat", std::string(70000, '9'), 400, "401"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        TotalTimeRun run;
        REQUIRE(writeTextFile(c.path, c.file));
        REQUIRE(datastoreSetUint32(totalTimeItem, c.item) == DS_OK);
        totalTimeFileInit(c.path.c_str(), totalTimeItem);
        REQUIRE(datastoreSetUint32(totalTimeItem, c.item + 1) == DS_OK);
        CHECK(tickUntil(c.path, c.after));
    }
}

TEST_CASE("the text is parsed within the bytes read")
{
    struct Case {
        std::string text;
        uint32_t length;
        uint32_t total;
    };
    const Case cases[] = {
        {"1000", 4, 1000}, {"1000", 2, 10},        {"12ab", 4, 12},   {"abc", 3, 0},
        {"", 0, 0},        {"99999999999", 11, 0xFFFFFFFFu}, {"0042", 4, 42},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        CHECK(totalTimeParse(c.text.data(), c.length) == c.total);
    }
}
