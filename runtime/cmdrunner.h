#pragma once
// The one door to the operating system. Every command the program runs and every
// change of the system clock goes through here. Under a system root nothing is
// executed: the command line is appended to <root>/var/log/commands.log and the
// clock change becomes an offset applied by cmdWallClockNow. A recorded command
// gives the exit status and output scripted for it (cmdScript), else 0 and no
// output.
#include <ctime>
#include <string>

// Runs a shell command line; returns the exit status (0 = success), -1 when it
// could not be started. Under a system root: records the line and returns 0.
int cmdRun(const std::string& commandLine);

// Runs a command line and reads its standard output (at most maxBytes) into
// *output; returns the exit status, -1 when it could not be started.
int cmdRunRead(const std::string& commandLine, std::string* output, size_t maxBytes = 4096);

// Under a system root: from now on the exact command line gives this exit status
// and output. Kept in <root>/run/commands.script, one entry per command: a line
// "<status> <command line>" followed by its output lines, each written as "> "
// and the line; a later entry for the same line wins. -> false without a root.
bool cmdScript(const std::string& commandLine, int status, const std::string& output);

// Sets the wall clock to the given time. Returns true on success. Under a system
// root the machine's clock is untouched: only the program's offset changes; a
// time the kernel would refuse (before 1970, past April 2232) is refused the
// same way (false, errno EINVAL, the clock unchanged) and the refusal is
// recorded in the command log.
bool cmdSetWallClock(const struct timespec& when);

// The program's view of the wall clock (CLOCK_REALTIME plus the offset).
struct timespec cmdWallClockNow();

// The log of recorded commands under the system root (empty when not active).
std::string cmdLogPath();
