#pragma once
// CPU time a process, or one of its threads, has used so far, from /proc.
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <sys/types.h>
#include <unistd.h>

// User and system time in seconds from a /proc/.../stat file; -1 when unreadable.
inline double statCpuSeconds(const std::string& statPath)
{
    std::ifstream in(statPath);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The name in parentheses may hold spaces: the fields start after its close.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1.0;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i)  // state .. cmajflt
        fields >> skip;
    unsigned long user = 0, system = 0;
    fields >> user >> system;
    return double(user + system) / double(sysconf(_SC_CLK_TCK));
}

// The whole process, or one thread of it (the main thread's id is the process id).
inline double cpuSeconds(pid_t pid, pid_t thread = 0)
{
    const std::string dir = "/proc/" + std::to_string(pid) + (thread != 0 ? "/task/" + std::to_string(thread) : "");
    return statCpuSeconds(dir + "/stat");
}
