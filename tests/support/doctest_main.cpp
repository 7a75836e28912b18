// Test programs start inside a stand-in system root of their own, before any
// test or static object can log or open a fixed path, so that nothing a test
// does can reach the real storage, devices or system commands of this machine.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "cdebug.h"
#include "test_root.h"

int main(int argc, char** argv)
{
    int result = 0;
    {
        TestRoot processRoot;
        doctest::Context context(argc, argv);
        result = context.run();
        // The logger outlives main: keep its periodic check from re-creating
        // the configuration directory after the root is gone.
        CDebug::getInstance().clearCheckLoggingFile();
    }
    return result;
}
