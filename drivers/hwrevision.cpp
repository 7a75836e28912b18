#include "hwrevision.h"

#include "adc128s.h"
#include "kernel.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

struct RevisionRow {
    uint16_t minimum;
    uint16_t maximum;
    uint32_t revision;
    uint32_t enabled;
};

const RevisionRow kRevisions[48] = {
    {0, 6, 0, 1},         {7, 18, 1, 1},        {19, 26, 2, 1},       {27, 38, 3, 1},
    {39, 55, 4, 1},       {56, 71, 5, 1},       {72, 84, 6, 1},       {85, 100, 7, 1},
    {101, 120, 8, 1},     {121, 144, 9, 1},     {145, 169, 10, 1},    {170, 200, 11, 1},
    {201, 226, 12, 1},    {227, 245, 13, 1},    {246, 270, 14, 1},    {271, 297, 15, 1},
    {298, 317, 16, 1},    {318, 347, 17, 1},    {348, 379, 18, 1},    {380, 402, 19, 1},
    {403, 426, 20, 1},    {427, 449, 21, 1},    {450, 474, 22, 1},    {475, 511, 23, 1},
    {512, 549, 24, 1},    {550, 573, 25, 1},    {574, 597, 26, 1},    {598, 620, 27, 1},
    {621, 643, 28, 1},    {644, 676, 29, 1},    {677, 706, 30, 1},    {707, 726, 31, 1},
    {727, 753, 32, 1},    {754, 778, 33, 1},    {779, 796, 34, 1},    {797, 822, 35, 1},
    {823, 853, 36, 1},    {854, 878, 37, 1},    {879, 902, 38, 1},    {903, 922, 39, 1},
    {923, 938, 40, 1},    {939, 952, 41, 1},    {953, 968, 42, 1},    {969, 984, 43, 1},
    {985, 996, 44, 1},    {997, 1005, 45, 1},   {1006, 1016, 46, 1},  {1017, 1023, 47, 1},
};

const uint32_t kSampleWaitMs = 51;
const int kSamples = 10;

// The first call measures under this lock, so two threads never measure at once.
std::mutex detectLock;
bool done = false;
int found = 0;
uint32_t foundRevision = 0;
char revisionText[13] = "NOT DEF.";

}  // namespace

int hwRevisionLookup(uint32_t average, uint32_t* revision)
{
    for (const RevisionRow& row : kRevisions) {
        if (row.enabled && row.minimum <= average && average <= row.maximum) {
            *revision = row.revision;
            return 1;
        }
    }
    return 0;
}

int hwRevisionDetect(uint32_t* revision, char* text)
{
    std::lock_guard<std::mutex> guard(detectLock);
    if (!done) {
        uint16_t value = 0;
        adc128sConfig(1, 50, nullptr, 0);
        kernelDelay(kSampleWaitMs);
        adc128sRead(1, &value);
        kernelDelay(kSampleWaitMs);
        uint32_t sum = 0;
        for (int i = 0; i < kSamples; ++i) {
            adc128sRead(1, &value);
            sum += value;
            kernelDelay(kSampleWaitMs);
        }
        const uint32_t average = sum / kSamples;
        adc128sConfig(1, 0, nullptr, 0);
        printf("hw ver. raw: %i\n", static_cast<int>(average));
        if (hwRevisionLookup(average, &foundRevision)) {
            found = 1;
            snprintf(revisionText, sizeof revisionText, "%0.2f", foundRevision / 100.0);
        }
        done = true;
    }
    if (revision)
        *revision = foundRevision;
    if (text)
        memcpy(text, revisionText, strlen(revisionText) + 1);
    return found;
}
