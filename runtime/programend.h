#pragma once
// The end of a program whose threads run to the last moment. The worker
// threads of the platform and the core have no stop of their own; exit() would
// destroy the statics they read (port tables, input maps, the system root)
// while they still run. The program saves what it must first, then ends here:
// the log is written out and the standard streams flushed, and the process
// ends without running a destructor.
[[noreturn]] void programEnd(int status);
