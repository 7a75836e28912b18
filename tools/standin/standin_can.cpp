#include "standin_can.h"

#include "toolsmisc.h"

namespace {
constexpr int hardwareInterfaces = 12;
constexpr int virtualInterfaces = 4;
}  // namespace

std::string standinCanDir(const std::string& dir, const std::string& interfaceName)
{
    return dir + "/run/can/" + interfaceName;
}

bool standinCreateCan(const std::string& dir)
{
    bool ok = true;
    for (int i = 0; i < hardwareInterfaces; ++i)
        ok = makeDirs(standinCanDir(dir, "can" + std::to_string(i))) && ok;
    for (int i = 0; i < virtualInterfaces; ++i)
        ok = makeDirs(standinCanDir(dir, "vcan" + std::to_string(i))) && ok;
    return ok;
}
