#include "processdiag.h"

#include "dsvalue.h"
#include "eventids.h"
#include "io_if.h"
#include "processcycle.h"
#include "processstate.h"
#include "pulsinput.h"
#include "regulmath.h"

#include <cstddef>

namespace {

enum : uint32_t { DIR_STOP = 0, DIR_INCREASE = 1, DIR_DECREASE = 2, TEST_SECTIONS = 9, SECTION_MODE_ALL = 3 };

uint8_t gDirection = DIR_STOP;

struct TestCounter {
    uint32_t counter;
    uint32_t item;
};

constexpr TestCounter kTestCounters[] = {
    {13, DS_TEST_PULSES_A}, {12, DS_TEST_PULSES_B}, {11, DS_TEST_VALUE_295},
    {1, DS_SUPPLY_VOLTAGE}, {3, DS_TEST_PULSES_C},
};
constexpr size_t kTestCounterCount = sizeof kTestCounters / sizeof kTestCounters[0];

// The counters' values when the test counts were last cleared. The test counts
// are the counts since then: the counters themselves go on untouched, since the
// speed and volume steps work on their differences.
uint32_t gTestBase[kTestCounterCount] = {};

void applyTestOutput()
{
    regulDriveOutputs(0, gDirection, dsValue(DS_TEST_VALVE_PWM));
}

void readSectionBlock(uint16_t* block)
{
    datastoreGetData(DS_SECTION_STATE_BLOCK, block);
}

void setTestSections(bool on)
{
    uint16_t block[SECTION_MASK_WORDS] = {};
    readSectionBlock(block);
    for (uint32_t i = 1; i <= TEST_SECTIONS; ++i)
        sectionMapSet(block, i, on);
    datastoreSetData(DS_SECTION_STATE_BLOCK, block);
}

void startValveTest(uint8_t direction)
{
    gDirection = direction;
    applyTestOutput();
}

void switchSection(uint32_t section, bool on)
{
    uint16_t block[SECTION_MASK_WORDS] = {};
    readSectionBlock(block);
    // Numbers outside the block are ignored rather than written past it.
    if (section == 0 || section > SECTION_MASK_LAST)
        return;
    sectionMapSet(block, section, on);
    processPostSectionOutputs(SECTION_MODE_ALL, block[0] | (static_cast<uint32_t>(block[1] & 0xFF) << 16));
    datastoreSetData(DS_SECTION_STATE_BLOCK, block);
}

}  // namespace

void processDiagnosticIo(uint32_t id, uint32_t value)
{
    switch (id) {
    case EV_TICK_500MS:
        for (size_t i = 0; i < kTestCounterCount; ++i) {
            uint32_t pulses = 0;
            if (pulsGetCounterParam(kTestCounters[i].counter, &pulses) == 0)
                dsStoreIfChanged(kTestCounters[i].item, pulses - gTestBase[i]);
        }
        break;
    case EV_DIAG_CLEAR_PULSE_COUNT:
        for (size_t i = 0; i < kTestCounterCount; ++i) {
            pulsStopCounter(kTestCounters[i].counter);
            uint32_t pulses = 0;
            if (pulsGetCounterParam(kTestCounters[i].counter, &pulses) == 0)
                gTestBase[i] = pulses;
        }
        break;
    case EV_DIAG_OUTPUT_TEST_BEGIN:
        setTestSections(false);
        gDirection = DIR_DECREASE;
        dsStore(DS_TEST_VALVE_PWM, 0);
        applyTestOutput();
        break;
    case EV_DIAG_OUTPUT_TEST_END:
        setTestSections(true);
        gDirection = DIR_STOP;
        dsStore(DS_TEST_VALVE_PWM, 0);
        applyTestOutput();
        io_ifSetValveOutputs(IO_IF_VALVE_FILL, 0);
        io_ifSetValveOutputs(IO_IF_VALVE_MASTER, 0);
        break;
    case EV_LIQ_VALVE_PWM_CHANGED:
        applyTestOutput();
        break;
    case EV_DIAG_LIQ_VALVE_PWM:
        startValveTest(DIR_DECREASE);
        break;
    case EV_DIAG_LIQ_VALVE_PWM_SET:
        startValveTest(DIR_INCREASE);
        break;
    case EV_DIAG_FILL_VALVE:
        io_ifSetValveOutputs(IO_IF_VALVE_FILL, static_cast<uint16_t>(value));
        break;
    case EV_DIAG_MASTER_VALVE:
        io_ifSetValveOutputs(IO_IF_VALVE_MASTER, static_cast<uint16_t>(value));
        break;
    case EV_DIAG_SECTION_ON:
    case EV_DIAG_SECTION_OFF:
        switchSection(value, id == EV_DIAG_SECTION_ON);
        break;
    default:
        break;
    }
}
