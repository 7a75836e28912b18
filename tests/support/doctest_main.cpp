// Test programs start inside a stand-in system root of their own, before any
// test or static object can log or open a fixed path, so that nothing a test
// does can reach the real storage, devices or system commands of this machine.
// A program started inside a root (a test's child process) stays in that root.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include "cdebug.h"
#include "sysroot.h"
#include "test_exit.h"
#include "test_root.h"

#include <cstdio>
#include <cstdlib>

#include <memory>

int main(int argc, char** argv)
{
    std::unique_ptr<TestRoot> processRoot;
    if (!sysrootActive())
        processRoot.reset(new TestRoot);
    doctest::Context context(argc, argv);
    const int result = context.run();
    // The logger outlives main: keep its periodic check from re-creating the
    // configuration directory after the root is gone.
    CDebug::getInstance().clearCheckLoggingFile();
    if (quickExitRequested()) {
        std::fflush(stdout);
        std::fflush(stderr);
        if (processRoot)
            removeTreeAfterExit(processRoot->dir());
        std::_Exit(result);
    }
    return result;
}
