// What the layers above hand the store at start-up: the process core's change
// hooks and counter set-up, the pulse-counter records; and what happens
// without them.
#include <doctest/doctest.h>

#include <cstring>

#include "cdebug.h"
#include "datastore.h"
#include "doubles/store_doubles.h"
#include "dshooks.h"
#include "dsvcappl.h"
#include "pulsinput.h"
#include "store_env.h"

namespace {

const std::string& workDir = storeTestWorkDir();

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Logs a marker and waits for it, so that every line logged before is in the capture.
void settleLog(const OutputCapture& output, const char* marker)
{
    CDEBUG_LOG(CDebugLevel::WAR, "cDefault", "%s", marker);
    REQUIRE(output.waitFor(marker));
}

// Every registration back as the other tests expect them.
struct Registered {
    Registered()
    {
        registerStoreDoubles();
        pulsRegisterDatastoreRecords();
        REQUIRE(datastoreInit(2) == 0);
        takeHookCalls();
        takeCounterSetups();
    }
    ~Registered()
    {
        registerStoreDoubles();
        pulsRegisterDatastoreRecords();
    }
};

} // namespace

TEST_CASE_FIXTURE(Registered, "an item whose hook is not registered stores its value without a hook, logged once")
{
    REQUIRE(datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, nullptr) == 1);
    OutputCapture output;
    CHECK(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 20000) == DS_OK);
    CHECK(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 30000) == DS_OK);
    CHECK(datastoreGetUint32(DS_FLOW_CAL_NUMBER) == 30000);
    CHECK(takeHookCalls().empty());
    // The other hooks still run.
    CHECK(datastoreSetUint16(DS_SPRAYER_MODE_FACTOR, 7) == DS_OK);
    const auto others = takeHookCalls();
    REQUIRE(others.size() == 1);
    CHECK(others[0].hook == "pulsupdtNewFlowCalCorr");

    settleLog(output, "hooks marker one");
    const std::string line = "item 134: change hook pulsupdtNewFlowCal not registered, change not handed on";
    CHECK(occurrences(output.text(), line) == 1);

    // Registered again, the hook gets the changes; unregistered again, it is logged again.
    REQUIRE(datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, nullptr) == 1);
    registerStoreDoubles();
    CHECK(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 40000) == DS_OK);
    const auto calls = takeHookCalls();
    REQUIRE(calls.size() == 1);
    CHECK(calls[0].hook == "pulsupdtNewFlowCal");
    REQUIRE(datastoreRegisterChangeHook(DS_HOOK_NEW_FLOW_CAL, nullptr) == 1);
    CHECK(datastoreSetUint32(DS_FLOW_CAL_NUMBER, 50000) == DS_OK);
    settleLog(output, "hooks marker two");
    CHECK(occurrences(output.text(), line) == 2);
}

TEST_CASE("a hook slot out of range is refused")
{
    CHECK(datastoreRegisterChangeHook(DS_HOOK_COUNT, nullptr) == 0);
    CHECK(datastoreRegisterChangeHook(static_cast<DsChangeHook>(99), nullptr) == 0);
    CHECK(dsCallChangeHook(DS_HOOK_COUNT, 1, nullptr, 0, 0) == 0);
}

TEST_CASE_FIXTURE(Registered, "the counter items follow the registered pulse counters and stand still without them")
{
    pulsInit();
    REQUIRE(pulsSetCounterUnits(1, 55) == 0);
    datastoreRefreshItems(10000);
    uint32_t record[12] = {};
    REQUIRE(datastoreGetSize(DS_COUNTER_1_RECORD) == sizeof record);
    REQUIRE(datastoreCopyValue(DS_COUNTER_1_RECORD, record));
    CHECK(record[10] == 55);

    datastoreRegisterCounterRecords(nullptr);
    OutputCapture output;
    REQUIRE(pulsSetCounterUnits(1, 66) == 0);
    datastoreRefreshItems(10000);
    REQUIRE(datastoreCopyValue(DS_COUNTER_1_RECORD, record));
    CHECK(record[10] == 55);
    // The record sizes are the image layout's, registered or not.
    CHECK(datastoreGetSize(DS_COUNTER_1_RECORD) == DS_COUNTER_RECORD_SIZE);
    CHECK(datastoreGetSize(DS_COUNTER_14_STATE) == DS_COUNTER_STATE_SIZE);
    settleLog(output, "records marker");
    CHECK(occurrences(output.text(), "pulse-counter records not registered") == 1);

    pulsRegisterDatastoreRecords();
    datastoreRefreshItems(10000);
    REQUIRE(datastoreCopyValue(DS_COUNTER_1_RECORD, record));
    CHECK(record[10] == 66);
}

TEST_CASE_FIXTURE(Registered, "a migration without a registered counter set-up goes on and says so")
{
    dsvcapplRegisterCounterSetup(nullptr);
    OutputCapture output;
    CHECK(dsvcapplSetDefaultValues(11) == 0);
    CHECK(takeCounterSetups().empty());
    CHECK(output.waitFor("pulse counter 4 not set up: no counter set-up registered"));
    CHECK(output.waitFor("pulse counter 6 not set up: no counter set-up registered"));

    registerStoreDoubles();
    CHECK(dsvcapplSetDefaultValues(11) == 0);
    CHECK(takeCounterSetups() == std::vector<uint32_t>{4, 6});
}
