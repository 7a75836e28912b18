// The debug console's letter sequences: the debug category mask and the
// alarms in manual mode.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "core_env.h"
#include "datastore.h"
#include "debugcon.h"
#include "dsvalue.h"
#include "processdebugkeys.h"

namespace {

// The handler's answer to each character of the text.
std::vector<uint32_t> type(const std::string& text)
{
    std::vector<uint32_t> answers;
    for (char ch : text)
        answers.push_back(processDebugKeyHandler(static_cast<unsigned char>(ch)));
    return answers;
}

void startStore()
{
    coreTestWorkDir();
    REQUIRE(datastoreInit(2) == 0);
}

}  // namespace

TEST_CASE("the mask sequence sets the debug mask and its item")
{
    startStore();
    struct Case {
        const char* typed;
        uint16_t before;
        uint16_t after;
    };
    const Case cases[] = {
        {"dmask0", 0x0101, 0x0000}, {"dmask1", 0x0100, 0x0101}, {"dmask2", 0x0100, 0x0108},
        {"dmask3", 0x0100, 0x0110}, {"dmaskx", 0x0011, 0x8000}, {"dmaskall", 0x0001, 0xFFFF},
        {"dmaskloop", 0x0001, 0x0003},
        // A wrong last letter of a word leaves the mask.
        {"dmaskalx", 0x0001, 0x0001}, {"dmaskloox", 0x0001, 0x0001},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string(c.typed));
        debugSetMask(c.before);
        REQUIRE(dsStore(DS_DEBUG_MASK, c.before) == 0);
        const std::vector<uint32_t> answers = type(c.typed);
        // 0 while the sequence goes on, 1 on its last character.
        std::vector<uint32_t> expected(answers.size(), 0);
        expected.back() = 1;
        CHECK(answers == expected);
        CHECK(debugGetMask() == c.after);
        CHECK(dsValue(DS_DEBUG_MASK) == c.after);
    }
}

TEST_CASE("a character that continues no sequence goes back to the console")
{
    startStore();
    debugSetMask(0x0001);
    REQUIRE(dsStore(DS_DEBUG_MASK, 1) == 0);
    CHECK(type("q") == std::vector<uint32_t>{1});
    // Broken off in the middle: idle again, the next sequence starts afresh.
    CHECK(type("dmz") == std::vector<uint32_t>{0, 0, 1});
    CHECK(type("dmask?") == std::vector<uint32_t>{0, 0, 0, 0, 0, 1});
    CHECK(type("dmaskaq") == std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1});
    CHECK(debugGetMask() == 0x0001);
    CHECK(type("dmask3") == std::vector<uint32_t>{0, 0, 0, 0, 0, 1});
    CHECK(debugGetMask() == 0x0011);
}

TEST_CASE("the alarm-mode sequence switches alarms in manual mode")
{
    startStore();
    REQUIRE(dsStore(DS_ALARMS_IN_MANUAL_MODE, 1) == 0);
    CHECK(type("amodem") == std::vector<uint32_t>{0, 0, 0, 0, 0, 1});
    CHECK(dsValue(DS_ALARMS_IN_MANUAL_MODE) == 0);
    CHECK(type("amodeM") == std::vector<uint32_t>{0, 0, 0, 0, 0, 1});
    CHECK(dsValue(DS_ALARMS_IN_MANUAL_MODE) == 1);
    // Any other last character cancels.
    CHECK(type("amodex") == std::vector<uint32_t>{0, 0, 0, 0, 0, 1});
    CHECK(dsValue(DS_ALARMS_IN_MANUAL_MODE) == 1);
}
