// Feeds arbitrary bytes to the configuration-file reader as the file content,
// with a table of item entries and one sub-parameter entry.
#include "cfgfile.h"
#include "datastore.h"
#include "mempool.h"

#include <QCoreApplication>

#include "fuzz_root.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {
alignas(8) unsigned char poolRegion[262144];
int32_t tips[8];
int memoryFile = -1;
std::string path;

uint32_t setTip(uint32_t, uint32_t sub, int32_t value)
{
    if (sub >= 8)
        return 0;
    tips[sub] = value;
    return 1;
}
uint32_t getTip(uint32_t, uint32_t sub, int32_t* value)
{
    if (sub >= 8)
        return 0;
    *value = tips[sub];
    return 1;
}

void setUp()
{
    // The datastore posts change events: an application drains them, as the console's loop does.
    static int argc = 1;
    static char name[] = "fuzz_cfgfile";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    memInit(poolRegion, sizeof poolRegion, 16384);
    datastoreInit(2);
    memoryFile = memfd_create("cfgfile", 0);
    path = "/proc/self/fd/" + std::to_string(memoryFile);
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzUseTemporaryRoot();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (setUp(), true);
    (void)ready;
    if (ftruncate(memoryFile, 0) != 0 || pwrite(memoryFile, data, size, 0) != ssize_t(size))
        return 0;
    cfgFileSetHeader("KESTROM_SPRAYER", "KESTROM", 100, 5);
    cfgFileDefineItemParam(0, 34, 5000, 10, CFG_APPLY_ALWAYS);
    cfgFileDefineItemParam(1, 32, 9, 0, CFG_APPLY_ALWAYS);
    cfgFileDefineItemParam(2, 134, 650000, 0, CFG_APPLY_FIRST_RUN);
    cfgFileDefineCallbackParam(3, setTip, getTip, 0);
    cfgFileDefineItemParam(4, 69, 500, -1, CFG_APPLY_ALWAYS);
    cfgFileRead(path.c_str());
    QCoreApplication::processEvents();
    return 0;
}
