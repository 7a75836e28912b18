// The end of the console on SIGTERM while its threads are busy: the simulated
// sprayer sends pulses and the section controller frames, and the console is
// ended at varying moments after its start. Every end must be clean, with the
// store written; a thread left reading what the program's end has freed shows
// as a sanitizer report or a crash in some of the cycles.
#include "console_field.h"
#include "gui_test.h"

#include <doctest/doctest.h>

#include <QFileInfo>

namespace {

constexpr int kCycles = 36;

bool sanitizerReport(const QByteArray& output)
{
    return output.contains("AddressSanitizer") || output.contains("ThreadSanitizer") ||
           output.contains("runtime error:") || output.contains("LeakSanitizer");
}

}  // namespace

TEST_CASE("started and ended by SIGTERM again and again while spraying, the console always ends clean")
{
    WithGuiApplication app;
    ConsoleField field;
    int clean = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        CAPTURE(cycle);
        REQUIRE(field.start());
        // From right after "Init. Done" up to 1.4 s later, in steps the cycles walk through.
        field.pause(1 + (cycle * 137) % 1400);
        REQUIRE(field.end(SIGTERM));
        const bool ok = field.console.exitStatus() == QProcess::NormalExit && field.console.exitCode() == 0 &&
                        !sanitizerReport(field.output);
        if (!ok) {
            CAPTURE(field.console.exitStatus());
            CAPTURE(field.console.exitCode());
            CAPTURE(field.output.right(3000).toStdString());
            CHECK(ok);
        }
        clean += ok ? 1 : 0;
        CHECK(QFileInfo(QString::fromStdString(field.storePath())).size() == 2994);
    }
    CHECK(clean == kCycles);
}
