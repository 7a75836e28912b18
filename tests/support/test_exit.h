#pragma once
// A test program whose threads run to its end (the process core started in
// process) asks to end without exit handlers, as the console itself does:
// static objects are not destroyed under threads that still use them.
#include <string>

void requestQuickExit();
bool quickExitRequested();
// The directory tree is removed once this process has ended (by a child that
// outlives it), so that no thread of the process finds its files gone.
void removeTreeAfterExit(const std::string& dir);
