#include "standin_root.h"

#include "standin_board.h"
#include "standin_can.h"

#include <cerrno>
#include <sys/stat.h>

namespace {
bool makeDirs(const std::string& path)
{
    std::string partial;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        partial = path.substr(0, pos);
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}
}  // namespace

bool standinCreateRoot(const std::string& dir)
{
    static const char* const directories[] = {
        "/usr/local/velmar", "/media", "/dev", "/sys/class/gpio",
        "/sys/class/hwmon/hwmon1/device", "/run/can", "/var/log", "/etc", "/tmp",
    };
    bool ok = makeDirs(dir);
    for (const char* sub : directories)
        ok = makeDirs(dir + sub) && ok;
    ok = standinCreateBoard(dir) && ok;
    ok = standinCreateCan(dir) && ok;
    return ok;
}
