#include "standin_can.h"

#include <cerrno>
#include <sys/stat.h>

namespace {
constexpr int hardwareInterfaces = 12;
constexpr int virtualInterfaces = 4;

bool makeDir(const std::string& path)
{
    return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}
}  // namespace

std::string standinCanDir(const std::string& dir, const std::string& interfaceName)
{
    return dir + "/run/can/" + interfaceName;
}

bool standinCreateCan(const std::string& dir)
{
    bool ok = makeDir(dir + "/run") && makeDir(dir + "/run/can");
    for (int i = 0; i < hardwareInterfaces; ++i)
        ok = makeDir(standinCanDir(dir, "can" + std::to_string(i))) && ok;
    for (int i = 0; i < virtualInterfaces; ++i)
        ok = makeDir(standinCanDir(dir, "vcan" + std::to_string(i))) && ok;
    return ok;
}
