#pragma once
// This test program run again as a child from a directory of its own, beside
// files the parent put there (for example the translations that a language
// manager scans in the program's own directory). The copy keeps the program's
// name, so that whatever it writes beside itself goes where the program's would.
#include <QString>

// Links this program into dir (copies it where the file system refuses a
// link), runs it there with `variable` set to "1" on the test cases "child*",
// its output forwarded, and checks that it ends normally with exit code 0
// within timeoutMs.
void runChildInDirectory(const QString& dir, const char* variable, int timeoutMs);
