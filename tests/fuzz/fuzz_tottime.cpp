// Feeds arbitrary bytes to the start of the total operating time as the content
// of its file (any length): the file is read whole and parsed, or refused when
// its size is absurd, and the update task starts and stops.
#include "datastore.h"
#include "tottime.h"

#include <QCoreApplication>

#include "fuzz_root.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <string>
#include <unistd.h>

namespace {
constexpr uint32_t totalTimeItem = 305;
std::string path;
int file = -1;

void setUp()
{
    static int argc = 1;
    static char name[] = "fuzz_tottime";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    if (datastoreInit(2) != 0)
        std::abort();
    // A file in memory: syncing it costs nothing, so the runs stay fast.
    file = memfd_create("tottime", 0);
    if (file < 0)
        std::abort();
    path = "/proc/self/fd/" + std::to_string(file);
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
    // Small inputs stand for themselves; the first bytes of a larger one also
    // choose a length far beyond it, so that absurd sizes are tried too.
    size_t length = size;
    if (size >= 4 && data[0] == 0xFF)
        length = (size_t{data[1]} << 16) | (size_t{data[2]} << 8) | data[3];
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != ssize_t(size) ||
        ftruncate(file, off_t(length)) != 0)
        return 0;

    // The parse of the text as it lies in memory never reads past its length.
    totalTimeParse(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));

    datastoreSetUint32(totalTimeItem, size);
    totalTimeFileInit(path.c_str(), totalTimeItem);
    totalTimeFileStop();
    QCoreApplication::processEvents();
    return 0;
}
